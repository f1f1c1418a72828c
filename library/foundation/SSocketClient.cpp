#include "SSocketClient.h"
#include "SGuards.h"
#include <cstring>
#include <memory>
#include <new>

namespace
{
// Not a verdict a server can send (those are one byte).
const int kStoppedVerdict = 0x10000;
} // namespace

// --- Stops of the calling thread --------------------------------------------

// A socket being connected belongs to the call, so the stop closes it and the
// call must not close it again; a connected one is only shut down, and the
// failed call closes the connection on its own thread.
SSocketClient::_SAbort::_SAbort(SOCKET socket, bool closes) : m_socket(socket), m_closes(closes), m_link(this)
{
}

SSocketClient::_SAbort::~_SAbort()
{
    Disarm();
}

void SSocketClient::_SAbort::OnStopRequest()
{
    const SOCKET socket = m_socket.exchange(INVALID_SOCKET);
    if (socket != INVALID_SOCKET && m_closes)
        closesocket(socket);
    else if (socket != INVALID_SOCKET)
        shutdown(socket, SD_BOTH);
}

bool SSocketClient::_SAbort::Disarm()
{
    return m_socket.exchange(INVALID_SOCKET) != INVALID_SOCKET;
}

// --- Hidden window ----------------------------------------------------------

LRESULT SSocketClient::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SWM_SOCKET_DATA)
    {
        if (static_cast<SOCKET>(wParam) == m_client->m_socket && m_client->IsConnected())
        {
            if (WSAGETSELECTEVENT(lParam) == FD_READ)
                m_client->ReceiveFromServer();
            else if (WSAGETSELECTEVENT(lParam) == FD_CLOSE)
                m_client->Close();
        }
        return 0;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// --- Construction and connection --------------------------------------------

SSocketClient::SSocketClient()
    : m_wnd(this), m_socket(INVALID_SOCKET), m_port(0), m_buffer(nullptr), m_count(0), m_transferReceived(0),
      m_transferSize(0), m_holding(false), m_keepsLate(false), m_late(false), m_owedPayload(-1)
{
    m_wnd.CreateMessageWindow(reinterpret_cast<LPARAM>(this));
}

SSocketClient::~SSocketClient()
{
    Close();
    m_wnd.DestroyWindow();
}

void SSocketClient::SetAccessKey(const char* text)
{
    m_key.Close();
    if (text)
        m_key.WriteText(text);
    m_key.SeekToStart();
}

void SSocketClient::CopyAccessKey(SSocketClient* other)
{
    m_key.Close();
    if (other && other->m_key.GetSize() > 0)
        m_key.Write(other->m_key.GetData(), other->m_key.GetSize());
    m_key.SeekToStart();
}

int SSocketClient::Connect(const char* host, int port, bool readEvents, uint32_t clientValue)
{
    if (IsConnected())
        return -1;
    uint32_t code = 0;
    m_key.GetCrc32(&code); // an empty key keeps 0
    if (!host || !*host)
        return -1;
    const SString address = m_network.GetHostAddress(host);
    if (address.GetLength() == 0 || inet_addr(address.GetText()) == INADDR_NONE)
        return -1;
    SSocketGuard connection(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (connection.Get() == INVALID_SOCKET)
        return -1;
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<u_short>(port));
    target.sin_addr.s_addr = inet_addr(address.GetText());
    const int verdict = Open(connection.Get(), target, clientValue, code);
    if (verdict == kStoppedVerdict)
    {
        connection.Release(); // closed by the stop
        return -1;
    }
    if (verdict != 0)
        return verdict;
    const long events = readEvents ? FD_READ | FD_CLOSE : FD_CLOSE;
    if (WSAAsyncSelect(connection.Get(), m_wnd.GetHandle(), SWM_SOCKET_DATA, events) != 0)
        return -1;
    m_socket = connection.Release();
    m_host = address;
    m_port = port;
    // With read events on, the notifications read the socket itself.
    if (!readEvents)
        OpenReader();
    return 0;
}

// Connects and runs the handshake; a stop of the calling thread closes the
// socket and ends the call with kStoppedVerdict.
int SSocketClient::Open(SOCKET socket, const sockaddr_in& target, uint32_t clientValue, uint32_t code)
{
    _SAbort abort(socket, true);
    int verdict = -1;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&target), sizeof(target)) == 0)
        verdict = Handshake(socket, clientValue, code);
    return abort.Disarm() ? verdict : kStoppedVerdict;
}

