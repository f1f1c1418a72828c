// Sending from SSocketServer: replies through each client's queue on the owner
// thread, and sized transfers through the per-client sender thread.
#include "SSocketServer.h"
#include "SFile.h"
#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace
{
// Packets sent with one call by the sender thread.
const int kBatchPackets = 16;
// The most of queued replies that go with a transfer's first send, and the
// most bytes before its first packet: those replies and the announced size.
const int kLeadReplies = 2048;
const int kLeadBytes = kLeadReplies + kSocketPacketHeaderSize + 24;
const int kPacketWireSize = kSocketPacketHeaderSize + kSocketPacketMaxPayload;

// The send events take counts in an int: larger ones are told as INT_MAX.
int CapCount(long long count)
{
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}
// Reply queues grow and shrink by blocks of this size.
const int kOutputBlock = 16 * 1024;

bool IsWouldBlock()
{
    const int error = WSAGetLastError();
    return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAENOBUFS;
}

// Waits until the socket may take more, at most `timeout` ms.
void WaitWritable(SOCKET s, int timeout)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait = {timeout / 1000, (timeout % 1000) * 1000};
    select(0, nullptr, &set, nullptr, &wait);
}
} // namespace

// --- Reply queue ------------------------------------------------------------

bool SSocketServer::_SOutput::Append(const void* data, int n)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    const size_t blocks = m_blocks.size();
    const int tail = m_tail;
    for (int done = 0; done < n;)
    {
        if (m_blocks.empty() || m_tail == kOutputBlock)
        {
            unsigned char* block = new (std::nothrow) unsigned char[kOutputBlock];
            if (!block)
            {
                m_blocks.resize(blocks);
                m_tail = tail;
                return false;
            }
            m_blocks.emplace_back(block);
            m_tail = 0;
        }
        const int step = n - done < kOutputBlock - m_tail ? n - done : kOutputBlock - m_tail;
        std::memcpy(m_blocks.back().get() + m_tail, bytes + done, step);
        m_tail += step;
        done += step;
    }
    m_size += n;
    return true;
}

int SSocketServer::_SOutput::Send(SOCKET s)
{
    int moved = 0;
    while (m_size > 0)
    {
        const int end = m_blocks.size() == 1 ? m_tail : kOutputBlock;
        const int sent = send(s, reinterpret_cast<const char*>(m_blocks.front().get() + m_head), end - m_head, 0);
        if (sent < 0)
            return IsWouldBlock() ? moved : -1;
        if (sent == 0)
            return moved;
        moved += sent;
        m_size -= sent;
        m_head += sent;
        if (m_head == end)
        {
            m_blocks.pop_front();
            m_head = 0;
        }
    }
    return moved;
}

int SSocketServer::_SOutput::Take(unsigned char* out, int room)
{
    if (m_size > room)
        return -1;
    int moved = 0;
    for (size_t i = 0; i < m_blocks.size(); i++)
    {
        const int begin = i == 0 ? m_head : 0;
        const int end = i + 1 == m_blocks.size() ? m_tail : kOutputBlock;
        std::memcpy(out + moved, m_blocks[i].get() + begin, end - begin);
        moved += end - begin;
    }
    Clear();
    return moved;
}

void SSocketServer::_SOutput::Clear()
{
    m_blocks.clear();
    m_head = 0;
    m_tail = 0;
    m_size = 0;
}

// --- Sending ----------------------------------------------------------------

// A packet refused before sending (too long) leaves the peer in step.
bool SSocketServer::SendText(int client, const char* text, int timeout)
{
    const char* t = text ? text : "";
    const size_t length = std::strlen(t) + 1;
    if (length > static_cast<size_t>(kSocketPacketMaxPayload))
        return false;
    return SendPacketTo(client, t, static_cast<int>(length), timeout);
}

bool SSocketServer::SendPacketTo(int client, const void* data, int size, int timeout)
{
    const int row = IsListening() ? FindConnectedClient(client) : -1;
    if (row < 0 || (data && (size < 0 || size > kSocketPacketMaxPayload)))
        return false;
    unsigned char packet[kPacketWireSize];
    const int payload = data ? size : 0;
    BuildPacketHeader(packet, payload);
    if (payload > 0)
        std::memcpy(packet + kSocketPacketHeaderSize, data, payload);
    return QueueReply(row, packet, kSocketPacketHeaderSize + payload, timeout);
}

