#include <gtest/gtest.h>
#include "SGlobals.h"
#include "SGuards.h"
#include "SLibrary.h"
#include "SWnd.h"
#include "ThreadTestSupport.h"

namespace
{
// A window that can be put into a modal run by the test and counts what the
// modal loop delivers.
class ModalWnd : public SWnd
{
public:
    int oks = 0;
    int cancels = 0;
    int keys = 0;
    LPARAM lastOkLParam = -1;
    void BeginModal() { m_modal = true; }
    int GetModalResult() const { return m_modalResult; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_DIALOGOK)
        {
            oks++;
            lastOkLParam = lParam;
        }
        if (message == SWM_DIALOGCANCEL)
            cancels++;
        if (message == WM_KEYDOWN)
            keys++;
        if (message == WM_APP + 20)
            EndModal(5);
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

int idleCalls = 0;
void QuitAfterThreeIdles(LPARAM argument)
{
    if (++idleCalls == 3)
        PostQuitMessage(static_cast<int>(argument));
}

// Clears the flag after the first message, so the loop changes to polling.
class FlagClearingWnd : public SWnd
{
public:
    bool* flag = nullptr;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP + 30 && flag)
            *flag = false;
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

int ModelessCount()
{
    SLockGuard lock(GetModelessDialogLock());
    return GetModelessDialogList().GetCount();
}

bool TakeQuit(WPARAM* code)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    *code = msg.wParam;
    return true;
}
} // namespace

TEST(SMessageLoop, BlockingLoopEndsOnQuit)
{
    PostQuitMessage(3);
    bool blocking = true;
    RunMessageLoop(&blocking, nullptr, 0);
    WPARAM code = 0;
    EXPECT_FALSE(TakeQuit(&code));
}

TEST(SMessageLoop, PollingLoopCallsIdleUntilQuit)
{
    idleCalls = 0;
    bool blocking = false;
    RunMessageLoop(&blocking, QuitAfterThreeIdles, 9);
    EXPECT_EQ(3, idleCalls);
}

TEST(SMessageLoop, HandlerCanSwitchTheLoopToPolling)
{
    FlagClearingWnd wnd;
    ASSERT_TRUE(wnd.CreateMessageWindow());
    bool blocking = true;
    wnd.flag = &blocking;
    idleCalls = 0;
    wnd.PostMessage(WM_APP + 30);
    RunMessageLoop(&blocking, QuitAfterThreeIdles, 0);
    EXPECT_FALSE(blocking);
    EXPECT_EQ(3, idleCalls);
}

TEST(SMessageLoop, ModelessListKeepsEachWindowOnce)
{
    SWnd dialog;
    ASSERT_TRUE(dialog.CreateMessageWindow());
    const int before = ModelessCount();
    AddModalKeyExemption(dialog.GetHandle());
    AddModalKeyExemption(dialog.GetHandle());
    EXPECT_EQ(before + 1, ModelessCount());
    RemoveModalKeyExemption(dialog.GetHandle());
    RemoveModalKeyExemption(dialog.GetHandle());
    EXPECT_EQ(before, ModelessCount());
}

TEST(SMessageLoop, MessagesStillReachWindowsWithAModelessDialogListed)
{
    SWnd dialog;
    ASSERT_TRUE(dialog.Create("Find", WS_OVERLAPPED, 0, nullptr, nullptr));
    AddModalKeyExemption(dialog.GetHandle());
    ModalWnd target;
    ASSERT_TRUE(target.Create("Target", WS_OVERLAPPED, 0, nullptr, nullptr));
    target.PostMessage(WM_KEYDOWN, 'A', 0);
    PostQuitMessage(0);
    bool blocking = true;
    RunMessageLoop(&blocking, nullptr, 0);
    RemoveModalKeyExemption(dialog.GetHandle());
    EXPECT_EQ(1, target.keys);
}

TEST(SModalLoop, ReturnEndsTheRunAsDialogOk)
{
    ModalWnd wnd;
    ASSERT_TRUE(wnd.Create("Modal", WS_OVERLAPPED, 0, nullptr, nullptr));
    wnd.BeginModal();
    wnd.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    bool blocking = true;
    RunModalLoop(&wnd, &blocking, nullptr, 0);
    EXPECT_FALSE(wnd.IsModal());
    EXPECT_EQ(1, wnd.oks);
    EXPECT_EQ(1, wnd.lastOkLParam);
    EXPECT_EQ(0, wnd.GetModalResult());
    // The key itself is dispatched as well.
    EXPECT_EQ(1, wnd.keys);
}

TEST(SModalLoop, EscapeEndsTheRunAsCancel)
{
    ModalWnd wnd;
    ASSERT_TRUE(wnd.Create("Modal", WS_OVERLAPPED, 0, nullptr, nullptr));
    wnd.BeginModal();
    wnd.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    bool blocking = true;
    RunModalLoop(&wnd, &blocking, nullptr, 0);
    EXPECT_EQ(1, wnd.cancels);
    EXPECT_EQ(-1, wnd.GetModalResult());
}

TEST(SModalLoop, ReturnIsNotTurnedIntoOkWhileAModelessDialogIsListed)
{
    SWnd finder;
    ASSERT_TRUE(finder.Create("Find", WS_OVERLAPPED, 0, nullptr, nullptr));
    AddModalKeyExemption(finder.GetHandle());
    ModalWnd wnd;
    ASSERT_TRUE(wnd.Create("Modal", WS_OVERLAPPED, 0, nullptr, nullptr));
    wnd.BeginModal();
    wnd.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    wnd.PostMessage(WM_APP + 20);
    bool blocking = true;
    RunModalLoop(&wnd, &blocking, nullptr, 0);
    RemoveModalKeyExemption(finder.GetHandle());
    EXPECT_EQ(0, wnd.oks);
    EXPECT_EQ(1, wnd.keys);
    EXPECT_EQ(5, wnd.GetModalResult());
}

TEST(SModalLoop, QuitIsPostedAgainForTheEnclosingLoop)
{
    ModalWnd wnd;
    ASSERT_TRUE(wnd.Create("Modal", WS_OVERLAPPED, 0, nullptr, nullptr));
    wnd.BeginModal();
    PostQuitMessage(7);
    bool blocking = true;
    RunModalLoop(&wnd, &blocking, nullptr, 0);
    EXPECT_TRUE(wnd.IsModal());
    WPARAM code = 0;
    ASSERT_TRUE(TakeQuit(&code));
    EXPECT_EQ(7u, code);
}

TEST(SModalLoop, LoopDoesNotRunForAWindowThatIsNotModal)
{
    ModalWnd wnd;
    ASSERT_TRUE(wnd.Create("Modal", WS_OVERLAPPED, 0, nullptr, nullptr));
    wnd.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    bool blocking = true;
    RunModalLoop(&wnd, &blocking, nullptr, 0);
    EXPECT_EQ(0, wnd.keys);
    PumpMessages();
}
