// One page of a print job: a cursor in device pixels and text printed at it,
// wrapped at word boundaries within the printable rectangle.
#pragma once
#include "SPlatform.h"

class SPrinter;

class SPrinterPage
{
public:
    explicit SPrinterPage(SPrinter* printer);
    virtual ~SPrinterPage() {}

    SPrinter* GetPrinter() const { return m_printer; }
    HDC GetDC() const;
    int ToDeviceX(double length) const;
    int ToDeviceY(double length) const;
    double PixelsToUnitsX(int pixels) const;
    double PixelsToUnitsY(int pixels) const;

    bool TextAt(const char* text, double x, double y, bool plain);
    // The number of characters of the text printed (tabs count as four blanks).
    int PrintText(const char* text, bool lineMode);
    int PrintLine(const char* text) { return PrintText(text, true); }

    int GetCursorX() const { return m_x; }
    int GetCursorY() const { return m_y; }

private:
    int PrintRuns(const char* text, const RECT& area, bool lineMode);
    void NewLine(const RECT& area, int height);

    SPrinter* m_printer;
    int m_x;
    int m_y;
};
