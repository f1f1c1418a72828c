#include "PSocketClient.h"
#include <cstdlib>
#include "PWndApp.h"

PSocketClient::PSocketClient() : m_owner(nullptr), m_port(0), m_owed(OWES_NOTHING)
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

unsigned char* PSocketClient::RequestBlock(const char* request, const char* argument, int* size)
{
    if (!Ask(request, argument) || ReceiveStatus(OWES_STATUS_BLOCK) <= 0)
        return nullptr;
    return ReceiveOwnBlock(size, REPLY_TIMEOUT);
}

unsigned char* PSocketClient::RequestSizedBlock(const char* request, const char* argument, int* size)
{
    return Ask(request, argument) ? ReceiveOwnBlock(size, REPLY_TIMEOUT) : nullptr;
}

bool PSocketClient::RequestText(const char* request, const char* argument, SString* text)
{
    if (!Ask(request, argument) || ReceiveStatus(OWES_STATUS_TEXT) <= 0)
        return false;
    *text = ReceiveString(REPLY_TIMEOUT);
    if (IsReplyLate())
        m_owed = OWES_TEXT;
    return IsConnected() && !IsReplyLate();
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

// A request waits behind what is owed: its reply comes after those.
bool PSocketClient::Ask(const char* request, const char* argument)
{
    return CatchUp(REPLY_TIMEOUT) && SendMessage(request, argument);
}

// 1 for a positive status, 0 for another, -1 when it came late (what the
// reply still owes is then `owed`).
int PSocketClient::ReceiveStatus(_POwed owed)
{
    const SString status = ReceiveString(REPLY_TIMEOUT);
    if (IsReplyLate())
    {
        m_owed = owed;
        return -1;
    }
    return IsConnected() && std::atoi(status.GetText() ? status.GetText() : "") > 0 ? 1 : 0;
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
    const SString text = ReceiveString(timeout);
    if (IsReplyLate())
    {
        m_owed = owed;
        return false;
    }
    const bool positive = std::atoi(text.GetText() ? text.GetText() : "") > 0;
    if (positive && owed == OWES_STATUS_BLOCK)
        m_owed = OWES_BLOCK;
    else if (positive && owed == OWES_STATUS_TEXT)
        m_owed = OWES_TEXT;
    return IsConnected();
}

void PSocketClient::OnDisconnected()
{
    m_owed = OWES_NOTHING;
    if (m_owner)
        m_owner->OnDisconnected();
}
