#include <gtest/gtest.h>
#include <cfloat>
#include <cstdarg>
#include <climits>
#include <cstring>
#include "SLanguageRecord.h"
#include "SString.h"

namespace
{
struct FormatProbe : SString
{
    int Capacity() const { return m_capacity; }
};

// Sets the current thousands separator for one test and puts the old one back.
class SeparatorScope
{
public:
    explicit SeparatorScope(char c) : m_old(GetLanguageRecord()->thousandsSeparator)
    {
        GetLanguageRecord()->thousandsSeparator = c;
    }
    ~SeparatorScope() { GetLanguageRecord()->thousandsSeparator = m_old; }

private:
    char m_old;
};

int CallFormatV(SString& s, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int n = s.FormatV(format, args);
    va_end(args);
    return n;
}
} // namespace

// ---- Format and its estimate -----------------------------------------------------------

TEST(SStringFormat, NullTextReservesSixCharacters)
{
    FormatProbe s;
    s.Format("%s", (const char*)nullptr);
    EXPECT_EQ(16, s.Capacity());
    EXPECT_STREQ("(null)", s.GetText());
}

TEST(SStringFormat, TextWidthAndPrecision)
{
    SString s;
    s.Format("%5.2s", "abcdef");
    EXPECT_STREQ("   ab", s.GetText());
    s.Format("%.*s|", 3, "abcdef");
    EXPECT_STREQ("abc|", s.GetText());
    s.Format("%-10s|", "ab");
    EXPECT_STREQ("ab        |", s.GetText());
    s.Format("%40s", "ab");
    EXPECT_EQ(40, s.GetLength());
}

TEST(SStringFormat, PrecisionBoundsTheMeasuredText)
{
    // Not NUL-terminated within reach: the precision must stop the measuring.
    const char raw[4] = {'w', 'x', 'y', 'z'};
    SString s;
    s.Format("%.4s", raw);
    EXPECT_STREQ("wxyz", s.GetText());
}

TEST(SStringFormat, PercentPercent)
{
    SString s;
    s.Format("%%d");
    EXPECT_STREQ("%d", s.GetText());
}

TEST(SStringFormat, IntegersWithWidthsAndStars)
{
    SString s;
    EXPECT_EQ(7, CallFormatV(s, "%5d|%s", 42, "x"));
    EXPECT_STREQ("   42|x", s.GetText());
    s.Format("%*d|%s", 5, 42, "x");
    EXPECT_STREQ("   42|x", s.GetText());
    s.Format("%-6d|", -7);
    EXPECT_STREQ("-7    |", s.GetText());
    s.Format("%#x %o %X %i %u", 255, 8, 0xAB, -3, 3000000000u);
    EXPECT_STREQ("0xff 10 AB -3 3000000000", s.GetText());
    s.Format("%50.40d", 1);
    EXPECT_EQ(50, s.GetLength());
}

TEST(SStringFormat, SixtyFourBitArgumentsKeepLaterArgumentsInPlace)
{
    SString s;
    s.Format("%I64x|%s|%d", 0x123456789ABCDEFULL, "t", 5);
    EXPECT_STREQ("123456789abcdef|t|5", s.GetText());
    s.Format("%I64d", -5LL);
    EXPECT_STREQ("-5", s.GetText());
}

TEST(SStringFormat, UnknownFloatingConversionStillTakesItsDouble)
{
    SString s;
    s.Format("%E|%s", 1.5, "tail");
    EXPECT_STREQ("tail", s.Right(4).GetText());
    EXPECT_EQ('1', s.GetAt(0));
    EXPECT_NE(-1, s.FindChar('E'));
}

TEST(SStringFormat, FloatingItems)
{
    SString s;
    s.Format("%.2f|%g|%e", 3.14159, 0.5, 100.0);
    EXPECT_STREQ("3.14|0.5", s.Left(8).GetText());
    s.Format("%f", -DBL_MAX);
    EXPECT_EQ(317, s.GetLength());
    EXPECT_STREQ(".000000", s.Right(7).GetText());
}

TEST(SStringFormat, FixedItemHonoursWidth)
{
    SString s;
    s.Format("%400f", 1.0);
    EXPECT_EQ(400, s.GetLength());
    EXPECT_STREQ("1.000000", s.Right(8).GetText());
}

TEST(SStringFormat, CharactersAndWideTexts)
{
    SString s;
    s.Format("%c%c|%3c", 'a', 'b', 'z');
    EXPECT_STREQ("ab|  z", s.GetText());
    s.Format("%ls|%S|%hs", L"wide", L"WIDE", "narrow");
    EXPECT_STREQ("wide|WIDE|narrow", s.GetText());
}

TEST(SStringFormat, PointerAndCount)
{
    SString s;
    int dummy = 0;
    s.Format("%p", (void*)&dummy);
    EXPECT_GE(s.GetLength(), 8);
}

