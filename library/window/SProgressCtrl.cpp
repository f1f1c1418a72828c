#include "SProgressCtrl.h"
#include "SNativeCtrl.h"
#include <commctrl.h>

SProgressCtrl::SProgressCtrl()
{
    SetTypeId(STYPE_PROGRESS);
}

SProgressCtrl::~SProgressCtrl() = default;

bool SProgressCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                           LPARAM param)
{
    return SNativeCtrl::Create(this, PROGRESS_CLASSA, "", style, 0, exStyle, rect, parent, id, param);
}

void SProgressCtrl::SetRange(int minimum, int maximum)
{
    ProgressSetRange(minimum, maximum);
}

int SProgressCtrl::SetPos(int position)
{
    return ProgressSetPos(position);
}

int SProgressCtrl::GetPos() const
{
    return ProgressGetPos();
}

int SProgressCtrl::GetMin() const
{
    return ProgressGetLimit(true);
}

int SProgressCtrl::GetMax() const
{
    return ProgressGetLimit(false);
}

void SProgressCtrl::SetBackgroundColor(COLORREF color)
{
    SendMessage(PBM_SETBKCOLOR, 0, static_cast<LPARAM>(color));
}

LRESULT SProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SWM_CREATED)
        SetRange(0, 100);
    SMouseNotify::RelayToParent(this, SWM_PROGRESS_MOUSE, message, lParam);
    return SWnd::WindowProc(message, wParam, lParam);
}
