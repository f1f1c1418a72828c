#include <gtest/gtest.h>
#include <vector>
#include "DockingTestSupport.h"
#include "SGuiCtrl.h"

namespace
{
struct NewBar
{
    int id, width, height, flags;
};
const std::vector<NewBar> FACTORY_BARS = {{0, 100, 25, 0x160}, {1, 100, 100, 1}, {2, 100, 100, 3}, {3, 100, 100, 2}};

struct Docked
{
    AnsweringParent parent;
    SGuiCtrl gui;
    explicit Docked(const std::vector<NewBar>& bars = FACTORY_BARS)
    {
        const RECT r = {0, 0, 400, 300};
        gui.CreateChildUntitled(WS_VISIBLE, 0, &r, parent.GetHandle());
        for (const NewBar& b : bars)
            gui.AddBar(b.id, b.width, b.height, b.flags);
    }
    RECT Placed(HWND window) const
    {
        RECT r = {};
        GetWindowRect(window, &r);
        gui.ScreenToClientRect(&r);
        return r;
    }
};

SGuiCtrl::Shapes ShapesOf(const std::vector<NewBar>& bars)
{
    SGuiCtrl::Shapes shapes;
    for (const NewBar& b : bars)
        shapes.push_back({b.flags, b.width, b.height});
    return shapes;
}

std::vector<LONG> Edges(const RECT& r)
{
    return {r.left, r.right, r.top, r.bottom};
}
} // namespace

TEST(SGuiCtrlTest, BarsTakeTheirBandsAndTheViewTheRest)
{
    struct Case
    {
        std::vector<NewBar> bars;
        std::vector<std::vector<LONG>> expected; // left, right, top, bottom per bar, then the view
    };
    const Case cases[] = {
        {FACTORY_BARS,
         {{0, 400, 0, 25}, {0, 100, 25, 300}, {300, 400, 25, 300}, {100, 300, 200, 300}, {100, 300, 25, 200}}},
        // A shared band: the second bar starts where the first one's width ends.
        {{{0, 100, 30, 0}, {1, 150, 50, 4}}, {{0, 100, 0, 30}, {100, 400, 0, 30}, {0, 400, 30, 300}}},
        {{{0, 60, 100, 3}, {1, 60, 100, 7}}, {{340, 400, 0, 100}, {340, 400, 100, 300}, {0, 340, 0, 300}}},
        // Flag 4 without an earlier visible bar of its side starts a band of its own.
        {{{0, 80, 80, 9}, {1, 50, 50, 5}}, {{0, 0, 0, 0}, {0, 50, 0, 300}, {50, 400, 0, 300}}},
    };
    for (const Case& c : cases)
    {
        std::vector<RECT> placed;
        RECT view = {};
        SGuiCtrl::ComputeLayout(ShapesOf(c.bars), RECT{0, 0, 400, 300}, placed, view);
        for (size_t i = 0; i < c.bars.size(); i++)
            EXPECT_EQ(c.expected[i], Edges(placed[i])) << "bar " << i;
        EXPECT_EQ(c.expected.back(), Edges(view));
    }
    // The windows go where the layout says.
    Docked docked;
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(cases[0].expected[i], Edges(docked.Placed(docked.gui.GetBar(i)->GetWindow()->GetHandle())));
    EXPECT_EQ(cases[0].expected[4], Edges(docked.Placed(docked.gui.GetView()->GetHandle())));
}

TEST(SGuiCtrlTest, AddBarRefusesTakenIdsAndMissingWindowsAndRaisesSizes)
{
    Docked docked;
    EXPECT_FALSE(docked.gui.AddBar(2, 50, 50, 0));
    EXPECT_EQ(4, docked.gui.GetBarCount());
    ASSERT_TRUE(docked.gui.AddBar(7, 10, 10, 1 | 8));
    EXPECT_EQ(16, docked.gui.FindBar(7)->GetWidth());
    EXPECT_EQ(16, docked.gui.FindBar(7)->GetHeight());
    EXPECT_EQ(nullptr, docked.gui.GetBar(5));
    docked.gui.RemoveAllBars();
    EXPECT_EQ(0, docked.gui.GetBarCount());

    SGuiCtrl unplaced;
    EXPECT_FALSE(unplaced.AddBar(1, 100, 100, 1));
    EXPECT_EQ(0, unplaced.GetBarCount());
}

