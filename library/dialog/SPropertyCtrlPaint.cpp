// SPropertyCtrl: painting with GDI+ (gradient headers and value cells, swatches,
// value texts and the current item's buttons).
#include "SPropertyCtrl.h"
#include "SControlColor.h"
#include "SDrawing.h"

namespace
{
const char MIXED_TEXT[] = "[...]";

Gdiplus::Rect ToRect(const RECT& r)
{
    return Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

SString FontText(const SPropertyCtrl::_SItem* item)
{
    SString text = item->fontFace;
    text += ", ";
    text += IntToString(item->fontSize).GetText();
    text += " ";
    static const struct { int bit; const char* letter; } STYLES[] = {
        {SFONT_BOLD, "B."}, {SFONT_ITALIC, "I."}, {SFONT_UNDERLINE, "U."}, {SFONT_STRIKEOUT, "S."}};
    for (const auto& style : STYLES)
        if (item->fontStyle & style.bit)
            text += style.letter;
    return text;
}
} // namespace

int SPropertyCtrl::GetButtonImages(int kind, int images[3])
{
    switch (kind)
    {
    case KIND_BOOL: images[0] = 0; return 1;
    case KIND_COLOR: images[0] = 4; images[1] = 3; images[2] = 2; return 3;
    case KIND_TEXT:
    case KIND_INTEGER:
    case KIND_REAL: images[0] = 5; return 1;
    case KIND_FONT: images[0] = 4; images[1] = 2; return 2;
    case KIND_CHOICE: images[0] = 1; return 1;
    default: return 0;
    }
}

SString SPropertyCtrl::GetDisplayText(const _SItem* item) const
{
    if (!item)
        return SString("");
    if (item->mixed)
        return SString(MIXED_TEXT);
    switch (item->kind)
    {
    case KIND_BOOL:
        return m_words.GetAt(item->boolValue ? 1 : 0);
    case KIND_COLOR:
        if (item->color == COLOR_NONE)
            return m_words.GetAt(2);
        if ((item->color & 0xFF000000) == 0xFE000000)
            return m_identifiants.GetColorName(static_cast<int>(item->color & 0xFFFFFF));
        return SString().Format("%u, %u, %u", static_cast<unsigned>(GetRValue(item->color)),
                                static_cast<unsigned>(GetGValue(item->color)),
                                static_cast<unsigned>(GetBValue(item->color)));
    case KIND_FONT:
        return item->fontFace.GetLength() == 0 ? m_words.GetAt(2) : FontText(item);
    case KIND_CHOICE:
        return item->GetChoiceText(item->GetCurrentChoice());
    default:
        return item->text;
    }
}

void SPropertyCtrl::Paint(HDC dc)
{
    if (!dc || !m_handle)
        return;
    const int width = GetClientWidth(), height = GetClientHeight();
    Gdiplus::Graphics graphics(dc);
    graphics.FillRectangle(&m_backgroundBrush, 0, 0, width, height);
    const int first = GetVScrollPos();
    int row = 0;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        const _SGroup* group = m_groups.GetAt(g);
        const int shown = group->expanded ? group->items.GetCount() : 0;
        if (row + shown < first)
        {
            row += shown + 1;
            continue;
        }
        if (row >= first)
            PaintHeader(graphics, group, (row - first) * m_rowHeight, width);
        row++;
        for (int i = 0; i < shown; i++, row++)
            if (row >= first)
                PaintItem(graphics, group->items.GetAt(i), row, (row - first) * m_rowHeight, width, i == shown - 1);
        if ((row - first) * m_rowHeight >= height)
            break;
    }
}

void SPropertyCtrl::PaintText(Gdiplus::Graphics& graphics, const char* text, Gdiplus::Font* font,
                              const RECT& rect, Gdiplus::Brush* brush)
{
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    DrawStringOnGraphics(&graphics, text, font, &rect, &format, brush, nullptr, nullptr);
}

void SPropertyCtrl::PaintHeader(Gdiplus::Graphics& graphics, const _SGroup* group, int top, int width)
{
    const RECT row = {0, top, width, top + m_rowHeight};
    DrawGradientRectOnGraphics(&graphics, ToRect(row), m_headerStart, m_headerEnd, false);
    PaintText(graphics, group->caption.GetText(), m_boldFont.get(), row, &m_groupTextBrush);
    const RECT toggle = {width - TOGGLE_WIDTH, top, width, top + m_rowHeight};
    m_images[group->expanded ? 6 : 7].DrawToRect(&graphics, toggle);
}

void SPropertyCtrl::PaintItem(Gdiplus::Graphics& graphics, const _SItem* item, int row, int top, int width,
                              bool last)
{
    const bool current = row == m_currentRow;
    graphics.FillRectangle(current ? &m_selectionBrush : &m_nameBrush, 0, top, m_nameWidth, m_rowHeight);
    const RECT value = {m_nameWidth, top, width, top + m_rowHeight};
    DrawGradientRectOnGraphics(&graphics, ToRect(value), m_valueStart, m_valueEnd, false);
    graphics.DrawRectangle(&m_shadowPen, 0, top, width - 1, last ? m_rowHeight - 1 : m_rowHeight);
    graphics.DrawLine(&m_shadowPen, m_nameWidth, top, m_nameWidth, top + m_rowHeight);
    const RECT name = {2, top + 2, m_nameWidth - 2, top + m_rowHeight - 2};
    PaintText(graphics, item->caption.GetText(), m_font.get(), name,
              current ? &m_selectionTextBrush : &m_textBrush);
    RECT cell = value;
    InflateRect(&cell, -2, -2);
    PaintValue(graphics, item, cell);
    if (current)
        PaintButtons(graphics, item, row);
}

void SPropertyCtrl::PaintValue(Gdiplus::Graphics& graphics, const _SItem* item, const RECT& cell)
{
    RECT text = cell;
    if (item->kind == KIND_COLOR && !item->mixed)
    {
        const RECT swatch = {cell.left, cell.top, cell.left + (cell.bottom - cell.top), cell.bottom};
        PaintSwatch(graphics, item->color, swatch);
        text.left = swatch.right + 2;
    }
    PaintText(graphics, GetDisplayText(item).GetText(), m_font.get(), text, &m_textBrush);
}

void SPropertyCtrl::PaintSwatch(Gdiplus::Graphics& graphics, COLORREF color, const RECT& swatch)
{
    const int left = swatch.left, top = swatch.top;
    const int w = swatch.right - left - 1, h = swatch.bottom - top - 1;
    if (color == COLOR_NONE)
    {
        graphics.DrawRectangle(&m_shadowPen, left, top, w, h);
        graphics.DrawLine(&m_shadowPen, left, top, left + w, top + h);
        graphics.DrawLine(&m_shadowPen, left, top + h, left + w, top);
        return;
    }
    Gdiplus::SolidBrush brush(Gdiplus::Color(SControlColor::ColorRefToArgb(SControlColor::Resolve(color))));
    graphics.FillRectangle(&brush, ToRect(swatch));
}

void SPropertyCtrl::PaintButtons(Gdiplus::Graphics& graphics, const _SItem* item, int row)
{
    int images[3] = {};
    const int count = GetButtonImages(item->kind, images);
    for (int n = 0; n < count; n++)
    {
        RECT button = {};
        if (GetButtonRect(row, n, &button))
            m_images[images[n]].DrawToRect(&graphics, button);
    }
}
