// The real program started as a child process: single copy, hiding, the
// remote-control hand-shake, closing and what it saves, the window's size,
// and commands sent to it as another program would.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "AppTestSupport.h"
#include "SClipboard.h"
#include "SampleLibrary.h"

using namespace apptest;

namespace
{
const UINT TOOLBAR_COMMAND = 0x8E24;
const UINT REMOTE_CONTROL = 0x81F4;

class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SampleLibrary::Options options;
        options.genres = 1;
        options.albums = 1;
        ASSERT_TRUE(SampleLibrary::Write(library.Path().c_str(), options));
        settings.SetText("Folder", library.Path());
    }

    HWND Start(const std::string& arguments = "")
    {
        if (!program.Start(arguments))
            return nullptr;
        return program.WaitReady();
    }

    struct ChildSearch
    {
        int id;
        const char* className;
        HWND found;
    };

    static BOOL CALLBACK CheckChild(HWND child, LPARAM data)
    {
        auto* s = reinterpret_cast<ChildSearch*>(data);
        char name[64] = {};
        GetClassNameA(child, name, sizeof(name));
        if (GetDlgCtrlID(child) == s->id && _stricmp(name, s->className) == 0)
            s->found = child;
        return s->found ? FALSE : TRUE;
    }

    // The main window's descendant of that id and class (the play window's
    // views reuse the lists' ids).
    static HWND Child(HWND main, int id, const char* className)
    {
        ChildSearch search = {id, className, nullptr};
        EnumChildWindows(main, CheckChild, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    static HWND ToolBar(HWND main)
    {
        HWND rebar = FindWindowExA(main, nullptr, "ReBarWindow32", nullptr);
        return rebar ? FindWindowExA(rebar, nullptr, "ToolbarWindow32", nullptr) : nullptr;
    }

    int CloseProgram(HWND main)
    {
        PostMessageA(main, WM_CLOSE, 0, 0);
        return program.WaitExit();
    }

    // The process's visible top-level window of that title; null after the time-out.
    HWND WaitForWindow(const char* title)
    {
        for (int i = 0; i < 400; ++i, Sleep(50))
        {
            HWND window = nullptr;
            while ((window = FindWindowExA(nullptr, window, nullptr, title)) != nullptr)
            {
                DWORD processId = 0;
                GetWindowThreadProcessId(window, &processId);
                if (processId == program.ProcessId() && IsWindowVisible(window))
                    return window;
            }
        }
        return nullptr;
    }

    SettingsKey settings;
    TempFolder library;
    RunningProgram program;
};
}

TEST_F(ProgramTest, SecondCopyEndsAtOnceWithoutWindow)
{
    HWND main = Start();
    ASSERT_NE(nullptr, main);
    RunningProgram second;
    ASSERT_TRUE(second.Start(""));
    EXPECT_EQ(0, second.WaitExit());
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(0, CloseProgram(main));
}

TEST_F(ProgramTest, FirstArgumentHideKeepsTheWindowHidden)
{
    const struct
    {
        const char* arguments;
        bool visible;
    } cases[] = {{"", true}, {"/hide", false}, {"/HiDe", false}, {"x /HIDE", true}, {"/other", true}};
    for (const auto& c : cases)
    {
        RunningProgram run;
        ASSERT_TRUE(run.Start(c.arguments));
        HWND main = run.WaitReady();
        ASSERT_NE(nullptr, main) << c.arguments;
        EXPECT_EQ(c.visible, IsWindowVisible(main) != FALSE) << c.arguments;
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, run.WaitExit()) << c.arguments;
    }
}

TEST_F(ProgramTest, ClipboardHoldsTheHandleInDecimal)
{
    HWND main = Start();
    ASSERT_NE(nullptr, main);
    const std::string expected = std::to_string(static_cast<unsigned long long>(reinterpret_cast<LONG_PTR>(main)));
    EXPECT_STREQ(expected.c_str(), SClipboard().GetText().GetText());
    EXPECT_EQ(0, CloseProgram(main));
}

