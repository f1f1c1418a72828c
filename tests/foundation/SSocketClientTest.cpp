#include "SocketServerHarness.h"
#include "SFile.h"
#include "SMemory.h"
#include "SSocketTransport.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace
{
const std::vector<unsigned char> kEndPacket = Bytes({0, 0, 0x4B, 0x4C, 0x56, 0xA9, 0x30, 0x31});

std::vector<unsigned char> FramedText(const std::string& name, const std::string& text)
{
    const int total = static_cast<int>(15 + name.size() + 1 + text.size() + 1);
    const int nameLength = static_cast<int>(name.size() + 1);
    std::vector<unsigned char> bytes = Bytes({0x4B, 0x4C, 0x56, 0xA9, 0x30, 0x31, total & 0xFF, (total >> 8) & 0xFF,
                                              0, 0, nameLength, 0, 0, 0, 1});
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

// A scripted server on a raw socket: greets, reads the hello, answers with the
// verdict, then runs the script on the connection and waits for the client to
// go away.
class FakeServer
{
public:
    typedef std::function<void(SOCKET)> Script;

    explicit FakeServer(Script script, std::vector<unsigned char> verdict = Bytes({0, 0}), int greeting = 0x7F)
    {
        listener.Reset(ListenLoopback(&port));
        worker = std::thread([this, script, verdict, greeting] {
            SSocketGuard connection(accept(listener.Get(), nullptr, nullptr));
            if (connection.Get() == INVALID_SOCKET)
                return;
            if (greeting >= 0)
                SendRaw(connection.Get(), Bytes({greeting}));
            hello = ReceiveRaw(connection.Get(), 10);
            if (!verdict.empty())
                SendRaw(connection.Get(), verdict);
            if (script)
                script(connection.Get());
            WaitPeerClosed(connection.Get(), 6000);
        });
    }
    ~FakeServer() { Finish(); }
    void Finish()
    {
        if (worker.joinable())
            worker.join();
    }

    int port = 0;
    std::vector<unsigned char> hello;

private:
    SSocketGuard listener;
    std::thread worker;
};

class SSocketClientTest : public ::testing::Test
{
protected:
    SocketSession session;

    int Connect(RecordingClient& client, FakeServer& server, bool readEvents = false)
    {
        return client.Connect("127.0.0.1", server.port, readEvents, 0x01000000);
    }
};
} // namespace

// Connect

TEST_F(SSocketClientTest, HelloForAbcHasExactBytes)
{
    FakeServer server(nullptr);
    RecordingClient client;
    client.SetAccessKey("abc");
    ASSERT_EQ(Connect(client, server), 0);
    client.Close();
    server.Finish();
    EXPECT_EQ(server.hello, Bytes({0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0xC2, 0x41, 0x24, 0x35}));
}

TEST_F(SSocketClientTest, EmptyPasswordSendsCodeZero)
{
    FakeServer server(nullptr);
    RecordingClient client;
    client.SetAccessKey("");
    ASSERT_EQ(Connect(client, server), 0);
    client.Close();
    server.Finish();
    EXPECT_EQ(server.hello, Bytes({0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0, 0, 0, 0}));
}

TEST_F(SSocketClientTest, CopiedKeyGivesTheSameCode)
{
    RecordingClient original, copy;
    original.SetAccessKey("abc");
    copy.CopyAccessKey(&original);
    EXPECT_EQ(copy.GetAccessKey().GetSize(), 3);
    FakeServer server(nullptr);
    ASSERT_EQ(Connect(copy, server), 0);
    copy.Close();
    server.Finish();
    EXPECT_EQ(LoadU32(server.hello.data() + 6), 0x352441C2u);
    RecordingClient empty;
    copy.CopyAccessKey(&empty);
    EXPECT_EQ(copy.GetAccessKey().GetSize(), 0);
}

TEST_F(SSocketClientTest, RefusalCodeIsReturnedAndSocketClosed)
{
    FakeServer server(nullptr, Bytes({0, 9}));
    RecordingClient client;
    EXPECT_EQ(Connect(client, server), 9);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_STREQ(client.GetHost().GetText(), "");
    EXPECT_EQ(client.disconnects, 0);
}

TEST_F(SSocketClientTest, NonZeroFirstVerdictByteFails)
{
    FakeServer server(nullptr, Bytes({2, 0}));
    RecordingClient client;
    EXPECT_EQ(Connect(client, server), -1);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SSocketClientTest, StallAfterOneVerdictByteTimesOut)
{
    FakeServer server(nullptr, Bytes({0}));
    RecordingClient client;
    EXPECT_EQ(Connect(client, server), -1);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SSocketClientTest, SilentServerTimesOut)
{
    FakeServer server(nullptr, {}, -1);
    RecordingClient client;
    EXPECT_EQ(Connect(client, server), -1);
}

TEST_F(SSocketClientTest, ConnectFailsWithoutHostOrListener)
{
    RecordingClient client;
    EXPECT_EQ(client.Connect(nullptr, 12465, false, 0), -1);
    EXPECT_EQ(client.Connect("", 12465, false, 0), -1);
    EXPECT_EQ(client.Connect("127.0.0.1", FindFreePort(), false, 0), -1);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SSocketClientTest, CloseWithoutConnectionRaisesNothing)
{
    RecordingClient client;
    client.Close();
    client.Disconnect();
    EXPECT_EQ(client.disconnects, 0);
    EXPECT_FALSE(client.SendMessage("100", "", -1));
}

// Receiving

TEST_F(SSocketClientTest, StringPacketSplitWithPausesIsJoined)
{
    FakeServer server([](SOCKET s) {
        const std::vector<unsigned char> packet = StringPacket("Ok");
        for (unsigned char byte : packet)
        {
            SendRaw(s, {byte});
            Sleep(20);
        }
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    EXPECT_STREQ(client.ReceiveString().GetText(), "Ok");
    EXPECT_TRUE(client.IsConnected());
}

// Held requests leave together, as the same bytes, and at the latest before
// the client reads the reply they ask for.
TEST_F(SSocketClientTest, HeldRequestsGoTogetherBeforeTheirReplyIsRead)
{
    const std::vector<unsigned char> both = Concat(FramedText("105", "A\\a.mp3"), FramedText("106", "A\\b.mp3|0"));
    std::vector<unsigned char> arrived;
    FakeServer server([&](SOCKET s) {
        arrived = ReceiveRaw(s, both.size());
        SendRaw(s, StringPacket("12"));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    client.HoldRequests();
    ASSERT_TRUE(client.SendMessage("105", "A\\a.mp3"));
    ASSERT_TRUE(client.SendMessage("106", "A\\b.mp3|0"));
    Sleep(100);
    EXPECT_STREQ(client.ReceiveString().GetText(), "12");
    client.Close();
    server.Finish();
    EXPECT_EQ(arrived, both);
}

TEST_F(SSocketClientTest, RepliesThatCameTogetherAreEachReadWhole)
{
    // A size, "Ok", a file, the next size and a block, as one send.
    const std::vector<unsigned char> file = PatternBytes(5000);
    FakeServer server([&file](SOCKET s) {
        std::vector<unsigned char> replies = Concat(StringPacket("5000"), StringPacket("Ok"));
        replies = Concat(replies, StringPacket("5000"));
        replies = Concat(replies, Packet(std::vector<unsigned char>(file.begin(), file.begin() + 4096)));
        replies = Concat(replies, Packet(std::vector<unsigned char>(file.begin() + 4096, file.end())));
        replies = Concat(Concat(replies, kEndPacket), StringPacket("12"));
        SendRaw(s, Concat(Concat(Concat(replies, StringPacket("3")), Packet(Bytes({7, 8, 9}))), kEndPacket));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    Sleep(100); // all of it waits before the first read
    EXPECT_STREQ(client.ReceiveString().GetText(), "5000");
    EXPECT_STREQ(client.ReceiveString().GetText(), "Ok");
    SMemory memory;
    EXPECT_TRUE(client.ReceiveFile64(&memory));
    EXPECT_EQ(std::vector<unsigned char>(memory.GetData(), memory.GetData() + memory.GetSize()), file);
    long long received = 0, size = 0;
    client.GetTransferCounts(&received, &size);
    EXPECT_EQ(received, 5000);
    EXPECT_EQ(size, 5000);
    EXPECT_EQ(client.events, (std::vector<std::string>{"start 5000 0", "end 5000 5000 0"}));
    EXPECT_STREQ(client.ReceiveString().GetText(), "12");
    int blockSize = 0;
    unsigned char* block = client.ReceiveBlock(&blockSize, 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(block, block + blockSize), Bytes({7, 8, 9}));
    std::free(block);
    EXPECT_TRUE(client.IsConnected());
    EXPECT_EQ(client.disconnects, 0);
}

TEST_F(SSocketClientTest, TimeOutWithNothingReadClosesSoTheLateReplyIsNeverTaken)
{
    FakeServer server([](SOCKET s) {
        Sleep(300);
        SendRaw(s, StringPacket("late"));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    EXPECT_STREQ(client.ReceiveString(50).GetText(), "");
    EXPECT_FALSE(client.IsConnected());
    EXPECT_STREQ(client.ReceiveString().GetText(), "");
}

// Kept open, a late reply is read on where it stopped, even within a packet:
// the status, then a transfer cut in its second packet, then the next reply.
// Bytes that break the framing close it all the same.
TEST_F(SSocketClientTest, ALateReplyKeptOpenIsReadOnWhereItStopped)
{
    FakeServer server([](SOCKET s) {
        Sleep(150);
        const std::vector<unsigned char> second = Packet(std::vector<unsigned char>(4096, 2));
        SendRaw(s, Concat(Concat(StringPacket("1"), StringPacket("12288")), Packet(std::vector<unsigned char>(4096, 1))));
        SendRaw(s, std::vector<unsigned char>(second.begin(), second.begin() + 100));
        Sleep(300);
        SendRaw(s, std::vector<unsigned char>(second.begin() + 100, second.end()));
        SendRaw(s, Concat(Concat(Packet(std::vector<unsigned char>(4096, 3)), kEndPacket), StringPacket("next")));
        Sleep(100);
        SendRaw(s, Bytes({8, 0, 'n', 'o', 'p', 'e', 0, 0}));
    });
    RecordingClient client;
    client.SetKeepsLateReplies(true);
    ASSERT_EQ(Connect(client, server), 0);
    EXPECT_STREQ(client.ReceiveString(50).GetText(), "");
    EXPECT_TRUE(client.IsReplyLate());
    EXPECT_STREQ(client.ReceiveString(1000).GetText(), "1");
    int size = 0;
    EXPECT_EQ(nullptr, client.ReceiveBlock(&size, 0, 100));
    EXPECT_TRUE(client.IsReplyLate() && client.OwesTransfer() && client.IsConnected());
    EXPECT_STREQ(client.ReceiveString(1000).GetText(), "next");
    EXPECT_FALSE(client.IsReplyLate() || client.OwesTransfer());
    EXPECT_STREQ(client.ReceiveString(1000).GetText(), "");
    EXPECT_FALSE(client.IsReplyLate() || client.IsConnected());
    EXPECT_EQ(client.disconnects, 1);
}

TEST_F(SSocketClientTest, RefusedTransferIsReadPastForAsLongAsItMoves)
{
    // Each packet comes within the time-out, the whole rest takes far longer.
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(StringPacket("40960"), Packet(std::vector<unsigned char>(4096, 1))));
        for (int i = 1; i < 10; ++i, Sleep(60))
            SendRaw(s, Packet(std::vector<unsigned char>(4096, 2)));
        SendRaw(s, Concat(kEndPacket, StringPacket("next")));
    });
    RecordingClient client;
    client.cancelAfter = 1;
    ASSERT_EQ(Connect(client, server), 0);
    SMemory memory;
    EXPECT_FALSE(client.ReceiveSizedToStream(&memory, 0, 200));
    EXPECT_TRUE(client.IsConnected());
    EXPECT_STREQ(client.ReceiveString().GetText(), "next");
}

TEST_F(SSocketClientTest, ReceiveStreamNeverWritesPastTheAnnouncedSize)
{
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(Concat(StringPacket("10"), Packet(std::vector<unsigned char>(20, 0x41))), kEndPacket));
        SendRaw(s, StringPacket("next"));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    ASSERT_STREQ(client.ReceiveString().GetText(), "10");
    std::vector<unsigned char> buffer(64, 0xEE);
    EXPECT_FALSE(client.ReceiveStream(10, buffer.data(), nullptr, 0));
    EXPECT_EQ(buffer, std::vector<unsigned char>(64, 0xEE));
    // The rest of the transfer was skipped: the next reply reads correctly.
    EXPECT_TRUE(client.IsConnected());
    EXPECT_STREQ(client.ReceiveString().GetText(), "next");
}

TEST_F(SSocketClientTest, ExtraPacketAfterAnnouncedSizeFailsTheTransfer)
{
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(StringPacket("4"), Packet(Bytes({1, 2, 3, 4}))));
        SendRaw(s, Concat(Packet(Bytes({5})), kEndPacket));
        SendRaw(s, StringPacket("next"));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    int size = 0;
    EXPECT_EQ(client.ReceiveBlock(&size, 0), nullptr);
    EXPECT_EQ(size, 4);
    EXPECT_STREQ(client.ReceiveString().GetText(), "next");
}

TEST_F(SSocketClientTest, BlockAboveTheCapIsRefusedUnread)
{
    FakeServer server([](SOCKET s) { SendRaw(s, Concat(StringPacket("2000000000"), Packet(Bytes({1})))); });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    int size = 0;
    EXPECT_EQ(client.ReceiveBlock(&size, 0, 200), nullptr);
    EXPECT_EQ(size, 2000000000);
    // It could not be skipped in time, so the connection is gone.
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.disconnects, 1);
}

TEST_F(SSocketClientTest, BlockKeepsTheAnnouncedSizeBelowOne)
{
    FakeServer server([](SOCKET s) { SendRaw(s, Concat(StringPacket("-5"), StringPacket("0"))); });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    for (int expected : {-5, 0})
    {
        int size = 99;
        EXPECT_EQ(client.ReceiveBlock(&size, 0), nullptr);
        EXPECT_EQ(size, expected);
    }
}

TEST_F(SSocketClientTest, SizeBeyondIntegerRangeClosesTheConnection)
{
    FakeServer server([](SOCKET s) { SendRaw(s, StringPacket("99999999999")); });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    EXPECT_STREQ(client.ReceiveSizedBlock(0).GetText(), "");
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SSocketClientTest, NonNumericSizeFailsWithoutReading)
{
    FakeServer server([](SOCKET s) { SendRaw(s, Concat(StringPacket("Ok"), StringPacket("next"))); });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    SMemory memory;
    EXPECT_FALSE(client.ReceiveSizedToStream(&memory, 0));
    EXPECT_STREQ(client.ReceiveString().GetText(), "next");
}

TEST_F(SSocketClientTest, WrongMagicInTransferClosesTheConnection)
{
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(StringPacket("8192"), Packet(std::vector<unsigned char>(4096, 1))));
        SendRaw(s, Bytes({0, 0x10, 'X', 'X', 'X', 'X', 'X', 'X'}));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    SMemory memory;
    EXPECT_FALSE(client.ReceiveSizedToStream(&memory, 0));
    EXPECT_EQ(memory.GetSize(), 4096);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.disconnects, 1);
    EXPECT_EQ(client.events.back(), "end 4096 8192 0");
}

TEST_F(SSocketClientTest, ServerClosingInMidTransferFails)
{
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(StringPacket("10000"), Packet(std::vector<unsigned char>(4096, 1))));
        shutdown(s, SD_BOTH);
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    int size = 0;
    EXPECT_EQ(client.ReceiveBlock(&size, 0), nullptr);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SSocketClientTest, CancelSkipsToTheEndPacketThatComesLate)
{
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(StringPacket("8192"), Packet(std::vector<unsigned char>(4096, 1))));
        Sleep(200);
        SendRaw(s, Concat(Concat(Packet(std::vector<unsigned char>(4096, 2)), kEndPacket), StringPacket("next")));
    });
    RecordingClient client;
    client.cancelAfter = 1;
    ASSERT_EQ(Connect(client, server), 0);
    SMemory memory;
    EXPECT_FALSE(client.ReceiveSizedToStream(&memory, 0));
    EXPECT_EQ(memory.GetSize(), 4096);
    EXPECT_TRUE(client.IsConnected());
    EXPECT_STREQ(client.ReceiveString().GetText(), "next");
}

