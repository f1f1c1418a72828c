// Sharing the library, remote views and downloads, seen from the main window.
#include "PWndApp.h"

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
