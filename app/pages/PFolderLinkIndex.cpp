#include "PFolderLinkIndex.h"

PFolderLinkIndex::PFolderLinkIndex()
{
    m_names.AddFlags(0x10000);
}

void PFolderLinkIndex::Clear()
{
    m_names.DeleteAndRemoveAll();
    m_paths.DeleteAndRemoveAll();
}

void PFolderLinkIndex::Add(const char* name, const char* path)
{
    m_names.Add(name ? name : "");
    m_paths.Add(path ? path : "");
}

bool PFolderLinkIndex::FindPath(const char* name, SString* path) const
{
    const int i = m_names.Find(name ? name : "");
    if (i < 0)
        return false;
    if (path)
        *path = m_paths.GetAt(i);
    return true;
}
