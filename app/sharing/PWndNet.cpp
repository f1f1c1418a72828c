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
        ShowRows();
        return 0;
    case WM_TIMER:
        if (wParam == SHOW_TIMER)
        {
            ShowRows();
            return 0;
        }
        break;
    case WM_NOTIFY:
        if (OnNotify(reinterpret_cast<NMHDR*>(lParam)))
            return 0;
        break;
    case SWM_EXLIST_ITEMCHANGED:
        if (reinterpret_cast<SWnd*>(wParam) == &m_list)
            ShowSelection();
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
    // The list holds no rows of its own: it asks for what it draws.
    const DWORD style = WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
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

void PWndNet::ShowSelection()
{
    if (m_owner)
        m_owner->GetToolBar().EnableButton(31, m_list.GetSelectedCount() > 0);
}

// The rows as stored now are what the list asks for when it draws them: one
// notice stands for every change made until it is handled, and shows the rows
// in view, then scrolls the last row done since into view. The list is drawn
// at most every SHOW_PERIOD ms, since each drawing costs the user's thread
// more than a small file's transfer; meanwhile the notice stays unhandled.
void PWndNet::ShowRows()
{
    const DWORD since = timeGetTime() - m_shown;
    if (since < SHOW_PERIOD)
    {
        SetTimer(SHOW_TIMER, SHOW_PERIOD - since);
        return;
    }
    KillTimer(SHOW_TIMER);
    m_shown = timeGetTime();
    m_noticed = false;
    SString done;
    {
        SLockGuard lock(m_lock.Get());
        done = m_lastDone;
        m_lastDone = "";
    }
    m_list.InvalidateRect(nullptr, false);
    if (done.GetLength() == 0)
        return;
    int row = -1;
    {
        SLockGuard lock(m_lock.Get());
        row = FindRow(done.GetText(), -1);
    }
    if (row >= 0 && row < m_list.GetItemCount())
        m_list.EnsureVisible(row, false);
}

// A row's path, its percent + " %" (nothing before the first) and its state's icon.
void PWndNet::DescribeRow(int row, int column, SString* text, int* icon)
{
    SLockGuard lock(m_lock.Get());
    if (row < 0 || row >= m_paths.GetCount())
        return;
    *icon = m_states.GetAt(row);
    if (column == 0)
        *text = m_paths.GetAt(row);
    else if (column == 1 && m_percents.GetAt(row) >= 0)
    {
        text->SetInt(m_percents.GetAt(row));
        *text += " %";
    }
}

bool PWndNet::OnNotify(NMHDR* header)
{
    if (!header || header->hwndFrom != m_list.GetHandle())
        return false;
    if (header->code == LVN_ODSTATECHANGED)
        ShowSelection();
    if (header->code != LVN_GETDISPINFOA && header->code != LVN_GETDISPINFOW)
        return false;
    // The two records differ only in the text's type.
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    SString text("");
    int icon = -1;
    DescribeRow(item.iItem, item.iSubItem, &text, &icon);
    if (item.mask & LVIF_IMAGE)
        item.iImage = icon;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return true;
    const char* chars = text.GetText() ? text.GetText() : "";
    if (header->code == LVN_GETDISPINFOA)
        lstrcpynA(item.pszText, chars, item.cchTextMax);
    else if (MultiByteToWideChar(CP_ACP, 0, chars, -1, reinterpret_cast<LPWSTR>(item.pszText), item.cchTextMax) == 0)
        reinterpret_cast<LPWSTR>(item.pszText)[item.cchTextMax - 1] = 0;
    return true;
}

// The list is told how many rows there are; it draws them when it needs them.
void PWndNet::ShowCount()
{
    m_list.SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(GetCount()), LVSICF_NOSCROLL);
    m_list.InvalidateRect(nullptr, true);
}

namespace
{
// The key of a path in the index: without case, as the file system takes names.
std::string KeyOf(const char* path)
{
    return PPeerPath::FoldCase(path);
}
}

bool PWndNet::Add(const char* path)
{
    if (!Append(path))
        return false;
    ShowCount();
    return true;
}

// Percent 0 at once, so that "0 %" shows.
bool PWndNet::Append(const char* path)
{
    if (!path || !*path)
        return false;
    const std::string key = KeyOf(path);
    SLockGuard lock(m_lock.Get());
    if (m_rows.count(key) > 0)
        return false;
    m_rows[key] = m_paths.Add(path);
    m_percents.Add(0);
    m_states.Add(STATE_QUEUED);
    return true;
}

int PWndNet::Add(const SArrayString& paths)
{
    int added = 0;
    for (int i = 0; i < paths.GetCount(); ++i)
        added += Append(paths.GetAt(i).GetText()) ? 1 : 0;
    if (added > 0)
        ShowCount();
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

// The three below run with the lock held.
void PWndNet::StoreState(int row, int state)
{
    if (row < 0 || row >= m_states.GetCount() || m_states.GetAt(row) == state)
        return;
    m_states.SetAt(row, state);
    if (state == STATE_QUEUED && row < m_next)
        m_next = row;
    if (state == STATE_DONE)
        m_lastDone = m_paths.GetAt(row);
    Notice(WM_ROWSTATE);
}

void PWndNet::StorePercent(int row, int percent, bool show)
{
    if (percent > 100)
        percent = 100;
    if (row < 0 || row >= m_percents.GetCount() || m_percents.GetAt(row) == percent)
        return;
    m_percents.SetAt(row, percent);
    if (show)
        Notice(WM_ROWPERCENT);
}

// A change is posted only while no notice waits: the one waiting shows it.
// Posts carry no row, since rows may be removed before they are handled.
void PWndNet::Notice(UINT message)
{
    if (!m_noticed.exchange(true) && !PostMessage(message))
        m_noticed = false;
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

void PWndNet::SetPercentOf(const char* path, int percent, int row, bool show)
{
    SLockGuard lock(m_lock.Get());
    StorePercent(FindRow(path, row), percent, show);
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

// The rows that stay keep their selection and focus at their new places.
void PWndNet::RemoveItems(const std::vector<bool>& gone)
{
    SArray<int> selected;
    m_list.GetSelectedItems(&selected);
    const int focused = m_list.GetNextItem(-1, LVNI_FOCUSED);
    std::vector<int> moved(gone.size(), -1);
    int kept = 0;
    for (size_t row = 0; row < gone.size(); ++row)
        if (!gone[row])
            moved[row] = kept++;
    auto place = [&](int row) { return row >= 0 && row < static_cast<int>(moved.size()) ? moved[row] : -1; };
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    m_list.SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(kept), LVSICF_NOSCROLL);
    for (int i = 0; i < selected.GetCount(); ++i)
        SetItemState(place(selected.GetAt(i)), LVIS_SELECTED);
    SetItemState(place(focused), LVIS_FOCUSED);
    m_list.InvalidateRect(nullptr, true);
}

void PWndNet::SetItemState(int row, UINT state)
{
    if (row < 0)
        return;
    LVITEMA item = {};
    item.stateMask = item.state = state;
    m_list.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
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
    RemoveItems(gone);
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
