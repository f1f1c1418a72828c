#include "SDll.h"

SDll::SDll() : m_module(nullptr), m_word1(1), m_word2(0) {}

SDll::~SDll()
{
    Free();
}

bool SDll::Load(const char* file)
{
    if (m_module || !file)
        return false;
    m_module = LoadLibraryA(file);
    return m_module != nullptr;
}

FARPROC SDll::GetFunction(const char* name) const
{
    if (!m_module || !name)
        return nullptr;
    return GetProcAddress(m_module, name);
}

bool SDll::Free()
{
    if (!m_module || !FreeLibrary(m_module))
        return false;
    m_module = nullptr;
    m_values.FreeMemory();
    return true;
}
