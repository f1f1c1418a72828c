#include "PPeerPath.h"
#include <cstring>
#include <vector>
#include "SPath.h"

namespace
{
bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

SString WithSeparator(const SString& text)
{
    if (text.GetLength() > 0 && IsSeparator(text.GetAt(text.GetLength() - 1)))
        return text;
    return text + "\\";
}
}

bool PPeerPath::IsDeviceName(const SString& part)
{
    // Windows opens the device for the bare name, with any extension, and
    // with blanks before the dot.
    SString stem = part.GetBeforeCharOrAll('.');
    stem.TrimRight(-1, false);
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (stem.CompareNoCase(device) == 0)
            return true;
    if (stem.GetLength() != 4 || stem.GetAt(3) < '1' || stem.GetAt(3) > '9')
        return false;
    const SString prefix = stem.Left(3);
    return prefix.CompareNoCase("COM") == 0 || prefix.CompareNoCase("LPT") == 0;
}

bool PPeerPath::IsAcceptedPart(const SString& part)
{
    const int length = part.GetLength();
    if (length == 0 || part == "." || part == "..")
        return false;
    for (int i = 0; i < length; i++)
    {
        const unsigned char c = static_cast<unsigned char>(part.GetAt(i));
        if (c < 32 || std::strchr(":*?\"<>|", c))
            return false;
    }
    const char last = part.GetAt(length - 1);
    return last != '.' && last != ' ' && !IsDeviceName(part);
}

bool PPeerPath::IsAcceptedText(const char* relative, bool folder)
{
    if (!relative)
        return false;
    SString text(relative);
    if (text.GetLength() == 0)
        return folder;
    if (IsSeparator(text.GetAt(0)))
        return false;
    if (IsSeparator(text.GetAt(text.GetLength() - 1)))
    {
        if (!folder)
            return false;
        text.Truncate(text.GetLength() - 1);
    }
    text.ReplaceChar('/', '\\');
    for (int start = 0;;)
    {
        const int end = text.FindChar('\\', start);
        if (!IsAcceptedPart(text.Substring(start, end < 0 ? text.GetLength() : end)))
            return false;
        if (end < 0)
            return true;
        start = end + 1;
    }
}

bool PPeerPath::IsAcceptedName(const char* name)
{
    if (!name || !*name || std::strpbrk(name, "\\/:"))
        return false;
    for (const char* p = name; *p; p++)
        if (*p != '.')
            return true;
    return false;
}

// Every entry from the first part below the root to the path itself.
bool PPeerPath::PassesNoLink(const SDisk& disk, const SString& root, const SString& full, bool lastSeen)
{
    for (int at = root.GetLength(); at < full.GetLength();)
    {
        int end = at;
        while (end < full.GetLength() && !IsSeparator(full.GetAt(end)))
            end++;
        if (lastSeen && end >= full.GetLength() - 1)
            break;
        if (disk.IsReparsePoint(full.Left(end).GetText()))
            return false;
        at = end + 1;
    }
    return true;
}

SString PPeerPath::Resolve(SDisk& disk, const SString& root, const char* relative, bool folder)
{
    if (root.GetLength() == 0 || !IsAcceptedText(relative, folder))
        return SString("");
    SString joined = WithSeparator(root) + relative;
    joined.ReplaceChar('/', '\\');
    // Only a part with "~" can be a short name; expanding looks at every
    // part, so a plain path is taken as it is.
    const SString expanded = std::strchr(relative, '~') ? disk.ExpandLongPath(joined.GetText()) : joined;
    if (expanded.GetLength() == 0)
        return SString("");
    const DWORD attributes = GetFileAttributesA(expanded.GetText());
    if (attributes == INVALID_FILE_ATTRIBUTES || ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder)
        return SString("");
    SPath base;
    base.SetFolder(root.GetText());
    SPath target;
    if (folder)
        target.SetFolder(expanded.GetText());
    else
        target.Set(expanded.GetText());
    if (!base.IsValid() || !target.IsValid())
        return SString("");
    // A file directly in the root has as many parts as the root: the strict
    // test is for folders.
    const bool inside = folder ? (base.IsSameFolder(&target) || base.Contains(&target, true))
                               : (target.HasFileName() && base.Contains(&target, false));
    if (!inside)
        return SString("");
    // A file's own attributes are those read above (without a trailing
    // separator they are the entry's, not what it points to).
    if (!folder && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return SString("");
    const SString full = target.GetPath();
    return PassesNoLink(disk, base.GetPath(), full, !folder) ? full : SString("");
}

SString PPeerPath::MakeDownloadTarget(const SString& root, const char* name, const char* remote)
{
    if (root.GetLength() == 0 || !IsAcceptedName(name) || !IsAcceptedText(remote, false))
        return SString("");
    SPath base;
    base.SetFolder((WithSeparator(root) + "{" + name + "}\\").GetText());
    SString text = base.GetPath() + remote;
    text.ReplaceChar('/', '\\');
    const SPath target(text.GetText());
    if (!base.IsValid() || !target.HasFileName() || !base.Contains(&target, false))
        return SString("");
    return target.GetPath();
}

std::string PPeerPath::FoldCase(const char* path)
{
    const int length = path && *path ? MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0) : 0;
    if (length < 2)
        return std::string();
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
    CharUpperBuffW(wide.data(), static_cast<DWORD>(length - 1));
    // The folded UTF-16 units as bytes: a key, never shown.
    return std::string(reinterpret_cast<const char*>(wide.data()), (length - 1) * sizeof(wchar_t));
}

SString PPeerPath::MakeRelative(const SString& root, const SString& full)
{
    const SPath base(WithSeparator(root).GetText());
    const SPath path(full.GetText());
    const int start = base.GetComponentCount() - 1;
    return path.JoinComponents(start < 0 ? 0 : start, -1, false, '\\');
}
