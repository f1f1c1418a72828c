#include "PSettings.h"

const char* const PSettings::KEY = "Software\\Quentara\\Sonavel\\1.1\\Default";
const char* const PSettings::COMPANY = "Quentara";
const char* const PSettings::PRODUCT = "Sonavel\\1.1\\Default";

SString PSettings::GetText(const char* name) const
{
    return m_registry.GetString(HKEY_CURRENT_USER, KEY, name);
}

int PSettings::GetNumber(const char* name) const
{
    return m_registry.GetInt(HKEY_CURRENT_USER, KEY, name);
}

bool PSettings::SetText(const char* name, const char* text) const
{
    return m_registry.SetString(HKEY_CURRENT_USER, KEY, name, text);
}

bool PSettings::SetNumber(const char* name, int value) const
{
    return m_registry.SetInt(HKEY_CURRENT_USER, KEY, name, static_cast<DWORD>(value));
}

PSettings::_SServer PSettings::GetServer() const
{
    _SServer server;
    server.password = GetText("ServerPass");
    server.allowPlay = GetFlag("ServerAllowPlay");
    server.maxUsers = GetNumber("ServerMaxUser");
    if (server.maxUsers < 1)
        server.maxUsers = 1;
    server.port = GetNumber("ServerPort");
    if (server.port <= 0)
        server.port = DEFAULT_PORT;
    return server;
}

int PSettings::SplitTokens(const char* text, char separator, SArrayString* out)
{
    int count = 0;
    const char* start = text ? text : "";
    for (;;)
    {
        const char* end = start;
        while (*end && *end != separator)
            ++end;
        SString token;
        token.Assign(start, static_cast<int>(end - start));
        out->Add(token.GetText());
        ++count;
        if (!*end)
            return count;
        start = end + 1;
    }
}

int PSettings::SplitNames(const char* text, SArrayString* out)
{
    SArrayString tokens;
    SplitTokens(text, ';', &tokens);
    int count = 0;
    for (int i = 0; i < tokens.GetCount(); ++i)
    {
        SString name = tokens.GetAt(i);
        name.Trim(-1, -1, true);
        if (name.GetLength() == 0)
            continue;
        out->Add(name.GetText());
        ++count;
    }
    return count;
}
