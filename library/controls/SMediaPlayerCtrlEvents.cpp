// The player host's window procedure, its event sink and its printed picture.
#include "SMediaPlayerCtrl.h"
#include "SGuards.h"
#include "SMouseNotify.h"
#include <cstring>

// --- Sink -------------------------------------------------------------------------

bool SMediaPlayerCtrl::_SEvents::QueryEventInterface(REFIID iid, void** out)
{
    if (memcmp(&iid, &IID__WMPOCXEvents, sizeof(IID)) != 0)
        return false;
    *out = static_cast<IDispatch*>(this);
    return true;
}

// Events are posted, so the control acts on them once the player's call has
// returned. Arguments of an unexpected count or type are ignored.
HRESULT SMediaPlayerCtrl::_SEvents::OnEvent(DISPID id, DISPPARAMS* params)
{
    if (!m_owner || !m_owner->GetHandle())
        return S_OK;
    if (id == SDISPID_WMP_PLAYSTATECHANGE)
    {
        int state = 0;
        if (params->cArgs == 1 && GetIntArgument(params, 0, &state) && m_owner->HasMedia())
            m_owner->PostMessage(SWM_PLAYER_STATECHANGE, static_cast<WPARAM>(static_cast<UINT>(state)), 0);
    }
    else if (id == SDISPID_WMP_BUFFERING)
    {
        bool starting = false;
        if (params->cArgs == 1 && GetBoolArgument(params, 0, &starting) && m_owner->IsPlaying())
            m_owner->PostMessage(SWM_PLAYER_BUFFERING, starting ? 0 : 1, 0);
    }
    return S_OK;
}

// --- Window procedure ---------------------------------------------------------------

LRESULT SMediaPlayerCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        if (!CreatePlayer())
            return -1;
        break;
    case SWM_PLAYER_STATECHANGE:
        OnStateChange(wParam);
        break;
    case SWM_PLAYER_BUFFERING:
        OnBufferingMessage(wParam);
        break;
    case WM_TIMER:
        if (wParam == TIMER_ID && m_playing)
            OnTimer();
        break;
    case WM_PRINTCLIENT:
        PrintFilmStrip(reinterpret_cast<HDC>(wParam));
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case SWM_LCLICK:
    case SWM_MCLICK:
    case SWM_RCLICK:
        SetFocus();
        SMouseNotify::RelayToParent(this, SWM_PLAYER_MOUSE, message, lParam);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void SMediaPlayerCtrl::OnStateChange(WPARAM state)
{
    if (state != wmppsMediaEnded)
        return;
    Stop();
    if (m_loop)
    {
        Play();
        OnRestarted();
        SendMessageToParent(SWM_PLAYER_RESTARTED, reinterpret_cast<WPARAM>(this), 0);
    }
    else
    {
        OnMediaEnded();
        SendMessageToParent(SWM_PLAYER_ENDED, reinterpret_cast<WPARAM>(this), 0);
    }
}

void SMediaPlayerCtrl::OnBufferingMessage(WPARAM finished)
{
    OnBuffering(finished != 0);
    SendMessageToParent(SWM_PLAYER_BUFFERINGCHANGED, reinterpret_cast<WPARAM>(this), static_cast<LPARAM>(finished));
}

// A film strip: black, with a row of grey holes along each edge.
void SMediaPlayerCtrl::PrintFilmStrip(HDC dc) const
{
    RECT client = {0, 0, 0, 0};
    if (!dc || !GetClientRect(&client))
        return;
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const int s = static_cast<int>(client.bottom * 0.1);
    // Under 10 pixels high there are no holes (and no step to advance by).
    if (s <= 0)
        return;
    SGdiObjectGuard<HBRUSH> grey(CreateSolidBrush(RGB(192, 192, 192)));
    for (int x = client.left; x < client.right; x += 2 * s)
    {
        const RECT top = {x, client.top + s / 2, x + s, client.top + s / 2 + s / 2};
        const RECT bottom = {x, client.bottom - s / 2 - s / 2, x + s, client.bottom - s / 2};
        FillRect(dc, &top, grey.Get());
        FillRect(dc, &bottom, grey.Get());
    }
}
