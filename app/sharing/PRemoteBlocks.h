// Reading the blocks a sharing server sends, as pure functions: each field is
// checked before use (its zero inside the block, 1,024 picture bytes per
// name, every size within what remains, nothing left over), and a block that
// is short or lies about its fields is refused whole.
#pragma once
#include "SArrayString.h"
#include "SString.h"
#include "SVirtualFile.h"

class PRemoteBlocks
{
public:
    static const int PICTURE_BYTES = 1024;
    // The most an unpacked tree or page may hold.
    static const int MAX_UNPACKED = 64 * 1024 * 1024;

    // A folder listing ("101"): names and flags in step, one picture each.
    struct _SFolders
    {
        SString folder;
        SArrayString names;
        SString flags; // one byte per name; "0" = no sub-folders
        const unsigned char* pictures = nullptr;
    };

    // A folder view ("102"); the pointers lie inside the parsed block.
    struct _SFolderView
    {
        SString folder;
        SString files;
        const unsigned char* cover = nullptr;
        int coverSize = 0;
        const unsigned char* parentCover = nullptr;
        int parentCoverSize = 0;
        const unsigned char* page = nullptr; // packed; null when none
        int pageSize = 0;
        bool mht = false;
    };

    static bool ParseFolders(const unsigned char* data, int size, _SFolders* out);
    static bool ParseFolderView(const unsigned char* data, int size, _SFolderView* out);
    // A "103" list: paths joined by "|" and ended by a zero byte.
    static bool ParseFileList(const unsigned char* data, int size, SArrayString* out);
    // A block in the library's block compression, unpacked into the stream;
    // refused before anything is unpacked when it would pass the cap.
    static bool Unpack(const unsigned char* data, int size, SVirtualFile* out, int cap = MAX_UNPACKED);

private:
    // The text from *at up to its zero, which must lie inside the block;
    // *at moves past the zero.
    static bool ReadText(const unsigned char* data, int size, int* at, SString* out);
    // A u32 that counts bytes following it within the block.
    static bool ReadSize(const unsigned char* data, int size, int* at, int* out);
};
