// Painting of the sound editor: the waveform bitmap (one band per channel, about
// ten points per pixel column), the cursor, the inverted selection, the play
// cursor, and the progress bar drawn over a snapshot during long edits.
#include "SWaveCtrl.h"
#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>
#include <vector>
#include "SDrawing.h"
#include "SLibrary.h"

namespace
{
// Points per Polyline call: the line goes on from the last point of the previous call.
const size_t POLYLINE_BATCH = 4096;
const int WAIT_CURSOR = 13;

void DrawPolyline(HDC dc, const std::vector<POINT>& points)
{
    for (size_t first = 0; first + 1 < points.size(); first += POLYLINE_BATCH)
    {
        const size_t count = std::min(POLYLINE_BATCH + 1, points.size() - first);
        Polyline(dc, &points[first], static_cast<int>(count));
    }
}
} // namespace

void SWaveCtrl::BuildWaveform()
{
    TryBuildWaveform();
}

// False only when the waveform could not have its memory; the bitmap is then gone.
bool SWaveCtrl::TryBuildWaveform()
{
    m_waveform.Reset();
    const SIZE size = GetClientSize();
    if (!m_handle || size.cx <= 0 || size.cy <= 0)
        return true;
    SWindowDCGuard screen(m_handle);
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    SMemoryDCGuard memory(screen.Get());
    if (!bitmap.Get() || !memory.Get())
        return true;
    {
        SSelectGuard select(memory.Get(), bitmap.Get());
        const RECT all = {0, 0, size.cx, size.cy};
        FillRect(memory.Get(), &all, m_backBrush.Get());
        try
        {
            if (m_sound.IsLoaded())
                FillBands(memory.Get(), size.cx, size.cy);
        }
        catch (const std::bad_alloc&)
        {
            return false;
        }
    }
    m_waveform.Reset(bitmap.Release());
    return true;
}

void SWaveCtrl::FillBands(HDC dc, int width, int height)
{
    const int channels = m_sound.GetChannelCount();
    if (channels < 1)
        return;
    const int band = height / channels;
    for (int c = 0; c < channels; c++)
    {
        const RECT rect = {0, c * band, width, (c + 1) * band};
        if (channels > 1 && m_channel >= 0 && c != m_channel)
            FillRect(dc, &rect, m_backDisabledBrush.Get());
        DrawChannel(dc, c, rect);
    }
}

uint32_t SWaveCtrl::ComputeDrawStep(uint32_t total, int rate, double seconds, int width)
{
    if (width <= 0)
        return total > 0 ? total : 1;
    const double pointsPerSecond = seconds > 0 ? std::max(1.0, 10.0 * width / seconds) : 1e18;
    const double byRate = std::max(1.0, std::min<double>(UINT32_MAX, rate / pointsPerSecond));
    // Whatever the rate says, no more points than the band can show.
    const uint64_t columns = static_cast<uint64_t>(width) * POINTS_PER_COLUMN;
    const uint64_t byWidth = (static_cast<uint64_t>(total) + columns - 1) / columns;
    return static_cast<uint32_t>(std::max<uint64_t>({1, static_cast<uint64_t>(byRate), byWidth}));
}

void SWaveCtrl::DrawChannel(HDC dc, int channel, const RECT& band)
{
    const int width = band.right - band.left, height = band.bottom - band.top;
    const int middle = band.top + height / 2;
    DrawLineWithPen(dc, band.left, middle, band.right, middle, m_linePen.Get());
    const uint32_t total = m_sound.GetFrameCount();
    if (total == 0 || width <= 0 || height <= 0)
        return;
    const uint32_t step =
        ComputeDrawStep(total, m_sound.GetSampleRate(), m_sound.FrameToMs(total) / 1000.0, width);
    const int align = m_sound.GetBlockAlign();
    std::vector<POINT> points;
    points.reserve(total / step + 2);
    points.push_back(POINT{band.left, middle});
    const auto add = [&](uint64_t frame, const void* data, uint32_t index) {
        const double sample = m_sound.GetSampleNormalized(data, index, channel);
        const int x = band.left + static_cast<int>(static_cast<double>(frame) / total * width);
        points.push_back(POINT{x, band.top + static_cast<int>(height * (sample + 0.5))});
    };
    const uint32_t chunk = ComputeDrawChunk(step);
    if (static_cast<uint64_t>(chunk) * align <= MAXIMUM_DRAW_BYTES)
    {
        std::vector<unsigned char> data(static_cast<size_t>(chunk) * align);
        for (uint32_t first = 0; first < total; first += chunk)
        {
            const uint32_t frames = std::min(chunk, total - first);
            if (!m_sound.ReadData(data.data(), static_cast<int64_t>(first) * align, static_cast<int>(frames) * align))
                break;
            for (uint32_t f = 0; f < frames; f += step)
                add(first + f, data.data(), f);
        }
    }
    else
    {
        // Steps wider than a chunk: only the frames drawn are read.
        std::vector<unsigned char> frame(align);
        for (uint64_t f = 0; f < total; f += step)
        {
            if (!m_sound.ReadData(frame.data(), static_cast<int64_t>(f) * align, align))
                break;
            add(f, frame.data(), 0);
        }
    }
    const bool muted = m_muted.Find(channel) >= 0;
    SSelectGuard pen(dc, muted ? m_waveDisabledPen.Get() : m_wavePen.Get());
    DrawPolyline(dc, points);
}

