#include <gtest/gtest.h>
#include "SDrawing.h"
#include "SGuards.h"

TEST(SDrawingColor, ParseHtmlColorReadsRgbAndArgbForms)
{
    EXPECT_EQ(0x000080FFu, ParseHtmlColor("#FF8000"));
    EXPECT_EQ(0x80FF8000u, ParseHtmlColor("#80FF8000"));
    EXPECT_EQ(0x000080FFu, ParseHtmlColor("#ff8000"));
    EXPECT_EQ(0u, ParseHtmlColor("FF8000"));
    EXPECT_EQ(0u, ParseHtmlColor(""));
    EXPECT_EQ(0u, ParseHtmlColor(nullptr));
}

TEST(SDrawingColor, FormatHtmlColorWritesCapitals)
{
    EXPECT_STREQ("#FF0000", FormatHtmlColor(0x0000FF).GetText());
    EXPECT_STREQ("#80FF8000", FormatHtmlColor(0x80FF8000).GetText());
    EXPECT_STREQ("#0A0B0C", FormatHtmlColor(RGB(10, 11, 12)).GetText());
}

TEST(SDrawingColor, ColorToGrayUsesLuma)
{
    EXPECT_EQ(RGB(76, 76, 76), ColorToGray(RGB(255, 0, 0)));
    EXPECT_EQ(RGB(255, 255, 255), ColorToGray(RGB(255, 255, 255)));
    EXPECT_EQ(RGB(0, 0, 0), ColorToGray(0));
}

TEST(SDrawingNames, ValidNamesFollowTheIdentifierRules)
{
    EXPECT_TRUE(IsValidName("a_1"));
    EXPECT_TRUE(IsValidName("x"));
    EXPECT_FALSE(IsValidName("name_"));
    EXPECT_FALSE(IsValidName("1abc"));
    EXPECT_FALSE(IsValidName("__"));
    EXPECT_FALSE(IsValidName(""));
    EXPECT_FALSE(IsValidName("a-b"));
}

TEST(SDrawingNames, UpperCaseNamesNeedALetterAndNoLowerCase)
{
    EXPECT_TRUE(IsUpperCaseName("MAX_SIZE2"));
    EXPECT_FALSE(IsUpperCaseName("Max"));
    EXPECT_FALSE(IsUpperCaseName("_1"));
    EXPECT_FALSE(IsUpperCaseName("A_"));
    EXPECT_FALSE(IsUpperCaseName("9A"));
}

TEST(SDrawingNames, AccentedLatinLettersCount)
{
    EXPECT_TRUE(IsLetterOrAccented('z'));
    EXPECT_TRUE(IsLetterOrAccented('\xE9'));
    EXPECT_TRUE(IsLetterOrAccented('\xC7'));
    EXPECT_FALSE(IsLetterOrAccented('\xD7'));  // multiplication sign
    EXPECT_FALSE(IsLetterOrAccented('\xF7'));  // division sign
    EXPECT_FALSE(IsLetterOrAccented('1'));
    EXPECT_TRUE(IsNameChar('_'));
    EXPECT_FALSE(IsNameChar('\xE9'));
}

TEST(SDrawingGeometry, FitRectCentresASquareInAWideBox)
{
    const RECT r = FitRectKeepingAspect(0, 0, 200, 100, 50, 50);
    EXPECT_EQ(50, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(150, r.right);
    EXPECT_EQ(100, r.bottom);
}

TEST(SDrawingGeometry, FitRectCentresAWideImageInATallBox)
{
    const RECT r = FitRectKeepingAspect(10, 10, 110, 310, 200, 100);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(110, r.right);
    EXPECT_EQ(10 + 150 - 25, r.top);
    EXPECT_EQ(r.top + 50, r.bottom);
}

TEST(SDrawingGeometry, FitRectOfAnImageWithoutWidthIsAnEmptyCentreLine)
{
    const RECT r = FitRectKeepingAspect(0, 0, 200, 100, 0, 80);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(100, r.right);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(100, r.bottom);
}

TEST(SDrawingGeometry, RectFromGdiplusRectAddsTheSize)
{
    const RECT r = RectFromGdiplusRect(Gdiplus::Rect(3, 4, 10, 20));
    EXPECT_EQ(3, r.left);
    EXPECT_EQ(4, r.top);
    EXPECT_EQ(13, r.right);
    EXPECT_EQ(24, r.bottom);
}

TEST(SDrawingNumbers, LinearIndexCombinesIndexesWithMultipliers)
{
    EXPECT_EQ(7, LinearIndex(1, 7));
    EXPECT_EQ(2 + 3 * 10, LinearIndex(2, 10, 2, 3));
    EXPECT_EQ(1 + 2 * 4 + 3 * 20, LinearIndex(3, 4, 20, 1, 2, 3));
    EXPECT_EQ(-1, LinearIndex(0));
}

TEST(SDrawingNumbers, RandomInRangeStaysBelowN)
{
    for (int i = 0; i < 1000; i++)
    {
        const int r = RandomInRange(6);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 6);
    }
}

