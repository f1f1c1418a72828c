// Painting of the button panel: gradient headers, pictures or swatches,
// checked and hovered frames, greyed disabled pictures.
#include "SPanelCtrl.h"
#include <gdiplus.h>
#include "SDrawing.h"
#include "SGuards.h"
#include "SImage.h"

namespace
{
COLORREF Blend(COLORREF a, COLORREF b, int percentOfB)
{
    const int p = percentOfB, q = 100 - percentOfB;
    return RGB((GetRValue(a) * q + GetRValue(b) * p) / 100, (GetGValue(a) * q + GetGValue(b) * p) / 100,
               (GetBValue(a) * q + GetBValue(b) * p) / 100);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(color));
    FillRect(dc, &rect, brush.Get());
}
} // namespace

void SPanelCtrl::Paint(HDC dc)
{
    if (!dc)
        return;
    SGdiObjectGuard<HPEN> pen(CreatePen(PS_SOLID, 1, m_highlight));
    SSelectGuard font(dc, m_boldFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_highlightText);
    for (int g = 0; g < m_groups.GetCount(); g++)
        PaintGroup(dc, m_groups.GetAt(g), pen.Get());
}

void SPanelCtrl::PaintGroup(HDC dc, const _SGroup* group, HPEN pen)
{
    PaintHeader(dc, group);
    for (int i = 0; i < group->buttons.GetCount(); i++)
    {
        const _SButton* b = group->buttons.GetAt(i);
        if (b->separator)
        {
            const int x = b->x + SEPARATOR_WIDTH / 2;
            DrawLineWithPen(dc, x, b->y + 4, x, b->y + 20, pen);
        }
        else
            PaintButton(dc, group, b, pen);
    }
}

void SPanelCtrl::PaintHeader(HDC dc, const _SGroup* group)
{
    // Highlight fading into the shadow colour, left to right.
    DrawGradientRect(dc, &group->header, m_highlight, Blend(m_highlight, m_shadow, 60), false);
    SString text = group->title;
    RECT place = group->header;
    InflateRect(&place, -1, -1);
    if (m_hoverGroup == group->id)
    {
        const _SButton* hovered = group->FindButton(m_hoverButton);
        if (hovered)
        {
            text = hovered->text;
            place.left = group->header.left + LEFT_INDENT;
        }
    }
    DrawTextA(dc, text.GetText(), text.GetLength(), &place, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void SPanelCtrl::PaintButton(HDC dc, const _SGroup* group, const _SButton* b, HPEN pen)
{
    const bool hovered = b->enabled && m_hoverGroup == group->id && m_hoverButton == b->id;
    const bool pressed = hovered && m_pressedGroup == group->id && m_pressedButton == b->id;
    const bool framed = b->enabled && (b->checked || hovered);
    RECT frame = {b->x + 1, b->y + 1, b->x + b->width - 2, b->y + b->height - 2};
    if (framed)
        FillSolid(dc, frame, m_window);
    // A hovered button that is not pressed rises by one pixel.
    const int lift = hovered && !pressed ? 1 : 0;
    PaintPicture(dc, group, b, b->x + 4 - lift, b->y + 4 - lift);
    if (framed)
        DrawRectOutline(dc, &frame, pen);
}

void SPanelCtrl::PaintPicture(HDC dc, const _SGroup* group, const _SButton* b, int x, int y)
{
    if (b->color != COLOR_NONE)
    {
        const RECT swatch = {x, y, x + b->width - 8, y + b->height - 8};
        FillSolid(dc, swatch, b->enabled ? b->color : ColorToGray(b->color));
        return;
    }
    if (!group->pictures.GetHandle() || b->picture >= ImageList_GetImageCount(group->pictures.GetHandle()))
        return;
    if (b->enabled)
    {
        ImageList_Draw(group->pictures.GetHandle(), b->picture, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    // Disabled: the picture in grey at half strength, drawn through a work picture.
    SImage work;
    if (!work.LoadFromImageList(group->pictures.GetHandle(), b->picture))
        return;
    work.ConvertFormat(PixelFormat32bppARGB);
    work.ToGrayscale();
    work.SetAlpha(110, nullptr, true);
    Gdiplus::Graphics graphics(dc);
    work.DrawAt(&graphics, x, y);
}
