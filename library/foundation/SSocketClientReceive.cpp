// Receiving in SSocketClient: packets, texts and sized transfers read with
// time-outs, and the rest of an abandoned transfer read past.
#include "SSocketClient.h"
#include "SVirtualFile.h"
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <memory>

namespace
{
// The fewest bytes on the wire that still belong to a transfer with this
// much payload left: full packets, then the end packet.
long long ExpectedWireBytes(long long payloadLeft)
{
    if (payloadLeft <= 0)
        return kSocketPacketHeaderSize;
    const long long packets = (payloadLeft + kSocketPacketMaxPayload - 1) / kSocketPacketMaxPayload;
    return payloadLeft + packets * kSocketPacketHeaderSize + kSocketPacketHeaderSize;
}
} // namespace

// --- Packet reader ----------------------------------------------------------

class SSocketClient::_SReader
{
public:
    // A bounded reader takes no byte beyond those still owed for the reply
    // being read; an unbounded one takes all the socket has, as far as its
    // room goes, so that replies that came together cost one receive.
    _SReader(SOCKET socket, bool bounded)
        : m_socket(socket), m_data(new unsigned char[kCapacity]), m_begin(0), m_end(0), m_bounded(bounded),
          m_outOfStep(false), m_late(false)
    {
    }

    // The payload length, 0 for the end packet, -1 on failure. `expected` is
    // the fewest wire bytes still owed for the reply from this packet on.
    int Next(unsigned char* payload, int timeout, long long expected)
    {
        m_late = false;
        const Filled header = Fill(kSocketPacketHeaderSize, timeout, expected);
        if (header != kFilled)
            return Fail(header, m_end > m_begin);
        const unsigned char* head = m_data.get() + m_begin;
        const int n = LoadU16(head);
        if (!HasSocketMagic(head + 2) || n > kSocketPacketMaxPayload)
            return Fail(kLost, true);
        const int whole = kSocketPacketHeaderSize + n;
        const Filled body = n > 0 ? Fill(whole, timeout, expected > whole ? expected : whole) : kFilled;
        if (body != kFilled)
            return Fail(body, true);
        std::memcpy(payload, m_data.get() + m_begin + kSocketPacketHeaderSize, n);
        m_begin += whole;
        return n;
    }

    // The last packet had not all come in time. The connection's reader keeps
    // what came of it, so that it can be read on later from its start.
    bool IsLate() const { return m_late; }

    // True when bytes were lost, or a bounded reader holds bytes beyond its
    // reply; what the connection's reader holds is the next reply.
    bool IsOutOfStep() const { return m_outOfStep || (m_bounded && m_end > m_begin); }

private:
    static const int kCapacity = 256 * 1024;
    static const int kWholePacket = kSocketPacketHeaderSize + kSocketPacketMaxPayload;

    enum Filled
    {
        kFilled,
        kTimedOut,
        kLost
    };

    // A time-out loses nothing in the connection's reader; in a bounded one,
    // which ends with its reply, the bytes it took of the packet are lost.
    int Fail(Filled why, bool partial)
    {
        if (why == kTimedOut && !m_bounded)
            m_late = true;
        else
            m_outOfStep = m_outOfStep || partial;
        return -1;
    }

    // Buffers at least `need` bytes from the packet start. A receive that
    // would block waits in select alone and is tried again.
    Filled Fill(int need, int timeout, long long limit)
    {
        MakeRoom(need);
        while (m_end - m_begin < need)
        {
            const int got = recv(m_socket, reinterpret_cast<char*>(m_data.get() + m_end), Want(need, limit), 0);
            if (got > 0)
                m_end += got;
            else if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK)
                return kLost;
            else if (!SelectReadable(m_socket, timeout))
                return kTimedOut;
        }
        return kFilled;
    }

    // Moves what is held to the start when the packet would not fit, or when
    // the unbounded reader has room for less than a whole packet.
    void MakeRoom(int need)
    {
        if (m_begin == m_end)
            m_begin = m_end = 0;
        else if (m_begin + need > kCapacity || (!m_bounded && kCapacity - m_end < kWholePacket))
        {
            std::memmove(m_data.get(), m_data.get() + m_begin, m_end - m_begin);
            m_end -= m_begin;
            m_begin = 0;
        }
    }

    // All the room; a bounded reader asks for no more than the reply owes
    // from the packet start (`limit`), so that nothing of a later one is taken.
    int Want(int need, long long limit) const
    {
        const int room = kCapacity - m_end;
        if (!m_bounded)
            return room;
        const long long wanted = (limit > need ? limit : need) - (m_end - m_begin);
        return wanted < room ? static_cast<int>(wanted) : room;
    }

    SOCKET m_socket;
    std::unique_ptr<unsigned char[]> m_data;
    int m_begin;
    int m_end;
    const bool m_bounded;
    bool m_outOfStep;
    bool m_late;
};

