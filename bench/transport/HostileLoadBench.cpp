// One server on its own thread serves a good client's echo requests while 400
// peers hold half of a 1 MiB message each and 50 peers ask for replies they
// never read. Prints the good client's round-trip times and the process's
// peak memory (the peers' bytes wait in the system's socket buffers, so the
// figure is the server's own holding plus the program).
#include "BenchRegistry.h"
#include "BenchServer.h"
#include "SGuards.h"
#include "SMemory.h"
#include "SSocketClient.h"
#include "SSocketServer.h"
#include "SThread.h"
#include <psapi.h>
#include <ws2tcpip.h>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
const int kHalfPeers = 400;
const int kDeafPeers = 50;
const DWORD kLongestRun = 240000;

class EchoServer : public SSocketServer
{
    void OnReceiveText(int client, const char* name, const char* text) override { SendText(client, text); }
};

typedef BenchServerThread<EchoServer> EchoThread;

uint32_t AccessCode()
{
    SMemory key;
    key.WriteText("bench");
    uint32_t code = 0;
    key.GetCrc32(&code);
    return code;
}

// A raw peer past the handshake, left non-blocking; invalid when refused.
SOCKET RawPeer(int port)
{
    SSocketGuard s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        return INVALID_SOCKET;
    unsigned char greeting = 0;
    unsigned char hello[kSocketHelloSize];
    BuildHello(hello, 2, AccessCode());
    unsigned char verdict[kSocketVerdictSize] = {1, 1};
    const int patience = 30000; // the server may be busy with the others
    if (WaitForData(s.Get(), patience) < 1 || ReceiveExact(s.Get(), &greeting, 1, patience) != 1 ||
        SendExact(s.Get(), hello, kSocketHelloSize) != kSocketHelloSize || WaitForData(s.Get(), patience) < 1 ||
        ReceiveExact(s.Get(), verdict, kSocketVerdictSize, patience) != kSocketVerdictSize || verdict[0] != 0 ||
        verdict[1] != 0)
        return INVALID_SOCKET;
    SetSocketNonBlocking(s.Get());
    return s.Release();
}

std::vector<unsigned char> Message(const char* name, uint32_t total, bool text)
{
    std::vector<unsigned char> bytes(total, 'e');
    const uint32_t nameLength = static_cast<uint32_t>(std::strlen(name) + 1);
    BuildMessageHeader(bytes.data(), total, nameLength, text);
    std::memcpy(bytes.data() + kSocketMessageHeaderSize, name, nameLength);
    bytes.back() = 0;
    return bytes;
}

// A peer with bytes still to push; it stops when the server closes it.
struct Peer
{
    SSocketGuard socket;
    const std::vector<unsigned char>* bytes = nullptr; // what it pushes (repeated when `again`)
    size_t done = 0;
    size_t limit = 0;
    bool again = false;
    bool closed = false;

    void Push()
    {
        while (!closed && (again || done < limit))
        {
            const size_t at = done % bytes->size();
            const size_t room = again ? bytes->size() - at : std::min(limit - done, bytes->size() - at);
            const int sent = send(socket.Get(), reinterpret_cast<const char*>(bytes->data() + at), static_cast<int>(room), 0);
            if (sent > 0)
                done += sent;
            else
            {
                const int error = WSAGetLastError();
                closed = sent == 0 || error != WSAEWOULDBLOCK;
                return;
            }
        }
    }

    // The server's close shows as a readable end (a half-message peer is sent nothing).
    bool IsClosed()
    {
        if (closed || again)
            return closed;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket.Get(), &set);
        timeval none = {0, 0};
        char byte;
        closed = select(0, &set, nullptr, nullptr, &none) == 1 && recv(socket.Get(), &byte, 1, MSG_PEEK) <= 0;
        return closed;
    }
};

void PushAll(std::vector<std::unique_ptr<Peer>>& peers)
{
    for (auto& peer : peers)
        peer->Push();
}

int CountClosed(std::vector<std::unique_ptr<Peer>>& peers)
{
    int n = 0;
    for (auto& peer : peers)
        n += peer->IsClosed() ? 1 : 0;
    return n;
}
} // namespace

BENCH_CASE(HostilePeersAroundAGoodClient)
{
    const int port = FreeBenchPort();
    EchoThread thread(port);
    if (!thread.Start(false) || !thread.WaitReady())
        return;
    SSocketClient good;
    good.SetAccessKey("bench");
    if (good.Connect("127.0.0.1", port, false, 0x1000000) != 0)
        return;
    std::vector<std::unique_ptr<Peer>> half;
    const std::vector<unsigned char> large = Message("big", kSocketMessageMaxSize, false);
    for (int i = 0; i < kHalfPeers; i++)
    {
        std::unique_ptr<Peer> peer(new Peer);
        peer->socket.Reset(RawPeer(port));
        peer->bytes = &large;
        peer->limit = large.size() / 2;
        peer->closed = peer->socket.Get() == INVALID_SOCKET;
        peer->Push();
        half.push_back(std::move(peer));
    }
    std::vector<std::unique_ptr<Peer>> deaf;
    // Short enough to be taken in while the half messages hold their share.
    const std::vector<unsigned char> request = Message("echo", SSocketServer::SHORT_MESSAGE, true);
    for (int i = 0; i < kDeafPeers; i++)
    {
        std::unique_ptr<Peer> peer(new Peer);
        peer->socket.Reset(RawPeer(port));
        peer->bytes = &request;
        peer->again = true;
        peer->closed = peer->socket.Get() == INVALID_SOCKET;
        deaf.push_back(std::move(peer));
    }
    std::vector<double> trips;
    int failed = 0;
    BenchClock clock;
    while (CountClosed(deaf) < kDeafPeers && clock.Seconds() * 1000 < kLongestRun)
    {
        PushAll(half);
        PushAll(deaf);
        BenchClock trip;
        const bool ok = good.SendMessage("echo", "ping") && std::strcmp(good.ReceiveString(30000).GetText(), "ping") == 0;
        trips.push_back(trip.Seconds() * 1000);
        failed += ok ? 0 : 1;
        if (!ok && !good.IsConnected())
            break;
    }
    const double elapsed = clock.Seconds();
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::sort(trips.begin(), trips.end());
    const double worst = trips.empty() ? 0 : trips.back();
    const double median = trips.empty() ? 0 : trips[trips.size() / 2];
    std::printf("%d round trips in %.1f s, %d failed; half-message peers closed by the bounds %d of %d; "
                "never-reading peers closed %d of %d\n",
                static_cast<int>(trips.size()), elapsed, failed, CountClosed(half), kHalfPeers, CountClosed(deaf),
                kDeafPeers);
    std::printf("good client round trip: worst %.1f ms, median %.2f ms\n", worst, median);
    std::printf("peak memory: private %.1f MiB, working set %.1f MiB\n", memory.PeakPagefileUsage / 1048576.0,
                memory.PeakWorkingSetSize / 1048576.0);
}
