// SImage: drawing by the twelve draw modes, with colour key and background fill.
#include "SImage.h"
#include <algorithm>
#include <memory>
#include "SDrawing.h"

using namespace Gdiplus;

namespace
{
// 0xFE000000 + n names the system colour n.
COLORREF ResolveColor(COLORREF color)
{
    if ((color & 0xFF000000) == 0xFE000000)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

bool IsRealColor(COLORREF color)
{
    return color != SImage::COLOR_NONE && color != SImage::COLOR_TRANSPARENT;
}

Color OpaqueColor(COLORREF color)
{
    color = ResolveColor(color);
    return Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}

void ApplyColorKey(ImageAttributes& attributes, COLORREF key)
{
    if (key != SImage::COLOR_NONE)
        attributes.SetColorKey(OpaqueColor(key), OpaqueColor(key));
}
} // namespace

Rect SImage::PlaceAligned(int mode, const Rect& destination, int width, int height)
{
    const int left = destination.X, top = destination.Y;
    const int right = left + destination.Width, bottom = top + destination.Height;
    int x = left, y = top;
    switch (mode)
    {
    case DRAW_TOP: case DRAW_BOTTOM: case DRAW_CENTER:
        x = (left + right) / 2 - width / 2;
        break;
    case DRAW_TOPRIGHT: case DRAW_RIGHT: case DRAW_BOTTOMRIGHT:
        x = right - width;
        break;
    default:
        break;
    }
    switch (mode)
    {
    case DRAW_LEFT: case DRAW_RIGHT: case DRAW_CENTER:
        y = (top + bottom) / 2 - height / 2;
        break;
    case DRAW_BOTTOMLEFT: case DRAW_BOTTOM: case DRAW_BOTTOMRIGHT:
        y = bottom - height;
        break;
    default:
        break;
    }
    return Rect(x, y, width, height);
}

bool SImage::Draw(Graphics* graphics, const Rect* destination, const Rect* source) const
{
    if (!m_bitmap || !graphics)
        return false;
    const Rect own(0, 0, GetWidth(), GetHeight());
    const Rect to = destination ? *destination : own;
    const Rect from = source ? *source : own;
    ImageAttributes attributes;
    ApplyColorKey(attributes, m_transparentColor);
    Rect drawn = to;
    bool done = true;
    switch (m_drawMode)
    {
    case DRAW_STRETCH:
        return graphics->DrawImage(m_bitmap, to, from.X, from.Y, from.Width, from.Height, UnitPixel,
                                   &attributes) == Ok;
    case DRAW_TILE:
        return DrawTiled(graphics, to, from);
    case DRAW_FIT:
    {
        const RECT fit = FitRectKeepingAspect(to.X, to.Y, to.X + to.Width, to.Y + to.Height,
                                              from.Width, from.Height);
        drawn = Rect(fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top);
        done = graphics->DrawImage(m_bitmap, drawn, from.X, from.Y, from.Width, from.Height,
                                   UnitPixel, &attributes) == Ok;
        break;
    }
    default:
        drawn = PlaceAligned(m_drawMode, to, from.Width, from.Height);
        done = DrawPlaced(graphics, to, from, &attributes);
        break;
    }
    FillAround(graphics, to, drawn);
    return done;
}

// Modes 0-8: the placed picture cut to the destination, drawn 1:1.
bool SImage::DrawPlaced(Graphics* graphics, const Rect& destination, const Rect& source,
                        ImageAttributes* attributes) const
{
    const Rect placed = PlaceAligned(m_drawMode, destination, source.Width, source.Height);
    int x = placed.X, y = placed.Y, width = placed.Width, height = placed.Height;
    int sourceX = source.X, sourceY = source.Y;
    if (x < destination.X)
    {
        sourceX += destination.X - x;
        width -= destination.X - x;
        x = destination.X;
    }
    if (y < destination.Y)
    {
        sourceY += destination.Y - y;
        height -= destination.Y - y;
        y = destination.Y;
    }
    width = std::min(width, destination.X + destination.Width - x);
    height = std::min(height, destination.Y + destination.Height - y);
    if (width <= 0 || height <= 0)
        return true;
    return graphics->DrawImage(m_bitmap, Rect(x, y, width, height), sourceX, sourceY, width,
                               height, UnitPixel, attributes) == Ok;
}

// Mode 10: a copy of the source part repeated from the destination's corner.
bool SImage::DrawTiled(Graphics* graphics, const Rect& destination, const Rect& source) const
{
    std::unique_ptr<Bitmap> tile(m_bitmap->Clone(source, m_bitmap->GetPixelFormat()));
    if (!tile || tile->GetLastStatus() != Ok)
        return false;
    ImageAttributes attributes;
    attributes.SetWrapMode(WrapModeTile);
    ApplyColorKey(attributes, m_transparentColor);
    return graphics->DrawImage(tile.get(), destination, 0, 0, destination.Width,
                               destination.Height, UnitPixel, &attributes) == Ok;
}

// The background colour around the drawn picture, inside the destination.
void SImage::FillAround(Graphics* graphics, const Rect& destination, const Rect& drawn) const
{
    if (!IsRealColor(m_backgroundColor))
        return;
    Region saved;
    graphics->GetClip(&saved);
    graphics->ExcludeClip(drawn);
    SolidBrush brush(OpaqueColor(m_backgroundColor));
    graphics->FillRectangle(&brush, destination);
    graphics->SetClip(&saved);
}

bool SImage::DrawToRect(Graphics* graphics, RECT destination, const Rect* source) const
{
    const Rect to(destination.left, destination.top, destination.right - destination.left,
                  destination.bottom - destination.top);
    return Draw(graphics, &to, source);
}

bool SImage::DrawAt(Graphics* graphics, int x, int y) const
{
    if (!m_bitmap || !graphics)
        return false;
    ImageAttributes attributes;
    ApplyColorKey(attributes, m_transparentColor);
    return graphics->DrawImage(m_bitmap, Rect(x, y, GetWidth(), GetHeight()), 0, 0, GetWidth(),
                               GetHeight(), UnitPixel, &attributes) == Ok;
}
