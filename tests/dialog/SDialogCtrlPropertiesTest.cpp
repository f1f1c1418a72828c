#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "DialogTestSupport.h"

namespace
{
typedef SDialogCtrl::_SCtrl Record;
typedef SPropertyCtrl::_SItem Item;

std::vector<std::string> g_errors;

int RecordError(HWND, const char* text, const char* title, UINT)
{
    g_errors.push_back(std::string(title) + ": " + text);
    return IDOK;
}

// A windowless designer holding the demo dialog, with a hidden pane attached.
class Properties : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = {0, 0, 300, 400};
        ASSERT_TRUE(pane.Create("Pane", WS_POPUP, 0, &r, nullptr));
        designer.SetPropertyPane(&pane);
        ASSERT_TRUE(ReadText(designer, DemoText()));
        button = designer.GetElement(0);
        g_errors.clear();
        SDialogCtrl::SetErrorFunction(RecordError);
    }
    void TearDown() override
    {
        SDialogCtrl::SetErrorFunction(nullptr);
        pane.DestroyWindow();
    }

    void SelectAll(std::initializer_list<Record*> records)
    {
        designer.ClearSelection();
        for (Record* record : records)
            designer.Select(record);
        designer.FillProperties(designer.GetSelected(0));
    }
    // The keys of a group in order; empty when the group is not there.
    std::vector<std::string> Keys(const char* group) const
    {
        std::vector<std::string> keys;
        const SPropertyCtrl::_SGroup* g = pane.GetGroup(pane.FindGroup(group));
        for (int i = 0; g && i < g->items.GetCount(); i++)
            keys.push_back(g->items.GetAt(i)->key.GetText());
        return keys;
    }
    Item* Find(const char* key) const
    {
        for (int g = 0; g < pane.GetGroupCount(); g++)
            if (Item* item = pane.FindItem(g, key))
                return item;
        return nullptr;
    }
    std::string Text(const char* key) const
    {
        const Item* item = Find(key);
        return item ? item->text.GetText() : "<none>";
    }
    // Changes the item as the grid would and asks the pane to apply it.
    template <class Change>
    bool Edit(const char* key, Change change)
    {
        Item* item = Find(key);
        if (!item)
            return false;
        change(*item);
        int group = -1, index = -1;
        pane.LocateItem(item, &group, &index);
        return pane.OnItemChanged(group, item);
    }

    TestDesigner designer;
    SDialogCtrl::_SPropertyCtrl pane;
    Record* button = nullptr;
};
} // namespace

TEST_F(Properties, TheDialogAloneShowsItsGeneralItemsAndOnlyItsSize)
{
    SelectAll({designer.GetDialogDescription()});
    EXPECT_EQ((std::vector<std::string>{"TYPE", "CAPTION", "VISIBLE", "DISABLED", "FONT"}), Keys("$GENERAL"));
    EXPECT_EQ("Dialog", Text("TYPE"));
    EXPECT_EQ((std::vector<std::string>{"WIDTH", "HEIGHT"}), Keys("$POSITION"));
    EXPECT_EQ("300", Text("WIDTH"));
    EXPECT_STREQ("", Find("FONT")->fontFace.GetText());
    EXPECT_EQ(0, Find("FONT")->fontSize);
    // The status texts, the border group and the page's resources follow the style items.
    EXPECT_EQ("DIALOG_CAPTION", Keys("$STYLE").front());
    EXPECT_EQ((std::vector<std::string>{"BORDER", "CLIENTEDGE", "STATICEDGE"}), Keys("$BORDER"));
    EXPECT_EQ("_DRAWTOPLEFT", Text("DIALOG_IMAGEDRAWMODE"));
}

