// Keys held down for a test, as the system sees them (GetAsyncKeyState, which
// under Wine sees only injected input).
#pragma once
#include <initializer_list>
#include <vector>
#include "TraceWnd.h"

// Holds keys down as the system sees them (GetAsyncKeyState). The X server may
// report its own keyboard state when the focus moves, so Hold() presses again
// until the keys read as down.
class HeldKeys
{
public:
    explicit HeldKeys(std::initializer_list<WORD> keys) : keys(keys) { Hold(); }
    ~HeldKeys()
    {
        for (WORD key : keys)
            Send(key, KEYEVENTF_KEYUP);
        PumpPendingMessages();
    }
    void Hold() const
    {
        for (int tries = 0; tries < 50 && !AllDown(); tries++)
        {
            for (WORD key : keys)
                Send(key, 0);
            PumpPendingMessages();
            if (!AllDown())
                Sleep(10);
        }
    }

private:
    bool AllDown() const
    {
        for (WORD key : keys)
            if (!(GetAsyncKeyState(key) & 0x8000))
                return false;
        return true;
    }
    static void Send(WORD key, DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
    }
    std::vector<WORD> keys;
};
