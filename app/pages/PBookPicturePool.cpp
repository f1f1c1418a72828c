#include "PBookPicturePool.h"
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
        PBookPictures pictures;
        m_pool.RunJobs(pictures, covers, nullptr);
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
    : m_covers(covers), m_next(0), m_done(0), m_stopping(false), m_stepped(GetTickCount()),
      m_doneEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
}

PBookPicturePool::~PBookPicturePool()
{
    m_stopping = true;
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

void PBookPicturePool::RunJobs(PBookPictures& pictures, const PLibraryFiles::_SCovers& covers, PWndProgress* progress)
{
    for (int i = m_next++; i < GetCount() && !m_stopping; i = m_next++)
    {
        const _SJob& job = m_jobs[static_cast<size_t>(i)];
        SImage cover;
        PLibraryFiles::LoadFolderCover(&cover, TextOf(job.folder), false, covers);
        pictures.WriteCover(cover, job.base + ".jpg");
        pictures.WriteNameBar(job.name, job.bar, job.base + ".png");
        const int done = ++m_done;
        if (done == GetCount())
            SetEvent(m_doneEvent.Get());
        if (progress)
            progress->Step(done - 1, GetCount());
    }
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
    while (m_done < GetCount() && IsAnyWorkerRunning())
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
    else
        progress.Step(GetCount() - 1, GetCount());
}
