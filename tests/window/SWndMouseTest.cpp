#include <gtest/gtest.h>
#include <windowsx.h>
#include "TraceWnd.h"

namespace
{
class SWndMouseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(50, 50, 450, 350);
        ASSERT_TRUE(parent.Create("Mouse", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        RECT ra = MakeRect(10, 10, 110, 110), rb = MakeRect(200, 10, 300, 110);
        ASSERT_TRUE(a.CreateChild("", WS_VISIBLE, 0, &ra, parent.GetHandle()));
        ASSERT_TRUE(b.CreateChild("", WS_VISIBLE, 0, &rb, parent.GetHandle()));
    }

    TraceWnd parent, a, b;
};
} // namespace

TEST_F(SWndMouseTest, PressAndReleaseOnOneWindowIsAClickWithItsSignedPoint)
{
    a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    a.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-3, 7));
    ASSERT_EQ(1, a.Count(SWM_LCLICK));
    EXPECT_EQ(-3, GET_X_LPARAM(a.Last(SWM_LCLICK).lParam));
    EXPECT_EQ(7, GET_Y_LPARAM(a.Last(SWM_LCLICK).lParam));
    EXPECT_EQ(0u, a.Last(SWM_LCLICK).wParam);
}

TEST_F(SWndMouseTest, PressOnOneWindowAndReleaseOnAnotherIsNoClick)
{
    a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(0, b.Count(SWM_LCLICK));
    // The release elsewhere forgot the press: a later release on the first window is no click either.
    a.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(0, a.Count(SWM_LCLICK));
}

TEST_F(SWndMouseTest, MiddleAndRightButtonsClickOnTheirOwn)
{
    a.SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(1, 2));
    a.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON | MK_MBUTTON, MAKELPARAM(1, 2));
    a.SendMessage(WM_RBUTTONUP, MK_MBUTTON, MAKELPARAM(3, 4));
    a.SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(5, 6));
    EXPECT_EQ(1, a.Count(SWM_RCLICK));
    EXPECT_EQ(MAKELPARAM(3, 4), a.Last(SWM_RCLICK).lParam);
    EXPECT_EQ(1, a.Count(SWM_MCLICK));
    EXPECT_EQ(0, a.Count(SWM_LCLICK));
}

TEST_F(SWndMouseTest, MoveWithoutTheButtonForgetsThePress)
{
    a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    a.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
    a.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(1, a.Count(SWM_LCLICK));
    a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    a.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    a.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(1, a.Count(SWM_LCLICK));
}

TEST_F(SWndMouseTest, LossOfFocusForgetsEveryPress)
{
    a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    a.SendMessage(WM_NCRBUTTONDOWN, HTNOWHERE, MAKELPARAM(70, 70));
    b.SendMessage(WM_KILLFOCUS, 0, 0);
    a.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    a.SendMessage(WM_NCRBUTTONUP, HTNOWHERE, MAKELPARAM(70, 70));
    EXPECT_EQ(0, a.Count(SWM_LCLICK));
    EXPECT_EQ(0, a.Count(SWM_NCRCLICK));
}

TEST_F(SWndMouseTest, NonClientPressAndReleaseIsANonClientClick)
{
    a.SendMessage(WM_NCLBUTTONDOWN, HTNOWHERE, MAKELPARAM(300, 200));
    a.SendMessage(WM_NCLBUTTONUP, HTNOWHERE, MAKELPARAM(301, 202));
    ASSERT_EQ(1, a.Count(SWM_NCLCLICK));
    EXPECT_EQ(MAKELPARAM(301, 202), a.Last(SWM_NCLCLICK).lParam);
    a.SendMessage(WM_NCMBUTTONDOWN, HTNOWHERE, 0);
    b.SendMessage(WM_NCMBUTTONUP, HTNOWHERE, 0);
    EXPECT_EQ(0, b.Count(SWM_NCMCLICK));
}

TEST_F(SWndMouseTest, FirstMoveEntersAndLeaveIsReportedOnce)
{
    a.SendMessage(WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(8, 9));
    a.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 11));
    ASSERT_EQ(1, a.Count(SWM_MOUSEENTER));
    EXPECT_EQ(static_cast<WPARAM>(MK_SHIFT), a.Last(SWM_MOUSEENTER).wParam);
    EXPECT_EQ(MAKELPARAM(8, 9), a.Last(SWM_MOUSEENTER).lParam);
    a.SendMessage(WM_MOUSELEAVE, 0, 0);
    a.SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(1, a.Count(SWM_MOUSELEAVE));
    a.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 11));
    EXPECT_EQ(2, a.Count(SWM_MOUSEENTER));
}

