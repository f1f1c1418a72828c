// The Preferences and folder Properties dialogs, built from the program's
// descriptions over a main window of this process: what they show, what OK
// and Cancel write, and what the main window does afterwards.
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include "AppTestSupport.h"
#include "HttpStandIn.h"
#include "PWndSetting.h"
#include "SLibrary.h"

using namespace apptest;

namespace
{
// What a test does with the dialog once its run has started.
std::function<void(SWndDialog&)> g_inside;
SWndDialog* g_dialog = nullptr;
int g_runs = 0;

void CALLBACK ActInside(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_inside(*g_dialog);
}

int RunWithTimer(SWnd* window)
{
    ++g_runs;
    g_dialog = static_cast<SWndDialog*>(window);
    SetTimer(nullptr, 0, 10, ActInside);
    return window->DoModal();
}

std::string Text(SWndDialog& dialog, const char* name)
{
    SWnd* child = dialog.FindChildByName(name);
    return child ? TextOf(child->GetWindowText()) : "<none>";
}

void Click(SWndDialog& dialog, const char* name)
{
    if (SWnd* child = dialog.FindChildByName(name))
        child->SendMessage(BM_CLICK);
}

class PWndSettingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.WriteFile("Rock\\a.mp3", ""));
        settings.SetText("Folder", root.Path());
        g_runs = 0;
        PWndApp::SetModalFunction(RunWithTimer);
        window.reset(new AppWindow());
    }
    void TearDown() override
    {
        window.reset();
        PWndApp::SetModalFunction(nullptr);
    }

    SettingsKey settings;
    TempFolder root;
    std::unique_ptr<AppWindow> window;
};
}

TEST_F(PWndSettingTest, PreferencesShowTheValuesAndOkWritesTheSixCancelNone)
{
    settings.SetText("Images", "Covers; Art");
    settings.SetNumber("ToolBar", 1);
    settings.SetNumber("TaskbarColor", 0x123456);
    PWndApp& app = window->App();
    std::map<std::string, std::string> shown;
    COLORREF sample = 0;
    int checks[3] = {};
    const char* const boxes[] = {"CHECK_TOOLBAR", "CHECK_AUTOHIDE", "CHECK_TASKBAR"};
    g_inside = [&](SWndDialog& dialog) {
        shown["title"] = TextOf(dialog.GetWindowText());
        for (const char* name : {"CANCEL", "GRP_GENERAL", "TXT_FOLDER", "TXT_IMAGES", "TXT_OPTIONS", "BTN_FOLDERDEF",
                                 "CHECK_TOOLBAR", "CHECK_AUTOHIDE", "GRP_TASKBAR", "CHECK_TASKBAR", "TXT_TASKTEXT",
                                 "EDIT_FOLDER", "EDIT_IMAGES"})
            shown[name] = Text(dialog, name);
        for (int i = 0; i < 3; ++i)
            checks[i] = dialog.FindChildByName(boxes[i])->ButtonGetCheck();
        sample = dialog.FindChildByName("TASK_TEXT")->GetBackgroundColor();
        // Every value changed, then Cancel.
        dialog.FindChildByName("EDIT_IMAGES")->SetWindowText("Other");
        for (const char* box : boxes)
            Click(dialog, box);
        Click(dialog, "BTN_FOLDERDEF");
        Click(dialog, "CANCEL");
    };
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 21);
    ASSERT_EQ(1, g_runs);
    const std::map<std::string, std::string> expected = {
        {"title", "Preferences"}, {"CANCEL", "Cancel"}, {"GRP_GENERAL", "General"}, {"TXT_FOLDER", "Folder:"},
        {"TXT_IMAGES", "Images:"}, {"TXT_OPTIONS", "Options:"}, {"BTN_FOLDERDEF", "Default"},
        {"CHECK_TOOLBAR", "Small Icons"}, {"CHECK_AUTOHIDE", "Auto Hide Window after playing from thumbnail"},
        {"GRP_TASKBAR", "Taskbar"}, {"CHECK_TASKBAR", "Show Taskbar"}, {"TXT_TASKTEXT", "Text Color"},
        {"EDIT_FOLDER", root.Path()}, {"EDIT_IMAGES", "Covers; Art"}};
    EXPECT_EQ(expected, shown);
    EXPECT_EQ(BST_CHECKED, checks[0]);
    EXPECT_EQ(BST_UNCHECKED, checks[1]);
    EXPECT_EQ(BST_UNCHECKED, checks[2]);
    EXPECT_EQ(0x123456u, sample);
    EXPECT_EQ("Covers; Art", settings.GetText("Images"));
    EXPECT_EQ(root.Path(), settings.GetText("Folder"));
    for (const char* name : {"AutoHideAfterPlay", "Taskbar"})
        EXPECT_FALSE(settings.Has(name)) << name;

    // The same changes, then OK: all six written, the settings loaded again.
    g_inside = [&](SWndDialog& dialog) {
        dialog.FindChildByName("EDIT_IMAGES")->SetWindowText("Other");
        Click(dialog, "CHECK_TOOLBAR");
        Click(dialog, "CHECK_AUTOHIDE");
        dialog.FindChildByName("TASK_TEXT")->SetBackgroundColor(0x00FF00);
        Click(dialog, "OK");
    };
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 21);
    EXPECT_EQ(root.Path(), settings.GetText("Folder"));
    EXPECT_EQ("Other", settings.GetText("Images"));
    EXPECT_EQ(0, settings.GetNumber("ToolBar"));
    EXPECT_EQ(1, settings.GetNumber("AutoHideAfterPlay"));
    EXPECT_EQ(0, settings.GetNumber("Taskbar"));
    EXPECT_TRUE(settings.Has("Taskbar"));
    EXPECT_EQ(0x00FF00, settings.GetNumber("TaskbarColor"));
    EXPECT_TRUE(app.IsAutoHideAfterPlay());
    ASSERT_EQ(1, app.GetCoverNames().GetCount());
    EXPECT_STREQ("Other", TextOf(app.GetCoverNames().GetAt(0)));
    EXPECT_TRUE(app.IsVisible());
}

