#include "PBookPicturePool.h"
#include <algorithm>
#include <new>
#include "PBookPictures.h"
#include "PSettings.h"
#include "PWndProgress.h"
#include "SImage.h"
#include "SThread.h"

// One worker: the default covers and names copied on the creating thread,
// since a GDI+ picture may not be used by two threads at once.
class PBookPicturePool::_PWorker : public SThread
{
public:
    _PWorker(PBookPicturePool& pool, const PLibraryFiles::_SCovers& covers) : m_pool(pool), m_root(covers.root)
    {
        if (covers.names)
            m_names = *covers.names;
        if (covers.picture)
            m_picture.CopyFrom(covers.picture);
        if (covers.smallPicture)
            m_smallPicture.CopyFrom(covers.smallPicture);
    }
    ~_PWorker() override { Stop(); }

    bool Run() override
    {
        PLibraryFiles::_SCovers covers;
        covers.root = m_root;
        covers.names = &m_names;
        covers.picture = &m_picture;
        covers.smallPicture = &m_smallPicture;
        // The jobs not taken are left to the caller when memory runs short here.
        try
        {
            PBookPictures pictures;
            m_pool.RunJobs(pictures, covers, nullptr);
        }
        catch (const std::bad_alloc&)
        {
        }
        return false;
    }

private:
    PBookPicturePool& m_pool;
    SString m_root;
    SArrayString m_names;
    SImage m_picture;
    SImage m_smallPicture;
};

PBookPicturePool::PBookPicturePool(const PLibraryFiles::_SCovers& covers)
    : m_covers(covers), m_next(0), m_done(0), m_handled(0), m_stopping(false), m_budget(BUDGET), m_held(0),
      m_stepped(GetTickCount()), m_doneEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    InitializeConditionVariable(&m_room);
}

PBookPicturePool::~PBookPicturePool()
{
    {
        SLockGuard lock(m_lock.Get());
        m_stopping = true;
    }
    WakeAllConditionVariable(&m_room);
    m_workers.clear();
}

int PBookPicturePool::GetCoreCount()
{
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

void PBookPicturePool::Add(const _SJob& job)
{
    m_jobs.push_back(job);
}

int PBookPicturePool::Start(int threads)
{
    // Room for every job made here: a worker never allocates to leave one.
    m_left.reserve(m_jobs.size());
    const int wanted = threads < GetCount() ? threads : GetCount();
    for (int i = 0; i < wanted; ++i)
    {
        std::unique_ptr<_PWorker> worker(new _PWorker(*this, m_covers));
        if (!worker->Start(false))
            break;
        m_workers.push_back(std::move(worker));
    }
    return static_cast<int>(m_workers.size());
}

int PBookPicturePool::MakeJob(const _SJob& job, int parts, PBookPictures& pictures,
                              const PLibraryFiles::_SCovers& covers)
{
    int made = 0;
    try
    {
        if (parts & MADE_COVER)
        {
            SImage cover;
            const bool whole = PLibraryFiles::LoadFolderCover(&cover, TextOf(job.folder), false, covers);
            if (pictures.WriteCover(cover, job.base + ".jpg") && whole)
                made |= MADE_COVER;
        }
        if ((parts & MADE_BAR) && pictures.WriteNameBar(job.name, job.bar, job.base + ".png"))
            made |= MADE_BAR;
    }
    catch (const std::bad_alloc&)
    {
    }
    return made;
}

long long PBookPicturePool::CostOf(const _SJob& job) const
{
    return job.bytes * BYTES_PER_FILE_BYTE;
}

// A job waits until the others leave room for it; the first in flight always goes.
bool PBookPicturePool::TakeBudget(long long cost)
{
    if (cost > m_budget)
        return false;
    SLockGuard lock(m_lock.Get());
    while (m_held > 0 && m_held + cost > m_budget && !m_stopping)
        SleepConditionVariableCS(&m_room, &m_lock.Get(), INFINITE);
    if (m_stopping)
        return false;
    m_held += cost;
    return true;
}

void PBookPicturePool::GiveBudget(long long cost)
{
    {
        SLockGuard lock(m_lock.Get());
        m_held -= cost;
    }
    WakeAllConditionVariable(&m_room);
}

// On a worker (no progress window) a job that cannot be made whole, for want
// of memory or room in the budget, is left to the caller; on the caller's
// thread what comes out is final, as in a book of one thread.
void PBookPicturePool::RunJobs(PBookPictures& pictures, const PLibraryFiles::_SCovers& covers, PWndProgress* progress)
{
    const int ALL = MADE_COVER | MADE_BAR;
    for (int i = m_next++; i < GetCount() && !m_stopping; i = m_next++)
    {
        const _SJob& job = m_jobs[static_cast<size_t>(i)];
        const long long cost = CostOf(job);
        int made = ALL;
        if (progress)
            MakeJob(job, ALL, pictures, covers);
        else if (TakeBudget(cost))
        {
            made = MakeJob(job, ALL, pictures, covers);
            GiveBudget(cost);
        }
        else
            made = 0;
        if (made != ALL)
        {
            SLockGuard lock(m_lock.Get());
            m_left.emplace_back(i, ALL & ~made);
        }
        const int done = made == ALL ? ++m_done : m_done.load();
        if (++m_handled == GetCount())
            SetEvent(m_doneEvent.Get());
        if (progress)
            progress->Step(done - 1, GetCount());
    }
}

void PBookPicturePool::MakeLeftJobs(PWndProgress& progress)
{
    if (m_left.empty())
        return;
    std::sort(m_left.begin(), m_left.end());
    PBookPictures pictures;
    for (const auto& left : m_left)
    {
        MakeJob(m_jobs[static_cast<size_t>(left.first)], left.second, pictures, m_covers);
        progress.Step(++m_done - 1, GetCount());
    }
    m_left.clear();
}

bool PBookPicturePool::IsAnyWorkerRunning() const
{
    for (const auto& worker : m_workers)
        if (worker->IsRunning())
            return true;
    return false;
}

// The bar moves a few times a second: every redraw asks the window system,
// which the workers' file writes wait on too.
void PBookPicturePool::ShowProgress(PWndProgress& progress)
{
    const DWORD now = GetTickCount();
    if (m_done == 0 || now - m_stepped < STEP_TIME)
        return;
    m_stepped = now;
    progress.Step(m_done - 1, GetCount());
}

void PBookPicturePool::Finish(PWndProgress& progress)
{
    while (m_handled < GetCount() && IsAnyWorkerRunning())
    {
        WaitForSingleObject(m_doneEvent.Get(), STEP_TIME);
        ShowProgress(progress);
    }
    m_workers.clear();
    // What no worker was there to take: none started, or the caller asked for none.
    if (m_next < GetCount())
    {
        PBookPictures pictures;
        RunJobs(pictures, m_covers, &progress);
    }
    MakeLeftJobs(progress);
    progress.Step(GetCount() - 1, GetCount());
}
