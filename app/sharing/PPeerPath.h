// The one check of every path a sharing peer names: plain parts relative to a
// root, which once joined and expanded to their long form stay inside the root
// and pass no junction or symbolic link. The download side checks the paths a
// server lists with the same rules.
#pragma once
#include <string>
#include "SDisk.h"
#include "SString.h"

class PPeerPath
{
public:
    // No drive or ":", no leading separator, no empty, "." or ".." part ("/"
    // separates too), no wildcard or control character, no part ending in a
    // dot or a blank, no device name. A folder may be "" (the root itself) and
    // may end with one separator; a file may not.
    static bool IsAcceptedText(const char* relative, bool folder);
    // A connection name stands in a folder name: not empty, no separator, no
    // ":" and not only dots.
    static bool IsAcceptedName(const char* name);
    // The full path, in its long form, of what the text names under the root
    // (given in its long form with its trailing separator): an existing folder
    // inside the root or the root itself, or an existing file inside it. ""
    // when refused.
    static SString Resolve(SDisk& disk, const SString& root, const char* relative, bool folder);
    // Where a download of a remote path goes: root + "{" + name + "}\" + the
    // path; "" when the path or the name is refused.
    static SString MakeDownloadTarget(const SString& root, const char* name, const char* remote);
    // A path folded as the file system folds names (every letter of the code
    // page, not only ASCII ones): two paths with one key name one file.
    static std::string FoldCase(const char* path);
    // The parts of a full path below the root, joined with "\".
    static SString MakeRelative(const SString& root, const SString& full);
    // No entry of the full path below the root (a prefix of it) is a junction
    // or a symbolic link; the last one is not looked at when the caller has.
    static bool PassesNoLink(const SDisk& disk, const SString& root, const SString& full, bool lastSeen = false);

private:
    static bool IsAcceptedPart(const SString& part);
    static bool IsDeviceName(const SString& part);
};
