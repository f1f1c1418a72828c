// SNetwork::Download: opening the URL (redirects followed by hand, with time-outs), the
// checks that keep a broken or encoded reply from passing for the content, and the read
// loop with its limits.
#include "SNetwork.h"
#include <wininet.h>
#include <atomic>
#include <climits>
#include <deque>
#include <memory>
#include <vector>
#include "SGuards.h"

namespace
{
const DWORD UrlFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NEED_FILE;
const int MaxFailedReads = 10;
const int MaxRecoveries = 5;
// More header lines of one name than any honest reply carries.
const DWORD MaxHeaderRepeats = 64;
const DWORD MaxUrlLength = 8192;
const DWORD MaxHeaderLength = 8192;

enum OpenResult
{
    Opened,
    NotOpened, // the URL itself could not be opened: the local-file fallback applies
    OpenFailed // opened, but what came back cannot be the content
};

enum BlockResult
{
    FailedRead = -1,
    TooSlow = -2
};

// The pace a reply must keep once it has begun: at least MinBytesPerWindow bytes in any
// AnswerTimeoutMs. Arrivals are kept only as far back as the last MinBytesPerWindow
// bytes reach, so at most that many of them.
class PaceWatch
{
public:
    PaceWatch() : m_begin(GetTickCount64()), m_total(0) {}

    void Add(DWORD count)
    {
        m_total += count;
        m_arrivals.push_back(Arrival{GetTickCount64(), m_total});
        // Only the arrivals that brought one of the last MinBytesPerWindow bytes stay; the
        // newest always does.
        while (m_arrivals.front().totalAfter <= m_total - SNetwork::MinBytesPerWindow)
            m_arrivals.pop_front();
    }

    // True when the oldest of the last MinBytesPerWindow bytes came AnswerTimeoutMs ago or
    // earlier: fewer than that many came since. Until that many came at all, the span
    // reaches back to the start of the reply.
    bool IsTooSlow() const
    {
        unsigned long long since = m_begin;
        if (m_total >= SNetwork::MinBytesPerWindow)
            since = m_arrivals.front().time;
        return GetTickCount64() - since >= static_cast<unsigned long long>(SNetwork::AnswerTimeoutMs);
    }

private:
    struct Arrival
    {
        unsigned long long time;
        long long totalAfter;
    };
    unsigned long long m_begin;
    long long m_total;
    std::deque<Arrival> m_arrivals;
};

// Fills the block with what the server sends, asking only for bytes already there so that
// the pace is checked between arrivals. Returns the bytes read (0 at the end of the data),
// FailedRead or TooSlow. A block cut by a failure is returned; the failure comes again.
int ReadBlock(HINTERNET request, char* block, int size, PaceWatch& pace)
{
    int filled = 0;
    while (filled < size)
    {
        DWORD available = 0, count = 0;
        bool ok = InternetQueryDataAvailable(request, &available, 0, 0) != FALSE;
        if (ok && available > 0)
        {
            const DWORD wanted = available < static_cast<DWORD>(size - filled) ? available : size - filled;
            ok = InternetReadFile(request, block + filled, wanted, &count) != FALSE;
            if (ok && count > 0)
                pace.Add(count);
        }
        if (pace.IsTooSlow())
            return TooSlow;
        if (!ok)
            return filled > 0 ? filled : FailedRead;
        if (count == 0)
            return filled;
        filled += static_cast<int>(count);
    }
    return filled;
}

// The text of every header line of one name, in order; false when a query fails
// other than for a missing header.
bool QueryHeaderValues(HINTERNET request, DWORD query, SArrayString* out)
{
    std::vector<char> text(256);
    for (DWORD index = 0; index < MaxHeaderRepeats;)
    {
        DWORD size = static_cast<DWORD>(text.size()), before = index;
        if (!HttpQueryInfoA(request, query, text.data(), &size, &index))
        {
            const DWORD error = GetLastError();
            if (error == ERROR_HTTP_HEADER_NOT_FOUND)
                return true;
            if (error != ERROR_INSUFFICIENT_BUFFER || size <= text.size() || size > MaxHeaderLength)
                return false;
            text.resize(size + 1);
            index = before;
            continue;
        }
        SString value;
        value.Assign(text.data(), static_cast<int>(size));
        out->Add(value.GetText());
        if (index == before)
            return true;
    }
    return false;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text without the blanks around it.
SString Trimmed(const char* text, int count)
{
    while (count > 0 && IsBlank(*text))
        text++, count--;
    while (count > 0 && IsBlank(text[count - 1]))
        count--;
    SString result;
    result.Assign(text, count);
    return result;
}

// A Content-Length element: decimal digits only, no more than INT_MAX; -1 otherwise.
long long ParseLength(const SString& text)
{
    if (text.GetLength() == 0)
        return -1;
    long long value = 0;
    for (int i = 0; i < text.GetLength(); i++)
    {
        const char c = text.GetAt(i);
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return -1;
    }
    return value;
}

// The announced length, read as text: -1 when there is none; false when a value cannot be
// read as a number that fits, or the values differ (a repeated header, or a list).
bool ReadContentLength(HINTERNET request, long long* total)
{
    *total = -1;
    SArrayString values;
    if (!QueryHeaderValues(request, HTTP_QUERY_CONTENT_LENGTH, &values))
        return false;
    for (int i = 0; i < values.GetCount(); i++)
    {
        const SString value = values.GetAt(i);
        int start = 0;
        do
        {
            int end = value.FindChar(',', start);
            if (end < 0)
                end = value.GetLength();
            const long long length = ParseLength(Trimmed(value.GetText() + start, end - start));
            if (length < 0 || (*total >= 0 && length != *total))
                return false;
            *total = length;
            start = end + 1;
        } while (start <= value.GetLength());
    }
    return true;
}

// Only plain chunked framing is undone by the platform; nothing asked for a content
// encoding, so none is decoded. Any other coding would leave encoded bytes as the file.
bool ReadEncodings(HINTERNET request, bool* chunked)
{
    SArrayString transfer, content;
    if (!QueryHeaderValues(request, HTTP_QUERY_TRANSFER_ENCODING, &transfer) ||
        !QueryHeaderValues(request, HTTP_QUERY_CONTENT_ENCODING, &content))
        return false;
    *chunked = transfer.GetCount() == 1;
    if (transfer.GetCount() > 1 ||
        (*chunked && Trimmed(transfer.GetAt(0).GetText(), transfer.GetAt(0).GetLength()).CompareNoCase("chunked")))
        return false;
    for (int i = 0; i < content.GetCount(); i++)
    {
        const SString value = Trimmed(content.GetAt(i).GetText(), content.GetAt(i).GetLength());
        if (value.GetLength() > 0 && value.CompareNoCase("identity") != 0)
            return false;
    }
    return true;
}

// WinINet turns a reply without a status line into "HTTP/1.0 200 OK" with no header
// fields, and hands the raw bytes on as the body; a connection closed before any reply
// gives status 0. The fields are the only trace a real status line leaves.
bool HasStatusLine(HINTERNET request)
{
    DWORD status = 0, size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status == 0)
        return false;
    size = 0;
    HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS, nullptr, &size, nullptr);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return false;
    std::vector<char> lines(size + 2, 0);
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS, lines.data(), &size, nullptr))
        return false;
    // NUL-separated lines: the status line, then one per field.
    const size_t first = strnlen(lines.data(), lines.size());
    return first + 1 < lines.size() && lines[first + 1] != 0;
}

