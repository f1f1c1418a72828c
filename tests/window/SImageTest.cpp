#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "ImageCanvas.h"
#include "PalettePictures.h"
#include "SDrawing.h"
#include "SFile.h"
#include "SMemory.h"

namespace
{
bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool NearArgb(Gdiplus::ARGB a, Gdiplus::ARGB b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

COLORREF PixelOf(const SImage& image, int x, int y)
{
    Gdiplus::ARGB v = 0;
    EXPECT_TRUE(image.GetPixel(x, y, &v));
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}
} // namespace

TEST(SImageDraw, EachAlignedModePlacesThePictureInTheRectangle)
{
    SImage image;
    MakeBands(image, 10, {{20, ARGB_RED}});
    const struct { int mode; RECT box; } cases[] = {
        {0, {0, 0, 20, 10}},   {1, {20, 0, 40, 10}},  {2, {40, 0, 60, 10}},
        {3, {0, 15, 20, 25}},  {4, {40, 15, 60, 25}}, {5, {0, 30, 20, 40}},
        {6, {20, 30, 40, 40}}, {7, {40, 30, 60, 40}}, {8, {20, 15, 40, 25}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.mode);
        ImageCanvas canvas(60, 40);
        image.SetDrawMode(c.mode);
        ASSERT_TRUE(canvas.Draw(image, 0, 0, 60, 40));
        const RECT box = canvas.BoundsOf(C_RED);
        EXPECT_EQ(c.box.left, box.left);
        EXPECT_EQ(c.box.top, box.top);
        EXPECT_EQ(c.box.right, box.right);
        EXPECT_EQ(c.box.bottom, box.bottom);
    }
}

TEST(SImageDraw, StretchAndFitScaleThePicture)
{
    SImage image;
    MakeBands(image, 10, {{20, ARGB_RED}});
    const struct { int mode; int x, y; COLORREF color; } probes[] = {
        {9, 10, 10, C_RED}, {9, 50, 30, C_RED}, {11, 30, 20, C_RED}, {11, 3, 8, C_RED},
        {11, 30, 2, C_WHITE}, {11, 30, 38, C_WHITE},
    };
    for (const auto& p : probes)
    {
        ImageCanvas canvas(60, 40);
        image.SetDrawMode(p.mode);
        ASSERT_TRUE(canvas.Draw(image, 0, 0, 60, 40));
        EXPECT_EQ(p.color, canvas.At(p.x, p.y)) << p.mode << ": " << p.x << "," << p.y;
    }
}

TEST(SImageDraw, CentredPictureLargerThanTheRectangleShowsItsMiddle)
{
    // 100 x 50: columns 0-19 red, 20-79 green, 80-99 blue, into 60 x 60.
    SImage image;
    MakeBands(image, 50, {{20, ARGB_RED}, {60, ARGB_GREEN}, {20, ARGB_BLUE}});
    image.SetDrawMode(8);
    ImageCanvas canvas(60, 60);
    ASSERT_TRUE(canvas.Draw(image, 0, 0, 60, 60));
    const RECT box = canvas.BoundsOf(C_GREEN);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(5, box.top);
    EXPECT_EQ(60, box.right);
    EXPECT_EQ(55, box.bottom);
    EXPECT_EQ(C_WHITE, canvas.At(30, 4));
    EXPECT_EQ(C_WHITE, canvas.At(30, 55));
}

TEST(SImageDraw, TilingRepeatsFromTheTopLeftCorner)
{
    SImage image;
    MakeBands(image, 10, {{10, ARGB_RED}, {10, ARGB_BLUE}});
    image.SetDrawMode(10);
    ImageCanvas canvas(60, 30);
    ASSERT_TRUE(canvas.Draw(image, 0, 0, 60, 30));
    const struct { int x, y; COLORREF color; } probes[] = {
        {5, 5, C_RED}, {15, 5, C_BLUE}, {25, 15, C_RED}, {35, 15, C_BLUE}, {45, 25, C_RED}, {55, 25, C_BLUE},
    };
    for (const auto& p : probes)
        EXPECT_EQ(p.color, canvas.At(p.x, p.y)) << p.x << "," << p.y;
}

TEST(SImageDraw, ColourKeyAndBackgroundFill)
{
    SImage image;
    MakeBands(image, 10, {{10, ARGB_RED}, {10, ARGB_GREEN}});
    image.SetDrawMode(8);
    image.SetTransparentColor(C_GREEN);
    image.SetBackgroundColor(C_BLUE);
    ImageCanvas canvas(60, 40);
    ASSERT_TRUE(canvas.Draw(image, 0, 0, 60, 40));
    EXPECT_EQ(C_RED, canvas.At(25, 20));
    EXPECT_EQ(C_WHITE, canvas.At(35, 20)); // keyed: nothing drawn there
    EXPECT_EQ(C_BLUE, canvas.At(2, 2));    // around the picture
    EXPECT_EQ(C_BLUE, canvas.At(57, 37));
    // Stretching paints no background.
    image.SetDrawMode(9);
    ImageCanvas stretched(60, 40);
    image.SetTransparentColor(SImage::COLOR_NONE);
    ASSERT_TRUE(stretched.Draw(image, 0, 0, 60, 40));
    EXPECT_EQ(C_RED, stretched.At(5, 5));
    EXPECT_EQ(C_GREEN, stretched.At(55, 35));
}

TEST(SImageSettings, DrawModeOutsideTheTableStoresZero)
{
    SImage image;
    EXPECT_EQ(0, image.SetDrawMode(11));
    EXPECT_EQ(11, image.SetDrawMode(12));
    EXPECT_EQ(0, image.GetDrawMode());
    image.SetDrawMode(5);
    EXPECT_EQ(5, image.SetDrawMode(-1));
    EXPECT_EQ(0, image.GetDrawMode());
}

TEST(SImageEdit, RotateTurnsClockwiseByQuarters)
{
    // Left half red, right half blue, 20 x 10.
    const struct { int turns; bool ok; int w, h; int x1, y1; COLORREF first; int x2, y2; COLORREF second; } cases[] = {
        {1, true, 10, 20, 5, 2, C_RED, 5, 17, C_BLUE},
        {2, true, 20, 10, 2, 5, C_BLUE, 17, 5, C_RED},
        {3, true, 10, 20, 5, 2, C_BLUE, 5, 17, C_RED},
        {4, true, 20, 10, 2, 5, C_RED, 17, 5, C_BLUE},
        {-1, false, 20, 10, 2, 5, C_RED, 17, 5, C_BLUE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.turns);
        SImage image;
        MakeBands(image, 10, {{10, ARGB_RED}, {10, ARGB_BLUE}});
        EXPECT_EQ(c.ok, image.Rotate(c.turns));
        EXPECT_EQ(c.w, image.GetWidth());
        EXPECT_EQ(c.h, image.GetHeight());
        EXPECT_EQ(c.first, PixelOf(image, c.x1, c.y1));
        EXPECT_EQ(c.second, PixelOf(image, c.x2, c.y2));
    }
}

TEST(SImageStreams, SavedPicturesReloadFromMemoryAndFiles)
{
    SImage image;
    MakeBands(image, 16, {{16, ARGB_RED}, {16, ARGB_BLUE}});
    const struct { int format; const char* magic; int tolerance; } cases[] = {
        {SImage::FORMAT_PNG, "\x89PNG", 0}, {SImage::FORMAT_JPEG, "\xFF\xD8", 40}, {7, "BM", 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.format);
        SMemory memory;
        memory.WriteText("head");
        ASSERT_TRUE(image.Save(c.format, &memory));
        ASSERT_EQ(0, memcmp(memory.GetData() + 4, c.magic, strlen(c.magic)));
        SFile file;
        ASSERT_TRUE(file.OpenTemporary());
        ASSERT_TRUE(image.Save(&file, c.format));
        file.SeekToStart();
        memory.Seek(4);
        SImage fromMemory, fromFile;
        ASSERT_TRUE(fromMemory.Load(&memory, -1));
        EXPECT_TRUE(memory.IsEnd());
        ASSERT_TRUE(fromFile.Load(&file, -1));
        for (SImage* loaded : {&fromMemory, &fromFile})
        {
            EXPECT_EQ(32, loaded->GetWidth());
            EXPECT_TRUE(Near(C_RED, PixelOf(*loaded, 4, 8), c.tolerance));
            EXPECT_TRUE(Near(C_BLUE, PixelOf(*loaded, 28, 8), c.tolerance));
        }
        file.Close();
    }
}

TEST(SImageStreams, LoadFailsWithoutBytes)
{
    SImage image;
    MakeBands(image, 4, {{4, ARGB_RED}});
    SMemory memory;
    ASSERT_TRUE(image.Save(SImage::FORMAT_PNG, &memory));
    SImage loaded;
    EXPECT_FALSE(loaded.Load(&memory, -1)); // at the end
    memory.SeekToStart();
    EXPECT_FALSE(loaded.Load(&memory, 0));
    EXPECT_FALSE(loaded.Load(nullptr, -1));
    memory.WriteText("not a picture at all");
    memory.Seek(memory.GetSize() - 20);
    EXPECT_FALSE(loaded.Load(&memory, -1));
    EXPECT_FALSE(loaded.IsLoaded());
    EXPECT_FALSE(SImage().Save(SImage::FORMAT_PNG, &memory));
}

TEST(SImageRegion, RegionLeavesOutTheKeyColour)
{
    SImage image;
    MakeBands(image, 10, {{8, ARGB_GREEN}, {12, ARGB_RED}});
    SGdiObjectGuard<HRGN> part(image.CreateRegion(C_GREEN));
    RECT box = {};
    ASSERT_EQ(SIMPLEREGION, GetRgnBox(part.Get(), &box));
    EXPECT_EQ(8, box.left);
    EXPECT_EQ(20, box.right);
    EXPECT_EQ(10, box.bottom);
    SGdiObjectGuard<HRGN> none(image.CreateRegion(RGB(0, 0, 0)));
    EXPECT_EQ(SIMPLEREGION, GetRgnBox(none.Get(), &box));
    image.Clear(C_GREEN);
    SGdiObjectGuard<HRGN> empty(image.CreateRegion(C_GREEN));
    ASSERT_NE(nullptr, empty.Get());
    EXPECT_EQ(NULLREGION, GetRgnBox(empty.Get(), &box));
    EXPECT_EQ(nullptr, SImage().CreateRegion(C_GREEN));
}

TEST(SImagePixels, GetPixelsSizesTheBufferByTheFormat)
{
    SImage image;
    MakeBands(image, 3, {{2, ARGB_RED}, {3, ARGB_BLUE}});
    EXPECT_EQ(5 * 3 * 3, image.GetPixelsSize(PixelFormat24bppRGB));
    EXPECT_EQ(5 * 3 * 8, image.GetPixelsSize(PixelFormat64bppARGB));
    std::unique_ptr<unsigned char[]> rgb(image.GetPixels(nullptr, PixelFormat24bppRGB));
    ASSERT_TRUE(rgb);
    // Last pixel of the last row: blue, stored B G R.
    const unsigned char* last = rgb.get() + (5 * 3 - 1) * 3;
    EXPECT_EQ(255, last[0]);
    EXPECT_EQ(0, last[2]);
    EXPECT_EQ(255, rgb[2]); // first pixel red
    std::unique_ptr<unsigned char[]> wide(image.GetPixels(nullptr, PixelFormat64bppARGB));
    ASSERT_TRUE(wide);
    const unsigned short* channels = reinterpret_cast<const unsigned short*>(wide.get());
    const int lastPixel = 5 * 3 - 1;
    EXPECT_GT(channels[lastPixel * 4 + 0], 0);      // blue
    EXPECT_EQ(0, channels[lastPixel * 4 + 2]);      // red
    EXPECT_GT(channels[lastPixel * 4 + 3], 0);      // alpha
    EXPECT_EQ(nullptr, SImage().GetPixels(nullptr, PixelFormat32bppARGB));
}

TEST(SImagePixels, PixelArrayAndPixelBuffersReadBack)
{
    const Gdiplus::ARGB colors[6] = {ARGB_RED, ARGB_GREEN, ARGB_BLUE, 0xFF102030, 0x80FFFFFF, 0};
    SImage image;
    image.SetBackgroundColor(C_BLUE);
    LoadImageFromPixelArray(&image, colors, 3, 2);
    ASSERT_EQ(3, image.GetWidth());
    EXPECT_EQ(8, image.GetDrawMode());
    EXPECT_EQ(SImage::COLOR_NONE, image.GetBackgroundColor());
    for (int i = 0; i < 6; i++)
    {
        Gdiplus::ARGB v = 1;
        ASSERT_TRUE(image.GetPixel(i % 3, i / 3, &v));
        EXPECT_EQ(colors[i], v) << i;
    }
    // SetPixels takes 32-bit RGB: the top byte does not count.
    const DWORD rows[6] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0, 0, 0x00FFFFFF};
    ASSERT_TRUE(image.SetPixels(rows));
    EXPECT_EQ(C_RED, PixelOf(image, 0, 0));
    Gdiplus::ARGB v = 0;
    ASSERT_TRUE(image.GetPixel(2, 1, &v));
    EXPECT_EQ(0xFFFFFFFFu, v);
}

