// A window that keeps every message its handler saw, with its parameters, and
// answers chosen messages with chosen values; the behaviour tests watch it.
#pragma once
#include <map>
#include <vector>
#include "SWnd.h"

struct TracedMessage
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class TraceWnd : public SWnd
{
public:
    std::vector<TracedMessage> seen;
    std::map<UINT, LRESULT> answers;

    int Count(UINT message) const
    {
        int n = 0;
        for (const TracedMessage& m : seen)
            n += m.message == message ? 1 : 0;
        return n;
    }
    // The last one of that message; a zeroed record when there was none.
    TracedMessage Last(UINT message) const
    {
        for (auto it = seen.rbegin(); it != seen.rend(); ++it)
            if (it->message == message)
                return *it;
        return TracedMessage{0, 0, 0};
    }
    void Forget() { seen.clear(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(TracedMessage{message, wParam, lParam});
        const auto answer = answers.find(message);
        if (answer != answers.end())
            return answer->second;
        if (StartsSystemLoop(message, wParam))
            return 0;
        return SWnd::WindowProc(message, wParam, lParam);
    }

    // The default procedure turns some messages into loops that wait for more
    // mouse or keyboard input (system menu, moving, sizing, tracking a frame
    // button or a scroll bar). The tests send messages, not input, and under
    // Wine without a window manager nothing would end such a loop, so the
    // default procedure never gets them. The pre-processor has already seen
    // the message.
    static bool StartsSystemLoop(UINT message, WPARAM wParam)
    {
        switch (message)
        {
        case WM_CONTEXTMENU:
            return true;
        case WM_SYSCOMMAND:
        {
            const WPARAM command = wParam & 0xFFF0;
            return command == SC_MOVE || command == SC_SIZE || command == SC_MOUSEMENU ||
                   command == SC_KEYMENU || command == SC_HSCROLL || command == SC_VSCROLL;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            return wParam != HTNOWHERE && wParam != HTCLIENT;
        default:
            return false;
        }
    }
};

inline RECT MakeRect(int left, int top, int right, int bottom)
{
    RECT r = {left, top, right, bottom};
    return r;
}

// A rectangle of a window in its parent's client coordinates (screen for a top-level one).
inline RECT RectInParent(const SWnd& window)
{
    RECT r = {};
    window.GetWindowRect(&r);
    HWND parent = window.GetParent();
    if (parent && (window.GetStyle() & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline void PumpPendingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
