// A push button on the native "BUTTON" class, coloured from the library's
// background colour and relaying its mouse events to the parent.
#pragma once
#include "SWnd.h"
#include "SControlColor.h"

class SButtonCtrl : public SWnd
{
public:
    SButtonCtrl();
    ~SButtonCtrl() override;

    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM param = 0);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorBtn(HDC dc) override;

private:
    SControlColor m_color;
};
