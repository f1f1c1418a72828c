#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include "SFile.h"
#include "SWave.h"
#include "WaveTestSupport.h"

namespace
{
// 100 frames of stereo 16-bit: channel 0 holds the frame number, channel 1 its negative - 1.
std::string Ramp(int frames = 100, int channels = 2)
{
    return MakeWaveBytes(WaveSpec{channels}, Samples16(frames, channels, [](int f, int c) { return c ? -f - 1 : f; }));
}

bool Load(SWave& sound, const std::string& bytes, bool inMemory = false)
{
    SMemory stream;
    FillStream(stream, bytes);
    return sound.Read(&stream, inMemory, true);
}

bool Refuse(int, LPARAM)
{
    return false;
}

// Answers yes to the given number of questions, then no.
bool RefuseAfter(int, LPARAM left)
{
    return (*reinterpret_cast<int*>(left))-- > 0;
}

std::string DataOf(SWave& sound)
{
    std::string data(sound.GetDataSize(), '\0');
    sound.ReadData(&data[0], 0, static_cast<int>(data.size()));
    return data;
}
} // namespace

TEST(SWaveReadTest, FilesOfPythonsWaveModuleReadWithTheirExactSizes)
{
    const char* folder = getenv("SONAVEL_WAVE_DIR");
    if (!folder || !*folder)
        GTEST_SKIP() << "SONAVEL_WAVE_DIR is not set";
    struct Case
    {
        const char* name;
        bool read;
        int channels, bits, rate, dataSize, silence;
    };
    const Case cases[] = {{"mono8", true, 1, 8, 8000, 100, 128},
                          {"stereo16", true, 2, 16, 44100, 4000, 0},
                          {"mono32", true, 1, 32, 22050, 200, 0},
                          {"stereo24", false, 0, 0, 0, 0, 0}};
    for (const Case& c : cases)
    {
        std::string path = std::string("Z:") + folder + "/" + c.name + ".wav";
        std::replace(path.begin(), path.end(), '/', '\\');
        SFile file(path.c_str(), false, false, true);
        ASSERT_TRUE(file.IsOpen()) << path;
        SWave sound;
        uint32_t size = 0;
        EXPECT_EQ(c.read, sound.Read(&file, false, true, &size)) << c.name;
        EXPECT_EQ(c.read, sound.IsEditable()) << c.name;
        if (!c.read)
            continue;
        EXPECT_EQ(static_cast<uint32_t>(c.dataSize), size) << c.name;
        EXPECT_EQ(c.dataSize, sound.GetDataSize()) << c.name;
        EXPECT_EQ(static_cast<uint32_t>(c.dataSize / (c.channels * c.bits / 8)), sound.GetFrameCount()) << c.name;
        EXPECT_EQ(c.channels, sound.GetChannelCount()) << c.name;
        EXPECT_EQ(c.bits, sound.GetBitsPerSample()) << c.name;
        EXPECT_EQ(c.rate, sound.GetSampleRate()) << c.name;
        EXPECT_EQ(c.silence, sound.GetSilenceValue()) << c.name;
    }
}

