#include "SString.h"
#include "SPlatform.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include "SLanguageRecord.h"

namespace
{
int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

bool IsBlank(char c, bool spacesOnly)
{
    return c == ' ' || (!spacesOnly && c == '\t');
}

bool IsWordBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
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
    return Sign(_stricmp(m_data ? m_data : "", text ? text : ""));
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

// ---- Editing ---------------------------------------------------------------------------

int SString::Delete(int start, int count)
{
    if (!CheckStart(start, false))
        return 0;
    ClampCount(count, start);
    if (count <= 0)
        return 0;
    std::memmove(m_data + start, m_data + start + count, m_length - start - count + 1);
    m_length -= count;
    return count;
}

void SString::InsertChar(char c, int index, int n)
{
    if (index < 0)
        index = m_length;
    if (n < 1 || index > m_length)
        return;
    const int old = m_length;
    Reserve(old + n, true);
    std::memmove(m_data + index + n, m_data + index, old - index);
    std::memset(m_data + index, c, n);
}

void SString::Insert(const char* text, int index, int n)
{
    if (!text || !*text)
        return;
    if (Overlaps(text))
    {
        const SString copy(text);
        Insert(copy.m_data, index, n);
        return;
    }
    if (index < 0)
        index = m_length;
    if (n < 1 || index > m_length)
        return;
    const int size = (int)std::strlen(text);
    const int old = m_length;
    Reserve(old + size * n, true);
    std::memmove(m_data + index + size * n, m_data + index, old - index);
    for (int k = 0; k < n; k++)
        std::memcpy(m_data + index + k * size, text, size);
}

void SString::ReplaceRange(const char* text, int start, int count)
{
    if (!text)
        text = "";
    if (Overlaps(text))
    {
        const SString copy(text);
        ReplaceRange(copy.m_data, start, count);
        return;
    }
    if (!CheckStart(start, true))
        return;
    ClampCount(count, start);
    const int size = (int)std::strlen(text);
    if (count > size)
        Delete(start + size, count - size);
    else if (count < size)
        InsertChar('#', start + count, size - count);
    if (size > 0)
        std::memcpy(m_data + start, text, size);
}

int SString::Replace(const char* find, const char* with, int start, int count, bool caseSensitive)
{
    if (!find || !*find || !CheckStart(start, false))
        return 0;
    const SString what(find), by(with ? with : "");
    int end = ClampCount(count, start);
    int n = 0;
    int pos = start;
    while (pos < end)
    {
        const int i = caseSensitive ? Find(what.m_data, pos, end - pos)
                                    : FindNoCase(what.m_data, pos, end - pos);
        if (i < 0)
            break;
        ReplaceRange(by.m_data, i, what.m_length);
        n++;
        // Resume after the inserted text: a replacement that contains the find text
        // is not searched again.
        pos = i + by.m_length;
        end += by.m_length - what.m_length;
    }
    return n;
}

int SString::ReplaceChar(char oldChar, char newChar, int start, int count)
{
    if (!CheckStart(start, false))
        return 0;
    const int end = ClampCount(count, start);
    int n = 0;
    for (int i = start; i < end && i < m_length; i++)
    {
        if (m_data[i] == oldChar)
        {
            SetAt(i, newChar);
            n++;
        }
    }
    return n;
}

void SString::MakeUpper()
{
    for (int i = 0; i < m_length; i++)
        m_data[i] = (char)std::toupper((unsigned char)m_data[i]);
}

void SString::MakeLower()
{
    for (int i = 0; i < m_length; i++)
        m_data[i] = (char)std::tolower((unsigned char)m_data[i]);
}

SString SString::ToUpper() const
{
    SString s(*this);
    s.MakeUpper();
    return s;
}

SString SString::ToLower() const
{
    SString s(*this);
    s.MakeLower();
    return s;
}

SString SString::operator+(const char* text) const
{
    if (!text)
        text = "";
    const int size = (int)std::strlen(text);
    SString s;
    s.Reserve(m_length + size, false);
    if (m_length)
        std::memcpy(s.m_data, m_data, m_length);
    std::memcpy(s.m_data + m_length, text, size);
    return s;
}

SString& SString::operator+=(const char* text)
{
    // Appends in place: the same result as building the sum and assigning it.
    if (!text)
        text = "";
    if (Overlaps(text))
        return *this += SString(text).m_data;
    const int size = (int)std::strlen(text);
    const int old = m_length;
    Reserve(old + size, true);
    std::memcpy(m_data + old, text, size);
    return *this;
}

SString& SString::operator+=(char c)
{
    const char text[2] = {c, 0};
    return *this += text;
}

int SString::TrimRight(int n, bool spacesOnly)
{
    if (n > 0)
    {
        if (m_data)
            Truncate(n >= m_length ? 0 : m_length - n);
        return 0;
    }
    if (n == 0)
        return 0;
    int end = m_length;
    while (end > 0 && IsBlank(m_data[end - 1], spacesOnly))
        end--;
    const int removed = m_length - end;
    Truncate(end);
    return removed;
}

int SString::TrimLeft(int n, bool spacesOnly)
{
    if (n > 0)
    {
        Delete(0, n >= m_length ? m_length : n);
        return 0;
    }
    if (n == 0)
        return 0;
    int first = 0;
    while (first < m_length && IsBlank(m_data[first], spacesOnly))
        first++;
    Delete(0, first);
    return first;
}

void SString::Trim(int right, int left, bool spacesOnly)
{
    TrimRight(right, spacesOnly);
    TrimLeft(left, spacesOnly);
}

SString SString::StripBlanks(bool tabsToo) const
{
    SString s("");
    s.Reserve(m_length, false);
    int n = 0;
    for (int i = 0; i < m_length; i++)
    {
        const char c = m_data[i];
        if (c != ' ' && !(tabsToo && c == '\t'))
            s.m_data[n++] = c;
    }
    s.m_data[n] = 0;
    s.m_length = n;
    return s;
}

void SString::RemoveLeadingNumber()
{
    int i = 0;
    while (i < m_length && IsDigit(m_data[i]))
        i++;
    if (i == 0 || i >= m_length)
        return;
    i++; // any one character after the digits
    while (i < m_length && (m_data[i] == ' ' || m_data[i] == '.' || m_data[i] == '-'))
        i++;
    if (i >= m_length)
        return;
    Delete(0, i);
}

// ---- Copies of parts -------------------------------------------------------------------

SString SString::Left(int n) const
{
    if (n < 1)
        return SString("");
    return SString().SetText(m_data, n > m_length ? m_length : n);
}

SString SString::Right(int n) const
{
    if (n < 1)
        return SString("");
    if (n > m_length)
        n = m_length;
    return SString().SetText(m_data ? m_data + m_length - n : "", n);
}

SString SString::Mid(int start, int count) const
{
    if (!CheckStart(start, false))
        return SString("");
    ClampCount(count, start);
    if (count <= 0)
        return SString("");
    return SString().SetText(m_data + start, count);
}

SString SString::Substring(int start, int end) const
{
    if (!CheckStart(start, false) || end <= start)
        return SString("");
    if (end > m_length)
        end = m_length;
    return SString().SetText(m_data + start, end - start);
}

SString SString::GetAfterChar(char c) const
{
    const int i = FindChar(c);
    return i < 0 ? SString("") : Mid(i + 1);
}

SString SString::GetBeforeChar(char c) const
{
    const int i = FindChar(c);
    return i < 0 ? SString("") : Left(i);
}

SString SString::GetBeforeCharOrAll(char c) const
{
    const int i = FindChar(c);
    return i < 0 ? SString().SetText(m_data, m_length) : Left(i);
}

SString SString::GetLine(int pos, int* next) const
{
    if (pos < 0 || pos >= m_length)
    {
        if (next)
            *next = m_length;
        return SString("");
    }
    int end = pos;
    while (end < m_length && m_data[end] != '\r' && m_data[end] != '\n')
        end++;
    if (next)
    {
        if (end >= m_length)
            *next = m_length;
        else if (m_data[end] == '\r' && end + 1 < m_length && m_data[end + 1] == '\n')
            *next = end + 2;
        else
            *next = end + 1;
    }
    return SString().SetText(m_data + pos, end - pos);
}

SString SString::GetWord(int pos, int* next, bool keepBlanks) const
{
    if (pos < 0 || pos >= m_length)
    {
        if (next)
            *next = m_length < 0 ? 0 : m_length;
        return SString("");
    }
    const bool blank = IsWordBlank(m_data[pos]);
    int end = pos;
    while (end < m_length && IsWordBlank(m_data[end]) == blank)
        end++;
    if (blank && !keepBlanks)
        return GetWord(end, next, false);
    if (next)
        *next = end;
    return SString().SetText(m_data + pos, end - pos);
}

// ---- Tests and conversions -------------------------------------------------------------

bool SString::IsIpAddress() const
{
    if (!m_data)
        return false;
    int i = 0;
    for (int group = 0; group < 4; group++)
    {
        if (group > 0)
        {
            if (i >= m_length || m_data[i] != '.')
                return false;
            i++;
        }
        int value = 0, digits = 0;
        while (i < m_length && IsDigit(m_data[i]))
        {
            if (++digits > 3)
                return false;
            value = value * 10 + (m_data[i] - '0');
            i++;
        }
        if (digits == 0 || value > 255)
            return false;
    }
    return i == m_length;
}

unsigned long long SString::ToColor() const
{
    if (!m_data || m_length == 0)
        return 0;
    int i = 0;
    if (m_length >= 2 && m_data[0] == '#')
        i = 1;
    else if (m_length >= 3 && m_data[0] == '0' && (m_data[1] == 'x' || m_data[1] == 'X'))
        i = 2;
    else if (m_data[0] == '0')
        return 0;
    const int digits = m_length - i;
    if (digits < 1 || digits > 16)
        return 0;
    unsigned long long value = 0;
    for (; i < m_length; i++)
    {
        const char c = m_data[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return 0;
        value = (value << 4) | (unsigned)d;
    }
    return value;
}

wchar_t* SString::GetWide()
{
    wchar_t* wide = AllocWide();
    delete[] m_wide;
    m_wide = wide;
    return m_wide;
}

wchar_t* SString::AllocWide() const
{
    wchar_t* wide = new wchar_t[m_length + 1];
    int n = 0;
    if (m_length > 0)
        n = MultiByteToWideChar(CP_ACP, 0, m_data, m_length, wide, m_length);
    // A multi-byte text gives fewer wide characters: end the copy where the conversion ended.
    wide[n > 0 ? n : 0] = 0;
    return wide;
}

namespace
{
int UrlDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 55;
    if (c >= 'a' && c <= 'z')
        return c - 87;
    return (unsigned char)c;
}

bool IsUrlPlain(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}
} // namespace

void SString::UrlDecode(bool plusToSpace)
{
    if (m_length == 0)
        return;
    // The result is never longer than the text: decode in place.
    int out = 0;
    for (int i = 0; i < m_length; i++)
    {
        const char c = m_data[i];
        if (c != '%')
        {
            m_data[out++] = (plusToSpace && c == '+') ? ' ' : c;
            continue;
        }
        if (i + 2 >= m_length)
            break;
        m_data[out++] = (char)((UrlDigitValue(m_data[i + 1]) * 16 + UrlDigitValue(m_data[i + 2])) & 0xFF);
        i += 2;
    }
    m_data[out] = 0;
    m_length = (int)std::strlen(m_data);
}

void SString::UrlEncode(bool spaceToPlus)
{
    if (m_length == 0)
        return;
    static const char hex[] = "0123456789ABCDEF";
    SString out;
    out.Reserve(m_length * 3, false);
    int n = 0;
    for (int i = 0; i < m_length; i++)
    {
        const unsigned char c = (unsigned char)m_data[i];
        if (IsUrlPlain((char)c))
            out.m_data[n++] = (char)c;
        else if (spaceToPlus && c == ' ')
            out.m_data[n++] = '+';
        else
        {
            out.m_data[n++] = '%';
            out.m_data[n++] = hex[c >> 4];
            out.m_data[n++] = hex[c & 15];
        }
    }
    Assign(out.m_data, n);
}

namespace
{
const char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Every byte has a value: the alphabet as usual, anything above 'z' 63, anything else 0.
int Base64Value(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/' || c > 'z')
        return 63;
    return 0;
}
} // namespace

void SString::Base64Encode()
{
    if (m_length == 0)
        return;
    SString out;
    out.Reserve((m_length + 2) / 3 * 4 + 1, false);
    const unsigned char* in = (const unsigned char*)m_data;
    int n = 0;
    int i = 0;
    for (; i + 3 <= m_length; i += 3)
    {
        out.m_data[n++] = kBase64Digits[in[i] >> 2];
        out.m_data[n++] = kBase64Digits[((in[i] & 3) << 4) | (in[i + 1] >> 4)];
        out.m_data[n++] = kBase64Digits[((in[i + 1] & 15) << 2) | (in[i + 2] >> 6)];
        out.m_data[n++] = kBase64Digits[in[i + 2] & 63];
    }
    const int rest = m_length - i;
    if (rest == 1)
    {
        out.m_data[n++] = kBase64Digits[in[i] >> 2];
        out.m_data[n++] = kBase64Digits[(in[i] & 3) << 4];
    }
    else if (rest == 2)
    {
        out.m_data[n++] = kBase64Digits[in[i] >> 2];
        out.m_data[n++] = kBase64Digits[((in[i] & 3) << 4) | (in[i + 1] >> 4)];
        out.m_data[n++] = kBase64Digits[(in[i + 1] & 15) << 2];
    }
    out.m_data[n++] = '=';
    Assign(out.m_data, n);
}

void SString::Base64Decode()
{
    if (m_length == 0)
        return;
    // The last character (the '=') is never read.
    const int digits = m_length - 1;
    SString out;
    out.Reserve(digits / 4 * 3 + 3, false);
    int n = 0;
    unsigned bits = 0;
    int count = 0;
    for (int i = 0; i < digits; i++)
    {
        bits = (bits << 6) | (unsigned)Base64Value((unsigned char)m_data[i]);
        count += 6;
        if (count >= 8)
        {
            count -= 8;
            out.m_data[n++] = (char)((bits >> count) & 0xFF);
        }
    }
    if (count > 0)
        out.m_data[n++] = (char)((bits << (8 - count)) & 0xFF);
    out.m_data[n] = 0;
    Assign(out.m_data, -1);
}

// ---- Formatting ------------------------------------------------------------------------

namespace
{
// The largest length _vsnprintf can produce for format and args; consumes a copy of args.
// Sets *overlaps when a text argument lies in [ownBegin, ownEnd).
long long EstimateLength(const char* format, va_list args, const char* ownBegin, const char* ownEnd,
                         bool* overlaps)
{
    long long total = 0;
    const unsigned char* p = (const unsigned char*)format;
    while (*p)
    {
        if (*p != '%')
        {
            const int size = (IsDBCSLeadByte(*p) && p[1]) ? 2 : 1;
            total += size;
            p += size;
            continue;
        }
        p++;
        if (*p == '%')
        {
            total += 1;
            p++;
            continue;
        }
        long long item = 0;
        long long width = 0, precision = 0;
        bool hasWidth = false, hasPrecision = false;
        for (;; p++)
        {
            if (*p == '#')
                total += 2;
            else if (*p == '*')
            {
                const int w = va_arg(args, int);
                width = w < 0 ? -(long long)w : w;
                hasWidth = true;
            }
            else if (*p != '-' && *p != '+' && *p != '0' && *p != ' ')
                break;
        }
        if (!hasWidth)
        {
            width = std::atoi((const char*)p);
            while (IsDigit((char)*p))
                p++;
        }
        if (*p == '.')
        {
            p++;
            hasPrecision = true;
            if (*p == '*')
            {
                const int v = va_arg(args, int);
                precision = v < 0 ? 0 : v;
                p++;
            }
            else
            {
                precision = std::atoi((const char*)p);
                while (IsDigit((char)*p))
                    p++;
            }
        }
        // Size: I64 (and the runtime's I32, I and ll), h = narrow text, l = wide text.
        bool wide64 = false, narrow = false, wideText = false;
        for (;; p++)
        {
            if (p[0] == 'I' && p[1] == '6' && p[2] == '4')
            {
                wide64 = true;
                p += 2;
            }
            else if (p[0] == 'I' && p[1] == '3' && p[2] == '2')
                p += 2;
            else if (p[0] == 'I')
                wide64 = sizeof(void*) == 8;
            else if (p[0] == 'l' && p[1] == 'l')
            {
                wide64 = true;
                p++;
            }
            else if (p[0] == 'h')
                narrow = true;
            else if (p[0] == 'l')
                wideText = true;
            else if (p[0] != 'F' && p[0] != 'L' && p[0] != 'N')
                break;
        }
        const char conversion = (char)*p;
        if (!conversion)
            break;
        p++;
        bool isText = false;
        switch (conversion)
        {
        case 'c':
        case 'C':
            (void)va_arg(args, int);
            item = 2;
            isText = true;
            break;
        case 's':
        case 'S':
            isText = true;
            if ((conversion == 's' && !wideText) || (conversion == 'S' && narrow))
            {
                const char* s = va_arg(args, const char*);
                if (s && s >= ownBegin && s < ownEnd)
                    *overlaps = true;
                // With a precision the text need not end within reach: measure no further.
                item = !s ? 6 : (long long)(hasPrecision && precision > 0 ? strnlen(s, (size_t)precision)
                                                                         : std::strlen(s));
            }
            else
            {
                const wchar_t* s = va_arg(args, const wchar_t*);
                // A wide character can become two bytes in a double-byte code page.
                item = !s ? 6 : 2 * (long long)std::wcslen(s);
            }
            if (item < 1)
                item = 1;
            break;
        case 'd':
        case 'i':
        case 'o':
        case 'u':
        case 'x':
        case 'X':
            if (wide64)
                (void)va_arg(args, long long);
            else
                (void)va_arg(args, int);
            item = std::max(32LL, width + precision);
            break;
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            // E, a and A are not known to the estimate of old; they take a double like e.
            (void)va_arg(args, double);
            item = std::max(128LL, std::max(width + precision, precision + 10));
            break;
        case 'f':
            (void)va_arg(args, double);
            // 309 integer digits, sign, point and the decimals (6 by default); the width
            // can ask for more.
            item = std::max(std::max(128LL, width), (hasPrecision ? precision : 6) + 312);
            break;
        case 'p':
            (void)va_arg(args, void*);
            item = std::max(32LL, width + precision);
            break;
        case 'n':
            (void)va_arg(args, void*);
            item = 0;
            break;
        default:
            item = 0;
            break;
        }
        if (isText)
        {
            if (precision > 0 && item > precision)
                item = precision;
            if (item < width)
                item = width;
        }
        total += item;
    }
    return total;
}
} // namespace

SString& SString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
    return *this;
}

