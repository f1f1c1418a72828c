#include <gtest/gtest.h>
#include "SIdentifiants.h"
#include "SPropertyCtrl.h"

namespace
{
typedef SPropertyCtrl P;

SArrayString Choices()
{
    SArrayString choices;
    choices.Add("a|Ay");
    choices.Add("b|Bee");
    choices.Add("plain");
    return choices;
}
} // namespace

TEST(SPropertyCtrlModel, SetItemWithoutGroupsIsMinusOne)
{
    SPropertyCtrl grid;
    EXPECT_EQ(-1, grid.SetItem(-1, "K", "Key", P::KIND_TEXT, "x"));
    EXPECT_EQ(0, grid.GetGroupCount());
    EXPECT_EQ(0, grid.AddGroup("G", "Group"));
    EXPECT_EQ(-1, grid.AddGroup("G", "Again"));
    EXPECT_EQ(-1, grid.SetItem(1, "K", "Key", P::KIND_TEXT, "x"));
    EXPECT_EQ(0, grid.SetItem(-1, "K", "Key", P::KIND_TEXT, "x"));
    EXPECT_EQ(0, grid.SetItem(0, "J", "Jay", P::KIND_TEXT, "y", nullptr, 0));
    EXPECT_EQ(1, grid.FindItemIndex(0, "K"));
    int group = -1, index = -1;
    EXPECT_TRUE(grid.LocateItem(grid.FindItem(0, "K"), &group, &index));
    EXPECT_EQ(1, index);
    EXPECT_FALSE(grid.LocateItem(nullptr, &group, &index));
}

TEST(SPropertyCtrlModel, ValuesAreStoredAndShownByKind)
{
    const SString systemName = SIdentifiants().GetColorName(COLOR_BTNFACE);
    ASSERT_GT(systemName.GetLength(), 0);
    struct Case { int kind; const char* value; const char* shown; };
    const Case cases[] = {
        {P::KIND_BOOL, "1", "True"},        {P::KIND_BOOL, "0", "False"},
        {P::KIND_INTEGER, "12abc", "12"},   {P::KIND_REAL, "2.50", "2.5"},
        {P::KIND_REAL, "3", "3"},           {P::KIND_TEXT, "Hello", "Hello"},
        {P::KIND_COLOR, "", "Default"},     {P::KIND_COLOR, "4278190080", "Default"},
        {P::KIND_COLOR, "8405024", "32, 64, 128"}, {P::KIND_COLOR, "4261412879", systemName.GetText()},
        {P::KIND_FONT, "\"Times New Roman\" , 12, 3", "Times New Roman, 12 B.I."},
        {P::KIND_FONT, "Arial,9,12", "Arial, 9 U.S."}, {P::KIND_FONT, "", "Default"},
        {P::KIND_CHOICE, "b", "Bee"},       {P::KIND_CHOICE, "plain", "plain"},
        {P::KIND_CHOICE, "zz", ""},
    };
    SPropertyCtrl grid;
    grid.AddGroup("G", "Group");
    const SArrayString choices = Choices();
    for (const Case& c : cases)
    {
        grid.RemoveAll();
        grid.AddGroup("G", "Group");
        grid.SetItem(0, "K", "Key", c.kind, c.value, &choices);
        EXPECT_STREQ(c.shown, grid.GetDisplayText(grid.GetItem(0, 0)).GetText()) << c.kind << " " << c.value;
    }
    grid.SetItem(0, "C", "Colour", P::KIND_COLOR, "4261412879");
    EXPECT_EQ(0xFE00000Fu, grid.FindItem(0, "C")->color);
    grid.SetItem(0, "B", "Bool", P::KIND_BOOL, "1");
    grid.SetItem(0, "D", "Colour", P::KIND_COLOR, "");
    grid.SetLanguage(false);
    EXPECT_STREQ("Vrai", grid.GetDisplayText(grid.FindItem(0, "B")).GetText());
    EXPECT_STREQ("D\xE9" "faut", grid.GetDisplayText(grid.FindItem(0, "D")).GetText());
}

