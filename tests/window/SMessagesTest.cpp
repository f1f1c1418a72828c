#include <gtest/gtest.h>
#include "SControlTypeId.h"
#include "SMessages.h"
#include "SMouseNotify.h"
#include "SWnd.h"

TEST(SMessagesNumbers, BandsStartWhereProgramsExpectThem)
{
    EXPECT_EQ(33768u, SWM_CREATED);
    EXPECT_EQ(33770u, SWM_MODALSTART);
    EXPECT_EQ(33780u, SWM_LCLICK);
    EXPECT_EQ(34268u, SWM_CHANGED);
    EXPECT_EQ(34768u, SWM_SOCKET_LISTEN);
    EXPECT_EQ(0x87E4u, SWM_THREAD_CALL);
    EXPECT_EQ(36128u, SWM_MENUCOMMAND);
    EXPECT_EQ(36388u, SWM_TOOLBAR_COMMAND);
    EXPECT_EQ(36069u, SWM_PLAYER_BUFFERING);
    EXPECT_EQ(36190u, SWM_PROPERTY_EDITED);
}

TEST(SMessagesNumbers, ControlTypeIdsKeepTheirGaps)
{
    EXPECT_EQ(2, STYPE_BUTTON);
    EXPECT_EQ(19, STYPE_LIST);
    EXPECT_EQ(31, STYPE_SCROLL);
    EXPECT_EQ(43, STYPE_WAVE);
}

TEST(SMouseNotifyCodes, ButtonMessagesMapToTheirCodes)
{
    EXPECT_EQ(9, SMouseNotify::CodeFromMessage(WM_LBUTTONDOWN));
    EXPECT_EQ(17, SMouseNotify::CodeFromMessage(WM_LBUTTONUP));
    EXPECT_EQ(65, SMouseNotify::CodeFromMessage(WM_LBUTTONDBLCLK));
    EXPECT_EQ(10, SMouseNotify::CodeFromMessage(WM_MBUTTONDOWN));
    EXPECT_EQ(18, SMouseNotify::CodeFromMessage(WM_MBUTTONUP));
    EXPECT_EQ(66, SMouseNotify::CodeFromMessage(WM_MBUTTONDBLCLK));
    EXPECT_EQ(12, SMouseNotify::CodeFromMessage(WM_RBUTTONDOWN));
    EXPECT_EQ(20, SMouseNotify::CodeFromMessage(WM_RBUTTONUP));
    EXPECT_EQ(68, SMouseNotify::CodeFromMessage(WM_RBUTTONDBLCLK));
    EXPECT_EQ(33, SMouseNotify::CodeFromMessage(SWM_LCLICK));
    EXPECT_EQ(34, SMouseNotify::CodeFromMessage(SWM_MCLICK));
    EXPECT_EQ(36, SMouseNotify::CodeFromMessage(SWM_RCLICK));
}

TEST(SMouseNotifyCodes, OtherMessagesHaveNoCode)
{
    EXPECT_EQ(0, SMouseNotify::CodeFromMessage(WM_MOUSEMOVE));
    EXPECT_EQ(0, SMouseNotify::CodeFromMessage(WM_XBUTTONDOWN));
    EXPECT_EQ(0, SMouseNotify::CodeFromMessage(WM_MOUSEWHEEL));
}

namespace
{
// Keeps the last mouse relay it was given.
class RelayParent : public SWnd
{
public:
    int relays = 0;
    WPARAM sender = 0;
    SMouseNotify last = {0, 0, 0};
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_BUTTON_MOUSE)
        {
            relays++;
            sender = wParam;
            last = *reinterpret_cast<const SMouseNotify*>(lParam);
            return 0;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST(SMouseNotifyRelay, ParentGetsCodeSignedPointAndSender)
{
    RelayParent parent;
    RECT r = {0, 0, 200, 100};
    ASSERT_TRUE(parent.Create("Relay", WS_OVERLAPPED, 0, &r, nullptr));
    SWnd child;
    RECT c = {10, 10, 60, 40};
    ASSERT_TRUE(child.CreateChild("", 0, 0, &c, parent.GetHandle()));
    // A point left of and above the client area.
    const LPARAM point = MAKELPARAM(static_cast<WORD>(-5), static_cast<WORD>(-12));
    EXPECT_TRUE(SMouseNotify::RelayToParent(&child, SWM_BUTTON_MOUSE, WM_LBUTTONUP, point));
    ASSERT_EQ(1, parent.relays);
    EXPECT_EQ(reinterpret_cast<WPARAM>(&child), parent.sender);
    EXPECT_EQ(17, parent.last.code);
    EXPECT_EQ(-5, parent.last.x);
    EXPECT_EQ(-12, parent.last.y);
    EXPECT_TRUE(SMouseNotify::RelayToParent(&child, SWM_BUTTON_MOUSE, SWM_RCLICK, MAKELPARAM(3, 4)));
    EXPECT_EQ(36, parent.last.code);
    EXPECT_EQ(3, parent.last.x);
    EXPECT_EQ(4, parent.last.y);
}

TEST(SMouseNotifyRelay, MessageWithoutCodeOrWindowWithoutParentIsNotRelayed)
{
    RelayParent parent;
    ASSERT_TRUE(parent.Create("Relay", WS_OVERLAPPED, 0, nullptr, nullptr));
    SWnd child;
    ASSERT_TRUE(child.CreateChild("", 0, 0, nullptr, parent.GetHandle()));
    EXPECT_FALSE(SMouseNotify::RelayToParent(&child, SWM_BUTTON_MOUSE, WM_MOUSEMOVE, 0));
    EXPECT_FALSE(SMouseNotify::RelayToParent(&child, SWM_BUTTON_MOUSE, WM_XBUTTONDOWN, 0));
    EXPECT_FALSE(SMouseNotify::RelayToParent(&parent, SWM_BUTTON_MOUSE, WM_LBUTTONDOWN, 0));
    EXPECT_FALSE(SMouseNotify::RelayToParent(nullptr, SWM_BUTTON_MOUSE, WM_LBUTTONDOWN, 0));
    EXPECT_EQ(0, parent.relays);
}
