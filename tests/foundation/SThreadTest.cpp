#include <gtest/gtest.h>
#include <atomic>
#include "SThread.h"
#include "ThreadTestSupport.h"

namespace
{
// Counts its deletions, so tests see which pending objects were released.
class CountedObject : public SThread::_SObject
{
public:
    explicit CountedObject(std::atomic<int>* deletions) : deletions(deletions) {}
    ~CountedObject() override { ++*deletions; }

private:
    std::atomic<int>* deletions;
};

// Records what the thread went through; the record lives outside the object so
// that it can be read after the object is gone.
struct Journal
{
    std::atomic<int> starts{0};
    std::atomic<int> runs{0};
    std::atomic<int> loopEnds{0};
    std::atomic<int> threadEnds{0};
    std::atomic<int> work{0};
    std::atomic<int> loopWork{0};
    std::atomic<WPARAM> lastWParam{0};
    std::atomic<DWORD> workThread{0};
    std::atomic<bool> sawStopInRun{false};
};

class TestThread : public SThread
{
public:
    enum Body
    {
        LOOP,         // returns true: the loop runs
        NO_LOOP,      // returns false
        WAIT_FOR_STOP // stays in Run until a stop is asked
    };

    TestThread(Journal& journal, Body body) : journal(journal), body(body) {}
    ~TestThread() override { Stop(); }

    void OnThreadStart() override { journal.starts++; }
    void OnThreadEnd() override { journal.threadEnds++; }
    void OnLoopEnd() override { journal.loopEnds++; }
    bool Run() override
    {
        journal.runs++;
        if (body == WAIT_FOR_STOP)
        {
            while (!IsStopRequested())
                Sleep(1);
            journal.sawStopInRun = true;
        }
        return body != NO_LOOP;
    }
    void OnWork(WPARAM wParam, LPARAM lParam) override
    {
        journal.workThread = GetCurrentThreadId();
        journal.lastWParam = wParam;
        if (wParam == 99)
            Stop();  // from the thread itself
        journal.work++;
    }
    void OnLoopWork(WPARAM wParam, LPARAM lParam) override { journal.loopWork++; }

    void AddInt(const char* name, int value)
    {
        m_intNames.Add(name);
        m_ints.Add(value);
    }
    void AddText(const char* name, const char* value)
    {
        m_textNames.Add(name);
        m_texts.Add(value);
    }

private:
    Journal& journal;
    Body body;
};

bool WaitInLoop(TestThread& thread)
{
    return WaitUntil([&] { return thread.IsBusy() && thread.GetWorkerWindow() != nullptr; });
}
} // namespace

TEST(SThreadStart, RunsBodyThenLoopUntilStoppedByCreator)
{
    Journal journal;
    TestThread thread(journal, TestThread::LOOP);
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitInLoop(thread));
    EXPECT_FALSE(thread.IsStopRequested());
    EXPECT_TRUE(thread.Stop());
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(nullptr, thread.GetWorkerWindow());
    EXPECT_EQ(1, journal.starts);
    EXPECT_EQ(1, journal.runs);
    EXPECT_EQ(1, journal.loopEnds);
    EXPECT_EQ(1, journal.threadEnds);
}

TEST(SThreadStart, SecondStartWhileRunningIsRefused)
{
    Journal journal;
    TestThread thread(journal, TestThread::LOOP);
    ASSERT_TRUE(thread.Start(false));
    EXPECT_FALSE(thread.Start(false));
    ASSERT_TRUE(WaitInLoop(thread));
    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(1, journal.runs);
}

TEST(SThreadStart, RestartsAfterTheThreadHasEnded)
{
    Journal journal;
    TestThread thread(journal, TestThread::LOOP);
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitInLoop(thread));
    ASSERT_TRUE(thread.Stop());
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitInLoop(thread));
    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(2, journal.runs);
    EXPECT_EQ(2, journal.threadEnds);
}

