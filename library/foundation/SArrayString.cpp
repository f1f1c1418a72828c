#include "SArrayString.h"
#include <cstring>
#include <string.h>

SArrayString::SArrayString(const SArrayString& other) : SArray<SString*>()
{
    Assign(other);
    m_options = other.m_options;
}

SArrayString::~SArrayString()
{
    DeleteAndRemoveAll();
}

SArrayString& SArrayString::operator=(const SArrayString& other)
{
    if (this != &other)
    {
        Assign(other);
        m_options = other.m_options;
    }
    return *this;
}

SArray<SString*>& SArrayString::operator=(const SArray<SString*>& other)
{
    if (this == &other)
        return *this;
    DeleteAndRemoveAll();
    for (int i = 0; i < other.GetCount(); i++)
        SArray<SString*>::Add(other.GetAt(i));
    m_options = other.GetFlags();
    return *this;
}

void SArrayString::FreeMemory()
{
    DeleteAndRemoveAll();
    SArray<SString*>::FreeMemory();
}

void SArrayString::CopyElement(SString** dst, SString* const* src, int index, int extra)
{
    *dst = *src ? new SString(**src) : nullptr;
}

int SArrayString::CompareElements(SString* const* a, SString* const* b, unsigned options,
                                  int extra) const
{
    const SString* x = *a;
    const SString* y = *b;
    if (options & Descending)
    {
        const SString* t = x;
        x = y;
        y = t;
    }
    const char* left = (x && x->GetText()) ? x->GetText() : "";
    const char* right = (y && y->GetText()) ? y->GetText() : "";
    // The same results as SString::Compare and SString::CompareNoCase, without a copy.
    const int c = (options & NoCase) ? SString::CompareTextNoCase(left, right) : std::strcmp(left, right);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void SArrayString::ElementFromText(SString** dst, const SString& text, int index, int extra)
{
    *dst = new SString(text);
    (*dst)->Base64Decode();
}

SString SArrayString::ElementToText(SString* const* elem, int index, int extra) const
{
    SString text(*elem ? (*elem)->GetText() : "");
    text.Base64Encode();
    return text;
}

SArrayString& SArrayString::Assign(const SArrayString& other)
{
    if (this == &other)
        return *this;
    DeleteAndRemoveAll();
    for (int i = 0; i < other.m_count; i++)
        SArray<SString*>::Add(other.m_data[i]);
    return *this;
}

int SArrayString::Add(const char* text)
{
    SString s(text);
    return SArray<SString*>::Add(&s);
}

void SArrayString::SetAt(int i, const char* text)
{
    if (i < 0 || i >= m_count)
        return;
    if (m_data[i])
        *m_data[i] = text;
    else
        m_data[i] = new SString(text);
}

SString SArrayString::GetAt(int i) const
{
    if (i < 0 || i >= m_count || !m_data[i])
        return SString("");
    return *m_data[i];
}

int SArrayString::InsertAt(const char* text, int index, int n)
{
    SString s(text);
    return SArray<SString*>::InsertAt(&s, index, n);
}

int SArrayString::Find(const char* text, int start, int end) const
{
    SString s(text);
    return SArray<SString*>::Find(&s, start, end, 0);
}

int SArrayString::FindSorted(const char* text, int start, int end) const
{
    SString s(text);
    return SArray<SString*>::FindSorted(&s, start, end, 0);
}

int SArrayString::InsertSorted(const char* text, int start, int end)
{
    SString s(text);
    return SArray<SString*>::InsertSorted(&s, start, end, 0);
}

int SArrayString::InsertSorted(const char* text, int start, int end, unsigned options)
{
    const unsigned own = m_options;
    m_options = options;
    const int index = InsertSorted(text, start, end);
    m_options = own;
    return index;
}

SString SArrayString::Join(const char* separator, int start, int count) const
{
    if (start < 0 || start >= m_count || count == 0)
        return SString("");
    const int end = (count < 0 || count > m_count - start) ? m_count : start + count;
    if (!separator)
        separator = "";
    const int gap = (int)std::strlen(separator);
    int total = 0;
    for (int i = start; i < end; i++)
        total += (m_data[i] ? m_data[i]->GetLength() : 0) + (i > start ? gap : 0);
    SString result;
    result.Reserve(total, false);
    char* out = result.GetBuffer();
    for (int i = start; i < end; i++)
    {
        if (i > start)
        {
            std::memcpy(out, separator, gap);
            out += gap;
        }
        if (m_data[i] && m_data[i]->GetLength())
        {
            std::memcpy(out, m_data[i]->GetText(), m_data[i]->GetLength());
            out += m_data[i]->GetLength();
        }
    }
    return result;
}

int SArrayString::MatchAll(const char* pattern, SArray<int>* indexes, char star, char single) const
{
    int n = 0;
    for (int i = 0; i < m_count; i++)
    {
        if (Match(m_data[i] ? m_data[i]->GetText() : "", pattern, star, single))
        {
            n++;
            if (indexes)
                indexes->Add(i);
        }
    }
    return n;
}

// Case-sensitive; a run of stars matches like one star. On a mismatch the last star
// takes one more character and the rest of the pattern is tried again.
bool SArrayString::Match(const char* text, const char* pattern, char star, char single)
{
    const char* t = text ? text : "";
    const char* p = pattern ? pattern : "";
    const char* afterStar = nullptr;
    const char* starText = nullptr;
    while (*t)
    {
        if (star && *p == star)
        {
            afterStar = ++p;
            starText = t;
        }
        else if (*p && (*p == *t || (single && *p == single)))
        {
            p++;
            t++;
        }
        else if (afterStar)
        {
            p = afterStar;
            t = ++starText;
        }
        else
            return false;
    }
    while (star && *p == star)
        p++;
    return *p == 0;
}
