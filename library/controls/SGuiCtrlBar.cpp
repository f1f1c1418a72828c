// A docking bar's window: its frame (grip, close box, edges), the hit test of
// that frame, the edge drag that resizes the bar, and the close box.
#include "SGuiCtrl.h"
#include <gdiplus.h>
#include <windowsx.h>
#include "SGuards.h"
#include "SKeyboard.h"
#include "SLibrary.h"

namespace
{
const int CURSOR_SIZE_NS = 9;
const int CURSOR_SIZE_WE = 11;

RECT ScreenToWindowRect(HWND window, int& x, int& y)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    x -= rect.left;
    y -= rect.top;
    return rect;
}
} // namespace

RECT SGuiCtrl::GetBarClient(int flags, int width, int height)
{
    const int g = (flags & BAR_THIN) ? 4 : 8;
    RECT client = {BORDER, BORDER, width - BORDER, height - BORDER};
    if (flags & BAR_VERTICAL)
        client.top = g + 4;
    else
        client.left = g + 4;
    return client;
}

int SGuiCtrl::HitTestBar(const _SBar* bar, int x, int y, int width, int height) const
{
    const int index = IndexOf(bar);
    return index < 0 ? HIT_NONE : HitTestBar(GetShapes(), index, x, y, width, height);
}

int SGuiCtrl::HitTestBar(const Shapes& bars, int index, int x, int y, int width, int height)
{
    const int flags = bars[index].flags;
    const RECT c = GetBarClient(flags, width, height);
    const int g = (flags & BAR_THIN) ? 4 : 8;
    const bool noClose = (flags & (BAR_NOCLOSE | BAR_THIN)) != 0;
    const bool vertical = (flags & BAR_VERTICAL) != 0, farSide = (flags & BAR_FAR) != 0;
    const bool first = NeighbourOnSide(bars, index, -1) < 0;
    if (y <= c.top)
    {
        if (!vertical)
            return farSide && !(flags & BAR_FIXEDHEIGHT) && first ? HIT_TOP : HIT_NONE;
        if (y <= c.top - g - 2)
            return HIT_NONE;
        return noClose || y > c.top - 2 || x < c.right - g ? HIT_GRIP : HIT_CLOSE;
    }
    if (x <= c.left)
    {
        if (vertical)
            return farSide && !(flags & BAR_FIXEDWIDTH) && first ? HIT_LEFT : HIT_NONE;
        if (x <= c.left - g - 2)
            return HIT_NONE;
        return noClose || x > c.left - 2 || y >= g + 2 ? HIT_GRIP : HIT_CLOSE;
    }
    const int next = NeighbourOnSide(bars, index, 1);
    const bool nextStartsBand = next >= 0 && !(bars[next].flags & BAR_SHARED);
    if (y >= c.bottom)
    {
        if (flags & BAR_FIXEDHEIGHT)
            return HIT_NONE;
        if (vertical)
            return nextStartsBand ? HIT_BOTTOM : HIT_NONE;
        return farSide ? HIT_NONE : HIT_BOTTOM;
    }
    if (x >= c.right)
    {
        if (flags & BAR_FIXEDWIDTH)
            return HIT_NONE;
        if (!vertical)
            return nextStartsBand ? HIT_RIGHT : HIT_NONE;
        return farSide ? HIT_NONE : HIT_RIGHT;
    }
    return HIT_NONE;
}

int SGuiCtrl::DragSize(int code, const RECT& window, POINT press, POINT pointer)
{
    switch (code)
    {
    case HIT_TOP: return window.bottom - pointer.y + (press.y - window.top);
    case HIT_BOTTOM: return pointer.y - window.top + (window.bottom - press.y);
    case HIT_LEFT: return window.right - pointer.x + (press.x - window.left);
    case HIT_RIGHT: return pointer.x - window.left + (window.right - press.x);
    default: return 0;
    }
}

SGuiCtrl::_SWndBar::~_SWndBar()
{
    DestroyWindow();
}

void SGuiCtrl::_SWndBar::CalcClient(RECT* window) const
{
    const RECT client = GetBarClient(m_bar->flags, window->right - window->left, window->bottom - window->top);
    const RECT whole = *window;
    window->left = whole.left + client.left;
    window->top = whole.top + client.top;
    window->right = whole.left + client.right;
    window->bottom = whole.top + client.bottom;
    if (window->right < window->left)
        window->right = window->left;
    if (window->bottom < window->top)
        window->bottom = window->top;
}

int SGuiCtrl::_SWndBar::HitTestScreen(int screenX, int screenY) const
{
    const RECT window = ScreenToWindowRect(m_handle, screenX, screenY);
    return m_owner->HitTestBar(m_bar, screenX, screenY, window.right - window.left, window.bottom - window.top);
}

void SGuiCtrl::_SWndBar::ShowCursorFor(int code) const
{
    int cursor = 0;
    if (code == HIT_TOP || code == HIT_BOTTOM)
        cursor = CURSOR_SIZE_NS;
    else if (code == HIT_LEFT || code == HIT_RIGHT)
        cursor = CURSOR_SIZE_WE;
    ::SetCursor(GetLibraryCursor(cursor));
}

