#include "PTargetMaker.h"

namespace
{
const WPARAM kMakeWork = 1;
}

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
    job->made = MakeEmpty(job->target);
    SetEvent(job->done.Get());
}

// The first job starts the thread; the later ones come through its loop.
std::shared_ptr<PTargetMaker::_PJob> PTargetMaker::Begin(const SString& target)
{
    std::shared_ptr<_PJob> job = std::make_shared<_PJob>(target);
    if (!job->done.IsValid())
        return nullptr;
    while (!m_held.empty() && WaitForSingleObject(m_held.front()->done.Get(), 0) == WAIT_OBJECT_0)
        m_held.pop_front();
    m_held.push_back(job);
    if (IsRunning())
    {
        const HWND worker = GetWorkerWindow();
        return worker && PostMessageA(worker, SWM_THREAD_CALL, kMakeWork, reinterpret_cast<LPARAM>(job.get()))
                   ? job
                   : nullptr;
    }
    m_first = job;
    return Start(false) ? job : nullptr;
}

// A stop of the waiting thread ends the wait (and this thread) early.
bool PTargetMaker::End(const std::shared_ptr<_PJob>& job)
{
    return job && WaitForSignal(job->done.Get()) && job->made;
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
