#include "HostilePeerSupport.h"
#include "SocketServerHarness.h"
#include <gtest/gtest.h>
#include <atomic>
#include <memory>
#include <thread>

namespace
{
class HostilePeerTest : public ::testing::Test
{
protected:
    SocketSession session;
    int port = 0;
    std::unique_ptr<ServerThread> thread;
    RecordingClient good;

    void SetUp() override
    {
        thread = StartServerThread("secret", &port);
        ASSERT_TRUE(thread != nullptr);
        good.SetAccessKey("secret");
        ASSERT_EQ(good.Connect("127.0.0.1", port, false, 1), 0);
        ASSERT_TRUE(Server().WaitFor("connected 0 127.0.0.1 1"));
    }
    void TearDown() override
    {
        good.Close();
        thread.reset();
    }
    RecordingServer& Server() { return *thread->Server(); }

    // The well-behaved client is still served.
    void ExpectGoodClientServed(const char* text = "still here")
    {
        ASSERT_TRUE(good.SendMessage("echo", text, -1));
        EXPECT_STREQ(good.ReceiveString().GetText(), text);
    }

    // A raw connection that completes the handshake correctly.
    SOCKET Handshake()
    {
        SOCKET s = RawHandshake(port, "secret");
        EXPECT_NE(s, INVALID_SOCKET);
        return s;
    }
};
} // namespace

TEST_F(HostilePeerTest, HelloSplitWithPausesIsAccepted)
{
    SSocketGuard raw(ConnectLoopback(port));
    ASSERT_EQ(ReceiveRaw(raw.Get(), 1).size(), 1u);
    unsigned char hello[kSocketHelloSize];
    BuildHello(hello, 5, CodeOf("secret"));
    for (unsigned char byte : hello)
    {
        SendRaw(raw.Get(), {byte});
        Sleep(30);
    }
    EXPECT_EQ(ReceiveRaw(raw.Get(), 2), Bytes({0, 0}));
    EXPECT_TRUE(Server().WaitFor("connected 1 127.0.0.1 5"));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, SilentConnectionsNeitherBlockOthersNorStay)
{
    std::vector<std::unique_ptr<SSocketGuard>> silent;
    for (int i = 0; i < 20; i++)
        silent.emplace_back(new SSocketGuard(ConnectLoopback(port)));
    RecordingClient late;
    late.SetAccessKey("secret");
    EXPECT_EQ(late.Connect("127.0.0.1", port, false, 3), 0);
    ExpectGoodClientServed();
    // Each is closed once its hello is overdue.
    for (auto& s : silent)
        EXPECT_TRUE(WaitPeerClosed(s->Get(), 6000));
    EXPECT_EQ(Server().CountStartingWith("accept"), 2);
}

TEST_F(HostilePeerTest, NonProtocolBytesGetWrongVersion)
{
    SSocketGuard raw(ConnectLoopback(port));
    ASSERT_EQ(ReceiveRaw(raw.Get(), 1).size(), 1u);
    const std::string get = "GET / HTTP/1.0\r\n\r\n";
    SendRaw(raw.Get(), std::vector<unsigned char>(get.begin(), get.end()));
    EXPECT_EQ(ReceiveRaw(raw.Get(), 2), Bytes({1, 0}));
    EXPECT_TRUE(WaitPeerClosed(raw.Get()));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, RequestHeaderSplitWithPausesIsServed)
{
    SSocketGuard raw(Handshake());
    const std::vector<unsigned char> request = Request("echo", "slow");
    for (size_t i = 0; i < request.size(); i += 3)
    {
        SendRaw(raw.Get(), std::vector<unsigned char>(request.begin() + i,
                                                      request.begin() + std::min(i + 3, request.size())));
        Sleep(30);
    }
    EXPECT_EQ(ReadStringPacket(raw.Get()), "slow");
    ExpectGoodClientServed();
}

