#include "PTargetFolders.h"
#include <cstring>
#include "PPeerPath.h"
#include "SArrayString.h"
#include "SGuards.h"

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
    // Folders too: a folder of the target's name must fail its row, not read as a missing file.
    SArrayString paths;
    m_disk.List(&paths, (folder + "*.*").GetText(), false, true, true, false, true);
    for (int i = 0; i < paths.GetCount(); ++i)
    {
        SString path = paths.GetAt(i);
        if (path.GetLength() > 0 && path.GetText()[path.GetLength() - 1] == '\\')
            path = path.Left(path.GetLength() - 1);
        entry.names.Add(path.Substring(path.ReverseFindChar('\\') + 1, path.GetLength()).GetText());
    }
    return entry;
}

// A name the listing holds may be probed (cheap for a name that exists); so
// may one with "~", which may be another file's short name.
bool PTargetFolders::IsListed(const SString& target)
{
    SString name;
    const _PFolder& folder = Find(target, &name);
    return folder.names.Has(name) || std::strchr(name.GetText() ? name.GetText() : "", '~');
}

long long PTargetFolders::GetLocalSize(const SString& target)
{
    return IsListed(target) ? ProbeSize(m_disk, target) : 0;
}

bool PTargetFolders::CanWrite(const SString& target)
{
    if (!IsListed(target))
        return true;
    // The attribute is asked too: a process with every right may open such a file.
    const DWORD attributes = GetFileAttributesA(target.GetText());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const SHandleGuard file(CreateFileA(target.GetText(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsValid() || GetLastError() == ERROR_FILE_NOT_FOUND;
}

void PTargetFolders::MarkWritten(const SString& target, const SString& path)
{
    m_writers[PPeerPath::FoldCase(target.GetText())] = path.GetText() ? path.GetText() : "";
}

bool PTargetFolders::IsWrittenByOther(const SString& target, const SString& path) const
{
    const auto found = m_writers.find(PPeerPath::FoldCase(target.GetText()));
    return found != m_writers.end() && found->second != (path.GetText() ? path.GetText() : "");
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
