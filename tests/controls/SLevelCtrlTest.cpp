#include <gtest/gtest.h>
#include "../window/ImageCanvas.h"
#include "SLevelCtrl.h"

namespace
{
DWORD g_now = 0;
DWORD WINAPI FakeClock()
{
    return g_now;
}

const COLORREF BACK = RGB(0, 0, 80), LOW = RGB(0, 200, 0), HIGH = RGB(250, 0, 0);

// A 100 x 30 meter painted into a 32-bit memory bitmap.
class SLevelCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_now = 1000;
        RECT r = {0, 0, 300, 100}, child = {0, 0, 100, 30};
        ASSERT_TRUE(parent.Create("Level", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        meter.SetClock(&FakeClock);
        ASSERT_TRUE(meter.CreateChildUntitled(WS_VISIBLE, 0, &child, parent.GetHandle()));
        meter.SetColors(BACK, LOW, HIGH);
    }
    void PaintAt(DWORD now)
    {
        g_now = now;
        meter.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
        GdiFlush();
    }
    COLORREF Pixel(int x, int y) { return canvas.At(x, y); }

    SWnd parent;
    SLevelCtrl meter;
    ImageCanvas canvas{100, 30};
};
} // namespace

TEST(SLevelCtrlCellTest, TheRemainderGoesToTheFirstCells)
{
    struct Case
    {
        int extent, count, index, start, size;
    };
    const Case cases[] = {{10, 3, 0, 0, 4}, {10, 3, 1, 4, 3}, {10, 3, 2, 7, 3}, {9, 3, 2, 6, 3},
                          {2, 3, 2, 2, 0},  {7, 1, 0, 0, 7},  {5, 0, 0, 0, 0}};
    for (const Case& c : cases)
    {
        int start = -1, size = -1;
        SLevelCtrl::GetCellSpan(c.extent, c.count, c.index, start, size);
        EXPECT_EQ(c.start, start) << c.extent << "/" << c.count << " #" << c.index;
        EXPECT_EQ(c.size, size) << c.extent << "/" << c.count << " #" << c.index;
    }
}

TEST(SLevelCtrlValueTest, ChannelsOutsideTheCountAreLeftAlone)
{
    SLevelCtrl meter;
    EXPECT_EQ(STYPE_LEVEL, meter.GetType());
    EXPECT_FALSE(meter.IsVertical());
    EXPECT_TRUE(meter.IsPeakHold());
    meter.SetChannelCount(0);
    EXPECT_EQ(1, meter.GetChannelCount());
    meter.SetChannelCount(2);
    meter.SetValue(500, 5, true);
    meter.SetValue(500, 2, true);
    EXPECT_EQ(0, meter.GetValue(0));
    EXPECT_EQ(0, meter.GetValue(1));
    meter.SetValue(300, -1, false);
    EXPECT_EQ(300, meter.GetValue(1));
    EXPECT_EQ(0, meter.GetValue(2));
    meter.SetVertical(true);
    meter.SetTicks(true);
    EXPECT_TRUE(meter.IsVertical());
    EXPECT_TRUE(meter.HasTicks());
}

TEST_F(SLevelCtrlTest, TheLevelFallsTwoUnitsAMillisecondAndThePeakIsHeld)
{
    meter.SetValue(800, 0, false);
    meter.SetValue(300, 0, false);
    EXPECT_EQ(800, meter.GetHeldPeak(0));
    struct Step
    {
        DWORD now;
        double level;
        int peak;
    };
    const Step steps[] = {{1000, 800, 800}, {1100, 600, 800}, {1250, 300, 800}, {1400, 300, 800},
                          {1500, 300, 800}, {1501, 300, -1}};
    for (const Step& s : steps)
    {
        PaintAt(s.now);
        EXPECT_DOUBLE_EQ(s.level, meter.GetDisplayedLevel(0)) << s.now;
        EXPECT_EQ(s.peak, meter.GetHeldPeak(0)) << s.now;
    }
    // A higher value jumps up at once.
    meter.SetValue(900, 0, false);
    EXPECT_DOUBLE_EQ(900, meter.GetDisplayedLevel(0));
}

TEST_F(SLevelCtrlTest, RowsLightFromTheLeftAndAnEmptyRangeLightsNothing)
{
    meter.SetChannelCount(2);
    meter.SetValue(1000, 0, false);
    meter.SetValue(500, 1, false);
    PaintAt(1000);
    // Rows of 15 pixels: the first lit, the second half lit; a separator row at y 14.
    struct Probe
    {
        int x, y;
        COLORREF color;
    };
    const Probe rows[] = {{2, 2, LOW}, {2, 20, LOW}, {60, 20, BACK}, {49, 20, LOW}, {99, 20, BACK}, {2, 14, BACK}};
    for (const Probe& p : rows)
        EXPECT_EQ(p.color, Pixel(p.x, p.y)) << p.x << "," << p.y;
    // Peak lines at the value (x 50 in the second row) in the low colour.
    EXPECT_EQ(LOW, Pixel(50, 20));

    meter.SetVertical(true);
    PaintAt(1000);
    const Probe columns[] = {{10, 28, LOW}, {10, 20, LOW}, {70, 28, LOW}, {70, 5, BACK}, {49, 28, BACK}};
    for (const Probe& p : columns)
        EXPECT_EQ(p.color, Pixel(p.x, p.y)) << "columns " << p.x << "," << p.y;

    meter.SetRange(5, 5, false);
    meter.SetValue(5, -1, false);
    PaintAt(1010);
    for (const Probe& p : columns)
        EXPECT_EQ(BACK, Pixel(p.x, p.y)) << "empty range " << p.x << "," << p.y;
}
