// The server's per-client sender: the bytes a transfer puts on the wire, and
// the thread that is kept between a client's transfers and ends with them.
#include "HostilePeerSupport.h"
#include "SocketServerHarness.h"
#include "ThreadTestSupport.h"
#include <gtest/gtest.h>
#include <tlhelp32.h>
#include <memory>

namespace
{
int CountOwnThreads()
{
    SHandleGuard snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int n = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        n += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    return n;
}

// Wine starts the thread pool's threads at the first registered wait, and
// ends them after seconds of idleness: one that starts or ends during a test
// would be taken for a sender. A wait that fires makes them now.
void CALLBACK SetEventOnFire(void* event, BOOLEAN)
{
    SetEvent(static_cast<HANDLE>(event));
}

void WarmThreadPool()
{
    SHandleGuard fired(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    SHandleGuard done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE wait = nullptr;
    if (RegisterWaitForSingleObject(&wait, fired.Get(), SetEventOnFire, done.Get(), INFINITE, WT_EXECUTEONLYONCE))
    {
        WaitForSingleObject(done.Get(), 5000);
        UnregisterWaitEx(wait, INVALID_HANDLE_VALUE);
    }
}

class SSocketSenderTest : public ::testing::Test
{
protected:
    SocketSession session;
    int port = 0;
    std::unique_ptr<ServerThread> thread;

    void SetUp() override
    {
        WarmThreadPool();
        thread = StartServerThread("secret", &port);
        ASSERT_TRUE(thread != nullptr);
    }
    RecordingServer& Server() { return *thread->Server(); }
};
} // namespace

// Two transfers to one client, byte for byte as peers of every build read them.
TEST_F(SSocketSenderTest, TransfersPutTheSameBytesOnTheWire)
{
    SSocketGuard raw(RawHandshake(port, "secret"));
    const std::vector<unsigned char> bytes = PatternBytes(5000);
    const std::vector<unsigned char> expected =
        Concat(Concat(StringPacket("5000"), Packet(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4096))),
               Concat(Packet(std::vector<unsigned char>(bytes.begin() + 4096, bytes.end())), Packet({})));
    for (int transfer = 0; transfer < 2; transfer++)
    {
        ASSERT_TRUE(SendRaw(raw.Get(), Request("data", "5000")));
        EXPECT_EQ(ReceiveRaw(raw.Get(), expected.size()), expected) << "transfer " << transfer;
    }
    ASSERT_TRUE(SendRaw(raw.Get(), Request("echo", "after")));
    EXPECT_EQ(ReceiveRaw(raw.Get(), 14), StringPacket("after"));
}

// The sender stays after a transfer for the client's next one, and ends with
// its client, with a transfer that breaks, or with the server: no thread is
// left, and the server's stop is not held up.
TEST_F(SSocketSenderTest, SenderIsKeptBetweenTransfersAndEndsWithItsClient)
{
    enum End
    {
        CLIENT_LEAVES,
        CLIENT_LEAVES_MID_TRANSFER,
        CLIENT_STOPS_READING,
        SERVER_STOPS_MID_TRANSFER
    };
    for (End end : {CLIENT_LEAVES, CLIENT_LEAVES_MID_TRANSFER, CLIENT_STOPS_READING, SERVER_STOPS_MID_TRANSFER})
    {
        SCOPED_TRACE(end);
        if (!thread)
        {
            thread = StartServerThread("secret", &port);
            ASSERT_TRUE(thread != nullptr);
        }
        const int before = CountOwnThreads();
        SSocketGuard raw(RawHandshake(port, "secret", 5));
        ASSERT_NE(raw.Get(), INVALID_SOCKET);
        for (int transfer = 0; transfer < 2; transfer++)
        {
            ASSERT_TRUE(SendRaw(raw.Get(), Request("data", "10000")));
            // "10000", 4096 + 4096 + 1808 bytes, the end packet.
            ASSERT_EQ(ReceiveRaw(raw.Get(), 14 + 10000 + 4 * 8).size(), 10046u);
        }
        // Answered once the server's wait for the last transfer is over.
        ASSERT_TRUE(SendRaw(raw.Get(), Request("echo", "done")));
        ASSERT_EQ(ReadStringPacket(raw.Get()), "done");
        EXPECT_EQ(CountOwnThreads(), before + 1);
        if (end != CLIENT_LEAVES)
        {
            ASSERT_TRUE(SendRaw(raw.Get(), Request("data", "40000000")));
            ASSERT_EQ(ReadStringPacket(raw.Get()), "40000000");
        }
        int expected = before;
        if (end == CLIENT_LEAVES || end == CLIENT_LEAVES_MID_TRANSFER)
            raw.Reset();
        else if (end == SERVER_STOPS_MID_TRANSFER)
        {
            const DWORD start = GetTickCount();
            EXPECT_TRUE(thread->Stop());
            EXPECT_LT(GetTickCount() - start, SThread::STOP_TIMEOUT / 2);
            thread.reset();
            expected = before - 1;
        }
        EXPECT_TRUE(WaitUntil([&] { return CountOwnThreads() <= expected; }, 8000)) << CountOwnThreads();
        thread.reset();
    }
}