TEST(SImageEdit, FiltersResizeAndFloodFill)
{
    SImage image;
    MakeBands(image, 10, {{10, 0x40FF0000}, {10, 0xC00000FF}});
    EXPECT_FALSE(image.Resize(20, 10));
    ASSERT_TRUE(image.SetAlpha(0x80, nullptr, true));
    Gdiplus::ARGB v = 0;
    image.GetPixel(2, 2, &v);
    EXPECT_EQ(0x40u, v >> 24);
    image.GetPixel(17, 2, &v);
    EXPECT_EQ(0x80u, v >> 24);
    ASSERT_TRUE(image.MakeOpaqueWhite());
    image.GetPixel(17, 2, &v);
    EXPECT_EQ(0xFFFFFFFFu, v);

    MakeBands(image, 10, {{10, ARGB_RED}, {2, ARGB_BLUE}, {10, ARGB_RED}});
    ASSERT_TRUE(image.FloodFill(2, 2, C_GREEN));
    EXPECT_EQ(C_GREEN, PixelOf(image, 9, 9));
    EXPECT_EQ(C_BLUE, PixelOf(image, 10, 5));
    EXPECT_EQ(C_RED, PixelOf(image, 15, 5));
    const Gdiplus::Rect left(0, 0, 10, 10);
    ASSERT_TRUE(image.ToGrayscale(&left));
    EXPECT_EQ(ColorToGray(C_GREEN), PixelOf(image, 3, 3));
    EXPECT_EQ(C_RED, PixelOf(image, 15, 5));
    ASSERT_TRUE(image.Resize(44, 5));
    EXPECT_EQ(44, image.GetWidth());
    EXPECT_EQ(C_RED, PixelOf(image, 40, 2));
}

