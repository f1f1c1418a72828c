// Makes the new, empty targets of a download run on a thread of its own:
// under Wine making a file reads its whole folder, and that then runs beside
// the transfer of the file before it instead of after it.
#pragma once
#include <atomic>
#include <deque>
#include <memory>
#include "SGuards.h"
#include "SString.h"
#include "SThread.h"

class PTargetMaker : public SThread
{
public:
    // One file to make, shared by the caller and the thread until it is done.
    struct _PJob
    {
        explicit _PJob(const SString& path) : target(path), state(PENDING) {}
        const SString target;
        std::atomic<int> state;
    };
    enum
    {
        PENDING,
        MADE,
        FAILED
    };

    PTargetMaker();
    ~PTargetMaker() override { Stop(); }

    // Makes the empty file, or takes an empty one that exists, without the
    // C runtime: its open holds the runtime's lock of all streams while the
    // system looks for the name, and threads of this process that open files
    // would wait.
    static bool MakeEmpty(const SString& target);
    // The job begun on the thread, in order after the ones before it; null
    // when the thread cannot take it (the caller then makes the file itself).
    std::shared_ptr<_PJob> Begin(const SString& target);
    // Waits for the job: true when its file was made.
    bool End(const std::shared_ptr<_PJob>& job);
    // The jobs handed over and not yet let go.
    size_t GetHeldCount() const { return m_held.size(); }

    bool Run() override;
    void OnWork(WPARAM wParam, LPARAM lParam) override;

private:
    bool HandOver(const std::shared_ptr<_PJob>& job);
    void Make(_PJob* job);

    std::shared_ptr<_PJob> m_first; // the job the thread starts with
    // Every job handed over and not done yet, in order: a caller that gives up
    // its share (its connection was lost) never frees one the thread will make.
    std::deque<std::shared_ptr<_PJob>> m_held;
    // Set by the thread when a job is done while the caller waits for one:
    // a job done before it is needed costs no signal, and no wait.
    SHandleGuard m_progress;
    std::atomic<bool> m_waiting;
};
