#include "SMemory.h"
#include "SLibrary.h"
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

namespace
{
const int kGrowthStep = 1024;

// The smallest multiple of 1024 strictly above n, or -1 when that does not fit an int.
int CapacityFor(long long n)
{
    if (n < 0)
        n = 0;
    const long long capacity = n + kGrowthStep - (n % kGrowthStep);
    return capacity > INT_MAX ? -1 : static_cast<int>(capacity);
}

// The program's own module as the start-up recorded it; before the start-up it is
// null, which Windows reads as the program file too.
HMODULE ProgramModule()
{
    return GetInstance();
}

bool IsBlank(unsigned char c)
{
    return c == ' ' || c == '\t';
}

// The bytes [start, end) of the buffer, less the blanks at both ends unless kept.
SString MakeLine(const unsigned char* data, int start, int end, bool keepBlanks)
{
    if (!keepBlanks)
    {
        while (start < end && IsBlank(data[start]))
            start++;
        while (end > start && IsBlank(data[end - 1]))
            end--;
    }
    SString line("");
    if (end > start)
        line.Assign(reinterpret_cast<const char*>(data + start), end - start);
    return line;
}
} // namespace

SMemory::SMemory() : m_data(nullptr), m_size(0), m_capacity(0), m_position(0)
{
    m_isMemory = true;
}

SMemory::SMemory(const char* type, int id) : SMemory()
{
    LoadFromResource(type, id, ProgramModule());
}

SMemory::~SMemory()
{
    SMemory::Close();
}

void SMemory::Close()
{
    delete[] m_data;
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_position = 0;
}

bool SMemory::Reallocate(int capacity, int keep)
{
    unsigned char* data = new (std::nothrow) unsigned char[capacity];
    if (!data)
        return false;
    if (m_data && keep > 0)
        memcpy(data, m_data, keep);
    delete[] m_data;
    m_data = data;
    m_capacity = capacity;
    return true;
}

void SMemory::Resize(int n, bool keep)
{
    if (n < 0)
        n = 0;
    const int capacity = CapacityFor(n);
    if (capacity < 0)
        return;
    if (capacity == m_capacity && m_data)
    {
        m_size = n;
        return;
    }
    if (Reallocate(capacity, keep ? std::min(m_size, n) : 0))
        m_size = n;
}

bool SMemory::GrowForWrite(long long end)
{
    if (end <= m_size)
        return true;
    if (m_data && end < m_capacity)
    {
        m_size = static_cast<int>(end);
        return true;
    }
    const int needed = CapacityFor(end);
    if (needed < 0)
        return false;
    const int grown = CapacityFor(static_cast<long long>(m_capacity) * 2);
    if (!Reallocate(std::max(needed, grown), m_size))
        return false;
    m_size = static_cast<int>(end);
    return true;
}

int SMemory::Allocate(int n)
{
    Resize(n, false);
    m_position = 0;
    return m_size;
}

bool SMemory::SetSize(int size)
{
    Resize(size, true);
    if (m_position > m_size)
        m_position = m_size;
    return m_data && m_size == std::max(size, 0);
}

int SMemory::Write(const void* data, int n)
{
    if (n < 1 || !data)
        return 0;
    // The bytes may come from this very buffer, which growing replaces.
    const unsigned char* source = static_cast<const unsigned char*>(data);
    const bool inside = m_data && source >= m_data && source < m_data + m_capacity;
    const long long offset = inside ? source - m_data : 0;
    if (!GrowForWrite(static_cast<long long>(m_position) + n))
        return 0;
    if (inside)
        source = m_data + offset;
    memmove(m_data + m_position, source, n);
    m_position += n;
    return n;
}

int SMemory::WriteLine(const char* text)
{
    const int length = text ? static_cast<int>(strlen(text)) : 0;
    if (!GrowForWrite(static_cast<long long>(m_position) + length + 2))
        return 0;
    if (length > 0)
        memmove(m_data + m_position, text, length);
    m_data[m_position + length] = '\r';
    m_data[m_position + length + 1] = '\n';
    m_position += length + 2;
    return length + 2;
}

int SMemory::Read(void* data, int n)
{
    if (n < 1 || !data || !m_data)
        return 0;
    const int count = std::min(n, m_size - m_position);
    if (count <= 0)
        return 0;
    memcpy(data, m_data + m_position, count);
    m_position += count;
    return count;
}

SString SMemory::ReadText(int n)
{
    const int remaining = m_size - m_position;
    if (n < 0 || n > remaining)
        n = remaining;
    SString text("");
    if (n <= 0 || !m_data)
        return text;
    text.Assign(reinterpret_cast<const char*>(m_data + m_position), n);
    m_position += n;
    return text;
}

