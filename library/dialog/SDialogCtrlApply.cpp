#include "SDialogCtrl.h"
#include <cstdlib>
#include <cstring>
#include "SDialogPropertyTable.h"
#include "SDialogValues.h"
#include "SStringParser.h"

namespace
{
bool Is(const SString& key, const char* name)
{
    return key.Compare(name) == 0;
}

const char* Flag(bool on)
{
    return on ? "1" : "0";
}

short ToShort(const SString& text)
{
    return static_cast<short>(atoi(text.GetText() ? text.GetText() : ""));
}
} // namespace

bool SDialogCtrl::_SPropertyCtrl::OnItemChanged(int group, _SItem* item)
{
    return m_designer ? m_designer->ApplyProperty(item) : true;
}

bool SDialogCtrl::ApplyProperty(const SPropertyCtrl::_SItem* item)
{
    if (!item)
        return false;
    // One snapshot for the edit of every selected element, kept once one takes it.
    std::unique_ptr<_SUndo> snapshot = MakeUndoSnapshot();
    for (int i = 0; i < GetSelectedCount(); i++)
    {
        _SCtrl* element = GetSelected(i);
        bool handled = false;
        if (!ApplyCommonProperty(element, item, &handled))
            return false;
        PushUndoSnapshot(std::move(snapshot));
        if (!handled)
            ApplyTypeProperty(element, item);
        RemakeLiveControl(element);
    }
    RedrawAll();
    NotifyChanged(0);
    return true;
}

bool SDialogCtrl::ApplyCommonProperty(_SCtrl* element, const SPropertyCtrl::_SItem* item, bool* handled)
{
    const SString& key = item->key;
    const char* text = item->text.GetText() ? item->text.GetText() : "";
    *handled = true;
    if (Is(key, "NAME"))
        return ApplyName(element, text);
    if (Is(key, "BORDER") || Is(key, "CLIENTEDGE") || Is(key, "STATICEDGE"))
    {
        ApplyBorder(element, item);
        return true;
    }
    if (Is(key, "CAPTION"))
        element->SetCaption(text);
    else if (Is(key, "VISIBLE"))
        element->ToggleStyleBits(WS_VISIBLE);
    else if (Is(key, "DISABLED"))
        element->ToggleStyleBits(WS_DISABLED);
    else if (Is(key, "FONT"))
        element->SetFont(item->fontFace.GetText(), static_cast<short>(item->fontSize),
                         static_cast<DWORD>(item->fontStyle));
    else if (Is(key, "TABENABLED"))
        element->SetValue("TABENABLED", Flag(item->boolValue != 0));
    else if (Is(key, "TABGROUP"))
        element->SetValue("TABGROUP", text);
    else if (Is(key, "X") || Is(key, "Y") || Is(key, "WIDTH") || Is(key, "HEIGHT"))
    {
        short fields[4] = {element->GetX(), element->GetY(), element->GetWidth(), element->GetHeight()};
        const char* names[4] = {"X", "Y", "WIDTH", "HEIGHT"};
        for (int i = 0; i < 4; i++)
            fields[i] = Is(key, names[i]) ? ToShort(item->text) : fields[i];
        element->SetPosition(fields[0], fields[1], fields[2], fields[3]);
    }
    else if (Is(key, "HALIGN") || Is(key, "VALIGN"))
    {
        const bool horizontal = Is(key, "HALIGN");
        const int anchor = FindNamedValue(horizontal ? DIALOG_HALIGN_NAMES : DIALOG_VALIGN_NAMES, 7, text, -1);
        if (anchor >= 0)
            element->SetValueInt(key.GetText(), anchor);
    }
    else if (Is(key, "BACKCOLOR"))
        element->SetBackColor(item->color);
    else if (Is(key, "TEXTCOLOR"))
        element->SetTextColor(item->color);
    else if (Is(key, "BACKTRANSP"))
        element->SetTransparent(item->boolValue != 0);
    else
        *handled = false;
    return true;
}

bool SDialogCtrl::ApplyName(_SCtrl* element, const char* name)
{
    if (!OnNameChanging(element, name))
        return false;
    // The element's own name counts as taken.
    if (!IsNameAvailable(name))
    {
        ShowError("?NAMEEXIST");
        return false;
    }
    element->SetName(name);
    return true;
}

void SDialogCtrl::ApplyBorder(_SCtrl* element, const SPropertyCtrl::_SItem* item)
{
    const bool on = item->boolValue != 0;
    if (item->key.Compare("BORDER") != 0)
    {
        const DWORD bit = item->key.Compare("CLIENTEDGE") == 0 ? WS_EX_CLIENTEDGE : WS_EX_STATICEDGE;
        if (on)
            element->SetStyleBits(bit, true);
        else
            element->ClearStyleBits(bit, true);
        return;
    }
    if (on)
        element->SetStyleBits(WS_BORDER);
    else
    {
        element->ClearStyleBits(WS_BORDER);
        // A dialog without a border has no caption either.
        if (element->GetType() == DTYPE_DIALOG)
        {
            element->ClearStyleBits(WS_CAPTION);
            SetPaneBool("$STYLE", "DIALOG_CAPTION", false);
        }
    }
}

