#include "PSocketClient.h"
#include <cstdlib>
#include "PSettings.h"
#include "PWndApp.h"

PSocketClient::PSocketClient()
    : m_owner(nullptr), m_port(0), m_owed(OWES_NOTHING), m_actionLate(false), m_failure(FAILURE_NONE)
{
    // A browsing reply is late whenever the server's thread sends a file,
    // which it does for the downloads of this very session.
    SetKeepsLateReplies(true);
}

void PSocketClient::SetConnection(const char* name, const char* host, int port)
{
    m_name = name ? name : "";
    m_hostName = host ? host : "";
    m_port = port;
}

SString PSocketClient::GetAccessText()
{
    SMemory& key = GetAccessKey();
    SString text;
    text.Assign(reinterpret_cast<const char*>(key.GetData()), key.GetSize());
    return text;
}

namespace
{
// A status reply counts as positive above 0.
bool IsPositive(const SString& status)
{
    return std::atoi(TextOf(status)) > 0;
}
}

unsigned char* PSocketClient::RequestBlock(const char* request, const char* argument, int* size)
{
    return Ask(request, argument) && ReceiveStatus(OWES_STATUS_BLOCK) ? ReceiveRequestBlock(size) : nullptr;
}

unsigned char* PSocketClient::RequestSizedBlock(const char* request, const char* argument, int* size)
{
    return Ask(request, argument) ? ReceiveRequestBlock(size) : nullptr;
}

bool PSocketClient::RequestText(const char* request, const char* argument, SString* text)
{
    return Ask(request, argument) && ReceiveStatus(OWES_STATUS_TEXT) &&
           Received(ReceiveText(OWES_TEXT, REPLY_TIMEOUT, text));
}

bool PSocketClient::CatchUp(int timeout)
{
    while (IsConnected() && CatchUpTransfer(timeout))
    {
        if (m_owed == OWES_NOTHING)
            return true;
        if (!ReadOwed(timeout))
            return false;
    }
    return false;
}

// A request waits behind what is owed: its reply comes after those. Within
// an action that already met a late reply, it does not wait again.
bool PSocketClient::Ask(const char* request, const char* argument)
{
    m_failure = FAILURE_NONE;
    if (m_actionLate)
    {
        m_failure = FAILURE_LATE;
        return false;
    }
    return Received(CatchUp(REPLY_TIMEOUT)) && Received(SendMessage(request, argument));
}

// A step of a request; when it failed, why is recorded.
bool PSocketClient::Received(bool done)
{
    if (done)
        return true;
    m_failure = !IsConnected() ? FAILURE_LOST : IsOwing() ? FAILURE_LATE : FAILURE_REFUSED;
    m_actionLate = m_actionLate || m_failure == FAILURE_LATE;
    return false;
}

// A status reply, positive above 0.
bool PSocketClient::ReceiveStatus(_POwed owed)
{
    SString status;
    if (!Received(ReceiveText(owed, REPLY_TIMEOUT, &status)))
        return false;
    if (IsPositive(status))
        return true;
    m_failure = FAILURE_REFUSED;
    return false;
}

unsigned char* PSocketClient::ReceiveRequestBlock(int* size)
{
    unsigned char* block = ReceiveOwnBlock(size, REPLY_TIMEOUT);
    Received(block != nullptr);
    return block;
}

// One text of a reply; when it comes late, what the reply owes from it on is `owed`.
bool PSocketClient::ReceiveText(_POwed owed, int timeout, SString* text)
{
    *text = ReceiveString(timeout);
    if (IsReplyLate())
        m_owed = owed;
    return IsConnected() && !IsReplyLate();
}

unsigned char* PSocketClient::ReceiveOwnBlock(int* size, int timeout)
{
    unsigned char* block = ReceiveBlock(size, 0, timeout);
    // Late within the transfer, its rest is the library's to read past.
    if (!block && IsReplyLate() && !OwesTransfer())
        m_owed = OWES_BLOCK;
    return block;
}

// One step of what is owed; false when it is late again or the connection went.
bool PSocketClient::ReadOwed(int timeout)
{
    const _POwed owed = m_owed;
    m_owed = OWES_NOTHING;
    if (owed == OWES_BLOCK)
    {
        int size = 0;
        std::free(ReceiveOwnBlock(&size, timeout));
        return IsConnected() && m_owed == OWES_NOTHING;
    }
    SString text;
    if (!ReceiveText(owed, timeout, &text))
        return false;
    if (owed != OWES_TEXT && IsPositive(text))
        m_owed = owed == OWES_STATUS_BLOCK ? OWES_BLOCK : OWES_TEXT;
    return true;
}

void PSocketClient::OnDisconnected()
{
    m_owed = OWES_NOTHING;
    if (m_owner)
        m_owner->OnDisconnected();
}
