// The commands of the tool bar, the tray menu and the list menus, the servers
// menu, and the windows the commands open.
#include "PWndApp.h"
#include <cstdlib>
#include "PWndAbout.h"
#include "PWndDescription.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "STimer.h"

void PWndApp::OnCommand(int id)
{
    if (id >= 100)
    {
        ChooseServer(id);
        return;
    }
    switch (id)
    {
    case 12:
        m_repeat = m_toolBar.IsButtonChecked(12);
        return;
    case 13:
        m_shutdown = m_toolBar.IsButtonChecked(13);
        return;
    case 14:
        ToggleVisible(false);
        return;
    case 19:
        OnSharingSwitch();
        return;
    case 25:
        Close();
        return;
    default:
        break;
    }
    if (IsLocal())
        OnLocalCommand(id);
    else
        OnRemoteCommand(id);
}

bool PWndApp::OnLocalCommand(int id)
{
    switch (id)
    {
    case 1:
        return OpenFolderPath(m_rootFolder.GetPath().GetText(), "", false);
    case 2:
        return OpenFolder("..", m_currentFolder.GetLastFolderName(true).GetText(), false);
    case 3:
        return PlayAt(m_fileList.GetSelection(), "");
    case 4:
        return PlayAll(true, false);
    case 5:
        return PlayAll(false, true);
    case 6:
        return PlayAll(true, true);
    case 7:
        return PlaySelected();
    case 8:
        return PlayPrevious();
    case 9:
        return PlayNext();
    case 10:
        return TogglePause();
    case 11:
        return ClearQueue();
    case 15:
        if (m_disk.FileExists(m_bookPage.GetText()))
        {
            OpenBook(nullptr);
            return true;
        }
        return OnLocalCommand(16);
    case 16:
        MakeBook(m_bookPage.GetText(), true);
        OpenBook(nullptr);
        return true;
    case 17:
        return SendBook();
    case 18:
        ShowDescriptionWindow();
        return true;
    case 20:
        ShowServersMenu();
        return true;
    case 21:
        ShowPreferences();
        return true;
    case 22:
        ShowHelp();
        return true;
    case 23:
        ShowAbout();
        return true;
    case 24:
        return CheckUpdate();
    default:
        break;
    }
    if (id >= 34 && id <= 39)
        OnFolderItemCommand(id);
    else if (id >= 40 && id <= 43)
        OnFileItemCommand(id);
    return true;
}

void PWndApp::OnFolderItemCommand(int id)
{
    const SString name = GetSelectedFolderName();
    if (name.GetLength() == 0)
        return;
    const SString current = m_currentFolder.GetPath();
    switch (id)
    {
    case 34:
        AddToQueue(true);
        break;
    case 35:
        m_disk.Open((current + name.GetText()).GetText(), SW_SHOWNORMAL);
        break;
    case 36:
        MakeCover((current + name.GetText() + "\\").GetText());
        break;
    case 37:
        DownloadCover((m_currentFolder.GetLastFolderName(true) + " " + name.GetText()).GetText());
        break;
    case 38:
        DownloadCover(name.GetText());
        break;
    case 39:
        ShowProperties((current + name.GetText() + ".ini").GetText());
        break;
    default:
        break;
    }
}

void PWndApp::OnFileItemCommand(int id)
{
    const SString title = GetSelectedFileTitle();
    if (title.GetLength() == 0)
        return;
    if (id == 40)
    {
        AddToQueue(false);
        return;
    }
    if (id == 41)
    {
        FindLyrics(title.GetText());
        return;
    }
    const SString lyrics = DownloadLyrics(title.GetText(), id == 43);
    if (lyrics.GetLength() == 0)
        return;
    // A note that exists but could not be read was left out of the editor:
    // the lyrics must not replace it.
    const SString note = GetNotePath(nullptr);
    if (!m_notesEditor.IsOpen() && m_disk.FileExists(TextOf(note)))
        return;
    SMemory text;
    text.Write(lyrics.GetText(), lyrics.GetLength());
    text.SeekToStart();
    m_notesEditor.LoadFromStream(&text, TextOf(GetNotePath(nullptr)));
    SaveNotes();
}

