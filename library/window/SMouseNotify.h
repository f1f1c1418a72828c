// The record a control passes (by address, valid during the call) with its
// class's mouse relay message: a code of button and event bits and the point.
#pragma once
#include "SPlatform.h"

class SWnd;

struct SMouseNotify
{
    // Code bits.
    enum
    {
        LEFT = 1,
        MIDDLE = 2,
        RIGHT = 4,
        DOWN = 8,
        UP = 16,
        CLICK = 32,
        DOUBLE = 64
    };

    int code;  // bit set above; 0 means "not a relayed event"
    int x;     // client coordinates of the control, signed
    int y;

    // The code of a mouse message (button messages and the library's click
    // events); 0 for any other message.
    static int CodeFromMessage(UINT message);

    // A control's mouse relay: for a button message or a click event of the
    // control, calls the parent's window procedure with the class's mouse
    // message, wParam the control and lParam the record (the point from the
    // message's lParam, signed). False when nothing was relayed: no code, no
    // control or no parent.
    static bool RelayToParent(SWnd* control, UINT relayMessage, UINT message, LPARAM lParam);
};

static_assert(sizeof(SMouseNotify) == 12, "three 32-bit fields");
