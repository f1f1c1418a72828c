#include "SMenu.h"
#include <memory>
#include "SImageList.h"
#include "SItemRecords.h"
#include "SLibrary.h"
#include "SWnd.h"

namespace
{
// Systems from this version code on show 32-bit item bitmaps themselves.
const int MENU_BITMAP_VERSION = 7;
// Room kept right of the picture.
const int IMAGE_GAP = 4;

SMenu::_SItem* AsItem(void* record) { return static_cast<SMenu::_SItem*>(record); }

bool MeasureRecord(void* record, MEASUREITEMSTRUCT* measure)
{
    SMenu::_SItem* item = AsItem(record);
    return item->menu && item->menu->MeasureItem(item, measure);
}

bool DrawRecord(void* record, SWnd*, DRAWITEMSTRUCT* draw)
{
    SMenu::_SItem* item = AsItem(record);
    return item->menu && item->menu->DrawItem(item, draw);
}

void* RunCommand(void* record, int, int* id)
{
    SMenu::_SItem* item = AsItem(record);
    *id = static_cast<int>(item->id);
    if (item->menu)
        item->menu->OnCommand(*id);
    return item->menu;
}

// Appends for positions outside 0..count.
UINT InsertionPoint(HMENU menu, int position)
{
    const int count = GetMenuItemCount(menu);
    if (position < 0 || position > count)
        return static_cast<UINT>(count < 0 ? 0 : count);
    return static_cast<UINT>(position);
}
} // namespace

int SMenu::s_trackModifiers = 0;
int SMenu::s_trackX = 0;
int SMenu::s_trackY = 0;

SMenu::_SItem::_SItem(SMenu* owner, UINT commandId, SMenu* sub, int index, bool isSeparator)
    : menu(owner), id(commandId), subMenu(sub), imageIndex(index), bitmap(nullptr),
      separator(isSeparator)
{
}

SMenu::_SItem::~_SItem()
{
    if (bitmap)
        DeleteObject(bitmap);
}

SMenu::SMenu()
    : m_imageList(nullptr), m_iconWidth(0), m_iconHeight(0), m_owner(nullptr), m_menu(nullptr),
      m_noImage(false)
{
    s_trackModifiers = 0;
    s_trackX = 0;
    s_trackY = 0;
}

SMenu::~SMenu() { Destroy(); }

POINT SMenu::GetTrackPoint()
{
    POINT point = {s_trackX, s_trackY};
    return point;
}

void SMenu::RegisterHandlers()
{
    SItemRecords::SetHandlers(ODT_MENU, MeasureRecord, DrawRecord);
    SItemRecords::SetMenuCommandHandler(RunCommand);
}

bool SMenu::MeasureItem(_SItem* item, MEASUREITEMSTRUCT* measure)
{
    if (!item || !measure || item->imageIndex < 0 || !item->image.IsLoaded())
        return false;
    measure->itemWidth = static_cast<UINT>(m_iconWidth + IMAGE_GAP);
    measure->itemHeight = static_cast<UINT>(m_iconHeight);
    return true;
}

bool SMenu::DrawItem(_SItem* item, DRAWITEMSTRUCT* draw)
{
    if (!item || !draw || item->imageIndex < 0 || !item->image.IsLoaded())
        return false;
    RECT area = draw->rcItem;
    area.right -= IMAGE_GAP;
    Gdiplus::Graphics graphics(draw->hDC);
    item->image.DrawToRect(&graphics, area);
    return true;
}

bool SMenu::Create(HWND owner)
{
    if (m_menu)
        return false;
    m_menu = CreatePopupMenu();
    if (!m_menu)
        return false;
    m_owner = owner;
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_NOTIFYBYPOS;
    SetMenuInfo(m_menu, &info);
    RegisterHandlers();
    return true;
}

void SMenu::SetImageList(SImageList* list)
{
    m_imageList = list;
    const SIZE size = list ? list->GetIconSize() : SIZE{0, 0};
    m_iconWidth = size.cx;
    m_iconHeight = size.cy;
}

bool SMenu::InsertItem(int id, const char* text, int image, int position)
{
    if (!m_menu)
        return false;
    const int index = m_noImage || image < 0 ? -1 : image;
    return InsertRecord(new _SItem(this, static_cast<UINT>(id), nullptr, index, false), text,
                        position);
}

bool SMenu::InsertSubMenu(int id, SMenu* subMenu, const char* text, int image, int position)
{
    if (!m_menu)
        return false;
    const int index = m_noImage || image < 0 ? -1 : image;
    return InsertRecord(new _SItem(this, static_cast<UINT>(id), subMenu, index, false), text,
                        position);
}

bool SMenu::InsertSeparator(int id, int position)
{
    if (!m_menu)
        return false;
    return InsertRecord(new _SItem(this, static_cast<UINT>(id), nullptr, -1, true), nullptr,
                        position);
}

