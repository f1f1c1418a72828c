// Stands in for a program in the updater's tests (the main program it replaces)
// and the update check's (the updater it starts). Each start appends a line to
// "starts.txt" beside the program: the build's marker, "|" and the arguments as
// given. With the argument "/linger" it stays 3 s and then appends "<marker> end".
#include "SPlatform.h"
#include <string>

#ifndef MARKER
#error "build with MARKER defined"
#endif

namespace
{
void AppendLine(const std::string& line)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file = path;
    file = file.substr(0, file.find_last_of('\\') + 1) + "starts.txt";
    HANDLE handle = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(handle);
}

// The command line after the program's own name and the blanks that follow it.
std::string Arguments()
{
    const char* line = GetCommandLineA();
    if (*line == '"')
    {
        const char* close = strchr(line + 1, '"');
        line = close ? close + 1 : "";
    }
    else
    {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::string arguments = Arguments();
    AppendLine(std::string(MARKER) + "|" + arguments);
    if (arguments.find("/linger") != std::string::npos)
    {
        Sleep(3000);
        AppendLine(std::string(MARKER) + " end");
    }
    return 0;
}
