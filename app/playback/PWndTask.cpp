#include "PWndTask.h"

bool PWndTask::Create()
{
    RECT rect = {0, 0, GetScreenWidth(), GetHeight()};
    return SWnd::Create("", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, &rect, nullptr);
}

int PWndTask::GetHeight() const
{
    TEXTMETRICA metrics = {};
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    const int height = static_cast<int>(metrics.tmHeight) + 2;
    return height < 20 ? 20 : height;
}
