#include <gtest/gtest.h>
#include "TraceWnd.h"

namespace
{
// Horizontal effect (move, widen) of the flag bits 1, 2, 4, 8 for a parent
// 100 pixels wider and 30 pixels narrower; the vertical bits 16, 32, 64, 128
// act the same way on the height. Divisions truncate toward zero.
struct Effect
{
    int move;
    int grow;
};
const Effect WIDER_BY_100[16] = {{0, 0},  {50, 0},  {100, 0}, {150, 0}, {0, 100}, {50, 100},
                                 {100, 100}, {150, 100}, {0, 0}, {25, 0}, {50, 0}, {75, 0},
                                 {0, 50},  {25, 50}, {50, 50}, {75, 50}};
const Effect NARROWER_BY_30[16] = {{0, 0},     {-15, 0},  {-30, 0},  {-45, 0},
                                   {0, -30},   {-15, -30}, {-30, -30}, {-45, -30},
                                   {0, 0},     {-7, 0},   {-15, 0},  {-22, 0},
                                   {0, -15},   {-7, -15}, {-15, -15}, {-22, -15}};

const RECT CHILD = {40, 30, 140, 90};

class SWndAnchorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(0, 0, 400, 300);
        ASSERT_TRUE(parent.Create("Anchors", WS_POPUP, 0, &r, nullptr));
        RECT c = CHILD;
        ASSERT_TRUE(child.CreateChild("", WS_VISIBLE, 0, &c, parent.GetHandle()));
    }

    void ResizeParent(int width, int height)
    {
        parent.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }

    static RECT Expected(int flags, const Effect* table)
    {
        const Effect h = table[flags & 15], v = table[(flags >> 4) & 15];
        return MakeRect(CHILD.left + h.move, CHILD.top + v.move, CHILD.right + h.move + h.grow,
                        CHILD.bottom + v.move + v.grow);
    }

    TraceWnd parent, child;
};

void ExpectRect(const RECT& expected, const RECT& actual, int flags, const char* when)
{
    EXPECT_EQ(expected.left, actual.left) << "flags " << flags << " " << when;
    EXPECT_EQ(expected.top, actual.top) << "flags " << flags << " " << when;
    EXPECT_EQ(expected.right, actual.right) << "flags " << flags << " " << when;
    EXPECT_EQ(expected.bottom, actual.bottom) << "flags " << flags << " " << when;
}
} // namespace

TEST_F(SWndAnchorTest, EveryFlagCombinationFollowsTheParentGrowingAndShrinking)
{
    for (int flags = 0; flags < 256; flags++)
    {
        child.SetAnchors(flags);
        ResizeParent(500, 400);
        ExpectRect(flags ? Expected(flags, WIDER_BY_100) : CHILD, RectInParent(child), flags,
                   "wider");
        ResizeParent(370, 270);
        ExpectRect(flags ? Expected(flags, NARROWER_BY_30) : CHILD, RectInParent(child), flags,
                   "narrower");
        // Back at the size the anchors were set with, the child is where it started.
        ResizeParent(400, 300);
        ExpectRect(CHILD, RectInParent(child), flags, "restored");
        if (HasFailure())
            return;
    }
}

TEST_F(SWndAnchorTest, EachLayoutIsReportedToTheParent)
{
    child.SetAnchors(4);
    parent.Forget();
    ResizeParent(450, 300);
    ASSERT_EQ(1, parent.Count(SWM_ANCHORNOTIFY));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&child), parent.Last(SWM_ANCHORNOTIFY).wParam);
    EXPECT_EQ(1, child.Count(SWM_PARENTSIZED));
    child.SetAnchors(0);
    ResizeParent(460, 300);
    EXPECT_EQ(1, parent.Count(SWM_ANCHORNOTIFY));
    EXPECT_EQ(2, child.Count(SWM_PARENTSIZED));
}

TEST_F(SWndAnchorTest, ParentNarrowerByThreeMovesAHalfAnchoredChildByMinusOne)
{
    child.SetAnchors(1);
    ResizeParent(397, 300);
    EXPECT_EQ(CHILD.left - 1, RectInParent(child).left);
}

TEST_F(SWndAnchorTest, WindowWithoutParentCannotBeAnchored)
{
    SWnd top;
    RECT r = MakeRect(0, 0, 50, 50);
    ASSERT_TRUE(top.Create("Top", WS_POPUP, 0, &r, nullptr));
    top.SetAnchors(2);
    EXPECT_EQ(0, top.GetAnchors());
    EXPECT_EQ(nullptr, top.ApplyAnchors());
    EXPECT_EQ(0, RectInParent(top).left);
}
