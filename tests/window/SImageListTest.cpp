#include <gtest/gtest.h>
#include "ImageCanvas.h"
#include "SImageList.h"
#include "SMemory.h"

TEST(SImageList, StripWithCellsBelowOneMakesSixteenPixelIcons)
{
    SImage strip;
    MakeBands(strip, 16, {{16, ARGB_RED}, {16, ARGB_GREEN}, {16, ARGB_BLUE}, {16, ARGB_RED}});
    SImageList list;
    ASSERT_TRUE(list.CreateFromStrip(&strip, 0, -3));
    EXPECT_EQ(4, ImageList_GetImageCount(list.GetHandle()));
    EXPECT_EQ(16, list.GetIconSize().cx);
    EXPECT_EQ(16, list.GetIconSize().cy);
    const COLORREF expected[4] = {C_RED, C_GREEN, C_BLUE, C_RED};
    for (int i = 0; i < 4; i++)
    {
        SImage icon;
        ASSERT_TRUE(icon.LoadFromImageList(list.GetHandle(), i));
        EXPECT_EQ(16, icon.GetWidth());
        Gdiplus::ARGB v = 0;
        ASSERT_TRUE(icon.GetPixel(8, 8, &v));
        EXPECT_EQ(expected[i], RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF)) << i;
    }
    SImage whole;
    ASSERT_TRUE(whole.LoadFromImageList(list.GetHandle(), -1));
    EXPECT_GE(whole.GetWidth() * whole.GetHeight(), 4 * 16 * 16);
    EXPECT_FALSE(whole.LoadFromImageList(list.GetHandle(), 4));
    EXPECT_FALSE(list.CreateFromStrip(&strip, 100, 16)); // no whole column
}

TEST(SImageList, LargerPicturesAreShrunkToTheIconSize)
{
    SImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32));
    SImage big;
    MakeBands(big, 32, {{32, ARGB_BLUE}});
    ASSERT_TRUE(list.AddImage(&big));
    SMemory png;
    ASSERT_TRUE(big.Save(SImage::FORMAT_PNG, &png));
    png.SeekToStart();
    ASSERT_TRUE(list.AddFromStream(&png));
    EXPECT_EQ(2, ImageList_GetImageCount(list.GetHandle()));
    SImage icon;
    ASSERT_TRUE(icon.LoadFromImageList(list.GetHandle(), 1));
    EXPECT_EQ(16, icon.GetWidth());
    EXPECT_EQ(16, icon.GetHeight());
    Gdiplus::ARGB v = 0;
    ASSERT_TRUE(icon.GetPixel(8, 8, &v));
    EXPECT_EQ(0xFFu, v & 0xFFFFFF);
    ASSERT_TRUE(list.RemoveAll());
    EXPECT_EQ(0, ImageList_GetImageCount(list.GetHandle()));
    ASSERT_TRUE(list.Destroy());
    EXPECT_FALSE(list.AddImage(&big));
    EXPECT_EQ(0, list.GetIconSize().cx);
}
