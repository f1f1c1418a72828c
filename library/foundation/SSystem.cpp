#include "SSystem.h"
#include <psapi.h>
#include <algorithm>
#include <cstring>
#include <vector>
#include "SDisk.h"
#include "SGuards.h"
#include "SLibrary.h"

SSystem::SSystem()
{
    m_buffer[0] = 0;
}

SSystem::~SSystem()
{
    while (m_fonts.GetCount() > 0)
    {
        const int before = m_fonts.GetCount();
        RemovePrivateFont(m_fonts.GetAt(0).GetText());
        // A font that cannot be removed still leaves the list.
        if (m_fonts.GetCount() == before)
            m_fonts.DeleteAndRemoveAt(0, 1);
    }
}

bool SSystem::GetWorkArea(RECT* r) const
{
    if (!r)
        return false;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, r, 0))
    {
        SetRectEmpty(r);
        return false;
    }
    return true;
}

int SSystem::GetWorkAreaLeft() const
{
    RECT r;
    return GetWorkArea(&r) ? r.left : 0;
}

int SSystem::GetWorkAreaRight() const
{
    RECT r;
    return GetWorkArea(&r) ? r.right : 0;
}

int SSystem::GetWorkAreaBottom() const
{
    RECT r;
    return GetWorkArea(&r) ? r.bottom : 0;
}

int SSystem::GetWorkAreaWidth() const
{
    RECT r;
    return GetWorkArea(&r) ? r.right - r.left : 0;
}

bool SSystem::Shutdown() const
{
    // Failures of the privilege steps are ignored: ExitWindowsEx reports the outcome.
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    {
        SHandleGuard guard(token);
        TOKEN_PRIVILEGES privileges = {};
        if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        {
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        }
    }
    return ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCEIFHUNG, 0x80000000) != 0;
}

int SSystem::GetVersionCode() const
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info))
        return 0;
    const DWORD platform = info.dwPlatformId, major = info.dwMajorVersion, minor = info.dwMinorVersion;
    if (platform == VER_PLATFORM_WIN32_WINDOWS && major == 4)
    {
        if (minor == 0)
            return 1;
        if (minor == 10)
            return 3;
        if (minor == 90)
            return 4;
    }
    if (platform == VER_PLATFORM_WIN32_NT)
    {
        if (major == 4 && minor == 0)
            return 2;
        if (major == 5 && minor == 0)
            return 5;
        if (major == 5 && (minor == 1 || minor == 2))
            return 6;
        if (major == 6 && minor == 0)
            return 7;
    }
    return 0;
}

int SSystem::CountModulesOf(DWORD processId, const char* path)
{
    SHandleGuard process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.IsValid())
        return 0;
    std::vector<HMODULE> modules(1024);
    DWORD bytes = 0;
    if (!EnumProcessModules(process.Get(), modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                            &bytes))
        return 0;
    const size_t count = std::min<size_t>(bytes / sizeof(HMODULE), modules.size());
    int found = 0;
    for (size_t i = 0; i < count; i++)
    {
        char name[MAX_PATH + 1] = {};
        if (GetModuleFileNameExA(process.Get(), modules[i], name, MAX_PATH) && _stricmp(name, path) == 0)
            found++;
    }
    return found;
}

int SSystem::CountInstances() const
{
    return CountProcessesRunning(GetProgramFileName().GetText());
}

int SSystem::CountProcessesRunning(const char* path) const
{
    if (!path || !*path)
        return 0;
    std::vector<DWORD> processes(1024);
    DWORD bytes = 0;
    if (!EnumProcesses(processes.data(), static_cast<DWORD>(processes.size() * sizeof(DWORD)), &bytes))
        return 0;
    const size_t count = std::min<size_t>(bytes / sizeof(DWORD), processes.size());
    int total = 0;
    for (size_t i = 0; i < count; i++)
        total += CountModulesOf(processes[i], path);
    return total;
}

bool SSystem::RemovePrivateFont(const char* path)
{
    SDisk disk;
    if (!path || !disk.FileExists(path) || !RemoveFontResourceA(path))
        return false;
    const int index = m_fonts.Find(path);
    if (index >= 0)
        m_fonts.DeleteAndRemoveAt(index, 1);
    return true;
}
