// Browsing a remote library between two main windows of this process over
// 127.0.0.1, through the real client, the real server and a loopback socket:
// a folder of 1,000 and of 4,000 sub-folders opened remotely, against its
// local opening and one listing of it; and the answers to the folder tree
// ("100") and the root listing ("101") of libraries of 8,000 albums, at the
// first connection after sharing starts and at a later one, against a bare
// walk of the library.
#include "SPlatform.h"
#include <cstdlib>
#include <memory>
#include <string>
#include "BenchRegistry.h"
#include "PSettings.h"
#include "PWndApp.h"
#include "ProgramBench.h"
#include "TestFolder.h"
#include "library/ManyFolders.h"
#include "library/TreeWalk.h"
#include "transport/BenchServer.h"

namespace
{
const uint32_t CLIENT_VALUE = 0x1000000;
const char* const PASSWORD = "bench";

// No message box waits for a person: its text is printed.
int PrintQuestion(HWND, const char* text, const char* caption, UINT)
{
    std::printf("[%s: %s]\n", caption, text);
    return IDOK;
}

// The settings the bench changes, put back afterwards.
class SavedSettings
{
public:
    SavedSettings()
        : m_folder(m_settings.GetText("Folder")), m_password(m_settings.GetText("ServerPass")),
          m_port(m_settings.GetNumber("ServerPort"))
    {
        PWndApp::SetSplashTime(0);
        PWndApp::SetQuestionFunction(PrintQuestion);
    }
    ~SavedSettings()
    {
        m_settings.SetText("Folder", m_folder.GetText());
        m_settings.SetText("ServerPass", m_password.GetText());
        m_settings.SetNumber("ServerPort", m_port);
        PWndApp::SetSplashTime(2000);
        PWndApp::SetQuestionFunction(nullptr);
    }

private:
    const PSettings m_settings;
    const SString m_folder, m_password;
    const int m_port;
};

std::unique_ptr<PWndApp> MakeApp(const std::string& root, int port)
{
    const PSettings settings;
    settings.SetText("Folder", root.c_str());
    settings.SetNumber("ServerPort", port);
    settings.SetText("ServerPass", PASSWORD);
    std::unique_ptr<PWndApp> app(new PWndApp());
    app->Create("KLV Sonavel bench", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
    app->ShowWindow(SW_SHOW);
    PumpUntilIdle();
    return app;
}

void Close(std::unique_ptr<PWndApp>& app)
{
    app->DestroyWindow();
    PumpUntilIdle();
    app.reset();
}

// One request's reply in hand, timed as the client waits for it; a reply
// that came late is read to its end (the time then passes the time-out).
double TimeRequest(PSocketClient& client, const char* request, const char* argument, bool* late)
{
    const BenchClock clock;
    int size = 0;
    unsigned char* block = client.RequestBlock(request, argument, &size);
    *late = !block && client.IsOwing();
    if (*late)
        client.CatchUp(60000);
    std::free(block);
    return block || *late ? clock.Seconds() : -1;
}

// A connection of the client's own, tried until the server's thread listens.
bool ConnectBare(PSocketClient& client, int port)
{
    client.SetAccessCode(PASSWORD);
    const BenchClock clock;
    while (client.Connect("127.0.0.1", port, false, CLIENT_VALUE) != 0)
    {
        if (clock.Seconds() > 10)
            return false;
        Sleep(5);
    }
    return true;
}

void ReportTime(const char* what, double seconds, bool late, double anchor)
{
    char label[96];
    std::snprintf(label, sizeof(label), "%s%s", what, late ? " (late)" : "");
    if (seconds < 0)
        std::printf("%-48s failed\n", label);
    else
        BenchRegistry::Report(label, seconds * 1000, anchor * 1000, "ms");
}

// Sharing started, once its port takes connections.
bool StartSharing(PWndApp& server, int port)
{
    server.StartSharing();
    const BenchClock clock;
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(static_cast<u_short>(port));
    while (clock.Seconds() < 10)
    {
        SSocketGuard probe(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        if (connect(probe.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof(target)) == 0)
            return true;
        Sleep(5);
    }
    return false;
}

void SelectFolder(PWndApp& app, const char* name)
{
    SListCtrl& folders = app.GetFolderList();
    folders.SelectItemByText(name, true);
    app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&folders), 0);
}

struct Opening
{
    double whole, request, fill;
};

// Request to filled list, and its two shares: the block in hand (the
// server's work and the wire), then the list filled from it (the client's).
Opening OpenRemote(PWndApp& client, const char* folder)
{
    Opening opening = {};
    const BenchClock clock;
    int size = 0;
    unsigned char* block = client.GetClient().RequestBlock("101", folder, &size);
    opening.request = clock.Seconds();
    const BenchClock fillClock;
    if (!block || !client.ParseRemoteFolders(block, size))
        std::printf("the listing of %s was not shown\n", folder);
    client.ShowRemoteFolder();
    opening.fill = fillClock.Seconds();
    opening.whole = clock.Seconds();
    std::free(block);
    return opening;
}
}

