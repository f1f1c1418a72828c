#include "SDialogCtrl.h"
#include "SDrawing.h"
#include "SStringParser.h"
#include <algorithm>
#include <cstring>

SDialogCtrl::_SCtrl* SDialogCtrl::GetElement(int i) const
{
    return i >= 0 && i < m_elements.GetCount() ? m_elements.GetAt(i) : nullptr;
}

int SDialogCtrl::FindElement(const _SCtrl* element) const
{
    return element ? m_elements.Find(const_cast<_SCtrl*>(element)) : -1;
}

SDialogCtrl::_SCtrl* SDialogCtrl::GetElementById(int id) const
{
    for (int i = 0; i < m_elements.GetCount(); i++)
    {
        if (m_elements.GetAt(i)->GetIdValue() == id)
            return m_elements.GetAt(i);
    }
    return nullptr;
}

bool SDialogCtrl::IsIdFree(int id) const
{
    return GetElementById(id) == nullptr;
}

int SDialogCtrl::GetFreeId() const
{
    // One pass over the elements, not one per candidate.
    SArray<bool> taken;
    taken.SetSize(10000, false);
    for (int i = 0; i < m_elements.GetCount(); i++)
    {
        const int id = m_elements.GetAt(i)->GetIdValue();
        if (id >= 1 && id <= 9999)
            taken.SetAt(id, true);
    }
    for (int id = 1; id <= 9999; id++)
    {
        if (!taken.GetAt(id))
            return id;
    }
    return -1;
}

SDialogCtrl::_SCtrl* SDialogCtrl::GetElementByName(const char* name) const
{
    for (int i = 0; name && i < m_elements.GetCount(); i++)
    {
        if (m_elements.GetAt(i)->GetNameText() == name)
            return m_elements.GetAt(i);
    }
    return nullptr;
}

bool SDialogCtrl::IsNameAvailable(const char* name) const
{
    return IsValidName(name) && GetElementByName(name) == nullptr;
}

SString SDialogCtrl::MakeUniqueName(int type) const
{
    const SDialogElementType* descriptor = GetTypeDescriptor(type);
    if (!descriptor)
        return SString("");
    const SString bare = descriptor->GetBareName();
    // The numbers the type's names already use, found in one pass.
    SArray<bool> taken;
    taken.SetSize(10000, false);
    for (int i = 0; i < m_elements.GetCount(); i++)
    {
        const SString& name = m_elements.GetAt(i)->GetNameText();
        if (name.GetLength() > bare.GetLength() && strncmp(name.GetText(), bare.GetText(), bare.GetLength()) == 0)
        {
            const SString digits = name.Mid(bare.GetLength());
            const int n = atoi(digits.GetText());
            if (n >= 1 && n <= 9999 && IntToString(n) == digits.GetText())
                taken.SetAt(n, true);
        }
    }
    for (int n = 1; n <= 9999; n++)
    {
        const SString name = bare + IntToString(n).GetText();
        if (!taken.GetAt(n) && IsNameAvailable(name.GetText()))
            return name;
    }
    return SString("");
}

bool SDialogCtrl::DestroyElement(_SCtrl* element)
{
    const int index = FindElement(element);
    if (index < 0)
        return false;
    m_elements.DeleteAndRemoveAt(index);
    return true;
}

bool SDialogCtrl::ReleaseElement(_SCtrl* element, bool ask)
{
    _SCtrl* primary = GetSelected(0);
    if (FindElement(element) < 0)
        return false;
    if (Deselect(element))
        OnSelectionChanged(primary, GetSelected(0));
    return !ask || OnRemoveElement(element);
}

bool SDialogCtrl::RemoveElement(_SCtrl* element, bool ask)
{
    return ReleaseElement(element, ask) && DestroyElement(element);
}

void SDialogCtrl::RemoveAllElements()
{
    while (m_elements.GetCount() > 0)
        RemoveElement(m_elements.GetAt(0), false);
}

int SDialogCtrl::ListElements(int type, SArray<_SCtrl*>* pointers, SArray<int>* ids,
                              SArrayString* names, SArrayString* idNames) const
{
    int taken = 0;
    for (int i = 0; i < m_elements.GetCount(); i++)
    {
        _SCtrl* element = m_elements.GetAt(i);
        if (type >= 0 && element->GetType() != type)
            continue;
        if (pointers)
            pointers->Add(element);
        if (ids)
            ids->Add(element->GetIdValue());
        if (names)
            names->Add(element->GetName().GetText());
        if (idNames)
            idNames->Add((IntToString(element->GetIdValue()) + "|" + element->GetName().GetText()).GetText());
        taken++;
    }
    return taken;
}

