// The tag language of the rich-text view: finding the tags of the source, then
// walking them into lines of styled runs. Nothing here draws.
#include "SMediaCtrl.h"
#include <cstring>
#include "SHexDigit.h"

namespace
{
struct TagName
{
    const char* text;
    int kind;
};

// Compared ignoring case, before and after the colour tags.
const TagName STYLE_TAGS[] = {
    {"<B>", SMediaCtrl::TAG_BOLD},      {"</B>", SMediaCtrl::TAG_BOLD},
    {"<I>", SMediaCtrl::TAG_ITALIC},    {"</I>", SMediaCtrl::TAG_ITALIC},
    {"<U>", SMediaCtrl::TAG_UNDERLINE}, {"</U>", SMediaCtrl::TAG_UNDERLINE}};
const TagName OTHER_TAGS[] = {
    {"<LINK>", SMediaCtrl::TAG_LINK},     {"</LINK>", SMediaCtrl::TAG_LINK},
    {"<IMG>", SMediaCtrl::TAG_IMAGE},     {"</IMG>", SMediaCtrl::TAG_IMAGE},
    {"<LEFT>", SMediaCtrl::TAG_LEFT},     {"</LEFT>", SMediaCtrl::TAG_LEFT},
    {"<L>", SMediaCtrl::TAG_LEFT},        {"</L>", SMediaCtrl::TAG_LEFT},
    {"<CENTER>", SMediaCtrl::TAG_CENTER}, {"</CENTER>", SMediaCtrl::TAG_CENTER},
    {"<C>", SMediaCtrl::TAG_CENTER},      {"</C>", SMediaCtrl::TAG_CENTER},
    {"<RIGHT>", SMediaCtrl::TAG_RIGHT},   {"</RIGHT>", SMediaCtrl::TAG_RIGHT},
    {"<R>", SMediaCtrl::TAG_RIGHT},       {"</R>", SMediaCtrl::TAG_RIGHT}};

template <size_t N>
int FindName(const TagName (&names)[N], const char* tag, int length)
{
    for (const TagName& name : names)
        if (static_cast<int>(strlen(name.text)) == length && _strnicmp(name.text, tag, length) == 0)
            return name.kind;
    return -1;
}

// The kind of the text between '<' and '>' inclusive, or -1 when it is no tag.
int RecogniseTag(const char* tag, int length)
{
    const int kind = FindName(STYLE_TAGS, tag, length);
    if (kind >= 0)
        return kind;
    if (strncmp(tag, "<#", 2) == 0 || (length >= 3 && strncmp(tag, "</#", 3) == 0))
        return SMediaCtrl::TAG_COLOR;
    return FindName(OTHER_TAGS, tag, length);
}

// The pair at index i of the tag; characters at or past the closing '>' are
// missing and read as 0, a character that is not hexadecimal spoils the pair.
DWORD ReadPair(const char* tag, int length, int i)
{
    const int last = length - 1; // the '>'
    const int high = i < last ? SHexDigit(tag[i]) : 0;
    const int low = i + 1 < last ? SHexDigit(tag[i + 1]) : 0;
    return high < 0 || low < 0 ? 0 : static_cast<DWORD>(high * 16 + low);
}

int FindInLine(const char* source, char c, int from, int end)
{
    const void* found = memchr(source + from, c, end - from);
    return found ? static_cast<int>(static_cast<const char*>(found) - source) : -1;
}

// Reads the tags of one line, from its start to its end (line end excluded).
SMediaCtrl::_STag* ScanLine(const char* source, int position, int end, SArray<SMediaCtrl::_STag*>& tags,
                            SMediaCtrl::_STag* current)
{
    while (position < end)
    {
        const int open = FindInLine(source, '<', position, end);
        const int close = FindInLine(source, '>', position, end);
        if (open < 0 || close < open)
            break;
        position = close + 1;
        const int kind = RecogniseTag(source + open, close + 1 - open);
        if (kind < 0)
            continue;
        const bool opening = source[open + 1] != '/';
        const DWORD color = opening && kind == SMediaCtrl::TAG_COLOR
                                ? SMediaCtrl::ParseColorTag(source + open, close + 1 - open)
                                : 0;
        current->ends.Add(open);
        current = new SMediaCtrl::_STag(kind, opening, color);
        current->starts.Add(close + 1);
        tags.Add(current);
    }
    return current;
}

// The state of the tag language while the tags are walked in source order.
struct TagState
{
    int bold = 0, italic = 0, underline = 0;
    int left = 0, center = 0, right = 0;
    bool link = false, image = false;
    SArray<DWORD> colors; // the bottom one is the default text colour

