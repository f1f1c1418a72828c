#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "STrayIcon.h"
#include "TraceWnd.h"

namespace
{
// Keeps the codes of the tray's mouse relay: the record lives only during the call.
class TrayOwner : public TraceWnd
{
public:
    std::vector<int> codes;
    STrayIcon* sender = nullptr;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_TRAY_MOUSE)
        {
            sender = reinterpret_cast<STrayIcon*>(wParam);
            codes.push_back(reinterpret_cast<const SMouseNotify*>(lParam)->code);
        }
        return TraceWnd::WindowProc(message, wParam, lParam);
    }
};

class STrayIconTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(0, 0, 200, 100);
        ASSERT_TRUE(owner.Create("Tray owner", WS_POPUP, 0, &r, nullptr));
    }
    TrayOwner owner;
    STrayIcon tray;
};
} // namespace

TEST_F(STrayIconTest, AddsWithItsOwnHiddenWindow)
{
    EXPECT_EQ(STYPE_TRAYICON, tray.GetType());
    ASSERT_TRUE(tray.Create(LoadIcon(nullptr, IDI_APPLICATION), "Sonavel", owner.GetHandle()));
    EXPECT_TRUE(tray.IsShown());
    EXPECT_TRUE(tray.IsAdded());
    EXPECT_FALSE(tray.IsVisible());
    EXPECT_EQ(owner.GetHandle(), GetWindow(tray.GetHandle(), GW_OWNER));
    EXPECT_STREQ("Sonavel", tray.GetTip());
    ASSERT_TRUE(tray.Add(LoadIcon(nullptr, IDI_INFORMATION), "Again", owner.GetHandle()));
    EXPECT_STREQ("Again", tray.GetTip());
    tray.DestroyWindow();
    EXPECT_FALSE(tray.IsShown());
}

TEST_F(STrayIconTest, MouseMessagesReachTheOwnerWithClicksAfterButtonUps)
{
    ASSERT_TRUE(tray.Add(LoadIcon(nullptr, IDI_APPLICATION), "Sonavel", owner.GetHandle()));
    const struct
    {
        std::vector<UINT> messages;
        std::vector<int> codes;
    } cases[] = {
        {{WM_RBUTTONDOWN, WM_RBUTTONUP}, {12, 20, 36}},
        {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}, {9, 17, 33, 65}},
        {{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}, {10, 18, 34, 66}},
        {{WM_RBUTTONDBLCLK, WM_MOUSEMOVE}, {68}},
    };
    for (const auto& c : cases)
    {
        owner.codes.clear();
        for (UINT m : c.messages)
            EXPECT_EQ(1, tray.SendMessage(SWM_TRAYNOTIFY, 100, m));
        EXPECT_EQ(c.codes, owner.codes) << c.messages.front();
    }
    EXPECT_EQ(&tray, owner.sender);
}

TEST_F(STrayIconTest, LongTooltipsAreCutToTheRecordsRoom)
{
    const std::string longTip(300, 'k');
    ASSERT_TRUE(tray.Add(LoadIcon(nullptr, IDI_APPLICATION), longTip.c_str(), owner.GetHandle()));
    EXPECT_EQ(std::string(127, 'k'), tray.GetTip());

    const std::string newTip = std::string(200, 'n');
    EXPECT_TRUE(tray.SetWindowText(newTip.c_str()));
    EXPECT_EQ(std::string(127, 'n'), tray.GetTip());
    EXPECT_TRUE(tray.SetWindowText("Playing"));
    EXPECT_STREQ("Playing", tray.GetTip());
}
