#include <gtest/gtest.h>
#include <vector>
#include "MemoryDib.h"
#include "SPropertyCtrl.h"

namespace
{
typedef SPropertyCtrl P;

// Keeps what the grid tells its parent.
class RecordingParent : public SWnd
{
public:
    std::vector<LPARAM> edited;
    std::vector<int> mouseCodes;
    int selected = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_PROPERTY_EDITED)
            edited.push_back(lParam);
        else if (message == SWM_PROPERTY_SELECT)
            selected++;
        else if (message == SWM_PROPERTY_MOUSE)
            mouseCodes.push_back(reinterpret_cast<const SMouseNotify*>(lParam)->code);
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

// Counts the changes it is asked about; can refuse them or move the focus meanwhile.
class TestGrid : public SPropertyCtrl
{
public:
    int changes = 0;
    bool veto = false;
    HWND focusOnChange = nullptr;
    bool OnItemChanged(int group, _SItem* item) override
    {
        changes++;
        if (focusOnChange)
            ::SetFocus(focusOnChange);
        return !veto;
    }
};

struct Chosen
{
    std::vector<int> choosers;
};
Chosen g_chosen;

bool AnswerChooser(HWND, int chooser, P::_SItem& answer)
{
    g_chosen.choosers.push_back(chooser);
    if (chooser == P::CHOOSER_FONT)
    {
        answer.fontFace = "Courier";
        answer.fontSize = 11;
        answer.fontStyle = 2;
    }
    else
        answer.color = chooser == P::CHOOSER_COLOR ? RGB(1, 2, 3) : 0xFE000005;
    return true;
}

// Rows: 0 header A, 1 Flag (bool), 2 Name (text), 3 Mode (choice), 4 header B,
// 5 Colour, 6 Font.
const int ROW_FLAG = 1, ROW_NAME = 2, ROW_MODE = 3, ROW_HEADER_B = 4, ROW_COLOUR = 5, ROW_FONT = 6;
const int WIDTH = 300, HEIGHT = 200;

class SPropertyCtrlWindowTest : public ::testing::Test
{
protected:
    void Open(int top = 0)
    {
        grid.DestroyWindow();
        parent.DestroyWindow();
        RECT r = {0, top, WIDTH, top + HEIGHT};
        ASSERT_TRUE(parent.Create("Grid", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        RECT c = {0, 0, WIDTH, HEIGHT};
        ASSERT_TRUE(grid.CreateChild("", WS_VISIBLE, 0, &c, parent.GetHandle()));
        rh = grid.GetRowHeight();
        grid.RemoveAll();
        grid.AddGroup("A", "Appearance");
        grid.SetItem(0, "FLAG", "Flag", P::KIND_BOOL, "0");
        grid.SetItem(0, "NAME", "Name", P::KIND_TEXT, "one");
        SArrayString choices;
        choices.Add("a|Ay");
        choices.Add("b|Bee");
        choices.Add("plain");
        grid.SetItem(0, "MODE", "Mode", P::KIND_CHOICE, "a", &choices);
        grid.AddGroup("B", "Colours");
        grid.SetItem(1, "COLOUR", "Colour", P::KIND_COLOR, "3940040"); // RGB(200, 30, 60)
        grid.SetItem(1, "FONT", "Font", P::KIND_FONT, "Arial,9,0");
    }
    void TearDown() override
    {
        SPropertyCtrl::SetChooserFunction(nullptr);
        grid.DestroyWindow();
        parent.DestroyWindow();
    }
    LPARAM At(int row, int x) const { return MAKELPARAM(x, row * rh + rh / 2); }
    void Press(int row, int x)
    {
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(row, x));
        grid.SendMessage(WM_LBUTTONUP, 0, At(row, x));
    }
    // The middle of button n of a row's value cell.
    static int ButtonX(int n) { return WIDTH - P::BUTTON_WIDTH * n - P::BUTTON_WIDTH / 2; }
    P::_SItem* Item(int group, const char* key) { return grid.FindItem(group, key); }

    RecordingParent parent;
    TestGrid grid;
    int rh = 16;
};
} // namespace

TEST_F(SPropertyCtrlWindowTest, CollapsingTheCurrentItemsGroupClearsTheCurrentRow)
{
    Open();
    Press(ROW_NAME, 50);
    EXPECT_EQ(ROW_NAME, grid.GetCurrentRow());
    Press(ROW_HEADER_B, WIDTH - 5); // another group: the current item stays
    EXPECT_EQ(0, grid.GetGroup(1)->expanded);
    EXPECT_EQ(ROW_NAME, grid.GetCurrentRow());
    Press(0, WIDTH - 5);
    EXPECT_EQ(0, grid.GetGroup(0)->expanded);
    EXPECT_EQ(-1, grid.GetCurrentRow());
    Press(0, WIDTH - 5);
    Press(ROW_FLAG, 50);
    Press(0, 50); // elsewhere on a header
    EXPECT_EQ(-1, grid.GetCurrentRow());
    // Six presses reached the parent: down, the click, up (the first one moved the
    // focus into the grid, which forgets a press: no click).
    const std::vector<int> first = {9, 17, 9, 33, 17};
    ASSERT_EQ(17u, parent.mouseCodes.size());
    EXPECT_EQ(first, std::vector<int>(parent.mouseCodes.begin(), parent.mouseCodes.begin() + 5));
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(1, parent.selected);
}

TEST_F(SPropertyCtrlWindowTest, ReturnOnAnUnmatchedChoiceDoesNothingAndSteppingWraps)
{
    Open();
    struct Case { const char* before; const char* after; size_t edited; };
    const Case cases[] = {{"zz", "zz", 0}, {"a", "b", 1}, {"plain", "a", 1}};
    for (const Case& c : cases)
    {
        parent.edited.clear();
        Item(0, "MODE")->text = c.before;
        grid.SetCurrentRow(ROW_MODE, false);
        grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_STREQ(c.after, Item(0, "MODE")->text.GetText()) << c.before;
        EXPECT_EQ(c.edited, parent.edited.size()) << c.before;
    }
    // A double click on an unmatched value opens the list instead.
    Item(0, "MODE")->text = "zz";
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(ROW_MODE, 150));
    EXPECT_TRUE(grid.GetDropDown().GetList().IsOpen());
    grid.CloseEditors(false);
    EXPECT_FALSE(grid.GetDropDown().GetHandle());
}

