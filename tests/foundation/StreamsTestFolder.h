// A fresh folder in the user's temp folder for the stream, file and disk tests,
// removed with everything in it when the test ends.
#pragma once
#include "SPlatform.h"
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

class StreamsTestFolder
{
public:
    StreamsTestFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        char longTemp[MAX_PATH];
        if (GetLongPathNameA(temp, longTemp, MAX_PATH) == 0)
            strcpy(longTemp, temp);
        static int counter = 0;
        char name[MAX_PATH];
        snprintf(name, sizeof(name), "%ssonavel-streams-%lu-%d\\", longTemp, GetCurrentProcessId(), ++counter);
        m_root = name;
        RemoveTree(m_root);
        CreateDirectoryA(m_root.c_str(), nullptr);
    }
    ~StreamsTestFolder() { RemoveTree(m_root); }
    StreamsTestFolder(const StreamsTestFolder&) = delete;
    StreamsTestFolder& operator=(const StreamsTestFolder&) = delete;

    // The folder's path, ending with a backslash.
    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& relative) const { return m_root + relative; }

    // Writes a file (folders on the way are made).
    void WriteFile(const std::string& relative, const std::string& content) const
    {
        MakeFolders(relative);
        FILE* file = fopen(Path(relative).c_str(), "wb");
        if (!file)
            return;
        fwrite(content.data(), 1, content.size(), file);
        fclose(file);
    }

    void MakeFolder(const std::string& relative) const
    {
        MakeFolders(relative + "\\");
    }

    std::string ReadFile(const std::string& relative) const { return ReadWhole(Path(relative)); }

    // A file of the given size whose blocks are never written (sparse on the host).
    static bool MakeSparseFile(const std::string& path, long long size)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER offset;
        offset.QuadPart = size;
        const bool made = SetFilePointerEx(file, offset, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        return made;
    }

    static std::string ReadWhole(const std::string& path)
    {
        std::string content;
        FILE* file = fopen(path.c_str(), "rb");
        if (!file)
            return content;
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0)
            content.append(buffer, n);
        fclose(file);
        return content;
    }

    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    static void RemoveTree(const std::string& folder)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE)
        {
            do
            {
                const std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string path = folder + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    RemoveTree(path + "\\");
                else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                {
                    // A link is removed itself, never what it points to.
                    if (!RemoveDirectoryA(path.c_str()))
                        DeleteFileA(path.c_str());
                }
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }

private:
    void MakeFolders(const std::string& relative) const
    {
        for (size_t i = 0; i < relative.size(); i++)
            if (relative[i] == '\\')
                CreateDirectoryA(Path(relative.substr(0, i)).c_str(), nullptr);
    }

    std::string m_root;
};
