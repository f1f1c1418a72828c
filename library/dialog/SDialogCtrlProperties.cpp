#include "SDialogCtrl.h"
#include "SDialogPropertyTable.h"

namespace
{
// Types whose elements all offer a CAPTION item.
bool HasCaption(int type)
{
    switch (type)
    {
    case DTYPE_DIALOG: case DTYPE_BUTTON: case DTYPE_CHECK: case DTYPE_COMBO: case DTYPE_EDIT:
    case DTYPE_GROUP: case DTYPE_LABEL: case DTYPE_LCD: case DTYPE_MEDIA: case DTYPE_RADIO:
    case DTYPE_RICHEDIT:
        return true;
    default:
        return false;
    }
}

// The name an anchor number stands for; the first name for any other number.
const char* AnchorName(const SDialogNamedValue* table, int value)
{
    for (int i = 0; i < 7; i++)
    {
        if (table[i].value == value)
            return table[i].name;
    }
    return table[0].name;
}

SString Number(int value)
{
    return IntToString(value);
}

SString Bits(DWORD word, DWORD mask)
{
    return SString((word & mask) == mask ? "1" : "0");
}
} // namespace

void SDialogCtrl::SetPropertyPane(_SPropertyCtrl* pane)
{
    m_properties = pane;
    if (pane)
        pane->SetDesigner(this);
}

void SDialogCtrl::BuildSharedChoices()
{
    for (int list = 0; list < DIALOG_SHARED_CHOICE_LISTS; list++)
    {
        int count = 0;
        const char* const* names = GetDialogChoiceNames(list, &count);
        m_choices[list].DeleteAndRemoveAll();
        for (int i = 0; i < count; i++)
            m_choices[list].Add(MakeChoice(names[i]).GetText());
    }
}

