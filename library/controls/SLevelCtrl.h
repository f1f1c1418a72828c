// A self-painted multi-channel level meter: one bar per channel whose shown level
// falls back towards its value over time, with a held peak line; it repaints on
// its own 10 ms timer, so values can arrive as often as they like.
#pragma once
#include "SPlatform.h"
#include <cstdint>
#include "SArray.h"
#include "SGuards.h"
#include "SWnd.h"

class SWave;

class SLevelCtrl : public SWnd
{
public:
    static const UINT_PTR PAINT_TIMER = 82;
    static const UINT PAINT_PERIOD = 10;
    typedef DWORD(WINAPI* Clock)();

    SLevelCtrl();
    ~SLevelCtrl() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetDefaults();
    // 0xFF000000 leaves a colour unchanged.
    void SetColors(COLORREF background, COLORREF low, COLORREF high);
    void SetRange(int minimum, int maximum, bool redraw = true);
    void SetChannelCount(int count);
    int GetChannelCount() const { return m_values.GetCount(); }
    // A negative channel sets every channel; one at or beyond the count nothing.
    void SetValue(int value, int channel = -1, bool redraw = true);
    int GetValue(int channel) const;
    // n x 0.005 / 100 of the range per millisecond.
    void SetFallSpeed(int n) { m_fallSpeed = n * 0.005 / 100; }
    void SetPeakHoldTime(DWORD milliseconds) { m_peakHoldTime = milliseconds; }
    bool IsPeakHold() const { return m_peakHold; }
    // True: channels side by side as columns growing upwards; false: rows growing rightwards.
    void SetVertical(bool columns);
    bool IsVertical() const { return m_columns; }
    void SetTicks(bool on) { m_ticks = on; }
    bool HasTicks() const { return m_ticks; }
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    COLORREF GetBackColor() const { return m_backColor; }
    COLORREF GetLowColor() const { return m_lowColor; }
    COLORREF GetHighColor() const { return m_highColor; }
    // The level as last drawn, and the held peak's value (-1 when none is held).
    double GetDisplayedLevel(int channel) const;
    int GetHeldPeak(int channel) const;
    // The clock painting and peaks read; null restores timeGetTime.
    void SetClock(Clock clock) { m_clock = clock ? clock : &timeGetTime; }

    void Paint(HDC dc);
    // Cell i of count cells over extent pixels: the remainder goes one pixel
    // each to the first cells, so the cells fill the extent exactly.
    static void GetCellSpan(int extent, int count, int index, int& start, int& size);

private:
    // Only a sound links itself, through SWave::SetLevelCtrl.
    friend class SWave;
    void AttachSound(SWave* sound);
    void DetachSound(SWave* sound);
    void Redraw() const;
    void PaintScale(HDC dc, int width, int height) const;
    void PaintCell(HDC dc, int channel, const RECT& cell, DWORD now);
    double FallLevel(int channel) const;

    bool m_columns;
    bool m_peakHold;
    bool m_ticks;
    COLORREF m_backColor, m_lowColor, m_highColor;
    SGdiObjectGuard<HBRUSH> m_backBrush;
    SGdiObjectGuard<HBRUSH> m_lowBrush;
    int m_minimum, m_maximum;
    SArray<int> m_values;
    SArray<double> m_displayed;
    // (peak value << 32) | the time it was set; 0 for none.
    SArray<uint64_t> m_peaks;
    double m_fallSpeed;
    DWORD m_peakHoldTime;
    DWORD m_lastPaint, m_elapsed;
    Clock m_clock;
    // The sounds that feed this meter (not owned): each is unlinked when either side goes.
    SArray<SWave*> m_sounds;
};
