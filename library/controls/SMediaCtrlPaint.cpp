// Painting of the rich-text view: the picture under the text, the button edge,
// then the plain text or the laid-out runs; painting also records where the
// links were drawn, so that a press finds exactly what is on the screen.
#include "SMediaCtrl.h"
#include <memory>
#include "SImage.h"

namespace
{
void DrawRunText(Gdiplus::Graphics& graphics, HDC dc, const wchar_t* text, int length, const LOGFONTA& font,
              DWORD color, const Gdiplus::RectF& rect, const Gdiplus::StringFormat& format)
{
    std::unique_ptr<Gdiplus::Font> made(SMediaCtrl::CreateGdiplusFont(dc, font));
    if (!made || length <= 0)
        return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.DrawString(text, length, made.get(), rect, &format, &brush);
}
} // namespace

void SMediaCtrl::Paint(HDC dc)
{
    if (!m_handle || !dc)
        return;
    const RECT inner = GetInnerRect();
    if (m_image)
    {
        Gdiplus::Graphics graphics(dc);
        m_image->DrawToRect(&graphics, inner);
    }
    if (m_button)
        PaintButtonEdge(dc);
    if (m_tags)
        PaintTagged(dc, inner);
    else
        PaintPlain(dc);
}

// 0 normal, 1 hover, 2 pressed or checked, 3 disabled.
int SMediaCtrl::GetButtonState() const
{
    if (!IsEnabled())
        return 3;
    if ((m_hover && m_pressed) || m_checked)
        return 2;
    return m_hover ? 1 : 0;
}

void SMediaCtrl::PaintButtonEdge(HDC dc) const
{
    RECT client = {};
    GetClientRect(&client);
    const int state = GetButtonState();
    if (state == 1)
        DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    else if (state == 2)
        DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
}

namespace
{
// Grows one axis of a layout box to the content, keeping the text where its
// alignment (0 near, 1 centre, 2 far) puts it.
void GrowAxis(LONG& low, LONG& high, LONG content, int alignment)
{
    const LONG extra = content - (high - low);
    if (extra <= 0)
        return;
    if (alignment == 1)
    {
        low -= extra / 2;
        high += extra - extra / 2;
    }
    else if (alignment == 2)
        low -= extra;
    else
        high += extra;
}
} // namespace

// The inner rectangle moved by the offsets, grown to the content unless the
// text is trimmed there: GDI+ leaves out the characters and lines that do not
// fit its layout box whole, while the clip at the inner rectangle cuts them at
// the pixel, still or scrolling alike.
RECT SMediaCtrl::GetPlainTextRect() const
{
    const RECT inner = GetInnerRect();
    RECT rect = {inner.left + m_offsetX, inner.top + m_offsetY, inner.right + m_offsetX, inner.bottom + m_offsetY};
    const bool scrollingX = IsScrollingX(), scrollingY = IsScrollingY();
    const bool trimmed = m_trimming && !scrollingX && !scrollingY;
    if (scrollingX || (!trimmed && !m_wrapping))
        GrowAxis(rect.left, rect.right, m_contentWidth, scrollingX ? 0 : GetHorizontalAlignment() & 3);
    if (!trimmed)
    {
        const int vertical = GetVerticalAlignment();
        GrowAxis(rect.top, rect.bottom, m_contentHeight,
                 scrollingY ? 0 : vertical == ALIGN_MIDDLE ? 1 : vertical == ALIGN_BOTTOM ? 2 : 0);
    }
    return rect;
}

void SMediaCtrl::PaintPlain(HDC dc)
{
    Gdiplus::Graphics graphics(dc);
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    SetupStringFormat(format);
    // The layout box may grow with scrolling content; the drawing stays inside.
    const RECT inner = GetInnerRect();
    graphics.SetClip(Gdiplus::Rect(inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top));
    const RECT box = GetPlainTextRect();
    const Gdiplus::RectF rect(static_cast<float>(box.left), static_cast<float>(box.top),
                              static_cast<float>(box.right - box.left), static_cast<float>(box.bottom - box.top));
    DrawRunText(graphics, dc, m_wide, m_wideLength, GetWindowLogFont(), m_textColor, rect, format);
}

int SMediaCtrl::GetFirstLineTop(const RECT& inner) const
{
    if (IsScrollingY())
        return inner.top + m_offsetY;
    switch (GetVerticalAlignment())
    {
    case ALIGN_MIDDLE: return (inner.top + inner.bottom) / 2 - m_contentHeight / 2;
    case ALIGN_BOTTOM: return inner.bottom - m_contentHeight;
    default: return inner.top + m_offsetY;
    }
}

void SMediaCtrl::PaintRun(Gdiplus::Graphics& graphics, HDC dc, const _SText& run, const Gdiplus::RectF& rect,
                          const Gdiplus::StringFormat& viewFormat)
{
    if (run.image)
    {
        run.image->DrawAt(&graphics, static_cast<int>(rect.X), static_cast<int>(rect.Y));
    }
    else
    {
        SString text;
        text.Assign(m_source.GetText() + run.start, run.length);
        const wchar_t* wide = text.GetWide();
        std::unique_ptr<Gdiplus::StringFormat> format(viewFormat.Clone());
        if (!format)
            return;
        format->SetAlignment(ToStringAlignment(run.alignment));
        format->SetLineAlignment(Gdiplus::StringAlignmentNear);
        DrawRunText(graphics, dc, wide, static_cast<int>(wcslen(wide)), run.font, run.color, rect, *format);
    }
    if (run.link)
    {
        SString target;
        target.Assign(m_source.GetText() + run.start, run.length);
        m_linkTargets.Add(target.GetText());
        const RECT area = {static_cast<LONG>(rect.X), static_cast<LONG>(rect.Y),
                           static_cast<LONG>(rect.X + rect.Width), static_cast<LONG>(rect.Y + rect.Height)};
        m_linkRects.Add(area);
    }
}

void SMediaCtrl::PaintTagged(HDC dc, const RECT& inner)
{
    m_linkTargets.DeleteAndRemoveAll();
    m_linkRects.RemoveAll();
    Gdiplus::Graphics graphics(dc);
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    SetupStringFormat(format);
    float top = static_cast<float>(GetFirstLineTop(inner));
    const float originX = static_cast<float>(inner.left + m_offsetX);
    for (int i = 0; i < m_lines.GetCount() && top < inner.bottom; i++)
    {
        const _SLine* line = m_lines.GetAt(i);
        if (top + line->height >= 0)
        {
            for (int r = 0; r < line->runs.GetCount(); r++)
            {
                const _SText* run = line->runs.GetAt(r);
                const Gdiplus::RectF rect(originX + line->x + run->x, top + run->y, run->width, run->height + 1);
                PaintRun(graphics, dc, *run, rect, format);
            }
        }
        top += line->height;
    }
}
