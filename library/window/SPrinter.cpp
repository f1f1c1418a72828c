#include "SPrinter.h"
#include "SPrinterPage.h"
#include "SVirtualFile.h"

const char* const SPrinter::STREAM_DOCUMENT_NAME = "KLV";

namespace
{
const double MM_PER_UNIT_ONE = 0.254;
const int GIVE_UP_AFTER_UNPRINTED_LINES = 10;
const double DEFAULT_MARGIN_MM = 25.0;

// Printed characters count tabs as four blanks: the same count in the line's own characters.
int ExpandedToOwnCount(const SString& line, int printed)
{
    int own = 0, expanded = 0;
    const char* text = line.GetText();
    const int length = line.GetLength();
    while (own < length)
    {
        const int width = text[own] == '\t' ? 4 : 1;
        if (expanded + width > printed)
            break;
        expanded += width;
        own++;
    }
    return own;
}

void FreeDialogHandles(PRINTDLGA* dialog)
{
    if (!dialog)
        return;
    if (dialog->hDevMode)
        GlobalFree(dialog->hDevMode);
    if (dialog->hDevNames)
        GlobalFree(dialog->hDevNames);
    dialog->hDevMode = nullptr;
    dialog->hDevNames = nullptr;
}
}

SPrinter::SPrinter()
    : m_owner(nullptr), m_unit(0), m_textColor(0), m_margins{0, 0, 0, 0}, m_dc(nullptr),
      m_measurer(&m_gdiMeasurer)
{
    Reset();
}

SPrinter::~SPrinter()
{
    Reset();
}

void SPrinter::Reset()
{
    AbandonDocument();
    m_unit = 0;
    m_font = m_defaultFont;
    m_textColor = 0;
    for (double& margin : m_margins)
        margin = DEFAULT_MARGIN_MM;
}

bool SPrinter::SetOwnerWindow(HWND owner)
{
    AbandonDocument();
    m_owner = owner;
    return true;
}

// A job left open (owner changed, reset, destroyed) is aborted, never left with
// its context alive and its owner disabled.
void SPrinter::AbandonDocument()
{
    if (m_dc)
    {
        AbortDoc(m_dc);
        DeleteDC(m_dc);
        m_dc = nullptr;
        if (m_owner && IsWindow(m_owner))
            EnableWindow(m_owner, TRUE);
    }
    FreeDialogHandles(m_dialog.get());
    m_dialog.reset();
    m_caps = Caps();
}

bool SPrinter::StartDocument(const char* name)
{
    AbandonDocument();
    m_dialog.reset(new PRINTDLGA());
    ZeroMemory(m_dialog.get(), sizeof(PRINTDLGA));
    m_dialog->lStructSize = sizeof(PRINTDLGA);
    m_dialog->hwndOwner = m_owner;
    m_dialog->Flags = DIALOG_FLAGS;
    m_dialog->nFromPage = 0xFFFF;
    m_dialog->nToPage = 0xFFFF;
    m_dialog->nMinPage = 1;
    m_dialog->nMaxPage = 0xFFFF;
    m_dialog->nCopies = 1;
    HDC dc = OpenDocument(m_dialog.get(), name ? name : "");
    if (!dc)
    {
        FreeDialogHandles(m_dialog.get());
        m_dialog.reset();
        return false;
    }
    if (m_owner)
        EnableWindow(m_owner, FALSE);
    m_dc = dc;
    ReadCaps();
    return true;
}

HDC SPrinter::OpenDocument(PRINTDLGA* dialog, const char* name)
{
    if (PrintDlgA(dialog) != 1 || !dialog->hDC)
        return nullptr;
    DOCINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.lpszDocName = name;
    if (StartDocA(dialog->hDC, &info) <= 0)
    {
        DeleteDC(dialog->hDC);
        dialog->hDC = nullptr;
        return nullptr;
    }
    return dialog->hDC;
}

int SPrinter::GetDeviceCapability(HDC dc, int index) const
{
    return GetDeviceCaps(dc, index);
}

void SPrinter::ReadCaps()
{
    m_caps.horzRes = GetDeviceCapability(m_dc, HORZRES);
    m_caps.vertRes = GetDeviceCapability(m_dc, VERTRES);
    m_caps.horzSize = GetDeviceCapability(m_dc, HORZSIZE);
    m_caps.vertSize = GetDeviceCapability(m_dc, VERTSIZE);
    m_caps.physicalWidth = GetDeviceCapability(m_dc, PHYSICALWIDTH);
    m_caps.physicalHeight = GetDeviceCapability(m_dc, PHYSICALHEIGHT);
    m_caps.offsetX = GetDeviceCapability(m_dc, PHYSICALOFFSETX);
    m_caps.offsetY = GetDeviceCapability(m_dc, PHYSICALOFFSETY);
    m_caps.logPixelsX = GetDeviceCapability(m_dc, LOGPIXELSX);
    m_caps.logPixelsY = GetDeviceCapability(m_dc, LOGPIXELSY);
    m_caps.pixelsPerMmX = m_caps.horzSize > 0 ? double(m_caps.horzRes) / m_caps.horzSize : 0.0;
    m_caps.pixelsPerMmY = m_caps.vertSize > 0 ? double(m_caps.vertRes) / m_caps.vertSize : 0.0;
}

