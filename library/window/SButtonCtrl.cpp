#include "SButtonCtrl.h"
#include "SNativeCtrl.h"

SButtonCtrl::SButtonCtrl()
{
    SetTypeId(STYPE_BUTTON);
}

SButtonCtrl::~SButtonCtrl() = default;

bool SButtonCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect,
                         HWND parent, UINT_PTR id, LPARAM param)
{
    return SNativeCtrl::Create(this, "BUTTON", caption, style, 0, exStyle, rect, parent, id, param);
}

LRESULT SButtonCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SNativeCtrl::RelayAndHandle(this, SWM_BUTTON_MOUSE, message, wParam, lParam);
}

HBRUSH SButtonCtrl::OnCtlColorBtn(HDC dc)
{
    return m_color.MakeBrush(GetBackgroundColor());
}
