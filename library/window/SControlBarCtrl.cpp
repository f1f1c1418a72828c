#include "SControlBarCtrl.h"
#include "SNativeCtrl.h"
#include <commctrl.h>

SControlBarCtrl::SControlBarCtrl()
{
    SetTypeId(STYPE_CONTROLBAR);
}

SControlBarCtrl::~SControlBarCtrl()
{
    DeleteAllBands();
}

bool SControlBarCtrl::Create(DWORD style, DWORD exStyle, HWND parent, UINT_PTR id)
{
    return SNativeCtrl::Create(this, REBARCLASSNAMEA, "", style, 0, exStyle, nullptr, parent, id, 0);
}

bool SControlBarCtrl::InsertBand(SWnd* child, int index, int minWidth, int height, int width,
                                 bool lineBreak, const char* title, UINT extraStyle)
{
    if (!m_handle)
        return false;
    // The record size of the band fields filled here, valid in both builds.
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE;
    if (width >= 0)
        band.fMask |= RBBIM_SIZE;
    if (title && *title)
    {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<char*>(title);
        band.cch = static_cast<UINT>(lstrlenA(title));
    }
    band.fStyle = extraStyle | RBBS_CHILDEDGE | (lineBreak ? RBBS_BREAK : 0);
    band.hwndChild = child ? child->GetHandle() : nullptr;
    band.cxMinChild = static_cast<UINT>(minWidth);
    band.cyMinChild = band.cyChild = band.cyMaxChild = static_cast<UINT>(height);
    band.cyIntegral = 1;
    band.cx = width >= 0 ? static_cast<UINT>(width) : 0;
    return SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band)) != 0;
}

bool SControlBarCtrl::DeleteBand(int i)
{
    return RebarDeleteBand(i);
}

int SControlBarCtrl::GetBandCount() const
{
    return m_handle ? static_cast<int>(SendMessage(RB_GETBANDCOUNT)) : 0;
}

bool SControlBarCtrl::ShowBand(int i, bool show)
{
    return SendMessage(RB_SHOWBAND, static_cast<WPARAM>(i), show) != 0;
}

bool SControlBarCtrl::SetBarInfo(UINT mask, _IMAGELIST* imageList)
{
    REBARINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    info.himl = imageList;
    return SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void SControlBarCtrl::DeleteAllBands()
{
    // A band the bar refuses to delete must not hold the loop.
    int count = GetBandCount();
    while (count > 0 && DeleteBand(0))
        count = GetBandCount();
}

LRESULT SControlBarCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        SetStyle(GetStyle() | RBS_VARHEIGHT | RBS_AUTOSIZE);
        SetBarInfo(0, nullptr);
        break;
    case SWM_PARENTSIZED:
        for (int i = 0, n = GetBandCount(); i < n; i++)
            ShowBand(i, true);
        break;
    case WM_DESTROY:
        DeleteAllBands();
        break;
    default:
        if (message == SWM_TOOLBAR_COMMAND)
            return SendMessageToParent(message, wParam, lParam);
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
