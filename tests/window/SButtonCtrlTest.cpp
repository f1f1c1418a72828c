#include <gtest/gtest.h>
#include "SButtonCtrl.h"
#include "SCheckCtrl.h"
#include "SGroupCtrl.h"
#include "SRadioCtrl.h"
#include "TraceWnd.h"

namespace
{
// Keeps the codes of the mouse relays it receives (the record lives only during the call).
class RelayWnd : public TraceWnd
{
public:
    UINT relayMessage = 0;
    std::vector<int> codes;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == relayMessage && lParam)
            codes.push_back(reinterpret_cast<SMouseNotify*>(lParam)->code);
        return TraceWnd::WindowProc(message, wParam, lParam);
    }
};

class SButtonCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(20, 20, 420, 320);
        ASSERT_TRUE(parent.Create("Buttons", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    }
    RECT NextRect()
    {
        RECT r = MakeRect(10, 10 + 30 * placed, 200, 34 + 30 * placed);
        placed++;
        return r;
    }
    RelayWnd parent;
    int placed = 0;
};
} // namespace

TEST_F(SButtonCtrlTest, EachControlCarriesItsTypeId)
{
    SButtonCtrl button;
    SCheckCtrl check;
    SRadioCtrl radio;
    SGroupCtrl group;
    const struct { SWnd* control; int type; } cases[] = {
        {&button, 2}, {&check, 4}, {&radio, 29}, {&group, 12}};
    for (const auto& c : cases)
        EXPECT_EQ(c.type, c.control->GetType());
}

TEST_F(SButtonCtrlTest, EveryMouseActionIsRelayedWithItsCode)
{
    SGroupCtrl group;
    RECT r = NextRect();
    ASSERT_TRUE(group.Create("Group", WS_VISIBLE, 0, &r, parent.GetHandle()));
    parent.relayMessage = SWM_GROUP_MOUSE;
    const struct { UINT message; int code; } cases[] = {
        {WM_LBUTTONDOWN, 9},    {WM_LBUTTONUP, 17},   {WM_LBUTTONDBLCLK, 65},
        {WM_RBUTTONDOWN, 12},   {WM_RBUTTONUP, 20},   {WM_RBUTTONDBLCLK, 68},
        {WM_MBUTTONDOWN, 10},   {WM_MBUTTONUP, 18},   {WM_MBUTTONDBLCLK, 66},
        {SWM_LCLICK, 33},       {SWM_MCLICK, 34},     {SWM_RCLICK, 36}};
    for (const auto& c : cases)
    {
        parent.codes.clear();
        group.SendMessage(c.message, 0, MAKELPARAM(5, 6));
        // An up after a down on the control also makes the click event, relayed first.
        ASSERT_FALSE(parent.codes.empty()) << c.message;
        EXPECT_EQ(c.code, parent.codes.back()) << c.message;
    }
    ReleaseCapture();
}

TEST_F(SButtonCtrlTest, AControlWithoutParentRelaysNothing)
{
    SButtonCtrl button;
    RECT r = MakeRect(0, 0, 80, 24);
    ASSERT_TRUE(button.Create("Alone", WS_POPUP, 0, &r, nullptr));
    parent.relayMessage = SWM_BUTTON_MOUSE;
    button.SendMessage(WM_LBUTTONDOWN, 0, 0);
    button.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(parent.codes.empty());
}

TEST_F(SButtonCtrlTest, ManyColourChangesKeepOneBrushAndTransparentGivesTheNullBrush)
{
    SButtonCtrl button;
    RECT r = NextRect();
    ASSERT_TRUE(button.Create("Colours", WS_VISIBLE, 0, &r, parent.GetHandle()));
    HDC dc = button.GetDC();
    HBRUSH previous = nullptr;
    for (int i = 0; i < 50; i++)
    {
        button.SetBackgroundColor(RGB(i, 2 * i, 3 * i));
        HBRUSH brush = button.OnCtlColorBtn(dc);
        ASSERT_NE(nullptr, brush);
        if (previous && previous != brush)
        {
            EXPECT_EQ(0u, GetObjectType(previous)) << i;
        }
        previous = brush;
    }
    button.SetBackgroundColor(SWnd::COLOR_TRANSPARENT);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), button.OnCtlColorBtn(dc));
    EXPECT_EQ(0u, GetObjectType(previous));
    button.SetBackgroundColor(SWnd::COLOR_NONE);
    EXPECT_EQ(nullptr, button.OnCtlColorBtn(dc));
    button.ReleaseDC(dc);
}

TEST_F(SButtonCtrlTest, TransparentGroupSwitchesTheContextAndSetsItsTextColour)
{
    SGroupCtrl group;
    RECT r = NextRect();
    ASSERT_TRUE(group.Create("Group", WS_VISIBLE, 0, &r, parent.GetHandle()));
    group.SetTextColor(0xFF102030);
    group.SetBackgroundColor(SWnd::COLOR_TRANSPARENT);
    HDC dc = group.GetDC();
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), group.OnCtlColorStatic(dc));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), GetTextColor(dc));
    group.ReleaseDC(dc);
}

TEST_F(SButtonCtrlTest, ClickingAnIndeterminateCheckBoxUnchecksIt)
{
    SCheckCtrl check;
    RECT r = NextRect();
    ASSERT_TRUE(check.Create("Check", WS_VISIBLE, 0, &r, parent.GetHandle(), 7));
    // Only a three-state box can show the indeterminate state; it still never changes itself.
    check.SendMessage(BM_SETSTYLE, BS_3STATE, 0);
    const struct { int before, after; } cases[] = {{BST_INDETERMINATE, 0}, {BST_CHECKED, 0}, {0, 1}};
    for (const auto& c : cases)
    {
        check.SetCheck(c.before);
        parent.Forget();
        check.SendMessage(BM_CLICK);
        EXPECT_EQ(c.after, check.GetCheck()) << c.before;
        EXPECT_EQ(1, parent.Count(SWM_CHECK_CLICKED));
    }
}

TEST_F(SButtonCtrlTest, SelectingARadioUnchecksOnlyItsGroup)
{
    SRadioCtrl radios[5];
    const int groups[5] = {3, 3, 5, -1, 3};
    for (int i = 0; i < 5; i++)
    {
        RECT r = NextRect();
        ASSERT_TRUE(radios[i].Create("Radio", WS_VISIBLE, 0, &r, parent.GetHandle(), 10 + i));
        radios[i].SetGroup(groups[i]);
        radios[i].ButtonSetCheck(BST_CHECKED);
    }
    radios[0].SendMessage(BM_CLICK);
    EXPECT_EQ(1, parent.Count(SWM_RADIO_CLICKED));
    const int afterGroup3[5] = {1, 0, 1, 1, 0};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(afterGroup3[i], radios[i].ButtonGetCheck()) << i;
    radios[1].ButtonSetCheck(BST_CHECKED);
    radios[3].Select();
    const int afterNoGroup[5] = {1, 1, 1, 1, 0};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(afterNoGroup[i], radios[i].ButtonGetCheck()) << i;
}
