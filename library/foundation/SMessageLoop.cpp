// The message loops every thread with windows runs on, and the list of
// modeless dialogs whose keys they hand to IsDialogMessage.
#include "SGlobals.h"
#include "SGuards.h"
#include "SLibrary.h"
// Core layer: the loops route messages through the window objects.
#include "SWnd.h"

namespace
{
// A copy of the modeless dialog list: IsDialogMessage dispatches, so the lock
// is never held while it runs.
void CopyModelessDialogs(SArray<HWND__*>& out)
{
    SLockGuard lock(GetModelessDialogLock());
    const SArray<HWND__*>& list = GetModelessDialogList();
    for (int i = 0; i < list.GetCount(); i++)
        out.Add(list.GetAt(i));
}

bool HasModelessDialogs()
{
    SLockGuard lock(GetModelessDialogLock());
    return GetModelessDialogList().GetCount() > 0;
}

void DispatchLoopMessage(MSG& msg)
{
    if (HasModelessDialogs())
    {
        SArray<HWND__*> dialogs;
        CopyModelessDialogs(dialogs);
        for (int i = 0; i < dialogs.GetCount(); i++)
        {
            HWND dialog = dialogs.GetAt(i);
            if (dialog && IsDialogMessageA(dialog, &msg))
                return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

// Takes the next message: waits for it when blocking, else polls once and runs
// the idle callback when the queue is empty. Returns 1 for a message, 0 for
// WM_QUIT, -1 for a failure, 2 when nothing was taken.
int TakeMessage(MSG& msg, const bool* blocking, SIdleCallback idle, LPARAM argument)
{
    // Without a flag the loop blocks: polling with nothing to do only burns time.
    if (!blocking || *blocking)
    {
        const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
        return result == -1 ? -1 : (result ? 1 : 0);
    }
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return msg.message == WM_QUIT ? 0 : 1;
    if (idle)
        idle(argument);
    return 2;
}

// Return and Escape end a modal run, unless a modeless dialog wants its keys.
void DeliverModalKey(SWnd* window, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || HasModelessDialogs())
        return;
    if (msg.wParam == VK_RETURN)
        SWnd::SharedWindowProc(window->GetHandle(), SWM_DIALOGOK, 0, 1);
    else if (msg.wParam == VK_ESCAPE)
        SWnd::SharedWindowProc(window->GetHandle(), SWM_DIALOGCANCEL, 0, 1);
}
} // namespace

void RunMessageLoop(bool* blocking, SIdleCallback idle, LPARAM argument)
{
    MSG msg = {};
    for (;;)
    {
        const int taken = TakeMessage(msg, blocking, idle, argument);
        if (taken == 0 || taken == -1)
            return;
        if (taken == 1)
            DispatchLoopMessage(msg);
    }
}

void RunModalLoop(SWnd* window, bool* blocking, SIdleCallback idle, LPARAM argument)
{
    MSG msg = {};
    while (window && window->GetHandle() && window->IsModal())
    {
        const int taken = TakeMessage(msg, blocking, idle, argument);
        if (taken == 0)
        {
            // The enclosing loop must end as well.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (taken == -1)
            return;
        if (taken == 1)
        {
            DeliverModalKey(window, msg);
            DispatchLoopMessage(msg);
        }
    }
}

void AddModalKeyExemption(HWND window)
{
    SLockGuard lock(GetModelessDialogLock());
    SArray<HWND__*>& list = GetModelessDialogList();
    if (list.Find(window) < 0)
        list.Add(window);
}

void RemoveModalKeyExemption(HWND window)
{
    SLockGuard lock(GetModelessDialogLock());
    SArray<HWND__*>& list = GetModelessDialogList();
    const int i = list.Find(window);
    if (i >= 0)
        list.RemoveAt(i, 1);
}
