// Painting of the tab strip with GDI+: the tabs, their separators, the close
// box and the scroll arrows, and the outline of the button under the pointer.
#include "STabDocCtrl.h"
#include "SControlColor.h"

namespace
{
Gdiplus::Color ToColor(COLORREF color)
{
    const COLORREF c = SControlColor::Resolve(color);
    return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c));
}

Gdiplus::Rect ToRect(const RECT& r)
{
    return Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// An outlined triangle pointing right (or left) inside the rectangle.
void DrawArrow(Gdiplus::Graphics& graphics, Gdiplus::Pen& pen, RECT r, bool right)
{
    InflateRect(&r, -4, -4);
    const int middle = (r.top + r.bottom) / 2;
    const Gdiplus::Point tip(right ? r.right : r.left, middle);
    const Gdiplus::Point points[3] = {Gdiplus::Point(right ? r.left : r.right, r.top), tip,
                                      Gdiplus::Point(right ? r.left : r.right, r.bottom)};
    graphics.DrawPolygon(&pen, points, 3);
}
} // namespace

void STabDocCtrl::Paint(HDC dc)
{
    if (!dc || !m_handle)
        return;
    Gdiplus::Graphics graphics(dc);
    const int width = GetClientWidth();
    Gdiplus::SolidBrush back(ToColor(m_tabBack));
    Gdiplus::SolidBrush band(ToColor(m_tabText));
    graphics.FillRectangle(&back, 0, 0, width, m_stripHeight - m_band);
    graphics.FillRectangle(&band, 0, m_stripHeight - m_band, width, m_band);
    PaintTabs(graphics);
    PaintButtons(graphics);
}

void STabDocCtrl::PaintTabs(Gdiplus::Graphics& graphics)
{
    Gdiplus::SolidBrush text(ToColor(m_tabText));
    Gdiplus::SolidBrush currentText(ToColor(m_currentText));
    Gdiplus::SolidBrush currentBack(ToColor(m_currentBack));
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    for (int i = m_firstVisible; i < m_items.GetCount(); i++)
    {
        const RECT& r = *m_tabRects.GetPtr(i);
        if (IsRectEmpty(&r))
            continue;
        const bool current = i == m_current;
        if (current)
            graphics.FillRectangle(&currentBack, ToRect(r));
        SString caption = m_items.GetAt(i)->GetShownCaption();
        Gdiplus::Font* font = current ? m_boldFont.get() : m_font.get();
        const Gdiplus::RectF place(static_cast<float>(r.left), static_cast<float>(r.top),
                                   static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top));
        if (font)
            graphics.DrawString(caption.GetWide(), -1, font, place, &format, current ? &currentText : &text);
        graphics.FillRectangle(&text, r.right, m_margin, m_gap, r.bottom - 2 * m_margin);
    }
}

void STabDocCtrl::PaintButtons(Gdiplus::Graphics& graphics)
{
    Gdiplus::Pen pen(ToColor(m_tabText), 1.0f);
    const bool closeShown = m_closeShown && m_current >= 0;
    const bool rightShown = m_firstVisible + m_fitCount < m_items.GetCount();
    const bool leftShown = m_firstVisible > 0;
    if (closeShown)
    {
        RECT r = m_closeRect;
        InflateRect(&r, -4, -4);
        const Gdiplus::Point a(r.left, r.top), b(r.right, r.bottom), c(r.left, r.bottom), d(r.right, r.top);
        graphics.DrawLine(&pen, a, b);
        graphics.DrawLine(&pen, c, d);
    }
    if (rightShown)
        DrawArrow(graphics, pen, m_rightRect, true);
    if (leftShown)
        DrawArrow(graphics, pen, m_leftRect, false);
    POINT mouse = {};
    if (!GetCursorPos(&mouse) || !ScreenToClient(&mouse))
        return;
    const RECT* hovered = nullptr;
    if (closeShown && PtInRect(&m_closeRect, mouse))
        hovered = &m_closeRect;
    else if (rightShown && PtInRect(&m_rightRect, mouse))
        hovered = &m_rightRect;
    else if (leftShown && PtInRect(&m_leftRect, mouse))
        hovered = &m_leftRect;
    if (hovered)
    {
        Gdiplus::Rect outline = ToRect(*hovered);
        outline.Width--;
        outline.Height--;
        graphics.DrawRectangle(&pen, outline);
    }
}
