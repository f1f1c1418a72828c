// The items of the tab strip, their pages, the current item and the layout.
#include "STabDocCtrl.h"
#include <cmath>
#include "SGuards.h"

namespace
{
const COLORREF SYSTEM_COLOR = 0xFE000000;
} // namespace

STabDocCtrl::_SItem::_SItem(STabDocCtrl* owner, int id, const char* caption)
    : id(id), caption(caption ? caption : ""), page(this), owner(owner), modified(false), extra(0)
{
}

STabDocCtrl::_SItem::~_SItem()
{
    page.DestroyWindow();
}

SString STabDocCtrl::_SItem::GetShownCaption() const
{
    SString shown = caption;
    if (modified)
        shown += "*";
    return shown;
}

LRESULT STabDocCtrl::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CHANGED:
        if (m_item && m_item->owner)
            NotifyChanged(m_item->owner->GetSelection(), reinterpret_cast<SWnd*>(wParam));
        return 0;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

STabDocCtrl::STabDocCtrl()
    : m_tabBack(SYSTEM_COLOR + COLOR_INACTIVECAPTION), m_currentBack(SYSTEM_COLOR + COLOR_ACTIVECAPTION),
      m_tabText(SYSTEM_COLOR + COLOR_INACTIVECAPTIONTEXT), m_currentText(SYSTEM_COLOR + COLOR_CAPTIONTEXT),
      m_windowBack(SYSTEM_COLOR + COLOR_WINDOW), m_closeShown(1), m_movable(1), m_closeRect(), m_rightRect(),
      m_leftRect(), m_current(-1), m_stripHeight(0), m_margin(2), m_gap(1), m_band(2),
      m_buttonSize(DEFAULT_BUTTON_SIZE), m_firstVisible(0), m_fitCount(0)
{
    SetTypeId(STYPE_TABDOC);
    m_stripHeight = m_buttonSize + 2 * m_margin + m_band;
}

STabDocCtrl::~STabDocCtrl()
{
    LeaveDropTargets();
    m_items.DeleteAndRemoveAll();
    DestroyWindow();
}

STabDocCtrl::_SItem* STabDocCtrl::GetItem(int index) const
{
    return index >= 0 && index < m_items.GetCount() ? m_items.GetAt(index) : nullptr;
}

SWnd* STabDocCtrl::GetPage(int index) const
{
    _SItem* item = GetItem(index);
    return item ? &item->page : nullptr;
}

int STabDocCtrl::FindItem(int id) const
{
    for (int i = 0; i < m_items.GetCount(); i++)
        if (m_items.GetAt(i)->id == id)
            return i;
    return -1;
}

int STabDocCtrl::InsertItem(const char* caption, int index, int id)
{
    if (!m_handle)
        return -1;
    std::unique_ptr<_SItem> item(new _SItem(this, id, caption));
    const int width = GetClientWidth(), height = GetClientHeight() - m_stripHeight;
    const RECT page = {0, m_stripHeight, width, m_stripHeight + (height > 0 ? height : 0)};
    if (!item->page.CreateChildUntitled(WS_CHILD, 0, &page, m_handle))
        return -1;
    item->page.SetBackgroundColor(m_windowBack);
    if (index < 0 || index > m_items.GetCount())
        index = m_items.GetCount();
    m_items.InsertAt(item.release(), index);
    m_tabRects.InsertAt(RECT{}, index);
    SetSelection(index);
    return m_current;
}

void STabDocCtrl::SetSelection(int index)
{
    m_current = index >= 0 && index < m_items.GetCount() ? index : -1;
    RecalcTabs();
    ShowCurrentPage();
}

void STabDocCtrl::ShowCurrentPage()
{
    const bool visible = m_handle && IsVisible();
    if (visible)
        SetRedraw(false);
    for (int i = 0; i < m_items.GetCount(); i++)
        if (i != m_current)
            m_items.GetAt(i)->page.ShowWindow(SW_HIDE);
    if (m_current >= 0)
        m_items.GetAt(m_current)->page.ShowWindow(SW_SHOW);
    if (visible)
    {
        SetRedraw(true);
        RedrawWindow();
    }
}

bool STabDocCtrl::MoveItem(int from, int to)
{
    const int count = m_items.GetCount();
    if (from < 0 || from >= count || to < -1 || from == to)
        return false;
    if (to == -1 || to >= count)
        to = count - 1;
    if (from == to)
        return false;
    _SItem* current = GetItem(m_current);
    _SItem* moved = m_items.GetAt(from);
    m_items.RemoveAt(from);
    m_items.InsertAt(moved, to);
    for (int i = 0; i < m_items.GetCount(); i++)
        if (m_items.GetAt(i) == current)
            m_current = i;
    RecalcTabs();
    return true;
}

