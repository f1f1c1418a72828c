#include "SDialogCtrl.h"
#include <windowsx.h>

LRESULT SDialogCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        SetKeyCommandMask(0x43F);
        SetBackgroundColor(COLOR_NONE);
        SetScrollSteps(false, 5, 50, 5);
        SetScrollSteps(true, 5, 50, 5);
        Initialize(m_noPreviews);
        break;
    case WM_SIZE:
        SetRect(&m_clientRect, 0, 0, LOWORD(lParam), HIWORD(lParam));
        ComputeLayout();
        SetScrollRanges();
        RedrawAll();
        break;
    case SWM_HSCROLLED:
    case SWM_VSCROLLED:
        SetScrollRanges();
        RedrawAll();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case SWM_BROWSER_DOCUMENTDONE:
        // Selection frames show only while the surface has the focus.
        RedrawAll();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = m_open && m_handle ? GetContentPaintDC(message, wParam, lParam) : nullptr)
        {
            ComputeLayout();
            PaintSurface(dc);
            DrawRulers(dc);
        }
        break;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), m_keyboard.IsShiftDown(), m_keyboard.IsCtrlDown());
        break;
    case WM_MOUSEMOVE:
        OnMouseHover(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case SWM_MOUSEENTER:
    case SWM_MOUSELEAVE:
        OnMouseHover(-1, -1);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_RBUTTONDOWN:
        OnRightButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_MOUSEWHEEL:
        if (GET_WHEEL_DELTA_WPARAM(wParam) < 0)
            ScrollPageForward(true);
        else
            ScrollPageBackward(true);
        RedrawAll();
        break;
    case SWM_MENUCOMMAND:
        OnMenuCommand(static_cast<int>(lParam));
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void SDialogCtrl::OnRightButtonDown(int x, int y)
{
    if (!m_menu.GetHandle())
        m_menu.Create(m_handle);
    if (!m_open)
        return;
    SetFocus();
    ComputeLayout();
    const POINT point = {x, y};
    if (PtInRect(&m_designArea, point))
    {
        _SCtrl* previous = GetSelected(0);
        const int count = GetSelectedCount();
        _SCtrl* hit = HitTest(x, y);
        if (!hit)
            ClearSelection();
        else if (!IsSelected(hit))
        {
            ClearSelection();
            Select(hit);
        }
        else
            MakePrimary(hit);
        RedrawAll();
        if (GetSelected(0) != previous || GetSelectedCount() != count)
            OnSelectionChanged(previous, GetSelected(0));
    }
    ShowContextMenu(x, y);
}
