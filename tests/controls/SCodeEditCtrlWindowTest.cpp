#include <string>
#include "../window/HeldKeys.h"
#include "CodeEditTestSupport.h"
#include "SEditCtrl.h"
#include "SLibrary.h"
#include "SPrinter.h"

namespace
{
class CountingPrinter : public SPrinter
{
public:
    int opened = 0;

protected:
    HDC OpenDocument(PRINTDLGA*, const char*) override
    {
        opened++;
        return CreateCompatibleDC(nullptr);
    }
};

// What the timer saw of the Go To box, and what it typed there.
struct GoToScript
{
    SCodeEditCtrl* editor = nullptr;
    const char* entry = nullptr; // null: the box is cancelled
    std::string caption, proposed;
    int ticks = 0;
};
GoToScript g_script;

void CALLBACK AnswerGoTo(HWND, UINT, UINT_PTR id, DWORD)
{
    SCodeEditCtrl::_SWndGoto* box = g_script.editor->GetGoToBox();
    // A box that never shows up is ended by the editor's own test failing after many ticks.
    if (!box && ++g_script.ticks < 200)
        return;
    KillTimer(nullptr, id);
    if (!box)
        return;
    g_script.caption = box->GetWindowText().GetText();
    g_script.proposed = box->GetEdit()->GetWindowText().GetText();
    if (g_script.entry)
    {
        box->GetEdit()->SetWindowText(g_script.entry);
        box->SendMessage(SWM_DIALOGOK);
    }
    else
        box->SendMessage(SWM_DIALOGCANCEL);
}

class SCodeEditCtrlWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = {0, 0, 500, 400};
        ASSERT_TRUE(parent.Create("Editor", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        RECT child = {100, 0, 500, 300};
        ASSERT_TRUE(editor.CreateChild("", WS_VISIBLE | WS_TABSTOP, 0, &child, parent.GetHandle()));
        editor.SetFocus();
        g_script = GoToScript();
        g_script.editor = &editor;
    }
    std::string Text() const { return editor.GetWindowText().GetText(); }
    void RunGoTo(const char* entry)
    {
        g_script.entry = entry;
        SetTimer(nullptr, 0, 30, AnswerGoTo);
        editor.ShowGoToBox();
        EXPECT_EQ(nullptr, editor.GetGoToBox());
    }

    SWnd parent;
    SCodeEditCtrl editor;
};
} // namespace

