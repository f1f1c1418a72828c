// One element whose section holds 1 MB of type-key lines (about 30,000 keys),
// read into a designer and written back, then each key looked up, against the
// goal of one second; and a quarter of it, so that the growth shows.
#include "SPlatform.h"
#include "BenchRegistry.h"
#include <string>
#include "SDialogCtrl.h"
#include "SMemory.h"

namespace
{
const double GOAL_SECONDS = 1.0;

// The description: a dialog and one Button whose type keys fill about bytes bytes.
std::string MakeDescription(int bytes, int* keys)
{
    const std::string common = "CAPTION=\r\nFONT=, 0, 0\r\nPOSITION=10 10 150 150\r\nSTYLE=\r\nEXSTYLE=\r\n"
                               "BACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\n";
    std::string text = "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n[DIALOG]\r\nID=0\r\nNAME=BIG\r\n" + common +
                       "\r\n[BUTTON]\r\nID=1\r\nNAME=BUTTON1\r\n" + common;
    *keys = 0;
    for (int start = static_cast<int>(text.size()); static_cast<int>(text.size()) - start < bytes; ++*keys)
        text += "BUTTON_KEY_" + std::to_string(*keys) + "=a value of " + std::to_string(*keys * 7) + "\r\n";
    return text + "\r\n";
}

struct Figures
{
    double readAndWrite;  // seconds for one read and one write back
    double lookups;       // seconds for looking up every key once, the first to the last
    bool same;            // the text came back byte for byte and every key was found
};

Figures ReadAndWrite(const std::string& text, int keys)
{
    Figures figures = {};
    SDialogCtrl designer;
    designer.Initialize(true);
    SMemory in;
    in.Write(text.data(), static_cast<int>(text.size()));
    in.SeekToStart();
    SMemory out;
    BenchClock clock;
    const bool done = designer.ReadDescription(&in) && designer.WriteDescription(&out);
    figures.readAndWrite = clock.Seconds();
    figures.same = done && out.GetSize() == static_cast<int>(text.size()) &&
                   text.compare(0, text.size(), reinterpret_cast<const char*>(out.GetData()), out.GetSize()) == 0;
    const SDialogCtrl::_SCtrl* button = designer.GetElement(0);
    BenchClock lookups;
    int found = 0;
    for (int i = 0; button && i < keys; i++)
        found += button->GetValue(("BUTTON_KEY_" + std::to_string(i)).c_str()).GetLength() > 0 ? 1 : 0;
    figures.lookups = lookups.Seconds();
    figures.same = figures.same && found == keys;
    return figures;
}
} // namespace

BENCH_CASE(TypeKeysReadAndWrittenBack)
{
    const struct
    {
        const char* what;
        int bytes;
    } sizes[] = {{"0.25 MB of type keys read and written back", 256 * 1024},
                 {"1 MB of type keys read and written back", 1024 * 1024}};
    for (const auto& size : sizes)
    {
        int keys = 0;
        const std::string text = MakeDescription(size.bytes, &keys);
        const Figures figures = ReadAndWrite(text, keys);
        std::printf("%d keys in %d bytes, written back byte for byte and every key found: %s\n", keys,
                    static_cast<int>(text.size()), figures.same ? "yes" : "NO");
        BenchRegistry::Report(size.what, figures.readAndWrite, GOAL_SECONDS, "s");
        BenchRegistry::Report("  then every key looked up once", figures.lookups, GOAL_SECONDS, "s");
    }
}
