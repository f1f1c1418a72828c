#include "PMedia.h"
#include "PWndApp.h"

bool PMedia::Create()
{
    return SWnd::Create("", WS_POPUP | WS_THICKFRAME, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, nullptr);
}

LRESULT PMedia::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CLOSE:
        // The video window closes with the playback, never by the user.
        return 1;
    case SWM_CREATED:
        SetClientDrag(true);
        break;
    default:
        break;
    }
    return SMediaPlayerCtrl::WindowProc(message, wParam, lParam);
}

void PMedia::OnBuffering(bool finished)
{
    if (m_owner)
        m_owner->GetStatusBar().SetText(2, finished ? "" : "buffering...");
}

void PMedia::OnMediaEnded()
{
    if (m_owner)
        m_owner->OnMediaEnded();
}

void PMedia::OnTimer()
{
    if (m_owner)
        m_owner->UpdatePlayerViews();
}
