#include <gtest/gtest.h>
#include "SLevelCtrl.h"
#include "SVisualizationCtrl.h"
#include "SWave.h"
#include "WaveTestSupport.h"

namespace
{
class CountingWave : public SWave
{
public:
    int ticks = 0, stopped = 0;
    void OnPlayTick() override { ticks++; }
    void OnPlayStopped() override { stopped++; }
};

class SWavePlayTest : public ::testing::Test
{
protected:
    // 100 frames of stereo 16-bit at 8000 Hz: 4 bytes a frame.
    void Load(const std::string& samples)
    {
        SMemory stream;
        FillStream(stream, MakeWaveBytes(WaveSpec{}, samples));
        ASSERT_TRUE(sound.Read(&stream, false, true));
        ASSERT_TRUE(sound.HasBuffer());
        buffer = fake.device.last;
    }
    void Tick() { sound.GetHiddenWindow()->SendMessage(WM_TIMER, SWave::PLAY_TIMER, 0); }
    std::string DataBytes()
    {
        std::string bytes(sound.GetDataSize(), '\0');
        sound.ReadData(&bytes[0], 0, static_cast<int>(bytes.size()));
        return bytes;
    }

    FakeDeviceInstalled fake;
    CountingWave sound;
    FakeSoundBuffer* buffer = nullptr;
};

int cancelAfter = 0;
bool CancelLater(int, LPARAM)
{
    return cancelAfter-- > 0;
}
} // namespace

TEST(SWaveNoDeviceTest, WithoutADeviceNothingPlays)
{
    ASSERT_EQ(nullptr, GetDirectSound());
    SWave sound;
    SMemory stream;
    FillStream(stream, MakeWaveBytes(WaveSpec{}, std::string(40, '\1')));
    ASSERT_TRUE(sound.Read(&stream, false, true));
    EXPECT_FALSE(sound.HasBuffer());
    EXPECT_FALSE(sound.Play(0, 0));
    EXPECT_FALSE(sound.TogglePause());
    EXPECT_FALSE(sound.IsPlaying());
}

TEST_F(SWavePlayTest, TheBufferHoldsTheWholeDataInTheSoundsFormat)
{
    Load(Samples16(100, 2, [](int f, int c) { return f * 2 + c; }));
    EXPECT_EQ(sizeof(DSBUFFERDESC), fake.device.description.dwSize);
    EXPECT_EQ(0x180E0u, fake.device.description.dwFlags);
    EXPECT_EQ(400u, fake.device.description.dwBufferBytes);
    EXPECT_EQ(DataBytes(), buffer->bytes);
    // Muted channels are silent in the buffer only; all muted leaves no buffer.
    SArray<int> heard;
    heard.Add(0);
    sound.SetMutedChannels(&heard, true);
    buffer = fake.device.last;
    EXPECT_EQ(1, sound.GetAudibleChannelCount());
    EXPECT_EQ(std::string("\x04\0\0\0", 4), buffer->bytes.substr(8, 4));
    EXPECT_EQ(5, sound.GetSample(nullptr, 2, 1));
    SArray<int> none;
    sound.SetMutedChannels(&none, true);
    EXPECT_FALSE(sound.HasBuffer());
    EXPECT_FALSE(sound.Play(0, 0));
}

TEST_F(SWavePlayTest, PlayRunsARangeAndStopsOrRepeatsAtItsEnd)
{
    Load(Samples16(100, 2, [](int, int) { return 0; }));
    EXPECT_FALSE(sound.Play(50, 50));
    EXPECT_FALSE(sound.Play(60, 50));
    EXPECT_EQ(0, buffer->plays);
    ASSERT_TRUE(sound.Play(0, 0));
    EXPECT_EQ(100u, sound.GetRangeEnd());
    Tick();
    EXPECT_EQ(1, sound.ticks);
    // The buffer ran to the end by itself.
    buffer->status = 0;
    Tick();
    EXPECT_EQ(1, sound.stopped);

    ASSERT_TRUE(sound.Play(10, 50));
    EXPECT_EQ(40u, buffer->cursor);
    buffer->cursor = 50 * 4;
    const int stops = buffer->stops;
    Tick();
    EXPECT_EQ(2, sound.stopped);
    EXPECT_EQ(stops + 1, buffer->stops);
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(0u, buffer->cursor);

    sound.SetRepeat(true);
    ASSERT_TRUE(sound.Play(10, 50));
    EXPECT_EQ(static_cast<DWORD>(DSBPLAY_LOOPING), buffer->playFlags);
    buffer->cursor = 60 * 4;
    Tick();
    EXPECT_EQ(10u, sound.GetPlayFrame());
    EXPECT_TRUE(sound.IsPlaying());
    EXPECT_EQ(2, sound.stopped);
}

