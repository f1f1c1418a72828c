#include "PUpdate.h"
#include <cstdlib>
#include "Hosts.h"
#include "SFile.h"
#include "SGuards.h"
#include "SMemory.h"

namespace
{
// Tries until the step succeeds or the time is up.
template <typename Step>
bool RetryFor(DWORD milliseconds, Step step)
{
    const DWORD start = GetTickCount();
    while (!step())
    {
        if (GetTickCount() - start >= milliseconds)
            return false;
        Sleep(PUpdate::RETRY_MS);
    }
    return true;
}

// The bytes must be on the disk before a rename makes them the program.
bool FlushToDisk(const char* path)
{
    SHandleGuard file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return file.IsValid() && FlushFileBuffers(file.Get());
}
}

PUpdate::PUpdate(SNetwork& network, const char* programPath, bool french)
    : m_network(network), m_programPath(programPath ? programPath : ""), m_french(french)
{
}

bool PUpdate::Run()
{
    const uint32_t checksum = DownloadChecksum();
    const bool replaced = checksum != 0 && DownloadProgram(checksum) && ReplaceProgram();
    // What did not become the program is not left behind.
    DeleteFileA(GetNewPath().GetText());
    RestartProgram();
    return replaced;
}

uint32_t PUpdate::DownloadChecksum()
{
    SMemory file;
    if (!m_network.Download(&file, GetAddress(".ver").GetText(), 1024, 0))
        return 0;
    file.SeekToStart();
    file.ReadLine();
    const SString line = file.ReadLine();
    if (!line.GetText())
        return 0;
    return static_cast<uint32_t>(static_cast<unsigned long long>(strtoll(line.GetText(), nullptr, 10)));
}

bool PUpdate::DownloadProgram(uint32_t checksum)
{
    const SString newPath = GetNewPath();
    {
        // "wb" empties what a stopped earlier run may have left.
        SFile file;
        if (!file.Open(newPath.GetText(), true, true, false) ||
            !m_network.Download(&file, GetAddress(".bin").GetText(), 1024, 0))
            return false;
    }
    if (!FlushToDisk(newPath.GetText()))
        return false;
    // Read back: a write that failed unnoticed (a full disk) shows here.
    SFile written;
    uint32_t crc = 0;
    return written.Open(newPath.GetText(), false, false, true) && written.GetCrc32(&crc) && crc == checksum;
}

bool PUpdate::ReplaceProgram()
{
    const SString newPath = GetNewPath();
    return RetryFor(WAIT_MS, [&] {
        return MoveFileExA(newPath.GetText(), m_programPath.GetText(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
}

bool PUpdate::RestartProgram()
{
    RetryFor(WAIT_MS, [&] { return m_system.CountProcessesRunning(m_programPath.GetText()) == 0; });
    return m_disk.Execute(m_programPath.GetText(), "", false, SW_SHOWNORMAL);
}

SString PUpdate::GetAddress(const char* extension) const
{
    return SString("http://") + UPDATE_HOST + "/klvsn" + (m_french ? "_fr" : "") + extension;
}

SString PUpdate::GetNewPath() const
{
    return m_programPath + ".new";
}
