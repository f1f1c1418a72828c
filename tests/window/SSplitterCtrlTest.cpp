#include <gtest/gtest.h>
#include "SSplitterCtrl.h"
#include "TraceWnd.h"

namespace
{
const UINT FILTERED = WM_APP + 77;

class FilteringSplitter : public SSplitterCtrl
{
public:
    bool FilterPaneMessage(_SWnd* pane, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT* result) override
    {
        if (message != FILTERED)
            return true;
        *result = 1234;
        return false;
    }
};

class SSplitterCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(50, 50, 500, 400);
        ASSERT_TRUE(parent.Create("Splitter", WS_POPUP, 0, &r, nullptr));
        RECT inner = MakeRect(0, 0, 400, 300);
        ASSERT_TRUE(splitter.Create(WS_VISIBLE, 0, &inner, parent.GetHandle()));
        ASSERT_EQ(400, splitter.GetClientWidth());
    }

    SWnd parent;
    FilteringSplitter splitter;
};
} // namespace

TEST_F(SSplitterCtrlTest, TwoColumnsShareTheWidthLessOneBar)
{
    ASSERT_TRUE(splitter.SetGrid(2, 1));
    EXPECT_EQ(198, splitter.GetPaneSize(0));
    EXPECT_EQ(198, splitter.GetPaneSize(1));
    EXPECT_EQ(300, splitter.GetRowHeight(0));
    const RECT second = splitter.GetPaneRect(1, 0);
    EXPECT_EQ(202, second.left);
    EXPECT_EQ(400, second.right);
    const RECT placed = RectInParent(*splitter.GetPane(1, 0));
    EXPECT_EQ(202, placed.left);
    EXPECT_EQ(198, placed.right - placed.left);
}

TEST_F(SSplitterCtrlTest, EmptyGridIsRefusedAndTheOldOneKept)
{
    ASSERT_TRUE(splitter.SetGrid(2, 1));
    SSplitterCtrl::_SWnd* pane = splitter.GetPane(1, 0);
    EXPECT_FALSE(splitter.SetGrid(0, 3));
    EXPECT_FALSE(splitter.SetGrid(3, 0));
    EXPECT_EQ(2, splitter.GetColumnCount());
    EXPECT_EQ(1, splitter.GetRowCount());
    EXPECT_EQ(pane, splitter.GetPane(1, 0));
    EXPECT_NE(nullptr, pane->GetHandle());
}

TEST_F(SSplitterCtrlTest, PaneOutsideTheGridIsNull)
{
    ASSERT_TRUE(splitter.SetGrid(2, 2));
    const int outside[][2] = {{2, 0}, {0, 2}, {-1, 0}, {0, -1}, {5, 5}};
    for (const auto& at : outside)
        EXPECT_EQ(nullptr, splitter.GetPane(at[0], at[1])) << at[0] << "," << at[1];
    EXPECT_NE(nullptr, splitter.GetPane(1, 1));
}

TEST_F(SSplitterCtrlTest, ColumnWiderThanTheFreeWidthSqueezesTheOthers)
{
    ASSERT_TRUE(splitter.SetGrid(3, 1));  // free width 392
    splitter.SetColumnWidth(1, 500);
    EXPECT_EQ(500, splitter.GetPaneSize(1));
    EXPECT_EQ(0, splitter.GetPaneSize(0));
    EXPECT_EQ(0, splitter.GetPaneSize(2));
    splitter.SetPaneSize(1, 100);
    EXPECT_EQ(100, splitter.GetPaneSize(1));
    EXPECT_EQ(0, splitter.GetPaneSize(0));
    EXPECT_EQ(292, splitter.GetPaneSize(2));  // the last column takes what is left
}

TEST(SSplitterCtrlArithmetic, DragKeepsThePairsTotal)
{
    struct Case
    {
        int a, b, d, first, second;
    };
    const Case cases[] = {
        {100, 50, 60, 150, 0},  {100, 50, 50, 150, 0}, {100, 50, -101, 0, 150},
        {100, 50, -100, 0, 150}, {100, 50, 20, 120, 30}, {100, 50, -30, 70, 80},
        {0, 0, 5, 0, 0},
    };
    for (const Case& c : cases)
    {
        int first = -1, second = -1;
        SSplitterCtrl::DragSizes(c.a, c.b, c.d, first, second);
        EXPECT_EQ(c.first, first) << c.a << " " << c.b << " " << c.d;
        EXPECT_EQ(c.second, second) << c.a << " " << c.b << " " << c.d;
    }
}

TEST(SSplitterCtrlArithmetic, FitKeepsTheFixedEntryAndFillsTheLast)
{
    struct Case
    {
        int sizes[3];
        int fixed, freeSize;
        int expected[3];
    };
    const Case cases[] = {
        {{100, 100, 100}, -1, 400, {100, 100, 200}},
        {{300, 100, 100}, -1, 350, {300, 50, 0}},
        {{100, 500, 100}, 1, 392, {0, 500, 0}},
        {{-5, 10, 10}, -1, 20, {0, 10, 10}},
        {{10, 10, 50}, 2, 100, {10, 10, 80}},
    };
    for (const Case& c : cases)
    {
        SArray<int> sizes;
        for (int s : c.sizes)
            sizes.Add(s);
        SSplitterCtrl::FitSizes(sizes, c.fixed, c.freeSize);
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(c.expected[i], sizes.GetAt(i)) << "entry " << i << " of case fixed " << c.fixed;
    }
}

TEST_F(SSplitterCtrlTest, PaneFilterAnsweringFalseGivesItsResult)
{
    ASSERT_TRUE(splitter.SetGrid(1, 2));
    SSplitterCtrl::_SWnd* pane = splitter.GetPane(0, 1);
    EXPECT_EQ(&splitter, pane->GetOwner());
    EXPECT_EQ(1, pane->GetEntry());
    EXPECT_EQ(1234, pane->SendMessage(FILTERED));
    EXPECT_EQ(0, pane->SendMessage(FILTERED + 1));
}
