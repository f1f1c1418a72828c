#include <gtest/gtest.h>
#include <climits>
#include "HeldKeys.h"
#include "SListCtrl.h"

namespace
{
const COLORREF SELECTED = RGB(200, 0, 0);

class SListCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(20, 20, 420, 320);
        ASSERT_TRUE(parent.Create("Lists", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        parent.SetForegroundWindow();
    }
    void Make(DWORD style, int items)
    {
        RECT r = MakeRect(10, 10, 210, 210);
        ASSERT_TRUE(list.Create(WS_VISIBLE | style, 0, &r, parent.GetHandle(), 3));
        const char* texts[] = {"zero", "one", "two", "ABC", "four"};
        for (int i = 0; i < items; i++)
            ASSERT_EQ(i, list.AddItem(texts[i]));
    }
    LRESULT Press(UINT message, int item)
    {
        RECT r = {};
        list.GetItemRect(item, &r);
        return list.SendMessage(message, 0, MAKELPARAM(5, item < 0 ? 190 : r.top + 2));
    }
    // The colour the list paints at x of a selected, empty item 0 (drawn through
    // the parent's owner-draw dispatch into a memory context).
    COLORREF SelectedPixel(int x)
    {
        HDC screen = list.GetDC();
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_LISTBOX;
        draw.hwndItem = list.GetHandle();
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = ODS_SELECTED;
        draw.hDC = dc;
        draw.rcItem = MakeRect(0, 0, 200, 20);
        draw.itemData = reinterpret_cast<ULONG_PTR>(list.GetItemRecord(0));
        parent.SendMessage(WM_DRAWITEM, 3, reinterpret_cast<LPARAM>(&draw));
        const COLORREF color = GetPixel(dc, x, 10);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        list.ReleaseDC(screen);
        return color;
    }
    TraceWnd parent;
    SListCtrl list;
};
} // namespace

TEST_F(SListCtrlTest, TheSelectedFillStartsAfterTheFirstImageZone)
{
    Make(0, 1);
    EXPECT_EQ(STYPE_LIST, list.GetType());
    list.SetItemText(0, "");
    list.SetSelectionColors(SWnd::COLOR_NONE, RGB(1, 2, 3));
    list.SetSelectionColors(SELECTED, SWnd::COLOR_NONE);
    EXPECT_EQ(RGB(1, 2, 3), list.GetSelectionTextColor());
    EXPECT_EQ(SELECTED, SelectedPixel(0));
    HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    list.SetImageList(icons);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), SelectedPixel(19));
    EXPECT_EQ(SELECTED, SelectedPixel(20));
    list.SetImageList(nullptr);
    ImageList_Destroy(icons);
}

TEST_F(SListCtrlTest, ItemsAreMeasuredThroughTheirRecordsAndFoundWithoutCase)
{
    Make(0, 5);
    EXPECT_EQ(list.GetItemHeight(), list.SendMessage(LB_GETITEMHEIGHT, 0));
    EXPECT_EQ(3, list.FindItem("abc"));
    EXPECT_EQ(-1, list.FindItem("abc", 4));
    EXPECT_EQ(-1, list.FindItem("abcd"));
    // Not exact: the first text that begins with it, after the start, wrapping.
    const struct { const char* text; bool exact; int start, found; } searches[] = {
        {"ab", false, -1, 3}, {"t", false, 2, 2}, {"f", false, 4, 4}, {"ab", true, -1, -1}, {"abc", true, 0, 3}};
    for (const auto& c : searches)
    {
        EXPECT_EQ(c.found, list.SelectItemByText(c.text, c.exact, c.start)) << c.text;
        if (c.found != -1)
        {
            EXPECT_EQ(c.found, list.GetSelection()) << c.text;
        }
    }
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_FALSE(list.DeleteItem(4));
    EXPECT_EQ("", std::string(list.GetItemText(9).GetText()));
}

TEST_F(SListCtrlTest, ItemRectangleOnlyForItemsThatExist)
{
    Make(0, 2);
    RECT r = {};
    EXPECT_TRUE(list.GetItemRect(1, &r));
    EXPECT_EQ(list.GetItemHeight(), r.bottom - r.top);
    for (int index : {-1, -100, INT_MIN, 2, INT_MAX})
        EXPECT_FALSE(list.GetItemRect(index, &r)) << index;
    EXPECT_FALSE(list.GetItemRect(0, nullptr));
}

TEST_F(SListCtrlTest, AClickBelowTheLastItemHitsNothingAndClearsTheSelection)
{
    Make(0, 2);
    EXPECT_EQ(1, list.ItemFromPoint(5, list.GetItemHeight() + 1));
    EXPECT_EQ(-1, list.ItemFromPoint(5, 190));
    list.SetSelection(1);
    parent.Forget();
    Press(WM_LBUTTONDOWN, -1);
    EXPECT_EQ(-1, list.GetSelection());
    EXPECT_EQ(1, parent.Count(SWM_LIST_SELCHANGE));
    Press(WM_LBUTTONDOWN, 0);
    EXPECT_EQ(0, list.GetSelection());
    EXPECT_EQ(2, parent.Count(SWM_LIST_SELCHANGE));
}

TEST_F(SListCtrlTest, ShiftClickWithNothingSelectedSelectsTheOneItem)
{
    Make(LBS_EXTENDEDSEL, 5);
    {
        HeldKeys shift({VK_SHIFT});
        Press(WM_LBUTTONDOWN, 2);
    }
    EXPECT_EQ(1, list.GetSelectedCount());
    EXPECT_TRUE(list.IsItemSelected(2));
    {
        HeldKeys shift({VK_SHIFT});
        Press(WM_LBUTTONDOWN, 4);
    }
    SArray<int> selected;
    EXPECT_EQ(3, list.GetSelectedItems(&selected));
    EXPECT_EQ(2, selected.GetAt(0));
}

TEST_F(SListCtrlTest, ARightPressOnASelectedItemOfAnExtendedListKeepsTheSelection)
{
    Make(LBS_EXTENDEDSEL, 5);
    list.SelectRange(1, 3, true);
    Press(WM_RBUTTONDOWN, 2);
    EXPECT_EQ(3, list.GetSelectedCount());
    Press(WM_RBUTTONDOWN, 0);
    EXPECT_EQ(1, list.GetSelectedCount());
    EXPECT_TRUE(list.IsItemSelected(0));
}

TEST_F(SListCtrlTest, ADoubleClickOnEmptySpaceSendsNothing)
{
    Make(0, 2);
    parent.Forget();
    Press(WM_LBUTTONDBLCLK, -1);
    EXPECT_EQ(0, parent.Count(SWM_LIST_DBLCLK));
    list.SetSelection(0);
    Press(WM_LBUTTONDBLCLK, 0);
    ReleaseCapture();
    EXPECT_EQ(1, parent.Count(SWM_LIST_DBLCLK));
}
