// Operations of the main window that notes, the information text, playback, covers, lyrics, the
// book, the preferences, sharing, downloads and the update check complete.
// Until they land, each does the least its callers rely on.
#include "PWndApp.h"

bool PWndApp::UpdateInfoText() { return false; }

bool PWndApp::StopPlayback()
{
    HideVideoWindow();
    m_player.Stop();
    for (int id = 8; id <= 11; ++id)
        m_toolBar.EnableButton(id, false);
    return true;
}

bool PWndApp::ClearQueue()
{
    if (m_queue.GetCount() == 0)
        return false;
    StopPlayback();
    m_queue.RemoveAll();
    m_queueIndex = -1;
    return true;
}

void PWndApp::SetQueue(const SArrayString& paths, int index)
{
    m_queue = paths;
    m_queueIndex = index;
}

bool PWndApp::PlayAt(int index, const char* folderName) { return false; }
bool PWndApp::PlayAll(bool allFolders, bool random) { return false; }
bool PWndApp::PlaySelected() { return false; }
bool PWndApp::PlayPrevious() { return false; }
bool PWndApp::PlayNext() { return false; }
bool PWndApp::TogglePause() { return false; }
bool PWndApp::AddToQueue(bool fromFolderList) { return false; }
bool PWndApp::PlayFromPeer(const char* text) { return false; }
bool PWndApp::MakeBook(const char* bookFile, bool pictures) { return false; }
bool PWndApp::MakeCover(const char* folder) { return false; }
bool PWndApp::DownloadCover(const char* name) { return false; }
bool PWndApp::FindLyrics(const char* title) { return false; }
SString PWndApp::DownloadLyrics(const char* title, bool parse) { return SString(""); }

void PWndApp::ShowPreferences()
{
    ++m_preferencesRequests;
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

bool PWndApp::Connect(const char* name, const char* host, const char* password, int port)
{
    m_lastConnection = SString(name ? name : "") + "|" + (host ? host : "") + "|" + (password ? password : "") + "|" +
                       SString().SetInt(port).GetText();
    return false;
}

void PWndApp::OnDisconnected() { m_client.Disconnect(); }
bool PWndApp::OpenRemoteFolder(const char* path) { return false; }
bool PWndApp::ShowRemoteFolder() { return false; }
bool PWndApp::LoadRemoteNotes() { return false; }
bool PWndApp::DownloadSelection(bool folder) { return false; }
bool PWndApp::PlayOnServer() { return false; }
bool PWndApp::ResumeDownloads() { return false; }
bool PWndApp::StopDownloads() { return false; }
bool PWndApp::CheckUpdate() { return false; }
