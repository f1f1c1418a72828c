#include "SSocketServer.h"
#include <cstring>
#include <memory>

namespace
{
// A socket closed by the server is released only when this message comes
// back through the queue: notifications already queued for it then find no
// row, and its handle cannot be reused by a new connection in the meantime.
const UINT kRetireSocketMessage = WM_USER + 1;
// A client whose send failed is removed through the queue, once the call that
// found the failure is over.
const UINT kBrokenClientMessage = WM_USER + 2;
// Runs while listening: handshakes, deadlines and stalled queues are checked
// at least this often, also while socket notices keep the timer from coming.
const UINT_PTR kWatchTimer = 1;
const DWORD kWatchPeriod = 100;
// Connections still in their handshake; a new one beyond this closes the
// oldest, so that silent connections cannot shut out a real client.
const int kMaxPending = 16;

void SendVerdict(SOCKET socket, unsigned char first, unsigned char second)
{
    const unsigned char verdict[kSocketVerdictSize] = {first, second};
    SendExact(socket, verdict, kSocketVerdictSize);
}
} // namespace

// --- Hidden window ----------------------------------------------------------

LRESULT SSocketServer::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_SOCKET_LISTEN:
    case SWM_SOCKET_DATA:
        m_server->OnSocketEvent(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam),
                                WSAGETSELECTERROR(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kWatchTimer)
        {
            m_server->WatchPeers();
            return 0;
        }
        break;
    case kRetireSocketMessage:
        closesocket(static_cast<SOCKET>(wParam));
        return 0;
    case kBrokenClientMessage:
        m_server->OnBrokenClient(static_cast<int>(wParam));
        return 0;
    case kStagedMessage:
        m_server->OnStagedNotice(static_cast<SOCKET>(wParam));
        return 0;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// --- Construction -----------------------------------------------------------

SSocketServer::SSocketServer()
    : m_wnd(this), m_listenSocket(INVALID_SOCKET), m_port(0), m_nextClient(0), m_clientCount(0),
      m_peerCount(0), m_heldBytes(0), m_queuedBytes(0), m_lastWatch(0)
{
    m_wnd.CreateMessageWindow(reinterpret_cast<LPARAM>(this));
}

SSocketServer::~SSocketServer()
{
    Close();
    CloseRetiredSockets();
    m_wnd.DestroyWindow();
}

void SSocketServer::SetAccessKey(const char* text)
{
    m_key.Close();
    if (text)
        m_key.WriteText(text);
    m_key.SeekToStart();
}

bool SSocketServer::Listen(int port)
{
    if (IsListening())
        return false;
    m_port = 0;
    m_nextClient = 0;
    m_clientCount = 0;
    m_peerCount = 0;
    SSocketGuard listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (listener.Get() == INVALID_SOCKET)
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener.Get(), 4) != 0 ||
        WSAAsyncSelect(listener.Get(), m_wnd.GetHandle(), SWM_SOCKET_LISTEN, FD_ACCEPT | FD_CLOSE) != 0)
        return false;
    m_listenSocket = listener.Release();
    m_port = port;
    m_wnd.SetTimer(kWatchTimer, kWatchPeriod);
    return true;
}

// --- Notifications ----------------------------------------------------------

void SSocketServer::OnSocketEvent(SOCKET socket, int event, int error)
{
    if (timeGetTime() - m_lastWatch >= kWatchPeriod)
        WatchPeers();
    if (socket == m_listenSocket && socket != INVALID_SOCKET)
    {
        if (event == FD_ACCEPT)
            AcceptClient();
        else if (event == FD_CLOSE)
            CloseAll();
        return;
    }
    // Any other socket is a connection, also when its notification still
    // carries the listening socket's message (accepted sockets inherit it).
    const int pending = FindPending(socket);
    if (pending >= 0)
    {
        OnPendingEvent(pending, event);
        return;
    }
    const int row = FindSocketRow(socket);
    if (row < 0)
        return;
    if (event == FD_READ)
        ReceiveFromClient(socket, m_numbers.GetAt(row), row);
    else if (event == FD_WRITE)
        FlushOutput(row);
    else if (event == FD_CLOSE)
        ClientClosed(row);
}

