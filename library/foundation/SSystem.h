// Services of the operating system: desktop work area, Windows version code,
// shutdown, counting the processes that run the program's own file, private fonts.
#pragma once
#include "SPlatform.h"
#include "SArrayString.h"

class SSystem
{
public:
    SSystem();
    // Removes every private font still listed.
    virtual ~SSystem();

    // Zeroed rectangle and false on failure.
    bool GetWorkArea(RECT* r) const;
    int GetWorkAreaLeft() const;
    int GetWorkAreaRight() const;
    int GetWorkAreaBottom() const;
    int GetWorkAreaWidth() const;

    // Shuts the computer down (shutdown privilege, then ExitWindowsEx).
    bool Shutdown() const;
    // 1 to 7 for Windows 95 to Vista; 0 for anything else or on failure.
    int GetVersionCode() const;
    // Processes with a module whose path is the program's own file; includes this one.
    int CountInstances() const;
    // Processes with a module whose path is the given file (compared without case).
    int CountProcessesRunning(const char* path) const;
    int CountRunningCopies() const { return CountInstances(); }
    // RemoveFontResource of the file; drops it from the private font list.
    bool RemovePrivateFont(const char* path);

private:
    SSystem(const SSystem&) = delete;
    SSystem& operator=(const SSystem&) = delete;

    static int CountModulesOf(DWORD processId, const char* path);

    char m_buffer[256];
    SArrayString m_fonts;
};