DWORD QueryStatus(HINTERNET request)
{
    DWORD status = 0, size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return 0;
    return status;
}

bool IsRedirect(DWORD status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool IsWebScheme(INTERNET_SCHEME scheme)
{
    return scheme == INTERNET_SCHEME_HTTP || scheme == INTERNET_SCHEME_HTTPS;
}

// The parts of a URL that a request needs, copied out of the text.
struct UrlParts
{
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    SString host, user, password, path;
    INTERNET_PORT port = 0;
};

bool CrackUrl(const char* url, UrlParts* parts)
{
    URL_COMPONENTSA c = {};
    c.dwStructSize = sizeof(c);
    c.dwHostNameLength = c.dwUserNameLength = c.dwPasswordLength = 1;
    c.dwUrlPathLength = c.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(url, 0, 0, &c))
        return false;
    parts->scheme = c.nScheme;
    parts->port = c.nPort;
    parts->host.Assign(c.lpszHostName ? c.lpszHostName : "", c.lpszHostName ? c.dwHostNameLength : 0);
    parts->user.Assign(c.lpszUserName ? c.lpszUserName : "", c.lpszUserName ? c.dwUserNameLength : 0);
    parts->password.Assign(c.lpszPassword ? c.lpszPassword : "", c.lpszPassword ? c.dwPasswordLength : 0);
    parts->path.Assign(c.lpszUrlPath ? c.lpszUrlPath : "", c.lpszUrlPath ? c.dwUrlPathLength : 0);
    if (c.lpszExtraInfo && c.dwExtraInfoLength > 0)
    {
        SString extra;
        extra.Assign(c.lpszExtraInfo, c.dwExtraInfoLength);
        parts->path += extra.GetText();
    }
    return parts->host.GetLength() > 0;
}

