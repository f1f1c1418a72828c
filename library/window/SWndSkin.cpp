// Skins: a window's background picture, drawn whole or as a nine-slice frame,
// the window region cut from its transparent colour, and layered windows.
#include <algorithm>
#include <memory>
#include "SDll.h"
#include "SGlobals.h"
#include "SGuards.h"
#include "SWnd.h"

using namespace Gdiplus;

void SWnd::SetBackgroundImage(Bitmap* bitmap, COLORREF transparent, int drawMode,
                              const RECT* margins, bool redraw)
{
    // The copy is made before the old picture goes: the bitmap may be the skin's own.
    SetRectEmpty(&m_skinMargins);
    if (!bitmap)
        m_skinImage.Release();
    else if (m_skinImage.CopyFromBitmap(bitmap))
    {
        // Kept drawable: the pieces are cut at any column, and Wine's GDI+
        // misreads 1- and 4-bit pictures from inside a byte.
        m_skinImage.MakeDrawable();
        if (drawMode != -1)
            m_skinImage.SetDrawMode(drawMode);
        if (margins)
            m_skinMargins = *margins;
        m_transparentColor = transparent;
        m_skinImage.SetTransparentColor(transparent);
    }
    UpdateRegion(nullptr);
    if (redraw)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool SWnd::SetBackgroundImageFromResource(const char* name, const char* type, COLORREF transparent,
                                          int drawMode, const RECT* margins, bool redraw)
{
    SImage image;
    if (!image.LoadResource(name, type, nullptr))
        return false;
    SetBackgroundImage(image.GetBitmap(), transparent, drawMode, margins, redraw);
    return true;
}

int SWnd::ComputeSkinPieces(int W, int H, int w, int h, const RECT& margins, _SSkinPiece pieces[9])
{
    // Margins are cut to the picture so that no piece reads outside it.
    const int L = std::clamp(static_cast<int>(margins.left), 0, w);
    const int R = std::clamp(static_cast<int>(margins.right), L, w);
    const int T = std::clamp(static_cast<int>(margins.top), 0, h);
    const int B = std::clamp(static_cast<int>(margins.bottom), T, h);
    const int right = w - R, bottom = h - B;           // widths of the right and bottom strips
    const int middleW = W - right - L, middleH = H - bottom - T;
    const struct
    {
        Rect destination, source;
        _SSkinPiece::Kind kind;
    } all[9] = {
        {Rect(0, 0, L, T), Rect(0, 0, L, T), _SSkinPiece::PLAIN},
        {Rect(L, 0, middleW, T), Rect(L, 0, R - L, T), _SSkinPiece::TILED},
        {Rect(W - right, 0, right, T), Rect(R, 0, right, T), _SSkinPiece::PLAIN},
        {Rect(0, T, L, middleH), Rect(0, T, L, B - T), _SSkinPiece::TILED},
        {Rect(W - right, T, right, middleH), Rect(R, T, right, B - T), _SSkinPiece::TILED},
        {Rect(0, H - bottom, L, bottom), Rect(0, B, L, bottom), _SSkinPiece::PLAIN},
        {Rect(L, H - bottom, middleW, bottom), Rect(L, B, R - L, bottom), _SSkinPiece::TILED},
        {Rect(W - right, H - bottom, right, bottom), Rect(R, B, right, bottom), _SSkinPiece::PLAIN},
        {Rect(L, T, middleW, middleH), Rect(L, T, R - L, B - T), _SSkinPiece::CENTRE},
    };
    int count = 0;
    for (const auto& piece : all)
    {
        if (piece.destination.Width <= 0 || piece.destination.Height <= 0 ||
            piece.source.Width <= 0 || piece.source.Height <= 0)
            continue;
        pieces[count].destination = piece.destination;
        pieces[count].source = piece.source;
        pieces[count].kind = piece.kind;
        count++;
    }
    return count;
}

void SWnd::PaintSkin(HDC target, int width, int height)
{
    if (!target || !m_skinImage.IsLoaded())
        return;
    Graphics graphics(target);
    PaintSkinOn(graphics, width, height);
}

void SWnd::PaintSkinOn(Graphics& graphics, int width, int height)
{
    if (!m_skinImage.IsLoaded())
        return;
    if (m_skinMargins.right <= m_skinMargins.left || m_skinMargins.bottom <= m_skinMargins.top)
    {
        const Rect area(0, 0, width, height);
        m_skinImage.Draw(&graphics, &area, nullptr);
        return;
    }
    Bitmap* bitmap = m_skinImage.GetBitmap();
    ImageAttributes plain, tiled;
    tiled.SetWrapMode(WrapModeTile);
    if (m_transparentColor != COLOR_NONE)
    {
        const Color key(255, GetRValue(m_transparentColor), GetGValue(m_transparentColor),
                        GetBValue(m_transparentColor));
        plain.SetColorKey(key, key);
        tiled.SetColorKey(key, key);
    }
    _SSkinPiece pieces[9];
    const int count = ComputeSkinPieces(width, height, m_skinImage.GetWidth(),
                                        m_skinImage.GetHeight(), m_skinMargins, pieces);
    for (int i = 0; i < count; i++)
    {
        const _SSkinPiece& piece = pieces[i];
        const Rect& to = piece.destination;
        const Rect& from = piece.source;
        if (piece.kind == _SSkinPiece::CENTRE)
        {
            m_skinImage.Draw(&graphics, &to, &from);
        }
        else if (piece.kind == _SSkinPiece::PLAIN)
        {
            graphics.DrawImage(bitmap, to, from.X, from.Y, from.Width, from.Height, UnitPixel, &plain);
        }
        else
        {
            std::unique_ptr<Bitmap> tile(bitmap->Clone(from, bitmap->GetPixelFormat()));
            if (tile && tile->GetLastStatus() == Ok)
                graphics.DrawImage(tile.get(), to, 0, 0, to.Width, to.Height, UnitPixel, &tiled);
        }
    }
}

void SWnd::UpdateRegion(HRGN extra)
{
    SGdiObjectGuard<HRGN> extraGuard(extra);
    if (!m_handle)
        return;
    if (!m_skinImage.IsLoaded() || m_transparentColor == COLOR_NONE)
    {
        // The system owns the region it is given.
        ::SetWindowRgn(m_handle, extraGuard.Release(), TRUE);
        return;
    }
    RECT client = {};
    ::GetClientRect(m_handle, &client);
    SImage canvas(std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1),
                  PixelFormat32bppARGB);
    if (!canvas.IsLoaded() || !canvas.Clear(m_transparentColor))
        return;
    {
        Graphics graphics(canvas.GetBitmap());
        PaintSkinOn(graphics, client.right, client.bottom);
    }
    // The pixels not of the transparent colour are the ones the window keeps.
    SGdiObjectGuard<HRGN> opaque(canvas.CreateRegion(m_transparentColor));
    SGdiObjectGuard<HRGN> clientArea(CreateRectRgn(0, 0, client.right, client.bottom));
    if (!opaque.Get() || !clientArea.Get())
        return;
    CombineRgn(opaque.Get(), opaque.Get(), clientArea.Get(), RGN_AND);
    int left = 0, top = 0, right = 0, bottom = 0;
    if (GetFrameSizes(left, top, right, bottom) && (left || top))
        OffsetRgn(opaque.Get(), left, top);
    if (!extraGuard.Get())
    {
        const SIZE size = GetWindowSize();
        extraGuard.Reset(CreateRectRgn(0, 0, size.cx, size.cy));
    }
    CombineRgn(opaque.Get(), opaque.Get(), extraGuard.Get(), RGN_AND);
    ::SetWindowRgn(m_handle, opaque.Release(), TRUE);
}

