// The download queue of a large folder: filled in one batch, the same paths
// refused as duplicates, drained as the download thread drains it (every
// fourth file failing), the finished rows cleared, the failed ones resumed
// and cleared in turn. Each phase is set beside a bare list view filled with
// the same rows and emptied, the least any queue window pays.
#include "SPlatform.h"
#include "BenchRegistry.h"
#include "ProgramBench.h"
#include <algorithm>
#include <commctrl.h>
#include <string>
#include "PWndNet.h"
#include "SArrayString.h"

namespace
{
const int SIZES[] = {12500, 50000};
const int RUNS = 2;

struct Figures
{
    double bare, fill, duplicates, drain, clear, resume;
};

SArrayString MakePaths(int count)
{
    SArrayString paths;
    char path[96];
    for (int i = 0; i < count; ++i)
    {
        std::snprintf(path, sizeof(path), "Genre %d\\Artist %d\\Album %d\\%02d Track %d.mp3", i % 4, i / 400,
                      i / 12 % 33, i % 12, i);
        paths.Add(path);
    }
    return paths;
}

// The download thread's walk: the next queued row until none is left.
int Drain(PWndNet& queue, bool failSome)
{
    int files = 0;
    for (int row = queue.GetNextQueued(); row >= 0; row = queue.GetNextQueued(), ++files)
    {
        const SString path = queue.GetPath(row);
        const bool fails = failSome && row % 4 == 3;
        if (!fails)
            queue.SetPercentOf(path.GetText(), 100, row);
        queue.SetStateOf(path.GetText(), fails ? PWndNet::STATE_FAILED : PWndNet::STATE_DONE, row);
    }
    PumpUntilIdle();
    return files;
}

// The anchor: the same rows straight into a list view, drawing held, then all deleted.
double BareList(HWND parent, const SArrayString& paths)
{
    const BenchClock clock;
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER, 0, 0,
                                600, 64, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    LVCOLUMNA column = {LVCF_WIDTH, 0, 500};
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = 60;
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < paths.GetCount(); ++i)
    {
        LVITEMA item = {LVIF_TEXT, i};
        item.pszText = const_cast<char*>(paths.GetAt(i).GetText());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>("0 %");
        SendMessageA(list, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    DestroyWindow(list);
    PumpUntilIdle();
    return clock.Seconds();
}

template <class Step>
double Time(Step step)
{
    const BenchClock clock;
    step();
    return clock.Seconds();
}

Figures MeasureOnce(HWND parent, const SArrayString& paths)
{
    Figures f = {};
    f.bare = BareList(parent, paths);
    PWndNet queue;
    const RECT rect = {0, 0, 600, PWndNet::HEIGHT};
    queue.Create(parent, rect);
    const int n = paths.GetCount();
    int added = 0, again = 0, first = 0, second = 0;
    f.fill = Time([&] { added = queue.Add(paths); PumpUntilIdle(); });
    f.duplicates = Time([&] { again = queue.Add(paths); });
    f.drain = Time([&] { first = Drain(queue, true); });
    f.clear = Time([&] { queue.RemoveFinished(); PumpUntilIdle(); });
    const int failed = queue.GetCount();
    f.resume = Time([&] {
        queue.ResetFailed();
        second = Drain(queue, false);
        queue.RemoveFinished();
        PumpUntilIdle();
    });
    if (added != n || again != 0 || first != n || failed != n / 4 || second != failed || queue.GetCount() != 0)
        std::printf("unexpected: added %d, again %d, drained %d, failed %d, resumed %d, left %d\n", added, again, first,
                    failed, second, queue.GetCount());
    queue.DestroyWindow();
    return f;
}

void Keep(double* best, double value)
{
    *best = std::min(*best, value);
}

Figures Measure(HWND parent, int count)
{
    const SArrayString paths = MakePaths(count);
    Figures best = {1e9, 1e9, 1e9, 1e9, 1e9, 1e9};
    for (int run = 0; run < RUNS; ++run)
    {
        const Figures f = MeasureOnce(parent, paths);
        Keep(&best.bare, f.bare);
        Keep(&best.fill, f.fill);
        Keep(&best.duplicates, f.duplicates);
        Keep(&best.drain, f.drain);
        Keep(&best.clear, f.clear);
        Keep(&best.resume, f.resume);
    }
    return best;
}

void Report(int count, const char* what, double ours, double bare)
{
    char label[96];
    std::snprintf(label, sizeof(label), "%d rows: %s vs a bare list", count, what);
    BenchRegistry::Report(label, ours * 1000, bare * 1000, "ms");
}

void ReportGrowth(const char* what, double small, double large)
{
    std::printf("%-48s %.2f (rows x4)\n", what, small > 0 ? large / small : 0);
}
}

BENCH_CASE(DownloadQueue)
{
    HWND parent = CreateWindowExA(0, "STATIC", "queue bench", WS_OVERLAPPEDWINDOW, 0, 0, 640, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    Figures figures[2] = {};
    for (int s = 0; s < 2; ++s)
    {
        const int count = SIZES[s];
        figures[s] = Measure(parent, count);
        const Figures& f = figures[s];
        std::printf("%d rows, %s\n", count, LoadText().c_str());
        Report(count, "fill", f.fill, f.bare);
        Report(count, "same paths refused", f.duplicates, f.bare);
        Report(count, "drain, a quarter failing", f.drain, f.bare);
        Report(count, "clear the finished", f.clear, f.bare);
        Report(count, "resume the failed, clear", f.resume, f.bare);
        const double cycle = f.fill + f.duplicates + f.drain + f.clear + f.resume;
        Report(count, "whole cycle", cycle, f.bare);
    }
    const Figures &a = figures[0], &b = figures[1];
    ReportGrowth("growth: bare list", a.bare, b.bare);
    ReportGrowth("growth: fill", a.fill, b.fill);
    ReportGrowth("growth: same paths refused", a.duplicates, b.duplicates);
    ReportGrowth("growth: drain", a.drain, b.drain);
    ReportGrowth("growth: clear the finished", a.clear, b.clear);
    ReportGrowth("growth: resume, clear", a.resume, b.resume);
    DestroyWindow(parent);
}
