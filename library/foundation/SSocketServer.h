// The listening end of the library's TCP messaging: runs the handshake for each
// connection, keeps the client table, hands framed requests to virtual events
// and answers with packets, streaming blocks and files through one sender
// thread per client.
#pragma once
#include "SPlatform.h"
#include <cstdint>
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

    // False for an unknown client or what does not fit a packet; a send that
    // fails or times out also closes the client (its row goes soon after).
    bool SendText(int client, const char* text, int timeout = kSocketDefaultTimeout);
    bool SendPacketTo(int client, const void* data, int size, int timeout = kSocketDefaultTimeout);
    bool SendData(int client, const void* data, int size, uint32_t tag);
    bool SendFile(int client, const char* path, int offset, uint32_t tag);

    void RemoveClient(int row);
    void CloseAll();

protected:
    // The hidden window that receives the socket notifications.
    class _SWnd : public SWnd
    {
    public:
        explicit _SWnd(SSocketServer* server) : m_server(server) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        SSocketServer* m_server;
    };

    // One per client, created at its first transfer: sends a sized transfer
    // from a data block or a file.
    class _SThread : public SThread, private SThread::_SStopTarget
    {
    public:
        _SThread(SSocketServer* server, int client, SOCKET socket);
        bool Run() override;

        uint32_t m_tag;
        SMemory m_block;
        SString m_path;
        int m_offset;
        SSocketServer* m_server;
        int m_client;
        SOCKET m_socket;
        bool m_broken; // the connection fell out of step: the client must go

    private:
        void Transfer();
        SVirtualFile* OpenSource(SFile& file);
        void SendBody(SVirtualFile* source, int size);
        int StageBatch(SVirtualFile* source, int left, int packets, unsigned char* stage, unsigned char* wire,
                       int* wireBytes);
        bool SendBatch(const unsigned char* packets, int bytes);
        void OnStopRequest() override;
    };

    // A connection between accept and its verdict.
    struct _SPending
    {
        SOCKET socket;
        DWORD start;
        int count;
        unsigned char hello[kSocketHelloSize];
    };

    void AcceptClient();
    void ReceiveFromClient(SOCKET socket, int client, int row);
    void ClientClosed(int row);
    int GetSenderThread(int client, uint32_t tag);
    bool PrepareDataSend(_SThread* thread, const void* data, int size);
    bool PrepareFileSend(_SThread* thread, const char* path, int offset);
    bool StartSender(int row);

private:
    friend class _SWnd;
    void OnSocketEvent(SOCKET socket, int event, int error);
    void OnPendingEvent(int index, int event);
    void FinishHandshake(_SPending pending);
    void ClosePending(int index);
    void ExpirePending();
    void AddClient(SOCKET socket, const SString& address, int client);
    void DropClient(int row);
    void BreakClient(int row);
    void OnBrokenClient(int client);
    int RowHeldBytes(int row) const;
    void DeleteSender(int row);
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
    SMemory m_key;
    SArray<_SPending> m_pending;
};
