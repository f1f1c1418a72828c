#include "SFile.h"
#include "SDisk.h"
#include "SGuards.h"
#include <io.h>
#include <share.h>
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace
{
// Bytes read per step by the whole-file operations (CRC, search); the results do
// not depend on it.
const int kPieceSize = 65536;

int ToInt(long long value)
{
    return value > INT_MAX ? -1 : static_cast<int>(value);
}

SString TrimBlanks(const std::vector<char>& line, bool keepBlanks)
{
    size_t start = 0;
    size_t end = line.size();
    if (!keepBlanks)
    {
        while (start < end && (line[start] == ' ' || line[start] == '\t'))
            start++;
        while (end > start && (line[end - 1] == ' ' || line[end - 1] == '\t'))
            end--;
    }
    SString text("");
    if (end > start)
        text.Assign(line.data() + start, static_cast<int>(end - start));
    return text;
}
} // namespace

SFile::SFile() : m_file(nullptr), m_name(""), m_temporaryPath(""), m_temporary(false), m_direction(kNone)
{
}

SFile::SFile(const char* path, bool write, bool create, bool read) : SFile()
{
    Open(path, write, create, read, false);
}

SFile::~SFile()
{
    SFile::Close();
}

bool SFile::Open(const char* path, bool write, bool create, bool read, bool shared)
{
    Close();
    if (!path || !*path)
        return false;
    const char* mode = nullptr;
    if (read && write)
        mode = create ? "w+b" : "r+b";
    else if (read)
        mode = "rb";
    else if (write)
        mode = create ? "wb" : "ab";
    if (!mode)
        return false;
    m_file = shared ? _fsopen(path, mode, _SH_DENYNO) : fopen(path, mode);
    if (!m_file)
        return false;
    m_name = path;
    m_temporary = false;
    m_direction = kNone;
    return true;
}

bool SFile::OpenTemporary()
{
    Close();
    SDisk disk;
    const SString name = disk.GetTempName();
    if (name.GetLength() == 0)
        return false;
    m_file = fopen(name.GetText(), "w+b");
    if (!m_file)
    {
        // GetTempName made the empty file: do not leave it behind.
        DeleteFileA(name.GetText());
        return false;
    }
    m_temporaryPath = name;
    m_temporary = true;
    m_direction = kNone;
    return true;
}

void SFile::Close()
{
    if (!m_file)
        return;
    fclose(m_file);
    m_file = nullptr;
    if (m_temporaryPath.GetLength() > 0)
        DeleteFileA(m_temporaryPath.GetText());
    m_name = "";
    m_temporaryPath = "";
    m_temporary = false;
    m_direction = kNone;
}

void SFile::Prepare(Direction direction)
{
    if (m_direction != kNone && m_direction != direction)
        _fseeki64(m_file, 0, SEEK_CUR);
    m_direction = direction;
}

long long SFile::GetSize64() const
{
    if (!m_file)
        return 0;
    const long long position = _ftelli64(m_file);
    long long size = -1;
    if (_fseeki64(m_file, 0, SEEK_END) == 0)
        size = _ftelli64(m_file);
    if (position >= 0)
        _fseeki64(m_file, position, SEEK_SET);
    m_direction = kNone;
    return size;
}

long long SFile::GetPosition64() const
{
    if (!m_file)
        return 0;
    const long long position = _ftelli64(m_file);
    return position >= 0 ? position : GetSize64();
}

bool SFile::SeekTo64(long long position)
{
    m_direction = kNone;
    return _fseeki64(m_file, position, SEEK_SET) == 0;
}

int SFile::GetSize() const
{
    return m_file ? ToInt(GetSize64()) : 0;
}

int SFile::GetPosition() const
{
    return m_file ? ToInt(GetPosition64()) : 0;
}

bool SFile::IsEnd() const
{
    return !m_file || GetPosition64() == GetSize64();
}

int SFile::Seek(int position)
{
    if (!m_file)
        return 0;
    const long long size = GetSize64();
    const long long target = (position < 0 || position > size) ? size : position;
    if (!SeekTo64(target))
        return GetPosition();
    return ToInt(target);
}

bool SFile::SetSize(int size)
{
    if (!m_file || size < 0)
        return false;
    // Buffered bytes written later than the truncation would grow the file again.
    fflush(m_file);
    if (!SeekTo64(size))
        return false;
    return _chsize_s(_fileno(m_file), size) == 0;
}

int SFile::Write(const void* data, int n)
{
    if (!m_file || !data || n < 1)
        return 0;
    Prepare(kWriting);
    return static_cast<int>(fwrite(data, 1, n, m_file));
}

