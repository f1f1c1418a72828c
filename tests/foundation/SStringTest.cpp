#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "SString.h"
#include "StringProbe.h"

// ---- Storage and construction ----------------------------------------------------------

TEST(SStringReserve, CapacityGrowsToTheMultipleOf16AboveLengthPlusOne)
{
    const int lengths[] = {0, 14, 15, 16, 31};
    const int capacities[] = {16, 16, 32, 32, 48};
    for (int i = 0; i < 5; i++)
    {
        StringProbe s;
        s.Reserve(lengths[i], false);
        EXPECT_EQ(capacities[i], s.Capacity()) << lengths[i];
        EXPECT_EQ(lengths[i], s.GetLength());
        EXPECT_EQ(0, s.GetText()[lengths[i]]);
    }
}

TEST(SStringReserve, NeverShrinksAndKeepsContentWhenAsked)
{
    StringProbe s("abcdefghijklmnopqrstuvwxyz");
    s.Reserve(3, true);
    EXPECT_EQ(32, s.Capacity());
    EXPECT_STREQ("abc", s.GetText());
    s.Reserve(30, true);
    EXPECT_EQ(32, s.Capacity());
    s = "0123456789abcde";
    s.Reserve(60, true);
    EXPECT_EQ(64, s.Capacity());
    EXPECT_EQ(0, std::memcmp(s.GetText(), "0123456789abcde", 15));
}

TEST(SStringReserve, NegativeLengthLeavesValidEmptyText)
{
    SString s("abc");
    s.Reserve(-5, true);
    EXPECT_EQ(0, s.GetLength());
    ASSERT_NE(nullptr, s.GetText());
    EXPECT_STREQ("", s.GetText());
    SString fresh;
    fresh.Reserve(-1, false);
    EXPECT_STREQ("", fresh.GetText());
}

TEST(SStringConstruct, DefaultHasNoBufferAndReadsAsEmpty)
{
    SString s;
    EXPECT_EQ(nullptr, s.GetText());
    EXPECT_EQ(0, s.GetLength());
    EXPECT_EQ(0, s.GetAt(0));
    EXPECT_EQ(0, s.Compare(""));
    EXPECT_TRUE(s == "");
    SString copy(s);
    ASSERT_NE(nullptr, copy.GetText());
    EXPECT_STREQ("", copy.GetText());
    SString assigned("x");
    assigned = s;
    EXPECT_STREQ("", assigned.GetText());
}

TEST(SStringConstruct, FromNullTextGivesEmptyTextWithBuffer)
{
    SString s((const char*)nullptr);
    ASSERT_NE(nullptr, s.GetText());
    EXPECT_EQ(0, s.GetLength());
    SString w((const wchar_t*)nullptr);
    ASSERT_NE(nullptr, w.GetText());
    EXPECT_EQ(0, w.GetLength());
}

TEST(SStringConstruct, CountGivesSpaces)
{
    EXPECT_STREQ("   ", SString(3).GetText());
    EXPECT_STREQ("", SString(0).GetText());
    EXPECT_STREQ("", SString(-4).GetText());
}

TEST(SStringAssign, WideTextConverts)
{
    SString s(L"abc");
    EXPECT_STREQ("abc", s.GetText());
    EXPECT_EQ(3, s.GetLength());
    s = L"\x00e9t\x00e9";
    EXPECT_STREQ("\xe9t\xe9", s.GetText());
}

TEST(SStringAssign, WideTextThatConvertsToNothingLeavesEmptyText)
{
    SString s("previous text");
    s = L"";
    EXPECT_EQ(0, s.GetLength());
    EXPECT_STREQ("", s.GetText());
    s = (const wchar_t*)nullptr;
    EXPECT_STREQ("", s.GetText());
}

TEST(SStringAssign, ExplicitCountKeepsEmbeddedNul)
{
    SString s;
    s.Assign("ab\0cd", 5);
    EXPECT_EQ(5, s.GetLength());
    EXPECT_EQ('d', s.GetAt(4));
    EXPECT_EQ(0, s.GetText()[5]);
    EXPECT_STREQ("ab", s.SetText("abc", 2).GetText());
}

TEST(SStringAssign, FromOwnTextIsSafe)
{
    SString s("0123456789");
    s = s.GetText() + 4;
    EXPECT_STREQ("456789", s.GetText());
    s = s;
    EXPECT_STREQ("456789", s.GetText());
}

