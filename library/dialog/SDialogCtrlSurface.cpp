#include "SDialogCtrl.h"
#include "SDrawing.h"
#include "SLibrary.h"
#include <cstdlib>

namespace
{
// Library cursor numbers of the eight grab handles, by handle.
const int HANDLE_CURSORS[8] = {10, 9, 8, 11, 11, 8, 9, 10};
const int RULER_STEP = 5;
} // namespace

void SDialogCtrl::ComputeLayout()
{
    m_designArea = m_clientRect;
    SetRectEmpty(&m_topRuler);
    SetRectEmpty(&m_leftRuler);
    if (!m_rulersShown)
        return;
    const RECT& c = m_clientRect;
    m_designArea.left += RULER_SIZE;
    m_designArea.top += RULER_SIZE;
    SetRect(&m_topRuler, c.left + RULER_SIZE, c.top, c.right, c.top + RULER_SIZE);
    SetRect(&m_leftRuler, c.left, c.top + RULER_SIZE, c.left + RULER_SIZE, c.bottom);
}

POINT SDialogCtrl::GetOrigin() const
{
    const int h = m_handle ? GetHScrollPos() : 0;
    const int v = m_handle ? GetVScrollPos() : 0;
    POINT origin = {m_designArea.left - h, m_designArea.top - v};
    return origin;
}

POINT SDialogCtrl::ClientToDesign(POINT point) const
{
    const POINT origin = GetOrigin();
    POINT result = {point.x - origin.x, point.y - origin.y};
    return result;
}

RECT SDialogCtrl::ClientToDesign(RECT rect) const
{
    const POINT origin = GetOrigin();
    OffsetRect(&rect, -origin.x, -origin.y);
    return rect;
}

