// Running what windows of this thread posted, for tests and benchmarks alike.
#pragma once
#include "SPlatform.h"

namespace testsupport
{
// Runs the posted messages until nothing is left; a quit is passed over.
inline void PumpUntilIdle()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
}
