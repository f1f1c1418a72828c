#include <gtest/gtest.h>
#include "ImageCanvas.h"
#include "PalettePictures.h"
#include "SMemory.h"
#include "TraceWnd.h"

namespace
{
struct Piece { int x, y, w, h; };

std::vector<Piece> Pieces(int W, int H, int w, int h, RECT margins)
{
    SWnd::_SSkinPiece out[9];
    const int count = SWnd::ComputeSkinPieces(W, H, w, h, margins, out);
    std::vector<Piece> result;
    for (int i = 0; i < count; i++)
    {
        const Gdiplus::Rect& d = out[i].destination;
        const Gdiplus::Rect& s = out[i].source;
        EXPECT_GT(d.Width, 0);
        EXPECT_GT(d.Height, 0);
        EXPECT_GE(s.X, 0);
        EXPECT_GE(s.Y, 0);
        EXPECT_LE(s.X + s.Width, w);
        EXPECT_LE(s.Y + s.Height, h);
        result.push_back(Piece{d.X, d.Y, d.Width, d.Height});
    }
    return result;
}
} // namespace

TEST(SWndSkin, NineSliceRectangles)
{
    const std::vector<Piece> pieces = Pieces(100, 50, 30, 30, RECT{10, 10, 20, 20});
    ASSERT_EQ(9u, pieces.size());
    const Piece expected[9] = {
        {0, 0, 10, 10},  {10, 0, 80, 10},  {90, 0, 10, 10},  {0, 10, 10, 30}, {90, 10, 10, 30},
        {0, 40, 10, 10}, {10, 40, 80, 10}, {90, 40, 10, 10}, {10, 10, 80, 30},
    };
    for (int i = 0; i < 9; i++)
    {
        EXPECT_EQ(expected[i].x, pieces[i].x) << i;
        EXPECT_EQ(expected[i].y, pieces[i].y) << i;
        EXPECT_EQ(expected[i].w, pieces[i].w) << i;
        EXPECT_EQ(expected[i].h, pieces[i].h) << i;
    }
}

TEST(SWndSkin, OversizedMarginsGiveNoNegativePiece)
{
    // Each checks itself: no empty destination, no source outside the picture.
    const struct { int W, H; RECT margins; size_t count; } cases[] = {
        {15, 50, {10, 10, 20, 20}, 6},   // window narrower than both side strips: no middle column
        {100, 15, {10, 10, 20, 20}, 6},  // too low: no middle row
        {5, 5, {10, 10, 20, 20}, 4},     // only the (overlapping) corners
        {100, 50, {-5, 10, 90, 80}, 2},  // cut to the picture: only the top edge and the centre
        {100, 50, {25, 25, 25, 26}, 6},  // centre of no width
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.count, Pieces(c.W, c.H, 30, 30, c.margins).size()) << c.W << "x" << c.H;
}