void SGuiCtrl::_SWndBar::OnNcZoneEnter(const RECT*, int x, int y, int)
{
    ShowCursorFor(m_owner->HitTestBar(m_bar, x, y, GetWindowWidth(), GetWindowHeight()));
}

void SGuiCtrl::_SWndBar::OnNcZoneMove(const RECT* zone, int x, int y, int index)
{
    OnNcZoneEnter(zone, x, y, index);
}

void SGuiCtrl::_SWndBar::OnNcZoneLeave(const RECT*, int, int, int)
{
    ShowCursorFor(HIT_NONE);
}

void SGuiCtrl::_SWndBar::PaintFrame(HDC dc)
{
    const int w = GetWindowWidth(), h = GetWindowHeight();
    const RECT client = GetBarClient(m_bar->flags, w, h);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    {
        const COLORREF face = GetSysColor(COLOR_3DFACE);
        Gdiplus::Graphics graphics(dc);
        graphics.Clear(Gdiplus::Color(255, GetRValue(face), GetGValue(face), GetBValue(face)));
    }
    RECT edge = {0, 0, w, h};
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    const int g = m_bar->GetGrip();
    const bool vertical = m_bar->IsVertical();
    const RECT box = vertical ? RECT{w - 2 - g, 2, w - 2, g + 2} : RECT{2, 2, g + 2, g + 2};
    if (m_bar->HasCloseBox())
    {
        SGdiObjectGuard<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        SSelectGuard select(dc, pen.Get());
        MoveToEx(dc, box.left + 1, box.top + 1, nullptr);
        LineTo(dc, box.right - 1, box.bottom - 1);
        MoveToEx(dc, box.right - 2, box.top + 1, nullptr);
        LineTo(dc, box.left, box.bottom - 1);
    }
    const int passes = (m_bar->flags & BAR_THIN) ? 1 : 2;
    for (int i = 0; i < passes; i++)
    {
        RECT grip = vertical ? RECT{2, 2 + 4 * i, m_bar->HasCloseBox() ? box.left - 2 : w - 2, 6 + 4 * i}
                             : RECT{2 + 4 * i, m_bar->HasCloseBox() ? box.bottom + 2 : 2, 6 + 4 * i, h - 2};
        DrawEdge(dc, &grip, EDGE_ETCHED, vertical ? (BF_TOP | BF_BOTTOM) : (BF_LEFT | BF_RIGHT));
    }
    RestoreDC(dc, saved);
}

void SGuiCtrl::_SWndBar::PaintFrameOnWindow()
{
    HDC dc = ::GetWindowDC(m_handle);
    if (!dc)
        return;
    PaintFrame(dc);
    ::ReleaseDC(m_handle, dc);
}

// Runs while the left button is held: the dragged edge follows the pointer.
void SGuiCtrl::_SWndBar::DragEdge(int code, POINT press)
{
    RECT window = {};
    GetWindowRect(&window);
    SKeyboard keyboard;
    while (m_handle && keyboard.IsLeftButtonDown())
    {
        POINT pointer = {};
        GetCursorPos(&pointer);
        m_owner->ApplyDragSize(m_bar, code, DragSize(code, window, press, pointer));
        Sleep(10);
    }
}

void SGuiCtrl::_SWndBar::OnFrameClick(LPARAM screenPoint)
{
    if (HitTestScreen(GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)) == HIT_CLOSE)
        m_owner->CloseBar(m_bar);
}

LRESULT SGuiCtrl::_SWndBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_owner && !m_owner->OnChildMessage(m_bar, message, wParam, lParam, &result))
        return result;
    return HandleMessage(message, wParam, lParam);
}

LRESULT SGuiCtrl::_SWndBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        SetBackgroundColor(GetSysColor(COLOR_WINDOW));
        EnableNcZones(true);
        break;
    case WM_NCCALCSIZE:
        CalcClient(reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_NCHITTEST:
    {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(&point);
        RECT client = {};
        GetClientRect(&client);
        return PtInRect(&client, point) ? HTCLIENT : HTBORDER;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTBORDER)
            break;
        {
            POINT cursor = {};
            GetCursorPos(&cursor);
            ShowCursorFor(HitTestScreen(cursor.x, cursor.y));
        }
        return TRUE;
    case WM_NCPAINT:
        PaintFrameOnWindow();
        return 0;
    case WM_PRINT:
        if (lParam & PRF_NONCLIENT)
            PaintFrame(reinterpret_cast<HDC>(wParam));
        return SWnd::WindowProc(message, wParam, lParam & ~PRF_NONCLIENT);
    case WM_NCLBUTTONDOWN:
    {
        const POINT press = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int code = HitTestScreen(press.x, press.y);
        if (code >= HIT_TOP)
            DragEdge(code, press);
        return 0;
    }
    case SWM_NCLCLICK:
        OnFrameClick(lParam);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
