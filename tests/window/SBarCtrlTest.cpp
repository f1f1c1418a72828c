#include <gtest/gtest.h>
#include "SControlBarCtrl.h"
#include "SMenu.h"
#include "SStatusBarCtrl.h"
#include "SToolBarCtrl.h"
#include "TraceWnd.h"
#include <commctrl.h>

namespace
{
// Counts the auto-size requests that reach the tool bar.
class CountingToolBar : public SToolBarCtrl
{
public:
    int autoSizes = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TB_AUTOSIZE)
            autoSizes++;
        return SToolBarCtrl::WindowProc(message, wParam, lParam);
    }
};

// Steps run from a thread timer while the drop-down menus are open: the menu
// loop dispatches it. Each tick records the open-menu button.
struct MenuSlide
{
    static SToolBarCtrl* bar;
    static std::vector<int> seen;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        const int open = bar->GetOpenMenuButton();
        seen.push_back(open);
        if (seen.size() == 1)
            bar->SwitchToButton(1);
        else
            EndMenu();  // closes the second menu (or any menu left open)
    }
};
SToolBarCtrl* MenuSlide::bar = nullptr;
std::vector<int> MenuSlide::seen;

class SBarCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(30, 30, 430, 330);
        ASSERT_TRUE(parent.Create("Bars", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        ASSERT_EQ(400, parent.GetClientWidth());
    }

    std::vector<int> ReadEdges(const SStatusBarCtrl& bar)
    {
        std::vector<int> edges(bar.GetPartCount());
        bar.StatusBarGetParts(static_cast<int>(edges.size()), edges.data());
        return edges;
    }

    TraceWnd parent;
};
} // namespace

TEST_F(SBarCtrlTest, EqualPartsFollowTheParentsWidth)
{
    SStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    EXPECT_FALSE(bar.SetEqualParts(0));
    EXPECT_FALSE(bar.SetEqualParts(100000));  // more parts than a bar holds
    ASSERT_TRUE(bar.SetEqualParts(4));
    EXPECT_EQ((std::vector<int>{100, 200, 300, -1}), ReadEdges(bar));
    ASSERT_TRUE(bar.SetEqualParts(3));
    EXPECT_EQ((std::vector<int>{133, 266, -1}), ReadEdges(bar));
}

TEST_F(SBarCtrlTest, PartEdgeOutsideThePartsChangesNothing)
{
    SStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    ASSERT_TRUE(bar.SetEqualParts(3));
    EXPECT_FALSE(bar.SetPartEdge(3, 50));
    EXPECT_FALSE(bar.SetPartEdge(-1, 50));
    EXPECT_EQ((std::vector<int>{133, 266, -1}), ReadEdges(bar));
    EXPECT_TRUE(bar.SetPartEdge(1, 300));
    EXPECT_EQ((std::vector<int>{133, 300, -1}), ReadEdges(bar));
    EXPECT_TRUE(bar.SetText(2, "Ready"));
}

TEST_F(SBarCtrlTest, ToolBarInAControlBarNeverAutoSizes)
{
    SControlBarCtrl rebar;
    ASSERT_TRUE(rebar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    CountingToolBar inBand, alone;
    RECT r = MakeRect(0, 0, 200, 30);
    ASSERT_TRUE(inBand.Create(WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, &r, rebar.GetHandle()));
    ASSERT_TRUE(alone.Create(WS_VISIBLE, 0, &r, parent.GetHandle()));
    ASSERT_TRUE(rebar.InsertBand(&inBand, -1, 100, 30));
    EXPECT_EQ(1, rebar.GetBandCount());
    for (CountingToolBar* bar : {&inBand, &alone})
    {
        bar->SetAutoSize(true);
        bar->autoSizes = 0;
        bar->SendMessage(SWM_PARENTSIZED);
    }
    EXPECT_EQ(0, inBand.autoSizes);
    EXPECT_EQ(1, alone.autoSizes);
}

TEST_F(SBarCtrlTest, ToolBarCommandReachesTheControlBarsParent)
{
    SControlBarCtrl rebar;
    ASSERT_TRUE(rebar.Create(WS_VISIBLE, 0, parent.GetHandle()));
    SToolBarCtrl bar;
    RECT r = MakeRect(0, 0, 200, 30);
    ASSERT_TRUE(bar.Create(WS_VISIBLE | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, &r,
                           rebar.GetHandle()));
    ASSERT_TRUE(bar.AddButton(301, 0, nullptr, BTNS_BUTTON, TBSTATE_ENABLED));
    ASSERT_TRUE(rebar.InsertBand(&bar, -1, 100, 30, 200, false, "Tools"));
    RECT button = {};
    ASSERT_TRUE(bar.SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button)));
    const LPARAM point = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    bar.SendMessage(WM_LBUTTONUP, 0, point);
    ASSERT_EQ(1, parent.Count(SWM_TOOLBAR_COMMAND));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&bar), parent.Last(SWM_TOOLBAR_COMMAND).wParam);
    EXPECT_EQ(301, parent.Last(SWM_TOOLBAR_COMMAND).lParam);
}

