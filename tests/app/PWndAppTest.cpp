// A main window built in the test's process: tool bar states, the servers menu
// and the choice of a server, long settings, folder links, sending the book,
// and closes that are refused.
#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include <vector>
#include "AppTestSupport.h"
#include "SharingTestSupport.h"
#include "SFile.h"
#include "SMemory.h"
#include "STimer.h"

using namespace apptest;

namespace
{
class PWndAppTest : public ::testing::Test
{
protected:
    void SetUp() override { settings.SetText("Folder", root.Path()); }

    static void CALLBACK EndMenuNow(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        EndMenu();
    }
    static void CloseMenuSoon() { SetTimer(nullptr, 0, 300, EndMenuNow); }

    SettingsKey settings;
    TempFolder root;
};

// A modal window closed at once, as Cancel would.
int CancelAtOnce(SWnd*)
{
    return -1;
}

std::string ServersMenuText(SMenu& menu)
{
    std::string text;
    for (int i = 0; i < menu.GetItemCount(); ++i)
    {
        const int id = menu.GetItemId(i);
        text += std::to_string(id) + "=" + menu.GetItemText(id).GetText() + ";";
    }
    return text;
}
}

TEST_F(PWndAppTest, LocalSetStatesFollowTheQueue)
{
    RegisteredPlayer player;
    AppWindow window;
    PWndApp& app = window.App();
    const struct
    {
        int entries;
        bool previousNext, pauseStop;
    } cases[] = {{0, false, false}, {1, false, true}, {2, true, false}, {3, true, false}};
    for (const auto& c : cases)
    {
        SArrayString queue;
        for (int i = 0; i < c.entries; ++i)
            queue.Add("C:\\a.mp3");
        app.ClearQueue();
        app.AppendToQueue(queue, false);
        app.FillToolBar(true);
        SToolBarCtrl& bar = app.GetToolBar();
        EXPECT_EQ(c.previousNext, bar.IsButtonEnabled(8)) << c.entries;
        EXPECT_EQ(c.previousNext, bar.IsButtonEnabled(9)) << c.entries;
        EXPECT_EQ(c.pauseStop, bar.IsButtonEnabled(10)) << c.entries;
        EXPECT_EQ(c.pauseStop, bar.IsButtonEnabled(11)) << c.entries;
        EXPECT_TRUE(bar.IsButtonEnabled(19) && bar.IsButtonEnabled(20) && bar.IsButtonEnabled(24));
    }
    // 32 buttons and separators in the local set; the remote set has its own.
    EXPECT_EQ(33, app.GetToolBar().GetButtonCount());
    app.FillToolBar(false);
    EXPECT_EQ(16, app.GetToolBar().GetButtonCount());
}

TEST_F(PWndAppTest, ServersMenuAndServerChoice)
{
    // Nothing listens at these addresses: every connection is refused at once.
    const std::string solo = std::to_string(FreePort());
    const struct
    {
        const char *names, *hosts, *passes;
        std::string ports;
        const char* menu;         // "" : the Preferences are asked for instead
        int choose;               // menu id chosen afterwards, 0 for none
        std::string connection;   // what the connection was asked for
    } cases[] = {
        {"b|A|", "127.0.0.2|127.0.0.3|", "pb|pa|", "1|2|", "100=A;101=b;", 101, "b|127.0.0.2|pb|1"},
        {"b|A|", "127.0.0.2|127.0.0.3|", "pb|pa|", "1|2|", "100=A;101=b;", 100, "A|127.0.0.3|pa|2"},
        {"", "", "", "", "", 0, ""},
        {"b|A|", "127.0.0.2|127.0.0.3|", "pb|pa|", "1|", "100=A;101=b;", 100, ""},
        {"b|A", "127.0.0.2|127.0.0.3|", "pb|pa|", "1|2|", "100=b;", 100, ""},
        {"solo|", "127.0.0.1|", "|", solo + "|", "100=solo;", 100, "solo|127.0.0.1||" + solo},
    };
    Questions questions;
    PWndApp::SetModalFunction(CancelAtOnce);
    for (const auto& c : cases)
    {
        SettingsKey fresh;
        fresh.SetText("Folder", root.Path());
        fresh.SetText("ServersNames", c.names);
        fresh.SetText("ServersIPs", c.hosts);
        fresh.SetText("ServersPasses", c.passes);
        fresh.SetText("ServersPorts", c.ports);
        AppWindow window;
        PWndApp& app = window.App();
        CloseMenuSoon();
        app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 20);
        EXPECT_EQ(c.menu, ServersMenuText(app.GetServersMenu())) << c.names;
        EXPECT_EQ(*c.menu ? 0 : 1, app.GetPreferencesRequests()) << c.names;
        if (c.choose)
            app.SendMessage(SWM_MENUCOMMAND, 0, c.choose);
        EXPECT_EQ(c.connection, TextOf(app.GetLastConnection())) << c.names << " " << c.ports;
        EXPECT_TRUE(app.IsLocal());
    }
    PWndApp::SetModalFunction(nullptr);
}

