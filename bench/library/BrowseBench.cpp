// Browsing large folders and long queues in a main window of this process: a
// folder of many files selected until its file list is full, and a folder of
// many sub-folders opened and served, against one listing of the same folder;
// and a play queue of about 25,000 entries filled at random, shown as the
// queue menu, shown again and emptied, against a walk of the same tree and a
// plain menu of the same texts.
#include "SPlatform.h"
#include "BenchRegistry.h"
#include "ProgramBench.h"
#include <algorithm>
#include <memory>
#include <string>
#include "FakeMediaPlayer.h"
#include "PQueueMenu.h"
#include "PSettings.h"
#include "PSharedLibrary.h"
#include "SMemory.h"
#include "PWndApp.h"
#include "TestFolder.h"
#include "ManyFolders.h"
#include "TreeWalk.h"
#include "SampleLibrary.h"

namespace
{
const int FOLDER_SIZES[] = {2500, 10000};
const int SUBFOLDER_SIZES[] = {1000, 4000};
const int RUNS = 2;

void Select(PWndApp& app, const char* name)
{
    SListCtrl& folders = app.GetFolderList();
    folders.SelectItemByText(name, true);
    app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&folders), 0);
}

// Seconds from the selection of Big to its full file list, the best of the runs.
double TimeSelection(PWndApp& app, int count, int* listed, int* noted)
{
    double best = 1e9;
    for (int run = 0; run < RUNS; ++run)
    {
        Select(app, "Small");
        PumpUntilIdle();
        const BenchClock clock;
        Select(app, "Big");
        *listed = app.GetFileList().GetCount();
        best = std::min(best, clock.Seconds());
        PumpUntilIdle();
    }
    *noted = 0;
    for (int i = 0; i < *listed; ++i)
        *noted += app.GetFileList().GetItemSecondImage(i) == 4 ? 1 : 0;
    if (*listed != count)
        std::printf("the file list holds %d of %d files\n", *listed, count);
    return best;
}

void Report(int count, const char* what, double ours, double listing)
{
    char label[96];
    std::snprintf(label, sizeof(label), "%d %s vs a listing", count, what);
    BenchRegistry::Report(label, ours * 1000, listing * 1000, "ms");
}

void ReportGrowth(const char* what, double small, double large, double size)
{
    std::printf("%-48s x%.2f (size x%.2f)\n", what, small > 0 ? large / small : 0, size);
    std::fflush(stdout);
}
}

BENCH_CASE(LargeFolderShown)
{
    double shown[2] = {}, listed[2] = {};
    for (int s = 0; s < 2; ++s)
    {
        const int count = FOLDER_SIZES[s];
        const testsupport::TestFolder folder("sonavel bench ");
        std::printf("writing a folder of %d files...\n", count);
        std::fflush(stdout);
        if (!WriteBigFolder(folder.Path(), count))
            std::printf("could not write the whole folder\n");
        const ProgramWindow window(folder.Path(), true);
        int files = 0, notes = 0;
        shown[s] = TimeSelection(window.App(), count, &files, &notes);
        const BenchClock clock;
        ListFolder(folder.Path() + "Big\\");
        listed[s] = clock.Seconds();
        std::printf("%d files listed, %d with notes\n", files, notes);
        Report(count, "files: selection to full list", shown[s], listed[s]);
    }
    ReportGrowth("growth 2,500 -> 10,000 files: shown", shown[0], shown[1], 4.0);
    ReportGrowth("growth 2,500 -> 10,000 files: listing", listed[0], listed[1], 4.0);
}

