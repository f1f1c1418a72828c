// The sharing server of a main window in this process, asked by raw peers:
// the exact replies of the requests, the handshake's refusals and what the
// connecting side shows for them, and a listen that fails.
#include <gtest/gtest.h>
#include <algorithm>
#include <thread>
#include <vector>
#include "SDisk.h"
#include "SFile.h"
#include "SGuards.h"
#include "SMemory.h"
#include "SharingTestSupport.h"

using namespace apptest;

namespace
{
class SharingServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartSockets();
        port = FreePort();
        ASSERT_TRUE(root.WriteFile("A\\a.mp3", PatternText(1234, 1)));
        ASSERT_TRUE(root.WriteFile("A\\a.txt", "Notes of a"));
        ASSERT_TRUE(root.WriteFile("A\\long.txt", std::string(5000, 'n')));
        ASSERT_TRUE(root.WriteFile("A\\Inner\\b.mp3", "b"));
        ASSERT_TRUE(root.WriteFile("A\\Inner.txt", "Inner's description"));
    ASSERT_TRUE(root.WriteFile("A.txt", "A's description"));
    ASSERT_TRUE(root.WriteFile("B\\c.wma", "c"));
        settings.SetText("Folder", root.Path());
        settings.SetNumber("ServerPort", port);
        settings.SetText("ServerPass", "pw");
        settings.SetNumber("ServerMaxUser", 1);
        server.reset(new AppWindow);
        ASSERT_TRUE(StartSharingOn(server->App(), port));
    }

    // A new main window shares the port with the settings as they are now.
    bool Restart()
    {
        peer.Close();
        server.reset();
        server.reset(new AppWindow);
        return StartSharingOn(server->App(), port) && peer.Connect(port, "pw") == 0;
    }

    // The request's text reply, and the sized block after a "1".
    std::string Ask(const char* request, const std::string& argument, std::string* block = nullptr,
                    int timeout = 2000)
    {
        if (!peer.Send(request, argument))
            return "<unsent>";
        const std::string status = peer.Text(timeout);
        if (block && status == "1" && !peer.Sized(block))
            return "<no block>";
        return status;
    }

    SettingsKey settings;
    TempFolder root;
    int port = 0;
    std::unique_ptr<AppWindow> server;
    RawPeer peer;
};

// The folders below root as a plain walk finds them, in the listing's order,
// each after its parent: what "100" has always sent.
std::string WalkedTree(const std::string& root, const std::string& below = "")
{
    std::string text;
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((root + below + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return text;
    do
    {
        const std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." &&
            !(entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT)))
            text += below + name + "\\|" + WalkedTree(root, below + name + "\\");
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return text;
}

// The names and flags of a folder listing.
void ReadListing(const std::string& block, std::vector<std::string>* names, std::string* flags)
{
    const size_t start = block.find('\0') + 1, end = block.find('\0', start);
    const std::string text = block.substr(start, end - start);
    for (size_t at = 0, bar; (bar = text.find('|', at)) != std::string::npos; at = bar + 1)
        names->push_back(text.substr(at, bar - at));
    *flags = block.substr(end + 1, names->size());
}

std::string Unpacked(const std::string& block)
{
    SMemory packed, raw;
    packed.Write(block.data(), static_cast<int>(block.size()));
    packed.SeekToStart();
    if (!packed.Uncompress(&raw))
        return "<unpack>";
    return std::string(reinterpret_cast<const char*>(raw.GetData()), raw.GetSize());
}
}

