#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include "DialogTestSupport.h"
#include "SPanelCtrl.h"
#include <commctrl.h>

namespace
{
typedef SDialogCtrl::_SCtrl Record;
typedef SDialogCtrl D;

const char* const EMPTY_DIALOG = "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n[DIALOG]\r\nPOSITION=0 0 400 300\r\n\r\n";

class Commands : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(ReadText(designer, EMPTY_DIALOG)); }

    Record* Add(int type, int id, RECT rect) { return AddRecord(designer, type, id, ("E" + std::to_string(id)).c_str(), rect); }
    void Select(std::initializer_list<Record*> records)
    {
        designer.ClearSelection();
        for (Record* record : records)
            designer.Select(record);
    }
    // Tab (index 0, pages "Tab 1 | Tab 2"), then controls with ids 5 and 6 on pages 0 and 1.
    Record* MakeTabs()
    {
        Record* tab = Add(DTYPE_TAB, 1, {0, 0, 200, 100});
        tab->SetValue("TAB_CONTENT", "Tab 1 | Tab 2");
        tab->SetValue("TAB_CHILDREN_PRIVATE", "0 5 1 6 ");
        Add(DTYPE_BUTTON, 5, {10, 30, 60, 50});
        Add(DTYPE_BUTTON, 6, {10, 30, 60, 50});
        return tab;
    }
    std::string Block()
    {
        SMemory block;
        block.WriteStringWithNull(DIALOG_HEADER);
        for (int i = 0; i < designer.GetSelectedCount(); i++)
            designer.GetSelected(i)->WriteRecord(&block);
        return Bytes(block);
    }
    bool Paste(const std::string& bytes)
    {
        SMemory block;
        Fill(block, bytes);
        return designer.PasteFromStream(&block);
    }

    TestDesigner designer;
};
} // namespace