SString SMemory::ReadLine(bool keepBlanks, int maximum, bool* lineEnd)
{
    if (lineEnd)
        *lineEnd = false;
    if (maximum == 0 || !m_data)
        return SString("");
    const int start = m_position;
    int limit = m_size;
    if (maximum > 0 && maximum < m_size - start)
        limit = start + maximum;
    for (int i = start; i < limit; i++)
    {
        // Only the pair CR LF ends a line, and both of its bytes must fit the maximum.
        if (m_data[i] == '\r' && i + 1 < limit && m_data[i + 1] == '\n')
        {
            m_position = i + 2;
            if (lineEnd)
                *lineEnd = true;
            return MakeLine(m_data, start, i, keepBlanks);
        }
    }
    m_position = limit;
    return MakeLine(m_data, start, limit, keepBlanks);
}

SString SMemory::ReadString()
{
    SString text("");
    if (!m_data || m_position >= m_size)
        return text;
    const unsigned char* start = m_data + m_position;
    const int remaining = m_size - m_position;
    const void* nul = memchr(start, 0, remaining);
    // The NUL, when there is one, is part of the returned bytes.
    const int count = nul ? static_cast<int>(static_cast<const unsigned char*>(nul) - start) + 1 : remaining;
    text.Assign(reinterpret_cast<const char*>(start), count);
    m_position += count;
    return text;
}

int SMemory::Seek(int position)
{
    m_position = (position < 0 || position > m_size) ? m_size : position;
    return m_position;
}

bool SMemory::GetCrc32(uint32_t* out)
{
    if (!m_data || !out)
        return false;
    *out = ~UpdateCrc32(0xFFFFFFFFu, m_data, m_size);
    return true;
}

int SMemory::Find(const void* bytes, int n)
{
    if (n < 1 || !bytes)
        return -1;
    const unsigned char* pattern = static_cast<const unsigned char*>(bytes);
    if (m_data)
    {
        for (int i = m_position; i <= m_size - n; i++)
        {
            const void* first = memchr(m_data + i, pattern[0], m_size - n + 1 - i);
            if (!first)
                break;
            i = static_cast<int>(static_cast<const unsigned char*>(first) - m_data);
            if (memcmp(m_data + i, pattern, n) == 0)
            {
                m_position = i + n;
                return i;
            }
        }
    }
    m_position = m_size;
    return -1;
}

bool SMemory::LoadFromFile(const char* path)
{
    if (!path || !*path)
        return false;
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    bool loaded = false;
    unsigned char* data = nullptr;
    long long size = -1;
    int capacity = -1;
    if (_fseeki64(file, 0, SEEK_END) == 0)
        size = _ftelli64(file);
    if (size >= 0)
        capacity = CapacityFor(size);
    if (capacity > 0 && _fseeki64(file, 0, SEEK_SET) == 0)
        data = new (std::nothrow) unsigned char[capacity];
    // The content changes only when the whole file has been read.
    if (data && fread(data, 1, static_cast<size_t>(size), file) == static_cast<size_t>(size))
    {
        delete[] m_data;
        m_data = data;
        m_size = static_cast<int>(size);
        m_capacity = capacity;
        m_position = 0;
        data = nullptr;
        loaded = true;
    }
    delete[] data;
    fclose(file);
    return loaded;
}

bool SMemory::SaveToFile(const char* path)
{
    if (!path || !*path)
        return false;
    FILE* file = fopen(path, "wb");
    if (!file)
        return false;
    bool saved = true;
    if (m_data && m_size > 0)
        saved = fwrite(m_data, 1, m_size, file) == static_cast<size_t>(m_size);
    // Buffered bytes reach the disk only at the flush, which can fail too; the
    // runtime's close does not always report a failed flush.
    if (fflush(file) != 0 || ferror(file))
        saved = false;
    if (fclose(file) != 0)
        saved = false;
    return saved;
}

bool SMemory::LoadFromResource(const char* type, int id, HMODULE module)
{
    Allocate(0);
    const bool loaded = ReadResourceIntoFile(module, type, id, this);
    SeekToStart();
    return loaded;
}

bool SMemory::LoadFromResource(const char* name, const char* type, HMODULE module)
{
    Allocate(0);
    const bool loaded = ReadResourceIntoFile(module, type, name, this);
    SeekToStart();
    return loaded;
}

bool SMemory::RemoveRange(int offset, int count)
{
    if (offset < 0 || offset >= m_size || count < 1 || count > m_size - offset)
        return false;
    memmove(m_data + offset, m_data + offset + count, m_size - offset - count);
    const int size = m_size - count;
    Resize(size, true);
    if (m_size != size)
        m_size = size; // no smaller buffer could be had: the larger one serves
    if (m_position >= m_size)
        Seek(m_size - 1);
    return true;
}

bool SMemory::InsertRange(int offset, int count)
{
    if (offset < 0 || offset > m_size || count < 1 || count > INT_MAX - m_size)
        return false;
    const int oldSize = m_size;
    Resize(oldSize + count, true);
    if (m_size != oldSize + count)
        return false;
    memmove(m_data + offset + count, m_data + offset, oldSize - offset);
    memset(m_data + offset, 0, count);
    return true;
}
