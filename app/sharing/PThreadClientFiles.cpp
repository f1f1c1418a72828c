#include "PThreadClientFiles.h"
#include <cstdlib>
#include "PPeerPath.h"
#include "PWndNet.h"
#include "SPath.h"

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

int PThreadClientFiles::_PTarget::Write(const void* data, int n)
{
    long long announced = -1;
    m_socket.GetTransferCounts(nullptr, &announced);
    return announced == m_remaining ? SFile::Write(data, n) : 0;
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
    if (total > 0)
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

// The connection's end ends the run: the rows not tried stay queued.
bool PThreadClientFiles::Run()
{
    if (!m_queue)
        return false;
    _PSocket socket(this);
    socket.SetAccessKey(m_key.GetText());
    if (socket.Connect(m_host.GetText(), m_port, false, CLIENT_VALUE) != 0)
        return false;
    while (!IsStopRequested() && socket.IsConnected())
    {
        const int row = m_queue->GetNextQueued();
        if (row < 0)
            break;
        m_row = row;
        m_path = m_queue->GetPath(row);
        m_percent = -1;
        const SString path = m_path;
        const int state = Download(socket, path);
        if (state != LEFT_QUEUED)
            m_queue->SetStateOf(path.GetText(), state, row);
    }
    return false;
}

namespace
{
// The local size to resume from: 0 for a missing file, -1 for one whose size
// cannot be read (it must then be left as it is).
long long LocalSize(SDisk& disk, const SString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.GetText(), GetFileExInfoStandard, &data))
    {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return -1;
    return disk.GetFileSize64(path.GetText());
}
}

int PThreadClientFiles::Download(_PSocket& socket, const SString& path)
{
    const SString target = PPeerPath::MakeDownloadTarget(m_root, m_name.GetText(), path.GetText());
    if (target.GetLength() == 0 || !socket.SendMessage("105", path.GetText()))
        return PWndNet::STATE_FAILED;
    const long long remote = ParseSize(socket.ReceiveString(REPLY_TIMEOUT));
    if (IsStopRequested())
        return LEFT_QUEUED;
    const long long local = LocalSize(m_disk, target);
    if (remote <= 0 || local < 0 || local > remote)
        return PWndNet::STATE_FAILED;
    if (local == remote)
    {
        SetPercent(100);
        return PWndNet::STATE_DONE;
    }
    return Receive(socket, path, target, remote, local);
}

// Appends from the local size; the row is done only at the exact size.
int PThreadClientFiles::Receive(_PSocket& socket, const SString& path, const SString& target, long long remote,
                                long long local)
{
    const SPath file(target.GetText());
    _PTarget stream(socket, remote - local);
    if (!m_disk.CreateFolder(file.GetFullFolder().GetText(), true) ||
        !stream.Open(target.GetText(), true, local == 0, true) || !stream.SeekTo64(local))
        return PWndNet::STATE_FAILED;
    SString request = path + "|";
    request += SString().SetUInt64(static_cast<unsigned long long>(local)).GetText();
    if (!socket.SendMessage("106", request.GetText()) || socket.ReceiveString(REPLY_TIMEOUT) != "Ok")
        return IsStopRequested() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
    m_offset = local;
    socket.ReceiveFile64(&stream, REPLY_TIMEOUT);
    stream.Close();
    if (LocalSize(m_disk, target) == remote)
    {
        SetPercent(100);
        return PWndNet::STATE_DONE;
    }
    return IsStopRequested() ? LEFT_QUEUED : PWndNet::STATE_FAILED;
}
