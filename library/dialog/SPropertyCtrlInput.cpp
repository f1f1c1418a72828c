// SPropertyCtrl: its window procedure, the mouse (column border, rows, buttons,
// group toggles), the keys and the scrolling notices.
#include "SPropertyCtrl.h"
#include <windowsx.h>
#include "SGuards.h"
#include "SLibrary.h"
#include "SMouseNotify.h"

namespace
{
const int CURSOR_SIZE_WE = 11;
const int WHEEL_LINES = 2;
} // namespace

void SPropertyCtrl::OnCreated()
{
    m_guiFont = GetDefaultGuiFont();
    SWindowDCGuard dc(m_handle);
    SSelectGuard select(dc.Get(), m_guiFont);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc.Get(), &metrics);
    m_rowHeight = metrics.tmHeight + 2 < MINIMUM_ROW_HEIGHT ? MINIMUM_ROW_HEIGHT : metrics.tmHeight + 2;
    LOGFONTA font = {};
    GetObjectA(m_guiFont, sizeof(font), &font);
    m_font.reset(new Gdiplus::Font(dc.Get(), &font));
    font.lfWeight = FW_BOLD;
    m_boldFont.reset(new Gdiplus::Font(dc.Get(), &font));
    m_nameWidth = 100;
    SetBackgroundColor(COLOR_NONE);
    SetScrollSteps(true, 1, 4, 1);
    m_currentRow = m_currentGroup = m_currentItem = -1;
    UpdateScrollRange();
}

bool SPropertyCtrl::IsOnBorder(int x) const
{
    return GetRowCount() > 0 && x > m_nameWidth - BORDER_GRIP && x < m_nameWidth + BORDER_GRIP;
}

void SPropertyCtrl::OnLeftDown(int x, int y)
{
    SetFocus();
    if (IsOnBorder(x))
    {
        m_borderDrag = true;
        m_dragStartX = x;
        m_dragStartWidth = m_nameWidth;
        SWnd::SetCapture();
        SetCursor(GetLibraryCursor(CURSOR_SIZE_WE));
        return;
    }
    int group = -1, item = -1, part = 0;
    const int row = HitTest(x, y, &group, &item, &part);
    _SItem* target = GetItem(group, item);
    if (target)
    {
        if (row != m_currentRow)
        {
            SetCurrentRow(row, true);
            return;
        }
        int images[3] = {};
        const int buttons = part == 1 ? GetButtonImages(target->kind, images) : 0;
        const POINT point = {x, y};
        for (int n = 0; n < buttons; n++)
        {
            RECT button = {};
            if (GetButtonRect(row, n, &button) && PtInRect(&button, point))
            {
                PressButton(row, target, n);
                return;
            }
        }
        return;
    }
    if (group >= 0 && x >= GetClientWidth() - TOGGLE_WIDTH)
        ToggleGroup(group);
    else
        SetCurrentRow(-1, true);
}

void SPropertyCtrl::OnLeftDoubleClick(int x, int y)
{
    int group = -1, item = -1, part = 0;
    const int row = HitTest(x, y, &group, &item, &part);
    _SItem* target = GetItem(group, item);
    if (!target || part != 1)
        return;
    if (target->kind == KIND_CHOICE && target->GetCurrentChoice() >= 0)
        StepChoice(target);
    else
        OpenEditor(row, group, item, false);
}

// The border follows the mouse for as long as the left button is held.
void SPropertyCtrl::OnMouseMove(int x, WPARAM keys)
{
    if (m_borderDrag && (keys & MK_LBUTTON))
    {
        int width = m_dragStartWidth + x - m_dragStartX;
        if (width < MINIMUM_NAME_WIDTH)
            width = MINIMUM_NAME_WIDTH;
        if (width != m_nameWidth)
            SetNameWidth(width);
        return;
    }
    EndBorderDrag();
    SetCursor(IsOnBorder(x) ? GetLibraryCursor(CURSOR_SIZE_WE) : nullptr);
}

void SPropertyCtrl::EndBorderDrag()
{
    if (!m_borderDrag)
        return;
    m_borderDrag = false;
    if (GetCapture() == m_handle)
        ReleaseCapture();
}

void SPropertyCtrl::MoveToItemRow(int step)
{
    if (m_currentRow < 0)
        return;
    int group = -1, item = -1;
    for (int row = m_currentRow + step; GetRowPlace(row, &group, &item); row += step)
    {
        if (item < 0)
            continue;
        SetCurrentRow(row, false);
        const int first = GetVScrollPos(), visible = GetVisibleRowCount();
        if (row < first)
            SetVScrollPos(row, true);
        else if (row >= first + visible)
            SetVScrollPos(row - visible + 1, true);
        Redraw();
        return;
    }
}

void SPropertyCtrl::OnKeyDown(WPARAM key)
{
    if (key == VK_UP || key == VK_DOWN)
    {
        MoveToItemRow(key == VK_UP ? -1 : 1);
        return;
    }
    _SItem* item = GetItem(GetCurrentGroup(), GetCurrentItem());
    if (key != VK_RETURN || !item)
        return;
    if (item->kind == KIND_CHOICE)
        StepChoice(item);
    else
        OpenEditor(m_currentRow, m_currentGroup, m_currentItem, false);
}

void SPropertyCtrl::OnWheel(int delta)
{
    CloseEditors(false);
    const int step = WHEEL_LINES * GetScrollStep(true);
    SetVScrollPos(GetVScrollPos() + (delta > 0 ? -step : step), true);
    Redraw();
    NotifyScrolled();
}

void SPropertyCtrl::NotifyScrolled()
{
    OnScrolled();
    SendMessageToParent(SWM_PROPERTY_SELECT, reinterpret_cast<WPARAM>(this), 0);
}

LRESULT SPropertyCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_SIZE:
        CloseEditors(false);
        UpdateScrollRange();
        Redraw();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case SWM_VSCROLLED:
    case SWM_HSCROLLED:
        CloseEditors(false);
        Redraw();
        NotifyScrolled();
        break;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftDown(x, y);
        break;
    case WM_LBUTTONUP:
        EndBorderDrag();
        break;
    case WM_CAPTURECHANGED:
        m_borderDrag = false;
        break;
    case WM_LBUTTONDBLCLK:
        OnLeftDoubleClick(x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetFocus();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(x, wParam);
        break;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        break;
    default:
        break;
    }
    SMouseNotify::RelayToParent(this, SWM_PROPERTY_MOUSE, message, lParam);
    return SWnd::WindowProc(message, wParam, lParam);
}
