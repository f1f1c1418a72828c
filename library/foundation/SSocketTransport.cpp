#include "SSocketTransport.h"
#include "SString.h"
#include <mstcpip.h>
#include <atomic>
#include <climits>
#include <new>
#include <cstring>

const unsigned char kSocketMagic[kSocketMagicSize] = {'K', 'L', 'V', 0xA9, '0', '1'};

namespace
{
// A time limit in milliseconds, measured with timeGetTime (wrap-safe).
class SDeadline
{
public:
    explicit SDeadline(int timeout) : start(timeGetTime()), limit(timeout < 0 ? 0 : timeout) {}
    void Restart() { start = timeGetTime(); }
    int Remaining() const
    {
        const DWORD elapsed = timeGetTime() - start;
        return elapsed >= limit ? 0 : static_cast<int>(limit - elapsed);
    }

private:
    DWORD start;
    DWORD limit;
};

// Bytes readable now; -1 when the query fails.
int ReadableCount(SOCKET s)
{
    u_long n = 0;
    if (ioctlsocket(s, FIONREAD, &n) != 0)
        return -1;
    return n > static_cast<u_long>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

// Waits in select rather than spinning: sockets are non-blocking underneath
// under Wine, and a blocked wait wakes as soon as the socket is ready.
bool WaitReady(SOCKET s, bool write, const SDeadline& deadline)
{
    for (;;)
    {
        const int left = deadline.Remaining();
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait = {left / 1000, (left % 1000) * 1000};
        const int r = select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, &wait);
        if (r > 0)
            return true;
        if (r < 0 || left == 0)
            return false;
    }
}

bool WaitReadable(SOCKET s, const SDeadline& deadline)
{
    return ReadableCount(s) > 0 || WaitReady(s, false, deadline);
}

bool IsWouldBlock()
{
    const int error = WSAGetLastError();
    return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAENOBUFS;
}

// Moves up to n bytes; stops when the peer closes, on an error, or when no
// progress was made within the time-out (restarted on progress when asked).
int ReceiveFully(SOCKET s, void* buffer, int n, int timeout, bool restartOnProgress)
{
    char* data = static_cast<char*>(buffer);
    int done = 0;
    SDeadline deadline(timeout);
    while (done < n)
    {
        if (!WaitReadable(s, deadline))
            break;
        const int got = recv(s, data + done, n - done, 0);
        if (got > 0)
        {
            done += got;
            if (restartOnProgress)
                deadline.Restart();
        }
        else if (got == 0 || !IsWouldBlock())
            break;
    }
    return done;
}

int SendFully(SOCKET s, const void* buffer, int n, int timeout, bool restartOnProgress)
{
    const char* data = static_cast<const char*>(buffer);
    int done = 0;
    SDeadline deadline(timeout);
    while (done < n)
    {
        const int sent = send(s, data + done, n - done, 0);
        if (sent > 0)
        {
            done += sent;
            if (restartOnProgress)
                deadline.Restart();
            continue;
        }
        if (sent < 0 && !IsWouldBlock())
            break;
        if (!WaitReady(s, true, deadline))
            break;
    }
    return done;
}

int ClampPayload(int n)
{
    return n < 0 ? 0 : (n > kSocketPacketMaxPayload ? kSocketPacketMaxPayload : n);
}

void SetFlag(bool* flag, bool value)
{
    if (flag)
        *flag = value;
}

std::atomic<SocketAllocationHook> g_allocationHook{nullptr};

// Null when memory runs out: one peer's message must not end the process.
unsigned char* AllocateMessage(size_t size)
{
    const SocketAllocationHook hook = g_allocationHook.load();
    if (hook && !hook(size))
        return nullptr;
    return new (std::nothrow) unsigned char[size];
}
} // namespace

void StoreU16(unsigned char* out, uint16_t value)
{
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
}

