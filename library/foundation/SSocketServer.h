// The listening end of the library's TCP messaging: runs the handshake for each
// connection, keeps the client table, hands framed requests to virtual events
// and answers with packets, streaming blocks and files through one sender
// thread per client.
#pragma once
#include "SPlatform.h"
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>
#include "SArray.h"
#include "SArrayString.h"
#include "SDisk.h"
#include "SMemory.h"
#include "SNetwork.h"
#include "SSocketTransport.h"
#include "SString.h"
#include "SThread.h"
// Core layer: the server receives its socket notices in a hidden window.
#include "SWnd.h"

class SFile;
class SVirtualFile;

class SSocketServer
{
public:
    // Bounds against hostile peers: the connected clients, and the bytes held
    // in messages not yet whole, across all clients. A peer that would pass
    // either is closed; the others are served.
    // Messages up to SHORT_MESSAGE bytes (requests) always fit: one per client
    // is kept back from the bytes that larger messages may hold.
    static const int MAX_CLIENTS = 512;
    static const int MAX_HELD_BYTES = 64 * 1024 * 1024;
    static const int SHORT_MESSAGE = 2048;
    // A message begun must be whole within this time: a peer that stops half
    // way would otherwise keep its bytes, and its share of the budget, for ever.
    static const int MESSAGE_DEADLINE = 10000;
    // When a message does not fit the byte budget, the largest unfinished
    // messages that moved no byte since it came, and for STILL_TIME at least,
    // are closed for its room, so that a good client's message is taken in
    // soon while squatters hold the budget; a message arriving at full speed
    // still pauses between reads, and is not taken for a squatter. One that
    // waits longer may close any holder that moved nothing for STALL_TIME.
    // A reply queue that stood still for STALL_TIME is closed first when
    // another's needs room.
    static const int STILL_TIME = 500;
    static const int STALL_TIME = 1000;
    // Replies that a peer's socket does not take at once wait in that peer's
    // queue, so that the server thread never waits on a peer. A reply that
    // would pass MAX_QUEUED_BYTES closes the peer: one that reads nothing
    // fills it in a moment, while a reader is seldom that far behind.
    static const int MAX_QUEUED_BYTES = 1024 * 1024;
    // All the queues together: without it 512 peers could hold 512 MiB, too
    // much for a 32-bit process; stalled queues are closed first for room.
    static const int MAX_ALL_QUEUED_BYTES = 64 * 1024 * 1024;
    // Sender threads are kept between their client's transfers, since a
    // start costs more than a small file's transfer; beyond this many, the
    // one idle longest ends before another starts.
    static const int MAX_LIVE_SENDERS = 16;

    SSocketServer();
    virtual ~SSocketServer();

    // Events; all do nothing here. The send events run on the sender thread.
    virtual void OnClosed() {}
    virtual int OnAccept(int client, const char* address, uint32_t clientValue) { return 0; }
    virtual void OnConnected(int client, const char* address, uint32_t clientValue) {}
    virtual void OnDisconnected(int client) {}
    virtual void OnReceiveData(int client, const char* name, const void* data, int size) {}
    virtual void OnReceiveText(int client, const char* name, const char* text) {}
    virtual void OnSendStart(int client, int size, uint32_t tag) {}
    virtual int OnSendProgress(int client, int sent, int size, uint32_t tag) { return 0; }
    virtual void OnSendEnd(int client, int sent, int size, uint32_t tag) {}

    bool Listen(int port);
    void SetAccessKey(const char* text);
    // The sharing code's name for SetAccessKey.
    void SetAccessCode(const char* text) { SetAccessKey(text); }
    void Close();
    bool IsListening() const { return m_listenSocket != INVALID_SOCKET; }
    int GetClientCount() const { return IsListening() ? m_clientCount : 0; }
    int GetPeerCount();
    bool IsPeerConnected(const char* address) const;
    int FindClientIndex(int client) const;
    int FindConnectedClient(int client) const;

