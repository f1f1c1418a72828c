// SString: storage, construction and assignment, access, comparison and search. Editing
// is in SStringEdit.cpp, conversions in SStringConvert.cpp, formatting in SStringFormat.cpp.
#include "SString.h"
#include "SPlatform.h"
#include <cstring>

namespace
{
int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}
} // namespace

// ---- Storage ---------------------------------------------------------------------------

// The smallest multiple of 16 above n + 1.
int SString::NeededSize(int n)
{
    if (n < 0)
        n = 0;
    return (n + 1) + 16 - ((n + 1) % 16);
}

void SString::Init()
{
    m_data = nullptr;
    m_length = 0;
    m_capacity = 0;
    m_wide = nullptr;
    m_value = 0;
}

bool SString::Overlaps(const char* p) const
{
    return m_data && p >= m_data && p < m_data + m_capacity;
}

SString::SString()
{
    Init();
}

SString::SString(const char* text)
{
    Init();
    Assign(text, -1);
}

SString::SString(const wchar_t* text)
{
    Init();
    *this = text;
}

SString::SString(const SString& other)
{
    Init();
    Assign(other.m_data ? other.m_data : "", other.m_length);
    m_value = other.m_value;
}

SString::SString(int n)
{
    Init();
    if (n < 1)
    {
        Assign("", 0);
        return;
    }
    Reserve(n, false);
    std::memset(m_data, ' ', n);
}

SString::~SString()
{
    m_value = 0;
    delete[] m_data;
    delete[] m_wide;
}

SString& SString::operator=(const SString& other)
{
    if (this != &other)
    {
        Assign(other.m_data ? other.m_data : "", other.m_length);
        m_value = other.m_value;
    }
    return *this;
}

SString& SString::operator=(const char* text)
{
    Assign(text, -1);
    return *this;
}

SString& SString::operator=(char c)
{
    Assign(&c, c ? 1 : 0);
    return *this;
}

SString& SString::operator=(const wchar_t* text)
{
    const int m = text ? WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr) : 0;
    // A text that converts to nothing (or fails) leaves a valid empty text.
    if (m < 2)
    {
        Assign("", 0);
        return *this;
    }
    Reserve(m - 1, true);
    WideCharToMultiByte(CP_ACP, 0, text, -1, m_data, m, nullptr, nullptr);
    m_data[m - 1] = 0;
    return *this;
}

void SString::Assign(const char* text, int count)
{
    if (!text)
    {
        text = "";
        count = 0;
    }
    else if (count < 0)
        count = (int)std::strlen(text);
    // The text may lie in the own buffer: the old buffer goes only after the copy.
    char* old = nullptr;
    const int needed = NeededSize(count);
    if (needed > m_capacity)
    {
        old = m_data;
        m_data = new char[needed];
        m_capacity = needed;
    }
    std::memmove(m_data, text, count);
    m_data[count] = 0;
    m_length = count;
    delete[] old;
}

SString& SString::SetText(const char* text, int count)
{
    Assign(text, count);
    return *this;
}

void SString::Reserve(int n, bool keep)
{
    if (n < 0)
        n = 0;
    const int needed = NeededSize(n);
    if (needed > m_capacity)
    {
        char* data = new char[needed];
        if (keep && m_data)
            std::memcpy(data, m_data, n < m_length ? n : m_length);
        delete[] m_data;
        m_data = data;
        m_capacity = needed;
    }
    m_length = n;
    m_data[n] = 0;
}

void SString::SetLength(int n, char fill)
{
    const int old = m_length;
    Reserve(n, true);
    if (fill && n > old)
        std::memset(m_data + old, fill, n - old);
}

void SString::FreeBuffer()
{
    delete[] m_data;
    m_data = nullptr;
    m_length = 0;
    m_capacity = 0;
}

// ---- Access ----------------------------------------------------------------------------

char SString::GetAt(int i) const
{
    return (m_data && i >= 0 && i < m_length) ? m_data[i] : 0;
}