TEST_F(PWndAppTest, LongSettingsLoadWhole)
{
    TempFolder deep;
    std::string folder = deep.Path();
    while (folder.size() < 258)
        folder += std::string(std::min<size_t>(40, 258 - folder.size()), 'f') + "\\";
    folder.resize(258);
    folder += "\\";
    ASSERT_EQ(259u, folder.size());
    settings.SetText("Folder", folder);
    std::string images;
    for (int i = 0; i < 300; ++i)
        images += " Cover" + std::to_string(i) + " ;";
    settings.SetText("Images", images);
    settings.SetNumber("ServerMaxUser", 0);
    settings.SetNumber("ServerPort", static_cast<DWORD>(-5));
    AppWindow window;
    PWndApp& app = window.App();
    EXPECT_STREQ(folder.c_str(), app.GetRootFolder().GetPath().GetText());
    EXPECT_EQ(folder + "Book.htm", app.GetBookPage().GetText());
    ASSERT_EQ(300, app.GetCoverNames().GetCount());
    EXPECT_STREQ("Cover299", app.GetCoverNames().GetAt(299).GetText());
    EXPECT_EQ(1, app.GetServerSettings().maxUsers);
    EXPECT_EQ(12465, app.GetServerSettings().port);
}

namespace
{
std::string g_mailSubject;
std::string g_mailCopy;
std::string g_mailName;

bool KeepMail(SNetwork&, const char* subject, const char* attachment)
{
    g_mailSubject = subject;
    g_mailName = attachment;
    g_mailCopy = attachment + std::string(".kept");
    return CopyFileA(attachment, g_mailCopy.c_str(), FALSE) != FALSE;
}

// The names of a ZIP archive's central directory.
std::set<std::string> ZipNames(const std::string& path)
{
    std::set<std::string> names;
    SMemory memory;
    if (!memory.LoadFromFile(path.c_str()))
        return names;
    const unsigned char* data = static_cast<const unsigned char*>(memory.GetData());
    const int size = memory.GetSize();
    for (int i = 0; i + 46 <= size; ++i)
    {
        if (data[i] != 0x50 || data[i + 1] != 0x4B || data[i + 2] != 1 || data[i + 3] != 2)
            continue;
        const int length = data[i + 28] | (data[i + 29] << 8);
        std::string name(reinterpret_cast<const char*>(data + i + 46), length);
        for (char& ch : name)
            ch = ch == '/' ? '\\' : ch;
        names.insert(name);
        i += 45 + length;
    }
    return names;
}
}

TEST_F(PWndAppTest, SendBookMailsTheBookAndItsFolder)
{
    ASSERT_TRUE(root.WriteFile("Book.htm", "<html>book</html>"));
    ASSERT_TRUE(root.WriteFile("Book\\cover.jpg", "jpg"));
    ASSERT_TRUE(root.WriteFile("Book\\style.css", "css"));
    ASSERT_TRUE(root.WriteFile("Book\\hidden.txt", "hidden"));
    ASSERT_TRUE(root.WriteFile("Book\\inner\\deep.txt", "deep"));
    SetFileAttributesA((root.Path() + "Book\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    PWndApp::SetMailFunction(KeepMail);
    AppWindow window;
    window.App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 17);
    PWndApp::SetMailFunction(nullptr);
    EXPECT_EQ("KLV Sonavel BOOK", g_mailSubject);
    STimer now;
    now.SetNow(true);
    const std::string expectedName = std::string("book ") + now.Format("#M-#D-#Y").GetText();
    EXPECT_NE(std::string::npos, g_mailName.find("\\" + expectedName)) << g_mailName;
    EXPECT_EQ(".zip", g_mailName.substr(g_mailName.size() - 4));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(g_mailName.c_str()));
    const std::set<std::string> expected = {"Book.htm", "Book\\cover.jpg", "Book\\style.css"};
    EXPECT_EQ(expected, ZipNames(g_mailCopy));
    DeleteFileA(g_mailCopy.c_str());
}

