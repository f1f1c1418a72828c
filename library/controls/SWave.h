// One PCM sound read from a RIFF WAVE stream or made empty: held in memory (play
// only) or in a temporary file (editable), edited in chunks with progress, and
// played through one DirectSound buffer on the library's device object.
#pragma once
#include "SPlatform.h"
#include <mmsystem.h>
#include <mmreg.h>
#include <cstdint>
#include <vector>
#include "SArray.h"
#include "SFile.h"
#include "SGuards.h"
#include "SMemory.h"
#include "SWnd.h"

class SLevelCtrl;
struct IDirectSoundBuffer;

class SWave
{
public:
    // Asked before each chunk of an edit with the percentage done; false cancels.
    // The user value is pointer-sized so that an owner can pass itself.
    typedef bool (*ProgressCallback)(int percent, LPARAM user);
    // Fed on every playback tick: channel count, PEAK_CHANNELS peak bytes and
    // PEAK_CHANNELS x BAND_COUNT band bytes (0..255).
    typedef bool (*VisualizationCallback)(int channels, const BYTE* peaks, const BYTE* bands, LPARAM user);

    static const UINT_PTR PLAY_TIMER = 1000;
    static const UINT PLAY_PERIOD = 5;
    static const int PEAK_CHANNELS = 6;
    static const int BAND_COUNT = 16;
    static const int FILL_FRAMES = 10000;

    // The never-shown window that owns the playback timer.
    class _SWnd : public SWnd
    {
    public:
        explicit _SWnd(SWave* sound) : m_sound(sound) {}
        ~_SWnd() override { DestroyWindow(); }
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        SWave* m_sound;
    };

    SWave();
    virtual ~SWave();
    SWave(const SWave&) = delete;
    SWave& operator=(const SWave&) = delete;
    // Called on each timer tick while the sound plays; empty here.
    virtual void OnPlayTick() {}
    // Called on a tick once playback has ended; empty here.
    virtual void OnPlayStopped() {}

    // Reading and making (SWave.cpp).
    bool Read(SVirtualFile* stream, bool inMemory, bool loadData, uint32_t* dataSize = nullptr);
    bool New(int channels, int samplesPerSecond);
    void Close();
    void CloseIfLoaded();

    bool IsLoaded() const { return m_loaded; }
    bool IsInMemory() const { return m_inMemory; }
    bool IsEditable() const { return m_loaded && !m_inMemory; }
    const WAVEFORMATEXTENSIBLE& GetFormat() const { return m_format; }
    int GetChannelCount() const { return m_format.Format.nChannels; }
    int GetSampleRate() const { return static_cast<int>(m_format.Format.nSamplesPerSec); }
    int GetBitsPerSample() const { return m_format.Format.wBitsPerSample; }
    int GetBlockAlign() const { return m_format.Format.nBlockAlign; }
    int GetSilenceValue() const { return m_silence; }
    int GetDataSize() const;
    uint32_t GetFrameCount() const;
    int GetAudibleChannelCount() const;
    SVirtualFile* GetDataStream();
    SVirtualFile* GetRewoundDataStream();
    uint32_t GetRangeStart() const { return m_rangeStart; }
    uint32_t GetRangeEnd() const { return m_rangeEnd; }
    SLevelCtrl* GetLevelCtrl() const { return m_level; }
    int64_t FrameToMs(uint32_t frame) const;

    // Samples: the buffer holds whole frames from frame 0; a null buffer reads the data stream.
    bool ReadData(void* buffer, int64_t offset, int count);
    int64_t GetSample(const void* buffer, uint32_t frame, int channel);
    double GetSampleNormalized(const void* buffer, uint32_t frame, int channel);
    void SetSample(void* buffer, uint32_t frame, int channel, int64_t value) const;

