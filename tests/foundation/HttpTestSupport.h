// The download tests' side of the HTTP test server (http_server.py, started by ctest):
// its address, the file it serves, and a network object that records the hook's calls.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "SPlatform.h"
#include "HttpStandIn.h"
#include "SMemory.h"
#include "SNetwork.h"

// Each test file gets its own copy.
namespace
{
// The port of the test server that the ctest fixture started.
using httptest::ServerPort;

std::string Content(SMemory& m)
{
    return std::string(reinterpret_cast<const char*>(m.GetData()), m.GetSize());
}

std::string ExpectedFile()
{
    std::string s;
    for (int i = 0; i < 3000; i++)
        s += static_cast<char>((i * 7 + 3) % 251);
    return s;
}

struct Block
{
    int total, offset, count;
};

// Records every block and answers as told.
class RecordingNetwork : public SNetwork
{
public:
    int OnDownloadProgress(int total, int offset, int count, const void* data, SVirtualFile* target,
                           LPARAM user) override
    {
        blocks.push_back({total, offset, count});
        users.push_back(user);
        return answer;
    }
    std::vector<Block> blocks;
    std::vector<LPARAM> users;
    int answer = 0;
};

class SNetworkDownloadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        int port = 0;
        HTTPTEST_TAKE_PORT(port);
        base = "http://127.0.0.1:" + std::to_string(port);
    }
    std::string Url(const char* path) const { return base + path; }
    std::string base;
};

class TempFolder
{
public:
    TempFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "sonavel-net-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (const std::string& f : files)
            DeleteFileA(f.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string File(const char* name, const std::string& content)
    {
        const std::string path = folder + name;
        FILE* f = fopen(path.c_str(), "wb");
        fwrite(content.data(), 1, content.size(), f);
        fclose(f);
        files.push_back(path);
        return path;
    }
    std::string Path(const char* name)
    {
        files.push_back(folder + name);
        return folder + name;
    }
    std::string folder;
    std::vector<std::string> files;
};
} // namespace
