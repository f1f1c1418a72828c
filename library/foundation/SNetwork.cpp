#include "SNetwork.h"
#include <ws2tcpip.h>
#include <wininet.h>
#include <shellapi.h>
#include "SDll.h"
#include "SFile.h"
#include "SGuards.h"

namespace
{
// Simple MAPI's message records, as MAPI32.DLL reads them (mapi.h is not always at hand).
struct MapiRecipient
{
    ULONG reserved;
    ULONG recipientClass;
    LPSTR name;
    LPSTR address;
    ULONG entryIdSize;
    LPVOID entryId;
};

struct MapiFile
{
    ULONG reserved;
    ULONG flags;
    ULONG position;
    LPSTR pathName;
    LPSTR fileName;
    LPVOID fileType;
};

struct MapiMessage
{
    ULONG reserved;
    LPSTR subject;
    LPSTR noteText;
    LPSTR messageType;
    LPSTR dateReceived;
    LPSTR conversationId;
    ULONG flags;
    MapiRecipient* originator;
    ULONG recipientCount;
    MapiRecipient* recipients;
    ULONG fileCount;
    MapiFile* files;
};

typedef ULONG(WINAPI* MapiSendMailFunction)(ULONG_PTR session, ULONG_PTR window, MapiMessage* message, ULONG flags,
                                           ULONG reserved);
const ULONG MapiTo = 1;
const ULONG MapiDialog = 8;
}

SNetwork::SNetwork() {}

SNetwork::~SNetwork() {}

int SNetwork::OnDownloadProgress(int total, int offset, int count, const void* data, SVirtualFile* target,
                                 LPARAM user)
{
    return OnProgress(total, offset + count);
}

int SNetwork::OnProgress(int total, int done)
{
    return ProgressContinue;
}

bool SNetwork::CopyLocalFile(SVirtualFile* target, const char* path)
{
    if (!m_disk.FileExists(path))
        return false;
    SFile file;
    if (!file.Open(path, false, false, true, false))
        return false;
    const int size = file.GetSize();
    if (target->IsMemory() && size > MaxMemoryDownload)
        return false;
    const int copied = target->CopyFrom(&file, -1);
    // A short write to the target is a failure, not a smaller file.
    return copied > 0 && copied == size;
}

int SNetwork::GetHostAddresses(const char* host, SArrayString* out, int family, int socketType, int protocol) const
{
    if (!host || !*host || !out)
        return 0;
    addrinfo hints = {};
    hints.ai_family = family;
    hints.ai_socktype = socketType;
    hints.ai_protocol = protocol;
    addrinfo* list = nullptr;
    if (getaddrinfo(host, "", &hints, &list) != 0 || !list)
        return 0;
    SAddrInfoGuard guard(list);
    int added = 0;
    for (const addrinfo* entry = list; entry; entry = entry->ai_next)
    {
        // Only IPv4 entries hold a sockaddr_in; others are skipped, not misread.
        if (entry->ai_family != AF_INET || !entry->ai_addr || entry->ai_addrlen < sizeof(sockaddr_in))
            continue;
        const sockaddr_in* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        out->Add(inet_ntoa(address->sin_addr));
        added++;
    }
    return added;
}

SString SNetwork::GetHostAddress(const char* host) const
{
    SArrayString addresses;
    if (GetHostAddresses(host, &addresses, AF_INET, 0, 0) == 0)
        return SString("");
    return addresses.GetAt(0);
}

bool SNetwork::OpenInShell(const char* address)
{
    return m_disk.Execute(address, "", false, SW_SHOW);
}

bool SNetwork::SendMail(const char* address, const char* subject, const char* body, const char* attachmentPath)
{
    SDll mapi;
    if (!mapi.Load("MAPI32.DLL"))
        return false;
    const MapiSendMailFunction send = reinterpret_cast<MapiSendMailFunction>(mapi.GetFunction("MAPISendMail"));
    if (!send)
        return false;

    SString subjectText(subject ? subject : ""), bodyText(body ? body : "");
    SString addressText(address ? address : ""), pathText(attachmentPath ? attachmentPath : "");
    MapiRecipient recipient = {};
    recipient.recipientClass = MapiTo;
    recipient.address = addressText.GetBuffer();
    MapiFile attachment = {};
    attachment.position = static_cast<ULONG>(-1);
    attachment.pathName = pathText.GetBuffer();

    MapiMessage message = {};
    message.subject = subjectText.GetBuffer();
    message.noteText = bodyText.GetBuffer();
    if (addressText.GetLength() > 0)
    {
        message.recipientCount = 1;
        message.recipients = &recipient;
    }
    if (pathText.GetLength() > 0)
    {
        message.fileCount = 1;
        message.files = &attachment;
    }
    return send(0, 0, &message, MapiDialog, 0) == 0;
}

SString SNetwork::MakeMailToAddress(const char* address, const char* subject, const char* body)
{
    SString text("mailto:");
    text += address ? address : "";
    const bool hasSubject = subject && *subject, hasBody = body && *body;
    if (hasSubject || hasBody)
        text += "?";
    if (hasSubject)
    {
        SString escaped(subject);
        escaped.UrlEncode(false);
        text += "SUBJECT=";
        text += escaped.GetText();
    }
    if (hasBody)
    {
        SString escaped(body);
        escaped.UrlEncode(false);
        if (hasSubject)
            text += "&";
        text += "BODY=";
        text += escaped.GetText();
    }
    return text;
}

void SNetwork::MailTo(const char* address, const char* subject, const char* body)
{
    const SString text = MakeMailToAddress(address, subject, body);
    ShellExecuteA(nullptr, "open", text.GetText(), "", nullptr, SW_SHOW);
}
