// SPropertyCtrl: rows, the current row, hit test, rectangles and the scroll range.
#include "SPropertyCtrl.h"

int SPropertyCtrl::GetRowCount() const
{
    int rows = 0;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        const _SGroup* group = m_groups.GetAt(g);
        rows += 1 + (group->expanded ? group->items.GetCount() : 0);
    }
    return rows;
}

bool SPropertyCtrl::GetRowPlace(int row, int* group, int* item) const
{
    if (group)
        *group = -1;
    if (item)
        *item = -1;
    if (row < 0)
        return false;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        const _SGroup* entry = m_groups.GetAt(g);
        const int shown = entry->expanded ? entry->items.GetCount() : 0;
        if (row <= shown)
        {
            if (group)
                *group = g;
            if (item)
                *item = row - 1;
            return true;
        }
        row -= shown + 1;
    }
    return false;
}

int SPropertyCtrl::GetRowOf(int group, int item) const
{
    const _SGroup* target = GetGroup(group);
    if (!target || item < -1 || item >= target->items.GetCount() || (item >= 0 && !target->expanded))
        return -1;
    int row = 0;
    for (int g = 0; g < group; g++)
    {
        const _SGroup* entry = m_groups.GetAt(g);
        row += 1 + (entry->expanded ? entry->items.GetCount() : 0);
    }
    return row + 1 + item;
}

// A row the grid does not show (past the last one, or an item of a collapsed
// group) is no current row at all.
void SPropertyCtrl::SetCurrentRow(int row, bool redraw)
{
    int group = -1, item = -1;
    if (!GetRowPlace(row, &group, &item))
        row = -1;
    m_currentRow = row;
    m_currentGroup = group;
    m_currentItem = item;
    if (redraw)
        Redraw();
}

// After groups or items moved: the same group and item stay current, at their new
// row, or nothing is current when they are gone or hidden.
void SPropertyCtrl::KeepCurrent(const _SGroup* group, const _SItem* item)
{
    int g = group ? m_groups.Find(const_cast<_SGroup*>(group)) : -1;
    int i = -1;
    if (item && !LocateItem(item, &g, &i))
        g = -1;
    const int row = g < 0 ? -1 : GetRowOf(g, i);
    m_currentRow = row;
    m_currentGroup = row < 0 ? -1 : g;
    m_currentItem = row < 0 ? -1 : i;
}

void SPropertyCtrl::ToggleGroup(int group)
{
    _SGroup* target = GetGroup(group);
    if (!target)
        return;
    const _SGroup* current = GetGroup(GetCurrentGroup());
    const _SItem* currentItem = GetItem(GetCurrentGroup(), GetCurrentItem());
    target->expanded = target->expanded ? 0 : 1;
    KeepCurrent(current, currentItem);
    UpdateScrollRange();
    Redraw();
}

int SPropertyCtrl::HitTest(int x, int y, int* group, int* item, int* part) const
{
    const int row = y < 0 ? -1 : y / m_rowHeight + (m_handle ? GetVScrollPos() : 0);
    GetRowPlace(row, group, item);
    if (part)
        *part = x >= m_nameWidth ? 1 : 0;
    return row;
}

int SPropertyCtrl::GetVisibleRowCount() const
{
    return m_handle ? GetClientHeight() / m_rowHeight : 0;
}

bool SPropertyCtrl::GetRowRect(int row, int part, RECT* rect) const
{
    const int place = row - (m_handle ? GetVScrollPos() : 0);
    if (!rect || row < 0 || place < 0 || place >= GetVisibleRowCount())
        return false;
    rect->top = place * m_rowHeight;
    rect->bottom = rect->top + m_rowHeight;
    rect->left = part == 1 ? m_nameWidth : 0;
    rect->right = part == 0 ? m_nameWidth : GetClientWidth();
    return true;
}

bool SPropertyCtrl::GetButtonRect(int row, int n, RECT* rect) const
{
    if (!GetRowRect(row, 1, rect))
        return false;
    rect->right -= BUTTON_WIDTH * n;
    rect->left = rect->right - BUTTON_WIDTH;
    return true;
}

void SPropertyCtrl::UpdateScrollRange()
{
    if (!m_handle)
        return;
    SetScrollRange(true, 0, GetRowCount(), GetVisibleRowCount(), true);
    SetVScrollPos(GetVScrollPos(), true);
}

void SPropertyCtrl::Redraw()
{
    if (m_handle)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
