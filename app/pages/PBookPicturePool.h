// The book's pictures, each folder's cover and name bar, made on a few worker
// threads (at most one per core), each with GDI+ objects and default covers of
// its own, while the caller writes the page. No worker outlives the pool.
#pragma once
#include <atomic>
#include <memory>
#include <vector>
#include "PLibraryFiles.h"
#include "SGuards.h"
#include "SString.h"

class PBookPictures;
class PWndProgress;

class PBookPicturePool
{
public:
    // How often, in milliseconds, the bar follows the workers.
    static const DWORD STEP_TIME = 50;

    // One folder's pictures: its cover as base + ".jpg", its name on a bar of
    // that colour (RRGGBB) as base + ".png".
    struct _SJob
    {
        SString folder;
        SString name;
        DWORD bar;
        SString base;
    };

    // The covers stay the caller's: each worker takes copies when it starts.
    explicit PBookPicturePool(const PLibraryFiles::_SCovers& covers);
    virtual ~PBookPicturePool();

    // Before Start only: the workers read the list without a lock.
    void Add(const _SJob& job);
    int GetCount() const { return static_cast<int>(m_jobs.size()); }
    // Starts up to threads workers, no more than there are jobs; returns how
    // many run. With none, Finish makes every picture on the caller's thread.
    int Start(int threads);
    // Moves the progress bar to the count made, when it last moved long enough ago.
    void ShowProgress(PWndProgress& progress);
    // Waits for every picture, moving the progress bar with the count made;
    // the caller's thread makes those that no worker is left to take. Every
    // worker has ended on return.
    void Finish(PWndProgress& progress);

    static int GetCoreCount();

private:
    class _PWorker;
    PBookPicturePool(const PBookPicturePool&) = delete;
    PBookPicturePool& operator=(const PBookPicturePool&) = delete;

    // Makes the jobs not yet taken, one at a time, until none is left or the
    // pool stops; with a progress window (the caller's thread) it moves it.
    void RunJobs(PBookPictures& pictures, const PLibraryFiles::_SCovers& covers, PWndProgress* progress);
    bool IsAnyWorkerRunning() const;

    const PLibraryFiles::_SCovers m_covers;
    std::vector<_SJob> m_jobs;
    std::atomic<int> m_next;
    std::atomic<int> m_done;
    // Set as the pool goes: the workers end after the pictures in hand.
    std::atomic<bool> m_stopping;
    DWORD m_stepped;
    // Set once every picture is made: the caller waits on it.
    SHandleGuard m_doneEvent;
    std::vector<std::unique_ptr<_PWorker>> m_workers;
};