TEST(SStringAssign, CharAssignment)
{
    SString s("abc");
    s = 'x';
    EXPECT_STREQ("x", s.GetText());
    s = '\0';
    EXPECT_EQ(0, s.GetLength());
}

TEST(SStringAssign, SetLengthFillsNewCharacters)
{
    SString s("ab");
    s.SetLength(5, '-');
    EXPECT_STREQ("ab---", s.GetText());
    s.SetLength(1, '-');
    EXPECT_STREQ("a", s.GetText());
}

TEST(SStringAssign, FreeBufferReturnsToNoBuffer)
{
    StringProbe s("abc");
    s.FreeBuffer();
    EXPECT_EQ(nullptr, s.GetText());
    EXPECT_EQ(0, s.Capacity());
    s = "x";
    EXPECT_STREQ("x", s.GetText());
}

// ---- Access ----------------------------------------------------------------------------

TEST(SStringAccess, SetAtNulTruncates)
{
    SString s("abcdef");
    s.SetAt(2, 0);
    EXPECT_EQ(2, s.GetLength());
    EXPECT_STREQ("ab", s.GetText());
    s.SetAt(5, 'x');
    EXPECT_STREQ("ab", s.GetText());
    s.SetAt(-1, 'x');
    EXPECT_STREQ("ab", s.GetText());
}

TEST(SStringAccess, GetAtOutsideGivesNul)
{
    SString s("ab");
    EXPECT_EQ('b', s.GetAt(1));
    EXPECT_EQ(0, s.GetAt(2));
    EXPECT_EQ(0, s.GetAt(-1));
}

TEST(SStringAccess, TruncateOnlyInsideText)
{
    SString s("abcdef");
    s.Truncate(6);
    EXPECT_STREQ("abcdef", s.GetText());
    s.Truncate(3);
    EXPECT_STREQ("abc", s.GetText());
    s.Truncate(-1);
    EXPECT_STREQ("abc", s.GetText());
}

TEST(SStringAccess, CountsCharactersAndLines)
{
    EXPECT_EQ(3, SString("a,b,,c").CountChar(','));
    EXPECT_EQ(3, SString("a\r\nb\r\nc").GetLineCount());
    EXPECT_EQ(1, SString("a\nb\rc").GetLineCount());
    EXPECT_EQ(2, SString("a\r\r\nb").GetLineCount());
    EXPECT_EQ(1, SString().GetLineCount());
}

// ---- Comparison ------------------------------------------------------------------------

TEST(SStringCompare, ResultsAreSigns)
{
    EXPECT_EQ(-1, SString("abc").Compare("abd"));
    EXPECT_EQ(1, SString("b").Compare("abc"));
    EXPECT_EQ(0, SString("abc").Compare("abc"));
    EXPECT_EQ(1, SString("a").Compare("A"));
    EXPECT_EQ(0, SString("HeLLo").CompareNoCase("hello"));
    EXPECT_EQ(-1, SString("apple").CompareNoCase("B"));
    EXPECT_TRUE(SString("x") != "y");
    EXPECT_FALSE(SString("x") != "x");
}

// ---- Search ----------------------------------------------------------------------------

TEST(SStringFind, EmptyTextIsNotFound)
{
    EXPECT_EQ(-1, SString("abc").Find(""));
    EXPECT_EQ(-1, SString("abc").Find(nullptr));
}

TEST(SStringFind, AfterGivesIndexPastMatch)
{
    SString s("abcdef");
    EXPECT_EQ(4, s.Find("cd", 0, -1, true));
    EXPECT_EQ(2, s.Find("cd"));
}

TEST(SStringFind, OnlyPositionsWhereTextFitsInRange)
{
    SString s("abcdef");
    EXPECT_EQ(-1, s.Find("cd", 0, 3));
    EXPECT_EQ(2, s.Find("cd", 0, 4));
    EXPECT_EQ(-1, s.Find("ab", 1));
    EXPECT_EQ(0, s.Find("ab", -3));
    EXPECT_EQ(-1, s.Find("f", 6));
    EXPECT_EQ(5, s.Find("f", 5, 100));
}

