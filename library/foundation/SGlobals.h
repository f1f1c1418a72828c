// The library's objects of static lifetime: built before the program's entry in
// a fixed order, destroyed after it in the reverse order.
#pragma once
#include "SPlatform.h"
#include "SArray.h"
#include "SString.h"

class SWnd;
class SDll;
class SCursor;
class SIdentifiants;
namespace Gdiplus
{
struct GdiplusStartupInput;
}

// Set by the application's update check; when not empty after the main loop
// the program starts the updater with it.
SString& GetUpdaterCommandLine();
// The same object under the name the application uses.
extern SString& UpdaterCommandLine;

// Every live window object, sorted by window handle, and the lock that the
// user-interface thread and the worker threads' hidden windows share for it.
SArray<SWnd*>& GetWindowRegistry();
CRITICAL_SECTION& GetWindowRegistryLock();

// user32 loaded at run time (layered windows).
SDll& GetUser32Library();

// The modeless dialogs the message loops pass to IsDialogMessage, and their lock.
SArray<HWND__*>& GetModelessDialogList();
CRITICAL_SECTION& GetModelessDialogLock();

const Gdiplus::GdiplusStartupInput& GetGdiplusStartupInput();

// The program's folder and module path as start-up recorded them.
SString& GetProgramFolderText();
SString& GetProgramPathText();

// The library's cursors, numbers 0 to 19.
SArray<SCursor*>& GetCursorTable();

// "Riched20.dll", loaded by start-up.
SDll& GetRichEditLibrary();
