// The tab strip's mouse: picking, closing, scrolling and dragging tabs, the
// context menu, and the messages that ask the parent first.
#include "STabDocCtrl.h"
#include <windowsx.h>
#include "SLibrary.h"
#include "SMouseNotify.h"

namespace
{
LPARAM PackIndexes(int low, int high)
{
    return static_cast<LPARAM>((static_cast<unsigned>(low) & 0xFFFF) | ((static_cast<unsigned>(high) & 0xFFFF) << 16));
}
} // namespace

bool STabDocCtrl::RequestSelection(int index)
{
    if (index < 0 || index >= m_items.GetCount())
        return false;
    if (index == m_current)
        return true;
    if (SendMessageToParent(SWM_TABDOC_SELCHANGING, reinterpret_cast<WPARAM>(this), PackIndexes(m_current, index)))
        return false;
    SetSelection(index);
    return true;
}

bool STabDocCtrl::CloseCurrent()
{
    if (m_current < 0)
        return false;
    if (SendMessageToParent(SWM_TABDOC_CLOSEQUERY, reinterpret_cast<WPARAM>(this), m_current))
        return false;
    return DeleteItem(m_current);
}

// The middle of the dragged tab were it moved to that place: tabs of
// different widths would otherwise trade places under a still pointer. The
// tabs between shift by its width, so there it ends where the target ends
// (moving right) or starts where the target starts (moving left). -1 when it
// is not shown.
int STabDocCtrl::MiddleAfterMove(int dragged, int to) const
{
    const RECT* from = m_tabRects.GetPtr(dragged);
    const RECT* onto = m_tabRects.GetPtr(to);
    if (IsRectEmpty(from))
        return -1;
    const int width = from->right - from->left;
    return to > dragged ? (2 * onto->right - width) / 2 : (2 * onto->left + width) / 2;
}

bool STabDocCtrl::DragOver(int& dragged, int x, int y)
{
    const int hit = TabAt(x, y);
    if (hit < 0 || hit == dragged || dragged < 0 || dragged >= m_tabRects.GetCount())
        return true;
    const int middle = MiddleAfterMove(dragged, hit);
    if (middle < 0 || (hit > dragged ? x < middle : x >= middle))
        return true;
    if (SendMessageToParent(SWM_TABDOC_MOVING, reinterpret_cast<WPARAM>(this), PackIndexes(dragged, hit)))
        return false;
    if (MoveItem(dragged, hit))
        dragged = hit;
    RedrawWindow();
    return true;
}

STabDocCtrl* STabDocCtrl::FindDropTarget(POINT screen) const
{
    for (int i = 0; i < m_dropTargets.GetCount(); i++)
    {
        STabDocCtrl* target = m_dropTargets.GetAt(i);
        RECT window = {};
        if (target && target->GetHandle() && target->GetWindowRect(&window) && PtInRect(&window, screen))
            return target;
    }
    return nullptr;
}

void STabDocCtrl::ClickButtons(int x, int y)
{
    const POINT point = {x, y};
    if (m_closeShown && m_current >= 0 && PtInRect(&m_closeRect, point))
        CloseCurrent();
    else if (PtInRect(&m_leftRect, point) && m_firstVisible > 0)
        m_firstVisible--;
    else if (PtInRect(&m_rightRect, point) && m_firstVisible + m_fitCount < m_items.GetCount())
        m_firstVisible++;
    RecalcTabs();
    RedrawStrip();
}

void STabDocCtrl::DragTab(int x, int y, bool right)
{
    const int hit = TabAt(x, y);
    if (hit < 0 || !RequestSelection(hit))
        return;
    if (right)
    {
        if (m_menu.GetItemCount() > 0)
        {
            POINT point = {x, y};
            ClientToScreen(&point);
            m_menu.Track(point.x, point.y, TPM_RIGHTBUTTON);
        }
        return;
    }
    if (m_movable)
        RunTabDrag(hit);
}

// Runs while the left button is held: over the strip the tab follows the
// pointer; outside it, a drop target under the pointer takes the tab at release.
void STabDocCtrl::RunTabDrag(int dragged)
{
    STabDocCtrl* target = nullptr;
    while (m_handle && m_keyboard.IsLeftButtonDown())
    {
        POINT screen = {};
        GetCursorPos(&screen);
        POINT client = screen;
        ScreenToClient(&client);
        RECT window = {};
        GetWindowRect(&window);
        if (PtInRect(&window, screen))
        {
            target = nullptr;
            ::SetCursor(GetLibraryCursor(client.y < m_stripHeight - m_band ? 0 : CURSOR_NO));
            if (!DragOver(dragged, client.x, client.y))
                return;
        }
        else
        {
            target = FindDropTarget(screen);
            ::SetCursor(GetLibraryCursor(target ? CURSOR_DROP : CURSOR_NO));
        }
        Sleep(10);
    }
    if (target)
        MoveItemTo(dragged, target);
}

void STabDocCtrl::OnMiddleUp(int x, int y)
{
    const int hit = TabAt(x, y);
    if (hit >= 0 && hit == m_current)
        CloseCurrent();
}

LRESULT STabDocCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    SMouseNotify::RelayToParent(this, SWM_TABDOC_MOUSE, message, lParam);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_SIZE:
        RecalcLayout();
        break;
    case WM_DESTROY:
        LeaveDropTargets();
        m_items.DeleteAndRemoveAll();
        m_tabRects.RemoveAll();
        m_current = -1;
        m_font.reset();
        m_boldFont.reset();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case WM_MOUSEMOVE:
    case SWM_MOUSEENTER:
    case SWM_MOUSELEAVE:
        RedrawStrip();
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        DragTab(x, y, message == WM_RBUTTONDOWN);
        break;
    case SWM_LCLICK:
    case WM_LBUTTONDBLCLK:
        ClickButtons(x, y);
        break;
    case WM_MBUTTONDOWN:
        RequestSelection(TabAt(x, y));
        break;
    case WM_MBUTTONUP:
        OnMiddleUp(x, y);
        break;
    case SWM_MENUCOMMAND:
        if (m_current >= 0)
            SendMessageToParent(SWM_TABDOC_MENUCOMMAND, reinterpret_cast<WPARAM>(this), lParam);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