// What the socket takes goes at once, when nothing waits before it and the
// client's requests are not being handled (their replies then go together);
// the rest waits in the queue for FD_WRITE, which only a send refused for
// want of room brings: a short send is followed by another. A reply that does
// not fit the queue closes the client.
bool SSocketServer::QueueReply(int row, const unsigned char* bytes, int n, int timeout)
{
    _SPeer& peer = *m_peers[row];
    int sent = 0;
    if (peer.output.GetSize() == 0 && peer.corked)
    {
        peer.outputMoved = timeGetTime();
        peer.outputTimeout = 0;
    }
    else if (peer.output.GetSize() == 0)
    {
        while (sent < n)
        {
            const int step = send(m_sockets.GetAt(row), reinterpret_cast<const char*>(bytes + sent), n - sent, 0);
            if (step < 0 && !IsWouldBlock())
            {
                BreakClient(row);
                return false;
            }
            if (step <= 0)
                break;
            sent += step;
        }
        if (sent == n)
            return true;
        peer.outputMoved = timeGetTime();
        peer.outputTimeout = 0;
    }
    const int rest = n - sent;
    if (peer.output.GetSize() + rest > MAX_QUEUED_BYTES || !MakeQueueRoom(row, rest) ||
        !peer.output.Append(bytes + sent, rest))
    {
        BreakClient(row);
        return false;
    }
    m_queuedBytes += rest;
    peer.outputTimeout = timeout > peer.outputTimeout ? timeout : peer.outputTimeout;
    return true;
}

// Closes the largest stalled queues of other clients while all the queues
// together would pass their bound.
bool SSocketServer::MakeQueueRoom(int row, int n)
{
    while (m_queuedBytes + n > MAX_ALL_QUEUED_BYTES)
    {
        const int other = FindStalledPeer(row, true, STALL_TIME);
        if (other < 0)
            return false;
        AbandonPeer(other);
    }
    return true;
}

int SSocketServer::GetQueuedBytes(int client) const
{
    const int row = FindClientIndex(client);
    return row < 0 ? 0 : m_peers[row]->output.GetSize();
}

// Sends what the client's socket takes of its queue.
void SSocketServer::FlushOutput(int row)
{
    _SPeer& peer = *m_peers[row];
    if (peer.output.GetSize() == 0 || m_sockets.GetAt(row) == INVALID_SOCKET)
        return;
    const int moved = peer.output.Send(m_sockets.GetAt(row));
    if (moved < 0)
    {
        AbandonPeer(row);
        return;
    }
    if (moved > 0)
    {
        m_queuedBytes -= moved;
        peer.outputMoved = timeGetTime();
    }
}

int SSocketServer::GetSenderThread(int client, uint32_t tag)
{
    const int row = IsListening() ? FindConnectedClient(client) : -1;
    if (row < 0)
        return -1;
    _SThread* sender = m_senders.GetAt(row);
    if (sender && sender->IsSending())
        return -1;
    if (!sender)
    {
        sender = new _SThread(this, client, m_sockets.GetAt(row));
        m_senders.SetAt(row, sender);
    }
    sender->m_output = &m_peers[row]->output;
    sender->m_tag = tag;
    sender->m_broken = false;
    return row;
}

// Makes room for one more live sender: those idle longest end first. The
// server waits for each transfer, so every other sender is idle.
void SSocketServer::EndIdleSenders(int except)
{
    for (;;)
    {
        int live = 0, oldest = -1;
        for (int row = 0; row < m_senders.GetCount(); row++)
        {
            const _SThread* sender = m_senders.GetAt(row);
            if (row == except || !sender || !sender->IsRunning())
                continue;
            live++;
            if (oldest < 0 || static_cast<LONG>(sender->GetLastUse() - m_senders.GetAt(oldest)->GetLastUse()) < 0)
                oldest = row;
        }
        if (live < MAX_LIVE_SENDERS)
            return;
        DeleteSender(oldest);
    }
}

bool SSocketServer::PrepareDataSend(_SThread* thread, const void* data, int size)
{
    thread->m_block.Close();
    thread->m_path = "";
    if (!data || size < 1)
        return false;
    thread->m_block.Write(data, size);
    thread->m_block.SeekToStart();
    return thread->m_block.GetSize() > 0;
}

// The size from the file's attributes: the sender opens the file anyway, and
// an open more here cost as much as a small file's whole transfer.
bool SSocketServer::PrepareFileSend(_SThread* thread, const char* path, long long offset)
{
    thread->m_block.Close();
    thread->m_path = path ? path : "";
    thread->m_offset = offset;
    WIN32_FILE_ATTRIBUTE_DATA data;
    return path && *path && GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeHigh > 0 || data.nFileSizeLow > 0);
}

