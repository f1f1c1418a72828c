// Sending from SSocketServer: replies on the owner thread, and sized transfers
// through the per-client sender thread.
#include "SSocketServer.h"
#include "SFile.h"
#include <cstring>
#include <memory>
#include <new>

namespace
{
// Packets sent with one call by the sender thread.
const int kBatchPackets = 16;
const int kPacketWireSize = kSocketPacketHeaderSize + kSocketPacketMaxPayload;
} // namespace

// --- Sending ----------------------------------------------------------------

// A packet refused before sending (too long) leaves the peer in step.
bool SSocketServer::SendText(int client, const char* text, int timeout)
{
    const int row = IsListening() ? FindConnectedClient(client) : -1;
    if (row < 0 || std::strlen(text ? text : "") >= static_cast<size_t>(kSocketPacketMaxPayload))
        return false;
    if (SendStringPacket(m_sockets.GetAt(row), text, timeout))
        return true;
    BreakClient(row);
    return false;
}

bool SSocketServer::SendPacketTo(int client, const void* data, int size, int timeout)
{
    const int row = IsListening() ? FindConnectedClient(client) : -1;
    if (row < 0 || (data && (size < 0 || size > kSocketPacketMaxPayload)))
        return false;
    if (SendPacket(m_sockets.GetAt(row), data, size, timeout))
        return true;
    BreakClient(row);
    return false;
}

int SSocketServer::GetSenderThread(int client, uint32_t tag)
{
    const int row = IsListening() ? FindConnectedClient(client) : -1;
    if (row < 0)
        return -1;
    _SThread* sender = m_senders.GetAt(row);
    if (sender && sender->IsBusy())
        return -1;
    if (!sender)
    {
        sender = new _SThread(this, client, m_sockets.GetAt(row));
        m_senders.SetAt(row, sender);
    }
    sender->m_tag = tag;
    sender->m_broken = false;
    return row;
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

bool SSocketServer::PrepareFileSend(_SThread* thread, const char* path, int offset)
{
    thread->m_block.Close();
    thread->m_path = path ? path : "";
    thread->m_offset = offset;
    return path && m_disk.GetFileSize(path) > 0;
}

// Runs the transfer on the row's sender thread and waits for its end; a
// connection left out of step by it is dropped here, on the owner thread.
bool SSocketServer::StartSender(int row)
{
    _SThread* sender = m_senders.GetAt(row);
    const int client = m_numbers.GetAt(row);
    if (!sender->Start(true))
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

bool SSocketServer::SendData(int client, const void* data, int size, uint32_t tag)
{
    const int row = GetSenderThread(client, tag);
    if (row < 0)
        return false;
    if (!PrepareDataSend(m_senders.GetAt(row), data, size))
    {
        DeleteSender(row);
        return false;
    }
    return StartSender(row);
}

bool SSocketServer::SendFile(int client, const char* path, int offset, uint32_t tag)
{
    const int row = GetSenderThread(client, tag);
    if (row < 0)
        return false;
    if (!PrepareFileSend(m_senders.GetAt(row), path, offset))
    {
        DeleteSender(row);
        return false;
    }
    return StartSender(row);
}

// --- Sender thread ----------------------------------------------------------

SSocketServer::_SThread::_SThread(SSocketServer* server, int client, SOCKET socket)
    : m_tag(0), m_offset(0), m_server(server), m_client(client), m_socket(socket), m_broken(false)
{
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
    file.Seek(m_offset);
    return &file;
}

bool SSocketServer::_SThread::Run()
{
    _SStopLink link(this);
    Transfer();
    // The copy of the caller's block is not kept until the next transfer.
    m_block.Close();
    return false;
}

void SSocketServer::_SThread::Transfer()
{
    SFile file;
    SVirtualFile* source = OpenSource(file);
    const int size = source ? source->GetSize() - source->GetPosition() : 0;
    if (size <= 0)
    {
        m_broken = !SendStringPacket(m_socket, "0");
        return;
    }
    SString announce;
    announce.SetInt(size);
    if (!SendStringPacket(m_socket, announce.GetText()))
    {
        m_broken = true;
        return;
    }
    m_server->OnSendStart(m_client, size, m_tag);
    SendBody(source, size);
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
// the same packets one by one); the first run holds one packet, so that a
// caller who stops after the first one has sent no more. Progress is told per
// packet once its run is on the wire. The transfer ends after the announced
// size, on a stop, or at a short read of the source (a file cut meanwhile),
// which ends it as failed.
void SSocketServer::_SThread::SendBody(SVirtualFile* source, int size)
{
    std::unique_ptr<unsigned char[]> stage(new (std::nothrow) unsigned char[kBatchPackets * kSocketPacketMaxPayload]);
    std::unique_ptr<unsigned char[]> wire(new (std::nothrow) unsigned char[kBatchPackets * kPacketWireSize]);
    int sent = 0;
    bool more = stage && wire;
    m_broken = !more;
    for (int packets = 1; more && sent < size && !IsStopRequested(); packets = kBatchPackets)
    {
        int wireBytes = 0;
        const int want = size - sent;
        const int got = StageBatch(source, want, packets, stage.get(), wire.get(), &wireBytes);
        if (got < 1 || !SendBatch(wire.get(), wireBytes))
            break;
        more = got == (want < packets * kSocketPacketMaxPayload ? want : packets * kSocketPacketMaxPayload);
        for (int told = 0; told < got;)
        {
            told += got - told < kSocketPacketMaxPayload ? got - told : kSocketPacketMaxPayload;
            if (m_server->OnSendProgress(m_client, sent + told, size, m_tag) == -1)
            {
                more = false;
                break;
            }
        }
        sent += got;
    }
    if (!m_broken && !SendPacket(m_socket, nullptr, 0))
        m_broken = true;
    m_server->OnSendEnd(m_client, sent, size, m_tag);
}
