// Playback of a sound: one secondary buffer holding the whole data (muted
// channels silenced in it), the 5 ms tick on the hidden window that watches the
// range end, and the level meter and visualisation feeds.
#include "SWave.h"
#include <dsound.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>
#include "SLevelCtrl.h"
#include "SLibrary.h"

namespace
{
const DWORD BUFFER_FLAGS = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS |
                           DSBCAPS_GETCURRENTPOSITION2;
static_assert(BUFFER_FLAGS == 0x180E0, "buffer capabilities");
} // namespace

// --- Sound buffer -----------------------------------------------------------

bool SWave::CreateBuffer()
{
    m_buffer.Reset();
    IDirectSound8* device = GetDirectSound();
    if (!device || !m_loaded || GetDataSize() == 0 || GetAudibleChannelCount() == 0)
        return false;
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = BUFFER_FLAGS;
    description.dwBufferBytes = static_cast<DWORD>(GetDataSize());
    description.lpwfxFormat = &m_format.Format;
    if (FAILED(device->CreateSoundBuffer(&description, m_buffer.Out(), nullptr)))
        m_buffer.Reset();
    return HasBuffer();
}

bool SWave::FillBuffer()
{
    if (!m_buffer)
        return false;
    std::vector<unsigned char> data;
    try
    {
        data.resize(static_cast<size_t>(FILL_FRAMES) * GetBlockAlign());
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    HRESULT result = m_buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER);
    if (result == DSERR_BUFFERLOST)
    {
        m_buffer->Restore();
        result = m_buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER);
    }
    if (FAILED(result) || !first)
    {
        m_buffer->Restore();
        return false;
    }
    SVirtualFile* stream = GetRewoundDataStream();
    const int align = GetBlockAlign();
    unsigned char* target = static_cast<unsigned char*>(first);
    DWORD done = 0;
    while (done < firstBytes)
    {
        const int wanted = static_cast<int>(std::min<DWORD>(firstBytes - done, static_cast<DWORD>(data.size())));
        const int read = stream->Read(data.data(), wanted);
        if (read <= 0)
            break;
        for (int f = 0; f < read / align; f++)
            for (int i = 0; i < m_muted.GetCount(); i++)
                SetSample(data.data(), f, m_muted.GetAt(i), 0);
        memcpy(target + done, data.data(), read);
        done += read;
    }
    memset(target + done, m_silence, firstBytes - done);
    m_buffer->Unlock(first, firstBytes, second, 0);
    return true;
}

bool SWave::RebuildBuffer()
{
    return CreateBuffer() && FillBuffer();
}

// --- Playback ---------------------------------------------------------------

bool SWave::StartBuffer()
{
    const DWORD flags = m_repeat ? DSBPLAY_LOOPING : 0;
    HRESULT result = m_buffer->Play(0, 0, flags);
    if (result == DSERR_BUFFERLOST)
    {
        FillBuffer();
        SetPlayFrame(m_rangeStart);
        result = m_buffer->Play(0, 0, flags);
    }
    return SUCCEEDED(result);
}

bool SWave::Play(uint32_t start, uint32_t end)
{
    if (!m_buffer)
        return false;
    Stop();
    if (end != 0 && end <= start)
        return false;
    SetPlayFrame(start);
    m_rangeStart = start;
    m_rangeEnd = end == 0 ? GetFrameCount() : end;
    if (!StartBuffer())
        return false;
    m_window.SetTimer(PLAY_TIMER, PLAY_PERIOD);
    return true;
}

void SWave::Stop()
{
    m_paused = false;
    m_window.KillTimer(PLAY_TIMER);
    if (!m_buffer)
        return;
    m_buffer->Stop();
    m_buffer->SetCurrentPosition(0);
    ZeroMeter();
}

bool SWave::TogglePause()
{
    if (!m_buffer)
        return false;
    if (m_paused)
    {
        // Resuming keeps the range: a repeat still goes back to its start.
        const uint32_t cursor = GetPlayFrame(), start = m_rangeStart;
        if (cursor < m_rangeEnd && Play(cursor, m_rangeEnd))
        {
            m_rangeStart = start;
            return true;
        }
        Stop();
        return false;
    }
    if (!IsPlaying())
        return false;
    m_buffer->Stop();
    m_window.KillTimer(PLAY_TIMER);
    m_paused = true;
    ZeroMeter();
    return true;
}

bool SWave::IsPlaying() const
{
    DWORD status = 0;
    return m_buffer && SUCCEEDED(m_buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING) != 0;
}

uint32_t SWave::GetPlayFrame() const
{
    DWORD play = 0, write = 0;
    if (!m_buffer || GetBlockAlign() <= 0 || FAILED(m_buffer->GetCurrentPosition(&play, &write)))
        return 0;
    return play / GetBlockAlign();
}

bool SWave::SetPlayFrame(uint32_t frame)
{
    const uint64_t position = static_cast<uint64_t>(frame) * GetBlockAlign();
    return m_buffer && position <= 0xFFFFFFFFu &&
           SUCCEEDED(m_buffer->SetCurrentPosition(static_cast<DWORD>(position)));
}

DWORD SWave::GetFrequency() const
{
    DWORD frequency = 0;
    if (!m_buffer || FAILED(m_buffer->GetFrequency(&frequency)))
        return 0;
    return frequency;
}

bool SWave::SetFrequency(DWORD frequency)
{
    return m_buffer && SUCCEEDED(m_buffer->SetFrequency(frequency));
}