int SWnd::SetLayered(bool layered)
{
    SDll& user32 = GetUser32Library();
    if (!user32.IsLoaded() && !user32.Load("user32.dll"))
        return 0;
    if (!m_handle)
        return 0;
    const DWORD style = GetExStyle();
    if (layered && !(style & WS_EX_LAYERED))
        SetExStyle(style | WS_EX_LAYERED);
    else if (!layered && (style & WS_EX_LAYERED))
        SetExStyle(style & ~WS_EX_LAYERED);
    return 1;
}

void SWnd::UpdateLayered(HDC memory, BYTE alpha)
{
    if (!memory)
        return;
    typedef BOOL(WINAPI * UpdateLayeredWindowProc)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                   BLENDFUNCTION*, DWORD);
    UpdateLayeredWindowProc update = reinterpret_cast<UpdateLayeredWindowProc>(
        GetUser32Library().GetFunction("UpdateLayeredWindow"));
    RECT rect = {};
    if (update && m_handle && ::GetWindowRect(m_handle, &rect))
    {
        POINT position = {rect.left, rect.top};
        SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
        POINT origin = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
        SWindowDCGuard screen(nullptr);
        update(m_handle, screen.Get(), &position, &size, memory, &origin, 0, &blend, ULW_ALPHA);
    }
    HGDIOBJ bitmap = GetCurrentObject(memory, OBJ_BITMAP);
    DeleteDC(memory);
    if (bitmap)
        DeleteObject(bitmap);
}

HDC SWnd::RenderSkinToMemory()
{
    RECT rect = {};
    if (!m_handle || !::GetWindowRect(m_handle, &rect))
        return nullptr;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    SWindowDCGuard screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), width, height);
    HDC memory = CreateCompatibleDC(screen.Get());
    if (!bitmap || !memory)
    {
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
        return nullptr;
    }
    SelectObject(memory, bitmap);
    PaintSkin(memory, width, height);
    return memory;
}
