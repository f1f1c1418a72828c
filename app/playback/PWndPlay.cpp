#include "PWndPlay.h"

bool PWndPlay::Create(HWND parent, const RECT& rect)
{
    if (!CreateChild("", WS_VISIBLE | WS_CLIPCHILDREN, 0, &rect, parent))
        return false;
    SetAnchors(4);
    return true;
}
