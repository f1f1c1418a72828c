#include "PThreadClientFiles.h"
#include <cstdlib>
#include "PPeerPath.h"
#include "PTargetFolders.h"
#include "PWndNet.h"

namespace
{
const uint32_t CLIENT_VALUE = 0x1000000;
const int REPLY_TIMEOUT = 2000;
// Download's answer when the row stays queued (a stop was asked, or the
// connection ended).
const int LEFT_QUEUED = -1;
// A server busy with another peer's large file answers late: the rows wait
// for it this long after its last answer, trying anew after each pause.
const DWORD BUSY_LIMIT = 60000;
const int RETRY_PAUSE = 500;
// Connections lost one after the other with no row ended and nothing written:
// a server that always breaks off is not asked again and again.
const int MOST_LOSSES = 10;

// A decimal size as "105" gives it; -1 for anything else.
long long ParseSize(const SString& text)
{
    const char* digits = text.GetText();
    if (!digits || !*digits)
        return -1;
    char* end = nullptr;
    const long long value = std::strtoll(digits, &end, 10);
    return end && *end == 0 ? value : -1;
}
}

// The events' counts are capped to an int: the percents come from the true ones.
// A transfer not of what remains is read past, and tells no percent.
void PThreadClientFiles::_PSocket::ReportPercent()
{
    long long received = 0, size = 0;
    GetTransferCounts(&received, &size);
    m_thread->m_answered = timeGetTime();
    if (size == m_thread->m_remaining)
        m_thread->ReportPercent(m_thread->m_offset + received, m_thread->m_offset + size);
}

void PThreadClientFiles::_PSocket::OnTransferStart(int size, uint32_t tag)
{
    ReportPercent();
}

int PThreadClientFiles::_PSocket::OnTransferProgress(int received, int size, uint32_t tag)
{
    ReportPercent();
    return m_thread->IsStopRequested() ? -1 : 0;
}

void PThreadClientFiles::_PSocket::OnTransferEnd(int received, int size, uint32_t tag)
{
    ReportPercent();
}

// A target that could not be opened takes nothing: the transfer is read past.
int PThreadClientFiles::_PTarget::Write(const void* data, int n)
{
    long long announced = -1;
    m_socket.GetTransferCounts(nullptr, &announced);
    const int written = IsOpen() && announced == m_remaining ? SFile::Write(data, n) : 0;
    m_written += written > 0 ? written : 0;
    return written;
}

void PThreadClientFiles::Prepare(const char* host, int port, const char* key, const char* name, const char* root)
{
    m_host = host ? host : "";
    m_port = port;
    m_key = key ? key : "";
    m_name = name ? name : "";
    m_root = root ? root : "";
}

void PThreadClientFiles::ReportPercent(long long done, long long total)
{
    if (total > 0 && !m_quiet)
        SetPercent(static_cast<int>(done * 100 / total));
}

// Told to the queue only when it changes: the transfer reports every packet.
// It is shown at most every SHOW_PERIOD ms, since each showing costs the
// user's thread a drawing; the end of a file is shown by its state.
void PThreadClientFiles::SetPercent(int percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    const DWORD now = timeGetTime();
    const bool show = percent < 100 && now - m_shown >= SHOW_PERIOD;
    if (show)
        m_shown = now;
    m_queue->SetPercentOf(m_path.GetText(), percent, m_row, show);
}

// Rows are followed by their path, so the user may tidy the queue meanwhile.
// A lost connection leaves the rows it held queued; they are asked anew on
// the next one. The connection's own failure at the start ends the run.
bool PThreadClientFiles::Run()
{
    if (!m_queue)
        return false;
    _PSocket socket(this);
    socket.SetAccessKey(m_key.GetText());
    if (socket.Connect(m_host.GetText(), m_port, false, CLIENT_VALUE) != 0)
        return false;
    PTargetFolders targets;
    m_targets = &targets;
    {
        // Ends before the targets: a job it was handed is never freed first.
        PTargetMaker maker;
        m_maker = &maker;
        m_answered = timeGetTime();
        m_losses = 0;
        while (Fetch(socket) == LEFT_QUEUED && !IsStopRequested() && !socket.IsConnected() && Reconnect(socket))
        {
        }
        m_maker = nullptr;
    }
    m_targets = nullptr;
    return false;
}

bool PThreadClientFiles::Reconnect(_PSocket& socket)
{
    if (++m_losses > MOST_LOSSES)
        return false;
    while (!IsStopRequested() && timeGetTime() - m_answered < BUSY_LIMIT)
    {
        for (int waited = 0; waited < RETRY_PAUSE && !IsStopRequested(); waited += 50)
            Sleep(50);
        const int result = IsStopRequested() ? -1 : socket.Connect(m_host.GetText(), m_port, false, CLIENT_VALUE);
        if (result == 0)
            return true;
        if (result != -1)
            return false;
    }
    return false;
}

