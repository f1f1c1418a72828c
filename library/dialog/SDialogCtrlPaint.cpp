#include "SDialogCtrl.h"
#include "SControlColor.h"
#include "SMemory.h"

namespace
{
// WM_PRINT flags a preview prints itself with: non-client, client, background, children.
const DWORD PREVIEW_PRINT_FLAGS = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN;
} // namespace

void SDialogCtrl::PaintSurface(HDC dc)
{
    if (!dc)
        return;
    FillRect(dc, &m_designArea, m_brushes[SURFACE_WORKSPACE].Get());
    if (!m_dialog)
        return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, m_designArea.left, m_designArea.top, m_designArea.right, m_designArea.bottom);
    const RECT page = DesignToClient(m_dialog->GetRect());
    PaintPage(dc, page);
    if (m_gridShown)
        PaintGrid(dc, page);
    for (int i = 0; i < GetElementCount(); i++)
    {
        if (!IsElementHidden(GetElement(i)))
            PaintElement(dc, GetElement(i));
    }
    if (HasFocus())
        PaintSelection(dc);
    RestoreDC(dc, saved);
}

void SDialogCtrl::PaintPage(HDC dc, const RECT& page)
{
    COLORREF color = m_dialog->GetBackColor();
    if (m_dialog->IsTransparent())
        color = GetBackgroundColor();
    else if (color == DIALOG_DEFAULT_COLOR)
        color = GetSysColor(COLOR_3DFACE);
    color = SControlColor::Resolve(color);
    // A transparent page on a surface without a colour of its own shows the workspace.
    if (color != COLOR_NONE && color != COLOR_TRANSPARENT)
    {
        SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(color));
        FillRect(dc, &page, brush.Get());
    }
    const SString name = m_dialog->GetValue("DIALOG_IMAGE");
    if (name != m_pageImageName.GetText())
    {
        // Loaded only when the name changed.
        m_pageImageName = name;
        m_pageImage.Release();
        SMemory stream;
        if (name.GetLength() > 0 && m_resource.Load(&stream, name.GetText()))
            m_pageImage.Load(&stream);
        m_pageImage.SetTransparentColor(m_pageImageColor);
    }
    if (!m_pageImage.IsLoaded())
        return;
    m_pageImage.SetDrawMode(m_dialog->GetValueDrawMode("DIALOG_IMAGEDRAWMODE"));
    Gdiplus::Graphics graphics(dc);
    m_pageImage.DrawToRect(&graphics, page);
}

void SDialogCtrl::PaintGrid(HDC dc, const RECT& page)
{
    RECT visible;
    if (!IntersectRect(&visible, &page, &m_designArea))
        return;
    const COLORREF dot = GetSysColor(COLOR_BTNTEXT);
    // Dots at the grid points of the page, only where they can be seen.
    const int firstX = page.left + (visible.left - page.left + m_gridX - 1) / m_gridX * m_gridX;
    const int firstY = page.top + (visible.top - page.top + m_gridY - 1) / m_gridY * m_gridY;
    for (int y = firstY; y < visible.bottom; y += m_gridY)
    {
        for (int x = firstX; x < visible.right; x += m_gridX)
            SetPixelV(dc, x, y, dot);
    }
}

void SDialogCtrl::PaintElement(HDC dc, _SCtrl* element)
{
    const RECT r = DesignToClient(element->GetRect());
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    SWnd* live = element->GetLiveControl();
    if (!live || !live->GetHandle() || width <= 0 || height <= 0)
    {
        // Nothing to print: the element's place is framed.
        SGdiObjectGuard<HBRUSH> frame(CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME)));
        FrameRect(dc, &r, frame.Get());
        return;
    }
    // The preview stays hidden: it prints itself over a copy of what lies behind it.
    SMemoryDCGuard memory(dc);
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    SSelectGuard selected(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, dc, r.left, r.top, SRCCOPY);
    live->Print(memory.Get(), PREVIEW_PRINT_FLAGS);
    BitBlt(dc, r.left, r.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void SDialogCtrl::PaintSelection(HDC dc)
{
    HBRUSH brush = m_brushes[SURFACE_FOCUSED].Get();
    for (int i = 0; i < GetSelectedCount(); i++)
    {
        RECT r = DesignToClient(GetSelected(i)->GetRect());
        InflateRect(&r, 1, 1);
        FrameRect(dc, &r, brush);
    }
    if (_SCtrl* primary = GetSelected(0))
    {
        for (int i = 0; i < 8; i++)
        {
            const RECT handle = DesignToClient(GetHandleRect(primary, i));
            FillRect(dc, &handle, brush);
        }
    }
}
