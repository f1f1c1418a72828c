#include "SThread.h"
#include "SLibrary.h"

namespace
{
thread_local SThread* t_current = nullptr;

template <class T>
T ParamOf(const SArrayString& names, const SArray<T>& values, const char* name, T none)
{
    const int i = names.Find(name);
    return (i < 0 || i >= values.GetCount()) ? none : values.GetAt(i);
}
} // namespace

SThread::SThread()
    : m_creatorId(0), m_threadId(0), m_running(false), m_workerHandle(nullptr), m_inside(false),
      m_inLoop(false), m_stopState(0), m_stopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_stopTimeout(STOP_TIMEOUT)
{
    for (auto& slot : m_pending)
        slot = nullptr;
    m_intNames.AddFlags(SArray<SString*>::NoCase);
    m_realNames.AddFlags(SArray<SString*>::NoCase);
    m_textNames.AddFlags(SArray<SString*>::NoCase);
    m_pointerNames.AddFlags(SArray<SString*>::NoCase);
    m_window.CreateMessageWindow(reinterpret_cast<LPARAM>(this));
}

SThread::~SThread()
{
    if (m_thread.IsValid())
    {
        RequestStop(1);
        EndThread();
    }
    m_window.DestroyWindow();
    DeletePendingObjects();
}

// --- Start and stop ---------------------------------------------------------

bool SThread::Start(bool wait)
{
    if (m_running)
        return false;
    // A thread that has ended leaves its handle open until now.
    if (m_thread.IsValid())
        EndThread();
    DeletePendingObjects();
    m_inside = false;
    m_inLoop = false;
    m_stopState = 0;
    ResetEvent(m_stopEvent.Get());
    m_creatorId = GetCurrentThreadId();
    m_running = true;

    // Created suspended so that the id is known before the thread can ask for it.
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id);
    if (!thread)
    {
        m_creatorId = 0;
        m_running = false;
        return false;
    }
    m_thread.Reset(thread);
    m_threadId = id;
    ResumeThread(thread);
    if (wait)
    {
        // A stop of the waiting thread reaches the one it waits for; that one
        // then has the usual bound to end.
        SThread* waiter = GetCurrent();
        if (!WaitForEnd(INFINITE, waiter ? waiter->m_stopEvent.Get() : nullptr))
            RequestStop(1);
        EndThread();
    }
    return true;
}

bool SThread::Stop()
{
    if (!m_running || m_stopState != 0)
        return false;
    const DWORD caller = GetCurrentThreadId();
    if (caller == m_threadId)
    {
        m_stopState = 2;
        if (m_inLoop)
            PostQuitMessage(0);
        return true;
    }
    if (caller != m_creatorId)
        return false;
    if (!RequestStop(1))
        return false;
    EndThread();
    return true;
}

// Sets the stop state and ends the loop when the thread is in it. The thread
// marks "in loop" before it looks at the stop state, and this side sets the
// state before it looks at "in loop": one of the two always sees the other.
bool SThread::RequestStop(int state)
{
    int expected = 0;
    if (!m_stopState.compare_exchange_strong(expected, state))
        return expected == state;
    if (m_inLoop)
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    {
        SLockGuard lock(m_targetLock.Get());
        for (int i = 0; i < m_targets.GetCount(); i++)
            m_targets.GetAt(i)->OnStopRequest();
    }
    SetEvent(m_stopEvent.Get());
    return true;
}

// --- Stop targets -----------------------------------------------------------

SThread* SThread::GetCurrent()
{
    return t_current;
}

// False when a stop was already asked: the caller is then told at once.
bool SThread::AddStopTarget(_SStopTarget* target)
{
    SLockGuard lock(m_targetLock.Get());
    if (m_stopState != 0)
        return false;
    m_targets.Add(target);
    return true;
}

void SThread::RemoveStopTarget(_SStopTarget* target)
{
    SLockGuard lock(m_targetLock.Get());
    for (int i = m_targets.GetCount() - 1; i >= 0; i--)
        if (m_targets.GetAt(i) == target)
            m_targets.RemoveAt(i);
}

SThread::_SStopLink::_SStopLink(_SStopTarget* target) : m_thread(GetCurrent()), m_target(target)
{
    if (m_thread && target && !m_thread->AddStopTarget(target))
    {
        m_thread = nullptr;
        target->OnStopRequest();
    }
}

SThread::_SStopLink::~_SStopLink()
{
    if (m_thread)
        m_thread->RemoveStopTarget(m_target);
}

// Waits for the thread's end. False at the time-out or when the other event
// is set first.
bool SThread::WaitForEnd(DWORD timeout, HANDLE alsoWake)
{
    const HANDLE handles[2] = {m_thread.Get(), alsoWake};
    const int woken = WaitForAny(handles, alsoWake ? 2 : 1, timeout);
    return woken == 0 || WaitForSingleObject(handles[0], 0) == WAIT_OBJECT_0;
}

