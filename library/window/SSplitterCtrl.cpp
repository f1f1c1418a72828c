#include "SSplitterCtrl.h"
#include "SGuards.h"
#include "SLibrary.h"
#include <algorithm>
#include <windowsx.h>

namespace
{
const int CURSOR_SIZE_NS = 9;
const int CURSOR_SIZE_WE = 11;

// 0xFE000000 + n names the system colour n.
COLORREF ResolveColor(COLORREF color)
{
    if ((color & 0xFF000000) == 0xFE000000)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

int SumBefore(const SArray<int>& sizes, int index, int bar)
{
    int total = 0;
    for (int i = 0; i < index && i < sizes.GetCount(); i++)
        total += sizes.GetAt(i) + bar;
    return total;
}

bool IsMouseRelayed(UINT message)
{
    return SMouseNotify::CodeFromMessage(message) != 0;
}
} // namespace

LRESULT SSplitterCtrl::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_owner && !m_owner->FilterPaneMessage(this, message, wParam, lParam, &result))
        return result;
    return SWnd::WindowProc(message, wParam, lParam);
}

SSplitterCtrl::SSplitterCtrl()
    : m_paneColor(GetSysColor(COLOR_WINDOW)), m_barWidth(4), m_barHeight(4), m_columns(0), m_rows(0)
{
    SetTypeId(STYPE_SPLITTER);
}

SSplitterCtrl::~SSplitterCtrl()
{
    FreeGrid();
}

bool SSplitterCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                           LPARAM param)
{
    return CreateChild("", style, exStyle, rect, parent, id, param);
}

bool SSplitterCtrl::FilterPaneMessage(_SWnd* pane, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT* result)
{
    return true;
}

void SSplitterCtrl::FreeGrid()
{
    m_panes.reset();
    m_columnWidths.RemoveAll();
    m_rowHeights.RemoveAll();
    m_columns = 0;
    m_rows = 0;
}

bool SSplitterCtrl::SetGrid(int columns, int rows)
{
    if (columns < 1 || rows < 1)
        return false;
    FreeGrid();
    m_columns = columns;
    m_rows = rows;
    m_panes.reset(new _SWnd[columns * rows]);
    for (int i = 0; i < columns * rows; i++)
    {
        _SWnd& pane = m_panes[i];
        pane.m_owner = this;
        pane.m_entry = i;
        if (pane.CreateChild("", WS_CHILD | WS_VISIBLE, 0, nullptr, m_handle))
            pane.SetBackgroundColor(m_paneColor);
    }
    const int width = GetFreeWidth() / columns;
    const int height = GetFreeHeight() / rows;
    m_columnWidths.SetCount(columns);
    m_rowHeights.SetCount(rows);
    for (int c = 0; c < columns; c++)
        m_columnWidths.SetAt(c, width);
    for (int r = 0; r < rows; r++)
        m_rowHeights.SetAt(r, height);
    Relayout(-1, -1);
    return true;
}

SSplitterCtrl::_SWnd* SSplitterCtrl::GetPane(int column, int row) const
{
    if (!m_panes || column < 0 || column >= m_columns || row < 0 || row >= m_rows)
        return nullptr;
    return &m_panes[column + row * m_columns];
}

void SSplitterCtrl::SetBarColor(COLORREF color)
{
    if (color != COLOR_NONE)
        m_paneColor = color;
}

void SSplitterCtrl::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= m_columnWidths.GetCount())
        return;
    if (width < 0)
        width = 0;
    if (m_columnWidths.GetAt(column) == width)
        return;
    m_columnWidths.SetAt(column, width);
    Relayout(column, -1);
}

int SSplitterCtrl::GetPaneSize(int column) const
{
    return column >= 0 && column < m_columnWidths.GetCount() ? m_columnWidths.GetAt(column) : 0;
}

int SSplitterCtrl::GetRowHeight(int row) const
{
    return row >= 0 && row < m_rowHeights.GetCount() ? m_rowHeights.GetAt(row) : 0;
}

RECT SSplitterCtrl::GetPaneRect(int column, int row) const
{
    RECT rect = {};
    if (!GetPane(column, row))
        return rect;
    rect.left = SumBefore(m_columnWidths, column, m_barWidth);
    rect.top = SumBefore(m_rowHeights, row, m_barHeight);
    rect.right = rect.left + m_columnWidths.GetAt(column);
    rect.bottom = rect.top + m_rowHeights.GetAt(row);
    return rect;
}

RECT SSplitterCtrl::GetPaneClientRect(int column, int row) const
{
    RECT rect = GetPaneRect(column, row);
    OffsetRect(&rect, -rect.left, -rect.top);
    return rect;
}

int SSplitterCtrl::GetFreeWidth() const
{
    const int free = GetClientWidth() - (m_columns - 1) * m_barWidth;
    return free > 0 ? free : 0;
}

int SSplitterCtrl::GetFreeHeight() const
{
    const int free = GetClientHeight() - (m_rows - 1) * m_barHeight;
    return free > 0 ? free : 0;
}

