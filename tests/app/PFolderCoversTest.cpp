// A folder of many sub-folders with covers of every kind (none, PNG, JPEG, a
// palette GIF, a broken file, a cover named in the settings and kept in the
// root): its folder list, thumbnails and "101" block, pixel for pixel and byte
// for byte as each folder's cover made alone by the cover look-up gives them.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "PSharedLibrary.h"
#include "PalettePictures.h"
#include "SFile.h"
#include "SImageList.h"

using namespace apptest;

namespace
{
const int FOLDERS = 36;
const char* const KINDS[] = {"none", "png", "jpeg", "gif", "broken", "named"};

std::string Picture(int format)
{
    SImage picture;
    SMemory bytes;
    if (!picture.Create(24, 20) || !picture.Clear(RGB(40, 160, 90)) || !picture.FillRectangle(nullptr, 0x80FF2010) ||
        !picture.Save(format, &bytes))
        return "";
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
}

// Lib\F00..F35: the kind cycles; every third holds a folder, every fifth is hidden.
void WriteLibrary(const TempFolder& root)
{
    const std::string png = Picture(SImage::FORMAT_PNG), jpeg = Picture(SImage::FORMAT_JPEG);
    const std::string gif(reinterpret_cast<const char*>(palettepictures::GIF), sizeof(palettepictures::GIF));
    for (int i = 0; i < FOLDERS; ++i)
    {
        char name[8];
        std::snprintf(name, sizeof(name), "F%02d", i);
        const std::string folder = std::string("Lib\\") + name;
        ASSERT_TRUE(root.WriteFile(folder + "\\a.mp3", ""));
        if (i % 3 == 0)
        {
            ASSERT_TRUE(root.WriteFile(folder + "\\Inner\\b.mp3", ""));
        }
        if (i % 5 == 4)
            SetFileAttributesA((root.Path() + folder).c_str(), FILE_ATTRIBUTE_HIDDEN);
        const std::string kind = KINDS[i % 6];
        const std::string beside = kind == "named" ? name : folder;
        const std::string file = kind == "jpeg" ? beside + ".jpg" : beside + ".png";
        const std::string bytes = kind == "png" || kind == "named" ? png : kind == "jpeg" ? jpeg : kind == "gif" ? gif
                                  : kind == "broken" ? std::string("\x89PNG\r\n\x1a\n broken") : "";
        if (!bytes.empty())
        {
            ASSERT_TRUE(root.WriteFile(file, bytes));
        }
    }
}

std::string Pixels(const SImage& image)
{
    std::string bytes(static_cast<size_t>(image.GetPixelsSize(PixelFormat32bppARGB)), '\0');
    if (bytes.empty() || !image.GetPixels(&bytes[0], PixelFormat32bppARGB))
        return "<none>";
    return bytes;
}

std::string Bits(HBITMAP bitmap)
{
    DIBSECTION dib = {};
    if (!bitmap || GetObject(bitmap, sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits)
        return "<none>";
    return std::string(static_cast<const char*>(dib.dsBm.bmBits), static_cast<size_t>(dib.dsBm.bmWidthBytes) * dib.dsBm.bmHeight);
}

// The list's picture as an image list holding only that one gives it back.
std::string Icon(const SImage& small)
{
    SImageList list;
    list.Create(16, 16, ILC_COLOR32);
    ImageList_SetImageCount(list.GetHandle(), 1);
    SGdiObjectGuard<HBITMAP> bitmap(small.GetHBITMAP());
    ImageList_Replace(list.GetHandle(), 0, bitmap.Get(), nullptr);
    SImage back;
    return back.LoadFromImageList(list.GetHandle(), 0) ? Pixels(back) : "<none>";
}
}

TEST(PFolderCoversTest, FolderListThumbnailsAndServedBlockMatchEachCoverMadeAlone)
{
    SettingsKey settings;
    TempFolder root;
    WriteLibrary(root);
    settings.SetText("Folder", root.Path());
    settings.SetText("Images", "Nothing;F05;F11");
    AppWindow window;
    PWndApp& app = window.App();
    ASSERT_TRUE(app.OpenFolder("Lib", "", false));
    ASSERT_EQ(FOLDERS, app.GetFolderList().GetCount());
    ASSERT_EQ(FOLDERS, app.GetThumbs().GetCount());
    std::string names, flags, pictures;
    for (int i = 0; i < FOLDERS; ++i)
    {
        char name[8];
        std::snprintf(name, sizeof(name), "F%02d", i);
        SCOPED_TRACE(name);
        const std::string folder = root.Path() + "Lib\\" + name + "\\";
        SImage large, small, served;
        app.LoadFolderCover(&large, folder.c_str(), false);
        app.LoadFolderCover(&small, folder.c_str(), false);
        small.Resize(16, 16);
        const bool opens = i % 3 == 0;
        EXPECT_EQ(name, std::string(app.GetFolderList().GetItemText(i).GetText()));
        EXPECT_EQ(i + 1, app.GetFolderList().GetItemRecord(i)->image);
        EXPECT_EQ(opens ? 0 : -1, app.GetFolderList().GetItemSecondImage(i));
        EXPECT_EQ(name, std::string(app.GetThumbs().GetName(i).GetText()));
        EXPECT_EQ(!opens, app.GetThumbs().IsLeaf(i));
        SGdiObjectGuard<HBITMAP> thumbnail(PWndThumbs::MakeBitmap(large));
        EXPECT_TRUE(Bits(thumbnail.Get()) == Bits(app.GetThumbs().GetBitmap(i)));
        SImage icon;
        ASSERT_TRUE(icon.LoadFromImageList(app.GetFolderCovers().GetHandle(), i + 1));
        EXPECT_TRUE(Icon(small) == Pixels(icon));
        if (i % 5 == 4)
            continue;
        names += std::string(name) + "|";
        flags += opens ? "1" : "0";
        app.LoadFolderCover(&served, folder.c_str(), true);
        const std::string pixels = Pixels(served);
        pictures += pixels.size() == 1024 ? pixels : std::string(1024, '\xFF');
    }
    PSharedLibrary library;
    library.Update(SString(root.Path().c_str()), app.GetCoverNames(), PSettings::_SServer());
    SMemory block;
    ASSERT_TRUE(library.BuildFolders("Lib\\", &block));
    const std::string expected = std::string("Lib\\") + '\0' + names + '\0' + flags + '\0' + pictures;
    EXPECT_TRUE(expected == std::string(reinterpret_cast<const char*>(block.GetData()), block.GetSize()))
        << block.GetSize() << " bytes, " << expected.size() << " expected";
}