TEST(SWaveReadTest, LayoutChecksRefuseWhatSampleOffsetsCannotTrust)
{
    const std::string samples = Samples16(10, 2, [](int f, int c) { return f + c; });
    const auto with = [&](void (*change)(WaveSpec&)) {
        WaveSpec format;
        change(format);
        return MakeWaveBytes(format, samples);
    };
    std::string lowerCase = MakeWaveBytes(WaveSpec{}, samples);
    lowerCase.replace(36, 4, "Data");
    std::string huge = MakeWaveBytes(WaveSpec{}, samples);
    huge.replace(40, 4, U32(0x80000000u));
    struct Case
    {
        const char* name;
        std::string bytes;
        bool read;
    };
    const Case cases[] = {{"plain", MakeWaveBytes(WaveSpec{}, samples), true},
                          {"long format cut", with([](WaveSpec& s) { s.formatSize = 60; }), true},
                          {"short format", with([](WaveSpec& s) { s.formatSize = 14; }), false},
                          {"fact chunk", with([](WaveSpec& s) { s.beforeData = "fact" + U32(4) + U32(10); }), false},
                          {"LIST chunk", with([](WaveSpec& s) { s.beforeData = "LIST" + U32(0); }), false},
                          {"no channels", with([](WaveSpec& s) { s.channels = 0; }), false},
                          {"rate 0", with([](WaveSpec& s) { s.rate = 0; }), false},
                          {"rate 2^31 - 1", with([](WaveSpec& s) { s.rate = 0x7FFFFFFF; }), true},
                          {"rate past 2^31 - 1", with([](WaveSpec& s) { s.rate = 0xBF000000u; }), false},
                          {"block align", with([](WaveSpec& s) { s.blockAlign = 2; }), false},
                          {"24 bits", with([](WaveSpec& s) { s.bits = 24; }), false},
                          {"12 bits", with([](WaveSpec& s) { s.bits = 12; }), false},
                          {"lower-case tag", lowerCase, false},
                          {"over 2 GiB", huge, false}};
    for (const Case& c : cases)
    {
        SWave sound;
        EXPECT_EQ(c.read, Load(sound, c.bytes)) << c.name;
        EXPECT_EQ(c.read, sound.IsLoaded()) << c.name;
        if (c.read)
        {
            EXPECT_GT(sound.GetSampleRate(), 0) << c.name;
            EXPECT_EQ(10u, sound.GetFrameCount()) << c.name;
            EXPECT_EQ(3, sound.GetSample(nullptr, 2, 1)) << c.name;
        }
    }
    // Every cut of a good file is refused.
    const std::string good = MakeWaveBytes(WaveSpec{}, samples);
    for (size_t length = 0; length < good.size(); length++)
    {
        SWave sound;
        EXPECT_FALSE(Load(sound, good.substr(0, length))) << length;
    }
    SWave sound;
    EXPECT_FALSE(sound.Read(nullptr, false, true));
}

TEST(SWaveReadTest, NewSoundsAreSixteenBitWithAnExtensibleRecordForSixChannels)
{
    SWave sound;
    EXPECT_FALSE(sound.New(3, 44100));
    EXPECT_FALSE(sound.New(2, 0));
    ASSERT_TRUE(sound.New(6, 44100));
    const WAVEFORMATEXTENSIBLE& format = sound.GetFormat();
    EXPECT_EQ(0xFFFE, format.Format.wFormatTag);
    EXPECT_EQ(0x3Fu, format.dwChannelMask);
    EXPECT_EQ(12, format.Format.nBlockAlign);
    EXPECT_EQ(529200u, format.Format.nAvgBytesPerSec);
    EXPECT_EQ(22, format.Format.cbSize);
    EXPECT_TRUE(sound.IsEditable());
    EXPECT_EQ(0u, sound.GetFrameCount());
    ASSERT_TRUE(sound.New(2, 44100));
    EXPECT_EQ(1, sound.GetFormat().Format.wFormatTag);
    // A sound read into memory plays but doesn't edit.
    ASSERT_TRUE(Load(sound, Ramp(), true));
    EXPECT_FALSE(sound.IsEditable());
    EXPECT_FALSE(sound.SetOperation(0, 10, -1, nullptr, 0));
    EXPECT_EQ(12, sound.FrameToMs(100));
    EXPECT_EQ(0, sound.FrameToMs(101));
}

TEST(SWaveEditTest, ChunksAreAHundredthRoundedUpToWholeFrames)
{
    struct Case
    {
        int64_t total;
        int unit, chunk;
    };
    const Case cases[] = {{4000, 4, 104}, {40000, 4, 404}, {100, 3, 102}, {0, 12, 108}, {1000000, 6, 10002}};
    for (const Case& c : cases)
        EXPECT_EQ(c.chunk, SWave::ComputeChunkSize(c.total, c.unit)) << c.total;
}

