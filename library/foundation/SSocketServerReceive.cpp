// Receiving in SSocketServer: framed messages within the byte budget and their
// deadline, and the watch that closes peers which stand still.
#include "SSocketServer.h"
#include <cstring>
#include <memory>

namespace
{
// Milliseconds since the stamp; a stamp taken after `now` (within the same
// pass) counts as none.
DWORD Since(DWORD stamp, DWORD now)
{
    const DWORD elapsed = now - stamp;
    return elapsed > 0x7FFFFFFF ? 0 : elapsed;
}
} // namespace

// --- Receiving --------------------------------------------------------------

namespace
{
// Whole messages taken at one notice of a client.
const int MESSAGES_PER_NOTICE = 2;

// The total a whole header announces; -1 for one that the transport refuses.
int HeaderTotal(const unsigned char* header)
{
    const uint32_t total = LoadU32(header + 6);
    if (!HasSocketMagic(header) || total < static_cast<uint32_t>(kSocketMessageHeaderSize) ||
        total > static_cast<uint32_t>(kSocketMessageMaxSize))
        return -1;
    return static_cast<int>(total);
}
} // namespace

// The stage holds something to act on: a whole message, or a whole header
// (of a large message, or one that is refused).
bool SSocketServer::IsStageReady(const _SPeer& peer)
{
    if (peer.staged < kSocketMessageHeaderSize)
        return false;
    const int total = HeaderTotal(peer.stage);
    return total < 0 || total > SHORT_MESSAGE || total <= peer.staged;
}

// `posted` is a notice of the server's own (or a look of the watch): the
// stage holds more to take, or a socket's notice was taken without a read.
void SSocketServer::ReceiveFromClient(SOCKET socket, int client, int row, bool posted)
{
    // A header that waits for room is looked at again by the watch only: its
    // bytes stay unread, and each look would bring another notice at once.
    if (m_peers[row]->waiting)
        return;
    if (m_buffers.GetAt(row))
        ReceiveLarge(socket, client, row);
    else
        ReceiveStaged(socket, client, row, posted);
}

