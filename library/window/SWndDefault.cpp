// The base message handler every window class ends in, the window's own scroll
// bars with their steps, and anchoring of a child to its parent's edges.
#include "SGlobals.h"
#include "SGuards.h"
#include "SItemRecords.h"
#include "SWnd.h"
#include <shellapi.h>

namespace
{
// A thumb message carries 16 bits; the bar's track position holds the whole value.
int ReadThumbPosition(HWND window, int bar, WPARAM wParam)
{
    const int word = HIWORD(wParam);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    if (GetScrollInfo(window, bar, &info) && (info.nTrackPos & 0xFFFF) == word)
        return info.nTrackPos;
    return word;
}

WPARAM PackScrollPositions(int oldPosition, int newPosition)
{
    return static_cast<WPARAM>((static_cast<unsigned>(oldPosition) & 0xFFFF) |
                               ((static_cast<unsigned>(newPosition) & 0xFFFF) << 16));
}
} // namespace

LRESULT SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        return m_previousProc ? CallDefaultProc(message, wParam, lParam) : 0;
    case SWM_MODALSTART:
        return 0;
    case SWM_DIALOGOK:
        EndModal(0);
        return CallDefaultProc(message, wParam, lParam);
    case SWM_DIALOGCANCEL:
        EndModal(-1);
        return CallDefaultProc(message, wParam, lParam);
    case WM_DESTROY:
    {
        ::SetMenu(m_handle, nullptr);
        SetBackgroundImage(nullptr, COLOR_NONE, -1, nullptr, true);
        const LRESULT result = CallDefaultProc(message, wParam, lParam);
        m_handle = nullptr;
        return result;
    }
    case WM_ERASEBKGND:
        if (m_previousProc && !m_ownBackground)
            return CallDefaultProc(message, wParam, lParam);
        return FinishEraseBackground(wParam, lParam);
    case WM_SIZE:
    {
        const LRESULT result = CallDefaultProc(message, wParam, lParam);
        RelaySizeToChildren(wParam, lParam);
        return result;
    }
    case WM_MENUCOMMAND:
        DispatchMenuCommand(wParam, lParam);
        return CallDefaultProc(message, wParam, lParam);
    case WM_DROPFILES:
        // The paths went out with SWM_DROPFILES; nothing else reads the drop.
        DragFinish(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
    {
        LRESULT result = 0;
        if (HandleScroll(message, wParam, lParam, result))
            return result;
        return CallDefaultProc(message, wParam, lParam);
    }
    default:
        return CallDefaultProc(message, wParam, lParam);
    }
}