TEST_F(ProgramTest, ClosingSavesPlacementPanesAndVolume)
{
    const struct
    {
        DWORD column, column2, volume;
        int savedColumn, savedColumn2, savedVolume;
    } cases[] = {{0, 0, 0, 220, 200, 0}, {100, 100, 20, 220, 200, 20}, {300, 250, 50, 300, 250, 50},
                 {5000, 5000, 80, 220, 200, 50}};
    for (const auto& c : cases)
    {
        SettingsKey fresh;
        fresh.SetText("Folder", library.Path());
        fresh.SetNumber("Column", c.column);
        fresh.SetNumber("Column2", c.column2);
        fresh.SetNumber("Volume", c.volume);
        RunningProgram run;
        ASSERT_TRUE(run.Start(""));
        HWND main = run.WaitReady();
        ASSERT_NE(nullptr, main);
        PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_EQ(0, run.WaitExit());
        EXPECT_EQ(0u, fresh.GetText("Window").rfind("7:", 0)) << fresh.GetText("Window");
        EXPECT_EQ(c.savedColumn, fresh.GetNumber("Column")) << c.column;
        EXPECT_EQ(c.savedColumn2, fresh.GetNumber("Column2")) << c.column2;
        EXPECT_EQ(c.savedVolume, fresh.GetNumber("Volume")) << c.volume;
    }
}

TEST_F(ProgramTest, WindowOpensAt1024By600AndNeverShrinksBelow800By600)
{
    HWND main = Start();
    ASSERT_NE(nullptr, main);
    RECT rect = {};
    GetWindowRect(main, &rect);
    EXPECT_EQ(1024, rect.right - rect.left);
    EXPECT_EQ(600, rect.bottom - rect.top);
    SetWindowPos(main, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(main, &rect);
    EXPECT_EQ(800, rect.right - rect.left);
    EXPECT_EQ(600, rect.bottom - rect.top);
    EXPECT_EQ(0, CloseProgram(main));
}

TEST_F(ProgramTest, VisibilityFollowsF8HideCommandAndRemoteControl)
{
    HWND main = Start();
    ASSERT_NE(nullptr, main);
    const struct
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool visible;
    } steps[] = {{WM_KEYDOWN, VK_F8, 0, false},          {WM_KEYDOWN, VK_F8, 0, true},
                 {TOOLBAR_COMMAND, 0, 14, false},        {TOOLBAR_COMMAND, 0, 14, true},
                 {REMOTE_CONTROL, 499, 1, true},         {REMOTE_CONTROL, 500, 1, false},
                 {REMOTE_CONTROL, 501, 1, false},        {REMOTE_CONTROL, 500, 5, false},
                 {REMOTE_CONTROL, 500, 1, true},         {TOOLBAR_COMMAND, 0, 33, true},
                 {TOOLBAR_COMMAND, 0, 30, true},         {TOOLBAR_COMMAND, 0, 77, true}};
    for (const auto& s : steps)
    {
        SendMessageA(main, s.message, s.wParam, s.lParam);
        EXPECT_EQ(s.visible, IsWindowVisible(main) != FALSE) << s.message << " " << s.wParam << " " << s.lParam;
    }
    EXPECT_EQ(0, CloseProgram(main));
}

