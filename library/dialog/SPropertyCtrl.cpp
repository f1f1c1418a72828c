// SPropertyCtrl: construction, the groups and items, and their values.
#include "SPropertyCtrl.h"
#include <cstdlib>
#include "SControlColor.h"
#include "SStringParser.h"

namespace
{
Gdiplus::Color SystemColor(int index)
{
    return Gdiplus::Color(SControlColor::ColorRefToArgb(GetSysColor(index)));
}

// Kind 2 arrives as the unsigned decimal of the colour value, so that the
// default and the system colours come through whole.
COLORREF ReadColorText(const SString& text)
{
    if (text.GetLength() == 0)
        return SWnd::COLOR_NONE;
    return static_cast<COLORREF>(std::strtoul(text.GetText(), nullptr, 10));
}

// Stores the text as the kind's value; true when the stored value changed.
bool StoreValue(SPropertyCtrl::_SItem& item, const SString& text)
{
    const char* value = text.GetText() ? text.GetText() : "";
    switch (item.kind)
    {
    case SPropertyCtrl::KIND_BOOL:
    {
        const unsigned char on = std::atoi(value) != 0 ? 1 : 0;
        const bool changed = on != item.boolValue;
        item.boolValue = on;
        return changed;
    }
    case SPropertyCtrl::KIND_COLOR:
    {
        const COLORREF color = ReadColorText(text);
        const bool changed = color != item.color;
        item.color = color;
        return changed;
    }
    case SPropertyCtrl::KIND_FONT:
    {
        SStringParser parser(value);
        parser.Split(",", SStringParser::TrimSpaces | SStringParser::HonourQuotes);
        const SString face = parser.GetToken(0);
        const int size = parser.GetTokenInt(1), style = parser.GetTokenInt(2);
        const bool changed = face.Compare(item.fontFace.GetText()) != 0 || size != item.fontSize ||
                             style != item.fontStyle;
        item.fontFace = face;
        item.fontSize = size;
        item.fontStyle = style;
        return changed;
    }
    default:
    {
        SString stored = text;
        if (item.kind == SPropertyCtrl::KIND_INTEGER)
            stored = IntToString(std::atoi(value));
        else if (item.kind == SPropertyCtrl::KIND_REAL)
            stored.FormatDouble(std::atof(value));
        const bool changed = stored.Compare(item.text.GetText()) != 0;
        item.text = stored;
        return changed;
    }
    }
}
} // namespace

SString SPropertyCtrl::_SItem::GetChoiceValue(int i) const
{
    return choices.GetAt(i).GetBeforeCharOrAll('|');
}

SString SPropertyCtrl::_SItem::GetChoiceText(int i) const
{
    const SString entry = choices.GetAt(i);
    const int bar = entry.FindChar('|');
    return bar < 0 ? entry : entry.Mid(bar + 1);
}

int SPropertyCtrl::_SItem::FindChoice(const char* value) const
{
    for (int i = 0; i < choices.GetCount(); i++)
        if (GetChoiceValue(i).Compare(value) == 0)
            return i;
    return -1;
}

SPropertyCtrl::_SGroup::~_SGroup()
{
    items.DeleteAndRemoveAll();
}

SPropertyCtrl::SPropertyCtrl()
    : m_headerStart(SystemColor(COLOR_HIGHLIGHT)), m_headerEnd(SystemColor(COLOR_BTNFACE)),
      m_valueStart(SystemColor(COLOR_WINDOW)), m_valueEnd(SystemColor(COLOR_BTNFACE)),
      m_shadowPen(SystemColor(COLOR_BTNSHADOW), 1.0f), m_backgroundBrush(SystemColor(COLOR_BTNFACE)),
      m_groupTextBrush(SystemColor(COLOR_HIGHLIGHTTEXT)), m_nameBrush(SystemColor(COLOR_WINDOW)),
      m_textBrush(SystemColor(COLOR_BTNTEXT)), m_selectionBrush(SystemColor(COLOR_HIGHLIGHT)),
      m_selectionTextBrush(SystemColor(COLOR_HIGHLIGHTTEXT)), m_guiFont(nullptr),
      m_rowHeight(MINIMUM_ROW_HEIGHT), m_nameWidth(100), m_currentRow(-1), m_currentGroup(-1),
      m_currentItem(-1), m_edit(this), m_dropDown(this), m_borderDrag(false), m_dragStartX(0),
      m_dragStartWidth(0)
{
    SetTypeId(STYPE_PROPERTY);
    SetLanguage(true);
    MakeImages();
}

SPropertyCtrl::~SPropertyCtrl()
{
    CloseEditors(false);
    DestroyWindow();
    m_groups.DeleteAndRemoveAll();
}