STabDocCtrl::_SItem* STabDocCtrl::DetachItem(int index)
{
    _SItem* item = GetItem(index);
    if (!item)
        return nullptr;
    m_items.RemoveAt(index);
    m_tabRects.RemoveAt(index);
    if (m_firstVisible >= m_items.GetCount())
        m_firstVisible = m_items.GetCount() > 0 ? m_items.GetCount() - 1 : 0;
    SetSelection(index < m_items.GetCount() ? index : index - 1);
    return item;
}

bool STabDocCtrl::DeleteItem(int index)
{
    // Deleting the item before the pages change keeps its window out of the redraw.
    _SItem* item = GetItem(index);
    if (!item)
        return false;
    item->page.DestroyWindow();
    delete DetachItem(index);
    return true;
}

void STabDocCtrl::DeleteAllItems()
{
    m_items.DeleteAndRemoveAll();
    m_tabRects.RemoveAll();
    m_current = -1;
    m_firstVisible = 0;
    RecalcTabs();
    RedrawStrip();
}

bool STabDocCtrl::AttachItem(_SItem* item)
{
    if (!item || !m_handle)
        return false;
    item->owner = this;
    if (item->page.GetHandle())
        ::SetParent(item->page.GetHandle(), m_handle);
    m_items.Add(item);
    m_tabRects.Add(RECT{});
    RecalcLayout();
    SetSelection(m_items.GetCount() - 1);
    return true;
}

bool STabDocCtrl::MoveItemTo(int index, STabDocCtrl* other)
{
    if (!GetItem(index) || !other || other == this || !other->GetHandle())
        return false;
    return other->AttachItem(DetachItem(index));
}

bool STabDocCtrl::SetItemModified(int index, bool modified)
{
    _SItem* item = GetItem(index);
    if (!item)
        return false;
    item->modified = modified;
    RecalcTabs();
    RedrawStrip();
    return true;
}

bool STabDocCtrl::IsItemModified(int index) const
{
    const _SItem* item = GetItem(index);
    return item && item->modified;
}

bool STabDocCtrl::AddDropTarget(STabDocCtrl* target)
{
    if (!target || target == this || m_dropTargets.Find(target) >= 0)
        return false;
    m_dropTargets.Add(target);
    target->m_dropSources.Add(this);
    return true;
}

bool STabDocCtrl::RemoveDropTarget(STabDocCtrl* target)
{
    if (!RemoveStrip(m_dropTargets, target))
        return false;
    RemoveStrip(target->m_dropSources, this);
    return true;
}

bool STabDocCtrl::RemoveStrip(SArray<STabDocCtrl*>& strips, STabDocCtrl* strip)
{
    const int index = strips.Find(strip);
    if (index < 0)
        return false;
    strips.RemoveAt(index);
    return true;
}

// A strip that goes leaves the lists of the strips that would drop onto it, and
// theirs leave its own, so that no list keeps a pointer to a strip that is gone.
void STabDocCtrl::LeaveDropTargets()
{
    for (int i = 0; i < m_dropSources.GetCount(); i++)
        RemoveStrip(m_dropSources.GetAt(i)->m_dropTargets, this);
    for (int i = 0; i < m_dropTargets.GetCount(); i++)
        RemoveStrip(m_dropTargets.GetAt(i)->m_dropSources, this);
    m_dropSources.RemoveAll();
    m_dropTargets.RemoveAll();
}

void STabDocCtrl::SetBackColors(COLORREF tab, COLORREF currentTab, COLORREF window)
{
    if (tab != COLOR_NONE)
        m_tabBack = tab;
    if (currentTab != COLOR_NONE)
        m_currentBack = currentTab;
    if (window != COLOR_NONE)
    {
        m_windowBack = window;
        for (int i = 0; i < m_items.GetCount(); i++)
            m_items.GetAt(i)->page.SetBackgroundColor(window);
    }
    RedrawWindow();
}

void STabDocCtrl::SetTextColors(COLORREF text, COLORREF currentText)
{
    if (text != COLOR_NONE)
        m_tabText = text;
    if (currentText != COLOR_NONE)
        m_currentText = currentText;
    RedrawStrip();
}

void STabDocCtrl::SetCloseButton(bool shown)
{
    m_closeShown = shown ? 1 : 0;
    RecalcLayout();
    RedrawStrip();
}

