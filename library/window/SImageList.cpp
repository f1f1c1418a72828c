// SImageList: one native image list filled from pictures, resources and strips.
#include "SImageList.h"
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
