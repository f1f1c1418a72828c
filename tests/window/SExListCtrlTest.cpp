#include <gtest/gtest.h>
#include "SExListCtrl.h"
#include "TraceWnd.h"

namespace
{
// A list view that refuses every deletion.
class RefusingList : public SExListCtrl
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == LVM_DELETEITEM)
            return FALSE;
        return SExListCtrl::WindowProc(message, wParam, lParam);
    }
};

class SExListCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(20, 20, 420, 320);
        ASSERT_TRUE(parent.Create("List views", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    }
    void Fill(SExListCtrl& list, DWORD style, int items)
    {
        RECT r = MakeRect(10, 10, 390, 290);
        ASSERT_TRUE(list.Create(WS_VISIBLE | style, 0, &r, parent.GetHandle()));
        for (int i = 0; i < items; i++)
        {
            char text[8];
            wsprintfA(text, "item%d", i);
            ASSERT_EQ(i, list.InsertItem(text));
        }
    }
    // The texts of the items left, and the selected ones.
    static std::string Describe(const SExListCtrl& list)
    {
        std::string text;
        for (int i = 0; i < list.GetItemCount(); i++)
            text += std::string(list.GetItemText(i).GetText()) +
                    (list.SendMessage(LVM_GETITEMSTATE, i, LVIS_SELECTED) ? "* " : " ");
        return text;
    }
    TraceWnd parent;
};
} // namespace

TEST_F(SExListCtrlTest, AColumnPastTheLastIsAppendedAndAnIconViewHasNone)
{
    SExListCtrl list;
    Fill(list, LVS_REPORT, 0);
    EXPECT_EQ(STYPE_EXLIST, list.GetType());
    EXPECT_NE(0u, list.GetStyle() & LVS_SHAREIMAGELISTS);
    EXPECT_EQ(0, list.InsertColumn("A", 50));
    EXPECT_EQ(1, list.InsertColumn("B", 50));
    EXPECT_EQ(2, list.InsertColumn("C", 50, 99));
    EXPECT_EQ(3, list.GetColumnCount());
    SExListCtrl icons;
    Fill(icons, LVS_ICON, 0);
    icons.InsertColumn("A", 50);
    EXPECT_EQ(0, icons.GetColumnCount());
}

TEST_F(SExListCtrlTest, ALongItemTextReadsBackWhole)
{
    SExListCtrl list;
    Fill(list, LVS_REPORT, 1);
    list.InsertColumn("A", 50);
    list.InsertColumn("B", 50);
    for (int length : {510, 511, 512, 2000, 9000})
    {
        const std::string text(length, 'x');
        ASSERT_TRUE(list.SetItemText(0, text.c_str(), 1));
        EXPECT_EQ(length, list.GetItemText(0, 1).GetLength()) << length;
    }
    EXPECT_STREQ("", list.GetItemText(5).GetText());
}

TEST_F(SExListCtrlTest, SetSelectionOutsideTheItemsClearsIt)
{
    SExListCtrl list;
    Fill(list, LVS_REPORT, 3);
    for (int outside : {3, -1})
    {
        list.SetSelection(1);
        EXPECT_EQ(1, list.GetFirstSelected());
        list.SetSelection(outside);
        EXPECT_EQ(0, list.GetSelectedCount()) << outside;
    }
}

TEST_F(SExListCtrlTest, DeletingTheSelectedItemsSelectsTheItemThatTookTheFirstPlace)
{
    const struct { int first, last; bool reselect; int deleted; const char* left; } cases[] = {
        {2, 3, true, 2, "item0 item1 item4* "},
        {3, 4, true, 2, "item0 item1 item2 "},
        {2, 3, false, 2, "item0 item1 item4 "},
    };
    for (const auto& c : cases)
    {
        SExListCtrl list;
        Fill(list, LVS_REPORT, 5);
        list.SetSelection(c.first);
        LVITEMA state = {};
        state.state = state.stateMask = LVIS_SELECTED;
        list.SendMessage(LVM_SETITEMSTATE, c.last, reinterpret_cast<LPARAM>(&state));
        SArray<int> selected;
        EXPECT_EQ(2, list.GetSelectedItems(&selected));
        EXPECT_EQ(c.deleted, list.DeleteSelectedItems(c.reselect));
        EXPECT_EQ(c.left, Describe(list)) << c.first;
    }
}

TEST_F(SExListCtrlTest, DeletingStopsAtTheFirstRefusal)
{
    RefusingList list;
    Fill(list, LVS_REPORT, 3);
    list.SetSelection(1);
    EXPECT_EQ(0, list.DeleteSelectedItems(true));
    EXPECT_EQ(3, list.GetItemCount());
}
