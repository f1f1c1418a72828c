// Sounds for the tests: WAVE bytes built field by field, and a DirectSound
// device of the suite's own whose buffers keep their bytes and record Play,
// Stop and the cursor (the device under Wine makes no buffers at all).
#pragma once
#include <dsound.h>
#include <cstdint>
#include <functional>
#include <string>
#include "SLibrary.h"
#include "SMemory.h"

struct WaveSpec
{
    int channels = 2;
    int bits = 16;
    uint32_t rate = 8000;
    int blockAlign = -1;       // -1: channels x bits / 8
    uint32_t formatSize = 16;  // bytes of the "fmt " chunk
    std::string beforeData;    // whole chunks between "fmt " and "data"
};

inline std::string U32(uint32_t v)
{
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

inline std::string U16(unsigned v)
{
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF)};
}

inline std::string MakeWaveBytes(const WaveSpec& s, const std::string& samples)
{
    const int align = s.blockAlign >= 0 ? s.blockAlign : s.channels * s.bits / 8;
    std::string format = U16(1) + U16(s.channels) + U32(s.rate) + U32(s.rate * align) + U16(align) + U16(s.bits);
    format.resize(s.formatSize, '\0');
    const std::string body = "WAVE" + std::string("fmt ") + U32(s.formatSize) + format + s.beforeData + "data" +
                             U32(static_cast<uint32_t>(samples.size())) + samples;
    return "RIFF" + U32(static_cast<uint32_t>(body.size())) + body;
}

// 16-bit little-endian samples from a function of (frame, channel).
inline std::string Samples16(int frames, int channels, const std::function<int(int, int)>& value)
{
    std::string bytes;
    for (int f = 0; f < frames; f++)
        for (int c = 0; c < channels; c++)
            bytes += U16(static_cast<unsigned>(value(f, c)) & 0xFFFF);
    return bytes;
}

inline void FillStream(SMemory& stream, const std::string& bytes)
{
    stream.SetSize(0);
    stream.Write(bytes.data(), static_cast<int>(bytes.size()));
    stream.SeekToStart();
}

class FakeSoundBuffer final : public IDirectSoundBuffer
{
public:
    FakeSoundBuffer(DWORD size, DWORD frequency) : bytes(size, 0xEE), frequency(frequency) {}
    std::string bytes;
    DWORD status = 0, cursor = 0, frequency, playFlags = 0;
    int plays = 0, stops = 0;
    LONG references = 1;

    HRESULT WINAPI QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override
    {
        const LONG left = --references;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT WINAPI GetCurrentPosition(LPDWORD play, LPDWORD write) override
    {
        *play = cursor;
        if (write)
            *write = cursor;
        return S_OK;
    }
    HRESULT WINAPI GetFrequency(LPDWORD out) override { return *out = frequency, S_OK; }
    HRESULT WINAPI GetStatus(LPDWORD out) override { return *out = status, S_OK; }
    HRESULT WINAPI GetCaps(LPDSBCAPS) override { return E_NOTIMPL; }
    HRESULT WINAPI GetFormat(LPWAVEFORMATEX, DWORD, LPDWORD) override { return E_NOTIMPL; }
    HRESULT WINAPI GetVolume(LPLONG) override { return E_NOTIMPL; }
    HRESULT WINAPI GetPan(LPLONG) override { return E_NOTIMPL; }
    HRESULT WINAPI Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return S_OK; }
    HRESULT WINAPI Lock(DWORD, DWORD, LPVOID* first, LPDWORD firstBytes, LPVOID* second, LPDWORD secondBytes,
                        DWORD) override
    {
        *first = &bytes[0];
        *firstBytes = static_cast<DWORD>(bytes.size());
        *second = nullptr;
        *secondBytes = 0;
        return S_OK;
    }
    HRESULT WINAPI Play(DWORD, DWORD, DWORD flags) override
    {
        plays++;
        playFlags = flags;
        status = DSBSTATUS_PLAYING | (flags & DSBPLAY_LOOPING ? DSBSTATUS_LOOPING : 0);
        return S_OK;
    }
    HRESULT WINAPI SetCurrentPosition(DWORD position) override
    {
        if (position > bytes.size())
            return DSERR_INVALIDPARAM;
        cursor = position;
        return S_OK;
    }
    HRESULT WINAPI SetFormat(LPCWAVEFORMATEX) override { return E_NOTIMPL; }
    HRESULT WINAPI SetVolume(LONG) override { return S_OK; }
    HRESULT WINAPI SetPan(LONG) override { return S_OK; }
    HRESULT WINAPI SetFrequency(DWORD value) override { return frequency = value, S_OK; }
    HRESULT WINAPI Stop() override
    {
        stops++;
        status = 0;
        return S_OK;
    }
    HRESULT WINAPI Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return S_OK; }
    HRESULT WINAPI Restore() override { return S_OK; }
};

// Keeps a reference to the last buffer it made, so that a test can read it after the sound let it go.
class FakeDirectSound : public IDirectSound8
{
public:
    FakeSoundBuffer* last = nullptr;
    DSBUFFERDESC description = {};
    int created = 0;
    LONG references = 1;

    ~FakeDirectSound()
    {
        if (last)
            last->Release();
    }
    HRESULT WINAPI QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override { return --references; }
    HRESULT WINAPI CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* out, LPUNKNOWN) override
    {
        description = *desc;
        if (last)
            last->Release();
        last = new FakeSoundBuffer(desc->dwBufferBytes, desc->lpwfxFormat->nSamplesPerSec);
        last->AddRef();
        created++;
        *out = last;
        return S_OK;
    }
    HRESULT WINAPI GetCaps(LPDSCAPS) override { return E_NOTIMPL; }
    HRESULT WINAPI DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPDIRECTSOUNDBUFFER*) override { return E_NOTIMPL; }
    HRESULT WINAPI SetCooperativeLevel(HWND, DWORD) override { return S_OK; }
    HRESULT WINAPI Compact() override { return S_OK; }
    HRESULT WINAPI GetSpeakerConfig(LPDWORD) override { return E_NOTIMPL; }
    HRESULT WINAPI SetSpeakerConfig(DWORD) override { return E_NOTIMPL; }
    HRESULT WINAPI Initialize(LPCGUID) override { return S_OK; }
    HRESULT WINAPI VerifyCertification(LPDWORD) override { return E_NOTIMPL; }
};

// Installs a fake device as the library's for the object's life.
class FakeDeviceInstalled
{
public:
    FakeDeviceInstalled()
    {
        current = &device;
        CreateDirectSoundWith(&Factory, GetLibraryWindow(), DSSCL_PRIORITY);
    }
    ~FakeDeviceInstalled()
    {
        ReleaseDirectSound();
        current = nullptr;
    }
    FakeDirectSound device;

private:
    static HRESULT WINAPI Factory(const GUID*, IDirectSound8** out, IUnknown*)
    {
        current->AddRef();
        *out = current;
        return S_OK;
    }
    static inline FakeDirectSound* current = nullptr;
};
