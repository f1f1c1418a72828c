// SString: tests of the text, wide copies, and the URL and Base64 text forms.
#include "SString.h"
#include "SPlatform.h"
#include <cstring>

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

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

// Copies length characters of data to out (room for 3 x length), each one that
// escape picks written as "%XX", or as '+' for a space when spaceToPlus is set;
// returns the count written.
template <class Escape>
int PercentEncode(const char* data, int length, char* out, Escape escape, bool spaceToPlus)
{
    static const char hex[] = "0123456789ABCDEF";
    int n = 0;
    for (int i = 0; i < length; i++)
    {
        const unsigned char c = (unsigned char)data[i];
        if (!escape(c))
            out[n++] = (char)c;
        else if (spaceToPlus && c == ' ')
            out[n++] = '+';
        else
        {
            out[n++] = '%';
            out[n++] = hex[c >> 4];
            out[n++] = hex[c & 15];
        }
    }
    return n;
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
    SString out;
    out.Reserve(m_length * 3, false);
    const auto escape = [](unsigned char c) { return !IsUrlPlain((char)c); };
    Assign(out.m_data, PercentEncode(m_data, m_length, out.m_data, escape, spaceToPlus));
}

void SString::UrlEncodeOnly(const char* characters)
{
    if (m_length == 0 || !characters || !*characters)
        return;
    SString out;
    out.Reserve(m_length * 3, false);
    const auto escape = [characters](unsigned char c) { return c != 0 && std::strchr(characters, c); };
    Assign(out.m_data, PercentEncode(m_data, m_length, out.m_data, escape, false));
}

void SString::HtmlEscape()
{
    static const char* const entities[][2] = {{"&", "&amp;"}, {"<", "&lt;"}, {">", "&gt;"}, {"\"", "&quot;"}};
    // The ampersand first, so that the entities written after it stay as they are.
    for (const auto& entity : entities)
        Replace(entity[0], entity[1]);
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
