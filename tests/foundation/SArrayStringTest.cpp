#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "SArrayString.h"

namespace
{
std::vector<std::string> Texts(const SArrayString& a)
{
    std::vector<std::string> v;
    for (int i = 0; i < a.GetCount(); i++)
        v.push_back(a.GetAt(i).GetText());
    return v;
}

SArrayString Make(std::initializer_list<const char*> texts)
{
    SArrayString a;
    for (const char* t : texts)
        a.Add(t);
    return a;
}

const SString* Element(const SArrayString& a, int i)
{
    return a.SArray<SString*>::GetAt(i);
}
} // namespace

// ---- Elements --------------------------------------------------------------------------

TEST(SArrayStringElements, AddStoresOwnCopies)
{
    char text[] = "abc";
    SArrayString a;
    EXPECT_EQ(0, a.Add(text));
    EXPECT_EQ(1, a.Add(nullptr));
    text[0] = 'X';
    EXPECT_EQ((std::vector<std::string>{"abc", ""}), Texts(a));
    SString s("via pointer");
    a.SArray<SString*>::Add(&s);
    EXPECT_NE(&s, Element(a, 2));
    EXPECT_STREQ("via pointer", Element(a, 2)->GetText());
}

TEST(SArrayStringElements, SetAtReplacesAndIgnoresOutside)
{
    SArrayString a = Make({"a", "b"});
    a.SetAt(1, "B");
    a.SetAt(2, "C");
    a.SetAt(-1, "C");
    EXPECT_EQ((std::vector<std::string>{"a", "B"}), Texts(a));
}

TEST(SArrayStringElements, NewSlotsReadAsEmpty)
{
    SArrayString a;
    a.SetCount(2);
    EXPECT_EQ(nullptr, Element(a, 0));
    EXPECT_STREQ("", a.GetAt(1).GetText());
    a.SetAt(1, "x");
    EXPECT_STREQ("x", a.GetAt(1).GetText());
}

TEST(SArrayStringElements, InsertAtRepeatsCopies)
{
    SArrayString a = Make({"a", "d"});
    EXPECT_EQ(1, a.InsertAt("x", 1, 2));
    EXPECT_EQ((std::vector<std::string>{"a", "x", "x", "d"}), Texts(a));
    EXPECT_NE(Element(a, 1), Element(a, 2));
    EXPECT_EQ(4, a.InsertAt("e", 99));
}

TEST(SArrayStringElements, DeleteAndRemoveAt)
{
    SArrayString a = Make({"a", "b", "c"});
    a.DeleteAndRemoveAt(0, 2);
    EXPECT_EQ((std::vector<std::string>{"c"}), Texts(a));
}

TEST(SArrayStringElements, FreeMemoryDeletesStringsAndOptions)
{
    SArrayString a = Make({"a", "b"});
    a.AddFlags(SArrayString::NoCase);
    a.FreeMemory();
    EXPECT_EQ(0, a.GetCount());
    EXPECT_EQ(0u, a.GetFlags());
    a.Add("again");
    EXPECT_EQ((std::vector<std::string>{"again"}), Texts(a));
}

// ---- Copies ----------------------------------------------------------------------------

TEST(SArrayStringCopy, CopyConstructionCopiesTheStrings)
{
    SArrayString a = Make({"one", "two"});
    a.AddFlags(SArrayString::NoCase);
    {
        SArrayString b(a);
        EXPECT_NE(Element(a, 0), Element(b, 0));
        b.SetAt(0, "changed");
        EXPECT_EQ(0x10000u, b.GetFlags());
    }
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), Texts(a));
}

TEST(SArrayStringCopy, AssignmentCopiesTheStrings)
{
    SArrayString a = Make({"one", "two"});
    SArrayString b = Make({"x", "y", "z"});
    b = a;
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), Texts(b));
    EXPECT_NE(Element(a, 1), Element(b, 1));
    a.SetAt(1, "changed");
    EXPECT_STREQ("two", b.GetAt(1).GetText());
}

TEST(SArrayStringCopy, SelfAssignmentDoesNothing)
{
    SArrayString a = Make({"one", "two"});
    const SString* first = Element(a, 0);
    SArrayString& same = a;
    a = same;
    a.Assign(same);
    EXPECT_EQ(first, Element(a, 0));
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), Texts(a));
}

