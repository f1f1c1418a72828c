// The main window's life after set-up: focus, the cover's water, the tray icon
// and closing.
#include "PWndApp.h"
#include <shellapi.h>
#include "PWndBook.h"
#include "PWndDescription.h"
#include "PWndHelp.h"
// After the tree's header: its macros take the names of the tree's walks.
#include <windowsx.h>

LRESULT PWndApp::_SMediaCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_MOUSEMOVE:
        Ripple(lParam, 5, 50);
        break;
    case WM_LBUTTONDOWN:
        Ripple(lParam, 25, 250);
        break;
    case WM_RBUTTONDOWN:
        if (m_app && m_app->IsLocal())
            m_app->OpenFolder(".", "", true);
        break;
    default:
        break;
    }
    return SMediaCtrl::WindowProc(message, wParam, lParam);
}

void PWndApp::_SMediaCtrl::Ripple(LPARAM point, int radius, int depth)
{
    if (!m_app || !m_water)
        return;
    if (m_water->IsCalm())
        m_app->SetTimer(WATER_TIMER, 20);
    m_water->Disturb(GET_X_LPARAM(point), GET_Y_LPARAM(point), radius, depth);
}

void PWndApp::SetWaterSource(const SImage& picture)
{
    const size_t count = static_cast<size_t>(m_water.GetWidth()) * m_water.GetHeight();
    m_waterSource.assign(count, 0);
    m_waterOutput.assign(count, 0);
    if (picture.GetWidth() == m_water.GetWidth() && picture.GetHeight() == m_water.GetHeight())
        picture.GetPixels(m_waterSource.data(), PixelFormat32bppARGB);
}

void PWndApp::OnWaterTimer()
{
    if (m_waterSource.empty())
        SetWaterSource(m_coverPane.GetBackgroundImage());
    m_water.Animate(m_waterSource.data(), m_waterOutput.data());
    SImage& picture = const_cast<SImage&>(m_coverPane.GetBackgroundImage());
    if (picture.IsLoaded() && picture.GetWidth() == m_water.GetWidth() &&
        picture.GetHeight() == m_water.GetHeight())
    {
        picture.SetPixels(m_waterOutput.data());
        m_coverPane.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    if (m_water.IsCalm())
        KillTimer(WATER_TIMER);
}

void PWndApp::OnSetFocus()
{
    if (m_thumbs.IsVisible())
        m_thumbs.SetFocus();
    if (m_fileList.IsVisible())
        m_fileList.SetFocus();
}

void PWndApp::OnTrayMouse(const SMouseNotify* notify)
{
    if (!notify)
        return;
    if (notify->code == (SMouseNotify::RIGHT | SMouseNotify::UP))
    {
        m_trayMenu.SetItemText(14, IsVisible() ? "Hide window" : "Show window");
        m_trayMenu.TrackEx(this, notify->x, notify->y, TPM_RIGHTBUTTON);
    }
    else if (notify->code == (SMouseNotify::LEFT | SMouseNotify::DOUBLE))
    {
        ToggleVisible(false);
    }
}

// A secondary window that refuses to close keeps the main window open.
bool PWndApp::CloseSecondaryWindow(SWnd*& window)
{
    if (!window)
        return true;
    if (window->GetHandle() && !window->Close())
        return false;
    delete window;
    window = nullptr;
    return true;
}

LRESULT PWndApp::OnClose()
{
    SWnd* windows[3] = {m_book, m_description, m_help};
    for (int i = 0; i < 3; ++i)
    {
        const bool closed = CloseSecondaryWindow(windows[i]);
        m_book = static_cast<PWndBook*>(windows[0]);
        m_description = static_cast<PWndDescription*>(windows[1]);
        m_help = static_cast<PWndHelp*>(windows[2]);
        if (!closed)
            return -1;
    }
    // Asked first: a close refused there keeps the remote session and its downloads.
    if (!StopSharing())
        return -1;
    if (!IsLocal())
        OnDisconnected();
    SavePlacements();
    if (m_taskStrip.IsDocked())
    {
        APPBARDATA data = {};
        data.cbSize = sizeof(data);
        data.hWnd = m_taskStrip.GetHandle();
        SHAppBarMessage(ABM_REMOVE, &data);
        m_taskStrip.SetDocked(false);
    }
    return 0;
}