TEST(SWaveEditTest, SelectionsMustLieInTheSound)
{
    SWave sound;
    ASSERT_TRUE(Load(sound, Ramp()));
    EXPECT_TRUE(sound.SetOperation(100, 0, 1, nullptr, 0));
    EXPECT_FALSE(sound.SetOperation(101, 0, -1, nullptr, 0));
    // Start + length wrapping round 32 bits still lies beyond the end.
    EXPECT_FALSE(sound.SetOperation(50, 0xFFFFFFF0u, -1, nullptr, 0));
    EXPECT_FALSE(sound.SetOperation(0, 1, 2, nullptr, 0));
    EXPECT_FALSE(sound.SetOperation(0, 1, -2, nullptr, 0));
}

TEST(SWaveEditTest, DeletingAllChannelsShortensOneChannelShiftsIt)
{
    struct Case
    {
        int channel;
        uint32_t frames;
    };
    for (const Case& c : {Case{-1, 90}, Case{1, 100}})
    {
        SWave sound;
        ASSERT_TRUE(Load(sound, Ramp()));
        ASSERT_TRUE(sound.SetOperation(10, 10, c.channel, nullptr, 0));
        EXPECT_TRUE(sound.DeleteSelection());
        ASSERT_EQ(c.frames, sound.GetFrameCount());
        EXPECT_EQ(-21, sound.GetSample(nullptr, 10, 1)) << c.channel;
        EXPECT_EQ(c.channel < 0 ? 20 : 10, sound.GetSample(nullptr, 10, 0)) << c.channel;
        if (c.channel == 1)
        {
            EXPECT_EQ(-100, sound.GetSample(nullptr, 89, 1));
            for (uint32_t f = 90; f < 100; f++)
                EXPECT_EQ(0, sound.GetSample(nullptr, f, 1)) << f;
            EXPECT_EQ(99, sound.GetSample(nullptr, 99, 0));
        }
    }
}

TEST(SWaveEditTest, OneChannelCopiesAsMonoAndPastesBackIntoAChannel)
{
    SWave sound;
    ASSERT_TRUE(Load(sound, Ramp(1000)));
    SMemory clip;
    ASSERT_TRUE(sound.SetOperation(0, 1000, 1, nullptr, 0));
    EXPECT_TRUE(sound.CopySelection(&clip));
    EXPECT_EQ(2000, clip.GetSize());
    // Pasted at frame 5 of channel 0: 1000 frames more, channel 1 silent there.
    ASSERT_TRUE(sound.SetOperation(5, 0, 0, nullptr, 0));
    EXPECT_TRUE(sound.PasteFrom(&clip));
    EXPECT_EQ(2000u, sound.GetFrameCount());
    EXPECT_EQ(4, sound.GetSample(nullptr, 4, 0));
    EXPECT_EQ(-1, sound.GetSample(nullptr, 5, 0));
    EXPECT_EQ(-1000, sound.GetSample(nullptr, 1004, 0));
    EXPECT_EQ(5, sound.GetSample(nullptr, 1005, 0));
    EXPECT_EQ(-6, sound.GetSample(nullptr, 5, 1));
    EXPECT_EQ(-1000, sound.GetSample(nullptr, 999, 1));
    EXPECT_EQ(0, sound.GetSample(nullptr, 1000, 1));
}

TEST(SWaveEditTest, CutAndPasteOfAllChannelsMovesTheFrames)
{
    SWave sound;
    ASSERT_TRUE(Load(sound, Ramp()));
    SMemory clip;
    ASSERT_TRUE(sound.SetOperation(0, 10, -1, nullptr, 0));
    EXPECT_TRUE(sound.CutSelection(&clip));
    EXPECT_EQ(40, clip.GetSize());
    EXPECT_EQ(90u, sound.GetFrameCount());
    // Replacing frames 80..89 with the clip.
    ASSERT_TRUE(sound.SetOperation(80, 10, -1, nullptr, 0));
    EXPECT_TRUE(sound.PasteFrom(&clip));
    EXPECT_EQ(90u, sound.GetFrameCount());
    EXPECT_EQ(89, sound.GetSample(nullptr, 79, 0));
    EXPECT_EQ(0, sound.GetSample(nullptr, 80, 0));
    EXPECT_EQ(-10, sound.GetSample(nullptr, 89, 1));
    EXPECT_FALSE(sound.InsertSilence(0));
    ASSERT_TRUE(sound.SetOperation(0, 0, -1, nullptr, 0));
    EXPECT_TRUE(sound.InsertSilence(3));
    EXPECT_EQ(0, sound.GetSample(nullptr, 2, 1));
    EXPECT_EQ(10, sound.GetSample(nullptr, 3, 0));
}