TEST_F(SharingServerTest, RequestsGiveTheirExactReplies)
{
    ASSERT_EQ(0, peer.Connect(port, "pw"));
    std::string block;
    ASSERT_EQ("1", Ask("101", "", &block));
    ASSERT_EQ(2057u, block.size());
    EXPECT_EQ(std::string("\0A|B|\0" "10\0", 9), block.substr(0, 9));
    EXPECT_EQ("1", Ask("100", "", &block));
    EXPECT_EQ("A\\|A\\Inner\\|B\\", Unpacked(block));
    const struct
    {
        const char *request, *argument, *reply;
    } texts[] = {
        {"105", "A\\a.mp3", "1234"}, {"105", "A\\missing.mp3", "-1"}, {"105", "..\\a.mp3", "-1"},
        {"105", "A", "-1"},          {"106", "A\\a.mp3|1234", ""},    {"106", "A\\a.mp3|-1", ""},
        {"106", "A\\a.mp3|x", ""},   {"106", "..\\x|0", ""},          {"106", "A\\a.mp3", ""},
        {"107", "A\\missing.txt", "0"}, {"101", "..", "0"},          {"102", "C:\\", "0"},
    };
    for (const auto& t : texts)
        EXPECT_EQ(t.reply, Ask(t.request, t.argument)) << t.request << " " << t.argument;
    EXPECT_EQ("Ok", Ask("106", "A\\a.mp3|0"));
    ASSERT_TRUE(peer.Sized(&block));
    EXPECT_EQ(PatternText(1234, 1), block);
    EXPECT_EQ("Ok", Ask("106", "A\\a.mp3|1000"));
    ASSERT_TRUE(peer.Sized(&block));
    EXPECT_EQ(PatternText(1234, 1).substr(1000), block);
    EXPECT_EQ("1", Ask("107", "A\\a.txt"));
    EXPECT_EQ("Notes of a", peer.Text());
    EXPECT_EQ("1", Ask("107", "A\\long.txt"));
    EXPECT_EQ(std::string(4095, 'n'), peer.Text());
    // A refused folder still gets its list: only the zero.
    ASSERT_TRUE(peer.Send("103", "..\\"));
    ASSERT_TRUE(peer.Sized(&block));
    EXPECT_EQ(std::string(1, '\0'), block);
    ASSERT_TRUE(peer.Send("103", "A"));
    ASSERT_TRUE(peer.Sized(&block));
    EXPECT_EQ(std::string("A.txt|A\\a.mp3|A\\Inner.txt|A\\Inner\\b.mp3\0", 40), block);
    // Numbers outside 100..107 get no reply; the connection goes on.
    EXPECT_EQ("<none>", Ask("108", "", nullptr, 300));
    EXPECT_EQ("<none>", Ask("99", "", nullptr, 300));
    EXPECT_EQ("1234", Ask("105", "A\\a.mp3"));
    // Rewritten at the same size after its size was asked, it goes as it is now.
    Sleep(50);
    ASSERT_TRUE(root.WriteFile("A\\a.mp3", PatternText(1234, 2)));
    EXPECT_EQ("Ok", Ask("106", "A\\a.mp3|0"));
    ASSERT_TRUE(peer.Sized(&block));
    EXPECT_TRUE(block == PatternText(1234, 2));
    // A root without sub-folders has no tree.
    TempFolder empty;
    settings.SetText("Folder", empty.Path());
    server->App().LoadSettings(false);
    EXPECT_EQ("0", Ask("100", ""));
}

TEST_F(SharingServerTest, RequestsSentAheadAreAnsweredInOrderAfterEachFile)
{
    // A download asks the next sizes while a file streams: every reply comes
    // whole, after the file before it, and "106" answers as it would alone.
    ASSERT_TRUE(root.WriteFile("A\\big.mp3", PatternText(300 * 1024, 3)));
    ASSERT_EQ(0, peer.Connect(port, "pw"));
    const char* const requests[][2] = {
        {"105", "A\\big.mp3"}, {"106", "A\\big.mp3|0"},      {"105", "A\\a.mp3"},       {"106", "A\\a.mp3|1234"},
        {"106", "A\\big.mp3|307100"}, {"105", "A\\missing.mp3"}, {"106", "A\\missing.mp3|0"}, {"105", "A\\a.mp3"},
    };
    for (const auto& request : requests)
        ASSERT_TRUE(peer.Send(request[0], request[1]));
    std::string block;
    EXPECT_EQ("307200", peer.Text());
    EXPECT_EQ("Ok", peer.Text());
    ASSERT_TRUE(peer.Sized(&block));
    EXPECT_TRUE(block == PatternText(300 * 1024, 3));
    EXPECT_EQ("1234", peer.Text());
    EXPECT_EQ("", peer.Text());
    EXPECT_EQ("Ok", peer.Text());
    ASSERT_TRUE(peer.Sized(&block));
    EXPECT_TRUE(block == PatternText(300 * 1024, 3).substr(307100));
    EXPECT_EQ("-1", peer.Text());
    EXPECT_EQ("", peer.Text());
    EXPECT_EQ("1234", peer.Text());
}

TEST_F(SharingServerTest, RootMadeAfterSharingStartedIsServed)
{
    TempFolder parent;
    settings.SetText("Folder", parent.Path() + "Later\\");
    ASSERT_TRUE(Restart());
    EXPECT_EQ("0", Ask("101", ""));
    ASSERT_TRUE(parent.WriteFile("Later\\Pop\\p.mp3", "p"));
    std::string block;
    ASSERT_EQ("1", Ask("101", "", &block));
    EXPECT_EQ(std::string("\0Pop|\0" "0\0", 8), block.substr(0, 8));
}

