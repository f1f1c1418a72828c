#include "PMedia.h"

bool PMedia::Create()
{
    return SWnd::Create("", WS_POPUP | WS_THICKFRAME, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, nullptr);
}

void PMedia::OnMediaEnded()
{
    // The next file, repeat or shutdown come with playback.
}
