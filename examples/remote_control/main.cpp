// remote_control COMMAND...: drives a running KLV Sonavel from outside, as the
// program's hand-shake allows. The main window's handle is read from the
// clipboard (the program puts it there in decimal when it starts). Commands:
//   toggle | play | previous | next   the remote-control message (1 to 4)
//   keys KEY...                       keys posted to the folder list, KEY one of
//                                     HOME END UP DOWN RETURN BACK (for demos and screenshots)
#include "SPlatform.h"
#include <cstdlib>
#include "SArrayString.h"
#include "SClipboard.h"
#include "SLibrary.h"
#include "SMessages.h"

namespace
{
HWND ReadHandle()
{
    const SString text = SClipboard().GetText();
    if (!text.GetText())
        return nullptr;
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(_strtoui64(text.GetText(), nullptr, 10)));
    return IsWindow(window) ? window : nullptr;
}

// The play window and the strip have children of the same id: the folder list
// is the list box among them.
BOOL CALLBACK FindFolderList(HWND child, LPARAM found)
{
    char name[32] = "";
    GetClassNameA(child, name, sizeof(name));
    if (GetDlgCtrlID(child) != 1001 || lstrcmpiA(name, "ListBox") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

WPARAM KeyCode(const SString& name)
{
    const struct
    {
        const char* name;
        WPARAM key;
    } keys[] = {{"HOME", VK_HOME}, {"END", VK_END}, {"UP", VK_UP}, {"DOWN", VK_DOWN},
                {"RETURN", VK_RETURN}, {"BACK", VK_BACK}};
    for (const auto& k : keys)
        if (name.CompareNoCase(k.name) == 0)
            return k.key;
    return 0;
}

int SendKeys(HWND window, const SArrayString& arguments)
{
    HWND list = nullptr;
    EnumChildWindows(window, FindFolderList, reinterpret_cast<LPARAM>(&list));
    if (!list)
        return 1;
    for (int i = 2; i < arguments.GetCount(); ++i)
    {
        const WPARAM key = KeyCode(arguments.GetAt(i));
        if (!key)
            return 2;
        SendMessageA(list, WM_KEYDOWN, key, 1);
        SendMessageA(list, WM_KEYUP, key, 0xC0000001);
        Sleep(300);
    }
    return 0;
}

int Run()
{
    const SArrayString& arguments = GetCommandLineArguments();
    HWND window = ReadHandle();
    if (arguments.GetCount() < 2 || !window)
        return 1;
    const SString command = arguments.GetAt(1);
    if (command.CompareNoCase("keys") == 0)
        return SendKeys(window, arguments);
    const char* const codes[] = {"toggle", "play", "previous", "next"};
    for (int i = 0; i < 4; ++i)
        if (command.CompareNoCase(codes[i]) == 0)
            return SendMessageA(window, SWM_REMOTECONTROL, 500, i + 1) == 0 ? 0 : 1;
    return 2;
}
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    const int result = Run();
    ShutdownLibrary(instance, false);
    return result;
}
