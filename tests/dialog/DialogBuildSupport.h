// What the factory and builder tests share: an element record read from one
// section of description text, and a resource store filled with named texts.
#pragma once
#include <initializer_list>
#include <string>
#include <utility>
#include "DialogTestSupport.h"
#include "SButtonCtrl.h"
#include "SImage.h"
#include "SResource.h"
#include "WaveTestSupport.h"

// A control with ID -5, NAME ELEMENT, CAPTION Caption, shown, at 10 10 150 60,
// and the given lines (common or type keys, each ended by CR LF).
class TestRecord : public SDialogCtrl::_SCtrl
{
public:
    TestRecord(int type, const char* lines)
    {
        static TestDesigner designer;
        const char* name = GetDialogTypeName(type);
        const std::string header = name ? SString(name).StripBlanks(true).ToUpper().GetText() : "BUTTON";
        SMemory stream;
        Fill(stream, "[" + header + "]\r\nID=-5\r\nNAME=ELEMENT\r\nCAPTION=Caption\r\nPOSITION=10 10 150 60\r\n"
                     "STYLE=WS_VISIBLE \r\n" + lines + "\r\n");
        Read(&stream, &designer);
        SetType(static_cast<short>(type));
    }
};

// A button that counts its destruction.
struct CountedButton : public SButtonCtrl
{
    explicit CountedButton(int* destroyed) : destroyed(destroyed) {}
    ~CountedButton() override { ++*destroyed; }
    int* destroyed;
};

// Lists each text under its name in one pack the store owns.
inline void FillResources(SResource& store, std::initializer_list<std::pair<const char*, std::string>> entries)
{
    SMemory* pack = new SMemory;
    store.SetPackStream(pack);
    int offset = 0;
    for (const auto& entry : entries)
    {
        pack->Write(entry.second.data(), static_cast<int>(entry.second.size()));
        store.AddEntry(entry.first, offset, static_cast<int>(entry.second.size()));
        offset += static_cast<int>(entry.second.size());
    }
}

// A stereo sound of 100 frames, as a WAVE file holds it.
inline std::string StereoWave()
{
    return MakeWaveBytes(WaveSpec(), Samples16(100, 2, [](int frame, int channel) { return frame * 50; }));
}

// A 2 x 3 picture as a PNG file holds it.
inline std::string SmallPicture()
{
    SImage image(2, 3);
    image.Clear(0x00FF00);
    SMemory stream;
    image.Save(&stream, 2);
    return Bytes(stream);
}