TEST_F(SharingServerTest, PeerPlaysAFileOfTheRoot)
{
    RegisteredPlayer player;
    ASSERT_TRUE(root.WriteFile("T.mp3", "t"));
    settings.SetNumber("ServerAllowPlay", 1);
    ASSERT_TRUE(Restart());
    ASSERT_TRUE(peer.Send("104", "T.mp3"));
    const SArrayString& queue = server->App().GetQueue();
    ASSERT_TRUE(PumpUntil([&] { return queue.GetCount() > 0; }, 5000));
    EXPECT_EQ(root.Path() + "T.mp3", queue.GetAt(0).GetText());
}

TEST_F(SharingServerTest, HandshakeRefusalsShowTheirMessages)
{
    Questions questions;
    EXPECT_EQ(-1, peer.Connect(port, "wrong"));
    std::unique_ptr<AppWindow> client(new AppWindow);
    EXPECT_FALSE(client->App().Connect("Kitchen", "127.0.0.1", "wrong", port));
    // One machine is the limit: a second one is refused, the first may come again.
    RawPeer first, again, second;
    ASSERT_EQ(0, first.Connect(port, "pw", "127.0.0.2"));
    EXPECT_EQ(0, again.Connect(port, "pw", "127.0.0.2"));
    EXPECT_EQ(1, second.Connect(port, "pw", "127.0.0.1"));
    EXPECT_FALSE(client->App().Connect("Kitchen", "127.0.0.1", "pw", port));
    EXPECT_FALSE(client->App().Connect("..", "127.0.0.1", "pw", port));
    const std::vector<std::string> expected = {
        "Server: Connection failed.", "Server: The server is saturated.\r\n\r\nPlease try again later.",
        "Server: Connection failed."};
    EXPECT_EQ(expected, Questions::asked);
    EXPECT_TRUE(client->App().IsLocal());
    EXPECT_EQ(1, server->App().GetServerThread().GetPeerCount());
}

TEST_F(SharingServerTest, PortZeroConnectsTo12465)
{
    SSocketGuard listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const sockaddr_in address = LoopbackAddress(12465);
    if (bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        GTEST_SKIP() << "12465 is taken";
    listen(listener.Get(), 1);
    // What listens there refuses in the handshake, as a full server does.
    std::thread refuse([&] {
        SSocketGuard accepted(accept(listener.Get(), nullptr, nullptr));
        char hello[10];
        send(accepted.Get(), "\1", 1, 0);
        recv(accepted.Get(), hello, sizeof(hello), MSG_WAITALL);
        send(accepted.Get(), "\0\1", 2, 0);
    });
    Questions questions;
    AppWindow client;
    EXPECT_FALSE(client.App().Connect("Kitchen", "127.0.0.1", "", 0));
    refuse.join();
    EXPECT_EQ(std::vector<std::string>{"Server: The server is saturated.\r\n\r\nPlease try again later."},
              Questions::asked);
}

TEST_F(SharingServerTest, ListenThatFailsReleasesTheButtonAndTellsTheUser)
{
    Questions questions;
    server->App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 19);
    server->App().GetToolBar().CheckButton(19, false);
    server->App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 19);
    ASSERT_TRUE(PumpUntil([&] { return !server->App().GetServerThread().IsRunning(); }));
    // Another server holds the port now.
    std::unique_ptr<AppWindow> other(new AppWindow);
    ASSERT_TRUE(StartSharingOn(other->App(), port));
    server->App().GetToolBar().CheckButton(19, true);
    server->App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 19);
    ASSERT_TRUE(PumpUntil([&] { return !Questions::asked.empty(); }));
    EXPECT_FALSE(server->App().GetToolBar().IsButtonChecked(19));
    EXPECT_FALSE(server->App().GetServerThread().IsRunning());
    EXPECT_EQ(0u, Questions::asked[0].rfind("Server: ", 0)) << Questions::asked[0];
}

namespace
{
// A file of `zeros` zero bytes (a hole, not written) followed by the tail.
bool WriteSparse(const std::string& path, long long zeros, const std::string& tail)
{
    SDisk().CreateFolder(path.substr(0, path.find_last_of('\\')).c_str(), true);
    SFile file;
    return file.Open(path.c_str(), true, true, false) && file.SeekTo64(zeros) &&
           file.Write(tail.data(), static_cast<int>(tail.size())) == static_cast<int>(tail.size());
}

std::string ReadRegion(const std::string& path, long long offset, int n)
{
    SFile file;
    std::string bytes(n, '?');
    if (!file.Open(path.c_str(), false, false, true) || !file.SeekTo64(offset))
        return "<unread>";
    bytes.resize(file.Read(&bytes[0], n));
    return bytes;
}
}

