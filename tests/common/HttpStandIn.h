// The HTTP test server (tests/foundation/http_server.py, started by ctest) seen
// from a test: its port, the files it serves and the paths it was asked for,
// and the Wine prefix's proxy pointed at it, so that a program asking its own
// host names reaches the server instead.
#pragma once
#include "SPlatform.h"
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace httptest
{
// The server's folder (a Linux path, seen as drive Z:) with a trailing
// backslash; "" outside ctest.
inline std::string ServerFolder()
{
    const char* file = getenv("SONAVEL_HTTP_PORT_FILE");
    if (!file || !*file)
        return "";
    std::string path = file;
    if (path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path.substr(0, path.find_last_of('\\') + 1);
}

inline std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

inline bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && written;
}

// 0 without a server (outside ctest), -1 when its port file cannot be read.
inline int ServerPort()
{
    const std::string folder = ServerFolder();
    if (folder.empty())
        return 0;
    const std::string text = ReadWholeFile(folder + "port");
    return text.empty() ? -1 : atoi(text.c_str());
}

// The file under which the server keeps the reply to a path (and query), as
// the server names it: every character but letters, digits, "." "_" "-" as %XX.
inline std::string ServedFile(const std::string& name)
{
    std::string file = ServerFolder() + "served\\";
    for (unsigned char c : name)
    {
        char escaped[4];
        snprintf(escaped, sizeof(escaped), "%%%02X", c);
        file += isalnum(c) || c == '.' || c == '_' || c == '-' ? std::string(1, static_cast<char>(c)) : escaped;
    }
    return file;
}

// The server answers "/name" with these bytes; name may hold further "/" and a
// query, which then must match exactly. A mode ("nolength", "zerolength", "cut",
// "hold") changes the reply.
inline bool Serve(const std::string& name, const std::string& bytes, const std::string& mode = "")
{
    CreateDirectoryA((ServerFolder() + "served").c_str(), nullptr);
    const std::string file = ServedFile(name);
    DeleteFileA((file + ".mode").c_str());
    return WriteWholeFile(file, bytes) && (mode.empty() || WriteWholeFile(file + ".mode", mode));
}

// A reply held back ("hold") goes out.
inline void ReleaseHold(const std::string& name)
{
    DeleteFileA((ServedFile(name) + ".mode").c_str());
}

inline void StopServing(const std::string& name)
{
    const std::string file = ServedFile(name);
    DeleteFileA((file + ".mode").c_str());
    DeleteFileA(file.c_str());
}

// The lines of a text, each ended by the separator; an unended last part is left out.
inline std::vector<std::string> SplitLines(const std::string& text, const std::string& separator)
{
    std::vector<std::string> lines;
    size_t start = 0, end;
    for (; (end = text.find(separator, start)) != std::string::npos; start = end + separator.size())
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The paths asked since the last ClearRequests, in order.
inline std::vector<std::string> Requests()
{
    return SplitLines(ReadWholeFile(ServerFolder() + "requests.log"), "\n");
}

// The same with their queries, as sent.
inline std::vector<std::string> Targets()
{
    return SplitLines(ReadWholeFile(ServerFolder() + "targets.log"), "\n");
}

inline void ClearRequests()
{
    DeleteFileA((ServerFolder() + "requests.log").c_str());
    DeleteFileA((ServerFolder() + "targets.log").c_str());
}

// A port on 127.0.0.1 that nothing listens on: a proxy there is a server that is down.
inline int ClosedPort()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof(address);
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    closesocket(s);
    WSACleanup();
    return port;
}

// While it lives, WinINet opened with the preconfigured settings (in any
// process of the prefix) sends every request to 127.0.0.1:port.
class ProxyGuard
{
public:
    explicit ProxyGuard(int port)
    {
        const std::string server = "127.0.0.1:" + std::to_string(port);
        const DWORD enable = 1;
        RegSetKeyValueA(HKEY_CURRENT_USER, KEY, "ProxyServer", REG_SZ, server.c_str(),
                        static_cast<DWORD>(server.size() + 1));
        RegSetKeyValueA(HKEY_CURRENT_USER, KEY, "ProxyEnable", REG_DWORD, &enable, sizeof(enable));
    }
    ~ProxyGuard()
    {
        // Left set, it would send the other suites' loopback downloads through the proxy.
        RegDeleteKeyValueA(HKEY_CURRENT_USER, KEY, "ProxyEnable");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, KEY, "ProxyServer");
    }
    ProxyGuard(const ProxyGuard&) = delete;
    ProxyGuard& operator=(const ProxyGuard&) = delete;

private:
    static constexpr const char* KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
};
}
