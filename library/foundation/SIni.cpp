#include "SIni.h"
#include <cstring>
#include "SFile.h"
#include "SGuards.h"

namespace
{
bool IsSectionLine(const SString& line)
{
    return line.GetLength() >= 2 && line.GetAt(0) == '[' && line.GetAt(line.GetLength() - 1) == ']';
}

const char* TextOf(const SString& s)
{
    return s.GetText() ? s.GetText() : "";
}

bool HoldsLineBreak(const char* text)
{
    return text && (strchr(text, '\r') || strchr(text, '\n'));
}
}

SIni::SIni() : m_state(0), m_fileName("") {}

SIni::~SIni() {}

bool SIni::Open(const char* path, bool mustExist)
{
    if (!path || !*path)
        return false;
    if (!m_disk.FileExists(path))
    {
        if (mustExist)
            return false;
        SHandleGuard file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid())
            return false;
    }
    m_state = 1;
    m_fileName = path;
    return true;
}

void SIni::Close()
{
    m_state = 0;
    m_fileName = "";
    m_content.Close();
}

bool SIni::Load()
{
    if (m_state != 1)
        return false;
    return m_content.LoadFromFile(m_fileName.GetText());
}

// Written beside the file and put in its place only once complete, so that a
// short write leaves the old settings whole; a failure is reported.
bool SIni::Save()
{
    return SFile::SaveReplacing(m_fileName.GetText(), m_content.GetData(), m_content.GetSize());
}

int SIni::FindSection(SVirtualFile& stream, const char* section)
{
    if (!section)
        return -1;
    stream.SeekToStart();
    while (!stream.IsEnd())
    {
        const int start = stream.GetPosition();
        const SString line = stream.ReadLine(true, -1, nullptr);
        if (IsSectionLine(line) && _stricmp(TextOf(line.Mid(1, line.GetLength() - 2)), section) == 0)
            return start;
    }
    return -1;
}

int SIni::FindKey(SVirtualFile& stream, const char* section, const char* key)
{
    const int sectionStart = key ? FindSection(stream, section) : -1;
    if (sectionStart < 0)
        return -1;
    stream.Seek(sectionStart);
    stream.ReadLine(true, -1, nullptr);
    while (!stream.IsEnd())
    {
        const int start = stream.GetPosition();
        const SString line = stream.ReadLine(true, -1, nullptr);
        if (IsSectionLine(line))
            return -1;
        const int equals = line.FindChar('=');
        if (equals >= 0 && _stricmp(TextOf(line.Left(equals)), key) == 0)
            return start;
    }
    return -1;
}

SString SIni::GetString(const char* section, const char* key)
{
    if (!Load())
        return SString("");
    const int start = FindKey(m_content, section, key);
    if (start < 0)
        return SString("");
    m_content.Seek(start);
    return m_content.ReadLine(true, -1, nullptr).GetAfterChar('=');
}

void SIni::AppendSection(const char* section, const SString& line)
{
    const int size = m_content.GetSize();
    m_content.SeekToEnd();
    if (size > 0)
    {
        if (m_content.GetData()[size - 1] != '\n')
            m_content.WriteText("\r\n");
        m_content.WriteText("\r\n");
    }
    SString header("[");
    header += section;
    header += "]";
    m_content.WriteLine(header.GetText());
    m_content.WriteLine(line.GetText());
}

void SIni::InsertAfterSection(int sectionStart, const SString& line)
{
    m_content.Seek(sectionStart);
    bool lineEnd = false;
    m_content.ReadLine(true, -1, &lineEnd);
    // A section line that ends the file without CR LF gets one first.
    SString text(lineEnd ? "" : "\r\n");
    text += line.GetText();
    text += "\r\n";
    const int at = m_content.GetPosition();
    m_content.InsertRange(at, text.GetLength());
    memcpy(m_content.GetData() + at, text.GetText(), text.GetLength());
}

void SIni::ReplaceLine(int lineStart, const SString& line)
{
    m_content.Seek(lineStart);
    bool lineEnd = false;
    const SString old = m_content.ReadLine(true, -1, &lineEnd);
    const int difference = line.GetLength() - old.GetLength();
    if (difference > 0)
        m_content.InsertRange(lineStart + old.GetLength(), difference);
    else if (difference < 0)
        m_content.RemoveRange(lineStart + line.GetLength(), -difference);
    memcpy(m_content.GetData() + lineStart, line.GetText(), line.GetLength());
}

bool SIni::SetString(const char* section, const char* key, const char* value)
{
    if (!section || !key || HoldsLineBreak(section) || HoldsLineBreak(key) || HoldsLineBreak(value) ||
        strchr(key, '='))
        return false;
    SString line(key);
    line += "=";
    line += value ? value : "";
    // Such a line would be read back as a section, not as this key.
    if (IsSectionLine(line) || !Load())
        return false;
    const int sectionStart = FindSection(m_content, section);
    if (sectionStart < 0)
        AppendSection(section, line);
    else
    {
        const int keyStart = FindKey(m_content, section, key);
        if (keyStart < 0)
            InsertAfterSection(sectionStart, line);
        else
            ReplaceLine(keyStart, line);
    }
    return Save();
}
