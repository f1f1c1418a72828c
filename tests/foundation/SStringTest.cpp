#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "SString.h"

namespace
{
// Reads the buffer size, which the interface does not expose.
struct StringProbe : SString
{
    using SString::SString;
    int Capacity() const { return m_capacity; }
};
} // namespace

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

// ---- Editing ---------------------------------------------------------------------------

TEST(SStringEdit, DeleteClampsAndCounts)
{
    SString s("abcdef");
    EXPECT_EQ(2, s.Delete(1, 2));
    EXPECT_STREQ("adef", s.GetText());
    EXPECT_EQ(2, s.Delete(2, 100));
    EXPECT_STREQ("ad", s.GetText());
    EXPECT_EQ(0, s.Delete(2, 1));
    EXPECT_EQ(2, s.Delete(0, -1));
    EXPECT_EQ(0, s.GetLength());
}

TEST(SStringEdit, InsertCharPositions)
{
    SString s("abc");
    s.InsertChar('-', -1, 2);
    EXPECT_STREQ("abc--", s.GetText());
    s.InsertChar('+', 0, 1);
    EXPECT_STREQ("+abc--", s.GetText());
    s.InsertChar('x', 7, 1);
    s.InsertChar('x', 1, 0);
    EXPECT_STREQ("+abc--", s.GetText());
    SString empty;
    empty.InsertChar('z', 0, 3);
    EXPECT_STREQ("zzz", empty.GetText());
}

TEST(SStringEdit, InsertRepeatsText)
{
    SString s("ad");
    s.Insert("bc", 1, 2);
    EXPECT_STREQ("abcbcd", s.GetText());
    s.Insert("", 0, 1);
    s.Insert("x", 7, 1);
    EXPECT_STREQ("abcbcd", s.GetText());
    s.Insert(s.GetText(), -1, 1);
    EXPECT_STREQ("abcbcdabcbcd", s.GetText());
}

TEST(SStringEdit, ReplaceRangeShrinksGrowsAndAppends)
{
    SString s("abcdef");
    s.ReplaceRange("X", 1, 3);
    EXPECT_STREQ("aXef", s.GetText());
    s.ReplaceRange("123", 1, 1);
    EXPECT_STREQ("a123ef", s.GetText());
    s.ReplaceRange("!", 6, 0);
    EXPECT_STREQ("a123ef!", s.GetText());
    s.ReplaceRange("?", 8, 0);
    EXPECT_STREQ("a123ef!", s.GetText());
    s.ReplaceRange("Z", 4, -1);
    EXPECT_STREQ("a123Z", s.GetText());
}

TEST(SStringEdit, ReplaceResumesAfterInsertedText)
{
    SString s("aXa");
    EXPECT_EQ(2, s.Replace("a", "aa", 0, -1, true));
    EXPECT_STREQ("aaXaa", s.GetText());
}

TEST(SStringEdit, ReplaceStaysInsideMovingRange)
{
    SString s("abcabcabc");
    EXPECT_EQ(2, s.Replace("abc", "x", 0, 6, true));
    EXPECT_STREQ("xxabc", s.GetText());
    SString t("aaaaa");
    EXPECT_EQ(3, t.Replace("a", "bb", 1, 3, true));
    EXPECT_STREQ("abbbbbba", t.GetText());
}

TEST(SStringEdit, ReplaceWithoutCaseAndBadArguments)
{
    SString s("One one ONE");
    EXPECT_EQ(3, s.Replace("one", "1", 0, -1, false));
    EXPECT_STREQ("1 1 1", s.GetText());
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(0, s.Replace("1", "x", 5));
    EXPECT_EQ(3, s.Replace("1", ""));
    EXPECT_STREQ("  ", s.GetText());
}

