#include "SPath.h"
#include "SArrayString.h"
#include "SPlatform.h"
#include <cstring>

namespace
{
const int kFullPathRoom = 1024;

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool EndsWithSeparator(const SString& text)
{
    return text.GetLength() > 0 && IsSeparator(text.GetAt(text.GetLength() - 1));
}

// The text without one trailing separator.
SString WithoutSeparator(const SString& text)
{
    return EndsWithSeparator(text) ? text.Left(text.GetLength() - 1) : text;
}
} // namespace

SPath::SPath() : m_keepTrailingSeparator(true), m_text(""), m_path(""), m_kind(0)
{
}

SPath::SPath(const char* text) : SPath()
{
    Set(text);
}

SPath::~SPath()
{
}

bool SPath::IsValidText(const char* text)
{
    if (!text)
        return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++)
        if (*p < 32 || strchr("\"*<>?", *p))
            return false;
    return true;
}

int SPath::Set(const char* text)
{
    m_kind = 0;
    m_path = "";
    if (!IsValidText(text))
        return 0;
    m_text = text;
    if (!*text)
        return 0;
    SString path(text);
    const int scheme = path.Find("://");
    if (scheme >= 1)
    {
        path.ReplaceChar('\\', '/');
        const int colon = path.FindChar(':');
        if (path.Mid(colon + 1, 2) != "//")
            return 0;
        m_path = path;
        m_kind = 3;
    }
    else if (text[0] == '\\' && text[1] == '\\')
    {
        path.ReplaceChar('/', '\\');
        m_path = path;
        m_kind = 2;
    }
    else
    {
        // Made absolute against the current directory, "." and ".." resolved.
        char full[kFullPathRoom];
        const DWORD length = GetFullPathNameA(text, kFullPathRoom, full, nullptr);
        if (length == 0 || length >= static_cast<DWORD>(kFullPathRoom))
            return 0;
        m_path = full;
        m_path.ReplaceChar('/', '\\');
        if ((strcmp(text, ".") == 0 || strcmp(text, "..") == 0) && !EndsWithSeparator(m_path))
            m_path += '\\';
        m_kind = 1;
    }
    return m_kind;
}

SPath& SPath::Assign(const char* text)
{
    Set(text);
    return *this;
}

int SPath::SetFolder(const char* text)
{
    if (!text || !*text || IsSeparator(text[strlen(text) - 1]))
        return Set(text);
    SString folder(text);
    folder += '\\';
    return Set(folder.GetText());
}

int SPath::Copy(const SPath& other)
{
    m_text = "";
    m_path = other.GetPath();
    m_kind = other.m_kind;
    return m_kind;
}

bool SPath::SetNoTrailingSeparator(bool noSeparator)
{
    const bool previous = m_keepTrailingSeparator;
    m_keepTrailingSeparator = !noSeparator;
    return previous;
}

// The length of the root inside the path, or -1 when the path is all root and
// the root is the path with a separator added.
int SPath::GetRootLength() const
{
    switch (m_kind)
    {
    case 1:
        return m_path.GetLength() < 3 ? m_path.GetLength() : 3;
    case 2:
    {
        const int slash = m_path.FindChar('\\', 2);
        return slash < 0 ? -1 : slash + 1;
    }
    case 3:
    {
        const int slash = m_path.FindChar('/', m_path.Find("://") + 3);
        return slash < 0 ? -1 : slash + 1;
    }
    default:
        return 0;
    }
}

SString SPath::GetRoot() const
{
    if (!m_kind)
        return SString("");
    const int length = GetRootLength();
    if (length < 0)
        return m_path + (m_kind == 3 ? "/" : "\\");
    return m_path.Left(length);
}

SString SPath::GetRest() const
{
    const int length = GetRootLength();
    if (!m_kind || length < 0 || length >= m_path.GetLength())
        return SString("");
    return m_path.Mid(length);
}

SString SPath::GetFolderWithSeparator() const
{
    const SString rest = GetRest();
    const int last = rest.ReverseFindChar(GetSeparator());
    return last < 0 ? SString("") : rest.Left(last + 1);
}

SString SPath::GetFolder() const
{
    const SString folder = GetFolderWithSeparator();
    return m_keepTrailingSeparator ? folder : WithoutSeparator(folder);
}

SString SPath::GetFileName() const
{
    const SString rest = GetRest();
    const int last = rest.ReverseFindChar(GetSeparator());
    return last < 0 ? rest : rest.Mid(last + 1);
}

SString SPath::GetFullFolder() const
{
    if (!m_kind)
        return SString("");
    return GetRoot() + GetFolder().GetText();
}

SString SPath::GetPath() const
{
    if (!m_kind)
        return SString("");
    if (m_keepTrailingSeparator || HasFileName())
        return m_path;
    return GetFullFolder();
}

bool SPath::HasFileName() const
{
    return m_kind && GetFileName().GetLength() > 0;
}

bool SPath::IsFolderPath() const
{
    return m_kind && GetFolderWithSeparator().GetLength() > 0 && GetFileName().GetLength() == 0;
}

