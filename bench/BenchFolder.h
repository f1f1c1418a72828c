// A fresh folder under the temporary folder for what a benchmark generates,
// removed with everything in it when the benchmark is done with it.
#pragma once
#include "SPlatform.h"
#include <shellapi.h>
#include <string>

class BenchFolder
{
public:
    // Named prefix + the process id + suffix, with the trailing backslash.
    explicit BenchFolder(const std::string& prefix, const std::string& suffix = "")
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + prefix + std::to_string(GetCurrentProcessId()) + suffix + "\\";
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~BenchFolder()
    {
        std::string from = m_path.substr(0, m_path.size() - 1);
        from.push_back('\0');
        SHFILEOPSTRUCTA operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NO_UI;
        SHFileOperationA(&operation);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
