#include <gtest/gtest.h>
#include "STabCtrl.h"
#include "TraceWnd.h"
#include <commctrl.h>

namespace
{
// Records whether the page of tab 2 was visible when SWM_TAB_SELCHANGE arrived.
class TabParent : public TraceWnd
{
public:
    SWnd* watched = nullptr;
    int visibleAtNotice = -1;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_TAB_SELCHANGE && watched)
            visibleAtNotice = watched->IsVisible() ? 1 : 0;
        return TraceWnd::WindowProc(message, wParam, lParam);
    }
};

class STabCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(40, 40, 440, 340);
        ASSERT_TRUE(parent.Create("Tabs", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        RECT t = MakeRect(0, 0, 400, 300);
        ASSERT_TRUE(tab.Create(WS_VISIBLE, 0, &t, parent.GetHandle(), 7));
        for (const char* text : {"One", "Two", "Three"})
            tab.InsertTab(text);
        ASSERT_EQ(3, tab.GetItemCount());
        for (SWnd* page : {&first, &second})
        {
            RECT p = MakeRect(10, 30, 200, 200);
            ASSERT_TRUE(page->CreateChild("", WS_VISIBLE, 0, &p, parent.GetHandle()));
        }
    }

    TabParent parent;
    STabCtrl tab;
    SWnd first, second;
};
} // namespace

TEST_F(STabCtrlTest, PageOnTabsZeroAndTwoShowsOnlyThere)
{
    EXPECT_TRUE(tab.AttachPage(0, &first));
    EXPECT_TRUE(tab.AttachPage(2, &first));
    EXPECT_FALSE(tab.AttachPage(0, &first));
    EXPECT_FALSE(tab.AttachPage(2, &first));
    EXPECT_FALSE(tab.AttachPage(3, &first));
    EXPECT_FALSE(tab.AttachPage(-1, &first));
    EXPECT_FALSE(tab.AttachPage(1, nullptr));
    const int expected[] = {1, 0, 1};
    for (int t = 0; t < 3; t++)
    {
        tab.SetSelection(t);
        EXPECT_EQ(t, tab.GetCurSel());
        EXPECT_EQ(expected[t] == 1, first.IsVisible()) << "tab " << t;
    }
}

TEST_F(STabCtrlTest, InsertingATabKeepsTheCurrentPagesShown)
{
    ASSERT_TRUE(tab.AttachPage(1, &first));
    ASSERT_TRUE(tab.AttachPage(2, &second));
    tab.SetSelection(1);
    EXPECT_EQ(3, tab.InsertTab("Four"));
    EXPECT_EQ(1, tab.GetCurSel());
    EXPECT_TRUE(first.IsVisible());
    EXPECT_FALSE(second.IsVisible());
}

TEST_F(STabCtrlTest, SelChangeShowsThePagesBeforeTheParentHears)
{
    ASSERT_TRUE(tab.AttachPage(0, &first));
    ASSERT_TRUE(tab.AttachPage(2, &second));
    tab.SetSelection(0);
    ASSERT_FALSE(second.IsVisible());
    parent.watched = &second;
    // The control changed its selection as a click would, then tells its parent.
    tab.SendMessage(TCM_SETCURSEL, 2);
    NMHDR header = {tab.GetHandle(), 7, static_cast<UINT>(TCN_SELCHANGE)};
    parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header));
    ASSERT_EQ(1, parent.Count(SWM_TAB_SELCHANGE));
    EXPECT_EQ(1, parent.visibleAtNotice);
    EXPECT_EQ(reinterpret_cast<WPARAM>(&tab), parent.Last(SWM_TAB_SELCHANGE).wParam);
    EXPECT_EQ(2, parent.Last(SWM_TAB_SELCHANGE).lParam);
    EXPECT_FALSE(first.IsVisible());
}
