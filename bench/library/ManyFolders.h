// Folders of many sub-folders for the browsing benchmarks, and their anchor:
// one FindFirstFile listing of a folder.
#pragma once
#include "SPlatform.h"
#include <algorithm>
#include <cstdio>
#include <string>
#include "BenchRegistry.h"
#include "SImage.h"
#include "SMemory.h"
#include "SampleLibrary.h"

inline bool WriteEmpty(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// count media files of every kind in root\Big\, every tenth with its note
// (every other note named in upper case), and a small sibling folder.
inline bool WriteBigFolder(const std::string& root, int count)
{
    CreateDirectoryA((root + "Big").c_str(), nullptr);
    CreateDirectoryA((root + "Small").c_str(), nullptr);
    bool written = WriteEmpty(root + "Small\\a.mp3");
    for (int i = 0; i < count && written; ++i)
    {
        char title[32];
        std::snprintf(title, sizeof(title), "Track %05d", i);
        const std::string base = root + "Big\\" + title;
        written = WriteEmpty(base + "." + SampleLibrary::EXTENSIONS[i % 8]);
        if (written && i % 10 == 0)
            written = WriteEmpty(base + (i % 20 == 0 ? ".TXT" : ".txt"));
    }
    return written;
}

// count sub-folders of root\Many\ holding one song each, every tenth with a
// cover beside it, and a small sibling folder.
inline bool WriteManyFolders(const std::string& root, int count)
{
    SImage picture;
    SMemory cover;
    if (!picture.Create(32, 32) || !picture.Save(SImage::FORMAT_PNG, &cover))
        return false;
    CreateDirectoryA((root + "Many").c_str(), nullptr);
    CreateDirectoryA((root + "Small").c_str(), nullptr);
    bool written = WriteEmpty(root + "Small\\a.mp3");
    for (int i = 0; i < count && written; ++i)
    {
        char name[32];
        std::snprintf(name, sizeof(name), "Album %05d", i);
        const std::string folder = root + "Many\\" + name;
        written = CreateDirectoryA(folder.c_str(), nullptr) && WriteEmpty(folder + "\\a.mp3");
        if (written && i % 10 == 0)
            written = cover.SaveToFile((folder + ".png").c_str());
    }
    return written;
}

// The anchor: one FindFirstFile listing of the folder.
inline int ListFolder(const std::string& folder)
{
    int count = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++count;
    while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}

inline double BestListing(const std::string& folder)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run)
    {
        const BenchClock clock;
        ListFolder(folder);
        best = std::min(best, clock.Seconds());
    }
    return best;
}

// Albums of one song each: `albums` under each of `artists` folders, or all
// at the root when artists is 0.
inline bool WriteAlbumLibrary(const std::string& root, int artists, int albums)
{
    bool written = true;
    for (int a = 0; a < (artists > 0 ? artists : 1) && written; ++a)
    {
        char artist[32];
        std::snprintf(artist, sizeof(artist), "Artist %03d\\", a);
        const std::string folder = artists > 0 ? root + artist : root;
        written = artists == 0 || CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < albums && written; ++i)
        {
            char name[32];
            std::snprintf(name, sizeof(name), "Album %05d", i);
            written = CreateDirectoryA((folder + name).c_str(), nullptr) && WriteEmpty(folder + name + "\\a.mp3");
        }
    }
    return written;
}
