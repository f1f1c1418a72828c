#include <gtest/gtest.h>
#include <atomic>
#include <vector>
#include "SGlobals.h"
#include "SGuards.h"
#include "SWnd.h"

namespace
{
bool RegistryIsSorted()
{
    SLockGuard lock(GetWindowRegistryLock());
    const SArray<SWnd*>& registry = GetWindowRegistry();
    for (int i = 1; i < registry.GetCount(); i++)
    {
        const UINT_PTR previous = reinterpret_cast<UINT_PTR>(registry.GetAt(i - 1)->GetHandle());
        const UINT_PTR current = reinterpret_cast<UINT_PTR>(registry.GetAt(i)->GetHandle());
        if (!(previous < current))
            return false;
    }
    return true;
}

int RegistryCount()
{
    SLockGuard lock(GetWindowRegistryLock());
    return GetWindowRegistry().GetCount();
}

// Answers with its own number, so a message that reaches the wrong object shows.
class NumberedWnd : public SWnd
{
public:
    explicit NumberedWnd(int number) : number(number) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP + 10)
            return number;
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    int number;
};

struct StressShared
{
    std::atomic<bool> stop{false};
    std::atomic<int> wrongAnswers{0};
    std::atomic<int> created{0};
};

// Creates and destroys hidden windows on its own thread, checking that each
// answers as itself while it lives.
DWORD WINAPI ChurnWindows(LPVOID argument)
{
    auto* shared = static_cast<StressShared*>(argument);
    for (int round = 0; round < 150 && !shared->stop; round++)
    {
        std::vector<NumberedWnd*> windows;
        for (int i = 0; i < 4; i++)
        {
            auto* wnd = new NumberedWnd(1000 + i);
            if (wnd->CreateMessageWindow())
                shared->created++;
            windows.push_back(wnd);
        }
        for (size_t i = 0; i < windows.size(); i++)
            if (windows[i]->SendMessage(WM_APP + 10) != static_cast<LRESULT>(1000 + i))
                shared->wrongAnswers++;
        for (NumberedWnd* wnd : windows)
            delete wnd;
    }
    return 0;
}
} // namespace

TEST(SWndRegistry, FindsObjectsByHalvingOverSortedHandles)
{
    std::vector<NumberedWnd*> windows;
    for (int i = 0; i < 20; i++)
    {
        windows.push_back(new NumberedWnd(i));
        ASSERT_TRUE(windows.back()->CreateMessageWindow());
    }
    EXPECT_TRUE(RegistryIsSorted());
    for (NumberedWnd* wnd : windows)
    {
        EXPECT_EQ(wnd, SWnd::FromHandle(wnd->GetHandle()));
        EXPECT_GE(SWnd::FindHandleIndex(wnd->GetHandle()), 0);
    }
    EXPECT_EQ(-1, SWnd::FindHandleIndex(nullptr));
    EXPECT_EQ(nullptr, SWnd::FromHandle(GetDesktopWindow()));
    for (NumberedWnd* wnd : windows)
        delete wnd;
    EXPECT_TRUE(RegistryIsSorted());
}

TEST(SWndRegistry, ObjectWithoutWindowCannotBeRegistered)
{
    SWnd wnd;
    EXPECT_FALSE(wnd.RegisterHandle());
}

TEST(SWndRegistry, StaysConsistentWhileFourThreadsChurnHiddenWindows)
{
    const int before = RegistryCount();
    std::vector<NumberedWnd*> own;
    for (int i = 0; i < 8; i++)
    {
        own.push_back(new NumberedWnd(i));
        ASSERT_TRUE(own.back()->CreateMessageWindow());
    }

    StressShared shared;
    HANDLE threads[4];
    for (HANDLE& thread : threads)
    {
        thread = CreateThread(nullptr, 0, ChurnWindows, &shared, 0, nullptr);
        ASSERT_NE(nullptr, thread);
    }

    // The user-interface thread keeps routing messages to its own windows meanwhile.
    int wrongHere = 0;
    // Bounded, so a deadlock fails the test instead of hanging the suite.
    const DWORD deadline = GetTickCount() + 60000;
    bool ended = false;
    while (!(ended = WaitForMultipleObjects(4, threads, TRUE, 0) != WAIT_TIMEOUT) &&
           static_cast<LONG>(deadline - GetTickCount()) > 0)
    {
        for (size_t i = 0; i < own.size(); i++)
        {
            if (own[i]->SendMessage(WM_APP + 10) != static_cast<LRESULT>(i))
                wrongHere++;
            if (SWnd::FromHandle(own[i]->GetHandle()) != own[i])
                wrongHere++;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    ASSERT_TRUE(ended) << "the churning threads did not finish within a minute";
    for (HANDLE thread : threads)
        CloseHandle(thread);

    EXPECT_EQ(0, wrongHere);
    EXPECT_EQ(0, shared.wrongAnswers);
    EXPECT_EQ(4 * 150 * 4, shared.created);
    EXPECT_TRUE(RegistryIsSorted());
    EXPECT_EQ(before + 8, RegistryCount());
    for (NumberedWnd* wnd : own)
        delete wnd;
    EXPECT_EQ(before, RegistryCount());
}
