#include "SocketServerHarness.h"
#include "SFile.h"
#include "SMemory.h"
#include <gtest/gtest.h>
#include <memory>

namespace
{
const uint32_t kClientValue = 0x1000000;

class SSocketServerTest : public ::testing::Test
{
protected:
    SocketSession session;
    int port = 0;
    std::unique_ptr<ServerThread> thread;

    void SetUp() override { ASSERT_TRUE(StartServer("secret")); }
    void TearDown() override { thread.reset(); }

    bool StartServer(const char* password)
    {
        thread.reset();
        thread = StartServerThread(password, &port);
        return thread != nullptr;
    }
    RecordingServer& Server() { return *thread->Server(); }

    int ConnectClient(SSocketClient& client, const char* password = "secret")
    {
        client.SetAccessKey(password);
        return client.Connect("127.0.0.1", port, false, kClientValue);
    }
};
} // namespace

// Handshake

TEST_F(SSocketServerTest, AcceptsClientWithTheRightPassword)
{
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    EXPECT_TRUE(client.IsConnected());
    EXPECT_STREQ(client.GetHost().GetText(), "127.0.0.1");
    EXPECT_TRUE(Server().WaitFor("connected 0 127.0.0.1 16777216"));
    EXPECT_TRUE(Server().Has("accept 0 127.0.0.1 16777216"));
    int count = -1;
    thread->Call([&](RecordingServer& s) { count = s.GetClientCount(); });
    EXPECT_EQ(count, 1);
}

TEST_F(SSocketServerTest, WrongPasswordFailsWithoutEventOrNumber)
{
    RecordingClient wrong;
    EXPECT_EQ(ConnectClient(wrong, "guess"), -1);
    EXPECT_FALSE(wrong.IsConnected());
    EXPECT_STREQ(wrong.GetHost().GetText(), "");
    RecordingClient right;
    ASSERT_EQ(ConnectClient(right), 0);
    // The refused hello used up no number and raised no event.
    EXPECT_TRUE(Server().WaitFor("connected 0 127.0.0.1 16777216"));
    EXPECT_EQ(Server().CountStartingWith("accept"), 1);
}

TEST_F(SSocketServerTest, WrongVersionAndWrongCodeGetTheirVerdicts)
{
    // Version 2 with the right code gets (1, 0).
    SSocketGuard raw(ConnectLoopback(port));
    ASSERT_EQ(ReceiveRaw(raw.Get(), 1).size(), 1u);
    ASSERT_TRUE(SendRaw(raw.Get(), Bytes({2, 0, 0, 0, 0, 1, 0x23, 0xDE, 0xB9, 0x6E})));
    EXPECT_EQ(ReceiveRaw(raw.Get(), 2), Bytes({1, 0}));
    EXPECT_TRUE(WaitPeerClosed(raw.Get()));
    // Version 1 with a wrong code gets (2, 0).
    SSocketGuard other(ConnectLoopback(port));
    ASSERT_EQ(ReceiveRaw(other.Get(), 1).size(), 1u);
    ASSERT_TRUE(SendRaw(other.Get(), Bytes({1, 0, 0, 0, 0, 1, 1, 2, 3, 4})));
    EXPECT_EQ(ReceiveRaw(other.Get(), 2), Bytes({2, 0}));
    EXPECT_TRUE(WaitPeerClosed(other.Get()));
    EXPECT_EQ(Server().CountStartingWith("accept"), 0);
}

