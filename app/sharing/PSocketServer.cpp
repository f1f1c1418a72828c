#include "PSocketServer.h"
#include <cstdlib>
#include <cstring>
#include <memory>
#include "PThreadServer.h"
#include "PWndApp.h"

PSocketServer::PSocketServer(PWndApp* owner, PThreadServer* thread)
    : m_owner(owner), m_thread(thread), m_window(owner ? owner->GetHandle() : nullptr), m_transfers(0)
{
    UpdateLibrary();
}

PSocketServer::~PSocketServer()
{
    CloseAll();
}

void PSocketServer::UpdateLibrary()
{
    if (!m_owner)
        return;
    SString root;
    SArrayString coverNames;
    PSettings::_SServer server;
    std::shared_ptr<const PLibraryTree> tree;
    m_owner->CopySharingSettings(&root, &coverNames, &server, &tree);
    m_library.Update(root, coverNames, server, tree);
}

void PSocketServer::Post(UINT message, int value) const
{
    if (m_window)
        PostMessageA(m_window, message, static_cast<WPARAM>(value), 0);
}

void PSocketServer::ReportPeers()
{
    const int peers = GetPeerCount();
    if (m_thread)
        m_thread->SetPeerCount(peers);
    Post(PWM_PEERS, peers);
}

// The limit counts machines: one already connected may open more connections.
int PSocketServer::OnAccept(int client, const char* address, uint32_t clientValue)
{
    UpdateLibrary();
    const int peers = GetPeerCount();
    if (peers < m_library.GetServer().maxUsers || IsPeerConnected(address))
        return 0;
    Post(PWM_PEERS, peers);
    return 1;
}

void PSocketServer::OnConnected(int client, const char* address, uint32_t clientValue)
{
    ReportPeers();
}

void PSocketServer::OnDisconnected(int client)
{
    m_recent.Forget(client);
    ReportPeers();
}

void PSocketServer::OnClosed()
{
    m_recent.Forget(-1);
    m_transfers = 0;
    if (m_thread)
        m_thread->SetPeerCount(0);
    Post(PWM_PEERS, -1);
    Post(PWM_TRANSFERS, -1);
}

void PSocketServer::OnSendStart(int client, int size, uint32_t tag)
{
    Post(PWM_TRANSFERS, ++m_transfers);
}

void PSocketServer::OnSendEnd(int client, int sent, int size, uint32_t tag)
{
    Post(PWM_TRANSFERS, --m_transfers);
}

void PSocketServer::OnReceiveText(int client, const char* name, const char* text)
{
    const int request = name ? std::atoi(name) : 0;
    if (request < 100 || request > 107)
        return;
    UpdateLibrary();
    const char* argument = text ? text : "";
    switch (request)
    {
    case 100:
        SendTree(client);
        break;
    case 101:
        SendFolders(client, argument);
        break;
    case 102:
        SendFolderView(client, argument);
        break;
    case 103:
        SendFileList(client, argument);
        break;
    case 104:
        PlayRequest(argument);
        break;
    case 105:
        SendFileSize(client, argument);
        break;
    case 106:
        SendFilePart(client, argument);
        break;
    default:
        SendNotes(client, argument);
        break;
    }
}

void PSocketServer::SendTree(int client)
{
    SMemory block;
    if (!m_library.BuildTree(&block))
    {
        SendText(client, "0");
        return;
    }
    if (SendText(client, "1"))
        SendData(client, block.GetData(), block.GetSize(), 0);
}

void PSocketServer::SendFolders(int client, const char* argument)
{
    SMemory block;
    if (!m_library.BuildFolders(argument, &block))
    {
        SendText(client, "0");
        return;
    }
    if (SendText(client, "1"))
        SendData(client, block.GetData(), block.GetSize(), 0);
}

void PSocketServer::SendFolderView(int client, const char* argument)
{
    SMemory block;
    if (!m_library.BuildFolderView(argument, &block))
    {
        SendText(client, "0");
        return;
    }
    if (SendText(client, "1"))
        SendData(client, block.GetData(), block.GetSize(), 0);
}

void PSocketServer::SendFileList(int client, const char* argument)
{
    SMemory block;
    m_library.BuildFileList(argument, &block);
    SendData(client, block.GetData(), block.GetSize(), 0);
}

// The text goes to the main window as a copy that its handler owns and
// frees: the wait is bounded, so a stop of sharing meanwhile cannot deadlock,
// and a copy taken late is still whole.
void PSocketServer::PlayRequest(const char* argument)
{
    if (!m_library.GetServer().allowPlay || !m_window)
        return;
    const size_t length = std::strlen(argument);
    char* copy = new char[length + 1];
    std::memcpy(copy, argument, length + 1);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(m_window, PWM_COMMAND104, reinterpret_cast<WPARAM>(copy), 0,
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, PLAY_TIMEOUT, &result) &&
        !IsWindow(m_window))
        delete[] copy; // never delivered
}

void PSocketServer::SendFileSize(int client, const char* argument)
{
    SString path;
    std::unique_ptr<SMemory> whole(new SMemory);
    unsigned long long written = 0;
    const long long size = m_library.GetFileSize(argument, &path, whole.get(), PRecentFiles::MOST_BYTES, &written);
    if (size > 0 && whole->GetSize() == size)
        m_recent.Keep(client, path, written, std::move(whole));
    SString text("-1");
    if (size >= 0)
        text.SetUInt64(static_cast<unsigned long long>(size));
    SendText(client, text.GetText());
}

namespace
{
// A decimal offset of digits only; false for a sign, other characters or
// a value beyond 64 bits.
bool ParseOffset(const char* text, long long* out)
{
    if (!text || !*text || std::strlen(text) > 18)
        return false;
    long long value = 0;
    for (const char* p = text; *p; p++)
    {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
    }
    *out = value;
    return true;
}
}

// "path|offset": "Ok" and the file from the offset, or "" when refused.
void PSocketServer::SendFilePart(int client, const char* argument)
{
    const char* bar = std::strchr(argument, '|');
    const SString relative = bar ? SString(argument).Left(static_cast<int>(bar - argument)) : SString("");
    long long offset = -1, size = -1;
    unsigned long long written = 0;
    const SString path = bar && ParseOffset(bar + 1, &offset)
                             ? m_library.ResolveFile(relative.GetText(), &size, &written)
                             : SString("");
    if (path.GetLength() == 0 || size < 0 || offset < 0 || offset >= size)
    {
        SendText(client, "");
        return;
    }
    if (!SendText(client, "Ok"))
        return;
    // A file read whole when its size was asked goes from memory unless it
    // was written since. A file that can no longer be read still ends the
    // reply: the peer reads "0".
    const std::unique_ptr<SMemory> kept = m_recent.Take(client, path, size, written);
    const bool sent = kept ? SendData(client, kept->GetData() + offset, static_cast<int>(size - offset), 0)
                           : SendFile64(client, path.GetText(), offset, 0);
    if (!sent)
        SendText(client, "0");
}

void PSocketServer::SendNotes(int client, const char* argument)
{
    SString notes;
    if (!m_library.ReadNotes(argument, &notes))
    {
        SendText(client, "0");
        return;
    }
    if (SendText(client, "1"))
        SendText(client, notes.GetText());
}