void SSocketClient::_SReaderFree::operator()(_SReader* reader) const
{
    delete reader;
}

// Made once the handshake, which reads exact counts, is done.
void SSocketClient::OpenReader()
{
    m_reader.reset(new _SReader(m_socket, false));
}

// The connection's reader, or one bounded to the reply, made at first need.
// Asked anew after each event: an event may have closed the connection, and
// a bounded reader on no socket fails at once.
SSocketClient::_SReader& SSocketClient::ReplyReader(_SReaderPtr& bounded)
{
    if (m_reader)
        return *m_reader;
    if (!bounded)
        bounded.reset(new _SReader(m_socket, true));
    return *bounded;
}

// --- Packets ----------------------------------------------------------------

// Any packet that fails through the connection's reader, cut or late, leaves
// the connection out of step, unless it keeps late replies and the packet is
// only late. Held requests go first: the reply may be theirs.
int SSocketClient::ReceivePacket(void* buffer, int timeout)
{
    SendHeld();
    m_late = false;
    if (!CatchUpTransfer(timeout))
        return -1;
    _SAbort abort(m_socket, false);
    if (!m_reader)
    {
        bool outOfStep = false;
        const int n = ::ReceivePacket(m_socket, buffer, timeout, &outOfStep);
        if (outOfStep)
            Close();
        return n;
    }
    const int n = m_reader->Next(static_cast<unsigned char*>(buffer), timeout, kSocketPacketHeaderSize);
    if (n < 0)
        FailRead(-1);
    return n;
}

// `owed` is the payload still owed of a transfer (-1 outside one).
void SSocketClient::FailRead(long long owed)
{
    if (m_keepsLate && m_reader && m_reader->IsLate())
    {
        m_late = true;
        m_owedPayload = owed;
    }
    else
        Close();
}

bool SSocketClient::CatchUpTransfer(int timeout)
{
    if (m_owedPayload < 0)
        return true;
    m_late = false;
    if (!IsConnected())
        return false;
    _SReaderPtr none;
    SkipReply(none, timeout, m_owedPayload);
    return m_owedPayload < 0 && IsConnected();
}

SString SSocketClient::ReceiveString(int timeout)
{
    char buffer[kSocketPacketMaxPayload];
    const int n = ReceivePacket(buffer, timeout);
    SString text;
    if (n > 0)
        text.Assign(buffer, n - 1);
    else
        text = "";
    return text;
}

// Packets bound for a stream are gathered and written in runs of this size:
// one write per packet costs a system call each. Without a buffer each packet
// is written as it comes.
class SSocketClient::_SStreamStage
{
public:
    static const int kCapacity = 64 * 1024;

    _SStreamStage(SVirtualFile* stream, unsigned char* buffer) : m_stream(stream), m_data(buffer), m_count(0) {}
    bool Add(const unsigned char* bytes, int n)
    {
        if (!m_stream)
            return true;
        if (!m_data)
            return m_stream->Write(bytes, n) == n;
        if (m_count + n > kCapacity && !Flush())
            return false;
        std::memcpy(m_data + m_count, bytes, n);
        m_count += n;
        return true;
    }
    bool Flush()
    {
        const int n = m_count;
        m_count = 0;
        return n == 0 || m_stream->Write(m_data, n) == n;
    }

private:
    SVirtualFile* m_stream;
    unsigned char* m_data;
    int m_count;
};

bool SSocketClient::ReceiveStream(int size, void* buffer, SVirtualFile* stream, uint32_t tag, int timeout)
{
    return ReceiveInto(size, buffer, stream, tag, timeout);
}

void SSocketClient::GetTransferCounts(long long* received, long long* size) const
{
    if (received)
        *received = m_transferReceived;
    if (size)
        *size = m_transferSize;
}

namespace
{
// The transfer events take counts in an int: larger ones are told as INT_MAX.
int CapCount(long long count)
{
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}
}

