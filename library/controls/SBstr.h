// A BSTR made from 8-bit text (the ANSI code page), freed on exit: what the
// hosted controls take for addresses and modes.
#pragma once
#include "SPlatform.h"
#include <oleauto.h>

class SBstr
{
public:
    explicit SBstr(const char* text) : m_text(nullptr)
    {
        const char* source = text ? text : "";
        const int length = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);
        if (length > 0)
        {
            m_text = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
            if (m_text)
                MultiByteToWideChar(CP_ACP, 0, source, -1, m_text, length);
        }
    }
    ~SBstr() { SysFreeString(m_text); }
    SBstr(const SBstr&) = delete;
    SBstr& operator=(const SBstr&) = delete;

    BSTR Get() const { return m_text; }

private:
    BSTR m_text;
};
