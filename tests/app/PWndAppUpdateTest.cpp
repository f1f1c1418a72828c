// The update check. The real program, copied into a temporary folder beside a
// stand-in updater that records how it was started, asks the HTTP test server
// (reached through the proxy) for the version file; in this process, a close
// that is refused after a newer version was found.
#include <gtest/gtest.h>
#include <algorithm>
#include "AppTestSupport.h"
#include "SharingTestSupport.h"
#include "HttpStandIn.h"
#include "SGlobals.h"
#include "SLibrary.h"
#include "SMessages.h"

using namespace apptest;
using namespace httptest;

namespace
{
const char* const LATEST = "You have the latest updates installed.";

struct BoxSearch
{
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM data)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    if (processId == search->processId && IsWindowVisible(window) && std::string(name) == "#32770")
        search->box = window;
    return search->box == nullptr;
}

BOOL CALLBACK FindText(HWND child, LPARAM data)
{
    char name[16] = {}, text[256] = {};
    GetClassNameA(child, name, sizeof(name));
    GetWindowTextA(child, text, sizeof(text));
    if (_stricmp(name, "Static") == 0 && text[0])
        *reinterpret_cast<std::string*>(data) = text;
    return TRUE;
}

// The text of the process's next message box, which is then closed; "" when
// none shows.
std::string AnswerMessageBox(const RunningProgram& program)
{
    BoxSearch search = {program.ProcessId(), nullptr};
    for (int i = 0; i < 600 && !search.box; ++i)
    {
        Sleep(50);
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    }
    std::string text;
    if (search.box)
    {
        EnumChildWindows(search.box, FindText, reinterpret_cast<LPARAM>(&text));
        PostMessageA(search.box, WM_COMMAND, IDOK, 0);
    }
    return text;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return tolower(c); });
    return text;
}

class UpdateCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HTTPTEST_TAKE_PORT(port);
        settings.SetText("Folder", library.Path());
    }
    void TearDown() override { StopServing("klvsn.ver"); }

    int port = 0;
    SettingsKey settings;
    TempFolder library;
};

int g_questions = 0;
std::string g_lastQuestion, g_lastCaption;
HWND g_lastOwner = nullptr;
UINT g_lastStyle = 0;
int AnswerNo(HWND owner, const char* text, const char* caption, UINT style)
{
    ++g_questions;
    g_lastQuestion = text;
    g_lastCaption = caption;
    g_lastOwner = owner;
    g_lastStyle = style;
    return IDNO;
}
}

TEST_F(UpdateCheckTest, MessagesComeFromTheMainWindowAndLeaveNoHandOver)
{
    AppWindow window;
    PWndApp& app = window.App();
    PWndApp::SetQuestionFunction(AnswerNo);
    UpdaterCommandLine = "";
    const struct
    {
        const char* file;
        const char* message;
    } cases[] = {{"1.1.0\r\nletters\r\n", LATEST}, {nullptr, "Connection failed."}};
    for (const auto& c : cases)
    {
        g_questions = 0;
        ASSERT_TRUE(Serve("klvsn.ver", c.file ? c.file : ""));
        ProxyGuard proxy(c.file ? port : ClosedPort());
        app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 24);
        EXPECT_EQ(1, g_questions) << c.message;
        EXPECT_EQ(c.message, g_lastQuestion);
        EXPECT_EQ("KLV Sonavel", g_lastCaption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), g_lastStyle) << c.message;
        EXPECT_EQ(app.GetHandle(), g_lastOwner) << c.message;
    }
    EXPECT_TRUE(IsWindow(app.GetHandle()));
    EXPECT_EQ(0, UpdaterCommandLine.GetLength());
    PWndApp::SetQuestionFunction(nullptr);
}

TEST_F(UpdateCheckTest, PublishedVersionGivesAMessageOrTheHandOver)
{
    TempFolder folder;
    const std::string program = folder.Path() + "KLV Sonavel.exe";
    const std::string updaterStarts = folder.Path() + "starts.txt";
    ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((std::string(GetProgramFolder().GetText()) + "marker_a.exe").c_str(),
                          (folder.Path() + "KLV Sonavel Update.exe").c_str(), FALSE));
    // No file: the server is down. No message: the program hands over.
    const struct
    {
        const char* file;
        const char* message;
    } cases[] = {{"1.1.0\r\n99\r\n", LATEST},    {"1.0.9\r\n99\r\n", nullptr},  {"1.2\r\n99\r\n", LATEST},
                 {"1.2.0.1\r\n99\r\n", LATEST},  {"1.2.0\r\n0\r\n", LATEST},    {"1.2.0\r\nabc\r\n", LATEST},
                 {nullptr, "Connection failed."}};
    for (const auto& c : cases)
    {
        const std::string label = c.file ? c.file : "server down";
        ASSERT_TRUE(Serve("klvsn.ver", c.file ? c.file : ""));
        ProxyGuard proxy(c.file ? port : ClosedPort());
        RunningProgram run;
        ASSERT_TRUE(run.Start("", program));
        HWND main = run.WaitReady();
        ASSERT_NE(nullptr, main) << label;
        PostMessageA(main, SWM_TOOLBAR_COMMAND, 0, 24);
        if (c.message)
        {
            EXPECT_EQ(c.message, AnswerMessageBox(run)) << label;
            PostMessageA(main, WM_CLOSE, 0, 0);
        }
        ASSERT_EQ(0, run.WaitExit()) << label;
        std::string starts = ReadWholeFile(updaterStarts);
        for (int i = 0; i < 200 && !c.message && starts.empty(); ++i, Sleep(50))
            starts = ReadWholeFile(updaterStarts);
        EXPECT_EQ(c.message ? "" : Lower("A|\"" + program + "\"  us\r\n"), Lower(starts)) << label;
        DeleteFileA(updaterStarts.c_str());
    }
}

TEST_F(UpdateCheckTest, RefusedCloseKeepsTheWindowWithTheUpdaterCommandLineSet)
{
    AppWindow window;
    PWndApp& app = window.App();
    ASSERT_TRUE(Serve("klvsn.ver", "1.0.9\r\n99\r\n"));
    ProxyGuard proxy(port);
    settings.SetNumber("ServerPort", FreePort());
    app.LoadSettings(false);
    app.GetToolBar().CheckButton(19, true);
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 19);
    ASSERT_TRUE(app.GetServerThread().IsRunning());
    app.GetServerThread().SetPeerCount(1);
    PWndApp::SetQuestionFunction(AnswerNo);
    g_questions = 0;
    UpdaterCommandLine = "";
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 24);
    EXPECT_TRUE(IsWindow(app.GetHandle()));
    EXPECT_EQ(1, g_questions);
    EXPECT_EQ("Are you sure to want to disconnect users?", g_lastQuestion);
    EXPECT_EQ("\"" + std::string(GetProgramFileName().GetText()) + "\"  us", UpdaterCommandLine.GetText());
    UpdaterCommandLine = "";
    PWndApp::SetQuestionFunction(nullptr);
    app.GetServerThread().SetPeerCount(0);
}
