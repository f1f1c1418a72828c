// Internet services: HTTP download through WinINet into any stream with a progress
// hook, host name look-up, opening addresses in the shell, and mail through Simple
// MAPI or a "mailto:" address.
#pragma once
#include "SPlatform.h"
#include "SArrayString.h"
#include "SDisk.h"
#include "SVirtualFile.h"

class SNetwork
{
public:
    // Answers of the progress hook.
    enum
    {
        ProgressContinue = 0,
        ProgressAbort = 1,
        ProgressSkipBlock = 2
    };

    // A download into a memory stream never stores more than this many bytes: a reply
    // without a length could otherwise fill the memory. A reply that announces more fails
    // before it is read; blocks the hook skips are not stored and do not count.
    static constexpr int MaxMemoryDownload = 64 * 1024 * 1024;
    // A server whose reply headers (after any redirects) are not all in within this time
    // fails the download, however it trickles them; so does one that, once its reply has
    // begun, sends fewer than MinBytesPerWindow bytes in any span of this length.
    static constexpr int AnswerTimeoutMs = 30000;
    static constexpr int MinBytesPerWindow = 1024;
    // Redirects followed at most; one more fails the download.
    static constexpr int MaxRedirects = 10;

    SNetwork();
    virtual ~SNetwork();

    // Called once per block received, before it is stored. total is the announced
    // length or -1; offset is where the block starts in the download.
    virtual int OnDownloadProgress(int total, int offset, int count, const void* data, SVirtualFile* target,
                                   LPARAM user);
    // The short form of the hook, called by OnDownloadProgress's own body with the bytes
    // received so far; answers as above.
    virtual int OnProgress(int total, int done);

    // Appends the content of the URL to the target at its position. A URL that cannot be
    // opened but names an existing local file copies that file instead. True only when the
    // reply was the content, whole: a status line of success, no encoding left in place,
    // and the announced length (if any, readable) received.
    bool Download(SVirtualFile* target, const char* url, int blockSize = 1024, LPARAM user = 0);

    // Appends the dotted text of every IPv4 address of the host; returns how many.
    int GetHostAddresses(const char* host, SArrayString* out, int family, int socketType, int protocol) const;
    // The first IPv4 address of the host, or "".
    SString GetHostAddress(const char* host) const;

    bool OpenInShell(const char* address);
    // Hands a message to the user's mail program (its compose window) through Simple MAPI.
    bool SendMail(const char* address, const char* subject, const char* body, const char* attachmentPath);
    // Opens "mailto:" with the address, subject and body in the shell.
    void MailTo(const char* address, const char* subject, const char* body);

protected:
    // The "mailto:" text that MailTo opens.
    static SString MakeMailToAddress(const char* address, const char* subject, const char* body);

private:
    SNetwork(const SNetwork&) = delete;
    SNetwork& operator=(const SNetwork&) = delete;

    bool CopyLocalFile(SVirtualFile* target, const char* path);
    // The read loop of Download over an open request (SNetworkDownload.cpp).
    bool ReadBody(void* request, SVirtualFile* target, long long total, int blockSize, LPARAM user);

    SDisk m_disk;
};
