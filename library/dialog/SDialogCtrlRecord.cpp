#include "SDialogCtrl.h"
#include "SStringParser.h"
#include "SStyleNames.h"
#include <cstdlib>
#include <cstring>
#include <string>

SDialogCtrl::_SCtrl::_SCtrl()
    : m_id(0), m_type(-1), m_name(""), m_caption(""), m_fontName(""), m_fontSize(0),
      m_fontStyle(0), m_x(10), m_y(10), m_width(150), m_height(150), m_locked(false),
      m_isDialog(false), m_style(0), m_exstyle(0), m_backColor(DIALOG_DEFAULT_COLOR),
      m_textColor(DIALOG_DEFAULT_COLOR), m_transparent(false), m_typeKeys(""), m_keyTableValid(false),
      m_reserved(0), m_gridScroll(0)
{
}

// The preview goes before its font, which it may still be using.
SDialogCtrl::_SCtrl::~_SCtrl()
{
    m_live.reset();
}

void SDialogCtrl::_SCtrl::CopyFrom(const _SCtrl& other)
{
    if (&other == this)
        return;
    m_id = other.m_id;
    m_type = other.m_type;
    m_name = other.m_name;
    m_caption = other.m_caption;
    m_fontName = other.m_fontName;
    m_fontSize = other.m_fontSize;
    m_fontStyle = other.m_fontStyle;
    m_x = other.m_x;
    m_y = other.m_y;
    m_width = other.m_width;
    m_height = other.m_height;
    m_locked = other.m_locked;
    m_isDialog = other.m_isDialog;
    m_style = other.m_style;
    m_exstyle = other.m_exstyle;
    m_backColor = other.m_backColor;
    m_textColor = other.m_textColor;
    m_transparent = other.m_transparent;
    AssignTypeKeys(other.m_typeKeys);
    m_reserved = other.m_reserved;
    m_gridScroll = other.m_gridScroll;
}

void SDialogCtrl::_SCtrl::SetFont(const char* face, short size, DWORD style)
{
    m_fontName = RemoveLineBreaks(face);
    m_fontSize = size;
    m_fontStyle = style;
}

void SDialogCtrl::_SCtrl::SetPosition(short x, short y, short width, short height)
{
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
}

RECT SDialogCtrl::_SCtrl::GetRect() const
{
    RECT rect = {m_x, m_y, m_x + m_width, m_y + m_height};
    return rect;
}

void SDialogCtrl::_SCtrl::SetTypeKeys(const char* text)
{
    AssignTypeKeys(NormalizeTypeKeys(text));
}

void SDialogCtrl::_SCtrl::AssignTypeKeys(const SString& text)
{
    m_typeKeys = text;
    ForgetKeyTable();
}

void SDialogCtrl::_SCtrl::ForgetKeyTable()
{
    m_keyTable.clear();
    m_keyTableValid = false;
}

void SDialogCtrl::_SCtrl::AppendTypeKey(const SString& key, const SString& text)
{
    const int start = m_typeKeys.GetLength();
    // A text that ends inside a piece would join the new line to it.
    const bool ended = start == 0 || m_typeKeys.GetAt(start - 1) == '\n' || m_typeKeys.GetAt(start - 1) == '\r';
    m_typeKeys += (key + "=" + text.GetText() + "\r\n").GetText();
    if (m_keyTableValid && ended)
        m_keyTable.emplace(std::string(key.GetLength() > 0 ? key.GetText() : "", key.GetLength()),
                           _SKeyPlace{start + key.GetLength() + 1, text.GetLength()});
    else
        ForgetKeyTable();
}

// The pieces between CR and LF that hold "=", in order: the first of a key wins.
const SDialogCtrl::_SCtrl::_SKeyPlace* SDialogCtrl::_SCtrl::FindKey(const char* key) const
{
    if (!key)
        return nullptr;
    if (!m_keyTableValid)
    {
        m_keyTable.clear();
        const char* text = m_typeKeys.GetText() ? m_typeKeys.GetText() : "";
        const char* piece = text;
        while (*piece)
        {
            const size_t length = strcspn(piece, "\r\n");
            const char* equal = static_cast<const char*>(memchr(piece, '=', length));
            if (equal)
                m_keyTable.emplace(std::string(piece, equal - piece),
                                   _SKeyPlace{static_cast<int>(equal + 1 - text),
                                              static_cast<int>(piece + length - equal - 1)});
            piece += length;
            if (*piece)
                piece++;
        }
        m_keyTableValid = true;
    }
    const auto found = m_keyTable.find(key);
    return found == m_keyTable.end() ? nullptr : &found->second;
}

