// The folders that downloads go to, each listed once per run of the download
// thread: under Wine a probe for a missing name reads the whole folder, so a
// queue of many new files in one folder would cost the square of its size.
// Names made during the run are added to the listing as they are made.
#pragma once
#include <string>
#include <unordered_map>
#include "PFolderNames.h"
#include "SDisk.h"
#include "SString.h"

class PTargetFolders
{
public:
    // The size a download of the target resumes from: 0 when it is missing,
    // -1 when its size cannot be read (it must be left as it is).
    long long GetLocalSize(const SString& target);
    // Makes the target's folder with its missing parents, once per folder.
    bool MakeFolder(const SString& target);
    // The target exists now.
    void AddMade(const SString& target);

private:
    struct _PFolder
    {
        PFolderNames names;
        bool made = false;
    };
    _PFolder& Find(const SString& target, SString* name);

    SDisk m_disk;
    std::unordered_map<std::string, _PFolder> m_folders;
};
