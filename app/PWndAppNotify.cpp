// Keys, list notifications and menus, and remote control of the main window;
// its page links are read in PWndAppLinks.cpp.
#include "PWndApp.h"

int PWndApp::GetListControlId(WPARAM wParam) const
{
    const SWnd* control = reinterpret_cast<const SWnd*>(wParam);
    if (control == &m_folderList)
        return ID_FOLDERLIST;
    if (control == &m_fileList)
        return ID_FILELIST;
    return 0;
}

SString PWndApp::GetSelectedFolderName() const
{
    const int selection = m_folderList.GetSelection();
    return selection < 0 ? SString("") : m_folderList.GetItemText(selection);
}

SString PWndApp::GetSelectedFileTitle() const
{
    SArray<int> selected;
    if (m_fileList.GetSelectedItems(&selected) == 0 || selected.GetCount() == 0)
        return SString("");
    return m_fileList.GetItemText(selected.GetAt(0));
}

bool PWndApp::OnKey(WPARAM key)
{
    const HWND focus = GetFocus();
    const bool typing = focus && m_notesEditor.GetHandle() &&
                        (focus == m_notesEditor.GetHandle() || IsChild(m_notesEditor.GetHandle(), focus));
    const bool local = IsLocal();
    switch (key)
    {
    case VK_BACK:
        if (typing)
            return false;
        if (local)
            return OpenFolder("..", m_currentFolder.GetLastFolderName(true).GetText(), false);
        m_client.BeginAction();
        return OpenRemoteFolder((m_remoteFolder.GetPath() + "..").GetText());
    case VK_ESCAPE:
        return !typing && local && ClearQueue();
    case VK_SPACE:
        return !typing && local && TogglePause();
    case VK_F1:
        if (local)
            ShowHelp();
        return local;
    case VK_F5:
        if (!local)
            return false;
        if (m_folderList.GetSelection() >= 0)
            return OpenFolder(".", GetSelectedFolderName().GetText(), false);
        return OpenFolder(".", "", true);
    case VK_F8:
        ToggleVisible(false);
        return true;
    default:
        return false;
    }
}

LRESULT PWndApp::OnListNotify(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int control = GetListControlId(wParam);
    if (control == 0)
        return 0;
    if (!IsLocal())
        m_client.BeginAction();
    switch (message)
    {
    case SWM_LIST_KEYDOWN:
        OnListKey(control, static_cast<int>(lParam));
        break;
    case SWM_LIST_DBLCLK:
        OnListReturn(control);
        break;
    case SWM_LIST_SELCHANGE:
        OnListSelectionChange(control);
        break;
    case SWM_LIST_MOUSE:
        ShowListMenu(control, reinterpret_cast<const SMouseNotify*>(lParam));
        break;
    default:
        break;
    }
    return 0;
}

void PWndApp::OnListKey(int control, int key)
{
    SListCtrl& list = control == ID_FOLDERLIST ? m_folderList : m_fileList;
    if (key == VK_TAB)
        (control == ID_FOLDERLIST ? m_fileList : m_folderList).SetFocus();
    else if (key == VK_RETURN && list.GetSelectedCount() > 0)
        OnListReturn(control);
}

void PWndApp::OnListReturn(int control)
{
    const bool local = IsLocal();
    if (control == ID_FILELIST)
    {
        if (local)
            PlaySelected();
        else
            DownloadSelection(false);
        return;
    }
    const int selection = m_folderList.GetSelection();
    const bool opens = selection >= 0 && m_folderList.GetItemSecondImage(selection) == 0;
    const SString name = GetSelectedFolderName();
    if (local && opens)
        OpenFolder(name.GetText(), "", false);
    else if (local)
        PlayAt(-1, "");
    else if (opens)
        OpenRemoteFolder((m_remoteFolder.GetPath() + name.GetText()).GetText());
    else
        DownloadSelection(true);
}

void PWndApp::OnListSelectionChange(int control)
{
    const bool local = IsLocal();
    if (control == ID_FOLDERLIST)
    {
        if (local)
        {
            ShowFolder();
            UpdateInfoText();
            if (m_notesEditor.IsVisible())
                LoadNotes();
        }
        // A folder that could not be shown leaves the notes of the one shown.
        else if (ShowRemoteFolder() && m_notesEditor.IsVisible())
            LoadRemoteNotes();
        return;
    }
    const bool selected = m_fileList.GetSelectedCount() > 0;
    if (local)
    {
        m_toolBar.EnableButton(7, selected);
        if (m_keyboard.IsAltDown())
            AddToQueue(false);
        LoadNotes();
        return;
    }
    m_toolBar.EnableButton(27, selected);
    m_toolBar.EnableButton(28, selected);
    LoadRemoteNotes();
}

void PWndApp::ShowListMenu(int control, const SMouseNotify* notify)
{
    if (!notify || notify->code != (SMouseNotify::RIGHT | SMouseNotify::DOWN) || !IsLocal())
        return;
    SListCtrl& list = control == ID_FOLDERLIST ? m_folderList : m_fileList;
    if (list.GetSelectedCount() == 0)
        return;
    POINT point = {notify->x, notify->y};
    list.ClientToScreen(&point);
    if (control == ID_FILELIST)
    {
        m_fileMenu.TrackEx(this, point.x, point.y, TPM_RIGHTBUTTON);
        return;
    }
    const SString name = GetSelectedFolderName();
    m_folderMenu.Destroy();
    m_folderMenu.Create(m_handle);
    m_folderMenu.SetImageList(&m_menuImages);
    m_folderMenu.InsertItem(34, "Add to playlist", 7);
    m_folderMenu.InsertSeparator();
    m_folderMenu.InsertItem(35, "Explore folder", 5);
    m_folderMenu.InsertSeparator();
    m_folderMenu.InsertItem(36, "Make cover", 6);
    m_folderMenu.InsertItem(38, (SString("Download cover: ") + name.GetText()).GetText(), 6);
    const SString both = m_currentFolder.GetLastFolderName(true) + " " + name.GetText();
    m_folderMenu.InsertItem(37, (SString("Download cover: ") + both.GetText()).GetText(), 6);
    m_folderMenu.InsertSeparator();
    m_folderMenu.InsertItem(39, "Properties...", 8);
    m_folderMenu.TrackEx(this, point.x, point.y, TPM_RIGHTBUTTON);
}

void PWndApp::OnRemoteControl(WPARAM wParam, LPARAM lParam)
{
    if (wParam != 500)
        return;
    if (lParam == 1)
    {
        ToggleVisible(false);
        return;
    }
    if (!IsLocal())
        return;
    if (lParam == 2)
    {
        if (m_queueIndex < 0)
            PlayAt(-1, "");
        else
            TogglePause();
    }
    else if (lParam == 3)
    {
        PlayPrevious();
    }
    else if (lParam == 4)
    {
        PlayNext();
    }
}