TEST(SImageRead, CapturedDeviceBitmapIsOpaque)
{
    ImageCanvas canvas(30, 20, C_BLUE);
    SImage image;
    ASSERT_TRUE(image.CaptureFromDC(canvas.GetDC(), 5, 5, 10, 8));
    EXPECT_EQ(10, image.GetWidth());
    Gdiplus::ARGB v = 0;
    ASSERT_TRUE(image.GetPixel(3, 3, &v));
    EXPECT_EQ(0xFF0000FFu, v);
    SImage part;
    ASSERT_TRUE(part.CopyFrom(&image, 2, 0, 4, -1));
    EXPECT_EQ(4, part.GetWidth());
    EXPECT_EQ(8, part.GetHeight());
    SImage empty;
    EXPECT_FALSE(part.CopyFrom(&empty));
}

TEST(SImageEdit, ACloneGdiPlusRefusesKeepsThePicture)
{
    SImage image(6, 4), other(3, 3);
    ASSERT_TRUE(image.FillRectangle(nullptr, 0xFF102030) && image.SetPixel(5, 3, 0xFFFF0000));
    ASSERT_TRUE(other.FillRectangle(nullptr, 0xFF00FF00));
    const int before = image.GetPixelsSize(PixelFormat32bppARGB);
    std::vector<unsigned char> pixels(before), after(before);
    ASSERT_TRUE(image.GetPixels(pixels.data(), PixelFormat32bppARGB));
    // Outside the source, of no width, and from the picture itself.
    const int rects[][5] = {{0, 5, 5, 2, 2}, {0, 0, 0, 0, 2}, {1, 4, 0, 8, 2}};
    for (const auto& r : rects)
    {
        EXPECT_FALSE(image.CopyFrom(r[0] ? &image : &other, r[1], r[2], r[3], r[4])) << r[1];
        ASSERT_TRUE(image.GetPixels(after.data(), PixelFormat32bppARGB)) << r[1];
        EXPECT_EQ(pixels, after) << r[1];
    }
}

