#include "SharingTestSupport.h"
#include <atomic>
#include <cstring>
#include "SGuards.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "SSocketTransport.h"

namespace apptest
{
void StartSockets()
{
    static const bool started = StartupWinsock();
    (void)started;
}

sockaddr_in LoopbackAddress(int port, const char* host)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = inet_addr(host);
    return address;
}

int FreePort()
{
    StartSockets();
    SSocketGuard s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof(address);
    bind(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(s.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

std::string PatternText(size_t n, int seed)
{
    std::string text(n, '\0');
    for (size_t i = 0; i < n; ++i)
        text[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 12)) & 0xFF);
    return text;
}

std::string ReadFileText(const std::string& path)
{
    SMemory memory;
    if (!memory.LoadFromFile(path.c_str()))
        return "<missing>";
    return std::string(reinterpret_cast<const char*>(memory.GetData()), memory.GetSize());
}

long long FileSizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string Z(const std::string& text)
{
    return text + std::string(1, '\0');
}

std::string U32(uint32_t value)
{
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 24)};
    return std::string(bytes, 4);
}

std::string Packed(const std::string& text)
{
    SMemory raw, packed;
    raw.Write(text.data(), static_cast<int>(text.size()));
    raw.SeekToStart();
    raw.Compress(&packed);
    return std::string(reinterpret_cast<const char*>(packed.GetData()), packed.GetSize());
}

std::string Items(SListCtrl& list)
{
    std::string text;
    for (int i = 0; i < list.GetCount(); ++i)
        text += std::string(list.GetItemText(i).GetText()) + ";";
    return text;
}

void Select(PWndApp& app, SListCtrl& list, const char* text)
{
    list.SetSelection(list.FindItem(text));
    app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&list), 0);
}

