#include <gtest/gtest.h>
#include "DialogTestSupport.h"
#include "SLibrary.h"

namespace
{
typedef SDialogCtrl::_SCtrl Record;

// A 400 x 300 dialog, open in a windowless designer. Design point (0, 0) lies at
// client point (22, 22), past the rulers.
class Layout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ReadText(designer, "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n[DIALOG]\r\nPOSITION=0 0 400 300\r\n\r\n"));
    }

    Record* Place(int type, int x, int y)
    {
        const int before = designer.GetElementCount();
        designer.SetTool(type);
        designer.OnLButtonDown(x + 22, y + 22);
        return designer.GetElementCount() > before ? designer.GetElement(before) : nullptr;
    }

    Record* Add(int type, int id, const char* name, RECT rect = {10, 10, 160, 160})
    {
        Record record;
        record.SetType(static_cast<short>(type));
        record.SetId(static_cast<short>(id));
        record.SetName(name);
        record.SetPosition(static_cast<short>(rect.left), static_cast<short>(rect.top),
                           static_cast<short>(rect.right - rect.left), static_cast<short>(rect.bottom - rect.top));
        return designer.AddElement(&record, false, true, true);
    }

    TestDesigner designer;
};

// Refuses every removal that asks, and counts the questions.
class VetoingDesigner : public TestDesigner
{
public:
    bool OnRemoveElement(_SCtrl*) override
    {
        asked++;
        return false;
    }
    int asked = 0;
};
} // namespace

TEST_F(Layout, PlacedControlsGetTheirTypeNamesAndTheLowestFreeIds)
{
    Record* placed[3];
    for (Record*& record : placed)
        record = Place(DTYPE_BUTTON, 13, 27);
    for (int i = 0; i < 3; i++)
    {
        ASSERT_NE(nullptr, placed[i]);
        EXPECT_STREQ(("Button" + std::to_string(i + 1)).c_str(), placed[i]->GetName().GetText());
        EXPECT_EQ(i + 1, placed[i]->GetIdValue());
    }
    EXPECT_EQ(-1, designer.GetTool());
    // With snap on the point goes down to the 5 x 5 grid.
    EXPECT_EQ(10, placed[0]->GetX());
    EXPECT_EQ(25, placed[0]->GetY());

    designer.SelectOnly(placed[1]);
    designer.OnDelete();
    EXPECT_EQ(2, designer.GetElementCount());
    // One snapshot for each control placed and one for the delete.
    EXPECT_EQ(4, designer.GetUndoCount());
    Record* again = Place(DTYPE_BUTTON, 13, 27);
    ASSERT_NE(nullptr, again);
    EXPECT_STREQ("Button2", again->GetName().GetText());
    EXPECT_EQ(2, again->GetIdValue());

    designer.SetSnap(false);
    Record* free = Place(DTYPE_CHECK, 13, 27);
    EXPECT_EQ(13, free->GetX());
    EXPECT_EQ(27, free->GetY());
    Record* bar = Place(DTYPE_TOOLBAR, 200, 200);
    EXPECT_EQ(0, bar->GetX());
    EXPECT_EQ(400, bar->GetWidth());
    // Outside the design area (on a ruler) nothing is placed.
    designer.SetTool(DTYPE_BUTTON);
    designer.OnLButtonDown(5, 100);
    EXPECT_EQ(5, designer.GetElementCount());
}

TEST_F(Layout, IdsAndNamesComeFromOneToNineThousandNineHundredNinetyNine)
{
    EXPECT_EQ(1, designer.GetFreeId());
    Add(DTYPE_BUTTON, 1, "A");
    Add(DTYPE_BUTTON, 2, "B");
    Add(DTYPE_BUTTON, 4, "C");
    EXPECT_EQ(3, designer.GetFreeId());
    EXPECT_FALSE(designer.IsNameAvailable("A"));
    EXPECT_FALSE(designer.IsNameAvailable("1A"));
    EXPECT_FALSE(designer.IsNameAvailable("A_"));
    EXPECT_TRUE(designer.IsNameAvailable("a"));

    designer.RemoveAllElements();
    for (int n = 1; n <= 9999; n++)
        ASSERT_NE(nullptr, Add(DTYPE_BUTTON, n, ("Button" + std::to_string(n)).c_str())) << n;
    EXPECT_EQ(-1, designer.GetFreeId());
    EXPECT_STREQ("", designer.MakeUniqueName(DTYPE_BUTTON).GetText());
    // No id left, or no name left: refused, not id 0xFFFF or an empty name.
    EXPECT_EQ(nullptr, Add(DTYPE_CHECK, 1, "Fresh"));
    EXPECT_EQ(nullptr, Add(DTYPE_BUTTON, 0, "Button1"));
    EXPECT_NE(nullptr, Add(DTYPE_CHECK, 0, "Check"));
    Record outside;
    outside.SetType(31);
    EXPECT_EQ(nullptr, designer.AddElement(&outside, false, true, true));
}

