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
    // A target that exists can be opened for writing (one that does not is
    // made later); asked before the file is requested.
    bool CanWrite(const SString& target);
    // Bytes of the remote path went into the target; whether another remote
    // path of this run wrote into it (the file system may take two names as
    // one).
    void MarkWritten(const SString& target, const SString& path);
    bool IsWrittenByOther(const SString& target, const SString& path) const;

private:
    struct _PFolder
    {
        PFolderNames names; // its files and folders
        bool made = false;
    };
    _PFolder& Find(const SString& target, SString* name);
    bool IsListed(const SString& target);

    SDisk m_disk;
    std::unordered_map<std::string, _PFolder> m_folders;
    std::unordered_map<std::string, std::string> m_writers;
};
