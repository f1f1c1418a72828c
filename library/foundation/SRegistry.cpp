#include "SRegistry.h"
#include "SGuards.h"
#include <vector>

int SRegistry::GetInt(HKEY root, const char* subkey, const char* name) const
{
    SRegKeyGuard key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        return 0;
    return static_cast<int>(value);
}

bool SRegistry::SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const void* data,
                         DWORD size) const
{
    if (!subkey || !*subkey)
        return false;
    SRegKeyGuard key;
    if (RegCreateKeyExA(root, subkey, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        key.Out(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool SRegistry::SetInt(HKEY root, const char* subkey, const char* name, DWORD value) const
{
    return SetValue(root, subkey, name, REG_DWORD, &value, sizeof(value));
}

bool SRegistry::SetString(HKEY root, const char* subkey, const char* name, const char* text) const
{
    if (!text)
        text = "";
    return SetValue(root, subkey, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

SString SRegistry::GetString(HKEY root, const char* subkey, const char* name) const
{
    SString result("");
    SRegKeyGuard key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
        return result;
    // The value may change between the size query and the read: ask again while it grows.
    for (int attempt = 0; attempt < 4; attempt++)
    {
        DWORD size = 0;
        if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
            return result;
        // One more byte than the data: a stored text need not end with its NUL.
        std::vector<char> buffer(size + 1, 0);
        const LONG status =
            RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return result;
        buffer[size] = 0;
        result = buffer.data();
        return result;
    }
    return result;
}