// Each opening is timed as the user meets it: the first in a fresh window, and
// again after going up, when the thumbnails of the first have been freed (under
// Wine freed bitmaps leave holes that later ones are fitted into, so a second
// opening used to cost several times the first). The anchor is the best of
// listings taken before and after, so that a burst of load on a shared machine
// does not pass for the program's own cost.
BENCH_CASE(ManySubFoldersShown)
{
    double opened[2] = {}, served[2] = {}, listed[2] = {};
    for (int s = 0; s < 2; ++s)
    {
        const int count = SUBFOLDER_SIZES[s];
        const testsupport::TestFolder folder("sonavel bench ");
        std::printf("writing a folder of %d sub-folders...\n", count);
        std::fflush(stdout);
        if (!WriteManyFolders(folder.Path(), count))
            std::printf("could not write the whole folder\n");
        const std::string many = folder.Path() + "Many\\";
        listed[s] = BestListing(many);
        const ProgramWindow window(folder.Path(), true);
        const BenchClock openClock;
        window.App().OpenFolder("Many", "", false);
        opened[s] = openClock.Seconds();
        const int shown = window.App().GetFolderList().GetCount();
        window.App().OpenFolder("..", "", false);
        PumpUntilIdle();
        const BenchClock againClock;
        window.App().OpenFolder("Many", "", false);
        const double again = againClock.Seconds();
        PSharedLibrary library;
        library.Update(SString(folder.Path().c_str()), SArrayString(), PSettings::_SServer());
        SMemory block;
        served[s] = 1e9;
        for (int run = 0; run < RUNS; ++run)
        {
            block.SetSize(0);
            const BenchClock serveClock;
            library.BuildFolders("Many", &block);
            served[s] = std::min(served[s], serveClock.Seconds());
        }
        listed[s] = std::min(listed[s], BestListing(many));
        std::printf("%d folders shown, %d bytes served, %s\n", shown, block.GetSize(), LoadText().c_str());
        Report(count, "sub-folders: opened", opened[s], listed[s]);
        Report(count, "sub-folders: opened again", again, listed[s]);
        Report(count, "sub-folders: served", served[s], listed[s]);
    }
    ReportGrowth("growth 1,000 -> 4,000 sub-folders: opened", opened[0], opened[1], 4.0);
    ReportGrowth("growth 1,000 -> 4,000 sub-folders: served", served[0], served[1], 4.0);
}

BENCH_CASE(LongPlayQueue)
{
    const testsupport::TestFolder folder("sonavel bench ");
    // 33,000 files, 24,750 of them songs and videos: the plain menu of the
    // anchor grows with the square of its items under Wine (six minutes for
    // 49,500 here), and the case must leave the whole run within minutes.
    SampleLibrary::Options options;
    options.genres = 4;
    options.artists = 75;
    options.albums = 10;
    options.tracks = 11;
    options.extras = false;
    std::printf("writing a library of %d tracks...\n", 4 * options.artists * options.albums * options.tracks);
    std::fflush(stdout);
    if (!SampleLibrary::Write(folder.Path().c_str(), options))
        std::printf("could not write the whole tree\n");
    // Made before the window and released after it: every queued file opens.
    FakeMediaPlayer* player = new FakeMediaPlayer;
    std::unique_ptr<FakeClassRegistration> registration(
        new FakeClassRegistration(CLSID_WindowsMediaPlayer, static_cast<IWMPPlayer4*>(player)));
    std::unique_ptr<ProgramWindow> window(new ProgramWindow(folder.Path(), true));
    PWndApp& app = window->App();

    BenchClock walkClock;
    const long long walked = Walk(folder.Path());
    const double walk = walkClock.Seconds();
    const BenchClock fillClock;
    app.PlayAll(true, true);
    const double fill = fillClock.Seconds();
    const int entries = app.GetQueue().GetCount();
    std::printf("%lld files walked, %d queued\n", walked, entries);
    BenchRegistry::Report("queue filled at random vs a walk", fill * 1000, walk * 1000, "ms");

    // The anchor of the menu: the same texts in a plain menu, made and destroyed.
    SArrayString names;
    app.GetQueueNames(&names);
    const BenchClock plainClock;
    HMENU plain = CreatePopupMenu();
    for (int i = 0; i < names.GetCount(); ++i)
        AppendMenuA(plain, MF_STRING, PQueueMenu::ID_FIRST_ENTRY + i, names.GetAt(i).GetText());
    DestroyMenu(plain);
    const double menuAnchor = plainClock.Seconds();
    PQueueMenu menu;
    const BenchClock firstClock;
    menu.Fill(app, app.GetHandle());
    const double first = firstClock.Seconds();
    const BenchClock againClock;
    menu.Fill(app, app.GetHandle());
    const double again = againClock.Seconds();
    std::printf("queue menu of %d items\n", menu.GetItemCount());
    BenchRegistry::Report("queue menu filled vs a plain menu", first * 1000, menuAnchor * 1000, "ms");
    BenchRegistry::Report("queue menu emptied and filled vs a plain menu", again * 1000, menuAnchor * 1000, "ms");

    const BenchClock clearClock;
    app.ClearQueue();
    BenchRegistry::Report("queue emptied vs a walk", clearClock.Seconds() * 1000, walk * 1000, "ms");
    window.reset();
    registration.reset();
    player->Release();
}
