#include "SSliderCtrl.h"
#include "SGuards.h"
#include "SNativeCtrl.h"
#include <commctrl.h>

SSliderCtrl::SSliderCtrl()
{
    SetTypeId(STYPE_SLIDER);
}

SSliderCtrl::~SSliderCtrl() = default;

bool SSliderCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM param)
{
    return SNativeCtrl::Create(this, TRACKBAR_CLASSA, "", style, 0, exStyle, rect, parent, id, param);
}

void SSliderCtrl::SetRange(int minimum, int maximum, bool redraw)
{
    SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
    SendMessage(TBM_SETRANGEMAX, FALSE, maximum);
    if (redraw)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SSliderCtrl::SetPos(int position, bool redraw)
{
    SliderSetPos(redraw, position);
}

int SSliderCtrl::GetPos() const
{
    return static_cast<int>(SendMessage(TBM_GETPOS));
}

int SSliderCtrl::GetMin() const
{
    return static_cast<int>(SendMessage(TBM_GETRANGEMIN));
}

int SSliderCtrl::GetMax() const
{
    return static_cast<int>(SendMessage(TBM_GETRANGEMAX));
}

HBRUSH SSliderCtrl::OnCtlColorStatic(HDC dc)
{
    return m_color.MakeBrush(GetBackgroundColor());
}

// The native control draws a dotted focus rectangle along its edge; a line in
// the background colour hides it.
void SSliderCtrl::CoverFocusRect() const
{
    COLORREF color = m_backgroundColor;
    if (color == COLOR_NONE || color == COLOR_TRANSPARENT)
        color = GetSysColor(COLOR_3DFACE);
    SGdiObjectGuard<HPEN> pen(CreatePen(PS_SOLID, 1, SControlColor::Resolve(color)));
    SWindowDCGuard dc(m_handle);
    if (!pen.Get() || !dc.Get())
        return;
    RECT r = {};
    GetClientRect(&r);
    SSelectGuard select(dc.Get(), pen.Get());
    MoveToEx(dc.Get(), r.left, r.top, nullptr);
    LineTo(dc.Get(), r.right - 1, r.top);
    LineTo(dc.Get(), r.right - 1, r.bottom - 1);
    LineTo(dc.Get(), r.left, r.bottom - 1);
    LineTo(dc.Get(), r.left, r.top);
}

LRESULT SSliderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && HasFocus())
    {
        const LRESULT result = SWnd::WindowProc(message, wParam, lParam);
        CoverFocusRect();
        return result;
    }
    return SNativeCtrl::RelayAndHandle(this, SWM_SLIDER_MOUSE, message, wParam, lParam);
}
