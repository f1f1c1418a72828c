#include "PSocketClient.h"
#include <cstdlib>
#include "PSettings.h"
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
    SString status;
    if (!Ask(request, argument) || !ReceiveText(OWES_STATUS_BLOCK, REPLY_TIMEOUT, &status) || !IsPositive(status))
        return nullptr;
    return ReceiveOwnBlock(size, REPLY_TIMEOUT);
}

unsigned char* PSocketClient::RequestSizedBlock(const char* request, const char* argument, int* size)
{
    return Ask(request, argument) ? ReceiveOwnBlock(size, REPLY_TIMEOUT) : nullptr;
}

bool PSocketClient::RequestText(const char* request, const char* argument, SString* text)
{
    SString status;
    return Ask(request, argument) && ReceiveText(OWES_STATUS_TEXT, REPLY_TIMEOUT, &status) && IsPositive(status) &&
           ReceiveText(OWES_TEXT, REPLY_TIMEOUT, text);
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
