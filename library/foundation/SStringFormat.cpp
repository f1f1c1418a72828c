// SString: printf-style formatting after a length estimate, and numbers as text.
#include "SString.h"
#include "SPlatform.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include "SLanguageRecord.h"

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal number at p (0 when there is none), its digits skipped. Kept far below the
// 64-bit range: the estimate is capped long before that.
long long ReadNumber(const unsigned char*& p)
{
    long long value = 0;
    for (; IsDigit((char)*p); p++)
    {
        if (value < 0x7FFFFFFF)
            value = value * 10 + (*p - '0');
    }
    return value;
}

// What the estimate reads of one conversion between the "%" and its letter.
struct Conversion
{
    long long width = 0;
    long long precision = 0;
    bool hasPrecision = false;
    bool wide64 = false;   // "I64" (and the runtime's "I" on 64-bit, "ll")
    bool narrow = false;   // "h": an 8-bit text
    bool wideText = false; // "l": a wide text
};

// Step 1: flags and width. "#" adds 2 to the estimate; "*" takes the width from the
// arguments, otherwise the digits here give it.
const unsigned char* ReadFlagsAndWidth(const unsigned char* p, va_list& args, Conversion& c, long long& total)
{
    bool hasWidth = false;
    for (;; p++)
    {
        if (*p == '#')
            total += 2;
        else if (*p == '*')
        {
            const int w = va_arg(args, int);
            c.width = w < 0 ? -(long long)w : w;
            hasWidth = true;
        }
        else if (*p != '-' && *p != '+' && *p != '0' && *p != ' ')
            break;
    }
    if (!hasWidth)
        c.width = ReadNumber(p);
    return p;
}

// Step 2: the precision after ".", from "*" or the digits; 0 without ".".
const unsigned char* ReadPrecision(const unsigned char* p, va_list& args, Conversion& c)
{
    if (*p != '.')
        return p;
    p++;
    c.hasPrecision = true;
    if (*p != '*')
    {
        c.precision = ReadNumber(p);
        return p;
    }
    const int v = va_arg(args, int);
    c.precision = v < 0 ? 0 : v;
    return p + 1;
}

// Step 3: the size prefix: I64 (and the runtime's I32, I and ll), h, l; F, L and N skipped.
const unsigned char* ReadSize(const unsigned char* p, Conversion& c)
{
    for (;; p++)
    {
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4')
        {
            c.wide64 = true;
            p += 2;
        }
        else if (p[0] == 'I' && p[1] == '3' && p[2] == '2')
            p += 2;
        else if (p[0] == 'I')
            c.wide64 = sizeof(void*) == 8;
        else if (p[0] == 'l' && p[1] == 'l')
        {
            c.wide64 = true;
            p++;
        }
        else if (p[0] == 'h')
            c.narrow = true;
        else if (p[0] == 'l')
            c.wideText = true;
        else if (p[0] != 'F' && p[0] != 'L' && p[0] != 'N')
            return p;
    }
}

// The length of a text argument; sets *overlaps when it lies in [ownBegin, ownEnd).
long long TextLength(char letter, va_list& args, const Conversion& c, const char* ownBegin, const char* ownEnd,
                     bool* overlaps)
{
    long long item;
    if ((letter == 's' && !c.wideText) || (letter == 'S' && c.narrow))
    {
        const char* s = va_arg(args, const char*);
        if (s && s >= ownBegin && s < ownEnd)
            *overlaps = true;
        // With a precision the text need not end within reach: measure no further.
        item = !s ? 6
                  : (long long)(c.hasPrecision && c.precision > 0 ? strnlen(s, (size_t)c.precision)
                                                                   : std::strlen(s));
    }
    else
    {
        const wchar_t* s = va_arg(args, const wchar_t*);
        // A wide character can become two bytes in a double-byte code page.
        item = !s ? 6 : 2 * (long long)std::wcslen(s);
    }
    return item < 1 ? 1 : item;
}

// Step 4: the item's largest length, its argument taken. Character and text items are
// capped by a precision and widened to the width.
long long ItemLength(char letter, va_list& args, const Conversion& c, const char* ownBegin, const char* ownEnd,
                     bool* overlaps)
{
    long long item = 0;
    bool isText = false;
    switch (letter)
    {
    case 'c':
    case 'C':
        (void)va_arg(args, int);
        item = 2;
        isText = true;
        break;
    case 's':
    case 'S':
        item = TextLength(letter, args, c, ownBegin, ownEnd, overlaps);
        isText = true;
        break;
    case 'd':
    case 'i':
    case 'o':
    case 'u':
    case 'x':
    case 'X':
        if (c.wide64)
            (void)va_arg(args, long long);
        else
            (void)va_arg(args, int);
        return std::max(32LL, c.width + c.precision);
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        // E, a and A are not known to the estimate of old; they take a double like e.
        (void)va_arg(args, double);
        return std::max(128LL, std::max(c.width + c.precision, c.precision + 10));
    case 'f':
        (void)va_arg(args, double);
        // 309 integer digits, sign, point and the decimals (6 by default); the width
        // can ask for more.
        return std::max(std::max(128LL, c.width), (c.hasPrecision ? c.precision : 6) + 312);
    case 'p':
        (void)va_arg(args, void*);
        return std::max(32LL, c.width + c.precision);
    case 'n':
        (void)va_arg(args, void*);
        return 0;
    default:
        return 0;
    }
    if (isText && c.precision > 0 && item > c.precision)
        item = c.precision;
    return item < c.width ? c.width : item;
}

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
        Conversion c;
        p = ReadFlagsAndWidth(p, args, c, total);
        p = ReadPrecision(p, args, c);
        p = ReadSize(p, c);
        const char letter = (char)*p;
        if (!letter)
            break;
        p++;
        total += ItemLength(letter, args, c, ownBegin, ownEnd, overlaps);
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
