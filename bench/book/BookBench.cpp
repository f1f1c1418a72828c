// The book of 1,000 folders with covers and 10 tracks each, pictures included,
// against the goal of 4 seconds, beside the same book with its pictures made one
// after another on the user's thread; and "Generate all HTML pages" over 1,000
// described folders against the goal of 10 seconds.
#include "SPlatform.h"
#include "BenchRegistry.h"
#include "ProgramBench.h"
#include <string>
#include "PBookBuilder.h"
#include "PWndApp.h"
#include "PWndDescription.h"
#include "SImage.h"
#include "SMemory.h"
#include "TestFolder.h"

namespace
{
const int TOPS = 10;
const int FOLDERS = 1000;
const double GOAL_SECONDS = 10.0;
const double BOOK_GOAL_SECONDS = 4.0;

void WriteBytes(const std::string& path, const void* data, int size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

// 10 folders of 99 each: 1,000 folders, each with a cover beside it and 10 tracks.
void WriteBookLibrary(const std::string& root)
{
    SImage picture;
    picture.Create(150, 150);
    picture.Clear(0x3A7BD5);
    SMemory cover;
    picture.Save(SImage::FORMAT_PNG, &cover);
    for (int top = 0; top < TOPS; ++top)
    {
        const std::string upper = root + "Genre " + std::to_string(top) + "\\";
        for (int i = -1; i < FOLDERS / TOPS - 1; ++i)
        {
            const std::string folder = i < 0 ? upper : upper + "Album " + std::to_string(i) + "\\";
            CreateDirectoryA(folder.c_str(), nullptr);
            WriteBytes(folder.substr(0, folder.size() - 1) + ".png", cover.GetData(), cover.GetSize());
            for (int t = 0; t < 10; ++t)
                WriteBytes(folder + std::to_string(t) + (t % 3 ? " Track.mp3" : " Clip.avi"), "media", 5);
        }
    }
}

// 1,000 folders that hold a folder, each described.
void WriteDescribedLibrary(const std::string& root)
{
    const std::string text = "{Chapter}\r\nA #genre genre# record by #name Genre 1#.\r\n\r\n\t.First\r\n\t.Second";
    for (int top = 0; top < TOPS; ++top)
    {
        const std::string upper = root + "Genre " + std::to_string(top) + "\\";
        for (int i = -1; i < FOLDERS / TOPS - 1; ++i)
        {
            const std::string folder = i < 0 ? upper : upper + "Artist " + std::to_string(i) + "\\";
            CreateDirectoryA(folder.c_str(), nullptr);
            CreateDirectoryA((folder + "CD").c_str(), nullptr);
            WriteBytes(folder.substr(0, folder.size() - 1) + ".txt", text.data(), static_cast<int>(text.size()));
        }
    }
}

void ReportSeconds(const char* what, double seconds, double goal)
{
    BenchRegistry::Report(what, seconds, goal, "s");
    BenchRegistry::Report("  folders per second", FOLDERS / seconds, FOLDERS / goal, "/s");
}

// A book of an earlier run gone, so that each run starts as the first.
void RemoveBook(const std::string& root)
{
    DeleteFileA((root + "Book.htm").c_str());
    testsupport::TestFolder::RemoveTree(root + "Book");
}

// The book as the main window makes it (threads -1), or with its pictures
// made by that many workers, 0 for the user's thread alone.
double TimeBook(const std::string& root, int threads)
{
    RemoveBook(root);
    const ProgramWindow main(root, false);
    SImage picture, smallPicture;
    picture.LoadResource(MAKEINTRESOURCEA(130), "BINARY");
    smallPicture.CopyFrom(&picture);
    smallPicture.Resize(16, 16);
    PLibraryFiles::_SCovers covers;
    covers.root = main.App().GetRootFolder().GetPath();
    covers.names = &main.App().GetCoverNames();
    covers.picture = &picture;
    covers.smallPicture = &smallPicture;
    BenchClock clock;
    bool made = false;
    if (threads < 0)
        made = main.App().MakeBook((root + "Book.htm").c_str(), true);
    else
    {
        PBookBuilder builder(main.App(), covers);
        builder.SetPictureThreads(threads);
        made = builder.Build((root + "Book.htm").c_str(), true);
    }
    const double seconds = clock.Seconds();
    std::printf("book written: %s\n", made ? "yes" : "NO");
    return seconds;
}
}

BENCH_CASE(BookOfAThousandFolders)
{
    const testsupport::TestFolder folder("sonavel bench book ");
    const std::string& root = folder.Path();
    WriteBookLibrary(root);
    ReportSeconds("Make book, pictures on the user's thread", TimeBook(root, 0), BOOK_GOAL_SECONDS);
    ReportSeconds("Make book, 1,000 folders with pictures", TimeBook(root, -1), BOOK_GOAL_SECONDS);
}

BENCH_CASE(AllPagesOfAThousandDescriptions)
{
    const testsupport::TestFolder folder("sonavel bench pages ");
    const std::string& root = folder.Path();
    WriteDescribedLibrary(root);
    {
        const ProgramWindow main(root, false);
        PWndDescription window;
        window.SetOwner(&main.App());
        window.Create("", WS_POPUP | WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
        window.LoadTree();
        BenchClock clock;
        const bool made = window.GenerateAllPages();
        const double seconds = clock.Seconds();
        std::printf("pages written: %s, folders listed: %d\n", made ? "yes" : "NO", window.GetLinks().GetCount());
        ReportSeconds("Generate all HTML pages, 1,000 descriptions", seconds, GOAL_SECONDS);
    }
}
