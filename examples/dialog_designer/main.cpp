// The dialog designer in a host window: the toolbox panel on the left, the
// design surface in the middle and the property pane on the right. It opens the
// description named on the command line (or a built-in one), runs it as a real
// dialog from the toolbox's Test button, and saves it with Ctrl+S or the Save
// button through a temporary file, so that a failed save keeps the old file.
#include "SPlatform.h"
#include "SDialogCtrl.h"
#include "SFile.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "SImage.h"
#include "SPanelCtrl.h"

namespace
{
const int TOOLBOX_WIDTH = 170;
const int PANE_WIDTH = 260;
const int FILE_GROUP = 4;
const int SAVE_BUTTON = 0;
const char* const BUILT_IN =
    "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n"
    "[DIALOG]\r\nID=0\r\nNAME=SAMPLE\r\nCAPTION=Sample dialog\r\nFONT=, 0, 0\r\nPOSITION=0 0 320 120\r\n"
    "STYLE=WS_VISIBLE WS_BORDER WS_CAPTION WS_SYSMENU \r\nEXSTYLE=\r\nBACKCOLOR=#FF000000\r\n"
    "TEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\n\r\n"
    "[LABEL]\r\nID=1\r\nNAME=LABEL_NAME\r\nCAPTION=Name:\r\nFONT=, 0, 0\r\nPOSITION=10 15 60 20\r\n"
    "STYLE=WS_VISIBLE \r\nEXSTYLE=\r\nBACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\n"
    "ISLOCKED=0\r\nLABEL_ALIGN=_LEFT\r\nLABEL_VALIGN=_MIDDLE\r\n\r\n"
    "[EDIT]\r\nID=2\r\nNAME=EDIT_NAME\r\nCAPTION=\r\nFONT=, 0, 0\r\nPOSITION=75 15 230 20\r\n"
    "STYLE=WS_VISIBLE WS_BORDER ES_LEFT ES_AUTOHSCROLL \r\nEXSTYLE=\r\nBACKCOLOR=#FF000000\r\n"
    "TEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\nTABENABLED=1\r\nTABGROUP=1\r\n\r\n"
    "[BUTTON]\r\nID=3\r\nNAME=OK\r\nCAPTION=OK\r\nFONT=, 0, 0\r\nPOSITION=120 80 90 25\r\n"
    "STYLE=WS_VISIBLE BS_LEFT BS_RIGHT BS_CENTER BS_TOP BS_BOTTOM BS_VCENTER \r\nEXSTYLE=\r\n"
    "BACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\nTABENABLED=1\r\nTABGROUP=2\r\n\r\n"
    "[BUTTON]\r\nID=4\r\nNAME=CANCEL\r\nCAPTION=Cancel\r\nFONT=, 0, 0\r\nPOSITION=215 80 90 25\r\n"
    "STYLE=WS_VISIBLE BS_LEFT BS_RIGHT BS_CENTER BS_TOP BS_BOTTOM BS_VCENTER \r\nEXSTYLE=\r\n"
    "BACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\nTABENABLED=1\r\nTABGROUP=3\r\n\r\n";

// The designer's toolbox buttons carry texts only: the example draws each one a
// picture of its initials ("CE" for Code Editor, "Pt" for the pointer).
void DrawToolboxPictures(SPanelCtrl& panel, int groupId)
{
    const SPanelCtrl::_SGroup* group = panel.GetGroup(groupId);
    if (!group)
        return;
    SArrayString initials;
    for (int i = 0; i < group->buttons.GetCount(); i++)
    {
        const SPanelCtrl::_SButton* button = group->buttons.GetAt(i);
        if (button->separator)
            continue;
        SString letters(button->text.GetLength() == 0 ? "Pt" : "");
        for (int c = 0; c < button->text.GetLength() && letters.GetLength() < 2; c++)
            if (c == 0 || button->text.GetText()[c - 1] == ' ')
                letters += SString().SetText(button->text.GetText() + c, 1).GetText();
        initials.Add(letters.GetText());
    }
    const int size = SPanelCtrl::PICTURE_SIZE;
    SImage strip;
    if (initials.GetCount() == 0 || !strip.Create(size * initials.GetCount(), size))
        return;
    {
        Gdiplus::Graphics graphics(strip.GetBitmap());
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        Gdiplus::Font font(L"Tahoma", 7.0f, Gdiplus::FontStyleBold);
        Gdiplus::SolidBrush ink(Gdiplus::Color(255, 30, 60, 120));
        Gdiplus::StringFormat centred;
        centred.SetAlignment(Gdiplus::StringAlignmentCenter);
        centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        for (int i = 0; i < initials.GetCount(); i++)
        {
            wchar_t text[8] = {};
            MultiByteToWideChar(CP_ACP, 0, initials.GetAt(i).GetText(), -1, text, 8);
            const Gdiplus::RectF place(static_cast<float>(i * size), 0.0f, static_cast<float>(size),
                                       static_cast<float>(size));
            graphics.DrawString(text, -1, &font, place, &centred, &ink);
        }
    }
    SMemory png;
    if (strip.Save(SImage::FORMAT_PNG, &png))
    {
        png.SeekToStart();
        panel.SetGroupPictures(groupId, &png);
    }
}

class DesignerWnd;

// The toolbox hands its clicks to the designer, and its File group to the host.
class Toolbox : public SPanelCtrl
{
public:
    DesignerWnd* host = nullptr;
    void OnButtonClick(int groupId, int buttonId, _SButton* button) override;
};

class DesignerWnd : public SWnd
{
public:
    bool Open(const SString& path, bool named)
    {
        m_path = path;
        RECT r = {60, 40, 1180, 760};
        if (!Create("Dialog designer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &r, nullptr))
            return false;
        RECT none = {0, 0, 10, 10};
        m_toolbox.host = this;
        if (!m_toolbox.CreateChild("", WS_VISIBLE | WS_VSCROLL, 0, &none, GetHandle()) ||
            !m_designer.CreateChild("", WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, &none,
                                    GetHandle()) ||
            !m_pane.CreateChild("", WS_VISIBLE, WS_EX_CLIENTEDGE, &none, GetHandle()))
            return false;
        m_designer.SetPropertyPane(&m_pane);
        m_designer.SetToolbox(&m_toolbox);
        m_designer.FillToolbox();
        for (int group = SDialogCtrl::TOOLBOX_CONTROLS; group <= SDialogCtrl::TOOLBOX_MISC; group++)
            DrawToolboxPictures(m_toolbox, group);
        m_toolbox.AddGroup(FILE_GROUP, "File");
        m_toolbox.AddButton(SAVE_BUTTON, "Save (Ctrl+S)", FILE_GROUP, RGB(40, 160, 60));
        LayOut();
        Load(named);
        // Show the first control's properties.
        m_designer.SelectOnly(m_designer.GetElement(0));
        m_designer.RedrawWindow();
        return true;
    }

    SDialogCtrl& GetDesigner() { return m_designer; }

    void Save()
    {
        SMemory text;
        const bool saved = m_designer.WriteDescription(&text) &&
                           SFile::SaveReplacing(m_path.GetText(), text.GetData(), text.GetSize());
        ShowStatus(saved ? "Saved" : "Could not save");
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_SIZE:
            LayOut();
            break;
        case SWM_CHILDKEYDOWN:
            if (wParam == 'S' && m_keyboard.IsCtrlDown())
                Save();
            break;
        case SWM_CHANGED:
            if (reinterpret_cast<SWnd*>(wParam) == &m_designer)
                ShowStatus("Changed");
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        default:
            break;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    // The named file, or the built-in sample when there is none or it does not read.
    void Load(bool named)
    {
        SMemory text;
        if (named && text.LoadFromFile(m_path.GetText()) && m_designer.ReadDescription(&text))
        {
            const int slash = m_path.ReverseFindChar('\\');
            m_designer.GetResources().SetFolder(slash >= 0 ? m_path.Left(slash).GetText() : ".");
            ShowStatus("Editing");
            return;
        }
        text.SetSize(0);
        text.WriteText(BUILT_IN);
        text.SeekToStart();
        m_designer.ReadDescription(&text);
        ShowStatus(named ? "Could not read the file; editing the sample for" : "Editing the sample for");
    }

    void ShowStatus(const char* what)
    {
        SString title;
        title.Format("Dialog designer - %s %s", what, m_path.GetText());
        SetWindowText(title.GetText());
    }

    void LayOut()
    {
        RECT client = {};
        GetClientRect(&client);
        const int middle = client.right - TOOLBOX_WIDTH - PANE_WIDTH;
        m_toolbox.MoveWindow(0, 0, TOOLBOX_WIDTH, client.bottom, true);
        m_designer.MoveWindow(TOOLBOX_WIDTH, 0, middle > 0 ? middle : 0, client.bottom, true);
        m_pane.MoveWindow(client.right - PANE_WIDTH, 0, PANE_WIDTH, client.bottom, true);
    }

    SString m_path;
    SKeyboard m_keyboard;
    // The designer goes first: it still speaks to its pane and toolbox when it closes.
    Toolbox m_toolbox;
    SDialogCtrl::_SPropertyCtrl m_pane;
    SDialogCtrl m_designer;
};

void Toolbox::OnButtonClick(int groupId, int buttonId, _SButton* button)
{
    if (groupId == FILE_GROUP && buttonId == SAVE_BUTTON && host)
        host->Save();
    else if (host)
        host->GetDesigner().OnToolboxClick(groupId, buttonId);
    SPanelCtrl::OnButtonClick(groupId, buttonId, button);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    {
        const SArrayString& arguments = GetCommandLineArguments();
        const bool named = arguments.GetCount() > 1;
        const SString path = named ? arguments.GetAt(1) : GetProgramFolder() + "dialog_designer.txt";
        DesignerWnd window;
        if (window.Open(path, named))
        {
            bool blocking = true;
            RunMessageLoop(&blocking, nullptr, 0);
        }
    }
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return 0;
}
