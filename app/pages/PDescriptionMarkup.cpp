#include "PDescriptionMarkup.h"
#include "PSettings.h"

const char* const PDescriptionMarkup::ADDRESS_ESCAPES = "%#&\"";

namespace
{
const char* const BULLET = "\x95";

struct TagForm
{
    const char* word;
    const char* className;  // null: the picture form
    bool linksByName;
};

const TagForm TAGS[] = {{"genre", "txtGenre", false},
                        {"name", "txtName", true},
                        {"title", "txtTitle", false},
                        {"quote", "txtQuote", false},
                        {"image", nullptr, false}};

SString FontForm(const char* className, const SString& text)
{
    return SString("<font class=") + className + ">" + TextOf(text) + "</font>";
}

SString LinkForm(const char* className, const SString& address, const SString& text)
{
    return SString("<a href=\"") + TextOf(address) + ".link\" class=" + className + ">" + TextOf(text) + "</a>";
}
}

bool PDescriptionMarkup::BuildTag(const SString& word, const SString& text, const SString* argument,
                                  const PFolderLinkIndex& links, SString* html)
{
    for (const TagForm& tag : TAGS)
    {
        if (word.CompareNoCase(tag.word) != 0)
            continue;
        if (!tag.className)
        {
            *html = SString("<img src=\"Images\\") + TextOf(text) + "\">";
            return true;
        }
        SString path;
        if (argument)
            *html = LinkForm(tag.className, *argument, text);
        else if (tag.linksByName && links.FindPath(TextOf(text), &path))
        {
            // Folder names may hold characters that end or cut an address.
            path.UrlEncodeOnly(ADDRESS_ESCAPES);
            *html = LinkForm(tag.className, path, text);
        }
        else
            *html = FontForm(tag.className, text);
        return true;
    }
    return false;
}

SString PDescriptionMarkup::ConvertLine(const SString& source, const PFolderLinkIndex& links)
{
    SString line(source);
    int pos = 0;
    while (pos < line.GetLength())
    {
        const int a = line.FindChar('#', pos);
        const int b = a < 0 ? -1 : line.FindChar('#', a + 1);
        if (b < 0)
            break;
        const int blank = line.FindChar(' ', a + 1);
        if (blank < 0 || blank > b)
        {
            pos = b + 1;
            continue;
        }
        const SString word = line.Substring(a + 1, blank);
        const int at = line.FindChar('@', blank + 1);
        const bool hasArgument = at >= 0 && at < b;
        SString text = line.Substring(blank + 1, hasArgument ? at : b);
        text.Trim(-1, -1, false);
        const SString argument = hasArgument ? line.Substring(at + 1, b) : SString("");
        SString html;
        if (!BuildTag(word, text, hasArgument ? &argument : nullptr, links, &html))
        {
            pos = b + 1;
            continue;
        }
        line.ReplaceRange(TextOf(html), a, b - a + 1);
        pos = a + html.GetLength();
    }
    ApplyBullets(line);
    ApplyIndent(line);
    return line;
}

void PDescriptionMarkup::ApplyBullets(SString& line)
{
    line.Replace("\t.", "\t" "\x95");
    if (line.GetAt(0) == '.')
        line.SetAt(0, BULLET[0]);
}

void PDescriptionMarkup::ApplyIndent(SString& line)
{
    int tabs = 0;
    while (line.GetAt(tabs) == '\t')
        ++tabs;
    if (tabs == 0)
    {
        line += "<br>";
        return;
    }
    SString open, close;
    for (int i = 0; i < tabs; ++i)
    {
        open += "<div class=txtTab>";
        close += "</div>";
    }
    line.ReplaceRange(TextOf(open), 0, tabs);
    line += TextOf(close);
}

bool PDescriptionMarkup::IsChapterLine(const SString& line, SString* title)
{
    const int open = line.FindChar('{');
    const int close = line.FindChar('}');
    if (open < 0 || close < open)
        return false;
    if (title)
        *title = line.Substring(open + 1, close);
    return true;
}

void PDescriptionMarkup::WriteChapter(_PBody& body, const SString& title, SVirtualFile* page)
{
    body.pending = 0;
    if (body.inChapter)
        page->WriteLine("</div><br><br>");
    else if (body.started)
        page->WriteLine("<br><br><br>");
    body.started = body.inChapter = true;
    body.chapterHasText = false;
    const SString heading = SString("<font class=txtChapter><img src=\"Images/icon.gif\" align=absmiddle> ") +
                            TextOf(title) +
                            "</font><br><table border=0 cellpadding=0 cellspacing=0 width=100%>"
                            "<tr height=4><td></tr><tr height=4><td bgcolor=#1381ff></tr></table><br>"
                            "<div class=txt>";
    page->WriteLine(TextOf(heading));
}

void PDescriptionMarkup::WriteTextLine(_PBody& body, const SString& line, const PFolderLinkIndex& links,
                                       SVirtualFile* page)
{
    body.started = true;
    if (body.inChapter)
        body.chapterHasText = true;
    for (; body.pending > 0; --body.pending)
        page->WriteLine("<br>");
    page->WriteLine(TextOf(ConvertLine(line, links)));
}

bool PDescriptionMarkup::WritePage(const SString& text, const char* root, const SString& styleSheet,
                                   const PFolderLinkIndex& links, SVirtualFile* page)
{
    if (!page)
        return false;
    SString base(root ? root : "");
    base.UrlEncodeOnly(ADDRESS_ESCAPES);
    page->WriteLine("<html><head>");
    page->WriteLine(TextOf(SString("<base href=\"") + TextOf(base) + "\">"));
    page->WriteText(TextOf(styleSheet), styleSheet.GetLength());
    page->WriteText("\r\n", 2);
    page->WriteLine("</head>");
    page->WriteLine("<body leftmargin=6 topmargin=6 rightmargin=6 bottommargin=6 marginwidth=6 marginheight=6>");
    page->WriteLine("<div class=txt>");
    _PBody body;
    for (int pos = 0, next = 0; pos < text.GetLength(); pos = next)
    {
        const SString line = text.GetLine(pos, &next);
        SString title;
        if (IsChapterLine(line, &title))
            WriteChapter(body, title, page);
        else if (line.GetLength() > 0)
            WriteTextLine(body, line, links, page);
        else if (!body.inChapter || body.chapterHasText)
            ++body.pending;
    }
    if (body.inChapter)
        page->WriteLine("</div><br><br>");
    page->WriteText("</div></body></html>");
    return true;
}
