// What the sharing tests share: free ports, a peer that speaks the wire
// format by hand (its own handshake, framed requests, packets read raw), a
// stand-in server of scripted replies on its own thread, and libraries laid
// out in temporary folders.
#pragma once
#include "SPlatform.h"
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "SSocketServer.h"
#include "SThread.h"

namespace apptest
{
// Starts Winsock once for the suite's process.
void StartSockets();
// A loopback port nobody listens on (bound once and released).
int FreePort();
// Text of n bytes whose byte i is a function of i and the seed.
std::string PatternText(size_t n, int seed);
std::string ReadFileText(const std::string& path);
long long FileSizeOf(const std::string& path);
// A Unix symbolic link from inside a folder to another, removed again with
// the object (before the folders: removing them would follow it): Wine shows
// it as a reparse point, as Windows shows a junction (Wine makes no junctions).
class FolderLink
{
public:
    FolderLink(const std::string& link, const std::string& target);
    ~FolderLink();
    bool IsMade() const { return m_made; }

private:
    std::string m_link;
    bool m_made;
};

// A raw peer: connects from the given local address, passes the handshake
// and reads what comes back packet by packet.
class RawPeer
{
public:
    ~RawPeer();
    // The verdict's second byte (0 accepted, 1.. refused); -1 on failure or a
    // refused version or code (the first byte).
    int Connect(int port, const char* password, const char* from = "127.0.0.1");
    bool Send(const char* name, const std::string& text);
    // One string packet; "<none>" when nothing came in time.
    std::string Text(int timeout = 2000);
    // A sized transfer: the announced count, then packets to the end packet.
    // False when the count is not announced or the bytes differ from it.
    bool Sized(std::string* out, int timeout = 2000);
    // Reads until the server closes the connection: the bytes read, or -1
    // when it stays open.
    long long Drain(int timeout = 2000);
    void Close();
    SOCKET Socket() const { return m_socket; }

private:
    SOCKET m_socket = INVALID_SOCKET;
};

// A stand-in sharing server: each request name is answered by the script's
// replies in order, "=text" sent as a text, anything else as a data block.
class ScriptedServer
{
public:
    ScriptedServer();
    ~ScriptedServer();
    int Port() const { return m_port; }
    void Script(const std::string& request, const std::vector<std::string>& replies);
    std::vector<std::string> Requests();

private:
    class _Server;
    class _Thread;
    std::unique_ptr<_Thread> m_thread;
    int m_port;
};

// A main window made without the splash's wait.
std::unique_ptr<AppWindow> QuickApp();
// Presses "Share library" (19) on a main window of this process and waits
// until its server takes connections; false when it does not.
bool StartSharingOn(PWndApp& app, int port);
// Waits, pumping messages, until the condition holds; false at the time-out.
bool PumpUntil(const std::function<bool()>& condition, int timeout = 20000);

// Closes a program that shares its library: a question whether to
// disconnect the peers is answered Yes. False when it does not end.
bool CloseSharingProgram(RunningProgram& program);

// Answers every question of the main window and records it.
struct Questions
{
    Questions();
    ~Questions();
    static std::vector<std::string> asked; // "caption: text"
    static int answer;
};
}
