// Receiving in SSocketClient: packets, texts and sized transfers read with
// time-outs, and the rest of an abandoned transfer read past.
#include "SSocketClient.h"
#include "SVirtualFile.h"
#include <climits>
#include <cstdlib>
#include <cstring>
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
    explicit _SReader(SOCKET socket)
        : m_socket(socket), m_data(new unsigned char[kCapacity]), m_begin(0), m_end(0), m_outOfStep(false)
    {
    }

    // The payload length, 0 for the end packet, -1 on failure. `expected` is
    // the fewest wire bytes still owed for the reply from this packet on.
    int Next(unsigned char* payload, int timeout, long long expected)
    {
        if (!Fill(kSocketPacketHeaderSize, timeout, expected))
            return Fail(m_end > m_begin);
        const unsigned char* header = m_data.get() + m_begin;
        const int n = LoadU16(header);
        if (!HasSocketMagic(header + 2) || n > kSocketPacketMaxPayload)
            return Fail(true);
        const int whole = kSocketPacketHeaderSize + n;
        if (n > 0 && !Fill(whole, timeout, expected > whole ? expected : whole))
            return Fail(true);
        std::memcpy(payload, m_data.get() + m_begin + kSocketPacketHeaderSize, n);
        m_begin += whole;
        return n;
    }

    // True when bytes were lost or are left over: the connection is out of step.
    bool IsOutOfStep() const { return m_outOfStep || m_end > m_begin; }

private:
    static const int kCapacity = 256 * 1024;

    int Fail(bool outOfStep)
    {
        m_outOfStep = m_outOfStep || outOfStep;
        return -1;
    }

    // Buffers at least `need` bytes from the packet start, reading at most up
    // to `limit` bytes so that nothing of a later reply is taken.
    bool Fill(int need, int timeout, long long limit)
    {
        if (m_begin == m_end)
            m_begin = m_end = 0;
        else if (m_begin + need > kCapacity)
        {
            std::memmove(m_data.get(), m_data.get() + m_begin, m_end - m_begin);
            m_end -= m_begin;
            m_begin = 0;
        }
        while (m_end - m_begin < need)
        {
            const long long wanted = (limit > need ? limit : need) - (m_end - m_begin);
            const int room = kCapacity - m_end;
            const int want = wanted < room ? static_cast<int>(wanted) : room;
            const int got = recv(m_socket, reinterpret_cast<char*>(m_data.get() + m_end), want, 0);
            if (got > 0)
                m_end += got;
            else if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK || WaitForData(m_socket, timeout) < 1)
                return false;
        }
        return true;
    }

    SOCKET m_socket;
    std::unique_ptr<unsigned char[]> m_data;
    int m_begin;
    int m_end;
    bool m_outOfStep;
};
// --- Packets ----------------------------------------------------------------

int SSocketClient::ReceivePacket(void* buffer, int timeout)
{
    _SAbort abort(m_socket, false);
    bool outOfStep = false;
    const int n = ::ReceivePacket(m_socket, buffer, timeout, &outOfStep);
    if (outOfStep)
        Close();
    return n;
}

SString SSocketClient::ReceiveString(int timeout)
{
    _SAbort abort(m_socket, false);
    SString text;
    bool outOfStep = false;
    ReceiveStringPacket(text, m_socket, timeout, &outOfStep);
    if (outOfStep)
        Close();
    return text;
}

// Packets bound for a stream are gathered and written in runs of this size:
// one write per packet costs a system call each.
class SSocketClient::_SStreamStage
{
public:
    explicit _SStreamStage(SVirtualFile* stream)
        : m_stream(stream), m_data(stream ? new unsigned char[kCapacity] : nullptr), m_count(0)
    {
    }
    bool Add(const unsigned char* bytes, int n)
    {
        if (!m_stream)
            return true;
        if (m_count + n > kCapacity && !Flush())
            return false;
        std::memcpy(m_data.get() + m_count, bytes, n);
        m_count += n;
        return true;
    }
    bool Flush()
    {
        const int n = m_count;
        m_count = 0;
        return n == 0 || m_stream->Write(m_data.get(), n) == n;
    }

private:
    static const int kCapacity = 64 * 1024;
    SVirtualFile* m_stream;
    std::unique_ptr<unsigned char[]> m_data;
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
    m_transferReceived = 0;
    m_transferSize = size;
    OnTransferStart(CapCount(size), tag);
    _SAbort abort(m_socket, false);
    _SReader reader(m_socket);
    _SStreamStage stage(stream);
    unsigned char packet[kSocketPacketMaxPayload];
    unsigned char* out = static_cast<unsigned char*>(buffer);
    long long received = 0;
    bool ended = false;
    bool skip = false;
    for (;;)
    {
        const int n = reader.Next(packet, timeout, ExpectedWireBytes(size - received));
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
        SkipReply(reader, timeout, size - received);
    else if (!ended || reader.IsOutOfStep())
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
// payload still owed, so that the reader may take it in large runs.
void SSocketClient::SkipReply(_SReader& reader, int timeout, long long left)
{
    _SAbort abort(m_socket, false);
    unsigned char packet[kSocketPacketMaxPayload];
    for (;;)
    {
        const int n = reader.Next(packet, timeout, ExpectedWireBytes(left));
        if (n == 0 && !reader.IsOutOfStep())
            return;
        if (n <= 0)
        {
            Close();
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
        _SReader reader(m_socket);
        SkipReply(reader, timeout, size);
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
        _SReader reader(m_socket);
        SkipReply(reader, timeout, announced);
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
