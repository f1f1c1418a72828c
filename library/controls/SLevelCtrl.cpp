#include "SLevelCtrl.h"
#include <algorithm>
#include <cmath>
#include "SDrawing.h"
#include "SMouseNotify.h"
#include "SWave.h"

SLevelCtrl::SLevelCtrl()
    : m_columns(false), m_peakHold(true), m_ticks(false), m_backColor(0), m_lowColor(0), m_highColor(0),
      m_minimum(0), m_maximum(1000), m_fallSpeed(0), m_peakHoldTime(0), m_lastPaint(0), m_elapsed(0),
      m_clock(&timeGetTime)
{
    SetTypeId(STYPE_LEVEL);
    SetDefaults();
}

SLevelCtrl::~SLevelCtrl()
{
    // A sound that outlives its meter must not feed or zero it any more.
    for (int last = m_sounds.GetCount() - 1; last >= 0; last = m_sounds.GetCount() - 1)
    {
        SWave* sound = m_sounds.GetAt(last);
        m_sounds.RemoveAt(last);
        sound->SetLevelCtrl(nullptr);
    }
    DestroyWindow();
}

void SLevelCtrl::AttachSound(SWave* sound)
{
    if (sound && m_sounds.Find(sound) < 0)
        m_sounds.Add(sound);
}

void SLevelCtrl::DetachSound(SWave* sound)
{
    const int index = m_sounds.Find(sound);
    if (index >= 0)
        m_sounds.RemoveAt(index);
}

void SLevelCtrl::SetDefaults()
{
    m_columns = false;
    m_peakHold = true;
    SetColors(0x205C20, 0x80FF80, 0x0000FF);
    SetRange(0, 1000, true);
    SetChannelCount(1);
    SetFallSpeed(40);
    SetPeakHoldTime(500);
}