TEST_F(SSocketServerTest, EmptyPasswordMeansAccessCodeZero)
{
    ASSERT_TRUE(StartServer(""));
    SSocketGuard raw(ConnectLoopback(port));
    ASSERT_EQ(ReceiveRaw(raw.Get(), 1).size(), 1u);
    ASSERT_TRUE(SendRaw(raw.Get(), Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
    EXPECT_EQ(ReceiveRaw(raw.Get(), 2), Bytes({0, 0}));
    RecordingClient client;
    EXPECT_EQ(ConnectClient(client, ""), 0);
}

TEST_F(SSocketServerTest, AccessCodeNamesSetTheSameKeys)
{
    thread->Call([](RecordingServer& s) { s.SetAccessCode("shared"); });
    RecordingClient right, wrong;
    right.SetAccessCode("shared");
    EXPECT_EQ(right.Connect("127.0.0.1", port, false, kClientValue), 0);
    wrong.SetAccessCode("secret");
    EXPECT_EQ(wrong.Connect("127.0.0.1", port, false, kClientValue), -1);
}

TEST_F(SSocketServerTest, FullServerRefusesWithCodeOneAndUsesANumber)
{
    Server().maxClients = 1;
    RecordingClient first, second, third;
    ASSERT_EQ(ConnectClient(first), 0);
    EXPECT_EQ(ConnectClient(second), 1);
    EXPECT_FALSE(second.IsConnected());
    EXPECT_EQ(second.disconnects, 0);
    Server().maxClients = 1000;
    ASSERT_EQ(ConnectClient(third), 0);
    // The refused client took number 1.
    EXPECT_TRUE(Server().WaitFor("connected 2 127.0.0.1 16777216"));
    EXPECT_TRUE(Server().Has("accept 1 127.0.0.1 16777216"));
    EXPECT_FALSE(Server().Has("connected 1 127.0.0.1 16777216"));
}

TEST_F(SSocketServerTest, RefusalCodeOutsideOneByteStillRefuses)
{
    Server().acceptAnswer = 256;
    RecordingClient client;
    EXPECT_EQ(ConnectClient(client), 255);
    EXPECT_FALSE(client.IsConnected());
    Server().acceptAnswer = 7;
    EXPECT_EQ(ConnectClient(client), 7);
}

TEST_F(SSocketServerTest, TwoClientsFromOneAddressCountAsOnePeer)
{
    RecordingClient a, b;
    ASSERT_EQ(ConnectClient(a), 0);
    ASSERT_EQ(ConnectClient(b), 0);
    ASSERT_TRUE(a.SendMessage("count", "", -1));
    EXPECT_STREQ(a.ReceiveString().GetText(), "2 1");
    bool known = false, unknown = true, empty = true;
    thread->Call([&](RecordingServer& s) {
        known = s.IsPeerConnected("127.0.0.1");
        unknown = s.IsPeerConnected("127.0.0.2");
        empty = s.IsPeerConnected("");
    });
    EXPECT_TRUE(known);
    EXPECT_FALSE(unknown);
    EXPECT_FALSE(empty);
}

TEST_F(SSocketServerTest, ClientNumbersRestartWithEachListen)
{
    RecordingClient a;
    ASSERT_EQ(ConnectClient(a), 0);
    ASSERT_TRUE(Server().WaitFor("connected 0 127.0.0.1 16777216"));
    bool relisten = false;
    thread->Call([&](RecordingServer& s) {
        s.Close();
        relisten = s.Listen(port);
    });
    ASSERT_TRUE(relisten);
    RecordingClient b;
    ASSERT_EQ(ConnectClient(b), 0);
    // The event follows the verdict the client has already read.
    EXPECT_TRUE(PumpUntil([&] { return Server().CountStartingWith("connected 0 ") == 2; }));
}

TEST_F(SSocketServerTest, ListenOnBusyPortFails)
{
    bool second = true, listening = false;
    thread->Call([&](RecordingServer& s) { second = s.Listen(port + 0); });
    EXPECT_FALSE(second);
    SSocketServer* other = nullptr;
    thread->Call([&](RecordingServer&) {
        other = new SSocketServer;
        listening = other->Listen(port);
        delete other;
    });
    EXPECT_FALSE(listening);
}

// Requests and replies

TEST_F(SSocketServerTest, TextRequestGetsTextReply)
{
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("echo", "hello there", -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "hello there");
    EXPECT_TRUE(Server().Has("text 0 echo hello there"));
}

TEST_F(SSocketServerTest, TextRequestWithoutLengthGoesAsText)
{
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("echo", "two arguments"));
    EXPECT_STREQ(client.ReceiveString().GetText(), "two arguments");
    EXPECT_TRUE(Server().Has("text 0 echo two arguments"));
    client.Close();
    EXPECT_FALSE(client.SendMessage("echo", "closed"));
}

TEST_F(SSocketServerTest, BinaryRequestReachesOnReceiveData)
{
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    const unsigned char bytes[5] = {1, 0, 2, 0, 3};
    ASSERT_TRUE(client.SendMessage("blob", bytes, 5));
    EXPECT_TRUE(Server().WaitFor("data 0 blob 5"));
}

TEST_F(SSocketServerTest, BlockReplyArrivesWholeWithEvents)
{
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("data", "10000", -1));
    int size = 0;
    unsigned char* block = client.ReceiveBlock(&size, 5);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(size, 10000);
    EXPECT_EQ(std::vector<unsigned char>(block, block + size), PatternBytes(10000));
    std::free(block);
    EXPECT_TRUE(Server().WaitFor("end 0 10000 10000 77"));
    EXPECT_TRUE(Server().Has("start 0 10000 77"));
    EXPECT_EQ(client.events, (std::vector<std::string>{"start 10000 5", "end 10000 10000 5"}));
}

TEST_F(SSocketServerTest, SizedBlockGivesText)
{
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("data", "300", -1));
    const SString text = client.ReceiveSizedBlock(0);
    EXPECT_EQ(text.GetLength(), 299);
    EXPECT_EQ(static_cast<unsigned char>(text.GetAt(0)), 0); // byte 0 of the pattern
}

