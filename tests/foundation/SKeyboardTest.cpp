#include <gtest/gtest.h>
#include <string>
#include "SPlatform.h"
#include "SKeyboard.h"

namespace
{
std::string Name(int code)
{
    const SString s = SKeyboard::GetKeyNames().GetAt(code);
    return s.GetText() ? s.GetText() : "(null)";
}

// Records the keys that reach a plain top-level window.
struct KeyWindow
{
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_KEYDOWN && wp == VK_F16)
            downs++;
        if (msg == WM_KEYUP && wp == VK_F16)
            ups++;
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    KeyWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SKeyboardTestWindow";
        RegisterClassA(&wc);
        wnd = CreateWindowExA(0, wc.lpszClassName, "keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                              nullptr, nullptr, wc.hInstance, nullptr);
        downs = ups = 0;
    }
    ~KeyWindow() { DestroyWindow(wnd); }
    HWND wnd;
    static int downs, ups;
};
int KeyWindow::downs = 0;
int KeyWindow::ups = 0;
}

TEST(SKeyboardNamesTest, TableIsFilledOnceWithTheVirtualKeyNames)
{
    SKeyboard first;
    EXPECT_EQ(256, SKeyboard::GetKeyNames().GetCount());
    SKeyboard second;
    EXPECT_EQ(256, SKeyboard::GetKeyNames().GetCount());
    EXPECT_EQ(256, SKeyboard::FillKeyNames());
    EXPECT_EQ("F5", Name(116));
    EXPECT_EQ("", Name(95));
    EXPECT_EQ("RETURN", Name(13));
    EXPECT_EQ("NUM0", Name(96));
    EXPECT_EQ("NUM9", Name(105));
    EXPECT_EQ("7", Name('7'));
    EXPECT_EQ("Q", Name('Q'));
    EXPECT_EQ("F16", Name(127));
    EXPECT_EQ("PA1", Name(253));
    EXPECT_EQ("", Name(254));
    EXPECT_EQ("", Name(0));
    int named = 0;
    for (int i = 0; i < 256; i++)
        named += Name(i).empty() ? 0 : 1;
    EXPECT_EQ(110, named);
}

TEST(SKeyboardStateTest, NothingIsHeldDown)
{
    SKeyboard keyboard;
    EXPECT_FALSE(keyboard.IsCtrlDown());
    EXPECT_FALSE(keyboard.IsShiftDown());
    EXPECT_FALSE(keyboard.IsAltDown());
    EXPECT_FALSE(keyboard.IsLeftButtonDown());
    EXPECT_EQ(0, keyboard.GetModifiers());
}

TEST(SKeyboardPressTest, PressedKeyReachesTheForegroundWindow)
{
    KeyWindow window;
    ASSERT_NE(nullptr, window.wnd);
    SetForegroundWindow(window.wnd);
    SetFocus(window.wnd);
    SKeyboard keyboard;
    keyboard.PressKey(VK_F16);
    const DWORD start = GetTickCount();
    MSG msg;
    while (KeyWindow::ups == 0 && GetTickCount() - start < 3000)
    {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(5);
    }
    EXPECT_EQ(1, KeyWindow::downs);
    EXPECT_EQ(1, KeyWindow::ups);
    EXPECT_FALSE(keyboard.IsKeyDown(VK_F16));
}