void SetTimeout(HINTERNET handle, DWORD option)
{
    DWORD milliseconds = SNetwork::AnswerTimeoutMs;
    InternetSetOptionA(handle, option, &milliseconds, sizeof(milliseconds));
}

// A request being sent on a helper thread, shared by the helper and the download.
struct PendingSend
{
    HINTERNET request = nullptr;
    std::atomic<int> state{0}; // 0 not begun, 1 sending, 2 given up before it began
    SHandleGuard done;
    BOOL result = FALSE;
};

DWORD WINAPI SendRequestProc(LPVOID argument)
{
    std::unique_ptr<std::shared_ptr<PendingSend>> holder(static_cast<std::shared_ptr<PendingSend>*>(argument));
    const std::shared_ptr<PendingSend> send = *holder;
    int expected = 0;
    if (send->state.compare_exchange_strong(expected, 1))
        send->result = HttpSendRequestA(send->request, nullptr, 0, nullptr, 0);
    SetEvent(send->done.Get());
    return 0;
}

// Sends the request and waits for the reply's headers as a whole, at most `timeout` ms: the
// per-read time-out restarts with every byte, so a server trickling its headers would
// otherwise hold the download for as long as it likes. The call runs on a helper thread
// and, at the bound, the request handle is closed. That ends the blocked call on Windows;
// Wine's WinINet ends it only when the server lets go, so the helper is left to finish by
// itself, holding nothing of the download but its share of the record.
bool SendWithin(SInternetGuard& request, DWORD timeout)
{
    const std::shared_ptr<PendingSend> send = std::make_shared<PendingSend>();
    send->request = request.Get();
    send->done.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!send->done.IsValid())
        return false;
    std::unique_ptr<std::shared_ptr<PendingSend>> holder(new std::shared_ptr<PendingSend>(send));
    SHandleGuard thread(CreateThread(nullptr, 0, SendRequestProc, holder.get(), 0, nullptr));
    if (!thread.IsValid())
        return false;
    holder.release();
    if (WaitForSingleObject(send->done.Get(), timeout) == WAIT_OBJECT_0)
        return send->result != FALSE;
    int expected = 0;
    send->state.compare_exchange_strong(expected, 2);
    request.Reset();
    return false;
}

// The time left of a bound that began at `start`, 0 once it has passed.
DWORD TimeLeft(unsigned long long start, int bound)
{
    const unsigned long long elapsed = GetTickCount64() - start;
    return elapsed >= static_cast<unsigned long long>(bound) ? 0 : static_cast<DWORD>(bound - elapsed);
}

