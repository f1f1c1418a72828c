#include "SControlColor.h"
#include "SWnd.h"

HBRUSH SControlColor::MakeBrush(COLORREF background)
{
    Free();
    if (background == SWnd::COLOR_NONE)
        return nullptr;
    if (background == SWnd::COLOR_TRANSPARENT)
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    m_brush = CreateSolidBrush(Resolve(background));
    return m_brush;
}

HBRUSH SControlColor::MakeOpaqueBrush(COLORREF background)
{
    Free();
    if (background == SWnd::COLOR_NONE || background == SWnd::COLOR_TRANSPARENT)
        return nullptr;
    m_brush = CreateSolidBrush(Resolve(background));
    return m_brush;
}

void SControlColor::PrepareContext(HDC dc, COLORREF background)
{
    if (!dc || background == SWnd::COLOR_NONE)
        return;
    if (background == SWnd::COLOR_TRANSPARENT)
        SetBkMode(dc, TRANSPARENT);
    else
        SetBkColor(dc, Resolve(background));
}

void SControlColor::SetTextColor(HDC dc, DWORD argb)
{
    if (dc)
        ::SetTextColor(dc, ArgbToColorRef(argb));
}

void SControlColor::Free()
{
    if (m_brush)
        DeleteObject(m_brush);
    m_brush = nullptr;
}

COLORREF SControlColor::Resolve(COLORREF color)
{
    if ((color & 0xFF000000) == 0xFE000000)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

COLORREF SControlColor::ArgbToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

DWORD SControlColor::ColorRefToArgb(COLORREF color, BYTE alpha)
{
    return (static_cast<DWORD>(alpha) << 24) | (static_cast<DWORD>(GetRValue(color)) << 16) |
           (static_cast<DWORD>(GetGValue(color)) << 8) | GetBValue(color);
}