TEST_F(ProgramTest, FirstViewListsTheRootWithNothingSelectedAndPlaybackIdle)
{
    // With a book made, the thumbnails show in the place of the welcome page.
    ASSERT_TRUE(library.WriteFile("Book.htm", ""));
    HWND main = Start();
    ASSERT_NE(nullptr, main);
    // The root's one genre, its thumbnail in place of the file list, the root and the counts.
    EXPECT_EQ(1, SendMessageA(Child(main, PWndApp::ID_FOLDERLIST, "ListBox"), LB_GETCOUNT, 0, 0));
    EXPECT_TRUE(IsWindowVisible(Child(main, PWndApp::ID_THUMBS, "CLASS_SWND")));
    HWND files = Child(main, PWndApp::ID_FILELIST, "ListBox");
    ASSERT_NE(nullptr, files);
    EXPECT_FALSE(IsWindowVisible(files));
    HWND status = FindWindowExA(main, nullptr, "msctls_statusbar32", nullptr);
    char text[MAX_PATH] = {};
    SendMessageA(status, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(library.Path(), text);
    EXPECT_EQ(strlen("2 songs, 4 videos, 2 radios"), LOWORD(SendMessageA(status, SB_GETTEXTLENGTHA, 1, 0)));
    HWND toolBar = ToolBar(main);
    ASSERT_NE(nullptr, toolBar);
    const struct
    {
        int id;
        bool enabled;
    } cases[] = {{1, true},   {2, true},   {3, false},  {4, true},   {5, false},  {6, true},
                 {7, false},  {8, false},  {9, false},  {10, false}, {11, false}, {12, true},
                 {17, true},  {19, true},  {20, true},  {24, true}};
    for (const auto& c : cases)
        EXPECT_EQ(c.enabled, SendMessageA(toolBar, TB_ISBUTTONENABLED, c.id, 0) != 0) << c.id;
    EXPECT_EQ(-1, SendMessageA(toolBar, TB_COMMANDTOINDEX, 26, 0));
    // Remote-only commands in local mode change nothing; Repeat copies its button.
    for (int id = 26; id <= 33; ++id)
        SendMessageA(main, TOOLBAR_COMMAND, 0, id);
    SendMessageA(toolBar, TB_CHECKBUTTON, 12, TRUE);
    SendMessageA(main, TOOLBAR_COMMAND, 0, 12);
    EXPECT_NE(0, SendMessageA(toolBar, TB_ISBUTTONCHECKED, 12, 0));
    EXPECT_EQ(0, SendMessageA(toolBar, TB_ISBUTTONCHECKED, 19, 0));
    EXPECT_EQ(0, CloseProgram(main));
}

TEST_F(ProgramTest, PreferencesOpenOnTheirCommandAndOkWritesTheSixValues)
{
    settings.SetText("Images", "Covers");
    settings.SetNumber("ToolBar", 1);
    settings.SetNumber("AutoHideAfterPlay", 1);
    settings.SetNumber("TaskbarColor", 0x804000);
    HWND main = Start();
    ASSERT_NE(nullptr, main);
    PostMessageA(main, TOOLBAR_COMMAND, 0, 21);
    HWND dialog = WaitForWindow("Preferences");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(main, GetWindow(dialog, GW_OWNER));
    HWND ok = FindWindowExA(dialog, nullptr, "Button", "OK");
    ASSERT_NE(nullptr, ok);
    PostMessageA(ok, BM_CLICK, 0, 0);
    // The settings are written before the dialog is destroyed: wait for both.
    for (int i = 0; i < 400 && (!settings.Has("Taskbar") || IsWindow(dialog)); ++i)
        Sleep(50);
    EXPECT_EQ(library.Path(), settings.GetText("Folder"));
    EXPECT_EQ("Covers", settings.GetText("Images"));
    EXPECT_EQ(1, settings.GetNumber("ToolBar"));
    EXPECT_EQ(1, settings.GetNumber("AutoHideAfterPlay"));
    EXPECT_TRUE(settings.Has("Taskbar"));
    EXPECT_EQ(0, settings.GetNumber("Taskbar"));
    EXPECT_EQ(0x804000, settings.GetNumber("TaskbarColor"));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(0, CloseProgram(main));
}

TEST_F(ProgramTest, MakeBookWritesThePageAndItsPictures)
{
    HWND main = Start();
    ASSERT_NE(nullptr, main);
    SendMessageA(main, TOOLBAR_COMMAND, 0, 16);
    std::ifstream page(library.Path() + "Book.htm", std::ios::binary);
    std::stringstream text;
    text << page.rdbuf();
    EXPECT_NE(std::string::npos, text.str().find("<title>Sonavel</title>"));
    EXPECT_NE(std::string::npos, text.str().find("Rock/Artist/Album 1.album"));
    for (const char* picture : {"Book\\book0.jpg", "Book\\book0.png"})
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((library.Path() + picture).c_str())) << picture;
    EXPECT_EQ(0, CloseProgram(main));
}
