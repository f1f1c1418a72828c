// SImageList: one native image list filled from pictures, resources and strips.
#include "SImageList.h"
#include <cstring>
#include "SGuards.h"
#include "SImage.h"
#include "SLibrary.h"
#include "SMemory.h"

SImageList::SImageList() : m_list(nullptr) {}

SImageList::~SImageList()
{
    if (m_list)
        ImageList_Destroy(m_list);
}

bool SImageList::Create(int iconWidth, int iconHeight, UINT flags)
{
    if (m_list && !Destroy())
        return false;
    m_list = ImageList_Create(iconWidth, iconHeight, flags, 0, 0);
    return m_list != nullptr;
}

bool SImageList::Destroy()
{
    if (!m_list)
        return false;
    const bool done = ImageList_Destroy(m_list) != FALSE;
    m_list = nullptr;
    return done;
}

bool SImageList::RemoveAll()
{
    return m_list && ImageList_Remove(m_list, -1);
}

SIZE SImageList::GetIconSize() const
{
    int width = 0, height = 0;
    if (!m_list || !ImageList_GetIconSize(m_list, &width, &height))
        return SIZE{0, 0};
    return SIZE{width, height};
}

bool SImageList::Add(HBITMAP bitmap)
{
    return m_list && bitmap && ImageList_Add(m_list, bitmap, nullptr) != -1;
}

bool SImageList::AddImage(const SImage* image)
{
    if (!m_list || !image || !image->IsLoaded())
        return false;
    const SIZE icon = GetIconSize();
    if (image->GetWidth() == icon.cx && image->GetHeight() == icon.cy)
    {
        SGdiObjectGuard<HBITMAP> bitmap(image->GetHBITMAP());
        return Add(bitmap.Get());
    }
    SImage copy;
    if (!copy.CopyFrom(image) || !copy.Resize(icon.cx, icon.cy))
        return false;
    SGdiObjectGuard<HBITMAP> bitmap(copy.GetHBITMAP());
    return Add(bitmap.Get());
}

bool SImageList::AddPixels(const void* pixels, int count)
{
    const SIZE icon = GetIconSize();
    if (!m_list || !pixels || count <= 0 || icon.cx <= 0 || icon.cy <= 0 || count > 0x7FFFFFFF / icon.cx / 4)
        return count == 0;
    // The list takes pictures laid side by side in one bitmap.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = icon.cx * count;
    info.bmiHeader.biHeight = -icon.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    SGdiObjectGuard<HBITMAP> strip(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!strip.Get() || !bits)
        return false;
    // The source may lie anywhere in a block: its rows are copied as bytes.
    const unsigned char* from = static_cast<const unsigned char*>(pixels);
    DWORD* to = static_cast<DWORD*>(bits);
    const size_t stride = static_cast<size_t>(icon.cx) * count, row = static_cast<size_t>(icon.cx) * 4;
    for (int i = 0; i < count; i++)
        for (int y = 0; y < icon.cy; y++, from += row)
            memcpy(to + static_cast<size_t>(y) * stride + static_cast<size_t>(i) * icon.cx, from, row);
    for (size_t i = 0, n = stride * icon.cy; i < n; i++)
        to[i] |= 0xFF000000;
    return ImageList_Add(m_list, strip.Get(), nullptr) != -1;
}

bool SImageList::AddFromStream(SVirtualFile* stream)
{
    SImage image;
    return image.Load(stream, -1) && AddImage(&image);
}

bool SImageList::AddResource(int id, const char* type)
{
    if (!m_list)
        return false;
    if (type)
    {
        SMemory memory;
        if (!memory.LoadFromResource(type, id, GetInstance()))
            return false;
        memory.SeekToStart();
        return AddFromStream(&memory);
    }
    SGdiObjectGuard<HBITMAP> bitmap(LoadBitmapA(GetInstance(), MAKEINTRESOURCEA(id)));
    SImage image;
    return image.LoadBitmapHandle(bitmap.Get()) && AddImage(&image);
}

bool SImageList::CreateFromStrip(const SImage* strip, int cellWidth, int cellHeight)
{
    if (cellWidth < 1)
        cellWidth = 16;
    if (cellHeight < 1)
        cellHeight = 16;
    if (!strip || !strip->IsLoaded())
        return false;
    const int columns = strip->GetWidth() / cellWidth;
    const int rows = strip->GetHeight() / cellHeight;
    if (columns == 0 || !Create(cellWidth, cellHeight, ILC_COLOR32))
        return false;
    bool all = true;
    for (int row = 0; row < rows; row++)
    {
        for (int column = 0; column < columns; column++)
        {
            SImage cell;
            all = cell.CopyFrom(strip, column * cellWidth, row * cellHeight, cellWidth, cellHeight) &&
                  AddImage(&cell) && all;
        }
    }
    return all;
}
