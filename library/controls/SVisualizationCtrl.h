// A small self-painted display of one sound's frequency bands: its static
// receiver has the form of the sound's visualisation callback, so a sound can
// feed it directly (SWave::SetVisualization with the control as user value).
#pragma once
#include "SPlatform.h"
#include <memory>
#include "SWnd.h"

class SVisualizationCtrl : public SWnd
{
public:
    static const int BAND_COUNT = 16;

    SVisualizationCtrl();
    ~SVisualizationCtrl() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The sound's callback; user is the control. Copies what the sound gives
    // (6 peaks and 6 x 16 bands at most) and redraws.
    static bool OnSoundData(int channels, const BYTE* peaks, const BYTE* bands, LPARAM user);
    // Frees and allocates both arrays when the count (negative: 0) changes or none are held.
    void SetChannelCount(int count);
    int GetChannelCount() const { return m_channels; }
    void FreeData();
    const BYTE* GetPeaks() const { return m_peaks.get(); }
    const BYTE* GetBands() const { return m_bands.get(); }
    void Paint(HDC dc);

private:
    int m_channels;
    std::unique_ptr<BYTE[]> m_peaks;
    std::unique_ptr<BYTE[]> m_bands;
};
