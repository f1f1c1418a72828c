// The Preferences and folder Properties dialogs, built from the program's
// descriptions over a main window of this process: what they show, what OK
// and Cancel write, and what the main window does afterwards.
#include <gtest/gtest.h>
#include <functional>
#include "AppTestSupport.h"
#include "HttpStandIn.h"
#include "PWndSetting.h"
#include "SLibrary.h"
#include "SWndDialog.h"

using namespace apptest;

namespace
{
// What a test does inside the dialog once its modal run has started.
std::function<void(SWndDialog&)> g_inside;
SWndDialog* g_dialog = nullptr;

void CALLBACK ActInside(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_inside(*g_dialog);
}

int RunWithTimer(SWnd* window)
{
    g_dialog = static_cast<SWndDialog*>(window);
    SetTimer(nullptr, 0, 10, ActInside);
    return window->DoModal();
}

std::string Text(SWndDialog& dialog, const char* name)
{
    return TextOf(dialog.FindChildByName(name)->GetWindowText());
}

void Click(SWndDialog& dialog, const char* name)
{
    dialog.FindChildByName(name)->SendMessage(BM_CLICK);
}

// The folder and colour choosers stand-ins: what they were asked, and their answers
// (empty folder and colour 0 for a cancelled chooser).
std::vector<std::string> g_asked;
std::string g_folderAnswer;
COLORREF g_colorAnswer = 0;

bool AnswerFolder(SSelector&, const char* title, const char* start, SString* chosen)
{
    g_asked.push_back(std::string(title) + "|" + start);
    *chosen = g_folderAnswer.c_str();
    return !g_folderAnswer.empty();
}

bool AnswerColor(SSelector&, COLORREF initial, COLORREF* chosen)
{
    g_asked.push_back(std::to_string(initial));
    *chosen = g_colorAnswer;
    return g_colorAnswer != 0;
}

class PWndSettingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.WriteFile("Rock\\a.mp3", ""));
        settings.SetText("Folder", root.Path());
        settings.SetText("Images", "Covers; Art");
        settings.SetNumber("ToolBar", 1);
        settings.SetNumber("TaskbarColor", 0x123456);
        PWndApp::SetModalFunction(RunWithTimer);
        PWndSetting::SetFolderChoiceFunction(AnswerFolder);
        PWndSetting::SetColorChoiceFunction(AnswerColor);
        g_asked.clear();
    }
    void TearDown() override
    {
        PWndApp::SetModalFunction(nullptr);
        PWndSetting::SetFolderChoiceFunction(nullptr);
        PWndSetting::SetColorChoiceFunction(nullptr);
    }

    SettingsKey settings;
    TempFolder root;
};
}

TEST_F(PWndSettingTest, PreferencesShowTheValuesCancelWritesNoneOkWritesTheSix)
{
    AppWindow window;
    PWndApp& app = window.App();
    std::string shown;
    g_inside = [&](SWndDialog& dialog) {
        shown = TextOf(dialog.GetWindowText());
        for (const char* name : {"CANCEL", "GRP_GENERAL", "TXT_FOLDER", "TXT_IMAGES", "TXT_OPTIONS", "BTN_FOLDERDEF",
                                 "CHECK_TOOLBAR", "CHECK_AUTOHIDE", "GRP_TASKBAR", "CHECK_TASKBAR", "TXT_TASKTEXT",
                                 "EDIT_IMAGES"})
            shown += "|" + Text(dialog, name);
        for (const char* name : {"CHECK_TOOLBAR", "CHECK_AUTOHIDE", "CHECK_TASKBAR"})
            shown += "|" + std::to_string(dialog.FindChildByName(name)->ButtonGetCheck());
        shown += "|" + std::to_string(dialog.FindChildByName("TASK_TEXT")->GetBackgroundColor());
        EXPECT_EQ(root.Path(), Text(dialog, "EDIT_FOLDER"));
        // Everything changed, then Cancel.
        dialog.FindChildByName("EDIT_IMAGES")->SetWindowText("Other");
        for (const char* name : {"CHECK_TOOLBAR", "CHECK_AUTOHIDE", "CHECK_TASKBAR", "BTN_FOLDERDEF", "CANCEL"})
            Click(dialog, name);
    };
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 21);
    EXPECT_EQ("Preferences|Cancel|General|Folder:|Images:|Options:|Default|Small Icons|"
              "Auto Hide Window after playing from thumbnail|Taskbar|Show Taskbar|Text Color|Covers; Art|1|0|0|" +
                  std::to_string(0x123456),
              shown);
    EXPECT_EQ(root.Path(), settings.GetText("Folder"));
    EXPECT_EQ("Covers; Art", settings.GetText("Images"));
    EXPECT_FALSE(settings.Has("AutoHideAfterPlay") || settings.Has("Taskbar"));

    g_inside = [](SWndDialog& dialog) {
        dialog.FindChildByName("EDIT_IMAGES")->SetWindowText("Other");
        dialog.FindChildByName("TASK_TEXT")->SetBackgroundColor(0x00FF00);
        for (const char* name : {"CHECK_TOOLBAR", "CHECK_AUTOHIDE", "OK"})
            Click(dialog, name);
    };
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 21);
    EXPECT_EQ(root.Path(), settings.GetText("Folder"));
    EXPECT_EQ("Other", settings.GetText("Images"));
    EXPECT_EQ(0, settings.GetNumber("ToolBar"));
    EXPECT_EQ(1, settings.GetNumber("AutoHideAfterPlay"));
    EXPECT_TRUE(settings.Has("Taskbar"));
    EXPECT_EQ(0, settings.GetNumber("Taskbar"));
    EXPECT_EQ(0x00FF00, settings.GetNumber("TaskbarColor"));
    // Loaded again.
    EXPECT_TRUE(app.IsAutoHideAfterPlay());
    ASSERT_EQ(1, app.GetCoverNames().GetCount());
    EXPECT_STREQ("Other", TextOf(app.GetCoverNames().GetAt(0)));
    EXPECT_TRUE(app.IsVisible());
}

