// Reads a string's buffer size, which the interface does not expose.
#pragma once
#include "SString.h"

struct StringProbe : SString
{
    using SString::SString;
    int Capacity() const { return m_capacity; }
};