TEST(SStringFind, NoCaseFoldsAscii)
{
    SString s("Hello World");
    EXPECT_EQ(6, s.FindNoCase("WORLD"));
    EXPECT_EQ(-1, s.Find("WORLD"));
    EXPECT_EQ(-1, s.FindNoCase("world", 0, 10));
}

TEST(SStringFind, CharactersInRanges)
{
    SString s("aaXbXc");
    EXPECT_EQ(2, s.FindChar('X'));
    EXPECT_EQ(4, s.FindChar('X', 3));
    EXPECT_EQ(-1, s.FindChar('X', 3, 1));
    EXPECT_EQ(-1, s.FindChar('X', 6));
    EXPECT_EQ(2, s.FindCharNot('a'));
    EXPECT_EQ(-1, SString("aaa").FindCharNot('a'));
    EXPECT_EQ(4, s.ReverseFindChar('X'));
    EXPECT_EQ(2, s.ReverseFindChar('X', 3));
    EXPECT_EQ(-1, s.ReverseFindChar('X', 6));
    EXPECT_EQ(-1, s.ReverseFindChar('X', -2));
    EXPECT_EQ(-1, SString().ReverseFindChar('X'));
}

TEST(SStringFind, ReverseFindAnyCharUsesFirstListedCharacterThatOccurs)
{
    SString s("x/y\\z/w");
    EXPECT_EQ(3, s.ReverseFindAnyChar(-1, 2, '\\', '/'));
    EXPECT_EQ(5, s.ReverseFindAnyChar(-1, 2, '/', '\\'));
    EXPECT_EQ(5, s.ReverseFindAnyChar(-1, 2, '#', '/'));
    EXPECT_EQ(-1, s.ReverseFindAnyChar(-1, 1, '#'));
    EXPECT_EQ(-1, s.ReverseFindAnyChar(2, 1, '\\'));
}

// ---- Tests and conversions -------------------------------------------------------------

TEST(SStringConvert, IsIpAddress)
{
    EXPECT_TRUE(SString("192.168.0.1").IsIpAddress());
    EXPECT_TRUE(SString("0.0.0.0").IsIpAddress());
    const char* bad[] = {"256.1.1.1", "1.2.3", "1..2.3", "1.2.3.4.5", "1234.1.1.1", "1.2.3.4.",
                         "a.b.c.d",   "1.2.3.4 ", ""};
    for (const char* b : bad)
        EXPECT_FALSE(SString(b).IsIpAddress()) << b;
    EXPECT_FALSE(SString().IsIpAddress());
}

TEST(SStringConvert, ToColorReadsHexadecimal)
{
    EXPECT_EQ(0xFF000000ULL, SString("#FF000000").ToColor());
    EXPECT_EQ(26ULL, SString("0x1a").ToColor());
    EXPECT_EQ(26ULL, SString("0X1A").ToColor());
    EXPECT_EQ(255ULL, SString("ff").ToColor());
    EXPECT_EQ(0ULL, SString("012").ToColor());
    EXPECT_EQ(0ULL, SString("#").ToColor());
    EXPECT_EQ(0ULL, SString("").ToColor());
    EXPECT_EQ(0ULL, SString("#12G4").ToColor());
    EXPECT_EQ(0xFFFFFFFFFFFFFFFFULL, SString("FFFFFFFFFFFFFFFF").ToColor());
    EXPECT_EQ(0ULL, SString("FFFFFFFFFFFFFFFFF").ToColor());
}

TEST(SStringConvert, WideCopies)
{
    SString s("abc");
    const wchar_t* w = s.GetWide();
    EXPECT_STREQ(L"abc", w);
    s = "de";
    EXPECT_STREQ(L"de", s.GetWide());
    wchar_t* own = s.AllocWide();
    EXPECT_STREQ(L"de", own);
    delete[] own;
    SString none;
    EXPECT_STREQ(L"", none.GetWide());
}

TEST(SStringUrl, EncodeSpacesAsPlusOrEscape)
{
    SString s("a b/c");
    s.UrlEncode(true);
    EXPECT_STREQ("a+b%2Fc", s.GetText());
    SString t("a b/c");
    t.UrlEncode(false);
    EXPECT_STREQ("a%20b%2Fc", t.GetText());
    SString u("Az09-_.~\xe9");
    u.UrlEncode(true);
    EXPECT_STREQ("Az09-_%2E%7E%E9", u.GetText());
}