    // The reply is sent, or queued behind the client's earlier ones, without
    // waiting: true once it is all queued. False for an unknown client or what
    // does not fit a packet; false also when the reply does not fit the queue
    // or the connection failed, which closes the client (its row goes soon
    // after). A queue that moved no byte for the time-out closes the client.
    bool SendText(int client, const char* text, int timeout = kSocketDefaultTimeout);
    bool SendPacketTo(int client, const void* data, int size, int timeout = kSocketDefaultTimeout);
    bool SendData(int client, const void* data, int size, uint32_t tag);
    bool SendFile(int client, const char* path, int offset, uint32_t tag);
    // The same for files of any size: the announced count and the offset are
    // 64-bit; the send events get their counts capped to the int range.
    bool SendFile64(int client, const char* path, long long offset, uint32_t tag);

    void RemoveClient(int row);
    void CloseAll();

protected:
    // Reply bytes that a client's socket has not taken yet, in blocks.
    class _SOutput
    {
    public:
        _SOutput() : m_head(0), m_tail(0), m_size(0) {}
        int GetSize() const { return m_size; }
        // False, adding nothing, when memory runs out.
        bool Append(const void* data, int n);
        // Sends what the socket takes now: the bytes sent, -1 when the connection failed.
        int Send(SOCKET s);
        // Moves the whole queue into `out` when it fits in `room` bytes: the
        // bytes moved, -1 (nothing moved) when it does not fit.
        int Take(unsigned char* out, int room);
        void Clear();

    private:
        std::deque<std::unique_ptr<unsigned char[]>> m_blocks;
        int m_head; // bytes of the first block already sent
        int m_tail; // bytes used in the last block
        int m_size;
    };

    // What the server watches of one client, beside the row's message.
    struct _SPeer
    {
        // Requests are read ahead into this stage, as much as one receive
        // brings: requests sent together are taken with one call. A message
        // larger than the stage moves into the row's message buffer.
        unsigned char stage[SHORT_MESSAGE];
        int staged = 0;
        bool owed = false; // a notice of its socket was taken without a read
        _SOutput output;
        DWORD outputMoved = 0;  // when the queue last moved bytes, or began
        int outputTimeout = 0;  // how long it may stand still
        // Replies wait in the queue while the client's requests are handled,
        // and go out together after them, or with the transfer that follows.
        bool corked = false;
        bool inMessage = false; // a message has begun (or waits for room)
        bool waiting = false;   // its header waits for room in the byte budget
        DWORD messageStart = 0;
        DWORD messageMoved = 0;
    };

    // The hidden window that receives the socket notifications.
    class _SWnd : public SWnd
    {
    public:
        explicit _SWnd(SSocketServer* server) : m_server(server) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        SSocketServer* m_server;
    };

    // One per client, started at its first transfer and kept for the next
    // ones until the client goes: sends a sized transfer from a data block or
    // a file, each handed to it by Send. It also ends, closing its socket,
    // when the thread that made it ends without ending it (forced down).
    class _SThread : public SThread, private SThread::_SStopTarget
    {
    public:
        _SThread(SSocketServer* server, int client, SOCKET socket);
        ~_SThread() override;
        bool Run() override;
        void OnWork(WPARAM wParam, LPARAM lParam) override;
        // Runs the prepared transfer on the thread (started first when it is
        // not running) and waits for its end; false when it could not run.
        bool Send();
        bool IsSending() const { return m_sending; }
        DWORD GetLastUse() const { return m_lastUse; }

        uint32_t m_tag;
        SMemory m_block;
        SString m_path;
        long long m_offset;
        SSocketServer* m_server;
        int m_client;
        SOCKET m_socket;
        _SOutput* m_output; // the replies queued before the transfer: they go first
        bool m_broken; // the connection fell out of step: the client must go

    private:
        void ServeHanded();
        void Serve();
        bool AwaitFinish();
        void Transfer(SFile& file);
        bool DrainOutput();
        int TakeOutput(unsigned char* lead, int room);
        SVirtualFile* OpenSource(SFile& file);
        void SendBody(SVirtualFile* source, long long size, const unsigned char* lead, int leadBytes);
        int StageBatch(SVirtualFile* source, int left, int packets, unsigned char* stage, unsigned char* wire,
                       int* wireBytes);
        bool SendBatch(const unsigned char* packets, int bytes);
        void OnStopRequest() override;
        void OnLoopEnd() override;
        static void CALLBACK OnOwnerEnded(void* sender, BOOLEAN timedOut);