// Runs the prepared transfer on the row's sender thread and waits for its
// end; a connection left out of step by it is dropped here, on the owner
// thread. Another client's idle sender makes room only now, for a transfer
// that will run.
bool SSocketServer::StartSender(int row)
{
    _SThread* sender = m_senders.GetAt(row);
    const int client = m_numbers.GetAt(row);
    if (!sender->IsRunning())
        EndIdleSenders(row);
    const DWORD start = timeGetTime();
    const bool sent = sender->Send();
    ExcuseWait(timeGetTime() - start);
    if (!sent)
    {
        DeleteSender(row);
        return false;
    }
    if (sender->m_broken)
    {
        const int current = FindClientIndex(client);
        if (current >= 0)
            DropClient(current);
    }
    return true;
}

// A sender that already runs is kept when the preparation fails: only the
// transfer is refused.
bool SSocketServer::SendData(int client, const void* data, int size, uint32_t tag)
{
    const int row = GetSenderThread(client, tag);
    if (row < 0)
        return false;
    if (!PrepareDataSend(m_senders.GetAt(row), data, size))
    {
        if (!m_senders.GetAt(row)->IsRunning())
            DeleteSender(row);
        return false;
    }
    return StartSender(row);
}

bool SSocketServer::SendFile(int client, const char* path, int offset, uint32_t tag)
{
    return SendFile64(client, path, offset, tag);
}

bool SSocketServer::SendFile64(int client, const char* path, long long offset, uint32_t tag)
{
    const int row = GetSenderThread(client, tag);
    if (row < 0)
        return false;
    if (!PrepareFileSend(m_senders.GetAt(row), path, offset))
    {
        if (!m_senders.GetAt(row)->IsRunning())
            DeleteSender(row);
        return false;
    }
    return StartSender(row);
}

// --- Sender thread ----------------------------------------------------------

namespace
{
// The work a sender's window is handed: the transfer prepared for it.
const WPARAM kTransferWork = 1;
// How long each side of a hand-over looks for the other's news before it
// waits for a signal (ms): under Wine waking a waiting thread costs more
// than a small file's whole transfer, and a download asks for its files one
// after the other.
const DWORD kHandOverSpin = 2;

// Yields to the other threads until the flag is set or the time has passed.
bool SpinFor(const std::atomic<bool>& flag, DWORD limit)
{
    for (const DWORD start = timeGetTime(); !flag && timeGetTime() - start < limit;)
        SwitchToThread();
    return flag;
}
}

// Made on the server's thread, which it watches: a server whose thread was
// ended by force is never deleted, and its kept senders would live on.
SSocketServer::_SThread::_SThread(SSocketServer* server, int client, SOCKET socket)
    : m_tag(0), m_offset(0), m_server(server), m_client(client), m_socket(socket), m_output(nullptr),
      m_broken(false), m_done(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_sending(false), m_lastUse(0),
      m_owner(OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId())), m_ownerWait(nullptr), m_orphaned(false),
      m_handed(false), m_finished(false), m_hot(false), m_waiting(false)
{
    if (!m_owner.IsValid() ||
        !RegisterWaitForSingleObject(&m_ownerWait, m_owner.Get(), OnOwnerEnded, this, INFINITE, WT_EXECUTEONLYONCE))
        m_ownerWait = nullptr;
}

// The thread ends while this object's overrides still exist.
SSocketServer::_SThread::~_SThread()
{
    if (m_ownerWait)
        UnregisterWaitEx(m_ownerWait, INVALID_HANDLE_VALUE);
    Stop();
}

// On a pool thread: the shut socket ends a transfer under way, and the
// thread's loop ends.
void CALLBACK SSocketServer::_SThread::OnOwnerEnded(void* sender, BOOLEAN timedOut)
{
    _SThread* thread = static_cast<_SThread*>(sender);
    thread->m_orphaned = true;
    shutdown(thread->m_socket, SD_BOTH);
    const DWORD id = thread->GetThreadId();
    if (id)
        PostThreadMessageA(id, WM_QUIT, 0, 0);
}

// Nothing else closes the socket of a server that lost its thread.
void SSocketServer::_SThread::OnLoopEnd()
{
    if (m_orphaned)
        closesocket(m_socket);
}

// The first transfer runs in the body; the later ones come through the loop,
// or while the thread looks for them after a transfer.
bool SSocketServer::_SThread::Run()
{
    ServeHanded();
    return true;
}

void SSocketServer::_SThread::OnWork(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kTransferWork)
        ServeHanded();
}