TEST(SStringEdit, ReplaceGivesTheTextCountAndCapacityOfOneEditPerMatch)
{
    struct Case
    {
        const char *text, *find, *with;
        int start, count;
        bool caseSensitive;
        const char* result;
        int replaced, capacity;
    };
    const Case cases[] = {
        {"abcabc", "b", "XYZ", 0, -1, true, "aXYZcaXYZc", 2, 16},
        {"aaaaaaaaaaaa", "a", "bb", 0, -1, true, "bbbbbbbbbbbbbbbbbbbbbbbb", 12, 32},
        {"x--y--z", "--", "", 0, -1, true, "xyz", 2, 16},
        {"aaaa", "aa", "b", 0, -1, true, "bb", 2, 16},
        {"aaa", "aa", "b", 0, -1, true, "ba", 1, 16},
        {"abcabcabc", "abc", "XY", 3, 3, true, "abcXYabc", 1, 16},
        {"abcabcabc", "abc", "WXYZ", 0, 8, true, "WXYZWXYZabc", 2, 16},
        {"aAbA", "a", "<a>", 0, -1, false, "<a><a>b<a>", 3, 16},
        {"abab", "ab", "", 0, -1, true, "", 2, 16},
        {"hello", "l", "L", 0, -1, true, "heLLo", 2, 16},
        {"ab", "abc", "x", 0, -1, true, "ab", 0, 16},
        {"abcdefghijklmn", "n", "NNN", 0, -1, true, "abcdefghijklmNNN", 1, 32},
    };
    for (const Case& c : cases)
    {
        StringProbe s(c.text);
        const char* before = s.GetText();
        EXPECT_EQ(c.replaced, s.Replace(c.find, c.with, c.start, c.count, c.caseSensitive)) << c.text;
        EXPECT_STREQ(c.result, s.GetText()) << c.text;
        EXPECT_EQ((int)std::strlen(c.result), s.GetLength()) << c.text;
        EXPECT_EQ(c.capacity, s.Capacity()) << c.text;
        // The buffer is replaced only when the result needs more room.
        EXPECT_EQ(c.capacity == 16, s.GetText() == before) << c.text;
    }
}

TEST(SStringEdit, ReplaceReadsItsTextsBeforeOverwritingThem)
{
    SString s("abcd");
    EXPECT_EQ(1, s.Replace(s.GetText() + 2, s.GetText()));
    EXPECT_STREQ("ababcd", s.GetText());
}

TEST(SStringEdit, ReplaceOfManyMatchesGivesTheWholeResult)
{
    std::string text, expected;
    for (int i = 0; i < 200000; i++)
    {
        text += "a,";
        expected += "a;;";
    }
    SString s(text.c_str());
    EXPECT_EQ(200000, s.Replace(",", ";;"));
    EXPECT_EQ(expected, s.GetText());
    EXPECT_EQ(200000, s.Replace(";;", ","));
    EXPECT_EQ(text, s.GetText());
}

TEST(SStringEdit, ReplaceCharCountsInRange)
{
    SString s("a.b.c.d");
    EXPECT_EQ(2, s.ReplaceChar('.', '/', 2, 4));
    EXPECT_STREQ("a.b/c/d", s.GetText());
    EXPECT_EQ(1, s.ReplaceChar('.', 0));
    EXPECT_STREQ("a", s.GetText());
}

TEST(SStringEdit, CaseConversion)
{
    SString s("MiXed 1!");
    EXPECT_STREQ("MIXED 1!", s.ToUpper().GetText());
    EXPECT_STREQ("mixed 1!", s.ToLower().GetText());
    EXPECT_STREQ("MiXed 1!", s.GetText());
    s.MakeUpper();
    EXPECT_STREQ("MIXED 1!", s.GetText());
    SString none;
    none.MakeLower();
    EXPECT_EQ(nullptr, none.GetText());
}

TEST(SStringEdit, ConcatenationBuildsNewText)
{
    SString s("ab");
    SString t = s + "cd";
    EXPECT_STREQ("ab", s.GetText());
    EXPECT_STREQ("abcd", t.GetText());
    t += "ef";
    t += 'g';
    t += (const char*)nullptr;
    EXPECT_STREQ("abcdefg", t.GetText());
    t += t.GetText();
    EXPECT_STREQ("abcdefgabcdefg", t.GetText());
    SString none;
    EXPECT_STREQ("x", (none + "x").GetText());
}

TEST(SStringEdit, TrimRightBlanksAndCounts)
{
    SString s("ab \t ");
    EXPECT_EQ(3, s.TrimRight(-1, false));
    EXPECT_STREQ("ab", s.GetText());
    SString spaces("   ");
    EXPECT_EQ(3, spaces.TrimRight(-1, false));
    EXPECT_STREQ("", spaces.GetText());
    SString tab("ab\t ");
    EXPECT_EQ(1, tab.TrimRight(-1, true));
    EXPECT_STREQ("ab\t", tab.GetText());
    SString n("abcdef");
    EXPECT_EQ(0, n.TrimRight(2));
    EXPECT_STREQ("abcd", n.GetText());
    n.TrimRight(10);
    EXPECT_STREQ("", n.GetText());
    EXPECT_EQ(0, n.TrimRight(0));
}