        std::unique_ptr<unsigned char[]> m_stage; // a run of the source
        std::unique_ptr<unsigned char[]> m_wire;  // the run as it goes
        SHandleGuard m_done; // set at the end of a transfer that is waited for
        bool m_sending;      // a transfer is under way (owner thread)
        DWORD m_lastUse;
        SHandleGuard m_owner;            // the thread that made it
        HANDLE m_ownerWait;              // the system's wait for that thread's end
        std::atomic<bool> m_orphaned;    // it ended first
        // The hand-over of a transfer: handed and not taken yet; the last one
        // ended; the thread looks for the next one; the owner waits on m_done.
        std::atomic<bool> m_handed;
        std::atomic<bool> m_finished;
        std::atomic<bool> m_hot;
        std::atomic<bool> m_waiting;
    };

    // A connection between accept and its verdict.
    struct _SPending
    {
        SOCKET socket;
        DWORD start;
        int count;
        unsigned char hello[kSocketHelloSize];
    };

    // Bytes of replies waiting for the client's socket to take them (0 for
    // an unknown client): what a derived server may look at to pace its replies.
    int GetQueuedBytes(int client) const;

    void AcceptClient();
    void ReceiveFromClient(SOCKET socket, int client, int row, bool posted = false);
    bool QueueReply(int row, const unsigned char* bytes, int n, int timeout);
    void FlushOutput(int row);
    void ClientClosed(int row);
    int GetSenderThread(int client, uint32_t tag);
    bool PrepareDataSend(_SThread* thread, const void* data, int size);
    bool PrepareFileSend(_SThread* thread, const char* path, long long offset);
    bool StartSender(int row);

private:
    friend class _SWnd;
    // The notice the server posts itself for a client's staged requests
    // (wParam: the socket).
    static const UINT kStagedMessage = WM_USER + 3;
    void OnSocketEvent(SOCKET socket, int event, int error);
    void OnStagedNotice(SOCKET socket);
    void OnPendingEvent(int index, int event);
    void FinishHandshake(_SPending pending);
    void ClosePending(int index);
    void ExpirePending();
    void WatchPeers();
    void RetryWaiting();
    void ExcuseWait(DWORD waited);
    void ReceiveStaged(SOCKET socket, int client, int row, bool posted);
    void TakeStaged(SOCKET socket, int client, int row, bool read);
    bool TakeMessage(SOCKET socket, int client, int row, bool read);
    static bool IsStageReady(const _SPeer& peer);
    void ReceiveLarge(SOCKET socket, int client, int row);
    bool BeginLarge(int row, int total);
    void Dispatch(int client, unsigned char* message, int size);
    void Uncork(int client);
    bool AdmitMessage(int row, int total);
    void NoteMessageBytes(int row);
    bool MakeQueueRoom(int row, int n);
    int FindStalledPeer(int except, bool output, DWORD stall) const;
    void AbandonPeer(int row);
    void AddClient(SOCKET socket, const SString& address, int client);
    void DropClient(int row);
    void BreakClient(int row);
    void OnBrokenClient(int client);
    int RowHeldBytes(int row) const;
    void DeleteSender(int row);
    void EndIdleSenders(int except);
    void RetireSocket(SOCKET socket);
    void CloseRetiredSockets();
    int FindSocketRow(SOCKET socket) const;
    int FindPending(SOCKET socket) const;

    SDisk m_disk;
    SNetwork m_network;
    _SWnd m_wnd;
    SOCKET m_listenSocket;
    int m_port;
    int m_nextClient;
    SArray<SOCKET> m_sockets;
    SArrayString m_addresses;
    SArray<int> m_numbers;
    SArray<unsigned char*> m_buffers;
    SArray<int> m_counts;
    SArray<_SThread*> m_senders;
    int m_clientCount;
    int m_peerCount;
    int m_heldBytes; // in the rows' unfinished messages
    std::vector<std::unique_ptr<_SPeer>> m_peers; // one per row
    int m_queuedBytes; // in all the rows' reply queues
    DWORD m_lastWatch;
    SMemory m_key;
    SArray<_SPending> m_pending;
};