std::string StatusText(PWndApp& app)
{
    const int length = LOWORD(app.GetStatusBar().SendMessage(SB_GETTEXTLENGTHA, 0, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    app.GetStatusBar().SendMessage(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

namespace
{
std::string UnixName(const std::string& path)
{
    typedef char*(CDECL * Function)(const WCHAR*);
    const Function function =
        reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!function)
        return "";
    const std::wstring wide(path.begin(), path.end());
    char* name = function(wide.c_str());
    const std::string text = name ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return text;
}

// Runs a program of the host system (Wine starts them too) and waits for it.
bool RunUnix(const char* program, const std::string& line)
{
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION info = {};
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back(0);
    if (!CreateProcessA(program, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return true;
}
}

FolderLink::FolderLink(const std::string& link, const std::string& target) : m_link(link), m_made(false)
{
    const size_t cut = link.find_last_of('\\');
    m_unixLink = UnixName(link.substr(0, cut)) + "/" + link.substr(cut + 1);
    const std::string to = UnixName(target);
    if (m_unixLink.size() > 1 && !to.empty())
        RunUnix("Z:\\bin\\ln", "/bin/ln -sn \"" + to + "\" \"" + m_unixLink + "\"");
    // The host's program may still run when its Windows process has ended.
    for (int i = 0; i < 500 && !m_made; i++, Sleep(10))
        m_made = (GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                 GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FolderLink::~FolderLink()
{
    if (!m_made || !RunUnix("Z:\\bin\\rm", "/bin/rm -f \"" + m_unixLink + "\""))
        return;
    for (int i = 0; i < 500 && GetFileAttributesA(m_link.c_str()) != INVALID_FILE_ATTRIBUTES; i++)
        Sleep(10);
}

namespace
{
// Whether something listens on the port (a connection opened and closed again).
bool ProbePort(int port)
{
    SSocketGuard s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const sockaddr_in target = LoopbackAddress(port);
    return connect(s.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof(target)) == 0;
}
}

bool PumpUntil(const std::function<bool()>& condition, int timeout)
{
    // Checked after every message: a fast transfer posts its progress faster
    // than a busy list takes it, so a drained queue may already hold the end.
    const DWORD start = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - start > static_cast<DWORD>(timeout))
            return false;
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            Sleep(5);
        else if (message.message != WM_QUIT)
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

bool StartSharingOn(PWndApp& app, int port)
{
    app.GetToolBar().CheckButton(19, true);
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 19);
    return PumpUntil([&] { return ProbePort(port); });
}

namespace
{
struct BoxSearch
{
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM data)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    if (processId == search->processId && IsWindowVisible(window) && std::strcmp(name, "#32770") == 0)
        search->box = window;
    return TRUE;
}
}

bool CloseSharingProgram(RunningProgram& program)
{
    HWND main = program.MainWindow();
    if (!main)
        return program.WaitExit(0) >= 0;
    PostMessageA(main, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200; ++i)
    {
        if (program.WaitExit(100) >= 0)
            return true;
        BoxSearch search = {program.ProcessId(), nullptr};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.box)
            PostMessageA(search.box, WM_COMMAND, IDYES, 0);
    }
    return false;
}

// --- Raw peer ---------------------------------------------------------------

void RawPeer::Close()
{
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

int RawPeer::Connect(int port, const char* password, const char* from)
{
    StartSockets();
    Close();
    SSocketGuard s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const sockaddr_in local = LoopbackAddress(0, from), target = LoopbackAddress(port);
    if (bind(s.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0 ||
        connect(s.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof(target)) != 0 || !SetSocketNonBlocking(s.Get()))
        return -1;
    SMemory key;
    key.WriteText(password ? password : "");
    uint32_t code = 0;
    key.GetCrc32(&code);
    unsigned char greeting = 0, hello[kSocketHelloSize], verdict[kSocketVerdictSize] = {};
    BuildHello(hello, 0x1000000, code);
    if (WaitForData(s.Get(), 5000) < 1 || ReceiveExact(s.Get(), &greeting, 1, 5000) != 1 ||
        SendExact(s.Get(), hello, kSocketHelloSize) != kSocketHelloSize || WaitForData(s.Get(), 5000) < 1 ||
        ReceiveExact(s.Get(), verdict, kSocketVerdictSize, 5000) != kSocketVerdictSize || verdict[0] != 0)
        return -1;
    if (verdict[1] == 0)
        m_socket = s.Release();
    return verdict[1];
}

bool RawPeer::Send(const char* name, const std::string& text)
{
    return m_socket != INVALID_SOCKET && SendFramedMessage(m_socket, name, text.c_str(), -1);
}

std::string RawPeer::Text(int timeout)
{
    SString text;
    if (m_socket == INVALID_SOCKET || ReceiveStringPacket(text, m_socket, timeout) < 0)
        return "<none>";
    return text.GetText() ? text.GetText() : "";
}

bool RawPeer::Sized(std::string* out, int timeout)
{
    const std::string announced = Text(timeout);
    const long long size = std::atoll(announced.c_str());
    out->clear();
    if (size < 1)
        return false;
    unsigned char packet[kSocketPacketMaxPayload];
    for (;;)
    {
        const int n = ReceivePacket(m_socket, packet, timeout);
        if (n < 0)
            return false;
        if (n == 0)
            return static_cast<long long>(out->size()) == size;
        out->append(reinterpret_cast<const char*>(packet), n);
    }
}

long long RawPeer::Drain(int timeout)
{
    const DWORD start = GetTickCount();
    std::vector<char> buffer(65536);
    long long total = 0;
    while (GetTickCount() - start < static_cast<DWORD>(timeout))
    {
        const int got = recv(m_socket, buffer.data(), static_cast<int>(buffer.size()), 0);
        if (got == 0 || (got < 0 && WSAGetLastError() != WSAEWOULDBLOCK))
            return total;
        if (got > 0)
            total += got;
        else
            Sleep(10);
    }
    return -1;
}

// --- Scripted server --------------------------------------------------------

class ScriptedServer::_Server : public SSocketServer
{
public:
    explicit _Server(ScriptedServer* owner) : m_owner(owner) {}
    void OnReceiveText(int client, const char* name, const char* text) override
    {
        std::vector<std::string> replies;
        Responder responder;
        {
            std::lock_guard<std::mutex> guard(m_owner->m_lock);
            m_owner->m_requests.push_back(std::string(name) + " " + text);
            replies = m_owner->m_script[name];
            responder = m_owner->m_responder;
        }
        if (responder)
            replies = responder(name, text);
        Sleep(m_owner->m_delay);
        for (const std::string& reply : replies)
            if (!reply.empty() && reply[0] == '=')
                SendText(client, reply.c_str() + 1);
            else
                SendData(client, reply.data(), static_cast<int>(reply.size()), 0);
    }

    void OnConnected(int client, const char* address, uint32_t value) override { ++m_owner->m_connections; }
    int OnSendProgress(int client, int sent, int size, uint32_t tag) override
    {
        Sleep(m_owner->m_pace);
        return 0;
    }

private:
    ScriptedServer* m_owner;
};

ScriptedServer::ScriptedServer()
    : m_server(nullptr), m_port(FreePort()), m_ready(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    Start(false);
    WaitForSingleObject(m_ready, 10000);
    CloseHandle(m_ready);
}

bool ScriptedServer::Run()
{
    m_server = new _Server(this);
    const bool listening = m_server->Listen(m_port);
    SetEvent(m_ready);
    return listening;
}

void ScriptedServer::OnLoopEnd()
{
    delete m_server;
    m_server = nullptr;
}

void ScriptedServer::Script(const std::string& request, const std::vector<std::string>& replies)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_script[request] = replies;
}

void ScriptedServer::SetResponder(const Responder& responder)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_responder = responder;
}

std::vector<std::string> ScriptedServer::Requests()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

// --- Questions --------------------------------------------------------------

std::vector<std::string> Questions::asked;

namespace
{
int Record(HWND, const char* text, const char* caption, UINT)
{
    Questions::asked.push_back(std::string(caption) + ": " + text);
    return IDYES;
}
}

Questions::Questions()
{
    asked.clear();
    PWndApp::SetQuestionFunction(Record);
}

Questions::~Questions()
{
    PWndApp::SetQuestionFunction(nullptr);
}
}