// One receive per notice, of all the stage takes: each re-enables the
// socket's next notice while bytes remain, so a second one would queue a
// notice more each time, and a peer that floods would push others' notices
// ever further back. A notice of the server's own reads only when the stage
// holds nothing to take.
void SSocketServer::ReceiveStaged(SOCKET socket, int client, int row, bool posted)
{
    _SPeer& peer = *m_peers[row];
    const bool read = peer.staged < SHORT_MESSAGE && !(posted && IsStageReady(peer));
    if (read)
    {
        const int got = recv(socket, reinterpret_cast<char*>(peer.stage + peer.staged), SHORT_MESSAGE - peer.staged, 0);
        peer.owed = false;
        if (got < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
            return;
        if (got < 1)
        {
            DropClient(row);
            return;
        }
        peer.staged += got;
        m_heldBytes += got;
        NoteMessageBytes(row);
    }
    else if (!posted)
        peer.owed = true;
    TakeStaged(socket, client, row, read);
}

// Takes the messages the stage begins with, once they are whole, at most
// MESSAGES_PER_NOTICE per notice (the download's size and file requests come
// as a pair); the next ones are taken at a notice posted behind the others'.
// So is a read owed to a socket notice that was taken without one (the stage
// was full): nothing else would bring another. The replies go out together
// once the messages are handled.
void SSocketServer::TakeStaged(SOCKET socket, int client, int row, bool read)
{
    for (int taken = 0; taken < MESSAGES_PER_NOTICE && row >= 0 && TakeMessage(socket, client, row, read); taken++)
        row = FindConnectedClient(client); // the events may change the table
    Uncork(client);
    row = FindConnectedClient(client);
    if (row >= 0 && !m_buffers.GetAt(row) && !m_peers[row]->waiting &&
        (m_peers[row]->owed || IsStageReady(*m_peers[row])))
        m_wnd.PostMessage(kStagedMessage, static_cast<WPARAM>(socket), 0);
}

// True when a whole message was taken and handled.
bool SSocketServer::TakeMessage(SOCKET socket, int client, int row, bool read)
{
    _SPeer& peer = *m_peers[row];
    if (peer.staged < kSocketMessageHeaderSize)
        return false;
    const int total = HeaderTotal(peer.stage);
    if (total < 0)
    {
        // A refused header: the stream is out of step.
        DropClient(row);
        return false;
    }
    if (total > SHORT_MESSAGE)
    {
        // Let in at a later look, it is read on now for the same reason.
        if (BeginLarge(row, total) && !read)
            ReceiveLarge(socket, client, row);
        return false;
    }
    if (total > peer.staged)
        return false;
    unsigned char message[SHORT_MESSAGE];
    std::memcpy(message, peer.stage, total);
    peer.staged -= total;
    std::memmove(peer.stage, peer.stage + total, peer.staged);
    m_heldBytes -= total;
    peer.inMessage = false;
    if (peer.staged > 0)
        NoteMessageBytes(row);
    peer.corked = true;
    Dispatch(client, message, total);
    return true;
}

// A message larger than the stage goes on in a buffer of its own, once the
// byte budget has room for it; until then its header waits in the stage.
// True when it goes on.
bool SSocketServer::BeginLarge(int row, int total)
{
    _SPeer& peer = *m_peers[row];
    if (!AdmitMessage(row, total))
    {
        peer.waiting = true;
        return false;
    }
    unsigned char* buffer = AllocateMessageBuffer(static_cast<size_t>(total));
    if (!buffer)
    {
        DropClient(row);
        return false;
    }
    std::memcpy(buffer, peer.stage, peer.staged);
    m_heldBytes += total - peer.staged;
    m_buffers.SetAt(row, buffer);
    m_counts.SetAt(row, peer.staged);
    peer.staged = 0;
    return true;
}

void SSocketServer::ReceiveLarge(SOCKET socket, int client, int row)
{
    unsigned char* buffer = m_buffers.GetAt(row);
    int count = m_counts.GetAt(row);
    const int before = count;
    const int step = ReceiveMessageStep(socket, &buffer, &count);
    m_buffers.SetAt(row, buffer);
    m_counts.SetAt(row, count);
    if (step == 1)
    {
        DropClient(row);
        return;
    }
    if (count > before)
        NoteMessageBytes(row);
    if (step != 0)
        return;
    m_heldBytes -= count;
    std::unique_ptr<unsigned char[]> message(buffer);
    m_buffers.SetAt(row, nullptr);
    m_counts.SetAt(row, 0);
    m_peers[row]->inMessage = false;
    m_peers[row]->corked = true;
    Dispatch(client, message.get(), count);
    Uncork(client);
}

// The replies that the requests queued go out now, with one call.
void SSocketServer::Uncork(int client)
{
    const int row = FindConnectedClient(client);
    if (row < 0 || !m_peers[row]->corked)
        return;
    m_peers[row]->corked = false;
    FlushOutput(row);
}

void SSocketServer::Dispatch(int client, unsigned char* message, int size)
{
    KeyTransformIn(message, size, m_key.GetData(), m_key.GetSize());
    const char* name = nullptr;
    const void* data = nullptr;
    int nameLength = 0;
    int dataLength = 0;
    bool text = false;
    if (!ParseFramedMessage(message, size, &name, &nameLength, &data, &dataLength, &text))
        return;
    if (text)
        OnReceiveText(client, name, static_cast<const char*>(data));
    else
        OnReceiveData(client, name, data, dataLength);
}

// Keeps the times of the row's message: when it began (its deadline runs from
// there) and when it last moved.
void SSocketServer::NoteMessageBytes(int row)
{
    _SPeer& peer = *m_peers[row];
    const DWORD now = timeGetTime();
    if (!peer.inMessage)
        peer.messageStart = now;
    peer.inMessage = true;
    peer.messageMoved = now;
}

// Whether the byte budget has room for a message of this total beside what
// the others hold, where a short request always fits (the part kept back for
// them holds one per client). When it has not, holders of the largest
// messages are closed for it: any that moved nothing since it came and for
// STILL_TIME, and after STALL_TIME any that stands still. False when that is
// not enough, and the header then waits for room.
bool SSocketServer::AdmitMessage(int row, int total)
{
    const _SPeer& peer = *m_peers[row];
    const DWORD now = timeGetTime();
    const DWORD waited = peer.inMessage ? Since(peer.messageStart, now) : 0;
    const DWORD still = waited > static_cast<DWORD>(STILL_TIME) ? waited : STILL_TIME;
    const DWORD stall = still < static_cast<DWORD>(STALL_TIME) ? still : STALL_TIME;
    for (;;)
    {
        const int forLarge = MAX_HELD_BYTES - MAX_CLIENTS * SHORT_MESSAGE - (m_heldBytes - RowHeldBytes(row));
        if (total <= (forLarge > SHORT_MESSAGE ? forLarge : SHORT_MESSAGE))
            return true;
        const int holder = FindStalledPeer(row, false, stall);
        if (holder < 0)
            return false;
        AbandonPeer(holder);
    }
}

// The open row other than `except` that holds the most in its unfinished
// message (or its reply queue) and moved none of it for `stall` ms, the one
// standing still longest among equals; -1 when none.
int SSocketServer::FindStalledPeer(int except, bool output, DWORD stall) const
{
    const DWORD now = timeGetTime();
    int found = -1;
    int most = 0;
    DWORD longest = 0;
    for (int row = 0; row < m_sockets.GetCount(); row++)
    {
        const _SPeer& peer = *m_peers[row];
        if (row == except || m_sockets.GetAt(row) == INVALID_SOCKET)
            continue;
        const int held = output ? peer.output.GetSize() : RowHeldBytes(row);
        const DWORD still = Since(output ? peer.outputMoved : peer.messageMoved, now);
        if (held > 0 && still >= stall && (held > most || (held == most && still > longest)))
        {
            found = row;
            most = held;
            longest = still;
        }
    }
    return found;
}

// Closes a peer at once and frees what it holds, so that its room serves the
// others now; its row goes once the current call is over.
void SSocketServer::AbandonPeer(int row)
{
    _SPeer& peer = *m_peers[row];
    m_heldBytes -= RowHeldBytes(row);
    unsigned char* buffer = m_buffers.GetAt(row);
    int count = m_counts.GetAt(row);
    FreeMessageBuffer(&buffer, &count);
    m_buffers.SetAt(row, nullptr);
    m_counts.SetAt(row, 0);
    peer.staged = 0;
    m_queuedBytes -= peer.output.GetSize();
    peer.output.Clear();
    peer.inMessage = false;
    peer.waiting = false;
    BreakClient(row);
}

// --- Watch ------------------------------------------------------------------

// Closes the handshakes that are overdue, the peers whose message passed its
// deadline and those whose queue stood still for its time-out, and looks
// again at the headers that wait for room.
void SSocketServer::WatchPeers()
{
    const DWORD now = timeGetTime();
    m_lastWatch = now;
    ExpirePending();
    for (int row = 0; row < m_sockets.GetCount(); row++)
    {
        if (m_sockets.GetAt(row) == INVALID_SOCKET)
            continue;
        _SPeer& peer = *m_peers[row];
        // A notice of room may have been missed: the queue is tried here too.
        FlushOutput(row);
        if (m_sockets.GetAt(row) == INVALID_SOCKET)
            continue;
        if ((peer.output.GetSize() > 0 && Since(peer.outputMoved, now) >= static_cast<DWORD>(peer.outputTimeout)) ||
            (peer.inMessage && Since(peer.messageStart, now) >= static_cast<DWORD>(MESSAGE_DEADLINE)))
            AbandonPeer(row);
    }
    RetryWaiting();
}

// The events a message raises may change the table, so each waiting client
// is found again by its number.
void SSocketServer::RetryWaiting()
{
    SArray<int> waiting;
    for (int row = 0; row < m_sockets.GetCount(); row++)
        if (m_sockets.GetAt(row) != INVALID_SOCKET && m_peers[row]->waiting)
            waiting.Add(m_numbers.GetAt(row));
    for (int i = 0; i < waiting.GetCount(); i++)
    {
        const int row = FindConnectedClient(waiting.GetAt(i));
        if (row < 0 || !m_peers[row]->waiting)
            continue;
        m_peers[row]->waiting = false;
        ReceiveFromClient(m_sockets.GetAt(row), waiting.GetAt(i), row, true);
    }
}

// While the thread waited for a sender it could neither read nor write for
// the others: that time does not count against their messages and queues.
void SSocketServer::ExcuseWait(DWORD waited)
{
    for (int row = 0; row < m_sockets.GetCount(); row++)
    {
        _SPeer& peer = *m_peers[row];
        peer.outputMoved += waited;
        peer.messageStart += waited;
        peer.messageMoved += waited;
    }
    for (int i = 0; i < m_pending.GetCount(); i++)
        m_pending.GetPtr(i)->start += waited;
}
