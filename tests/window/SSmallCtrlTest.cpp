#include <gtest/gtest.h>
#include "SLabelCtrl.h"
#include "SProgressCtrl.h"
#include "SScrollCtrl.h"
#include "SSliderCtrl.h"
#include "SStaticCtrl.h"
#include "TraceWnd.h"
#include <commctrl.h>

namespace
{
class CountingLabel : public SLabelCtrl
{
public:
    int paints = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ERASEBKGND && lParam)
            paints++;
        return SLabelCtrl::WindowProc(message, wParam, lParam);
    }
};

class SSmallCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(60, 60, 460, 360);
        ASSERT_TRUE(parent.Create("Small", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    }

    RECT Area() const { return MakeRect(10, 10, 210, 40); }

    TraceWnd parent;
};
} // namespace

TEST_F(SSmallCtrlTest, SliderRangePositionAndMoveNotice)
{
    SSliderCtrl slider;
    RECT r = Area();
    ASSERT_TRUE(slider.Create(WS_VISIBLE | TBS_HORZ, 0, &r, parent.GetHandle(), 5));
    EXPECT_EQ(STYPE_SLIDER, slider.GetType());
    slider.SetRange(-10, 90, true);
    slider.SetPos(40, true);
    EXPECT_EQ(-10, slider.GetMin());
    EXPECT_EQ(90, slider.GetMax());
    EXPECT_EQ(40, slider.GetPos());
    slider.SetFocus();
    slider.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(41, slider.GetPos());
    ASSERT_GE(parent.Count(SWM_SLIDER_CHANGED), 1);
    EXPECT_EQ(reinterpret_cast<WPARAM>(&slider), parent.Last(SWM_SLIDER_CHANGED).wParam);
}

TEST_F(SSmallCtrlTest, ScrollRangePositionAndMoveNotice)
{
    SScrollCtrl bar;
    RECT r = Area();
    ASSERT_TRUE(bar.Create(WS_VISIBLE | SBS_HORZ, 0, &r, parent.GetHandle(), 6));
    bar.SetRange(0, 50, false);
    EXPECT_EQ(0, bar.GetMin());
    EXPECT_EQ(50, bar.GetMax());
    bar.SetPos(20, true);
    EXPECT_EQ(20, bar.GetPos());
    parent.SendMessage(WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar.GetHandle()));
    EXPECT_EQ(21, bar.GetPos());
    ASSERT_EQ(1, parent.Count(SWM_SCROLL_CHANGED));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&bar), parent.Last(SWM_SCROLL_CHANGED).wParam);
    // A transparent bar asks for the null brush and a transparent context.
    bar.SetBackgroundColor(SWnd::COLOR_TRANSPARENT);
    HDC dc = GetDC(bar.GetHandle());
    EXPECT_EQ(GetStockObject(NULL_BRUSH), reinterpret_cast<HGDIOBJ>(bar.OnCtlColorScrollBar(dc)));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    ReleaseDC(bar.GetHandle(), dc);
}

TEST_F(SSmallCtrlTest, ProgressRunsFromZeroToAHundredByDefault)
{
    SProgressCtrl progress;
    RECT r = Area();
    ASSERT_TRUE(progress.Create(WS_VISIBLE, 0, &r, parent.GetHandle()));
    EXPECT_EQ(0, progress.GetMin());
    EXPECT_EQ(100, progress.GetMax());
    progress.SetRange(5, 500);
    progress.SetPos(250);
    EXPECT_EQ(500, progress.GetMax());
    EXPECT_EQ(250, progress.GetPos());
}

TEST_F(SSmallCtrlTest, StaticKeepsOnlyKnownEdges)
{
    SStaticCtrl frame;
    RECT r = Area();
    ASSERT_TRUE(frame.Create(WS_VISIBLE, 0, &r, parent.GetHandle()));
    EXPECT_EQ(SS_OWNERDRAW, static_cast<int>(frame.GetStyle() & SS_TYPEMASK));
    const int cases[][2] = {{1, 1}, {2, 2}, {3, 0}, {4, 4}, {5, 5}, {6, 6}, {7, 0},
                            {8, 8}, {9, 9}, {10, 10}, {11, 0}, {-1, 0}};
    for (const auto& c : cases)
    {
        frame.SetEdge(c[0]);
        EXPECT_EQ(c[1], frame.GetEdge()) << c[0];
    }
}

TEST_F(SSmallCtrlTest, LabelKeepsOneFlagPerDirection)
{
    SLabelCtrl label;
    RECT r = Area();
    ASSERT_TRUE(label.Create("Label", WS_VISIBLE, 0, &r, parent.GetHandle()));
    EXPECT_EQ(16, label.GetAlignment());
    const int cases[][2] = {{7, 4}, {48, 32}, {3, 2}, {17, 17}, {0, 0}, {52, 36}};
    for (const auto& c : cases)
    {
        label.SetAlignment(c[0]);
        EXPECT_EQ(c[1], label.GetAlignment()) << c[0];
    }
    label.SetAlignment(4 | 32);
    label.SetHorizontalAlignment(1);
    EXPECT_EQ(1 | 32, label.GetAlignment());
    label.SetVerticalAlignment(16);
    EXPECT_EQ(1 | 16, label.GetAlignment());
    EXPECT_EQ(1, label.GetHorizontalAlignment());
    EXPECT_EQ(16, label.GetVerticalAlignment());
}

TEST_F(SSmallCtrlTest, LabelRedrawsAtOnceAfterItsTextChanges)
{
    CountingLabel label;
    RECT r = Area();
    ASSERT_TRUE(label.Create("Before", WS_VISIBLE, 0, &r, parent.GetHandle()));
    PumpPendingMessages();
    label.paints = 0;
    ASSERT_TRUE(label.SetWindowText("After"));
    EXPECT_GE(label.paints, 1);
    label.paints = 0;
    label.SetVertical(true);
    EXPECT_GE(label.paints, 1);
}