void SLevelCtrl::Redraw() const
{
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SLevelCtrl::SetColors(COLORREF background, COLORREF low, COLORREF high)
{
    if (background != COLOR_NONE)
        m_backColor = background;
    if (low != COLOR_NONE)
        m_lowColor = low;
    if (high != COLOR_NONE)
        m_highColor = high;
    m_backBrush.Reset(CreateSolidBrush(m_backColor));
    m_lowBrush.Reset(CreateSolidBrush(m_lowColor));
    Redraw();
}

void SLevelCtrl::SetRange(int minimum, int maximum, bool redraw)
{
    m_minimum = minimum;
    m_maximum = maximum;
    SetValue(0, -1, false);
    if (redraw)
        Redraw();
}

void SLevelCtrl::SetChannelCount(int count)
{
    if (count < 1)
        count = 1;
    m_values.RemoveAll();
    m_displayed.RemoveAll();
    m_peaks.RemoveAll();
    for (int i = 0; i < count; i++)
    {
        m_values.Add(0);
        m_displayed.Add(0.0);
        m_peaks.Add(0);
    }
    Redraw();
}

void SLevelCtrl::SetValue(int value, int channel, bool redraw)
{
    const int count = GetChannelCount();
    if (channel >= count)
        return;
    const DWORD now = m_clock();
    for (int i = channel < 0 ? 0 : channel; i < (channel < 0 ? count : channel + 1); i++)
    {
        m_values.SetAt(i, value);
        if (m_displayed.GetAt(i) < value)
            m_displayed.SetAt(i, value);
        const uint64_t held = m_peaks.GetAt(i);
        if (m_peakHold && !(held != 0 && static_cast<int32_t>(held >> 32) > value))
            m_peaks.SetAt(i, (static_cast<uint64_t>(static_cast<uint32_t>(value)) << 32) | now);
    }
    if (redraw)
        Redraw();
}

int SLevelCtrl::GetValue(int channel) const
{
    return channel >= 0 && channel < GetChannelCount() ? m_values.GetAt(channel) : 0;
}

void SLevelCtrl::SetVertical(bool columns)
{
    m_columns = columns;
    Redraw();
}

double SLevelCtrl::GetDisplayedLevel(int channel) const
{
    return channel >= 0 && channel < GetChannelCount() ? m_displayed.GetAt(channel) : 0;
}

int SLevelCtrl::GetHeldPeak(int channel) const
{
    if (channel < 0 || channel >= GetChannelCount() || m_peaks.GetAt(channel) == 0)
        return -1;
    return static_cast<int32_t>(m_peaks.GetAt(channel) >> 32);
}

void SLevelCtrl::GetCellSpan(int extent, int count, int index, int& start, int& size)
{
    if (count < 1 || extent < 0)
    {
        start = size = 0;
        return;
    }
    const int base = extent / count, remainder = extent % count;
    size = base + (index < remainder ? 1 : 0);
    start = index * base + std::min(index, remainder);
}

// --- Painting ---------------------------------------------------------------

void SLevelCtrl::PaintScale(HDC dc, int width, int height) const
{
    if (m_columns)
    {
        const RECT low = {0, height / 2, width, height}, high = {0, 0, width, height / 2};
        FillRect(dc, &low, m_lowBrush.Get());
        DrawGradientRect(dc, &high, m_highColor, m_lowColor, true);
    }
    else
    {
        const RECT low = {0, 0, width / 2, height}, high = {width / 2, 0, width, height};
        FillRect(dc, &low, m_lowBrush.Get());
        DrawGradientRect(dc, &high, m_lowColor, m_highColor, false);
    }
}

// The shown level falls towards the value by the time since the last paint.
double SLevelCtrl::FallLevel(int channel) const
{
    const double range = m_maximum - m_minimum;
    const double displayed = m_displayed.GetAt(channel), value = m_values.GetAt(channel);
    if (value >= displayed || range == 0)
        return displayed;
    const double fraction = (displayed - m_minimum) / range - m_elapsed * m_fallSpeed;
    return std::max(m_minimum + range * fraction, value);
}

void SLevelCtrl::PaintCell(HDC dc, int channel, const RECT& cell, DWORD now)
{
    const double range = m_maximum - m_minimum;
    const double displayed = FallLevel(channel);
    m_displayed.SetAt(channel, displayed);
    // An empty range lights nothing.
    const double f = range == 0 ? 0 : std::min(1.0, std::max(0.0, (displayed - m_minimum) / range));
    const int width = cell.right - cell.left, height = cell.bottom - cell.top;
    RECT unlit = cell;
    if (m_columns)
        unlit.bottom = cell.top + static_cast<int>(height * (1 - f));
    else
        unlit.left = cell.left + width - static_cast<int>(width * (1 - f));
    FillRect(dc, &unlit, m_backBrush.Get());
    const uint64_t held = m_peaks.GetAt(channel);
    if (!m_peakHold || held == 0)
        return;
    if (now - static_cast<DWORD>(held) > m_peakHoldTime)
    {
        m_peaks.SetAt(channel, 0);
        return;
    }
    if (range == 0)
        return;
    const double peak = (static_cast<int32_t>(held >> 32) - m_minimum) / range;
    RECT line = cell;
    if (m_columns)
    {
        line.top = cell.top + static_cast<int>(height * (1 - peak));
        line.bottom = line.top + 1;
    }
    else
    {
        line.left = cell.left + static_cast<int>(width * peak);
        line.right = line.left + 1;
    }
    FillRect(dc, &line, m_lowBrush.Get());
}

void SLevelCtrl::Paint(HDC dc)
{
    const DWORD now = m_clock();
    m_elapsed = now - m_lastPaint;
    m_lastPaint = now;
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right, height = client.bottom, count = GetChannelCount();
    PaintScale(dc, width, height);
    for (int i = 0; i < count; i++)
    {
        int start = 0, size = 0;
        GetCellSpan(m_columns ? width : height, count, i, start, size);
        const RECT cell = m_columns ? RECT{start, 0, start + size, height} : RECT{0, start, width, start + size};
        PaintCell(dc, i, cell, now);
        if (i == 0)
            continue;
        const RECT separator = m_columns ? RECT{start - 1, 0, start, height} : RECT{0, start - 1, width, start};
        FillRect(dc, &separator, m_backBrush.Get());
    }
}

LRESULT SLevelCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        m_lastPaint = m_clock();
        SetTimer(PAINT_TIMER, PAINT_PERIOD);
        break;
    case WM_TIMER:
        Redraw();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    default:
        SMouseNotify::RelayToParent(this, SWM_LEVEL_MOUSE, message, lParam);
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