TEST_F(SSocketClientTest, CancelThatCannotSkipInTimeCloses)
{
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(StringPacket("8192"), Packet(std::vector<unsigned char>(4096, 1))));
    });
    RecordingClient client;
    client.cancelAfter = 1;
    ASSERT_EQ(Connect(client, server), 0);
    SMemory memory;
    EXPECT_FALSE(client.ReceiveSizedToStream(&memory, 0, 200));
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SSocketClientTest, SizedBlockTextIsAlwaysTerminated)
{
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(Concat(StringPacket("4"), Packet(Bytes({'a', 'b', 'c', 'd'}))), kEndPacket));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    const SString text = client.ReceiveSizedBlock(0);
    EXPECT_STREQ(text.GetText(), "abc");
    EXPECT_EQ(text.GetLength(), 3);
}

// Framed messages from the server (read events on)

TEST_F(SSocketClientTest, FramedMessagesArriveAsEvents)
{
    FakeServer server([](SOCKET s) {
        const std::vector<unsigned char> message = FramedText("note", "hi");
        SendRaw(s, std::vector<unsigned char>(message.begin(), message.begin() + 7));
        Sleep(50);
        SendRaw(s, std::vector<unsigned char>(message.begin() + 7, message.end()));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server, true), 0);
    EXPECT_TRUE(PumpUntil([&] { return !client.events.empty(); }));
    EXPECT_EQ(client.events, std::vector<std::string>{"text note hi"});
}