// One request over HTTP(S), time-outs set before it is sent; false when it cannot be sent
// or its headers are not all in before the answer bound that began at `start`.
bool SendRequest(HINTERNET internet, const UrlParts& url, unsigned long long start, SInternetGuard& connection,
                 SInternetGuard& request)
{
    request.Reset();
    connection.Reset();
    connection.Reset(InternetConnectA(internet, url.host.GetText(), url.port,
                                    url.user.GetLength() ? url.user.GetText() : nullptr,
                                    url.password.GetLength() ? url.password.GetText() : nullptr,
                                    INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.Get())
        return false;
    const DWORD flags = UrlFlags | INTERNET_FLAG_NO_AUTO_REDIRECT |
                        (url.scheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
    // The same request the platform's own URL opening makes.
    const char* accept[] = {"*/*", nullptr};
    request.Reset(HttpOpenRequestA(connection.Get(), "GET", url.path.GetLength() ? url.path.GetText() : "/",
                                   nullptr, nullptr, accept, flags, 0));
    if (!request.Get())
        return false;
    SetTimeout(request.Get(), INTERNET_OPTION_CONNECT_TIMEOUT);
    SetTimeout(request.Get(), INTERNET_OPTION_SEND_TIMEOUT);
    SetTimeout(request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT);
    return SendWithin(request, TimeLeft(start, SNetwork::AnswerTimeoutMs));
}

// The absolute URL a redirect leads to; false when there is none or it leaves the web.
bool RedirectTarget(HINTERNET request, const SString& from, SString* to)
{
    SArrayString locations;
    if (!QueryHeaderValues(request, HTTP_QUERY_LOCATION, &locations) || locations.GetCount() != 1)
        return false;
    std::vector<char> combined(MaxUrlLength);
    DWORD size = MaxUrlLength;
    if (!InternetCombineUrlA(from.GetText(), locations.GetAt(0).GetText(), combined.data(), &size,
                             ICU_ENCODE_SPACES_ONLY))
        return false;
    *to = combined.data();
    UrlParts parts;
    return CrackUrl(to->GetText(), &parts) && IsWebScheme(parts.scheme);
}

// Opens an HTTP(S) URL, following at most MaxRedirects redirects to other web addresses;
// the final reply's headers must be in within AnswerTimeoutMs of the start.
OpenResult OpenWebUrl(HINTERNET internet, const char* url, SInternetGuard& connection, SInternetGuard& request)
{
    SString current(url);
    const unsigned long long start = GetTickCount64();
    for (int redirects = 0;; redirects++)
    {
        UrlParts parts;
        if (!CrackUrl(current.GetText(), &parts) || !SendRequest(internet, parts, start, connection, request))
            return redirects == 0 ? NotOpened : OpenFailed;
        if (!IsRedirect(QueryStatus(request.Get())))
            return Opened;
        SString next;
        if (redirects >= SNetwork::MaxRedirects || !RedirectTarget(request.Get(), current, &next))
            return OpenFailed;
        current = next;
    }
}

// Other schemes (FTP among them) go through the platform's own opening, as they always did.
OpenResult OpenUrl(HINTERNET internet, const char* url, SInternetGuard& connection, SInternetGuard& request)
{
    UrlParts parts;
    if (CrackUrl(url, &parts) && IsWebScheme(parts.scheme))
        return OpenWebUrl(internet, url, connection, request);
    request.Reset(InternetOpenUrlA(internet, url, nullptr, 0, UrlFlags, 0));
    return request.Get() ? Opened : NotOpened;
}

bool IsHttpRequest(HINTERNET request)
{
    DWORD type = 0, size = sizeof(type);
    return InternetQueryOptionA(request, INTERNET_OPTION_HANDLE_TYPE, &type, &size) &&
           type == INTERNET_HANDLE_TYPE_HTTP_REQUEST;
}

// The reply's length (-1 when none is announced), or false when the reply cannot be taken
// for the content: no status line, an error status, an encoding left in place, a length
// that cannot be read.
bool CheckReply(HINTERNET request, long long* total)
{
    *total = -1;
    if (!IsHttpRequest(request))
        return true;
    const DWORD status = QueryStatus(request);
    bool chunked = false;
    if (!HasStatusLine(request) || status < 200 || status > 299 || !ReadEncodings(request, &chunked) ||
        !ReadContentLength(request, total))
        return false;
    // With chunked framing the length header does not count.
    if (chunked)
        *total = -1;
    return true;
}
} // namespace

bool SNetwork::Download(SVirtualFile* target, const char* url, int blockSize, LPARAM user)
{
    if (!target || !url)
        return false;
    if (blockSize < 1)
        blockSize = 1;
    SInternetGuard internet(InternetOpenA("KLV", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet.Get())
        return false;
    SInternetGuard connection, request;
    const OpenResult opened = OpenUrl(internet.Get(), url, connection, request);
    if (opened == NotOpened)
    {
        request.Reset();
        connection.Reset();
        internet.Reset();
        return CopyLocalFile(target, url);
    }
    long long total = -1;
    if (opened == OpenFailed || !CheckReply(request.Get(), &total))
        return false;
    // A memory target holds at most MaxMemoryDownload bytes: a longer announced reply
    // fails before anything is read.
    if (target->IsMemory() && total > MaxMemoryDownload)
        return false;
    return ReadBody(request.Get(), target, total, blockSize, user);
}

bool SNetwork::ReadBody(void* request, SVirtualFile* target, long long total, int blockSize, LPARAM user)
{
    std::vector<char> buffer(blockSize);
    PaceWatch pace;
    long long received = 0, stored = 0;
    int failedReads = 0, recoveries = 0;
    while (failedReads < MaxFailedReads)
    {
        const int count = ReadBlock(request, buffer.data(), blockSize, pace);
        if (count == TooSlow)
            return false;
        if (count == FailedRead)
        {
            failedReads++;
            continue;
        }
        const bool afterFailure = failedReads > 0;
        if (afterFailure)
        {
            failedReads = 0;
            if (++recoveries >= MaxRecoveries)
                return false;
        }
        // An end that follows a failed read is a broken connection: data may be lost.
        if (count == 0)
            return !afterFailure && (total < 0 || received >= total);
        // Offsets reach the hook as 32-bit numbers.
        if (received + count > INT_MAX)
            return false;
        received += count;
        const int answer = OnDownloadProgress(static_cast<int>(total), static_cast<int>(received - count), count,
                                              buffer.data(), target, user);
        if (answer == ProgressAbort)
            return false;
        if (answer == ProgressSkipBlock)
            continue;
        // Only what is stored counts against the cap of a memory target.
        stored += count;
        if ((target->IsMemory() && stored > MaxMemoryDownload) ||
            target->Write(buffer.data(), count) != count)
            return false;
    }
    return false;
}
