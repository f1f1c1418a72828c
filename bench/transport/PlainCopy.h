// The anchor of the transfer benchmarks: files copied over one 127.0.0.1
// connection by a plain Winsock loop (a thread reads each file and sends it in
// 64 KiB blocks; the receiver writes each one to its target), timed from the
// first read to the last write.
#pragma once
#include "BenchRegistry.h"
#include "SGuards.h"
#include <ws2tcpip.h>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Source and target paths with the size of each file.
struct PlainFile
{
    std::string source, target;
    long long size;
};

// Seconds for the whole copy; 0 when a byte went missing.
inline double CopyPlain(const std::vector<PlainFile>& files)
{
    const int block = 64 * 1024;
    SSocketGuard listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(listener.Get(), 1);
    getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    SSocketGuard receiver(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (connect(receiver.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        return 0;
    SSocketGuard sender(accept(listener.Get(), nullptr, nullptr));

    BenchClock clock;
    std::thread sending([&] {
        std::vector<char> buffer(block);
        for (const PlainFile& file : files)
        {
            SHandleGuard in(
                CreateFileA(file.source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            DWORD got = 0;
            while (ReadFile(in.Get(), buffer.data(), block, &got, nullptr) && got > 0)
                for (DWORD done = 0; done < got;)
                {
                    const int n = send(sender.Get(), buffer.data() + done, static_cast<int>(got - done), 0);
                    if (n <= 0)
                        return;
                    done += n;
                }
        }
    });
    std::vector<char> buffer(block);
    bool whole = true;
    for (const PlainFile& file : files)
    {
        SHandleGuard out(CreateFileA(file.target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        long long received = 0;
        while (received < file.size)
        {
            const long long left = file.size - received;
            const int n = recv(receiver.Get(), buffer.data(), left < block ? static_cast<int>(left) : block, 0);
            if (n <= 0)
                break;
            DWORD written = 0;
            WriteFile(out.Get(), buffer.data(), n, &written, nullptr);
            received += n;
        }
        whole = whole && received == file.size;
    }
    const double seconds = clock.Seconds();
    sending.join();
    return whole ? seconds : 0;
}
