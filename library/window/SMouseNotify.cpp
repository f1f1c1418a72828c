#include "SMouseNotify.h"
#include "SMessages.h"
#include "SWnd.h"

int SMouseNotify::CodeFromMessage(UINT message)
{
    switch (message)
    {
    case WM_LBUTTONDOWN: return LEFT | DOWN;
    case WM_LBUTTONUP: return LEFT | UP;
    case WM_LBUTTONDBLCLK: return LEFT | DOUBLE;
    case WM_MBUTTONDOWN: return MIDDLE | DOWN;
    case WM_MBUTTONUP: return MIDDLE | UP;
    case WM_MBUTTONDBLCLK: return MIDDLE | DOUBLE;
    case WM_RBUTTONDOWN: return RIGHT | DOWN;
    case WM_RBUTTONUP: return RIGHT | UP;
    case WM_RBUTTONDBLCLK: return RIGHT | DOUBLE;
    default: break;
    }
    if (message == SWM_LCLICK)
        return LEFT | CLICK;
    if (message == SWM_MCLICK)
        return MIDDLE | CLICK;
    if (message == SWM_RCLICK)
        return RIGHT | CLICK;
    return 0;
}

bool SMouseNotify::RelayToParent(SWnd* control, UINT relayMessage, UINT message, LPARAM lParam)
{
    const int code = CodeFromMessage(message);
    if (!code || !control)
        return false;
    HWND parent = control->GetParent();
    if (!parent)
        return false;
    SMouseNotify notify;
    notify.code = code;
    notify.x = static_cast<short>(LOWORD(lParam));
    notify.y = static_cast<short>(HIWORD(lParam));
    SWnd::SharedWindowProc(parent, relayMessage, reinterpret_cast<WPARAM>(control),
                           reinterpret_cast<LPARAM>(&notify));
    return true;
}