SPrinterPage* SPrinter::NewPage()
{
    if (!m_dc)
        return nullptr;
    StartPage(m_dc);
    return new SPrinterPage(this);
}

void SPrinter::EndPage(SPrinterPage* page)
{
    delete page;
    if (m_dc)
        ::EndPage(m_dc);
}

bool SPrinter::EndDocument()
{
    if (!m_dc)
        return false;
    const bool ended = EndDoc(m_dc) > 0;
    DeleteDC(m_dc);
    m_dc = nullptr;
    FreeDialogHandles(m_dialog.get());
    m_dialog.reset();
    if (m_owner && IsWindow(m_owner))
        EnableWindow(m_owner, TRUE);
    return ended;
}

bool SPrinter::PrintStream(SVirtualFile* stream)
{
    if (!stream || stream->IsEnd())
        return false;
    if (!StartDocument(STREAM_DOCUMENT_NAME))
        return false;
    int unprinted = 0;
    while (!stream->IsEnd())
    {
        if (!PrintStreamPage(stream, &unprinted))
            return false;
    }
    return true;
}

// One page of lines; false once too many lines in a row would not print at all.
bool SPrinter::PrintStreamPage(SVirtualFile* stream, int* unprinted)
{
    SPrinterPage* page = NewPage();
    if (!page)
        return false;
    bool going = true;
    while (!stream->IsEnd())
    {
        const int start = stream->GetPosition();
        const SString line = stream->ReadLine(true);
        const int printed = page->PrintLine(line.GetText() ? line.GetText() : "");
        const int own = ExpandedToOwnCount(line, printed);
        *unprinted = printed == 0 ? *unprinted + 1 : 0;
        if (*unprinted >= GIVE_UP_AFTER_UNPRINTED_LINES)
            going = false;
        if (printed == 0 || own < line.GetLength())
        {
            // The rest of the line starts the next page.
            stream->Seek(start + own);
            break;
        }
    }
    EndPage(page);
    return going;
}

double SPrinter::ToBaseUnits(double length) const
{
    if (m_unit == 1)
        return length / MM_PER_UNIT_ONE;
    if (m_unit == 2)
        return length * 10.0;
    return length;
}

double SPrinter::FromBaseUnits(double millimetres) const
{
    if (m_unit == 1)
        return millimetres * MM_PER_UNIT_ONE;
    if (m_unit == 2)
        return millimetres / 10.0;
    return millimetres;
}

int SPrinter::ToDeviceX(double length) const
{
    return int(ToBaseUnits(length) * m_caps.pixelsPerMmX);
}

int SPrinter::ToDeviceY(double length) const
{
    return int(ToBaseUnits(length) * m_caps.pixelsPerMmY);
}

double SPrinter::PixelsToUnitsX(int pixels) const
{
    return m_caps.pixelsPerMmX > 0 ? FromBaseUnits(pixels / m_caps.pixelsPerMmX) : 0.0;
}

double SPrinter::PixelsToUnitsY(int pixels) const
{
    return m_caps.pixelsPerMmY > 0 ? FromBaseUnits(pixels / m_caps.pixelsPerMmY) : 0.0;
}

void SPrinter::SetMargins(double left, double top, double right, double bottom)
{
    m_margins[0] = ToBaseUnits(left);
    m_margins[1] = ToBaseUnits(top);
    m_margins[2] = ToBaseUnits(right);
    m_margins[3] = ToBaseUnits(bottom);
}

// A margin inside the unprintable strip puts the text at the printable area's edge.
void SPrinter::GetPrintableRect(double* left, double* top, double* right, double* bottom) const
{
    const double offsetX = PixelsToUnitsX(m_caps.offsetX);
    const double offsetY = PixelsToUnitsY(m_caps.offsetY);
    const double width = PixelsToUnitsX(m_caps.horzRes);
    const double height = PixelsToUnitsY(m_caps.vertRes);
    const double stripRight = PixelsToUnitsX(m_caps.physicalWidth) - (offsetX + width);
    const double stripBottom = PixelsToUnitsY(m_caps.physicalHeight) - (offsetY + height);
    const double l = GetLeftMargin(), t = GetTopMargin(), r = GetRightMargin(), b = GetBottomMargin();
    if (left)
        *left = l >= offsetX ? l - offsetX : 0.0;
    if (top)
        *top = t >= offsetY ? t - offsetY : 0.0;
    if (right)
        *right = r >= stripRight ? width - (r - stripRight) : width;
    if (bottom)
        *bottom = b >= stripBottom ? height - (b - stripBottom) : height;
}

RECT SPrinter::GetPrintableRectPixels() const
{
    double l = 0, t = 0, r = 0, b = 0;
    GetPrintableRect(&l, &t, &r, &b);
    RECT rect = {ToDeviceX(l), ToDeviceY(t), ToDeviceX(r), ToDeviceY(b)};
    return rect;
}
