#include <gtest/gtest.h>
#include "TraceWnd.h"

// The control id and name a dialog description gives a window object.
TEST(SWndIdentity, ControlIdIsKeptApartFromTheWindowId)
{
    SWnd parent, child;
    ASSERT_TRUE(parent.Create("Parent", WS_POPUP, 0, nullptr, nullptr));
    RECT r = MakeRect(0, 0, 10, 10);
    ASSERT_TRUE(child.CreateChild("", 0, 0, &r, parent.GetHandle(), 12));
    EXPECT_EQ(0, child.GetControlId());
    child.SetControlId(345);
    EXPECT_EQ(345, child.GetControlId());
    EXPECT_EQ(12, child.GetId());
}

TEST(SWndIdentity, NameIsCopiedAndNullIsEmpty)
{
    SWnd window;
    EXPECT_EQ(0, window.GetName().GetLength());
    char name[] = "PlayButton";
    window.SetName(name);
    name[0] = 'X';
    EXPECT_STREQ("PlayButton", window.GetName().GetText());
    window.SetName(nullptr);
    EXPECT_STREQ("", window.GetName().GetText());
    window.SetName(SString("Volume"));
    EXPECT_STREQ("Volume", window.GetName().GetText());
    window.SetName(SString());
    EXPECT_STREQ("", window.GetName().GetText());
}
