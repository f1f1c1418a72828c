// The Go To box, printing, and the tool panel the editor can fill.
#include "SCodeEditCtrl.h"
#include "SButtonCtrl.h"
#include "SEditCtrl.h"
#include "SImage.h"
#include "SMemory.h"
#include "SPrinter.h"

namespace
{
const int GOTO_OK = 1;
const int GOTO_CANCEL = 0;

// Four 16 x 16 pictures side by side: a magnifier, two pages, an arrow, a printer.
bool DrawToolPictures(SImage& strip)
{
    if (!strip.Create(64, 16))
        return false;
    Gdiplus::Graphics g(strip.GetBitmap());
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.Clear(Gdiplus::Color(0, 0, 0, 0));
    Gdiplus::Pen ink(Gdiplus::Color(255, 40, 60, 110), 2.0f);
    Gdiplus::SolidBrush paper(Gdiplus::Color(255, 250, 250, 250));
    Gdiplus::SolidBrush blue(Gdiplus::Color(255, 50, 110, 200));
    g.DrawEllipse(&ink, 2, 2, 8, 8);
    g.DrawLine(&ink, 9, 9, 14, 14);
    g.FillRectangle(&paper, 17, 1, 8, 10);
    g.DrawRectangle(&ink, 17, 1, 8, 10);
    g.FillRectangle(&paper, 22, 5, 8, 10);
    g.DrawRectangle(&ink, 22, 5, 8, 10);
    const Gdiplus::Point arrow[7] = {{34, 6}, {41, 6}, {41, 2}, {47, 8}, {41, 14}, {41, 10}, {34, 10}};
    g.FillPolygon(&blue, arrow, 7);
    g.FillRectangle(&paper, 52, 1, 8, 6);
    g.DrawRectangle(&ink, 52, 1, 8, 6);
    g.FillRectangle(&blue, 49, 7, 14, 6);
    g.FillRectangle(&paper, 52, 11, 8, 4);
    return true;
}
} // namespace

SCodeEditCtrl::_SWndGoto::_SWndGoto(SCodeEditCtrl* editor)
    : m_editor(editor), m_edit(new SEditCtrl), m_ok(new SButtonCtrl), m_cancel(new SButtonCtrl)
{
}

SCodeEditCtrl::_SWndGoto::~_SWndGoto()
{
    DestroyWindow();
}

void SCodeEditCtrl::_SWndGoto::OnCreated()
{
    SetClientSize(200, 65);
    CenterWindow(true);
    const int line = m_editor->GetCaretLine() < 0 ? 1 : m_editor->m_startLine + 1;
    const RECT edit = {5, 5, 195, 30};
    m_edit->Create(IntToString(line).GetText(), WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, &edit,
                   m_handle);
    m_edit->SetSel(0, -1);
    const RECT ok = {10, 35, 100, 60};
    m_ok->Create("OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, &ok, m_handle, GOTO_OK);
    const RECT cancel = {105, 35, 195, 60};
    m_cancel->Create(m_editor->GetText("#CANCEL").GetText(), WS_VISIBLE | WS_TABSTOP, 0, &cancel, m_handle,
                     GOTO_CANCEL);
}

int SCodeEditCtrl::_SWndGoto::ReadNumber() const
{
    const SString text = m_edit->GetWindowText();
    int value = 0, digits = 0;
    for (int i = 0; i < text.GetLength(); i++)
    {
        const char c = text.GetAt(i);
        if (c == ' ' && digits == 0)
            continue;
        if (c < '0' || c > '9' || value > 100000000)
            return c == ' ' ? value : 0;
        value = value * 10 + (c - '0');
        digits++;
    }
    return value;
}

LRESULT SCodeEditCtrl::_SWndGoto::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case SWM_MODALSTART:
        ShowWindow(SW_SHOW);
        m_edit->SetFocus();
        break;
    case SWM_DIALOGOK:
        EndModal(ReadNumber());
        return 0;
    case SWM_DIALOGCANCEL:
        EndModal(0);
        return 0;
    case SWM_BUTTON_CLICKED:
        if (reinterpret_cast<SWnd*>(wParam) == m_ok.get())
            EndModal(ReadNumber());
        else if (reinterpret_cast<SWnd*>(wParam) == m_cancel.get())
            EndModal(0);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void SCodeEditCtrl::ShowGoToBox()
{
    if (m_goto)
    {
        m_goto->SetFocus();
        return;
    }
    if (!m_open || !m_handle)
        return;
    m_goto.reset(new _SWndGoto(this));
    SString caption;
    caption.Format("1 - %d", GetLineCount());
    RECT rect = {0, 0, 200, 65};
    int result = 0;
    if (m_goto->CreatePopup(caption.GetText(), &rect, m_handle, reinterpret_cast<LPARAM>(this), false))
        result = m_goto->DoModal();
    m_goto.reset();
    GoToLine(result);
    InvalidateRect(nullptr, true);
    SetFocus();
}

bool SCodeEditCtrl::GoToLine(int line)
{
    if (line < 1 || line > GetLineCount())
        return false;
    SetSelection(line - 1, 0, -1, -1, -1, true);
    return true;
}

void SCodeEditCtrl::OnGoTo()
{
    ShowGoToBox();
}

void SCodeEditCtrl::OnPrint()
{
    PrintText();
}

bool SCodeEditCtrl::PrintText()
{
    SMemory text;
    const SString name = m_fileName;
    if (!SaveToStream(&text, name.GetText()))
        return false;
    text.SeekToStart();
    SPrinter own;
    SPrinter* printer = m_printer ? m_printer : &own;
    printer->SetOwnerWindow(m_handle);
    printer->GetFontRecord()->face = "courier new";
    printer->GetFontRecord()->points = 9;
    const bool printed = printer->PrintStream(&text);
    const bool ended = printer->EndDocument();
    return printed && ended;
}

void SCodeEditCtrl::SetToolPanel(SPanelCtrl* panel)
{
    m_toolPanel.reset(panel);
}

void SCodeEditCtrl::FillToolPanel(LPARAM, LPARAM)
{
    SPanelCtrl* panel = m_toolPanel.get();
    if (!panel || !panel->AddGroup(0, GetText("#GENERAL").GetText()))
        return;
    const char* const keys[4] = {"#FIND", "#REPLACE", "#GOTO", "#PRINT"};
    for (int i = 0; i < 4; i++)
        panel->AddButton(i, GetText(keys[i]).GetText(), 0);
    SImage strip;
    if (DrawToolPictures(strip) && m_images.CreateFromStrip(&strip, 16, 16))
        panel->GetGroup(0)->pictures.CreateFromStrip(&strip, 16, 16);
}

void SCodeEditCtrl::HandleToolPanelClick(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* hit)
{
    if (groupId == 0)
    {
        switch (buttonId)
        {
        case 0: OnFind(); break;
        case 1: OnReplace(); break;
        case 2: OnGoTo(); break;
        case 3: OnPrint(); break;
        default: break;
        }
    }
    OnToolPanelClick(panel, groupId, buttonId, hit);
}

void SCodeEditCtrl::_SToolPanel::OnButtonClick(int groupId, int buttonId, _SButton* button)
{
    if (m_editor)
        m_editor->HandleToolPanelClick(this, groupId, buttonId, button);
    SPanelCtrl::OnButtonClick(groupId, buttonId, button);
}
