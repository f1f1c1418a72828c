// The library's folder collection and cover lookup as functions of what they
// read, so that the sharing server's thread runs them with a disk object, a
// copy of the settings and default pictures of its own.
#pragma once
#include "SArrayString.h"
#include "SDisk.h"
#include "SImage.h"
#include "SString.h"

class PFolderNames;

class PLibraryFiles
{
public:
    // Where covers are looked for: the root with the covers named in the
    // settings, and the default pictures (16 x 16 and 150 x 150).
    struct _SCovers
    {
        SString root;
        const SArrayString* names = nullptr;
        const SImage* smallPicture = nullptr;
        const SImage* picture = nullptr;
        // The root's files listed by the caller: only those are opened.
        const PFolderNames* inRoot = nullptr;
    };

    // The media files of a folder, and of every folder below it when
    // recursive; with extras each folder's cover, description and page too.
    // Sorted without case.
    static void ListMediaFiles(SDisk& disk, SArrayString* result, const char* folder, bool recurse, bool songs,
                               bool videos, bool extras, bool noRadios);
    // The folder's own cover, else the root's cover of the folder's name when
    // the settings name it, else the default picture; 16 x 16 when small,
    // else 150 x 150 on white. With beside, the pictures of the folder's
    // parent listed by the caller, only those are opened. False when a cover
    // file gave no picture (damaged, or memory ran short) or the picture could
    // not be brought to size: another try may then make a different one.
    static bool LoadFolderCover(SImage* image, const char* folder, bool small, const _SCovers& covers,
                                const PFolderNames* beside = nullptr);
    // Its first two steps: the folder's own cover or the root's, false when
    // neither opens and decodes (the image then holds nothing to keep).
    // whole, when given, is cleared when a cover file gave no picture.
    static bool LoadOwnCover(SImage* image, const char* folder, const _SCovers& covers, const PFolderNames* beside,
                             bool* whole = nullptr);
    // Whether the listings name a file that LoadOwnCover would try.
    static bool MayHaveOwnCover(const char* folder, const _SCovers& covers, const PFolderNames& beside);
    // The last step: 16 x 16 when small, else 150 x 150 made opaque on white;
    // false when the picture could not be brought to that.
    static bool SizeCover(SImage* image, bool small);
    // Whether the folder (ending with a separator) holds a sub-folder, hidden
    // ones counted when asked; accept, when given, must take its path too.
    // Stops at the first.
    static bool HasSubFolder(const SString& folder, bool hidden, bool (*accept)(const SString&, void*) = nullptr,
                             void* context = nullptr);
    // The file-list picture of a media file by its lower-case extension: 2
    // song, 3 radio, 1 video and anything else.
    static int GetMediaImage(const SString& extension);

private:
    static void AddFolderFiles(SDisk& disk, SArrayString* found, const SString& folder, bool recurse);
};
