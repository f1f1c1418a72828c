// What the updater tests share: a temporary folder holding the program to
// update (a build of the start-recording test program), the builds' bytes and
// checksums, the starts they recorded, and the real updater run as a process.
#pragma once
#include "SPlatform.h"
#include <cstdint>
#include <string>
#include <vector>
#include "HttpStandIn.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "TestFolder.h"
#include "TestProcess.h"

namespace updatertest
{
// A file built beside the suite.
inline std::string BuiltFile(const std::string& name)
{
    return std::string(GetProgramFolder().GetText()) + name;
}

// The bytes of the start-recording program's build 'a' or 'b'.
inline std::string MarkerBytes(char build)
{
    return httptest::ReadWholeFile(BuiltFile(std::string("marker_") + build + ".exe"));
}

inline std::string Checksum(const std::string& bytes)
{
    SMemory memory;
    memory.Write(bytes.data(), static_cast<int>(bytes.size()));
    uint32_t crc = 0;
    memory.GetCrc32(&crc);
    return std::to_string(crc);
}

inline std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// A fresh folder holding "KLV Sonavel.exe" (build 'a'), removed with all in it.
class ProgramFolder : public testsupport::TestFolder
{
public:
    ProgramFolder() : TestFolder("sonavel update ")
    {
        CopyFileA(BuiltFile("marker_a.exe").c_str(), Program().c_str(), FALSE);
    }

    std::string Program() const { return Path() + "KLV Sonavel.exe"; }
    std::string NewFile() const { return Program() + ".new"; }
    bool HasNewFile() const { return GetFileAttributesA(NewFile().c_str()) != INVALID_FILE_ATTRIBUTES; }

    // The recorded starts, once there are at least count lines (at most 20 s).
    std::vector<std::string> WaitStarts(size_t count) const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < 400; ++i, Sleep(50))
        {
            lines = httptest::SplitLines(httptest::ReadWholeFile(Path() + "starts.txt"), "\r\n");
            if (lines.size() >= count)
                break;
        }
        return lines;
    }
};

// "KLV Sonavel Update.exe", built beside the main program, run as a process.
class UpdaterProcess
{
public:
    ~UpdaterProcess()
    {
        if (!m_info.hProcess)
            return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_info.hProcess, 1);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }

    bool Start(const std::string& arguments)
    {
        return testsupport::StartProcess(BuiltFile("..\\app\\KLV Sonavel Update.exe"), arguments, &m_info);
    }

    bool IsRunning() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }

    // The exit code, or -1 after the time-out; watches for a window meanwhile.
    int WaitExit(DWORD timeout = 60000)
    {
        const DWORD start = GetTickCount();
        while (WaitForSingleObject(m_info.hProcess, 20) == WAIT_TIMEOUT)
        {
            EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(this));
            if (GetTickCount() - start > timeout)
                return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return static_cast<int>(code);
    }

    bool ShowedWindow() const { return m_showedWindow; }

private:
    static BOOL CALLBACK NoteWindow(HWND window, LPARAM data)
    {
        UpdaterProcess* self = reinterpret_cast<UpdaterProcess*>(data);
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == self->m_info.dwProcessId && IsWindowVisible(window))
            self->m_showedWindow = true;
        return TRUE;
    }

    PROCESS_INFORMATION m_info = {};
    bool m_showedWindow = false;
};
}