// Requests sent together are read with one call; each is still answered in
// turn, also when one ends in the middle of a later send or is too large for
// the read-ahead.
TEST_F(HostilePeerTest, RequestsSentTogetherOrInPiecesAreEachAnsweredInOrder)
{
    SSocketGuard raw(Handshake());
    std::vector<unsigned char> blob = Concat(Header(5000, 5, 0), Bytes({'b', 'l', 'o', 'b', 0}));
    blob.resize(5000, 4);
    const std::vector<unsigned char> third = Request("echo", "c");
    SendRaw(raw.Get(), Concat(Concat(Request("echo", "a"), Request("echo", "b")),
                              std::vector<unsigned char>(third.begin(), third.begin() + 7)));
    Sleep(50);
    SendRaw(raw.Get(), Concat(Concat(std::vector<unsigned char>(third.begin() + 7, third.end()), blob),
                              Request("echo", "d")));
    for (const char* expected : {"a", "b", "c", "d"})
        EXPECT_EQ(ReadStringPacket(raw.Get()), expected);
    EXPECT_TRUE(Server().Has("data 1 blob 4980"));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, TotalBelowHeaderDropsTheClient)
{
    SSocketGuard raw(Handshake());
    SendRaw(raw.Get(), Header(14, 1, 1));
    EXPECT_TRUE(WaitPeerClosed(raw.Get()));
    EXPECT_TRUE(Server().WaitFor("disconnected 1"));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, HugeTotalDropsTheClientUnread)
{
    SSocketGuard raw(Handshake());
    SendRaw(raw.Get(), Header(0x7FFFFFFF, 4, 0));
    EXPECT_TRUE(WaitPeerClosed(raw.Get()));
    EXPECT_TRUE(Server().WaitFor("disconnected 1"));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, BadMagicDropsTheClient)
{
    SSocketGuard raw(Handshake());
    std::vector<unsigned char> request = Request("echo", "x");
    request[3] = 0;
    SendRaw(raw.Get(), request);
    EXPECT_TRUE(WaitPeerClosed(raw.Get()));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, LyingTotalWaitsWithoutBlockingOthers)
{
    SSocketGuard raw(Handshake());
    std::vector<unsigned char> bytes = Header(1000, 5, 1);
    bytes.resize(100, 'a');
    SendRaw(raw.Get(), bytes);
    ExpectGoodClientServed();
    raw.Reset();
    EXPECT_TRUE(Server().WaitFor("disconnected 1"));
    ExpectGoodClientServed("after");
}

TEST_F(HostilePeerTest, MessageWithoutNulsIsIgnoredButTheConnectionStays)
{
    SSocketGuard raw(Handshake());
    std::vector<unsigned char> bad = Concat(Header(20, 5, 1), Bytes({'e', 'c', 'h', 'o', 'X'}));
    SendRaw(raw.Get(), bad);
    std::vector<unsigned char> unterminatedText = Concat(Header(21, 5, 1), Bytes({'e', 'c', 'h', 'o', 0, 'Y'}));
    SendRaw(raw.Get(), unterminatedText);
    SendRaw(raw.Get(), Request("echo", "valid"));
    EXPECT_EQ(ReadStringPacket(raw.Get()), "valid");
    EXPECT_FALSE(Server().Has("text 1 echo X"));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, CloseInMidTransferDropsOnlyThatClient)
{
    SSocketGuard raw(Handshake());
    SendRaw(raw.Get(), Request("data", "40000000"));
    EXPECT_EQ(ReadStringPacket(raw.Get()), "40000000");
    ReceiveRaw(raw.Get(), 10000);
    raw.Reset();
    EXPECT_TRUE(Server().WaitFor("disconnected 1", 8000));
    EXPECT_EQ(Server().CountStartingWith("end 1 "), 1);
    EXPECT_FALSE(Server().Has("end 1 40000000 40000000 77"));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, ReaderThatStallsIsDroppedAfterTheTimeOut)
{
    SSocketGuard raw(Handshake());
    SendRaw(raw.Get(), Request("data", "40000000"));
    EXPECT_TRUE(Server().WaitFor("disconnected 1", 10000));
    EXPECT_FALSE(Server().Has("end 1 40000000 40000000 77"));
    // Progress was told only for packets that reached the wire.
    EXPECT_EQ(ReadStringPacket(raw.Get()), "40000000");
    int payload = 0;
    for (;;)
    {
        const std::vector<unsigned char> header = ReceiveRaw(raw.Get(), 8, 500);
        const int n = header.size() == 8 ? header[0] | (header[1] << 8) : 0;
        if (n == 0 || static_cast<int>(ReceiveRaw(raw.Get(), n, 500).size()) < n)
            break;
        payload += n;
    }
    EXPECT_LE(Server().maxProgress.load(), payload);
    EXPECT_GT(Server().maxProgress.load(), 0);
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, AbruptCloseDuringHandshakeLeavesNoRow)
{
    for (int i = 0; i < 5; i++)
    {
        SSocketGuard raw(ConnectLoopback(port));
        ReceiveRaw(raw.Get(), 1);
        SendRaw(raw.Get(), Bytes({1, 0, 0}));
    }
    ExpectGoodClientServed();
    int count = -1;
    thread->Call([&](RecordingServer& s) { count = s.GetClientCount(); });
    EXPECT_EQ(count, 1);
}

