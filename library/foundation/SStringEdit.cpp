// SString: editing in place and copies of parts.
#include "SString.h"
#include "SPlatform.h"
#include <cctype>
#include <cstring>

namespace
{
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