// The selected channel's band, or the whole height.
void SWaveCtrl::GetSelectionSpan(int& top, int& bottom) const
{
    const int height = GetClientHeight(), channels = m_sound.GetChannelCount();
    top = 0;
    bottom = height;
    if (m_channel >= 0 && channels > 0)
    {
        top = m_channel * (height / channels);
        bottom = top + height / channels;
    }
}

void SWaveCtrl::Paint(HDC dc)
{
    RECT client = {};
    GetClientRect(&client);
    if (!m_sound.IsLoaded() || !m_waveform.Get())
        FillRect(dc, &client, m_backBrush.Get());
    else
    {
        SMemoryDCGuard memory(dc);
        SSelectGuard select(memory.Get(), m_waveform.Get());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
    if (!m_sound.IsLoaded())
        return;
    int top = 0, bottom = 0;
    GetSelectionSpan(top, bottom);
    const int start = GetFrameX(m_selectionStart);
    if (m_selectionLength == 0 && start >= 0)
        DrawLineWithPen(dc, start, top, start, bottom, m_caretPen.Get());
    else if (m_selectionLength > 0)
    {
        const RECT selection = {start, top, GetFrameX(m_selectionStart + m_selectionLength), bottom};
        InvertRect(dc, &selection);
    }
    if (m_sound.IsPlaying() || m_sound.IsPaused())
    {
        const int x = GetFrameX(m_sound.GetPlayFrame());
        if (x >= 0)
            DrawLineWithPen(dc, x, 0, x, client.bottom, m_playCaretPen.Get());
    }
}

// --- Operations with progress -----------------------------------------------

bool SWaveCtrl::BeginOperation()
{
    if (!m_sound.SetOperation(m_selectionStart, m_selectionLength, m_channel, &SWaveCtrl::OnProgress,
                              reinterpret_cast<LPARAM>(this)))
        return false;
    m_snapshot.Reset(TakeSnapshot());
    m_progressFrames = m_sound.GetFrameCount();
    DrawProgress(0);
    SetCursor(GetLibraryCursor(WAIT_CURSOR));
    return true;
}

void SWaveCtrl::EndOperation()
{
    m_snapshot.Reset();
    SetCursor(nullptr);
}

bool SWaveCtrl::OnProgress(int percent, LPARAM user)
{
    SWaveCtrl* editor = reinterpret_cast<SWaveCtrl*>(user);
    if (editor->m_keyboard.IsKeyDown(VK_ESCAPE))
    {
        // Its key press still waits in the queue: it must not act on the selection too.
        editor->m_escapeCancelled = true;
        editor->m_escapeTime = GetTickCount();
        return false;
    }
    editor->DrawProgress(percent);
    return true;
}

HBITMAP SWaveCtrl::TakeSnapshot()
{
    const SIZE size = GetClientSize();
    if (!m_handle || size.cx <= 0 || size.cy <= 0)
        return nullptr;
    SWindowDCGuard screen(m_handle);
    SMemoryDCGuard memory(screen.Get());
    HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), size.cx, size.cy);
    if (bitmap)
    {
        SSelectGuard select(memory.Get(), bitmap);
        Paint(memory.Get());
    }
    return bitmap;
}

// At the bottom of the selected band, under the selection as it was when the
// operation began, or across the whole width when that is under 40 pixels.
RECT SWaveCtrl::GetProgressRect() const
{
    const int width = GetClientWidth();
    int top = 0, bottom = 0;
    GetSelectionSpan(top, bottom);
    RECT bar = {0, bottom - PROGRESS_HEIGHT, width, bottom};
    const int left = FrameToX(m_selectionStart, m_progressFrames, width);
    const int right = FrameToX(m_selectionStart + m_selectionLength, m_progressFrames, width);
    if (m_selectionLength > 0 && left >= 0 && right - left >= PROGRESS_MINIMUM_WIDTH)
    {
        bar.left = left;
        bar.right = right;
    }
    return bar;
}

void SWaveCtrl::DrawProgress(int percent)
{
    const SIZE size = GetClientSize();
    if (!m_handle || size.cx <= 0 || size.cy <= 0)
        return;
    SWindowDCGuard window(m_handle);
    SMemoryDCGuard memory(window.Get());
    SGdiObjectGuard<HBITMAP> canvas(CreateCompatibleBitmap(window.Get(), size.cx, size.cy));
    SSelectGuard select(memory.Get(), canvas.Get());
    if (m_snapshot.Get())
    {
        SMemoryDCGuard snapshot(window.Get());
        SSelectGuard old(snapshot.Get(), m_snapshot.Get());
        BitBlt(memory.Get(), 0, 0, size.cx, size.cy, snapshot.Get(), 0, 0, SRCCOPY);
    }
    RECT bar = GetProgressRect();
    // The end colour is on the left.
    DrawGradientRect(memory.Get(), &bar, m_progressEndColor, m_progressStartColor, false);
    RECT rest = bar;
    rest.left = bar.left + (bar.right - bar.left) * std::max(0, std::min(percent, 100)) / 100;
    FillRect(memory.Get(), &rest, m_progressBackBrush.Get());
    DrawEdge(memory.Get(), &bar, EDGE_SUNKEN, BF_RECT);
    BitBlt(window.Get(), 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
}
