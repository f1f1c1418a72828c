// Downloads between two main windows of this process over 127.0.0.1, as the
// program does them ("105" and "106" asked by the download thread, the
// server's thread answering): one 1 GiB file, then 5,000 files of 20 KiB,
// each beside a plain Winsock loop copying the same files (PlainCopy.h).
#include "SPlatform.h"
#include <memory>
#include <string>
#include <vector>
#include "BenchRegistry.h"
#include "PSettings.h"
#include "PWndApp.h"
#include "ProgramBench.h"
#include "SGuards.h"
#include "TestFolder.h"
#include "transport/BenchServer.h"
#include "transport/PlainCopy.h"

namespace
{
const long long LARGE = 1LL << 30;
const int SMALL = 20 * 1024;
const int SMALL_COUNT = 5000;

bool WriteFileOf(const std::string& path, long long size, int seed)
{
    SHandleGuard file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::vector<char> block(1024 * 1024);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 7 + seed);
    for (long long done = 0; done < size;)
    {
        const long long left = size - done;
        const DWORD n = static_cast<DWORD>(left < static_cast<long long>(block.size()) ? left : block.size());
        DWORD written = 0;
        if (!file.IsValid() || !WriteFile(file.Get(), block.data(), n, &written, nullptr) || written != n)
            return false;
        done += n;
    }
    return true;
}

std::unique_ptr<PWndApp> MakeApp(const std::string& root, int port)
{
    const PSettings settings;
    settings.SetText("Folder", root.c_str());
    settings.SetNumber("ServerPort", port);
    settings.SetText("ServerPass", "bench");
    std::unique_ptr<PWndApp> app(new PWndApp());
    app->Create("KLV Sonavel bench", WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
    PumpUntilIdle();
    return app;
}

// Queues the paths and times the download thread until it has ended; 0 when
// a row did not end done.
double Download(PWndApp& client, const std::vector<std::string>& paths)
{
    PWndNet& queue = client.GetDownloadQueue();
    queue.Clear();
    for (const std::string& path : paths)
        queue.Add(path.c_str());
    PumpUntilIdle();
    const BenchClock clock;
    if (!client.ResumeDownloads())
        return 0;
    // The messages are taken as the program's loop takes them, waiting for
    // each: a poll would load the wineserver that the threads share. The
    // thread's last act is a message to this one.
    MSG message;
    while (client.GetDownloadThread().IsRunning() && GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    const double seconds = clock.Seconds();
    PumpUntilIdle();
    for (int row = 0; row < queue.GetCount(); ++row)
        if (queue.GetState(row) != PWndNet::STATE_DONE)
            return 0;
    return seconds;
}

// The settings the bench changes, put back afterwards.
struct SavedSettings
{
    SavedSettings()
        : folder(settings.GetText("Folder")), password(settings.GetText("ServerPass")),
          port(settings.GetNumber("ServerPort"))
    {
    }
    ~SavedSettings()
    {
        settings.SetText("Folder", folder.GetText());
        settings.SetText("ServerPass", password.GetText());
        settings.SetNumber("ServerPort", port);
    }
    const PSettings settings;
    const SString folder, password;
    const int port;
};
}

BENCH_CASE(DownloadLargeAndManyFiles)
{
    const SavedSettings saved;
    PWndApp::SetSplashTime(0);
    const testsupport::TestFolder serverFolder("sonavel sharing bench server "),
        clientFolder("sonavel sharing bench client "), plainFolder("sonavel sharing bench plain ");
    const std::string &serverRoot = serverFolder.Path(), &clientRoot = clientFolder.Path(),
                      &plainRoot = plainFolder.Path();
    CreateDirectoryA((serverRoot + "Big").c_str(), nullptr);
    CreateDirectoryA((serverRoot + "Many").c_str(), nullptr);
    std::printf("writing 1 GiB and %d files of 20 KiB...\n", SMALL_COUNT);
    std::fflush(stdout);
    std::vector<PlainFile> large = {{serverRoot + "Big\\big.mp3", plainRoot + "big.mp3", LARGE}}, many;
    std::vector<std::string> manyPaths;
    bool written = WriteFileOf(large[0].source, LARGE, 1);
    for (int i = 0; i < SMALL_COUNT && written; ++i)
    {
        const std::string name = "f" + std::to_string(10000 + i) + ".mp3";
        manyPaths.push_back("Many\\" + name);
        many.push_back({serverRoot + "Many\\" + name, plainRoot + name, SMALL});
        written = WriteFileOf(many.back().source, SMALL, i);
    }
    const int port = FreeBenchPort();
    std::unique_ptr<PWndApp> server = MakeApp(serverRoot, port);
    std::unique_ptr<PWndApp> client = MakeApp(clientRoot, port);
    server->StartSharing();
    Sleep(200);
    PumpUntilIdle();
    if (!written || !client->Connect("Bench", "127.0.0.1", "bench", port))
        std::printf("the library could not be written or shared\n");
    else
    {
        const double oursLarge = Download(*client, {"Big\\big.mp3"});
        const double plainLarge = CopyPlain(large);
        const double oursMany = Download(*client, manyPaths);
        const double plainMany = CopyPlain(many);
        BenchRegistry::Report("1 GiB file over 127.0.0.1", oursLarge > 0 ? LARGE / oursLarge / 1e6 : 0,
                              plainLarge > 0 ? LARGE / plainLarge / 1e6 : 0, "MB/s");
        BenchRegistry::Report("5,000 files of 20 KiB", oursMany > 0 ? SMALL_COUNT / oursMany : 0,
                              plainMany > 0 ? SMALL_COUNT / plainMany : 0, "files/s");
        client->OnDisconnected();
    }
    server->StopSharing();
    client->DestroyWindow();
    server->DestroyWindow();
    PumpUntilIdle();
    client.reset();
    server.reset();
    PWndApp::SetSplashTime(2000);
}
