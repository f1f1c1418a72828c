// The cover thumbnails of the current folder's sub-folders in a scrolling grid,
// with a bar along the left edge that stands for the parent folder: a click on
// an album plays it, on a folder opens it, on the bar goes up.
#pragma once
#include <memory>
#include <vector>
#include "SGuards.h"
#include "SImage.h"
#include "SString.h"
#include "SWnd.h"

class PWndApp;

class PWndThumbs : public SWnd
{
public:
    // Geometry in client pixels.
    enum
    {
        CELL_WIDTH = 170,
        CELL_HEIGHT = 200,
        GRID_LEFT = 32,
        GRID_TOP = 8,
        COVER_SIZE = 150,
        BAR_WIDTH = 100,
        BADGE_SIZE = 64,
        HIT_NONE = -1,
        HIT_PARENT = -2
    };

    PWndThumbs();
    ~PWndThumbs() override;

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A hidden child anchored to follow the parent's width and height.
    bool Create(HWND parent, const RECT& rect, UINT_PTR id);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A bitmap that several thumbnails may show.
    typedef std::shared_ptr<SGdiObjectGuard<HBITMAP>> _SBitmap;

    // The picture (expected at 150 x 150) becomes a bitmap of the strip's own.
    void AddThumbnail(const SImage& image, const char* name, bool leaf);
    // A bitmap made by MakeBitmap, shared; the caller updates the scroll
    // range after the last one.
    void AddThumbnail(const _SBitmap& bitmap, const char* name, bool leaf);
    void Clear();
    void UpdateScrollRange();
    // A thumbnail index, HIT_PARENT or HIT_NONE at a client point.
    int HitTest(int x, int y) const;
    // An index of 0 or more, or HIT_PARENT, shows the hand cursor; anything else clears.
    void SetHot(int index);
    int GetHot() const { return m_hot; }
    int GetCount() const { return static_cast<int>(m_thumbnails.size()); }
    const SString& GetName(int index) const { return m_thumbnails[index]->name; }
    bool IsLeaf(int index) const { return m_thumbnails[index]->leaf; }
    HBITMAP GetBitmap(int index) const { return m_thumbnails[index]->bitmap ? m_thumbnails[index]->bitmap->Get() : nullptr; }

    // The grid's arithmetic, for any width, count and scroll position. A client
    // narrower than one cell still gets one column.
    static int GetColumns(int clientWidth);
    static int GetRows(int count, int columns);
    static RECT GetCellRect(int index, int columns, int scroll);
    static int HitTestGrid(int x, int y, int count, int columns, int scroll);
    static int GetScrollMaximum(int count, int columns);
    // A 32-bit bitmap with premultiplied alpha, owned by the caller.
    static HBITMAP MakeBitmap(const SImage& image);

private:
    struct _SThumbnail
    {
        _SBitmap bitmap;
        SString name;
        bool leaf;
    };
    // The five cell backgrounds, in the order of their pictures' slots.
    enum Background
    {
        BACK_FIRST,
        BACK_FIRST_PARENT_HOT,
        BACK_OTHER,
        BACK_HOT_FIRST,
        BACK_HOT_OTHER,
        BACK_COUNT
    };

    // Painting (PWndThumbsPaint.cpp).
    void LoadPictures();
    void Paint(HDC dc);
    void PaintCell(HDC dc, HDC memory, int index, const RECT& cell);
    void PaintBadge(HDC dc, HDC memory);
    static void DrawBitmap(HDC dc, HDC memory, HBITMAP bitmap, int x, int y, int width, int height);

    void OnCreated();
    void OnMouseMove(int x, int y);
    void OnWheel(int delta);
    void OnLeftDown(int x, int y);
    void OnRightDown(int x, int y);
    int GetScroll() const;
    void Redraw();

    PWndApp* m_owner;
    std::vector<std::unique_ptr<_SThumbnail>> m_thumbnails;
    SGdiObjectGuard<HBITMAP> m_backgrounds[BACK_COUNT];
    SGdiObjectGuard<HBITMAP> m_badge;
    SGdiObjectGuard<HFONT> m_font;
    int m_hot;
};
