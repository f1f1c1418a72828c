#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "SString.h"
#include "StringProbe.h"

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
