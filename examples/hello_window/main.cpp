// A window of the library with a few native controls; it closes itself after
// a few seconds. Shows the start-up, creation, routing and shut-down of a program.
#include "SPlatform.h"
#include <dsound.h>
#include "SLibrary.h"
#include "SWnd.h"

namespace
{
const UINT_PTR CLOSE_TIMER = 1;
const UINT_PTR TICK_TIMER = 2;
const int BUTTON_ID = 100;

class HelloWnd : public SWnd
{
public:
    bool Open()
    {
        RECT r = {200, 150, 620, 390};
        if (!Create("Hello from the library", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &r, nullptr))
            return false;
        RECT label = {20, 20, 380, 44}, edit = {20, 56, 380, 80}, button = {20, 96, 160, 124};
        m_label.CreateSubclassed("STATIC", "Closing in 5 seconds", WS_CHILD | WS_VISIBLE, 0, &label,
                                 GetHandle());
        m_edit.CreateSubclassed("EDIT", "Type here", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                WS_EX_CLIENTEDGE, &edit, GetHandle());
        m_button.CreateSubclassed("BUTTON", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0,
                                  &button, GetHandle(), BUTTON_ID);
        SetTimer(CLOSE_TIMER, 5000);
        SetTimer(TICK_TIMER, 1000);
        return true;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_ERASEBKGND:
            PaintBackground(lParam ? reinterpret_cast<HDC>(lParam) : reinterpret_cast<HDC>(wParam));
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == BUTTON_ID && HIWORD(wParam) == BN_CLICKED)
                m_label.SetWindowText(m_edit.GetWindowText().GetText());
            break;
        case WM_TIMER:
            if (wParam == CLOSE_TIMER)
            {
                KillTimer(CLOSE_TIMER);
                Close();
                return 0;
            }
            if (wParam == TICK_TIMER && --m_secondsLeft > 0)
            {
                char text[64];
                wsprintfA(text, "Closing in %d seconds", m_secondsLeft);
                m_label.SetWindowText(text);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        default:
            break;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    void PaintBackground(HDC dc)
    {
        RECT client;
        GetClientRect(&client);
        HBRUSH brush = CreateSolidBrush(GetBackgroundColor() & 0xFFFFFF);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }

    SWnd m_label;
    SWnd m_edit;
    SWnd m_button;
    int m_secondsLeft = 5;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    StartupWinsock();
    CreateDirectSound(GetLibraryWindow(), DSSCL_PRIORITY);
    {
        HelloWnd window;
        if (window.Open())
        {
            bool blocking = true;
            RunMessageLoop(&blocking, nullptr, 0);
        }
    }
    ReleaseDirectSound();
    ShutdownWinsock();
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return 0;
}
