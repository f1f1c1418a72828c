// Many small files moved as the sharing download does it ("105" for the size,
// "106" for the file from an offset: a text reply, then a sized transfer by
// the client's sender), against the plain Winsock copy of the same files
// (PlainCopy.h). Every step of each round is stamped on both ends, and the
// median time from one step to the next is printed, so that a wait anywhere
// in the round shows where it sits. A second loop asks in the download
// thread's order, each size before the file ahead of it.
#include "BenchRegistry.h"
#include "BenchServer.h"
#include "PlainCopy.h"
#include "SFile.h"
#include "SGuards.h"
#include "SSocketClient.h"
#include "SSocketServer.h"
#include "TestFolder.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
const int kCount = 5000;
const int kSize = 20 * 1024;

// The steps of one round, in the order they happen.
enum Step
{
    ASK_SIZE,     // client: "105" sent
    SIZE_ASKED,   // server: "105" received
    SIZE_KNOWN,   // client: the size read
    ASK_FILE,     // client: target opened, "106" sent
    FILE_ASKED,   // server: "106" received
    SENDER_START, // server: the sender has announced the size
    CLIENT_START, // client: the announced size read
    FIRST_BYTES,  // client: the first packet read
    SENDER_END,   // server: the end packet sent
    SERVER_FREE,  // server: SendFile returned
    CLIENT_END,   // client: the end packet read
    STEPS
};
const char* const kStepNames[STEPS] = {"client asks the size (105)", "server has the request",
                                       "client has the size",        "client asks the file (106)",
                                       "server has the request",     "sender announced the size",
                                       "client has the announced size", "client has the first packet",
                                       "sender sent the end packet", "server's SendFile returned",
                                       "client has the end packet"};

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Stamps of every round; each end writes only its own steps.
std::vector<double> g_stamps;
int g_round = 0; // the round the server is in, counted by "105"

void Stamp(int round, Step step)
{
    if (round >= 0 && round < kCount)
        g_stamps[static_cast<size_t>(round) * STEPS + step] = Now();
}

class SmallFileServer : public SSocketServer
{
    void OnReceiveText(int client, const char* name, const char* text) override
    {
        if (std::strcmp(name, "105") == 0)
        {
            Stamp(g_round, SIZE_ASKED);
            WIN32_FILE_ATTRIBUTE_DATA data;
            SendText(client, GetFileAttributesExA(text, GetFileExInfoStandard, &data)
                                 ? std::to_string(data.nFileSizeLow).c_str()
                                 : "-1");
            return;
        }
        Stamp(g_round, FILE_ASKED);
        const char* bar = std::strrchr(text, '|');
        const std::string path(text, bar ? bar - text : std::strlen(text));
        if (!SendText(client, "Ok") || !SendFile(client, path.c_str(), bar ? std::atoi(bar + 1) : 0, 0))
            SendText(client, "0");
        Stamp(g_round, SERVER_FREE);
        g_round++;
    }
    void OnSendStart(int client, int size, uint32_t tag) override { Stamp(g_round, SENDER_START); }
    void OnSendEnd(int client, int sent, int size, uint32_t tag) override { Stamp(g_round, SENDER_END); }
};

class StampingClient : public SSocketClient
{
public:
    int round = 0;
    bool first = false;
    void OnTransferStart(int size, uint32_t tag) override
    {
        Stamp(round, CLIENT_START);
        first = true;
    }
    int OnTransferProgress(int received, int size, uint32_t tag) override
    {
        if (first)
            Stamp(round, FIRST_BYTES);
        first = false;
        return 0;
    }
    void OnTransferEnd(int received, int size, uint32_t tag) override { Stamp(round, CLIENT_END); }
};

// The stamps cleared, the server listening on its thread and the client
// connected to it.
bool Open(BenchServerThread<SmallFileServer>& thread, SSocketClient& client, int port)
{
    g_stamps.assign(static_cast<size_t>(kCount) * STEPS, 0);
    g_round = 0;
    client.SetAccessKey("bench");
    return thread.Start(false) && thread.WaitReady() && client.Connect("127.0.0.1", port, false, 0x1000000) == 0;
}

// One round of the download thread; false when the file did not arrive whole.
bool Fetch(StampingClient& client, const PlainFile& file)
{
    Stamp(client.round, ASK_SIZE);
    if (!client.SendMessage("105", file.source.c_str()) || std::atoll(client.ReceiveString().GetText()) != file.size)
        return false;
    Stamp(client.round, SIZE_KNOWN);
    SFile out;
    if (!out.Open(file.target.c_str(), true, true, false))
        return false;
    Stamp(client.round, ASK_FILE);
    const std::string request = file.source + "|0";
    if (!client.SendMessage("106", request.c_str()) || client.ReceiveString() != "Ok")
        return false;
    return client.ReceiveFile64(&out) && out.GetSize64() == file.size;
}

