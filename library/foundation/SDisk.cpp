#include "SDisk.h"
#include "SArrayString.h"
#include "SFile.h"
#include "SGuards.h"
#include "SPath.h"
#include <shellapi.h>
#include <direct.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
bool IsDotEntry(const char* name)
{
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

bool IsFolderEntry(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The ZIP layout's little-endian fields, appended to a header being built.
void Put16(std::vector<unsigned char>& out, uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(std::vector<unsigned char>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One entry of the archive, as noted while its data is written.
struct SZipEntry
{
    SString name;
    uint32_t crc;
    uint32_t size;
    uint32_t offset;
};

// The archive being written: a stdio file whose every write is checked, and whose
// length is counted in 64 bits so that the 32-bit fields of the format can be guarded.
class SZipWriter
{
public:
    explicit SZipWriter(const char* path) : m_file(fopen(path, "w+b")), m_written(0), m_failed(!m_file) {}
    ~SZipWriter()
    {
        if (m_file)
            fclose(m_file);
    }
    bool IsOpen() const { return m_file != nullptr; }
    bool Failed() const { return m_failed; }
    unsigned long long GetWritten() const { return m_written; }
    void Write(const void* data, size_t n)
    {
        if (m_failed || n == 0)
            return;
        if (fwrite(data, 1, n, m_file) != n)
            m_failed = true;
        m_written += n;
    }
    void Write(const std::vector<unsigned char>& bytes) { Write(bytes.data(), bytes.size()); }
    // Copies the source from its position; false when it yields fewer bytes.
    bool CopyFrom(SFile* source, uint32_t size)
    {
        std::vector<unsigned char> buffer(65536);
        uint32_t left = size;
        while (left > 0 && !m_failed)
        {
            const int piece = static_cast<int>(std::min<uint32_t>(left, static_cast<uint32_t>(buffer.size())));
            if (source->Read(buffer.data(), piece) != piece)
                return false;
            Write(buffer.data(), piece);
            left -= piece;
        }
        return !m_failed;
    }
    // Buffered bytes reach the disk at the close, which can fail too.
    bool Close()
    {
        if (!m_file)
            return false;
        const bool closed = fclose(m_file) == 0;
        m_file = nullptr;
        return closed && !m_failed;
    }

private:
    FILE* m_file;
    unsigned long long m_written;
    bool m_failed;
};

const unsigned long long kZipLimit = 0xFFFFFFFFull;
const int kZipMaxEntries = 65535;

// Measures the archive before anything is written, so that one that cannot be
// represented is refused at once.
bool FitsZipLimits(const SArrayString* files, int skipParts)
{
    if (files->GetCount() > kZipMaxEntries)
        return false;
    unsigned long long total = 22;
    for (int i = 0; i < files->GetCount(); i++)
    {
        const SString path = files->GetAt(i);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.GetText(), GetFileExInfoStandard, &data))
            return false;
        const unsigned long long size =
            (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > INT_MAX)
            return false;
        const unsigned long long nameLength =
            static_cast<unsigned>(SPath(path.GetText()).JoinComponents(skipParts, -1, false, '\\').GetLength());
        total += 30 + 46 + 2 * nameLength + size;
        if (total > kZipLimit)
            return false;
    }
    return true;
}

bool WriteZipEntry(SZipWriter& zip, const char* path, int skipParts, SZipEntry* entry)
{
    const SPath parsed(path);
    entry->name = parsed.JoinComponents(skipParts, -1, false, '\\');
    const int nameLength = entry->name.GetLength();
    if (nameLength == 0 || nameLength > 0xFFFF)
        return false;
    SFile source;
    if (!source.Open(path, false, false, true))
        return false;
    const int size = source.GetSize();
    uint32_t crc = 0;
    if (size < 0 || !source.GetCrc32(&crc))
        return false;
    // The data must end below the limit, and the directory after it as well.
    const unsigned long long end = zip.GetWritten() + 30 + nameLength + static_cast<unsigned>(size);
    if (end + 46 + nameLength + 22 > kZipLimit)
        return false;
    entry->crc = crc;
    entry->size = static_cast<uint32_t>(size);
    entry->offset = static_cast<uint32_t>(zip.GetWritten());
    std::vector<unsigned char> header;
    Put32(header, 0x04034B50);
    Put16(header, 20); // version needed
    Put16(header, 0);  // flags
    Put16(header, 0);  // stored
    Put16(header, 0);  // time
    Put16(header, 0);  // date
    Put32(header, entry->crc);
    Put32(header, entry->size);
    Put32(header, entry->size);
    Put16(header, nameLength);
    Put16(header, 0); // extra length
    zip.Write(header);
    zip.Write(entry->name.GetText(), nameLength);
    source.SeekToStart();
    return zip.CopyFrom(&source, entry->size);
}

bool WriteZipDirectory(SZipWriter& zip, const std::vector<SZipEntry>& entries)
{
    const unsigned long long start = zip.GetWritten();
    for (const SZipEntry& entry : entries)
    {
        std::vector<unsigned char> header;
        Put32(header, 0x02014B50);
        Put16(header, 20); // version made by
        Put16(header, 20); // version needed
        Put16(header, 0);  // flags
        Put16(header, 0);  // stored
        Put16(header, 0);  // time
        Put16(header, 0);  // date
        Put32(header, entry.crc);
        Put32(header, entry.size);
        Put32(header, entry.size);
        Put16(header, entry.name.GetLength());
        Put16(header, 0);    // extra length
        Put16(header, 0);    // comment length
        Put16(header, 0);    // disk number
        Put16(header, 1);    // internal attributes: text
        Put32(header, 0x20); // external attributes: archive
        Put32(header, entry.offset);
        zip.Write(header);
        zip.Write(entry.name.GetText(), entry.name.GetLength());
    }
    const unsigned long long end = zip.GetWritten();
    if (end + 22 > kZipLimit)
        return false;
    std::vector<unsigned char> record;
    Put32(record, 0x06054B50);
    Put16(record, 0); // this disk
    Put16(record, 0); // disk of the directory
    Put16(record, static_cast<uint32_t>(entries.size()));
    Put16(record, static_cast<uint32_t>(entries.size()));
    Put32(record, static_cast<uint32_t>(end - start));
    Put32(record, static_cast<uint32_t>(start));
    Put16(record, 0); // comment length
    zip.Write(record);
    return !zip.Failed();
}
} // namespace

SDisk::SDisk() : m_keepTrailingSeparator(true)
{
    m_buffer[0] = 0;
}

SDisk::~SDisk()
{
}

bool SDisk::SetKeepTrailingSeparator(bool keep)
{
    const bool previous = m_keepTrailingSeparator;
    m_keepTrailingSeparator = keep;
    return previous;
}

int SDisk::GetAttributes(const char* name) const
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!name || !GetFileAttributesExA(name, GetFileExInfoStandard, &data))
        return -1;
    return static_cast<int>(data.dwFileAttributes & (kReadOnly | kHidden | kSystem));
}

