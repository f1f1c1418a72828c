// A small settings file of key=value lines grouped under [section] lines, read and
// written whole on every call. 8-bit text with CR LF line ends.
#pragma once
#include "SDisk.h"
#include "SMemory.h"
#include "SString.h"

class SIni
{
public:
    SIni();
    virtual ~SIni();

    // A missing file fails with mustExist, otherwise it is created empty.
    bool Open(const char* path, bool mustExist);
    void Close();

    // "" when the file cannot be read or the section or key is missing.
    SString GetString(const char* section, const char* key);
    // Sets the value and writes the whole file back; false when it was not written.
    // A section, key or value holding CR or LF is refused, and so is a key that would
    // be read back otherwise: one holding "=", or one whose line reads as a section.
    bool SetString(const char* section, const char* key, const char* value);

    // Byte offset of the section line, or of the key line within the section; -1 when missing.
    int FindSection(SVirtualFile& stream, const char* section);
    int FindKey(SVirtualFile& stream, const char* section, const char* key);

private:
    SIni(const SIni&) = delete;
    SIni& operator=(const SIni&) = delete;

    bool Load();
    bool Save();
    void AppendSection(const char* section, const SString& line);
    void InsertAfterSection(int sectionStart, const SString& line);
    void ReplaceLine(int lineStart, const SString& line);

    SDisk m_disk;
    int m_state;
    SString m_fileName;
    SMemory m_content;
};