TEST_F(Properties, ValuesFollowStyleBitsStoredKeysAndFonts)
{
    button->SetValue("HALIGN", "3");
    button->SetValue("VALIGN", "128");
    button->SetStyle(button->GetStyle() | 0xC00);
    SelectAll({button});
    const struct
    {
        const char* key;
        const char* shown;
    } cases[] = {{"TYPE", "Button"}, {"ID", "1"}, {"NAME", "OK"}, {"HALIGN", "_AUTOLEFT"}, {"VALIGN", "_AUTOTOP"},
                 {"BUTTON_ALIGN", "_CENTER"}, {"BUTTON_VALIGN", "_MIDDLE"}, {"X", "100"}, {"TABGROUP", "1"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, Text(c.key)) << c.key;
    EXPECT_STREQ("Tahoma", Find("FONT")->fontFace.GetText());
    EXPECT_EQ(8, Find("FONT")->fontSize);
    EXPECT_EQ(1, Find("FONT")->fontStyle);
    EXPECT_EQ(nullptr, Find("TEXTCOLOR"));
    EXPECT_EQ(-1, pane.FindGroup("$BORDER"));

    // A blank edge shows the first edge; a blank meter link shows no meter.
    Record* stat = AddRecord(designer, DTYPE_STATIC, 7, "S");
    Record* sound = AddRecord(designer, DTYPE_SOUNDEDITOR, 8, "W");
    AddRecord(designer, DTYPE_LEVEL, 9, "Meter");
    SelectAll({stat});
    EXPECT_EQ("_EDGEBUMP", Text("STATIC_EDGE"));
    SelectAll({sound});
    EXPECT_EQ("", Text("SOUNDEDITOR_LEVEL"));
    EXPECT_EQ(2, Find("SOUNDEDITOR_LEVEL")->choices.GetCount());
    EXPECT_STREQ("9|Meter", Find("SOUNDEDITOR_LEVEL")->choices.GetAt(1).GetText());
}

TEST_F(Properties, MixedSelectionsShowOnlyTheItemsTheyShare)
{
    Record* edit = AddRecord(designer, DTYPE_EDIT, 2, "E");
    Record* tree = AddRecord(designer, DTYPE_TREE, 3, "T");
    SelectAll({button, edit});
    EXPECT_EQ((std::vector<std::string>{"CAPTION", "VISIBLE", "DISABLED", "TABENABLED", "TABGROUP"}),
              Keys("$GENERAL"));
    EXPECT_EQ((std::vector<std::string>{"X", "Y", "WIDTH", "HEIGHT", "HALIGN", "VALIGN"}), Keys("$POSITION"));
    EXPECT_EQ((std::vector<std::string>{"BACKCOLOR", "TEXTCOLOR"}), Keys("$COLOR"));
    EXPECT_EQ(-1, pane.FindGroup("$STYLE"));
    EXPECT_EQ(1, Find("X")->mixed);
    SelectAll({button, tree});
    EXPECT_EQ(nullptr, Find("CAPTION"));
}

TEST_F(Properties, EditsReachEverySelectedElement)
{
    SelectAll({button});
    EXPECT_TRUE(Edit("HALIGN", [](Item& item) { item.text = "_AUTOWIDTHHALF"; }));
    EXPECT_EQ("12", std::string(button->GetValue("HALIGN").GetText()));
    EXPECT_TRUE(Edit("BUTTON_ALIGN", [](Item& item) { item.text = "_RIGHT"; }));
    EXPECT_EQ(0x200u, button->GetStyle() & 0x300);
    EXPECT_TRUE(Edit("Y", [](Item& item) { item.text = "-7"; }));
    EXPECT_EQ(-7, button->GetY());

    // Its own name counts as taken.
    EXPECT_FALSE(Edit("NAME", [](Item& item) { item.text = "OK"; }));
    ASSERT_EQ(1u, g_errors.size());
    EXPECT_EQ("Error: This name already exists.", g_errors[0]);
    EXPECT_TRUE(Edit("NAME", [](Item& item) { item.text = "ACCEPT"; }));
    EXPECT_STREQ("ACCEPT", button->GetName().GetText());

    // A toggle flips each element, whatever the pane shows.
    Record* flat = AddRecord(designer, DTYPE_BUTTON, 2, "FLAT");
    flat->SetStyle(0x8000);
    SelectAll({button, flat});
    EXPECT_TRUE(Edit("BUTTON_FLAT", [](Item& item) { item.boolValue = 1; }));
    EXPECT_EQ(0x8000u, button->GetStyle() & 0x8000);
    EXPECT_EQ(0u, flat->GetStyle() & 0x8000);
}

TEST_F(Properties, TypeKeysAreStoredByTheirKind)
{
    Record* sound = AddRecord(designer, DTYPE_SOUNDEDITOR, 2, "W");
    Record* list = AddRecord(designer, DTYPE_LIST, 3, "L");
    Record* tree = AddRecord(designer, DTYPE_TREE, 4, "T");
    list->SetStyle(0x808);
    const struct
    {
        Record* element;
        const char* key;
        int kind;
        const char* text;
        DWORD color;
        const char* stored;  // null: the style is checked instead
        DWORD mask, bits;
    } cases[] = {
        // A boolean type key stores the item's state, not its text.
        {sound, "SOUNDEDITOR_POPUPMENU", 1, "", 0, "1", 0, 0},
        {sound, "SOUNDEDITOR_COLORLINE", 2, "", 0xFE00000F, "4261412879", 0, 0},
        {sound, "SOUNDEDITOR_FILE", 7, "wave.wav", 0, "wave.wav", 0, 0},
        {list, "LIST_SELECTION", 7, "_SINGLE", 0, nullptr, 0x4808, 0},
        {list, "LIST_SELECTION", 7, "_NONE", 0, nullptr, 0x4808, 0x4000},
        {tree, "TREE_DRAGDROP", 1, "", 0, nullptr, 0x10, 0x10},
    };
    for (const auto& c : cases)
    {
        SelectAll({c.element});
        ASSERT_TRUE(Edit(c.key, [&c](Item& item) {
            item.boolValue = 1;
            item.text = c.text;
            item.color = c.color;
        })) << c.key;
        if (c.stored)
            EXPECT_STREQ(c.stored, c.element->GetValue(c.key).GetText()) << c.key;
        else
            EXPECT_EQ(c.bits, c.element->GetStyle() & c.mask) << c.key << " " << c.text;
    }
}

TEST_F(Properties, BorderCaptionAndOrientationKeepEachOtherInStep)
{
    Record* dialog = designer.GetDialogDescription();
    SelectAll({dialog});
    ASSERT_EQ(1, Find("DIALOG_CAPTION")->boolValue);
    EXPECT_TRUE(Edit("BORDER", [](Item& item) { item.boolValue = 0; }));
    EXPECT_EQ(0u, dialog->GetStyle() & WS_CAPTION);
    EXPECT_EQ(0, Find("DIALOG_CAPTION")->boolValue);
    EXPECT_TRUE(Edit("DIALOG_CAPTION", [](Item& item) { item.boolValue = 1; }));
    EXPECT_EQ(static_cast<DWORD>(WS_CAPTION), dialog->GetStyle() & WS_CAPTION);
    EXPECT_EQ(1, Find("BORDER")->boolValue);

    Record* level = AddRecord(designer, DTYPE_LEVEL, 2, "Meter", RECT{0, 0, 40, 150});
    SelectAll({level});
    EXPECT_TRUE(Edit("LEVEL_HORIZONTAL", [](Item& item) { item.boolValue = 1; }));
    EXPECT_EQ(150, level->GetWidth());
    EXPECT_EQ(40, level->GetHeight());
    EXPECT_STREQ("1", level->GetValue("LEVEL_HORIZONTAL").GetText());
    EXPECT_TRUE(Edit("LEVEL_HORIZONTAL", [](Item& item) { item.boolValue = 0; }));
    EXPECT_EQ(40, level->GetWidth());
    Record* slider = AddRecord(designer, DTYPE_SLIDER, 3, "Slide", RECT{0, 0, 150, 25});
    SelectAll({slider});
    EXPECT_TRUE(Edit("SLIDER_VERTICAL", [](Item&) {}));
    EXPECT_EQ(25, slider->GetWidth());
}

TEST_F(Properties, TabPagesKeepOnlyLivePairs)
{
    Record* tab = AddRecord(designer, DTYPE_TAB, 4, "Tabs");
    tab->SetValue("TAB_CONTENT", "One | Two");
    Record* five = AddRecord(designer, DTYPE_EDIT, 5, "Five");
    designer.SelectOnly(tab);
    designer.UpdateTabChildren(0, five, true);
    EXPECT_STREQ("0 5 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    designer.UpdateTabChildren(0, five, true);
    EXPECT_STREQ("0 5 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    // A removed page and a deleted control drop out at the next change.
    tab->SetValue("TAB_CHILDREN_PRIVATE", "0 5 7 1 1 99 1 1 ");
    designer.UpdateTabChildren(1, five, true);
    EXPECT_STREQ("0 5 1 1 1 5 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    designer.UpdateTabChildren(0, five, false);
    designer.UpdateTabChildren(0, five, false);
    EXPECT_STREQ("1 1 1 5 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    designer.SelectOnly(five);
    designer.UpdateTabChildren(0, five, true);
    EXPECT_STREQ("1 1 1 5 ", tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
}
