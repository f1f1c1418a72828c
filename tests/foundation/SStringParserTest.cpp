#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "SStringParser.h"

namespace
{
std::vector<std::string> Tokens(const SStringParser& p)
{
    std::vector<std::string> v;
    for (int i = 0; i < p.GetTokenCount(); i++)
        v.push_back(p.GetToken(i).GetText());
    return v;
}

typedef std::vector<std::string> Strings;
} // namespace

// ---- Separators ------------------------------------------------------------------------

TEST(SStringParserSplit, NonBlankSeparatorsGiveEmptyTokens)
{
    SStringParser p("a,,b");
    EXPECT_EQ(3, p.Split(","));
    EXPECT_EQ((Strings{"a", "", "b"}), Tokens(p));
    p = "a,";
    EXPECT_EQ(2, p.Split(","));
    EXPECT_EQ((Strings{"a", ""}), Tokens(p));
    p = ",";
    EXPECT_EQ(2, p.Split(","));
    EXPECT_EQ((Strings{"", ""}), Tokens(p));
}

TEST(SStringParserSplit, EmptyTextGivesNoTokens)
{
    SStringParser p("x,y");
    EXPECT_EQ(2, p.Split(","));
    p = "";
    EXPECT_EQ(0, p.Split(","));
    EXPECT_EQ(0, p.GetTokenCount());
    SStringParser none;
    EXPECT_EQ(0, none.Split(","));
}

TEST(SStringParserSplit, BlankRunsCountAsOneSeparator)
{
    SStringParser p("  a   b  ");
    EXPECT_EQ(3, p.Split(" "));
    EXPECT_EQ((Strings{"", "a", "b"}), Tokens(p));
}

TEST(SStringParserSplit, SpaceAndTabRunTogetherOnlyWhenBothAreSeparators)
{
    SStringParser p("a \t b");
    EXPECT_EQ(2, p.Split(" \t"));
    EXPECT_EQ((Strings{"a", "b"}), Tokens(p));
    EXPECT_EQ(3, p.Split(" "));
    EXPECT_EQ((Strings{"a", "\t", "b"}), Tokens(p));
}

TEST(SStringParserSplit, BlankThenOtherSeparator)
{
    SStringParser p("a ,b");
    EXPECT_EQ(2, p.Split(" ,"));
    EXPECT_EQ((Strings{"a", "b"}), Tokens(p));
    p = "a , b";
    EXPECT_EQ(3, p.Split(" ,"));
    EXPECT_EQ((Strings{"a", "", "b"}), Tokens(p));
}

// ---- Quotes and flags ------------------------------------------------------------------

TEST(SStringParserQuotes, QuotedSectionKeepsSeparators)
{
    SStringParser p("x \"y z\" w");
    EXPECT_EQ(3, p.Split(" ", SStringParser::HonourQuotes));
    EXPECT_EQ((Strings{"x", "y z", "w"}), Tokens(p));
    EXPECT_EQ(3, p.Split(" ", SStringParser::HonourQuotes | SStringParser::KeepQuotes));
    EXPECT_EQ((Strings{"x", "\"y z\"", "w"}), Tokens(p));
}

TEST(SStringParserQuotes, WithoutQuoteFlagQuotesAreOrdinary)
{
    SStringParser p("x \"y z\"");
    EXPECT_EQ(3, p.Split(" "));
    EXPECT_EQ((Strings{"x", "\"y", "z\""}), Tokens(p));
}

TEST(SStringParserQuotes, TrimActsBeforeQuotesAreRemoved)
{
    SStringParser p("\" a \"");
    EXPECT_EQ(1, p.Split(",", SStringParser::TrimSpaces | SStringParser::HonourQuotes));
    EXPECT_EQ((Strings{" a "}), Tokens(p));
    p = " a , b ";
    EXPECT_EQ(2, p.Split(",", SStringParser::TrimSpaces));
    EXPECT_EQ((Strings{"a", "b"}), Tokens(p));
}

TEST(SStringParserQuotes, OtherQuoteCharacter)
{
    SStringParser p("'a,b',c");
    EXPECT_EQ(2, p.Split(",", SStringParser::HonourQuotes, '\''));
    EXPECT_EQ((Strings{"a,b", "c"}), Tokens(p));
}

