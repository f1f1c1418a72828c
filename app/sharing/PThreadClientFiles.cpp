#include "PThreadClientFiles.h"
#include <cstdlib>
#include "PPeerPath.h"
#include "PWndNet.h"

namespace
{
const uint32_t CLIENT_VALUE = 0x1000000;
const int REPLY_TIMEOUT = 2000;
// Download's answer when the row stays queued (a stop was asked).
const int LEFT_QUEUED = -1;

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
void PThreadClientFiles::_PSocket::ReportPercent()
{
    long long received = 0, size = 0;
    GetTransferCounts(&received, &size);
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
    return IsOpen() && announced == m_remaining ? SFile::Write(data, n) : 0;
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
void PThreadClientFiles::SetPercent(int percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    m_queue->SetPercentOf(m_path.GetText(), percent, m_row);
}

// The connection's end ends the run: the rows not tried stay queued, those
// whose requests are on the wire too. Rows added meanwhile are taken when
// the ones asked ahead are done.
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
    _PFile file, next;
    // Ends before the rows above: a job it was handed is never freed first.
    PTargetMaker maker;
    m_maker = &maker;
    for (int last = -1; !IsStopRequested() && socket.IsConnected();)
    {
        if (file.row < 0)
        {
            Take(socket, last, &file);
            if (file.row < 0)
                break;
            Take(socket, file.row, &next);
            if (!ReadSize(socket, file))
                break;
        }
        _PFile after;
        const int state = Download(socket, file, next, &after);
        if (state == LEFT_QUEUED)
            break;
        m_queue->SetStateOf(file.path.GetText(), state, file.row);
        last = file.row;
        file = next;
        next = after;
    }
    m_targets = nullptr;
    m_maker = nullptr;
    return false;
}

// The first queued row after the given one; its size is asked at once.
void PThreadClientFiles::Take(_PSocket& socket, int after, _PFile* file)
{
    file->row = socket.IsConnected() ? m_queue->GetNextQueued(after) : -1;
    if (file->row < 0)
        return;
    file->path = m_queue->GetPath(file->row);
    file->target = PPeerPath::MakeDownloadTarget(m_root, m_name.GetText(), file->path.GetText());
    file->asked = file->target.GetLength() > 0 && socket.SendMessage("105", file->path.GetText());
}

// False when a stop was asked meanwhile.
bool PThreadClientFiles::ReadSize(_PSocket& socket, _PFile& file)
{
    if (file.asked)
        file.remote = ParseSize(socket.ReceiveString(REPLY_TIMEOUT));
    return !IsStopRequested();
}

// Done or failed at once, or fetching once "106" asks for the rest.
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
    if (!m_targets->MakeFolder(file.target))
        return;
    SString request = file.path + "|";
    request += SString().SetUInt64(static_cast<unsigned long long>(file.local)).GetText();
    if (!socket.SendMessage("106", request.GetText()))
    {
        file.state = IsStopRequested() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
        return;
    }
    file.state = FETCHING;
    if (file.local == 0)
        file.made = m_maker->Begin(file.target);
}

// The next row is decided before this file is received, unless this file is
// its target too: that one waits until this file is made.
int PThreadClientFiles::Download(_PSocket& socket, _PFile& file, _PFile& next, _PFile* after)
{
    m_row = file.row;
    m_path = file.path;
    m_percent = -1;
    m_quiet = false;
    if (file.state == PENDING)
        Decide(socket, file);
    if (next.row >= 0)
    {
        if (!ReadSize(socket, next))
            return LEFT_QUEUED;
        Take(socket, next.row, after);
        if (file.state != FETCHING || next.target.CompareNoCase(file.target.GetText()) != 0)
            Decide(socket, next);
    }
    if (file.state == FETCHING)
        return Receive(socket, file);
    if (file.state == PWndNet::STATE_DONE)
        SetPercent(100);
    return file.state;
}

// Appends from the local size; the row is done only at the exact size. A new
// target was begun on the maker's thread while the file before it came; one
// that cannot be opened fails its row once the transfer is read past, so the
// connection stays in step.
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
    if (socket.ReceiveString(REPLY_TIMEOUT) != "Ok")
        return IsStopRequested() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
    m_offset = file.local;
    m_quiet = !ready;
    socket.ReceiveFile64(&stream, REPLY_TIMEOUT);
    // Measured on the open file: no look-up of its name.
    const long long size = ready ? stream.GetSize64() : -1;
    stream.Close();
    if (size == file.remote)
    {
        SetPercent(100);
        return PWndNet::STATE_DONE;
    }
    return IsStopRequested() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
}
