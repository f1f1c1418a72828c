#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "MemoryDib.h"
#include "SLcdCtrl.h"

namespace
{
DWORD g_now = 0;
DWORD WINAPI FakeClock()
{
    return g_now;
}

class RecordingLcd : public SLcdCtrl
{
public:
    std::vector<std::pair<int, int>> steps;
    void OnScrollStep(int line, int position) override { steps.emplace_back(line, position); }
};
} // namespace

TEST(SLcdCtrlTest, GlyphTableRows)
{
    struct Case
    {
        unsigned char c;
        BYTE bytes[5];
    };
    const Case cases[] = {
        {'A', {0x7E, 0x88, 0x88, 0x88, 0x7E}},  {'!', {0x00, 0x00, 0xF2, 0x00, 0x00}},
        {'1', {0x00, 0x42, 0xFE, 0x02, 0x00}},  {'H', {0xFE, 0x10, 0x10, 0x10, 0xFE}},
        {'g', {0x30, 0x4A, 0x4A, 0x4A, 0x7C}},  {' ', {0, 0, 0, 0, 0}},
        {'\t', {0, 0, 0, 0, 0}},                {0x80, {0x10, 0x38, 0x54, 0x44, 0x28}},
        {0xA5, {0xA8, 0x68, 0x3E, 0x68, 0xA8}}, {0xAF, {0x80, 0x80, 0x80, 0x80, 0x80}},
        {0x7F, {0xFE, 0xFE, 0xFE, 0xFE, 0xFE}}, {0xE9, {0xFE, 0xFE, 0xFE, 0xFE, 0xFE}},
    };
    for (const Case& c : cases)
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(c.bytes[i], SLcdCtrl::GetGlyph(c.c)[i]) << int(c.c) << " column " << i;
    // Bit 0 is never used.
    for (int c = 0; c < 256; c++)
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(0, SLcdCtrl::GetGlyph(static_cast<unsigned char>(c))[i] & 1) << c;
}

TEST(SLcdCtrlTest, LinesEnterCrossAndStartAgainOnTheInjectedClock)
{
    RecordingLcd lcd;
    lcd.SetClock(&FakeClock);
    lcd.SetCharCount(4);
    lcd.SetLineCount(2);
    lcd.SetScrollSpeed(1, 0);
    lcd.SetScrollSpeed(7, 1); // no such line
    lcd.SetPixelSize(0, -3);
    EXPECT_EQ(1, lcd.GetDotWidth());
    EXPECT_EQ(1, lcd.GetDotHeight());
    g_now = 1000;
    lcd.SetScrolling(true);
    SArrayString lines;
    lines.Add("AB");
    lines.Add("XY");
    lines.Add("below the grid");
    struct Step
    {
        DWORD now;
        const char* first;
    };
    // 5 characters a second from an offset of -4.
    const Step steps[] = {{1000, "    AB"}, {1250, "   AB"}, {1600, " AB"}, {2000, "B"},
                          {2200, ""},         {2400, "    AB"}, {2600, "   AB"}};
    SArrayString shown;
    for (const Step& s : steps)
    {
        g_now = s.now;
        lcd.ScrollStep(lines, shown);
        ASSERT_EQ(3, shown.GetCount());
        EXPECT_STREQ(s.first, shown.GetAt(0).GetText()) << s.now;
        EXPECT_STREQ("XY", shown.GetAt(1).GetText()) << s.now;
        EXPECT_STREQ("below the grid", shown.GetAt(2).GetText()) << s.now;
    }
    const std::vector<std::pair<int, int>> expected = {{0, -3}, {0, -1}, {0, 1}, {0, 2}, {0, 3}, {0, -3}};
    EXPECT_EQ(expected, lcd.steps);
}

TEST(SLcdCtrlTest, PaintsBackgroundCellsAndDotsInsideTheClientOnly)
{
    SWnd parent;
    RECT r = {0, 0, 300, 100};
    ASSERT_TRUE(parent.Create("Lcd", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    SLcdCtrl lcd;
    RECT child = {0, 0, 200, 40};
    ASSERT_TRUE(lcd.CreateChild("H", WS_VISIBLE, 0, &child, parent.GetHandle()));
    lcd.SetCharCount(4);

    MemoryDib memory(200, 40, RGB(0, 0, 0));
    ASSERT_TRUE(memory.IsMade());
    lcd.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.GetDC()), PRF_CLIENT);
    // Grid 46 x 14 centred: from (77, 13). Dots are 2 x 2, cells 12 x 16.
    struct Probe
    {
        int x, y;
        COLORREF color;
    };
    const Probe probes[] = {{0, 0, 0xE2BE6C},  {199, 39, 0xE2BE6C}, {77, 13, 0x0A0A0A}, {78, 26, 0x0A0A0A},
                            {79, 13, 0xD1A24B}, {90, 14, 0xD1A24B}, {85, 14, 0x0A0A0A}, {87, 14, 0xE2BE6C}, {87, 28, 0xE2BE6C}};
    for (const Probe& p : probes)
        EXPECT_EQ(p.color, memory.Pixel(p.x, p.y)) << p.x << "," << p.y;

    // A dot larger than the window costs no more than the window's pixels.
    lcd.SetPixelSize(1000000, 1000000);
    lcd.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.GetDC()), PRF_CLIENT);
    EXPECT_EQ(0x0A0A0Au, memory.Pixel(0, 0));
}
