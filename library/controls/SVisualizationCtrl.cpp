#include "SVisualizationCtrl.h"
#include <algorithm>
#include <cstring>
#include <gdiplus.h>
#include "SMouseNotify.h"
#include "SWave.h"

namespace
{
const int BAR_WIDTH = 5;
const int BAR_BOTTOM = 255;
} // namespace

SVisualizationCtrl::SVisualizationCtrl() : m_channels(1)
{
}

SVisualizationCtrl::~SVisualizationCtrl()
{
    DestroyWindow();
    FreeData();
}

void SVisualizationCtrl::FreeData()
{
    m_peaks.reset();
    m_bands.reset();
    m_channels = 1;
}

void SVisualizationCtrl::SetChannelCount(int count)
{
    if (count < 0)
        count = 0;
    if (count == m_channels && m_peaks && m_bands)
        return;
    FreeData();
    m_channels = count;
    m_peaks.reset(new BYTE[count + 1]());
    m_bands.reset(new BYTE[BAND_COUNT * count + 1]());
}

bool SVisualizationCtrl::OnSoundData(int channels, const BYTE* peaks, const BYTE* bands, LPARAM user)
{
    SVisualizationCtrl* control = reinterpret_cast<SVisualizationCtrl*>(user);
    if (!control)
        return false;
    control->SetChannelCount(channels);
    // The sound hands over its fixed arrays: never read past them.
    const int n = std::min(control->m_channels, static_cast<int>(SWave::PEAK_CHANNELS));
    if (peaks)
        memcpy(control->m_peaks.get(), peaks, n);
    if (bands)
        memcpy(control->m_bands.get(), bands, static_cast<size_t>(n) * BAND_COUNT);
    if (control->m_handle)
        control->InvalidateRect(nullptr, true);
    return true;
}

void SVisualizationCtrl::Paint(HDC dc)
{
    Gdiplus::Graphics graphics(dc);
    graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
    if (!m_bands || m_channels < 1)
        return;
    Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
    for (int i = 0; i < BAND_COUNT; i++)
    {
        const int level = m_bands[i];
        graphics.FillRectangle(&red, i * BAR_WIDTH, BAR_BOTTOM - level, BAR_WIDTH, level);
    }
}

LRESULT SVisualizationCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    default:
        SMouseNotify::RelayToParent(this, SWM_VISUAL_MOUSE, message, lParam);
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