TEST_F(SWndMouseTest, ClientDragMovesTheWindowWithTheCursor)
{
    parent.SetClientDrag(true);
    parent.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    ASSERT_EQ(1, parent.Count(SWM_DRAGQUERY));
    EXPECT_EQ(MAKELPARAM(10, 20), parent.Last(SWM_DRAGQUERY).lParam);
    EXPECT_EQ(parent.GetHandle(), GetCapture());
    ASSERT_TRUE(SetCursorPos(400, 300));
    parent.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 0));
    RECT r = {};
    parent.GetWindowRect(&r);
    EXPECT_EQ(390, r.left);
    EXPECT_EQ(280, r.top);
    parent.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    EXPECT_EQ(1, parent.Count(SWM_DRAGEND));
    EXPECT_NE(parent.GetHandle(), GetCapture());
}

TEST_F(SWndMouseTest, RefusedDragQueryLeavesTheWindowInPlace)
{
    parent.SetClientDrag(true);
    parent.answers[SWM_DRAGQUERY] = 1;
    parent.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    ASSERT_TRUE(SetCursorPos(400, 300));
    parent.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 0));
    RECT r = {};
    parent.GetWindowRect(&r);
    EXPECT_EQ(50, r.left);
    parent.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    EXPECT_EQ(0, parent.Count(SWM_DRAGEND));
    // The release on the same window is still a click.
    EXPECT_EQ(1, parent.Count(SWM_LCLICK));
}

namespace
{
// Keeps the non-client zone calls as "E", "M" or "L" with their index and point.
class NcZoneWnd : public TraceWnd
{
public:
    struct Call
    {
        char kind;
        bool hasZone;
        int x, y, index;
    };
    std::vector<Call> calls;

    void OnNcZoneEnter(const RECT* zone, int x, int y, int index) override
    {
        calls.push_back(Call{'E', zone != nullptr, x, y, index});
    }
    void OnNcZoneMove(const RECT* zone, int x, int y, int index) override
    {
        calls.push_back(Call{'M', zone != nullptr, x, y, index});
    }
    void OnNcZoneLeave(const RECT* zone, int x, int y, int index) override
    {
        calls.push_back(Call{'L', zone != nullptr, x, y, index});
    }
};
} // namespace

TEST(SWndNcZones, WithoutZonesTheWholeNonClientAreaEntersMovesAndLeaves)
{
    NcZoneWnd wnd;
    RECT r = MakeRect(40, 30, 240, 130);
    ASSERT_TRUE(wnd.Create("Zones", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    wnd.SendMessage(WM_NCMOUSEMOVE, HTNOWHERE, MAKELPARAM(45, 33));
    EXPECT_TRUE(wnd.calls.empty());
    wnd.EnableNcZones(true);
    wnd.SendMessage(WM_NCMOUSEMOVE, HTNOWHERE, MAKELPARAM(45, 33));
    wnd.SendMessage(WM_NCMOUSEMOVE, HTNOWHERE, MAKELPARAM(50, 37));
    ASSERT_TRUE(SetCursorPos(60, 35));
    wnd.SendMessage(WM_NCMOUSELEAVE, 0, 0);
    ASSERT_EQ(3u, wnd.calls.size());
    EXPECT_EQ('E', wnd.calls[0].kind);
    EXPECT_EQ(5, wnd.calls[0].x);
    EXPECT_EQ(3, wnd.calls[0].y);
    EXPECT_EQ('M', wnd.calls[1].kind);
    EXPECT_EQ(10, wnd.calls[1].x);
    EXPECT_EQ(7, wnd.calls[1].y);
    EXPECT_EQ('L', wnd.calls[2].kind);
    EXPECT_EQ(20, wnd.calls[2].x);
    EXPECT_EQ(5, wnd.calls[2].y);
    for (const NcZoneWnd::Call& call : wnd.calls)
    {
        EXPECT_FALSE(call.hasZone);
        EXPECT_EQ(-1, call.index);
    }
    // After the leave the next move enters again.
    wnd.SendMessage(WM_NCMOUSEMOVE, HTNOWHERE, MAKELPARAM(45, 33));
    ASSERT_EQ(4u, wnd.calls.size());
    EXPECT_EQ('E', wnd.calls[3].kind);
}
