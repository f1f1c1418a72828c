// Sharing the library, connecting to a remote one and downloading from it,
// seen from the main window.
#include "PWndApp.h"
#include <cstdlib>
#include <memory>
#include "PPeerPath.h"
#include "PRemoteBlocks.h"
#include "SFile.h"
#include "SLibrary.h"
#include "SMemory.h"

namespace
{
const uint32_t CLIENT_VALUE = 0x1000000;
const COLORREF REMOTE_TEXT = 0x00FF0000;
}

bool PWndApp::StartSharing()
{
    const bool started = m_serverThread.Start(false);
    m_toolBar.CheckButton(19, started);
    return started;
}

bool PWndApp::StopSharing()
{
    if (!m_serverThread.IsRunning())
        return true;
    if (m_serverThread.GetPeerCount() > 0 &&
        Ask("Are you sure to want to disconnect users?", "Confirmation", MB_YESNO | MB_ICONQUESTION) == IDNO)
        return false;
    m_serverThread.Stop();
    m_toolBar.CheckButton(19, false);
    return true;
}

// The server's thread could not listen: sharing is off again. The thread
// posted this on its way out: it is waited for, so that a press of 19 right
// after the message starts sharing anew instead of finding it still running.
void PWndApp::OnSharingFailed(int port)
{
    m_serverThread.Stop();
    m_toolBar.CheckButton(19, false);
    SString text;
    text.Format("The library cannot be shared: port %d is not available.", port);
    Ask(TextOf(text), "Server", MB_OK | MB_ICONEXCLAMATION);
}

