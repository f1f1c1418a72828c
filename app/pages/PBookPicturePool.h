// The book's pictures, each folder's cover and name bar, made on a few worker
// threads (at most one per core), each with GDI+ objects and default covers of
// its own, while the caller writes the page. No worker outlives the pool.
#pragma once
#include <atomic>
#include <memory>
#include <utility>
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
    // that colour (RRGGBB) as base + ".png"; bytes is the size of the largest
    // file the cover may be read from (0 when none).
    struct _SJob
    {
        SString folder;
        SString name;
        DWORD bar;
        SString base;
        long long bytes;
    };
    // What a picture may hold while it is made, per byte of its file: the file
    // itself and the decoded bitmap, which for a JPEG photograph reaches about
    // twenty times the file's size at 32 bits a pixel.
    static const long long BYTES_PER_FILE_BYTE = 24;
    // What the workers may hold at once: a small part of a 32-bit address space.
    static const long long BUDGET = 384LL << 20;

    // The covers stay the caller's: each worker takes copies when it starts.
    explicit PBookPicturePool(const PLibraryFiles::_SCovers& covers);
    virtual ~PBookPicturePool();

    // Before Start only: the workers read the list without a lock.
    void Add(const _SJob& job);
    // Before Start only: the bytes the workers' pictures may take at once. A
    // picture that alone would pass it is made on the caller's thread.
    void SetBudget(long long bytes) { m_budget = bytes; }
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

    // What one job's pictures came to: each part made whole or not.
    enum
    {
        MADE_COVER = 1,
        MADE_BAR = 2
    };

    // Makes the jobs not yet taken, one at a time, until none is left or the
    // pool stops; the caller's thread moves the progress window.
    void RunJobs(PBookPictures& pictures, const PLibraryFiles::_SCovers& covers, PWndProgress* progress);
    // The parts asked for; the others are left as they are. An allocation that
    // fails leaves the parts not yet made unmade.
    static int MakeJob(const _SJob& job, int parts, PBookPictures& pictures, const PLibraryFiles::_SCovers& covers);
    // A worker's share of the budget, waited for; false when the job is the
    // caller's to make or the pool stops.
    bool TakeBudget(long long cost);
    void GiveBudget(long long cost);
    long long CostOf(const _SJob& job) const;
    // Jobs the workers left or could not make whole, made again on the
    // caller's thread once the workers have ended, as a book of one thread would be.
    void MakeLeftJobs(PWndProgress& progress);
    bool IsAnyWorkerRunning() const;

    const PLibraryFiles::_SCovers m_covers;
    std::vector<_SJob> m_jobs;
    std::atomic<int> m_next;
    // Jobs made whole, and jobs taken to an end (made or left to the caller).
    std::atomic<int> m_done;
    std::atomic<int> m_handled;
    // Set as the pool goes: the workers end after the pictures in hand.
    std::atomic<bool> m_stopping;
    long long m_budget;
    // The bytes the workers hold, and the jobs left to the caller with the
    // parts still to make, under the lock; a worker waits for room on the condition.
    SCriticalSection m_lock;
    CONDITION_VARIABLE m_room;
    long long m_held;
    std::vector<std::pair<int, int>> m_left;
    DWORD m_stepped;
    // Set once every picture is made: the caller waits on it.
    SHandleGuard m_doneEvent;
    std::vector<std::unique_ptr<_PWorker>> m_workers;
};
