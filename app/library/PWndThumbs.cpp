#include "PWndThumbs.h"

bool PWndThumbs::Create(HWND parent, const RECT& rect, UINT_PTR id)
{
    if (!CreateChild("", WS_VSCROLL, 0, &rect, parent, id))
        return false;
    SetBackgroundColor(GetSysColor(COLOR_WINDOW));
    SetAnchors(0x44);
    return true;
}
