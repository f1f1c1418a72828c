#include "TourChoosers.h"
#include "SDrawing.h"
#include "SMemory.h"
#include "SPrinter.h"

namespace
{
const char* const CAPTIONS[] = {"Colour...", "Font...", "Files...", "Folder...", "System colour...", "Calendar...",
                                "Print"};
const char* const SAMPLE =
    "KLV Sonavel controls tour\r\n\r\n"
    "A short text printed through the library's printer: words wrap at the margins\r\n"
    "and long lines continue on the next page.\r\n";
}

bool ChoosersPage::Open(HWND parent)
{
    RECT area = {0, 0, 10, 10};
    if (!CreateChild("", 0, 0, &area, parent))
        return false;
    for (int i = 0; i < BUTTONS; i++)
    {
        RECT r = {10 + (i % 4) * 135, 10 + (i / 4) * 34, 10 + (i % 4) * 135 + 125, 10 + (i / 4) * 34 + 26};
        m_buttons[i].Create(CAPTIONS[i], WS_VISIBLE | BS_PUSHBUTTON, 0, &r, GetHandle(), 300 + i);
    }
    RECT r = {10, 90, 550, 150};
    m_result.Create("Choose something above.", WS_VISIBLE, WS_EX_CLIENTEDGE, &r, GetHandle(), 320);
    return true;
}

LRESULT ChoosersPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SWM_BUTTON_CLICKED)
    {
        for (int i = 0; i < BUTTONS; i++)
        {
            if (reinterpret_cast<SWnd*>(wParam) == &m_buttons[i])
                Choose(i);
        }
        return 0;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

HWND ChoosersPage::GetTopWindow() const
{
    return GetAncestor(GetHandle(), GA_ROOT);
}

void ChoosersPage::Choose(int which)
{
    SSelector selector(GetTopWindow());
    SString text("Nothing chosen.");
    LOGFONTA font;
    switch (which)
    {
    case COLOR:
        if (selector.ChooseColor(RGB(40, 80, 200), false, false, true))
            text = SString("Colour ") + FormatHtmlColor(selector.GetColor()).GetText();
        break;
    case FONT:
        FillLogFont(&font, "Tahoma", 10, 0);
        if (selector.ChooseFont(&font, nullptr))
            text.Format("Font %s, %d points, style %d", selector.GetFontName().GetText(), selector.GetFontSize(),
                        selector.GetFontStyle());
        break;
    case FILES:
        text = ChooseFiles(selector);
        break;
    case FOLDER:
        if (selector.BrowseForFolder(nullptr, "Choose a folder", "C:\\", false).GetLength() > 0)
            text = SString("Folder ") + selector.GetFolder().GetText();
        break;
    case SYSTEM_COLOR:
        if (selector.ChooseSystemColor("System colour"))
            text.Format("System colour %d", static_cast<int>(selector.GetColor() - 0xFE000000));
        break;
    case CALENDAR:
        text = ChooseDate();
        break;
    default:
        text = PrintSample();
        break;
    }
    m_result.SetWindowText(text.GetText());
}

SString ChoosersPage::ChooseFiles(SSelector& selector)
{
    SArrayString filters;
    filters.Add("Pictures|*.png;*.jpg;*.jpeg;*.gif;*.bmp");
    filters.Add("All files|*.*");
    if (!selector.GetOpenFileName(&filters, OFN_ALLOWMULTISELECT, "Choose files", "C:\\", 1))
        return SString("No file chosen.");
    SString text;
    text.Format("%d file(s), the first %s", selector.GetChosenFiles().GetCount(), selector.GetFileName(0).GetText());
    return text;
}

SString ChoosersPage::ChooseDate()
{
    SSelector::_SWndDate calendar;
    RECT r = {0, 0, 210, 161};
    if (!calendar.CreatePopup("Calendar", &r, GetTopWindow(), 0, false))
        return SString("The calendar could not open.");
    calendar.ShowWindow(SW_SHOW);
    const bool chosen = calendar.DoModal() == 0;
    SString text("No day chosen.");
    if (chosen)
        text = calendar.GetDate().Format("Day #D/#M/#Y");
    calendar.DestroyWindow();
    return text;
}

SString ChoosersPage::PrintSample()
{
    SPrinter printer;
    printer.SetOwnerWindow(GetTopWindow());
    SMemory stream;
    stream.WriteText(SAMPLE);
    stream.SeekToStart();
    if (!printer.PrintStream(&stream))
        return SString("Printing did not start (no printer, or the dialog was cancelled).");
    return SString(printer.EndDocument() ? "Printed." : "The printer did not finish the document.");
}
