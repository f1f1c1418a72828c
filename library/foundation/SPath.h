// A parsed path: local (made absolute), UNC or URL, split into a root, folders and
// a file name, with composing operations and the inside-a-folder tests.
#pragma once
#include "SString.h"

class SArrayString;

class SPath
{
public:
    SPath();
    SPath(const char* text);
    virtual ~SPath();

    // Returns the kind: 0 invalid, 1 local, 2 UNC, 3 URL.
    int Set(const char* text);
    SPath& Assign(const char* text);
    // As Set, with a backslash appended when the text ends with no separator.
    int SetFolder(const char* text);
    int Copy(const SPath& other);
    // Returns the previous keep-trailing-separator value.
    bool SetNoTrailingSeparator(bool noSeparator);
    bool GetKeepTrailingSeparator() const { return m_keepTrailingSeparator; }
    static bool IsValidText(const char* text);

    bool IsValid() const { return m_kind != 0; }
    int GetKind() const { return m_kind; }
    bool IsUnc() const { return m_kind == 2; }
    bool IsUrl() const { return m_kind == 3; }
    SString GetRoot() const;
    SString GetFolder() const;
    SString GetFileName() const;
    SString GetFullFolder() const;
    SString GetPath() const;
    bool HasFileName() const;
    bool IsFolderPath() const;
    SString GetTitle() const;
    SString GetExtension(bool withDot, bool lower) const;
    SString GetParent() const;
    SString GetLastFolderName(bool noSeparator) const;
    int GetComponents(SArrayString* out) const;
    int GetComponentCount() const;
    SString JoinComponents(int start, int count, bool dropFileName, char separator) const;
    // Whether the other path lies inside this one, taken as a folder; strict asks for more parts.
    bool Contains(const SPath* other, bool strict) const;
    bool IsSameFolder(const SPath* other) const;
    bool IsSameFolderAs(const char* text) const;

private:
    char GetSeparator() const { return m_kind == 3 ? '/' : '\\'; }
    int GetRootLength() const;
    // The path after the root ("" when the root takes it all).
    SString GetRest() const;
    // The folder text with its trailing separator, whatever the keep setting.
    SString GetFolderWithSeparator() const;
    // Root, folders and file name appended to out; with fileAsFolder a file name becomes
    // the last folder; with resolveDots "." and ".." folders are resolved.
    void SplitParts(SArrayString* out, bool fileAsFolder, bool resolveDots) const;

    bool m_keepTrailingSeparator;
    SString m_text;
    SString m_path;
    int m_kind;
};
