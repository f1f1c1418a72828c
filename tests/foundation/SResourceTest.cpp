#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include "SPlatform.h"
#include "SResource.h"

namespace
{
class SResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "sonavel-res-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        Write("a.png", "AAAA");
        Write("b.txt", "bee");
        Write("pack.bin", "0123456789abcdef");
    }
    void TearDown() override
    {
        for (const char* name : {"a.png", "b.txt", "pack.bin", "stray.png"})
            DeleteFileA((folder + name).c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void Write(const char* name, const std::string& content)
    {
        FILE* f = fopen((folder + name).c_str(), "wb");
        fwrite(content.data(), 1, content.size(), f);
        fclose(f);
    }
    static std::string Bytes(SMemory& m) { return std::string(reinterpret_cast<char*>(m.GetData()), m.GetSize()); }

    std::string folder;
};

SMemory* PackStream(const char* bytes)
{
    SMemory* m = new SMemory;
    m->WriteText(bytes);
    return m;
}
}

TEST_F(SResourceTest, WithoutEntriesNothingLoads)
{
    SResource store;
    SMemory m;
    EXPECT_FALSE(store.Load(&m, "a.png"));
    EXPECT_FALSE(store.Load(nullptr, "a.png"));
}

TEST_F(SResourceTest, FolderEntriesLoadWholeAndRewind)
{
    SResource store;
    EXPECT_EQ(3, store.SetFolder(folder.c_str()));
    SMemory m;
    ASSERT_TRUE(store.Load(&m, "a.png"));
    EXPECT_EQ("AAAA", Bytes(m));
    EXPECT_EQ(0, m.GetPosition());
    ASSERT_TRUE(store.Load(&m, "b.txt"));
    EXPECT_EQ("beeA", Bytes(m)) << "copied at the position, which the first load rewound";
}

TEST_F(SResourceTest, UnlistedNamesFailEvenWhenTheFileExists)
{
    SResource store;
    store.SetFolder(folder.c_str());
    Write("stray.png", "S");
    SMemory m;
    EXPECT_FALSE(store.Load(&m, "stray.png"));
    EXPECT_FALSE(m.IsOpen());
}

TEST_F(SResourceTest, EntryFileRemovedAfterListingFails)
{
    SResource store;
    store.SetFolder(folder.c_str());
    DeleteFileA((folder + "b.txt").c_str());
    SMemory m;
    EXPECT_FALSE(store.Load(&m, "b.txt"));
}

TEST_F(SResourceTest, PackFileEntriesAtTheirOffsets)
{
    SResource store;
    ASSERT_TRUE(store.SetPackFile((folder + "pack.bin").c_str()));
    EXPECT_EQ(0, store.AddEntry("digits", 2, 5));
    EXPECT_EQ(1, store.AddEntry("tail", 10, 6));
    EXPECT_EQ(2, store.AddEntry("beyond", 12, 10));
    EXPECT_EQ(-1, store.AddEntry("bad", -1, 1));
    SMemory m;
    ASSERT_TRUE(store.Load(&m, "digits"));
    EXPECT_EQ("23456", Bytes(m));
    EXPECT_EQ(0, m.GetPosition());
    SMemory t;
    ASSERT_TRUE(store.Load(&t, "tail"));
    EXPECT_EQ("abcdef", Bytes(t));
}

TEST_F(SResourceTest, ShortCopyFails)
{
    SResource store;
    ASSERT_TRUE(store.SetPackFile((folder + "pack.bin").c_str()));
    store.AddEntry("beyond", 12, 10);
    store.AddEntry("outside", 40, 2);
    SMemory m;
    EXPECT_FALSE(store.Load(&m, "beyond"));
    SMemory n;
    EXPECT_FALSE(store.Load(&n, "outside"));
    EXPECT_EQ(0, n.GetSize());
}

TEST_F(SResourceTest, PackStreamEntries)
{
    SResource store;
    store.SetPackStream(PackStream("headerPNGDATAtrailer"));
    store.AddEntry("picture", 6, 7);
    store.AddEntry("broken", 15, 9);
    SMemory m;
    ASSERT_TRUE(store.Load(&m, "picture"));
    EXPECT_EQ("PNGDATA", Bytes(m));
    SMemory n;
    EXPECT_FALSE(store.Load(&n, "broken"));
}

TEST_F(SResourceTest, PackStreamWinsOverTheLocation)
{
    SResource store;
    store.SetFolder(folder.c_str());
    store.SetPackStream(PackStream("XYZW-"));
    SMemory m;
    ASSERT_TRUE(store.Load(&m, "a.png"));
    EXPECT_EQ("XYZW", Bytes(m));
}
