#include "SPrinterPage.h"
#include "SDrawing.h"
#include "SGuards.h"
#include "SPrinter.h"
#include "SString.h"

namespace
{
// The printer's font, colour and transparent background on its context for one call.
class PrinterTextScope
{
public:
    explicit PrinterTextScope(SPrinter* printer)
        : m_dc(printer->GetDC()),
          m_font(CreateFontFromPoints(m_dc, printer->GetFontRecord()->face.GetText(),
                                      printer->GetFontRecord()->points, 0, nullptr)),
          m_select(m_dc, m_font.Get()),
          m_color(SetTextColor(m_dc, printer->GetTextColor())),
          m_mode(SetBkMode(m_dc, TRANSPARENT))
    {
    }
    ~PrinterTextScope()
    {
        SetBkMode(m_dc, m_mode);
        SetTextColor(m_dc, m_color);
    }

private:
    HDC m_dc;
    SGdiObjectGuard<HFONT> m_font;
    SSelectGuard m_select;
    COLORREF m_color;
    int m_mode;
};

bool IsSingleBlank(const SString& token)
{
    return token.GetLength() == 1 && token.GetAt(0) == ' ';
}
}

SPrinterPage::SPrinterPage(SPrinter* printer) : m_printer(printer), m_x(0), m_y(0)
{
    // The cursor starts at the margins, measured like everything the page prints:
    // from the printable area's origin.
    const RECT area = printer->GetPrintableRectPixels();
    m_x = area.left;
    m_y = area.top;
}

HDC SPrinterPage::GetDC() const { return m_printer->GetDC(); }
int SPrinterPage::ToDeviceX(double length) const { return m_printer->ToDeviceX(length); }
int SPrinterPage::ToDeviceY(double length) const { return m_printer->ToDeviceY(length); }
double SPrinterPage::PixelsToUnitsX(int pixels) const { return m_printer->PixelsToUnitsX(pixels); }
double SPrinterPage::PixelsToUnitsY(int pixels) const { return m_printer->PixelsToUnitsY(pixels); }

bool SPrinterPage::TextAt(const char* text, double x, double y, bool plain)
{
    if (!text || !GetDC())
        return false;
    const int length = lstrlenA(text);
    SPrintMeasurer* out = m_printer->GetMeasurer();
    if (plain)
        return out->Output(GetDC(), ToDeviceX(x), ToDeviceY(y), text, length);
    PrinterTextScope scope(m_printer);
    out->Output(GetDC(), ToDeviceX(x), ToDeviceY(y), text, length);
    return true;
}

int SPrinterPage::PrintText(const char* text, bool lineMode)
{
    if (!GetDC())
        return 0;
    SString work(text ? text : "");
    work.Replace("\t", "    ");
    if (lineMode && work.GetLength() == 0)
        work = " ";
    const RECT area = m_printer->GetPrintableRectPixels();
    PrinterTextScope scope(m_printer);
    return PrintRuns(work.GetText(), area, lineMode);
}

void SPrinterPage::NewLine(const RECT& area, int height)
{
    m_x = area.left;
    m_y += height;
}

// Words and runs of blanks are added to a pending line until the next one would
// pass the right edge; the count returned never includes text left unprinted.
int SPrinterPage::PrintRuns(const char* text, const RECT& area, bool lineMode)
{
    SPrintMeasurer* measure = m_printer->GetMeasurer();
    const HDC dc = GetDC();
    const SString source(text);
    const int heightM = measure->Measure(dc, "M", 1).cy;
    SString pending;
    int position = 0, printed = 0, lineHeight = heightM;
    SIZE extent = {0, heightM};
    while (position < source.GetLength())
    {
        int next = position;
        const SString token = source.GetWord(position, &next, true);
        const SString candidate = pending + token.GetText();
        extent = measure->Measure(dc, candidate.GetText(), candidate.GetLength());
        lineHeight = extent.cy > heightM ? extent.cy : heightM;
        if (m_y + lineHeight > area.bottom)
            return printed;
        if (m_x + extent.cx > area.right && pending.GetLength() > 0)
        {
            measure->Output(dc, m_x, m_y, pending.GetText(), pending.GetLength());
            NewLine(area, lineHeight);
            pending = "";
            printed = position;
            if (IsSingleBlank(token))
                printed = position = next;
            continue;
        }
        pending = candidate;
        position = next;
    }
    const SIZE last = measure->Measure(dc, pending.GetText(), pending.GetLength());
    measure->Output(dc, m_x, m_y, pending.GetText(), pending.GetLength());
    if (lineMode)
        NewLine(area, lineHeight);
    else
        m_x += last.cx;
    return position;
}
