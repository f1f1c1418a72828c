#include "PProgressCtrl.h"
#include <windowsx.h>
#include "PWndApp.h"

namespace
{
void LoadPicture(SImage& picture, int id)
{
    picture.LoadResource(MAKEINTRESOURCEA(id), "BINARY");
    picture.SetDrawMode(SImage::DRAW_TILE);
}

void DrawSpan(Gdiplus::Graphics& graphics, const SImage& picture, int from, int to, int height)
{
    if (to <= from || !picture.IsLoaded())
        return;
    const RECT rect = {from, 0, to, height};
    picture.DrawToRect(&graphics, rect);
}
}

LRESULT PProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        // The bar paints itself on the library's buffered erase, never natively.
        SetOwnBackground(true);
        LoadPicture(m_background, 232);
        LoadPicture(m_played, 233);
        LoadPicture(m_hovered, 234);
        m_hover = -1;
        break;
    case WM_MOUSEMOVE:
        SetHover(SecondsAt(lParam));
        return 0;
    case SWM_MOUSELEAVE:
        SetHover(-1);
        break;
    case WM_LBUTTONDOWN:
        if (GetMax() != 0 && m_owner)
        {
            m_owner->SeekTo(SecondsAt(lParam));
            m_owner->UpdatePlayerViews();
        }
        return 0;
    case WM_ERASEBKGND:
        m_erased = true;
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            PaintBar(dc);
        break;
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            PaintBar(dc);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    default:
        break;
    }
    return SProgressCtrl::WindowProc(message, wParam, lParam);
}

int PProgressCtrl::SecondsAt(LPARAM point) const
{
    const int width = GetClientWidth();
    if (width <= 0)
        return 0;
    return static_cast<int>(static_cast<double>(GET_X_LPARAM(point)) / width * GetMax());
}

void PProgressCtrl::SetHover(int seconds)
{
    m_hover = seconds;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (m_owner)
        m_owner->UpdatePlayerViews();
}

// A change of the position invalidates without an erase: the paint then runs
// the buffered erase itself, so the bar is drawn once either way.
void PProgressCtrl::OnPaint()
{
    PAINTSTRUCT paint = {};
    m_erased = false;
    HDC dc = BeginPaint(m_handle, &paint);
    if (dc && !m_erased)
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EndPaint(m_handle, &paint);
}

// Background first, then the played part, then the part up to the mouse.
void PProgressCtrl::PaintBar(HDC dc) const
{
    const SIZE size = GetClientSize();
    const int maximum = GetMax();
    Gdiplus::Graphics graphics(dc);
    if (maximum == 0)
    {
        DrawSpan(graphics, m_background, 0, size.cx, size.cy);
        return;
    }
    const int played = static_cast<int>(static_cast<double>(GetPos()) / maximum * size.cx);
    if (m_hover < 0)
    {
        DrawSpan(graphics, m_background, played, size.cx, size.cy);
        DrawSpan(graphics, m_played, 0, played, size.cy);
        return;
    }
    const int hover = static_cast<int>(static_cast<double>(m_hover) / maximum * size.cx);
    if (hover > played)
    {
        DrawSpan(graphics, m_background, hover, size.cx, size.cy);
        DrawSpan(graphics, m_played, 0, played, size.cy);
        DrawSpan(graphics, m_hovered, played, hover, size.cy);
        return;
    }
    DrawSpan(graphics, m_background, played, size.cx, size.cy);
    DrawSpan(graphics, m_played, hover, played, size.cy);
    DrawSpan(graphics, m_hovered, 0, hover, size.cy);
}