// With every kept sender live, a transfer that cannot be prepared (a missing
// file) ends none of them; one that runs ends the one idle longest.
TEST_F(SSocketSenderTest, RefusedTransferEndsNoOtherSender)
{
    const int before = CountOwnThreads();
    std::vector<std::unique_ptr<SSocketGuard>> peers;
    for (int i = 0; i < SSocketServer::MAX_LIVE_SENDERS; i++)
    {
        peers.emplace_back(new SSocketGuard(RawHandshake(port, "secret")));
        ASSERT_TRUE(SendRaw(peers.back()->Get(), Request("data", "10")));
        ASSERT_EQ(ReceiveRaw(peers.back()->Get(), 11 + 18 + 8).size(), 37u);
    }
    SSocketGuard late(RawHandshake(port, "secret"));
    ASSERT_TRUE(SendRaw(late.Get(), Request("file", "missing file|0")));
    ASSERT_EQ(ReadStringPacket(late.Get()), "refused");
    EXPECT_EQ(CountOwnThreads(), before + SSocketServer::MAX_LIVE_SENDERS);
    ASSERT_TRUE(SendRaw(late.Get(), Request("data", "10")));
    ASSERT_EQ(ReceiveRaw(late.Get(), 37).size(), 37u);
    EXPECT_TRUE(WaitUntil([&] { return CountOwnThreads() == before + SSocketServer::MAX_LIVE_SENDERS; }));
}

namespace
{
// A server thread that does not end within its stop bound: it is ended by
// force before it deletes its server.
class StuckServerThread : public ServerThread
{
public:
    explicit StuckServerThread(int port) : ServerThread(port, "secret") { SetStopTimeout(200); }
    void OnLoopEnd() override { Sleep(SThread::STOP_TIMEOUT); }
};
} // namespace

TEST_F(SSocketSenderTest, KeptSenderEndsWithAServerThreadEndedByForce)
{
    const int before = CountOwnThreads();
    const int stuckPort = FindFreePort();
    StuckServerThread stuck(stuckPort);
    ASSERT_TRUE(stuck.Begin());
    SSocketGuard raw(RawHandshake(stuckPort, "secret"));
    ASSERT_TRUE(SendRaw(raw.Get(), Request("data", "10")));
    ASSERT_EQ(ReceiveRaw(raw.Get(), 37).size(), 37u);
    EXPECT_EQ(CountOwnThreads(), before + 2);
    stuck.Stop();
    EXPECT_TRUE(WaitPeerClosed(raw.Get()));
    EXPECT_TRUE(WaitUntil([&] { return CountOwnThreads() <= before; }));
}