// The end of the outermost erase pass: the memory context the pre-processor
// made is copied to the window and freed.
LRESULT SWnd::FinishEraseBackground(WPARAM wParam, LPARAM lParam)
{
    if (m_backgroundColor == COLOR_TRANSPARENT)
        return 1;
    // Only a pass the pre-processor opened is closed here.
    if (m_eraseNesting <= 0 || --m_eraseNesting > 0)
        return 1;
    HDC window = reinterpret_cast<HDC>(wParam);
    HDC memory = reinterpret_cast<HDC>(lParam);
    if (!memory)
        return 1;
    if (window)
    {
        const int saved = SaveDC(window);
        SGdiObjectGuard<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
        if (clip.Get() && GetClipRgn(memory, clip.Get()) == 1)
            ExtSelectClipRgn(window, clip.Get(), RGN_AND);
        RECT client = {};
        ::GetClientRect(m_handle, &client);
        BitBlt(window, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        RestoreDC(window, saved);
    }
    HGDIOBJ bitmap = GetCurrentObject(memory, OBJ_BITMAP);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return 1;
}

void SWnd::RelaySizeToChildren(WPARAM wParam, LPARAM lParam)
{
    SArray<SWnd*> children;
    CollectChildren(&children, nullptr, false, -1);
    // By handle: a child's handler may destroy a sibling before its turn.
    SArray<HWND__*> handles;
    for (int i = 0; i < children.GetCount(); i++)
        handles.Add(children.GetAt(i)->m_handle);
    for (int i = 0; i < handles.GetCount(); i++)
        ::SendMessageA(handles.GetAt(i), SWM_PARENTSIZED, wParam, lParam);
}

void SWnd::DispatchMenuCommand(WPARAM wParam, LPARAM lParam)
{
    int position = LOWORD(wParam);
    if (position == 0)
        position = HIWORD(wParam);
    int id = 0;
    void* menu = SItemRecords::MenuCommand(reinterpret_cast<HMENU>(lParam), position, &id);
    if (menu)
        SendMessage(SWM_MENUCOMMAND, reinterpret_cast<WPARAM>(menu), id);
}

// --- Scrolling --------------------------------------------------------------

bool SWnd::HandleScroll(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const bool vertical = message == WM_VSCROLL;
    HWND bar = reinterpret_cast<HWND>(lParam);
    SWnd* control = bar ? FromHandle(bar) : nullptr;
    if (control && control->GetType() == STYPE_SCROLL)
    {
        const int old = static_cast<int>(::SendMessageA(bar, SBM_GETPOS, 0, 0));
        int minimum = 0, maximum = 0;
        ::SendMessageA(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&minimum),
                       reinterpret_cast<LPARAM>(&maximum));
        const int position = ComputeScrollPosition(vertical, wParam, old, minimum, maximum,
                                                   ReadThumbPosition(bar, SB_CTL, wParam));
        if (position != old)
        {
            ::SendMessageA(bar, SBM_SETPOS, position, TRUE);
            SendMessage(SWM_SCROLL_CHANGED, reinterpret_cast<WPARAM>(control), 0);
        }
        result = 0;
        return true;
    }
    if (!m_previousProc && !bar)
    {
        const int which = vertical ? SB_VERT : SB_HORZ;
        const int old = ::GetScrollPos(m_handle, which);
        int minimum = 0, maximum = 0;
        ::GetScrollRange(m_handle, which, &minimum, &maximum);
        const int position = ComputeScrollPosition(vertical, wParam, old, minimum, maximum,
                                                   ReadThumbPosition(m_handle, which, wParam));
        if (position != old)
        {
            SetScrollPos(vertical, position, true);
            SendMessage(vertical ? SWM_VSCROLLED : SWM_HSCROLLED,
                        PackScrollPositions(old, position), 0);
        }
        result = 0;
        return true;
    }
    if (control && control->GetType() == STYPE_SLIDER)
        SendMessage(SWM_SLIDER_CHANGED, reinterpret_cast<WPARAM>(control), 0);
    return false;
}

int SWnd::ComputeScrollPosition(bool vertical, WPARAM request, int old, int minimum, int maximum,
                                int thumb) const
{
    const int line = vertical ? m_vLineStep : m_hLineStep;
    const int page = vertical ? m_vPageStep : m_hPageStep;
    const int snap = vertical ? m_vSnapStep : m_hSnapStep;
    int position = old;
    switch (LOWORD(request))
    {
    case SB_LINEUP: position = old - line; break;
    case SB_LINEDOWN: position = old + line; break;
    case SB_PAGEUP: position = old - page; break;
    case SB_PAGEDOWN: position = old + page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: position = thumb; break;
    case SB_TOP: position = minimum; break;
    case SB_BOTTOM: position = maximum; break;
    default: break;
    }
    if (snap > 1)
        position -= position % snap;
    if (position < minimum)
        position = minimum;
    if (position > maximum)
        position = maximum;
    return position;
}

void SWnd::SetScrollSteps(bool vertical, int line, int page, int snap)
{
    // A snap step below 1 would divide by zero: it means "no snapping".
    if (snap < 1)
        snap = 1;
    (vertical ? m_vLineStep : m_hLineStep) = line;
    (vertical ? m_vPageStep : m_hPageStep) = page;
    (vertical ? m_vSnapStep : m_hSnapStep) = snap;
}