    static void Count(int& counter, bool opening)
    {
        if (opening)
            counter++;
        else if (counter > 0)
            counter--;
    }

    void Apply(const SMediaCtrl::_STag& tag)
    {
        switch (tag.kind)
        {
        case SMediaCtrl::TAG_BOLD: Count(bold, tag.opening); break;
        case SMediaCtrl::TAG_ITALIC: Count(italic, tag.opening); break;
        case SMediaCtrl::TAG_UNDERLINE: Count(underline, tag.opening); break;
        case SMediaCtrl::TAG_LEFT: Count(left, tag.opening); break;
        case SMediaCtrl::TAG_CENTER: Count(center, tag.opening); break;
        case SMediaCtrl::TAG_RIGHT: Count(right, tag.opening); break;
        case SMediaCtrl::TAG_LINK: link = tag.opening; break;
        case SMediaCtrl::TAG_IMAGE: image = tag.opening; break;
        case SMediaCtrl::TAG_COLOR:
            if (tag.opening)
                colors.Add(tag.color);
            else if (colors.GetCount() > 1)
                colors.RemoveLast();
            break;
        default: break;
        }
    }

    // 2 right, 1 centre, 0 left, -1 none.
    int Alignment() const { return right > 0 ? 2 : center > 0 ? 1 : left > 0 ? 0 : -1; }
};

SMediaCtrl::_SLine* StartLine(SArray<SMediaCtrl::_SLine*>& lines, const TagState& state)
{
    SMediaCtrl::_SLine* line = new SMediaCtrl::_SLine;
    line->alignment = state.Alignment();
    lines.Add(line);
    return line;
}

void AddRun(const char* source, int start, int end, const TagState& state, const SMediaCtrl::_SStyle& style,
            SMediaCtrl::_SPictures* pictures, SMediaCtrl::_SLine* line)
{
    SMediaCtrl::_SText* run = new SMediaCtrl::_SText;
    run->start = start;
    run->length = end - start;
    run->font = style.font;
    run->font.lfWeight = state.bold > 0 ? FW_BOLD : FW_NORMAL;
    run->font.lfItalic = state.italic > 0;
    run->font.lfUnderline = state.underline > 0 || state.link;
    run->link = state.link;
    run->color = state.link ? style.linkColor : state.colors.GetLast();
    if (state.image && pictures)
    {
        SString name;
        name.Assign(source + start, end - start);
        run->image = pictures->FindPicture(name);
    }
    line->runs.Add(run);
    if (state.Alignment() > line->alignment)
        line->alignment = state.Alignment();
}
} // namespace

DWORD SMediaCtrl::ParseColorTag(const char* tag, int length)
{
    if (!tag || length < 3)
        return 0xFF000000;
    const DWORD red = ReadPair(tag, length, 2), green = ReadPair(tag, length, 4), blue = ReadPair(tag, length, 6);
    const DWORD alpha = length == 11 ? ReadPair(tag, length, 8) : 0xFF;
    return alpha << 24 | red << 16 | green << 8 | blue;
}

void SMediaCtrl::ScanTags(const char* source, int length, SArray<_STag*>& tags)
{
    _STag* current = new _STag(TAG_BASE, true);
    current->starts.Add(0);
    tags.Add(current);
    if (!source || length <= 0)
    {
        current->ends.Add(-1);
        return;
    }
    int position = 0;
    for (;;)
    {
        int end = position;
        while (end < length && source[end] != '\r' && source[end] != '\n')
            end++;
        if (position > 0)
            current->starts.Add(position);
        current = ScanLine(source, position, end, tags, current);
        current->ends.Add(end > position ? end : -1);
        if (end >= length)
            break;
        position = end + (source[end] == '\r' && end + 1 < length && source[end + 1] == '\n' ? 2 : 1);
        if (position >= length)
            break;
    }
}

void SMediaCtrl::BuildLines(const char* source, const SArray<_STag*>& tags, const _SStyle& style,
                            _SPictures* pictures, SArray<_SLine*>& lines)
{
    TagState state;
    state.colors.Add(style.textColor);
    _SLine* line = StartLine(lines, state);
    for (int t = 0; t < tags.GetCount(); t++)
    {
        const _STag* tag = tags.GetAt(t);
        state.Apply(*tag);
        const int runs = tag->starts.GetCount();
        for (int r = 0; r < runs; r++)
        {
            const int start = tag->starts.GetAt(r);
            const int end = r < tag->ends.GetCount() ? tag->ends.GetAt(r) : start;
            if (end > start)
                AddRun(source, start, end, state, style, pictures, line);
            if (r < runs - 1)
                line = StartLine(lines, state);
        }
    }
}
