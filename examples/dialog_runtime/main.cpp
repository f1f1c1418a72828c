// A dialog built at run time from the description in the program's resources:
// a status bar, tab pages with a sound editor that drives a level meter and a
// property grid, closed by its OK and Cancel buttons. The sound is made here.
#include "SPlatform.h"
#include <cmath>
#include "SLibrary.h"
#include "SMemory.h"
#include "SPropertyCtrl.h"
#include "SResource.h"
#include "SWndDialog.h"

namespace
{
const int SAMPLE_RATE = 22050;
const int CHANNELS = 2;
const double TWO_PI = 6.283185307179586;

void WriteU32(SMemory& stream, uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    stream.Write(bytes, 4);
}

void WriteU16(SMemory& stream, unsigned value)
{
    const unsigned char bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    stream.Write(bytes, 2);
}

// Two seconds of a falling tone in the left channel and a rising one in the
// right, as a 16-bit WAVE file holds them.
SMemory* MakeTone()
{
    const int frames = SAMPLE_RATE * 2, align = CHANNELS * 2;
    const uint32_t dataSize = static_cast<uint32_t>(frames * align);
    SMemory* stream = new SMemory;
    stream->Write("RIFF", 4);
    WriteU32(*stream, 36 + dataSize);
    stream->Write("WAVEfmt ", 8);
    WriteU32(*stream, 16);
    WriteU16(*stream, 1);
    WriteU16(*stream, CHANNELS);
    WriteU32(*stream, SAMPLE_RATE);
    WriteU32(*stream, SAMPLE_RATE * align);
    WriteU16(*stream, align);
    WriteU16(*stream, 16);
    stream->Write("data", 4);
    WriteU32(*stream, dataSize);
    for (int f = 0; f < frames; f++)
    {
        const double t = static_cast<double>(f) / SAMPLE_RATE, fade = 1.0 - t / 2.0;
        const double left = 12000 * fade * std::sin(TWO_PI * (660 - 120 * t) * t);
        const double right = 12000 * (1 - fade) * std::sin(TWO_PI * (330 + 120 * t) * t);
        WriteU16(*stream, static_cast<unsigned>(static_cast<int>(left)));
        WriteU16(*stream, static_cast<unsigned>(static_cast<int>(right)));
    }
    return stream;
}

void FillProperties(SPropertyCtrl* grid)
{
    if (!grid)
        return;
    SArrayString modes;
    modes.Add("Play once");
    modes.Add("Repeat");
    const int sound = grid->AddGroup("SOUND", "Sound");
    grid->SetItem(sound, "NAME", "Name", SPropertyCtrl::KIND_TEXT, "tone.wav");
    grid->SetItem(sound, "CHANNELS", "Channels", SPropertyCtrl::KIND_READONLY, "2");
    grid->SetItem(sound, "MODE", "Mode", SPropertyCtrl::KIND_CHOICE, "Play once", &modes);
    grid->SetItem(sound, "VOLUME", "Volume", SPropertyCtrl::KIND_INTEGER, "80");
    const int look = grid->AddGroup("LOOK", "Look");
    grid->SetItem(look, "WAVE", "Wave colour", SPropertyCtrl::KIND_COLOR, "4227072");
    grid->SetItem(look, "TICKS", "Ticks", SPropertyCtrl::KIND_BOOL, "1");
    grid->SetItem(look, "FONT", "Font", SPropertyCtrl::KIND_FONT, "Tahoma, 9, 1");
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    {
        SResource resources;
        SMemory* tone = MakeTone();
        const int size = tone->GetSize();
        resources.SetPackStream(tone);
        resources.AddEntry("tone.wav", 0, size);
        SMemory description;
        SWndDialog dialog;
        if (description.LoadFromResource("RUNTIME", "DESCRIPTION", nullptr) &&
            dialog.CreateFromDescription(&description, nullptr, &resources, true, 0))
        {
            FillProperties(dynamic_cast<SPropertyCtrl*>(dialog.FindChildByName("PROPERTIES")));
            dialog.DoModal();
        }
    }
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return 0;
}
