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

// The connection's end ends the run: the rows not tried stay queued, the
// one whose requests are on the wire too.
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
    _PFile file;
    Take(socket, -1, &file);
    while (file.row >= 0 && !IsStopRequested() && socket.IsConnected())
    {
        _PFile next;
        const int state = Download(socket, file, &next);
        if (state != LEFT_QUEUED)
            m_queue->SetStateOf(file.path.GetText(), state, file.row);
        file = next;
    }
    m_targets = nullptr;
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

// The next row's "105" follows this one's "106": its answer comes right
// after this file, and the server has it while this target is being made.
int PThreadClientFiles::Download(_PSocket& socket, _PFile& file, _PFile* next)
{
    m_row = file.row;
    m_path = file.path;
    m_percent = -1;
    m_quiet = false;
    const int state = Ask(socket, file);
    if (state == LEFT_QUEUED)
        return state;
    Take(socket, file.row, next);
    return state == PWndNet::STATE_QUEUED ? Receive(socket, file) : state;
}

// The size and what to do: done or failed here, or queued while "106" is
// asked for the rest of the file.
int PThreadClientFiles::Ask(_PSocket& socket, _PFile& file)
{
    if (!file.asked)
        return PWndNet::STATE_FAILED;
    file.remote = ParseSize(socket.ReceiveString(REPLY_TIMEOUT));
    if (IsStopRequested())
        return LEFT_QUEUED;
    file.local = m_targets->GetLocalSize(file.target);
    if (file.remote <= 0 || file.local < 0 || file.local > file.remote)
        return PWndNet::STATE_FAILED;
    if (file.local == file.remote)
    {
        SetPercent(100);
        return PWndNet::STATE_DONE;
    }
    if (!m_targets->MakeFolder(file.target))
        return PWndNet::STATE_FAILED;
    SString request = file.path + "|";
    request += SString().SetUInt64(static_cast<unsigned long long>(file.local)).GetText();
    if (!socket.SendMessage("106", request.GetText()))
        return IsStopRequested() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
    return PWndNet::STATE_QUEUED;
}

// Appends from the local size; the row is done only at the exact size. The
// target is made while the server answers; one that cannot be opened fails
// its row once the transfer is read past, so the connection stays in step.
int PThreadClientFiles::Receive(_PSocket& socket, const _PFile& file)
{
    _PTarget stream(socket, file.remote - file.local);
    const bool opened = stream.Open(file.target.GetText(), true, file.local == 0, true);
    if (opened)
        m_targets->AddMade(file.target);
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
