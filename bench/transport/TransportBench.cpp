// A 512 MiB file served by SSocketServer::SendFile and received by
// SSocketClient into a file over 127.0.0.1, against a plain Winsock loop that
// does the same job (read the file, send, receive, write the file) with
// 64 KiB blocks (PlainCopy.h).
#include "BenchRegistry.h"
#include "BenchServer.h"
#include "PlainCopy.h"
#include "SFile.h"
#include "SGuards.h"
#include "SSocketClient.h"
#include "SSocketServer.h"
#include "SThread.h"
#include <ws2tcpip.h>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace
{
const int kFileSize = 512 * 1024 * 1024;

std::string TempPath(const char* prefix)
{
    char folder[MAX_PATH];
    char name[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, prefix, 0, name);
    return name;
}

bool WriteSourceFile(const std::string& path)
{
    SHandleGuard file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file.IsValid())
        return false;
    std::vector<unsigned char> block(1024 * 1024);
    for (size_t i = 0; i < block.size(); i++)
        block[i] = static_cast<unsigned char>(i * 7 + 3);
    for (int done = 0; done < kFileSize; done += static_cast<int>(block.size()))
    {
        DWORD written = 0;
        if (!WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr))
            return false;
    }
    return true;
}

long long FileSizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// --- Ours -------------------------------------------------------------------

class FileServer : public SSocketServer
{
    void OnReceiveText(int client, const char* name, const char* text) override
    {
        if (!SendFile(client, text, 0, 0))
            SendText(client, "0");
    }
};

typedef BenchServerThread<FileServer> ServerThread;

double RunOurs(const std::string& source, const std::string& target)
{
    const int port = FreeBenchPort();
    ServerThread thread(port);
    if (!thread.Start(false) || !thread.WaitReady())
        return 0;
    SSocketClient client;
    client.SetAccessKey("bench");
    if (client.Connect("127.0.0.1", port, false, 0x1000000) != 0)
        return 0;
    SFile out;
    if (!out.Open(target.c_str(), true, true, false))
        return 0;
    BenchClock clock;
    client.SendMessage("file", source.c_str(), -1);
    const bool ok = client.ReceiveSizedToStream(&out, 0, 5000);
    out.Close();
    const double seconds = clock.Seconds();
    if (!ok || FileSizeOf(target) != kFileSize)
    {
        std::printf("ours: transfer failed\n");
        return 0;
    }
    return kFileSize / seconds / 1e6;
}

} // namespace

BENCH_CASE(SendFile512MiB)
{
    const std::string source = TempPath("src");
    const std::string target = TempPath("dst");
    if (!WriteSourceFile(source))
    {
        std::printf("cannot write the source file\n");
        return;
    }
    const double seconds = CopyPlain({{source, target, kFileSize}});
    const double plain = seconds > 0 ? kFileSize / seconds / 1e6 : 0;
    const double ours = RunOurs(source, target);
    BenchRegistry::Report("512 MiB file over 127.0.0.1", ours, plain, "MB/s");
    DeleteFileA(source.c_str());
    DeleteFileA(target.c_str());
}
