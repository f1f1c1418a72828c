// The play queue of the main window: opening its entries, moving through it,
// the end of a file, the video window and the views of what plays.
#include "PWndApp.h"
#include "SGuards.h"

namespace
{
// Enables the shutdown privilege and shuts Windows down, forced when hung.
bool ShutDownWindows()
{
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    {
        SHandleGuard guard(token);
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    return ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCEIFHUNG, SHTDN_REASON_FLAG_PLANNED) != 0;
}

PWndApp::ShutdownFunction s_shutdown = ShutDownWindows;
}

void PWndApp::SetShutdownFunction(ShutdownFunction function)
{
    s_shutdown = function ? function : ShutDownWindows;
}

void PWndApp::ShutDownAfterPlay()
{
    s_shutdown();
}

bool PWndApp::StopPlayback()
{
    HideVideoWindow();
    m_player.Stop();
    m_playWindow.SetMedia(nullptr, 0, 0);
    m_taskStrip.SetMedia(nullptr, 0, 0);
    for (int id = 8; id <= 11; ++id)
        m_toolBar.EnableButton(id, false);
    m_taskStrip.EnablePrevNext(false);
    m_taskStrip.EnablePauseStop(false);
    return true;
}

bool PWndApp::ClearQueue()
{
    if (m_queue.GetCount() == 0)
        return false;
    StopPlayback();
    m_queue.DeleteAndRemoveAll();
    m_queueIndex = -1;
    return true;
}

bool PWndApp::PlayIndex(int index, bool startPaused)
{
    const int count = m_queue.GetCount();
    if (index < 0 || index >= count)
    {
        StopPlayback();
        return false;
    }
    m_playWindow.ShowWaiting();
    const SString path = m_queue.GetAt(index);
    if (!m_player.Open(TextOf(path), true))
    {
        m_playWindow.SetCover(nullptr);
        return false;
    }
    if (startPaused)
        m_player.TogglePause();
    SImage cover;
    LoadFolderCover(&cover, TextOf(SPath(TextOf(path)).GetFullFolder()), false);
    m_playWindow.SetMedia(&m_player, index + 1, count);
    m_playWindow.SetCover(&cover);
    m_taskStrip.SetMedia(&m_player, index + 1, count);
    m_toolBar.EnableButton(8, count > 1);
    m_toolBar.EnableButton(9, count > 1);
    m_toolBar.EnableButton(10, true);
    m_toolBar.EnableButton(11, true);
    m_taskStrip.EnablePrevNext(count > 1);
    m_taskStrip.EnablePauseStop(true);
    if (!m_player.HasVideo())
        HideVideoWindow();
    else if (!m_player.IsVisible())
        ShowVideoWindow();
    return true;
}

// The video window opens at the picture's size, centred, unless a saved
// placement says otherwise.
void PWndApp::ShowVideoWindow()
{
    int width = 0, height = 0;
    m_player.GetVideoSize(width, height);
    m_player.SetClientSize(width, height);
    m_player.CenterWindow(false);
    m_player.RestorePlacement(PSettings::COMPANY, PSettings::PRODUCT, "WindowVideo", true);
    m_player.ShowWindow(SW_SHOWNOACTIVATE);
}

bool PWndApp::PlayFrom(int index, bool startPaused)
{
    if (index < 0 || index >= m_queue.GetCount())
    {
        ClearQueue();
        return false;
    }
    for (int i = index; i < m_queue.GetCount(); ++i)
    {
        if (PlayIndex(i, startPaused))
        {
            m_queueIndex = i;
            return true;
        }
    }
    ClearQueue();
    return false;
}

bool PWndApp::PlayNext()
{
    if (m_queueIndex < 0)
        return false;
    int next = m_queueIndex + 1;
    if (m_repeat && next >= m_queue.GetCount())
        next = 0;
    return PlayFrom(next, false);
}

bool PWndApp::PlayPrevious()
{
    if (m_queueIndex < 0)
        return false;
    if (PlayIndex(m_queueIndex - 1, false))
    {
        --m_queueIndex;
        return true;
    }
    ClearQueue();
    return false;
}

bool PWndApp::TogglePause()
{
    return m_queueIndex >= 0 && m_player.TogglePause();
}

bool PWndApp::SeekTo(int seconds)
{
    if (m_queueIndex < 0 || seconds < 0)
        return false;
    return m_player.Seek(static_cast<uint32_t>(seconds) * 1000);
}

void PWndApp::OnMediaEnded()
{
    // The end of a file stopped as it ended comes after the queue was emptied:
    // nothing plays any more, and it must not shut the computer down.
    if (m_queueIndex < 0)
        return;
    if (m_queue.GetCount() != 1)
    {
        if (!PlayNext() && m_shutdown)
            ShutDownAfterPlay();
        return;
    }
    if (m_repeat)
        m_player.Play();
    else if (ClearQueue() && m_shutdown)
        ShutDownAfterPlay();
}

void PWndApp::UpdatePlayerViews()
{
    m_playWindow.UpdatePosition(&m_player);
    m_taskStrip.UpdatePosition(&m_player);
}

int PWndApp::GetQueueNames(SArrayString* result) const
{
    for (int i = 0; result && i < m_queue.GetCount(); ++i)
        result->Add(TextOf(SPath(TextOf(m_queue.GetAt(i))).GetTitle()));
    return m_queue.GetCount();
}
