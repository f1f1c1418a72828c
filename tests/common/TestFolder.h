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
    ~TestFolder() { RemoveTree(m_path); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // A folder (with or without its trailing backslash) and all it holds.
    static void RemoveTree(const std::string& folder)
    {
        std::string from = folder;
        if (!from.empty() && from.back() == '\\')
            from.pop_back();
        from.push_back('\0');
        SHFILEOPSTRUCTA operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NO_UI;
        SHFileOperationA(&operation);
    }

    // With the trailing backslash.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
}