BENCH_CASE(RemoteSubFoldersShown)
{
    const SavedSettings saved;
    const int counts[] = {1000, 4000};
    double remote[2] = {}, local[2] = {};
    for (int s = 0; s < 2; ++s)
    {
        const testsupport::TestFolder serverFolder("sonavel remote bench server "),
            clientFolder("sonavel remote bench client ");
        std::printf("writing a folder of %d sub-folders...\n", counts[s]);
        std::fflush(stdout);
        if (!WriteManyFolders(serverFolder.Path(), counts[s]))
            std::printf("could not write the whole folder\n");
        const double listed = BestListing(serverFolder.Path() + "Many\\");
        const int port = FreeBenchPort();
        std::unique_ptr<PWndApp> server = MakeApp(serverFolder.Path(), port);
        std::unique_ptr<PWndApp> client = MakeApp(clientFolder.Path(), port);
        const BenchClock localClock;
        server->OpenFolder("Many", "", false);
        local[s] = localClock.Seconds();
        if (!StartSharing(*server, port) || !client->Connect("Bench", "127.0.0.1", PASSWORD, port))
            std::printf("the client could not connect\n");
        const Opening first = OpenRemote(*client, "Many");
        const int shown = client->GetFolderList().GetCount();
        client->OpenRemoteFolder("");
        PumpUntilIdle();
        const Opening again = OpenRemote(*client, "Many");
        remote[s] = first.whole;
        std::printf("%d of %d folders shown remotely, %s\n", shown, counts[s], LoadText().c_str());
        char label[96];
        std::snprintf(label, sizeof(label), "%d remote: opened vs local opening", counts[s]);
        BenchRegistry::Report(label, first.whole * 1000, local[s] * 1000, "ms");
        std::snprintf(label, sizeof(label), "%d remote: opened vs a listing", counts[s]);
        BenchRegistry::Report(label, first.whole * 1000, listed * 1000, "ms");
        std::snprintf(label, sizeof(label), "%d remote: server and wire share", counts[s]);
        BenchRegistry::Report(label, first.request * 1000, first.whole * 1000, "ms");
        std::snprintf(label, sizeof(label), "%d remote: client share", counts[s]);
        BenchRegistry::Report(label, first.fill * 1000, first.whole * 1000, "ms");
        std::snprintf(label, sizeof(label), "%d remote: opened again vs local opening", counts[s]);
        BenchRegistry::Report(label, again.whole * 1000, local[s] * 1000, "ms");
        client->OnDisconnected();
        server->StopSharing();
        Close(client);
        Close(server);
    }
    std::printf("%-48s x%.2f (size x4.00)\n", "growth 1,000 -> 4,000 sub-folders: remote", remote[1] / remote[0]);
    std::printf("%-48s x%.2f (size x4.00)\n", "growth 1,000 -> 4,000 sub-folders: local", local[1] / local[0]);
}

// A folder of 10,000 files selected: its file list filled, remotely and at home.
BENCH_CASE(RemoteFilesShown)
{
    const SavedSettings saved;
    const int count = 10000;
    const testsupport::TestFolder serverFolder("sonavel remote bench server "),
        clientFolder("sonavel remote bench client ");
    std::printf("writing a folder of %d files...\n", count);
    std::fflush(stdout);
    if (!WriteBigFolder(serverFolder.Path(), count))
        std::printf("could not write the whole folder\n");
    const int port = FreeBenchPort();
    std::unique_ptr<PWndApp> server = MakeApp(serverFolder.Path(), port);
    std::unique_ptr<PWndApp> client = MakeApp(clientFolder.Path(), port);
    const BenchClock localClock;
    SelectFolder(*server, "Big");
    const double local = localClock.Seconds();
    if (!StartSharing(*server, port) || !client->Connect("Bench", "127.0.0.1", PASSWORD, port))
        std::printf("the client could not connect\n");
    const BenchClock remoteClock;
    SelectFolder(*client, "Big");
    const double remote = remoteClock.Seconds();
    std::printf("%d files listed remotely, %d at home, %s\n", client->GetFileList().GetCount(),
                server->GetFileList().GetCount(), LoadText().c_str());
    BenchRegistry::Report("10,000 files: remote selection vs local", remote * 1000, local * 1000, "ms");
    client->OnDisconnected();
    server->StopSharing();
    Close(client);
    Close(server);
}

BENCH_CASE(LargeLibraryAnswers)
{
    const SavedSettings saved;
    const struct
    {
        const char* name;
        int artists, albums;
    } layouts[] = {{"8,000 albums under 50 artists", 50, 160}, {"8,000 albums at the root", 0, 8000}};
    for (const auto& layout : layouts)
    {
        const testsupport::TestFolder serverFolder("sonavel remote bench server "),
            clientFolder("sonavel remote bench client ");
        std::printf("writing %s...\n", layout.name);
        std::fflush(stdout);
        if (!WriteAlbumLibrary(serverFolder.Path(), layout.artists, layout.albums))
            std::printf("could not write the whole library\n");
        double walk = 1e9;
        for (int run = 0; run < 2; ++run)
        {
            const BenchClock clock;
            Walk(serverFolder.Path());
            walk = std::min(walk, clock.Seconds());
        }
        const int port = FreeBenchPort();
        std::unique_ptr<PWndApp> server = MakeApp(serverFolder.Path(), port);
        server->StartSharing();
        std::printf("%s: %s\n", layout.name, LoadText().c_str());
        for (const char* connection : {"first", "later"})
        {
            PSocketClient client;
            if (!ConnectBare(client, port))
            {
                std::printf("no connection\n");
                break;
            }
            bool late = false;
            char label[96];
            std::snprintf(label, sizeof(label), "%s \"101\" vs a walk", connection);
            ReportTime(label, TimeRequest(client, "101", "", &late), late, walk);
            std::snprintf(label, sizeof(label), "%s \"100\" vs a walk", connection);
            ReportTime(label, TimeRequest(client, "100", "", &late), late, walk);
            client.Disconnect();
        }
        std::unique_ptr<PWndApp> client = MakeApp(clientFolder.Path(), port);
        const BenchClock connectClock;
        const bool connected = client->Connect("Bench", "127.0.0.1", PASSWORD, port);
        ReportTime(connected ? "connected, welcome page shown" : "connection failed", connectClock.Seconds(), false,
                   walk);
        client->OnDisconnected();
        server->StopSharing();
        Close(client);
        Close(server);
    }
}
