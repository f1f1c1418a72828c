#include "SLabelCtrl.h"
#include "SGuards.h"
#include "SImage.h"

namespace
{
int HorizontalOf(int flags)
{
    if (flags & SLabelCtrl::ALIGN_LEFT)
        return SLabelCtrl::ALIGN_LEFT;
    if (flags & SLabelCtrl::ALIGN_RIGHT)
        return SLabelCtrl::ALIGN_RIGHT;
    return flags & SLabelCtrl::ALIGN_CENTER;
}

int VerticalOf(int flags)
{
    if (flags & SLabelCtrl::ALIGN_BOTTOM)
        return SLabelCtrl::ALIGN_BOTTOM;
    return flags & SLabelCtrl::ALIGN_VCENTER;
}

// Copies a GDI+ picture onto the context at (0, 0).
void BlitImage(const SImage& image, HDC dc)
{
    SGdiObjectGuard<HBITMAP> bitmap(image.GetHBITMAP());
    SMemoryDCGuard memory(dc);
    if (!bitmap.Get() || !memory.Get())
        return;
    SSelectGuard select(memory.Get(), bitmap.Get());
    BitBlt(dc, 0, 0, image.GetWidth(), image.GetHeight(), memory.Get(), 0, 0, SRCCOPY);
}
} // namespace

SLabelCtrl::SLabelCtrl()
    : m_textColor(GetSysColor(COLOR_WINDOWTEXT)), m_alignment(ALIGN_VCENTER), m_vertical(false)
{
    SetTypeId(STYPE_LABEL);
}

SLabelCtrl::~SLabelCtrl() = default;

bool SLabelCtrl::Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id, LPARAM param)
{
    return CreateChild(text, style, exStyle, rect, parent, id, param);
}

void SLabelCtrl::SetAlignment(int flags)
{
    if (flags == m_alignment)
        return;
    m_alignment = HorizontalOf(flags) | VerticalOf(flags);
    RedrawWindow();
}

void SLabelCtrl::SetHorizontalAlignment(int flag)
{
    if (flag && (m_alignment & flag))
        return;
    SetAlignment(flag | GetVerticalAlignment());
}

void SLabelCtrl::SetVerticalAlignment(int flag)
{
    if (flag && (m_alignment & flag))
        return;
    SetAlignment(flag | GetHorizontalAlignment());
}

int SLabelCtrl::GetHorizontalAlignment() const
{
    return HorizontalOf(m_alignment);
}

int SLabelCtrl::GetVerticalAlignment() const
{
    return VerticalOf(m_alignment);
}

void SLabelCtrl::SetVertical(bool vertical)
{
    if (vertical == m_vertical)
        return;
    m_vertical = vertical;
    RedrawWindow();
}

void SLabelCtrl::DrawTextInto(HDC dc, RECT rect) const
{
    UINT format = DT_SINGLELINE | DT_NOPREFIX;
    const int horizontal = GetHorizontalAlignment();
    if (horizontal == ALIGN_CENTER)
        format |= DT_CENTER;
    else if (horizontal == ALIGN_RIGHT)
        format |= DT_RIGHT;
    const int vertical = GetVerticalAlignment();
    if (vertical == ALIGN_VCENTER)
        format |= DT_VCENTER;
    else if (vertical == ALIGN_BOTTOM)
        format |= DT_BOTTOM;
    InflateRect(&rect, -2, -2);
    const SString text = GetWindowText();
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF color = ::SetTextColor(dc, m_textColor);
    SSelectGuard font(dc, GetFont());
    DrawTextA(dc, text.GetText(), text.GetLength(), &rect, format);
    ::SetTextColor(dc, color);
    SetBkMode(dc, mode);
}

// The target area turned a quarter, the text drawn on it level, and the result
// turned back: the text reads from bottom to top.
void SLabelCtrl::PaintTurned(HDC dc, int width, int height) const
{
    SImage image;
    if (!image.CaptureFromDC(dc, 0, 0, width, height) || !image.Rotate(1))
        return;
    SGdiObjectGuard<HBITMAP> turned(image.GetHBITMAP());
    SMemoryDCGuard memory(dc);
    if (!turned.Get() || !memory.Get())
        return;
    {
        SSelectGuard select(memory.Get(), turned.Get());
        const RECT rect = {0, 0, height, width};
        DrawTextInto(memory.Get(), rect);
    }
    if (!image.LoadBitmapHandle(turned.Get()) || !image.Rotate(3))
        return;
    BlitImage(image, dc);
}

void SLabelCtrl::Paint(HDC dc) const
{
    if (!dc || !m_handle)
        return;
    RECT client = {};
    GetClientRect(&client);
    if (m_vertical)
        PaintTurned(dc, client.right, client.bottom);
    else
        DrawTextInto(dc, client);
}

LRESULT SLabelCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    SMouseNotify::RelayToParent(this, SWM_LABEL_MOUSE, message, lParam);
    switch (message)
    {
    case SWM_CREATED:
        SetBackgroundColor(GetSysColor(COLOR_3DFACE));
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case WM_SETTEXT:
    {
        const LRESULT result = SWnd::WindowProc(message, wParam, lParam);
        RedrawWindow();
        return result;
    }
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
