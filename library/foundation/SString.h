// The library's string: 8-bit text in the ANSI code page with its length, a buffer
// grown in steps of 16 bytes, a cached wide copy for GDI+ and COM, and one carried integer.
#pragma once
#include <cstdarg>

class SString
{
public:
    SString();
    SString(const char* text);
    SString(const wchar_t* text);
    SString(const SString& other);
    explicit SString(int n); // n spaces; n < 1 gives the empty text
    virtual ~SString();

    SString& operator=(const SString& other);
    SString& operator=(const char* text);
    SString& operator=(char c);
    SString& operator=(const wchar_t* text);

    // count < 0 copies up to the NUL; count >= 0 copies exactly count bytes.
    void Assign(const char* text, int count = -1);
    SString& SetText(const char* text, int count = -1);
    // Buffer of at least n + 1 bytes (multiple of 16, never shrinks); length becomes n.
    void Reserve(int n, bool keep = false);
    void SetLength(int n, char fill = 0);
    void FreeBuffer();

    // Access. GetText and GetBuffer are null for a string that never had a buffer.
    const char* GetText() const { return m_data; }
    char* GetBuffer() { return m_data; }
    int GetLength() const { return m_length; }
    char GetAt(int i) const;
    void SetAt(int i, char c);
    void Truncate(int i);
    int CountChar(char c) const;
    int GetLineCount() const;

    // Comparison: -1, 0 or 1. A null text compares as "".
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;
    // As the Windows runtime's _stricmp: ASCII letters folded to lower case,
    // bytes compared unsigned. Wine's runtime compares signed bytes, which would
    // sort "\xC9mile" before "Alpha"; this does not depend on the runtime.
    static int CompareTextNoCase(const char* a, const char* b);
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const;

    // Range conventions of the search and edit operations.
    bool CheckStart(int& start, bool allowEnd) const;
    int ClampCount(int& count, int start) const;

    // Search: -1 when not found.
    int FindChar(char c, int start = 0, int count = -1) const;
    int FindCharNot(char c, int start = 0, int count = -1) const;
    int ReverseFindChar(char c, int start = -1) const;
    int ReverseFindAnyChar(int start, int n, ...) const; // n characters follow, passed as int
    int Find(const char* text, int start = 0, int count = -1, bool after = false) const;
    int FindNoCase(const char* text, int start = 0, int count = -1) const;

    // Editing in place.
    int Delete(int start, int count);
    void InsertChar(char c, int index = -1, int n = 1);
    void Insert(const char* text, int index = -1, int n = 1);
    void ReplaceRange(const char* text, int start, int count);
    int Replace(const char* find, const char* with, int start = 0, int count = -1,
                bool caseSensitive = true);
    int ReplaceChar(char oldChar, char newChar, int start = 0, int count = -1);
    void MakeUpper();
    void MakeLower();
    SString ToUpper() const;
    SString ToLower() const;
    SString operator+(const char* text) const;
    SString& operator+=(const char* text);
    SString& operator+=(char c);
    int TrimRight(int n = -1, bool spacesOnly = false);
    int TrimLeft(int n = -1, bool spacesOnly = false);
    void Trim(int right = -1, int left = -1, bool spacesOnly = false);
    SString StripBlanks(bool tabsToo = false) const;
    void RemoveLeadingNumber();

    // Copies of parts.
    SString Left(int n) const;
    SString Right(int n) const;
    SString Mid(int start, int count = -1) const;
    SString Substring(int start, int end) const;
    SString GetAfterChar(char c) const;
    SString GetBeforeChar(char c) const;
    SString GetBeforeCharOrAll(char c) const;
    SString GetLine(int pos, int* next = nullptr) const;
    SString GetWord(int pos, int* next = nullptr, bool keepBlanks = false) const;

    // Tests and conversions.
    bool IsIpAddress() const;
    unsigned long long ToColor() const;
    // The cached wide copy: valid until the next GetWide or the destructor.
    wchar_t* GetWide();
    // A new wide copy owned by the caller (release with delete[]).
    wchar_t* AllocWide() const;
    void UrlDecode(bool plusToSpace = true);
    void UrlEncode(bool spaceToPlus = true);
    void Base64Decode();
    void Base64Encode();

    // Formatting through the runtime's _vsnprintf after a length estimate.
    SString& Format(const char* format, ...);
    int FormatV(const char* format, va_list args);
    SString& SetInt(int value);
    SString& SetUInt(unsigned value);
    SString& SetUInt64(unsigned long long value);
    SString& FormatThousands(int value);
    SString& FormatDouble(double value);

protected:
    char* m_data;
    int m_length;
    int m_capacity;
    wchar_t* m_wide;
    int m_value;

private:
    void Init();
    static int NeededSize(int n);
    bool Overlaps(const char* p) const;
};

SString IntToString(int value);
SString UIntToString(unsigned value);
SString IntToGroupedString(int value);
// _vsnprintf into a caller's buffer of at least 10 bytes; the text always ends there.
int FormatToBuffer(char* buffer, const char* format, ...);
