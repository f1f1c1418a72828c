// A library loaded at run time and the entry points looked up in it.
#pragma once
#include "SPlatform.h"
#include "SArray.h"

class SDll
{
public:
    SDll();
    virtual ~SDll();

    // False when a module is already loaded.
    bool Load(const char* file);
    // Null when nothing is loaded or the name is unknown.
    FARPROC GetFunction(const char* name) const;
    // False when nothing is loaded or the module cannot be freed.
    bool Free();
    bool IsLoaded() const { return m_module != nullptr; }

private:
    SDll(const SDll&) = delete;
    SDll& operator=(const SDll&) = delete;

    HMODULE m_module;
    DWORD m_word1;
    DWORD m_word2;
    SArray<int> m_values;
};
