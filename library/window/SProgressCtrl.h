// The native progress bar, running from 0 to 100 unless told otherwise.
#pragma once
#include "SWnd.h"

class SProgressCtrl : public SWnd
{
public:
    SProgressCtrl();
    ~SProgressCtrl() override;

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);
    void SetRange(int minimum, int maximum);
    int SetPos(int position);
    int GetPos() const;
    int GetMin() const;
    int GetMax() const;
    // Goes to the native bar only; the window's own background stays as it is.
    void SetBackgroundColor(COLORREF color) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