TEST_F(SBarCtrlTest, FlatStyleAfterCreationAndButtonsById)
{
    SToolBarCtrl bar;
    RECT r = MakeRect(0, 0, 300, 30);
    ASSERT_TRUE(bar.Create(WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, 0, &r, parent.GetHandle()));
    EXPECT_TRUE(bar.GetStyle() & TBSTYLE_FLAT);
    EXPECT_TRUE(bar.GetStyle() & CCS_NODIVIDER);
    ASSERT_TRUE(bar.AddButton(11, 0, "Play", BTNS_CHECK, TBSTATE_ENABLED));
    ASSERT_TRUE(bar.AddSeparator());
    ASSERT_TRUE(bar.AddButton(12, 1, "Stop", BTNS_BUTTON, TBSTATE_ENABLED));
    EXPECT_EQ(3, bar.GetButtonCount());
    EXPECT_TRUE(bar.CheckButton(11, true));
    EXPECT_TRUE(bar.IsButtonChecked(11));
    EXPECT_FALSE(bar.IsButtonChecked(12));
    EXPECT_TRUE(bar.EnableButton(12, false));
    EXPECT_FALSE(bar.IsButtonEnabled(12));
    EXPECT_TRUE(bar.IsButtonEnabled(11));
    bar.SetTransparent(true);
    EXPECT_TRUE(bar.IsTransparent());
    bar.RemoveAllButtons();
    EXPECT_EQ(0, bar.GetButtonCount());
}

TEST_F(SBarCtrlTest, SlidingOntoTheNextButtonOpensItsMenu)
{
    SToolBarCtrl bar;
    RECT r = MakeRect(0, 0, 300, 30);
    ASSERT_TRUE(bar.Create(WS_VISIBLE | TBSTYLE_FLAT, 0, &r, parent.GetHandle()));
    ASSERT_TRUE(bar.AddButton(21, 0, "File", BTNS_DROPDOWN, TBSTATE_ENABLED));
    ASSERT_TRUE(bar.AddButton(22, 1, "Edit", BTNS_DROPDOWN, TBSTATE_ENABLED));
    SMenu first, second;
    for (SMenu* menu : {&first, &second})
    {
        ASSERT_TRUE(menu->Create(parent.GetHandle()));
        ASSERT_TRUE(menu->InsertItem(100, "Item"));
    }
    bar.SetDropDownMenu(0, &first);
    bar.SetDropDownMenu(1, &second);
    EXPECT_EQ(&second, bar.GetDropDownMenu(1));
    EXPECT_EQ(nullptr, bar.GetDropDownMenu(2));
    EXPECT_FALSE(bar.OpenDropDownMenu(2));
    SetCursorPos(1250, 1000);  // away from the bar: only the test switches
    MenuSlide::bar = &bar;
    MenuSlide::seen.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, MenuSlide::Tick);
    EXPECT_TRUE(bar.OpenDropDownMenu(0));
    KillTimer(nullptr, timer);
    EXPECT_EQ((std::vector<int>{0, 1}), MenuSlide::seen);
    EXPECT_EQ(-1, bar.GetOpenMenuButton());
}
