#include "SDialogValues.h"
#include "SStringParser.h"
#include <cctype>
#include <climits>
#include <cstdlib>
#include <string>

namespace
{
const DWORD TRANSPARENT_COLOR = 0xFF000001;
const DWORD SYSTEM_COLOR_FIRST = 0xFE000000;

// The name between from and to, blanks trimmed; it loses its quotes only when
// they enclose all of it: Say "hi" and "Yes" or "No" stay as they are.
std::string TabName(const std::string& all, size_t from, size_t to, size_t lastQuote)
{
    while (from < to && all[from] == ' ')
        from++;
    while (to > from && all[to - 1] == ' ')
        to--;
    if (to - from >= 2 && all[from] == '"' && from < lastQuote && all.find('"', from + 1) == to - 1)
        return all.substr(from + 1, to - from - 2);
    return all.substr(from, to - from);
}
}

int SDialogValues::DrawMode(const char* key) const
{
    return m_record->GetValueDrawMode(key);
}

int SDialogValues::Choice(const char* key, const SDialogNamedValue* names, int count, int fallback) const
{
    return FindNamedValue(names, count, Text(key).GetText(), fallback);
}

int SDialogValues::ToInt(const char* text)
{
    if (!text)
        return 0;
    while (isspace(static_cast<unsigned char>(*text)))
        text++;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        text++;
    // Counted past the limit only as far as needed to know it is past.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; text++)
    {
        value = value * 10 + (*text - '0');
        if (value > limit)
        {
            value = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

double SDialogValues::ToReal(const char* text)
{
    return text ? atof(text) : 0.0;
}

DWORD SDialogValues::ToRawColor(const char* text)
{
    return static_cast<DWORD>(ParseDialogNumber(text));
}

DWORD SDialogValues::ToColor(const char* text)
{
    if (!text || !*text)
        return DEFAULT_COLOR;
    const DWORD color = ToRawColor(text);
    return color >= DEFAULT_COLOR ? DEFAULT_COLOR : ResolveSystemColor(color);
}

DWORD SDialogValues::ResolveSystemColor(DWORD color)
{
    if (color < SYSTEM_COLOR_FIRST)
        return color;
    return GetSysColor(static_cast<int>(color + 0x02000000u));
}

bool SDialogValues::ResolveCommonColor(DWORD stored, bool background, DWORD* color)
{
    if (stored == DEFAULT_COLOR || (stored > DEFAULT_COLOR && !(background && stored == TRANSPARENT_COLOR)))
        return false;
    *color = stored > DEFAULT_COLOR ? stored : ResolveSystemColor(stored);
    return true;
}

DWORD SDialogValues::ToArgb(DWORD color)
{
    return 0xFF000000u | (color & 0xFF) << 16 | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

int SDialogValues::SplitList(const char* text, SArrayString* items)
{
    SStringParser parser(text ? text : "");
    const int count = parser.Split("|", SStringParser::TrimSpaces, '"', items);
    return count < 0 ? 0 : count;
}

int SDialogValues::SplitTabNames(const char* text, SArrayString* names)
{
    const std::string all(text ? text : "");
    if (all.empty())
        return 0;
    // A quote opens a group only when a later quote closes it.
    const size_t lastQuote = all.rfind('"');
    int count = 0;
    size_t start = 0;
    for (size_t i = 0;; i++)
    {
        if (i < all.size() && all[i] == '"' && i < lastQuote)
        {
            i = all.find('"', i + 1);
            continue;
        }
        if (i < all.size() && all[i] != '|')
            continue;
        if (names)
            names->Add(TabName(all, start, i, lastQuote).c_str());
        count++;
        if (i >= all.size())
            return count;
        start = i + 1;
    }
}

std::vector<SDialogValues::_SToolEntry> SDialogValues::PlanToolBar(const SArrayString& tokens)
{
    std::vector<_SToolEntry> plan;
    int button = 0;
    bool separatorPending = false;
    for (int i = 0; i < tokens.GetCount(); i++)
    {
        const SString token = tokens.GetAt(i);
        if (token.GetLength() == 0)
        {
            separatorPending = true;
            continue;
        }
        if (separatorPending)
            plan.push_back({true, -1, SString("")});
        separatorPending = false;
        plan.push_back({false, button++, token});
    }
    return plan;
}

std::vector<int> SDialogValues::PlanCreationOrder(const std::vector<int>& types)
{
    std::vector<int> order;
    int cursor = static_cast<int>(types.size());
    for (int i = 0; i < static_cast<int>(types.size()); i++)
    {
        int made = i;
        if (types[i] == TYPE_TAB)
        {
            int below = cursor - 1;
            while (below >= 0 && types[below] != TYPE_TAB)
                below--;
            if (below >= 0)
                made = cursor = below;
        }
        order.push_back(made);
    }
    return order;
}

std::vector<SDialogValues::_SPage> SDialogValues::ParsePages(const char* text, int tabCount)
{
    std::vector<_SPage> pages;
    SArrayString tokens;
    SStringParser parser(text ? text : "");
    if (parser.Split(" ", 0, '"', &tokens) <= 0)
        return pages;
    for (int i = 0; i < tokens.GetCount(); i += 2)
    {
        const int tab = ToInt(tokens.GetAt(i).GetText());
        const int id = i + 1 < tokens.GetCount() ? ToInt(tokens.GetAt(i + 1).GetText()) : 0;
        if (tab >= 0 && tab < tabCount)
            pages.push_back({tab, id});
    }
    return pages;
}
