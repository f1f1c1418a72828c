// Keyboard and mouse-button state, simulated key presses, and the process-wide
// table of virtual-key names.
#pragma once
#include "SPlatform.h"
#include "SArray.h"
#include "SArrayString.h"

class SKeyboard
{
public:
    // Fills the key-name table when it is still empty.
    SKeyboard();
    virtual ~SKeyboard();

    // Asynchronous state: true while the key or button is down.
    bool IsCtrlDown() const { return IsKeyDown(VK_CONTROL); }
    bool IsShiftDown() const { return IsKeyDown(VK_SHIFT); }
    bool IsAltDown() const { return IsKeyDown(VK_MENU); }
    bool IsLeftButtonDown() const { return IsKeyDown(VK_LBUTTON); }
    bool IsKeyDown(int vk) const;
    // 2 when Ctrl is down, plus 1 when Shift is down.
    int GetModifiers() const;
    // A simulated press and release of the key.
    void PressKey(BYTE vk) const;

    // Fills the table once (256 texts, by virtual-key code); returns its number of entries.
    static int FillKeyNames();
    // The table itself; the library's shut-down empties it.
    static SArrayString& GetKeyNames();

private:
    // Per-key state for the classes that use it: 256 entries each, 0 after construction.
    SArray<int> m_keys;
    SArray<int> m_keysBefore;
};
