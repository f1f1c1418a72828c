// The editor's window procedure, window text and mouse: clicks, drags with
// auto-scroll, double clicks, the context menu and the wheel.
#include "SCodeEditCtrl.h"
#include <windowsx.h>
#include <cstring>
#include "SLibrary.h"
#include "SMemory.h"
#include "SSocketTransport.h"

namespace
{
const int IBEAM_CURSOR = 5;
const int ARROW_CURSOR = 0;
const int FAST_SCROLL_DISTANCE = 40;
} // namespace

double SCodeEditCtrl::AutoScrollLines(int distance, DWORD elapsed)
{
    if (distance <= 0)
        return 0;
    const double speed = distance <= FAST_SCROLL_DISTANCE ? 20.0 : 60.0;
    return elapsed * speed / 1000.0;
}

double SCodeEditCtrl::AutoScrollColumns(DWORD elapsed)
{
    return elapsed * 100.0 / 1000.0;
}

void SCodeEditCtrl::PointToPosition(int x, int y, int& line, int& column) const
{
    line = column = -1;
    if (!m_open || GetLineCount() == 0)
        return;
    const int row = y < 0 ? -1 - (-y - 1) / m_lineHeight : y / m_lineHeight;
    line = GetFirstVisibleLine() + row;
    if (line < 0)
        line = 0;
    if (line >= GetLineCount())
    {
        line = GetLineCount() - 1;
        column = GetLineLength(line);
        return;
    }
    const SString& text = *LineAt(line);
    const int pixel = x - m_textRect.left + (m_handle ? GetHScrollPos() : 0) * m_charWidth;
    int at = 0;
    for (int i = 0; i < text.GetLength(); i++)
    {
        const int next = text.GetAt(i) == '\t' ? (at / m_tabSize + 1) * m_tabSize : at + 1;
        // Past the middle of the cell (or of the tab's span) the point goes after the character.
        if (2 * pixel < (at + next) * m_charWidth)
        {
            column = i;
            return;
        }
        at = next;
    }
    column = text.GetLength();
}

void SCodeEditCtrl::UpdateCursor(int x, int y)
{
    const bool inText = x >= m_textRect.left && x < m_textRect.right && y >= m_textRect.top && y < m_textRect.bottom;
    SetCursor(GetLibraryCursor(inText ? IBEAM_CURSOR : ARROW_CURSOR));
}

void SCodeEditCtrl::OnLButtonDown(int x, int y)
{
    SetFocus();
    if (!m_open)
        return;
    if (x < m_barRect.right)
    {
        int line = 0, column = 0;
        PointToPosition(m_textRect.left, y, line, column);
        SetSelection(line, 0, line, GetLineLength(line), 0, false);
        DragSelection(true, line, 0);
        return;
    }
    ClickText(x, y);
}

void SCodeEditCtrl::ClickText(int x, int y)
{
    int line = 0, column = 0;
    PointToPosition(x, y, line, column);
    int anchorLine = line, anchorColumn = column;
    if (m_keyboard.IsShiftDown() && m_startLine >= 0)
    {
        anchorLine = m_startLine, anchorColumn = m_startColumn;
        if (HasSelection() && m_caretAtStart)
            anchorLine = m_endLine, anchorColumn = m_endColumn;
        SetSelection(line, column, anchorLine, anchorColumn, -1, false);
    }
    else
        SetSelection(line, column, -1, -1, -1, false);
    DragSelection(false, anchorLine, anchorColumn);
}

// Follows the pointer while the left button stays down, scrolling when it
// leaves the text area.
void SCodeEditCtrl::DragSelection(bool inBar, int anchorLine, int anchorColumn)
{
    DWORD last = timeGetTime();
    double pendingLines = 0, pendingColumns = 0;
    while (m_handle && m_keyboard.IsLeftButtonDown())
    {
        POINT point = {};
        GetCursorPos(&point);
        ScreenToClient(&point);
        const DWORD now = timeGetTime();
        const DWORD elapsed = now - last;
        last = now;
        if (point.y < m_textRect.top)
            pendingLines -= AutoScrollLines(m_textRect.top - point.y, elapsed);
        else if (point.y >= m_textRect.bottom)
            pendingLines += AutoScrollLines(point.y - m_textRect.bottom + 1, elapsed) + (inBar ? 1 : 0);
        if (!inBar && point.x < m_textRect.left)
            pendingColumns -= AutoScrollColumns(elapsed);
        else if (!inBar && point.x >= m_textRect.right)
            pendingColumns += AutoScrollColumns(elapsed);
        if (static_cast<int>(pendingLines) != 0)
        {
            SetVScrollPos(GetFirstVisibleLine() + static_cast<int>(pendingLines), true);
            pendingLines -= static_cast<int>(pendingLines);
        }
        if (static_cast<int>(pendingColumns) != 0)
        {
            SetHScrollPos(GetHScrollPos() + static_cast<int>(pendingColumns), true);
            pendingColumns -= static_cast<int>(pendingColumns);
        }
        int line = 0, column = 0;
        PointToPosition(point.x, point.y, line, column);
        if (inBar && line >= anchorLine)
            SetSelectionRange(line, GetLineLength(line), anchorLine, 0, -1);
        else if (inBar)
            SetSelectionRange(line, 0, anchorLine, GetLineLength(anchorLine), -1);
        else
            SetSelectionRange(line, column, anchorLine, anchorColumn, -1);
        RedrawWindow();
        DiscardInputMessages();
        Sleep(10);
    }
}

