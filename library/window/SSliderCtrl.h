// The native trackbar, with its dotted focus rectangle painted over in the
// background colour.
#pragma once
#include "SControlColor.h"
#include "SWnd.h"

class SSliderCtrl : public SWnd
{
public:
    SSliderCtrl();
    ~SSliderCtrl() override;

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);
    void SetRange(int minimum, int maximum, bool redraw);
    void SetPos(int position, bool redraw);
    int GetPos() const;
    int GetMin() const;
    int GetMax() const;

    HBRUSH OnCtlColorStatic(HDC dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CoverFocusRect() const;

    SControlColor m_color;
};
