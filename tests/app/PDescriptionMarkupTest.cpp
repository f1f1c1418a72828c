// The description markup as text in, HTML out: tags against the link index,
// bullets and indentation, chapter lines, and whole pages with their empty lines.
#include <gtest/gtest.h>
#include <string>
#include "PDescriptionMarkup.h"
#include "SMemory.h"

namespace
{
PFolderLinkIndex Links()
{
    PFolderLinkIndex links;
    links.Add("Rock", "Rock");
    links.Add("Artist", "Rock\\Artist");
    links.Add("artist", "Jazz\\artist");
    links.Add("A&B #1", "Rock\\A&B #1");
    return links;
}

std::string Text(const SString& text)
{
    return text.GetText() ? text.GetText() : "";
}
}

TEST(PDescriptionMarkup, ConvertLineReplacesTagsBulletsAndTabs)
{
    const PFolderLinkIndex links = Links();
    const struct
    {
        const char* line;
        const char* html;
    } cases[] = {
        {"#genre Rock#", "<font class=txtGenre>Rock</font><br>"},
        {"#GENRE Rock@Rock#", "<a href=\"Rock.link\" class=txtGenre>Rock</a><br>"},
        {"#name artist#", "<a href=\"Rock\\Artist.link\" class=txtName>artist</a><br>"},
        {"#Name ARTIST#", "<a href=\"Rock\\Artist.link\" class=txtName>ARTIST</a><br>"},
        {"#name Nobody#", "<font class=txtName>Nobody</font><br>"},
        {"#name \t x \t@ Rock\\Artist #", "<a href=\" Rock\\Artist .link\" class=txtName>x</a><br>"},
        {"#name a&b #1#", "<font class=txtName>a&b</font>1#<br>"},
        {"#title T#", "<font class=txtTitle>T</font><br>"},
        {"#title T@Jazz#", "<a href=\"Jazz.link\" class=txtTitle>T</a><br>"},
        {"#quote Q#", "<font class=txtQuote>Q</font><br>"},
        {"#quote Q@Rock#", "<a href=\"Rock.link\" class=txtQuote>Q</a><br>"},
        {"#image pic.png#", "<img src=\"Images\\pic.png\"><br>"},
        {"#image pic.png@dropped#", "<img src=\"Images\\pic.png\"><br>"},
        {"## then #title T#", "## then <font class=txtTitle>T</font><br>"},
        {"#bold x# and #genre G#", "#bold x# and <font class=txtGenre>G</font><br>"},
        {"a # b", "a # b<br>"},
        {"<b>bold</b> as typed", "<b>bold</b> as typed<br>"},
        {"#genre A##genre B#", "<font class=txtGenre>A</font><font class=txtGenre>B</font><br>"},
        {".first\t.second", "\x95" "first\t\x95" "second<br>"},
        {"\t\t.x", "<div class=txtTab><div class=txtTab>\x95x</div></div>"},
        {"\tx\t", "<div class=txtTab>x\t</div>"},
        {"", "<br>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.html, Text(PDescriptionMarkup::ConvertLine(c.line, links))) << c.line;
}

TEST(PDescriptionMarkup, NameLinksEncodeWhatWouldCutTheAddress)
{
    PFolderLinkIndex links;
    links.Add("x", "Rock\\A&B #1 \"100%\"");
    EXPECT_EQ("<a href=\"Rock\\A%26B %231 %22100%25%22.link\" class=txtName>x</a><br>",
              Text(PDescriptionMarkup::ConvertLine("#name x#", links)));
}

TEST(PDescriptionMarkup, ChapterNeedsABraceAfterTheFirstOpeningOne)
{
    const struct
    {
        const char* line;
        bool chapter;
        const char* title;
    } cases[] = {{"before {Title} after", true, "Title"}, {"{ #genre x# }", true, " #genre x# "},
                 {"{}", true, ""},  {"} then {", false, ""}, {"{open", false, ""}, {"a}b{c}", false, ""}};
    for (const auto& c : cases)
    {
        SString title("");
        EXPECT_EQ(c.chapter, PDescriptionMarkup::IsChapterLine(c.line, &title)) << c.line;
        EXPECT_EQ(c.title, Text(title)) << c.line;
    }
}

TEST(PDescriptionMarkup, PageHasHeadAndEmptyLinesWhereTheyShow)
{
    const std::string head = "<html><head>\r\n<base href=\"C:\\Music\\\">\r\n<style>s</style>\r\n</head>\r\n"
                             "<body leftmargin=6 topmargin=6 rightmargin=6 bottommargin=6 marginwidth=6 "
                             "marginheight=6>\r\n<div class=txt>\r\n";
    const std::string heading = "<font class=txtChapter><img src=\"Images/icon.gif\" align=absmiddle> ";
    const std::string bar = "</font><br><table border=0 cellpadding=0 cellspacing=0 width=100%><tr height=4>"
                            "<td></tr><tr height=4><td bgcolor=#1381ff></tr></table><br><div class=txt>\r\n";
    const struct
    {
        const char* text;
        std::string body;
    } cases[] = {
        {"a\r\n\r\n\r\nb\r\n\r\n", "a<br>\r\n<br>\r\n<br>\r\nb<br>\r\n</div></body></html>"},
        {"a\nb\rc", "a<br>\r\nb<br>\r\nc<br>\r\n</div></body></html>"},
        {"{One}\r\n\r\n\r\nx\r\n\r\n{Two}\r\ny\r\n",
         heading + "One" + bar + "x<br>\r\n</div><br><br>\r\n" + heading + "Two" + bar +
             "y<br>\r\n</div><br><br>\r\n</div></body></html>"},
        {"t\r\n\r\n{C}", "t<br>\r\n<br><br><br>\r\n" + heading + "C" + bar + "</div><br><br>\r\n</div></body></html>"},
        {"", "</div></body></html>"},
    };
    for (const auto& c : cases)
    {
        SMemory page;
        ASSERT_TRUE(PDescriptionMarkup::WritePage(c.text, "C:\\Music\\", "<style>s</style>", Links(), &page));
        page.SeekToStart();
        EXPECT_EQ(head + c.body, Text(page.ReadText())) << c.text;
    }
}