TEST_F(PWndSettingTest, DefaultFolderIsWrittenEmptyAndLoadsAsTheProgramsFolder)
{
    AppWindow window;
    PWndApp& app = window.App();
    g_inside = [](SWndDialog& dialog) {
        Click(dialog, "BTN_FOLDERDEF");
        Click(dialog, "OK");
    };
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 21);
    EXPECT_TRUE(settings.Has("Folder"));
    EXPECT_EQ("", settings.GetText("Folder"));
    EXPECT_STREQ(GetProgramFolder().GetText(), TextOf(app.GetRootFolder().GetPath()));
}

TEST_F(PWndSettingTest, TheFolderAndColourChoosersChangeTheirValuesOnlyWhenAnswered)
{
    AppWindow window;
    TempFolder other;
    std::vector<std::string> seen;
    g_inside = [&](SWndDialog& dialog) {
        SWnd* sample = dialog.FindChildByName("TASK_TEXT");
        for (bool answer : {false, true})
        {
            g_folderAnswer = answer ? other.Path() : "";
            g_colorAnswer = answer ? 0x00FF00 : 0;
            Click(dialog, "BTN_FOLDER");
            sample->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            sample->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            seen.push_back(Text(dialog, "EDIT_FOLDER") + "|" + std::to_string(sample->GetBackgroundColor()));
        }
        Click(dialog, "OK");
    };
    window.App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 21);
    const std::string folder = "Choose your root folder...|" + root.Path(), color = std::to_string(0x123456);
    EXPECT_EQ((std::vector<std::string>{folder, color, folder, color}), g_asked);
    EXPECT_EQ((std::vector<std::string>{root.Path() + "|" + color, other.Path() + "|" + std::to_string(0x00FF00)}),
              seen);
    EXPECT_EQ(other.Path(), settings.GetText("Folder"));
    EXPECT_EQ(0x00FF00, settings.GetNumber("TaskbarColor"));
    EXPECT_EQ(other.Path(), TextOf(window.App().GetRootFolder().GetPath()));  // reloaded on it
}

TEST_F(PWndSettingTest, PropertiesShowAndWriteTheSiteAndRebuildTheInformation)
{
    AppWindow window;
    PWndApp& app = window.App();
    app.GetFolderList().SetSelection(app.GetFolderList().SelectItemByText("Rock", true));
    const std::string typed = "http://rock.example/";
    std::vector<std::string> seen;
    // Cancel writes nothing, OK the site; shown again, it is selected whole and has the focus.
    for (const char* button : {"CANCEL", "OK", "CANCEL"})
    {
        g_inside = [&](SWndDialog& dialog) {
            SWnd* site = dialog.FindChildByName("EDIT_SITE");
            DWORD start = 1, end = 0;
            site->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            seen.push_back(std::string(TextOf(dialog.GetWindowText())) + "|" + Text(dialog, "TXT_SITE") + "|" +
                           Text(dialog, "EDIT_SITE") + "|" + std::to_string(end - start) + "|" +
                           (GetFocus() == site->GetHandle() ? "focus" : ""));
            site->SetWindowText(typed.c_str());
            Click(dialog, button);
        };
        app.SendMessage(SWM_MENUCOMMAND, 0, 39);
    }
    const std::string empty = "Properties|Site:||0|focus";
    EXPECT_EQ((std::vector<std::string>{empty, empty, "Properties|Site:|" + typed + "|20|focus"}), seen);
    EXPECT_NE(std::string::npos, httptest::ReadWholeFile(root.Path() + "Rock.ini").find("site=" + typed));
    EXPECT_NE(std::string::npos, std::string(TextOf(app.GetInfoPane().GetWindowText())).find(typed));
}
