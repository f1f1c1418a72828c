#include <gtest/gtest.h>
#include "TraceWnd.h"

namespace
{
class SWndScrollTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(0, 0, 300, 200);
        ASSERT_TRUE(wnd.Create("Scroll", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, &r, nullptr));
        wnd.SetScrollRange(true, 0, 100, -1, false);
        wnd.SetScrollSteps(true, 1, 10, 10);
        wnd.Forget();
    }

    void Scroll(int request, int thumb = 0, UINT message = WM_VSCROLL)
    {
        wnd.SendMessage(message, MAKEWPARAM(request, thumb), 0);
    }

    TraceWnd wnd;
};

WPARAM Positions(int oldPosition, int newPosition)
{
    return static_cast<WPARAM>((oldPosition & 0xFFFF) | ((newPosition & 0xFFFF) << 16));
}
} // namespace

TEST_F(SWndScrollTest, LineDownBelowTheSnapStepDoesNotMove)
{
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(0, wnd.GetVScrollPos());
    EXPECT_EQ(0, wnd.Count(SWM_VSCROLLED));
}

TEST_F(SWndScrollTest, PageDownMovesByThePageAndReportsOldAndNew)
{
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(10, wnd.GetVScrollPos());
    ASSERT_EQ(1, wnd.Count(SWM_VSCROLLED));
    EXPECT_EQ(Positions(0, 10), wnd.Last(SWM_VSCROLLED).wParam);
    Scroll(SB_PAGEUP);
    EXPECT_EQ(0, wnd.GetVScrollPos());
    EXPECT_EQ(Positions(10, 0), wnd.Last(SWM_VSCROLLED).wParam);
}

TEST_F(SWndScrollTest, ThumbIsSnappedDownAndClampedToTheRange)
{
    Scroll(SB_THUMBTRACK, 47);
    EXPECT_EQ(40, wnd.GetVScrollPos());
    Scroll(SB_THUMBPOSITION, 250);
    EXPECT_EQ(100, wnd.GetVScrollPos());
    wnd.SetScrollRange(true, 20, 100, -1, false);
    Scroll(SB_THUMBTRACK, 5);
    EXPECT_EQ(20, wnd.GetVScrollPos());
}

TEST_F(SWndScrollTest, TopAndBottomGoToTheEndsOfTheRange)
{
    Scroll(SB_BOTTOM);
    EXPECT_EQ(100, wnd.GetVScrollPos());
    Scroll(SB_TOP);
    EXPECT_EQ(0, wnd.GetVScrollPos());
    EXPECT_EQ(2, wnd.Count(SWM_VSCROLLED));
}

TEST_F(SWndScrollTest, EndScrollSnapsAPositionSetFromOutside)
{
    SetScrollPos(wnd.GetHandle(), SB_VERT, 57, FALSE);
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(50, wnd.GetVScrollPos());
    EXPECT_EQ(Positions(57, 50), wnd.Last(SWM_VSCROLLED).wParam);
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(1, wnd.Count(SWM_VSCROLLED));
}

TEST_F(SWndScrollTest, SnapStepZeroMeansNoSnapping)
{
    wnd.SetScrollSteps(true, 3, 7, 0);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(3, wnd.GetVScrollPos());
    EXPECT_EQ(7, wnd.GetPageStep(true));
    EXPECT_EQ(3, wnd.GetScrollStep(true));
    EXPECT_EQ(3, wnd.SetVScrollPos(9, false));
    EXPECT_EQ(9, wnd.GetVScrollPos());
}

