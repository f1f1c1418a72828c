#include <gtest/gtest.h>
#include "TraceWnd.h"

namespace
{
const DWORD FRAMED = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

RECT WindowRectOf(const SWnd& wnd)
{
    RECT r = {};
    wnd.GetWindowRect(&r);
    return r;
}
} // namespace

TEST(SWndGeometry, FrameSizesMeasuredAgreeWithThoseOfTheStyle)
{
    SWnd wnd;
    RECT r = MakeRect(50, 50, 450, 350);
    ASSERT_TRUE(wnd.Create("Framed", FRAMED | WS_VSCROLL, 0, &r, nullptr));
    int left, top, right, bottom, sl, st, sr, sb;
    ASSERT_TRUE(wnd.GetFrameSizes(left, top, right, bottom));
    ASSERT_TRUE(wnd.GetFrameSizesForStyle(sl, st, sr, sb));
    EXPECT_EQ(sl, left);
    EXPECT_EQ(st, top);
    EXPECT_EQ(sr, right);
    EXPECT_EQ(sb, bottom);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), sr - sl);
    EXPECT_GT(st, sb);
}

TEST(SWndGeometry, LeftScrollBarWidensTheLeftFrame)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.Create("Left", WS_POPUP | WS_VSCROLL, WS_EX_LEFTSCROLLBAR, nullptr, nullptr));
    int left, top, right, bottom;
    ASSERT_TRUE(wnd.GetFrameSizesForStyle(left, top, right, bottom));
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), left);
    EXPECT_EQ(0, right);
    EXPECT_EQ(0, top);
}

TEST(SWndGeometry, SetClientSizeGivesExactlyThatClientArea)
{
    SWnd wnd;
    RECT r = MakeRect(50, 50, 150, 150);
    ASSERT_TRUE(wnd.Create("Client", FRAMED, 0, &r, nullptr));
    ASSERT_TRUE(wnd.SetClientSize(321, 123));
    EXPECT_EQ(321, wnd.GetClientWidth());
    EXPECT_EQ(123, wnd.GetClientHeight());
    EXPECT_EQ(50, WindowRectOf(wnd).left);
    SWnd none;
    EXPECT_FALSE(none.SetClientSize(10, 10));
    EXPECT_EQ(0, none.GetClientSize().cx);
    EXPECT_EQ(0, none.GetWindowSize().cy);
}

TEST(SWndGeometry, RectanglesConvertBetweenClientAndScreen)
{
    SWnd wnd;
    RECT r = MakeRect(100, 80, 300, 280);
    ASSERT_TRUE(wnd.Create("Convert", WS_POPUP, 0, &r, nullptr));
    RECT c = MakeRect(1, 2, 3, 4);
    ASSERT_TRUE(wnd.ClientToScreenRect(&c));
    EXPECT_EQ(101, c.left);
    EXPECT_EQ(84, c.bottom);
    ASSERT_TRUE(wnd.ScreenToClientRect(&c));
    EXPECT_EQ(1, c.left);
    EXPECT_EQ(4, c.bottom);
    SWnd none;
    RECT unchanged = MakeRect(1, 2, 3, 4);
    EXPECT_FALSE(none.ClientToScreenRect(&unchanged));
    EXPECT_EQ(1, unchanged.left);
}

TEST(SWndGeometry, CentringUsesTheWorkAreaOrTheParent)
{
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SWnd top;
    RECT r = MakeRect(0, 0, 200, 101);
    ASSERT_TRUE(top.Create("Top", WS_POPUP, 0, &r, nullptr));
    ASSERT_TRUE(top.CenterWindow(true));
    EXPECT_EQ((work.left + work.right) / 2 - 100, WindowRectOf(top).left);
    EXPECT_EQ((work.top + work.bottom) / 2 - 50, WindowRectOf(top).top);

    SWnd parent, child;
    RECT p = MakeRect(100, 100, 400, 300);
    ASSERT_TRUE(parent.Create("Parent", WS_POPUP, 0, &p, nullptr));
    RECT c = MakeRect(0, 0, 50, 40);
    ASSERT_TRUE(child.CreateChild("", 0, 0, &c, parent.GetHandle()));
    ASSERT_TRUE(child.CenterWindow(true));
    EXPECT_EQ(125, RectInParent(child).left);
    EXPECT_EQ(80, RectInParent(child).top);
    // Larger than its reference: the position goes negative.
    child.MoveWindow(0, 0, 500, 300, false);
    ASSERT_TRUE(child.CenterWindow(true));
    EXPECT_EQ(-100, RectInParent(child).left);
    EXPECT_EQ(-50, RectInParent(child).top);
}

TEST(SWndGeometry, ClientRectWithoutBarsLeavesOutControlAndStatusBars)
{
    SWnd wnd, bar, status, plain;
    RECT r = MakeRect(0, 0, 400, 300);
    ASSERT_TRUE(wnd.Create("Bars", WS_POPUP, 0, &r, nullptr));
    bar.SetTypeId(STYPE_CONTROLBAR);
    status.SetTypeId(STYPE_STATUSBAR);
    RECT b = MakeRect(0, 0, 400, 32), s = MakeRect(0, 278, 400, 300), p = MakeRect(0, 0, 400, 60);
    ASSERT_TRUE(bar.CreateChild("", 0, 0, &b, wnd.GetHandle()));
    ASSERT_TRUE(status.CreateChild("", 0, 0, &s, wnd.GetHandle()));
    ASSERT_TRUE(plain.CreateChild("", 0, 0, &p, wnd.GetHandle()));
    RECT client = {};
    ASSERT_TRUE(wnd.GetClientRectWithoutBars(&client));
    EXPECT_EQ(32, client.top);
    EXPECT_EQ(278, client.bottom);
    EXPECT_EQ(0, client.left);
    EXPECT_EQ(400, client.right);
}