TEST(SThreadStart, RunReturningFalseEndsWithoutLoopAndStopIsRefused)
{
    Journal journal;
    TestThread thread(journal, TestThread::NO_LOOP);
    ASSERT_TRUE(thread.Start(true));
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(1, journal.runs);
    EXPECT_EQ(1, journal.loopEnds);
    EXPECT_EQ(1, journal.threadEnds);
    EXPECT_FALSE(thread.Stop());
    // The handle was closed by the waiting start: a new start is possible.
    EXPECT_TRUE(thread.Start(true));
    EXPECT_EQ(2, journal.runs);
}

TEST(SThreadStop, StopsAThreadStillInsideRun)
{
    Journal journal;
    TestThread thread(journal, TestThread::WAIT_FOR_STOP);
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitUntil([&] { return journal.runs == 1; }));
    EXPECT_TRUE(thread.Stop());
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_TRUE(journal.sawStopInRun);
    EXPECT_EQ(1, journal.loopEnds);
    EXPECT_EQ(1, journal.threadEnds);
}

TEST(SThreadStop, StopFromTheThreadItselfEndsItsLoop)
{
    Journal journal;
    TestThread thread(journal, TestThread::LOOP);
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitInLoop(thread));
    PostMessageA(thread.GetWorkerWindow(), SWM_THREAD_CALL, 99, 0);
    ASSERT_TRUE(WaitUntil([&] { return !thread.IsRunning(); }));
    EXPECT_EQ(1, journal.loopEnds);
    // A stop is already under way: the creator's stop is refused, a new start closes the old handle.
    EXPECT_FALSE(thread.Stop());
    EXPECT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitInLoop(thread));
    EXPECT_TRUE(thread.Stop());
}

namespace
{
struct StopCall
{
    TestThread* thread = nullptr;
    std::atomic<int> answer{-1};
};

DWORD WINAPI StopFromOtherThread(LPVOID argument)
{
    StopCall* call = static_cast<StopCall*>(argument);
    call->answer = call->thread->Stop() ? 1 : 0;
    return 0;
}
} // namespace

TEST(SThreadStop, StopFromAnotherThreadIsRefused)
{
    Journal journal;
    TestThread thread(journal, TestThread::LOOP);
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitInLoop(thread));
    StopCall call;
    call.thread = &thread;
    HANDLE other = CreateThread(nullptr, 0, StopFromOtherThread, &call, 0, nullptr);
    ASSERT_NE(nullptr, other);
    WaitForSingleObject(other, 10000);
    CloseHandle(other);
    EXPECT_EQ(0, call.answer);
    EXPECT_TRUE(thread.IsBusy());
    EXPECT_TRUE(thread.Stop());
}

namespace
{
// A worker that sends to a window of its creator while the creator waits in Stop.
class SendingThread : public SThread
{
public:
    explicit SendingThread(HWND target) : target(target) {}
    ~SendingThread() override { Stop(); }
    void OnLoopEnd() override { answer = SendMessageA(target, WM_USER + 7, 0, 0); }
    std::atomic<LRESULT> answer{0};

private:
    HWND target;
};

class AnsweringWnd : public SWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 7)
            return 42;
        return SWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST(SThreadStop, CreatorAnswersMessagesSentWhileItWaits)
{
    AnsweringWnd window;
    ASSERT_TRUE(window.CreateMessageWindow());
    SendingThread thread(window.GetHandle());
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitUntil([&] { return thread.IsBusy(); }));
    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(42, thread.answer);
}

TEST(SThreadStop, DestructorStopsARunningThread)
{
    Journal journal;
    auto* thread = new TestThread(journal, TestThread::LOOP);
    ASSERT_TRUE(thread->Start(false));
    ASSERT_TRUE(WaitInLoop(*thread));
    delete thread;
    EXPECT_EQ(1, journal.loopEnds);
    EXPECT_EQ(1, journal.threadEnds);
}

