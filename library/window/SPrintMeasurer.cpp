#include "SPrintMeasurer.h"

SIZE SPrintMeasurer::Measure(HDC dc, const char* text, int length)
{
    SIZE size = {0, 0};
    if (dc && text && length > 0)
        GetTextExtentPoint32A(dc, text, length, &size);
    return size;
}

bool SPrintMeasurer::Output(HDC dc, int x, int y, const char* text, int length)
{
    return dc && text && TextOutA(dc, x, y, text, length < 0 ? 0 : length) != FALSE;
}
