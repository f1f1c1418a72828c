#include <gtest/gtest.h>
#include "SWnd.h"
#include <commctrl.h>

namespace
{
class SWndControlMessagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                       ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&init);
        RECT r = {20, 20, 420, 320};
        ASSERT_TRUE(parent.Create("Controls", WS_POPUP, 0, &r, nullptr));
    }

    bool Create(SWnd& control, const char* className, DWORD style, const char* text = "")
    {
        RECT r = {10, 10, 210, 110};
        return control.CreateSubclassed(className, text, WS_CHILD | WS_VISIBLE | style, 0, &r,
                                        parent.GetHandle(), 100);
    }

    SWnd parent;
};
} // namespace

TEST_F(SWndControlMessagesTest, EditSelectionToTheEndIsReplaced)
{
    SWnd edit;
    ASSERT_TRUE(Create(edit, "EDIT", ES_AUTOHSCROLL, "Hello world"));
    edit.EditSetSel(6, -1);
    edit.EditReplaceSel("there");
    EXPECT_STREQ("Hello there", edit.GetWindowText().GetText());
}

TEST_F(SWndControlMessagesTest, ScrollBarRangeAndPositionReadBack)
{
    SWnd bar;
    ASSERT_TRUE(Create(bar, "SCROLLBAR", SBS_HORZ));
    bar.ScrollBarSetRange(-5, 40, false);
    EXPECT_EQ(-5, bar.ScrollBarGetMin());
    EXPECT_EQ(40, bar.ScrollBarGetMax());
    bar.ScrollBarSetPos(17, true);
    EXPECT_EQ(17, bar.ScrollBarGetPos());
}

TEST_F(SWndControlMessagesTest, ProgressRangeAndPositionReadBack)
{
    SWnd progress;
    ASSERT_TRUE(Create(progress, PROGRESS_CLASSA, 0));
    progress.ProgressSetRange(10, 500);
    progress.ProgressSetPos(250);
    EXPECT_EQ(10, progress.ProgressGetLimit(true));
    EXPECT_EQ(500, progress.ProgressGetLimit(false));
    EXPECT_EQ(250, progress.ProgressGetPos());
}

TEST_F(SWndControlMessagesTest, CheckBoxStateReadsBack)
{
    SWnd check;
    ASSERT_TRUE(Create(check, "BUTTON", BS_CHECKBOX, "Check"));
    EXPECT_EQ(BST_UNCHECKED, check.ButtonGetCheck());
    check.ButtonSetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, check.ButtonGetCheck());
}

TEST_F(SWndControlMessagesTest, ToolBarTakesAButtonOfThisBuildsRecordSize)
{
    SWnd bar;
    ASSERT_TRUE(Create(bar, TOOLBARCLASSNAMEA, CCS_NORESIZE | TBSTYLE_FLAT));
    ASSERT_TRUE(bar.ToolBarAddButton(501, 0));
    ASSERT_TRUE(bar.ToolBarAddButton(502, 1));
    EXPECT_EQ(2, static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT)));
    TBBUTTON second = {};
    ASSERT_TRUE(bar.SendMessage(TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&second)));
    EXPECT_EQ(502, second.idCommand);
    EXPECT_EQ(1, second.iBitmap);
    EXPECT_GT(bar.ToolBarGetButtonHeight(), 0);
    EXPECT_TRUE(bar.ToolBarEnableButton(501, false));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, 501));
    EXPECT_TRUE(bar.ToolBarDeleteButton(0));
    EXPECT_EQ(1, static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT)));
}

TEST_F(SWndControlMessagesTest, TreeSelectionSiblingAndItemRect)
{
    SWnd tree;
    ASSERT_TRUE(Create(tree, WC_TREEVIEWA, TVS_HASLINES));
    char first[] = "First", second[] = "Second";
    TVINSERTSTRUCTA insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = first;
    HTREEITEM a = tree.TreeInsertItem(&insert);
    insert.item.pszText = second;
    HTREEITEM b = tree.TreeInsertItem(&insert);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(b, tree.TreeGetNextSibling(a));
    EXPECT_EQ(nullptr, tree.TreeGetNextSibling(b));
    tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
    EXPECT_EQ(b, tree.TreeGetSelection());
    RECT ra = {}, rb = {};
    ASSERT_TRUE(tree.TreeGetItemRect(a, &ra, true));
    ASSERT_TRUE(tree.TreeGetItemRect(b, &rb, true));
    EXPECT_GT(rb.top, ra.top);
}

TEST_F(SWndControlMessagesTest, TabCountsItsItems)
{
    SWnd tab;
    ASSERT_TRUE(Create(tab, WC_TABCONTROLA, 0));
    char text[] = "One";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    tab.SendMessage(TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    tab.SendMessage(TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(2, tab.TabGetItemCount());
    EXPECT_EQ(0, tab.TabGetCurSel());
}