namespace
{
// True when the peer has closed (probed without waiting).
bool IsClosedNow(SOCKET s)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval none = {0, 0};
    char byte;
    return select(0, &set, nullptr, nullptr, &none) == 1 && recv(s, &byte, 1, MSG_PEEK) <= 0;
}

bool FailLargeAllocations(size_t size)
{
    return size < 100000;
}
} // namespace

TEST_F(HostilePeerTest, AllocationFailureEndsOnlyThatPeer)
{
    SSocketGuard raw(Handshake());
    SetSocketAllocationHook(FailLargeAllocations);
    SendRaw(raw.Get(), Header(500000, 5, 0));
    const bool closed = WaitPeerClosed(raw.Get());
    SetSocketAllocationHook(nullptr);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(Server().WaitFor("disconnected 1"));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, UnfinishedBytesAcrossPeersAreBounded)
{
    const int fit = (SSocketServer::MAX_HELD_BYTES - SSocketServer::MAX_CLIENTS * SSocketServer::SHORT_MESSAGE) /
                    kSocketMessageMaxSize;
    std::vector<std::unique_ptr<SSocketGuard>> peers;
    for (int i = 0; i < fit + 5; i++)
    {
        peers.emplace_back(new SSocketGuard(Handshake()));
        SendRaw(peers.back()->Get(), Concat(Header(kSocketMessageMaxSize, 4, 0), Bytes({'b', 'i', 'g', 0, 1, 2})));
    }
    ExpectGoodClientServed();
    // The headers past the budget wait until holders have stood still for a
    // while; then a stalled holder is closed for each: 5 in all.
    int closed = 0;
    ASSERT_TRUE(PumpUntil([&] {
        closed = 0;
        for (auto& peer : peers)
            closed += IsClosedNow(peer->Get()) ? 1 : 0;
        return closed >= 5;
    }));
    EXPECT_EQ(closed, 5);
    // Room comes back when a holder goes.
    for (auto& peer : peers)
        if (!IsClosedNow(peer->Get()))
        {
            peer.reset();
            break;
        }
    SSocketGuard late(Handshake());
    std::vector<unsigned char> whole = Concat(Header(kSocketMessageMaxSize, 4, 0), Bytes({'b', 'i', 'g', 0}));
    whole.resize(kSocketMessageMaxSize, 7);
    SendRaw(late.Get(), whole);
    EXPECT_TRUE(Server().WaitFor("data " + std::to_string(fit + 6) + " big " + std::to_string(kSocketMessageMaxSize - 19)));
    ExpectGoodClientServed();
}

// Holders that fill the byte budget and add a byte now and then never stand
// still for STALL_TIME: a large message of the good client is taken in all
// the same, in place of a holder that had not moved since it came (and for
// STILL_TIME), long before the holders' deadline would free their room.
TEST_F(HostilePeerTest, LargeMessageIsTakenInAtOnceWhileMovingHoldersFillTheBudget)
{
    const int fit = (SSocketServer::MAX_HELD_BYTES - SSocketServer::MAX_CLIENTS * SSocketServer::SHORT_MESSAGE) /
                    kSocketMessageMaxSize;
    std::vector<std::unique_ptr<SSocketGuard>> holders;
    for (int i = 0; i < fit; i++)
    {
        holders.emplace_back(new SSocketGuard(Handshake()));
        SendRaw(holders.back()->Get(), Concat(Header(kSocketMessageMaxSize, 4, 0), Bytes({'b', 'i', 'g', 0})));
    }
    std::atomic<bool> trickling{true};
    std::thread trickle([&] {
        while (trickling)
        {
            for (auto& holder : holders)
                SendRaw(holder->Get(), Bytes({1}));
            Sleep((SSocketServer::STILL_TIME + SSocketServer::STALL_TIME) / 2);
        }
    });
    Sleep(500);
    const std::vector<unsigned char> large(200000, 9);
    ASSERT_TRUE(good.SendMessage("blob", large.data(), static_cast<int>(large.size())));
    ASSERT_TRUE(good.SendMessage("echo", "after the blob", -1));
    EXPECT_STREQ(good.ReceiveString(SSocketServer::MESSAGE_DEADLINE / 2).GetText(), "after the blob");
    trickling = false;
    trickle.join();
    EXPECT_TRUE(Server().Has("data 0 blob 200000"));
}