SString SPath::GetTitle() const
{
    const SString name = GetFileName();
    const int dot = name.ReverseFindChar('.');
    return dot < 0 ? name : name.Left(dot);
}

SString SPath::GetExtension(bool withDot, bool lower) const
{
    const SString name = GetFileName();
    const int dot = name.ReverseFindChar('.');
    if (dot < 0)
        return SString("");
    SString extension = name.Mid(dot + (withDot ? 0 : 1));
    if (lower)
        extension.MakeLower();
    return extension;
}

SString SPath::GetParent() const
{
    if (!m_kind)
        return SString("");
    if (HasFileName())
        return GetFullFolder();
    const SString folder = WithoutSeparator(GetFolderWithSeparator());
    if (folder.GetLength() == 0)
        return SString("");
    const int last = folder.ReverseFindChar(GetSeparator());
    if (last < 0)
        return GetRoot();
    const SString up = folder.Left(m_keepTrailingSeparator ? last + 1 : last);
    return GetRoot() + up.GetText();
}

SString SPath::GetLastFolderName(bool noSeparator) const
{
    const SString folder = WithoutSeparator(GetFolderWithSeparator());
    if (!m_kind || folder.GetLength() == 0)
        return SString("");
    const int last = folder.ReverseFindChar(GetSeparator());
    SString name = last < 0 ? folder : folder.Mid(last + 1);
    if (m_keepTrailingSeparator && !noSeparator)
        name += GetSeparator();
    return name;
}

void SPath::SplitParts(SArrayString* out, bool fileAsFolder, bool resolveDots) const
{
    const char separator = GetSeparator();
    const int first = out->GetCount();
    out->Add(GetRoot().GetText());
    SString folder = GetFolderWithSeparator();
    SString name = GetFileName();
    const bool dotName = name == "." || name == "..";
    if ((fileAsFolder && name.GetLength() > 0) || (resolveDots && dotName))
    {
        folder += name.GetText();
        folder += separator;
        name = "";
    }
    int start = 0;
    for (int i = 0; i < folder.GetLength(); i++)
    {
        if (folder.GetAt(i) != separator)
            continue;
        const SString piece = folder.Substring(start, i + 1);
        start = i + 1;
        if (resolveDots && piece == (separator == '/' ? "./" : ".\\"))
            continue;
        if (resolveDots && piece == (separator == '/' ? "../" : "..\\"))
        {
            // Climbing never goes above the root.
            if (out->GetCount() > first + 1)
                out->DeleteAndRemoveAt(out->GetCount() - 1, 1);
            continue;
        }
        out->Add(piece.GetText());
    }
    out->Add(name.GetText());
}

int SPath::GetComponents(SArrayString* out) const
{
    if (!m_kind || !out)
        return 0;
    const int before = out->GetCount();
    SplitParts(out, false, false);
    return out->GetCount() - before;
}

int SPath::GetComponentCount() const
{
    if (!m_kind)
        return 0;
    return GetFolderWithSeparator().CountChar(GetSeparator()) + 2;
}

SString SPath::JoinComponents(int start, int count, bool dropFileName, char separator) const
{
    SArrayString parts;
    const int total = GetComponents(&parts);
    if (start < 0 || count == 0 || start >= total)
        return SString("");
    int end = (count < 0 || count > total - start) ? total : start + count;
    if (dropFileName && end == total)
        end--;
    SString joined("");
    for (int i = start; i < end; i++)
        joined += parts.GetAt(i).GetText();
    joined.ReplaceChar('/', separator);
    joined.ReplaceChar('\\', separator);
    return joined;
}

// The sharing server keeps every request inside its root with this test. The root
// is taken as a whole folder even when given without its trailing separator (so
// that 'D:\Music' never contains 'D:\Musical\x'), and "." and ".." folders, which
// UNC paths and URLs keep, are resolved on both sides first.
bool SPath::Contains(const SPath* other, bool strict) const
{
    if (!other || !m_kind || m_kind != other->m_kind)
        return false;
    SArrayString mine;
    SArrayString theirs;
    SplitParts(&mine, true, true);
    other->SplitParts(&theirs, false, true);
    const int n = mine.GetCount();
    const int m = theirs.GetCount();
    if (strict ? m <= n : m < n)
        return false;
    for (int i = 0; i < n - 1; i++)
        if (mine.GetAt(i).CompareNoCase(theirs.GetAt(i).GetText()) != 0)
            return false;
    return true;
}

bool SPath::IsSameFolder(const SPath* other) const
{
    if (!other || !m_kind || m_kind != other->m_kind)
        return false;
    SArrayString mine;
    SArrayString theirs;
    const int n = GetComponents(&mine);
    if (other->GetComponents(&theirs) != n)
        return false;
    for (int i = 0; i < n; i++)
        if (mine.GetAt(i).CompareNoCase(theirs.GetAt(i).GetText()) != 0)
            return false;
    return true;
}

bool SPath::IsSameFolderAs(const char* text) const
{
    const SPath other(text);
    return IsSameFolder(&other);
}
