#include "SScrollCtrl.h"
#include "SNativeCtrl.h"

SScrollCtrl::SScrollCtrl()
{
    SetTypeId(STYPE_SCROLL);
}

SScrollCtrl::~SScrollCtrl() = default;

bool SScrollCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM param)
{
    return SNativeCtrl::Create(this, "SCROLLBAR", "", style, 0, exStyle, rect, parent, id, param);
}

void SScrollCtrl::SetRange(int minimum, int maximum, bool redraw)
{
    ScrollBarSetRange(minimum, maximum, redraw);
}

int SScrollCtrl::SetPos(int position, bool redraw)
{
    return ScrollBarSetPos(position, redraw);
}

int SScrollCtrl::GetPos() const
{
    return ScrollBarGetPos();
}

int SScrollCtrl::GetMin() const
{
    return ScrollBarGetMin();
}

int SScrollCtrl::GetMax() const
{
    return ScrollBarGetMax();
}

HBRUSH SScrollCtrl::OnCtlColorScrollBar(HDC dc)
{
    const COLORREF background = GetBackgroundColor();
    SControlColor::PrepareContext(dc, background);
    return m_color.MakeBrush(background);
}

LRESULT SScrollCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SNativeCtrl::RelayAndHandle(this, SWM_SCROLL_MOUSE, message, wParam, lParam);
}
