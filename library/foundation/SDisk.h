// The library's file-system services: attributes and sizes, existence tests, folder
// listings with filters and recursion, temporary and unique names, folder creation,
// opening through the shell, and ZIP archives of stored files.
#pragma once
#include "SPlatform.h"
#include "SString.h"

class SArrayString;

class SDisk
{
public:
    // Attribute bits, the values of the Windows attributes they stand for.
    enum
    {
        kReadOnly = 1,
        kHidden = 2,
        kSystem = 4
    };
    // Option bits of ListEntries.
    enum
    {
        kListRecursive = 1,
        kListFolders = 2,
        kListFiles = 4,
        kListSkipHidden = 8,
        kListFoldersWithoutFiles = 16,
        kListFoldersWithFiles = 32,
        kListFoldersWithoutSubfolders = 64,
        kListFoldersWithSubfolders = 128
    };

    SDisk();
    virtual ~SDisk();

    // Returns the previous value.
    bool SetKeepTrailingSeparator(bool keep);
    bool GetKeepTrailingSeparator() const { return m_keepTrailingSeparator; }

    // The attribute bits, -1 when they cannot be read.
    int GetAttributes(const char* name) const;
    bool SetAttributes(const char* name, int bits) const;
    bool IsHidden(const char* name) const;
    // -1 for an empty name, a file that cannot be opened or one too large for an int.
    int GetFileSize(const char* name) const;
    // The same for files of any size; -1 when it cannot be read.
    long long GetFileSize64(const char* name) const;
    // The path with every part in its long form (8.3 short names expanded);
    // "" when the path does not exist or cannot be expanded.
    SString ExpandLongPath(const char* path) const;
    // Whether the entry is a reparse point (a junction or a symbolic link).
    bool IsReparsePoint(const char* name) const;
    bool DeleteFile(const char* name) const;
    // Whether the file or folder exists; its full path is left in the buffer.
    bool Locate(const char* name);
    bool FileExists(const char* name);
    bool FolderExists(const char* name);
    // A wildcard pattern gives full texts, another pattern bare names; folders end with a
    // backslash. The counters, when given, are increased.
    int ListEntries(SArrayString* out, const char* pattern, int bits, int* fileCount, int* folderCount);
    int List(SArrayString* out, const char* pattern, bool recursive, bool folders, bool files,
             bool emptyFoldersOnly, bool includeHidden);
    SString GetTempFolder();
    // Creates a new empty file in the temp folder and returns its name ("" on failure).
    SString GetTempName();
    SString MakeUniqueFileName(const char* folder, const char* prefix, const char* extension);
    bool CreateFolder(const char* path, bool withParents);
    // ShellExecute "open"; the working folder is the file's own when inOwnFolder.
    bool Execute(const char* file, const char* parameters, bool inOwnFolder, int show);
    // ShellExecute "open" on a folder that exists.
    bool OpenFolder(const char* path, int show);
    bool Open(const char* path, int show) { return OpenFolder(path, show); }
    // A ZIP archive of stored entries named by the files' paths less their first skipParts parts.
    bool CreateZip(const char* zipPath, const SArrayString* files, int skipParts);

private:
    SDisk(const SDisk&) = delete;
    SDisk& operator=(const SDisk&) = delete;

    // Whether a folder passes the filter bits 16 to 128.
    bool PassesFolderFilter(const SString& folder, int bits);

    char m_buffer[1025];
    bool m_keepTrailingSeparator;
};
