#include <gtest/gtest.h>
#include "SControlTypeId.h"
#include "SMessages.h"
#include "SMouseNotify.h"

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
