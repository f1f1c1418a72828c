// One print job on a printer chosen in the system's print dialog: a unit of
// length, page margins, a font and a text colour, pages of text, and a text
// stream printed line by line with word wrapping and new pages.
#pragma once
#include "SPlatform.h"
#include <commdlg.h>
#include <memory>
#include "SFontRecord.h"
#include "SPrintMeasurer.h"

class SPrinterPage;
class SVirtualFile;

class SPrinter
{
public:
    SPrinter();
    virtual ~SPrinter();

    // Drops any print job (an open document is aborted) and restores the defaults.
    void Reset();
    bool SetOwnerWindow(HWND owner);
    bool StartDocument(const char* name);
    SPrinterPage* NewPage();
    void EndPage(SPrinterPage* page);
    bool EndDocument();
    bool PrintStream(SVirtualFile* stream);
    bool HasDocument() const { return m_dc != nullptr; }

    int GetUnit() const { return m_unit; }
    void SetUnit(int unit) { m_unit = unit; }
    double ToBaseUnits(double length) const;
    double FromBaseUnits(double millimetres) const;
    int ToDeviceX(double length) const;
    int ToDeviceY(double length) const;
    double PixelsToUnitsX(int pixels) const;
    double PixelsToUnitsY(int pixels) const;

    double GetLeftMargin() const { return FromBaseUnits(m_margins[0]); }
    double GetTopMargin() const { return FromBaseUnits(m_margins[1]); }
    double GetRightMargin() const { return FromBaseUnits(m_margins[2]); }
    double GetBottomMargin() const { return FromBaseUnits(m_margins[3]); }
    // Margins in the current unit, from the paper's edges.
    void SetMargins(double left, double top, double right, double bottom);

    SFontRecord* GetFontRecord() { return &m_font; }
    const SFontRecord& GetDefaultFont() const { return m_defaultFont; }
    COLORREF GetTextColor() const { return m_textColor; }
    void SetTextColor(COLORREF color) { m_textColor = color; }

    HDC GetDC() const { return m_dc; }
    int GetHorzRes() const { return m_caps.horzRes; }
    int GetVertRes() const { return m_caps.vertRes; }
    int GetPhysicalWidth() const { return m_caps.physicalWidth; }
    int GetPhysicalHeight() const { return m_caps.physicalHeight; }
    int GetPhysicalOffsetX() const { return m_caps.offsetX; }
    int GetPhysicalOffsetY() const { return m_caps.offsetY; }
    // Left, top, right, bottom in the unit, relative to the printable area's origin.
    void GetPrintableRect(double* left, double* top, double* right, double* bottom) const;
    RECT GetPrintableRectPixels() const;

    SPrintMeasurer* GetMeasurer() { return m_measurer; }
    // The printer does not own it; null restores the GDI measurer.
    void SetMeasurer(SPrintMeasurer* measurer) { m_measurer = measurer ? measurer : &m_gdiMeasurer; }

    const PRINTDLGA* GetDialogData() const { return m_dialog.get(); }
    static const DWORD DIALOG_FLAGS = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    static const char* const STREAM_DOCUMENT_NAME;

protected:
    // The print dialog and StartDocA: the context of an open document, or null.
    // Replaced by tests, which hand in a memory context.
    virtual HDC OpenDocument(PRINTDLGA* dialog, const char* name);
    virtual int GetDeviceCapability(HDC dc, int index) const;

private:
    struct Caps
    {
        int horzRes = 0, vertRes = 0, horzSize = 0, vertSize = 0;
        int physicalWidth = 0, physicalHeight = 0, offsetX = 0, offsetY = 0;
        int logPixelsX = 0, logPixelsY = 0;
        double pixelsPerMmX = 0, pixelsPerMmY = 0;
    };

    void ReadCaps();
    void AbandonDocument();
    bool PrintStreamPage(SVirtualFile* stream, int* unprinted);

    std::unique_ptr<PRINTDLGA> m_dialog;
    HWND m_owner;
    int m_unit;
    SFontRecord m_defaultFont;
    SFontRecord m_font;
    COLORREF m_textColor;
    double m_margins[4];
    HDC m_dc;
    Caps m_caps;
    SPrintMeasurer m_gdiMeasurer;
    SPrintMeasurer* m_measurer;

    SPrinter(const SPrinter&) = delete;
    SPrinter& operator=(const SPrinter&) = delete;
};