TEST(SWaveEditTest, ACallbackRefusingAtOnceLeavesTheSamples)
{
    SWave sound;
    ASSERT_TRUE(Load(sound, Ramp()));
    ASSERT_TRUE(sound.SetOperation(0, 100, -1, &Refuse, 0));
    EXPECT_FALSE(sound.SilenceSelection());
    EXPECT_FALSE(sound.Amplify(2.0));
    EXPECT_EQ(50, sound.GetSample(nullptr, 50, 0));
    EXPECT_EQ(-51, sound.GetSample(nullptr, 50, 1));
    // An insert refused at once leaves the sound as long as it was.
    ASSERT_TRUE(sound.SetOperation(0, 0, -1, &Refuse, 0));
    EXPECT_FALSE(sound.InsertSilence(5));
    EXPECT_EQ(100u, sound.GetFrameCount());
    // Without a callback both run; amplifying clamps.
    ASSERT_TRUE(sound.SetOperation(50, 10, 0, nullptr, 0));
    EXPECT_TRUE(sound.Amplify(1000.0));
    EXPECT_EQ(32767, sound.GetSample(nullptr, 55, 0));
    EXPECT_EQ(-56, sound.GetSample(nullptr, 55, 1));
    EXPECT_TRUE(sound.SilenceSelection());
    EXPECT_EQ(0, sound.GetSample(nullptr, 55, 0));
}

TEST(SWaveEditTest, EightBitSoundsFallSilentAt128)
{
    SWave sound;
    WaveSpec format;
    format.channels = 1;
    format.bits = 8;
    ASSERT_TRUE(Load(sound, MakeWaveBytes(format, std::string(20, '\x10'))));
    EXPECT_EQ(128, sound.GetSilenceValue());
    ASSERT_TRUE(sound.SetOperation(5, 10, -1, nullptr, 0));
    EXPECT_TRUE(sound.SilenceSelection());
    ASSERT_TRUE(sound.SetOperation(0, 0, 0, nullptr, 0));
    EXPECT_TRUE(sound.InsertSilence(2));
    unsigned char bytes[22] = {};
    ASSERT_TRUE(sound.ReadData(bytes, 0, 22));
    EXPECT_EQ(std::string("\x80\x80\x10\x10\x10\x10\x10\x80"), std::string(reinterpret_cast<char*>(bytes), 8));
    EXPECT_EQ(0x10, bytes[21]);
    EXPECT_EQ(-112, sound.GetSample(nullptr, 2, 0));
}

TEST(SWaveEditTest, EditsThatCannotBeMadeChangeNothing)
{
    SWave sound;
    ASSERT_TRUE(Load(sound, Ramp()));
    const auto bytes = [&sound]() {
        std::string data(sound.GetDataSize(), '\0');
        sound.ReadData(&data[0], 0, static_cast<int>(data.size()));
        return data;
    };
    // Deleting the last 10 frames leaves the selection past the end of the sound.
    ASSERT_TRUE(sound.SetOperation(90, 10, -1, nullptr, 0));
    ASSERT_TRUE(sound.DeleteSelection());
    SMemory frame, target;
    frame.Write("\1\0\2\0", 4);
    const std::string shortened = bytes();
    const struct
    {
        const char* name;
        std::function<bool()> edit;
    } stale[] = {{"delete", [&] { return sound.DeleteSelection(); }},
                 {"silence", [&] { return sound.SilenceSelection(); }},
                 {"amplify", [&] { return sound.Amplify(2.0); }},
                 {"copy", [&] { return sound.CopySelection(&target); }},
                 {"cut", [&] { return sound.CutSelection(&target); }},
                 {"paste", [&] { return sound.PasteFrom(&frame); }},
                 {"insert", [&] { return sound.InsertSilence(3); }}};
    for (const auto& c : stale)
    {
        EXPECT_FALSE(c.edit()) << c.name;
        EXPECT_TRUE(shortened == bytes()) << c.name;
        EXPECT_EQ(0, target.GetSize()) << c.name;
    }
    // Less than a frame to paste, and more frames than the data can hold, keep the selection.
    SMemory sample;
    sample.Write("\1\0", 2);
    ASSERT_TRUE(sound.SetOperation(10, 5, -1, nullptr, 0));
    EXPECT_FALSE(sound.PasteFrom(&sample));
    EXPECT_FALSE(sound.InsertSilence(0x20000000u));
    EXPECT_TRUE(shortened == bytes());
    EXPECT_EQ(10u, sound.GetSelectionStart());
    EXPECT_EQ(5u, sound.GetSelectionLength());
    EXPECT_EQ(2, sample.GetSize());
}

