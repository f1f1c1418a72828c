#include "PWndApp.h"
#include <algorithm>
#include "PUpdate.h"
#include "SMessages.h"

int PWndApp::_PNetwork::OnProgress(int total, int done)
{
    // A reply without a length (-1) or an empty one has no share to show: the
    // bar stays where it is.
    if (total <= 0 || !m_window)
        return ProgressContinue;
    const long long share = static_cast<long long>(done) * PROGRESS_RANGE / total;
    m_window->m_progress.SetPos(static_cast<int>(std::clamp<long long>(share, 0, PROGRESS_RANGE)));
    return ProgressContinue;
}

PWndApp::PWndApp() : m_network(this), m_programPath(""), m_notFrench(1) {}

PWndApp::~PWndApp() {}

void PWndApp::SetProgram(const char* path, bool french)
{
    m_programPath = path;
    m_notFrench = french ? 0 : 1;
}

LRESULT PWndApp::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_TIMER:
        if (wParam == START_TIMER)
        {
            KillTimer(START_TIMER);
            RunUpdate();
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndApp::OnCreated()
{
    SetWindowText("KLV Sonavel Update");
    SetClientSize(300, 340);
    CenterWindow(false);
    SetBackgroundImageFromResource(MAKEINTRESOURCEA(130), "BINARY", COLOR_NONE);
    const RECT bar = {10, 300, 290, 325};
    m_progress.Create(WS_CHILD | WS_VISIBLE, 0, &bar, m_handle);
    m_progress.SetRange(0, PROGRESS_RANGE);
    SetTimer(START_TIMER, 1000);
}

void PWndApp::RunUpdate()
{
    PUpdate update(m_network, m_programPath.GetText(), m_notFrench == 0);
    update.Run();
    Close();
}