TEST(SArrayStringCopy, AssignmentThroughTheBaseCopiesTheStrings)
{
    SArrayString a = Make({"one"});
    SArrayString b;
    SArray<SString*>& base = b;
    base = a;
    EXPECT_NE(Element(a, 0), Element(b, 0));
    EXPECT_EQ((std::vector<std::string>{"one"}), Texts(b));
}

TEST(SArrayStringCopy, AssignReplacesOwnStrings)
{
    SArrayString a = Make({"a"});
    SArrayString b = Make({"x", "y"});
    b.Assign(a);
    EXPECT_EQ((std::vector<std::string>{"a"}), Texts(b));
}

// ---- Order and search ------------------------------------------------------------------

TEST(SArrayStringOrder, SortCaseSensitiveThenDescending)
{
    SArrayString a = Make({"b", "A", "a"});
    a.Sort();
    EXPECT_EQ((std::vector<std::string>{"A", "a", "b"}), Texts(a));
    a.AddFlags(SArrayString::Descending);
    a.Sort();
    EXPECT_EQ((std::vector<std::string>{"b", "a", "A"}), Texts(a));
}

TEST(SArrayStringOrder, NoCaseTreatsCaseVariantsAsEqual)
{
    SArrayString a = Make({"b", "A", "a"});
    a.AddFlags(SArrayString::NoCase);
    SString* x = new SString("A");
    SString* y = new SString("a");
    EXPECT_EQ(0, a.Compare(&x, &y, a.GetFlags(), 0));
    EXPECT_EQ(-1, a.Compare(&x, &y, 0, 0));
    EXPECT_EQ(1, a.Compare(&x, &y, 1, 0));
    delete x;
    delete y;
    a.Sort();
    EXPECT_EQ("b", Texts(a)[2]);
    EXPECT_EQ(0, a.Find("a"));
}

TEST(SArrayStringOrder, NoCaseSortsAsTheWindowsRuntime)
{
    // Bytes above 127 after every ASCII letter; '_' before the letters, which fold to lower case.
    SArrayString a = Make({"\xC9mile", "alpha", "10 Ten", "_x", "Beta", "\xE9t\xE9", "ALPHA2"});
    a.AddFlags(SArrayString::NoCase);
    a.Sort();
    EXPECT_EQ((std::vector<std::string>{"10 Ten", "_x", "alpha", "ALPHA2", "Beta", "\xC9mile", "\xE9t\xE9"}),
              Texts(a));
    EXPECT_EQ(-1, SString("Z").CompareNoCase("\xC9"));
    EXPECT_EQ(1, SString("a").CompareNoCase("_"));
}

TEST(SArrayStringOrder, FindRanges)
{
    SArrayString a = Make({"x", "y", "x"});
    EXPECT_EQ(0, a.Find("x"));
    EXPECT_EQ(2, a.Find("x", 1));
    EXPECT_EQ(-1, a.Find("x", 1, 2));
    EXPECT_EQ(-1, a.Find("X"));
    EXPECT_EQ(-1, a.Find("x", 3));
}

TEST(SArrayStringOrder, InsertSortedAndFindSorted)
{
    SArrayString a;
    for (const char* t : {"pear", "apple", "fig", "kiwi", "banana"})
        a.InsertSorted(t);
    EXPECT_EQ((std::vector<std::string>{"apple", "banana", "fig", "kiwi", "pear"}), Texts(a));
    EXPECT_EQ(3, a.FindSorted("kiwi"));
    EXPECT_EQ(-1, a.FindSorted("grape"));
}

TEST(SArrayStringOrder, InsertSortedUnderGivenOptionsKeepsTheArraysOwn)
{
    SArrayString a;
    for (const char* t : {"b", "C", "a"})
        a.InsertSorted(t, 0, -1, SArrayString::NoCase);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "C"}), Texts(a));
    EXPECT_EQ(0u, a.GetFlags());
    SArrayString d;
    for (const char* t : {"b", "C", "a", "D"})
        d.InsertSorted(t, 0, -1, SArrayString::NoCase | SArrayString::Descending);
    EXPECT_EQ((std::vector<std::string>{"D", "C", "b", "a"}), Texts(d));
    // An equal text goes before the element it equals.
    EXPECT_EQ(2, d.InsertSorted("B", 0, -1, SArrayString::NoCase | SArrayString::Descending));
    EXPECT_EQ("B", Texts(d)[2]);
    EXPECT_EQ("b", Texts(d)[3]);
}

