// What the transport benchmarks share: a server of a given class listening on
// its own thread, and a free loopback port to listen on.
#pragma once
#include "SGuards.h"
#include "SThread.h"
#include <ws2tcpip.h>
#include <atomic>

template <class Server>
class BenchServerThread : public SThread
{
public:
    explicit BenchServerThread(int port) : m_port(port) {}
    ~BenchServerThread() override
    {
        if (IsRunning())
            Stop();
    }
    bool Run() override
    {
        m_server = new Server;
        m_server->SetAccessKey("bench");
        m_listening = m_server->Listen(m_port);
        m_ready = true;
        return m_listening;
    }
    void OnLoopEnd() override { delete m_server; }
    bool WaitReady()
    {
        while (!m_ready)
            Sleep(1);
        return m_listening;
    }

private:
    int m_port;
    Server* m_server = nullptr;
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_listening{false};
};

inline int FreeBenchPort()
{
    SSocketGuard s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    bind(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(s.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}
