// The real program as the sharing server, started as a child with its
// settings seeded: a main window of this process browses it, reads a
// description, downloads folders, stops and resumes, and survives the server's
// end; raw peers try every way out of its root and a stalled reader.
#include <gtest/gtest.h>
#include <cstring>
#include "SharingTestSupport.h"

using namespace apptest;

namespace
{
const UINT TOOLBAR_COMMAND = 0x8E24;
const int BIG = 48 * 1024 * 1024;

// One library shared by one program for the suite; the link is removed first.
struct Shared
{
    TempFolder root, outside;
    std::unique_ptr<FolderLink> link;
    std::unique_ptr<RunningProgram> server;
    int port = FreePort();
    bool started = false;

    // The program with the server's settings, sharing on the port.
    bool StartServer()
    {
        if (server)
            CloseSharingProgram(*server);
        server.reset(new RunningProgram);
        SettingsKey settings;
        settings.SetText("Folder", root.Path());
        settings.SetText("ServerPass", "pw");
        settings.SetNumber("ServerPort", port);
        HWND main = server->Start("") ? server->WaitReady() : nullptr;
        HWND rebar = main ? FindWindowExA(main, nullptr, "ReBarWindow32", nullptr) : nullptr;
        HWND toolBar = rebar ? FindWindowExA(rebar, nullptr, "ToolbarWindow32", nullptr) : nullptr;
        SendMessageA(toolBar, TB_CHECKBUTTON, 19, TRUE);
        SendMessageA(main, TOOLBAR_COMMAND, 0, 19);
        return started = toolBar && PumpUntil([this] { return RawPeer().Connect(port, "pw") == 0; });
    }
    ~Shared()
    {
        if (server)
            CloseSharingProgram(*server);
        link.reset();
    }
};

class SharingProgramTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        StartSockets();
        shared = new Shared;
        const TempFolder& root = shared->root;
        root.WriteFile("Rock\\a.mp3", PatternText(1234, 1));
        root.WriteFile("Rock\\a.txt", "Notes of a");
        root.WriteFile("Rock\\big.mp3", PatternText(BIG, 2));
        root.WriteFile("Rock\\Live\\b.mp3", PatternText(5000, 3));
        root.WriteFile("Rock.txt", "About Rock");
        root.WriteFile("Jazz\\huge.mp3", PatternText(BIG, 4));
        shared->outside.WriteFile("secret.mp3", "secret");
        const std::string outside = shared->outside.Path();
        shared->link.reset(new FolderLink(root.Path() + "out", outside.substr(0, outside.size() - 1)));
        shared->StartServer();
    }
    static void TearDownTestSuite() { delete shared; }

    static Shared* shared;
};

Shared* SharingProgramTest::shared = nullptr;
}

TEST_F(SharingProgramTest, HostilePeersReadNothingOutsideTheRoot)
{
    ASSERT_TRUE(shared->started);
    RawPeer peer;
    ASSERT_EQ(0, peer.Connect(shared->port, "pw"));
    char shortName[MAX_PATH] = {};
    GetShortPathNameA((shared->root.Path() + "Rock\\a.mp3").c_str(), shortName, MAX_PATH);
    const std::string shortFile = std::string("Rock\\") + (std::strrchr(shortName, '\\') + 1);
    const std::string outside = shared->outside.Path(), outsideFile = outside + "secret.mp3";
    const std::string up = "..\\" + outside.substr(outside.rfind('\\', outside.size() - 2) + 1);
    const std::string paths[] = {up + "secret.mp3", outsideFile, "\\\\127.0.0.1\\c$\\x.mp3", "Rock\\a.mp3:s",
                                 "out\\secret.mp3", "CON", "Rock\\NUL.mp3", "Rock\\..\\..\\x.mp3", "/Rock/a.mp3"};
    for (const std::string& path : paths)
    {
        std::string block;
        const struct
        {
            const char *request, *reply;
            std::string argument;
        } asks[] = {{"105", "-1", path}, {"106", "", path + "|0"}, {"107", "0", path}, {"101", "0", path},
                    {"102", "0", path}};
        for (const auto& a : asks)
        {
            ASSERT_TRUE(peer.Send(a.request, a.argument));
            EXPECT_EQ(a.reply, peer.Text()) << a.request << " " << a.argument;
        }
        ASSERT_TRUE(peer.Send("103", path));
        ASSERT_TRUE(peer.Sized(&block));
        EXPECT_EQ(std::string(1, '\0'), block) << path;
    }
    // Short names read as their long names; the link is not listed.
    ASSERT_TRUE(peer.Send("105", shortFile));
    EXPECT_EQ("1234", peer.Text()) << shortFile;
    std::string listing;
    ASSERT_TRUE(peer.Send("101", ""));
    ASSERT_EQ("1", peer.Text());
    ASSERT_TRUE(peer.Sized(&listing));
    EXPECT_EQ(std::string::npos, listing.find("out|"));
    // Play requests naming files outside: nothing, and the peer is served on.
    ASSERT_TRUE(peer.Send("104", up + "secret.mp3|out\\secret.mp3|" + outsideFile));
    ASSERT_TRUE(peer.Send("105", "Rock\\a.mp3"));
    EXPECT_EQ("1234", peer.Text());
    EXPECT_EQ("secret", ReadFileText(outsideFile));
}

