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
        return SWnd::WindowProc(message, wParam, lParam);
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