// The socket is made non-blocking first so that every wait below has a real
// time-out, even against a server that stalls halfway through its verdict.
int SSocketClient::Handshake(SOCKET socket, uint32_t clientValue, uint32_t code)
{
    if (!SetSocketNonBlocking(socket))
        return -1;
    SetSocketNoDelay(socket);
    unsigned char greeting = 0;
    if (WaitForData(socket) < 1 || ReceiveExact(socket, &greeting, 1) != 1)
        return -1;
    unsigned char hello[kSocketHelloSize];
    BuildHello(hello, clientValue, code);
    if (SendExact(socket, hello, kSocketHelloSize) != kSocketHelloSize)
        return -1;
    unsigned char verdict[kSocketVerdictSize];
    if (WaitForData(socket) < 1 || ReceiveExact(socket, verdict, kSocketVerdictSize) != kSocketVerdictSize)
        return -1;
    if (verdict[0] != 0)
        return -1;
    return verdict[1];
}

void SSocketClient::Close()
{
    const bool wasOpen = IsConnected();
    if (wasOpen)
    {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
        DiscardNotifications();
    }
    m_reader.reset();
    m_late = false;
    m_owedPayload = -1;
    m_holding = false;
    m_held.Close();
    FreeMessageBuffer(&m_buffer, &m_count);
    if (wasOpen)
        OnDisconnected();
    m_host = "";
    m_port = 0;
}

// Notifications still queued for the closed socket must not reach a later
// connection that gets the same handle.
void SSocketClient::DiscardNotifications()
{
    MSG message;
    while (m_wnd.GetHandle() &&
           PeekMessageA(&message, m_wnd.GetHandle(), SWM_SOCKET_DATA, SWM_SOCKET_DATA, PM_REMOVE))
    {
    }
}

// --- Framed messages --------------------------------------------------------

bool SSocketClient::SendMessage(const char* name, const void* data, int n)
{
    if (!IsConnected())
        return false;
    if (m_holding)
        return HoldMessage(name, data, n);
    const int length = n < 0 ? (data ? static_cast<int>(std::strlen(static_cast<const char*>(data))) + 1 : 0) : n;
    KeyTransformOut(data, length, m_key.GetData(), m_key.GetSize());
    bool outOfStep = false;
    const bool sent = SendFramedMessage(m_socket, name, data, n, &outOfStep);
    KeyTransformIn(data, length, m_key.GetData(), m_key.GetSize());
    // Half a request on the wire would swallow the next one.
    if (outOfStep)
        Close();
    return sent;
}

bool SSocketClient::HoldMessage(const char* name, const void* data, int n)
{
    const long long total = LayOutFramedMessage(nullptr, name, data, n);
    std::unique_ptr<unsigned char[]> message(total < 0 ? nullptr : new (std::nothrow) unsigned char[total]);
    if (!message)
        return false;
    const int length = n < 0 ? (data ? static_cast<int>(std::strlen(static_cast<const char*>(data))) + 1 : 0) : n;
    KeyTransformOut(data, length, m_key.GetData(), m_key.GetSize());
    LayOutFramedMessage(message.get(), name, data, n);
    KeyTransformIn(data, length, m_key.GetData(), m_key.GetSize());
    return m_held.Write(message.get(), static_cast<int>(total)) == total;
}

// A part of the requests on the wire would swallow the next one.
bool SSocketClient::SendHeld()
{
    m_holding = false;
    const int n = m_held.GetSize();
    if (n == 0)
        return true;
    const int sent = IsConnected() ? SendMessageRun(m_socket, m_held.GetData(), n) : 0;
    m_held.Close();
    if (sent > 0 && sent < n)
        Close();
    return sent == n;
}

void SSocketClient::ReceiveFromServer()
{
    const int step = ReceiveMessageStep(m_socket, &m_buffer, &m_count);
    if (step == 1)
    {
        Close();
        return;
    }
    if (step != 0)
        return;
    std::unique_ptr<unsigned char[]> message(m_buffer);
    const int size = m_count;
    m_buffer = nullptr;
    m_count = 0;
    KeyTransformIn(message.get(), size, m_key.GetData(), m_key.GetSize());
    const char* name = nullptr;
    const void* data = nullptr;
    int nameLength = 0;
    int dataLength = 0;
    bool text = false;
    if (!ParseFramedMessage(message.get(), size, &name, &nameLength, &data, &dataLength, &text))
        return;
    if (text)
        OnReceiveText(name, static_cast<const char*>(data));
    else
        OnReceiveData(name, data, dataLength);
}

bool SSocketClient::FlushSend()
{
    return FlushSendQueue(m_socket);
}
