#include "SItemRecords.h"
#include "SArray.h"
#include "SGuards.h"
#include "SWnd.h"

namespace
{
// One sorted list of live records per kind, and the handlers of that kind.
struct Kind
{
    SArray<void*> records;
    SItemRecords::MeasureHandler measure = nullptr;
    SItemRecords::DrawHandler draw = nullptr;
};

struct Table
{
    SCriticalSection lock;
    Kind menus;
    Kind lists;
    SItemRecords::MenuCommandHandler menuCommand = nullptr;
};

Table& GetTable()
{
    static Table table;
    return table;
}

Kind* FindKind(UINT kind)
{
    if (kind == ODT_MENU)
        return &GetTable().menus;
    if (kind == ODT_LISTBOX)
        return &GetTable().lists;
    return nullptr;
}

bool IsRegistered(Kind* kind, const void* record)
{
    return record && kind->records.FindSorted(const_cast<void*>(record)) >= 0;
}
} // namespace

void SItemRecords::Add(UINT kind, void* record)
{
    Kind* k = FindKind(kind);
    if (!k || !record)
        return;
    SLockGuard lock(GetTable().lock.Get());
    if (!IsRegistered(k, record))
        k->records.InsertSorted(record);
}

void SItemRecords::Remove(UINT kind, void* record)
{
    Kind* k = FindKind(kind);
    if (!k || !record)
        return;
    SLockGuard lock(GetTable().lock.Get());
    const int i = k->records.FindSorted(record);
    if (i >= 0)
        k->records.RemoveAt(i, 1);
}

bool SItemRecords::Contains(UINT kind, const void* record)
{
    Kind* k = FindKind(kind);
    if (!k)
        return false;
    SLockGuard lock(GetTable().lock.Get());
    return IsRegistered(k, record);
}

void SItemRecords::SetHandlers(UINT kind, MeasureHandler measure, DrawHandler draw)
{
    Kind* k = FindKind(kind);
    if (!k)
        return;
    SLockGuard lock(GetTable().lock.Get());
    k->measure = measure;
    k->draw = draw;
}

void SItemRecords::SetMenuCommandHandler(MenuCommandHandler handler)
{
    SLockGuard lock(GetTable().lock.Get());
    GetTable().menuCommand = handler;
}

// The handlers are called without the lock: they draw, and may add or remove records.
bool SItemRecords::Measure(MEASUREITEMSTRUCT* measure)
{
    if (!measure)
        return false;
    Kind* k = FindKind(measure->CtlType);
    if (!k)
        return false;
    void* record = reinterpret_cast<void*>(measure->itemData);
    MeasureHandler handler;
    {
        SLockGuard lock(GetTable().lock.Get());
        if (!IsRegistered(k, record))
            return false;
        handler = k->measure;
    }
    return handler && handler(record, measure);
}

bool SItemRecords::Draw(DRAWITEMSTRUCT* draw)
{
    if (!draw)
        return false;
    void* record = reinterpret_cast<void*>(draw->itemData);
    if (draw->CtlType == ODT_MENU)
    {
        DrawHandler handler;
        {
            SLockGuard lock(GetTable().lock.Get());
            if (!IsRegistered(&GetTable().menus, record))
                return false;
            handler = GetTable().menus.draw;
        }
        return handler && handler(record, nullptr, draw);
    }
    if (draw->CtlType != ODT_LISTBOX || draw->itemID == static_cast<UINT>(-1))
        return false;
    // A list is drawn by its own object, found by its window.
    SWnd* list = SWnd::FromHandle(draw->hwndItem);
    if (!list || list->GetType() != STYPE_LIST)
        return false;
    DrawHandler handler;
    {
        SLockGuard lock(GetTable().lock.Get());
        if (!IsRegistered(&GetTable().lists, record))
            record = nullptr;
        handler = GetTable().lists.draw;
    }
    return handler && handler(record, list, draw);
}

void* SItemRecords::MenuCommand(HMENU menu, int position, int* id)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!menu || !GetMenuItemInfoA(menu, position, TRUE, &info))
        return nullptr;
    void* record = reinterpret_cast<void*>(info.dwItemData);
    MenuCommandHandler handler;
    {
        SLockGuard lock(GetTable().lock.Get());
        if (!IsRegistered(&GetTable().menus, record))
            return nullptr;
        handler = GetTable().menuCommand;
    }
    int commandId = 0;
    void* owner = handler ? handler(record, position, &commandId) : nullptr;
    if (id)
        *id = commandId;
    return owner;
}
