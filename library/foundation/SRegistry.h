// Single numbers and texts in the Windows registry; every call opens the key,
// acts and closes it again.
#pragma once
#include "SPlatform.h"
#include "SString.h"

class SRegistry
{
public:
    SRegistry() {}
    virtual ~SRegistry() {}

    // 0 when the key cannot be opened or the value cannot be read.
    int GetInt(HKEY root, const char* subkey, const char* name) const;
    // Creates the key when missing; false for a null or empty subkey.
    bool SetInt(HKEY root, const char* subkey, const char* name, DWORD value) const;
    bool SetString(HKEY root, const char* subkey, const char* name, const char* text) const;
    // The whole value, however long; "" when the key or the value is missing.
    SString GetString(HKEY root, const char* subkey, const char* name) const;

private:
    bool SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const void* data,
                  DWORD size) const;
};