void SSocketServer::OnStagedNotice(SOCKET socket)
{
    const int row = FindSocketRow(socket);
    if (row >= 0 && socket != INVALID_SOCKET)
        ReceiveFromClient(socket, m_numbers.GetAt(row), row, true);
}

// --- Handshake --------------------------------------------------------------

void SSocketServer::AcceptClient()
{
    SSocketGuard connection(accept(m_listenSocket, nullptr, nullptr));
    if (connection.Get() == INVALID_SOCKET)
        return;
    // Replace the inherited notifications before anything else can arrive.
    // FD_WRITE tells when a client's socket takes its queued replies again.
    SetSocketNoDelay(connection.Get());
    if (WSAAsyncSelect(connection.Get(), m_wnd.GetHandle(), SWM_SOCKET_DATA, FD_READ | FD_WRITE | FD_CLOSE) != 0)
    {
        RetireSocket(connection.Release());
        return;
    }
    // Beyond the client bound a connection is closed before its handshake.
    if (m_clientCount >= MAX_CLIENTS)
    {
        RetireSocket(connection.Release());
        return;
    }
    if (m_pending.GetCount() >= kMaxPending)
        ClosePending(0);
    const unsigned char greeting = 1;
    if (SendExact(connection.Get(), &greeting, 1) != 1)
    {
        RetireSocket(connection.Release());
        return;
    }
    _SPending pending = {};
    pending.socket = connection.Release();
    pending.start = timeGetTime();
    m_pending.Add(pending);
    // The hello may already be waiting.
    OnPendingEvent(m_pending.GetCount() - 1, FD_READ);
}

// Collects the 10 hello bytes as they come, without blocking the thread.
void SSocketServer::OnPendingEvent(int index, int event)
{
    _SPending* pending = m_pending.GetPtr(index);
    if (event == FD_CLOSE)
    {
        ClosePending(index);
        return;
    }
    if (event != FD_READ)
        return;
    const int got = recv(pending->socket, reinterpret_cast<char*>(pending->hello + pending->count),
                         kSocketHelloSize - pending->count, 0);
    if (got == 0 || (got < 0 && WSAGetLastError() != WSAEWOULDBLOCK))
    {
        ClosePending(index);
        return;
    }
    if (got > 0)
        pending->count += got;
    if (pending->count < kSocketHelloSize)
        return;
    const _SPending done = *pending;
    m_pending.RemoveAt(index);
    FinishHandshake(done);
}

void SSocketServer::FinishHandshake(_SPending pending)
{
    SSocketGuard connection(pending.socket);
    uint32_t code = 0;
    m_key.GetCrc32(&code); // an empty key keeps 0
    if (pending.hello[0] != kSocketProtocolVersion || LoadU32(pending.hello + 6) != code)
    {
        SendVerdict(connection.Get(), pending.hello[0] != kSocketProtocolVersion ? 1 : 2, 0);
        RetireSocket(connection.Release());
        return;
    }
    // Handshakes begun below the client bound may end above it.
    if (m_clientCount >= MAX_CLIENTS)
    {
        RetireSocket(connection.Release());
        return;
    }
    const int client = m_nextClient++;
    const SString address = GetPeerAddressText(connection.Get());
    const uint32_t clientValue = LoadU32(pending.hello + 2);
    const int refusal = OnAccept(client, address.GetText(), clientValue);
    if (refusal != 0 || !IsListening())
    {
        // Only one byte travels: a code outside 1..255 must still read as a refusal.
        const int code = refusal >= 1 && refusal <= 255 ? refusal : 255;
        SendVerdict(connection.Get(), 0, static_cast<unsigned char>(code));
        RetireSocket(connection.Release());
        return;
    }
    const unsigned char accepted[kSocketVerdictSize] = {0, 0};
    if (SendExact(connection.Get(), accepted, kSocketVerdictSize) != kSocketVerdictSize)
    {
        RetireSocket(connection.Release());
        return;
    }
    AddClient(connection.Release(), address, client);
    OnConnected(client, address.GetText(), clientValue);
}

