// Every folder under a root, depth first in the system's own order, read
// through the wide calls so that what the program's code-page calls cannot
// reach is seen: a folder whose name has no exact form in the code page (its
// listing there gives "?" or a look-alike, "A" for an A with a bar) or whose
// listing pattern would pass the system's path limit. Such a folder is left
// out, and every folder below it is counted.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>
#include "SPlatform.h"
#include "SArrayString.h"
#include "SString.h"

class PFolderTree
{
public:
    // Lists the folders under root (a full path ending in a separator),
    // hidden ones included; junctions are listed but not entered.
    void List(const SString& root);
    // The usable folders, full paths ending in a separator, each after its parent.
    const std::vector<SString>& GetFolders() const { return m_folders; }
    // The folders left out whose parents were kept, as the code page shows them
    // ("?" for what it lacks), and how many folders lie below them.
    const SArrayString& GetLeftOut() const { return m_leftOut; }
    int GetCountBelowLeftOut() const { return m_belowLeftOut; }
    // The size of a ".png" or ".jpg" file seen in a usable folder; -1 when none was.
    long long GetPictureSize(const SString& path) const;

    // The name in the code page, true only when it names the same file there:
    // no character is missing or replaced by a look-alike.
    static bool ToCodePage(const std::wstring& name, SString* text);
    // The code-page text in the wide calls' characters.
    static std::wstring ToWide(const SString& text);
    // Whether the code-page calls can list a folder: its path, closed by a
    // separator, with "*.*" appended fits the system's limit.
    static bool FitsListing(const std::wstring& folder);

private:
    struct _SLevel;

    // Files and folders of one listed folder; a folder is entered after it is told.
    void AddEntry(const _SLevel& level, const WIN32_FIND_DATAW& found, std::vector<_SLevel>* stack);
    static std::string Key(const SString& path);

    std::vector<SString> m_folders;
    SArrayString m_leftOut;
    int m_belowLeftOut = 0;
    std::unordered_map<std::string, long long> m_pictures;
    // How much longer the wide calls' long form of a path is than the path.
    int m_longPrefix = 0;
};
