// The connecting end of the library's TCP messaging: connects with the
// handshake, sends requests as framed messages and reads the server's packets
// (texts, blocks, sized transfers) with time-outs.
#pragma once
#include "SPlatform.h"
#include <atomic>
#include <cstdint>
#include <memory>
#include "SMemory.h"
#include "SNetwork.h"
#include "SSocketTransport.h"
#include "SString.h"
#include "SThread.h"
// Core layer: the client receives its socket notices in a hidden window.
#include "SWnd.h"

class SVirtualFile;

// Largest block that ReceiveBlock and ReceiveSizedBlock hold in memory.
constexpr int kSocketBlockMaxSize = 64 * 1024 * 1024;

class SSocketClient
{
public:
    SSocketClient();
    virtual ~SSocketClient();

    // Events; all do nothing here.
    virtual void OnDisconnected() {}
    virtual void OnReceiveData(const char* name, const void* data, int size) {}
    virtual void OnReceiveText(const char* name, const char* text) {}
    virtual void OnTransferStart(int size, uint32_t tag) {}
    virtual int OnTransferProgress(int received, int size, uint32_t tag) { return 0; }
    virtual void OnTransferEnd(int received, int size, uint32_t tag) {}

    // 0 connected, -1 failure, else the server's refusal code.
    int Connect(const char* host, int port, bool readEvents, uint32_t clientValue);
    void Close();
    void Disconnect() { Close(); }
    bool IsConnected() const { return m_socket != INVALID_SOCKET; }
    SString GetHost() const { return m_host; }

    void SetAccessKey(const char* text);
    // The sharing code's name for SetAccessKey.
    void SetAccessCode(const char* text) { SetAccessKey(text); }
    void CopyAccessKey(SSocketClient* other);
    SMemory& GetAccessKey() { return m_key; }

    // n < 0: data is a text. While requests are held, it is only laid out
    // behind the others (true unless it is refused).
    bool SendMessage(const char* name, const void* data, int n);
    bool SendMessage(const char* name, const char* text) { return SendMessage(name, text, -1); }
    int ReceivePacket(void* buffer, int timeout = kSocketDefaultTimeout);
    SString ReceiveString(int timeout = kSocketDefaultTimeout);
    bool ReceiveStream(int size, void* buffer, SVirtualFile* stream, uint32_t tag,
                       int timeout = kSocketDefaultTimeout);
    bool ReceiveSizedToStream(SVirtualFile* stream, uint32_t tag, int timeout = kSocketDefaultTimeout);
    // A sized transfer written at the stream's position; the events get tag 0.
    bool ReceiveFile(SVirtualFile* stream, int timeout = kSocketDefaultTimeout)
    {
        return ReceiveSizedToStream(stream, 0, timeout);
    }
    // A sized transfer of any size written at the stream's position; the
    // events get the counts capped to the int range (tag 0).
    bool ReceiveFile64(SVirtualFile* stream, int timeout = kSocketDefaultTimeout);
    // The true counts of the transfer under way or last made.
    void GetTransferCounts(long long* received, long long* size) const;
    SString ReceiveSizedBlock(uint32_t tag, int timeout = kSocketDefaultTimeout);
    // A new block of *size bytes, released with free(); null on failure.
    // *size is the announced size in either case (as it came when below 1).
    unsigned char* ReceiveBlock(int* size, uint32_t tag, int timeout = kSocketDefaultTimeout);
    bool FlushSend();
    // A connection made with read events off can keep late replies: a reply
    // that has not all come within its time-out then fails its call as late
    // (IsReplyLate) and leaves the connection open; what it still owes must be
    // read past before the next reply. Off, such a connection is closed, so
    // that no late reply is ever taken for the next one's. Bytes lost or a
    // close by the server close it in either case.
    void SetKeepsLateReplies(bool keeps) { m_keepsLate = keeps; }
    // The last receive failed only because its reply had not all come in time.
    bool IsReplyLate() const { return m_late; }
    // The rest of a transfer that came late is still to be read. Every
    // receive reads past it first; CatchUpTransfer only that, true once none
    // of it is owed.
    bool OwesTransfer() const { return m_owedPayload >= 0; }
    bool CatchUpTransfer(int timeout = kSocketDefaultTimeout);
    // Requests sent from now on wait, and go together with one call at
    // SendHeld, or before the next reply is read, so that none waits for an
    // answer that it would bring. False when they did not all go out (the
    // connection is then closed).
    void HoldRequests() { m_holding = true; }
    bool SendHeld();

protected:
    // The hidden window that receives the socket notifications.
    class _SWnd : public SWnd
    {
    public:
        explicit _SWnd(SSocketClient* client) : m_client(client) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        SSocketClient* m_client;
    };

    // Reads packets through a read-ahead buffer: the connection's takes all
    // the socket has, one bounded to a reply nothing beyond that reply.
    class _SReader;
    // Frees a reader where its class is known.
    struct _SReaderFree
    {
        void operator()(_SReader* reader) const;
    };
    typedef std::unique_ptr<_SReader, _SReaderFree> _SReaderPtr;
    class _SStreamStage;

    // Breaks a blocking call when the thread that makes it is stopped.
    class _SAbort : public SThread::_SStopTarget
    {
    public:
        _SAbort(SOCKET socket, bool closes);
        ~_SAbort();
        void OnStopRequest() override;
        // False when a stop has already taken the socket.
        bool Disarm();

    private:
        std::atomic<SOCKET> m_socket;
        bool m_closes;
        SThread::_SStopLink m_link;
    };

    void ReceiveFromServer();

private:
    int ReceiveSize(int timeout, int* announced = nullptr);
    bool ReceiveInto(long long size, void* buffer, SVirtualFile* stream, uint32_t tag, int timeout);
    void OpenReader();
    _SReader& ReplyReader(_SReaderPtr& bounded);
    void SkipReply(_SReaderPtr& bounded, int timeout, long long left);
    void FailRead(long long owed);
    bool HoldMessage(const char* name, const void* data, int n);
    int Handshake(SOCKET socket, uint32_t clientValue, uint32_t code);
    int Open(SOCKET socket, const sockaddr_in& target, uint32_t clientValue, uint32_t code);
    void DiscardNotifications();

    SNetwork m_network;
    _SWnd m_wnd;
    SString m_host;
    SOCKET m_socket;
    int m_port;
    unsigned char* m_buffer;
    int m_count;
    long long m_transferReceived, m_transferSize;
    // Every packet read of a connection made with read events off goes through
    // it, in order, so no reply is ever taken for another's; null otherwise.
    _SReaderPtr m_reader;
    std::unique_ptr<unsigned char[]> m_stageBuffer; // gathers a transfer's packets for its stream
    bool m_holding;
    SMemory m_held; // the requests held, as they go on the wire
    bool m_keepsLate;
    bool m_late;
    long long m_owedPayload; // of a transfer that came late; -1 when none
    SMemory m_key;
};
