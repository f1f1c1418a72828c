#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "SSelector.h"

TEST(SSelector, ColorFlags)
{
    struct Case { COLORREF initial; bool full, prevent, any; DWORD flags; };
    const Case cases[] = {
        {0xFF000000, false, false, false, CC_SOLIDCOLOR},
        {0x00FFFFFF, false, false, false, CC_RGBINIT | CC_SOLIDCOLOR},
        {0, true, false, true, CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR},
        {0x01000000, false, true, false, CC_PREVENTFULLOPEN | CC_SOLIDCOLOR},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.flags, SSelector::GetColorFlags(c.initial, c.full, c.prevent, c.any)) << c.initial;
}

TEST(SSelector, FontResultGivesPointsAndStyleBits)
{
    LOGFONTA font = {};
    font.lfWeight = FW_BOLD;
    font.lfItalic = TRUE;
    int size = 0, style = 0;
    SSelector::ReadFontResult(&font, 125, &size, &style);
    EXPECT_EQ(12, size);
    EXPECT_EQ(3, style);
}

TEST(SSelector, FilterTextAndIndex)
{
    SArrayString filters;
    filters.Add("Images|*.png;*.jpg;*.jpeg;*.gif;*.bmp");
    const SString text = SSelector::BuildFilterText(&filters);
    const std::string expected("Images\0*.png;*.jpg;*.jpeg;*.gif;*.bmp\0\0", 39);
    ASSERT_EQ(int(expected.size()), text.GetLength());
    EXPECT_EQ(expected, std::string(text.GetText(), text.GetLength()));
    EXPECT_EQ(1, SSelector::GetFilterIndex(&filters, 0));
    EXPECT_EQ(1, SSelector::GetFilterIndex(&filters, 5));
    EXPECT_EQ(1, SSelector::GetFilterIndex(nullptr, 0));
    EXPECT_EQ(0, SSelector::BuildFilterText(nullptr).GetLength());
}

TEST(SSelector, SelectionSplitsIntoFullPaths)
{
    struct Case { std::string buffer; bool multiple; std::vector<std::string> paths; };
    const Case cases[] = {
        {std::string("D:\\Music\0a\0b\0\0", 15), true, {"D:\\Music\\a", "D:\\Music\\b"}},
        {std::string("D:\\Music\\one.mp3\0\0", 18), true, {"D:\\Music\\one.mp3"}},
        {std::string("D:\\\0a\0\0", 7), true, {"D:\\a"}},
        {std::string("D:\\x.mp3\0", 9), false, {"D:\\x.mp3"}},
        {std::string("\0\0", 2), true, {}},
    };
    for (const Case& c : cases)
    {
        SArrayString out;
        EXPECT_EQ(int(c.paths.size()), SSelector::SplitSelection(c.buffer.data(), int(c.buffer.size()), c.multiple, &out));
        ASSERT_EQ(int(c.paths.size()), out.GetCount());
        for (size_t i = 0; i < c.paths.size(); i++)
            EXPECT_STREQ(c.paths[i].c_str(), out.GetAt(int(i)).GetText());
    }
}

TEST(SSelector, FolderResultKeepsOneSeparator)
{
    EXPECT_STREQ("D:\\", SSelector::GetFolderResult("D:\\", true).GetText());
    EXPECT_STREQ("D:\\Music\\", SSelector::GetFolderResult("D:\\Music", true).GetText());
    EXPECT_STREQ("D:\\Music", SSelector::GetFolderResult("D:\\Music", false).GetText());
    EXPECT_STREQ("", SSelector::GetFolderResult("", true).GetText());
}
