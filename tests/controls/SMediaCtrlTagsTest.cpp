#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "SMediaCtrl.h"

namespace
{
const DWORD TEXT_COLOR = 0xFF111111;
const DWORD LINK_COLOR = 0xFF123456;

// Lines joined by " | ", runs by ";": the run's text, then "/" and its styles
// (B bold, I italic, U underline, L link) and "#" and its colour when not the default.
std::string Describe(const char* source)
{
    SMediaCtrl::_SOwnedArray<SMediaCtrl::_STag> tags;
    SMediaCtrl::_SOwnedArray<SMediaCtrl::_SLine> lines;
    SMediaCtrl::_SStyle style = {};
    style.textColor = TEXT_COLOR;
    style.linkColor = LINK_COLOR;
    const int length = static_cast<int>(strlen(source));
    SMediaCtrl::ScanTags(source, length, tags);
    SMediaCtrl::BuildLines(source, tags, style, nullptr, lines);
    std::string out;
    for (int i = 0; i < lines.GetCount(); i++)
    {
        out += i ? " | " : "";
        for (int r = 0; r < lines.GetAt(i)->runs.GetCount(); r++)
        {
            const SMediaCtrl::_SText* run = lines.GetAt(i)->runs.GetAt(r);
            out += r ? ";" : "";
            out.append(source + run->start, run->length);
            std::string styles;
            styles += run->font.lfWeight == FW_BOLD ? "B" : "";
            styles += run->font.lfItalic ? "I" : "";
            styles += run->font.lfUnderline ? "U" : "";
            styles += run->link ? "L" : "";
            out += styles.empty() ? "" : "/" + styles;
            char color[16];
            sprintf(color, "#%08lX", static_cast<unsigned long>(run->color));
            out += run->color == TEXT_COLOR || run->color == LINK_COLOR ? "" : color;
        }
    }
    return out;
}
} // namespace

TEST(SMediaCtrlTagsTest, RunsCarryTheStylesOfTheTagsInForce)
{
    const struct
    {
        const char* source;
        const char* runs;
    } cases[] = {
        {"<X>abc", "<X>abc"},
        {"a<B", "a<B"},
        {"<b>x</B>y", "x/B;y"},
        {"</B></B>a<B>b", "a;b/B"},
        {"<B><b>a</B>b</B>c", "a/B;b/B;c"},
        {"1 > 0 <B>x", "1 > 0 <B>x"},
        {"a<b>b</b> > <I>c", "a;b/B; > <I>c"},
        {"<i><u>a</I>b", "a/IU;b/U"},
        {"<#FF000080>r", "r#80FF0000"},
        {"<#FF0000>r", "r#FFFF0000"},
        {"<#00ff00>g</#>d", "g#FF00FF00;d"},
        {"<#FF0000>a<#0000FF>b</#>c</#>d</#>e", "a#FFFF0000;b#FF0000FF;c#FFFF0000;d;e"},
        {"</#>a", "a"},
        {"<#GG0000>a", "a#FF000000"},
        {"<LINK>ab<B>cd</B>ef</LINK>g", "ab/UL;cd/BUL;ef/UL;g"},
        {"<#FF0000><link>a</link>b", "a/UL;b#FFFF0000"},
        {"<B>a\r\nb\nc\rd", "a/B | b/B | c/B | d/B"},
        {"a\r\n\r\nb", "a |  | b"},
        {"\r\n\r\n", " | "},
        {"", ""},
        {"<IMG>pic</IMG>x", "pic;x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.runs, Describe(c.source)) << c.source;
}

TEST(SMediaCtrlTagsTest, ColourTagsReadOnlyTheirOwnPairs)
{
    const struct
    {
        const char* tag;
        int length;
        DWORD color;
    } cases[] = {
        {"<#FF000080>", 11, 0x80FF0000},
        {"<#FF0000>", 9, 0xFFFF0000},
        {"<#a0B1c2>", 9, 0xFFA0B1C2},
        // Characters missing from a short tag read as 0; what follows the '>' is never read.
        {"<#F>AB1234", 4, 0xFFF00000},
        {"<#FF00>ABCD", 7, 0xFFFF0000},
        {"<#FF000>A", 8, 0xFFFF0000},
        {"<#>FFFFFF", 3, 0xFF000000},
        {"<#FFFFFF00FF>", 13, 0xFFFFFFFF},
        {"<#FFxx00>", 9, 0xFFFF0000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.color, SMediaCtrl::ParseColorTag(c.tag, c.length)) << c.tag;
}

TEST(SMediaCtrlTagsTest, TagsRecordTheirRunsPerSourceLine)
{
    const char* source = "ab<B>cd\r\n\r\nef<U>";
    SMediaCtrl::_SOwnedArray<SMediaCtrl::_STag> tags;
    SMediaCtrl::ScanTags(source, static_cast<int>(strlen(source)), tags);
    ASSERT_EQ(3, tags.GetCount());
    const struct
    {
        int kind;
        std::vector<int> starts, ends;
    } expected[] = {
        {SMediaCtrl::TAG_BASE, {0}, {2}},
        {SMediaCtrl::TAG_BOLD, {5, 9, 11}, {7, -1, 13}},
        {SMediaCtrl::TAG_UNDERLINE, {16}, {16}},
    };
    for (int i = 0; i < 3; i++)
    {
        const SMediaCtrl::_STag* tag = tags.GetAt(i);
        EXPECT_EQ(expected[i].kind, tag->kind);
        std::vector<int> starts, ends;
        for (int k = 0; k < tag->starts.GetCount(); k++)
            starts.push_back(tag->starts.GetAt(k));
        for (int k = 0; k < tag->ends.GetCount(); k++)
            ends.push_back(tag->ends.GetAt(k));
        EXPECT_EQ(expected[i].starts, starts) << i;
        EXPECT_EQ(expected[i].ends, ends) << i;
    }
}
