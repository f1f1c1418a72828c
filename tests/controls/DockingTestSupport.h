// For the tab strip, docking bar and image editor tests: a parent window that
// records what its controls ask and answers as told, and a 32-bit memory DIB
// that paints are sent into and pixels read back from.
#pragma once
#include <map>
#include <vector>
#include "SGuards.h"
#include "SWnd.h"

class AnsweringParent : public SWnd
{
public:
    struct Asked
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::map<UINT, LRESULT> answers;
    std::vector<Asked> asked;

    AnsweringParent(int width = 500, int height = 400)
    {
        const RECT r = {0, 0, width, height};
        Create("Docking", WS_POPUP | WS_VISIBLE, 0, &r, nullptr);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= SWM_CHANGED && message < SWM_CONTROL_BASE + 1000 && message != SWM_MENUCOMMAND)
        {
            asked.push_back({message, wParam, lParam});
            const auto answer = answers.find(message);
            if (answer != answers.end())
                return answer->second;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }
    int Count(UINT message) const
    {
        int n = 0;
        for (const Asked& a : asked)
            n += a.message == message;
        return n;
    }
};

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
