// The help window, the About window and the two dialog descriptions among the
// program's resources.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "PWndAbout.h"
#include "SDialogCtrl.h"
#include "SLibrary.h"
#include "SMemory.h"

using namespace apptest;

namespace
{
BOOL CALLBACK CollectHelp(HWND window, LPARAM found)
{
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    if (strcmp(title, "Documentation - KLV Sonavel") == 0)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> HelpWindows()
{
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectHelp, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What the About window showed during its modal run.
struct
{
    PWndAbout* about = nullptr;
    int runs = 0, firstOffset = 0, laterOffset = 0, pictureWidth = 0;
    bool ownerDisabled = false;
    std::string credits;
} g_about;

void CALLBACK LookAtAbout(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_about.laterOffset = g_about.about->GetTextView().GetScrollOffsetY();
    g_about.ownerDisabled = !IsWindowEnabled(GetWindow(g_about.about->GetHandle(), GW_OWNER));
    g_about.about->EndModalCancel();
}

int RunAbout(SWnd* window)
{
    ++g_about.runs;
    g_about.about = static_cast<PWndAbout*>(window);
    g_about.credits = TextOf(g_about.about->GetTextView().GetWindowText());
    g_about.pictureWidth = g_about.about->GetPictureView().GetBackgroundImage().GetWidth();
    g_about.firstOffset = g_about.about->GetTextView().GetScrollOffsetY();
    SetTimer(nullptr, 0, 600, LookAtAbout);
    return window->DoModal();
}

class PWndAppWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override { settings.SetText("Folder", root.Path()); }

    SettingsKey settings;
    TempFolder root;
};
}

TEST_F(PWndAppWindowsTest, HelpOpensOnceWithoutItsPageAndKeepsItsPlacement)
{
    AppWindow window;
    PWndApp& app = window.App();
    for (int i = 0; i < 2; ++i)
        app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 22);
    const std::vector<HWND> help = HelpWindows();
    ASSERT_EQ(1u, help.size());
    RECT rect = {};
    GetWindowRect(help[0], &rect);
    EXPECT_EQ(800, rect.right - rect.left);
    EXPECT_EQ(600, rect.bottom - rect.top);
    char status[MAX_PATH] = {};
    SendMessageA(FindWindowExA(help[0], nullptr, "msctls_statusbar32", nullptr), SB_GETTEXTA, 0,
                 reinterpret_cast<LPARAM>(status));
    EXPECT_EQ(std::string(GetProgramFolder().GetText()) + "help.htm", status);
    SendMessageA(help[0], WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, settings.GetText("WindowHelp").rfind("7:", 0)) << settings.GetText("WindowHelp");
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 22);
    EXPECT_EQ(1u, HelpWindows().size());
}

TEST_F(PWndAppWindowsTest, AboutRunsModallyAndKeepsScrollingUnlessCtrlShiftIsHeld)
{
    AppWindow window;
    PWndApp& app = window.App();
    PWndApp::SetModalFunction(RunAbout);
    for (bool held : {true, false})
    {
        for (BYTE key : {VK_CONTROL, VK_SHIFT})
            keybd_event(key, 0, held ? 0 : KEYEVENTF_KEYUP, 0);
        Pump(50);
        app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 23);
    }
    PWndApp::SetModalFunction(nullptr);
    EXPECT_EQ(1, g_about.runs);
    EXPECT_TRUE(g_about.ownerDisabled);
    EXPECT_LT(g_about.laterOffset, g_about.firstOffset);  // upwards
    EXPECT_EQ(0u, g_about.credits.find("<B>KLV Sonavel")) << g_about.credits;
    EXPECT_EQ(132, g_about.pictureWidth);
}

TEST_F(PWndAppWindowsTest, DialogDescriptionsReadAndWriteBackUnchanged)
{
    const struct
    {
        int resource;
        const char* name;
        int width, height, controls;
    } cases[] = {{162, "PREF", 525, 235, 16}, {215, "FOLDER", 355, 90, 4}};
    for (const auto& c : cases)
    {
        SMemory text("BINARY", c.resource);
        SDialogCtrl designer;
        ASSERT_TRUE(designer.Initialize(true));
        ASSERT_TRUE(designer.ReadDescription(&text)) << c.name;
        const SDialogCtrl::_SCtrl* dialog = designer.GetDialogDescription();
        EXPECT_STREQ(c.name, dialog->GetName().GetText());
        EXPECT_EQ(c.width, dialog->GetWidth());
        EXPECT_EQ(c.height, dialog->GetHeight());
        EXPECT_EQ(c.controls, designer.GetElementCount()) << c.name;
        SMemory written;
        ASSERT_TRUE(designer.WriteDescription(&written));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.GetData()), text.GetSize()),
                  std::string(reinterpret_cast<const char*>(written.GetData()), written.GetSize()))
            << c.name;
    }
}