void SDialogCtrl::FillProperties(_SCtrl* element)
{
    if (!m_properties || !m_properties->GetHandle())
        return;
    if (!element)
    {
        m_properties->RemoveAll();
        return;
    }
    BuildSharedChoices();
    const bool visible = m_properties->IsVisible();
    if (visible)
        m_properties->SetRedraw(false);
    m_properties->RemoveAll();
    bool caption = true;
    for (int i = 0; i < GetSelectedCount(); i++)
        caption = caption && HasCaption(GetSelected(i)->GetType());
    for (int i = 0; i < GetSelectedCount(); i++)
        AddElementProperties(GetSelected(i), caption);
    if (GetSelectedCount() == 1)
        m_properties->SetScrollPos(true, element->GetGridScroll(), false);
    OnPropertiesFilled(m_properties, element);
    m_properties->RemoveEmptyGroups();
    if (visible)
    {
        m_properties->SetRedraw(true);
        m_properties->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

bool SDialogCtrl::AddPropertyGroup(const char* key)
{
    if (!m_properties)
        return false;
    const SString label = GetText(key);
    if (label.GetLength() == 0)
        return false;
    int group = m_properties->FindGroup(key);
    if (group < 0)
        group = m_properties->AddGroup(key, label.GetText(), -1, true);
    m_propertyGroup = group;
    return group >= 0;
}

bool SDialogCtrl::AddPropertyItem(bool singleOnly, bool sameTypeOnly, const char* key, int kind, const char* value,
                                  const SArrayString* choices, int group)
{
    if (!m_properties || (singleOnly && GetSelectedCount() != 1))
        return false;
    const _SCtrl* first = GetSelected(0);
    for (int i = 1; sameTypeOnly && i < GetSelectedCount(); i++)
    {
        if (GetSelected(i)->GetType() != first->GetType())
            return false;
    }
    SString text(value ? value : "");
    if (choices)
    {
        bool found = false;
        for (int i = 0; i < choices->GetCount() && !found; i++)
            found = choices->GetAt(i).GetBeforeCharOrAll('|') == text.GetText();
        if (!found)
            text = choices->GetCount() > 0 ? choices->GetAt(0).GetBeforeCharOrAll('|') : SString("");
    }
    const int target = group < 0 ? m_propertyGroup : group;
    return m_properties->SetItem(target, key, GetText(key).GetText(), kind, text.GetText(), choices) >= 0;
}

void SDialogCtrl::AddBorderProperties(_SCtrl* element)
{
    AddPropertyGroup("$BORDER");
    AddPropertyItem(false, true, "BORDER", 1, Bits(element->GetStyle(), WS_BORDER).GetText(), nullptr, -1);
    AddPropertyItem(false, true, "CLIENTEDGE", 1, Bits(element->GetExStyle(), WS_EX_CLIENTEDGE).GetText(), nullptr,
                    -1);
    AddPropertyItem(false, true, "STATICEDGE", 1, Bits(element->GetExStyle(), WS_EX_STATICEDGE).GetText(), nullptr,
                    -1);
}

void SDialogCtrl::AddElementProperties(_SCtrl* element, bool caption)
{
    m_propertyGroup = -1;
    AddPropertyGroup("$GENERAL");
    const SDialogElementType* type = GetElementDescriptor(element);
    AddPropertyItem(true, false, "TYPE", 0, type ? type->GetBareName().GetText() : "", nullptr, -1);
    const bool dialog = element->IsDialog();
    if (!dialog)
    {
        AddPropertyItem(true, false, "ID", 0, Number(element->GetIdValue()).GetText(), nullptr, -1);
        AddPropertyItem(true, false, "NAME", 3, element->GetNameText().GetText(), nullptr, -1);
    }
    if (caption)
        AddPropertyItem(false, false, "CAPTION", 3, element->GetCaption().GetText(), nullptr, -1);
    AddPropertyItem(false, false, "VISIBLE", 1, Bits(element->GetStyle(), WS_VISIBLE).GetText(), nullptr, -1);
    AddPropertyItem(false, false, "DISABLED", 1, Bits(element->GetStyle(), WS_DISABLED).GetText(), nullptr, -1);
    if (!dialog)
    {
        AddPropertyItem(false, false, "TABENABLED", 1, element->GetValue("TABENABLED").GetText(), nullptr, -1);
        AddPropertyItem(false, false, "TABGROUP", 4, element->GetValue("TABGROUP").GetText(), nullptr, -1);
    }
    AddPropertyGroup("$POSITION");
    if (!dialog)
    {
        AddPropertyItem(false, false, "X", 4, Number(element->GetX()).GetText(), nullptr, -1);
        AddPropertyItem(false, false, "Y", 4, Number(element->GetY()).GetText(), nullptr, -1);
    }
    AddPropertyItem(false, false, "WIDTH", 4, Number(element->GetWidth()).GetText(), nullptr, -1);
    AddPropertyItem(false, false, "HEIGHT", 4, Number(element->GetHeight()).GetText(), nullptr, -1);
    if (!dialog)
    {
        AddPropertyItem(false, false, "HALIGN", 7, AnchorName(DIALOG_HALIGN_NAMES, element->GetValueInt("HALIGN")),
                        &m_choices[DLIST_HANCHORS], -1);
        AddPropertyItem(false, false, "VALIGN", 7, AnchorName(DIALOG_VALIGN_NAMES, element->GetValueInt("VALIGN")),
                        &m_choices[DLIST_VANCHORS], -1);
    }
    AddTypeProperties(element);
}

void SDialogCtrl::AddTypeProperties(_SCtrl* element)
{
    int count = 0;
    const SDialogPropertyRow* rows = GetDialogPropertyRows(element->GetType(), &count);
    SArrayString local;
    for (int i = 0; i < count; i++)
    {
        const SDialogPropertyRow& row = rows[i];
        if (row.source == DPROP_BORDER)
        {
            AddBorderProperties(element);
            continue;
        }
        if (row.source == DPROP_FONT)
        {
            SString font;
            font.Format("%s,%d,%u", element->GetFontName().GetText(), element->GetFontSize(),
                        static_cast<unsigned>(element->GetFontStyle()));
            AddPropertyItem(false, true, "FONT", 6, font.GetText(), nullptr, 0);
            continue;
        }
        AddPropertyGroup(row.group);
        SString value;
        switch (row.source)
        {
        case DPROP_STYLE: value = Bits(element->GetStyle(), row.mask); break;
        case DPROP_EXSTYLE: value = Bits(element->GetExStyle(), row.mask); break;
        case DPROP_STOREDINT: value = Number(element->GetValueInt(row.key)); break;
        case DPROP_BACKCOLOR: value = UIntToString(element->GetBackColor()); break;
        case DPROP_TEXTCOLOR: value = UIntToString(element->GetTextColor()); break;
        case DPROP_CHOICE: value = GetStyleChoice(*row.choices, element->GetStyle()); break;
        default: value = element->GetValue(row.key); break;
        }
        const SArrayString* choices = nullptr;
        if (row.list < DIALOG_SHARED_CHOICE_LISTS)
            choices = &m_choices[row.list];
        else if (row.list != DLIST_NONE)
        {
            MakeTypeChoices(row.list, local);
            choices = &local;
        }
        const bool sameType = row.source != DPROP_BACKCOLOR && row.source != DPROP_TEXTCOLOR;
        AddPropertyItem(false, sameType, row.key, row.kind, value.GetText(), choices, -1);
    }
}

void SDialogCtrl::MakeTypeChoices(int list, SArrayString& out) const
{
    out.DeleteAndRemoveAll();
    if (list == DLIST_LEVELS)
    {
        // No meter first, then every level meter by id and name.
        out.Add("|");
        for (int i = 0; i < GetElementCount(); i++)
        {
            const _SCtrl* element = GetElement(i);
            if (element->GetType() == DTYPE_LEVEL)
                out.Add((Number(element->GetIdValue()) + "|" + element->GetNameText().GetText()).GetText());
        }
        return;
    }
    int count = 0;
    const char* const* names = GetDialogChoiceNames(list, &count);
    for (int i = 0; i < count; i++)
        out.Add(MakeChoice(names[i]).GetText());
}