// A transfer handed over while the thread looked for one is taken without a
// message; one handed over later comes with a message too, which then finds
// it taken.
void SSocketServer::_SThread::ServeHanded()
{
    while (m_handed.exchange(false))
    {
        Serve();
        m_hot = true;
        SpinFor(m_handed, m_orphaned || IsStopRequested() ? 0 : kHandOverSpin);
        m_hot = false;
    }
}

// The source file is closed once the owner has been told of the end: the
// close is not the owner's wait.
void SSocketServer::_SThread::Serve()
{
    SFile file;
    {
        _SStopLink link(this);
        Transfer(file);
    }
    // The copy of the caller's block is not kept until the next transfer.
    m_block.Close();
    m_finished = true;
    if (m_waiting.exchange(false))
        SetEvent(m_done.Get());
}

// A transfer the thread could not finish (it ended, or the waiting thread
// was stopped) leaves the connection out of step.
bool SSocketServer::_SThread::Send()
{
    if (!m_done.IsValid())
        return false;
    m_finished = false;
    m_handed = true;
    if (!IsRunning())
    {
        if (!Start(false))
        {
            m_handed = false;
            return false;
        }
    }
    else if (!m_hot)
    {
        const HWND worker = GetWorkerWindow();
        if ((!worker || !PostMessageA(worker, SWM_THREAD_CALL, kTransferWork, 0)) && m_handed.exchange(false))
            return false;
    }
    m_sending = true;
    const bool done = AwaitFinish();
    m_sending = false;
    m_lastUse = timeGetTime();
    m_broken = m_broken || !done;
    return true;
}

// The waiting flag is raised after the event is reset and before the end is
// looked at again, so an end meanwhile is seen here or signals.
bool SSocketServer::_SThread::AwaitFinish()
{
    if (SpinFor(m_finished, kHandOverSpin))
        return true;
    ResetEvent(m_done.Get());
    m_waiting = true;
    return m_finished || WaitForSignal(m_done.Get()) || m_finished;
}

// Replies queued before the transfer go first, at the pace of a sized
// transfer: the time-out runs from the last bytes moved. The server thread
// waits meanwhile, so the queue is this thread's until the end.
bool SSocketServer::_SThread::DrainOutput()
{
    DWORD moved = timeGetTime();
    while (m_output && m_output->GetSize() > 0)
    {
        const int sent = m_output->Send(m_socket);
        if (sent < 0 || IsStopRequested())
            return false;
        m_server->m_queuedBytes -= sent;
        const DWORD now = timeGetTime();
        if (sent > 0)
            moved = now;
        else if (now - moved >= static_cast<DWORD>(kSocketDefaultTimeout))
            return false;
        else
            WaitWritable(m_socket, 100);
    }
    return true;
}

SVirtualFile* SSocketServer::_SThread::OpenSource(SFile& file)
{
    if (m_block.GetSize() > 0)
    {
        m_block.SeekToStart();
        return &m_block;
    }
    if (!file.Open(m_path.GetText(), false, false, true))
        return nullptr;
    // An offset past the end leaves nothing to send.
    if (m_offset < 0 || !file.SeekTo64(m_offset < file.GetSize64() ? m_offset : file.GetSize64()))
        return nullptr;
    return &file;
}

// Replies queued before the transfer go with its first send when they are
// few (the download's "105" answer and "Ok"): what the client reads next comes
// with one call. Moved out, -1 when they are too many (they then go first,
// on their own).
int SSocketServer::_SThread::TakeOutput(unsigned char* lead, int room)
{
    const int taken = m_output ? m_output->Take(lead, room) : 0;
    if (taken > 0)
        m_server->m_queuedBytes -= taken;
    return taken;
}

void SSocketServer::_SThread::Transfer(SFile& file)
{
    unsigned char lead[kLeadBytes];
    int leadBytes = TakeOutput(lead, kLeadReplies);
    if (leadBytes < 0 && !DrainOutput())
    {
        m_broken = true;
        return;
    }
    leadBytes = leadBytes < 0 ? 0 : leadBytes;
    SVirtualFile* source = OpenSource(file);
    long long size = 0;
    if (source == &file)
        size = file.GetSize64() - file.GetPosition64();
    else if (source)
        size = source->GetSize() - source->GetPosition();
    // The announced size (or "0") goes with them, and with the first packet.
    SString announce("0");
    if (size > 0)
        announce.SetUInt64(static_cast<unsigned long long>(size));
    const int length = announce.GetLength() + 1;
    BuildPacketHeader(lead + leadBytes, length);
    std::memcpy(lead + leadBytes + kSocketPacketHeaderSize, announce.GetText(), length);
    leadBytes += kSocketPacketHeaderSize + length;
    if (size <= 0)
    {
        SendBatch(lead, leadBytes);
        return;
    }
    m_server->OnSendStart(m_client, CapCount(size), m_tag);
    SendBody(source, size, lead, leadBytes);
}

