// The thumbnail strip's pictures and its painting into the erase context.
#include "PWndThumbs.h"
#include "SDrawing.h"

namespace
{
const COLORREF BAR_COLOR = RGB(66, 119, 156);
const COLORREF BAR_HOT_COLOR = RGB(156, 66, 66);
const COLORREF TEXT_COLOR = RGB(0, 0, 0);
const int BACKGROUND_PICTURES[] = {202, 206, 204, 200, 203};
const int BADGE_PICTURE = 207;
const BYTE BADGE_ALPHA = 224;

HBITMAP LoadPicture(int id, BYTE alpha)
{
    SImage picture;
    if (!picture.LoadResource(MAKEINTRESOURCEA(id), "BINARY") || !picture.ConvertFormat(PixelFormat32bppARGB))
        return nullptr;
    // Capped rather than set: the badge's transparent edge stays transparent.
    if (alpha < 255)
        picture.SetAlpha(alpha, nullptr, true);
    return PWndThumbs::MakeBitmap(picture);
}
}

// A 32-bit bitmap with premultiplied alpha, as AlphaBlend draws it: the cells'
// rounded corners and the badge's edge blend with what lies under them.
HBITMAP PWndThumbs::MakeBitmap(const SImage& image)
{
    const int width = image.GetWidth(), height = image.GetHeight();
    if (width <= 0 || height <= 0)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    BYTE* pixels = static_cast<BYTE*>(bits);
    if (!image.GetPixels(pixels, PixelFormat32bppARGB))
    {
        DeleteObject(bitmap);
        return nullptr;
    }
    for (size_t i = 0, n = static_cast<size_t>(width) * height * 4; i < n; i += 4)
        for (int c = 0; c < 3; ++c)
            pixels[i + c] = static_cast<BYTE>(pixels[i + c] * pixels[i + 3] / 255);
    return bitmap;
}

void PWndThumbs::LoadPictures()
{
    for (int i = 0; i < BACK_COUNT; ++i)
        m_backgrounds[i].Reset(LoadPicture(BACKGROUND_PICTURES[i], 255));
    m_badge.Reset(LoadPicture(BADGE_PICTURE, BADGE_ALPHA));
    m_font.Reset(CreateFontWithStyle("verdana", 12, 0));
}

void PWndThumbs::DrawBitmap(HDC dc, HDC memory, HBITMAP bitmap, int x, int y, int width, int height)
{
    BITMAP size = {};
    if (!bitmap || !GetObject(bitmap, sizeof(size), &size))
        return;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width, height, memory, 0, 0, size.bmWidth, size.bmHeight, blend);
    SelectObject(memory, previous);
}

void PWndThumbs::Paint(HDC dc)
{
    RECT client = {};
    GetClientRect(&client);
    const RECT bar = {0, 0, BAR_WIDTH, client.bottom};
    SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(m_hot == HIT_PARENT ? BAR_HOT_COLOR : BAR_COLOR));
    FillRect(dc, &bar, brush.Get());
    if (m_thumbnails.empty())
        return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ font = SelectObject(dc, m_font.Get() ? m_font.Get() : GetStockObject(DEFAULT_GUI_FONT));
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF color = SetTextColor(dc, TEXT_COLOR);
    const int columns = GetColumns(client.right);
    const int scroll = GetScroll();
    for (int row = 0; row < GetRows(GetCount(), columns); ++row)
    {
        const RECT band = GetCellRect(row * columns, columns, scroll);
        if (band.top >= client.bottom)
            break;
        if (band.bottom <= 0)
            continue;
        for (int column = 0; column < columns && row * columns + column < GetCount(); ++column)
            PaintCell(dc, memory, row * columns + column, GetCellRect(row * columns + column, columns, scroll));
    }
    SetTextColor(dc, color);
    SetBkMode(dc, mode);
    SelectObject(dc, font);
    PaintBadge(dc, memory);
    DeleteDC(memory);
}

void PWndThumbs::PaintCell(HDC dc, HDC memory, int index, const RECT& cell)
{
    const bool first = cell.left == GRID_LEFT;
    Background background = first ? (m_hot == HIT_PARENT ? BACK_FIRST_PARENT_HOT : BACK_FIRST) : BACK_OTHER;
    if (index == m_hot)
        background = first ? BACK_HOT_FIRST : BACK_HOT_OTHER;
    DrawBitmap(dc, memory, m_backgrounds[background].Get(), cell.left, cell.top, CELL_WIDTH, CELL_HEIGHT);
    DrawBitmap(dc, memory, GetBitmap(index), cell.left + 4, cell.top + 4, COVER_SIZE, COVER_SIZE);
    // The name is centred in its box, vertically too when it wraps to fewer lines.
    const SString& name = m_thumbnails[index]->name;
    RECT box = {cell.left + 12, cell.top + 160, cell.left + 146, cell.top + 185};
    RECT measured = box;
    DrawTextA(dc, name.GetText(), name.GetLength(), &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    if (height < box.bottom - box.top)
        box.top += (box.bottom - box.top - height) / 2;
    DrawTextA(dc, name.GetText(), name.GetLength(), &box, DT_CENTER | DT_WORDBREAK);
}

void PWndThumbs::PaintBadge(HDC dc, HDC memory)
{
    if (m_hot < 0 || m_hot >= GetCount() || !m_thumbnails[m_hot]->leaf)
        return;
    const RECT cell = GetCellRect(m_hot, GetColumns(GetClientWidth()), GetScroll());
    DrawBitmap(dc, memory, m_badge.Get(), cell.left + 86, cell.top + 86, BADGE_SIZE, BADGE_SIZE);
}
