// The program's settings under its registry key: names, defaults and clamps in
// one place, texts read whole whatever their length, and the "|" lists of
// known servers.
#pragma once
#include "SPlatform.h"
#include "SArrayString.h"
#include "SRegistry.h"
#include "SString.h"

// An SString's text, "" for an empty string that holds no buffer.
inline const char* TextOf(const SString& text)
{
    return text.GetText() ? text.GetText() : "";
}

class PSettings
{
public:
    static const char* const KEY;      // under HKEY_CURRENT_USER
    static const char* const COMPANY;  // placement company word
    static const char* const PRODUCT;  // placement sub-path
    static const int DEFAULT_PORT = 12465;

    // What the sharing server reads of the settings.
    struct _SServer
    {
        SString password;
        bool allowPlay = false;
        int maxUsers = 1;
        int port = DEFAULT_PORT;
    };

    PSettings() {}
    virtual ~PSettings() {}

    SString GetText(const char* name) const;
    int GetNumber(const char* name) const;
    bool GetFlag(const char* name) const { return GetNumber(name) != 0; }
    bool SetText(const char* name, const char* text) const;
    bool SetNumber(const char* name, int value) const;

    // "ServerPass", "ServerAllowPlay", "ServerMaxUser" (at least 1) and
    // "ServerPort" (12465 when 0 or less).
    _SServer GetServer() const;

    // Every token between separators, the one after the last included: "a|b|"
    // gives "a", "b" and "". Returns the count (1 for an empty text).
    static int SplitTokens(const char* text, char separator, SArrayString* out);
    // "Images": names split at ";", blanks around each dropped, empty ones skipped.
    static int SplitNames(const char* text, SArrayString* out);

private:
    SRegistry m_registry;
};