TEST(SGuiCtrlTest, FrameHitTestFollowsSidesAndFlags)
{
    struct Case
    {
        int bar, x, y, code;
    };
    // Bottom 200 x 100 (grip on the left), left and right 100 x 275 (grip on
    // top), top strip 400 x 25 with a thin grip and fixed height.
    const Case cases[] = {
        {3, 50, 1, 3},  {3, 50, 99, 0}, {3, 199, 50, 0}, {3, 5, 5, 1},   {3, 5, 50, 2},   {3, 1, 50, 0},
        {1, 99, 100, 6}, {1, 50, 274, 0}, {1, 95, 5, 1},  {1, 50, 5, 2},   {1, 50, 1, 0},   {1, 1, 100, 0},
        {2, 1, 100, 5}, {2, 99, 100, 0}, {0, 200, 24, 0}, {0, 3, 5, 2},    {0, 399, 10, 0}, {3, 100, 50, 0},
    };
    const SIZE sizes[4] = {{400, 25}, {100, 275}, {100, 275}, {200, 100}};
    for (const Case& c : cases)
    {
        const SIZE& s = sizes[c.bar];
        EXPECT_EQ(c.code, SGuiCtrl::HitTestBar(ShapesOf(FACTORY_BARS), c.bar, c.x, c.y, s.cx, s.cy))
            << c.bar << " at " << c.x << "," << c.y;
    }
}

TEST(SGuiCtrlTest, DraggedEdgesResizeTheBarAndItsBandLeader)
{
    const RECT window = {100, 200, 300, 300};
    struct Case
    {
        int code;
        POINT press, pointer;
        int size;
    };
    const Case cases[] = {{3, {150, 201}, {150, 150}, 151}, {4, {150, 298}, {150, 310}, 112},
                          {5, {102, 250}, {90, 250}, 212},  {6, {297, 250}, {200, 250}, 103}};
    for (const Case& c : cases)
        EXPECT_EQ(c.size, SGuiCtrl::DragSize(c.code, window, c.press, c.pointer)) << c.code;

    Docked docked;
    SGuiCtrl::_SBar* bottom = docked.gui.FindBar(3);
    EXPECT_TRUE(docked.gui.ApplyDragSize(bottom, 3, 151));
    EXPECT_EQ(std::vector<LONG>({100, 300, 149, 300}), Edges(docked.Placed(bottom->GetWindow()->GetHandle())));
    EXPECT_FALSE(docked.gui.ApplyDragSize(bottom, 3, 151));
    EXPECT_TRUE(docked.gui.ApplyDragSize(bottom, 3, 10));
    EXPECT_EQ(16, bottom->GetHeight());
    EXPECT_EQ(100, bottom->GetWidth());
}

TEST(SGuiCtrlTest, CloseBoxAsksTheParentBeforeHidingTheBar)
{
    Docked docked;
    SGuiCtrl::_SBar* bottom = docked.gui.FindBar(3);
    RECT window = {};
    GetWindowRect(bottom->GetWindow()->GetHandle(), &window);
    const LPARAM closeBox = MAKELPARAM(window.left + 5, window.top + 5);
    for (const LRESULT answer : {1, 0})
    {
        docked.parent.answers[SWM_GUI_BARCLICK] = answer;
        bottom->GetWindow()->SendMessage(SWM_NCLCLICK, 0, closeBox);
        EXPECT_EQ(answer != 0, !bottom->IsHidden()) << answer;
    }
    ASSERT_EQ(2, docked.parent.Count(SWM_GUI_BARCLICK));
    EXPECT_EQ(3, docked.parent.asked.back().lParam);
    EXPECT_FALSE(IsWindowVisible(bottom->GetWindow()->GetHandle()));
    EXPECT_EQ(std::vector<LONG>({100, 300, 25, 300}), Edges(docked.Placed(docked.gui.GetView()->GetHandle())));
}

TEST(SGuiCtrlTest, FramePaintsFaceEdgesAndTheCloseCrossAroundTheClient)
{
    Docked docked;
    SGuiCtrl::_SBar* bottom = docked.gui.FindBar(3);
    const COLORREF marker = RGB(1, 2, 3);
    MemoryDib dib(200, 100, marker);
    bottom->GetWindow()->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(dib.GetDC()), PRF_NONCLIENT);
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), dib.Pixel(100, 1));
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), dib.Pixel(11, 50));
    EXPECT_EQ(RGB(0, 0, 0), dib.Pixel(5, 5));
    EXPECT_EQ(marker, dib.Pixel(100, 50));
}