TEST_F(Layout, SnapshotsKeepTheLastThirtyTwoWithTheirSelection)
{
    Record* first = Add(DTYPE_BUTTON, 1, "First");
    designer.SelectOnly(first);
    for (int i = 0; i < 33; i++)
    {
        Add(DTYPE_BUTTON, 0, "", RECT{i, 0, i + 10, 10});
        designer.TakeUndoSnapshot();
    }
    ASSERT_EQ(32, designer.GetUndoCount());
    // The oldest left was taken with three elements: the first snapshot went.
    EXPECT_EQ(3, designer.GetUndoSnapshot(0)->elements.GetCount());
    ASSERT_EQ(1, designer.GetUndoSnapshot(0)->selected.GetCount());
    EXPECT_EQ(1, designer.GetUndoSnapshot(0)->selected.GetAt(0)->GetIdValue());
    EXPECT_TRUE(designer.DropLastUndoSnapshot());
    EXPECT_EQ(31, designer.GetUndoCount());
    designer.EnableUndo(false);
    designer.TakeUndoSnapshot();
    EXPECT_EQ(31, designer.GetUndoCount());
}

TEST_F(Layout, HandlesRulersAndGridSteps)
{
    Record* element = Add(DTYPE_BUTTON, 1, "B", RECT{10, 20, 160, 70});
    const RECT expected[8] = {{4, 14, 10, 20},   {82, 14, 88, 20},   {160, 14, 166, 20}, {4, 42, 10, 48},
                              {160, 42, 166, 48}, {4, 70, 10, 76},    {82, 70, 88, 76},   {160, 70, 166, 76}};
    for (int i = 0; i < 8; i++)
    {
        const RECT handle = designer.GetHandleRect(element, i);
        EXPECT_TRUE(EqualRect(&expected[i], &handle)) << i;
    }
    EXPECT_EQ(22, designer.GetDesignArea().left);
    designer.ShowRulers(false);
    designer.ComputeLayout();
    EXPECT_EQ(0, designer.GetDesignArea().left);
    EXPECT_TRUE(IsRectEmpty(&designer.GetTopRuler()));

    designer.SetGrid(0, 8);
    designer.SetSnap(false);
    EXPECT_EQ(1, designer.GetGridStepX(false));
    EXPECT_EQ(1, designer.GetGridStepX(true));
    EXPECT_EQ(8, designer.GetGridStepY(true));
    designer.SetSnap(true);
    EXPECT_EQ(8, designer.GetGridStepY(false));
    EXPECT_EQ(1, designer.GetGridStepY(true));
}

TEST_F(Layout, HitTestSkipsHiddenPagesAndKeepsCombosAndGroupsOpen)
{
    Record* group = Add(DTYPE_GROUP, 1, "Frame", RECT{0, 0, 200, 200});
    Record* combo = Add(DTYPE_COMBO, 2, "Choice", RECT{250, 0, 350, 150});
    combo->SetStyle(CBS_DROPDOWNLIST);
    Record* tab = Add(DTYPE_TAB, 4, "Pages", RECT{240, 190, 390, 290});
    tab->SetValue("TAB_CHILDREN_PRIVATE", "1 3 ");
    Record* page = Add(DTYPE_BUTTON, 3, "OnPage", RECT{250, 200, 300, 250});
    const auto at = [&](int x, int y) { return designer.HitTest(x + 22, y + 22); };
    EXPECT_EQ(group, at(5, 100));
    EXPECT_EQ(designer.GetDialogDescription(), at(100, 100));
    EXPECT_EQ(combo, at(300, 23));
    EXPECT_EQ(designer.GetDialogDescription(), at(300, 24));
    EXPECT_EQ(nullptr, at(500, 100));
    // The tab shows page 0, the button on top is on page 1: the tab is hit.
    EXPECT_TRUE(designer.IsElementHidden(page));
    EXPECT_EQ(tab, at(260, 210));
    tab->SetValue("TAB_SELECTION", "1");
    EXPECT_FALSE(designer.IsElementHidden(page));
    EXPECT_EQ(page, at(260, 210));
    // A group too small for its inner frame is hit everywhere.
    group->SetPosition(0, 0, 15, 15);
    EXPECT_EQ(group, at(7, 7));
}

