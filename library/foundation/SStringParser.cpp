#include "SStringParser.h"
#include <cstdlib>

SStringParser::SStringParser() : m_quote('"'), m_flags(0), m_position(0), m_spare(0) {}

SStringParser::SStringParser(const char* text)
    : SString(text), m_quote('"'), m_flags(0), m_position(0), m_spare(0)
{
}

SStringParser::~SStringParser()
{
    Reset();
}

void SStringParser::Reset()
{
    m_tokens.DeleteAndRemoveAll();
    m_separators = "";
    m_quote = '"';
    m_flags = 0;
    m_position = 0;
}

int SStringParser::Split(SString separators, unsigned flags, char quote, SArrayString* out)
{
    // The own tokens always describe the last split, even an empty one.
    Reset();
    if (m_length == 0)
        return 0;
    m_separators = separators;
    m_flags = flags;
    m_quote = quote;
    if ((quote && m_separators.FindChar(quote) >= 0) || ((flags & TrimSpaces) && quote == ' ') ||
        ((flags & KeepQuotes) && !(flags & HonourQuotes)))
    {
        Reset();
        return -1;
    }
    SArrayString* target = out ? out : &m_tokens;
    const int first = target->GetCount();
    int n = 0;
    for (;;)
    {
        SString token;
        const ReadResult result = ReadToken(token);
        if (result == End)
            break;
        if (result == Unterminated)
        {
            // No partial result: what this split added goes again.
            target->DeleteAndRemoveAt(first, -1);
            Reset();
            return -1;
        }
        CleanToken(token);
        target->Add(token.GetText());
        n++;
    }
    m_spare = 0;
    return n;
}

int SStringParser::SplitText(SString text, SString separators, unsigned flags, char quote,
                             SArrayString* out)
{
    SString::operator=(text);
    return Split(separators, flags, quote, out);
}

int SStringParser::SplitInto(SArrayString* out, SString separators, unsigned flags, char quote)
{
    return Split(separators, flags, quote, out);
}

bool SStringParser::IsSeparator(char c) const
{
    return m_separators.FindChar(c) >= 0;
}

// The token runs from the position to the first separator outside quotes; a run of
// blank separators counts as one.
SStringParser::ReadResult SStringParser::ReadToken(SString& token)
{
    if (m_position > m_length)
        return End;
    const bool quotes = (m_flags & HonourQuotes) != 0;
    bool inQuote = false;
    for (int i = m_position;; i++)
    {
        if (i >= m_length)
        {
            if (inQuote)
                return Unterminated;
            token.Assign(m_data + m_position, i - m_position);
            m_position = m_length + 1;
            return Token;
        }
        const char c = m_data[i];
        if (inQuote)
        {
            if (c == m_quote)
                inQuote = false;
            continue;
        }
        if (quotes && c == m_quote)
        {
            inQuote = true;
            continue;
        }
        if (!IsSeparator(c))
            continue;
        token.Assign(m_data + m_position, i - m_position);
        if (c != ' ' && c != '\t')
        {
            m_position = i + 1;
            return Token;
        }
        const bool both = IsSeparator(' ') && IsSeparator('\t');
        int j = i;
        while (j < m_length && (both ? (m_data[j] == ' ' || m_data[j] == '\t') : m_data[j] == c))
            j++;
        if (j >= m_length)
            m_position = m_length + 1;
        else
            m_position = IsSeparator(m_data[j]) ? j + 1 : j;
        return Token;
    }
}

void SStringParser::CleanToken(SString& token) const
{
    if (m_flags & TrimSpaces)
        token.Trim(-1, -1, true);
    if ((m_flags & HonourQuotes) && !(m_flags & KeepQuotes))
    {
        const int first = token.FindCharNot(' ');
        if (first >= 0 && token.GetAt(first) == m_quote)
            token.Delete(first, 1);
        int last = token.GetLength() - 1;
        while (last >= 0 && token.GetAt(last) == ' ')
            last--;
        if (last >= 0 && token.GetAt(last) == m_quote)
            token.Delete(last, 1);
    }
}

int SStringParser::GetTokenCount() const
{
    return m_tokens.GetCount();
}

SString SStringParser::GetToken(int i) const
{
    return m_tokens.GetAt(i);
}

int SStringParser::GetTokenInt(int i) const
{
    const SString token = GetToken(i);
    return token.GetText() ? std::atoi(token.GetText()) : 0;
}

bool SStringParser::GetTokenBool(int i) const
{
    return GetTokenInt(i) != 0;
}

int SStringParser::FindToken(const char* text, bool caseSensitive) const
{
    for (int i = 0; i < m_tokens.GetCount(); i++)
    {
        const SString* token = m_tokens.GetPtr(i) ? *m_tokens.GetPtr(i) : nullptr;
        if (!token)
            continue;
        if (caseSensitive ? *token == text : token->CompareNoCase(text) == 0)
            return i;
    }
    return -1;
}