void SSplitterCtrl::FitSizes(SArray<int>& sizes, int fixed, int freeSize)
{
    const int count = sizes.GetCount();
    if (count == 0)
        return;
    int total = 0;
    if (fixed >= 0 && fixed < count)
        total = std::min(std::max(sizes.GetAt(fixed), 0), freeSize);
    for (int i = 0; i < count; i++)
    {
        if (i == fixed)
            continue;
        const int size = std::max(std::min(sizes.GetAt(i), freeSize - total), 0);
        sizes.SetAt(i, size);
        total += size;
    }
    if (total < freeSize)
        sizes.SetAt(count - 1, sizes.GetAt(count - 1) + freeSize - total);
}

void SSplitterCtrl::DragSizes(int a, int b, int d, int& first, int& second)
{
    if (d > b)
    {
        first = a + b;
        second = 0;
    }
    else if (d < -a)
    {
        first = 0;
        second = a + b;
    }
    else
    {
        first = a + d;
        second = b - d;
    }
}

void SSplitterCtrl::Relayout(int fixedColumn, int fixedRow)
{
    const int freeWidth = GetFreeWidth();
    const int freeHeight = GetFreeHeight();
    if (!m_panes || freeWidth == 0 || freeHeight == 0)
        return;
    FitSizes(m_columnWidths, fixedColumn, freeWidth);
    FitSizes(m_rowHeights, fixedRow, freeHeight);
    PlacePanes();
}

void SSplitterCtrl::PlacePanes()
{
    if (!m_panes)
        return;
    if (m_handle)
        SetRedraw(false);
    for (int r = 0; r < m_rows; r++)
    {
        for (int c = 0; c < m_columns; c++)
        {
            const RECT rect = GetPaneRect(c, r);
            GetPane(c, r)->SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left,
                                        rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (!m_handle)
        return;
    SetRedraw(true);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

RECT SSplitterCtrl::GetBarRect(int index, bool vertical) const
{
    RECT rect = {};
    GetClientRect(&rect);
    if (vertical)
    {
        rect.left = SumBefore(m_columnWidths, index, m_barWidth) + m_columnWidths.GetAt(index);
        rect.right = rect.left + m_barWidth;
    }
    else
    {
        rect.top = SumBefore(m_rowHeights, index, m_barHeight) + m_rowHeights.GetAt(index);
        rect.bottom = rect.top + m_barHeight;
    }
    return rect;
}

int SSplitterCtrl::HitTestBar(int x, int y, bool& vertical) const
{
    const POINT point = {x, y};
    for (int pass = 0; pass < 2; pass++)
    {
        vertical = pass == 0;
        const int bars = (vertical ? m_columns : m_rows) - 1;
        for (int i = 0; i < bars; i++)
        {
            const RECT rect = GetBarRect(i, vertical);
            if (PtInRect(&rect, point))
                return i;
        }
    }
    return -1;
}

void SSplitterCtrl::PaintBars(HDC dc) const
{
    if (!dc)
        return;
    SGdiObjectGuard<HBRUSH> brush(
        m_backgroundColor == COLOR_NONE || m_backgroundColor == COLOR_TRANSPARENT
            ? nullptr
            : CreateSolidBrush(ResolveColor(m_backgroundColor)));
    for (int pass = 0; pass < 2; pass++)
    {
        const bool vertical = pass == 0;
        const int bars = (vertical ? m_columns : m_rows) - 1;
        for (int i = 0; i < bars; i++)
        {
            RECT rect = GetBarRect(i, vertical);
            if (brush.Get())
                FillRect(dc, &rect, brush.Get());
            DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
        }
    }
}

// Runs while the left button is held, without dispatching messages: the sizes
// of the two neighbours of the bar follow the cursor, their total unchanged.
void SSplitterCtrl::DragBar(int index, bool vertical, POINT press)
{
    SArray<int>& sizes = vertical ? m_columnWidths : m_rowHeights;
    const int a = sizes.GetAt(index);
    const int b = sizes.GetAt(index + 1);
    ::SetCursor(GetLibraryCursor(vertical ? CURSOR_SIZE_WE : CURSOR_SIZE_NS));
    int last = 0;
    while (GetAsyncKeyState(VK_LBUTTON) & 0x8000)
    {
        POINT cursor = {};
        GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        const int d = vertical ? cursor.x - press.x : cursor.y - press.y;
        if (d != last)
        {
            last = d;
            int first = 0, second = 0;
            DragSizes(a, b, d, first, second);
            sizes.SetAt(index, first);
            sizes.SetAt(index + 1, second);
            PlacePanes();
            // Nothing is dispatched here: the panes are painted directly.
            ::RedrawWindow(m_handle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        Sleep(10);
    }
}

LRESULT SSplitterCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsMouseRelayed(message))
        SMouseNotify::RelayToParent(this, SWM_SPLITTER_MOUSE, message, lParam);
    switch (message)
    {
    case SWM_CREATED:
        SetBackgroundColor(GetSysColor(COLOR_BTNFACE));
        break;
    case WM_SIZE:
        Relayout(-1, -1);
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            PaintBars(dc);
        break;
    case WM_MOUSEMOVE:
    {
        bool vertical = false;
        const int bar = HitTestBar(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), vertical);
        SetCursor(bar < 0 ? nullptr : GetLibraryCursor(vertical ? CURSOR_SIZE_WE : CURSOR_SIZE_NS));
        break;
    }
    case WM_LBUTTONDOWN:
    {
        bool vertical = false;
        const POINT press = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int bar = HitTestBar(press.x, press.y, vertical);
        if (bar >= 0)
            DragBar(bar, vertical, press);
        break;
    }
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