TEST(SWndSkin, TransparentColourShapesTheWindowUntilTheSkinIsCleared)
{
    TraceWnd wnd;
    RECT r = MakeRect(40, 40, 140, 90);
    ASSERT_TRUE(wnd.Create("Skin", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    // A 30 x 30 skin: green margins of 10 around a red centre; green is cut away.
    SImage skin;
    MakeBands(skin, 30, {{30, ARGB_GREEN}});
    const Gdiplus::Rect centre(10, 10, 10, 10);
    skin.FillRectangle(&centre, ARGB_RED);
    const RECT margins = {10, 10, 20, 20};
    wnd.SetBackgroundImage(skin.GetBitmap(), C_GREEN, 9, &margins, true);
    ASSERT_TRUE(wnd.GetBackgroundImage().IsLoaded());
    SGdiObjectGuard<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, GetWindowRgn(wnd.GetHandle(), region.Get()));
    RECT box = {};
    GetRgnBox(region.Get(), &box);
    // The stretched centre's edge pixels may blend: one pixel of slack.
    EXPECT_NEAR(10, box.left, 1);
    EXPECT_NEAR(10, box.top, 1);
    EXPECT_NEAR(90, box.right, 1);
    EXPECT_NEAR(40, box.bottom, 1);
    EXPECT_TRUE(PtInRegion(region.Get(), 50, 25));
    EXPECT_FALSE(PtInRegion(region.Get(), 5, 5));

    // The skin paints the red centre stretched into the middle of a memory context.
    ImageCanvas canvas(100, 50);
    wnd.PaintSkin(canvas.GetDC(), 100, 50);
    GdiFlush();
    EXPECT_EQ(C_RED, canvas.At(50, 25));
    EXPECT_EQ(C_WHITE, canvas.At(3, 3));

    wnd.SetBackgroundImage(nullptr, SWnd::COLOR_NONE, -1, nullptr, false);
    EXPECT_FALSE(wnd.GetBackgroundImage().IsLoaded());
    EXPECT_EQ(ERROR, GetWindowRgn(wnd.GetHandle(), region.Get()));

    wnd.SetBackgroundImage(skin.GetBitmap(), C_GREEN, -1, &margins, false);
    EXPECT_NE(ERROR, GetWindowRgn(wnd.GetHandle(), region.Get()));
    wnd.DestroyWindow();
    EXPECT_FALSE(wnd.GetBackgroundImage().IsLoaded());
}

TEST(SWndSkin, LayeredStyleComesAndGoes)
{
    TraceWnd wnd;
    RECT r = MakeRect(40, 40, 80, 80);
    ASSERT_TRUE(wnd.Create("Layered", WS_POPUP, 0, &r, nullptr));
    SImage skin;
    MakeBands(skin, 40, {{40, ARGB_BLUE}});
    wnd.SetBackgroundImage(skin.GetBitmap(), SWnd::COLOR_NONE, 9, nullptr, false);
    EXPECT_EQ(1, wnd.SetLayered(true));
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_LAYERED);
    HDC memory = wnd.RenderSkinToMemory();
    ASSERT_NE(nullptr, memory);
    EXPECT_EQ(C_BLUE, GetPixel(memory, 20, 20));
    wnd.UpdateLayered(memory, 200);
    EXPECT_EQ(0u, GetObjectType(memory)); // freed
    EXPECT_EQ(1, wnd.SetLayered(false));
    EXPECT_FALSE(wnd.GetExStyle() & WS_EX_LAYERED);
    wnd.DestroyWindow();
}

// A 4-bit skin whose pieces start inside a byte: each piece shows its own
// columns (band A ends and band B starts at x 30).
TEST(SWndSkin, FourBitSkinPiecesStartAtTheirOwnColumn)
{
    using namespace palettepictures;
    SMemory bytes;
    bytes.Write(PNG4, sizeof(PNG4));
    bytes.SeekToStart();
    SImage skin;
    ASSERT_TRUE(skin.Load(&bytes, -1));
    ASSERT_EQ(4, skin.GetBitsPerPixel());
    SWnd wnd;
    const RECT margins = {29, 5, 51, 35};
    wnd.SetBackgroundImage(skin.GetBitmap(), SWnd::COLOR_NONE, 9, &margins, false);
    ImageCanvas canvas(60, 40);
    wnd.PaintSkin(canvas.GetDC(), 60, 40);
    GdiFlush();
    const COLORREF b = RGB((B >> 16) & 0xFF, (B >> 8) & 0xFF, B & 0xFF);
    const COLORREF a = RGB((A >> 16) & 0xFF, (A >> 8) & 0xFF, A & 0xFF);
    EXPECT_EQ(a, canvas.At(29, 2));  // the top edge's tile, from column 29
    EXPECT_EQ(b, canvas.At(30, 2));
    EXPECT_EQ(b, canvas.At(30, 37)); // the bottom edge's
}
