#include "SStaticCtrl.h"
#include "SNativeCtrl.h"

SStaticCtrl::SStaticCtrl() : m_edge(0), m_borders(0)
{
    SetTypeId(STYPE_STATIC);
}

SStaticCtrl::~SStaticCtrl() = default;

bool SStaticCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM param)
{
    return SNativeCtrl::Create(this, "STATIC", "", style, SS_OWNERDRAW, exStyle, rect, parent, id, param);
}

void SStaticCtrl::SetEdge(int type)
{
    switch (type)
    {
    case BDR_RAISEDOUTER:
    case BDR_SUNKENOUTER:
    case BDR_RAISEDINNER:
    case EDGE_RAISED:
    case EDGE_ETCHED:
    case BDR_SUNKENINNER:
    case EDGE_BUMP:
    case EDGE_SUNKEN:
        m_edge = type;
        break;
    default:
        m_edge = 0;
        break;
    }
}

void SStaticCtrl::DrawFrame(HDC dc) const
{
    RECT client = {};
    GetClientRect(&client);
    DrawEdge(dc, &client, static_cast<UINT>(m_edge), static_cast<UINT>(m_borders));
}

LRESULT SStaticCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        SetOwnBackground(true);
        SetBackgroundColor(GetSysColor(COLOR_3DFACE));
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            DrawFrame(dc);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
