#include "PFolderTree.h"
#include <memory>
#include "SGuards.h"
#include "SPath.h"

// One folder being read: its long form for the wide calls, its code-page path,
// whether that path is usable, and the listing in progress.
struct PFolderTree::_SLevel
{
    std::wstring wide;
    SString path;
    bool usable;
    std::unique_ptr<SFindGuard> find;
};

namespace
{
const char* Text(const SString& text)
{
    return text.GetText() ? text.GetText() : "";
}

bool IsPictureName(const wchar_t* name)
{
    const size_t length = wcslen(name);
    return length > 4 && (_wcsicmp(name + length - 4, L".png") == 0 || _wcsicmp(name + length - 4, L".jpg") == 0);
}

// The next entry of the folder, its listing opened on the first call.
bool NextEntry(std::unique_ptr<SFindGuard>& find, const std::wstring& folder, WIN32_FIND_DATAW* data)
{
    if (!find)
    {
        find.reset(new SFindGuard(FindFirstFileW((folder + L"*").c_str(), data)));
        return find->IsValid();
    }
    return find->IsValid() && FindNextFileW(find->Get(), data);
}
}

std::wstring PFolderTree::ToWide(const SString& text)
{
    const char* bytes = Text(text);
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes, -1, nullptr, 0);
    if (size <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes, -1, &wide[0], size);
    wide.resize(static_cast<size_t>(size - 1));
    return wide;
}

bool PFolderTree::ToCodePage(const std::wstring& name, SString* text)
{
    const UINT page = GetACP();
    // A UTF-8 code page holds every name; it refuses the flag and the question.
    const bool utf8 = page == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(page, flags, name.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? static_cast<size_t>(size) : 1, '\0');
    if (size <= 0 ||
        !WideCharToMultiByte(page, flags, name.c_str(), -1, &bytes[0], size, nullptr, utf8 ? nullptr : &usedDefault))
    {
        *text = "";
        return false;
    }
    *text = bytes.c_str();
    // Read back, a look-alike some table still gives would be another name.
    return !usedDefault && ToWide(*text) == name;
}

bool PFolderTree::FitsListing(const std::wstring& folder)
{
    return folder.size() + 3 < MAX_PATH;
}

long long PFolderTree::GetPictureSize(const SString& path) const
{
    const auto found = m_pictures.find(Key(path));
    return found == m_pictures.end() ? -1 : found->second;
}

// Upper case as the system folds it for the code page, as file names compare.
std::string PFolderTree::Key(const SString& path)
{
    std::string key(Text(path));
    if (!key.empty())
        CharUpperBuffA(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

void PFolderTree::AddEntry(const _SLevel& level, const WIN32_FIND_DATAW& found, std::vector<_SLevel>* stack)
{
    const wchar_t* name = found.cFileName;
    if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0)
        return;
    SString text;
    const bool exact = ToCodePage(name, &text);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        if (level.usable && exact && IsPictureName(name))
            m_pictures[Key(level.path + Text(text))] =
                (static_cast<long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        return;
    }
    const std::wstring wide = level.wide + name + L"\\";
    const SString path = level.path + Text(text) + "\\";
    const bool fits = FitsListing(wide.substr(static_cast<size_t>(m_longPrefix)));
    const bool usable = level.usable && exact && fits && SPath(Text(path)).IsValid();
    if (usable)
        m_folders.push_back(path);
    else if (level.usable)
        m_leftOut.Add(Text(path));
    else
        ++m_belowLeftOut;
    // Junctions are told but not entered: one that points back up the tree
    // would make the listing endless.
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        stack->push_back(_SLevel{wide, path, usable, nullptr});
}

// Depth first with a stack of open listings rather than calls within calls:
// a tree deeper than the thread's stack allows is still read whole.
void PFolderTree::List(const SString& root)
{
    m_folders.clear();
    m_leftOut.DeleteAndRemoveAll();
    m_belowLeftOut = 0;
    m_pictures.clear();
    const std::wstring wide = ToWide(root);
    // The long form reads folders past the system's limit, to count them.
    const bool share = wide.compare(0, 2, L"\\\\") == 0;
    const std::wstring longForm = share ? L"\\\\?\\UNC\\" + wide.substr(2) : L"\\\\?\\" + wide;
    m_longPrefix = static_cast<int>(longForm.size() - wide.size());
    std::vector<_SLevel> stack;
    stack.push_back(_SLevel{longForm, root, true, nullptr});
    WIN32_FIND_DATAW data;
    while (!stack.empty())
    {
        _SLevel& level = stack.back();
        if (!NextEntry(level.find, level.wide, &data))
        {
            stack.pop_back();
            continue;
        }
        AddEntry(level, data, &stack);
    }
}
