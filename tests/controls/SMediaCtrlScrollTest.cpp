#include "MediaTestWindows.h"

namespace
{
DWORD now = 0;
DWORD WINAPI FakeClock() { return now; }

class SMediaCtrlScrollTest : public MediaViewTest
{
protected:
    // Three lines of 20 pixels in a 200 x 100 view with margins 1, 4, 1, 2.
    void SetUp() override
    {
        now = 1000;
        view.SetClock(&FakeClock);
        CreateView("a\r\nb\r\nc");
        view.SetMargins(1, 4, 1, 2);
    }
    void Step(DWORD elapsed)
    {
        now += elapsed;
        view.SendMessage(WM_TIMER, SMediaCtrl::MARQUEE_TIMER, 0);
    }
};
} // namespace

TEST_F(SMediaCtrlScrollTest, LoopingVerticalMarqueeEntersFromBelowAndStartsAgain)
{
    ASSERT_EQ(60, view.GetContentHeight());
    view.SetAutoScroll(0, -1000, true);
    ASSERT_TRUE(view.IsAutoScrolling());
    const struct
    {
        DWORD elapsed;
        int offset;
    } steps[] = {
        {0, 94},  // client height - bottom margin - top margin
        {50, 44},
        {100, -56},
        {1, 98}, // the last line has left at the top: from below again
        {1, 97},
    };
    for (const auto& step : steps)
    {
        Step(step.elapsed);
        EXPECT_EQ(step.offset, view.GetScrollOffsetY()) << step.elapsed;
        EXPECT_EQ(0, view.GetScrollOffsetX());
    }
}

TEST_F(SMediaCtrlScrollTest, MarqueeSurvivesAWrapOfTheClock)
{
    now = 0xFFFFFFF0;
    view.SetAutoScroll(-1000, 0, true);
    EXPECT_EQ(198, view.GetScrollOffsetX());
    Step(0x20);
    EXPECT_EQ(166, view.GetScrollOffsetX());
}

TEST_F(SMediaCtrlScrollTest, StopNewTextAndFittingContentEndTheMarquee)
{
    view.SetAutoScroll(-50, 0, true);
    Step(100);
    EXPECT_EQ(193, view.GetScrollOffsetX());
    EXPECT_TRUE(view.IsScrollingX());
    view.SetAutoScroll(0, 0);
    EXPECT_FALSE(view.IsAutoScrolling());
    EXPECT_EQ(0, view.GetScrollOffsetX());

    POINT start = {0, -10};
    view.SetAutoScroll(0, -30, true, &start);
    EXPECT_EQ(-10, view.GetScrollOffsetY());
    view.SetWindowText("new");
    EXPECT_FALSE(view.IsAutoScrolling());
    EXPECT_EQ(0, view.GetScrollOffsetY());

    // The content fits: nothing scrolls unless forced.
    view.SetAutoScroll(-30, -30);
    EXPECT_FALSE(view.IsAutoScrolling());
    view.SetWindowText("1\r\n2\r\n3\r\n4\r\n5");
    view.SetAutoScroll(-30, -30);
    EXPECT_TRUE(view.IsScrollingY());
    EXPECT_FALSE(view.IsScrollingX());
}

namespace
{
class PlainView : public SMediaCtrl
{
public:
    using SMediaCtrl::GetPlainTextRect;
};
} // namespace

TEST(SMediaCtrlPlainScrollTest, ScrollingPlainTextIsDrawnInABoxAsLargeAsItsContent)
{
    now = 1000;
    MediaParentWnd parent;
    PlainView view;
    FixedMeasurer measurer;
    RECT r = {40, 40, 440, 340}, child = {10, 10, 210, 110};
    ASSERT_TRUE(parent.Create("Plain", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    view.SetClock(&FakeClock);
    view.SetMeasurer(&measurer);
    ASSERT_TRUE(view.CreateChild("abcdefghijklmnopqrstuvwxyz", WS_VISIBLE, 0, &child, parent.GetHandle()));
    ASSERT_EQ(261, view.GetContentWidth());
    RECT box = view.GetPlainTextRect();
    EXPECT_EQ(1, box.left);
    EXPECT_EQ(199, box.right);
    view.SetAutoScroll(-50, 0);
    box = view.GetPlainTextRect();
    EXPECT_EQ(199, box.left);
    EXPECT_EQ(199 + 261, box.right);
    EXPECT_EQ(99, box.bottom);
}

TEST(SMediaCtrlPlainScrollTest, ScrollingPlainTextStaysOutOfTheMargin)
{
    now = 1000;
    MediaParentWnd parent;
    SMediaCtrl view;
    FixedMeasurer measurer;
    RECT r = {40, 40, 440, 340}, child = {10, 10, 210, 110};
    ASSERT_TRUE(parent.Create("Plain", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    view.SetClock(&FakeClock);
    view.SetMeasurer(&measurer);
    view.SetTags(false);
    ASSERT_TRUE(view.CreateChild(std::string(40, 'W').c_str(), WS_VISIBLE, 0, &child, parent.GetHandle()));
    view.SetAlignment(0);
    view.SetMargins(0, 0, 30, 0);
    view.SetTextColor(0);
    view.SetAutoScroll(-50, 0);
    now += 2000;
    view.SendMessage(WM_TIMER, SMediaCtrl::MARQUEE_TIMER, 0);
    ASSERT_EQ(70, view.GetScrollOffsetX());

    SWindowDCGuard screen(nullptr);
    SMemoryDCGuard memory(screen.Get());
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 200, 100));
    SSelectGuard select(memory.Get(), bitmap.Get());
    view.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    const COLORREF background = GetPixel(memory.Get(), 199, 99);
    int inside = 0, margin = 0;
    for (int y = 0; y < 30; y++)
        for (int x = 60; x < 200; x++)
            if (GetPixel(memory.Get(), x, y) != background)
                (x < 170 ? inside : margin)++;
    EXPECT_GT(inside, 0);
    EXPECT_EQ(0, margin);
}
