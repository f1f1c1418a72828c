// Shared by the ActiveX host tests: a parent window that records what the
// hosts tell it, and a message pump with a generous time limit.
#pragma once
#include "SPlatform.h"
#include <functional>
#include <string>
#include <vector>
#include "SWnd.h"

struct RecordedMessage
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;    // the address of a before-navigate
    int values[2];       // a browser's progress record, a player's mouse code and point
};

class RecordingParent : public SWnd
{
public:
    bool Open()
    {
        RECT r = {0, 0, 400, 300};
        return Create("host test", WS_POPUP | WS_VISIBLE, 0, &r, nullptr);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (IsRecorded(message))
        {
            RecordedMessage m = {message, wParam, lParam, "", {0, 0}};
            if (message == SWM_BROWSER_BEFORENAVIGATE && lParam)
                m.text = reinterpret_cast<const char*>(lParam);
            if (message == SWM_BROWSER_PROGRESS && lParam)
            {
                m.values[0] = reinterpret_cast<const int*>(lParam)[0];
                m.values[1] = reinterpret_cast<const int*>(lParam)[1];
            }
            if (message == SWM_PLAYER_MOUSE && lParam)
            {
                const SMouseNotify* notify = reinterpret_cast<const SMouseNotify*>(lParam);
                m.values[0] = notify->code;
                m.values[1] = notify->x * 1000 + notify->y;
            }
            received.push_back(m);
            return message == SWM_BROWSER_BEFORENAVIGATE ? beforeNavigateAnswer : 0;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

    int Count(UINT message) const
    {
        int n = 0;
        for (const RecordedMessage& m : received)
            n += m.message == message ? 1 : 0;
        return n;
    }
    const RecordedMessage* Last(UINT message) const
    {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (it->message == message)
                return &*it;
        return nullptr;
    }

    std::vector<RecordedMessage> received;
    std::vector<UINT> extra;  // further messages to record
    LRESULT beforeNavigateAnswer = 0;

private:
    bool IsRecorded(UINT message) const
    {
        if ((message >= SWM_BROWSER_BEFORENAVIGATE && message <= SWM_BROWSER_QUIT) ||
            (message >= SWM_PLAYER_STATECHANGE && message <= SWM_PLAYER_BUFFERINGCHANGED))
            return true;
        for (UINT m : extra)
            if (m == message)
                return true;
        return false;
    }
};

// Dispatches the thread's messages until the test holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD limit = 20000)
{
    const DWORD started = GetTickCount();
    MSG msg;
    while (!done())
    {
        if (GetTickCount() - started > limit)
            return false;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Dispatches whatever is queued now.
inline void PumpPending()
{
    PumpUntil([] { return false; }, 150);
}