TEST_F(SSocketServerTest, FileFromOffsetArrivesInStream)
{
    const std::vector<unsigned char> bytes = PatternBytes(20000);
    TempFile file(bytes);
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("file", (file.path + "|5000").c_str(), -1));
    SMemory memory;
    ASSERT_TRUE(client.ReceiveSizedToStream(&memory, 3));
    ASSERT_EQ(memory.GetSize(), 15000);
    EXPECT_EQ(std::vector<unsigned char>(memory.GetData(), memory.GetData() + 15000),
              std::vector<unsigned char>(bytes.begin() + 5000, bytes.end()));
    EXPECT_TRUE(Server().WaitFor("end 0 15000 15000 88"));
}

TEST_F(SSocketServerTest, ReceiveFileWritesAtTheStreamPosition)
{
    const std::vector<unsigned char> bytes = PatternBytes(9000);
    TempFile file(bytes);
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    SMemory memory;
    memory.Write("head", 4);
    ASSERT_TRUE(client.SendMessage("file", (file.path + "|1000").c_str(), -1));
    ASSERT_TRUE(client.ReceiveFile(&memory, 2000));
    ASSERT_EQ(memory.GetSize(), 8004);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(memory.GetData()), 4), "head");
    EXPECT_EQ(std::vector<unsigned char>(memory.GetData() + 4, memory.GetData() + 8004),
              std::vector<unsigned char>(bytes.begin() + 1000, bytes.end()));
    EXPECT_EQ(client.events, (std::vector<std::string>{"start 8000 0", "end 8000 8000 0"}));
}

TEST_F(SSocketServerTest, LargeFileArrivesWhole)
{
    const std::vector<unsigned char> bytes = PatternBytes(3 * 1024 * 1024 + 17);
    TempFile file(bytes);
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("file", file.path.c_str(), -1));
    std::vector<unsigned char> received(bytes.size() + 64, 0xEE);
    const SString announced = client.ReceiveString();
    ASSERT_STREQ(announced.GetText(), std::to_string(bytes.size()).c_str());
    ASSERT_TRUE(client.ReceiveStream(static_cast<int>(bytes.size()), received.data(), nullptr, 0));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), received.begin()));
    EXPECT_EQ(received[bytes.size()], 0xEE);
    // The connection is still in step.
    ASSERT_TRUE(client.SendMessage("echo", "after", -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "after");
}

TEST_F(SSocketServerTest, OffsetAtEndSendsZeroAndNothingElse)
{
    TempFile file(PatternBytes(100));
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("file", (file.path + "|100").c_str(), -1));
    SMemory memory;
    EXPECT_FALSE(client.ReceiveSizedToStream(&memory, 0));
    EXPECT_EQ(memory.GetSize(), 0);
    ASSERT_TRUE(client.SendMessage("echo", "next", -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "next");
    EXPECT_FALSE(Server().Has("start 0 0 88"));
}

