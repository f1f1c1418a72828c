// SImage: pixels in and out, regions from pictures, pictures from colour arrays.
#include "SImage.h"
#include <cstring>
#include <vector>
#include "SGuards.h"

using namespace Gdiplus;

namespace
{
int BytesPerRow(int width, PixelFormat format)
{
    const int bits = GetPixelFormatSize(format);
    return bits > 0 ? static_cast<int>((static_cast<long long>(width) * bits + 7) / 8) : 0;
}
} // namespace

int SImage::GetPixelsSize(PixelFormat format) const
{
    if (!m_bitmap)
        return 0;
    const long long size = static_cast<long long>(BytesPerRow(GetWidth(), format)) * GetHeight();
    return size > 0x7FFFFFFF ? 0 : static_cast<int>(size);
}

unsigned char* SImage::GetPixels(void* buffer, PixelFormat format) const
{
    const int size = GetPixelsSize(format);
    if (size <= 0)
        return nullptr;
    const int width = GetWidth(), height = GetHeight();
    const int row = BytesPerRow(width, format);
    Rect all(0, 0, width, height);
    BitmapData data;
    if (m_bitmap->LockBits(&all, ImageLockModeRead, format, &data) != Ok)
        return nullptr;
    // Sized by the format asked for: 48- and 64-bit rows are wider than 4 bytes a pixel.
    unsigned char* out = buffer ? static_cast<unsigned char*>(buffer) : new unsigned char[size];
    for (int y = 0; y < height; y++)
        memcpy(out + static_cast<size_t>(y) * row,
               static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride, row);
    m_bitmap->UnlockBits(&data);
    return out;
}

bool SImage::WritePixels(const void* buffer, PixelFormat format)
{
    if (!buffer || !MakeDrawable())
        return false;
    const int width = GetWidth(), height = GetHeight();
    Rect all(0, 0, width, height);
    BitmapData data;
    if (m_bitmap->LockBits(&all, ImageLockModeWrite, format, &data) != Ok)
        return false;
    const size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; y++)
        memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
               static_cast<const BYTE*>(buffer) + y * row, row);
    return m_bitmap->UnlockBits(&data) == Ok;
}

bool SImage::SetPixels(const void* buffer)
{
    return WritePixels(buffer, PixelFormat32bppRGB);
}

bool SImage::SetPixel(int x, int y, ARGB color)
{
    return MakeDrawable() && m_bitmap->SetPixel(x, y, Color(color)) == Ok;
}

bool SImage::GetPixel(int x, int y, ARGB* color) const
{
    Color value;
    if (!m_bitmap || !color || m_bitmap->GetPixel(x, y, &value) != Ok)
        return false;
    *color = value.GetValue();
    return true;
}

HRGN SImage::CreateRegion(COLORREF color) const
{
    SGdiObjectGuard<HBITMAP> bitmap(GetHBITMAP());
    return bitmap.Get() ? RegionFromBitmap(bitmap.Get(), color, 0) : nullptr;
}

namespace
{
// Collects one-row rectangles and joins them to the result every 2000.
class RegionBuilder
{
public:
    RegionBuilder() : m_result(CreateRectRgn(0, 0, 0, 0)) {}
    ~RegionBuilder() { if (m_result) DeleteObject(m_result); }
    void Add(int left, int top, int right)
    {
        m_rects.push_back(RECT{left, top, right, top + 1});
        if (m_rects.size() >= 2000)
            Flush();
    }
    HRGN Finish()
    {
        Flush();
        HRGN result = m_result;
        m_result = nullptr;
        return result;
    }

private:
    void Flush()
    {
        if (m_rects.empty() || !m_result)
            return;
        const size_t bytes = sizeof(RGNDATAHEADER) + m_rects.size() * sizeof(RECT);
        std::vector<BYTE> block(bytes);
        RGNDATA* data = reinterpret_cast<RGNDATA*>(block.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = static_cast<DWORD>(m_rects.size());
        data->rdh.nRgnSize = static_cast<DWORD>(m_rects.size() * sizeof(RECT));
        SetRectEmpty(&data->rdh.rcBound);
        for (const RECT& r : m_rects)
            UnionRect(&data->rdh.rcBound, &data->rdh.rcBound, &r);
        memcpy(data->Buffer, m_rects.data(), m_rects.size() * sizeof(RECT));
        SGdiObjectGuard<HRGN> part(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), data));
        if (part.Get())
            CombineRgn(m_result, m_result, part.Get(), RGN_OR);
        m_rects.clear();
    }

    HRGN m_result;
    std::vector<RECT> m_rects;
};

bool InRange(int value, int low, int tolerance)
{
    return value >= low && value <= std::min(low + tolerance, 255);
}
} // namespace

HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF color, COLORREF tolerance)
{
    BITMAP info = {};
    if (!bitmap || !GetObject(bitmap, sizeof(info), &info) || info.bmWidth < 1 || info.bmHeight < 1)
        return nullptr;
    const int width = info.bmWidth, height = info.bmHeight;
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = height; // bottom-up
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    SGdiObjectGuard<HBITMAP> dib(CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    SMemoryDCGuard target(nullptr), source(nullptr);
    if (!dib.Get() || !bits || !target.Get() || !source.Get())
        return nullptr;
    {
        SSelectGuard selectTarget(target.Get(), dib.Get());
        SSelectGuard selectSource(source.Get(), bitmap);
        BitBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    const int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    const int tr = GetRValue(tolerance), tg = GetGValue(tolerance), tb = GetBValue(tolerance);
    RegionBuilder builder;
    for (int y = 0; y < height; y++)
    {
        const BYTE* row = static_cast<const BYTE*>(bits) + static_cast<size_t>(height - 1 - y) * width * 4;
        int x = 0;
        while (x < width)
        {
            const int start = x;
            while (x < width && !(InRange(row[x * 4 + 2], red, tr) && InRange(row[x * 4 + 1], green, tg) &&
                                  InRange(row[x * 4], blue, tb)))
                x++;
            if (x > start)
                builder.Add(start, y, x);
            else
                x++;
        }
    }
    return builder.Finish();
}

void LoadImageFromPixelArray(SImage* image, const ARGB* colors, int width, int height)
{
    if (!image || !colors || !image->Create(width, height, PixelFormat32bppARGB))
        return;
    image->SetDrawMode(SImage::DRAW_CENTER);
    image->SetBackgroundColor(SImage::COLOR_NONE);
    for (int i = 0; i < width * height; i++)
        image->SetPixel(i % width, i / width, colors[i]);
}
