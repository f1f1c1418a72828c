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

namespace
{
std::vector<COLORREF> PaintedPixels(SMediaCtrl& view)
{
    SWindowDCGuard screen(nullptr);
    SMemoryDCGuard memory(screen.Get());
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 200, 100));
    SSelectGuard select(memory.Get(), bitmap.Get());
    view.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 100; y++)
        for (int x = 0; x < 200; x++)
            pixels.push_back(GetPixel(memory.Get(), x, y));
    return pixels;
}
} // namespace

TEST(SMediaCtrlPlainScrollTest, PlainTextAtOffsetZeroPaintsAlikeStillOrScrolling)
{
    // Text too long and too tall for the view, laid out by GDI+ itself.
    const struct
    {
        double speedX, speedY;
    } axes[] = {{-50, 0}, {0, -50}};
    for (const auto& axis : axes)
    {
        now = 1000;
        MediaParentWnd parent;
        SMediaCtrl view;
        RECT r = {40, 40, 440, 340}, child = {10, 10, 210, 110};
        ASSERT_TRUE(parent.Create("Plain", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        view.SetClock(&FakeClock);
        view.SetTags(false);
        view.SetTrimming(false);
        std::string text;
        for (int i = 0; i < 12; i++)
            text += "Wide lines of plain text cut by the margin\r\n";
        ASSERT_TRUE(view.CreateChild(text.c_str(), WS_VISIBLE, 0, &child, parent.GetHandle()));
        view.SetAlignment(0);
        view.SetMargins(3, 5, 17, 9);
        view.SetTextColor(0);
        const std::vector<COLORREF> still = PaintedPixels(view);
        const POINT start = {0, 0};
        view.SetAutoScroll(axis.speedX, axis.speedY, true, &start);
        ASSERT_TRUE(view.IsAutoScrolling());
        const std::vector<COLORREF> scrolling = PaintedPixels(view);
        int differing = 0;
        for (size_t i = 0; i < still.size(); i++)
            differing += still[i] != scrolling[i];
        EXPECT_EQ(0, differing) << axis.speedX << " " << axis.speedY;
    }
}
