// Writes synthetic media libraries for the tests, the benchmarks and a first
// start: nested genre, artist and album folders holding media files of every
// kind (extensions in both cases), with covers, description texts and pages,
// folder and track notes and ".ini" link files beside them.
#pragma once
#include "SPlatform.h"
#include "SArrayString.h"
#include "SString.h"

class SampleLibrary
{
public:
    struct Options
    {
        int genres = 2;   // at most 4
        int artists = 2;  // per genre
        int albums = 2;   // per artist
        int tracks = 4;   // per album
        bool extras = true;  // covers, pages, notes, link files
    };

    // The media extensions, in the order files cycle through them.
    static const char* const EXTENSIONS[8];

    // Writes the library under root (a folder path, created when missing);
    // false when a folder or file cannot be written. Every written path is
    // appended to written when given.
    static bool Write(const char* root, const Options& options, SArrayString* written = nullptr);

    // The folder and track names the library uses.
    static SString GenreName(int i);
    static SString ArtistName(int genre, int i);
    static SString AlbumName(int i);
    static SString TrackTitle(int album, int i);

private:
    static bool WriteFile(const SString& path, const char* text, SArrayString* written);
    static bool WriteCover(const SString& path, COLORREF color, bool jpeg, SArrayString* written);
    static bool WriteAlbum(const SString& artistFolder, int genre, int album, const Options& options,
                           int& fileIndex, SArrayString* written);
    static bool WriteExtras(const SString& parent, const SString& name, int index, SArrayString* written);
};
