// Loading the settings into the main window, and saving its placements.
#include "PWndApp.h"
#include <shellapi.h>
#include "SLibrary.h"
#include "SSplash.h"

namespace
{
DWORD s_splashTime = 2000;

SString CountText(unsigned int count, const char* word)
{
    SString text = IntToGroupedString(static_cast<int>(count));
    text += " ";
    text += word;
    if (count >= 2)
        text += "s";
    return text;
}

// The splash stays up while the library is read, and at least its time.
void WaitForSplash(DWORD start)
{
    while (timeGetTime() - start < s_splashTime)
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_QUIT)
            {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(20);
    }
}
}

void PWndApp::SetSplashTime(DWORD milliseconds)
{
    s_splashTime = milliseconds;
}

void PWndApp::LoadSettings(bool withSplash)
{
    ClearQueue();
    const PSettings settings;
    SPath root;
    root.SetFolder(settings.GetText("Folder").GetText());
    if (!root.IsValid())
        root.SetFolder(GetProgramFolder().GetText());
    SArrayString coverNames;
    PSettings::SplitNames(settings.GetText("Images").GetText(), &coverNames);
    {
        // The sharing server's thread copies these under the same lock.
        SLockGuard lock(m_sharingLock.Get());
        m_rootFolder.Copy(root);
        m_coverNames = coverNames;
        m_server = settings.GetServer();
    }
    m_bookPage = m_rootFolder.GetPath() + "Book.htm";
    m_welcomePage = GetProgramFolder() + "welcome.htm";
    SSplash splash;
    const DWORD start = timeGetTime();
    if (withSplash && splash.LoadImage(235))
        splash.Show();
    m_autoHideAfterPlay = settings.GetFlag("AutoHideAfterPlay");
    HideFolder(m_rootFolder.GetPath() + "Book\\");
    HideFolder(m_rootFolder.GetPath() + "Images\\");
    OpenFolderPath(m_rootFolder.GetPath().GetText(), "", false);
    if (withSplash)
        ScanLibrary();
    m_statusBar.SetText(1, GetCountsText().GetText());
    UpdateInfoText();
    if (withSplash)
    {
        WaitForSplash(start);
        splash.Close();
    }
    ApplyTaskbar(settings);
}

void PWndApp::CopySharingSettings(SString* root, SArrayString* coverNames, PSettings::_SServer* server,
                                  std::shared_ptr<const PLibraryTree>* tree) const
{
    SLockGuard lock(m_sharingLock.Get());
    *root = m_rootFolder.GetPath();
    *coverNames = m_coverNames;
    *server = m_server;
    if (tree)
        *tree = m_libraryTree;
}

SString PWndApp::GetCountsText() const
{
    return CountText(m_totalSongs, "song") + ", " + CountText(m_totalVideos, "video").GetText() + ", " +
           CountText(m_totalRadios, "radio").GetText();
}

void PWndApp::HideFolder(const SString& folder)
{
    if (m_disk.FolderExists(folder.GetText()) && !m_disk.IsHidden(folder.GetText()))
        m_disk.SetAttributes(folder.GetText(), 2);
}

// The taskbar strip as an application desktop bar along the bottom edge.
void PWndApp::ApplyTaskbar(const PSettings& settings)
{
    APPBARDATA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_taskStrip.GetHandle();
    if (!settings.GetFlag("Taskbar"))
    {
        if (m_taskStrip.IsVisible())
        {
            SHAppBarMessage(ABM_REMOVE, &data);
            m_taskStrip.SetDocked(false);
            m_taskStrip.ShowWindow(SW_HIDE);
        }
        return;
    }
    if (!m_taskStrip.IsVisible() || !m_taskStrip.IsDocked())
    {
        RECT work = {};
        m_system.GetWorkArea(&work);
        data.uEdge = ABE_BOTTOM;
        data.rc = work;
        data.rc.top = work.bottom - m_taskStrip.GetHeight();
        // Only a bar the shell took reserves its space and shows media.
        const bool registered = SHAppBarMessage(ABM_NEW, &data) != 0;
        if (registered)
        {
            SHAppBarMessage(ABM_QUERYPOS, &data);
            SHAppBarMessage(ABM_SETPOS, &data);
        }
        m_taskStrip.MoveWindowToRect(&data.rc, true);
        m_taskStrip.SetDocked(registered);
        m_taskStrip.ShowWindow(SW_SHOW);
    }
    m_taskStrip.SetTextColor(static_cast<COLORREF>(settings.GetNumber("TaskbarColor")));
    m_taskStrip.SetInfoText(GetCountsText().GetText());
}

void PWndApp::SavePlacements()
{
    const PSettings settings;
    SavePlacement(PSettings::COMPANY, PSettings::PRODUCT, "Window");
    settings.SetNumber("Column", m_outerSplitter.GetPaneSize(0));
    settings.SetNumber("Column2", m_innerSplitter.GetPaneSize(0));
    settings.SetNumber("Volume", m_volumeSlider.GetPos());
}

void PWndApp::HideVideoWindow()
{
    if (!m_player.IsVisible())
        return;
    m_player.SavePlacement(PSettings::COMPANY, PSettings::PRODUCT, "WindowVideo");
    m_player.ShowWindow(SW_HIDE);
}