bool SDialogCtrl::IsElementHidden(const _SCtrl* element) const
{
    if (!element)
        return false;
    bool listed = false;
    for (int i = 0; i < m_elements.GetCount(); i++)
    {
        const _SCtrl* tab = m_elements.GetAt(i);
        if (tab == element || tab->GetType() != DTYPE_TAB)
            continue;
        SStringParser pairs(tab->GetValue("TAB_CHILDREN_PRIVATE").GetText());
        const int count = pairs.Split(" ");
        const int shown = tab->GetValueInt("TAB_SELECTION");
        for (int k = 0; k + 1 < count; k += 2)
        {
            if (pairs.GetTokenInt(k + 1) != element->GetIdValue())
                continue;
            if (pairs.GetTokenInt(k) == shown)
                return false;
            listed = true;
        }
    }
    return listed;
}

SDialogCtrl::_SCtrl* SDialogCtrl::HitTest(int x, int y)
{
    POINT point = {x, y};
    point = ClientToDesign(point);
    for (int i = m_elements.GetCount() - 1; i >= 0; i--)
    {
        _SCtrl* element = m_elements.GetAt(i);
        const RECT rect = element->GetRect();
        if (!PtInRect(&rect, point) || IsElementHidden(element))
            continue;
        // A drop-down combo is hit on its edit part only.
        if (element->GetType() == DTYPE_COMBO && (element->GetStyle() & CBS_DROPDOWN))
        {
            if (point.y < rect.top + std::min(24L, rect.bottom - rect.top))
                return element;
            continue;
        }
        // A group is hit on its frame, so that what lies inside stays reachable.
        if (element->GetType() == DTYPE_GROUP)
        {
            RECT inner = {rect.left + 10, rect.top + 20, rect.right - 10, rect.bottom - 10};
            inner.right = std::max(inner.right, inner.left);
            inner.bottom = std::max(inner.bottom, inner.top);
            if (PtInRect(&inner, point))
                continue;
        }
        return element;
    }
    if (m_dialog)
    {
        const RECT page = m_dialog->GetRect();
        if (PtInRect(&page, point))
            return m_dialog.get();
    }
    return nullptr;
}

SDialogCtrl::_SCtrl* SDialogCtrl::GetSelected(int i) const
{
    return i >= 0 && i < m_selection.GetCount() ? m_selection.GetAt(i) : nullptr;
}

int SDialogCtrl::FindSelected(const _SCtrl* element) const
{
    return element ? m_selection.Find(const_cast<_SCtrl*>(element)) : -1;
}

bool SDialogCtrl::Select(_SCtrl* element)
{
    if (!element || IsSelected(element))
        return false;
    m_selection.Add(element);
    return true;
}

bool SDialogCtrl::Deselect(_SCtrl* element)
{
    const int index = FindSelected(element);
    if (index < 0)
        return false;
    m_selection.RemoveAt(index);
    return true;
}

bool SDialogCtrl::MakePrimary(_SCtrl* element)
{
    const int index = FindSelected(element);
    if (index < 0 || element == m_dialog.get())
        return false;
    m_selection.Swap(0, index);
    return true;
}

bool SDialogCtrl::SelectOnly(_SCtrl* element)
{
    _SCtrl* previous = GetSelected(0);
    ClearSelection();
    Select(element);
    return OnSelectionChanged(previous, element);
}

bool SDialogCtrl::IsIdSelected(int id) const
{
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        if (m_selection.GetAt(i)->GetIdValue() == id)
            return true;
    }
    return false;
}

bool SDialogCtrl::IsDialogSelected() const
{
    return m_dialog && GetSelected(0) == m_dialog.get();
}

bool SDialogCtrl::IsAnySelectedLocked() const
{
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        if (m_selection.GetAt(i)->IsLocked())
            return true;
    }
    return false;
}

RECT SDialogCtrl::GetSelectionBounds() const
{
    RECT bounds = {0, 0, 0, 0};
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        const RECT rect = m_selection.GetAt(i)->GetRect();
        if (i == 0)
            bounds = rect;
        bounds.left = std::min(bounds.left, rect.left);
        bounds.top = std::min(bounds.top, rect.top);
        bounds.right = std::max(bounds.right, rect.right);
        bounds.bottom = std::max(bounds.bottom, rect.bottom);
    }
    return bounds;
}