TEST(SStringEdit, TrimLeftAndBoth)
{
    SString s(" \t ab ");
    EXPECT_EQ(3, s.TrimLeft(-1, false));
    EXPECT_STREQ("ab ", s.GetText());
    SString h("[Section]");
    h.Trim(1, 1);
    EXPECT_STREQ("Section", h.GetText());
    SString b("  x  ");
    b.Trim();
    EXPECT_STREQ("x", b.GetText());
    SString c("abc");
    c.TrimLeft(5);
    EXPECT_STREQ("", c.GetText());
}

TEST(SStringEdit, StripBlanks)
{
    EXPECT_STREQ("ab\tc", SString(" a b\tc ").StripBlanks(false).GetText());
    EXPECT_STREQ("abc", SString(" a b\tc ").StripBlanks(true).GetText());
}

TEST(SStringEdit, RemoveLeadingNumber)
{
    const char* cases[][2] = {{"01 - Title", "Title"}, {"01", "01"},        {"Title", "Title"},
                              {"1.", "1."},            {"12. Song", "Song"}, {"3-...x", "x"},
                              {"07 ", "07 "}};
    for (auto& c : cases)
    {
        SString s(c[0]);
        s.RemoveLeadingNumber();
        EXPECT_STREQ(c[1], s.GetText()) << c[0];
    }
}

// ---- Copies of parts -------------------------------------------------------------------

TEST(SStringParts, LeftRightMidSubstring)
{
    SString s("abcdef");
    EXPECT_STREQ("ab", s.Left(2).GetText());
    EXPECT_STREQ("", s.Left(0).GetText());
    EXPECT_STREQ("abcdef", s.Left(10).GetText());
    EXPECT_STREQ("ef", s.Right(2).GetText());
    EXPECT_STREQ("abcdef", s.Right(10).GetText());
    EXPECT_STREQ("", s.Right(-1).GetText());
    EXPECT_STREQ("cde", s.Mid(2, 3).GetText());
    EXPECT_STREQ("cdef", s.Mid(2).GetText());
    EXPECT_STREQ("", s.Mid(6).GetText());
    EXPECT_STREQ("ab", s.Mid(-4, 2).GetText());
    EXPECT_STREQ("bc", s.Substring(1, 3).GetText());
    EXPECT_STREQ("", s.Substring(3, 3).GetText());
    EXPECT_STREQ("", s.Substring(7, 9).GetText());
    EXPECT_STREQ("ef", s.Substring(4, 99).GetText());
    EXPECT_STREQ("", SString().Left(3).GetText());
}

TEST(SStringParts, AroundACharacter)
{
    SString s("key=value=x");
    EXPECT_STREQ("value=x", s.GetAfterChar('=').GetText());
    EXPECT_STREQ("key", s.GetBeforeChar('=').GetText());
    EXPECT_STREQ("", s.GetAfterChar('#').GetText());
    EXPECT_STREQ("", s.GetBeforeChar('#').GetText());
    EXPECT_STREQ("key=value=x", s.GetBeforeCharOrAll('#').GetText());
    EXPECT_STREQ("key", s.GetBeforeCharOrAll('=').GetText());
    EXPECT_STREQ("", SString("a=").GetAfterChar('=').GetText());
}

TEST(SStringParts, GetLineTreatsCrLfAsOneLineEnd)
{
    SString s("a\r\nb");
    int next = -1;
    EXPECT_STREQ("a", s.GetLine(0, &next).GetText());
    EXPECT_EQ(3, next);
    EXPECT_STREQ("b", s.GetLine(3, &next).GetText());
    EXPECT_EQ(4, next);
    SString t("a\n\nb\r");
    EXPECT_STREQ("a", t.GetLine(0, &next).GetText());
    EXPECT_EQ(2, next);
    EXPECT_STREQ("", t.GetLine(2, &next).GetText());
    EXPECT_EQ(3, next);
    EXPECT_STREQ("b", t.GetLine(3, &next).GetText());
    EXPECT_EQ(5, next);
    EXPECT_STREQ("", t.GetLine(-1, &next).GetText());
}

TEST(SStringParts, GetWordSkipsOrKeepsBlanks)
{
    SString s("  hello world");
    int next = -1;
    EXPECT_STREQ("hello", s.GetWord(0, &next, false).GetText());
    EXPECT_EQ(7, next);
    EXPECT_STREQ("  ", s.GetWord(0, &next, true).GetText());
    EXPECT_EQ(2, next);
    EXPECT_STREQ("world", s.GetWord(7, &next, false).GetText());
    EXPECT_EQ(13, next);
    SString t("a \r\n");
    EXPECT_STREQ("", t.GetWord(1, &next, false).GetText());
    EXPECT_EQ(4, next);
    EXPECT_STREQ("", s.GetWord(-1, &next).GetText());
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
