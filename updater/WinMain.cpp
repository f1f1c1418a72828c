// KLV Sonavel Update: started by the main program after its update check,
// with the main program's path and a language word. Shows its window while it
// replaces the main program's file, starts the main program again and ends.
#include "SPlatform.h"
#include <dsound.h>
#include <cstdlib>
#include "PWndApp.h"
#include "SArrayString.h"
#include "SDisk.h"
#include "SLibrary.h"
#include "SSystem.h"

namespace
{
void ShutdownServices(HINSTANCE instance)
{
    ReleaseDirectSound();
    ShutdownWinsock();
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
}

// The main program's full path from argument 1; "" when there are fewer than
// two arguments or the path names no file.
SString GetProgramArgument()
{
    const SArrayString& arguments = GetCommandLineArguments();
    SDisk disk;
    char full[MAX_PATH] = {};
    if (arguments.GetCount() < 3 || !disk.FileExists(arguments.GetAt(1).GetText()) ||
        !_fullpath(full, arguments.GetAt(1).GetText(), sizeof(full)))
        return SString("");
    return SString(full);
}
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    StartupLibrary(instance, false);
    StartupGdiplus();
    StartupWinsock();
    CreateDirectSound(GetLibraryWindow(), DSSCL_PRIORITY);
    const SString program = GetProgramArgument();
    if (SSystem().CountRunningCopies() > 1 || program.GetLength() == 0)
    {
        ShutdownServices(instance);
        return 0;
    }
    HICON bigIcon = LoadIconA(instance, MAKEINTRESOURCEA(107));
    HICON smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(108), IMAGE_ICON, 16, 16, 0));
    PWndApp* app = new PWndApp();
    app->SetProgram(program.GetText(), GetCommandLineArguments().GetAt(2) == "fr");
    app->Create("", WS_CAPTION | WS_SYSMENU, WS_EX_TOPMOST, nullptr, nullptr, 0, 0, instance);
    app->SetClassIcon(bigIcon, smallIcon);
    app->SetIcon(bigIcon, smallIcon);
    app->ShowWindow(SW_SHOW);
    bool blocking = true;
    RunMessageLoop(&blocking, nullptr, 0);
    delete app;
    ShutdownServices(instance);
    return 0;
}
