// The sound's life: reading the WAVE layout, new empty sounds, closing, the
// queries, and single samples in a buffer or the data stream.
#include "SWave.h"
#include <dsound.h>
#include <climits>
#include <cstring>
#include <new>
#include "SLevelCtrl.h"

namespace
{
const WORD FORMAT_EXTENSIBLE = 0xFFFE;
const DWORD ALL_SIX_SPEAKERS = 0x3F;
// KSDATAFORMAT_SUBTYPE_PCM.
const GUID SUBTYPE_PCM = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// The format record holds the extensible form at most.
const uint32_t RECORD_SIZE = sizeof(WAVEFORMATEXTENSIBLE);
const uint32_t MINIMUM_RECORD = 16;

bool ReadTag(SVirtualFile* stream, const char* tag)
{
    char read[4] = {};
    return stream->Read(read, 4) == 4 && memcmp(read, tag, 4) == 0;
}

bool ReadU32(SVirtualFile* stream, uint32_t& value)
{
    unsigned char bytes[4] = {};
    if (stream->Read(bytes, 4) != 4)
        return false;
    value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

// The record as read, or false: a record that sample offsets cannot trust is refused.
bool ReadFormat(SVirtualFile* stream, WAVEFORMATEXTENSIBLE& format)
{
    uint32_t size = 0;
    if (!ReadTag(stream, "fmt ") || !ReadU32(stream, size) || size < MINIMUM_RECORD)
        return false;
    memset(&format, 0, sizeof(format));
    const uint32_t kept = size < RECORD_SIZE ? size : RECORD_SIZE;
    if (stream->Read(&format, static_cast<int>(kept)) != static_cast<int>(kept))
        return false;
    // A longer record is cut to ours; the rest must still be there.
    const int64_t rest = static_cast<int64_t>(size) - kept;
    if (rest > 0 && (stream->GetRemaining() < rest || stream->Skip(static_cast<int>(rest)) < 0))
        return false;
    // The device reads this many extra bytes from the record: never past it.
    if (format.Format.cbSize > RECORD_SIZE - sizeof(WAVEFORMATEX))
        format.Format.cbSize = RECORD_SIZE - sizeof(WAVEFORMATEX);
    const WAVEFORMATEX& f = format.Format;
    const int bits = f.wBitsPerSample;
    // The rate is read back as a signed 32-bit number.
    return (bits == 8 || bits == 16 || bits == 32) && f.nChannels > 0 && f.nSamplesPerSec > 0 &&
           f.nSamplesPerSec <= static_cast<DWORD>(INT_MAX) && f.nBlockAlign == f.nChannels * bits / 8;
}
} // namespace

LRESULT SWave::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_TIMER:
        if (wParam == PLAY_TIMER && m_sound)
        {
            m_sound->OnTimerTick();
            return 0;
        }
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

SWave::SWave()
    : m_window(this), m_loaded(false), m_inMemory(false), m_silence(0), m_format(), m_current(0), m_repeat(false),
      m_paused(false), m_rangeStart(0), m_rangeEnd(0), m_selectionStart(0), m_selectionLength(0),
      m_selectedChannel(-1), m_step(0), m_stepCount(1), m_progress(nullptr), m_progressUser(0),
      m_level(nullptr), m_visualization(nullptr), m_visualizationUser(0),
      m_changed(false)
{
    m_window.CreateMessageWindow();
    Close();
}

SWave::~SWave()
{
    // A linked meter is alive (it unlinks itself when destroyed): it falls silent, then forgets us.
    Close();
    SetLevelCtrl(nullptr);
}

void SWave::Close()
{
    Stop();
    m_loaded = false;
    m_inMemory = false;
    m_silence = 0;
    memset(&m_format, 0, sizeof(m_format));
    m_repeat = false;
    m_paused = false;
    m_rangeStart = m_rangeEnd = 0;
    m_muted.RemoveAll();
    m_selectionStart = m_selectionLength = 0;
    m_selectedChannel = -1;
    m_step = 0;
    m_stepCount = 1;
    m_progress = nullptr;
    m_progressUser = 0;
    m_visualization = nullptr;
    m_visualizationUser = 0;
    m_buffer.Reset();
    m_files[0].Close();
    m_files[1].Close();
    m_current = 0;
    m_changed = false;
    m_memory.Close();
}

void SWave::CloseIfLoaded()
{
    if (m_loaded)
        Close();
}

bool SWave::Read(SVirtualFile* stream, bool inMemory, bool loadData, uint32_t* dataSize)
{
    if (!stream)
        return false;
    Close();
    WAVEFORMATEXTENSIBLE format;
    uint32_t size = 0, riffSize = 0;
    if (!ReadTag(stream, "RIFF") || !ReadU32(stream, riffSize) || !ReadTag(stream, "WAVE") ||
        !ReadFormat(stream, format) || !ReadTag(stream, "data") || !ReadU32(stream, size))
        return false;
    // The streams address 2 GiB at most.
    if (size > static_cast<uint32_t>(INT_MAX))
        return false;
    m_format = format;
    m_silence = format.Format.wBitsPerSample == 8 ? 128 : 0;
    // A sound too large for memory is refused, not the end of the program.
    try
    {
        if (loadData && !LoadData(stream, inMemory, size))
        {
            Close();
            return false;
        }
        m_loaded = true;
        m_inMemory = inMemory;
        RebuildBuffer();
    }
    catch (const std::bad_alloc&)
    {
        Close();
        return false;
    }
    if (dataSize)
        *dataSize = size;
    if (m_level)
        SetLevelCtrl(m_level);
    return true;
}

bool SWave::LoadData(SVirtualFile* stream, bool inMemory, uint32_t size)
{
    SVirtualFile* target = &m_memory;
    if (!inMemory)
    {
        if (!m_files[m_current].OpenTemporary())
            return false;
        target = &m_files[m_current];
    }
    const int count = static_cast<int>(size);
    if (count > 0 && target->CopyFrom(stream, count) != count)
        return false;
    // A partial frame at the end cannot be played or edited: only whole frames are kept.
    const int whole = count - count % GetBlockAlign();
    if (whole != count && !target->SetSize(whole))
        return false;
    target->SeekToStart();
    return true;
}

bool SWave::New(int channels, int samplesPerSecond)
{
    Close();
    if ((channels != 1 && channels != 2 && channels != 6) || samplesPerSecond < 1)
        return false;
    WAVEFORMATEX& f = m_format.Format;
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = static_cast<WORD>(channels);
    f.nSamplesPerSec = static_cast<DWORD>(samplesPerSecond);
    f.wBitsPerSample = 16;
    f.nBlockAlign = static_cast<WORD>(channels * 16 / 8);
    f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
    f.cbSize = 18;
    if (channels > 2)
    {
        f.wFormatTag = FORMAT_EXTENSIBLE;
        f.cbSize = 22;
        m_format.Samples.wValidBitsPerSample = 16;
        m_format.dwChannelMask = ALL_SIX_SPEAKERS;
        m_format.SubFormat = SUBTYPE_PCM;
    }
    if (!m_files[m_current].OpenTemporary())
    {
        Close();
        return false;
    }
    m_loaded = true;
    m_inMemory = false;
    if (m_level)
        SetLevelCtrl(m_level);
    return true;
}

// --- Queries ----------------------------------------------------------------

int SWave::GetDataSize() const
{
    const SVirtualFile* stream = m_inMemory ? static_cast<const SVirtualFile*>(&m_memory) : &m_files[m_current];
    const int size = stream->IsOpen() ? stream->GetSize() : 0;
    return size < 0 ? 0 : size;
}

uint32_t SWave::GetFrameCount() const
{
    const int align = GetBlockAlign();
    return align > 0 ? static_cast<uint32_t>(GetDataSize() / align) : 0;
}

int SWave::GetAudibleChannelCount() const
{
    const int audible = GetChannelCount() - m_muted.GetCount();
    return audible < 0 ? 0 : audible;
}

SVirtualFile* SWave::GetDataStream()
{
    return m_inMemory ? static_cast<SVirtualFile*>(&m_memory) : &m_files[m_current];
}

SVirtualFile* SWave::GetRewoundDataStream()
{
    SVirtualFile* stream = GetDataStream();
    stream->SeekToStart();
    return stream;
}

int64_t SWave::FrameToMs(uint32_t frame) const
{
    if (!m_loaded || frame > GetFrameCount() || GetSampleRate() <= 0)
        return 0;
    return static_cast<int64_t>(frame * (1000.0 / GetSampleRate()));
}

int SWave::BytesPerSample() const
{
    return GetChannelCount() > 0 ? GetBlockAlign() / GetChannelCount() : 0;
}

// --- Samples ----------------------------------------------------------------

bool SWave::ReadData(void* buffer, int64_t offset, int count)
{
    return m_loaded && ReadAt(offset, buffer, count);
}

bool SWave::ReadAt(int64_t offset, void* buffer, int count)
{
    SVirtualFile* stream = GetDataStream();
    if (!buffer || count < 0 || offset < 0 || offset + count > GetDataSize())
        return false;
    if (count == 0)
        return true;
    return stream->Seek(static_cast<int>(offset)) == offset && stream->Read(buffer, count) == count;
}

bool SWave::WriteAt(int64_t offset, const void* buffer, int count)
{
    SVirtualFile* stream = GetDataStream();
    if (!buffer || count < 0 || offset < 0 || offset > GetDataSize() || offset + count > INT_MAX)
        return false;
    if (count == 0)
        return true;
    if (stream->Seek(static_cast<int>(offset)) != offset)
        return false;
    // A short write has still changed frames.
    m_changed = true;
    return stream->Write(buffer, count) == count;
}

int64_t SWave::GetSample(const void* buffer, uint32_t frame, int channel)
{
    const int channels = GetChannelCount(), width = BytesPerSample();
    if (channel >= channels || width < 1 || width > 4)
        return 0;
    if (channel < 0)
    {
        int64_t sum = 0;
        for (int c = 0; c < channels; c++)
            sum += GetSample(buffer, frame, c);
        return sum / channels;
    }
    const int64_t offset = static_cast<int64_t>(frame) * GetBlockAlign() + channel * width;
    unsigned char bytes[4] = {};
    if (buffer)
        memcpy(bytes, static_cast<const unsigned char*>(buffer) + offset, width);
    else if (!ReadAt(offset, bytes, width))
        return 0;
    // The most significant byte first, sign-extended; 8-bit samples are unsigned around 128.
    int64_t value = width == 1 ? bytes[0] - 128 : static_cast<signed char>(bytes[width - 1]);
    for (int i = width - 2; i >= 0; i--)
        value = value * 256 + bytes[i];
    return value;
}

double SWave::GetSampleNormalized(const void* buffer, uint32_t frame, int channel)
{
    const int width = BytesPerSample();
    double scale = 1;
    for (int i = 0; i < width; i++)
        scale *= 256;
    return static_cast<double>(GetSample(buffer, frame, channel)) / scale;
}

void SWave::SetSample(void* buffer, uint32_t frame, int channel, int64_t value) const
{
    const int channels = GetChannelCount(), width = BytesPerSample();
    if (!buffer || channel >= channels || width < 1 || width > 4)
        return;
    if (channel < 0)
    {
        for (int c = 0; c < channels; c++)
            SetSample(buffer, frame, c, value);
        return;
    }
    const int64_t low = width == 1 ? -128 : width == 2 ? -32768 : INT32_MIN;
    const int64_t high = width == 1 ? 127 : width == 2 ? 32767 : INT32_MAX;
    value = value < low ? low : value > high ? high : value;
    if (width == 1)
        value += 128;
    unsigned char* p = static_cast<unsigned char*>(buffer) + static_cast<int64_t>(frame) * GetBlockAlign() +
                       channel * width;
    for (int i = 0; i < width; i++)
        p[i] = static_cast<unsigned char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
}