// The counts are 64-bit inside; the events get them capped, and
// GetTransferCounts the true ones.
bool SSocketClient::ReceiveInto(long long size, void* buffer, SVirtualFile* stream, uint32_t tag, int timeout)
{
    SendHeld();
    m_late = false;
    if (!CatchUpTransfer(timeout))
        return false;
    m_transferReceived = 0;
    m_transferSize = size;
    OnTransferStart(CapCount(size), tag);
    _SAbort abort(m_socket, false);
    _SReaderPtr bounded;
    // Kept for the connection's later transfers: taking and freeing it cost
    // as much as a small file's transfer.
    if (stream && !m_stageBuffer)
        m_stageBuffer.reset(new (std::nothrow) unsigned char[_SStreamStage::kCapacity]);
    _SStreamStage stage(stream, m_stageBuffer.get());
    unsigned char packet[kSocketPacketMaxPayload];
    unsigned char* out = static_cast<unsigned char*>(buffer);
    long long received = 0;
    bool ended = false;
    bool skip = false;
    for (;;)
    {
        const int n = ReplyReader(bounded).Next(packet, timeout, ExpectedWireBytes(size - received));
        if (n <= 0)
        {
            ended = n == 0;
            break;
        }
        KeyTransformIn(packet, n, m_key.GetData(), m_key.GetSize());
        // More than announced fails the transfer and is never stored; what
        // follows is owed no more.
        if (n > size - received)
        {
            skip = true;
            size = received;
            break;
        }
        if (out)
            std::memcpy(out + received, packet, n);
        if (!stage.Add(packet, n))
        {
            skip = true;
            break;
        }
        received += n;
        m_transferReceived = received;
        if (OnTransferProgress(CapCount(received), CapCount(size), tag) == -1)
        {
            FlushSend();
            skip = true;
            break;
        }
    }
    // A stream that takes less than it is given fails the transfer.
    const bool written = stage.Flush();
    OnTransferEnd(CapCount(received), CapCount(m_transferSize), tag);
    if (skip)
        SkipReply(bounded, timeout, size - received);
    else if (!ended)
        FailRead(size - received);
    else if (ReplyReader(bounded).IsOutOfStep())
        Close();
    return ended && written && !skip && received == size;
}

bool SSocketClient::ReceiveFile64(SVirtualFile* stream, int timeout)
{
    const SString text = ReceiveString(timeout);
    char* end = nullptr;
    const long long size = std::strtoll(text.GetText() ? text.GetText() : "", &end, 10);
    return size > 0 && stream && ReceiveInto(size, nullptr, stream, 0, timeout);
}

// Reads the rest of an abandoned transfer up to its end packet, so that the
// next reply is read from its start. It goes on for as long as packets keep
// coming: the time-out bounds each read, not the whole rest. `left` is the
// payload still owed, so that the reader may take it in large runs; a rest
// that comes late stays owed on a connection that keeps late replies.
void SSocketClient::SkipReply(_SReaderPtr& bounded, int timeout, long long left)
{
    _SAbort abort(m_socket, false);
    _SReader& reader = ReplyReader(bounded);
    m_owedPayload = -1;
    unsigned char packet[kSocketPacketMaxPayload];
    for (;;)
    {
        const int n = reader.Next(packet, timeout, ExpectedWireBytes(left));
        if (n == 0 && !reader.IsOutOfStep())
            return;
        if (n <= 0)
        {
            FailRead(left);
            return;
        }
        left = left > n ? left - n : 0;
    }
}

// The announced size of a sized transfer: 0 when nothing follows, -1 when it
// cannot be taken (the connection is then closed). *announced gets the number
// as it came, held to the int range.
int SSocketClient::ReceiveSize(int timeout, int* announced)
{
    const SString text = ReceiveString(timeout);
    char* end = nullptr;
    const long long size = std::strtoll(text.GetText(), &end, 10);
    if (announced)
        *announced = size > INT_MAX ? INT_MAX : (size < INT_MIN ? INT_MIN : static_cast<int>(size));
    if (size < 1)
        return 0;
    if (size > INT_MAX)
    {
        Close();
        return -1;
    }
    return static_cast<int>(size);
}

bool SSocketClient::ReceiveSizedToStream(SVirtualFile* stream, uint32_t tag, int timeout)
{
    const int size = ReceiveSize(timeout);
    return size > 0 && ReceiveStream(size, nullptr, stream, tag, timeout);
}

SString SSocketClient::ReceiveSizedBlock(uint32_t tag, int timeout)
{
    const int size = ReceiveSize(timeout);
    if (size < 1)
        return SString("");
    if (size > kSocketBlockMaxSize)
    {
        _SReaderPtr bounded;
        SkipReply(bounded, timeout, size);
        return SString("");
    }
    SString text;
    text.SetLength(size - 1);
    const bool ok = ReceiveStream(size, text.GetBuffer(), nullptr, tag, timeout);
    // The last byte is the text's NUL; a peer that sent another one loses it.
    text.GetBuffer()[size - 1] = 0;
    return ok ? text : SString("");
}

unsigned char* SSocketClient::ReceiveBlock(int* size, uint32_t tag, int timeout)
{
    int told = 0;
    const int announced = ReceiveSize(timeout, &told);
    if (size)
        *size = told;
    if (announced < 1)
        return nullptr;
    if (announced > kSocketBlockMaxSize)
    {
        _SReaderPtr bounded;
        SkipReply(bounded, timeout, announced);
        return nullptr;
    }
    unsigned char* block = static_cast<unsigned char*>(std::malloc(announced));
    if (!block)
        return nullptr;
    if (!ReceiveStream(announced, block, nullptr, tag, timeout))
    {
        std::free(block);
        return nullptr;
    }
    return block;
}