TEST(SThreadWork, PostedWorkRunsOnTheWorkerAndReleasesItsObject)
{
    Journal journal;
    std::atomic<int> deletions{0};
    TestThread thread(journal, TestThread::LOOP);
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitInLoop(thread));
    auto* object = new CountedObject(&deletions);
    ASSERT_TRUE(thread.AddPendingObject(object));
    PostMessageA(thread.GetWorkerWindow(), SWM_THREAD_CALL, 5, reinterpret_cast<LPARAM>(object));
    PostMessageA(thread.GetWorkerWindow(), SWM_THREAD_LOOPCALL, 6, 0);
    ASSERT_TRUE(WaitUntil([&] { return journal.work == 1 && journal.loopWork == 1; }));
    EXPECT_EQ(5u, journal.lastWParam);
    EXPECT_EQ(thread.GetThreadId(), journal.workThread);
    EXPECT_EQ(1, deletions);
    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(1, deletions);
}

TEST(SThreadWork, LoopCallOutsideTheLoopSkipsWorkButReleasesObject)
{
    Journal journal;
    std::atomic<int> deletions{0};
    TestThread thread(journal, TestThread::LOOP);
    auto* object = new CountedObject(&deletions);
    ASSERT_TRUE(thread.AddPendingObject(object));
    // The member window belongs to this thread, which runs no thread loop.
    PostMessageA(thread.GetWindow(), SWM_THREAD_LOOPCALL, 1, reinterpret_cast<LPARAM>(object));
    PumpMessages();
    EXPECT_EQ(0, journal.loopWork);
    EXPECT_EQ(1, deletions);
}

TEST(SThreadWork, ObjectInNoSlotIsNotDeleted)
{
    Journal journal;
    std::atomic<int> deletions{0};
    TestThread thread(journal, TestThread::LOOP);
    CountedObject outside(&deletions);
    thread.ReleasePendingObject(&outside);
    EXPECT_EQ(0, deletions);
}

TEST(SThreadWork, PendingObjectsLeftOverAreDeletedWithTheThread)
{
    Journal journal;
    std::atomic<int> deletions{0};
    {
        TestThread thread(journal, TestThread::LOOP);
        ASSERT_TRUE(thread.AddPendingObject(new CountedObject(&deletions)));
        ASSERT_TRUE(thread.AddPendingObject(new CountedObject(&deletions)));
    }
    EXPECT_EQ(2, deletions);
}

TEST(SThreadWork, AllSlotsTakenRefusesAnotherObject)
{
    Journal journal;
    std::atomic<int> deletions{0};
    TestThread thread(journal, TestThread::LOOP);
    for (int i = 0; i < SThread::PENDING_SLOTS; i++)
        ASSERT_TRUE(thread.AddPendingObject(new CountedObject(&deletions)));
    CountedObject extra(&deletions);
    EXPECT_FALSE(thread.AddPendingObject(&extra));
}

TEST(SThreadParams, NamesAreFoundWithoutCaseAndMissingOnesGiveDefaults)
{
    Journal journal;
    TestThread thread(journal, TestThread::LOOP);
    thread.AddInt("Port", 12465);
    thread.AddText("Folder", "C:\\Music\\");
    EXPECT_EQ(12465, thread.GetIntParam("PORT"));
    EXPECT_EQ(0, thread.GetIntParam("Missing"));
    EXPECT_STREQ("C:\\Music\\", thread.GetTextParam("folder").GetText());
    EXPECT_EQ(0, thread.GetTextParam("Missing").GetLength());
    EXPECT_EQ(nullptr, thread.GetPointerParam("Port"));
}

namespace
{
// A body that never looks at its stop request: only forcing ends it.
class DeafThread : public SThread
{
public:
    DeafThread() { SetStopTimeout(300); }
    bool Run() override
    {
        for (;;)
            Sleep(20);
    }
};
} // namespace

TEST(SThreadStop, ForcedEndAfterTheBoundLeavesNoRegistryEntry)
{
    DeafThread thread;
    ASSERT_TRUE(thread.Start(false));
    ASSERT_TRUE(WaitUntil([&] { return thread.GetWorkerWindow() != nullptr; }));
    const HWND worker = thread.GetWorkerWindow();
    ASSERT_GE(SWnd::FindHandleIndex(worker), 0);
    EXPECT_TRUE(thread.Stop());
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_LT(SWnd::FindHandleIndex(worker), 0);
}