TEST(SStringFormat, ResultBeyondEstimateIsCutAndEndsInBuffer)
{
    // A width on "%%" is not part of the estimate: the runtime's text is cut there,
    // and the NUL is stored even though the runtime writes none when the limit is full.
    SString s;
    s.Format("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
    s.Format("ab%5%");
    EXPECT_EQ(2, s.GetLength());
    EXPECT_STREQ("ab", s.GetText());
}

TEST(SStringFormat, EmptyAndNullFormats)
{
    SString s("old");
    EXPECT_EQ(0, CallFormatV(s, ""));
    EXPECT_STREQ("", s.GetText());
    s.Format(nullptr);
    EXPECT_STREQ("", s.GetText());
}

// ---- Numbers as text -------------------------------------------------------------------

TEST(SStringNumbers, IntegersSignedUnsignedAnd64Bit)
{
    SString s;
    EXPECT_STREQ("-2147483648", s.SetInt(INT_MIN).GetText());
    EXPECT_STREQ("4294967295", s.SetUInt(UINT_MAX).GetText());
    EXPECT_STREQ("18446744073709551615", s.SetUInt64(0xFFFFFFFFFFFFFFFFULL).GetText());
    EXPECT_STREQ("0", s.SetUInt64(0).GetText());
    EXPECT_STREQ("-7", IntToString(-7).GetText());
    EXPECT_STREQ("3000000000", UIntToString(3000000000u).GetText());
}

TEST(SStringNumbers, ThousandsWithComma)
{
    SeparatorScope comma(',');
    SString s;
    EXPECT_STREQ("0", s.FormatThousands(0).GetText());
    EXPECT_STREQ("-1,000", s.FormatThousands(-1000).GetText());
    EXPECT_STREQ("1,234,567", s.FormatThousands(1234567).GetText());
    EXPECT_STREQ("123,456", s.FormatThousands(123456).GetText());
    EXPECT_STREQ("-123", s.FormatThousands(-123).GetText());
    EXPECT_STREQ("-123,456", s.FormatThousands(-123456).GetText());
    EXPECT_STREQ("-2,147,483,648", s.FormatThousands(INT_MIN).GetText());
    EXPECT_STREQ("1,000", IntToGroupedString(1000).GetText());
}

TEST(SStringNumbers, ThousandsFollowTheLanguageRecord)
{
    {
        SeparatorScope none('\0');
        EXPECT_STREQ("1234567", IntToGroupedString(1234567).GetText());
    }
    {
        SeparatorScope blank(' ');
        EXPECT_STREQ("12 345", IntToGroupedString(12345).GetText());
    }
}

TEST(SStringNumbers, DefaultRecordGroupsWithComma)
{
    EXPECT_EQ(',', GetLanguageRecord()->thousandsSeparator);
    EXPECT_EQ('.', GetLanguageRecord()->decimalSeparator);
    EXPECT_STREQ("Sunday", GetLanguageRecord()->weekdayNames[0]);
    EXPECT_STREQ("D\xe9" "cembre", GetLanguageRecords()[2].monthNames[11]);
}

TEST(SStringNumbers, DoubleDropsTrailingZeros)
{
    SString s;
    EXPECT_STREQ("1.5", s.FormatDouble(1.5).GetText());
    EXPECT_STREQ("2", s.FormatDouble(2.0).GetText());
    EXPECT_STREQ("0.000001", s.FormatDouble(0.000001).GetText());
    EXPECT_STREQ("100.25", s.FormatDouble(100.25).GetText());
    EXPECT_STREQ("-0.5", s.FormatDouble(-0.5).GetText());
    EXPECT_STREQ("10", s.FormatDouble(10.0).GetText());
    EXPECT_STREQ("0", s.FormatDouble(0.0000001).GetText());
}

// ---- Caller's buffer -------------------------------------------------------------------

TEST(FormatToBuffer, ColourTexts)
{
    char buffer[16];
    std::memset(buffer, 'Q', sizeof buffer);
    EXPECT_EQ(7, FormatToBuffer(buffer, "#%.2x%.2x%.2x", 255, 0, 16));
    EXPECT_STREQ("#ff0010", buffer);
    EXPECT_EQ(9, FormatToBuffer(buffer, "#%.8x", 0xFF000000u));
    EXPECT_STREQ("#ff000000", buffer);
}

TEST(FormatToBuffer, LongResultIsCutWithinTenBytes)
{
    char buffer[16];
    std::memset(buffer, 'Q', sizeof buffer);
    FormatToBuffer(buffer, "%s", "0123456789abcdef");
    EXPECT_STREQ("012345678", buffer);
    EXPECT_EQ('Q', buffer[10]);
}

TEST(SStringFormat, OwnTextAsArgumentOrFormatIsReadBeforeItIsReplaced)
{
    SString s("abc");
    s.Reserve(100, true); // room enough that the buffer would be reused
    s.Format("[%s|%s]", s.GetText(), s.GetText());
    EXPECT_STREQ("[abc|abc]", s.GetText());

    SString f("%d-%d");
    f.Format(f.GetText(), 7, 8);
    EXPECT_STREQ("7-8", f.GetText());
}