void SSocketServer::ClosePending(int index)
{
    RetireSocket(m_pending.GetPtr(index)->socket);
    m_pending.RemoveAt(index);
}

// A peer that does not complete its hello in time is closed quietly.
void SSocketServer::ExpirePending()
{
    const DWORD now = timeGetTime();
    for (int i = m_pending.GetCount() - 1; i >= 0; i--)
        if (now - m_pending.GetPtr(i)->start >= static_cast<DWORD>(kSocketDefaultTimeout))
            ClosePending(i);
}

int SSocketServer::FindPending(SOCKET socket) const
{
    for (int i = 0; i < m_pending.GetCount(); i++)
        if (m_pending.GetPtr(i)->socket == socket)
            return i;
    return -1;
}

// --- Client table -----------------------------------------------------------

void SSocketServer::AddClient(SOCKET socket, const SString& address, int client)
{
    m_peerCount = -1;
    m_clientCount++;
    m_sockets.Add(socket);
    m_addresses.Add(address.GetText());
    m_numbers.Add(client);
    m_buffers.Add(nullptr);
    m_counts.Add(0);
    m_senders.Add(nullptr);
    m_peers.emplace_back(new _SPeer);
}

void SSocketServer::DeleteSender(int row)
{
    _SThread* sender = m_senders.GetAt(row);
    if (!sender)
        return;
    sender->Stop();
    delete sender;
    m_senders.SetAt(row, nullptr);
}

void SSocketServer::RemoveClient(int row)
{
    if (row < 0 || row >= m_sockets.GetCount())
        return;
    DeleteSender(row);
    if (m_sockets.GetAt(row) != INVALID_SOCKET)
        RetireSocket(m_sockets.GetAt(row));
    m_heldBytes -= RowHeldBytes(row);
    m_queuedBytes -= m_peers[row]->output.GetSize();
    delete[] m_buffers.GetAt(row);
    m_peers.erase(m_peers.begin() + row);
    m_sockets.RemoveAt(row);
    m_addresses.DeleteAndRemoveAt(row);
    m_numbers.RemoveAt(row);
    m_buffers.RemoveAt(row);
    m_counts.RemoveAt(row);
    m_senders.RemoveAt(row);
    m_peerCount = -1;
    m_clientCount--;
}

// Removes a client whose connection can no longer be trusted.
void SSocketServer::DropClient(int row)
{
    const int client = m_numbers.GetAt(row);
    RemoveClient(row);
    OnDisconnected(client);
}

void SSocketServer::ClientClosed(int row)
{
    DropClient(row);
}

// A send that failed or timed out may have left part of a packet on the
// wire: the peer is closed at once, so that later replies to it fail without
// a time-out each, and its row goes once the current call is over. On another
// thread only the socket is shut; the peer's close then removes the row.
void SSocketServer::BreakClient(int row)
{
    const SOCKET socket = m_sockets.GetAt(row);
    if (socket == INVALID_SOCKET)
        return;
    if (GetWindowThreadProcessId(m_wnd.GetHandle(), nullptr) != GetCurrentThreadId())
    {
        shutdown(socket, SD_BOTH);
        return;
    }
    m_sockets.SetAt(row, INVALID_SOCKET);
    RetireSocket(socket);
    m_wnd.PostMessage(kBrokenClientMessage, static_cast<WPARAM>(m_numbers.GetAt(row)), 0);
}