bool PWndApp::OnRemoteCommand(int id)
{
    m_client.BeginAction();
    switch (id)
    {
    case 1:
        return OpenRemoteFolder("");
    case 2:
        return OpenRemoteFolder((m_remoteFolder.GetPath() + "..").GetText());
    case 26:
        return m_folderList.GetSelection() >= 0 && DownloadSelection(true);
    case 27:
        return m_folderList.GetSelection() >= 0 && m_fileList.GetSelectedCount() > 0 &&
               DownloadSelection(false);
    case 28:
        return PlayOnServer();
    case 29:
        return timeGetTime() - m_lastDownloadStop > 2000 && ResumeDownloads();
    case 30:
        StopDownloads();
        m_lastDownloadStop = timeGetTime();
        return true;
    case 31:
        StopDownloads();
        m_downloadQueue.RemoveSelected();
        m_lastDownloadStop = timeGetTime();
        return true;
    case 32:
        m_downloadQueue.RemoveFinished();
        m_toolBar.EnableButton(32, false);
        return true;
    case 33:
        OnDisconnected();
        return true;
    default:
        return false;
    }
}

void PWndApp::OnSharingSwitch()
{
    if (m_toolBar.IsButtonChecked(19))
        StartSharing();
    else if (!StopSharing())
        m_toolBar.CheckButton(19, true);
}

void PWndApp::ShowServersMenu()
{
    const SString names = PSettings().GetText("ServersNames");
    if (names.GetLength() == 0)
    {
        ShowPreferences();
        return;
    }
    SArrayString list;
    PSettings::SplitTokens(names.GetText(), '|', &list);
    list.RemoveAt(list.GetCount() - 1);
    list.AddFlags(0x10000);
    list.Sort();
    m_serversMenu.RemoveAll();
    m_serversMenu.SetNoImage(true);
    for (int i = 0; i < list.GetCount(); ++i)
        m_serversMenu.InsertItem(100 + i, list.GetAt(i).GetText());
    if (m_serversMenu.GetItemCount() > 0)
        m_serversMenu.TrackAtCursor();
}

// The four lists name the same servers in the same order; any difference in
// length makes every choice do nothing.
void PWndApp::ChooseServer(int id)
{
    m_toolBar.RedrawWindow();
    const SString name = m_serversMenu.GetItemText(id);
    const PSettings settings;
    SArrayString names, hosts, passwords, ports;
    const int count = PSettings::SplitTokens(settings.GetText("ServersNames").GetText(), '|', &names);
    if (PSettings::SplitTokens(settings.GetText("ServersIPs").GetText(), '|', &hosts) != count ||
        PSettings::SplitTokens(settings.GetText("ServersPasses").GetText(), '|', &passwords) != count ||
        PSettings::SplitTokens(settings.GetText("ServersPorts").GetText(), '|', &ports) != count)
        return;
    names.AddFlags(0x10000);
    const int i = names.Find(name.GetText());
    if (i < 0)
        return;
    Connect(TextOf(name), TextOf(hosts.GetAt(i)), TextOf(passwords.GetAt(i)), atoi(TextOf(ports.GetAt(i))));
}

void PWndApp::ShowDescriptionWindow()
{
    if (m_description && m_description->GetHandle())
    {
        m_description->SetForegroundWindow();
        return;
    }
    delete m_description;
    m_description = new PWndDescription();
    m_description->SetOwner(this);
    m_description->Create("", WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
    m_description->RedrawWindow();
    m_description->LoadTree();
}

void PWndApp::ShowAbout()
{
    if (m_keyboard.GetModifiers() == 3)
        return;
    PWndAbout about;
    SString title("KLV Sonavel");
    title += " ";
    title += VERSION;
    if (about.CreatePopup(title.GetText(), nullptr, m_handle, 0, false))
        RunModal(about);
}

bool PWndApp::SendBook()
{
    if (!m_disk.FileExists(m_bookPage.GetText()))
        return false;
    HCURSOR previous = ::SetCursor(GetLibraryCursor(13));
    const SPath page(m_bookPage.GetText());
    SArrayString files;
    files.Add(m_bookPage.GetText());
    const SString pictures = page.GetFullFolder() + page.GetTitle().GetText() + "\\*.*";
    m_disk.List(&files, pictures.GetText(), false, false, true, false, false);
    STimer now;
    now.SetNow(true);
    const SString archive =
        m_disk.MakeUniqueFileName(m_disk.GetTempFolder().GetText(), now.Format("book #M-#D-#Y").GetText(), "zip");
    bool sent = false;
    if (archive.GetLength() > 0 && m_disk.CreateZip(archive.GetText(), &files, page.GetComponentCount() - 1))
    {
        sent = Mail("KLV Sonavel BOOK", archive.GetText());
        m_disk.DeleteFile(archive.GetText());
    }
    ::SetCursor(previous);
    BringToFront(true);
    return sent;
}