TEST_F(Commands, TabSubmenusListTheElementsAndCheckThePages)
{
    Record* tab = MakeTabs();
    designer.SelectOnly(tab);
    std::vector<D::_SMenuEntry> entries;
    designer.GetContextMenuEntries(entries);
    std::vector<std::string> lines;
    for (const D::_SMenuEntry& e : entries)
        lines.push_back(std::to_string(e.parent) + ":" + (e.separator ? "-" : std::to_string(e.id) + " " + e.text.GetText()) +
                        (e.checked ? " [x]" : "") + (e.enabled ? "" : " (off)"));
    const std::vector<std::string> expected = {
        "0:10 Cut", "0:11 Copy", std::string("0:12 Paste") + (designer.CanPaste() ? "" : " (off)"), "0:-",
        "0:13 Select All", "0:-", "0:1000 Tab 1", "1000:1001 Select", "1000:-", "1000:1011 E5 [x]", "1000:1012 E6",
        "0:2000 Tab 2", "2000:2001 Select", "2000:-", "2000:2011 E5", "2000:2012 E6 [x]", "0:-", "0:15 Test"};
    EXPECT_EQ(expected, lines);

    int t = -1, r = -1;
    EXPECT_TRUE(designer.DecodeTabCommand(2012, &t, &r));
    EXPECT_EQ(1, t);
    EXPECT_EQ(12, r);
    // No third page, the tab itself, no element 3, nothing between 1 and 10.
    for (int id : {3001, 1010, 1013, 1005, 999})
        EXPECT_FALSE(designer.DecodeTabCommand(id, &t, &r)) << id;

    designer.OnMenuCommand(2001);
    EXPECT_EQ(1, tab->GetValueInt("TAB_SELECTION"));
    designer.OnMenuCommand(2012);
    EXPECT_STREQ("0 5 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    designer.OnMenuCommand(1012);
    EXPECT_STREQ("0 5 0 6 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    designer.OnMenuCommand(3012);
    EXPECT_STREQ("0 5 0 6 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());

    // Nothing selected, or the dialog: cut and copy greyed, no tab menus.
    designer.SelectOnly(designer.GetDialogDescription());
    designer.GetContextMenuEntries(entries);
    EXPECT_EQ(7u, entries.size());
    EXPECT_FALSE(entries[0].enabled);
}

// A tab's entries stop before their ids would reach the next tab's; a tab
// without pages gets no submenu and no separator of its own.
TEST_F(Commands, TabSubmenusStopBelowTheNextTabsIds)
{
    Record* tab = Add(DTYPE_TAB, 1, {0, 0, 200, 100});
    designer.SelectOnly(tab);
    std::vector<D::_SMenuEntry> entries;
    designer.GetContextMenuEntries(entries);
    EXPECT_EQ(7u, entries.size());
    tab->SetValue("TAB_CONTENT", "A | B");
    for (int id = 2; id <= 995; id++)
        Add(DTYPE_BUTTON, id, {0, 0, 10, 10});
    designer.GetContextMenuEntries(entries);
    int last[2] = {0, 0}, count[2] = {0, 0};
    for (const D::_SMenuEntry& e : entries)
        if (e.parent != 0 && !e.separator && e.id % 1000 >= 10)
        {
            const int t = e.parent / 1000 - 1;
            count[t]++;
            last[t] = e.id;
        }
    EXPECT_EQ(989, count[0]);
    EXPECT_EQ(1999, last[0]);
    EXPECT_EQ(2999, last[1]);
}

TEST_F(Commands, ToolboxStatesFollowTheSelection)
{
    Record* a = Add(DTYPE_BUTTON, 1, {0, 0, 10, 10});
    Record* b = Add(DTYPE_BUTTON, 2, {0, 0, 10, 10});
    Record* c = Add(DTYPE_BUTTON, 3, {0, 0, 10, 10});
    const struct
    {
        std::vector<Record*> selected;
        const char* alignment;  // runs 0-3, 4-5, 6-7, 8-9, 10-12
        const char* order;      // runs 0-1, 2-3
    } cases[] = {{{}, "00000", "00"}, {{designer.GetDialogDescription()}, "00000", "00"},
                 {{a}, "01000", "11"}, {{a, b}, "11011", "10"}, {{a, b, c}, "11111", "10"}};
    for (const auto& k : cases)
    {
        designer.ClearSelection();
        for (Record* r : k.selected)
            designer.Select(r);
        const D::_SToolboxState state = designer.GetToolboxState();
        std::string alignment, order;
        for (bool on : state.alignment)
            alignment += on ? "1" : "0";
        for (bool on : state.order)
            order += on ? "1" : "0";
        EXPECT_EQ(k.alignment, alignment) << k.selected.size();
        EXPECT_EQ(k.order, order) << k.selected.size();
    }

    // The panel: ids are the indexes, separators between the runs.
    SPanelCtrl panel;
    RECT rect = {0, 0, 200, 600};
    ASSERT_TRUE(panel.Create("Toolbox", WS_POPUP, 0, &rect, nullptr));
    designer.SetToolbox(&panel);
    designer.FillToolbox();
    ASSERT_EQ(4, panel.GetGroupCount());
    EXPECT_STREQ("Tree", panel.GetButton(0, 30)->text.GetText());
    EXPECT_STREQ("Same Size", panel.GetButton(1, 12)->text.GetText());
    EXPECT_TRUE(panel.IsButtonChecked(0, 0));
    Select({a, b});
    EXPECT_TRUE(designer.RefreshToolbox());
    EXPECT_FALSE(panel.GetButton(1, 7)->enabled);
    EXPECT_TRUE(panel.GetButton(1, 8)->enabled);
    EXPECT_FALSE(panel.GetButton(2, 3)->enabled);
    EXPECT_TRUE(panel.IsButtonChecked(3, 1));
    designer.OnToolboxClick(0, 30);
    EXPECT_EQ(30, designer.GetTool());
    designer.OnToolboxClick(3, 1);
    EXPECT_FALSE(designer.IsSnapOn());
    EXPECT_FALSE(panel.IsButtonChecked(3, 1));
    designer.OnToolboxClick(0, 0);
    EXPECT_EQ(-1, designer.GetTool());
    designer.SetToolbox(nullptr);
    panel.DestroyWindow();
}

TEST_F(Commands, KeysMoveAndResizeByTheirSteps)
{
    Record* e = Add(DTYPE_BUTTON, 1, {20, 20, 30, 40});
    designer.SelectOnly(e);
    const struct
    {
        bool snap, ctrl;
        UINT key;
        int x, y;
    } steps[] = {{true, false, VK_RIGHT, 25, 20}, {true, true, VK_DOWN, 25, 21},
                 {false, false, VK_LEFT, 24, 21}, {false, true, VK_UP, 24, 16}};
    for (const auto& s : steps)
    {
        designer.SetSnap(s.snap);
        EXPECT_TRUE(designer.OnKeyDown(s.key, false, s.ctrl));
        EXPECT_EQ(s.x, e->GetX());
        EXPECT_EQ(s.y, e->GetY());
    }
    // Ten pixels is the narrowest a key makes an element.
    EXPECT_TRUE(designer.OnKeyDown(VK_LEFT, true, false));
    EXPECT_EQ(10, e->GetWidth());
    EXPECT_TRUE(designer.OnKeyDown(VK_RIGHT, true, false));
    EXPECT_EQ(11, e->GetWidth());
    e->SetLocked(true);
    EXPECT_FALSE(designer.OnKeyDown(VK_RIGHT, false, false));
    EXPECT_FALSE(designer.OnKeyDown(VK_RIGHT, true, false));

    // Only the last 32 changes can be undone.
    e->SetLocked(false);
    designer.SetSnap(false);
    designer.DeleteUndoSnapshots();
    for (int i = 0; i < 33; i++)
        designer.OnKeyDown(VK_RIGHT, false, false);
    EXPECT_EQ(32, designer.GetUndoCount());
    int undone = 0;
    while (designer.Undo())
        undone++;
    EXPECT_EQ(32, undone);
    EXPECT_EQ(25, designer.GetElement(0)->GetX());
    EXPECT_EQ(designer.GetElement(0), designer.GetSelected(0));
}

// A key never makes a side narrower than ten pixels, as dragging does not, and
// never wraps a field past the ends of its 16 bits.
TEST_F(Commands, KeysStopAtTenPixelsAndAtTheEndsOfTheirFields)
{
    Record* e = Add(DTYPE_BUTTON, 1, {0, 0, 12, 15});
    designer.SelectOnly(e);
    designer.SetGrid(20, 20);
    const struct
    {
        UINT key;
        bool shift;
        short x, width, height;
        short wantX, wantWidth, wantHeight;
    } cases[] = {{VK_LEFT, true, 0, 12, 15, 0, 10, 15},          {VK_UP, true, 0, 12, 15, 0, 12, 10},
                 {VK_LEFT, true, 0, 8, 15, 0, 8, 15},            {VK_RIGHT, true, 0, 32760, 15, 0, 32767, 15},
                 {VK_DOWN, true, 0, 12, 32760, 0, 12, 32767},    {VK_RIGHT, false, 32760, 12, 15, 32767, 12, 15},
                 {VK_LEFT, false, -32760, 12, 15, -32768, 12, 15}};
    for (const auto& c : cases)
    {
        e->SetPosition(c.x, 0, c.width, c.height);
        EXPECT_TRUE(designer.OnKeyDown(c.key, c.shift, false));
        EXPECT_EQ(c.wantX, e->GetX()) << c.key << " " << c.shift;
        EXPECT_EQ(c.wantWidth, e->GetWidth()) << c.key << " " << c.shift;
        EXPECT_EQ(c.wantHeight, e->GetHeight()) << c.key << " " << c.shift;
    }
}

// A name in double quotes may hold "|"; a quote left open is an ordinary
// character. The menu, the page toggle and the built tab control all see the
// same pages, and the toggle keeps every pair.
TEST_F(Commands, QuotedTabNamesAreTheSamePagesEverywhere)
{
    Record* tab = MakeTabs();
    SWnd parent;
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(parent.Create("Parent", WS_POPUP, 0, &rect, nullptr));
    const struct
    {
        const char* content;
        std::vector<std::string> pages;
    } cases[] = {{"\"A|B\" | C | Say \"hi\"", {"A|B", "C", "Say \"hi\""}},
                 {"\"A|B\" | C\"", {"A|B", "C\""}},
                 {"\"Yes\" or \"No\" | X", {"\"Yes\" or \"No\"", "X"}},
                 {" \"x | y\" |\"z\"", {"x | y", "z"}},
                 {"One | \"Two", {"One", "\"Two"}}};
    for (const auto& c : cases)
    {
        tab->SetValue("TAB_CONTENT", c.content);
        designer.SelectOnly(tab);
        std::vector<D::_SMenuEntry> entries;
        designer.GetContextMenuEntries(entries);
        std::vector<std::string> pages;
        for (const D::_SMenuEntry& e : entries)
            if (e.submenu)
                pages.push_back(e.text.GetText());
        EXPECT_EQ(c.pages, pages) << c.content;
        const int count = static_cast<int>(c.pages.size());
        EXPECT_TRUE(designer.DecodeTabCommand(count * 1000 + 11, nullptr, nullptr)) << c.content;
        EXPECT_FALSE(designer.DecodeTabCommand((count + 1) * 1000 + 11, nullptr, nullptr)) << c.content;

        std::unique_ptr<SWnd> built(D::CreateControl(nullptr, parent.GetHandle(), tab, nullptr, true));
        ASSERT_NE(nullptr, built);
        std::vector<std::string> shown;
        for (int i = 0; i < TabCtrl_GetItemCount(built->GetHandle()); i++)
        {
            char text[64] = {};
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(built->GetHandle(), TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            shown.push_back(text);
        }
        EXPECT_EQ(c.pages, shown) << c.content;
    }
    tab->SetValue("TAB_CONTENT", cases[0].content);
    designer.OnMenuCommand(3011);
    EXPECT_STREQ("0 5 1 6 2 5 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    parent.DestroyWindow();
}

// Each user action is one undo step: undone in turn, the layout goes back
// through exactly the states it passed, a cut and a placed control included.
TEST_F(Commands, EachEditUndoesInOneStep)
{
    Record* tab = MakeTabs();
    Record* a = Add(DTYPE_BUTTON, 7, {100, 100, 150, 120});
    Record* b = Add(DTYPE_BUTTON, 8, {200, 100, 250, 120});
    SPropertyCtrl::_SItem caption("CAPTION", "", 3);
    caption.text = "Renamed";
    const struct
    {
        const char* name;
        std::function<bool()> act;
    } steps[] = {
        {"move A", [&] { designer.SelectOnly(a); return designer.OnKeyDown(VK_RIGHT, false, false); }},
        {"cut B", [&] { designer.SelectOnly(b); return designer.CutSelection(); }},
        {"place",
         [&] {
             designer.SetTool(DTYPE_CHECK);
             designer.OnLButtonDown(322, 222);
             return designer.GetElementCount() == 5;
         }},
        {"edit", [&] { designer.SelectOnly(a); return designer.ApplyProperty(&caption); }},
        {"page", [&] { designer.SelectOnly(tab); designer.OnMenuCommand(1012); return true; }},
        {"select page", [&] { designer.OnMenuCommand(2001); return true; }},
    };
    std::vector<std::string> before;
    for (const auto& step : steps)
    {
        before.push_back(WriteText(designer));
        ASSERT_TRUE(step.act()) << step.name;
        EXPECT_NE(before.back(), WriteText(designer)) << step.name;
        EXPECT_EQ(static_cast<int>(before.size()), designer.GetUndoCount()) << step.name;
    }
    for (int i = static_cast<int>(before.size()) - 1; i >= 0; i--)
    {
        ASSERT_TRUE(designer.Undo()) << steps[i].name;
        EXPECT_EQ(before[i], WriteText(designer)) << steps[i].name;
    }
}

TEST_F(Commands, LayoutAndOrderCommands)
{
    Record* a = Add(DTYPE_BUTTON, 1, {10, 10, 60, 30});
    Record* b = Add(DTYPE_BUTTON, 2, {100, 50, 120, 90});
    Record* c = Add(DTYPE_BUTTON, 3, {300, 5, 340, 15});
    Select({a, b});
    const struct
    {
        int command;
        RECT second;
    } cases[] = {{D::LAYOUT_LEFT, {10, 50, 30, 90}},     {D::LAYOUT_RIGHT, {40, 50, 60, 90}},
                 {D::LAYOUT_BOTTOM, {40, -10, 60, 30}},  {D::LAYOUT_HSPACE, {40, -10, 60, 30}},
                 {D::LAYOUT_NOHSPACE, {60, -10, 80, 30}}, {D::LAYOUT_SIZE, {60, -10, 110, 10}},
                 {D::LAYOUT_HCENTER, {200, -10, 250, 10}}, {13, {200, -10, 250, 10}}};
    for (const auto& k : cases)
    {
        const int undo = designer.GetUndoCount();
        EXPECT_TRUE(designer.ApplyLayoutCommand(k.command));
        EXPECT_EQ(undo + 1, designer.GetUndoCount()) << k.command;
        const RECT r = b->GetRect();
        EXPECT_TRUE(EqualRect(&k.second, &r)) << k.command << ": " << r.left << "," << r.top << "," << r.right;
    }
    // Three with spacing kept: the gap of the first two by x repeats.
    a->SetPosition(0, 0, 50, 10);
    b->SetPosition(60, 0, 50, 10);
    Select({c, a, b});
    EXPECT_TRUE(designer.ApplyLayoutCommand(D::LAYOUT_HSPACE));
    EXPECT_EQ(120, c->GetX());

    Select({a, b});
    EXPECT_TRUE(designer.ApplyOrderCommand(D::ORDER_FORWARD));
    EXPECT_EQ(a, designer.GetElement(0));
    Select({c, a});
    EXPECT_TRUE(designer.ApplyOrderCommand(D::ORDER_BACK));
    EXPECT_EQ((std::vector<Record*>{a, c, b}),
              (std::vector<Record*>{designer.GetElement(0), designer.GetElement(1), designer.GetElement(2)}));
    EXPECT_TRUE(designer.ApplyOrderCommand(D::ORDER_FRONT));
    EXPECT_EQ(b, designer.GetElement(0));
    Select({a});
    EXPECT_TRUE(designer.ApplyOrderCommand(D::ORDER_BACKWARD));
    EXPECT_EQ(a, designer.GetElement(0));
    Select({designer.GetDialogDescription()});
    EXPECT_FALSE(designer.ApplyLayoutCommand(D::LAYOUT_LEFT));
    EXPECT_FALSE(designer.ApplyOrderCommand(D::ORDER_FRONT));
}

TEST_F(Commands, DragFramesRoundToTheGridAndKeepTenPixels)
{
    const RECT start = {100, 50, 200, 75};
    const struct
    {
        int handle, dx, dy;
        bool ctrl;
        RECT frame;
    } cases[] = {{-1, 13, 7, false, {110, 55, 210, 80}}, {-1, 13, 7, true, {113, 57, 213, 82}},
                 {-1, -103, 0, false, {0, 50, 100, 75}},   {7, 13, 7, false, {100, 50, 210, 80}},
                 {0, 300, 300, false, {190, 65, 200, 75}}, {6, 0, -50, false, {100, 50, 200, 60}}};
    for (const auto& k : cases)
    {
        const RECT r = k.handle < 0 ? designer.GetMovedFrame(start, k.dx, k.dy, k.ctrl)
                                    : designer.GetResizedFrame(start, k.handle, k.dx, k.dy, k.ctrl);
        EXPECT_TRUE(EqualRect(&k.frame, &r)) << k.handle << ": " << r.left << "," << r.top << "," << r.right << ","
                                             << r.bottom;
    }
    EXPECT_EQ(-5, D::RoundToStep(-7, 5));

    // Hidden pages: skipped by Tab, select all, the hit test and the band.
    Record* tab = MakeTabs();
    designer.SelectOnly(tab);
    EXPECT_TRUE(designer.OnKeyDown(VK_TAB, false, false));
    EXPECT_EQ(designer.GetElement(1), designer.GetSelected(0));
    EXPECT_TRUE(designer.OnKeyDown(VK_TAB, false, false));
    EXPECT_EQ(tab, designer.GetSelected(0));
    designer.OnSelectAll();
    EXPECT_EQ(2, designer.GetSelectedCount());
    EXPECT_EQ(designer.GetElement(1), designer.HitTest(22 + 20, 22 + 40));
    EXPECT_TRUE(designer.SelectInBand(RECT{0, 0, 300, 300}));
    EXPECT_EQ(2, designer.GetSelectedCount());
}

TEST_F(Commands, PasteChecksItsBlockAndKeepsWhatItAdded)
{
    Record* a = Add(DTYPE_BUTTON, 1, {10, 10, 60, 30});
    Record* b = Add(DTYPE_EDIT, 2, {10, 40, 60, 60});
    b->SetValue("EDIT_TEXT", "hello");
    Select({a, b});
    const std::string block = Block();
    EXPECT_FALSE(Paste("KLV DIALOG EDITOR 1.0.0.1" + block.substr(25)));
    EXPECT_FALSE(Paste(std::string(DIALOG_HEADER)));
    EXPECT_EQ(2, designer.GetElementCount());
    ASSERT_TRUE(Paste(block));
    ASSERT_EQ(4, designer.GetElementCount());
    EXPECT_EQ(designer.GetElement(2), designer.GetSelected(0));
    EXPECT_STREQ("Button1", designer.GetElement(2)->GetName().GetText());
    EXPECT_EQ(3, designer.GetElement(2)->GetIdValue());
    EXPECT_STREQ("hello", designer.GetElement(3)->GetValue("EDIT_TEXT").GetText());

    // Cut inside the second record: the first stays, unselected.
    SMemory first;
    const int cut = 26 + a->WriteRecord(&first) + 10;
    EXPECT_FALSE(Paste(block.substr(0, cut)));
    EXPECT_EQ(5, designer.GetElementCount());
    EXPECT_EQ(2, designer.GetSelectedCount());

    // A dialog record or an unknown type is skipped.
    Record odd;
    odd.SetName("Odd");
    for (short type : {0, 31, -1})
    {
        odd.SetType(type);
        SMemory one;
        one.WriteStringWithNull(DIALOG_HEADER);
        odd.WriteRecord(&one);
        EXPECT_FALSE(Paste(Bytes(one))) << type;
    }
    EXPECT_EQ(5, designer.GetElementCount());
}

// A paste that adds nothing leaves all 32 snapshots in place, the oldest included.
TEST_F(Commands, PasteThatAddsNothingKeepsTheUndoHistory)
{
    Record* a = Add(DTYPE_BUTTON, 1, {10, 10, 60, 30});
    Select({a});
    const std::string block = Block();
    const int limit = D::UNDO_LIMIT;
    for (int i = 0; i < limit; i++)
        designer.TakeUndoSnapshot();
    const D::_SUndo* oldest = designer.GetUndoSnapshot(0);
    for (const std::string& bytes : {std::string(DIALOG_HEADER) + '\0', block.substr(0, block.size() - 1)})
    {
        EXPECT_FALSE(Paste(bytes));
        EXPECT_EQ(limit, designer.GetUndoCount());
        EXPECT_EQ(oldest, designer.GetUndoSnapshot(0));
    }
    EXPECT_EQ(1, designer.GetElementCount());
}

TEST_F(Commands, PasteSurvivesEveryTruncationAndRandomBlocks)
{
    Record* a = Add(DTYPE_LABEL, 1, {10, 10, 60, 30});
    a->SetValue("LABEL_TEXT", "x");
    Select({a, Add(DTYPE_TREE, 2, {0, 0, 5, 5})});
    const std::string block = Block();
    for (size_t length = 0; length <= block.size(); length++)
    {
        TestDesigner target;
        ASSERT_TRUE(ReadText(target, EMPTY_DIALOG));
        SMemory stream;
        Fill(stream, block.substr(0, length));
        target.PasteFromStream(&stream);
        ASSERT_LE(target.GetElementCount(), 2);
        ASSERT_FALSE(WriteText(target).empty());
    }
    std::mt19937 random(7);
    for (int i = 0; i < 3000; i++)
    {
        std::string bytes = std::string(DIALOG_HEADER) + '\0';
        const int n = random() % 200;
        for (int k = 0; k < n; k++)
            bytes += random() % 3 ? static_cast<char>(random()) : '\0';
        Paste(bytes);
    }
    // Whatever went in writes a text that reads back.
    TestDesigner reader;
    ASSERT_TRUE(ReadText(reader, WriteText(designer)));
    EXPECT_EQ(designer.GetElementCount(), reader.GetElementCount());
}
