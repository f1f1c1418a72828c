#include "SNativeCtrl.h"
#include "SLibrary.h"
#include "SWnd.h"

bool SNativeCtrl::Create(SWnd* control, const char* className, const char* text, DWORD style,
                         DWORD classBits, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM param)
{
    return control && control->CreateSubclassed(className, text ? text : "", ChildStyle(style) | classBits,
                                                exStyle, rect, parent, id, param, GetInstance());
}

DWORD SNativeCtrl::ChildStyle(DWORD style)
{
    return (style & WS_POPUP) ? style : style | WS_CHILD;
}

LRESULT SNativeCtrl::RelayAndHandle(SWnd* control, UINT relayMessage, UINT message, WPARAM wParam,
                                    LPARAM lParam)
{
    SMouseNotify::RelayToParent(control, relayMessage, message, lParam);
    return control->SWnd::WindowProc(message, wParam, lParam);
}