bool PWndApp::Connect(const char* name, const char* host, const char* password, int port)
{
    m_lastConnection = SString(name ? name : "") + "|" + (host ? host : "") + "|" + (password ? password : "") + "|" +
                       SString().SetInt(port).GetText();
    if (port < 1)
        port = PSettings::DEFAULT_PORT;
    // The name becomes a folder under the root: one that could lead elsewhere
    // is refused. A session under way keeps its access code, which its
    // downloads connect with.
    int result = -1;
    if (!m_client.IsConnected() && PPeerPath::IsAcceptedName(name))
    {
        m_client.SetAccessCode(password);
        result = m_client.Connect(host, port, false, CLIENT_VALUE);
    }
    if (result == 0)
    {
        m_client.SetConnection(name, host, port);
        if (OpenRemoteSession())
            return true;
        // Nothing was shown yet: this close only ends the connection.
        m_client.Disconnect();
        result = -1;
    }
    if (result == -1)
        Ask("Connection failed.", "Server", MB_OK | MB_ICONEXCLAMATION);
    else if (result == 1)
        Ask("The server is saturated.\r\n\r\nPlease try again later.", "Server", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// The root's listing and the folder tree are asked for before anything
// changes: an attempt that fails leaves the local views as they were.
bool PWndApp::OpenRemoteSession()
{
    m_client.BeginAction();
    int size = 0;
    const std::unique_ptr<unsigned char, void (*)(void*)> listing(m_client.RequestBlock("101", "", &size), std::free);
    PRemoteBlocks::_SFolders folders;
    const SString picture = m_disk.MakeUniqueFileName(TextOf(m_disk.GetTempFolder()), "vrnx", "jpg");
    SMemory page;
    if (!listing || !ReadRemoteFolders(listing.get(), size, &folders) || picture.GetLength() == 0 ||
        !BuildRemoteWelcomePage(&page, TextOf(picture)))
        return false;
    // Only a session begun empties the play queue: a failed attempt leaves it playing.
    ClearQueue();
    ShowRemoteMode();
    ShowRemoteFolders(folders);
    ShowRemoteFolder();
    m_remotePicture = picture;
    SMemory jpeg;
    if (jpeg.LoadFromResource("BINARY", 199, GetInstance()))
        SFile::SaveReplacing(TextOf(picture), jpeg.GetData(), jpeg.GetSize());
    m_secondBrowser.ShowHtml(&page, nullptr, "htm");
    return true;
}

void PWndApp::ShowRemoteMode()
{
    m_downloadQueue.Clear();
    m_remoteFolder.SetFolder("c:\\");
    FillToolBar(false);
    for (int id = 29; id <= 32; ++id)
        m_toolBar.EnableButton(id, false);
    m_statusBar.SetText(0, "");
    m_playWindow.ShowWindow(SW_HIDE);
    m_thumbs.ShowWindow(SW_HIDE);
    m_pageBrowser.ShowWindow(SW_HIDE);
    m_downloadQueue.ShowWindow(SW_SHOW);
    m_secondBrowser.ShowWindow(SW_SHOW);
    m_folderList.SetTextColor(REMOTE_TEXT);
    m_fileList.SetTextColor(REMOTE_TEXT);
    m_folderList.InvalidateRect(nullptr, true);
    m_fileList.InvalidateRect(nullptr, true);
    m_notesEditor.Close(true);
    m_notesEditor.SetReadOnly(true);
    m_remoteShown = true;
    // A late reply is read as it comes: a server whose reply stays unread
    // would wait on it, and drop the connection.
    SetTimer(CATCHUP_TIMER, CATCHUP_PERIOD);
}

// Reached from command 33, from closing, and from the connection's own end
// (whose close calls back here once more: that call finds the work under way).
void PWndApp::OnDisconnected()
{
    if (m_disconnecting)
        return;
    m_disconnecting = true;
    // A session whose connection ended by itself, not by the user's command or close.
    const bool lost = m_remoteShown && !m_client.IsConnected();
    KillTimer(CATCHUP_TIMER);
    StopDownloads();
    m_client.Disconnect();
    if (m_remoteShown)
        ShowLocalMode();
    m_remoteShown = false;
    m_disconnecting = false;
    if (lost)
        m_statusBar.SetText(0, TextOf(SString("The connection to ") + TextOf(m_client.GetName()) + " was lost."));
}

void PWndApp::ShowLocalMode()
{
    FillToolBar(true);
    m_downloadQueue.Clear();
    m_downloadQueue.ShowWindow(SW_HIDE);
    m_playWindow.ShowWindow(SW_SHOW);
    m_thumbs.ShowWindow(SW_SHOW);
    m_secondBrowser.ShowWindow(SW_HIDE);
    m_folderList.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    m_fileList.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    m_folderList.InvalidateRect(nullptr, true);
    m_fileList.InvalidateRect(nullptr, true);
    m_notesEditor.Close(true);
    m_notesEditor.SetReadOnly(false);
    m_shownRemoteItem = -1;
    OpenFolderPath(TextOf(m_rootFolder.GetPath()), "", false);
    if (m_remotePicture.GetLength() > 0)
        m_disk.DeleteFile(TextOf(m_remotePicture));
    m_remotePicture = "";
    m_secondBrowser.Clear();
}

bool PWndApp::DownloadSelection(bool folder)
{
    SArrayString paths;
    if (folder)
    {
        const SString name = GetSelectedFolderName();
        int size = 0;
        unsigned char* block =
            name.GetLength() > 0
                ? m_client.RequestSizedBlock("103", TextOf(m_remoteFolder.GetFolder() + TextOf(name)), &size)
                : nullptr;
        const bool listed = block && PRemoteBlocks::ParseFileList(block, size, &paths);
        std::free(block);
        if (!listed)
        {
            if (name.GetLength() > 0)
                ReportRemoteFailure(m_remoteFolder.GetFolder() + TextOf(name) + "\\", "could not be downloaded");
            return false;
        }
    }
    else
        GetSelectedFilePaths(&paths);
    if (paths.GetCount() == 0)
        return false;
    m_downloadQueue.Add(paths);
    // The queue's buttons come with a queue to act on.
    for (int id : {29, 30, 32})
        m_toolBar.EnableButton(id, true);
    ResumeDownloads();
    return true;
}

bool PWndApp::PlayOnServer()
{
    SArrayString paths;
    if (GetSelectedFilePaths(&paths) == 0 || paths.GetCount() == 0)
        return false;
    return m_client.SendMessage("104", TextOf(paths.Join("|")));
}

bool PWndApp::ResumeDownloads()
{
    if (m_downloadThread.IsRunning() || !m_client.IsConnected())
        return false;
    m_downloadQueue.ResetFailed();
    m_downloadThread.Prepare(TextOf(m_client.GetHost()), m_client.GetPort(), TextOf(m_client.GetAccessText()),
                             TextOf(m_client.GetName()), TextOf(m_rootFolder.GetPath()));
    return m_downloadThread.Start(false);
}

bool PWndApp::StopDownloads()
{
    if (!m_downloadThread.IsRunning())
        return false;
    return m_downloadThread.Stop();
}