SString SDialogCtrl::_SCtrl::GetValue(const char* key) const
{
    const _SKeyPlace* place = FindKey(key);
    return place ? SString().SetText(m_typeKeys.GetText() + place->value, place->length) : SString("");
}

// The value changes where GetValue reads it: a line that a lone CR or LF splits
// keeps its other pieces. A key that a rebuilt text would read otherwise (one
// holding "=" or a line break, or none at all) is refused.
bool SDialogCtrl::_SCtrl::SetValue(const char* key, const char* text)
{
    if (!key || !*key || strpbrk(key, "=\r\n"))
        return false;
    const SString cleanText = RemoveLineBreaks(text);
    const _SKeyPlace* place = FindKey(key);
    if (!place)
    {
        AppendTypeKey(SString(key), cleanText);
        return true;
    }
    m_typeKeys.ReplaceRange(cleanText.GetText(), place->value, place->length);
    // The places after the value have moved.
    ForgetKeyTable();
    return true;
}

bool SDialogCtrl::_SCtrl::SetValueInt(const char* key, int n)
{
    return SetValue(key, IntToString(n).GetText());
}

bool SDialogCtrl::_SCtrl::GetValueBool(const char* key) const
{
    return GetValueInt64(key) != 0;
}

int SDialogCtrl::_SCtrl::GetValueInt(const char* key) const
{
    return static_cast<int>(GetValueInt64(key));
}

long long SDialogCtrl::_SCtrl::GetValueInt64(const char* key) const
{
    return ParseDialogNumber(GetValue(key).GetText());
}

double SDialogCtrl::_SCtrl::GetValueReal(const char* key) const
{
    return atof(GetValue(key).GetText());
}

DWORD SDialogCtrl::_SCtrl::GetValueColor(const char* key) const
{
    const SString value = GetValue(key);
    if (value.GetLength() == 0)
        return DIALOG_DEFAULT_COLOR;
    // Read in 64 bits: both "-16777216" and "4278190080" stand for 0xFF000000.
    const DWORD color = static_cast<DWORD>(ParseDialogNumber(value.GetText()));
    if (color >= 0xFE000000 && color <= 0xFEFFFFFF)
        return GetSysColor(static_cast<int>(color - 0xFE000000));
    return color;
}

int SDialogCtrl::_SCtrl::GetValueDrawMode(const char* key) const
{
    return FindNamedValue(DIALOG_DRAWMODE_NAMES, 12, GetValue(key).GetText(), 0);
}

SString SDialogCtrl::_SCtrl::GetStyleNames(bool exstyle) const
{
    const DWORD word = exstyle ? m_exstyle : m_style;
    const SStyleNames names = SStyleNames::ForType(m_type);
    SString text("");
    const auto append = [&](const SStyleNames::_SName* list, int count) {
        for (int i = 0; i < count; i++)
        {
            if ((word & list[i].value) == list[i].value)
            {
                text += list[i].name;
                text += list[i].twoBlanks ? "  " : " ";
            }
        }
    };
    if (exstyle)
        append(names.exstyle, names.exstyleCount);
    else
    {
        int commonCount = 0;
        const SStyleNames::_SName* common = SStyleNames::GetCommon(&commonCount);
        append(common, commonCount);
        append(names.style, names.styleCount);
    }
    return text;
}

void SDialogCtrl::_SCtrl::SetStyleNames(bool exstyle, const char* text)
{
    SStringParser parser(text ? text : "");
    if (parser.Split(" ") <= 0)
        return;
    const SStyleNames names = SStyleNames::ForType(m_type);
    int commonCount = 0;
    const SStyleNames::_SName* common = SStyleNames::GetCommon(&commonCount);
    const SStyleNames::_SName* lists[3] = {common, names.style, names.exstyle};
    const int counts[3] = {commonCount, names.styleCount, names.exstyleCount};
    DWORD word = 0;
    for (int l = 0; l < 3; l++)
    {
        for (int i = 0; i < counts[l]; i++)
        {
            if (lists[l][i].value != 0 && parser.FindToken(lists[l][i].name) >= 0)
                word |= lists[l][i].value;
        }
    }
    (exstyle ? m_exstyle : m_style) = word;
}

void SDialogCtrl::_SUndo::Clear()
{
    elements.DeleteAndRemoveAll();
    selected.RemoveAll();
    dialog.reset();
}
