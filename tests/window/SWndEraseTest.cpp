#include <gtest/gtest.h>
#include <vector>
#include "SGuards.h"
#include "TraceWnd.h"

namespace
{
const COLORREF RED = RGB(255, 0, 0);
const COLORREF BLUE = RGB(0, 0, 255);
const COLORREF GREEN = RGB(0, 255, 0);

// Draws a blue square into the context it is given, and can nest a second erase.
class PaintingWnd : public SWnd
{
public:
    std::vector<LPARAM> contexts;
    bool nest = false;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ERASEBKGND)
        {
            contexts.push_back(lParam);
            if (lParam)
            {
                RECT square = MakeRect(10, 10, 20, 20);
                SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(BLUE));
                FillRect(reinterpret_cast<HDC>(lParam), &square, brush.Get());
            }
            if (nest)
            {
                nest = false;
                SendMessage(WM_ERASEBKGND, wParam, 0);
            }
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

class SWndEraseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(30, 30, 130, 110);
        ASSERT_TRUE(wnd.Create("Erase", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        wnd.SetBackgroundColor(RED);
        PumpPendingMessages();
        wnd.ValidateRect(nullptr);
        wnd.contexts.clear();
        dc = GetDC(wnd.GetHandle());
        ASSERT_NE(nullptr, dc);
    }
    void TearDown() override { ReleaseDC(wnd.GetHandle(), dc); }

    LRESULT Erase() { return wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); }
    void FillWindow(COLORREF color)
    {
        RECT all = MakeRect(0, 0, 100, 80);
        SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(color));
        FillRect(dc, &all, brush.Get());
    }

    PaintingWnd wnd;
    HDC dc = nullptr;
};
} // namespace

TEST_F(SWndEraseTest, OutermostEraseDrawsIntoMemoryAndCopiesToTheWindow)
{
    FillWindow(GREEN);
    EXPECT_EQ(1, Erase());
    ASSERT_EQ(1u, wnd.contexts.size());
    EXPECT_NE(0, wnd.contexts[0]);
    EXPECT_NE(reinterpret_cast<LPARAM>(dc), wnd.contexts[0]);
    EXPECT_EQ(RED, GetPixel(dc, 5, 5));
    EXPECT_EQ(BLUE, GetPixel(dc, 15, 15));
    EXPECT_EQ(RED, GetPixel(dc, 95, 75));
}

TEST_F(SWndEraseTest, NestedEraseGetsNoContextAndOnlyTheOutermostCopies)
{
    wnd.nest = true;
    FillWindow(GREEN);
    Erase();
    ASSERT_EQ(2u, wnd.contexts.size());
    EXPECT_NE(0, wnd.contexts[0]);
    EXPECT_EQ(0, wnd.contexts[1]);
    EXPECT_EQ(RED, GetPixel(dc, 5, 5));
    // The nesting is back to zero: the next pass is an outermost one again.
    Erase();
    ASSERT_EQ(3u, wnd.contexts.size());
    EXPECT_NE(0, wnd.contexts[2]);
}

TEST_F(SWndEraseTest, TransparentWindowDrawsOnTheWindowContextItself)
{
    wnd.SetBackgroundColor(SWnd::COLOR_TRANSPARENT);
    FillWindow(GREEN);
    EXPECT_EQ(1, Erase());
    ASSERT_EQ(1u, wnd.contexts.size());
    EXPECT_EQ(reinterpret_cast<LPARAM>(dc), wnd.contexts[0]);
    EXPECT_EQ(GREEN, GetPixel(dc, 5, 5));
    EXPECT_EQ(BLUE, GetPixel(dc, 15, 15));
}

TEST_F(SWndEraseTest, NoBackgroundColourPaintsNothing)
{
    wnd.SetBackgroundColor(SWnd::COLOR_NONE);
    FillWindow(GREEN);
    Erase();
    EXPECT_EQ(GREEN, GetPixel(dc, 5, 5));
    EXPECT_EQ(BLUE, GetPixel(dc, 15, 15));
}

TEST_F(SWndEraseTest, SystemColourValueNamesTheSystemColour)
{
    wnd.SetBackgroundColor(0xFE000000 + COLOR_HIGHLIGHT);
    Erase();
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, 5, 5));
}

TEST_F(SWndEraseTest, OpaqueLibraryChildIsNotPaintedOver)
{
    SWnd child;
    RECT r = MakeRect(50, 40, 90, 70);
    ASSERT_TRUE(child.CreateChild("", WS_VISIBLE, 0, &r, wnd.GetHandle()));
    child.SetBackgroundColor(SWnd::COLOR_NONE);
    FillWindow(GREEN);
    Erase();
    EXPECT_EQ(RED, GetPixel(dc, 45, 35));
    EXPECT_EQ(GREEN, GetPixel(dc, 60, 50));
}

TEST_F(SWndEraseTest, SubclassedControlWithoutOwnBackgroundIsLeftAlone)
{
    TraceWnd control;
    RECT r = MakeRect(0, 0, 40, 20);
    ASSERT_TRUE(control.CreateSubclassed("STATIC", "", WS_CHILD | WS_VISIBLE, 0, &r, wnd.GetHandle()));
    HDC controlDC = GetDC(control.GetHandle());
    control.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(controlDC), 0);
    EXPECT_EQ(0, control.Last(WM_ERASEBKGND).lParam);
    control.SetOwnBackground(true);
    control.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(controlDC), 0);
    EXPECT_NE(0, control.Last(WM_ERASEBKGND).lParam);
    ReleaseDC(control.GetHandle(), controlDC);
}

TEST_F(SWndEraseTest, TransparentChildShowsItsParentOnlyWhileItRedrawsItself)
{
    SWnd child;
    RECT r = MakeRect(50, 40, 90, 70);
    ASSERT_TRUE(child.CreateChild("", WS_VISIBLE, 0, &r, wnd.GetHandle()));
    child.SetBackgroundColor(SWnd::COLOR_TRANSPARENT);
    PumpPendingMessages();
    wnd.ValidateRect(nullptr);
    child.ValidateRect(nullptr);
    wnd.contexts.clear();
    FillWindow(GREEN);
    HDC childDC = GetDC(child.GetHandle());
    ASSERT_NE(nullptr, childDC);
    // A plain erase of the child paints nothing, and the parent is not asked.
    child.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(childDC), 0);
    EXPECT_TRUE(wnd.contexts.empty());
    EXPECT_EQ(GREEN, GetPixel(childDC, 5, 5));
    // Its own redraw repaints the parent's background under it.
    EXPECT_TRUE(child.RedrawWindow());
    EXPECT_FALSE(wnd.contexts.empty());
    EXPECT_EQ(RED, GetPixel(childDC, 5, 5));
    // Afterwards a plain erase is plain again.
    wnd.contexts.clear();
    child.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(childDC), 0);
    EXPECT_TRUE(wnd.contexts.empty());
    ReleaseDC(child.GetHandle(), childDC);
}

TEST_F(SWndEraseTest, RedrawWithoutAWindowFails)
{
    SWnd none;
    EXPECT_FALSE(none.RedrawWindow());
}
