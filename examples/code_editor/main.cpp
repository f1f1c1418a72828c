// A small source editor: line numbers, comment and keyword colours, a tool
// panel beside the text, an LCD ticker with the caret position, and saving
// through a temporary file so that a failed save never harms the old file.
#include "SPlatform.h"
#include "SCodeEditCtrl.h"
#include "SFile.h"
#include "SGuards.h"
#include "SLcdCtrl.h"
#include "SLibrary.h"
#include "SMemory.h"

namespace
{
const int PANEL_WIDTH = 120;
const int LCD_HEIGHT = 44;
const int FILE_GROUP = 1;
const int SAVE_BUTTON = 0;
const char* const SAMPLE =
    "// Sample text: edit it and press Ctrl+S or the Save button.\r\n"
    "int main()\r\n{\r\n\tconst char* text = \"// not a comment\";\r\n\treturn MAX_VALUE; // a comment\r\n}\r\n";

// The old file stays untouched unless the whole text was written and closed.
bool SaveThroughTemporary(SCodeEditCtrl& editor, const SString& path)
{
    SMemory text;
    if (!editor.SaveToStream(&text, path.GetText()))
        return false;
    return SFile::SaveReplacing(path.GetText(), text.GetData(), text.GetSize());
}

class EditorWnd;

// The editor tells the window when its caret moves or the Save button is pressed.
class ExampleEditor : public SCodeEditCtrl
{
public:
    EditorWnd* owner = nullptr;
    void OnSelectionChanged() override;
    void OnToolPanelClick(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* hit) override;
};

class EditorWnd : public SWnd
{
public:
    bool Open(const SString& path)
    {
        m_path = path;
        RECT r = {100, 80, 900, 680};
        if (!Create("Code editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &r, nullptr))
            return false;
        RECT none = {0, 0, 10, 10};
        m_editor.owner = this;
        if (!m_editor.CreateChild("", WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE, &none,
                                  GetHandle()))
            return false;
        SetUpEditor();
        SetUpPanel();
        m_lcd.CreateChild("", WS_VISIBLE, 0, &none, GetHandle());
        m_lcd.SetLineCount(2);
        m_lcd.SetCharCount(40);
        m_lcd.SetScrollSpeed(1, 0);
        m_lcd.SetScrolling(true);
        LayOut();
        ShowPosition();
        m_editor.SetFocus();
        return true;
    }

    void ShowPosition()
    {
        SString text;
        text.Format("%s\r\nLine %d  Column %d  of %d lines", m_status.GetText(), m_editor.GetCaretLine() + 1,
                    m_editor.GetCaretColumn() + 1, m_editor.GetLineCount());
        m_lcd.SetWindowText(text.GetText());
    }

    void Save()
    {
        m_status = SaveThroughTemporary(m_editor, m_path) ? "Saved " : "Could not save ";
        m_status += m_path.GetText();
        ShowPosition();
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
            ShowPosition();
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
    void SetUpEditor()
    {
        LoadFile();
        m_editor.SetLineNumbers(true);
        m_editor.SetCommentsEnabled(true);
        m_editor.SetStrings(true);
        m_editor.SetUpperWords(true);
        const char* const keywords[] = {"int", "char", "const", "return", "if", "else", "for", "while"};
        for (const char* word : keywords)
            m_editor.AddKeyword(word, RGB(0, 0, 255), true);
    }

    void LoadFile()
    {
        SMemory text;
        SHandleGuard file(CreateFileA(m_path.GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        char buffer[65536];
        DWORD read = 0;
        while (file.IsValid() && ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
            text.Write(buffer, static_cast<int>(read));
        if (text.GetSize() == 0)
            text.WriteText(SAMPLE);
        text.SeekToStart();
        m_editor.LoadFromStream(&text, m_path.GetText());
        m_status = "Editing ";
        m_status += m_path.GetText();
    }

    void SetUpPanel()
    {
        SCodeEditCtrl::_SToolPanel* panel = new SCodeEditCtrl::_SToolPanel(&m_editor);
        RECT none = {0, 0, 10, 10};
        m_editor.SetToolPanel(panel);
        if (!panel->CreateChild("", WS_VISIBLE, 0, &none, GetHandle()))
            return;
        m_editor.FillToolPanel(0, 0);
        panel->AddGroup(FILE_GROUP, "File");
        panel->AddButton(SAVE_BUTTON, "Save (Ctrl+S)", FILE_GROUP, RGB(40, 160, 60));
    }

    void LayOut()
    {
        RECT client = {};
        GetClientRect(&client);
        if (SPanelCtrl* panel = m_editor.GetToolPanel())
            panel->MoveWindow(0, 0, PANEL_WIDTH, client.bottom, true);
        m_lcd.MoveWindow(PANEL_WIDTH, 0, client.right - PANEL_WIDTH, LCD_HEIGHT, true);
        m_editor.MoveWindow(PANEL_WIDTH, LCD_HEIGHT, client.right - PANEL_WIDTH, client.bottom - LCD_HEIGHT, true);
    }

    SString m_path;
    SString m_status;
    SKeyboard m_keyboard;
    ExampleEditor m_editor;
    SLcdCtrl m_lcd;
};

void ExampleEditor::OnSelectionChanged()
{
    if (owner)
        owner->ShowPosition();
}

void ExampleEditor::OnToolPanelClick(SPanelCtrl*, int groupId, int buttonId, SPanelCtrl::_SButton*)
{
    if (owner && groupId == FILE_GROUP && buttonId == SAVE_BUTTON)
        owner->Save();
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    {
        const SString path = GetProgramFolder() + "code_editor.txt";
        EditorWnd window;
        if (window.Open(path))
        {
            bool blocking = true;
            RunMessageLoop(&blocking, nullptr, 0);
        }
    }
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return 0;
}