TEST_F(Layout, PressesSelectPrimaryOnlyAndReportEachChange)
{
    Record* a = Add(DTYPE_BUTTON, 1, "A", RECT{10, 10, 60, 40});
    Record* b = Add(DTYPE_BUTTON, 2, "B", RECT{100, 10, 150, 40});
    designer.OnLButtonDown(22 + 20, 22 + 20);
    EXPECT_EQ(a, designer.GetSelected(0));
    designer.Select(b);
    EXPECT_TRUE(designer.MakePrimary(b));
    EXPECT_FALSE(designer.MakePrimary(designer.GetDialogDescription()));
    RECT bounds = designer.GetSelectionBounds();
    EXPECT_EQ(10, bounds.left);
    EXPECT_EQ(150, bounds.right);
    // A press on a selected element keeps the selection and makes it primary.
    designer.OnLButtonDown(22 + 20, 22 + 20);
    EXPECT_EQ(a, designer.GetSelected(0));
    EXPECT_EQ(2, designer.GetSelectedCount());
    designer.OnLButtonDown(22 + 200, 22 + 200);
    EXPECT_TRUE(designer.IsDialogSelected());
    EXPECT_FALSE(designer.MakePrimary(designer.GetDialogDescription()));
    designer.OnLButtonDown(22 + 500, 22 + 500);
    EXPECT_EQ(0, designer.GetSelectedCount());
    a->SetLocked(true);
    designer.Select(a);
    EXPECT_TRUE(designer.IsAnySelectedLocked());
    SArrayString idNames;
    EXPECT_EQ(2, designer.ListElements(DTYPE_BUTTON, nullptr, nullptr, nullptr, &idNames));
    EXPECT_STREQ("2|B", idNames.GetAt(1).GetText());
}

