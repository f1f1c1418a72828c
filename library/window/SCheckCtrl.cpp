#include "SCheckCtrl.h"
#include "SNativeCtrl.h"

SCheckCtrl::SCheckCtrl()
{
    SetTypeId(STYPE_CHECK);
}

SCheckCtrl::~SCheckCtrl() = default;

bool SCheckCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect,
                        HWND parent, UINT_PTR id, LPARAM param)
{
    return SNativeCtrl::Create(this, "BUTTON", caption, style, BS_CHECKBOX, exStyle, rect, parent, id,
                               param);
}

LRESULT SCheckCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SNativeCtrl::RelayAndHandle(this, SWM_CHECK_MOUSE, message, wParam, lParam);
}

HBRUSH SCheckCtrl::OnCtlColorStatic(HDC dc)
{
    return m_color.MakeBrush(GetBackgroundColor());
}