TEST_F(SharingProgramTest, StalledReaderEndsAloneWhileFiftyOthersAreServed)
{
    ASSERT_TRUE(shared->started);
    RawPeer stalled;
    ASSERT_EQ(0, stalled.Connect(shared->port, "pw"));
    ASSERT_TRUE(stalled.Send("106", "Rock\\big.mp3|0"));
    std::vector<std::unique_ptr<RawPeer>> peers;
    for (int i = 0; i < 50; ++i)
    {
        peers.emplace_back(new RawPeer);
        ASSERT_EQ(0, peers.back()->Connect(shared->port, "pw")) << i;
        ASSERT_TRUE(peers.back()->Send("105", "Rock\\a.mp3"));
    }
    for (size_t i = 0; i < peers.size(); ++i)
        EXPECT_EQ("1234", peers[i]->Text(20000)) << i;
    // Meanwhile the server gave up on the stalled reader: it closed the
    // connection with the file unsent.
    Sleep(2500);
    const long long received = stalled.Drain(20000);
    EXPECT_GE(received, 0);
    EXPECT_LT(received, BIG);
}

namespace
{
void CALLBACK EndMenuNow(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EndMenu();
}

// Picks the server from the servers menu (20), as the user does.
void ChooseKitchen(PWndApp& app)
{
    SetTimer(nullptr, 0, 300, EndMenuNow);
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 20);
    app.SendMessage(SWM_MENUCOMMAND, 0, 100);
}

int RowOf(PWndNet& queue, const char* path)
{
    for (int row = 0; row < queue.GetCount(); ++row)
        if (queue.GetPath(row) == path)
            return row;
    return -1;
}

bool AllDone(PWndNet& queue)
{
    for (int row = 0; row < queue.GetCount(); ++row)
        if (queue.GetState(row) != PWndNet::STATE_DONE)
            return false;
    return queue.GetCount() > 0;
}

// Waits until a row's file is part way.
bool PartWay(PWndNet& queue, const char* path)
{
    return PumpUntil([&] {
        const int percent = queue.GetPercent(RowOf(queue, path));
        return percent >= 5 && percent < 90;
    });
}
}

