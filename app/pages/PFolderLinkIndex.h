// The folders a description can name: their names, found without regard to
// case, beside their paths relative to the root, in the order they were listed.
#pragma once
#include "SArrayString.h"
#include "SString.h"

class PFolderLinkIndex
{
public:
    PFolderLinkIndex();
    virtual ~PFolderLinkIndex() {}

    void Clear();
    void Add(const char* name, const char* path);
    int GetCount() const { return m_names.GetCount(); }
    // The path of the first folder of that name; false when none has it.
    bool FindPath(const char* name, SString* path) const;
    const SArrayString& GetNames() const { return m_names; }
    const SArrayString& GetPaths() const { return m_paths; }

private:
    SArrayString m_names;
    SArrayString m_paths;
};
