// Owns one native image list of the common controls, filled from pictures,
// bitmap resources, picture data in the resources or a strip of equal cells;
// menus, lists, trees and tool bars take their icons from it.
#pragma once
#include "SPlatform.h"
#include <commctrl.h>

class SImage;
class SVirtualFile;

class SImageList
{
public:
    SImageList();
    virtual ~SImageList();
    SImageList(const SImageList&) = delete;
    SImageList& operator=(const SImageList&) = delete;

    // Destroys the old list first (false when that fails).
    bool Create(int iconWidth, int iconHeight, UINT flags);
    bool Destroy();
    bool RemoveAll();
    // (0, 0) without a list.
    SIZE GetIconSize() const;
    HIMAGELIST GetHandle() const { return m_list; }

    // Adds without mask; the bitmap stays the caller's.
    bool Add(HBITMAP bitmap);
    // Stretched to the icon size when it differs.
    bool AddImage(const SImage* image);
    // count pictures of the icon size from 32-bit pixels (blue, green, red,
    // then a fourth byte that is not read), rows from the top, one picture
    // after the other; drawn opaque. One addition for all of them: added one
    // by one, the list grows a few at a time and copies all it holds each time.
    bool AddPixels(const void* pixels, int count);
    // The rest of the stream decoded as one picture.
    bool AddFromStream(SVirtualFile* stream);
    // With a type, the resource's bytes as a picture; without, the program's bitmap id.
    bool AddResource(int id, const char* type = nullptr);
    // Cells below 1 become 16; rebuilds the list (32-bit colour) from the cells,
    // row by row, left to right.
    bool CreateFromStrip(const SImage* strip, int cellWidth, int cellHeight);

private:
    HIMAGELIST m_list;
};
