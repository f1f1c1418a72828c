// Scrolling of the rich-text view (offsets and the timed marquee), its links,
// its cursor and its push-button states.
#include "SMediaCtrl.h"
#include "SLibrary.h"

bool SMediaCtrl::IsScrollingX() const
{
    return m_offsetX != 0 || (m_autoScroll && m_speedX != 0);
}

bool SMediaCtrl::IsScrollingY() const
{
    return m_offsetY != 0 || (m_autoScroll && m_speedY != 0);
}

void SMediaCtrl::StopAutoScroll()
{
    if (m_handle)
        KillTimer(MARQUEE_TIMER);
    m_autoScroll = false;
}

void SMediaCtrl::SetAutoScroll(double speedX, double speedY, bool force, const POINT* start)
{
    const RECT inner = GetInnerRect();
    const bool useX = force || m_contentWidth > inner.right - inner.left;
    const bool useY = force || m_contentHeight > inner.bottom - inner.top;
    m_speedX = useX ? speedX / 1000.0 : 0.0;
    m_speedY = useY ? speedY / 1000.0 : 0.0;
    if (m_speedX == 0 && m_speedY == 0)
    {
        StopAutoScroll();
        m_offsetX = m_offsetY = 0;
        Redraw();
        return;
    }
    if (start)
    {
        m_offsetX = start->x;
        m_offsetY = start->y;
    }
    else if (m_autoScrollLoop)
    {
        // The text enters from the far edge of its axis.
        m_autoScrollVertical = m_speedY != 0;
        const SIZE client = GetClientSize();
        if (m_autoScrollVertical)
            m_offsetY = client.cy - m_marginBottom - m_marginTop;
        else
            m_offsetX = client.cx - m_marginRight - m_marginLeft;
    }
    StopAutoScroll();
    m_autoScroll = true;
    m_positionX = m_offsetX;
    m_positionY = m_offsetY;
    m_lastStep = m_clock();
    Redraw();
    if (m_handle)
        SetTimer(MARQUEE_TIMER, 20);
}

SMediaCtrl* SMediaCtrl::SetAutoScrollLoop(bool on)
{
    m_autoScrollLoop = on;
    m_autoScrollVertical = m_speedY != 0;
    return this;
}

void SMediaCtrl::StepAutoScroll()
{
    const DWORD now = m_clock();
    const DWORD elapsed = now - m_lastStep; // unsigned: a wrap of the clock is harmless
    m_lastStep = now;
    m_positionX += elapsed * m_speedX;
    m_positionY += elapsed * m_speedY;
    const int x = static_cast<int>(m_positionX), y = static_cast<int>(m_positionY);
    if (x == m_offsetX && y == m_offsetY)
        return;
    m_offsetX = x;
    m_offsetY = y;
    if (m_autoScrollLoop)
    {
        const SIZE client = GetClientSize();
        if (m_speedY != 0 && m_contentHeight + m_offsetY < m_marginTop)
        {
            m_offsetY = client.cy - m_marginBottom;
            m_positionY = m_offsetY;
        }
        if (m_speedX != 0 && m_contentWidth + m_offsetX < 0)
        {
            m_offsetX = client.cx - m_marginRight - m_marginLeft;
            m_positionX = m_offsetX;
        }
    }
    Redraw();
    if (m_tags)
        RefreshCursor();
}

int SMediaCtrl::LinkAt(int x, int y) const
{
    const POINT point = {x, y};
    for (int i = 0; i < m_linkRects.GetCount(); i++)
    {
        const RECT rect = m_linkRects.GetAt(i);
        if (PtInRect(&rect, point))
            return i;
    }
    return -1;
}

RECT SMediaCtrl::GetLinkRect(int i) const
{
    const RECT none = {0, 0, 0, 0};
    return i >= 0 && i < m_linkRects.GetCount() ? m_linkRects.GetAt(i) : none;
}

void SMediaCtrl::RefreshCursor()
{
    POINT point = {};
    if (!m_handle || !GetCursorPos(&point) || !ScreenToClient(&point))
        return;
    SetCursor(LinkAt(point.x, point.y) >= 0 ? GetLibraryCursor(3) : nullptr);
}

// A press on a link offers it to the parent, and opens it when the parent
// leaves it alone; true when a link was hit.
bool SMediaCtrl::PressLink(LPARAM lParam)
{
    if (!m_tags)
        return false;
    const int index = LinkAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    if (index < 0)
        return false;
    // A copy: the parent may change the text, and with it the links, while it answers.
    const SString target = m_linkTargets.GetAt(index);
    const LRESULT answer =
        SendMessageToParent(SWM_MEDIA_LINK, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(target.GetText()));
    if (answer == 0)
        m_opener(*this, target.GetText(), target.FindChar('@') >= 0);
    return true;
}

void SMediaCtrl::OnButtonDown(LPARAM lParam)
{
    const bool onLink = PressLink(lParam);
    if (m_tags)
        RefreshCursor();
    if (m_button)
    {
        if (!onLink)
            m_pressed = true;
        Redraw();
    }
}

void SMediaCtrl::OnMouseEnter(WPARAM wParam)
{
    if (!m_button)
        return;
    if (m_pressed && !(wParam & MK_LBUTTON))
        m_pressed = false;
    m_hover = true;
    Redraw();
}