void SCodeEditCtrl::OnLButtonDblClk()
{
    if (!m_open || m_startLine < 0)
        return;
    const int line = GetCaretLine();
    int start = -1, end = -1;
    GetWordBounds(*LineAt(line), GetCaretColumn(), start, end);
    SetSelection(line, end, line, start, -1, false);
}

void SCodeEditCtrl::OnRButtonDown(int x, int y)
{
    SetFocus();
    if (m_open && x >= m_textRect.left)
    {
        int line = 0, column = 0, sl, sc, el, ec;
        PointToPosition(x, y, line, column);
        GetSelection(sl, sc, el, ec);
        const bool before = line < sl || (line == sl && column < sc);
        const bool after = line > el || (line == el && column > ec);
        if (!HasSelection() || before || after)
            SetSelection(line, column, -1, -1, -1, false);
    }
    POINT screen = {x, y};
    ClientToScreen(&screen);
    if (CanShowContextMenu(screen.x, screen.y))
        m_menu.Track(screen.x, screen.y, TPM_RIGHTBUTTON);
}

LRESULT SCodeEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message)
    {
    case SWM_CREATED:
        SetKeyCommandMask(0x7FF);
        BuildMenu();
        Reset();
        SetLanguage(true);
        SetScrollSteps(true, 1, 5, 1);
        SetScrollSteps(false, 1, 5, 1);
        UpdateLayout();
        break;
    case SWM_HSCROLLED:
    case SWM_VSCROLLED:
        InvalidateRect(nullptr, true);
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case WM_SIZE:
        UpdateLayout();
        break;
    case WM_DESTROY:
        CloseFindDialog();
        break;
    case WM_SETTEXT:
    {
        const char* text = reinterpret_cast<const char*>(lParam);
        SMemory stream;
        stream.Write(text ? text : "", text ? static_cast<int>(strlen(text)) : 0);
        stream.SeekToStart();
        LoadFromStream(&stream, nullptr);
        return TRUE;
    }
    case WM_GETTEXTLENGTH:
    {
        int length = 0;
        for (int i = 0; m_open && i < GetLineCount(); i++)
            length += GetLineLength(i) + (i > 0 ? 2 : 0);
        return length;
    }
    case WM_GETTEXT:
    {
        char* buffer = reinterpret_cast<char*>(lParam);
        const int size = static_cast<int>(wParam);
        if (!buffer || size < 1)
            return 0;
        const SString text = m_open ? GetAllText() : SString("");
        const int count = text.GetLength() < size - 1 ? text.GetLength() : size - 1;
        memcpy(buffer, text.GetText(), count);
        buffer[count] = 0;
        return count;
    }
    case WM_MOUSEMOVE:
        UpdateCursor(x, y);
        break;
    case WM_NCMOUSEMOVE:
        SetCursor(nullptr);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(x, y);
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk();
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(x, y);
        break;
    case WM_MOUSEWHEEL:
        SetVScrollPos(GetFirstVisibleLine() + (GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -5 : 5), true);
        InvalidateRect(nullptr, true);
        break;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<int>(wParam), m_keyboard.IsShiftDown(), m_keyboard.IsCtrlDown());
        return 0;
    case WM_CHAR:
        OnChar(static_cast<int>(wParam & 0xFF), m_keyboard.IsCtrlDown());
        return 0;
    case SWM_MENUCOMMAND:
        OnMenuCommand(static_cast<int>(lParam));
        break;
    default:
        if (message == GetFindReplaceMessage() && message != 0)
            return OnFindReplaceMessage(reinterpret_cast<FINDREPLACEA*>(lParam));
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
