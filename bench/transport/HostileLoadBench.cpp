// One server on its own thread serves a good client while hostile peers
// attack it, one attack at a time on a fresh server: peers that never read
// their replies, peers that hold 1 MiB messages short of their last byte or
// half of them, a message stopped half way, a peer that reads a byte a second.
// Each round trip of the good client sends a 100 kB message and an echo
// request and waits for the echo. Prints, per attack, the median round trip
// beside the median without an attack, the worst beside the 1 s goal, and the
// process's peak memory beside the 150 MiB goal (the peers' bytes wait in the
// system's socket buffers, so the figure is the server's holding plus the
// program).
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
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
const double kWorstGoalMs = 1000;
const double kMemoryGoalMiB = 150;

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

// A framed message of `total` bytes of which the first `sent` are pushed.
std::vector<unsigned char> Message(const char* name, uint32_t total, bool text, uint32_t sent)
{
    std::vector<unsigned char> bytes(total, 'e');
    const uint32_t nameLength = static_cast<uint32_t>(std::strlen(name) + 1);
    BuildMessageHeader(bytes.data(), total, nameLength, text);
    std::memcpy(bytes.data() + kSocketMessageHeaderSize, name, nameLength);
    bytes.back() = 0;
    bytes.resize(sent);
    return bytes;
}

// A peer with bytes to push, all it can at once, or a slice a turn when it
// repeats them (so that one loop serves every peer in turn); it stops when
// the server closes it.
struct Peer
{
    SSocketGuard socket;
    const std::vector<unsigned char>* bytes = nullptr;
    size_t done = 0;
    bool again = false; // the bytes over and over
    bool closed = false;

    void Push()
    {
        const size_t slice = again ? 64 * 1024 : bytes->size();
        for (size_t pushed = 0; !closed && pushed < slice && (again || done < bytes->size());)
        {
            const size_t at = done % bytes->size();
            const size_t room = std::min(slice - pushed, bytes->size() - at);
            const int sent = send(socket.Get(), reinterpret_cast<const char*>(bytes->data() + at), static_cast<int>(room), 0);
            if (sent <= 0)
            {
                closed = sent == 0 || WSAGetLastError() != WSAEWOULDBLOCK;
                return;
            }
            done += sent;
            pushed += sent;
        }
    }

    // The server's close shows as a readable end (a peer that never reads
    // learns it from a failed send instead).
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

typedef std::vector<std::unique_ptr<Peer>> Peers;

struct Attack
{
    const char* name;
    int peers;
    const std::vector<unsigned char>* bytes;
    bool again;
    bool readByteASecond;
    double seconds; // how long the attack lasts at most (it ends when every peer is closed)
};

struct Figures
{
    std::vector<double> trips;
    double worstLater = 0; // of the round trips that began once the attack had lasted 2 s
    int failed = 0;
    int closed = 0;
    double peakPrivate = 0;
    double peakWorkingSet = 0;
    double elapsed = 0;

