// What every wrapper of a native control does the same way: its creation on
// the native class (a child unless it is a popup, subclassed through SWnd) and
// its mouse relay to the parent before the message goes on.
#pragma once
#include "SPlatform.h"

class SWnd;

class SNativeCtrl
{
public:
    // WS_CHILD unless the style has WS_POPUP, plus the class's own bits; the
    // window belongs to the program's instance.
    static bool Create(SWnd* control, const char* className, const char* text, DWORD style,
                       DWORD classBits, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                       LPARAM param);
    static DWORD ChildStyle(DWORD style);
    // The relay of a mouse message (nothing for other messages or without a
    // parent), then the control's default handling, whose answer is returned.
    static LRESULT RelayAndHandle(SWnd* control, UINT relayMessage, UINT message, WPARAM wParam,
                                  LPARAM lParam);
};
