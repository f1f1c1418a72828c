// The small files whose sizes peers asked last, read whole while the size was
// taken: a download asks for a file's size just before the file itself, which
// then goes from memory without another open. A few are kept, by client and
// path; the oldest is given up first.
#pragma once
#include <deque>
#include <memory>
#include "SMemory.h"
#include "SString.h"

class PRecentFiles
{
public:
    // The largest file kept, and how many are kept at once.
    static const int MOST_BYTES = 64 * 1024;
    static const int MOST_FILES = 4;

    // `written` is the file's last write time when it was read.
    void Keep(int client, const SString& path, unsigned long long written, std::unique_ptr<SMemory> bytes);
    // The bytes kept for the client's path, given up, when they are `size`
    // bytes long and the file was last written at `written` (it is as it
    // was then); null otherwise.
    std::unique_ptr<SMemory> Take(int client, const SString& path, long long size, unsigned long long written);
    // The client went, or the server closed (client -1: every one).
    void Forget(int client);

private:
    struct _PFile
    {
        int client;
        SString path;
        unsigned long long written;
        std::unique_ptr<SMemory> bytes;
    };
    std::deque<_PFile> m_files;
};
