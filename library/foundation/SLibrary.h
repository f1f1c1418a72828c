// The library's process-wide state: start-up and shut-down, the services a
// program starts around its life (GDI+, Winsock, DirectSound), the accessors of
// the shared record, and the message loops every thread with windows runs on.
#pragma once
#include "SPlatform.h"
#include "SLanguageRecord.h"
#include "SString.h"

class SArrayString;
class SWnd;
class SIdentifiants;
struct IDirectSound8;

// Start-up and shut-down, in the order a program calls them.
void InitLibrary(HINSTANCE instance, bool noCom);
void ShutdownLibrary(HINSTANCE instance, bool noCom);
int StartupGdiplus();
void ShutdownGdiplus();
bool StartupWinsock();
void ShutdownWinsock();
void CreateDirectSound(HWND window, DWORD level);
void ReleaseDirectSound();

// The DirectSound tries with another creating function standing in for
// DirectSoundCreate8 (a device that stays busy can be simulated).
typedef HRESULT(WINAPI* SDirectSoundFactory)(const GUID* device, IDirectSound8** out,
                                             IUnknown* outer);
void CreateDirectSoundWith(SDirectSoundFactory factory, HWND window, DWORD level);

// The same start-up under the name the application knows it by.
inline void StartupLibrary(HINSTANCE instance, bool noCom) { InitLibrary(instance, noCom); }

// Parts of the start-up that can be called on their own.
void CreateGlobalCursors();
void FreeGlobalCursors();
void LoadLanguageRecords();
void SplitNamesIntoSlots(char* destination, const char* list, int slotWidth);

// Accessors of the shared record (GetLanguageRecord: SLanguageRecord.h).
SIdentifiants* GetIdentifiants();
HFONT GetSmallGuiFont();
HFONT GetDefaultGuiFont();
IDirectSound8* GetDirectSound();
UINT GetFindReplaceMessage();
HINSTANCE GetInstance();
HCURSOR GetLibraryCursor(int i);
int GetWindowsVersion();
// Replaces the stored version code: tests reach the paths of older versions with it.
void SetWindowsVersion(int code);
SString GetProgramFileName();
SString GetProgramFolder();
HWND GetLibraryWindow();

// The program's arguments as start-up split its command line; argument 0 is the
// program itself. Empty before start-up and after shut-down.
const SArrayString& GetCommandLineArguments();
// The usual Windows splitting: blanks separate arguments, double quotes group
// blanks, backslashes are literal except before a double quote (2n of them give
// n and the quote groups; 2n + 1 give n and a literal quote). Argument 0 ends
// at its closing quote or first blank, backslashes untouched.
void SplitCommandLine(const char* line, SArrayString& arguments);

// The idle callback of the non-blocking loops; its argument is pointer-sized so
// that a caller can hand over an object.
typedef void (*SIdleCallback)(LPARAM argument);

// Message loops. With *blocking true they wait in GetMessage; a handler may
// clear the flag to switch to polling with the idle callback.
void RunMessageLoop(bool* blocking, SIdleCallback idle, LPARAM argument);
void RunModalLoop(SWnd* window, bool* blocking, SIdleCallback idle, LPARAM argument);

// The modeless dialogs whose keys the loops hand to IsDialogMessage.
void AddModalKeyExemption(HWND window);
void RemoveModalKeyExemption(HWND window);