// A message that arrives at full speed pauses between reads: it is not taken
// for a still holder when a newcomer needs its room, while squatters are.
TEST_F(HostilePeerTest, MessageArrivingAtSpeedIsNotClosedForANewcomer)
{
    const int fit = (SSocketServer::MAX_HELD_BYTES - SSocketServer::MAX_CLIENTS * SSocketServer::SHORT_MESSAGE) /
                    kSocketMessageMaxSize;
    std::vector<std::unique_ptr<SSocketGuard>> holders;
    for (int i = 0; i < fit - 1; i++)
    {
        holders.emplace_back(new SSocketGuard(Handshake()));
        SendRaw(holders.back()->Get(), Concat(Header(kSocketMessageMaxSize - 1024, 4, 0), Bytes({'b', 'i', 'g', 0})));
    }
    ExpectGoodClientServed();
    Sleep(SSocketServer::STILL_TIME);
    SSocketGuard mover(Handshake()), newcomer(Handshake());
    std::vector<unsigned char> message = Concat(Header(kSocketMessageMaxSize, 5, 0), Bytes({'b', 'l', 'o', 'b', 0}));
    message.resize(kSocketMessageMaxSize, 3);
    const size_t piece = 64 * 1024;
    for (size_t at = 0; at < message.size(); at += piece)
    {
        SendRaw(mover.Get(), std::vector<unsigned char>(message.begin() + at,
                                                        message.begin() + std::min(at + piece, message.size())));
        Sleep(10);
        if (at == 4 * piece)
            SendRaw(newcomer.Get(), Header(kSocketMessageMaxSize, 4, 0));
        Sleep(10);
    }
    EXPECT_TRUE(Server().WaitFor("data " + std::to_string(fit) + " blob " + std::to_string(kSocketMessageMaxSize - 20)));
    EXPECT_FALSE(IsClosedNow(mover.Get()));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, PeerBeyondTheClientBoundIsClosed)
{
    std::vector<std::unique_ptr<SSocketGuard>> peers;
    for (int i = 1; i < SSocketServer::MAX_CLIENTS; i++)
        peers.emplace_back(new SSocketGuard(Handshake()));
    SSocketGuard extra(ConnectLoopback(port));
    EXPECT_TRUE(WaitPeerClosed(extra.Get()));
    ExpectGoodClientServed();
    peers.pop_back();
    ASSERT_TRUE(Server().WaitFor("disconnected " + std::to_string(SSocketServer::MAX_CLIENTS - 1)));
    SSocketGuard again(Handshake());
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, PeerThatNeverReadsIsClosedAtItsFirstTimeOut)
{
    SSocketGuard raw(Handshake());
    const std::vector<unsigned char> request = Request("echo", std::string(4000, 'n'));
    std::vector<unsigned char> run;
    for (int i = 0; i < 64; i++)
        run.insert(run.end(), request.begin(), request.end());
    // Until the server stops taking requests: it has closed the peer.
    for (int sent = 0; sent < 16384 && SendRaw(raw.Get(), run); sent += 64)
    {
    }
    EXPECT_TRUE(Server().WaitFor("disconnected 1", 10000));
    ExpectGoodClientServed();
}

TEST_F(HostilePeerTest, StopDuringTransferToSlowReaderEndsItCleanly)
{
    SSocketGuard raw(Handshake());
    SendRaw(raw.Get(), Request("data", "40000000"));
    ASSERT_EQ(ReadStringPacket(raw.Get()), "40000000");
    // A reader that keeps the transfer moving, too slowly to finish within
    // the bound of a stop (about 1 MB/s for 40 MB).
    std::atomic<bool> reading{true};
    std::atomic<long long> got{0};
    std::thread trickle([&] {
        while (reading)
        {
            got += static_cast<long long>(ReceiveRaw(raw.Get(), 65536, 100).size());
            Sleep(50);
        }
    });
    Sleep(500);
    const HWND worker = thread->GetWorkerWindow();
    ASSERT_GE(SWnd::FindHandleIndex(worker), 0);
    EXPECT_TRUE(thread->Stop());
    reading = false;
    trickle.join();
    EXPECT_EQ(thread->loopEnds, 1);
    EXPECT_LT(SWnd::FindHandleIndex(worker), 0);
    EXPECT_TRUE(WaitPeerClosed(raw.Get()));
    EXPECT_LT(got.load(), 40000000);
    // The port is free at once.
    ServerThread again(port, "secret");
    ASSERT_TRUE(again.Begin());
    RecordingClient later;
    later.SetAccessKey("secret");
    ASSERT_EQ(later.Connect("127.0.0.1", port, false, 1), 0);
    ASSERT_TRUE(later.SendMessage("echo", "back", -1));
    EXPECT_STREQ(later.ReceiveString().GetText(), "back");
}