// The record goes in the item's data word and into the framework's list of
// menu records, so owner-draw and command messages find their way back here.
bool SMenu::InsertRecord(_SItem* item, const char* text, int position)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_BITMAP;
    if (item->separator)
    {
        info.fMask |= MIIM_FTYPE;
        info.fType = MFT_SEPARATOR;
    }
    else
    {
        info.fMask |= MIIM_STRING;
        info.dwTypeData = const_cast<char*>(text ? text : "");
        info.cch = static_cast<UINT>(lstrlenA(info.dwTypeData));
    }
    info.wID = item->id;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    if (item->subMenu && item->subMenu->GetHandle())
    {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = item->subMenu->GetHandle();
    }
    if (GetWindowsVersion() < MENU_BITMAP_VERSION && !m_noImage)
        info.hbmpItem = HBMMENU_CALLBACK;
    AttachImage(item, info);
    RegisterHandlers();
    SItemRecords::Add(ODT_MENU, item);
    if (!InsertMenuItemA(m_menu, InsertionPoint(m_menu, position), TRUE, &info))
    {
        SItemRecords::Remove(ODT_MENU, item);
        delete item;
        return false;
    }
    return true;
}

void SMenu::AttachImage(_SItem* item, MENUITEMINFOA& info)
{
    if (item->imageIndex < 0 || !m_imageList ||
        !item->image.LoadFromImageList(m_imageList->GetHandle(), item->imageIndex))
        return;
    item->image.SetDrawMode(SImage::DRAW_RIGHT);
    item->bitmap = item->image.ToBitmapHandle(true);
    if (!info.hbmpItem)
        info.hbmpItem = item->bitmap;
}

SMenu::_SItem* SMenu::GetItemData(int position) const
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!m_menu || position < 0 || !GetMenuItemInfoA(m_menu, position, TRUE, &info))
        return nullptr;
    return reinterpret_cast<_SItem*>(info.dwItemData);
}

int SMenu::GetItemId(int position) const
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID;
    if (!m_menu || position < 0 || !GetMenuItemInfoA(m_menu, position, TRUE, &info))
        return 0;
    return static_cast<int>(info.wID);
}

int SMenu::FindPosition(int id) const
{
    const int count = GetItemCount();
    for (int i = 0; i < count; i++)
    {
        if (GetItemId(i) == id)
            return i;
    }
    return -1;
}

int SMenu::GetItemCount() const
{
    const int count = m_menu ? GetMenuItemCount(m_menu) : 0;
    return count < 0 ? 0 : count;
}

SString SMenu::GetItemText(int id) const
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    if (!m_menu || !GetMenuItemInfoA(m_menu, static_cast<UINT>(id), FALSE, &info))
        return SString("");
    const UINT length = info.cch;
    std::unique_ptr<char[]> buffer(new char[length + 1]());
    info.dwTypeData = buffer.get();
    info.cch = length + 1;
    if (!GetMenuItemInfoA(m_menu, static_cast<UINT>(id), FALSE, &info))
        return SString("");
    buffer[length] = 0;
    return SString(buffer.get());
}

bool SMenu::SetItemText(int id, const char* text)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text ? text : "");
    info.cch = static_cast<UINT>(lstrlenA(info.dwTypeData));
    return m_menu && SetMenuItemInfoA(m_menu, static_cast<UINT>(id), FALSE, &info) != 0;
}

// By command id: callers know their items by id, not by place.
bool SMenu::EnableItem(int id, bool enable)
{
    const UINT flags = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
    return m_menu && EnableMenuItem(m_menu, static_cast<UINT>(id), flags) != static_cast<BOOL>(-1);
}

bool SMenu::CheckItem(int id, bool check)
{
    const UINT flags = MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED);
    return m_menu && CheckMenuItem(m_menu, static_cast<UINT>(id), flags) != static_cast<DWORD>(-1);
}

bool SMenu::IsItemChecked(int id) const
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    if (!m_menu || !GetMenuItemInfoA(m_menu, static_cast<UINT>(id), FALSE, &info))
        return false;
    return (info.fState & MFS_CHECKED) != 0;
}

bool SMenu::RemoveAll()
{
    if (!m_menu)
        return false;
    // From the last item: each removal from the front moves all the others.
    for (int position = GetMenuItemCount(m_menu) - 1; position >= 0; --position)
    {
        _SItem* item = GetItemData(position);
        if (!RemoveMenu(m_menu, position, MF_BYPOSITION))
            return false;
        if (item && SItemRecords::Contains(ODT_MENU, item))
        {
            SItemRecords::Remove(ODT_MENU, item);
            delete item;
        }
    }
    return true;
}

void SMenu::Destroy()
{
    if (!m_menu)
        return;
    RemoveAll();
    DestroyMenu(m_menu);
    m_menu = nullptr;
}

void SMenu::RecordTracking(int x, int y)
{
    s_trackModifiers = m_keyboard.GetModifiers();
    s_trackX = x;
    s_trackY = y;
}

bool SMenu::Track(int x, int y, UINT flags, HWND window)
{
    if (!m_menu)
        return false;
    RecordTracking(x, y);
    return TrackPopupMenu(m_menu, flags, x, y, 0, window ? window : m_owner, nullptr) != 0;
}

bool SMenu::TrackAtCursor(UINT flags, HWND window)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    return Track(cursor.x, cursor.y, flags, window);
}

bool SMenu::TrackEx(SWnd* owner, int x, int y, UINT flags, HWND window)
{
    if (!m_menu)
        return false;
    RecordTracking(x, y);
    HWND front = owner && owner->GetHandle() ? owner->GetHandle() : m_owner;
    if (front)
        ::SetForegroundWindow(front);
    if (!TrackPopupMenuEx(m_menu, flags, x, y, window ? window : m_owner, nullptr))
        return false;
    // The menu loop may leave the owner without a message to wake it.
    if (front)
        ::PostMessageA(front, WM_NULL, 0, 0);
    return true;
}
