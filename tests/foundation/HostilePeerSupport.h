// Raw peers against a recording server: hand-made requests and handshakes,
// for the tests of hostile and heavy loads.
#pragma once
#include "SMemory.h"
#include "SSocketTransport.h"
#include "SocketTestSupport.h"
#include <string>
#include <vector>

namespace
{
std::vector<unsigned char> Header(uint32_t total, uint32_t nameLength, int flag)
{
    std::vector<unsigned char> bytes = Bytes({0x4B, 0x4C, 0x56, 0xA9, 0x30, 0x31});
    for (int i = 0; i < 4; i++)
        bytes.push_back(static_cast<unsigned char>(total >> (8 * i)));
    for (int i = 0; i < 4; i++)
        bytes.push_back(static_cast<unsigned char>(nameLength >> (8 * i)));
    bytes.push_back(static_cast<unsigned char>(flag));
    return bytes;
}

std::vector<unsigned char> Request(const std::string& name, const std::string& text)
{
    std::vector<unsigned char> bytes =
        Header(static_cast<uint32_t>(15 + name.size() + 1 + text.size() + 1), static_cast<uint32_t>(name.size() + 1), 1);
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

uint32_t CodeOf(const char* password)
{
    SMemory key;
    key.WriteText(password);
    uint32_t code = 0;
    key.GetCrc32(&code);
    return code;
}

// Reads one string packet from a raw socket; "" when none came.
std::string ReadStringPacket(SOCKET s, int timeout = 2000)
{
    const std::vector<unsigned char> header = ReceiveRaw(s, 8, timeout);
    if (header.size() < 8)
        return "";
    const int n = header[0] | (header[1] << 8);
    const std::vector<unsigned char> payload = ReceiveRaw(s, n, timeout);
    return std::string(payload.begin(), payload.end() - (payload.empty() ? 0 : 1));
}

// A raw connection that has passed the handshake with the password; INVALID_SOCKET when refused.
SOCKET RawHandshake(int port, const char* password, uint32_t value = 2)
{
    SSocketGuard s(ConnectLoopback(port));
    unsigned char hello[kSocketHelloSize];
    BuildHello(hello, value, CodeOf(password));
    if (s.Get() == INVALID_SOCKET || ReceiveRaw(s.Get(), 1, 10000).size() != 1 ||
        !SendRaw(s.Get(), std::vector<unsigned char>(hello, hello + kSocketHelloSize)) ||
        ReceiveRaw(s.Get(), 2, 10000) != Bytes({0, 0}))
        return INVALID_SOCKET;
    return s.Release();
}
} // namespace
