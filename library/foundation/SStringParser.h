// Splits its text into tokens at a set of separator characters, with optional quoting
// and trimming; the tokens are kept in an SArrayString.
#pragma once
#include "SArrayString.h"
#include "SString.h"

class SStringParser : public SString
{
public:
    // Split flags.
    enum : unsigned
    {
        KeepQuotes = 1,
        TrimSpaces = 2,
        HonourQuotes = 4
    };

    SStringParser();
    SStringParser(const char* text);
    ~SStringParser() override;
    using SString::operator=;

    void Reset();
    // Returns the token count, 0 for an empty text, -1 on error (the parser is then reset).
    // The tokens go to out when given, else they replace the own tokens.
    int Split(SString separators, unsigned flags = 0, char quote = '"', SArrayString* out = nullptr);
    int SplitText(SString text, SString separators, unsigned flags = 0, char quote = '"',
                  SArrayString* out = nullptr);
    int SplitInto(SArrayString* out, SString separators, unsigned flags = 0, char quote = '"');

    int GetTokenCount() const;
    SString GetToken(int i) const;
    int GetTokenInt(int i) const;
    bool GetTokenBool(int i) const;
    int FindToken(const char* text, bool caseSensitive = true) const;

private:
    enum ReadResult
    {
        Token,
        End,
        Unterminated
    };
    ReadResult ReadToken(SString& token);
    bool IsSeparator(char c) const;
    void CleanToken(SString& token) const;

    SArrayString m_tokens;
    SString m_separators;
    char m_quote;
    unsigned m_flags;
    int m_position;
    int m_spare;
};
