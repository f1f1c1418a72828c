#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <thread>
#include "../window/HeldKeys.h"
#include "../window/ImageCanvas.h"
#include "SWaveCtrl.h"
#include <psapi.h>
#include "WaveTestSupport.h"

namespace
{
const COLORREF BACK = RGB(240, 240, 200), OTHER_BACK = RGB(90, 90, 90), LINE = RGB(0, 0, 255),
               CARET = RGB(255, 0, 255), WAVE = RGB(0, 128, 0);

void SendKey(WORD key, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

// An editor whose user presses Esc, as the system sees it, once the given number
// of chunks are done, and whose clip streams may refuse their writes.
class EscapeEditor : public SWaveCtrl
{
public:
    bool failingClip = false;
    void PressEscapeAfter(int chunks)
    {
        escapeAfter = chunks;
        drawn = 0;
    }
    void ReleaseEscape()
    {
        if (pressed)
            SendKey(VK_ESCAPE, KEYEVENTF_KEYUP);
        pressed = false;
        drawn = 0;
        for (int tries = 0; tries < 50 && (GetAsyncKeyState(VK_ESCAPE) & 0x8000); tries++)
            Sleep(10);
        PumpPendingMessages();
    }

protected:
    // Called once as the edit begins, then before each chunk. No messages are
    // pumped meanwhile: the key press waits in the queue as it would for a user.
    void DrawProgress(int percent) override
    {
        SWaveCtrl::DrawProgress(percent);
        if (drawn++ != escapeAfter || pressed)
            return;
        SendKey(VK_ESCAPE, 0);
        pressed = true;
        for (int tries = 0; tries < 50 && !(GetAsyncKeyState(VK_ESCAPE) & 0x8000); tries++)
            Sleep(10);
    }
    std::unique_ptr<SVirtualFile> NewClipStream() const override
    {
        if (!failingClip)
            return SWaveCtrl::NewClipStream();
        // Takes the first 100 bytes, then a write fails.
        class Failing : public SMemory
        {
            int Write(const void* data, int n) override { return GetSize() + n > 100 ? 0 : SMemory::Write(data, n); }
        };
        return std::unique_ptr<SVirtualFile>(new Failing);
    }

private:
    int escapeAfter = -1, drawn = 0;
    bool pressed = false;
};

std::string DataOf(SWave& sound)
{
    std::string data(sound.GetDataSize(), '\0');
    sound.ReadData(&data[0], 0, static_cast<int>(data.size()));
    return data;
}

std::string ClipBytes()
{
    SVirtualFile* clip = SWaveCtrl::GetClip();
    std::string data(clip->GetSize(), '\0');
    clip->SeekToStart();
    clip->Read(&data[0], static_cast<int>(data.size()));
    return data;
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    // Wine leaves PrivateUsage at 0 and reports the private bytes as the page file usage.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

// Two 200 x 100 editors on one parent that counts their change reports.
class SWaveCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = {0, 0, 450, 150};
        ASSERT_TRUE(parent.Create("Wave", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        for (int i = 0; i < 2; i++)
        {
            RECT child = {i * 220, 0, i * 220 + 200, 100};
            ASSERT_TRUE(editors[i].CreateChildUntitled(WS_VISIBLE, 0, &child, parent.GetHandle()));
        }
    }
    // Stereo 16-bit: channel 0 the frame number, channel 1 its negative - 1.
    void LoadRamp(SWaveCtrl& editor, int frames)
    {
        SMemory stream;
        FillStream(stream,
                   MakeWaveBytes(WaveSpec{}, Samples16(frames, 2, [](int f, int c) { return c ? -f - 1 : f; })));
        ASSERT_TRUE(editor.LoadWave(&stream));
    }
    void Key(SWaveCtrl& editor, int key) { editor.SendMessage(WM_KEYDOWN, key, 0); }
    int Sample(SWaveCtrl& editor, uint32_t frame, int channel)
    {
        return static_cast<int>(editor.GetSound().GetSample(nullptr, frame, channel));
    }
    COLORREF PixelAfterPaint(SWaveCtrl& editor, int x, int y)
    {
        ImageCanvas canvas(200, 100);
        editor.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
        GdiFlush();
        return canvas.At(x, y);
    }

    TraceWnd parent;
    EscapeEditor editors[2];
};
} // namespace

TEST(SWaveCtrlMappingTest, FramesAndPixelsMapBothWays)
{
    struct Case
    {
        uint32_t frame, total;
        int width, x;
    };
    const Case cases[] = {{0, 1000, 200, 0}, {500, 1000, 200, 100}, {999, 1000, 200, 199}, {1000, 1000, 200, 200},
                          {1001, 1000, 200, -1}, {0, 0, 200, 0}, {700, 1000, 0, 0}, {3, 7, 10, 4}};
    for (const Case& c : cases)
        EXPECT_EQ(c.x, SWaveCtrl::FrameToX(c.frame, c.total, c.width)) << c.frame << "/" << c.total;
    EXPECT_EQ(500u, SWaveCtrl::XToFrame(100, 1000, 200));
    EXPECT_EQ(0u, SWaveCtrl::XToFrame(100, 1000, 0));
    EXPECT_EQ(1000u, SWaveCtrl::XToFrame(250, 1000, 200));
    EXPECT_EQ(1u, SWaveCtrl::ComputeKeyStep(10, 200));
    EXPECT_EQ(5u, SWaveCtrl::ComputeKeyStep(1000, 200));
    EXPECT_EQ(1000u, SWaveCtrl::ComputeKeyStep(1000, 0));
    EXPECT_EQ(100001u, SWaveCtrl::ComputeDrawChunk(1));
    EXPECT_EQ(100002u, SWaveCtrl::ComputeDrawChunk(7));
    EXPECT_EQ(100000u, SWaveCtrl::ComputeDrawChunk(400000) - 300000u);
    // Ten points a column by the rate, and never more whatever the rate says.
    EXPECT_EQ(221u, SWaveCtrl::ComputeDrawStep(441000, 44100, 10.0, 200));
    EXPECT_EQ(10000u, SWaveCtrl::ComputeDrawStep(20000000, 1, 20000000.0, 200));
}

TEST_F(SWaveCtrlTest, UpAndDownWalkTheChannelsThroughAll)
{
    SWaveCtrl& editor = editors[0];
    ASSERT_TRUE(editor.NewWave(2));
    EXPECT_EQ(STYPE_WAVE, editor.GetType());
    const struct
    {
        int key, channel;
    } steps[] = {{VK_UP, 1}, {VK_UP, 0}, {VK_UP, -1}, {VK_DOWN, 0}, {VK_DOWN, 1}, {VK_DOWN, -1},
                 {VK_NUMPAD2, 1}, {VK_NUMPAD2, -1}, {VK_NUMPAD6, -1}};
    for (const auto& s : steps)
    {
        Key(editor, s.key);
        EXPECT_EQ(s.channel, editor.GetChannel()) << s.key;
    }
    EXPECT_FALSE(editor.NewWave(3));
    Key(editor, VK_UP);
    EXPECT_EQ(-1, editor.GetChannel());
}

TEST_F(SWaveCtrlTest, KeysMoveTheCursorByAtLeastOneFrame)
{
    SWaveCtrl& editor = editors[0];
    LoadRamp(editor, 10);
    const struct
    {
        int key;
        uint32_t start, length;
    } steps[] = {{VK_RIGHT, 1, 0}, {VK_RIGHT, 2, 0}, {VK_END, 10, 0}, {VK_RIGHT, 10, 0}, {VK_LEFT, 9, 0},
                 {VK_HOME, 0, 0}, {VK_LEFT, 0, 0}};
    for (const auto& s : steps)
    {
        Key(editor, s.key);
        EXPECT_EQ(s.start, editor.GetSelectionStart()) << s.key;
        EXPECT_EQ(s.length, editor.GetSelectionLength()) << s.key;
    }
    editor.SetSelection(3, 4);
    Key(editor, VK_RIGHT);
    EXPECT_EQ(7u, editor.GetSelectionStart());
    EXPECT_EQ(0u, editor.GetSelectionLength());
    editor.SetSelection(3, 400);
    EXPECT_EQ(7u, editor.GetSelectionLength());
    Key(editor, VK_ESCAPE);
    EXPECT_EQ(3u, editor.GetSelectionStart());
    EXPECT_EQ(0u, editor.GetSelectionLength());
}

TEST_F(SWaveCtrlTest, CutAndPasteMoveFramesBetweenEditors)
{
    SWaveCtrl& first = editors[0];
    SWaveCtrl& second = editors[1];
    LoadRamp(first, 100);
    LoadRamp(second, 100);
    // One channel copied into one channel: clip / (block align / channels) frames selected.
    first.SetChannel(1, true);
    first.SetSelection(0, 10);
    EXPECT_TRUE(first.CopySelection());
    EXPECT_EQ(20, SWaveCtrl::GetClip()->GetSize());
    second.SetChannel(0, true);
    second.SetSelection(5, 0);
    EXPECT_TRUE(second.PasteClip());
    EXPECT_EQ(110u, second.GetSound().GetFrameCount());
    EXPECT_EQ(5u, second.GetSelectionStart());
    EXPECT_EQ(10u, second.GetSelectionLength());
    EXPECT_EQ(-1, Sample(second, 5, 0));
    EXPECT_EQ(1, parent.Count(SWM_CHANGED));

    first.SetChannel(-1, true);
    first.SetSelection(20, 10);
    EXPECT_TRUE(first.CutSelection());
    EXPECT_EQ(90u, first.GetSound().GetFrameCount());
    EXPECT_EQ(0u, first.GetSelectionLength());
    second.SetChannel(-1, true);
    second.SetSelection(0, 0);
    EXPECT_TRUE(second.PasteClip());
    EXPECT_EQ(120u, second.GetSound().GetFrameCount());
    EXPECT_EQ(10u, second.GetSelectionLength());
    EXPECT_EQ(20, Sample(second, 0, 0));
    EXPECT_EQ(-30, Sample(second, 9, 1));
    EXPECT_EQ(3, parent.Count(SWM_CHANGED));

    // Esc held down cancels an edit: nothing changes and nothing is reported.
    {
        HeldKeys escape({VK_ESCAPE});
        second.SetSelection(0, 50);
        EXPECT_FALSE(second.DeleteSelection());
    }
    EXPECT_EQ(120u, second.GetSound().GetFrameCount());
    EXPECT_EQ(50u, second.GetSelectionLength());
    EXPECT_EQ(3, parent.Count(SWM_CHANGED));
    EXPECT_FALSE(first.DeleteSelection());
}

TEST_F(SWaveCtrlTest, EditsThatCannotBeMadeKeepSoundSelectionAndClip)
{
    SWaveCtrl& first = editors[0];
    SWaveCtrl& second = editors[1];
    LoadRamp(first, 100);
    LoadRamp(second, 100);
    // One sample of channel 1 is half a stereo frame.
    first.SetChannel(1, true);
    first.SetSelection(7, 1);
    ASSERT_TRUE(first.CopySelection());
    SVirtualFile* clip = SWaveCtrl::GetClip();
    ASSERT_EQ(2, clip->GetSize());
    second.SetSelection(10, 5);
    EXPECT_FALSE(second.PasteClip());
    EXPECT_EQ(100u, second.GetSound().GetFrameCount());
    EXPECT_EQ(10, Sample(second, 10, 0));
    EXPECT_EQ(10u, second.GetSelectionStart());
    EXPECT_EQ(5u, second.GetSelectionLength());
    EXPECT_EQ(0, parent.Count(SWM_CHANGED));
    short sample = 0;
    clip->SeekToStart();
    ASSERT_EQ(2, clip->Read(&sample, 2));
    EXPECT_EQ(-8, sample);
    // The selection still edits.
    EXPECT_TRUE(second.DeleteSelection());
    EXPECT_EQ(95u, second.GetSound().GetFrameCount());
    // A copy the sound refuses, its selection cut away behind the editor's back, keeps the clip.
    second.SetSelection(80, 10);
    ASSERT_TRUE(second.GetSound().SetOperation(0, 50, -1, nullptr, 0));
    ASSERT_TRUE(second.GetSound().DeleteSelection());
    EXPECT_FALSE(second.CopySelection());
    EXPECT_EQ(2, clip->GetSize());
}

TEST_F(SWaveCtrlTest, PaintsBackgroundCentreLinesCaretWaveAndSelection)
{
    SWaveCtrl& editor = editors[0];
    editor.SetBackColors(BACK, OTHER_BACK);
    editor.SetCaretColors(LINE, CARET, SWnd::COLOR_NONE);
    editor.SetWaveColors(WAVE, SWnd::COLOR_NONE);
    EXPECT_EQ(BACK, PixelAfterPaint(editor, 100, 50));
    // A new sound has no frames: background, one centre line per band, the cursor at x 0.
    ASSERT_TRUE(editor.NewWave(2));
    struct Probe
    {
        int x, y;
        COLORREF color;
    };
    const Probe empty[] = {{100, 10, BACK}, {100, 25, LINE}, {100, 75, LINE}, {100, 26, BACK}, {0, 60, CARET}};
    for (const Probe& p : empty)
        EXPECT_EQ(p.color, PixelAfterPaint(editor, p.x, p.y)) << p.x << "," << p.y;
    editor.SetChannel(1, true);
    EXPECT_EQ(OTHER_BACK, PixelAfterPaint(editor, 100, 10));

    // Mono, every sample a quarter of the range: the wave runs at 3/4 of the height.
    WaveSpec format;
    format.channels = 1;
    SMemory stream;
    FillStream(stream, MakeWaveBytes(format, Samples16(800, 1, [](int, int) { return 16384; })));
    ASSERT_TRUE(editor.LoadWave(&stream));
    EXPECT_EQ(WAVE, PixelAfterPaint(editor, 100, 75));
    EXPECT_EQ(LINE, PixelAfterPaint(editor, 100, 50));
    editor.OnSelectAll();
    EXPECT_EQ(800u, editor.GetSelectionLength());
    EXPECT_EQ(BACK ^ 0xFFFFFF, PixelAfterPaint(editor, 100, 10));
}

TEST_F(SWaveCtrlTest, ContextMenuAndWheelDriveThePlayback)
{
    FakeDeviceInstalled fake;
    SWaveCtrl& editor = editors[0];
    LoadRamp(editor, 100);
    const SMenu& menu = editor.GetContextMenu();
    const struct
    {
        int id;
        const char* text;
    } items[] = {{1003, "Play"}, {1005, "Stop"},  {1004, "Pause"},  {0, nullptr},   {1000, "Cut"},
                 {1001, "Copy"}, {1002, "Paste"}, {1006, "Delete"}, {0, nullptr},   {1007, "Repeat"}};
    ASSERT_EQ(10, menu.GetItemCount());
    for (int i = 0; i < 10; i++)
    {
        EXPECT_EQ(items[i].id, menu.GetItemId(i)) << i;
        if (items[i].text)
            EXPECT_STREQ(items[i].text, menu.GetItemText(items[i].id).GetText());
    }
    // Repeat ticks its item; the selection then plays in a loop.
    editor.SendMessage(SWM_MENUCOMMAND, 0, SWaveCtrl::MENU_REPEAT);
    EXPECT_TRUE(editor.IsRepeat());
    EXPECT_TRUE(menu.IsItemChecked(SWaveCtrl::MENU_REPEAT));
    editor.SetSelection(10, 20);
    editor.SendMessage(SWM_MENUCOMMAND, 0, SWaveCtrl::MENU_PLAY);
    SWave& sound = editor.GetSound();
    FakeSoundBuffer* buffer = fake.device.last;
    ASSERT_TRUE(sound.IsPlaying());
    EXPECT_EQ(static_cast<DWORD>(DSBPLAY_LOOPING), buffer->playFlags);
    EXPECT_EQ(10u, sound.GetPlayFrame());
    EXPECT_EQ(30u, sound.GetRangeEnd());
    editor.SendMessage(SWM_MENUCOMMAND, 0, SWaveCtrl::MENU_PAUSE);
    EXPECT_TRUE(sound.IsPaused());
    editor.SendMessage(SWM_MENUCOMMAND, 0, SWaveCtrl::MENU_STOP);
    EXPECT_FALSE(sound.IsPaused() || sound.IsPlaying());

    // The wheel: 500 Hz a notch, each turn a change.
    const DWORD rate = buffer->frequency;
    editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), 0);
    EXPECT_EQ(rate + 1000, buffer->frequency);
    editor.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(rate + 500, buffer->frequency);
    EXPECT_EQ(2, parent.Count(SWM_CHANGED));
    editor.CloseSound();
}

