// Addresses of the pages' links turned into paths, and what the main window
// does with them. An address is read as an address first (scheme, host, path)
// and only then are the path's names decoded, so escapes never change its
// shape.
#include "PWndApp.h"
#include "PPeerPath.h"
#include "SHexDigit.h"
#include <cctype>
#include <cstring>

namespace
{
bool IsSlash(char c)
{
    return c == '/' || c == '\\';
}

// A drive only as written plainly: "C:" or the older "C|".
bool IsDrive(const char* text, size_t length)
{
    return length == 2 && isalpha(static_cast<unsigned char>(text[0])) && (text[1] == ':' || text[1] == '|');
}

// One name of the path with its escapes decoded. A separator, NUL or colon
// that comes out of an escape cannot be part of a file name, and ".." would
// climb: such a name is refused. A "%" without two digits stays as it is.
bool DecodeName(const char* text, size_t length, SString* name)
{
    SString decoded;
    for (size_t i = 0; i < length; ++i)
    {
        char c = text[i];
        const int high = c == '%' && i + 2 < length ? SHexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? SHexDigit(text[i + 2]) : -1;
        if (low >= 0)
        {
            c = static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (c == 0 || IsSlash(c) || c == ':')
            return false;
        decoded += c;
    }
    // Windows drops trailing dots and spaces: "..." or ". ." would climb too.
    const char* const plain = decoded.GetText() ? decoded.GetText() : "";
    if (strlen(plain) > 1 && strspn(plain, ". ") == strlen(plain))
        return false;
    *name += decoded.GetText();
    return true;
}

// The path part of an address, its names joined by "\". A leading separator
// without a drive names a folder of the current drive; empty names are
// dropped, so separators in a row never make a network share.
bool JoinPath(const char* text, bool driveAllowed, SString* path)
{
    const bool rooted = IsSlash(*text);
    bool first = true;
    SString joined;
    while (*text)
    {
        while (IsSlash(*text))
            ++text;
        const char* end = text;
        while (*end && !IsSlash(*end))
            ++end;
        const size_t length = static_cast<size_t>(end - text);
        if (length > 0 && first && driveAllowed && IsDrive(text, length))
        {
            joined += text[0];
            joined += ':';
        }
        else if (length > 0)
        {
            if (first && rooted)
                joined += '\\';
            if (!DecodeName(text, length, &joined))
                return false;
        }
        if (length > 0 && *end)
            joined += '\\';
        first = first && length == 0;
        text = end;
    }
    if (joined.GetLength() == 0)
        return false;
    // A drive alone would be that drive's current folder.
    if (joined.GetLength() == 2 && joined.GetAt(1) == ':')
        joined += '\\';
    *path = joined;
    return true;
}

// A host name as written, nothing escaped: letters, digits, "-", "." and "_",
// starting with a letter or digit ("\\.\" and "\\?\" are no hosts).
bool IsHostName(const char* text, size_t length)
{
    if (length == 0 || !isalnum(static_cast<unsigned char>(text[0])))
        return false;
    for (size_t i = 0; i < length; ++i)
        if (!isalnum(static_cast<unsigned char>(text[i])) && !strchr("-._", text[i]))
            return false;
    return true;
}

// "\\host\" + the path, for a host other than this computer.
bool SharePath(const char* host, size_t length, const char* rest, SString* path)
{
    if (!IsHostName(host, length))
        return false;
    SString below;
    if (*rest && !JoinPath(rest, false, &below))
        return false;
    SString share("\\\\");
    for (size_t i = 0; i < length; ++i)
        share += host[i];
    share += below.GetLength() > 0 ? below.GetText() : "\\";
    *path = share;
    return true;
}

// The length of a scheme's name before its ":", 0 without one; one letter is
// a drive.
size_t SchemeLength(const char* address)
{
    size_t length = 0;
    for (char c = address[0]; c && (isalnum(static_cast<unsigned char>(c)) || strchr("+.-", c)); c = address[length])
        ++length;
    return length >= 2 && address[length] == ':' && isalpha(static_cast<unsigned char>(address[0])) ? length : 0;
}
}

bool PWndApp::AddressToPath(const char* address, SString* path)
{
    if (!address || !path)
        return false;
    const size_t scheme = SchemeLength(address);
    if (scheme > 0 && (scheme != 4 || _strnicmp(address, "file", 4) != 0))
        return false;
    const char* rest = address + scheme + (scheme > 0 ? 1 : 0);
    if (!IsSlash(rest[0]) || !IsSlash(rest[1]))
        return JoinPath(rest, true, path);
    // After two separators comes the host: none or "localhost" is this
    // computer, and an old form puts the drive there ("file://C:/x").
    const char* host = rest + 2;
    const char* end = host;
    while (*end && !IsSlash(*end))
        ++end;
    const size_t length = static_cast<size_t>(end - host);
    if (length == 0 || (length == 9 && _strnicmp(host, "localhost", 9) == 0))
        return JoinPath(end, true, path);
    if (IsDrive(host, length))
        return JoinPath(host, true, path);
    return SharePath(host, length, end, path);
}

bool PWndApp::IsInLibrary(const SPath& path) const
{
    return path.IsValid() && !path.IsUrl() && m_rootFolder.Contains(&path, false) &&
           PPeerPath::PassesNoLink(m_disk, m_rootFolder.GetPath(), path.GetPath());
}

// Pages link to folders with addresses ending in ".link": the part below the
// root names the folder under our own root, and the main window opens it. A
// "file:" address that cannot be read safely is not followed at all.
LRESULT PWndApp::OnBeforeNavigate(const char* address)
{
    SString decoded;
    if (!AddressToPath(address, &decoded))
        return IsFileAddress(address) ? -1 : 0;
    const SPath path(decoded.GetText());
    if (!path.IsValid() || path.GetExtension(false, true) != "link")
        return 0;
    // A remote page's base is our own root: its folder links lead nowhere.
    if (!IsLocal())
        return -1;
    OpenFolderLink(path);
    return -1;
}

bool PWndApp::IsFileAddress(const char* address)
{
    return address && (SchemeLength(address) == 0 || _strnicmp(address, "file:", 5) == 0);
}
