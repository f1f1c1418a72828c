// SString: editing in place and copies of parts.
#include "SString.h"
#include "SPlatform.h"
#include <cctype>
#include <climits>
#include <cstring>
#include <vector>

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

// The first match of what (size bytes) that ends within [pos, end), or -1.
int NextMatch(const char* data, int pos, int end, const char* what, int size, bool caseSensitive)
{
    if (!caseSensitive)
    {
        for (; pos + size <= end; pos++)
        {
            if (_strnicmp(data + pos, what, size) == 0)
                return pos;
        }
        return -1;
    }
    while (pos + size <= end)
    {
        const void* hit = std::memchr(data + pos, what[0], end - size + 1 - pos);
        if (!hit)
            return -1;
        pos = static_cast<int>(static_cast<const char*>(hit) - data);
        if (std::memcmp(data + pos, what, size) == 0)
            return pos;
        pos++;
    }
    return -1;
}

// A replacement no longer than the find text: the text only moves towards the start.
// Returns the new length.
int ReplaceForward(char* data, int length, const std::vector<int>& matches, int findLength, const SString& by)
{
    int to = matches[0];
    for (size_t k = 0; k < matches.size(); k++)
    {
        std::memcpy(data + to, by.GetText(), by.GetLength());
        to += by.GetLength();
        const int from = matches[k] + findLength;
        const int next = k + 1 < matches.size() ? matches[k + 1] : length;
        std::memmove(data + to, data + from, next - from);
        to += next - from;
    }
    return to;
}

// A longer replacement, into a buffer already grown to the new length: the text moves from
// the end backwards, so nothing is overwritten before it has moved.
void ReplaceBackward(char* data, int oldLength, int newLength, const std::vector<int>& matches, int findLength,
                     const SString& by)
{
    int from = oldLength, to = newLength;
    for (size_t k = matches.size(); k-- > 0;)
    {
        const int tail = from - (matches[k] + findLength);
        to -= tail;
        std::memmove(data + to, data + matches[k] + findLength, tail);
        to -= by.GetLength();
        std::memcpy(data + to, by.GetText(), by.GetLength());
        from = matches[k];
    }
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
    // Either text may lie in this string's buffer, which the result overwrites.
    const SString what(find), by(with ? with : "");
    const int end = ClampCount(count, start);
    // Matches do not overlap, and the search resumes after each one: a replacement that
    // contains the find text is never searched again.
    std::vector<int> matches;
    for (int i = NextMatch(m_data, start, end, what.m_data, what.m_length, caseSensitive); i >= 0;
         i = NextMatch(m_data, i + what.m_length, end, what.m_data, what.m_length, caseSensitive))
        matches.push_back(i);
    if (matches.empty())
        return 0;
    const long long length =
        m_length + static_cast<long long>(matches.size()) * (by.m_length - what.m_length);
    if (length > INT_MAX - 32)
        return 0;
    if (by.m_length <= what.m_length)
    {
        Truncate(ReplaceForward(m_data, m_length, matches, what.m_length, by));
    }
    else
    {
        // The buffer grows once, by the capacity rule.
        const int oldLength = m_length;
        Reserve(static_cast<int>(length), true);
        ReplaceBackward(m_data, oldLength, m_length, matches, what.m_length, by);
    }
    return static_cast<int>(matches.size());
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
