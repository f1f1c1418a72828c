// Reading a generated library: the main window's set-up to its first idle
// moment and the library scan alone, each against a plain FindFirstFile walk
// that counts the same media files of the same tree.
#include "SPlatform.h"
#include "BenchRegistry.h"
#include "ProgramBench.h"
#include <algorithm>
#include <memory>
#include <string>
#include "PLibraryScan.h"
#include "PSettings.h"
#include "PWndApp.h"
#include "SRegistry.h"
#include "TestFolder.h"
#include "TreeWalk.h"
#include "SampleLibrary.h"

namespace
{
struct Tree
{
    const char* name;
    int artists;  // per genre, of 4 genres
    int albums;   // per artist
    int tracks;   // per album
};

// About 1,000 folders with 10,000 tracks, then 5,000 with 50,000.
const Tree TREES[] = {{"1k folders", 25, 9, 11}, {"5k folders", 125, 9, 11}};
const int RUNS = 3;

struct Figures
{
    double walk, scan, setup;
};

// What the walk counts: files of the media extensions.
bool IsMedia(const char* name)
{
    const char* dot = std::strrchr(name, '.');
    if (!dot)
        return false;
    for (const char* extension : SampleLibrary::EXTENSIONS)
        if (_stricmp(dot + 1, extension) == 0)
            return true;
    return false;
}

double TimeSetup(std::unique_ptr<PWndApp>* kept)
{
    const BenchClock clock;
    std::unique_ptr<PWndApp> app(new PWndApp());
    app->Create("KLV Sonavel bench", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
    PumpUntilIdle();
    const double seconds = clock.Seconds();
    *kept = std::move(app);
    return seconds;
}

Figures Measure(const std::string& root, long long* walked, long long* scanned)
{
    Figures best = {1e9, 1e9, 1e9};
    for (int run = 0; run < RUNS; ++run)
    {
        const BenchClock walkClock;
        *walked = Walk(root, IsMedia);
        best.walk = std::min(best.walk, walkClock.Seconds());
        std::unique_ptr<PWndApp> app;
        best.setup = std::min(best.setup, TimeSetup(&app));
        const BenchClock scanClock;
        app->ScanLibrary();
        best.scan = std::min(best.scan, scanClock.Seconds());
        app->DestroyWindow();
        PumpUntilIdle();
    }
    SArrayString folders;
    SArray<unsigned int> counts[3];
    PLibraryScan().Run(root.c_str(), &folders, &counts[0], &counts[1], &counts[2]);
    const int at = folders.FindSorted(root.c_str());
    *scanned = at < 0 ? -1 : static_cast<long long>(counts[0].GetAt(at)) + counts[1].GetAt(at) + counts[2].GetAt(at);
    return best;
}

void Report(const char* tree, const char* what, double ours, double walk)
{
    char label[96];
    std::snprintf(label, sizeof(label), "%s: %s vs the walk", tree, what);
    BenchRegistry::Report(label, ours * 1000, walk * 1000, "ms");
}

void ReportGrowth(const char* what, double small, double large)
{
    std::printf("%-48s %.2f (folders x%.2f)\n", what, small > 0 ? large / small : 0, 5005.0 / 1005.0);
}
}

BENCH_CASE(LibraryScanAndSetUp)
{
    const SString previous = PSettings().GetText("Folder");
    PWndApp::SetSplashTime(0);
    Figures figures[2] = {};
    for (int t = 0; t < 2; ++t)
    {
        const testsupport::TestFolder folder("sonavel bench ");
        const std::string& root = folder.Path();
        SampleLibrary::Options options;
        options.genres = 4;
        options.artists = TREES[t].artists;
        options.albums = TREES[t].albums;
        options.tracks = TREES[t].tracks;
        options.extras = false;
        std::printf("writing %s (%d tracks)...\n", TREES[t].name, 4 * options.artists * options.albums * options.tracks);
        std::fflush(stdout);
        if (!SampleLibrary::Write(root.c_str(), options))
            std::printf("could not write the whole tree\n");
        SRegistry().SetString(HKEY_CURRENT_USER, PSettings::KEY, "Folder", root.c_str());
        long long walked = 0, scanned = 0;
        figures[t] = Measure(root, &walked, &scanned);
        std::printf("%s: %lld media files walked, %lld counted by the scan\n", TREES[t].name, walked, scanned);
        Report(TREES[t].name, "scan", figures[t].scan, figures[t].walk);
        Report(TREES[t].name, "set-up to idle", figures[t].setup, figures[t].walk);
    }
    ReportGrowth("growth 1k -> 5k: walk", figures[0].walk, figures[1].walk);
    ReportGrowth("growth 1k -> 5k: scan", figures[0].scan, figures[1].scan);
    ReportGrowth("growth 1k -> 5k: set-up", figures[0].setup, figures[1].setup);
    SRegistry().SetString(HKEY_CURRENT_USER, PSettings::KEY, "Folder", previous.GetText());
    PWndApp::SetSplashTime(2000);
}