void SDialogCtrl::ApplyTypeProperty(_SCtrl* element, const SPropertyCtrl::_SItem* item)
{
    const SString& key = item->key;
    const SDialogPropertyRow* row = FindDialogPropertyRow(element->GetType(), key.GetText());
    if (!row)
        return;
    if (Is(key, "DIALOG_CAPTION"))
    {
        const bool hadBorder = element->HasStyleBits(WS_BORDER);
        if (element->ToggleStyleBits(WS_CAPTION) || hadBorder)
        {
            element->SetStyleBits(WS_BORDER);
            SetPaneBool("$BORDER", "BORDER", true);
        }
        return;
    }
    switch (row->source)
    {
    case DPROP_STYLE: element->ToggleStyleBits(row->mask); break;
    case DPROP_EXSTYLE: element->ToggleStyleBits(row->mask, true); break;
    case DPROP_CHOICE: element->SetStyle(ApplyStyleChoice(*row->choices, element->GetStyle(), item->text.GetText())); break;
    case DPROP_STORED:
    case DPROP_STOREDINT:
        // Boolean items store their state, colour items the unsigned colour value.
        if (row->kind == 1)
            element->SetValue(key.GetText(), Flag(item->boolValue != 0));
        else if (row->kind == 2)
            element->SetValue(key.GetText(), UIntToString(item->color).GetText());
        else
            element->SetValue(key.GetText(), item->text.GetText());
        break;
    default: return;
    }
    // A meter, bar or slider keeps its shape when its orientation changes.
    const bool wide = element->GetWidth() > element->GetHeight();
    const bool tall = element->GetWidth() < element->GetHeight();
    if (Is(key, "LEVEL_HORIZONTAL"))
    {
        if (item->boolValue ? tall : wide)
            element->SwapSize();
    }
    else if (Is(key, "PROGRESS_VERTICAL") || Is(key, "SCROLL_VERTICAL") || Is(key, "SLIDER_VERTICAL"))
    {
        if (element->HasStyleBits(row->mask) ? wide : tall)
            element->SwapSize();
    }
}

void SDialogCtrl::SetPaneBool(const char* group, const char* key, bool value)
{
    if (!m_properties)
        return;
    SPropertyCtrl::_SItem* item = m_properties->FindItem(m_properties->FindGroup(group), key);
    if (!item)
        return;
    item->boolValue = value ? 1 : 0;
    item->mixed = 0;
    m_properties->InvalidateRect(nullptr, true);
}

void SDialogCtrl::SetPaneText(const char* group, const char* key, int value)
{
    if (!m_properties)
        return;
    SPropertyCtrl::_SItem* item = m_properties->FindItem(m_properties->FindGroup(group), key);
    if (!item)
        return;
    item->text = IntToString(value);
    item->mixed = 0;
    m_properties->InvalidateRect(nullptr, true);
}

bool SDialogCtrl::IsTabPage(const _SCtrl* tab, int page, int id) const
{
    if (!tab)
        return false;
    SStringParser pairs(tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    const int count = pairs.Split(" ");
    for (int k = 0; k + 1 < count; k += 2)
    {
        if (pairs.GetTokenInt(k) == page && pairs.GetTokenInt(k + 1) == id)
            return true;
    }
    return false;
}

void SDialogCtrl::UpdateTabChildren(int page, _SCtrl* control, bool add)
{
    _SCtrl* tab = GetSelected(0);
    if (!tab || tab->GetType() != DTYPE_TAB || !control)
        return;
    const int pageCount = SDialogValues::SplitTabNames(tab->GetValue("TAB_CONTENT").GetText(), nullptr);
    SStringParser pairs(tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
    const int count = pairs.Split(" ");
    const int id = control->GetIdValue();
    SString text("");
    const auto append = [&text](int p, int c) { text += SString().Format("%d %d ", p, c).GetText(); };
    bool found = false;
    for (int k = 0; k + 1 < count; k += 2)
    {
        const int p = pairs.GetTokenInt(k);
        const int c = pairs.GetTokenInt(k + 1);
        if (p == page && c == id)
        {
            if (add && !found)
                append(p, c);
            found = true;
        }
        // Pairs of removed pages and deleted controls go.
        else if (p >= 0 && p < pageCount && GetElementById(c))
            append(p, c);
    }
    if (add && !found)
        append(page, id);
    tab->SetValue("TAB_CHILDREN_PRIVATE", text.GetText());
    NotifyChanged(0);
}
