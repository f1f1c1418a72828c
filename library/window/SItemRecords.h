// The item records of library menus and owner-drawn lists. Owner-draw messages and
// menu commands carry such a record as item data; the framework uses that data only
// when the class that made the record registered it here, and then hands it to the
// handlers that class registered for its kind (ODT_MENU or ODT_LISTBOX).
#pragma once
#include "SPlatform.h"

class SWnd;

class SItemRecords
{
public:
    // true when the record's owner measured or drew the item.
    typedef bool (*MeasureHandler)(void* record, MEASUREITEMSTRUCT* measure);
    // For lists, the window is the list object and the record may be null.
    typedef bool (*DrawHandler)(void* record, SWnd* window, DRAWITEMSTRUCT* draw);
    // Runs a menu command: returns the menu object (null when none) and sets the id.
    typedef void* (*MenuCommandHandler)(void* record, int position, int* id);

    static void Add(UINT kind, void* record);
    static void Remove(UINT kind, void* record);
    static bool Contains(UINT kind, const void* record);
    static void SetHandlers(UINT kind, MeasureHandler measure, DrawHandler draw);
    static void SetMenuCommandHandler(MenuCommandHandler handler);

    // The dispatch of WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCOMMAND.
    static bool Measure(MEASUREITEMSTRUCT* measure);
    static bool Draw(DRAWITEMSTRUCT* draw);
    static void* MenuCommand(HMENU menu, int position, int* id);
};
