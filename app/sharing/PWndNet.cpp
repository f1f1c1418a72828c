#include "PWndNet.h"
#include "PWndApp.h"

bool PWndNet::Create(HWND parent, const RECT& rect)
{
    if (!CreateChild("", WS_CLIPCHILDREN, 0, &rect, parent))
        return false;
    SetAnchors(4);
    return true;
}

LRESULT PWndNet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        if (!OnCreated())
            return -1;
        break;
    case WM_SIZE:
        Layout();
        break;
    case WM_ROWSTATE:
    case WM_ROWPERCENT:
        ShowRow(static_cast<int>(wParam));
        return 0;
    case SWM_EXLIST_ITEMCHANGED:
        if (m_owner && reinterpret_cast<SWnd*>(wParam) == &m_list)
            m_owner->GetToolBar().EnableButton(31, m_list.GetSelectedCount() > 0);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// Icons 0 queued, 1 failed, 2 done.
bool PWndNet::OnCreated()
{
    m_icons.Create(16, 16, ILC_COLOR32);
    for (int id : {179, 181, 180})
        m_icons.AddResource(id, "BINARY");
    const RECT rect = {0, 0, GetClientWidth(), HEIGHT};
    const DWORD style = WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS;
    if (!m_list.Create(style, WS_EX_STATICEDGE, &rect, m_handle))
        return false;
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_list.SetImageList(m_icons.GetHandle(), true);
    m_list.InsertColumn("", 100);
    m_list.InsertColumn("", 60);
    Layout();
    return true;
}

void PWndNet::Layout()
{
    if (!m_list.GetHandle())
        return;
    const int width = GetClientWidth();
    m_list.MoveWindow(0, 0, width, HEIGHT, true);
    m_list.SetColumnWidth(0, width - 90);
    m_list.SetColumnWidth(1, 60);
}

// The row as stored now: a change posted earlier may have been followed by others.
void PWndNet::ShowRow(int row)
{
    int state = -1, percent = -1;
    {
        SLockGuard lock(m_lock.Get());
        if (row < 0 || row >= m_paths.GetCount())
            return;
        state = m_states.GetAt(row);
        percent = m_percents.GetAt(row);
    }
    if (row >= m_list.GetItemCount())
        return;
    if (percent >= 0)
    {
        SString text;
        text.SetInt(percent);
        text += " %";
        m_list.SetItemText(row, text.GetText(), 1);
    }
    m_list.SetItemImage(row, percent == 100 ? STATE_DONE : state);
    if (percent == 100)
        m_list.EnsureVisible(row, false);
}

bool PWndNet::Add(const char* path)
{
    if (!path || !*path)
        return false;
    {
        SLockGuard lock(m_lock.Get());
        if (m_paths.Find(path) >= 0)
            return false;
    }
    const int row = m_list.InsertItem(path, -1, STATE_QUEUED);
    if (row < 0)
        return false;
    {
        SLockGuard lock(m_lock.Get());
        m_paths.Add(path);
        m_percents.Add(-1);
        m_states.Add(STATE_QUEUED);
    }
    SetPercent(row, 0);
    ShowRow(row);
    return true;
}

int PWndNet::GetNextQueued()
{
    SLockGuard lock(m_lock.Get());
    for (int row = 0; row < m_states.GetCount(); ++row)
        if (m_states.GetAt(row) == STATE_QUEUED)
            return row;
    return -1;
}

SString PWndNet::GetPath(int row)
{
    SLockGuard lock(m_lock.Get());
    return row >= 0 && row < m_paths.GetCount() ? m_paths.GetAt(row) : SString("");
}

int PWndNet::GetCount()
{
    SLockGuard lock(m_lock.Get());
    return m_paths.GetCount();
}

int PWndNet::GetState(int row)
{
    SLockGuard lock(m_lock.Get());
    return row >= 0 && row < m_states.GetCount() ? m_states.GetAt(row) : -1;
}

int PWndNet::GetPercent(int row)
{
    SLockGuard lock(m_lock.Get());
    return row >= 0 && row < m_percents.GetCount() ? m_percents.GetAt(row) : -1;
}

// The two below run with the lock held.
void PWndNet::StoreState(int row, int state)
{
    if (row < 0 || row >= m_states.GetCount() || m_states.GetAt(row) == state)
        return;
    m_states.SetAt(row, state);
    PostMessage(WM_ROWSTATE, static_cast<WPARAM>(row), state);
}

void PWndNet::StorePercent(int row, int percent)
{
    if (percent > 100)
        percent = 100;
    if (row < 0 || row >= m_percents.GetCount() || m_percents.GetAt(row) == percent)
        return;
    m_percents.SetAt(row, percent);
    PostMessage(WM_ROWPERCENT, static_cast<WPARAM>(row), percent);
}

void PWndNet::SetState(int row, int state)
{
    SLockGuard lock(m_lock.Get());
    StoreState(row, state);
}

void PWndNet::SetPercent(int row, int percent)
{
    SLockGuard lock(m_lock.Get());
    StorePercent(row, percent);
}

int PWndNet::FindRow(const char* path, int row) const
{
    if (row >= 0 && row < m_paths.GetCount() && m_paths.GetAt(row).CompareNoCase(path) == 0)
        return row;
    return m_paths.Find(path);
}

void PWndNet::SetStateOf(const char* path, int state, int row)
{
    SLockGuard lock(m_lock.Get());
    StoreState(FindRow(path, row), state);
}

void PWndNet::SetPercentOf(const char* path, int percent, int row)
{
    SLockGuard lock(m_lock.Get());
    StorePercent(FindRow(path, row), percent);
}

void PWndNet::ResetFailed()
{
    SLockGuard lock(m_lock.Get());
    for (int row = 0; row < m_states.GetCount(); ++row)
        if (m_states.GetAt(row) == STATE_FAILED)
            StoreState(row, STATE_QUEUED);
}

void PWndNet::RemoveRow(int row)
{
    {
        SLockGuard lock(m_lock.Get());
        m_paths.DeleteAndRemoveAt(row);
        m_percents.RemoveAt(row);
        m_states.RemoveAt(row);
    }
    m_list.DeleteItem(row);
}

void PWndNet::RemoveFinished()
{
    for (int row = GetCount() - 1; row >= 0; --row)
        if (GetPercent(row) == 100)
            RemoveRow(row);
}

void PWndNet::RemoveSelected()
{
    SArray<int> selected;
    m_list.GetSelectedItems(&selected);
    for (int i = 0; i < selected.GetCount(); ++i)
    {
        const int row = selected.GetAt(i) - i;
        if (row >= 0 && row < GetCount())
            RemoveRow(row);
    }
}

void PWndNet::Clear()
{
    for (int row = GetCount() - 1; row >= 0; --row)
        RemoveRow(row);
}
