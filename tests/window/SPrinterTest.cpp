#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "SMemory.h"
#include "SPrinter.h"
#include "SPrinterPage.h"

namespace
{
// 10 pixels a millimetre; the paper is 110 x 110 mm with a 5 mm unprintable
// strip on every side, so the 25 mm margins leave 200..800 pixels both ways.
class MemoryPrinter : public SPrinter
{
public:
    int opened = 0;
    HDC lastDc = nullptr;

protected:
    HDC OpenDocument(PRINTDLGA*, const char*) override
    {
        opened++;
        return lastDc = CreateCompatibleDC(nullptr);
    }
    int GetDeviceCapability(HDC, int index) const override
    {
        switch (index)
        {
        case HORZRES: case VERTRES: return 1000;
        case HORZSIZE: case VERTSIZE: return 100;
        case PHYSICALWIDTH: case PHYSICALHEIGHT: return 1100;
        case PHYSICALOFFSETX: case PHYSICALOFFSETY: return 50;
        default: return 96;
        }
    }
};

// Every character 10 pixels wide, every line 20 high; records what is printed.
struct Printed
{
    int x, y;
    std::string text;
};

class FixedMeasurer : public SPrintMeasurer
{
public:
    std::vector<Printed> out;
    SIZE Measure(HDC, const char*, int length) override { return SIZE{10 * length, 20}; }
    bool Output(HDC, int x, int y, const char* text, int length) override
    {
        out.push_back(Printed{x, y, std::string(text, length)});
        return true;
    }
    std::string Joined(bool dropBlanks) const
    {
        std::string all;
        for (const Printed& p : out)
            all += p.text;
        if (dropBlanks)
            all.erase(std::remove(all.begin(), all.end(), ' '), all.end());
        return all;
    }
    int Pages() const
    {
        int pages = 0, lastY = 1 << 30;
        for (const Printed& p : out)
            pages += p.y <= lastY ? 1 : 0, lastY = p.y;
        return pages;
    }
};

std::string Words(int count)
{
    std::string text;
    for (int i = 0; i < count; i++)
        text += (i ? " w" : "w") + std::to_string(i % 10);
    return text;
}

bool PrintLines(MemoryPrinter& printer, FixedMeasurer& measurer, const std::string& text)
{
    printer.SetMeasurer(&measurer);
    SMemory stream;
    stream.WriteText(text.c_str(), int(text.size()));
    stream.SeekToStart();
    const bool ok = printer.PrintStream(&stream);
    printer.EndDocument();
    return ok;
}
} // namespace

TEST(SPrinter, UnitsMarginsAndPrintableRect)
{
    MemoryPrinter printer;
    EXPECT_DOUBLE_EQ(25.0, printer.GetLeftMargin());
    printer.SetUnit(2);
    EXPECT_DOUBLE_EQ(2.5, printer.GetLeftMargin());
    printer.SetUnit(1);
    EXPECT_DOUBLE_EQ(6.35, printer.GetTopMargin());
    printer.SetUnit(0);
    ASSERT_TRUE(printer.StartDocument("doc"));
    EXPECT_EQ(0x4010Cu, printer.GetDialogData()->Flags);
    EXPECT_EQ(sizeof(PRINTDLGA), printer.GetDialogData()->lStructSize);
    const RECT pixels = printer.GetPrintableRectPixels();
    EXPECT_EQ(200, pixels.left);
    EXPECT_EQ(200, pixels.top);
    EXPECT_EQ(800, pixels.right);
    EXPECT_EQ(800, pixels.bottom);
    // A margin inside the unprintable strip prints at the printable edge.
    printer.SetMargins(2, 2, 2, 2);
    double l, t, r, b;
    printer.GetPrintableRect(&l, &t, &r, &b);
    EXPECT_DOUBLE_EQ(0.0, l);
    EXPECT_DOUBLE_EQ(100.0, r);
    printer.EndDocument();
    EXPECT_FALSE(printer.HasDocument());
}

TEST(SPrinter, PaginationAgainstAFixedMeasurer)
{
    {   // 30 lines fill a page; the 31st moves whole to the next one.
        MemoryPrinter printer;
        FixedMeasurer measurer;
        std::string text;
        for (int i = 0; i < 31; i++)
            text += "line" + std::to_string(i) + "\r\n";
        ASSERT_TRUE(PrintLines(printer, measurer, text));
        ASSERT_EQ(31u, measurer.out.size());
        EXPECT_EQ(780, measurer.out[29].y);
        EXPECT_EQ("line30", measurer.out[30].text);
        EXPECT_EQ(200, measurer.out[30].y);
        EXPECT_EQ(2, measurer.Pages());
    }
    {   // A line of 40 rows continues on the next page from its first unprinted character.
        MemoryPrinter printer;
        FixedMeasurer measurer;
        const std::string line = Words(40 * 20);
        ASSERT_TRUE(PrintLines(printer, measurer, line));
        EXPECT_EQ(2, measurer.Pages());
        std::string expected = line;
        expected.erase(std::remove(expected.begin(), expected.end(), ' '), expected.end());
        EXPECT_EQ(expected, measurer.Joined(true));
    }
    {   // An empty line advances one line height.
        MemoryPrinter printer;
        FixedMeasurer measurer;
        ASSERT_TRUE(PrintLines(printer, measurer, "a\r\n\r\nb"));
        ASSERT_EQ(3u, measurer.out.size());
        EXPECT_EQ(240, measurer.out[2].y);
    }
    {   // Tabs print as four blanks, and a tabbed line broken by the page loses and repeats nothing.
        MemoryPrinter printer;
        FixedMeasurer measurer;
        std::string text;
        for (int i = 0; i < 29; i++)
            text += "x\r\n";
        std::string tabbed;
        for (int i = 0; i < 30; i++)
            tabbed += "\tt" + std::to_string(i);
        text += tabbed;
        ASSERT_TRUE(PrintLines(printer, measurer, text));
        EXPECT_EQ("    t0", measurer.out[29].text.substr(0, 6));
        std::string expected(29, 'x');
        for (char c : tabbed)
            if (c != '\t')
                expected += c;
        EXPECT_EQ(expected, measurer.Joined(true));
        EXPECT_EQ(2, measurer.Pages());
    }
}

TEST(SPrinter, EmptyStreamShowsNoDialog)
{
    MemoryPrinter printer;
    SMemory empty;
    EXPECT_FALSE(printer.PrintStream(&empty));
    EXPECT_FALSE(printer.PrintStream(nullptr));
    EXPECT_EQ(0, printer.opened);
}

TEST(SPrinter, GivingUpLeavesTheJobThatDestroyingEndsCleanly)
{
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    HDC dc = nullptr;
    {
        MemoryPrinter printer;
        FixedMeasurer measurer;
        printer.SetMeasurer(&measurer);
        printer.SetOwnerWindow(owner);
        printer.SetMargins(25, 25, 25, 84); // 10 pixels high: no line fits
        std::string text;
        for (int i = 0; i < 12; i++)
            text += "line\r\n";
        SMemory stream;
        stream.WriteText(text.c_str(), int(text.size()));
        stream.SeekToStart();
        EXPECT_FALSE(printer.PrintStream(&stream));
        EXPECT_TRUE(printer.HasDocument());
        EXPECT_FALSE(IsWindowEnabled(owner));
        dc = printer.lastDc;
        EXPECT_NE(0u, GetObjectType(dc));
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(0u, GetObjectType(dc));
    DestroyWindow(owner);
}