TEST_F(SSocketServerTest, MissingOrEmptyFileIsRefusedAtOnce)
{
    TempFile empty(std::vector<unsigned char>{});
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("file", "c:\\no\\such\\file.bin", -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "refused");
    ASSERT_TRUE(client.SendMessage("file", empty.path.c_str(), -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "refused");
    EXPECT_EQ(Server().CountStartingWith("start"), 0);
}

TEST_F(SSocketServerTest, ZeroReplyMakesSizedReceivesFail)
{
    TempFile file(PatternBytes(10));
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("file", (file.path + "|10").c_str(), -1));
    EXPECT_STREQ(client.ReceiveSizedBlock(0).GetText(), "");
    ASSERT_TRUE(client.SendMessage("file", (file.path + "|50").c_str(), -1));
    int size = -1;
    EXPECT_EQ(client.ReceiveBlock(&size, 0), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(client.IsConnected());
}

TEST_F(SSocketServerTest, SendsToUnknownClientFail)
{
    bool text = true, packet = true, data = true, fileSent = true;
    TempFile file(PatternBytes(10));
    thread->Call([&](RecordingServer& s) {
        text = s.SendText(5, "x");
        packet = s.SendPacketTo(5, "x", 1);
        data = s.SendData(5, "x", 1, 0);
        fileSent = s.SendFile(5, file.path.c_str(), 0, 0);
    });
    EXPECT_FALSE(text);
    EXPECT_FALSE(packet);
    EXPECT_FALSE(data);
    EXPECT_FALSE(fileSent);
}

// Progress and cancel

TEST_F(SSocketServerTest, ServerCancelAfterFirstPacketEndsWithEndPacket)
{
    Server().cancelAfter = 1;
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("data", "10000", -1));
    int size = 0;
    EXPECT_EQ(client.ReceiveBlock(&size, 0), nullptr);
    EXPECT_EQ(size, 10000);
    EXPECT_TRUE(Server().WaitFor("end 0 4096 10000 77"));
    EXPECT_EQ(client.events.back(), "end 4096 10000 0");
    // Still in step: the end packet closed the transfer.
    Server().cancelAfter = 0;
    ASSERT_TRUE(client.SendMessage("echo", "again", -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "again");
}

TEST_F(SSocketServerTest, ClientCancelSkipsToTheNextReply)
{
    RecordingClient client;
    client.cancelAfter = 4096;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(client.SendMessage("data", "300000", -1));
    SMemory memory;
    EXPECT_FALSE(client.ReceiveSizedToStream(&memory, 0));
    EXPECT_EQ(memory.GetSize(), 4096);
    EXPECT_TRUE(client.IsConnected());
    client.cancelAfter = 0;
    ASSERT_TRUE(client.SendMessage("echo", "in step", -1));
    EXPECT_STREQ(client.ReceiveString().GetText(), "in step");
}

// Disconnects

TEST_F(SSocketServerTest, ClientCloseRemovesItsRow)
{
    RecordingClient client;
    ASSERT_EQ(ConnectClient(client), 0);
    ASSERT_TRUE(Server().WaitFor("connected 0 127.0.0.1 16777216"));
    client.Close();
    EXPECT_EQ(client.disconnects, 1);
    client.Close();
    EXPECT_EQ(client.disconnects, 1);
    EXPECT_TRUE(Server().WaitFor("disconnected 0"));
    int count = -1;
    thread->Call([&](RecordingServer& s) { count = s.GetClientCount(); });
    EXPECT_EQ(count, 0);
}

TEST_F(SSocketServerTest, ServerCloseReachesClientsWithoutDisconnectEvents)
{
    RecordingClient a, b;
    ASSERT_EQ(ConnectClient(a), 0);
    ASSERT_EQ(ConnectClient(b), 0);
    ASSERT_TRUE(a.SendMessage("close", "", -1));
    EXPECT_TRUE(Server().WaitFor("closed"));
    EXPECT_TRUE(PumpUntil([&] { return !a.IsConnected() && !b.IsConnected(); }));
    EXPECT_EQ(a.disconnects, 1);
    EXPECT_EQ(b.disconnects, 1);
    EXPECT_EQ(Server().CountStartingWith("closed"), 1);
    EXPECT_EQ(Server().CountStartingWith("disconnected"), 0);
    bool listening = true;
    int clients = -1, peers = -1;
    thread->Call([&](RecordingServer& s) {
        listening = s.IsListening();
        clients = s.GetClientCount();
        peers = s.GetPeerCount();
    });
    EXPECT_FALSE(listening);
    EXPECT_EQ(clients, 0);
    EXPECT_EQ(peers, 0);
}

TEST_F(SSocketServerTest, ConnectWhileConnectedFails)
{
    RecordingClient client;
    client.SetAccessKey("secret");
    ASSERT_EQ(client.Connect("127.0.0.1", port, true, 9), 0);
    EXPECT_TRUE(Server().WaitFor("connected 0 127.0.0.1 9"));
    EXPECT_EQ(client.Connect("127.0.0.1", port, true, 9), -1); // already connected
}

TEST_F(SSocketServerTest, FileShortenedWhileStreamingEndsAsFailed)
{
    const int size = 40000000;
    TempFile file(PatternBytes(size));
    RecordingClient reader;
    ASSERT_EQ(ConnectClient(reader), 0);
    ASSERT_TRUE(reader.SendMessage("file", (file.path + "|0").c_str(), -1));
    ASSERT_STREQ(reader.ReceiveString().GetText(), "40000000");
    // The sender is held by the reader that waits; the file is cut under it.
    Sleep(300);
    SHandleGuard cutter(CreateFileA(file.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(cutter.IsValid());
    SetFilePointer(cutter.Get(), 1000000, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(cutter.Get()));
    cutter.Reset();
    SMemory got;
    EXPECT_FALSE(reader.ReceiveStream(size, nullptr, &got, 0, 10000));
    EXPECT_LT(got.GetSize(), size);
    EXPECT_TRUE(PumpUntil([&] { return Server().CountStartingWith("end 0 ") == 1; }, 10000));
    EXPECT_FALSE(Server().Has("end 0 40000000 40000000 88"));
    // Still in step for the next request.
    ASSERT_TRUE(reader.SendMessage("echo", "after", -1));
    EXPECT_STREQ(reader.ReceiveString().GetText(), "after");
}
