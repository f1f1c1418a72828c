// Every static object of the library lives here, in one translation unit, so
// that they are built in this order and destroyed in the reverse order.
#include "SGlobals.h"
#include <gdiplus.h>
#include "SArrayString.h"
// Core layer: the globals hold the library cursors and the identifier table.
#include "SCursor.h"
#include "SDll.h"
#include "SGuards.h"
#include "SIdentifiants.h"
#include "SLibrary.h"

namespace
{
SString updaterCommandLine;                          // 1
SArray<SWnd*> windowRegistry;                        // 2
SCriticalSection windowRegistryLock;                 //   its lock
SDll user32Library;                                  // 3
SArray<HWND__*> modelessDialogs;                     // 4
SCriticalSection modelessDialogLock;                 //   its lock
const Gdiplus::GdiplusStartupInput gdiplusInput;     // 5: version 1, defaults
SString programFolder;                               // 6
SString programPath;                                 // 7
SArray<SCursor*> cursorTable;                        // 8
SIdentifiants identifiants;                          // 9
SDll richEditLibrary;                                // 10
// 11, the virtual-key names, belong to SKeyboard (SKeyboard::GetKeyNames).
} // namespace

SString& GetUpdaterCommandLine() { return updaterCommandLine; }
SString& UpdaterCommandLine = updaterCommandLine;
SArray<SWnd*>& GetWindowRegistry() { return windowRegistry; }
CRITICAL_SECTION& GetWindowRegistryLock() { return windowRegistryLock.Get(); }
SDll& GetUser32Library() { return user32Library; }
SArray<HWND__*>& GetModelessDialogList() { return modelessDialogs; }
CRITICAL_SECTION& GetModelessDialogLock() { return modelessDialogLock.Get(); }
const Gdiplus::GdiplusStartupInput& GetGdiplusStartupInput() { return gdiplusInput; }
SString& GetProgramFolderText() { return programFolder; }
SString& GetProgramPathText() { return programPath; }
SArray<SCursor*>& GetCursorTable() { return cursorTable; }
SIdentifiants* GetIdentifiants() { return &identifiants; }
SDll& GetRichEditLibrary() { return richEditLibrary; }