int SPropertyCtrl::AddGroup(const char* key, const char* caption, int position, bool expanded)
{
    if (FindGroup(key) >= 0)
        return -1;
    const _SGroup* current = GetGroup(GetCurrentGroup());
    const _SItem* currentItem = GetItem(GetCurrentGroup(), GetCurrentItem());
    if (position < 0 || position > m_groups.GetCount())
        position = m_groups.GetCount();
    m_groups.InsertAt(new _SGroup(key, caption, expanded), position);
    KeepCurrent(current, currentItem);
    UpdateScrollRange();
    Redraw();
    return position;
}

int SPropertyCtrl::SetItem(int group, const char* key, const char* caption, int kind, const char* value,
                           const SArrayString* choices, int position)
{
    if (m_groups.GetCount() == 0 || group < -1 || group >= m_groups.GetCount())
        return -1;
    const SString text(value ? value : "");
    int index = group < 0 ? -1 : FindItemIndex(group, key);
    if (index >= 0)
    {
        _SItem* item = GetItem(group, index);
        if (StoreValue(*item, text) && !item->mixed)
            item->mixed = 1;
        Redraw();
        return index;
    }
    _SItem* item = new _SItem(key, caption, kind);
    StoreValue(*item, text);
    if (kind == KIND_CHOICE && choices)
        item->choices = *choices;
    _SGroup* target = m_groups.GetAt(group < 0 ? m_groups.GetCount() - 1 : group);
    const _SGroup* current = GetGroup(GetCurrentGroup());
    const _SItem* currentItem = GetItem(GetCurrentGroup(), GetCurrentItem());
    if (position < 0 || position > target->items.GetCount())
        position = target->items.GetCount();
    target->items.InsertAt(item, position);
    KeepCurrent(current, currentItem);
    UpdateScrollRange();
    Redraw();
    return position;
}

int SPropertyCtrl::FindGroup(const char* key) const
{
    for (int i = 0; i < m_groups.GetCount(); i++)
        if (m_groups.GetAt(i)->key.Compare(key) == 0)
            return i;
    return -1;
}

int SPropertyCtrl::FindItemIndex(int group, const char* key) const
{
    const _SGroup* g = GetGroup(group);
    if (!g)
        return -1;
    for (int i = 0; i < g->items.GetCount(); i++)
        if (g->items.GetAt(i)->key.Compare(key) == 0)
            return i;
    return -1;
}

SPropertyCtrl::_SItem* SPropertyCtrl::FindItem(int group, const char* key) const
{
    return GetItem(group, FindItemIndex(group, key));
}

SPropertyCtrl::_SItem* SPropertyCtrl::GetItem(int group, int index) const
{
    const _SGroup* g = GetGroup(group);
    return g && index >= 0 && index < g->items.GetCount() ? g->items.GetAt(index) : nullptr;
}

SPropertyCtrl::_SGroup* SPropertyCtrl::GetGroup(int index) const
{
    return index >= 0 && index < m_groups.GetCount() ? m_groups.GetAt(index) : nullptr;
}

bool SPropertyCtrl::LocateItem(const _SItem* item, int* group, int* index) const
{
    if (!item)
        return false;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        const int i = m_groups.GetAt(g)->items.Find(const_cast<_SItem*>(item));
        if (i >= 0)
        {
            if (group)
                *group = g;
            if (index)
                *index = i;
            return true;
        }
    }
    return false;
}

void SPropertyCtrl::RemoveEmptyGroups()
{
    const _SGroup* current = GetGroup(GetCurrentGroup());
    const _SItem* currentItem = GetItem(GetCurrentGroup(), GetCurrentItem());
    for (int g = m_groups.GetCount() - 1; g >= 0; g--)
        if (m_groups.GetAt(g)->items.GetCount() == 0)
        {
            if (m_groups.GetAt(g) == current)
                current = nullptr;
            m_groups.DeleteAndRemoveAt(g);
        }
    KeepCurrent(current, currentItem);
    UpdateScrollRange();
    Redraw();
}

void SPropertyCtrl::RemoveAll()
{
    CloseEditors(false);
    m_currentRow = m_currentGroup = m_currentItem = -1;
    m_groups.DeleteAndRemoveAll();
    Redraw();
    UpdateScrollRange();
}

void SPropertyCtrl::SetLanguage(bool english)
{
    m_words.FreeMemory();
    m_words.Add(english ? "False" : "Faux");
    m_words.Add(english ? "True" : "Vrai");
    m_words.Add(english ? "Default" : "D\xE9" "faut");
    Redraw();
}

void SPropertyCtrl::SetNameWidth(int width)
{
    m_nameWidth = width;
    Redraw();
}