TEST_F(SWndScrollTest, ThumbBeyondSixteenBitsIsReadWhole)
{
    wnd.SetScrollRange(true, 0, 200000, -1, false);
    wnd.SetScrollSteps(true, 1, 10, 1);
    SetScrollPos(wnd.GetHandle(), SB_VERT, 70000, FALSE);
    // The message carries only the low 16 bits of the thumb at 70000.
    Scroll(SB_THUMBPOSITION, 70000 & 0xFFFF);
    EXPECT_EQ(70000, wnd.GetVScrollPos());
    EXPECT_EQ(0, wnd.Count(SWM_VSCROLLED));
    // Old and new positions in the report are cut to 16 bits.
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(70010, wnd.GetVScrollPos());
    EXPECT_EQ(Positions(70000, 70010), wnd.Last(SWM_VSCROLLED).wParam);
    // A thumb that is not the bar's track position is taken as it comes.
    Scroll(SB_THUMBTRACK, 5000);
    EXPECT_EQ(5000, wnd.GetVScrollPos());
}

TEST_F(SWndScrollTest, HorizontalBarUsesItsOwnSteps)
{
    wnd.SetScrollRange(false, 0, 50, -1, false);
    wnd.SetScrollSteps(false, 4, 20, 2);
    Scroll(SB_LINEDOWN, 0, WM_HSCROLL);
    EXPECT_EQ(4, wnd.GetHScrollPos());
    EXPECT_EQ(Positions(0, 4), wnd.Last(SWM_HSCROLLED).wParam);
    EXPECT_EQ(0, wnd.Count(SWM_VSCROLLED));
    EXPECT_EQ(0, wnd.GetVScrollPos());
}

TEST_F(SWndScrollTest, PageOperationsSnapAndReturnThePreviousPosition)
{
    EXPECT_EQ(0, wnd.ScrollPageForward(true));
    EXPECT_EQ(10, wnd.ScrollPageForward(true));
    EXPECT_EQ(20, wnd.GetVScrollPos());
    EXPECT_EQ(20, wnd.ScrollPageBackward(true));
    EXPECT_EQ(10, wnd.GetVScrollPos());
    EXPECT_EQ(10, wnd.SetVScrollPos(38, true));
    EXPECT_EQ(30, wnd.GetVScrollPos());
    EXPECT_EQ(0, wnd.GetScrollMin(true));
    EXPECT_EQ(100, wnd.GetScrollMax(true));
}

TEST_F(SWndScrollTest, ScrollBarControlIsMovedAndReported)
{
    SWnd bar;
    bar.SetTypeId(STYPE_SCROLL);
    RECT r = MakeRect(0, 0, 20, 150);
    ASSERT_TRUE(bar.CreateSubclassed("SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, &r,
                                     wnd.GetHandle()));
    bar.SendMessage(SBM_SETRANGE, 0, 50);
    wnd.SendMessage(WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar.GetHandle()));
    EXPECT_EQ(10, bar.SendMessage(SBM_GETPOS));
    ASSERT_EQ(1, wnd.Count(SWM_SCROLL_CHANGED));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&bar), wnd.Last(SWM_SCROLL_CHANGED).wParam);
    // The window's own bar did not move.
    EXPECT_EQ(0, wnd.GetVScrollPos());
    wnd.SendMessage(WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar.GetHandle()));
    EXPECT_EQ(10, bar.SendMessage(SBM_GETPOS));
    EXPECT_EQ(1, wnd.Count(SWM_SCROLL_CHANGED));
}

TEST_F(SWndScrollTest, EveryScrollOfASliderIsReported)
{
    SWnd slider;
    slider.SetTypeId(STYPE_SLIDER);
    RECT r = MakeRect(0, 0, 150, 30);
    ASSERT_TRUE(slider.CreateChild("", WS_VISIBLE, 0, &r, wnd.GetHandle()));
    wnd.SendMessage(WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(slider.GetHandle()));
    wnd.SendMessage(WM_HSCROLL, SB_ENDSCROLL, reinterpret_cast<LPARAM>(slider.GetHandle()));
    ASSERT_EQ(2, wnd.Count(SWM_SLIDER_CHANGED));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&slider), wnd.Last(SWM_SLIDER_CHANGED).wParam);
    EXPECT_EQ(0, wnd.Count(SWM_HSCROLLED));
}
