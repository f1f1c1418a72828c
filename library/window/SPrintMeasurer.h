// How a printer page measures and outputs text. The default goes to GDI; tests
// plug in a fixed measurer so wrapping and pagination can be checked exactly.
#pragma once
#include "SPlatform.h"

class SPrintMeasurer
{
public:
    virtual ~SPrintMeasurer() {}
    virtual SIZE Measure(HDC dc, const char* text, int length);
    virtual bool Output(HDC dc, int x, int y, const char* text, int length);
};