// Mixed values show "[...]" and their edit starts empty; Return commits, and the
// focus that leaves the closing edit commits nothing more.
TEST_F(SPropertyCtrlWindowTest, ReturnThenLosingTheFocusCommitsOnce)
{
    Open();
    grid.SetItem(0, "NAME", "Name", P::KIND_TEXT, "two");
    EXPECT_STREQ("[...]", grid.GetDisplayText(Item(0, "NAME")).GetText());
    grid.SetCurrentRow(ROW_NAME, false);
    grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    P::_SEditCtrl& edit = grid.GetEdit();
    ASSERT_TRUE(edit.IsOpen());
    EXPECT_STREQ("", edit.GetWindowText().GetText());
    ASSERT_EQ(edit.GetHandle(), GetFocus());
    edit.SetWindowText("abc");
    grid.focusOnChange = parent.GetHandle();
    edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(1, grid.changes);
    ASSERT_EQ(1u, parent.edited.size());
    EXPECT_EQ(MAKELPARAM(0, 1), parent.edited[0]);
    EXPECT_FALSE(edit.IsOpen());
    EXPECT_STREQ("abc", grid.GetDisplayText(Item(0, "NAME")).GetText());
}

TEST_F(SPropertyCtrlWindowTest, VetoedChangeRestoresTheOldValue)
{
    Open();
    grid.veto = true;
    grid.SetCurrentRow(ROW_FLAG, false);
    grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(0, Item(0, "FLAG")->boolValue);
    grid.SetCurrentRow(ROW_COLOUR, false);
    Press(ROW_COLOUR, ButtonX(0)); // the default button
    EXPECT_EQ(RGB(200, 30, 60), Item(1, "COLOUR")->color);
    grid.SetCurrentRow(ROW_NAME, false);
    grid.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    grid.GetEdit().SetWindowText("x");
    grid.GetEdit().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_STREQ("one", Item(0, "NAME")->text.GetText());
    EXPECT_EQ(3, grid.changes);
    EXPECT_TRUE(parent.edited.empty());
}

