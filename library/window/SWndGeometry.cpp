// Window geometry: sizes, conversions, frames, centring, bringing to front,
// minimise and maximise of hidden windows, track sizes, caret and cursor.
#include <cstdlib>
#include "SWnd.h"

namespace
{
const int CARET_PARKED = -182;
const UINT MOVE_ONLY = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
const UINT SIZE_ONLY = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

bool ConvertCorners(HWND window, RECT* rect, BOOL(WINAPI* convert)(HWND, LPPOINT))
{
    if (!rect)
        return false;
    POINT a = {rect->left, rect->top}, b = {rect->right, rect->bottom};
    if (!convert(window, &a) || !convert(window, &b))
        return false;
    rect->left = a.x;
    rect->top = a.y;
    rect->right = b.x;
    rect->bottom = b.y;
    return true;
}
} // namespace

SIZE SWnd::GetClientSize() const
{
    SIZE size = {0, 0};
    RECT rect = {};
    if (m_handle && ::GetClientRect(m_handle, &rect))
    {
        size.cx = rect.right;
        size.cy = rect.bottom;
    }
    return size;
}

SIZE SWnd::GetWindowSize() const
{
    SIZE size = {0, 0};
    RECT rect = {};
    if (m_handle && ::GetWindowRect(m_handle, &rect))
    {
        size.cx = labs(rect.right - rect.left);
        size.cy = labs(rect.bottom - rect.top);
    }
    return size;
}

bool SWnd::ClientToScreenRect(RECT* rect) const
{
    return m_handle && ConvertCorners(m_handle, rect, ::ClientToScreen);
}

bool SWnd::ScreenToClientRect(RECT* rect) const
{
    return m_handle && ConvertCorners(m_handle, rect, ::ScreenToClient);
}

bool SWnd::GetClientRectInWindow(RECT* rect) const
{
    RECT client = {}, window = {};
    if (!rect || !m_handle || !::GetClientRect(m_handle, &client) || !ClientToScreenRect(&client) ||
        !::GetWindowRect(m_handle, &window))
        return false;
    OffsetRect(&client, -window.left, -window.top);
    *rect = client;
    return true;
}

bool SWnd::GetFrameSizes(int& left, int& top, int& right, int& bottom) const
{
    RECT inner = {};
    if (!GetClientRectInWindow(&inner))
        return false;
    const SIZE size = GetWindowSize();
    left = inner.left > 0 ? inner.left : 0;
    top = inner.top > 0 ? inner.top : 0;
    right = size.cx - inner.right > 0 ? size.cx - inner.right : 0;
    bottom = size.cy - inner.bottom > 0 ? size.cy - inner.bottom : 0;
    return true;
}

bool SWnd::GetFrameSizesForStyle(int& left, int& top, int& right, int& bottom) const
{
    if (!m_handle)
        return false;
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    const bool menu = m_typeId == STYPE_WND && GetMenu() != nullptr;
    RECT adjusted = {0, 0, 1000, 1000};
    if (!AdjustWindowRectEx(&adjusted, style, menu, exStyle))
        return false;
    RECT client = {0, 0, 1000, 1000};
    if (style & WS_HSCROLL)
        client.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_VSCROLL)
    {
        if (exStyle & WS_EX_LEFTSCROLLBAR)
            client.left += GetSystemMetrics(SM_CXVSCROLL);
        else
            client.right -= GetSystemMetrics(SM_CXVSCROLL);
    }
    left = client.left - adjusted.left;
    top = client.top - adjusted.top;
    right = adjusted.right - client.right;
    bottom = adjusted.bottom - client.bottom;
    return true;
}

bool SWnd::SetClientSize(int width, int height) const
{
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!GetFrameSizesForStyle(left, top, right, bottom))
        return false;
    return SetWindowPos(nullptr, 0, 0, width + left + right, height + top + bottom, SIZE_ONLY);
}

// The client area between the control bars at the top and the status bars at the bottom.
bool SWnd::GetClientRectWithoutBars(RECT* rect)
{
    if (!rect || !m_handle || !::GetClientRect(m_handle, rect))
        return false;
    SArray<SWnd*> bars;
    CollectChildren(&bars, nullptr, false, STYPE_CONTROLBAR);
    for (int i = 0; i < bars.GetCount(); i++)
    {
        RECT bar = {};
        if (bars.GetAt(i)->GetWindowRect(&bar) && ScreenToClientRect(&bar) && bar.bottom > rect->top)
            rect->top = bar.bottom;
    }
    SArray<SWnd*> statusBars;
    CollectChildren(&statusBars, nullptr, false, STYPE_STATUSBAR);
    for (int i = 0; i < statusBars.GetCount(); i++)
    {
        RECT bar = {};
        if (statusBars.GetAt(i)->GetWindowRect(&bar) && ScreenToClientRect(&bar) &&
            bar.top < rect->bottom)
            rect->bottom = bar.top;
    }
    return true;
}