bool SSocketServer::_SThread::SendBatch(const unsigned char* packets, int bytes)
{
    if (SendPacketRun(m_socket, packets, bytes))
        return true;
    m_broken = true;
    return false;
}

// A stop of the owner reaches the sender here, on the stopping thread: the
// shut socket makes a blocked send return at once.
void SSocketServer::_SThread::OnStopRequest()
{
    shutdown(m_socket, SD_BOTH);
}

// Reads up to `packets` packets of the source and lays them out as they go
// on the wire; the payload byte count, 0 at the end of the source.
int SSocketServer::_SThread::StageBatch(SVirtualFile* source, int left, int packets, unsigned char* stage,
                                        unsigned char* wire, int* wireBytes)
{
    const int room = packets * kSocketPacketMaxPayload;
    const int got = source->Read(stage, left < room ? left : room);
    *wireBytes = 0;
    for (int staged = 0; staged < got;)
    {
        const int n = got - staged < kSocketPacketMaxPayload ? got - staged : kSocketPacketMaxPayload;
        KeyTransformOut(stage + staged, n, m_server->m_key.GetData(), m_server->m_key.GetSize());
        BuildPacketHeader(wire + *wireBytes, n);
        std::memcpy(wire + *wireBytes + kSocketPacketHeaderSize, stage + staged, n);
        *wireBytes += kSocketPacketHeaderSize + n;
        staged += n;
    }
    return got < 0 ? 0 : got;
}

// Sends runs of up to 16 packets with one call each (the bytes on the wire are
// the same packets one by one); the first run holds one packet, after the
// lead (the replies before it and the announced size), so that a caller who
// stops after the first one has sent no more. Progress is told per packet
// once its run is on the wire. The transfer ends after the announced size, on
// a stop, or at a short read of the source (a file cut meanwhile), which ends
// it as failed. The end packet goes with the last run.
void SSocketServer::_SThread::SendBody(SVirtualFile* source, long long size, const unsigned char* lead, int leadBytes)
{
    // Kept for the thread's later transfers: taking and freeing them cost as
    // much as a small file's transfer.
    if (!m_stage)
        m_stage.reset(new (std::nothrow) unsigned char[kBatchPackets * kSocketPacketMaxPayload]);
    if (!m_wire)
        m_wire.reset(new (std::nothrow) unsigned char[kLeadBytes + kBatchPackets * kPacketWireSize + kSocketPacketHeaderSize]);
    unsigned char* const stage = m_stage.get();
    unsigned char* const wire = m_wire.get();
    long long sent = 0;
    bool more = stage && wire, ended = false;
    m_broken = !more;
    if (more)
        std::memcpy(wire, lead, leadBytes);
    for (int packets = 1; more && sent < size && !IsStopRequested(); packets = kBatchPackets)
    {
        int wireBytes = 0;
        const int room = packets * kSocketPacketMaxPayload;
        const int want = size - sent < room ? static_cast<int>(size - sent) : room;
        const int got = StageBatch(source, want, packets, stage, wire + leadBytes, &wireBytes);
        wireBytes += leadBytes;
        // The run that completes the size carries the end packet: a send less.
        const bool last = got > 0 && got == want && sent + got == size;
        if (last)
        {
            BuildPacketHeader(wire + wireBytes, 0);
            wireBytes += kSocketPacketHeaderSize;
        }
        if (got < 1 || !SendBatch(wire, wireBytes))
            break;
        leadBytes = 0;
        ended = last;
        more = got == want;
        for (int told = 0; told < got;)
        {
            told += got - told < kSocketPacketMaxPayload ? got - told : kSocketPacketMaxPayload;
            if (m_server->OnSendProgress(m_client, CapCount(sent + told), CapCount(size), m_tag) == -1)
            {
                more = false;
                break;
            }
        }
        sent += got;
    }
    // A transfer ended before its first packet still announced its size.
    if (!m_broken && !ended)
    {
        BuildPacketHeader(wire + leadBytes, 0);
        m_broken = !SendBatch(wire, leadBytes + kSocketPacketHeaderSize);
    }
    m_server->OnSendEnd(m_client, CapCount(sent), CapCount(size), m_tag);
}