TEST_F(SSocketClientTest, BrokenFramedMessageClosesTheConnection)
{
    FakeServer server([](SOCKET s) {
        std::vector<unsigned char> message = FramedText("note", "hi");
        message[0] = 'Q';
        SendRaw(s, message);
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server, true), 0);
    EXPECT_TRUE(PumpUntil([&] { return !client.IsConnected(); }));
    EXPECT_EQ(client.disconnects, 1);
    EXPECT_TRUE(client.events.empty());
}

TEST_F(SSocketClientTest, ServerCloseIsSeenThroughNotification)
{
    FakeServer server([](SOCKET s) { shutdown(s, SD_BOTH); });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    EXPECT_TRUE(PumpUntil([&] { return !client.IsConnected(); }));
    EXPECT_EQ(client.disconnects, 1);
}

TEST_F(SSocketClientTest, ReceivePacketGivesLengthsAndClosesOnWrongMagic)
{
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(Concat(Packet(Bytes({7, 8, 9})), kEndPacket), Bytes({3, 0, 'K', 'L', 'V', 0xA9, '0', '9'})));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    unsigned char buffer[kSocketPacketMaxPayload];
    EXPECT_EQ(client.ReceivePacket(buffer), 3);
    EXPECT_EQ(buffer[2], 9);
    EXPECT_EQ(client.ReceivePacket(buffer), 0);
    EXPECT_EQ(client.ReceivePacket(buffer), -1);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SSocketClientTest, StreamThatRefusesWritesFailsTheTransferInStep)
{
    TempFile file(PatternBytes(10));
    FakeServer server([](SOCKET s) {
        SendRaw(s, Concat(Concat(StringPacket("5000"), Packet(std::vector<unsigned char>(4096, 1))),
                          Concat(Packet(std::vector<unsigned char>(904, 2)), kEndPacket)));
        SendRaw(s, StringPacket("next"));
    });
    RecordingClient client;
    ASSERT_EQ(Connect(client, server), 0);
    SFile readOnly;
    ASSERT_TRUE(readOnly.Open(file.path.c_str(), false, false, true));
    EXPECT_FALSE(client.ReceiveSizedToStream(&readOnly, 0));
    EXPECT_TRUE(client.IsConnected());
    EXPECT_STREQ(client.ReceiveString().GetText(), "next");
}

