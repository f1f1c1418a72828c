// Painting of a window's own background: its colour or its skin, with the opaque
// library children cut out first so that nothing under them is painted twice.
#include "SGuards.h"
#include "SWnd.h"

namespace
{
// 0xFE000000 + n names the system colour n.
COLORREF ResolveColor(COLORREF color)
{
    if ((color & 0xFF000000) == 0xFE000000)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

// Children whose area is cut out of the target rather than the window context.
bool IsCutFromTarget(const SWnd* child)
{
    switch (child->GetType())
    {
    case STYPE_BUTTON:
    case STYPE_RADIO:
    case STYPE_STATIC:
    case STYPE_TAB:
        return true;
    case STYPE_TOOLBAR:
        return (child->GetStyle() & 0x8000) != 0; // transparent tool bar
    default:
        return false;
    }
}
} // namespace

SWnd::VideoAreaFunction SWnd::s_videoArea = nullptr;

void SWnd::PaintBackground(HDC windowDC, HDC target)
{
    if (!m_handle || !target)
        return;
    // A playing video is not painted over.
    if (m_typeId == STYPE_MEDIAPLAYER && windowDC && s_videoArea)
    {
        const RECT video = s_videoArea(this);
        if (!IsRectEmpty(&video))
            ExcludeClipRect(windowDC, video.left, video.top, video.right, video.bottom);
    }
    ExcludeChildren(windowDC, target);
    if (m_skinImage.IsLoaded())
    {
        RECT client = {};
        ::GetClientRect(m_handle, &client);
        Gdiplus::Graphics graphics(target);
        if (m_backgroundColor != COLOR_NONE && m_backgroundColor != COLOR_TRANSPARENT)
        {
            const COLORREF color = ResolveColor(m_backgroundColor);
            graphics.Clear(Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));
        }
        PaintSkinOn(graphics, client.right, client.bottom);
        return;
    }
    if (m_backgroundColor == COLOR_NONE)
        return;
    if (m_backgroundColor == COLOR_TRANSPARENT)
    {
        RedrawParentUnder();
        return;
    }
    RECT client = {};
    ::GetClientRect(m_handle, &client);
    SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(ResolveColor(m_backgroundColor)));
    if (brush.Get())
        FillRect(target, &client, brush.Get());
}

void SWnd::ExcludeChildren(HDC windowDC, HDC target) const
{
    SArray<HWND__*> children;
    CollectChildHandles(m_handle, &children, nullptr, false);
    for (int i = 0; i < children.GetCount(); i++)
    {
        HWND handle = children.GetAt(i);
        SWnd* child = FromHandle(handle);
        if (!child || !::IsWindowVisible(handle) || child->GetType() == STYPE_GROUP ||
            child->GetBackgroundColor() == COLOR_TRANSPARENT)
            continue;
        const bool onTarget = IsCutFromTarget(child);
        HDC dc = onTarget ? target : windowDC;
        if (!dc)
            continue;
        RECT rect = {};
        ::GetWindowRect(handle, &rect);
        MapWindowPoints(nullptr, m_handle, reinterpret_cast<POINT*>(&rect), 2);
        SGdiObjectGuard<HRGN> region(CreateRectRgn(0, 0, 0, 0));
        if (region.Get() && GetWindowRgn(handle, region.Get()) != ERROR)
        {
            // A shaped child: only its own region is cut out.
            OffsetRgn(region.Get(), rect.left, rect.top);
            ExtSelectClipRgn(dc, region.Get(), RGN_DIFF);
        }
        else if (onTarget)
        {
            region.Reset(CreateRectRgnIndirect(&rect));
            ExtSelectClipRgn(dc, region.Get(), RGN_DIFF);
        }
        else
        {
            ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        }
    }
}

// A transparent window shows its parent: while it redraws itself, the parent
// repaints the area under it.
void SWnd::RedrawParentUnder() const
{
    HWND parent = GetParent();
    if (!m_redrawInProgress || !parent || !FromHandle(parent))
        return;
    RECT rect = {};
    ::GetWindowRect(m_handle, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    ::RedrawWindow(parent, &rect, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW);
}

bool SWnd::RedrawWindow(const RECT* rect, HRGN region, UINT flags)
{
    if (!m_handle)
        return false;
    // Only a redraw of the window itself shows the parent through a transparent
    // window; a plain erase paints nothing there.
    const bool transparent = m_backgroundColor == COLOR_TRANSPARENT;
    const bool wasInProgress = m_redrawInProgress;
    if (transparent)
        m_redrawInProgress = true;
    const bool done = ::RedrawWindow(m_handle, rect, region, flags) != 0;
    if (transparent)
        m_redrawInProgress = wasInProgress;
    return done;
}

HDC SWnd::GetContentPaintDC(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return reinterpret_cast<HDC>(lParam);
    if (message != WM_PRINTCLIENT || !wParam)
        return nullptr;
    HDC dc = reinterpret_cast<HDC>(wParam);
    PaintBackground(dc, dc);
    return dc;
}
