// What the sharing tests share: free ports, a peer that speaks the wire
// format by hand, a stand-in server of scripted replies, folder links, and
// the pieces of the blocks a server sends.
#pragma once
#include "SPlatform.h"
#include <atomic>
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
// Starts Winsock once; a loopback port nobody listens on.
void StartSockets();
int FreePort();
sockaddr_in LoopbackAddress(int port, const char* host = "127.0.0.1");
// n bytes whose byte i is a function of i and the seed.
std::string PatternText(size_t n, int seed);
std::string ReadFileText(const std::string& path);
long long FileSizeOf(const std::string& path);
// Block pieces: a text and its zero, a u32, a text in the block compression.
std::string Z(const std::string& text);
std::string U32(uint32_t value);
std::string Packed(const std::string& text);
// A list's item texts, each followed by ";"; selecting one as the user does.
std::string Items(SListCtrl& list);
void Select(PWndApp& app, SListCtrl& list, const char* text);
// The text of the main window's status bar part 0.
std::string StatusText(PWndApp& app);
// Waits, pumping messages, until the condition holds; false at the time-out.
bool PumpUntil(const std::function<bool()>& condition, int timeout = 20000);
// Presses "Share library" (19) and waits until the port takes connections.
bool StartSharingOn(PWndApp& app, int port);
// Closes a sharing program, answering Yes to disconnecting its peers.
bool CloseSharingProgram(RunningProgram& program);

// A Unix symbolic link to a folder, removed with the object (before the
// folders, whose removal would follow it). Wine makes no junctions and shows
// such a link as a reparse point, as Windows shows a junction.
class FolderLink
{
public:
    FolderLink(const std::string& link, const std::string& target);
    ~FolderLink();
    bool IsMade() const { return m_made; }

private:
    std::string m_link, m_unixLink;
    bool m_made;
};

// A peer connecting from a given local address with a handshake of its own,
// reading what comes back packet by packet.
class RawPeer
{
public:
    ~RawPeer() { Close(); }
    // The refusal code (0 accepted); -1 on failure or a wrong version or code.
    int Connect(int port, const char* password, const char* from = "127.0.0.1");
    bool Send(const char* name, const std::string& text);
    // One string packet; "<none>" when nothing came in time.
    std::string Text(int timeout = 2000);
    // A sized transfer, false unless exactly the announced bytes came.
    bool Sized(std::string* out, int timeout = 2000);
    // The bytes read until the server closes the connection; -1 when it stays open.
    long long Drain(int timeout);
    void Close();
    SOCKET Socket() const { return m_socket; }

private:
    SOCKET m_socket = INVALID_SOCKET;
};

// A stand-in sharing server on its own thread: each request is answered by
// its script's replies in order, "=text" as a text, others as data blocks.
class ScriptedServer : public SThread
{
public:
    ScriptedServer();
    ~ScriptedServer() override { Stop(); }
    int Port() const { return m_port; }
    void Script(const std::string& request, const std::vector<std::string>& replies);
    // Each request waits this long on the server's thread before its replies.
    void SetDelay(int milliseconds) { m_delay = milliseconds; }
    // Answers requests instead of the script (on the server's thread, which
    // it may hold as a busy server does); null hands them back to the script.
    typedef std::function<std::vector<std::string>(const std::string& name, const std::string& text)> Responder;
    void SetResponder(const Responder& responder);
    // Each packet of a transfer waits this long before it goes.
    void SetPace(int milliseconds) { m_pace = milliseconds; }
    int Connections() const { return m_connections; }
    std::vector<std::string> Requests();
    bool Run() override;
    void OnLoopEnd() override;

private:
    class _Server;
    _Server* m_server;
    int m_port;
    HANDLE m_ready;
    std::mutex m_lock;
    std::map<std::string, std::vector<std::string>> m_script;
    std::vector<std::string> m_requests;
    std::atomic<int> m_delay{0};
    std::atomic<int> m_pace{0};
    std::atomic<int> m_connections{0};
    Responder m_responder;
};

// Answers every question of the main window and records it as "caption: text".
struct Questions
{
    Questions();
    ~Questions();
    static std::vector<std::string> asked;
};
}
