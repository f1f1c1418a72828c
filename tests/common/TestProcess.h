// A program started as a child process by the tests that run a real build.
#pragma once
#include "SPlatform.h"
#include <string>
#include <vector>

namespace testsupport
{
// The program's quoted path, then the arguments when there are any.
inline bool StartProcess(const std::string& program, const std::string& arguments, PROCESS_INFORMATION* info)
{
    std::string line = "\"" + program + "\"";
    if (!arguments.empty())
        line += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, info) !=
           FALSE;
}
}
