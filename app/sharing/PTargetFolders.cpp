#include "PTargetFolders.h"
#include <cstring>

namespace
{
long long ProbeSize(SDisk& disk, const SString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.GetText(), GetFileExInfoStandard, &data))
    {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return -1;
    return disk.GetFileSize64(path.GetText());
}
}

// The folder part keeps its separator; the key ignores case as names do.
PTargetFolders::_PFolder& PTargetFolders::Find(const SString& target, SString* name)
{
    const int cut = target.ReverseFindChar('\\');
    const SString folder = target.Left(cut + 1);
    *name = target.Substring(cut + 1, target.GetLength());
    std::string key(folder.GetText() ? folder.GetText() : "");
    if (!key.empty())
        CharUpperBuffA(&key[0], static_cast<DWORD>(key.size()));
    const auto found = m_folders.find(key);
    if (found != m_folders.end())
        return found->second;
    _PFolder& entry = m_folders[key];
    entry.names.List(m_disk, folder, "*.*");
    return entry;
}

// A name the listing holds is probed for its size (cheap for a name that
// exists); so is one with "~", which may be another file's short name.
long long PTargetFolders::GetLocalSize(const SString& target)
{
    SString name;
    const _PFolder& folder = Find(target, &name);
    if (!folder.names.Has(name) && !std::strchr(name.GetText() ? name.GetText() : "", '~'))
        return 0;
    return ProbeSize(m_disk, target);
}

bool PTargetFolders::MakeFolder(const SString& target)
{
    SString name;
    _PFolder& folder = Find(target, &name);
    if (!folder.made)
        folder.made = m_disk.CreateFolder(target.Left(target.GetLength() - name.GetLength()).GetText(), true);
    return folder.made;
}

void PTargetFolders::AddMade(const SString& target)
{
    SString name;
    Find(target, &name).names.Add(name.GetText());
}
