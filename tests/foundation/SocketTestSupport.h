// Loopback sockets for the transport, server and client tests: raw peers
// that the tests drive byte by byte.
#pragma once
#include "SGuards.h"
#include <ws2tcpip.h>
#include <string>
#include <vector>

// Winsock started for the lifetime of the object.
class SocketSession
{
public:
    SocketSession() { WSADATA data; started = WSAStartup(MAKEWORD(2, 2), &data) == 0; }
    ~SocketSession() { if (started) WSACleanup(); }
    SocketSession(const SocketSession&) = delete;
    SocketSession& operator=(const SocketSession&) = delete;

private:
    bool started;
};

inline sockaddr_in LoopbackAddress(int port)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A listening socket on 127.0.0.1 with a port chosen by the system.
inline SOCKET ListenLoopback(int* port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof(address);
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(s, 8) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    {
        if (s != INVALID_SOCKET)
            closesocket(s);
        return INVALID_SOCKET;
    }
    *port = ntohs(address.sin_port);
    return s;
}

inline SOCKET ConnectLoopback(int port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = LoopbackAddress(port);
    if (s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
    {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

// A free port: bound once and released again.
inline int FindFreePort()
{
    int port = 0;
    SOCKET s = ListenLoopback(&port);
    if (s != INVALID_SOCKET)
        closesocket(s);
    return port;
}

// Two connected blocking sockets on loopback.
struct LoopbackPair
{
    SSocketGuard local;
    SSocketGuard remote;

    bool Open()
    {
        int port = 0;
        SSocketGuard listener(ListenLoopback(&port));
        if (listener.Get() == INVALID_SOCKET)
            return false;
        local.Reset(ConnectLoopback(port));
        if (local.Get() == INVALID_SOCKET)
            return false;
        remote.Reset(accept(listener.Get(), nullptr, nullptr));
        return remote.Get() != INVALID_SOCKET;
    }
};

inline bool SendRaw(SOCKET s, const std::vector<unsigned char>& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        const int n = send(s, reinterpret_cast<const char*>(bytes.data() + done), static_cast<int>(bytes.size() - done), 0);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Reads until n bytes arrived, the peer closed, or nothing came for timeout ms.
inline std::vector<unsigned char> ReceiveRaw(SOCKET s, size_t n, int timeout = 2000)
{
    std::vector<unsigned char> bytes;
    while (bytes.size() < n)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait = {timeout / 1000, (timeout % 1000) * 1000};
        if (select(0, &set, nullptr, nullptr, &wait) != 1)
            break;
        char buffer[65536];
        const size_t want = n - bytes.size() < sizeof(buffer) ? n - bytes.size() : sizeof(buffer);
        const int got = recv(s, buffer, static_cast<int>(want), 0);
        if (got <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

// True when the peer has closed the connection within timeout ms.
inline bool WaitPeerClosed(SOCKET s, int timeout = 3000)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(timeout))
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait = {0, 50000};
        if (select(0, &set, nullptr, nullptr, &wait) == 1)
        {
            char buffer[4096];
            const int got = recv(s, buffer, sizeof(buffer), 0);
            if (got <= 0)
                return true;
        }
    }
    return false;
}

inline std::vector<unsigned char> Bytes(std::initializer_list<int> values)
{
    std::vector<unsigned char> bytes;
    for (int v : values)
        bytes.push_back(static_cast<unsigned char>(v));
    return bytes;
}

inline std::vector<unsigned char> Concat(std::vector<unsigned char> a, const std::vector<unsigned char>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A transport packet as peers of every build read it: the payload's size,
// the magic, the payload.
inline std::vector<unsigned char> Packet(const std::vector<unsigned char>& payload)
{
    const int n = static_cast<int>(payload.size());
    return Concat(Bytes({n & 0xFF, n >> 8, 0x4B, 0x4C, 0x56, 0xA9, 0x30, 0x31}), payload);
}

inline std::vector<unsigned char> StringPacket(const std::string& text)
{
    std::vector<unsigned char> payload(text.begin(), text.end());
    payload.push_back(0);
    return Packet(payload);
}