TEST_F(PWndSettingTest, DefaultFolderIsWrittenEmptyAndLoadsAsTheProgramsFolder)
{
    PWndApp& app = window->App();
    g_inside = [](SWndDialog& dialog) {
        Click(dialog, "BTN_FOLDERDEF");
        Click(dialog, "OK");
    };
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 21);
    EXPECT_TRUE(settings.Has("Folder"));
    EXPECT_EQ("", settings.GetText("Folder"));
    EXPECT_STREQ(GetProgramFolder().GetText(), TextOf(app.GetRootFolder().GetPath()));
}

TEST_F(PWndSettingTest, PropertiesShowAndWriteTheSiteAndRebuildTheInformation)
{
    PWndApp& app = window->App();
    SListCtrl& folders = app.GetFolderList();
    folders.SetSelection(folders.SelectItemByText("Rock", true));
    const std::string ini = root.Path() + "Rock.ini";
    struct
    {
        std::string title, label, site;
        bool focused = false, allSelected = false;
    } seen;
    const char* typed = "http://rock.example/";
    const auto look = [&](SWndDialog& dialog) {
        SWnd* site = dialog.FindChildByName("EDIT_SITE");
        seen.title = TextOf(dialog.GetWindowText());
        seen.label = Text(dialog, "TXT_SITE");
        seen.site = TextOf(site->GetWindowText());
        seen.focused = GetFocus() == site->GetHandle();
        DWORD start = 0, end = 0;
        site->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        seen.allSelected = start == 0 && end == seen.site.size();
    };
    // Cancel makes the file but writes nothing; OK writes the site.
    for (const char* button : {"CANCEL", "OK"})
    {
        g_inside = [&](SWndDialog& dialog) {
            look(dialog);
            dialog.FindChildByName("EDIT_SITE")->SetWindowText(typed);
            Click(dialog, button);
        };
        app.SendMessage(SWM_MENUCOMMAND, 0, 39);
        EXPECT_EQ("Properties", seen.title);
        EXPECT_EQ("Site:", seen.label);
        EXPECT_EQ("", seen.site) << button;
    }
    EXPECT_NE(std::string::npos, httptest::ReadWholeFile(ini).find(std::string("site=") + typed));
    EXPECT_NE(std::string::npos, std::string(TextOf(app.GetInfoPane().GetWindowText())).find(typed));
    // Shown again, selected whole and with the focus.
    g_inside = [&](SWndDialog& dialog) {
        look(dialog);
        Click(dialog, "CANCEL");
    };
    app.SendMessage(SWM_MENUCOMMAND, 0, 39);
    EXPECT_EQ(typed, seen.site);
    EXPECT_TRUE(seen.focused);
    EXPECT_TRUE(seen.allSelected);
    EXPECT_EQ(3, g_runs);
}