TEST_F(SWaveCtrlTest, CancelledOrFailedCutAndCopyKeepTheClipAndTheSound)
{
    EscapeEditor& first = editors[0];
    LoadRamp(first, 20000);
    LoadRamp(editors[1], 100);
    first.SetSelection(0, 10);
    ASSERT_TRUE(first.CopySelection());
    const std::string clip = ClipBytes(), sound = DataOf(first.GetSound());
    parent.SetForegroundWindow();
    first.SetFocus();
    // A cut of 5000 frames copies in 99 chunks, then deletes in 100 more.
    const struct
    {
        bool cut;
        int escapeAfter;
        bool failingClip;
    } cases[] = {{false, 3, false}, {true, 3, false}, {true, 102, false}, {false, -1, true}};
    for (const auto& c : cases)
    {
        first.SetSelection(1000, 5000);
        first.PressEscapeAfter(c.escapeAfter);
        first.failingClip = c.failingClip;
        EXPECT_FALSE(c.cut ? first.CutSelection() : first.CopySelection()) << c.escapeAfter;
        first.ReleaseEscape();
        EXPECT_TRUE(clip == ClipBytes()) << c.escapeAfter;
        EXPECT_TRUE(sound == DataOf(first.GetSound())) << c.escapeAfter;
        // The Esc that cancelled does nothing more.
        EXPECT_EQ(5000u, first.GetSelectionLength()) << c.escapeAfter;
    }
    first.failingClip = false;
    EXPECT_EQ(0, parent.Count(SWM_CHANGED));
    editors[1].SetSelection(0, 0);
    ASSERT_TRUE(editors[1].PasteClip());
    EXPECT_EQ(110u, editors[1].GetSound().GetFrameCount());
    EXPECT_EQ(9, Sample(editors[1], 9, 0));
    EXPECT_EQ(0, Sample(editors[1], 10, 0));
}

