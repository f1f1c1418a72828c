#include "PWndNet.h"
#include "PWndApp.h"
#include "PPeerPath.h"

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
    // The icon tells the state: a refused transfer also reaches 100 %.
    m_list.SetItemImage(row, state);
    if (state == STATE_DONE)
        m_list.EnsureVisible(row, false);
}

namespace
{
// The key of a path in the index: without case, as the file system takes names.
std::string KeyOf(const char* path)
{
    return PPeerPath::FoldCase(path);
}

// The list is not drawn while it changes row by row; it is drawn once after.
class RedrawHold
{
public:
    explicit RedrawHold(SWnd& list) : m_list(list) { m_list.SetRedraw(false); }
    ~RedrawHold()
    {
        m_list.SetRedraw(true);
        m_list.InvalidateRect(nullptr, true);
    }

private:
    SWnd& m_list;
};
}

bool PWndNet::Add(const char* path)
{
    if (!path || !*path)
        return false;
    const std::string key = KeyOf(path);
    {
        SLockGuard lock(m_lock.Get());
        if (m_rows.count(key) > 0)
            return false;
    }
    const int row = m_list.InsertItem(path, -1, STATE_QUEUED);
    if (row < 0)
        return false;
    {
        SLockGuard lock(m_lock.Get());
        m_rows[key] = m_paths.Add(path);
        // Shown at once below: no change needs posting.
        m_percents.Add(0);
        m_states.Add(STATE_QUEUED);
    }
    ShowRow(row);
    return true;
}

int PWndNet::Add(const SArrayString& paths)
{
    if (paths.GetCount() == 0)
        return 0;
    const RedrawHold hold(m_list);
    // The list makes room once.
    m_list.SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(m_list.GetItemCount() + paths.GetCount()), 0);
    int added = 0;
    for (int i = 0; i < paths.GetCount(); ++i)
        added += Add(paths.GetAt(i).GetText()) ? 1 : 0;
    return added;
}

// Rows before the cursor are not queued: a scan starts there, and a row
// before it that is queued again moves it back (StoreState).
int PWndNet::GetNextQueued(int after)
{
    SLockGuard lock(m_lock.Get());
    const int count = m_states.GetCount();
    while (m_next < count && m_states.GetAt(m_next) != STATE_QUEUED)
        ++m_next;
    int row = m_next > after ? m_next : after + 1;
    while (row < count && m_states.GetAt(row) != STATE_QUEUED)
        ++row;
    return row < count ? row : -1;
}

SString PWndNet::GetNextQueuedPath(const std::vector<SString>& held, int* where)
{
    SLockGuard lock(m_lock.Get());
    const int count = m_states.GetCount();
    while (m_next < count && m_states.GetAt(m_next) != STATE_QUEUED)
        ++m_next;
    for (int row = m_next; row < count; ++row)
    {
        if (m_states.GetAt(row) != STATE_QUEUED)
            continue;
        const SString& path = m_paths.GetAt(row);
        bool taken = false;
        for (const SString& one : held)
            taken = taken || one == path.GetText();
        if (taken)
            continue;
        if (where)
            *where = row;
        return path;
    }
    return SString("");
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
    if (state == STATE_QUEUED && row < m_next)
        m_next = row;
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
    const auto found = m_rows.find(KeyOf(path));
    return found != m_rows.end() ? found->second : -1;
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

// With the lock held: the kept rows move up in order, the cursor with them.
void PWndNet::CompactRows(const std::vector<bool>& gone)
{
    const int count = m_paths.GetCount();
    int kept = 0, next = 0;
    for (int row = 0; row < count; ++row)
    {
        if (row < m_next && !gone[row])
            ++next;
        if (gone[row])
            continue;
        m_paths.Swap(row, kept);
        m_percents.SetAt(kept, m_percents.GetAt(row));
        m_states.SetAt(kept, m_states.GetAt(row));
        ++kept;
    }
    if (kept < count)
        m_paths.DeleteAndRemoveAt(kept, count - kept);
    m_percents.SetCount(kept);
    m_states.SetCount(kept);
    m_next = next;
    IndexRows();
}

void PWndNet::IndexRows()
{
    m_rows.clear();
    m_rows.reserve(static_cast<size_t>(m_paths.GetCount()));
    for (int row = 0; row < m_paths.GetCount(); ++row)
        m_rows[KeyOf(m_paths.GetAt(row).GetText())] = row;
}

// From the last row up, so that no row to delete moves before it goes.
void PWndNet::RemoveItems(const std::vector<bool>& gone, int count)
{
    const int items = m_list.GetItemCount();
    if (count >= items)
    {
        m_list.DeleteAllItems();
        return;
    }
    const RedrawHold hold(m_list);
    for (int row = static_cast<int>(gone.size()) - 1; row >= 0; --row)
        if (gone[row] && row < items)
            m_list.DeleteItem(row);
}

void PWndNet::RemoveRows(const std::vector<bool>& gone)
{
    int count = 0;
    for (const bool g : gone)
        count += g ? 1 : 0;
    if (count == 0)
        return;
    {
        SLockGuard lock(m_lock.Get());
        if (static_cast<int>(gone.size()) != m_paths.GetCount())
            return;
        CompactRows(gone);
    }
    RemoveItems(gone, count);
    // Changes posted before the removal name rows as they were numbered then.
    const RedrawHold hold(m_list);
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        ShowRow(row);
}

void PWndNet::RemoveFinished()
{
    std::vector<bool> gone;
    {
        SLockGuard lock(m_lock.Get());
        gone.resize(static_cast<size_t>(m_states.GetCount()));
        for (int row = 0; row < m_states.GetCount(); ++row)
            gone[row] = m_states.GetAt(row) == STATE_DONE;
    }
    RemoveRows(gone);
}

void PWndNet::RemoveSelected()
{
    SArray<int> selected;
    m_list.GetSelectedItems(&selected);
    std::vector<bool> gone(static_cast<size_t>(GetCount()), false);
    for (int i = 0; i < selected.GetCount(); ++i)
        if (selected.GetAt(i) >= 0 && selected.GetAt(i) < static_cast<int>(gone.size()))
            gone[selected.GetAt(i)] = true;
    RemoveRows(gone);
}

void PWndNet::Clear()
{
    {
        SLockGuard lock(m_lock.Get());
        m_paths.DeleteAndRemoveAll();
        m_percents.RemoveAll();
        m_states.RemoveAll();
        m_rows.clear();
        m_next = 0;
    }
    m_list.DeleteAllItems();
}
