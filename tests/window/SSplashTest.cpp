#include <gtest/gtest.h>
#include "SPlatform.h"
#include <mmsystem.h>
#include "SSplash.h"

namespace
{
// Runs the thread's messages until the splash is gone or a minute has passed.
DWORD PumpUntilClosed(const SSplash& splash)
{
    const DWORD start = timeGetTime();
    while (splash.IsShown() && timeGetTime() - start < 60000)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    return timeGetTime() - start;
}

class SSplashTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(picture.Create(40, 30));
        picture.Clear(RGB(0, 128, 255));
    }
    SImage picture;
    SSplash splash;
};
} // namespace

TEST_F(SSplashTest, PictureCentresTheWindowAndAPointMovesIt)
{
    EXPECT_FALSE(splash.Show());
    EXPECT_FALSE(splash.SetImage(nullptr));
    ASSERT_TRUE(splash.SetImage(&picture));
    const RECT& r = splash.GetRect();
    EXPECT_EQ(GetScreenWidth() / 2 - 20, r.left);
    EXPECT_EQ(GetScreenHeight() / 2 - 15, r.top);
    EXPECT_EQ(40, r.right - r.left);
    EXPECT_EQ(30, r.bottom - r.top);

    const POINT at = {10, 20};
    ASSERT_TRUE(splash.Show(nullptr, &at));
    EXPECT_TRUE(splash.IsShown());
    EXPECT_FALSE(splash.Show());
    SWnd* window = splash.GetWindow();
    RECT shown = {};
    ASSERT_TRUE(window->GetWindowRect(&shown));
    EXPECT_EQ(10, shown.left);
    EXPECT_EQ(20, shown.top);
    EXPECT_EQ(50, shown.right);
    EXPECT_EQ(50, shown.bottom);
    EXPECT_TRUE(window->IsVisible());
    EXPECT_EQ(static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED),
              window->GetExStyle() & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED));
    splash.Close();
    EXPECT_FALSE(splash.IsShown());
}

TEST_F(SSplashTest, ClosesAtTheFirstTickAfterItsDuration)
{
    ASSERT_TRUE(splash.SetImage(&picture));
    splash.SetDuration(300);
    const DWORD shownAt = timeGetTime();
    ASSERT_TRUE(splash.Show());
    PumpUntilClosed(splash);
    EXPECT_FALSE(splash.IsShown());
    EXPECT_GE(timeGetTime() - shownAt, 300u);
    // A closed splash shows again.
    splash.SetDuration(100);
    ASSERT_TRUE(splash.Show());
    PumpUntilClosed(splash);
    EXPECT_FALSE(splash.IsShown());
}

TEST_F(SSplashTest, WithoutDurationOnlyAClickClosesIt)
{
    ASSERT_TRUE(splash.SetImage(&picture));
    const struct
    {
        bool closeOnClick;
        UINT message;
        bool closes;
    } cases[] = {{false, WM_LBUTTONDOWN, false}, {true, WM_MOUSEMOVE, false},
                 {true, WM_RBUTTONDOWN, true}, {true, WM_MBUTTONDOWN, true},
                 {true, WM_LBUTTONDOWN, true}, {true, WM_KILLFOCUS, true}};
    for (const auto& c : cases)
    {
        splash.SetCloseOnClick(c.closeOnClick);
        ASSERT_TRUE(splash.Show());
        splash.GetWindow()->SendMessage(c.message, 0, 0);
        EXPECT_EQ(!c.closes, splash.IsShown()) << c.message;
        splash.Close();
    }
}
