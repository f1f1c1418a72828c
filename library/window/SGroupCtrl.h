// A group box on the native "BUTTON" class, with its own text colour.
#pragma once
#include "SWnd.h"
#include "SControlColor.h"

class SGroupCtrl : public SWnd
{
public:
    SGroupCtrl();
    ~SGroupCtrl() override;

    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM param = 0);
    // ARGB; the system's button text colour, opaque, at first.
    void SetTextColor(DWORD argb) { m_textColor = argb; }
    DWORD GetTextColor() const { return m_textColor; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    DWORD m_textColor;
    SControlColor m_color;
};