void SSocketServer::OnBrokenClient(int client)
{
    const int row = FindClientIndex(client);
    if (row >= 0 && m_sockets.GetAt(row) == INVALID_SOCKET)
        DropClient(row);
}

int SSocketServer::RowHeldBytes(int row) const
{
    return MessageBufferBytes(m_buffers.GetAt(row), m_counts.GetAt(row)) + m_peers[row]->staged;
}

void SSocketServer::CloseAll()
{
    const bool wasListening = IsListening();
    for (int row = 0; row < m_senders.GetCount(); row++)
        DeleteSender(row);
    for (int row = 0; row < m_sockets.GetCount(); row++)
        RetireSocket(m_sockets.GetAt(row));
    for (int row = 0; row < m_buffers.GetCount(); row++)
        delete[] m_buffers.GetAt(row);
    m_sockets.RemoveAll();
    m_addresses.DeleteAndRemoveAll();
    m_numbers.RemoveAll();
    m_buffers.RemoveAll();
    m_counts.RemoveAll();
    m_senders.RemoveAll();
    m_peers.clear();
    m_heldBytes = 0;
    m_queuedBytes = 0;
    m_wnd.KillTimer(kWatchTimer);
    while (m_pending.GetCount() > 0)
        ClosePending(m_pending.GetCount() - 1);
    // The port is freed at once so that the server can listen again.
    if (m_listenSocket != INVALID_SOCKET)
    {
        WSAAsyncSelect(m_listenSocket, m_wnd.GetHandle(), 0, 0);
        closesocket(m_listenSocket);
    }
    m_listenSocket = INVALID_SOCKET;
    if (wasListening)
        OnClosed();
    m_port = 0;
    m_nextClient = 0;
    m_clientCount = 0;
    m_peerCount = 0;
}

void SSocketServer::Close()
{
    CloseAll();
}

void SSocketServer::RetireSocket(SOCKET socket)
{
    if (socket == INVALID_SOCKET)
        return;
    WSAAsyncSelect(socket, m_wnd.GetHandle(), 0, 0);
    shutdown(socket, SD_BOTH);
    if (!m_wnd.GetHandle() || !m_wnd.PostMessage(kRetireSocketMessage, socket, 0))
        closesocket(socket);
}

void SSocketServer::CloseRetiredSockets()
{
    MSG message;
    while (m_wnd.GetHandle() &&
           PeekMessageA(&message, m_wnd.GetHandle(), kRetireSocketMessage, kRetireSocketMessage, PM_REMOVE))
        closesocket(static_cast<SOCKET>(message.wParam));
}

int SSocketServer::FindSocketRow(SOCKET socket) const
{
    for (int row = 0; row < m_sockets.GetCount(); row++)
        if (m_sockets.GetAt(row) == socket)
            return row;
    return -1;
}

int SSocketServer::FindClientIndex(int client) const
{
    for (int row = 0; row < m_numbers.GetCount(); row++)
        if (m_numbers.GetAt(row) == client)
            return row;
    return -1;
}

int SSocketServer::FindConnectedClient(int client) const
{
    const int row = FindClientIndex(client);
    return row >= 0 && m_sockets.GetAt(row) != INVALID_SOCKET ? row : -1;
}

int SSocketServer::GetPeerCount()
{
    if (!IsListening())
        return 0;
    if (m_peerCount < 0)
    {
        m_peerCount = 0;
        for (int row = 0; row < m_addresses.GetCount(); row++)
        {
            const SString address = m_addresses.GetAt(row);
            if (address.GetLength() > 0 && m_addresses.Find(address.GetText(), 0, row) < 0)
                m_peerCount++;
        }
    }
    return m_peerCount;
}

bool SSocketServer::IsPeerConnected(const char* address) const
{
    if (!address || !*address)
        return false;
    for (int row = 0; row < m_addresses.GetCount(); row++)
        if (std::strcmp(m_addresses.GetAt(row).GetText(), address) == 0)
            return true;
    return false;
}
