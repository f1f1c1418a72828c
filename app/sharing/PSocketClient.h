// The browsing connection to a remote library; its end is the main window's
// disconnection. It keeps the name, host text and port it was connected with
// (the library keeps only the resolved address), and reads every reply of its
// requests in order: one that comes late fails its request and is read past
// before the next one, so the connection, and the session, stay.
#pragma once
#include "SSocketClient.h"

class PWndApp;

class PSocketClient : public SSocketClient
{
public:
    // Every wait for a reply.
    static const int REPLY_TIMEOUT = 2000;
    // Why the last request failed.
    enum Failure
    {
        FAILURE_NONE,
        // Its reply, or one owed before it, did not come in time: the server
        // is busy (sending a file, say), and the connection stays.
        FAILURE_LATE,
        // The server answered that it has nothing to give.
        FAILURE_REFUSED,
        // The request could not go, or the connection ended.
        FAILURE_LOST
    };

    PSocketClient();
    ~PSocketClient() override { m_owner = nullptr; }

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    void SetConnection(const char* name, const char* host, int port);
    const SString& GetName() const { return m_name; }
    const SString& GetHostName() const { return m_hostName; }
    int GetPort() const { return m_port; }
    // The access key as text, for the download thread's own connection.
    SString GetAccessText();

    // The requests, each sent once nothing is owed: a status, then a block
    // when it is positive (freed by the caller); a block alone; a status,
    // then a text when it is positive. Null or false on any failure.
    unsigned char* RequestBlock(const char* request, const char* argument, int* size);
    unsigned char* RequestSizedBlock(const char* request, const char* argument, int* size);
    bool RequestText(const char* request, const char* argument, SString* text);
    // Reads past what late replies still owe, waiting at most `timeout` for
    // each packet (0: only what has come); true once nothing is owed.
    bool CatchUp(int timeout);
    bool IsOwing() const { return m_owed != OWES_NOTHING || OwesTransfer(); }
    // A user's action begins: once one of its requests comes late, its
    // others fail at once instead of waiting their own time-out.
    void BeginAction() { m_actionLate = false; }
    Failure GetLastFailure() const { return m_failure; }

    void OnDisconnected() override;

private:
    // What a late reply still owes, besides the rest of a transfer (which the
    // library reads past).
    enum _POwed
    {
        OWES_NOTHING,
        OWES_STATUS_BLOCK,
        OWES_STATUS_TEXT,
        OWES_BLOCK,
        OWES_TEXT
    };

    bool Ask(const char* request, const char* argument);
    bool Received(bool done);
    bool ReceiveStatus(_POwed owed);
    unsigned char* ReceiveRequestBlock(int* size);
    bool ReceiveText(_POwed owed, int timeout, SString* text);
    unsigned char* ReceiveOwnBlock(int* size, int timeout);
    bool ReadOwed(int timeout);

    PWndApp* m_owner;
    SString m_name;
    SString m_hostName;
    int m_port;
    _POwed m_owed;
    bool m_actionLate;
    Failure m_failure;
};
