// The folders of a library as last read: each folder's sub-folders in the
// order the system lists them, with their attributes and the write time each
// folder had when its sub-folders were read. It is kept in step by looking at
// those times: a folder's time moves when an entry is made, removed or renamed
// in it, and only then is the folder read again. Under Wine a look at a
// folder's time costs a fiftieth of a listing, so a library of thousands of
// folders is brought in step well within a peer's time-out, where reading it
// whole takes seconds. Folders are read as the library's scan reads them:
// through the wide calls, leaving out what the code page cannot name or what
// the system's path limit would make unreadable; junctions are not recorded.
#pragma once
#include "SPlatform.h"
#include <memory>
#include <string>
#include <vector>
#include "SArrayString.h"
#include "SString.h"

class PLibraryTree
{
public:
    struct _SFolder
    {
        SString name;
        DWORD attributes = 0;
        // The folder's write time when its sub-folders were read (or, before
        // that, as its parent's listing gave it).
        unsigned long long written = 0;
        bool read = false;
        std::vector<std::unique_ptr<_SFolder>> folders;
    };

    PLibraryTree() {}
    // A copy to keep in step apart from the original.
    PLibraryTree(const PLibraryTree& other);
    PLibraryTree& operator=(const PLibraryTree&) = delete;

    // An unread tree at root (a full path ending with a separator), whose
    // time is taken now: a listing that follows comes after it.
    _SFolder& Reset(const SString& root);
    // The same folders under another text of the same root.
    void SetRoot(const SString& root) { m_root = root; }
    const SString& GetRoot() const { return m_root; }

    // Whether a listing entry is a folder this tree records; *name gets its
    // code-page name. folder is the listed folder's path in the wide calls.
    static bool IsRecorded(const std::wstring& folder, const WIN32_FIND_DATAW& entry, SString* name);
    // Records a sub-folder found in a listing of folder, in listing order.
    static _SFolder* AddFound(_SFolder* folder, const SString& name, const WIN32_FIND_DATAW& entry);
    // Shown to a sharing peer: neither hidden nor a link, and still there.
    static bool IsServed(const _SFolder& folder);

    // Every served folder brought in step and appended as its path below the
    // root ending with a separator, each after its parent, in listing order.
    void ListServed(SArrayString* relative);
    // The folder at a path below the root (parts joined by "\\", "" for the
    // root), brought in step with every folder on the way, hidden ones too
    // (a peer may name one); *path gets its full path. Null when not found.
    _SFolder* Find(const SString& relative, SString* path);
    // Folder (at path) looked at now, and read again when its time moved or
    // it was never read, if it is served or always is set; false when it is gone.
    bool Check(_SFolder* folder, const SString& path, bool always = false);
    // Whether the folder holds a served sub-folder, each looked at now.
    bool HasServedFolder(_SFolder* folder, const SString& path);

private:
    static unsigned long long JoinTime(const FILETIME& time);
    static void CopyOwn(const _SFolder& from, _SFolder* to);
    static void CopyFolders(const _SFolder& from, _SFolder* to);
    // Lists the folder again: sub-folders still there keep what was read of
    // them, new ones are read when their turn comes.
    bool Read(_SFolder* folder, const SString& path);

    SString m_root;
    _SFolder m_top;
};
