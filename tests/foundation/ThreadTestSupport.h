// Waiting helpers for tests that run threads and windows: they pump this
// thread's messages while they wait, and give up after a bound so that a
// broken build fails instead of hanging.
#pragma once
#include "SPlatform.h"
#include <functional>

inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline bool WaitUntil(const std::function<bool()>& done, DWORD bound = 10000)
{
    const DWORD start = GetTickCount();
    while (!done())
    {
        if (GetTickCount() - start > bound)
            return false;
        PumpMessages();
        Sleep(1);
    }
    return true;
}