int SFile::WriteLine(const char* text)
{
    int written = 0;
    if (text && *text)
        written = Write(text, static_cast<int>(strlen(text)));
    return written + Write("\r\n", 2);
}

int SFile::Read(void* data, int n)
{
    if (!m_file || !data || n < 1)
        return 0;
    Prepare(kReading);
    return static_cast<int>(fread(data, 1, n, m_file));
}

SString SFile::ReadText(int n)
{
    SString text("");
    if (!m_file || n == 0)
        return text;
    const long long remaining = GetSize64() - GetPosition64();
    if (n < 0 || n > remaining)
    {
        if (remaining > INT_MAX)
            return text;
        n = static_cast<int>(remaining);
    }
    if (n <= 0)
        return text;
    text.Reserve(n, false);
    const int read = Read(text.GetBuffer(), n);
    if (read < n)
        text.Truncate(std::max(read, 0));
    return text;
}

SString SFile::ReadLine(bool keepBlanks, int maximum, bool* lineEnd)
{
    if (lineEnd)
        *lineEnd = false;
    if (!m_file || maximum == 0)
        return SString("");
    Prepare(kReading);
    std::vector<char> line;
    bool afterCr = false;
    int c;
    while ((c = getc(m_file)) != EOF)
    {
        if (c == '\n' && afterCr)
        {
            if (lineEnd)
                *lineEnd = true;
            break;
        }
        afterCr = c == '\r';
        // CR and LF are never kept, wherever they stand.
        if (c == '\r' || c == '\n')
            continue;
        line.push_back(static_cast<char>(c));
        if (maximum > 0 && static_cast<int>(line.size()) >= maximum)
            break;
    }
    return TrimBlanks(line, keepBlanks);
}

SString SFile::ReadString()
{
    if (!m_file)
        return SString("");
    Prepare(kReading);
    std::vector<char> text;
    int c;
    while ((c = getc(m_file)) != EOF && c != 0)
        text.push_back(static_cast<char>(c));
    return TrimBlanks(text, true);
}

bool SFile::GetCrc32(uint32_t* out)
{
    if (!m_file || !out)
        return false;
    const long long position = GetPosition64();
    const long long size = GetSize64();
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[kPieceSize]);
    if (!buffer || size < 0 || !SeekTo64(0))
        return false;
    uint32_t crc = 0xFFFFFFFFu;
    long long done = 0;
    while (done < size)
    {
        const int read = Read(buffer.get(), kPieceSize);
        if (read <= 0)
            break;
        crc = UpdateCrc32(crc, buffer.get(), read);
        done += read;
    }
    SeekTo64(position);
    if (done < size)
        return false;
    *out = ~crc;
    return true;
}

int SFile::Find(const void* bytes, int n)
{
    if (!m_file || !bytes || n < 1)
        return -1;
    const unsigned char* pattern = static_cast<const unsigned char*>(bytes);
    const long long size = GetSize64();
    long long start = GetPosition64();
    const int pieceSize = std::max(n, kPieceSize);
    std::unique_ptr<unsigned char[]> buffer;
    if (start >= 0 && n <= size - start)
        buffer.reset(new (std::nothrow) unsigned char[pieceSize]);
    while (buffer && start + n <= size && SeekTo64(start))
    {
        const int read = Read(buffer.get(), pieceSize);
        if (read < n)
            break;
        const int last = read - n;
        for (int i = 0; i <= last; i++)
        {
            const void* first = memchr(buffer.get() + i, pattern[0], last - i + 1);
            if (!first)
                break;
            i = static_cast<int>(static_cast<const unsigned char*>(first) - buffer.get());
            if (memcmp(buffer.get() + i, pattern, n) == 0 && ToInt(start + i) >= 0)
            {
                SeekTo64(start + i + n);
                return static_cast<int>(start + i);
            }
        }
        // The next piece starts at the first candidate that did not fit in this one.
        start += last + 1;
    }
    SeekTo64(size);
    return -1;
}

bool SFile::SaveReplacing(const char* path, const void* data, int size)
{
    if (!path || !*path || size < 0 || (size > 0 && !data))
        return false;
    const SString temporary = SString(path) + ".saving";
    SHandleGuard file(CreateFileA(temporary.GetText(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    DWORD written = 0;
    bool complete = (size == 0 || WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr)) &&
                    written == static_cast<DWORD>(size) && FlushFileBuffers(file.Get());
    complete = CloseHandle(file.Release()) && complete;
    if (complete)
        complete = MoveFileExA(temporary.GetText(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!complete)
        DeleteFileA(temporary.GetText());
    return complete;
}
