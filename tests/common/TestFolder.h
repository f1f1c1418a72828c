// A fresh folder under the temporary folder, named for the suite, the process
// and a counter, removed with everything in it.
#pragma once
#include "SPlatform.h"
#include <shellapi.h>
#include <string>

namespace testsupport
{
class TestFolder
{
public:
    explicit TestFolder(const std::string& prefix)
    {
        static int counter = 0;
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + prefix + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(++counter) + "\\";
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TestFolder()
    {
        std::string from = m_path.substr(0, m_path.size() - 1);
        from.push_back('\0');
        SHFILEOPSTRUCTA operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NO_UI;
        SHFileOperationA(&operation);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // With the trailing backslash.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
}