TEST_F(SPropertyCtrlWindowTest, ChoosersAnswerThroughTheReplaceableStep)
{
    Open();
    SPropertyCtrl::SetChooserFunction(AnswerChooser);
    g_chosen.choosers.clear();
    grid.SetCurrentRow(ROW_COLOUR, false);
    Press(ROW_COLOUR, ButtonX(1));
    EXPECT_EQ(0xFE000005u, Item(1, "COLOUR")->color);
    Press(ROW_COLOUR, ButtonX(2));
    EXPECT_EQ(RGB(1, 2, 3), Item(1, "COLOUR")->color);
    grid.SetCurrentRow(ROW_FONT, false);
    Press(ROW_FONT, ButtonX(1));
    EXPECT_STREQ("Courier, 11 I.", grid.GetDisplayText(Item(1, "FONT")).GetText());
    Press(ROW_FONT, ButtonX(0));
    EXPECT_STREQ("Default", grid.GetDisplayText(Item(1, "FONT")).GetText());
    EXPECT_EQ((std::vector<int>{P::CHOOSER_SYSTEMCOLOR, P::CHOOSER_COLOR, P::CHOOSER_FONT}), g_chosen.choosers);
    EXPECT_EQ(4u, parent.edited.size());
}

TEST_F(SPropertyCtrlWindowTest, ColumnBorderStopsAt25)
{
    Open();
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 5));
    struct Case { int x; WPARAM keys; int width; };
    const Case cases[] = {{61, MK_LBUTTON, 60}, {-300, MK_LBUTTON, 25}, {131, MK_LBUTTON, 130}, {0, MK_LBUTTON, 25}};
    for (const Case& c : cases)
    {
        grid.SendMessage(WM_MOUSEMOVE, c.keys, MAKELPARAM(c.x, 5));
        EXPECT_EQ(c.width, grid.GetNameWidth()) << c.x;
    }
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(0, 5));
    grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));
    EXPECT_EQ(25, grid.GetNameWidth());
}

TEST_F(SPropertyCtrlWindowTest, DropDownNearTheBottomOpensAboveTheRow)
{
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (bool nearBottom : {false, true})
    {
        Open(nearBottom ? work.bottom - 4 * rh - 10 : 0);
        grid.SetCurrentRow(ROW_MODE, false);
        grid.OpenEditor(ROW_MODE, 0, 2, false);
        P::_SWndList& popup = grid.GetDropDown();
        ASSERT_TRUE(popup.GetList().IsOpen());
        RECT list = {}, row = {};
        popup.GetWindowRect(&list);
        grid.GetRowRect(ROW_MODE, 1, &row);
        grid.ClientToScreenRect(&row);
        if (nearBottom)
            EXPECT_EQ(row.top, list.bottom);
        else
            EXPECT_EQ(row.bottom + 2, list.top);
        EXPECT_EQ(0, popup.GetList().GetSelection());
        popup.GetList().SetSelection(1);
        popup.GetList().SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_STREQ("b", Item(0, "MODE")->text.GetText());
        EXPECT_FALSE(popup.GetHandle());
    }
}

TEST_F(SPropertyCtrlWindowTest, PaintsTheBackgroundAndAColourSwatch)
{
    Open();
    MemoryDib dc(WIDTH, HEIGHT, RGB(0, 0, 0));
    ASSERT_TRUE(dc.IsMade());
    grid.Paint(dc.GetDC());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), dc.Pixel(5, (ROW_FONT + 1) * rh + 5));
    const int swatchSide = rh - 4;
    EXPECT_EQ(RGB(200, 30, 60), dc.Pixel(grid.GetNameWidth() + 2 + swatchSide / 2, ROW_COLOUR * rh + rh / 2));
    grid.RemoveAll();
    grid.Paint(dc.GetDC());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), dc.Pixel(WIDTH / 2, HEIGHT / 2));
}
