#include "PFolderNames.h"
#include "SArrayString.h"

int PFolderNames::List(SDisk& disk, const SString& folder, const char* pattern)
{
    // No folder is not the process's current folder.
    if (folder.GetLength() == 0)
        return static_cast<int>(m_names.size());
    SArrayString paths;
    disk.List(&paths, (folder + (pattern ? pattern : "*.*")).GetText(), false, false, true, false, true);
    for (int i = 0; i < paths.GetCount(); ++i)
    {
        const SString path = paths.GetAt(i);
        const int cut = path.ReverseFindChar('\\');
        m_names.insert(Key(path.GetText() ? path.GetText() + cut + 1 : ""));
    }
    return static_cast<int>(m_names.size());
}

bool PFolderNames::Has(const char* name) const
{
    return m_names.count(Key(name)) > 0;
}

// Upper case as the system folds it for the code page, as file names compare.
std::string PFolderNames::Key(const char* name)
{
    std::string key(name ? name : "");
    if (!key.empty())
        CharUpperBuffA(&key[0], static_cast<DWORD>(key.size()));
    return key;
}
