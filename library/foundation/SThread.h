// A worker thread with its own hidden message window: the body runs in
// SThread::Run, then (when asked) the library's message loop until a stop;
// other threads hand it work by posting SWM_THREAD_CALL or SWM_THREAD_LOOPCALL.
#pragma once
#include <atomic>
#include "SArray.h"
#include "SArrayString.h"
#include "SGuards.h"
#include "SValue.h"
// Core layer: a thread owns a hidden window that its stop and posts reach.
#include "SWnd.h"

class SThread
{
public:
    // Base of the objects that travel with posted work: the thread deletes one
    // after handling it when it was left in a pending slot.
    class _SObject
    {
    public:
        virtual ~_SObject() {}
    };

    // The hidden message window: hands the thread messages to its owner.
    class _SWnd : public SWnd
    {
    public:
        _SWnd() : m_owner(nullptr) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
        SThread* GetOwner() const { return m_owner; }

    private:
        SThread* m_owner;
    };

    // Something a thread is blocked on (a socket call, a transfer it waits
    // for) that its stop must break: told once, on the stopping thread, so it
    // must be quick and safe to call from there.
    class _SStopTarget
    {
    public:
        virtual void OnStopRequest() = 0;

    protected:
        ~_SStopTarget() {}
    };

    // Links a target to the thread that runs the caller for the life of the
    // object; a stop already asked reaches the target at once. Outside any
    // SThread it does nothing.
    class _SStopLink
    {
    public:
        explicit _SStopLink(_SStopTarget* target);
        ~_SStopLink();
        _SStopLink(const _SStopLink&) = delete;
        _SStopLink& operator=(const _SStopLink&) = delete;

    private:
        SThread* m_thread;
        _SStopTarget* m_target;
    };

    // How long a stop waits for the thread to end before it is forced.
    static const DWORD STOP_TIMEOUT = 10000;
    static const int PENDING_SLOTS = 32;

    SThread();
    // Stops a running thread first; a thread derived class should stop it in its
    // own destructor, while its overrides still exist.
    virtual ~SThread();
    SThread(const SThread&) = delete;
    SThread& operator=(const SThread&) = delete;

    virtual void OnThreadStart() {}
    virtual void OnThreadEnd() {}
    virtual bool Run() { return true; }
    virtual void OnWork(WPARAM wParam, LPARAM lParam) {}
    virtual void OnLoopWork(WPARAM wParam, LPARAM lParam) {}
    virtual void OnLoopEnd() {}

    // Starts the thread; with wait, returns once it has ended. False while a
    // thread runs or when it cannot be created.
    bool Start(bool wait);
    // Asks the thread to stop (in its body or in its loop). From the creator it
    // waits until the thread has ended; from the thread itself it only asks.
    bool Stop();
    // Waits on the creator until the event is set (true) or the thread has
    // ended without setting it (false), handling messages sent to the caller
    // meanwhile. A stop of the waiting thread is passed on to this one, as a
    // wait in Start does, and its end is awaited.
    bool WaitForSignal(HANDLE event);
    bool IsStopRequested() const;
    bool IsBusy() const;
    bool IsRunning() const { return m_running; }
    // The SThread whose procedure runs the calling thread; null elsewhere.
    static SThread* GetCurrent();

    int GetIntParam(const char* name) const;
    SString GetTextParam(const char* name) const;
    double GetRealParam(const char* name) const;
    void* GetPointerParam(const char* name) const;
    SValue* GetValueParam(const char* name) const;

    // Leaves an object in a free pending slot before it is posted with the
    // work; false when all slots are taken (the caller keeps it then).
    bool AddPendingObject(_SObject* object);
    // Clears the slots that hold the object and deletes it; an object found in
    // no slot is not touched.
    void ReleasePendingObject(const void* object);

    // The member window (made on the constructing thread) and the worker's
    // window (0 outside the thread's life): where work is posted.
    HWND GetWindow() const { return m_window.GetHandle(); }
    HWND GetWorkerWindow() const { return m_workerHandle; }
    DWORD GetThreadId() const { return m_threadId; }

protected:
    // The bound a stop waits before forcing the thread (tests shorten it).
    void SetStopTimeout(DWORD timeout) { m_stopTimeout = timeout; }

    // Named parameters: entry i of the names goes with entry i of the values.
    SArrayString m_valueNames;
    SArray<SValue*> m_values;
    SArrayString m_intNames;
    SArray<int> m_ints;
    SArrayString m_realNames;
    SArray<double> m_reals;
    SArrayString m_textNames;
    SArrayString m_texts;
    SArrayString m_pointerNames;
    SArray<void*> m_pointers;

private:
    static DWORD WINAPI ThreadProc(LPVOID argument);
    void RunInThread();
    bool RequestStop(int state);
    bool WaitForEnd(DWORD timeout, HANDLE alsoWake = nullptr);
    int WaitForAny(const HANDLE* handles, DWORD count, DWORD timeout);
    void EndThread();
    void ForceEnd();
    bool AddStopTarget(_SStopTarget* target);
    void RemoveStopTarget(_SStopTarget* target);
    void DeletePendingObjects();

    DWORD m_creatorId;
    _SWnd m_window;
    SHandleGuard m_thread;
    std::atomic<DWORD> m_threadId;
    std::atomic<bool> m_running;
    std::atomic<HWND> m_workerHandle;
    std::atomic<bool> m_inside;
    std::atomic<bool> m_inLoop;
    std::atomic<int> m_stopState;  // 0 none, 1 asked by the creator, 2 by the thread itself
    std::atomic<_SObject*> m_pending[PENDING_SLOTS];
    // Set with the stop state: a thread waiting for another wakes on its own stop.
    SHandleGuard m_stopEvent;
    DWORD m_stopTimeout;
    SCriticalSection m_targetLock;
    SArray<_SStopTarget*> m_targets;
};
