#include "SGroupCtrl.h"
#include "SNativeCtrl.h"

SGroupCtrl::SGroupCtrl() : m_textColor(SControlColor::ColorRefToArgb(GetSysColor(COLOR_BTNTEXT)))
{
    SetTypeId(STYPE_GROUP);
}

SGroupCtrl::~SGroupCtrl() = default;

bool SGroupCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect,
                        HWND parent, UINT_PTR id, LPARAM param)
{
    return SNativeCtrl::Create(this, "BUTTON", caption, style, BS_GROUPBOX, exStyle, rect, parent, id,
                               param);
}

LRESULT SGroupCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SNativeCtrl::RelayAndHandle(this, SWM_GROUP_MOUSE, message, wParam, lParam);
}

HBRUSH SGroupCtrl::OnCtlColorStatic(HDC dc)
{
    const COLORREF background = GetBackgroundColor();
    HBRUSH brush = m_color.MakeBrush(background);
    SControlColor::PrepareContext(dc, background);
    SControlColor::SetTextColor(dc, m_textColor);
    return brush;
}
