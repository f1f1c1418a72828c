// The anchor of reading a tree: one FindFirstFile listing per folder.
#pragma once
#include "SPlatform.h"
#include <cstring>
#include <string>

// The files under the folder (with its trailing backslash) that counts takes,
// every file when it is null.
inline long long Walk(const std::string& folder, bool (*counts)(const char* name) = nullptr)
{
    long long count = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            count += !counts || counts(data.cFileName) ? 1 : 0;
        else if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0)
            count += Walk(folder + data.cFileName + "\\", counts);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}