TEST(SWndGeometry, TrackSizesAreWrittenUnlessNegative)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.Create("Track", FRAMED, 0, nullptr, nullptr));
    wnd.SetMinTrackSize(200, -1);
    wnd.SetMaxTrackSize(-1, 500);
    MINMAXINFO info = {};
    info.ptMinTrackSize = {1, 2};
    info.ptMaxTrackSize = {3, 4};
    wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(200, info.ptMinTrackSize.x);
    EXPECT_EQ(2, info.ptMinTrackSize.y);
    EXPECT_EQ(3, info.ptMaxTrackSize.x);
    EXPECT_EQ(500, info.ptMaxTrackSize.y);
}

TEST(SWndGeometry, SizeStatesAreReportedOncePerChange)
{
    TraceWnd wnd;
    ASSERT_TRUE(wnd.Create("States", WS_POPUP, 0, nullptr, nullptr));
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(0, wnd.Count(SWM_RESTORED));
    wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, 0);
    EXPECT_EQ(1, wnd.Count(SWM_MAXIMIZED));
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, 0);
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(1, wnd.Count(SWM_RESTORED));
    wnd.SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(1, wnd.Count(SWM_MINIMIZED));
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(2, wnd.Count(SWM_RESTORED));
}

TEST(SWndGeometry, CaretFollowsTheFocusAndIsParkedWhenHidden)
{
    SWnd wnd, other;
    RECT r = MakeRect(0, 0, 200, 100);
    ASSERT_TRUE(wnd.Create("Caret", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    RECT c = MakeRect(0, 0, 20, 20);
    ASSERT_TRUE(other.CreateChild("", WS_VISIBLE, 0, &c, wnd.GetHandle()));
    wnd.SetForegroundWindow();
    wnd.SetFocus();
    ASSERT_TRUE(wnd.HasFocus());
    ASSERT_TRUE(wnd.CreateCaret(16, 2, 10, 20, true));
    POINT at = {};
    GetCaretPos(&at);
    EXPECT_EQ(10, at.x);
    EXPECT_EQ(20, at.y);
    ASSERT_TRUE(wnd.ShowCaret(false));
    GetCaretPos(&at);
    EXPECT_EQ(-182, at.x);
    EXPECT_TRUE(wnd.SetCaretPos(30, 40));
    GetCaretPos(&at);
    EXPECT_EQ(-182, at.y);
    ASSERT_TRUE(wnd.ShowCaret(true));
    GetCaretPos(&at);
    EXPECT_EQ(30, at.x);
    // Away and back: the caret is made again where it was.
    other.SetFocus();
    other.CreateCaret(10, 1, 3, 3, true);
    EXPECT_TRUE(other.DestroyCaret());
    wnd.SetFocus();
    GetCaretPos(&at);
    EXPECT_EQ(30, at.x);
    EXPECT_EQ(40, at.y);
    EXPECT_TRUE(wnd.DestroyCaret());
    EXPECT_FALSE(wnd.DestroyCaret());
    EXPECT_FALSE(wnd.ShowCaret(true));
}

TEST(SWndGeometry, CaretMadeWithoutFocusLeavesAnotherWindowsCaretAlone)
{
    SWnd wnd, other;
    RECT r = MakeRect(0, 0, 200, 100);
    ASSERT_TRUE(wnd.Create("Caret", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    RECT c = MakeRect(0, 0, 20, 20);
    ASSERT_TRUE(other.CreateChild("", WS_VISIBLE, 0, &c, wnd.GetHandle()));
    wnd.SetForegroundWindow();
    other.SetFocus();
    ASSERT_TRUE(other.CreateCaret(10, 1, 5, 6, true));
    ASSERT_TRUE(wnd.CreateCaret(16, 2, 10, 20, true));
    EXPECT_TRUE(wnd.DestroyCaret());
    POINT at = {};
    ASSERT_TRUE(GetCaretPos(&at));
    EXPECT_EQ(5, at.x);
    EXPECT_EQ(6, at.y);
}

TEST(SWndGeometry, OwnCursorAnswersSetCursor)
{
    TraceWnd wnd;
    ASSERT_TRUE(wnd.Create("Cursor", WS_POPUP, 0, nullptr, nullptr));
    HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    wnd.SetCursor(cross);
    EXPECT_EQ(1, wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.GetHandle()),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(cross, GetCursor());
    EXPECT_EQ(0, wnd.Count(WM_SETCURSOR));
    wnd.SetCursor(nullptr);
    wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.GetHandle()),
                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(1, wnd.Count(WM_SETCURSOR));
}

TEST(SWndGeometry, BringToFrontShowsAHiddenWindowOnlyWhenForced)
{
    SWnd wnd;
    RECT r = MakeRect(0, 0, 100, 100);
    ASSERT_TRUE(wnd.Create("Front", WS_POPUP, 0, &r, nullptr));
    wnd.BringToFront(false);
    EXPECT_FALSE(wnd.IsVisible());
    wnd.BringToFront(true);
    EXPECT_TRUE(wnd.IsVisible());
    EXPECT_EQ(0u, wnd.GetExStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(wnd.GetHandle(), GetForegroundWindow());
}
