#include <gtest/gtest.h>
#include "SLibrary.h"
#include "TraceWnd.h"

// A library window keeps the last font it was given and reports it when its
// class has no font of its own.
TEST(SWndFont, NewWindowHasTheSmallGuiFont)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.Create("Font", WS_POPUP, 0, nullptr, nullptr));
    ASSERT_NE(nullptr, GetSmallGuiFont());
    EXPECT_EQ(GetSmallGuiFont(), wnd.GetFont());
}

TEST(SWndFont, GivenFontIsReportedUnlessTheClassAnswersItself)
{
    TraceWnd wnd;
    ASSERT_TRUE(wnd.Create("Font", WS_POPUP, 0, nullptr, nullptr));
    HFONT stock = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    wnd.SetFont(stock, false);
    EXPECT_EQ(stock, wnd.GetFont());
    // The class's handler was asked first.
    EXPECT_EQ(1, wnd.Count(WM_GETFONT));
    HFONT own = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    wnd.answers[WM_GETFONT] = reinterpret_cast<LRESULT>(own);
    EXPECT_EQ(own, wnd.GetFont());
}
