#include "SNetwork.h"
#include <ws2tcpip.h>
#include <wininet.h>
#include <shellapi.h>
#include <climits>
#include <vector>
#include "SDll.h"
#include "SFile.h"
#include "SGuards.h"

namespace
{
const DWORD UrlFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NEED_FILE;
const int MaxFailedReads = 10;
const int MaxRecoveries = 5;

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

// The HTTP status of an open request; 0 when the handle is not an HTTP request.
DWORD QueryStatus(HINTERNET request)
{
    DWORD status = 0, size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return 0;
    return status;
}

// The announced length, or -1 when the reply carries none.
long long QueryContentLength(HINTERNET request)
{
    DWORD length = 0, size = sizeof(length);
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr))
        return -1;
    return length;
}
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

bool SNetwork::Download(SVirtualFile* target, const char* url, int blockSize, LPARAM user)
{
    if (!target || !url)
        return false;
    if (blockSize < 1)
        blockSize = 1;
    SInternetGuard internet(InternetOpenA("KLV", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet.Get())
        return false;
    SInternetGuard request(InternetOpenUrlA(internet.Get(), url, nullptr, 0, UrlFlags, 0));
    if (!request.Get())
    {
        request.Reset();
        internet.Reset();
        return CopyLocalFile(target, url);
    }
    // An error page is never taken for the content.
    const DWORD status = QueryStatus(request.Get());
    if (status != 0 && (status < 200 || status > 299))
        return false;
    const long long total = QueryContentLength(request.Get());
    if (total > INT_MAX)
        return false;
    // The stored data stays within 32-bit stream positions, and memory targets within their cap.
    const long long limit = target->IsMemory() ? MaxMemoryDownload : INT_MAX;

    std::vector<char> buffer(blockSize);
    long long received = 0;
    int failedReads = 0, recoveries = 0;
    bool failed = false;
    while (failedReads < MaxFailedReads && !failed)
    {
        DWORD count = 0;
        if (!InternetReadFile(request.Get(), buffer.data(), static_cast<DWORD>(blockSize), &count))
        {
            failedReads++;
            continue;
        }
        const bool afterFailure = failedReads > 0;
        if (afterFailure)
        {
            failedReads = 0;
            if (++recoveries >= MaxRecoveries)
                break;
        }
        if (count == 0)
        {
            // An end that follows a failed read is a broken connection: data may be lost.
            failed = afterFailure;
            break;
        }
        if (received + count > limit)
        {
            failed = true;
            break;
        }
        received += count;
        const int answer = OnDownloadProgress(static_cast<int>(total), static_cast<int>(received - count),
                                              static_cast<int>(count), buffer.data(), target, user);
        if (answer == ProgressAbort)
            failedReads = MaxFailedReads;
        else if (answer != ProgressSkipBlock &&
                 target->Write(buffer.data(), static_cast<int>(count)) != static_cast<int>(count))
            failed = true;
    }
    if (failed || failedReads >= MaxFailedReads || recoveries >= MaxRecoveries)
        return false;
    return total < 0 || received >= total;
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
