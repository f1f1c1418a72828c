// The play queue and playback of the main window.
#include "PWndApp.h"

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