TEST(SImageEdit, ConvertingFillsTransparentPartsWithTheBackgroundColour)
{
    SImage image;
    MakeBands(image, 10, {{10, ARGB_RED}, {10, 0x00000000}});
    image.SetBackgroundColor(C_BLUE);
    image.SetDrawMode(8);
    ASSERT_TRUE(image.ConvertFormat(PixelFormat24bppRGB));
    EXPECT_EQ(24, image.GetBitsPerPixel());
    EXPECT_EQ(8, image.GetDrawMode());
    EXPECT_EQ(C_RED, PixelOf(image, 5, 5));
    EXPECT_EQ(C_BLUE, PixelOf(image, 15, 5));
    EXPECT_FALSE(image.SetAlpha(0)); // 32-bit pictures only
    EXPECT_TRUE(image.ToGrayscale());
}

// GIF, palette PNG and one-channel JPEG decode into palette bitmaps; whatever
// draws into such a picture makes it 32-bit ARGB first, colours kept.
TEST(SImageEdit, PaletteAndGreyPicturesAreDrawnIntoAs32BitArgb)
{
    using namespace palettepictures;
    const struct { const char* name; std::string bytes; Gdiplus::ARGB edge, a, b; int tolerance; } sources[] = {
        {"gif", Bytes(GIF), EDGE, A, B, 2},
        {"png8", Bytes(PNG8), EDGE, A, B, 2},
        {"png4", Bytes(PNG4), EDGE, A, B, 2},
        {"grey jpeg", Bytes(GREY_JPEG), GREY_EDGE, GREY_A, GREY_B, 6},
    };
    for (const auto& s : sources)
    {
        SCOPED_TRACE(s.name);
        SMemory memory;
        memory.Write(s.bytes.data(), static_cast<int>(s.bytes.size()));
        memory.SeekToStart();
        SImage picture, stretched, cropped, filled;
        ASSERT_TRUE(picture.Load(&memory, -1));
        ASSERT_LE(picture.GetBitsPerPixel(), 8);
        ASSERT_TRUE(stretched.CopyFrom(&picture) && stretched.Resize(150, 100));
        ASSERT_TRUE(cropped.CopyFrom(&picture) && cropped.ResizeCentered(40, 40));
        const Gdiplus::Rect corner(0, 0, 5, 5);
        ASSERT_TRUE(filled.CopyFrom(&picture) && filled.FillRectangle(&corner, 0xFF123456));
        const struct { const SImage* image; int x, y; Gdiplus::ARGB color; } probes[] = {
            {&stretched, 10, 50, s.edge}, {&stretched, 50, 50, s.a}, {&stretched, 100, 50, s.b},
            {&cropped, 10, 20, s.a},      {&cropped, 30, 20, s.b},
            {&filled, 2, 2, 0xFF123456},  {&filled, 40, 20, s.b},
        };
        for (const auto& p : probes)
        {
            Gdiplus::ARGB v = 0;
            EXPECT_EQ(32, p.image->GetBitsPerPixel());
            EXPECT_TRUE(p.image->GetPixel(p.x, p.y, &v));
            EXPECT_TRUE(NearArgb(v, p.color, s.tolerance)) << p.x << "," << p.y << ": " << std::hex << v;
        }
    }
}