TEST_F(SharingProgramTest, ClientBrowsesDownloadsStopsAndResumesAcrossTheServersEnd)
{
    ASSERT_TRUE(shared->started);
    SettingsKey settings;
    TempFolder clientRoot;
    settings.SetText("Folder", clientRoot.Path());
    auto seedServers = [&] {
        settings.SetText("ServersNames", "Kitchen|");
        settings.SetText("ServersIPs", "127.0.0.1|");
        settings.SetText("ServersPasses", "pw|");
        settings.SetText("ServersPorts", std::to_string(shared->port) + "|");
    };
    seedServers();
    Questions questions;
    std::unique_ptr<AppWindow> window(new AppWindow);
    PWndApp& app = window->App();
    ChooseKitchen(app);
    ASSERT_FALSE(app.IsLocal());
    EXPECT_EQ("Jazz;Rock;", Items(app.GetFolderList()));
    EXPECT_EQ(0x00FF0000u, app.GetFolderList().GetTextColor());
    char status[256] = {};
    app.GetStatusBar().SendMessage(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ("<Kitchen>\\\\", status);
    EXPECT_EQ(0, ReadFileText(app.GetRemotePicture().GetText()).compare(0, 2, "\xFF\xD8"));

    // Browsing: a folder's files with their note marks, a description, a folder opened and left.
    Select(app, app.GetFolderList(), "Rock");
    EXPECT_EQ("a;big;", Items(app.GetFileList()));
    EXPECT_EQ(4, app.GetFileList().GetItemSecondImage(0));
    Select(app, app.GetFileList(), "a");
    EXPECT_EQ("Notes of a", std::string(app.GetNotesEditor().GetWindowText().GetText()));
    app.SendMessage(SWM_LIST_DBLCLK, reinterpret_cast<WPARAM>(&app.GetFolderList()), 0);
    EXPECT_EQ("Live;", Items(app.GetFolderList()));
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 2);
    EXPECT_EQ("Jazz;Rock;", Items(app.GetFolderList()));

    // The folder's files; the large one stopped part way, resumed only 2 s after the stop.
    PWndNet& queue = app.GetDownloadQueue();
    Select(app, app.GetFolderList(), "Rock");
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    EXPECT_EQ(4, queue.GetCount());
    ASSERT_TRUE(PartWay(queue, "Rock\\big.mp3"));
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 30);
    EXPECT_FALSE(app.GetDownloadThread().IsRunning());
    const std::string big = clientRoot.Path() + "{Kitchen}\\Rock\\big.mp3";
    const long long stoppedAt = FileSizeOf(big);
    EXPECT_LT(stoppedAt, BIG);
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 29);
    EXPECT_FALSE(app.GetDownloadThread().IsRunning());
    Pump(2100);
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 29);
    ASSERT_TRUE(PumpUntil([&] { return AllDone(queue); }, 60000));
    EXPECT_EQ(100, queue.GetPercent(RowOf(queue, "Rock\\big.mp3")));
    // A path queued again gives no second row.
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    EXPECT_EQ(4, queue.GetCount());
    for (const char* file : {"Rock\\a.mp3", "Rock\\big.mp3", "Rock\\Live\\b.mp3", "Rock.txt"})
        EXPECT_TRUE(ReadFileText(shared->root.Path() + file) == ReadFileText(clientRoot.Path() + "{Kitchen}\\" + file))
            << file;

    // The server ends during another file: the client is local again; the
    // file resumes from its part once the server is back.
    Select(app, app.GetFolderList(), "Jazz");
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    ASSERT_TRUE(PartWay(queue, "Jazz\\huge.mp3"));
    TerminateProcess(OpenProcess(PROCESS_TERMINATE, FALSE, shared->server->ProcessId()), 1);
    ASSERT_TRUE(PumpUntil([&] { return app.IsLocal(); }));
    EXPECT_EQ(0, queue.GetCount());
    const std::string huge = clientRoot.Path() + "{Kitchen}\\Jazz\\huge.mp3";
    EXPECT_LT(FileSizeOf(huge), BIG);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), app.GetFolderList().GetTextColor());
    ASSERT_TRUE(shared->StartServer());
    seedServers();
    ChooseKitchen(app);
    ASSERT_FALSE(app.IsLocal());
    Select(app, app.GetFolderList(), "Jazz");
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    ASSERT_TRUE(PumpUntil([&] { return AllDone(queue); }, 60000));
    EXPECT_TRUE(ReadFileText(shared->root.Path() + "Jazz\\huge.mp3") == ReadFileText(huge));
    EXPECT_TRUE(Questions::asked.empty());
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 33);
    EXPECT_TRUE(app.IsLocal());
}
