// Painting of the image editor: the hatched ground, the visible part of the
// picture at the zoom, and the dotted outline of the selection.
#include "SPaintCtrl.h"
#include "SGuards.h"

void SPaintCtrl::Paint(HDC dc)
{
    if (!dc || !m_handle)
        return;
    const SIZE client = GetClientSize();
    const RECT place = GetPictureRect();
    {
        Gdiplus::Graphics graphics(dc);
        graphics.FillRectangle(m_hatch.get(), 0, 0, client.cx, client.cy);
        if (!m_picture.IsLoaded() || IsRectEmpty(&place))
            return;
        // The source origin is the scroll position at the picture's scale: the
        // same mapping as ScreenToPixel, at every zoom.
        const Gdiplus::RectF destination(static_cast<Gdiplus::REAL>(place.left), static_cast<Gdiplus::REAL>(place.top),
                                         static_cast<Gdiplus::REAL>(place.right - place.left),
                                         static_cast<Gdiplus::REAL>(place.bottom - place.top));
        const Gdiplus::REAL zoom = static_cast<Gdiplus::REAL>(m_zoom);
        Gdiplus::ImageAttributes attributes;
        attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics.DrawImage(m_picture.GetBitmap(), destination, m_scrollX / zoom, m_scrollY / zoom,
                           destination.Width / zoom, destination.Height / zoom, Gdiplus::UnitPixel, &attributes);
    }
    PaintSelection(dc, place);
}

void SPaintCtrl::PaintSelection(HDC dc, const RECT& place) const
{
    if (!HasSelection())
        return;
    POINT points[4];
    for (int i = 0; i < 4; i++)
        points[i] = POINT{place.left + static_cast<LONG>(m_outline[i].x * m_zoom) - m_scrollX,
                          place.top + static_cast<LONG>(m_outline[i].y * m_zoom) - m_scrollY};
    SGdiObjectGuard<HPEN> pen(CreatePen(PS_DOT, 0, RGB(0, 0, 0)));
    SSelectGuard selectPen(dc, pen.Get());
    SSelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
    const int previous = SetROP2(dc, R2_NOTXORPEN);
    Polygon(dc, points, 4);
    SetROP2(dc, previous);
}