namespace
{
// Counts the selection changes the designer reports.
class CountingDesigner : public TestDesigner
{
public:
    bool OnSelectionChanged(_SCtrl* previous, _SCtrl* current) override
    {
        reports++;
        return TestDesigner::OnSelectionChanged(previous, current);
    }
    int reports = 0;
};

// Ctrl held as GetAsyncKeyState sees it, which under Wine is injected input only.
class HeldCtrl
{
public:
    HeldCtrl()
    {
        for (int tries = 0; tries < 50 && !IsDown(); tries++)
        {
            Send(0);
            PumpMessages();
            if (!IsDown())
                Sleep(10);
        }
    }
    ~HeldCtrl()
    {
        Send(KEYEVENTF_KEYUP);
        PumpMessages();
    }
    static bool IsDown() { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

private:
    static void Send(DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_CONTROL;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
    }
};
} // namespace

TEST(SDialogCtrlLayout, CtrlPressesAddAndTakeAwayAndReportEachChange)
{
    CountingDesigner designer;
    ASSERT_TRUE(ReadText(designer, "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n[DIALOG]\r\nPOSITION=0 0 400 300\r\n\r\n"));
    Record* a = AddRecord(designer, DTYPE_BUTTON, 1, "A", {10, 10, 60, 40});
    Record* b = AddRecord(designer, DTYPE_BUTTON, 2, "B", {100, 10, 150, 40});
    designer.SelectOnly(designer.GetDialogDescription());
    designer.reports = 0;
    HeldCtrl ctrl;
    ASSERT_TRUE(HeldCtrl::IsDown());
    // Each press: its point, then the selection it leaves and the reports so far.
    const struct
    {
        POINT at;
        Record* first;
        Record* second;
        int reports;
    } presses[] = {
        {{20, 20}, a, nullptr, 1},    // the dialog alone gives way to the control
        {{120, 20}, b, a, 2},         // added, and made the primary element
        {{20, 20}, b, nullptr, 3},    // a selected control is taken away, not moved
        {{120, 20}, nullptr, nullptr, 4},
        {{300, 200}, designer.GetDialogDescription(), nullptr, 5},
    };
    for (const auto& p : presses)
    {
        SCOPED_TRACE(p.reports);
        designer.OnLButtonDown(22 + p.at.x, 22 + p.at.y);
        EXPECT_EQ(p.first, designer.GetSelected(0));
        EXPECT_EQ(p.second, designer.GetSelected(1));
        EXPECT_EQ(p.reports, designer.reports);
    }
    EXPECT_EQ(10, a->GetX());
    EXPECT_EQ(0, designer.GetUndoCount());
}

TEST(SDialogCtrlLayout, CutEndsWhenRemovalsAreVetoedAndDeleteRefusesTheDialog)
{
    VetoingDesigner designer;
    ASSERT_TRUE(ReadText(designer, DemoText()));
    designer.Select(designer.GetElement(0));
    designer.Select(designer.GetDialogDescription());
    EXPECT_TRUE(designer.CutSelection());
    EXPECT_EQ(1, designer.asked);
    EXPECT_EQ(1, designer.GetElementCount());
    EXPECT_EQ(0, designer.GetSelectedCount());
    designer.SelectOnly(designer.GetDialogDescription());
    EXPECT_FALSE(designer.DeleteSelection());
    EXPECT_FALSE(designer.CopySelection());
    // A vetoed delete changes nothing, so it leaves no snapshot either.
    designer.SelectOnly(designer.GetElement(0));
    EXPECT_FALSE(designer.DeleteSelection());
    EXPECT_EQ(1, designer.GetElementCount());
    EXPECT_EQ(0, designer.GetUndoCount());

    EXPECT_FALSE(designer.SetTool(0));
    EXPECT_FALSE(designer.SetTool(31));
    EXPECT_TRUE(designer.SetTool(30));
    EXPECT_FALSE(designer.SetTool(30));
    designer.Clear();
    EXPECT_FALSE(designer.IsOpen());
    EXPECT_EQ(-1, designer.GetTool());
    EXPECT_EQ(0, designer.GetElementCount());
}

namespace
{
class DoubleClickDesigner : public TestDesigner
{
public:
    void OnElementDoubleClick(_SCtrl* element) override { clicked = element; }
    _SCtrl* clicked = nullptr;
};
} // namespace

TEST(SDialogCtrlLayout, RulersPaintTheirTicksAndHoverPicksTheHandleCursor)
{
    DoubleClickDesigner designer;
    ASSERT_TRUE(ReadText(designer, DemoText()));
    designer.SetRulerTextColor(RGB(255, 0, 0));
    designer.SetWorkspaceColors(0xFF000000, RGB(0, 0, 255));
    HDC screen = GetDC(nullptr);
    SMemoryDCGuard dc(screen);
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 200, 200));
    ReleaseDC(nullptr, screen);
    SSelectGuard selected(dc.Get(), bitmap.Get());
    designer.DrawRulers(dc.Get());
    // Top ruler from x 22: v 50 at x 72 (8 long), v 55 at x 77 (4 long), ticks end at 22.
    const struct
    {
        int x, y;
        COLORREF color;
    } pixels[] = {{72, 14, RGB(255, 0, 0)}, {72, 13, RGB(0, 0, 255)}, {77, 18, RGB(255, 0, 0)},
                  {77, 17, RGB(0, 0, 255)}, {74, 20, RGB(0, 0, 255)}, {74, 21, RGB(255, 0, 0)},
                  {14, 72, RGB(255, 0, 0)}, {13, 72, RGB(0, 0, 255)}};
    for (const auto& p : pixels)
        EXPECT_EQ(p.color, GetPixel(dc.Get(), p.x, p.y)) << p.x << "," << p.y;

    const POINT at = {100, 100};
    designer.DrawMouseLines(dc.Get(), &at);
    EXPECT_EQ(100, designer.GetMouseLineX());
    EXPECT_NE(RGB(0, 0, 255), GetPixel(dc.Get(), 100, 5));
    // Off the design area: the old line is drawn again, which takes it away.
    const POINT off = {5, 5};
    designer.DrawMouseLines(dc.Get(), &off);
    EXPECT_EQ(-1, designer.GetMouseLineX());
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc.Get(), 100, 5));
    designer.DrawMouseLines(dc.Get(), &at);
    designer.DrawRulers(dc.Get());
    EXPECT_EQ(-1, designer.GetMouseLineX());

    // The button spans 100..200 x 50..75: handle 7 starts at (200, 75).
    SDialogCtrl::_SCtrl* button = designer.GetElement(0);
    designer.SelectOnly(button);
    designer.OnMouseHover(22 + 202, 22 + 77);
    EXPECT_EQ(GetLibraryCursor(10), designer.GetCursor());
    designer.OnMouseHover(22 + 150, 22 + 60);
    EXPECT_EQ(nullptr, designer.GetCursor());
    designer.OnDoubleClick(22 + 150, 22 + 60);
    EXPECT_EQ(button, designer.clicked);
}

TEST(SDialogCtrlLayout, AWindowedDesignerInitialisesOnCreationAndTakesPresses)
{
    SDialogCtrl designer;
    RECT rect = {0, 0, 600, 400};
    ASSERT_TRUE(designer.CreatePopup("Designer", &rect, nullptr));
    EXPECT_EQ(333, designer.GetLanguageTable().GetCount());
    EXPECT_EQ(22, designer.GetDesignArea().top);
    ASSERT_TRUE(ReadText(designer, DemoText()));
    designer.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(22 + 150, 22 + 60));
    EXPECT_EQ(designer.GetElement(0), designer.GetSelected(0));
    designer.DestroyWindow();
}
