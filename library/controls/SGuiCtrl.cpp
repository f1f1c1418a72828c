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

namespace
{
bool Hidden(const SGuiCtrl::_SBarShape& bar)
{
    return (bar.flags & SGuiCtrl::BAR_HIDDEN) != 0;
}

int Side(const SGuiCtrl::_SBarShape& bar)
{
    return bar.flags & (SGuiCtrl::BAR_VERTICAL | SGuiCtrl::BAR_FAR);
}
} // namespace

SGuiCtrl::Shapes SGuiCtrl::GetShapes() const
{
    Shapes shapes;
    for (int i = 0; i < m_bars.GetCount(); i++)
        shapes.push_back(_SBarShape{m_bars.GetAt(i)->flags, m_bars.GetAt(i)->width, m_bars.GetAt(i)->height});
    return shapes;
}

int SGuiCtrl::NeighbourOnSide(const Shapes& bars, int index, int step)
{
    const int count = static_cast<int>(bars.size());
    for (int i = index + step; i >= 0 && i < count; i += step)
        if (!Hidden(bars[i]) && Side(bars[i]) == Side(bars[index]))
            return i;
    return -1;
}

RECT SGuiCtrl::PlaceBar(const Shapes& bars, int index, RECT& room, std::vector<RECT>& placed)
{
    const _SBarShape& bar = bars[index];
    const bool vertical = (bar.flags & BAR_VERTICAL) != 0, farSide = (bar.flags & BAR_FAR) != 0;
    const int p = NeighbourOnSide(bars, index, -1);
    RECT r = {};
    if ((bar.flags & BAR_SHARED) && p >= 0)
    {
        // The band of p: this bar starts where p's own size ends.
        RECT& previous = placed[p];
        r = previous;
        if (vertical)
            r.top = previous.bottom = previous.top + bars[p].height;
        else
            r.left = previous.right = previous.left + bars[p].width;
    }
    else if (vertical)
    {
        r = RECT{farSide ? room.right - bar.width : room.left, room.top, 0, room.bottom};
        r.right = r.left + bar.width;
        (farSide ? room.right : room.left) = farSide ? r.left : r.right;
    }
    else
    {
        r = RECT{room.left, farSide ? room.bottom - bar.height : room.top, room.right, 0};
        r.bottom = r.top + bar.height;
        (farSide ? room.bottom : room.top) = farSide ? r.top : r.bottom;
    }
    return r;
}

void SGuiCtrl::ComputeLayout(const Shapes& bars, const RECT& client, std::vector<RECT>& placed, RECT& view)
{
    RECT room = client;
    placed.assign(bars.size(), RECT{});
    for (size_t i = 0; i < bars.size(); i++)
        if (!Hidden(bars[i]))
            placed[i] = PlaceBar(bars, static_cast<int>(i), room, placed);
    view = room;
}

void SGuiCtrl::Layout()
{
    if (!m_handle)
        return;
    RECT client = {};
    GetClientRect(&client);
    std::vector<RECT> rects;
    RECT view = {};
    ComputeLayout(GetShapes(), client, rects, view);
    for (int i = 0; i < m_bars.GetCount(); i++)
    {
        _SBar* bar = m_bars.GetAt(i);
        const RECT& r = rects[i];
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
    const int p = NeighbourOnSide(GetShapes(), index, -1);
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