    // Edits on the selection set by SetOperation (SWaveEdit.cpp); each is true when it ran to the end.
    bool SetOperation(uint32_t start, uint32_t length, int channel, ProgressCallback callback, LPARAM user);
    bool CopySelection(SVirtualFile* target);
    bool CutSelection(SVirtualFile* target);
    bool PasteFrom(SVirtualFile* source);
    bool DeleteSelection();
    bool SilenceSelection();
    bool InsertSilence(uint32_t frames);
    bool Amplify(double factor);
    bool ScanSelection();
    // Whether an edit since SetOperation wrote any frame, even one that was then cancelled.
    bool HasChangedFrames() const { return m_changed; }
    uint32_t GetSelectionStart() const { return m_selectionStart; }
    uint32_t GetSelectionLength() const { return m_selectionLength; }
    int GetSelectedChannel() const { return m_selectedChannel; }
    // The bytes an edit handles at once: a hundredth of the total, at least 100,
    // raised to the next whole multiple of the unit.
    static int ComputeChunkSize(int64_t totalBytes, int unit);

    // Sound buffer and playback (SWavePlay.cpp).
    bool CreateBuffer();
    bool FillBuffer();
    bool RebuildBuffer();
    bool HasBuffer() const { return m_buffer.Get() != nullptr; }
    bool Play(uint32_t start, uint32_t end = 0);
    void Stop();
    bool TogglePause();
    bool IsPlaying() const;
    bool IsPaused() const { return m_paused; }
    uint32_t GetPlayFrame() const;
    bool SetPlayFrame(uint32_t frame);
    DWORD GetFrequency() const;
    bool SetFrequency(DWORD frequency);
    SWave* SetRepeat(bool on);
    bool IsRepeat() const { return m_repeat; }
    // With invert the array names the only channels heard.
    void SetMutedChannels(const SArray<int>* channels, bool invert);
    const SArray<int>& GetMutedChannels() const { return m_muted; }
    void SetLevelCtrl(SLevelCtrl* meter);
    // Cleared again by Close: set it after the sound is loaded.
    void SetVisualization(VisualizationCallback callback, LPARAM user);
    SWnd* GetHiddenWindow() { return &m_window; }

protected:
    void OnTimerTick();
    void FeedLevelMeter();
    void FeedVisualization();
    bool ReportProgress(int chunk);

private:
    // Frames of an edited sound (or samples of its selected channel): taken from
    // the sound, from a source stream, or silent.
    struct Run
    {
        enum Kind
        {
            SOUND,
            SOURCE,
            SILENCE
        } kind;
        int64_t first, count;
    };
    typedef std::vector<Run> Runs;

    // A chunk visitor: offset from the start of the walked range, and byte count.
    template <class Visit>
    bool WalkChunks(int64_t total, int chunk, Visit visit);
    bool IsSelectionEditable() const;
    bool FitsAfterInsert(int64_t frames) const;
    bool ReadAt(int64_t offset, void* buffer, int count);
    bool WriteAt(int64_t offset, const void* buffer, int count);
    bool CopyChannelTo(SVirtualFile* target);
    bool ZeroFrames(uint32_t first, uint32_t count, int channel);
    bool ReplaceSelection(Run::Kind kind, int64_t count, SVirtualFile* source);
    bool Compose(const Runs& frames, const Runs& samples, SVirtualFile* source);
    bool FillRuns(const Runs& runs, int64_t first, int count, int channel, SVirtualFile* source,
                  unsigned char* out, unsigned char* scratch);
    void FinishEdit(bool refillOnly);
    bool LoadData(SVirtualFile* stream, bool inMemory, uint32_t size);
    bool StartBuffer();
    void ZeroMeter();
    void GetFeedWindow(uint32_t& first, uint32_t& end) const;
    int BytesPerSample() const;

    _SWnd m_window;
    bool m_loaded;
    bool m_inMemory;
    int m_silence;
    WAVEFORMATEXTENSIBLE m_format;
    // The editable data and the spare an edit that moves frames writes into; the
    // two change places only once the spare holds the whole edited sound.
    SFile m_files[2];
    int m_current;
    SMemory m_memory;
    SComPtr<IDirectSoundBuffer> m_buffer;
    bool m_repeat;
    bool m_paused;
    uint32_t m_rangeStart, m_rangeEnd;
    SArray<int> m_muted;
    uint32_t m_selectionStart, m_selectionLength;
    int m_selectedChannel;
    int m_step, m_stepCount;
    ProgressCallback m_progress;
    LPARAM m_progressUser;
    SLevelCtrl* m_level;
    VisualizationCallback m_visualization;
    LPARAM m_visualizationUser;
    bool m_changed;
};

static_assert(sizeof(WAVEFORMATEXTENSIBLE) == 40, "the format record is 40 bytes");