SWave* SWave::SetRepeat(bool on)
{
    m_repeat = on;
    return this;
}

void SWave::SetMutedChannels(const SArray<int>* channels, bool invert)
{
    m_muted.RemoveAll();
    const int count = GetChannelCount();
    if (invert)
        m_muted.AppendDifference(channels, count);
    else
    {
        // Only real channels, each once: the buffer fill writes into every listed one.
        for (int i = 0; channels && i < channels->GetCount(); i++)
        {
            const int channel = channels->GetAt(i);
            if (channel >= 0 && channel < count && m_muted.Find(channel) < 0)
                m_muted.Add(channel);
        }
    }
    m_muted.Sort();
    RebuildBuffer();
}

void SWave::SetLevelCtrl(SLevelCtrl* meter)
{
    // Both sides know the link, so whichever is destroyed first unlinks the other.
    if (meter != m_level)
    {
        if (m_level)
            m_level->DetachSound(this);
        m_level = meter;
        if (meter)
            meter->AttachSound(this);
    }
    if (meter)
        meter->SetChannelCount(std::max(1, GetChannelCount()));
}

void SWave::SetVisualization(VisualizationCallback callback, LPARAM user)
{
    m_visualization = callback;
    m_visualizationUser = user;
}

void SWave::ZeroMeter()
{
    if (m_level)
        m_level->SetValue(0, -1, true);
}

// --- The tick ---------------------------------------------------------------

void SWave::OnTimerTick()
{
    if (m_rangeEnd < GetFrameCount() && IsPlaying() && GetPlayFrame() >= m_rangeEnd)
    {
        if (m_repeat)
            SetPlayFrame(m_rangeStart);
        else
        {
            OnPlayStopped();
            Stop();
            return;
        }
    }
    if (IsPlaying())
    {
        // The feeds' windows grow with the frame size a file names: a tick
        // that cannot have its memory skips them.
        try
        {
            if (m_level)
                FeedLevelMeter();
            if (m_visualization)
                FeedVisualization();
        }
        catch (const std::bad_alloc&)
        {
        }
        OnPlayTick();
    }
    else
    {
        OnPlayStopped();
        ZeroMeter();
    }
}

// 5 ms at the buffer's playback frequency: from half of it before the cursor to a whole of it after.
void SWave::GetFeedWindow(uint32_t& first, uint32_t& end) const
{
    const int rate = GetSampleRate();
    const int64_t width = rate > 0 ? static_cast<int64_t>(GetFrequency() * (rate / 200.0) / rate) : 0;
    const int64_t cursor = GetPlayFrame();
    first = cursor - width / 2.0 < 0 ? 0 : static_cast<uint32_t>(cursor - width / 2);
    end = static_cast<uint32_t>(std::min<int64_t>(cursor + width, GetFrameCount()));
}

void SWave::FeedLevelMeter()
{
    uint32_t first = 0, end = 0;
    GetFeedWindow(first, end);
    const int align = GetBlockAlign();
    const uint32_t frames = end > first ? end - first : 0;
    std::vector<unsigned char> data(static_cast<size_t>(frames) * align + 1);
    const bool read = ReadAt(static_cast<int64_t>(first) * align, data.data(), static_cast<int>(frames) * align);
    const int minimum = m_level->GetMinimum(), range = m_level->GetMaximum() - minimum;
    for (int c = 0; c < GetChannelCount(); c++)
    {
        double peak = 0;
        for (uint32_t f = 0; read && m_muted.Find(c) < 0 && f < frames; f++)
            peak = std::max(peak, std::fabs(2 * GetSampleNormalized(data.data(), f, c)));
        m_level->SetValue(minimum + static_cast<int>(range * peak), c, false);
    }
}

// Per channel: the peak and 16 band levels, a band being the frequency of each
// period between rises through zero, in steps of 100 Hz.
void SWave::FeedVisualization()
{
    uint32_t first = 0, end = 0;
    GetFeedWindow(first, end);
    const int align = GetBlockAlign(), rate = GetSampleRate();
    const uint32_t frames = end > first ? end - first : 0;
    std::vector<unsigned char> data(static_cast<size_t>(frames) * align + 1);
    const bool read = ReadAt(static_cast<int64_t>(first) * align, data.data(), static_cast<int>(frames) * align);
    BYTE peaks[PEAK_CHANNELS] = {};
    BYTE bands[PEAK_CHANNELS * BAND_COUNT] = {};
    for (int c = 0; read && c < std::min(GetChannelCount(), PEAK_CHANNELS); c++)
    {
        if (m_muted.Find(c) >= 0)
            continue;
        BYTE* level = bands + c * BAND_COUNT;
        bool counting = false;
        int samples = 0;
        BYTE loudest = 0;
        double previous = 0;
        for (uint32_t f = 0; f < frames; f++)
        {
            const double v = GetSampleNormalized(data.data(), f, c);
            const BYTE amplitude = static_cast<BYTE>(std::min(255.0, std::fabs(2 * v) * 255));
            peaks[c] = std::max(peaks[c], amplitude);
            if (f > 0 && previous < 0 && v > 0)
            {
                const int band = counting && samples > 0 ? rate / samples / 100 : -1;
                if (band >= 0 && band < BAND_COUNT)
                    level[band] = std::max(level[band], loudest);
                counting = true;
                samples = 0;
                loudest = 0;
            }
            samples++;
            loudest = std::max(loudest, amplitude);
            previous = v;
        }
    }
    m_visualization(GetChannelCount(), peaks, bands, m_visualizationUser);
}
