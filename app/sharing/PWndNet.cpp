#include "PWndNet.h"

bool PWndNet::Create(HWND parent, const RECT& rect)
{
    if (!CreateChild("", WS_CLIPCHILDREN, 0, &rect, parent))
        return false;
    SetAnchors(4);
    return true;
}