RECT SDialogCtrl::DesignToClient(RECT rect) const
{
    const POINT origin = GetOrigin();
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

void SDialogCtrl::SetScrollRanges()
{
    if (!m_handle)
        return;
    SetScrollRange(false, 0, 2000, m_clientRect.right - m_clientRect.left, true);
    SetScrollRange(true, 0, 2000, m_clientRect.bottom - m_clientRect.top, true);
}

int SDialogCtrl::GetGridStepX(bool invert) const
{
    return m_snap != invert ? m_gridX : 1;
}

int SDialogCtrl::GetGridStepY(bool invert) const
{
    return m_snap != invert ? m_gridY : 1;
}

void SDialogCtrl::SetGrid(int x, int y)
{
    m_gridX = x < 1 ? 1 : x;
    m_gridY = y < 1 ? 1 : y;
}

void SDialogCtrl::SetColor(int which, COLORREF color)
{
    if (color != DIALOG_DEFAULT_COLOR)
        m_colors[which] = color;
    m_brushes[which].Reset(CreateSolidBrush(m_colors[which]));
}

void SDialogCtrl::SetWorkspaceColors(COLORREF workspace, COLORREF rulerBackground)
{
    SetColor(SURFACE_WORKSPACE, workspace);
    SetColor(SURFACE_RULERBACK, rulerBackground);
}

void SDialogCtrl::SetRulerTextColor(COLORREF color)
{
    SetColor(SURFACE_RULERTEXT, color);
}

void SDialogCtrl::SetSelectionColors(COLORREF focused, COLORREF unfocused)
{
    SetColor(SURFACE_FOCUSED, focused);
    SetColor(SURFACE_UNFOCUSED, unfocused);
}

void SDialogCtrl::SetDefaultColors()
{
    SetWorkspaceColors(GetSysColor(COLOR_APPWORKSPACE), GetSysColor(COLOR_BTNFACE));
    SetRulerTextColor(GetSysColor(COLOR_BTNTEXT));
    SetSelectionColors(GetSysColor(COLOR_HIGHLIGHT), ColorToGray(GetSysColor(COLOR_HIGHLIGHT)));
}

COLORREF SDialogCtrl::GetSelectionColor(bool focused) const
{
    return m_colors[focused ? SURFACE_FOCUSED : SURFACE_UNFOCUSED];
}

void SDialogCtrl::SetElementFont(const char* face, int height)
{
    m_elementFont.Reset(face && *face ? CreateFontWithStyle(face, height, 0) : nullptr);
}

HFONT SDialogCtrl::GetElementFont() const
{
    return m_elementFont.Get() ? m_elementFont.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT SDialogCtrl::GetHandleRect(const _SCtrl* element, int i) const
{
    RECT handle = {0, 0, 0, 0};
    if (!element || i < 0 || i > 7)
        return handle;
    const RECT r = element->GetRect();
    const int middleX = r.left + abs(r.right - r.left) / 2 - HANDLE_SIZE / 2;
    const int middleY = r.top + abs(r.bottom - r.top) / 2 - HANDLE_SIZE / 2;
    // Left edges of the columns and top edges of the rows the handles sit in.
    const int lefts[8] = {r.left - HANDLE_SIZE, middleX, r.right, r.left - HANDLE_SIZE, r.right,
                          r.left - HANDLE_SIZE, middleX, r.right};
    const int tops[8] = {r.top - HANDLE_SIZE, r.top - HANDLE_SIZE, r.top - HANDLE_SIZE, middleY,
                         middleY, r.bottom, r.bottom, r.bottom};
    SetRect(&handle, lefts[i], tops[i], lefts[i] + HANDLE_SIZE, tops[i] + HANDLE_SIZE);
    return handle;
}

void SDialogCtrl::DrawRulers(HDC dc)
{
    if (!dc || !m_rulersShown)
        return;
    SSelectGuard font(dc, GetSmallGuiFont());
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF textColor = SetTextColor(dc, m_colors[SURFACE_RULERTEXT]);
    const RECT corner = {m_leftRuler.left, m_topRuler.top, m_leftRuler.right, m_topRuler.bottom};
    FillRect(dc, &corner, m_brushes[SURFACE_RULERBACK].Get());
    DrawRulerTicks(dc, true);
    DrawRulerTicks(dc, false);
    SetTextColor(dc, textColor);
    SetBkMode(dc, mode);
    // The rulers were painted over the mouse lines.
    m_mouseLineX = -1;
    m_mouseLineY = -1;
}

void SDialogCtrl::DrawRulerTicks(HDC dc, bool top)
{
    const RECT& ruler = top ? m_topRuler : m_leftRuler;
    HBRUSH ticks = m_brushes[SURFACE_RULERTEXT].Get();
    FillRect(dc, &ruler, m_brushes[SURFACE_RULERBACK].Get());
    const int start = top ? ruler.left : ruler.top;
    const int end = top ? ruler.right : ruler.bottom;
    int v = m_handle ? GetScrollPos(!top) : 0;
    for (int p = start; p < end; p += RULER_STEP, v += RULER_STEP)
    {
        const int length = v % 100 == 0 ? 20 : (v % 10 == 0 ? 8 : (v % 5 == 0 ? 4 : 0));
        if (length == 0)
            continue;
        const RECT tick = top ? RECT{p, ruler.bottom - length, p + 1, ruler.bottom}
                              : RECT{ruler.right - length, p, ruler.right, p + 1};
        FillRect(dc, &tick, ticks);
        if (v % 100 != 0)
            continue;
        RECT label = top ? RECT{p + 2, ruler.top, p + 101, ruler.bottom}
                         : RECT{ruler.left, p + 1, ruler.right, p + 101};
        DrawTextA(dc, IntToString(v).GetText(), -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
    }
    const RECT edge = top ? RECT{ruler.left, ruler.bottom - 1, ruler.right, ruler.bottom}
                          : RECT{ruler.right - 1, ruler.top, ruler.right, ruler.bottom};
    FillRect(dc, &edge, ticks);
}

void SDialogCtrl::DrawMouseLines(HDC dc, const POINT* point, HPEN pen)
{
    if (!dc)
        return;
    POINT at = {0, 0};
    if (point)
        at = *point;
    else if (GetCursorPos(&at))
        ScreenToClient(&at);
    SSelectGuard selected(dc, pen);
    const int mode = SetROP2(dc, R2_NOTXORPEN);
    const auto vertical = [&](int x) {
        MoveToEx(dc, x, m_topRuler.top, nullptr);
        LineTo(dc, x, m_topRuler.bottom);
    };
    const auto horizontal = [&](int y) {
        MoveToEx(dc, m_leftRuler.left, y, nullptr);
        LineTo(dc, m_leftRuler.right, y);
    };
    if (m_mouseLineX >= 0)
        vertical(m_mouseLineX);
    if (m_mouseLineY >= 0)
        horizontal(m_mouseLineY);
    m_mouseLineX = at.x >= m_designArea.left && at.x < m_designArea.right ? at.x : -1;
    m_mouseLineY = at.y >= m_designArea.top && at.y < m_designArea.bottom ? at.y : -1;
    if (m_mouseLineX >= 0)
        vertical(m_mouseLineX);
    if (m_mouseLineY >= 0)
        horizontal(m_mouseLineY);
    SetROP2(dc, mode);
}

void SDialogCtrl::OnMouseHover(int x, int y)
{
    if (!m_open)
        return;
    if (m_rulersShown && m_handle)
    {
        ComputeLayout();
        SWindowDCGuard dc(m_handle);
        const POINT point = {x, y};
        DrawMouseLines(dc.Get(), &point);
    }
    _SCtrl* primary = GetSelected(0);
    if (m_tool > 0 || !primary)
        return;
    const POINT point = {x, y};
    for (int i = 0; i < 8; i++)
    {
        const RECT handle = DesignToClient(GetHandleRect(primary, i));
        if (PtInRect(&handle, point))
        {
            SetCursor(GetHandleCursor(i));
            return;
        }
    }
    SetCursor(nullptr);
}

HCURSOR SDialogCtrl::GetHandleCursor(int handle) const
{
    return handle >= 0 && handle < 8 ? GetLibraryCursor(HANDLE_CURSORS[handle]) : nullptr;
}

void SDialogCtrl::OnDoubleClick(int x, int y)
{
    if (!m_open)
        return;
    ComputeLayout();
    const POINT point = {x, y};
    if (PtInRect(&m_designArea, point) && GetSelected(0))
        OnElementDoubleClick(GetSelected(0));
}