int PThreadClientFiles::Fetch(_PSocket& socket)
{
    _PFile file, next;
    while (!IsStopRequested() && socket.IsConnected())
    {
        if (file.path.GetLength() == 0)
        {
            Take(socket, {}, &file);
            if (file.path.GetLength() == 0)
                return PWndNet::STATE_DONE;
            Take(socket, {file.path}, &next);
            if (!ReadSize(socket, file))
                return LEFT_QUEUED;
        }
        _PFile after;
        const int state = Download(socket, file, next, &after);
        if (state == LEFT_QUEUED)
            return LEFT_QUEUED;
        m_queue->SetStateOf(file.path.GetText(), state, file.row);
        m_losses = 0;
        file = next;
        next = after;
    }
    return LEFT_QUEUED;
}

// The first queued row not held already; its size is asked at once.
void PThreadClientFiles::Take(_PSocket& socket, const std::vector<SString>& held, _PFile* file)
{
    file->path = socket.IsConnected() ? m_queue->GetNextQueuedPath(held, &file->row) : SString("");
    if (file->path.GetLength() == 0)
        return;
    file->target = PPeerPath::MakeDownloadTarget(m_root, m_name.GetText(), file->path.GetText());
    file->key = PPeerPath::FoldCase(file->target.GetText());
    file->asked = file->target.GetLength() > 0 && socket.SendMessage("105", file->path.GetText());
}

// False when the answer did not come (the connection is then closed) or a
// stop was asked meanwhile.
bool PThreadClientFiles::ReadSize(_PSocket& socket, _PFile& file)
{
    if (file.asked)
    {
        file.remote = ParseSize(socket.ReceiveString(REPLY_TIMEOUT));
        if (!socket.IsConnected())
            return false;
        m_answered = timeGetTime();
    }
    return !IsStopRequested();
}

// Done or failed at once, or fetching once "106" asks for the rest. A target
// that cannot take the file fails before it is asked for.
void PThreadClientFiles::Decide(_PSocket& socket, _PFile& file)
{
    file.state = PWndNet::STATE_FAILED;
    if (!file.asked)
        return;
    file.local = m_targets->GetLocalSize(file.target);
    if (file.remote <= 0 || file.local < 0 || file.local > file.remote)
        return;
    if (file.local == file.remote)
    {
        file.state = PWndNet::STATE_DONE;
        return;
    }
    if (m_targets->IsWrittenByOther(file.target, file.path) || !m_targets->CanWrite(file.target) ||
        !m_targets->MakeFolder(file.target))
        return;
    SString request = file.path + "|";
    request += SString().SetUInt64(static_cast<unsigned long long>(file.local)).GetText();
    if (!socket.SendMessage("106", request.GetText()))
    {
        file.state = IsStopRequested() || !socket.IsConnected() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
        return;
    }
    file.state = FETCHING;
    if (file.local == 0)
        file.made = m_maker->Begin(file.target);
}

// The next row is decided before this file is received, unless this file is
// its target too (as the file system takes names): that one waits until this
// file is done.
int PThreadClientFiles::Download(_PSocket& socket, _PFile& file, _PFile& next, _PFile* after)
{
    m_row = file.row;
    m_path = file.path;
    m_percent = -1;
    m_quiet = false;
    if (file.state == PENDING)
        Decide(socket, file);
    if (next.path.GetLength() > 0)
    {
        if (!ReadSize(socket, next))
            return LEFT_QUEUED;
        // The next size and the next file are asked with one call.
        socket.HoldRequests();
        Take(socket, {file.path, next.path}, after);
        if (file.state != FETCHING || next.key != file.key)
            Decide(socket, next);
        socket.SendHeld();
    }
    if (file.state == FETCHING)
        return Receive(socket, file);
    if (file.state == PWndNet::STATE_DONE)
        SetPercent(100);
    return file.state;
}

// Appends from the local size; the row is done only when the target holds
// the remote size, all of what this transfer added written for this row. A
// new target was begun on the maker's thread while the file before it came;
// one that cannot be opened fails its row once the transfer is read past, so
// the connection stays in step.
int PThreadClientFiles::Receive(_PSocket& socket, const _PFile& file)
{
    _PTarget stream(socket, file.remote - file.local);
    bool made = file.local > 0;
    if (!made)
        made = file.made ? m_maker->End(file.made) : PTargetMaker::MakeEmpty(file.target);
    if (made)
        m_targets->AddMade(file.target);
    const bool opened = made && stream.Open(file.target.GetText(), true, false, true);
    const bool ready = opened && stream.SeekTo64(file.local);
    if (!ready)
        stream.Close();
    const bool ok = socket.ReceiveString(REPLY_TIMEOUT) == "Ok";
    if (!ok || !socket.IsConnected())
        return IsStopRequested() || !socket.IsConnected() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
    m_answered = timeGetTime();
    if (ready)
        m_targets->MarkWritten(file.target, file.path);
    m_offset = file.local;
    m_remaining = file.remote - file.local;
    m_quiet = !ready;
    socket.ReceiveFile64(&stream, REPLY_TIMEOUT);
    if (stream.GetWritten() > 0)
        m_losses = 0;
    // Measured on the open file: no look-up of its name.
    const long long size = ready ? stream.GetSize64() : -1;
    stream.Close();
    if (size == file.remote && file.local + stream.GetWritten() == file.remote)
    {
        SetPercent(100);
        return PWndNet::STATE_DONE;
    }
    return IsStopRequested() || !socket.IsConnected() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
}