// Files per second, 0 when one failed.
double RunOurs(const std::vector<PlainFile>& files)
{
    const int port = FreeBenchPort();
    BenchServerThread<SmallFileServer> thread(port);
    StampingClient client;
    if (!Open(thread, client, port))
        return 0;
    BenchClock clock;
    for (client.round = 0; client.round < kCount; client.round++)
        if (!Fetch(client, files[client.round]))
        {
            std::printf("ours: file %d failed\n", client.round);
            return 0;
        }
    return kCount / clock.Seconds();
}

// A new target made by the system, then opened by the stream: the C
// runtime's open would hold its lock of all streams (the sender's too) while
// the system looks for the new name.
bool OpenNewTarget(SFile* out, const std::string& path)
{
    SHandleGuard made(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!made.IsValid())
        return false;
    made.Reset();
    return out->Open(path.c_str(), true, false, true);
}

// The download thread's order: each file's "105" goes out before the "106"
// of the file before it, whose "106" is on the wire while its target is made.
// Files per second, 0 when one failed.
double RunAhead(const std::vector<PlainFile>& files)
{
    const int port = FreeBenchPort();
    BenchServerThread<SmallFileServer> thread(port);
    SSocketClient client;
    if (!Open(thread, client, port))
        return 0;
    const BenchClock clock;
    const auto askSize = [&](int i) { return i >= kCount || client.SendMessage("105", files[i].source.c_str()); };
    const auto askFile = [&](int i) {
        const std::string request = files[i].source + "|0";
        return std::atoll(client.ReceiveString().GetText()) == files[i].size &&
               client.SendMessage("106", request.c_str());
    };
    bool ok = askSize(0) && askSize(1) && askFile(0);
    for (int i = 0; ok && i < kCount; i++)
    {
        ok = i + 1 >= kCount || (askSize(i + 2) && askFile(i + 1));
        SFile out;
        ok = ok && OpenNewTarget(&out, files[i].target) && client.ReceiveString() == "Ok" &&
             client.ReceiveFile64(&out) && out.GetSize64() == files[i].size;
        if (!ok)
            std::printf("ahead: file %d failed\n", i);
    }
    return ok ? kCount / clock.Seconds() : 0;
}

void PrintSteps()
{
    std::printf("time from the step before, in microseconds: median, mean, 90th percentile\n");
    for (int step = 0; step < STEPS; step++)
    {
        std::vector<double> gaps;
        for (int round = 0; round < kCount; round++)
        {
            const double* stamps = &g_stamps[static_cast<size_t>(round) * STEPS];
            // The first step follows the previous round's last one.
            if (step > 0)
                gaps.push_back(stamps[step] - stamps[step - 1]);
            else if (round > 0)
                gaps.push_back(stamps[0] - stamps[-1]);
        }
        std::sort(gaps.begin(), gaps.end());
        double sum = 0;
        for (double gap : gaps)
            sum += gap;
        std::printf("  %-32s %9.1f %9.1f %9.1f\n", kStepNames[step], gaps.empty() ? 0 : gaps[gaps.size() / 2],
                    gaps.empty() ? 0 : sum / gaps.size(), gaps.empty() ? 0 : gaps[gaps.size() * 9 / 10]);
    }
}

bool WriteSmallFile(const std::string& path, int seed)
{
    std::vector<char> bytes(kSize);
    for (int i = 0; i < kSize; i++)
        bytes[i] = static_cast<char>(i * 7 + seed);
    SFile file;
    return file.Open(path.c_str(), true, true, false) && file.Write(bytes.data(), kSize) == kSize;
}

} // namespace

BENCH_CASE(SmallFilesByRequest)
{
    const testsupport::TestFolder from("sonavel small files from "), plainTo("sonavel small files plain "),
        oursTo("sonavel small files ours ");
    const std::string &sources = from.Path(), &plain = plainTo.Path(), &ours = oursTo.Path();
    std::vector<PlainFile> plainFiles, ourFiles;
    bool written = true;
    for (int i = 0; i < kCount && written; i++)
    {
        const std::string name = "f" + std::to_string(10000 + i) + ".mp3";
        plainFiles.push_back({sources + name, plain + name, kSize});
        ourFiles.push_back({sources + name, ours + name, kSize});
        written = WriteSmallFile(sources + name, i);
    }
    if (!written)
        std::printf("cannot write the files\n");
    else
    {
        const double anchor = CopyPlain(plainFiles);
        const double rate = RunOurs(ourFiles);
        BenchRegistry::Report("5,000 files of 20 KiB by request", rate, anchor > 0 ? kCount / anchor : 0, "files/s");
        if (rate > 0)
            PrintSteps();
        testsupport::TestFolder::RemoveTree(ours);
        CreateDirectoryA(ours.c_str(), nullptr);
        const double ahead = RunAhead(ourFiles);
        BenchRegistry::Report("the same, asked ahead", ahead, anchor > 0 ? kCount / anchor : 0, "files/s");
    }
}
