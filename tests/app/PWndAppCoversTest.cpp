// Folder covers: which picture beside a folder wins, the 150 x 150 cover made
// opaque on white, the folder list's 16 x 16 picture shrunk from it, and
// palette and grey pictures at every size the program makes of a cover.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "PBookPictures.h"
#include "PalettePictures.h"
#include "SFile.h"

using namespace apptest;

namespace
{
bool WritePicture(const std::string& path, COLORREF color, BYTE alpha, int format)
{
    SImage picture;
    if (!picture.Create(40, 40) || !picture.Clear(color) || !picture.SetAlpha(alpha))
        return false;
    SFile file;
    return file.Open(path.c_str(), true, true, false) && picture.Save(format, &file);
}

// Within a few steps of each channel: JPEG keeps a flat colour only nearly.
bool Near(Gdiplus::ARGB pixel, Gdiplus::ARGB expected, int tolerance = 8)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}
}

TEST(PWndAppCoversTest, PngBeforeJpgBrokenPngFallsThroughTranslucentBecomesWhite)
{
    SettingsKey settings;
    TempFolder root;
    const struct
    {
        const char* folder;
        bool png, brokenPng, jpg;
        BYTE alpha;
        Gdiplus::ARGB expected;
    } cases[] = {
        {"Both", true, false, true, 255, 0xFFFF0000},     // the ".png" (red) over the ".jpg" (blue)
        {"Broken", false, true, true, 255, 0xFF0000FF},   // an unreadable ".png": the ".jpg"
        {"Glass", true, false, false, 128, 0xFFFFFFFF},   // translucent pixels become white
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(root.WriteFile(std::string(c.folder) + "\\Album\\a.mp3", ""));
        const std::string base = root.Path() + c.folder;
        EXPECT_TRUE(!c.png || WritePicture(base + ".png", RGB(255, 0, 0), c.alpha, SImage::FORMAT_PNG));
        EXPECT_TRUE(!c.brokenPng || root.WriteFile(std::string(c.folder) + ".png", "\x89PNG\r\n\x1a\n not a picture"));
        EXPECT_TRUE(!c.jpg || WritePicture(base + ".jpg", RGB(0, 0, 255), 255, SImage::FORMAT_JPEG));
    }
    settings.SetText("Folder", root.Path());
    AppWindow window;
    PWndApp& app = window.App();
    ASSERT_EQ(3, app.GetFolderList().GetCount());
    ASSERT_EQ(3, app.GetThumbs().GetCount());
    for (const auto& c : cases)
    {
        SImage cover;
        app.LoadFolderCover(&cover, (root.Path() + c.folder + "\\").c_str(), false);
        EXPECT_EQ(150, cover.GetWidth());
        EXPECT_EQ(150, cover.GetHeight());
        Gdiplus::ARGB pixel = 0;
        cover.GetPixel(75, 75, &pixel);
        EXPECT_TRUE(Near(pixel, c.expected)) << c.folder << " " << std::hex << pixel;
        // The list's picture is the whitened cover shrunk, in list order.
        const int item = app.GetFolderList().SelectItemByText(c.folder, true);
        SImage small;
        ASSERT_TRUE(small.LoadFromImageList(app.GetFolderCovers().GetHandle(), item + 1)) << c.folder;
        EXPECT_EQ(16, small.GetWidth());
        small.GetPixel(8, 8, &pixel);
        EXPECT_TRUE(Near(pixel, c.expected)) << c.folder << " list " << std::hex << pixel;
    }
}

// GIF, palette PNG and one-channel JPEG covers decode into palette bitmaps;
// the cover, the list icon, the book's JPEG and the sharing server's 16 x 16
// pixels all come out whole and in the picture's own colours.
TEST(PWndAppCoversTest, PaletteAndGreyCoversKeepTheirColoursAtEverySize)
{
    using namespace palettepictures;
    SettingsKey settings;
    TempFolder root;
    const struct
    {
        const char* folder;
        const char* file; // found by its name, decoded by its content
        std::string bytes;
        Gdiplus::ARGB a, b;
    } cases[] = {
        {"Gif", "Gif.png", Bytes(GIF), A, B},
        {"Palette", "Palette.png", Bytes(PNG8), A, B},
        {"Grey", "Grey.jpg", Bytes(GREY_JPEG), GREY_A, GREY_B},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(root.WriteFile(std::string(c.folder) + "\\a.mp3", "") && root.WriteFile(c.file, c.bytes));
    settings.SetText("Folder", root.Path());
    AppWindow window;
    PWndApp& app = window.App();
    PBookPictures book;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.folder);
        const std::string folder = root.Path() + c.folder + "\\";
        SImage cover, icon, bookCover, shared;
        app.LoadFolderCover(&cover, folder.c_str(), false);
        const int item = app.GetFolderList().SelectItemByText(c.folder, true);
        ASSERT_TRUE(icon.LoadFromImageList(app.GetFolderCovers().GetHandle(), item + 1));
        app.LoadFolderCover(&bookCover, folder.c_str(), false);
        ASSERT_TRUE(book.WriteCover(bookCover, (root.Path() + c.folder + ".book.jpg").c_str()));
        SFile written;
        ASSERT_TRUE(written.Open((root.Path() + c.folder + ".book.jpg").c_str(), false, false, true) &&
                    bookCover.Load(&written));
        app.LoadFolderCover(&shared, folder.c_str(), true);
        EXPECT_EQ(1024, shared.GetPixelsSize(PixelFormat32bppARGB));
        // Stretched whole: colour A at a third of the width, B at two thirds.
        // A JPEG of 32 x 32 keeps saturated colours only roughly.
        const struct { const SImage* image; int side, tolerance; } results[] = {
            {&cover, 150, 8}, {&icon, 16, 8}, {&bookCover, 32, 40}, {&shared, 16, 8},
        };
        for (const auto& r : results)
        {
            ASSERT_EQ(r.side, r.image->GetWidth());
            ASSERT_EQ(r.side, r.image->GetHeight());
            Gdiplus::ARGB left = 0, right = 0;
            r.image->GetPixel(r.side / 3, r.side / 2, &left);
            r.image->GetPixel(r.side * 2 / 3, r.side / 2, &right);
            EXPECT_TRUE(Near(left, c.a, r.tolerance) && Near(right, c.b, r.tolerance))
                << r.side << ": " << std::hex << left << " " << right;
        }
    }
}
