// A small sound and picture studio: docking bars around a tab strip whose pages
// hold a wave editor on a few seconds of generated tones and an image editor on
// a generated picture. The bars carry the image editor's tools, a level meter
// and a line of help. Without a sound device nothing plays, so the meter also
// shows the peaks of the selection while the sound is still.
#include "SPlatform.h"
#include <dsound.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>
#include "SGuiCtrl.h"
#include "SLabelCtrl.h"
#include "SLevelCtrl.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "SPaintCtrl.h"
#include "STabDocCtrl.h"
#include "SWaveCtrl.h"

namespace
{
const int TOOLS_BAR = 1;
const int METER_BAR = 2;
const int HELP_BAR = 3;
const UINT_PTR LEVEL_TIMER = 1;
const UINT LEVEL_PERIOD = 100;
const uint32_t MAXIMUM_SCAN_SECONDS = 10;
const int SAMPLE_RATE = 44100;
const double NOTE_SECONDS = 0.5;
const double NOTES[] = {261.63, 329.63, 392.00, 523.25, 392.00, 329.63};
const char* const SOUND_HELP =
    "Sound: drag to select, Up/Down pick a channel, Ctrl+X/C/V cut, copy, paste, + and - amplify, Space plays.";
const char* const PICTURE_HELP =
    "Picture: pick a tool on the left, draw with either button. The meter shows the selection's peaks while "
    "nothing plays.";

void WriteU16(SMemory& out, uint16_t value)
{
    const unsigned char bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    out.Write(bytes, 2);
}

void WriteU32(SMemory& out, uint32_t value)
{
    WriteU16(out, static_cast<uint16_t>(value & 0xFFFF));
    WriteU16(out, static_cast<uint16_t>(value >> 16));
}

// One plucked note: a short rise, then a decay.
double Pluck(double frequency, double seconds, double decay)
{
    const double rise = seconds < 0.01 ? seconds / 0.01 : 1.0;
    return rise * std::exp(-decay * seconds) * std::sin(2 * 3.14159265358979 * frequency * seconds);
}

// A RIFF WAVE of 16-bit stereo: a rising and falling arpeggio on the left, its
// fifth, softer and longer, on the right.
void MakeTones(SMemory& out)
{
    const int noteFrames = static_cast<int>(SAMPLE_RATE * NOTE_SECONDS);
    const int count = sizeof(NOTES) / sizeof(NOTES[0]);
    const uint32_t dataSize = static_cast<uint32_t>(noteFrames) * count * 4;
    out.Write("RIFF", 4);
    WriteU32(out, 36 + dataSize);
    out.Write("WAVEfmt ", 8);
    WriteU32(out, 16);
    WriteU16(out, WAVE_FORMAT_PCM);
    WriteU16(out, 2);
    WriteU32(out, SAMPLE_RATE);
    WriteU32(out, SAMPLE_RATE * 4);
    WriteU16(out, 4);
    WriteU16(out, 16);
    out.Write("data", 4);
    WriteU32(out, dataSize);
    for (int note = 0; note < count; note++)
        for (int frame = 0; frame < noteFrames; frame++)
        {
            const double t = static_cast<double>(frame) / SAMPLE_RATE;
            WriteU16(out, static_cast<uint16_t>(static_cast<int16_t>(22000 * Pluck(NOTES[note], t, 5.0))));
            WriteU16(out, static_cast<uint16_t>(static_cast<int16_t>(14000 * Pluck(NOTES[note] * 1.5, t, 2.5))));
        }
    out.SeekToStart();
}

// A landscape: sky, sun, two hills and a house, written as a PNG.
bool MakePicture(SMemory& out)
{
    SImage picture;
    if (!picture.Create(360, 240))
        return false;
    {
        Gdiplus::Graphics g(picture.GetBitmap());
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        Gdiplus::LinearGradientBrush sky(Gdiplus::Point(0, 0), Gdiplus::Point(0, 170),
                                         Gdiplus::Color(255, 70, 130, 210), Gdiplus::Color(255, 200, 225, 250));
        g.FillRectangle(&sky, 0, 0, 360, 240);
        Gdiplus::SolidBrush sun(Gdiplus::Color(255, 255, 210, 60));
        g.FillEllipse(&sun, 270, 25, 50, 50);
        Gdiplus::SolidBrush backHill(Gdiplus::Color(255, 90, 160, 80)), frontHill(Gdiplus::Color(255, 50, 120, 50));
        g.FillEllipse(&backHill, -80, 140, 320, 200);
        g.FillEllipse(&frontHill, 120, 160, 360, 200);
        Gdiplus::SolidBrush wall(Gdiplus::Color(255, 235, 220, 190)), roof(Gdiplus::Color(255, 170, 60, 50));
        g.FillRectangle(&wall, 60, 130, 60, 45);
        const Gdiplus::Point top[3] = {{52, 132}, {90, 100}, {128, 132}};
        g.FillPolygon(&roof, top, 3);
    }
    return picture.Save(SImage::FORMAT_PNG, &out) && out.SeekToStart() == 0;
}

class StudioWnd;

// The docking bars tell the window when the view or a bar changes size.
class StudioDock : public SGuiCtrl
{
public:
    StudioWnd* owner = nullptr;
    bool OnChildMessage(_SBar* bar, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class StudioWnd : public SWnd
{
public:
    bool Open()
    {
        RECT r = {40, 40, 1040, 680};
        if (!Create("Sound studio", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, &r, nullptr))
            return false;
        CreateDirectSound(GetHandle(), DSSCL_PRIORITY);
        const RECT none = {0, 0, 10, 10};
        m_dock.owner = this;
        if (!m_dock.CreateChildUntitled(WS_VISIBLE | WS_CLIPCHILDREN, 0, &none, GetHandle()))
            return false;
        if (!SetUpDocuments() || !SetUpBars())
            return false;
        LayOut();
        m_wave.SetSelection(static_cast<uint32_t>(SAMPLE_RATE * NOTE_SECONDS),
                            static_cast<uint32_t>(SAMPLE_RATE * NOTE_SECONDS));
        SetTimer(LEVEL_TIMER, LEVEL_PERIOD);
        m_wave.SetFocus();
        return true;
    }

    // The bar's control fills the bar's client area; the two help lines share theirs.
    void FitBar(SGuiCtrl::_SBar* bar)
    {
        RECT client = {};
        bar->GetWindow()->GetClientRect(&client);
        if (bar->GetId() == HELP_BAR)
        {
            m_help[0].MoveWindow(4, 0, client.right - 4, client.bottom / 2, true);
            m_help[1].MoveWindow(4, client.bottom / 2, client.right - 4, client.bottom - client.bottom / 2, true);
            return;
        }
        SWnd* content = bar->GetId() == TOOLS_BAR ? m_paint.GetToolPanel() : static_cast<SWnd*>(&m_meter);
        if (content && content->GetHandle())
            content->MoveWindow(0, 0, client.right, client.bottom, true);
    }

    // The strip fills the view, and each editor its page.
    void FitDocuments()
    {
        RECT client = {};
        m_dock.GetView()->GetClientRect(&client);
        m_tabs.MoveWindow(0, 0, client.right, client.bottom, true);
        SWnd* editors[2] = {&m_wave, &m_paint};
        for (int i = 0; i < m_tabs.GetItemCount() && i < 2; i++)
        {
            m_tabs.GetPage(i)->GetClientRect(&client);
            editors[i]->MoveWindow(0, 0, client.right, client.bottom, true);
        }
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_SIZE:
            LayOut();
            break;
        case WM_TIMER:
            if (wParam == LEVEL_TIMER)
                ShowSelectionPeaks();
            break;
        case WM_DESTROY:
            KillTimer(LEVEL_TIMER);
            m_wave.CloseSound();
            ReleaseDirectSound();
            PostQuitMessage(0);
            break;
        default:
            break;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    bool SetUpDocuments()
    {
        const RECT none = {0, 0, 10, 10};
        if (!m_tabs.CreateChildUntitled(WS_VISIBLE | WS_CLIPCHILDREN, 0, &none, m_dock.GetView()->GetHandle()) ||
            m_tabs.InsertItem("Tones.wav") < 0 || m_tabs.InsertItem("Landscape.png") < 0)
            return false;
        m_tabs.SetCloseButton(false);
        if (!m_wave.CreateChildUntitled(WS_VISIBLE | WS_TABSTOP, 0, &none, m_tabs.GetPage(0)->GetHandle()) ||
            !m_paint.CreateChildUntitled(WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, 0, &none,
                                         m_tabs.GetPage(1)->GetHandle()))
            return false;
        SMemory tones;
        MakeTones(tones);
        m_wave.LoadWave(&tones);
        SMemory picture;
        if (MakePicture(picture))
            m_paint.LoadImage(&picture);
        m_tabs.SetSelection(0);
        return true;
    }

    bool SetUpBars()
    {
        if (!m_dock.AddBar(TOOLS_BAR, 150, 0, SGuiCtrl::BAR_VERTICAL | SGuiCtrl::BAR_NOCLOSE) ||
            !m_dock.AddBar(METER_BAR, 70, 0, SGuiCtrl::BAR_VERTICAL | SGuiCtrl::BAR_FAR | SGuiCtrl::BAR_NOCLOSE) ||
            !m_dock.AddBar(HELP_BAR, 0, 44, SGuiCtrl::BAR_FAR | SGuiCtrl::BAR_NOCLOSE))
            return false;
        const RECT none = {0, 0, 10, 10};
        SPaintCtrl::_SToolPanel* panel = new SPaintCtrl::_SToolPanel(&m_paint);
        m_paint.SetToolPanel(panel);
        if (!panel->CreateChild("", WS_VISIBLE, 0, &none, m_dock.FindBar(TOOLS_BAR)->GetWindow()->GetHandle()))
            return false;
        m_paint.FillToolPanel(0, 0);
        if (!m_meter.CreateChild("", WS_VISIBLE, 0, &none, m_dock.FindBar(METER_BAR)->GetWindow()->GetHandle()))
            return false;
        m_meter.SetVertical(true);
        m_meter.SetTicks(true);
        m_wave.SetLevelCtrl(&m_meter);
        const char* const lines[2] = {SOUND_HELP, PICTURE_HELP};
        const HWND helpBar = m_dock.FindBar(HELP_BAR)->GetWindow()->GetHandle();
        for (int i = 0; i < 2; i++)
        {
            if (!m_help[i].Create(lines[i], WS_VISIBLE, 0, &none, helpBar))
                return false;
            m_help[i].SetAlignment(SLabelCtrl::ALIGN_LEFT | SLabelCtrl::ALIGN_VCENTER);
        }
        return true;
    }

    void LayOut()
    {
        RECT client = {};
        GetClientRect(&client);
        m_dock.MoveWindow(0, 0, client.right, client.bottom, true);
        for (int i = 0; i < m_dock.GetBarCount(); i++)
            FitBar(m_dock.GetBar(i));
        FitDocuments();
    }

    // While nothing plays the meter holds each channel's peak over the selection.
    void ShowSelectionPeaks()
    {
        SWave& sound = m_wave.GetSound();
        const uint32_t start = m_wave.GetSelectionStart(), length = m_wave.GetSelectionLength();
        if (sound.IsPlaying() || !sound.IsLoaded())
        {
            m_shownLength = UINT32_MAX;
            return;
        }
        if (start == m_shownStart && length == m_shownLength)
            return;
        m_shownStart = start;
        m_shownLength = length;
        // A long selection is judged by its first seconds.
        const uint32_t frames = std::min<uint32_t>(length, MAXIMUM_SCAN_SECONDS * sound.GetSampleRate());
        const int align = sound.GetBlockAlign();
        std::vector<unsigned char> data(static_cast<size_t>(frames) * align + 1);
        const bool read =
            sound.ReadData(data.data(), static_cast<int64_t>(start) * align, static_cast<int>(frames) * align);
        for (int c = 0; c < sound.GetChannelCount(); c++)
        {
            double peak = 0;
            for (uint32_t f = 0; read && f < frames; f++)
                peak = std::fmax(peak, std::fabs(2 * sound.GetSampleNormalized(data.data(), f, c)));
            m_meter.SetValue(static_cast<int>(m_meter.GetMaximum() * peak), c, true);
        }
    }

    StudioDock m_dock;
    STabDocCtrl m_tabs;
    SLevelCtrl m_meter;  // before the editor, which feeds it until it goes
    SWaveCtrl m_wave;
    SPaintCtrl m_paint;
    SLabelCtrl m_help[2];
    uint32_t m_shownStart = 0;
    uint32_t m_shownLength = UINT32_MAX;
};

bool StudioDock::OnChildMessage(_SBar* bar, UINT message, WPARAM, LPARAM, LRESULT*)
{
    if (message == WM_SIZE && owner)
    {
        if (bar)
            owner->FitBar(bar);
        else
            owner->FitDocuments();
    }
    return true;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    {
        StudioWnd window;
        if (window.Open())
        {
            bool blocking = true;
            RunMessageLoop(&blocking, nullptr, 0);
        }
    }
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return 0;
}