TEST(SPropertyCtrlModel, ChoicesSplitAtTheFirstBar)
{
    P::_SItem item("K", "Key", P::KIND_CHOICE);
    item.choices = Choices();
    item.choices.Add("x|y|z");
    struct Case { int i; const char* value; const char* text; };
    const Case cases[] = {{0, "a", "Ay"}, {2, "plain", "plain"}, {3, "x", "y|z"}, {-1, "", ""}, {9, "", ""}};
    for (const Case& c : cases)
    {
        EXPECT_STREQ(c.value, item.GetChoiceValue(c.i).GetText()) << c.i;
        EXPECT_STREQ(c.text, item.GetChoiceText(c.i).GetText()) << c.i;
    }
    EXPECT_EQ(1, item.FindChoice("b"));
    EXPECT_EQ(-1, item.FindChoice("B"));
}

TEST(SPropertyCtrlModel, SecondDifferentValueFlagsMixed)
{
    struct Case { int kind; const char* first; const char* second; bool mixed; };
    const Case cases[] = {
        {P::KIND_TEXT, "one", "two", true},  {P::KIND_TEXT, "one", "one", false},
        {P::KIND_TEXT, "one", "One", true},  {P::KIND_INTEGER, "7", "07", false},
        {P::KIND_BOOL, "1", "5", false},     {P::KIND_BOOL, "1", "0", true},
        {P::KIND_FONT, "Arial,9,1", "Arial,9,0", true}, {P::KIND_COLOR, "", "4278190080", false},
    };
    for (const Case& c : cases)
    {
        SPropertyCtrl grid;
        grid.AddGroup("G", "Group");
        grid.SetItem(0, "K", "Key", c.kind, c.first);
        EXPECT_EQ(0, grid.SetItem(0, "K", "Key", c.kind, c.second));
        EXPECT_EQ(c.mixed, grid.GetItem(0, 0)->mixed != 0) << c.first << " " << c.second;
        EXPECT_EQ(c.mixed, grid.GetDisplayText(grid.GetItem(0, 0)) == "[...]");
    }
    // An existing choice item keeps its list.
    SPropertyCtrl grid;
    grid.AddGroup("G", "Group");
    const SArrayString choices = Choices();
    grid.SetItem(0, "K", "Key", P::KIND_CHOICE, "a", &choices);
    SArrayString other;
    other.Add("q");
    grid.SetItem(0, "K", "Key", P::KIND_CHOICE, "a", &other);
    EXPECT_EQ(3, grid.GetItem(0, 0)->choices.GetCount());
}

// Rows are the headers and the items of expanded groups: a row past them, or
// one that would count a collapsed group's items, is no current row.
TEST(SPropertyCtrlModel, CurrentRowIsAShownRowOrNone)
{
    SPropertyCtrl grid;
    grid.AddGroup("A", "A", -1, false);
    for (const char* key : {"a1", "a2", "a3"})
        grid.SetItem(0, key, key, P::KIND_TEXT, "");
    grid.AddGroup("B", "B");
    grid.SetItem(1, "b1", "b1", P::KIND_TEXT, "");
    grid.SetItem(1, "b2", "b2", P::KIND_TEXT, "");
    EXPECT_EQ(4, grid.GetRowCount());
    struct Case { int row, current, group, item; };
    const Case cases[] = {{3, 3, 1, 1}, {1, 1, 1, -1}, {0, 0, 0, -1}, {4, -1, -1, -1},
                          {6, -1, -1, -1}, {-5, -1, -1, -1}};
    for (const Case& c : cases)
    {
        grid.SetCurrentRow(c.row, false);
        EXPECT_EQ(c.current, grid.GetCurrentRow()) << c.row;
        EXPECT_EQ(c.group, grid.GetCurrentGroup()) << c.row;
        EXPECT_EQ(c.item, grid.GetCurrentItem()) << c.row;
    }
    EXPECT_EQ(-1, grid.GetRowOf(0, 0));
    // A group added in front keeps the same item current, one row lower.
    grid.SetCurrentRow(3, false);
    grid.AddGroup("F", "Front", 0);
    EXPECT_EQ(4, grid.GetCurrentRow());
    EXPECT_EQ(2, grid.GetCurrentGroup());
    grid.RemoveEmptyGroups();
    EXPECT_EQ(2, grid.GetGroupCount());
    EXPECT_EQ(3, grid.GetCurrentRow());
}
