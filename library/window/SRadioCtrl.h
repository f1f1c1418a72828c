// A radio button on the native "BUTTON" class. Grouping is the library's own:
// selecting a button unchecks the sibling radio buttons of the same group
// number; the native WS_GROUP grouping plays no part.
#pragma once
#include "SWnd.h"
#include "SControlColor.h"

class SRadioCtrl : public SWnd
{
public:
    SRadioCtrl();
    ~SRadioCtrl() override;

    bool Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM param = 0);
    // -1: the button belongs to no group.
    void SetGroup(int group) { m_group = group; }
    int GetGroup() const { return m_group; }
    // Checks this button and unchecks its group's other members.
    void Select();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    SControlColor m_color;
    int m_group;
};
