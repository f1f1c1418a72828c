// The About window, run modally; its scrolling credits come with the about window.
#pragma once
#include "SWnd.h"

class PWndAbout : public SWnd
{
public:
    PWndAbout() {}
    ~PWndAbout() override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONUP || (message == WM_KEYDOWN && wParam == VK_ESCAPE))
            EndModalCancel();
        return SWnd::WindowProc(message, wParam, lParam);
    }
};
