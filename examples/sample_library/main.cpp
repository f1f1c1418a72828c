// sample_library FOLDER [/register] [/ifunset]: writes a small synthetic media
// library into FOLDER. /register points the main program's "Folder" setting at
// it and makes its book with the program's own builder, so that a first view
// shows the covers; /ifunset does nothing when "Folder" already names an
// existing folder.
#include "SPlatform.h"
#include <memory>
#include "PWndApp.h"
#include "SArrayString.h"
#include "SDisk.h"
#include "SLibrary.h"
#include "SRegistry.h"
#include "SampleLibrary.h"

namespace
{
const char* const SETTINGS_KEY = "Software\\Quentara\\Sonavel\\1.1\\Default";

bool HasFlag(const SArrayString& arguments, const char* flag)
{
    for (int i = 2; i < arguments.GetCount(); ++i)
        if (arguments.GetAt(i).CompareNoCase(flag) == 0)
            return true;
    return false;
}

// A main window on the library "Folder" names, never shown, writes the book
// where the program looks for it.
bool MakeBook()
{
    PWndApp::SetSplashTime(0);
    std::unique_ptr<PWndApp> app(new PWndApp());
    if (!app->Create("KLV Sonavel", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr))
        return false;
    const bool made = app->MakeBook(app->GetBookPage().GetText(), true);
    app->DestroyWindow();
    return made;
}

int Run()
{
    const SArrayString& arguments = GetCommandLineArguments();
    if (arguments.GetCount() < 2)
        return 2;
    const SString folder = arguments.GetAt(1);
    SRegistry registry;
    SDisk disk;
    if (HasFlag(arguments, "/ifunset"))
    {
        const SString current = registry.GetString(HKEY_CURRENT_USER, SETTINGS_KEY, "Folder");
        if (current.GetLength() > 0 && disk.FolderExists(current.GetText()))
            return 0;
    }
    SampleLibrary::Options options;
    options.genres = 3;
    if (!SampleLibrary::Write(folder.GetText(), options))
        return 1;
    if (!HasFlag(arguments, "/register"))
        return 0;
    if (!registry.SetString(HKEY_CURRENT_USER, SETTINGS_KEY, "Folder", folder.GetText()) || !MakeBook())
        return 1;
    return 0;
}
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    StartupWinsock();
    const int result = Run();
    ShutdownWinsock();
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return result;
}