TEST_F(SCodeEditCtrlWindowTest, KeysAndCharactersReachTheEditor)
{
    editor.SetWindowText("abc\r\n\tdef");
    EXPECT_EQ(2, editor.GetLineCount());
    editor.SendMessage(WM_KEYDOWN, VK_DOWN);
    editor.SendMessage(WM_KEYDOWN, VK_END);
    editor.SendMessage(WM_CHAR, 'x');
    EXPECT_EQ("abc\r\n\tdefx", Text());
    EXPECT_EQ(static_cast<LRESULT>(Text().size()), editor.SendMessage(WM_GETTEXTLENGTH));
    {
        HeldKeys shift({VK_SHIFT});
        editor.SendMessage(WM_KEYDOWN, VK_HOME);
    }
    EXPECT_EQ("defx", std::string(editor.GetSelectedText().GetText()));
    {
        HeldKeys ctrl({VK_CONTROL});
        editor.SendMessage(WM_KEYDOWN, 'Y');
    }
    EXPECT_EQ("abc\r\n\t//defx", Text());
    editor.SendMessage(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ("abc\r\n\t", Text());
    {
        HeldKeys ctrl({VK_CONTROL});
        editor.SendMessage(WM_KEYDOWN, 'Z');
    }
    EXPECT_EQ("abc\r\n\t//defx", Text());
    char small[5] = {};
    EXPECT_EQ(4, editor.SendMessage(WM_GETTEXT, sizeof(small), reinterpret_cast<LPARAM>(small)));
    EXPECT_STREQ("abc\r", small);
}

TEST_F(SCodeEditCtrlWindowTest, MenuCommandsAndTheirTexts)
{
    editor.SetWindowText("abc");
    const WPARAM menu = reinterpret_cast<WPARAM>(&editor.GetContextMenu());
    const struct
    {
        int id;
        const char* text;
    } steps[] = {{1005, "abc"}, {1001, ""}, {1000, "abc"}, {1003, "abcabc"}, {1005, "abcabc"}, {1004, ""}};
    for (const auto& s : steps)
    {
        editor.SendMessage(SWM_MENUCOMMAND, menu, s.id);
        EXPECT_EQ(s.text, Text()) << s.id;
    }
    EXPECT_STREQ("Delete\tDel", editor.GetContextMenu().GetItemText(1004).GetText());
    EXPECT_STREQ("Select All\tCtrl+A", editor.GetContextMenu().GetItemText(1005).GetText());
    editor.SetLanguage(false);
    EXPECT_STREQ("Supprimer\tSuppr", editor.GetContextMenu().GetItemText(1004).GetText());
    EXPECT_STREQ("Annuler", editor.GetText("#CANCEL").GetText());
    EXPECT_STREQ("", editor.GetText("#NONE").GetText());
}

TEST_F(SCodeEditCtrlWindowTest, CutKeepsTheTextWhenTheClipboardRefusesIt)
{
    editor.SetWindowText("keep\r\nme");
    editor.OnSelectAll();
    // Another window holds the clipboard open meanwhile.
    ASSERT_TRUE(OpenClipboard(parent.GetHandle()));
    editor.OnCut();
    CloseClipboard();
    EXPECT_EQ("keep\r\nme", Text());
    EXPECT_EQ("keep\r\nme", std::string(editor.GetSelectedText().GetText()));
}

TEST_F(SCodeEditCtrlWindowTest, GoToBoxProposesTheLineAndIgnoresZero)
{
    std::string text;
    for (int i = 1; i < 57; i++)
        text += "line\r\n";
    editor.SetWindowText(text.c_str());
    editor.SetSelectionRange(4, 2, -1, -1, -1);
    RunGoTo("12");
    EXPECT_EQ("1 - 57", g_script.caption);
    EXPECT_EQ("5", g_script.proposed);
    EXPECT_EQ(11, editor.GetCaretLine());
    EXPECT_EQ(0, editor.GetCaretColumn());
    for (const char* entry : {"0", "58", "x"})
    {
        RunGoTo(entry);
        EXPECT_EQ(11, editor.GetCaretLine()) << entry;
    }
}

TEST_F(SCodeEditCtrlWindowTest, FindReplaceMessagesDriveTheSearch)
{
    editor.SetWindowText("one two\r\ntwo");
    char find[257] = "two", replace[257] = "2";
    FINDREPLACEA record = {};
    record.lStructSize = sizeof(record);
    record.lpstrFindWhat = find;
    record.lpstrReplaceWith = replace;
    record.Flags = FR_FINDNEXT | FR_DOWN;
    const UINT message = GetFindReplaceMessage();
    ASSERT_NE(0u, message);
    editor.SendMessage(message, 0, reinterpret_cast<LPARAM>(&record));
    EXPECT_EQ("two", std::string(editor.GetSelectedText().GetText()));
    EXPECT_EQ(0, editor.GetCaretLine());
    record.Flags = FR_REPLACEALL | FR_DOWN;
    editor.SendMessage(message, 0, reinterpret_cast<LPARAM>(&record));
    EXPECT_EQ("one 2\r\n2", Text());
}

TEST_F(SCodeEditCtrlWindowTest, ToolPanelReachesFindReplaceGoToAndPrint)
{
    editor.SetWindowText("alpha\r\nbeta");
    SCodeEditCtrl::_SToolPanel* panel = new SCodeEditCtrl::_SToolPanel(&editor);
    RECT r = {0, 0, 100, 300};
    ASSERT_TRUE(panel->CreateChild("", WS_VISIBLE, 0, &r, parent.GetHandle()));
    editor.SetToolPanel(panel);
    editor.FillToolPanel(0, 0);
    CountingPrinter printer;
    editor.SetPrinter(&printer);
    auto click = [&](int button) {
        const SPanelCtrl::_SButton* b = panel->GetButton(0, button);
        ASSERT_NE(nullptr, b);
        panel->SendMessage(SWM_LCLICK, 0, MAKELPARAM(b->x + 5, b->y + 5));
    };
    EXPECT_STREQ("Find...", panel->GetButton(0, 0)->text.GetText());
    click(0);
    EXPECT_NE(nullptr, editor.GetFindDialog());
    editor.CloseFindDialog();
    click(1);
    EXPECT_NE(nullptr, editor.GetFindDialog());
    editor.CloseFindDialog();
    g_script.entry = nullptr;
    SetTimer(nullptr, 0, 30, AnswerGoTo);
    click(2);
    EXPECT_EQ("1 - 2", g_script.caption);
    click(3);
    EXPECT_EQ(1, printer.opened);
}