bool SDisk::SetAttributes(const char* name, int bits) const
{
    if (!name)
        return false;
    const DWORD attributes = static_cast<DWORD>(bits & (kReadOnly | kHidden | kSystem));
    return SetFileAttributesA(name, attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool SDisk::IsHidden(const char* name) const
{
    const int attributes = GetAttributes(name);
    return attributes >= 0 && (attributes & kHidden);
}

int SDisk::GetFileSize(const char* name) const
{
    const long long size = GetFileSize64(name);
    return (size < 0 || size > INT_MAX) ? -1 : static_cast<int>(size);
}

long long SDisk::GetFileSize64(const char* name) const
{
    if (!name || !*name)
        return -1;
    FILE* file = fopen(name, "rb");
    if (!file)
        return -1;
    long long size = -1;
    if (_fseeki64(file, 0, SEEK_END) == 0)
        size = _ftelli64(file);
    fclose(file);
    return size < 0 ? -1 : size;
}

SString SDisk::ExpandLongPath(const char* path) const
{
    if (!path || !*path)
        return SString("");
    std::vector<char> buffer(MAX_PATH);
    for (int tries = 0; tries < 3; tries++)
    {
        const DWORD length = GetLongPathNameA(path, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return SString("");
        if (length < buffer.size())
            return SString(buffer.data());
        buffer.resize(length + 1);
    }
    return SString("");
}

bool SDisk::IsReparsePoint(const char* name) const
{
    if (!name || !*name)
        return false;
    // With a trailing separator the test would be of what the link points to.
    SString entry(name);
    while (entry.GetLength() > 3 && IsSeparator(entry.GetAt(entry.GetLength() - 1)))
        entry.Truncate(entry.GetLength() - 1);
    const DWORD attributes = GetFileAttributesA(entry.GetText());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool SDisk::DeleteFile(const char* name) const
{
    return name && ::DeleteFileA(name) != 0;
}

bool SDisk::Locate(const char* name)
{
    m_buffer[0] = 0;
    if (!name || !*name)
        return false;
    if (!_fullpath(m_buffer, name, sizeof(m_buffer)))
    {
        m_buffer[0] = 0;
        return false;
    }
    return GetFileAttributesA(m_buffer) != INVALID_FILE_ATTRIBUTES;
}

bool SDisk::FileExists(const char* name)
{
    if (!name || !*name || IsSeparator(name[strlen(name) - 1]) || !Locate(name))
        return false;
    return List(nullptr, name, false, false, true, false, true) == 1;
}

bool SDisk::FolderExists(const char* name)
{
    if (!Locate(name))
        return false;
    SString folder(name);
    if (folder.GetLength() > 0 && IsSeparator(folder.GetAt(folder.GetLength() - 1)))
        folder.Truncate(folder.GetLength() - 1);
    return List(nullptr, folder.GetText(), false, true, false, false, true) == 1;
}

bool SDisk::PassesFolderFilter(const SString& folder, int bits)
{
    if (!(bits & (kListFoldersWithoutFiles | kListFoldersWithFiles | kListFoldersWithoutSubfolders |
                  kListFoldersWithSubfolders)))
        return true;
    int files = 0;
    int folders = 0;
    const SString pattern = folder + "\\*.*";
    ListEntries(nullptr, pattern.GetText(), kListFolders | kListFiles | (bits & kListSkipHidden), &files, &folders);
    if ((bits & kListFoldersWithoutFiles) && files > 0)
        return false;
    if ((bits & kListFoldersWithFiles) && files == 0)
        return false;
    if ((bits & kListFoldersWithoutSubfolders) && folders > 0)
        return false;
    if ((bits & kListFoldersWithSubfolders) && folders == 0)
        return false;
    return true;
}

int SDisk::ListEntries(SArrayString* out, const char* pattern, int bits, int* fileCount, int* folderCount)
{
    if (!pattern || !(bits & (kListFolders | kListFiles)))
        return 0;
    bool folders = (bits & kListFolders) != 0;
    const bool files = (bits & kListFiles) != 0;
    if (folders && ((bits & 48) == 48 || (bits & 192) == 192))
        folders = false;
    if (!folders && !files)
        return 0;
    const bool skipHidden = (bits & kListSkipHidden) != 0;
    const SString text(pattern);
    const int cut = std::max(text.ReverseFindChar('\\'), text.ReverseFindChar('/'));
    const SString folderPart = text.Left(cut + 1);
    const SString namePart = cut + 1 < text.GetLength() ? text.Mid(cut + 1) : SString("");
    const bool wildcard = namePart.FindChar('*') >= 0;
    // Only a recursive wildcard listing needs the second pass over every entry.
    const bool secondPass = wildcard && (bits & kListRecursive);
    const SString prefix = wildcard ? folderPart : SString("");

    int result = 0;
    auto add = [&](const SString& entry, int* counter) {
        if (out)
            out->Add(entry.GetText());
        result++;
        if (counter)
            ++*counter;
    };

    std::set<std::string> matched;
    WIN32_FIND_DATAA data;
    {
        SFindGuard find(FindFirstFileA(pattern, &data));
        if (find.IsValid())
            do
            {
                if (IsDotEntry(data.cFileName) || (skipHidden && (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)))
                    continue;
                if (secondPass)
                    matched.insert(data.cFileName);
                else if (IsFolderEntry(data))
                {
                    if (folders && PassesFolderFilter(folderPart + data.cFileName, bits))
                        add(prefix + data.cFileName + "\\", folderCount);
                }
                else if (files)
                    add(prefix + data.cFileName, fileCount);
            } while (FindNextFileA(find.Get(), &data));
    }
    if (!secondPass)
        return result;

    const SString all = folderPart + "*.*";
    SFindGuard find(FindFirstFileA(all.GetText(), &data));
    if (!find.IsValid())
        return result;
    do
    {
        if (IsDotEntry(data.cFileName) || (skipHidden && (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)))
            continue;
        const SString path = folderPart + data.cFileName;
        if (IsFolderEntry(data))
        {
            const bool wasMatched = matched.erase(data.cFileName) > 0;
            if (folders && wasMatched && PassesFolderFilter(path, bits))
                add(path + "\\", folderCount);
            // Junctions and symbolic links are listed but not entered: one that points
            // back up the tree would make the listing endless.
            if ((bits & kListRecursive) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            {
                const SString inner = path + "\\" + namePart.GetText();
                result += ListEntries(out, inner.GetText(), bits, nullptr, nullptr);
            }
        }
        else if (files && matched.count(data.cFileName))
            add(path, fileCount);
    } while (FindNextFileA(find.Get(), &data));
    return result;
}

int SDisk::List(SArrayString* out, const char* pattern, bool recursive, bool folders, bool files,
                bool emptyFoldersOnly, bool includeHidden)
{
    int bits = 0;
    if (recursive)
        bits |= kListRecursive;
    if (folders)
        bits |= kListFolders;
    if (files)
        bits |= kListFiles;
    if (emptyFoldersOnly)
        bits |= kListFoldersWithoutFiles | kListFoldersWithoutSubfolders;
    if (!includeHidden)
        bits |= kListSkipHidden;
    return ListEntries(out, pattern, bits, nullptr, nullptr);
}

SString SDisk::GetTempFolder()
{
    char shortPath[260];
    const DWORD length = GetTempPathA(sizeof(shortPath), shortPath);
    if (length == 0 || length >= sizeof(shortPath))
        return SString("");
    const DWORD longLength = GetLongPathNameA(shortPath, m_buffer, 1024);
    if (longLength == 0 || longLength >= 1024)
        strcpy(m_buffer, shortPath);
    size_t end = strlen(m_buffer);
    if (!m_keepTrailingSeparator && end > 0 && m_buffer[end - 1] == '\\')
        m_buffer[end - 1] = 0;
    return SString(m_buffer);
}

SString SDisk::GetTempName()
{
    SString folder = GetTempFolder();
    if (folder.GetLength() > 0 && folder.GetAt(folder.GetLength() - 1) == '\\')
        folder.Truncate(folder.GetLength() - 1);
    if (folder.GetLength() == 0 || GetTempFileNameA(folder.GetText(), "tmp", 0, m_buffer) == 0)
        return SString("");
    return SString(m_buffer);
}

SString SDisk::MakeUniqueFileName(const char* folder, const char* prefix, const char* extension)
{
    if (!folder || !FolderExists(folder))
        return SString("");
    SString ending("");
    if (extension && *extension)
    {
        ending = ".";
        ending += extension;
    }
    SString base(folder);
    if (!m_keepTrailingSeparator)
        base += '\\';
    base += prefix ? prefix : "";
    const SString plain = base + ending.GetText();
    if (!Locate(plain.GetText()))
        return plain;
    for (int attempt = 0; attempt < 1000; attempt++)
    {
        const int number = static_cast<int>(rand() / 32768.0 * 1000000);
        SString name = base;
        name += IntToString(number).GetText();
        name += ending.GetText();
        if (!Locate(name.GetText()))
            return name;
    }
    return SString("");
}

bool SDisk::CreateFolder(const char* path, bool withParents)
{
    if (!path || !*path)
        return false;
    SPath folder;
    folder.SetFolder(path);
    if (!folder.IsFolderPath())
        return false;
    const SString full = folder.GetPath();
    if (FolderExists(full.GetText()))
        return true;
    if (_mkdir(full.GetText()) == 0)
        return true;
    if (errno != ENOENT || !withParents)
        return false;
    SPath parent;
    parent.SetFolder(folder.GetParent().GetText());
    if (!parent.IsFolderPath() || !CreateFolder(parent.GetPath().GetText(), true))
        return false;
    return _mkdir(full.GetText()) == 0;
}

bool SDisk::Execute(const char* file, const char* parameters, bool inOwnFolder, int show)
{
    SString folder("");
    if (inOwnFolder)
        folder = SPath(file).GetFullFolder();
    const HINSTANCE result = ShellExecuteA(nullptr, "open", file, parameters,
                                           folder.GetLength() > 0 ? folder.GetText() : nullptr, show);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool SDisk::OpenFolder(const char* path, int show)
{
    if (!FolderExists(path))
        return false;
    const HINSTANCE result = ShellExecuteA(nullptr, "open", path, nullptr, nullptr, show);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool SDisk::CreateZip(const char* zipPath, const SArrayString* files, int skipParts)
{
    if (!zipPath || !*zipPath || !files || files->GetCount() == 0)
        return false;
    if (skipParts < 0)
        skipParts = 0;
    SZipWriter zip(zipPath);
    if (!zip.IsOpen())
        return false;
    // The format counts entries in 16 bits and offsets in 32.
    bool written = FitsZipLimits(files, skipParts);
    std::vector<SZipEntry> entries;
    for (int i = 0; written && i < files->GetCount(); i++)
    {
        SZipEntry entry;
        written = WriteZipEntry(zip, files->GetAt(i).GetText(), skipParts, &entry);
        entries.push_back(entry);
    }
    if (written)
        written = WriteZipDirectory(zip, entries);
    if (zip.Close() && written)
        return true;
    ::DeleteFileA(zipPath);
    return false;
}
