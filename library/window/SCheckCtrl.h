// A check box on the native "BUTTON" class. Its state is changed by the library
// (the parent turns a click into a toggle), never by the native control itself,
// so that a click on the indeterminate state unchecks it.
#pragma once
#include "SWnd.h"
#include "SControlColor.h"

class SCheckCtrl : public SWnd
{
public:
    SCheckCtrl();
    ~SCheckCtrl() override;

    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM param = 0);
    int GetCheck() const { return ButtonGetCheck(); }
    void SetCheck(int state) const { ButtonSetCheck(state); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    SControlColor m_color;
};
