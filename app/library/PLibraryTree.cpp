#include "PLibraryTree.h"
#include <unordered_map>
#include "PFolderTree.h"
#include "SGuards.h"

namespace
{
const char* Text(const SString& text)
{
    return text.GetText() ? text.GetText() : "";
}

// A folder's attributes and write time; false when it is gone.
bool LookAt(const SString& path, WIN32_FILE_ATTRIBUTE_DATA* data)
{
    SString folder = path;
    if (folder.GetLength() > 3 && folder.GetAt(folder.GetLength() - 1) == '\\')
        folder.Truncate(folder.GetLength() - 1);
    return GetFileAttributesExA(Text(folder), GetFileExInfoStandard, data) != FALSE;
}
}

PLibraryTree::PLibraryTree(const PLibraryTree& other) : m_root(other.m_root)
{
    CopyOwn(other.m_top, &m_top);
    CopyFolders(other.m_top, &m_top);
}

// What a folder knows of itself, without its sub-folders.
void PLibraryTree::CopyOwn(const _SFolder& from, _SFolder* to)
{
    to->name = from.name;
    to->attributes = from.attributes;
    to->written = from.written;
    to->read = from.read;
}

// Depth first through a stack: a deep tree is copied whole whatever the thread's stack.
void PLibraryTree::CopyFolders(const _SFolder& from, _SFolder* to)
{
    std::vector<std::pair<const _SFolder*, _SFolder*>> stack{{&from, to}};
    while (!stack.empty())
    {
        const _SFolder* source = stack.back().first;
        _SFolder* target = stack.back().second;
        stack.pop_back();
        for (const std::unique_ptr<_SFolder>& folder : source->folders)
        {
            std::unique_ptr<_SFolder> copy(new _SFolder());
            CopyOwn(*folder, copy.get());
            stack.push_back({folder.get(), copy.get()});
            target->folders.push_back(std::move(copy));
        }
    }
}

PLibraryTree::_SFolder& PLibraryTree::Reset(const SString& root)
{
    m_root = root;
    m_top = _SFolder();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (LookAt(root, &data))
    {
        m_top.attributes = data.dwFileAttributes;
        m_top.written = JoinTime(data.ftLastWriteTime);
    }
    return m_top;
}

unsigned long long PLibraryTree::JoinTime(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool PLibraryTree::IsRecorded(const std::wstring& folder, const WIN32_FIND_DATAW& entry, SString* name)
{
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        wcscmp(entry.cFileName, L".") == 0 || wcscmp(entry.cFileName, L"..") == 0)
        return false;
    return PFolderTree::ToCodePage(entry.cFileName, name) &&
           PFolderTree::FitsListing(folder + entry.cFileName + L"\\");
}

PLibraryTree::_SFolder* PLibraryTree::AddFound(_SFolder* folder, const SString& name, const WIN32_FIND_DATAW& entry)
{
    std::unique_ptr<_SFolder> found(new _SFolder());
    found->name = name;
    found->attributes = entry.dwFileAttributes;
    found->written = JoinTime(entry.ftLastWriteTime);
    folder->folders.push_back(std::move(found));
    return folder->folders.back().get();
}

bool PLibraryTree::IsServed(const _SFolder& folder)
{
    return folder.attributes != INVALID_FILE_ATTRIBUTES &&
           !(folder.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT));
}

// The time is taken before the listing: a change made while it runs moves
// the time again, and the next look reads the folder anew.
bool PLibraryTree::Check(_SFolder* folder, const SString& path, bool always)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!LookAt(path, &data))
    {
        folder->attributes = INVALID_FILE_ATTRIBUTES;
        return false;
    }
    folder->attributes = data.dwFileAttributes;
    if (!always && !IsServed(*folder))
        return true;
    const unsigned long long written = JoinTime(data.ftLastWriteTime);
    if (!folder->read || written != folder->written)
    {
        folder->written = written;
        folder->read = Read(folder, path);
    }
    return true;
}

bool PLibraryTree::Read(_SFolder* folder, const SString& path)
{
    const std::wstring wide = PFolderTree::ToWide(path);
    WIN32_FIND_DATAW entry;
    SFindGuard find(FindFirstFileW((wide + L"*").c_str(), &entry));
    if (!find.IsValid())
        return false;
    std::unordered_map<std::string, std::unique_ptr<_SFolder>> known;
    for (std::unique_ptr<_SFolder>& old : folder->folders)
        known[Text(old->name)] = std::move(old);
    folder->folders.clear();
    do
    {
        SString name;
        if (!IsRecorded(wide, entry, &name))
            continue;
        const auto kept = known.find(Text(name));
        if (kept == known.end())
        {
            AddFound(folder, name, entry);
            continue;
        }
        kept->second->attributes = entry.dwFileAttributes;
        folder->folders.push_back(std::move(kept->second));
        known.erase(kept);
    } while (FindNextFileW(find.Get(), &entry));
    return true;
}

// Depth first through a stack of folders and their next sub-folder.
void PLibraryTree::ListServed(SArrayString* relative)
{
    struct Level
    {
        _SFolder* folder;
        SString path, relative;
        size_t next;
    };
    if (!Check(&m_top, m_root, true))
        return;
    std::vector<Level> stack{{&m_top, m_root, SString(""), 0}};
    while (!stack.empty())
    {
        Level& level = stack.back();
        if (level.next >= level.folder->folders.size())
        {
            stack.pop_back();
            continue;
        }
        _SFolder* folder = level.folder->folders[level.next++].get();
        const SString path = level.path + Text(folder->name) + "\\";
        if (!Check(folder, path) || !IsServed(*folder))
            continue;
        const SString below = level.relative + Text(folder->name) + "\\";
        relative->Add(Text(below));
        stack.push_back({folder, path, below, 0});
    }
}

PLibraryTree::_SFolder* PLibraryTree::Find(const SString& relative, SString* path)
{
    _SFolder* folder = &m_top;
    *path = m_root;
    if (!Check(folder, *path, true))
        return nullptr;
    for (int start = 0; start < relative.GetLength();)
    {
        int end = relative.FindChar('\\', start);
        if (end < 0)
            end = relative.GetLength();
        const SString part = relative.Substring(start, end);
        start = end + 1;
        if (part.GetLength() == 0)
            continue;
        // The name as the folder is written, else as the file system matches it.
        _SFolder* found = nullptr;
        for (const std::unique_ptr<_SFolder>& sub : folder->folders)
            if (sub->name == Text(part) || (!found && sub->name.CompareNoCase(Text(part)) == 0))
                found = sub.get();
        if (!found)
            return nullptr;
        *path = *path + Text(found->name) + "\\";
        if (!Check(found, *path, true))
            return nullptr;
        folder = found;
    }
    return folder;
}

bool PLibraryTree::HasServedFolder(_SFolder* folder, const SString& path)
{
    for (const std::unique_ptr<_SFolder>& sub : folder->folders)
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!LookAt(path + Text(sub->name) + "\\", &data))
            continue;
        sub->attributes = data.dwFileAttributes;
        if (IsServed(*sub))
            return true;
    }
    return false;
}