int SWnd::GetScrollStep(bool vertical) const
{
    return vertical ? m_vLineStep : m_hLineStep;
}

int SWnd::GetPageStep(bool vertical) const
{
    return vertical ? m_vPageStep : m_hPageStep;
}

int SWnd::SetScrollPos(bool vertical, int position, bool redraw)
{
    const int snap = vertical ? m_vSnapStep : m_hSnapStep;
    if (snap > 1)
        position -= position % snap;
    return ::SetScrollPos(m_handle, vertical ? SB_VERT : SB_HORZ, position, redraw);
}

int SWnd::GetScrollPos(bool vertical) const
{
    return ::GetScrollPos(m_handle, vertical ? SB_VERT : SB_HORZ);
}

int SWnd::GetScrollMin(bool vertical) const
{
    int minimum = 0, maximum = 0;
    ::GetScrollRange(m_handle, vertical ? SB_VERT : SB_HORZ, &minimum, &maximum);
    return minimum;
}

int SWnd::GetScrollMax(bool vertical) const
{
    int minimum = 0, maximum = 0;
    ::GetScrollRange(m_handle, vertical ? SB_VERT : SB_HORZ, &minimum, &maximum);
    return maximum;
}

bool SWnd::SetScrollRange(bool vertical, int minimum, int maximum, int page, bool redraw)
{
    if (!m_handle)
        return false;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    info.nMin = minimum;
    info.nMax = maximum;
    if (page >= 0)
    {
        info.fMask |= SIF_PAGE;
        info.nPage = static_cast<UINT>(page);
    }
    ::SetScrollInfo(m_handle, vertical ? SB_VERT : SB_HORZ, &info, redraw);
    return true;
}

int SWnd::ScrollPageForward(bool vertical)
{
    return SetScrollPos(vertical, GetScrollPos(vertical) + GetPageStep(vertical), true);
}

int SWnd::ScrollPageBackward(bool vertical)
{
    return SetScrollPos(vertical, GetScrollPos(vertical) - GetPageStep(vertical), true);
}

// --- Anchoring --------------------------------------------------------------

void SWnd::SetAnchors(int flags)
{
    HWND parent = GetParent();
    RECT client = {}, rect = {};
    if (!flags || !parent || !::GetClientRect(parent, &client) || !::GetWindowRect(m_handle, &rect))
    {
        m_anchorFlags = 0;
        return;
    }
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    m_anchorFlags = flags;
    m_anchorParentWidth = client.right;
    m_anchorParentHeight = client.bottom;
    m_anchorRect = rect;
}

// Every layout starts again from the rectangle stored with the anchors, so
// rounding never accumulates.
HWND SWnd::ApplyAnchors()
{
    HWND parent = GetParent();
    RECT client = {};
    if (!m_anchorFlags || !parent || !::GetClientRect(parent, &client))
        return nullptr;
    const int dW = client.right - m_anchorParentWidth;
    const int dH = client.bottom - m_anchorParentHeight;
    const bool halfH = (m_anchorFlags & 8) != 0, halfV = (m_anchorFlags & 128) != 0;
    int x = m_anchorRect.left, y = m_anchorRect.top;
    int w = m_anchorRect.right - m_anchorRect.left, h = m_anchorRect.bottom - m_anchorRect.top;
    if (m_anchorFlags & 1)
        x += halfH ? dW / 4 : dW / 2;
    if (m_anchorFlags & 2)
        x += halfH ? dW / 2 : dW;
    if (m_anchorFlags & 4)
        w += halfH ? dW / 2 : dW;
    if (m_anchorFlags & 16)
        y += halfV ? dH / 4 : dH / 2;
    if (m_anchorFlags & 32)
        y += halfV ? dH / 2 : dH;
    if (m_anchorFlags & 64)
        h += halfV ? dH / 2 : dH;
    ::SetWindowPos(m_handle, nullptr, x, y, w, h,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    return parent;
}