    double Median() { return trips.empty() ? 0 : (std::sort(trips.begin(), trips.end()), trips[trips.size() / 2]); }
    double Worst() { return trips.empty() ? 0 : *std::max_element(trips.begin(), trips.end()); }
};

void SampleMemory(Figures& figures)
{
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    figures.peakPrivate = std::max(figures.peakPrivate, memory.PagefileUsage / 1048576.0);
    figures.peakWorkingSet = std::max(figures.peakWorkingSet, memory.WorkingSetSize / 1048576.0);
}

int CountClosed(Peers& peers)
{
    int n = 0;
    for (auto& peer : peers)
        n += peer->IsClosed() ? 1 : 0;
    return n;
}

// One good round trip: a 100 kB message, then an echo request.
bool RoundTrip(SSocketClient& good, const std::vector<unsigned char>& large, Figures& figures, double at)
{
    BenchClock trip;
    const bool ok = good.SendMessage("blob", large.data(), static_cast<int>(large.size())) &&
                    good.SendMessage("echo", "ping") && std::strcmp(good.ReceiveString(30000).GetText(), "ping") == 0;
    figures.trips.push_back(trip.Seconds() * 1000);
    if (at >= 2)
        figures.worstLater = std::max(figures.worstLater, figures.trips.back());
    figures.failed += ok ? 0 : 1;
    SampleMemory(figures);
    return ok || good.IsConnected();
}

Figures RunAttack(const Attack& attack)
{
    Figures figures;
    const int port = FreeBenchPort();
    EchoThread thread(port);
    SSocketClient good;
    good.SetAccessKey("bench");
    if (!thread.Start(false) || !thread.WaitReady() || good.Connect("127.0.0.1", port, false, 0x1000000) != 0)
        return figures;
    const std::vector<unsigned char> large(100000, 7);
    Peers peers;
    for (int i = 0; i < attack.peers; i++)
    {
        std::unique_ptr<Peer> peer(new Peer);
        peer->socket.Reset(RawPeer(port));
        peer->bytes = attack.bytes;
        peer->again = attack.again;
        peer->closed = peer->socket.Get() == INVALID_SOCKET;
        peers.push_back(std::move(peer));
    }
    BenchClock clock;
    double lastRead = 0;
    while ((attack.peers == 0 || CountClosed(peers) < attack.peers) && clock.Seconds() < attack.seconds)
    {
        for (auto& peer : peers)
            peer->Push();
        if (attack.readByteASecond && clock.Seconds() - lastRead >= 1)
        {
            char byte;
            recv(peers[0]->socket.Get(), &byte, 1, 0);
            lastRead = clock.Seconds();
        }
        if (!RoundTrip(good, large, figures, clock.Seconds()))
            break;
        Sleep(10);
    }
    figures.elapsed = clock.Seconds();
    figures.closed = CountClosed(peers);
    return figures;
}

void Print(const Attack& attack, Figures& figures, double quietMedian)
{
    std::printf("%s: %d round trips in %.1f s, %d failed; peers closed %d of %d\n", attack.name,
                static_cast<int>(figures.trips.size()), figures.elapsed, figures.failed, figures.closed, attack.peers);
    const std::string name = attack.name;
    BenchRegistry::Report((name + ": median round trip").c_str(), figures.Median(), quietMedian, "ms");
    BenchRegistry::Report((name + ": worst round trip").c_str(), figures.Worst(), kWorstGoalMs, "ms");
    if (figures.elapsed > 2)
        BenchRegistry::Report((name + ": worst after its first 2 s").c_str(), figures.worstLater, kWorstGoalMs, "ms");
    BenchRegistry::Report((name + ": peak private memory").c_str(), figures.peakPrivate, kMemoryGoalMiB, "MiB");
    std::printf("%s: peak working set %.1f MiB\n", attack.name, figures.peakWorkingSet);
}
} // namespace

BENCH_CASE(HostilePeersAroundAGoodClient)
{
    const std::vector<unsigned char> request = Message("echo", 4000, true, 4000);
    const uint32_t large = kSocketMessageMaxSize;
    const std::vector<unsigned char> holding = Message("big", large, false, large - 1);
    const std::vector<unsigned char> half = Message("big", large, false, large / 2);
    const Attack quiet = {"no attack", 0, nullptr, false, false, 3};
    const Attack attacks[] = {
        {"50 never-reading peers", 50, &request, true, false, 90},
        {"100 peers holding 1 MiB - 1 byte", 100, &holding, false, false, 15},
        {"400 peers holding half of 1 MiB", 400, &half, false, false, 15},
        {"a message stopped half way", 1, &half, false, false, 15},
        {"a peer reading a byte a second", 1, &request, true, true, 30},
    };
    Figures calm = RunAttack(quiet);
    const double quietMedian = calm.Median();
    std::printf("no attack: median round trip %.2f ms, worst %.2f ms\n", quietMedian, calm.Worst());
    for (const Attack& attack : attacks)
    {
        Figures figures = RunAttack(attack);
        Print(attack, figures, quietMedian);
    }
}