void SString::SetAt(int i, char c)
{
    if (i < 0 || i >= m_length)
        return;
    m_data[i] = c;
    if (!c)
        m_length = i;
}

void SString::Truncate(int i)
{
    if (i >= 0 && i < m_length)
    {
        m_data[i] = 0;
        m_length = i;
    }
}

int SString::CountChar(char c) const
{
    int n = 0;
    for (int i = 0; i < m_length; i++)
        if (m_data[i] == c)
            n++;
    return n;
}

int SString::GetLineCount() const
{
    int n = 1;
    for (int i = 0; i + 1 < m_length; i++)
    {
        if (m_data[i] == '\r' && m_data[i + 1] == '\n')
        {
            n++;
            i++;
        }
    }
    return n;
}

// ---- Comparison ------------------------------------------------------------------------

int SString::Compare(const char* text) const
{
    return Sign(std::strcmp(m_data ? m_data : "", text ? text : ""));
}

int SString::CompareNoCase(const char* text) const
{
    return CompareTextNoCase(m_data, text);
}

int SString::CompareTextNoCase(const char* a, const char* b)
{
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (;; ++x, ++y)
    {
        const int cx = (*x >= 'A' && *x <= 'Z') ? *x + ('a' - 'A') : *x;
        const int cy = (*y >= 'A' && *y <= 'Z') ? *y + ('a' - 'A') : *y;
        if (cx != cy || cx == 0)
            return Sign(cx - cy);
    }
}

bool SString::operator==(const char* text) const
{
    return Compare(text) == 0;
}

bool SString::operator!=(const char* text) const
{
    return Compare(text) != 0;
}

// ---- Ranges and search -----------------------------------------------------------------

bool SString::CheckStart(int& start, bool allowEnd) const
{
    if (start < 0)
    {
        start = 0;
        return true;
    }
    return allowEnd ? start <= m_length : start < m_length;
}

int SString::ClampCount(int& count, int start) const
{
    if (count < 0 || count > m_length - start)
        count = m_length - start;
    return start + count;
}

int SString::FindChar(char c, int start, int count) const
{
    if (!CheckStart(start, false))
        return -1;
    const int end = ClampCount(count, start);
    for (int i = start; i < end; i++)
        if (m_data[i] == c)
            return i;
    return -1;
}

int SString::FindCharNot(char c, int start, int count) const
{
    if (!CheckStart(start, false))
        return -1;
    const int end = ClampCount(count, start);
    for (int i = start; i < end; i++)
        if (m_data[i] != c)
            return i;
    return -1;
}

int SString::ReverseFindChar(char c, int start) const
{
    if (start == -1)
        start = m_length - 1;
    if (start < 0 || start >= m_length)
        return -1;
    for (int i = start; i >= 0; i--)
        if (m_data[i] == c)
            return i;
    return -1;
}

int SString::ReverseFindAnyChar(int start, int n, ...) const
{
    va_list args;
    va_start(args, n);
    int result = -1;
    for (int k = 0; k < n; k++)
    {
        const char c = (char)va_arg(args, int);
        if (FindChar(c) >= 0)
        {
            result = ReverseFindChar(c, start);
            break;
        }
    }
    va_end(args);
    return result;
}

int SString::Find(const char* text, int start, int count, bool after) const
{
    if (!text || !*text || !CheckStart(start, false))
        return -1;
    const int end = ClampCount(count, start);
    const int n = (int)std::strlen(text);
    for (int i = start; i + n <= end; i++)
        if (std::memcmp(m_data + i, text, n) == 0)
            return after ? i + n : i;
    return -1;
}

int SString::FindNoCase(const char* text, int start, int count) const
{
    if (!text || !*text || !CheckStart(start, false))
        return -1;
    const int end = ClampCount(count, start);
    const int n = (int)std::strlen(text);
    for (int i = start; i + n <= end; i++)
        if (_strnicmp(m_data + i, text, n) == 0)
            return i;
    return -1;
}