TEST_F(SWavePlayTest, PauseKeepsTheCursorAndResumesFromIt)
{
    Load(Samples16(100, 2, [](int, int) { return 0; }));
    EXPECT_FALSE(sound.TogglePause());
    ASSERT_TRUE(sound.Play(20, 80));
    buffer->cursor = 40 * 4;
    EXPECT_TRUE(sound.TogglePause());
    EXPECT_TRUE(sound.IsPaused());
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(40u, sound.GetPlayFrame());
    EXPECT_TRUE(sound.TogglePause());
    EXPECT_FALSE(sound.IsPaused());
    EXPECT_TRUE(sound.IsPlaying());
    EXPECT_EQ(40u, sound.GetPlayFrame());
    EXPECT_EQ(20u, sound.GetRangeStart());
    EXPECT_EQ(80u, sound.GetRangeEnd());
    // An edit stops playback.
    ASSERT_TRUE(sound.SetOperation(0, 0, -1, nullptr, 0));
    EXPECT_FALSE(sound.IsPlaying());
}

TEST_F(SWavePlayTest, TheMeterGetsThePeaksOfFiveMilliseconds)
{
    // 44100 Hz: a window of 220 frames, from 110 before the cursor.
    const std::string samples = Samples16(4000, 2, [](int f, int c) { return c == 0 ? 8192 : (f == 1000 ? -16384 : 0); });
    WaveSpec format;
    format.rate = 44100;
    SMemory stream;
    FillStream(stream, MakeWaveBytes(format, samples));
    ASSERT_TRUE(sound.Read(&stream, false, true));
    buffer = fake.device.last;
    SLevelCtrl meter;
    sound.SetLevelCtrl(&meter);
    EXPECT_EQ(2, meter.GetChannelCount());
    ASSERT_TRUE(sound.Play(0, 0));
    struct Step
    {
        DWORD frame;
        int left, right;
    };
    for (const Step& s : {Step{1000, 250, 500}, Step{891, 250, 500}, Step{2000, 250, 0}})
    {
        buffer->cursor = s.frame * 4;
        Tick();
        EXPECT_EQ(s.left, meter.GetValue(0)) << s.frame;
        EXPECT_EQ(s.right, meter.GetValue(1)) << s.frame;
    }
    sound.Stop();
    EXPECT_EQ(0, meter.GetValue(0));
    sound.SetLevelCtrl(nullptr);
}

TEST_F(SWavePlayTest, ACancelledDeleteLeavesTheFramesAndTheBuffer)
{
    Load(Samples16(100, 2, [](int f, int c) { return f + c; }));
    cancelAfter = 2;
    ASSERT_TRUE(sound.SetOperation(10, 10, -1, &CancelLater, 0));
    EXPECT_FALSE(sound.DeleteSelection());
    EXPECT_EQ(100u, sound.GetFrameCount());
    EXPECT_EQ(20, sound.GetSample(nullptr, 20, 0));
    EXPECT_EQ(DataBytes(), fake.device.last->bytes);
}

TEST(SVisualizationCtrlTest, SoundDataIsCopiedWithinWhatTheSoundGives)
{
    SVisualizationCtrl view;
    BYTE peaks[SWave::PEAK_CHANNELS] = {1, 2, 3, 4, 5, 6};
    BYTE bands[SWave::PEAK_CHANNELS * SWave::BAND_COUNT] = {};
    bands[95] = 77;
    EXPECT_TRUE(SVisualizationCtrl::OnSoundData(8, peaks, bands, reinterpret_cast<LPARAM>(&view)));
    EXPECT_EQ(8, view.GetChannelCount());
    EXPECT_EQ(6, view.GetPeaks()[5]);
    EXPECT_EQ(0, view.GetPeaks()[6]);
    EXPECT_EQ(77, view.GetBands()[95]);
    EXPECT_EQ(0, view.GetBands()[96]);
    EXPECT_TRUE(SVisualizationCtrl::OnSoundData(-3, peaks, bands, reinterpret_cast<LPARAM>(&view)));
    EXPECT_EQ(0, view.GetChannelCount());
    view.FreeData();
    EXPECT_EQ(1, view.GetChannelCount());
    EXPECT_EQ(nullptr, view.GetBands());
}
