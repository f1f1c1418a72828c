#include "SGuiCtrl.h"
#include <memory>

namespace
{
int AtLeastMinimum(int value)
{
    return value < SGuiCtrl::MINIMUM_SIZE ? SGuiCtrl::MINIMUM_SIZE : value;
}
} // namespace

SGuiCtrl::_SBar::_SBar(SGuiCtrl* owner, int id, int flags)
    : owner(owner), id(id), flags(flags), width(MINIMUM_SIZE), height(MINIMUM_SIZE), window(owner, this)
{
}

SGuiCtrl::_SBar::~_SBar()
{
    window.DestroyWindow();
}

void SGuiCtrl::_SBar::SetHidden(bool hidden)
{
    flags = hidden ? (flags | BAR_HIDDEN) : (flags & ~BAR_HIDDEN);
}

void SGuiCtrl::_SBar::SetSize(int newWidth, int newHeight)
{
    width = AtLeastMinimum(newWidth);
    height = AtLeastMinimum(newHeight);
}

void SGuiCtrl::_SBar::RedrawFrame()
{
    window.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

LRESULT SGuiCtrl::_SWndView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_owner && !m_owner->OnChildMessage(nullptr, message, wParam, lParam, &result))
        return result;
    switch (message)
    {
    case SWM_CREATED:
        SetBackgroundColor(GetSysColor(COLOR_APPWORKSPACE));
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

SGuiCtrl::SGuiCtrl() : m_view(this)
{
    SetTypeId(STYPE_GUI);
}

SGuiCtrl::~SGuiCtrl()
{
    m_bars.DeleteAndRemoveAll();
    m_view.DestroyWindow();
    DestroyWindow();
}

bool SGuiCtrl::AddBar(int id, int width, int height, int flags)
{
    if (FindBar(id) || !m_handle)
        return false;
    std::unique_ptr<_SBar> bar(new _SBar(this, id, flags));
    bar->SetSize(width, height);
    const RECT none = {0, 0, 0, 0};
    if (!bar->window.CreateChildUntitled(WS_CHILD | WS_VISIBLE, 0, &none, m_handle))
        return false;
    m_bars.Add(bar.release());
    Layout();
    return true;
}

SGuiCtrl::_SBar* SGuiCtrl::FindBar(int id) const
{
    for (int i = 0; i < m_bars.GetCount(); i++)
        if (m_bars.GetAt(i)->id == id)
            return m_bars.GetAt(i);
    return nullptr;
}

SGuiCtrl::_SBar* SGuiCtrl::GetBar(int index) const
{
    return index >= 0 && index < m_bars.GetCount() ? m_bars.GetAt(index) : nullptr;
}

int SGuiCtrl::IndexOf(const _SBar* bar) const
{
    for (int i = 0; i < m_bars.GetCount(); i++)
        if (m_bars.GetAt(i) == bar)
            return i;
    return -1;
}

void SGuiCtrl::RemoveAllBars()
{
    m_bars.DeleteAndRemoveAll();
    Layout();
}

int SGuiCtrl::NeighbourOnSide(int index, int side, int step) const
{
    for (int i = index + step; i >= 0 && i < m_bars.GetCount(); i += step)
    {
        const _SBar* other = m_bars.GetAt(i);
        if (!other->IsHidden() && other->GetSide() == side)
            return i;
    }
    return -1;
}

void SGuiCtrl::ComputeLayout(const RECT& client, SArray<RECT>& bars, RECT& view) const
{
    RECT free = client;
    bars.RemoveAll();
    for (int i = 0; i < m_bars.GetCount(); i++)
    {
        const _SBar* bar = m_bars.GetAt(i);
        RECT r = {0, 0, 0, 0};
        const int p = bar->IsHidden() ? -1 : NeighbourOnSide(i, bar->GetSide(), -1);
        if (bar->IsHidden())
        {
        }
        else if (bar->IsShared() && p >= 0)
        {
            // The band of p: this bar starts where p's own size ends.
            RECT* previous = bars.GetPtr(p);
            r = *previous;
            if (bar->IsVertical())
                r.top = previous->bottom = previous->top + m_bars.GetAt(p)->height;
            else
                r.left = previous->right = previous->left + m_bars.GetAt(p)->width;
        }
        else if (bar->IsVertical())
        {
            r.top = free.top;
            r.bottom = free.bottom;
            r.left = bar->IsFar() ? free.right - bar->width : free.left;
            r.right = r.left + bar->width;
            (bar->IsFar() ? free.right : free.left) = bar->IsFar() ? r.left : r.right;
        }
        else
        {
            r.left = free.left;
            r.right = free.right;
            r.top = bar->IsFar() ? free.bottom - bar->height : free.top;
            r.bottom = r.top + bar->height;
            (bar->IsFar() ? free.bottom : free.top) = bar->IsFar() ? r.top : r.bottom;
        }
        bars.Add(r);
    }
    view = free;
}

void SGuiCtrl::Layout()
{
    if (!m_handle)
        return;
    RECT client = {};
    GetClientRect(&client);
    SArray<RECT> rects;
    RECT view = {};
    ComputeLayout(client, rects, view);
    for (int i = 0; i < m_bars.GetCount(); i++)
    {
        _SBar* bar = m_bars.GetAt(i);
        const RECT& r = *rects.GetPtr(i);
        if (bar->IsHidden())
        {
            bar->window.ShowWindow(SW_HIDE);
            continue;
        }
        if (!EqualRect(&r, &bar->placed))
            bar->window.SetWindowPos(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                     SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
        bar->placed = r;
        bar->window.ShowWindow(SW_SHOWNA);
    }
    RECT current = {};
    if (m_view.GetHandle())
    {
        m_view.GetWindowRect(&current);
        ScreenToClientRect(&current);
        // Bars larger than the control leave the view no room, never a negative size.
        const int width = view.right > view.left ? view.right - view.left : 0;
        const int height = view.bottom > view.top ? view.bottom - view.top : 0;
        if (current.left != view.left || current.top != view.top || current.right - current.left != width ||
            current.bottom - current.top != height)
            m_view.MoveWindow(view.left, view.top, width, height, true);
    }
    for (int i = 0; i < m_bars.GetCount(); i++)
        if (!m_bars.GetAt(i)->IsHidden())
            m_bars.GetAt(i)->RedrawFrame();
}

void SGuiCtrl::RedrawAll()
{
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool SGuiCtrl::ApplyDragSize(_SBar* bar, int code, int size)
{
    const int index = IndexOf(bar);
    if (index < 0 || code < HIT_TOP || code > HIT_RIGHT)
        return false;
    const bool height = code == HIT_TOP || code == HIT_BOTTOM;
    const int p = NeighbourOnSide(index, bar->GetSide(), -1);
    _SBar* reference = p >= 0 ? m_bars.GetAt(p) : bar;
    size = AtLeastMinimum(size);
    if ((height ? reference->height : reference->width) == size)
        return false;
    reference->SetSize(height ? reference->width : size, height ? size : reference->height);
    bar->SetSize(height ? bar->width : size, height ? size : bar->height);
    Layout();
    RedrawAll();
    return true;
}

bool SGuiCtrl::CloseBar(_SBar* bar)
{
    if (IndexOf(bar) < 0)
        return false;
    if (SendMessageToParent(SWM_GUI_BARCLICK, reinterpret_cast<WPARAM>(this), bar->id) != 0)
        return false;
    bar->SetHidden(true);
    Layout();
    RedrawAll();
    return true;
}

LRESULT SGuiCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
    {
        SetBackgroundColor(GetSysColor(COLOR_APPWORKSPACE));
        const RECT none = {0, 0, 0, 0};
        m_view.CreateChildUntitled(WS_CHILD | WS_VISIBLE, 0, &none, m_handle);
        Layout();
        break;
    }
    case WM_DESTROY:
        m_bars.DeleteAndRemoveAll();
        m_view.DestroyWindow();
        break;
    case WM_SIZE:
        Layout();
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
