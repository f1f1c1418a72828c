#include "PWndThumbs.h"
#include <windowsx.h>
#include "PWndApp.h"
#include "SKeyboard.h"
#include "SLibrary.h"

namespace
{
const COLORREF BACKGROUND_COLOR = RGB(237, 213, 182);
const int LINE_STEP = 40;
const int PAGE_STEP = 200;
const int HAND_CURSOR = 3;
}

PWndThumbs::PWndThumbs() : m_owner(nullptr), m_hot(HIT_NONE) {}

PWndThumbs::~PWndThumbs()
{
    Clear();
}

bool PWndThumbs::Create(HWND parent, const RECT& rect, UINT_PTR id)
{
    if (!CreateChild("", WS_VSCROLL, 0, &rect, parent, id))
        return false;
    SetAnchors(0x44);
    return true;
}

int PWndThumbs::GetColumns(int clientWidth)
{
    const int columns = (clientWidth - GRID_LEFT) / CELL_WIDTH;
    return columns < 1 ? 1 : columns;
}

int PWndThumbs::GetRows(int count, int columns)
{
    return count <= 0 ? 0 : (count + columns - 1) / columns;
}

RECT PWndThumbs::GetCellRect(int index, int columns, int scroll)
{
    const int x = GRID_LEFT + CELL_WIDTH * (index % columns);
    const int y = GRID_TOP + CELL_HEIGHT * (index / columns) - scroll;
    const RECT cell = {x, y, x + CELL_WIDTH, y + CELL_HEIGHT};
    return cell;
}

// Only the covers are hit; elsewhere the left strip stands for the parent.
int PWndThumbs::HitTestGrid(int x, int y, int count, int columns, int scroll)
{
    const int gridX = x - GRID_LEFT - 4;
    const int gridY = y + scroll - GRID_TOP - 4;
    if (gridX >= 0 && gridY >= 0 && gridX % CELL_WIDTH < COVER_SIZE && gridY % CELL_HEIGHT < COVER_SIZE)
    {
        const int column = gridX / CELL_WIDTH;
        const int index = (gridY / CELL_HEIGHT) * columns + column;
        if (column < columns && index < count)
            return index;
    }
    return x >= 0 && x < BAR_WIDTH ? HIT_PARENT : HIT_NONE;
}

int PWndThumbs::GetScrollMaximum(int count, int columns)
{
    return GetRows(count, columns) * CELL_HEIGHT + GRID_TOP;
}

int PWndThumbs::HitTest(int x, int y) const
{
    return HitTestGrid(x, y, GetCount(), GetColumns(GetClientWidth()), GetScroll());
}

int PWndThumbs::GetScroll() const
{
    return m_handle ? GetVScrollPos() : 0;
}

void PWndThumbs::AddThumbnail(const SImage& image, const char* name, bool leaf)
{
    AddThumbnail(std::make_shared<SGdiObjectGuard<HBITMAP>>(MakeBitmap(image)), name, leaf);
    UpdateScrollRange();
}

void PWndThumbs::AddThumbnail(const _SBitmap& bitmap, const char* name, bool leaf)
{
    std::unique_ptr<_SThumbnail> thumbnail(new _SThumbnail());
    thumbnail->bitmap = bitmap;
    thumbnail->name = name ? name : "";
    thumbnail->leaf = leaf;
    m_thumbnails.push_back(std::move(thumbnail));
}

void PWndThumbs::Clear()
{
    if (m_handle)
        SetScrollRange(true, 0, 0, 0, true);
    m_thumbnails.clear();
    m_hot = HIT_NONE;
}

void PWndThumbs::UpdateScrollRange()
{
    if (m_handle)
        SetScrollRange(true, 0, GetScrollMaximum(GetCount(), GetColumns(GetClientWidth())), GetClientHeight(), true);
}

void PWndThumbs::SetHot(int index)
{
    const bool hot = index >= 0 || index == HIT_PARENT;
    m_hot = hot ? index : HIT_NONE;
    SetCursor(hot ? GetLibraryCursor(HAND_CURSOR) : nullptr);
}

void PWndThumbs::Redraw()
{
    InvalidateRect(nullptr, true);
}

LRESULT PWndThumbs::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_ERASEBKGND:
        // The framework's erase hands the memory context in lParam; without one nothing is painted.
        if (lParam)
            Paint(reinterpret_cast<HDC>(lParam));
        break;
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case WM_MOUSEMOVE:
    case SWM_MOUSEENTER:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case SWM_MOUSELEAVE:
        SetHot(HIT_NONE);
        Redraw();
        break;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        break;
    case SWM_HSCROLLED:
    case SWM_VSCROLLED:
        Redraw();
        break;
    case WM_SIZE:
        UpdateScrollRange();
        SetHot(HIT_NONE);
        break;
    case WM_LBUTTONDOWN:
        OnLeftDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_RBUTTONDOWN:
        OnRightDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_MBUTTONDOWN:
        SetFocus();
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndThumbs::OnCreated()
{
    SetBackgroundColor(BACKGROUND_COLOR);
    SetScrollSteps(true, LINE_STEP, PAGE_STEP, 1);
    ShowScrollBar(true, true);
    LoadPictures();
}

void PWndThumbs::OnMouseMove(int x, int y)
{
    const int hit = HitTest(x, y);
    if (hit == m_hot)
        return;
    SetHot(hit);
    Redraw();
}

// A forward turn goes one page back, as a text view scrolls.
void PWndThumbs::OnWheel(int delta)
{
    if (delta > 0)
        ScrollPageBackward(true);
    else if (delta < 0)
        ScrollPageForward(true);
    POINT point = {};
    GetCursorPos(&point);
    ScreenToClient(&point);
    SetHot(HitTest(point.x, point.y));
    Redraw();
}

void PWndThumbs::OnLeftDown(int x, int y)
{
    SetFocus();
    if (!m_owner)
        return;
    const int hit = HitTest(x, y);
    if (hit == HIT_PARENT)
    {
        m_owner->OpenFolder("..", "", true);
        return;
    }
    if (hit < 0)
        return;
    // Opening a folder refills the strip: keep the name apart.
    const SString name = GetName(hit);
    if (IsLeaf(hit))
    {
        const bool shift = SKeyboard().IsShiftDown();
        if (m_owner->PlayAt(-1, name.GetText()) && m_owner->IsAutoHideAfterPlay() != shift &&
            m_owner->IsVisible())
            m_owner->ToggleVisible(false);
        return;
    }
    SetHot(HIT_NONE);
    if (!m_owner->OpenFolder(name.GetText(), "", true))
        SetHot(hit);
}

void PWndThumbs::OnRightDown(int x, int y)
{
    SetFocus();
    if (!m_owner)
        return;
    const int hit = HitTest(x, y);
    if (hit == HIT_PARENT)
    {
        m_owner->OpenFolderPath(m_owner->GetRootFolder().GetPath().GetText(), "", true);
        return;
    }
    if (hit < 0)
        return;
    const SString name = GetName(hit);
    SetHot(HIT_NONE);
    if (!m_owner->OpenFolder(".", name.GetText(), false))
        SetHot(hit);
}