namespace
{
// A worker that waits for a reply that never comes, as a download thread can.
class WaitingWorker : public SThread
{
public:
    // Forced well before the scripted server gives up on its own.
    explicit WaitingWorker(int port) : port(port) { SetStopTimeout(3000); }
    ~WaitingWorker() override { Stop(); }
    bool Run() override
    {
        entered = true;
        connected = client.Connect("127.0.0.1", port, false, 1) == 0;
        waiting = true;
        reply = client.ReceiveString(60000).GetText();
        return false;
    }
    void OnLoopEnd() override { loopEnds++; }

    int port;
    RecordingClient client;
    std::atomic<bool> entered{false};
    std::atomic<bool> connected{false};
    std::atomic<bool> waiting{false};
    std::atomic<int> loopEnds{0};
    std::string reply = "unset";
};
} // namespace

TEST_F(SSocketClientTest, StopOfTheWorkerBreaksItsBlockedReceive)
{
    FakeServer server(nullptr);
    WaitingWorker worker(server.port);
    ASSERT_TRUE(worker.Start(false));
    ASSERT_TRUE(PumpUntil([&] { return worker.waiting.load(); }));
    Sleep(200);
    EXPECT_TRUE(worker.Stop());
    // It ended on its own, well before the forced end, with nothing received.
    EXPECT_EQ(worker.loopEnds, 1);
    EXPECT_TRUE(worker.connected);
    EXPECT_EQ(worker.reply, "");
}

TEST_F(SSocketClientTest, StopOfTheWorkerBreaksItsBlockedConnect)
{
    // A listener that never accepts, its queue filled: a further connect waits.
    int port = 0;
    SSocketGuard listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof(address);
    ASSERT_EQ(bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(listener.Get(), 1), 0);
    ASSERT_EQ(getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length), 0);
    port = ntohs(address.sin_port);
    std::vector<std::unique_ptr<SSocketGuard>> fillers;
    for (int i = 0; i < 8; i++)
    {
        fillers.emplace_back(new SSocketGuard(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)));
        SetSocketNonBlocking(fillers.back()->Get());
        const sockaddr_in target = LoopbackAddress(port);
        connect(fillers.back()->Get(), reinterpret_cast<const sockaddr*>(&target), sizeof(target));
    }
    WaitingWorker worker(port);
    ASSERT_TRUE(worker.Start(false));
    ASSERT_TRUE(PumpUntil([&] { return worker.entered.load(); }));
    Sleep(300);
    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(worker.loopEnds, 1);
    EXPECT_FALSE(worker.connected);
}
