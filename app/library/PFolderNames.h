// The names of a folder's files that match a pattern, read in one listing and
// looked up without case. Under Wine a probe for a missing name reads the whole
// folder, so many names are looked up here instead of probed one by one.
#pragma once
#include <string>
#include <unordered_set>
#include "SDisk.h"
#include "SString.h"

class PFolderNames
{
public:
    // Adds the files (hidden ones too) of folder, a path ending in a separator,
    // that match pattern; returns how many names are held.
    int List(SDisk& disk, const SString& folder, const char* pattern);
    // Whether a bare file name is among them, case ignored.
    bool Has(const char* name) const;
    bool Has(const SString& name) const { return Has(name.GetText()); }
    // A name made since the listing.
    void Add(const char* name) { m_names.insert(Key(name)); }

private:
    static std::string Key(const char* name);

    std::unordered_set<std::string> m_names;
};