void STabDocCtrl::PlaceButtons(int width, int margin, int size, bool closeShown, RECT& close, RECT& right,
                               RECT& left)
{
    RECT square = {width - margin - size, margin, width - margin, margin + size};
    close = RECT{};
    if (closeShown)
    {
        close = square;
        OffsetRect(&square, -size, 0);
    }
    right = square;
    OffsetRect(&square, -size, 0);
    left = square;
}

int STabDocCtrl::PlaceTabs(const int* widths, int count, int first, int limit, int gap, int bottom, RECT* out)
{
    int x = 0, fit = 0;
    bool full = false;
    for (int i = 0; i < count; i++)
    {
        out[i] = RECT{};
        if (i < first || full)
            continue;
        if (x + widths[i] >= limit - gap)
        {
            full = true;
            continue;
        }
        out[i] = RECT{x, 0, x + widths[i], bottom};
        x += widths[i] + gap;
        fit++;
    }
    return fit;
}

void STabDocCtrl::RecalcLayout()
{
    const int width = GetClientWidth(), height = GetClientHeight() - m_stripHeight;
    for (int i = 0; i < m_items.GetCount(); i++)
        m_items.GetAt(i)->page.MoveWindow(0, m_stripHeight, width, height > 0 ? height : 0, true);
    PlaceButtons(width, m_margin, m_buttonSize, m_closeShown != 0, m_closeRect, m_rightRect, m_leftRect);
    RecalcTabs();
}

void STabDocCtrl::RecalcTabs()
{
    const int count = m_items.GetCount();
    SArray<int> widths;
    for (int i = 0; i < count; i++)
    {
        const float measured = MeasureCaption(m_items.GetAt(i)->GetShownCaption(), i == m_current);
        widths.Add(static_cast<int>(std::ceil(measured)) + 2 * m_margin);
    }
    m_tabRects.SetCount(count);
    m_fitCount = count ? PlaceTabs(widths.GetPtr(0), count, m_firstVisible, m_leftRect.left, m_gap,
                                   m_stripHeight - m_band, m_tabRects.GetPtr(0))
                       : 0;
}

RECT STabDocCtrl::GetTabRect(int index) const
{
    const RECT* rect = m_tabRects.GetPtr(index);
    return rect ? *rect : RECT{};
}

int STabDocCtrl::TabAt(int x, int y) const
{
    const POINT point = {x, y};
    for (int i = m_firstVisible; i < m_tabRects.GetCount(); i++)
        if (PtInRect(m_tabRects.GetPtr(i), point))
            return i;
    return -1;
}

void STabDocCtrl::RedrawStrip()
{
    if (!m_handle)
        return;
    const RECT strip = {0, 0, GetClientWidth(), m_stripHeight};
    InvalidateRect(&strip, true);
}

float STabDocCtrl::MeasureCaption(const SString& text, bool bold) const
{
    Gdiplus::Font* font = bold ? m_boldFont.get() : m_font.get();
    if (!font || text.GetLength() == 0)
        return 0;
    SWindowDCGuard dc(m_handle);
    Gdiplus::Graphics graphics(dc.Get());
    SString copy = text;
    Gdiplus::RectF bounds;
    const Gdiplus::PointF origin(0, 0);
    if (graphics.MeasureString(copy.GetWide(), -1, font, origin, Gdiplus::StringFormat::GenericDefault(),
                               &bounds) != Gdiplus::Ok)
        return 0;
    return bounds.Width;
}

void STabDocCtrl::MakeFonts()
{
    HFONT font = GetFont() ? GetFont() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    m_buttonSize = DEFAULT_BUTTON_SIZE;
    SWindowDCGuard dc(m_handle);
    if (dc.Get())
    {
        SSelectGuard select(dc.Get(), font);
        TEXTMETRICA metrics = {};
        if (GetTextMetricsA(dc.Get(), &metrics))
            m_buttonSize = metrics.tmHeight;
        LOGFONTA logFont = {};
        GetObjectA(font, sizeof(logFont), &logFont);
        m_font.reset(new Gdiplus::Font(dc.Get(), &logFont));
        logFont.lfWeight = FW_BOLD;
        m_boldFont.reset(new Gdiplus::Font(dc.Get(), &logFont));
    }
    m_stripHeight = m_buttonSize + 2 * m_margin + m_band;
}

void STabDocCtrl::OnCreated()
{
    m_menu.Create(m_handle);
    SetBackgroundColor(GetSysColor(COLOR_APPWORKSPACE));
    m_current = -1;
    m_firstVisible = 0;
    MakeFonts();
    RecalcLayout();
}
