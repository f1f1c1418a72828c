// The native scroll bar control; its moves reach the parent as SWM_SCROLL_CHANGED.
#pragma once
#include "SControlColor.h"
#include "SWnd.h"

class SScrollCtrl : public SWnd
{
public:
    SScrollCtrl();
    ~SScrollCtrl() override;

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);
    void SetRange(int minimum, int maximum, bool redraw);
    int SetPos(int position, bool redraw);
    int GetPos() const;
    int GetMin() const;
    int GetMax() const;

    HBRUSH OnCtlColorScrollBar(HDC dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SControlColor m_color;
};