// A cancelled edit that moves frames leaves the sound as it was and reports
// nothing; an amplify cancelled part way keeps what it changed and says so.
TEST_F(SWaveCtrlTest, CancelledEditsAreWholeAndReportedWhenTheyChangedFrames)
{
    EscapeEditor& editor = editors[0];
    LoadRamp(editors[1], 10);
    editors[1].SetSelection(0, 4);
    ASSERT_TRUE(editors[1].CopySelection());
    parent.SetForegroundWindow();
    editor.SetFocus();
    // Each edit runs about 100 chunks.
    const struct
    {
        const char* name;
        bool (SWaveCtrl::*edit)();
        uint32_t length;
        bool moves;
    } edits[] = {{"paste", &SWaveCtrl::PasteClip, 100, true},
                 {"delete", &SWaveCtrl::DeleteSelection, 100, true},
                 {"silence", &SWaveCtrl::SilenceSelection, 19800, false}};
    int reports = 0;
    for (const auto& e : edits)
        for (int after : {1, 50, 99})
        {
            LoadRamp(editor, 20000);
            const std::string before = DataOf(editor.GetSound());
            editor.SetSelection(100, e.length);
            editor.PressEscapeAfter(after);
            EXPECT_FALSE((editor.*e.edit)()) << e.name << after;
            editor.ReleaseEscape();
            EXPECT_EQ(e.moves, before == DataOf(editor.GetSound())) << e.name << after;
            reports += e.moves ? 0 : 1;
            EXPECT_EQ(reports, parent.Count(SWM_CHANGED)) << e.name << after;
            EXPECT_EQ(e.length, editor.GetSelectionLength()) << e.name << after;
        }
}