// ---- Text forms ------------------------------------------------------------------------

TEST(SArrayStringText, ElementsTravelAsBase64)
{
    SArrayString a = Make({"abc"});
    SString* const* slot = a.GetPtr(0);
    EXPECT_STREQ("YWJj=", a.ElementToText(slot, 0, 0).GetText());
    SString* made = nullptr;
    a.ElementFromText(&made, SString("YWJj="), 0, 0);
    ASSERT_NE(nullptr, made);
    EXPECT_STREQ("abc", made->GetText());
    delete made;
}

TEST(SArrayStringText, JoinRanges)
{
    SArrayString a = Make({"a", "b", "c"});
    EXPECT_STREQ("a, b, c", a.Join(", ", 0, -1).GetText());
    EXPECT_STREQ("", a.Join(", ", 3, -1).GetText());
    EXPECT_STREQ("", a.Join(", ", -1, -1).GetText());
    EXPECT_STREQ("", a.Join(", ", 0, 0).GetText());
    EXPECT_STREQ("b|c", a.Join("|", 1, 2).GetText());
    EXPECT_STREQ("bc", a.Join("", 1, 99).GetText());
    EXPECT_STREQ("a", a.Join(", ", 0, 1).GetText());
}

// ---- Wildcards -------------------------------------------------------------------------

TEST(SArrayStringMatch, StarAndSingle)
{
    EXPECT_TRUE(SArrayString::Match("song.mp3", "*.mp3"));
    EXPECT_FALSE(SArrayString::Match("song.mp3", "*.MP3"));
    EXPECT_TRUE(SArrayString::Match("song.mp3", "s?ng.*"));
    EXPECT_TRUE(SArrayString::Match(".mp3", "*.mp3"));
    EXPECT_FALSE(SArrayString::Match("a.mp3x", "*.mp3"));
    EXPECT_TRUE(SArrayString::Match("a", "a*"));
    EXPECT_TRUE(SArrayString::Match("abc", "a*"));
    EXPECT_FALSE(SArrayString::Match("ab", "a?c"));
    EXPECT_FALSE(SArrayString::Match("", "?"));
    EXPECT_TRUE(SArrayString::Match("aXbYc", "a*b*c"));
    EXPECT_TRUE(SArrayString::Match("mississippi", "*sip*"));
    EXPECT_FALSE(SArrayString::Match("mississippi", "*sipx*"));
    EXPECT_TRUE(SArrayString::Match("abab", "*ab"));
}

TEST(SArrayStringMatch, EmptyTextMatchesEmptyOrStarsOnly)
{
    EXPECT_TRUE(SArrayString::Match("", ""));
    EXPECT_TRUE(SArrayString::Match("", "***"));
    EXPECT_FALSE(SArrayString::Match("a", ""));
    EXPECT_FALSE(SArrayString::Match("", "*a"));
}

TEST(SArrayStringMatch, RunOfStarsMatchesLikeOneStar)
{
    EXPECT_TRUE(SArrayString::Match("a", "**a"));
    EXPECT_TRUE(SArrayString::Match("xyza", "**a"));
    EXPECT_TRUE(SArrayString::Match("ab", "a**b"));
    EXPECT_FALSE(SArrayString::Match("ab", "**c"));
}

TEST(SArrayStringMatch, CallerChosenWildcards)
{
    // The file-list filter turns its '*' and '?' into the codes 1 and 2.
    EXPECT_TRUE(SArrayString::Match("a*b.txt", "a*b\1", '\1', '\2'));
    EXPECT_TRUE(SArrayString::Match("a?c", "\2?\2", '\1', '\2'));
    EXPECT_FALSE(SArrayString::Match("abc", "a*c", '\1', '\2'));
}

TEST(SArrayStringMatch, MatchAllCountsAndAppendsIndexes)
{
    SArrayString a = Make({"a.mp3", "b.wav", "c.mp3", "d.MP3"});
    SArray<int> indexes;
    indexes.Add(-1);
    EXPECT_EQ(2, a.MatchAll("*.mp3", &indexes));
    ASSERT_EQ(3, indexes.GetCount());
    EXPECT_EQ(0, indexes.GetAt(1));
    EXPECT_EQ(2, indexes.GetAt(2));
    EXPECT_EQ(4, a.MatchAll("*"));
    EXPECT_EQ(0, a.MatchAll("*.ogg"));
}