TEST_F(SharingServerTest, FileAbove4GiBResumesFromPast4GiBByteExact)
{
    const long long hole = 4LL << 30;
    const std::string tail = PatternText(100 * 1024, 5);
    const std::string remote = root.Path() + "A\\sparse.mp3";
    ASSERT_TRUE(WriteSparse(remote, hole, tail));
    const long long size = hole + static_cast<long long>(tail.size());
    ASSERT_EQ(0, peer.Connect(port, "pw"));
    EXPECT_EQ(std::to_string(size), Ask("105", "A\\sparse.mp3"));
    TempFolder clientRoot;
    const std::string local = clientRoot.Path() + "{Kitchen}\\A\\sparse.mp3";
    ASSERT_TRUE(WriteSparse(local, hole, tail.substr(0, 50 * 1024)));
    settings.SetText("Folder", clientRoot.Path());
    AppWindow client;
    PWndApp& app = client.App();
    ASSERT_TRUE(app.Connect("Kitchen", "127.0.0.1", "pw", port));
    Select(app, app.GetFolderList(), "A");
    app.GetFileList().SetSelection(app.GetFileList().FindItem("sparse"));
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 27);
    PWndNet& queue = app.GetDownloadQueue();
    ASSERT_EQ(1, queue.GetCount());
    ASSERT_TRUE(PumpUntil([&] { return queue.GetState(0) != PWndNet::STATE_QUEUED; }));
    EXPECT_EQ(PWndNet::STATE_DONE, queue.GetState(0));
    EXPECT_EQ(100, queue.GetPercent(0));
    EXPECT_EQ(size, FileSizeOf(local));
    EXPECT_EQ(std::string(4096, '\0') + tail.substr(0, 4096), ReadRegion(local, hole - 4096, 8192));
    EXPECT_EQ(tail.substr(40 * 1024), ReadRegion(local, hole + 40 * 1024, 60 * 1024));
    EXPECT_EQ(std::string(4096, '\0'), ReadRegion(local, 0, 4096));
}

// Thousands of folders are answered within a peer's time-out (the server
// starts from what the window's scan read), and each answer follows what
// changed on disk since the one before.
TEST_F(SharingServerTest, ThousandsOfFoldersAreAnsweredInTimeAndInStep)
{
    TempFolder big;
    for (int a = 0; a < 50; ++a)
    {
        const std::string artist = big.Path() + "Artist " + std::to_string(a) + "\\";
        ASSERT_TRUE(CreateDirectoryA(artist.c_str(), nullptr));
        for (int i = 0; i < 80; ++i)
            ASSERT_TRUE(CreateDirectoryA((artist + "Album " + std::to_string(i)).c_str(), nullptr));
    }
    settings.SetText("Folder", big.Path());
    ASSERT_TRUE(Restart());
    std::string block;
    ASSERT_EQ("1", Ask("100", "", &block));
    std::string tree = Unpacked(block);
    EXPECT_EQ(4049, std::count(tree.begin(), tree.end(), '|'));
    std::vector<std::string> names;
    std::string flags;
    ASSERT_EQ("1", Ask("101", "Artist 3", &block));
    ReadListing(block, &names, &flags);
    EXPECT_EQ(80u, names.size());
    EXPECT_EQ(std::string(80, '0'), flags);
    // Made, renamed, hidden and filled since the first answers.
    const std::string at = big.Path() + "Artist 3\\";
    ASSERT_TRUE(CreateDirectoryA((at + "New").c_str(), nullptr));
    ASSERT_TRUE(MoveFileA((at + "Album 1").c_str(), (at + "Renamed").c_str()));
    ASSERT_TRUE(SetFileAttributesA((at + "Album 2").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryA((at + "Album 0\\Inner").c_str(), nullptr));
    ASSERT_EQ("1", Ask("100", "", &block));
    tree = Unpacked(block);
    for (const char* shown : {"|Artist 3\\New\\|", "|Artist 3\\Renamed\\|", "|Artist 3\\Album 0\\Inner\\|"})
        EXPECT_NE(std::string::npos, tree.find(shown)) << shown;
    for (const char* gone : {"|Artist 3\\Album 1\\|", "|Artist 3\\Album 2\\|"})
        EXPECT_EQ(std::string::npos, tree.find(gone)) << gone;
    // The folders kept since the scan, and those read again, are sent as a plain walk finds them.
    EXPECT_TRUE(tree + "|" == WalkedTree(big.Path()));
    ASSERT_EQ("1", Ask("101", "Artist 3", &block));
    names.clear();
    ReadListing(block, &names, &flags);
    const auto named = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
    EXPECT_EQ(80, named("Album 2")) << "a hidden folder is not listed";
    ASSERT_LT(named("New"), 80);
    ASSERT_LT(named("Album 0"), 80);
    EXPECT_EQ('1', flags[static_cast<size_t>(named("Album 0"))]);
    EXPECT_EQ('0', flags[static_cast<size_t>(named("New"))]);
}
