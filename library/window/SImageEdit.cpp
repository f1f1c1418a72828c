// SImage: resizing, converting, rotating, filling and the pixel filters.
#include "SImage.h"
#include <memory>
#include <vector>
#include "SDrawing.h"
#include "SGuards.h"

using namespace Gdiplus;

namespace
{
bool IsRealColor(COLORREF color)
{
    return color != SImage::COLOR_NONE && color != SImage::COLOR_TRANSPARENT;
}

Color Opaque(COLORREF color)
{
    return Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}
} // namespace

// A new bitmap of that size and format with the picture drawn into it by mode.
bool SImage::RedrawInto(int width, int height, PixelFormat format, int mode, bool clear)
{
    if (!m_bitmap || width < 1 || height < 1)
        return false;
    std::unique_ptr<Bitmap> made(new Bitmap(width, height, format));
    if (made->GetLastStatus() != Ok)
        return false;
    {
        Graphics graphics(made.get());
        if (graphics.GetLastStatus() != Ok)
            return false;
        if (clear && IsRealColor(m_backgroundColor))
            graphics.Clear(Opaque(m_backgroundColor));
        const int saved = SetDrawMode(mode);
        const Rect all(0, 0, width, height);
        Draw(&graphics, &all, nullptr);
        m_drawMode = saved;
    }
    return Replace(made.release());
}

bool SImage::IsDrawableFormat(PixelFormat format)
{
    switch (format)
    {
    case PixelFormat16bppRGB555:
    case PixelFormat16bppRGB565:
    case PixelFormat24bppRGB:
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
    case PixelFormat48bppRGB:
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB:
        return true;
    default:
        return false;
    }
}

// Windows refuses to draw into the other formats; Wine draws, but into its
// own default palette, so a palette or grey picture would come back in the
// wrong colours.
bool SImage::MakeDrawable()
{
    if (!m_bitmap)
        return false;
    if (IsDrawableFormat(m_bitmap->GetPixelFormat()))
        return true;
    // Cloned whole: Wine's GDI+ misreads 1- and 4-bit rows from an offset
    // that does not start a byte.
    std::unique_ptr<Bitmap> converted(
        m_bitmap->Clone(Rect(0, 0, GetWidth(), GetHeight()), PixelFormat32bppARGB));
    if (!converted || converted->GetLastStatus() != Ok)
        return false;
    return Replace(converted.release());
}

// Drawn into the picture's own format once that is drawable.
bool SImage::RedrawResized(int width, int height, int mode)
{
    if (!m_bitmap || (width == GetWidth() && height == GetHeight()) || width < 1 || height < 1)
        return false;
    return MakeDrawable() && RedrawInto(width, height, m_bitmap->GetPixelFormat(), mode, false);
}

bool SImage::Resize(int width, int height)
{
    return RedrawResized(width, height, DRAW_STRETCH);
}

bool SImage::ResizeCentered(int width, int height)
{
    return RedrawResized(width, height, DRAW_CENTER);
}

bool SImage::ConvertFormat(PixelFormat format)
{
    return RedrawInto(GetWidth(), GetHeight(), format, DRAW_TOPLEFT, true);
}

bool SImage::Rotate(int quarterTurns)
{
    if (!m_bitmap || quarterTurns < 0)
        return false;
    static const RotateFlipType turns[4] = {RotateNoneFlipNone, Rotate90FlipNone,
                                            Rotate180FlipNone, Rotate270FlipNone};
    const int turn = quarterTurns % 4;
    return turn == 0 || m_bitmap->RotateFlip(turns[turn]) == Ok;
}

bool SImage::Clear(COLORREF color)
{
    if (!MakeDrawable())
        return false;
    Graphics graphics(m_bitmap);
    return graphics.GetLastStatus() == Ok && graphics.Clear(Opaque(color)) == Ok;
}

bool SImage::FillRectangle(const Rect* rect, ARGB color)
{
    if (!MakeDrawable())
        return false;
    const Rect area = rect ? *rect : Rect(0, 0, GetWidth(), GetHeight());
    Graphics graphics(m_bitmap);
    SolidBrush brush{Color(color)};
    return graphics.GetLastStatus() == Ok && graphics.FillRectangle(&brush, area) == Ok;
}

