// A 32-bit top-down memory DIB with a device context and a GDI+ graphics on
// it: pictures are drawn into it and single pixels read back.
#pragma once
#include <algorithm>
#include <initializer_list>
#include <memory>
#include <utility>
#include "SGuards.h"
#include "SImage.h"

class ImageCanvas
{
public:
    ImageCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255))
        : width(width), height(height), dc(nullptr)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dib.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits),
                                   nullptr, 0));
        dc.reset(new SMemoryDCGuard(nullptr));
        previous = SelectObject(dc->Get(), dib.Get());
        Fill(fill);
    }
    ~ImageCanvas() { SelectObject(dc->Get(), previous); }

    HDC GetDC() const { return dc->Get(); }
    void Fill(COLORREF color)
    {
        for (int i = 0; i < width * height; i++)
            bits[i] = RGB(GetBValue(color), GetGValue(color), GetRValue(color));
    }
    // Draws through a GDI+ graphics made and flushed for the call.
    bool Draw(const SImage& image, int x, int y, int w, int h)
    {
        Gdiplus::Rect to(x, y, w, h);
        bool done;
        {
            Gdiplus::Graphics graphics(dc->Get());
            done = image.Draw(&graphics, &to, nullptr);
        }
        GdiFlush();
        return done;
    }
    // The pixel as a COLORREF.
    COLORREF At(int x, int y) const
    {
        const DWORD v = bits[y * width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // The smallest rectangle holding every pixel of that colour (empty when none).
    RECT BoundsOf(COLORREF color) const
    {
        RECT box = {width, height, 0, 0};
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                if (At(x, y) == color)
                {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }

    const int width, height;

private:
    SGdiObjectGuard<HBITMAP> dib;
    DWORD* bits = nullptr;
    std::unique_ptr<SMemoryDCGuard> dc;
    HGDIOBJ previous = nullptr;
};

// A picture of vertical bands, each (width, ARGB colour), height rows high.
inline void MakeBands(SImage& image, int height, std::initializer_list<std::pair<int, Gdiplus::ARGB>> bands)
{
    int width = 0;
    for (const auto& band : bands)
        width += band.first;
    image.Create(width, height, PixelFormat32bppARGB);
    int x = 0;
    for (const auto& band : bands)
    {
        const Gdiplus::Rect part(x, 0, band.first, height);
        image.FillRectangle(&part, band.second);
        x += band.first;
    }
}

const Gdiplus::ARGB ARGB_RED = 0xFFFF0000;
const Gdiplus::ARGB ARGB_GREEN = 0xFF00FF00;
const Gdiplus::ARGB ARGB_BLUE = 0xFF0000FF;
const COLORREF C_RED = RGB(255, 0, 0);
const COLORREF C_GREEN = RGB(0, 255, 0);
const COLORREF C_BLUE = RGB(0, 0, 255);
const COLORREF C_WHITE = RGB(255, 255, 255);
