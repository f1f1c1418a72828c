#include <gtest/gtest.h>
#include "SPlatform.h"
#include "SDll.h"

TEST(SDllTest, LoadsAndFindsEntryPoints)
{
    SDll dll;
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_EQ(nullptr, dll.GetFunction("GetTickCount"));
    ASSERT_TRUE(dll.Load("kernel32.dll"));
    EXPECT_TRUE(dll.IsLoaded());
    EXPECT_EQ(reinterpret_cast<FARPROC>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount")),
              dll.GetFunction("GetTickCount"));
    EXPECT_EQ(nullptr, dll.GetFunction("NoSuchFunctionAnywhere"));
}

TEST(SDllTest, SecondLoadFailsAndKeepsTheFirstModule)
{
    SDll dll;
    ASSERT_TRUE(dll.Load("user32.dll"));
    EXPECT_FALSE(dll.Load("kernel32.dll"));
    EXPECT_NE(nullptr, dll.GetFunction("MessageBoxA"));
    EXPECT_EQ(nullptr, dll.GetFunction("GetTickCount"));
}

TEST(SDllTest, FreeOnlyWhatIsLoaded)
{
    SDll dll;
    EXPECT_FALSE(dll.Free());
    ASSERT_TRUE(dll.Load("mapi32.dll"));
    EXPECT_TRUE(dll.Free());
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_FALSE(dll.Free());
    EXPECT_EQ(nullptr, dll.GetFunction("MAPISendMail"));
    EXPECT_TRUE(dll.Load("mapi32.dll"));
}

TEST(SDllTest, MissingLibraryFails)
{
    SDll dll;
    EXPECT_FALSE(dll.Load("no-such-library-here.dll"));
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_FALSE(dll.Load(nullptr));
}
