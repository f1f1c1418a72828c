// A 32-bit top-down DIB selected into a memory context and filled with one
// colour: paints are sent into it and pixels read back from it.
#pragma once
#include "SGuards.h"

class MemoryDib
{
public:
    MemoryDib(int width, int height, COLORREF fill) : m_dc(nullptr)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_dib.Reset(CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_previous = SelectObject(m_dc.Get(), m_dib.Get());
        const RECT all = {0, 0, width, height};
        SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(fill));
        FillRect(m_dc.Get(), &all, brush.Get());
    }
    ~MemoryDib() { SelectObject(m_dc.Get(), m_previous); }
    bool IsMade() const { return m_dc.Get() && m_dib.Get(); }
    HDC GetDC() const { return m_dc.Get(); }
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        return GetPixel(m_dc.Get(), x, y);
    }

private:
    SMemoryDCGuard m_dc;
    SGdiObjectGuard<HBITMAP> m_dib;
    HGDIOBJ m_previous;
};