TEST(SStringUrl, EncodeOnlyTheListedCharactersAndDecodeBack)
{
    const struct
    {
        const char* text;
        const char* encoded;
    } cases[] = {{"Rock\\A&B #1/x.album", "Rock\\A%26B %231/x.album"},
                 {"C:\\100% \"Hits\"", "C:\\100%25 %22Hits%22"},
                 {"plain\xe9", "plain\xe9"},
                 {"", ""}};
    for (const auto& c : cases)
    {
        SString s(c.text);
        s.UrlEncodeOnly("%#&\"");
        EXPECT_STREQ(c.encoded, s.GetText() ? s.GetText() : "") << c.text;
        s.UrlDecode(false);
        EXPECT_STREQ(c.text, s.GetText() ? s.GetText() : "") << c.text;
    }
}

TEST(SStringHtml, EscapeReplacesTheFourMarkupCharacters)
{
    SString s("A&B <i>\"x\"</i> &amp;");
    s.HtmlEscape();
    EXPECT_STREQ("A&amp;B &lt;i&gt;&quot;x&quot;&lt;/i&gt; &amp;amp;", s.GetText());
}

TEST(SStringUrl, DecodeEscapesAndPlus)
{
    SString s("a+b%2fc");
    s.UrlDecode(true);
    EXPECT_STREQ("a b/c", s.GetText());
    SString keep("a+b%2B");
    keep.UrlDecode(false);
    EXPECT_STREQ("a+b+", keep.GetText());
    SString plus("%2B+");
    plus.UrlDecode(true);
    EXPECT_STREQ("+ ", plus.GetText());
    SString high("%E9%e9");
    high.UrlDecode(true);
    EXPECT_STREQ("\xe9\xe9", high.GetText());
}

TEST(SStringUrl, DecodeCutsAtShortEscape)
{
    SString s("ab%4");
    s.UrlDecode(true);
    EXPECT_STREQ("ab", s.GetText());
    SString t("ab%");
    t.UrlDecode(true);
    EXPECT_STREQ("ab", t.GetText());
}

TEST(SStringUrl, DecodeNonHexDigitsByTheirCodes)
{
    // 'z' is 122 - 87 = 35: 35 * 16 + 35 = 595, kept to 8 bits: 0x53.
    SString s("%zz");
    s.UrlDecode(true);
    EXPECT_STREQ("S", s.GetText());
}

TEST(SStringBase64, EncodeEndsWithOneEquals)
{
    const char* cases[][2] = {{"abc", "YWJj="}, {"a", "YQ="}, {"ab", "YWI="}, {"abcd", "YWJjZA="}};
    for (auto& c : cases)
    {
        SString s(c[0]);
        s.Base64Encode();
        EXPECT_STREQ(c[1], s.GetText()) << c[0];
        s.Base64Decode();
        EXPECT_STREQ(c[0], s.GetText());
    }
    SString empty("");
    empty.Base64Encode();
    EXPECT_STREQ("", empty.GetText());
}

TEST(SStringBase64, RoundTripsHighBytesAndPlusSlashDigits)
{
    SString s("\xfb\xff");
    s.Base64Encode();
    EXPECT_STREQ("+/8=", s.GetText());
    s.Base64Decode();
    EXPECT_STREQ("\xfb\xff", s.GetText());
    SString all;
    all.Reserve(255, false);
    for (int i = 0; i < 255; i++)
        all.GetBuffer()[i] = (char)(i + 1);
    SString copy(all);
    copy.Base64Encode();
    copy.Base64Decode();
    EXPECT_EQ(255, copy.GetLength());
    EXPECT_EQ(0, std::memcmp(all.GetText(), copy.GetText(), 255));
}

TEST(SStringBase64, DecodeGivesEveryByteADefinedValue)
{
    // Bytes above 'z' count as 63, other bytes outside the alphabet as 0.
    SString high("\x80\xff{~=");
    high.Base64Decode();
    EXPECT_STREQ("\xff\xff\xff", high.GetText());
    SString low("!-.Q=");
    low.Base64Decode();
    EXPECT_EQ(0, low.GetLength());
    SString eq("=");
    eq.Base64Decode();
    EXPECT_STREQ("", eq.GetText());
}