bool SWnd::CenterWindow(bool onParent) const
{
    if (!m_handle)
        return false;
    HWND parent = GetParent();
    RECT reference = m_workArea;
    if (onParent && parent)
        ::GetWindowRect(parent, &reference);
    const SIZE size = GetWindowSize();
    POINT point = {(reference.left + reference.right) / 2 - size.cx / 2,
                   (reference.top + reference.bottom) / 2 - size.cy / 2};
    if (parent && !IsPopup())
        ::ScreenToClient(parent, &point);
    return SetWindowPos(nullptr, point.x, point.y, 0, 0, MOVE_ONLY);
}

// Toggling the topmost state twice lifts the window above the others without
// leaving it topmost (or a topmost one not topmost).
void SWnd::BringToFront(bool force) const
{
    if (!m_handle)
        return;
    const bool visible = IsVisible();
    if (!visible && !force)
        return;
    const bool topmost = (GetExStyle() & WS_EX_TOPMOST) != 0;
    SetWindowPos(topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    SetWindowPos(topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::ShowWindow(m_handle, SW_SHOW);
    if (visible)
        ::SetFocus(m_handle);
    else
        ::UpdateWindow(m_handle);
    ::SetForegroundWindow(m_handle);
}

void SWnd::Minimize() const
{
    if (!m_handle)
        return;
    if (IsVisible())
    {
        ::ShowWindow(m_handle, SW_MINIMIZE);
        return;
    }
    ::ShowWindow(m_handle, SW_SHOWMINIMIZED);
    ::ShowWindow(m_handle, SW_HIDE);
}

void SWnd::Maximize() const
{
    if (!m_handle)
        return;
    const bool visible = IsVisible();
    ::ShowWindow(m_handle, SW_SHOWMAXIMIZED);
    if (!visible)
        ::ShowWindow(m_handle, SW_HIDE);
}

void SWnd::SetMinTrackSize(int width, int height)
{
    m_minTrackWidth = width;
    m_minTrackHeight = height;
}

void SWnd::SetMaxTrackSize(int width, int height)
{
    m_maxTrackWidth = width;
    m_maxTrackHeight = height;
}

// --- Caret ------------------------------------------------------------------

// The system caret exists only while the window has the focus; the fields keep
// it between focus changes.
bool SWnd::CreateCaret(int height, int width, int x, int y, bool visible)
{
    if (!m_handle)
        return false;
    DestroyCaret();
    m_caretMade = true;
    m_caretCreated = false;
    m_caretWidth = width;
    m_caretHeight = height;
    m_caretX = x;
    m_caretY = y;
    m_caretVisible = visible;
    if (!HasFocus())
        return true;
    if (!::CreateCaret(m_handle, nullptr, width, height))
    {
        m_caretMade = false;
        return false;
    }
    PlaceCaret();
    ::ShowCaret(m_handle);
    m_caretCreated = true;
    return true;
}

void SWnd::PlaceCaret() const
{
    if (m_caretVisible)
        ::SetCaretPos(m_caretX, m_caretY);
    else
        ::SetCaretPos(CARET_PARKED, CARET_PARKED);
}

bool SWnd::ShowCaret(bool visible)
{
    if (!m_caretMade)
        return false;
    m_caretVisible = visible;
    if (m_caretCreated)
        PlaceCaret();
    return true;
}

bool SWnd::SetCaretPos(int x, int y)
{
    if (!m_caretMade)
        return false;
    m_caretX = x;
    m_caretY = y;
    if (m_caretCreated && m_caretVisible)
        ::SetCaretPos(x, y);
    return true;
}

bool SWnd::DestroyCaret()
{
    if (!m_caretMade)
        return false;
    // The thread has one caret: only the one this window created is destroyed.
    const bool destroyed = !m_caretCreated || ::DestroyCaret();
    m_caretMade = m_caretCreated = m_caretVisible = false;
    m_caretWidth = m_caretHeight = m_caretX = m_caretY = 0;
    return destroyed;
}

void SWnd::SetCursor(HCURSOR cursor)
{
    if (cursor == m_cursor)
        return;
    m_cursor = cursor;
    POINT point = {};
    if (!GetCursorPos(&point))
        return;
    if (!cursor)
    {
        // Moving the pointer onto itself makes the system ask for the cursor again.
        SetCursorPos(point.x, point.y);
        return;
    }
    RECT rect = {};
    if (m_handle && ::GetWindowRect(m_handle, &rect) && PtInRect(&rect, point))
        ::SetCursor(cursor);
}