bool SThread::WaitForSignal(HANDLE event)
{
    SThread* waiter = GetCurrent();
    const HANDLE handles[3] = {event, m_thread.Get(), waiter ? waiter->m_stopEvent.Get() : nullptr};
    if (WaitForAny(handles, waiter ? 3 : 2, INFINITE) == 2 && WaitForSingleObject(event, 0) != WAIT_OBJECT_0)
    {
        RequestStop(1);
        EndThread();
    }
    return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

// The index of the first handle set, or -1 at the time-out or on failure.
// Messages sent to this thread meanwhile are handled, since the worker may be
// inside a SendMessage to it.
int SThread::WaitForAny(const HANDLE* handles, DWORD count, DWORD timeout)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        DWORD slice = 1000;
        if (timeout != INFINITE)
        {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeout)
                return -1;
            slice = timeout - elapsed < slice ? timeout - elapsed : slice;
        }
        const DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, slice, QS_SENDMESSAGE);
        if (result < WAIT_OBJECT_0 + count)
            return static_cast<int>(result - WAIT_OBJECT_0);
        if (result == WAIT_OBJECT_0 + count)
        {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        else if (result == WAIT_FAILED)
            return -1;
    }
}

// Waits (bounded) for the thread and closes its handle. Forcing the thread
// down is the last resort, for a body that never looks at its stop request.
void SThread::EndThread()
{
    if (!m_thread.IsValid())
        return;
    if (GetCurrentThreadId() != m_threadId && !WaitForEnd(m_stopTimeout))
        ForceEnd();
    m_thread.Reset();
    m_threadId = 0;
}

// The thread's windows leave the handle registry first: once it is gone they
// are destroyed with it, and their objects lived on its stack.
void SThread::ForceEnd()
{
    SWnd::ForgetThreadWindows(m_threadId);
    TerminateThread(m_thread.Get(), 0);
    WaitForSingleObject(m_thread.Get(), STOP_TIMEOUT);
    {
        SLockGuard lock(m_targetLock.Get());
        m_targets.RemoveAll();
    }
    m_inside = false;
    m_inLoop = false;
    m_workerHandle = nullptr;
    m_running = false;
}

bool SThread::IsStopRequested() const
{
    return m_inside && m_stopState != 0;
}

bool SThread::IsBusy() const
{
    return m_running && m_inside;
}

// --- The thread -------------------------------------------------------------

DWORD WINAPI SThread::ThreadProc(LPVOID argument)
{
    static_cast<SThread*>(argument)->RunInThread();
    return 0;
}

void SThread::RunInThread()
{
    const DWORD creator = m_creatorId;
    t_current = this;
    OnThreadStart();
    {
        _SWnd window;
        window.CreateMessageWindow(reinterpret_cast<LPARAM>(this));
        m_workerHandle = window.GetHandle();
        m_inside = true;
        if (Run())
        {
            m_inLoop = true;
            if (m_stopState == 0)
            {
                bool blocking = true;
                RunMessageLoop(&blocking, nullptr, 0);
            }
            m_inLoop = false;
        }
        OnLoopEnd();
        m_inside = false;
        m_workerHandle = nullptr;
        OnThreadEnd();
    }
    t_current = nullptr;
    m_running = false;
    // Wakes a creator that waits on its message queue.
    PostThreadMessageA(creator, 0, 0, 0);
}

// --- Parameters and pending objects -----------------------------------------

int SThread::GetIntParam(const char* name) const
{
    return ParamOf(m_intNames, m_ints, name, 0);
}

SString SThread::GetTextParam(const char* name) const
{
    const int i = m_textNames.Find(name);
    return (i < 0 || i >= m_texts.GetCount()) ? SString("") : m_texts.GetAt(i);
}

double SThread::GetRealParam(const char* name) const
{
    return ParamOf(m_realNames, m_reals, name, 0.0);
}

void* SThread::GetPointerParam(const char* name) const
{
    return ParamOf<void*>(m_pointerNames, m_pointers, name, nullptr);
}

SValue* SThread::GetValueParam(const char* name) const
{
    return ParamOf<SValue*>(m_valueNames, m_values, name, nullptr);
}

bool SThread::AddPendingObject(_SObject* object)
{
    if (!object)
        return false;
    for (auto& slot : m_pending)
    {
        _SObject* empty = nullptr;
        if (slot.compare_exchange_strong(empty, object))
            return true;
    }
    return false;
}

void SThread::ReleasePendingObject(const void* object)
{
    if (!object)
        return;
    _SObject* found = nullptr;
    for (auto& slot : m_pending)
    {
        _SObject* held = slot.load();
        if (held && static_cast<const void*>(held) == object && slot.compare_exchange_strong(held, nullptr))
            found = held;
    }
    delete found;
}

void SThread::DeletePendingObjects()
{
    for (auto& slot : m_pending)
        delete slot.exchange(nullptr);
}

// --- Hidden window ----------------------------------------------------------

LRESULT SThread::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SWM_CREATED)
        m_owner = reinterpret_cast<SThread*>(lParam);
    else if (message == SWM_THREAD_CALL && m_owner)
    {
        m_owner->OnWork(wParam, lParam);
        m_owner->ReleasePendingObject(reinterpret_cast<const void*>(lParam));
    }
    else if (message == SWM_THREAD_LOOPCALL && m_owner)
    {
        if (m_owner->m_inLoop)
            m_owner->OnLoopWork(wParam, lParam);
        m_owner->ReleasePendingObject(reinterpret_cast<const void*>(lParam));
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
