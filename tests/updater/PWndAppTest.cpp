// The updater's window in this process: its layout, and the progress bar that
// moves only with a known total.
#include <gtest/gtest.h>
#include "PWndApp.h"
#include <commctrl.h>

TEST(UpdaterWindowTest, LayoutAndProgressThatNeverDividesByAMissingTotal)
{
    PWndApp app;
    ASSERT_TRUE(app.Create("", WS_CAPTION | WS_SYSMENU, WS_EX_TOPMOST, nullptr, nullptr));
    char title[64] = {};
    GetWindowTextA(app.GetHandle(), title, sizeof(title));
    EXPECT_STREQ("KLV Sonavel Update", title);
    RECT client = {};
    GetClientRect(app.GetHandle(), &client);
    EXPECT_EQ(300, client.right);
    EXPECT_EQ(340, client.bottom);
    EXPECT_TRUE(app.GetBackgroundImage().IsLoaded());
    HWND bar = FindWindowExA(app.GetHandle(), nullptr, PROGRESS_CLASSA, nullptr);
    ASSERT_NE(nullptr, bar);
    RECT rect = {};
    GetWindowRect(bar, &rect);
    MapWindowPoints(nullptr, app.GetHandle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(10, rect.left);
    EXPECT_EQ(300, rect.top);
    EXPECT_EQ(290, rect.right);
    EXPECT_EQ(325, rect.bottom);
    EXPECT_EQ(1000, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));

    PWndApp::_PNetwork network(&app);
    const struct
    {
        int total, done, position;
    } cases[] = {{2000, 1000, 500}, {-1, 1500, 500}, {0, 0, 500}, {3000, 3000, 1000}, {7, 1, 142}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(SNetwork::ProgressContinue, network.OnProgress(c.total, c.done)) << c.total;
        EXPECT_EQ(c.position, SendMessageA(bar, PBM_GETPOS, 0, 0)) << c.total << " " << c.done;
    }
    // The update runs only from the timer, which never fires here.
    app.DestroyWindow();
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
    {
    }
}