// Stereo ramps of 20000 frames: each edit runs about 100 chunks. Cancelled at
// any of them the sound is as it was; run to the end it is the model's.
TEST(SWaveEditTest, EditsThatMoveFramesAreWholeOrNotMadeAtAll)
{
    typedef std::vector<std::pair<int, int>> Frames;
    const int total = 20000;
    Frames ramp;
    for (int f = 0; f < total; f++)
        ramp.push_back({f, -f - 1});
    Frames clip(3000, {7, -7});
    std::string clipBytes;
    for (const auto& f : clip)
        clipBytes += Samples16(1, 2, [&](int, int c) { return c ? f.second : f.first; });
    const auto replaced = [&](int start, int length, const Frames& inserted, int channel) {
        Frames all = ramp, edited = ramp;
        edited.erase(edited.begin() + start, edited.begin() + start + length);
        edited.insert(edited.begin() + start, inserted.begin(), inserted.end());
        if (channel < 0)
            return edited;
        // One channel moves alone; the others keep their frames and grow silent.
        all.resize(ramp.size() + inserted.size(), {0, 0});
        edited.resize(all.size(), {0, 0});
        for (size_t f = 0; f < all.size(); f++)
            (channel ? all[f].second : all[f].first) = channel ? edited[f].second : edited[f].first;
        return all;
    };
    const auto bytesOf = [](const Frames& frames) {
        std::string bytes;
        for (const auto& f : frames)
            bytes += U16(f.first & 0xFFFF) + U16(f.second & 0xFFFF);
        return bytes;
    };
    const struct
    {
        const char* name;
        int start, length, channel;
        std::function<bool(SWave&, SMemory&)> edit;
        Frames model;
    } cases[] = {
        {"insert", 500, 200, -1, [](SWave& s, SMemory&) { return s.InsertSilence(1000); },
         replaced(500, 200, Frames(1000, {0, 0}), -1)},
        {"insert into a channel", 500, 200, 1, [](SWave& s, SMemory&) { return s.InsertSilence(1000); },
         replaced(500, 200, Frames(1000, {0, 0}), 1)},
        {"paste", 500, 200, -1, [](SWave& s, SMemory& m) { return s.PasteFrom(&m); }, replaced(500, 200, clip, -1)},
        {"delete", 500, 200, -1, [](SWave& s, SMemory&) { return s.DeleteSelection(); }, replaced(500, 200, {}, -1)},
        {"delete in a channel", 500, 200, 0, [](SWave& s, SMemory&) { return s.DeleteSelection(); },
         replaced(500, 200, {}, 0)}};
    for (const auto& c : cases)
        for (int answers : {1, 50, 99, 1000})
        {
            SWave sound;
            ASSERT_TRUE(Load(sound, MakeWaveBytes(WaveSpec{}, bytesOf(ramp))));
            SMemory source;
            FillStream(source, clipBytes);
            int left = answers;
            ASSERT_TRUE(sound.SetOperation(c.start, c.length, c.channel, &RefuseAfter, reinterpret_cast<LPARAM>(&left)));
            const bool done = c.edit(sound, source);
            EXPECT_EQ(answers == 1000, done) << c.name << answers;
            EXPECT_EQ(done, sound.HasChangedFrames()) << c.name << answers;
            EXPECT_TRUE((done ? bytesOf(c.model) : bytesOf(ramp)) == DataOf(sound)) << c.name << answers;
        }
}