TEST_F(PWndAppTest, SendBookWithoutBookSendsNothing)
{
    g_mailSubject.clear();
    PWndApp::SetMailFunction(KeepMail);
    AppWindow window;
    window.App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 17);
    PWndApp::SetMailFunction(nullptr);
    EXPECT_EQ("", g_mailSubject);
}

namespace
{
WNDPROC g_helpProc = nullptr;

LRESULT CALLBACK RefuseClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        return -1;
    return CallWindowProcA(g_helpProc, window, message, wParam, lParam);
}

BOOL CALLBACK CollectCaptioned(HWND window, LPARAM data)
{
    if (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION)
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> CaptionedWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectCaptioned, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The captioned top-level window a command makes (the help window has no parent).
HWND WindowMadeBy(PWndApp& app, int command)
{
    const std::vector<HWND> before = CaptionedWindows();
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, command);
    for (HWND window : CaptionedWindows())
        if (std::find(before.begin(), before.end(), window) == before.end())
            return window;
    return nullptr;
}

int g_answer = IDNO;
int g_questions = 0;
int Answer(HWND, const char*, const char*, UINT)
{
    ++g_questions;
    return g_answer;
}
}

TEST_F(PWndAppTest, RefusedClosesKeepTheWindowAndSaveNothing)
{
    AppWindow window;
    PWndApp& app = window.App();
    HWND help = WindowMadeBy(app, 22);
    ASSERT_NE(nullptr, help);
    g_helpProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(help, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefuseClose)));
    EXPECT_EQ(-1, app.SendMessage(WM_CLOSE));
    EXPECT_TRUE(IsWindow(app.GetHandle()));
    EXPECT_FALSE(settings.Has("Window"));
    SetWindowLongPtrA(help, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_helpProc));

    // Sharing with a peer connected: No keeps everything, Yes lets the close go on.
    settings.SetNumber("ServerPort", FreePort());
    app.LoadSettings(false);
    app.GetToolBar().CheckButton(19, true);
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 19);
    ASSERT_TRUE(app.GetServerThread().IsRunning());
    app.GetServerThread().SetPeerCount(1);
    PWndApp::SetQuestionFunction(Answer);
    g_answer = IDNO;
    EXPECT_EQ(-1, app.SendMessage(WM_CLOSE));
    EXPECT_EQ(1, g_questions);
    EXPECT_TRUE(IsWindow(app.GetHandle()));
    EXPECT_FALSE(settings.Has("Window"));
    EXPECT_TRUE(app.GetToolBar().IsButtonChecked(19));
    g_answer = IDYES;
    const HWND handle = app.GetHandle();
    app.SendMessage(WM_CLOSE);
    PWndApp::SetQuestionFunction(nullptr);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(settings.Has("Window"));
    EXPECT_EQ(220, settings.GetNumber("Column"));
}

TEST_F(PWndAppTest, TrayDoubleClickTogglesAndItsMenuNamesTheNextStep)
{
    AppWindow window;
    PWndApp& app = window.App();
    const struct
    {
        int code;
        bool visible;
        const char* item14;
    } steps[] = {{SMouseNotify::RIGHT | SMouseNotify::UP, false, "Show window"},
                 {SMouseNotify::LEFT | SMouseNotify::DOUBLE, true, "Show window"},
                 {SMouseNotify::RIGHT | SMouseNotify::UP, true, "Hide window"},
                 {SMouseNotify::LEFT | SMouseNotify::DOUBLE, false, "Hide window"},
                 {SMouseNotify::LEFT | SMouseNotify::UP, false, "Hide window"}};
    for (const auto& s : steps)
    {
        SMouseNotify notify = {s.code, 10, 10};
        CloseMenuSoon();
        app.SendMessage(SWM_TRAY_MOUSE, 0, reinterpret_cast<LPARAM>(&notify));
        EXPECT_EQ(s.visible, app.IsVisible()) << s.code;
        EXPECT_STREQ(s.item14, TextOf(app.GetTrayMenu().GetItemText(14))) << s.code;
    }
    Pump(400);  // the menu timer of a step without menu
}
