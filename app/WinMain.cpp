// KLV Sonavel: starts the library's services, keeps to one running copy, runs
// the main window, and hands over to the updater when an update asked for it.
#include "SPlatform.h"
#include <dsound.h>
#include "PWndApp.h"
#include "SArrayString.h"
#include "SDisk.h"
#include "SGlobals.h"
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

bool StartsHidden()
{
    const SArrayString& arguments = GetCommandLineArguments();
    return arguments.GetCount() > 1 && arguments.GetAt(1).CompareNoCase("/HIDE") == 0;
}
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    UpdaterCommandLine = "";
    StartupLibrary(instance, false);
    StartupGdiplus();
    StartupWinsock();
    CreateDirectSound(GetLibraryWindow(), DSSCL_PRIORITY);
    {
        SSystem system;
        if (system.CountRunningCopies() > 1)
        {
            ShutdownServices(instance);
            return 0;
        }
    }
    HICON bigIcon = LoadIconA(instance, MAKEINTRESOURCEA(107));
    HICON smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(108), IMAGE_ICON, 16, 16, 0));
    PWndApp* app = new PWndApp();
    app->Create("KLV Sonavel", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr, 0, 0, instance);
    app->SetClassIcon(bigIcon, smallIcon);
    app->SetIcon(bigIcon, smallIcon);
    if (!StartsHidden())
        app->ShowWindow(SW_SHOW);
    bool blocking = true;
    RunMessageLoop(&blocking, nullptr, 0);
    delete app;
    if (UpdaterCommandLine.GetLength() > 0)
    {
        SDisk disk;
        disk.Execute((GetProgramFolder() + "KLV Sonavel Update.exe").GetText(), UpdaterCommandLine.GetText(), false,
                     SW_SHOWNORMAL);
    }
    ShutdownServices(instance);
    return 0;
}