// 40 MB of 16-bit mono at 1 Hz: the waveform draws no more points than its
// columns can show, whatever the rate asks for.
TEST_F(SWaveCtrlTest, ALowRateSoundOpensAndPaintsInBoundedMemory)
{
    const int frames = 20 * 1000 * 1000;
    WaveSpec format;
    format.channels = 1;
    format.rate = 1;
    SMemory stream;
    {
        std::string samples(static_cast<size_t>(frames) * 2, '\0');
        for (size_t i = 1; i < samples.size(); i += 2)
            samples[i] = static_cast<char>(i / 2 % 2 ? 0x40 : 0xC0);
        FillStream(stream, MakeWaveBytes(format, samples));
    }
    const SIZE_T before = PrivateBytes();
    std::atomic<bool> running(true);
    std::atomic<SIZE_T> peak(before);
    std::thread sampler([&] {
        while (running)
        {
            peak = std::max<SIZE_T>(peak, PrivateBytes());
            Sleep(1);
        }
    });
    EXPECT_TRUE(editors[0].LoadWave(&stream));
    const COLORREF centre = PixelAfterPaint(editors[0], 100, 50);
    running = false;
    sampler.join();
    EXPECT_LT(peak - before, 3u * frames * 2) << before;
    EXPECT_NE(centre, GetSysColor(COLOR_WINDOW));
    // The highest rate opens, paints and plays.
    FakeDeviceInstalled fake;
    format.rate = 0x7FFFFFFF;
    FillStream(stream, MakeWaveBytes(format, Samples16(100, 1, [](int f, int) { return f; })));
    ASSERT_TRUE(editors[0].LoadWave(&stream));
    PixelAfterPaint(editors[0], 100, 50);
    EXPECT_TRUE(editors[0].Play());
    editors[0].CloseSound();
}