// GDI fills on a 32-bit copy of the picture; the filled pixels come back opaque.
// (Wine's GDI+ does not give GDI the bitmap's own pixels on its device context.)
bool SImage::FloodFill(int x, int y, COLORREF color)
{
    if (!m_bitmap || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return false;
    const int width = GetWidth(), height = GetHeight();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    DWORD* bits = nullptr;
    SGdiObjectGuard<HBITMAP> dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS,
                                                  reinterpret_cast<void**>(&bits), nullptr, 0));
    SMemoryDCGuard dc(nullptr);
    if (!dib.Get() || !bits || !dc.Get() || !GetPixels(bits, PixelFormat32bppARGB))
        return false;
    const std::vector<DWORD> before(bits, bits + static_cast<size_t>(width) * height);
    // GDI compares whole pixel values: the alpha bytes would stop the fill.
    for (size_t i = 0; i < before.size(); i++)
        bits[i] &= 0xFFFFFF;
    bool filled = false;
    {
        SSelectGuard selectBitmap(dc.Get(), dib.Get());
        SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(color & 0xFFFFFF));
        SSelectGuard selectBrush(dc.Get(), brush.Get());
        const COLORREF surface = ::GetPixel(dc.Get(), x, y);
        filled = surface != CLR_INVALID && ExtFloodFill(dc.Get(), x, y, surface, FLOODFILLSURFACE);
    }
    GdiFlush();
    if (!filled)
        return false;
    for (size_t i = 0; i < before.size(); i++)
        bits[i] = bits[i] == (before[i] & 0xFFFFFF) ? before[i] : (bits[i] | 0xFF000000);
    return WritePixels(bits, PixelFormat32bppARGB);
}

template <class Visitor>
bool SImage::ForEachPixel(const Rect* rect, int minimumBits, Visitor visit)
{
    const int bits = GetBitsPerPixel();
    if (!m_bitmap || bits < minimumBits || bits > 32)
        return false;
    Rect area = rect ? *rect : Rect(0, 0, GetWidth(), GetHeight());
    if (!area.Intersect(Rect(0, 0, GetWidth(), GetHeight())) || area.IsEmptyArea())
        return false;
    BitmapData data;
    if (m_bitmap->LockBits(&area, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppARGB,
                           &data) != Ok)
        return false;
    for (int y = 0; y < area.Height; y++)
    {
        ARGB* row = reinterpret_cast<ARGB*>(static_cast<BYTE*>(data.Scan0) +
                                            static_cast<ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < area.Width; x++)
            visit(row[x]);
    }
    return m_bitmap->UnlockBits(&data) == Ok;
}

bool SImage::SetAlpha(BYTE alpha, const Rect* rect, bool lowerOnly)
{
    if (GetBitsPerPixel() != 32)
        return false;
    const ARGB value = static_cast<ARGB>(alpha) << 24;
    return ForEachPixel(rect, 32, [=](ARGB& pixel) {
        if (!lowerOnly || (pixel >> 24) > alpha)
            pixel = (pixel & 0x00FFFFFF) | value;
    });
}

bool SImage::ToGrayscale(const Rect* rect)
{
    if (GetBitsPerPixel() != 24 && GetBitsPerPixel() != 32)
        return false;
    return ForEachPixel(rect, 24, [](ARGB& pixel) {
        const COLORREF grey = ColorToGray(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
        pixel = (pixel & 0xFF000000) | (static_cast<ARGB>(GetRValue(grey)) << 16) |
                (static_cast<ARGB>(GetGValue(grey)) << 8) | GetBValue(grey);
    });
}

bool SImage::MakeOpaqueWhite()
{
    if (GetBitsPerPixel() != 32)
        return false;
    return ForEachPixel(nullptr, 32, [](ARGB& pixel) {
        if ((pixel >> 24) < 255)
            pixel = 0xFFFFFFFF;
    });
}
