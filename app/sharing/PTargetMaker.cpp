#include "PTargetMaker.h"

namespace
{
const WPARAM kMakeWork = 1;
}

PTargetMaker::PTargetMaker() : m_progress(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_waiting(false) {}

// The folder was listed when the run began: a file of that name that has
// bytes now appeared meanwhile, and is kept (its row fails, a later run
// resumes it) instead of being emptied.
bool PTargetMaker::MakeEmpty(const SString& target)
{
    const SHandleGuard file(CreateFileA(target.GetText(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    return file.IsValid() && GetFileSizeEx(file.Get(), &size) && size.QuadPart == 0;
}

void PTargetMaker::Make(_PJob* job)
{
    job->state = MakeEmpty(job->target) ? MADE : FAILED;
    if (m_waiting.exchange(false))
        SetEvent(m_progress.Get());
}

// A job the thread cannot take ends here: nothing would ever make it, and
// the ones after it would stay held behind it.
std::shared_ptr<PTargetMaker::_PJob> PTargetMaker::Begin(const SString& target)
{
    if (!m_progress.IsValid())
        return nullptr;
    std::shared_ptr<_PJob> job = std::make_shared<_PJob>(target);
    while (!m_held.empty() && m_held.front()->state != PENDING)
        m_held.pop_front();
    m_held.push_back(job);
    if (HandOver(job))
        return job;
    m_held.pop_back();
    return nullptr;
}

// The first job starts the thread; the later ones come through its loop.
bool PTargetMaker::HandOver(const std::shared_ptr<_PJob>& job)
{
    if (IsRunning())
    {
        const HWND worker = GetWorkerWindow();
        return worker && PostMessageA(worker, SWM_THREAD_CALL, kMakeWork, reinterpret_cast<LPARAM>(job.get()));
    }
    m_first = job;
    if (Start(false))
        return true;
    m_first.reset();
    return false;
}

// The waiting flag is raised before the job is looked at again, so a job
// done meanwhile either is seen here or signals. A stop of the waiting thread
// ends the wait (and this thread) early.
bool PTargetMaker::End(const std::shared_ptr<_PJob>& job)
{
    if (!job)
        return false;
    while (job->state == PENDING)
    {
        ResetEvent(m_progress.Get());
        m_waiting = true;
        if (job->state == PENDING && !WaitForSignal(m_progress.Get()))
            break;
    }
    return job->state == MADE;
}

bool PTargetMaker::Run()
{
    const std::shared_ptr<_PJob> job = m_first;
    m_first.reset();
    if (job)
        Make(job.get());
    return true;
}

void PTargetMaker::OnWork(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kMakeWork && lParam)
        Make(reinterpret_cast<_PJob*>(lParam));
}