TEST(SStringParserErrors, InvalidCombinationsFailAndReset)
{
    SStringParser p("x \"y z\" w");
    EXPECT_EQ(3, p.Split(" ", SStringParser::HonourQuotes));
    EXPECT_EQ(-1, p.Split(" ", SStringParser::KeepQuotes));
    EXPECT_EQ(0, p.GetTokenCount());
    EXPECT_EQ(-1, p.Split(" \"", SStringParser::HonourQuotes, '"'));
    EXPECT_EQ(-1, p.Split(",", SStringParser::TrimSpaces, ' '));
}

TEST(SStringParserErrors, UnterminatedQuoteFailsWithoutPartialTokens)
{
    SStringParser p("a b \"c d");
    EXPECT_EQ(-1, p.Split(" ", SStringParser::HonourQuotes));
    EXPECT_EQ(0, p.GetTokenCount());
    SArrayString out;
    out.Add("kept");
    EXPECT_EQ(-1, p.Split(" ", SStringParser::HonourQuotes, '"', &out));
    EXPECT_EQ(1, out.GetCount());
    EXPECT_STREQ("kept", out.GetAt(0).GetText());
}

// ---- Targets ---------------------------------------------------------------------------

TEST(SStringParserTargets, GivenArrayReceivesAppendedTokens)
{
    SArrayString out;
    out.Add("first");
    SStringParser p("a;b");
    EXPECT_EQ(2, p.Split(";", 0, '"', &out));
    EXPECT_EQ(3, out.GetCount());
    EXPECT_STREQ("b", out.GetAt(2).GetText());
    EXPECT_EQ(0, p.GetTokenCount());
    EXPECT_EQ(2, p.SplitInto(&out, ";"));
    EXPECT_EQ(5, out.GetCount());
}

TEST(SStringParserTargets, SplitTextSetsTheText)
{
    SStringParser p;
    EXPECT_EQ(3, p.SplitText("1|2|3", "|"));
    EXPECT_STREQ("1|2|3", p.GetText());
    EXPECT_EQ((Strings{"1", "2", "3"}), Tokens(p));
    EXPECT_EQ(2, p.SplitText("x y", " "));
    EXPECT_EQ((Strings{"x", "y"}), Tokens(p));
}

// ---- Token access ----------------------------------------------------------------------

TEST(SStringParserTokens, AccessOutsideRange)
{
    SStringParser p("7,abc,0,-3");
    p.Split(",");
    EXPECT_STREQ("abc", p.GetToken(1).GetText());
    EXPECT_STREQ("", p.GetToken(4).GetText());
    EXPECT_STREQ("", p.GetToken(-1).GetText());
    EXPECT_EQ(7, p.GetTokenInt(0));
    EXPECT_EQ(0, p.GetTokenInt(1));
    EXPECT_EQ(-3, p.GetTokenInt(3));
    EXPECT_EQ(0, p.GetTokenInt(9));
    EXPECT_TRUE(p.GetTokenBool(0));
    EXPECT_FALSE(p.GetTokenBool(2));
    EXPECT_TRUE(p.GetTokenBool(3));
}

TEST(SStringParserTokens, FindTokenWithAndWithoutCase)
{
    SStringParser p("Bold Italic bold");
    p.Split(" ");
    EXPECT_EQ(2, p.FindToken("bold", true));
    EXPECT_EQ(0, p.FindToken("bold", false));
    EXPECT_EQ(-1, p.FindToken("under", false));
}

TEST(SStringParserTokens, ResetEmptiesTokens)
{
    SStringParser p("a b");
    p.Split(" ");
    p.Reset();
    EXPECT_EQ(0, p.GetTokenCount());
    EXPECT_STREQ("a b", p.GetText());
}

TEST(SStringParserTokens, CopyOwnsItsTokens)
{
    SStringParser p("a b");
    p.Split(" ");
    {
        SStringParser q(p);
        EXPECT_EQ((Strings{"a", "b"}), Tokens(q));
    }
    EXPECT_EQ((Strings{"a", "b"}), Tokens(p));
}