void StoreU32(unsigned char* out, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint16_t LoadU16(const unsigned char* in)
{
    return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

uint32_t LoadU32(const unsigned char* in)
{
    return static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
           (static_cast<uint32_t>(in[2]) << 16) | (static_cast<uint32_t>(in[3]) << 24);
}

void BuildPacketHeader(unsigned char out[kSocketPacketHeaderSize], int payloadLength)
{
    StoreU16(out, static_cast<uint16_t>(ClampPayload(payloadLength)));
    std::memcpy(out + 2, kSocketMagic, kSocketMagicSize);
}

void BuildMessageHeader(unsigned char out[kSocketMessageHeaderSize], uint32_t total, uint32_t nameLength,
                        bool text)
{
    std::memcpy(out, kSocketMagic, kSocketMagicSize);
    StoreU32(out + 6, total);
    StoreU32(out + 10, nameLength);
    out[14] = text ? 1 : 0;
}

void BuildHello(unsigned char out[kSocketHelloSize], uint32_t clientValue, uint32_t accessCode)
{
    out[0] = kSocketProtocolVersion;
    out[1] = 0;
    StoreU32(out + 2, clientValue);
    StoreU32(out + 6, accessCode);
}

bool HasSocketMagic(const unsigned char* bytes)
{
    return std::memcmp(bytes, kSocketMagic, kSocketMagicSize) == 0;
}

// More than a packet holds is refused whole: a cut block would arrive as if
// it were all there.
bool SendPacket(SOCKET s, const void* data, int n, int timeout)
{
    if (data && (n < 0 || n > kSocketPacketMaxPayload))
        return false;
    unsigned char packet[kSocketPacketHeaderSize + kSocketPacketMaxPayload];
    const int payload = data ? n : 0;
    BuildPacketHeader(packet, payload);
    if (payload > 0)
        std::memcpy(packet + kSocketPacketHeaderSize, data, payload);
    const int total = kSocketPacketHeaderSize + payload;
    return SendFully(s, packet, total, timeout, true) == total;
}

int SendMessageRun(SOCKET s, const void* bytes, int n)
{
    return SendFully(s, bytes, n, kSocketDefaultTimeout, true);
}

bool SendPacketRun(SOCKET s, const void* packets, int bytes, int timeout)
{
    return bytes > 0 && SendFully(s, packets, bytes, timeout, true) == bytes;
}

int ReceivePacket(SOCKET s, void* buffer, int timeout, bool* outOfStep)
{
    // A reply that did not come in time may still come, and would then be
    // read as the answer to the next request.
    SetFlag(outOfStep, true);
    if (WaitForData(s, timeout) < 1)
        return -1;
    SetFlag(outOfStep, false);
    unsigned char header[kSocketPacketHeaderSize];
    const int got = ReceiveFully(s, header, kSocketPacketHeaderSize, timeout, true);
    if (got < kSocketPacketHeaderSize)
    {
        SetFlag(outOfStep, got > 0);
        return -1;
    }
    const int n = LoadU16(header);
    if (!HasSocketMagic(header + 2) || n > kSocketPacketMaxPayload)
    {
        SetFlag(outOfStep, true);
        return -1;
    }
    if (n > 0 && ReceiveFully(s, buffer, n, timeout, true) < n)
    {
        SetFlag(outOfStep, true);
        return -1;
    }
    return n;
}

bool SendStringPacket(SOCKET s, const char* text, int timeout)
{
    const char* t = text ? text : "";
    const size_t length = std::strlen(t) + 1;
    return length <= kSocketPacketMaxPayload && SendPacket(s, t, static_cast<int>(length), timeout);
}

int ReceiveStringPacket(SString& result, SOCKET s, int timeout, bool* outOfStep)
{
    char buffer[kSocketPacketMaxPayload];
    const int n = ReceivePacket(s, buffer, timeout, outOfStep);
    if (n > 0)
        result.Assign(buffer, n - 1);
    else
        result = "";
    return n;
}

long long LayOutFramedMessage(unsigned char* out, const char* name, const void* data, int n)
{
    if (!name)
        return -1;
    const bool text = n < 0;
    const char* textData = static_cast<const char*>(data);
    const long long nameLength = static_cast<long long>(std::strlen(name)) + 1;
    const long long dataLength = text ? (textData ? static_cast<long long>(std::strlen(textData)) : 0) + 1
                                      : (data ? n : 0);
    const long long total = kSocketMessageHeaderSize + nameLength + dataLength;
    if (total > kSocketMessageMaxSize)
        return -1;
    if (!out)
        return total;
    BuildMessageHeader(out, static_cast<uint32_t>(total), static_cast<uint32_t>(nameLength), text);
    std::memcpy(out + kSocketMessageHeaderSize, name, nameLength);
    unsigned char* body = out + kSocketMessageHeaderSize + nameLength;
    if (text && !textData)
        body[0] = 0;
    else if (dataLength > 0)
        std::memcpy(body, data, dataLength);
    return total;
}

bool SendFramedMessage(SOCKET s, const char* name, const void* data, int n, bool* outOfStep)
{
    SetFlag(outOfStep, false);
    const long long total = LayOutFramedMessage(nullptr, name, data, n);
    unsigned char* message = total < 0 ? nullptr : AllocateMessage(static_cast<size_t>(total));
    if (!message)
        return false;
    LayOutFramedMessage(message, name, data, n);
    const int sent = SendFully(s, message, static_cast<int>(total), kSocketDefaultTimeout, true);
    delete[] message;
    SetFlag(outOfStep, sent > 0 && sent < total);
    return sent == total;
}

void FreeMessageBuffer(unsigned char** buffer, int* count)
{
    delete[] *buffer;
    *buffer = nullptr;
    *count = 0;
}

namespace
{
// Reads what is readable of the 15-byte header into a small buffer; once it
// is whole and sound, replaces that buffer by one of the announced total.
int ReceiveMessageHeader(SOCKET s, unsigned char** buffer, int* count, int readable, int limit)
{
    if (!*buffer)
        *buffer = AllocateMessage(kSocketMessageHeaderSize);
    if (!*buffer)
        return 1;
    const int want = kSocketMessageHeaderSize - *count;
    const int got = recv(s, reinterpret_cast<char*>(*buffer + *count), readable < want ? readable : want, 0);
    if (got < 1)
        return got < 0 && IsWouldBlock() ? 2 : 1;
    *count += got;
    if (*count < kSocketMessageHeaderSize)
        return 3;
    const uint32_t total = LoadU32(*buffer + 6);
    if (!HasSocketMagic(*buffer) || total < static_cast<uint32_t>(kSocketMessageHeaderSize) ||
        total > static_cast<uint32_t>(kSocketMessageMaxSize) || total > static_cast<uint32_t>(limit < 0 ? 0 : limit))
        return 1;
    unsigned char* message = AllocateMessage(total);
    if (!message)
        return 1;
    std::memcpy(message, *buffer, kSocketMessageHeaderSize);
    delete[] *buffer;
    *buffer = message;
    return total == static_cast<uint32_t>(kSocketMessageHeaderSize) ? 0 : 3;
}
} // namespace

void SetSocketAllocationHook(SocketAllocationHook hook)
{
    g_allocationHook = hook;
}

unsigned char* AllocateMessageBuffer(size_t size)
{
    return AllocateMessage(size);
}

int MessageBufferBytes(const unsigned char* buffer, int count)
{
    if (!buffer)
        return 0;
    return count < kSocketMessageHeaderSize ? kSocketMessageHeaderSize : static_cast<int>(LoadU32(buffer + 6));
}

int ReceiveMessageStep(SOCKET s, unsigned char** buffer, int* count, int limit)
{
    int readable = ReadableCount(s);
    if (readable < 0)
        return 1;
    if (readable == 0)
        return 2;
    // One receive per step: each re-enables the socket's next FD_READ notice
    // while data remains, so a second one would queue a notice more for every
    // step, and a peer that floods would push others' notices ever further back.
    if (*count < kSocketMessageHeaderSize)
        return ReceiveMessageHeader(s, buffer, count, readable, limit);
    const int total = static_cast<int>(LoadU32(*buffer + 6));
    const int want = total - *count;
    const int got = recv(s, reinterpret_cast<char*>(*buffer + *count), readable < want ? readable : want, 0);
    if (got < 1)
        return got < 0 && IsWouldBlock() ? 2 : 1;
    *count += got;
    return *count == total ? 0 : 3;
}

bool ParseFramedMessage(const unsigned char* message, int size, const char** name, int* nameLength,
                        const void** data, int* dataLength, bool* text)
{
    if (!message || size < kSocketMessageHeaderSize || !HasSocketMagic(message))
        return false;
    const uint32_t total = LoadU32(message + 6);
    const uint32_t length = LoadU32(message + 10);
    // At least one data byte follows the name.
    if (total != static_cast<uint32_t>(size) || length < 1 || static_cast<long long>(length) > size - 16LL)
        return false;
    const unsigned char* nameBytes = message + kSocketMessageHeaderSize;
    const int bodyLength = static_cast<int>(total - kSocketMessageHeaderSize - length);
    const unsigned char* body = nameBytes + length;
    const bool isText = message[14] != 0;
    // The name and a text must end inside the message.
    if (nameBytes[length - 1] != 0 || (isText && body[bodyLength - 1] != 0))
        return false;
    *name = reinterpret_cast<const char*>(nameBytes);
    *nameLength = static_cast<int>(length);
    *data = body;
    *dataLength = bodyLength;
    *text = isText;
    return true;
}

int WaitForData(SOCKET s, int timeout)
{
    const int readable = ReadableCount(s);
    if (readable > 0)
        return readable;
    SDeadline deadline(timeout);
    if (!WaitReady(s, false, deadline))
        return 0;
    // Readable with nothing to read means the peer has closed.
    const int n = ReadableCount(s);
    return n > 0 ? n : 0;
}

bool SelectReadable(SOCKET s, int timeout)
{
    const SDeadline deadline(timeout);
    return WaitReady(s, false, deadline);
}

int ReceiveExact(SOCKET s, void* buffer, int n, int timeout)
{
    return n < 1 ? 0 : ReceiveFully(s, buffer, n, timeout, false);
}

int SendExact(SOCKET s, const void* buffer, int n, int timeout)
{
    return n < 1 ? 0 : SendFully(s, buffer, n, timeout, false);
}

bool GetPeerAddress(SString& result, SOCKET s)
{
    sockaddr_in address = {};
    int length = sizeof(address);
    if (getpeername(s, reinterpret_cast<sockaddr*>(&address), &length) != 0 || address.sin_family != AF_INET)
        return false;
    result = inet_ntoa(address.sin_addr);
    return true;
}

SString GetPeerAddressText(SOCKET s)
{
    SString text;
    if (!GetPeerAddress(text, s))
        text = "";
    return text;
}

bool FlushSendQueue(SOCKET s)
{
    DWORD returned = 0;
    return WSAIoctl(s, SIO_FLUSH, nullptr, 0, nullptr, 0, &returned, nullptr, nullptr) == 0;
}

bool SetSocketNonBlocking(SOCKET s)
{
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}

bool SetSocketNoDelay(SOCKET s)
{
    const BOOL on = TRUE;
    return setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof(on)) == 0;
}

void KeyTransformOut(const void* data, int n, const void* key, int keyLength)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    const unsigned char* keyBytes = static_cast<const unsigned char*>(key);
    if (!bytes || !keyBytes || keyLength < 1)
        return;
    for (int i = 0, k = 0; i < n; i++, k = (k + 1) % keyLength)
    {
        const unsigned char computed = static_cast<unsigned char>(bytes[i] + keyBytes[k]);
        (void)computed; // not stored: the bytes travel as given
    }
}

void KeyTransformIn(const void* data, int n, const void* key, int keyLength)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    const unsigned char* keyBytes = static_cast<const unsigned char*>(key);
    if (!bytes || !keyBytes || keyLength < 1)
        return;
    for (int i = 0, k = 0; i < n; i++, k = (k + 1) % keyLength)
    {
        const unsigned char computed = static_cast<unsigned char>(bytes[i] - keyBytes[k]);
        (void)computed;
    }
}

void DiscardInputMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT))
    {
    }
}