TEST(SDrawingFonts, StyleBitsRoundTripThroughLogFont)
{
    LOGFONTA font;
    FillLogFont(&font, "Tahoma", 10, SFONT_BOLD | SFONT_UNDERLINE);
    EXPECT_STREQ("Tahoma", font.lfFaceName);
    EXPECT_EQ(700, font.lfWeight);
    EXPECT_EQ(PointSizeToFontHeight(10, nullptr), font.lfHeight);
    EXPECT_LT(font.lfHeight, 0);
    EXPECT_EQ(SFONT_BOLD | SFONT_UNDERLINE, GetLogFontStyleFlags(&font));
    font.lfWeight = 600;
    EXPECT_EQ(SFONT_UNDERLINE, GetLogFontStyleFlags(&font));
}

TEST(SDrawingFonts, LongFaceNameIsCut)
{
    LOGFONTA font;
    FillLogFont(&font, "A face name that is much longer than thirty one characters", 9, 0);
    EXPECT_EQ(31u, strlen(font.lfFaceName));
}

TEST(SDrawingFonts, CreatedFontCarriesItsStyle)
{
    int height = 0;
    SGdiObjectGuard<HFONT> font(CreateFontFromPoints(nullptr, "Tahoma", 12, SFONT_ITALIC | SFONT_STRIKEOUT, &height));
    ASSERT_NE(nullptr, font.Get());
    EXPECT_EQ(PointSizeToFontHeight(12, nullptr), height);
    LOGFONTA info;
    ASSERT_TRUE(GetObjectA(font.Get(), sizeof(info), &info));
    EXPECT_EQ(SFONT_ITALIC | SFONT_STRIKEOUT, GetLogFontStyleFlags(&info));
    const SIZE size = GetFontCharSize(font.Get());
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
}

TEST(SDrawingFonts, TwipsFollowTheScreenResolution)
{
    SWindowDCGuard screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    EXPECT_EQ(dpi * 1440 / dpi, PixelsToTwips(dpi, false));
}

TEST(SDrawingPaint, GradientStartsWithTheFirstColour)
{
    SWindowDCGuard screen(nullptr);
    SMemoryDCGuard dc(screen.Get());
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 100, 10));
    SSelectGuard select(dc.Get(), bitmap.Get());
    RECT r = {0, 0, 100, 10};
    ASSERT_TRUE(DrawGradientRect(dc.Get(), &r, RGB(255, 0, 0), RGB(0, 0, 255), false));
    const COLORREF left = GetPixel(dc.Get(), 0, 5), right = GetPixel(dc.Get(), 99, 5);
    EXPECT_GT(GetRValue(left), 240);
    EXPECT_LT(GetBValue(left), 15);
    EXPECT_GT(GetBValue(right), 240);
    EXPECT_LT(GetRValue(right), 15);
}

TEST(SDrawingPaint, OutlineDrawsOnlyTheBorder)
{
    SWindowDCGuard screen(nullptr);
    SMemoryDCGuard dc(screen.Get());
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 20, 20));
    SSelectGuard select(dc.Get(), bitmap.Get());
    RECT all = {0, 0, 20, 20};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SGdiObjectGuard<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    RECT r = {2, 2, 18, 18};
    DrawRectOutline(dc.Get(), &r, pen.Get());
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc.Get(), 2, 10));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc.Get(), 10, 10));
    DrawLineWithPen(dc.Get(), 5, 9, 15, 9, pen.Get());
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc.Get(), 10, 9));
}