int SString::FormatV(const char* format, va_list args)
{
    if (!format)
        format = "";
    const char* ownEnd = m_data ? m_data + m_capacity : nullptr;
    bool overlaps = m_data && format >= m_data && format < ownEnd;
    va_list copy;
    va_copy(copy, args);
    long long estimate = EstimateLength(format, copy, m_data, ownEnd, &overlaps);
    va_end(copy);
    const long long limit = 0x7FFFFF00LL;
    if (estimate > limit)
        estimate = limit;
    const int size = (int)estimate;
    if (overlaps)
    {
        // The text being replaced is one of the inputs: format into a new buffer.
        SString result;
        result.FormatV(format, args);
        *this = result.m_data;
        return m_length;
    }
    Reserve(size, false);
    _vsnprintf(m_data, (size_t)size + 1, format, args);
    // _vsnprintf writes no NUL when the result fills the whole limit.
    m_data[size] = 0;
    m_length = (int)std::strlen(m_data);
    return m_length;
}

SString& SString::SetInt(int value)
{
    return Format("%d", value);
}

SString& SString::SetUInt(unsigned value)
{
    return Format("%u", value);
}

SString& SString::SetUInt64(unsigned long long value)
{
    return Format("%I64u", value);
}

SString& SString::FormatThousands(int value)
{
    Format("%d", value);
    const char separator = GetLanguageRecord()->thousandsSeparator;
    if (!separator)
        return *this;
    int digits = 0;
    for (int i = m_length - 1; i > 0; i--)
    {
        if (++digits % 3 == 0 && IsDigit(m_data[i - 1]))
            InsertChar(separator, i, 1);
    }
    return *this;
}

SString& SString::FormatDouble(double value)
{
    Format("%f", value);
    const int point = FindChar('.');
    if (point < 0)
        return *this;
    int i = m_length - 1;
    while (i > point && m_data[i] == '0')
        i--;
    Truncate(i == point ? point : i + 1);
    return *this;
}

SString IntToString(int value)
{
    SString s;
    s.SetInt(value);
    return s;
}

SString UIntToString(unsigned value)
{
    SString s;
    s.SetUInt(value);
    return s;
}

SString IntToGroupedString(int value)
{
    SString s;
    s.FormatThousands(value);
    return s;
}

int FormatToBuffer(char* buffer, const char* format, ...)
{
    if (!buffer)
        return -1;
    va_list args;
    va_start(args, format);
    const int n = _vsnprintf(buffer, 10, format ? format : "", args);
    va_end(args);
    // The callers' texts fit; a longer one is cut but still ends in the buffer.
    if (n < 0 || n >= 10)
        buffer[9] = 0;
    return n;
}
