// Wire format of the library's TCP messaging (handshake, packets, framed
// messages) and the socket routines that the server and the client share.
#pragma once
#include "SPlatform.h"
#include <cstdint>

class SString;

// Every multi-byte field on the wire is little-endian and of fixed width, so
// 32- and 64-bit builds exchange identical bytes.
constexpr int kSocketMagicSize = 6;
constexpr int kSocketPacketHeaderSize = 8;         // u16 length, magic
constexpr int kSocketPacketMaxPayload = 4096;
constexpr int kSocketMessageHeaderSize = 15;       // magic, u32 total, u32 name length, flag
constexpr int kSocketMessageMaxSize = 1024 * 1024; // a larger total is refused unread
constexpr int kSocketHelloSize = 10;
constexpr int kSocketVerdictSize = 2;
constexpr int kSocketProtocolVersion = 1;
constexpr int kSocketDefaultTimeout = 2000;

extern const unsigned char kSocketMagic[kSocketMagicSize];

// Little-endian field access.
void StoreU16(unsigned char* out, uint16_t value);
void StoreU32(unsigned char* out, uint32_t value);
uint16_t LoadU16(const unsigned char* in);
uint32_t LoadU32(const unsigned char* in);

// Header layouts.
void BuildPacketHeader(unsigned char out[kSocketPacketHeaderSize], int payloadLength);
void BuildMessageHeader(unsigned char out[kSocketMessageHeaderSize], uint32_t total, uint32_t nameLength,
                        bool text);
void BuildHello(unsigned char out[kSocketHelloSize], uint32_t clientValue, uint32_t accessCode);
bool HasSocketMagic(const unsigned char* bytes);

// Packets: the server's replies and bulk transfers. More than a packet holds
// (4096 bytes; a text with its NUL) is refused: nothing is sent, false.
bool SendPacket(SOCKET s, const void* data, int n, int timeout = kSocketDefaultTimeout);
// -1 on failure; *outOfStep (when given) tells whether the connection can no
// longer be trusted: bytes of a broken packet were consumed, or nothing came
// in time (a late packet would be taken for the next one).
int ReceivePacket(SOCKET s, void* buffer, int timeout = kSocketDefaultTimeout, bool* outOfStep = nullptr);
// Sends bytes that already hold whole packets; the time-out restarts whenever bytes move.
bool SendPacketRun(SOCKET s, const void* packets, int bytes, int timeout = kSocketDefaultTimeout);
bool SendStringPacket(SOCKET s, const char* text, int timeout = kSocketDefaultTimeout);
int ReceiveStringPacket(SString& result, SOCKET s, int timeout = kSocketDefaultTimeout,
                        bool* outOfStep = nullptr);

// Framed messages: the client's requests.
bool SendFramedMessage(SOCKET s, const char* name, const void* data, int n, bool* outOfStep = nullptr);
// Lays out one framed message at `out` (only measures it when null): its
// total size, -1 for one above the cap or without a name.
long long LayOutFramedMessage(unsigned char* out, const char* name, const void* data, int n);
// Sends bytes that already hold whole messages; the count sent.
int SendMessageRun(SOCKET s, const void* bytes, int n);
// 0 complete, 1 error (the stream is out of step, a total above the limit, or
// no memory for the message), 2 nothing to read, 3 more to come.
int ReceiveMessageStep(SOCKET s, unsigned char** buffer, int* count, int limit = kSocketMessageMaxSize);
// Bytes a partly received message holds in memory.
int MessageBufferBytes(const unsigned char* buffer, int count);
// Lets tests make message buffers fail to allocate: the hook answers false
// for an allocation that must fail. Null restores normal allocation.
typedef bool (*SocketAllocationHook)(size_t size);
void SetSocketAllocationHook(SocketAllocationHook hook);
// A message buffer, through the hook; null when memory runs out.
unsigned char* AllocateMessageBuffer(size_t size);
void FreeMessageBuffer(unsigned char** buffer, int* count);
bool ParseFramedMessage(const unsigned char* message, int size, const char** name, int* nameLength,
                        const void** data, int* dataLength, bool* text);

// Raw socket helpers.
int WaitForData(SOCKET s, int timeout = kSocketDefaultTimeout);
// Waits in select alone until the socket is readable (bytes, or the peer's
// close); false on time-out or error. Under Wine each socket call is a round
// trip to the server, and WaitForData adds two readable-count queries.
bool SelectReadable(SOCKET s, int timeout = kSocketDefaultTimeout);
int ReceiveExact(SOCKET s, void* buffer, int n, int timeout = kSocketDefaultTimeout);
int SendExact(SOCKET s, const void* buffer, int n, int timeout = kSocketDefaultTimeout);
bool GetPeerAddress(SString& result, SOCKET s);
SString GetPeerAddressText(SOCKET s);
bool FlushSendQueue(SOCKET s);
bool SetSocketNonBlocking(SOCKET s);
// Small packets go out at once: a reply made of two (a status, then the
// announced size of a transfer) would otherwise wait for the peer's delayed
// acknowledgement of the first, some 40 ms per request.
bool SetSocketNoDelay(SOCKET s);

// The key transforms leave the data as it is; peers rely on the bytes
// travelling unchanged.
void KeyTransformOut(const void* data, int n, const void* key, int keyLength);
void KeyTransformIn(const void* data, int n, const void* key, int keyLength);

// Removes every pending keyboard and mouse message of the calling thread.
void DiscardInputMessages();
