// A store of named binary entries (pictures of dialogs and rich-text views), kept in
// one pack (a stream or a pack file, each entry at an offset with a size) or as
// separate files in one folder; only listed names can be loaded.
#pragma once
#include "SArray.h"
#include "SArrayString.h"
#include "SDisk.h"
#include "SMemory.h"
#include "SPath.h"

class SResource
{
public:
    SResource();
    virtual ~SResource();

    // Entries are the files of the folder; returns how many were listed.
    int SetFolder(const char* folder);
    // Entries lie in this pack file; list them with AddEntry.
    bool SetPackFile(const char* path);
    // Entries lie in this stream, which the store now owns and reads before any
    // location; the entries listed so far stay.
    void SetPackStream(SVirtualFile* stream);
    // Lists one entry; returns its index, -1 for a missing name or a negative range.
    int AddEntry(const char* name, int offset, int size);
    int GetEntryCount() const { return m_names.GetCount(); }

    // Copies the entry's bytes into the target at its position, then rewinds the target.
    bool Load(SVirtualFile* target, const char* name);

private:
    SResource(const SResource&) = delete;
    SResource& operator=(const SResource&) = delete;

    void Clear();
    bool CopyEntry(SVirtualFile* target, SVirtualFile* source, int offset, int size);

    SDisk m_disk;
    SString m_text;
    SMemory m_memory;
    SPath m_location;
    SVirtualFile* m_pack;
    SArrayString m_names;
    SArray<unsigned char*> m_blocks;
    SArray<int> m_offsets;
    SArray<int> m_sizes;
};
