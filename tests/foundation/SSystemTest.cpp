#include <gtest/gtest.h>
#include <string>
#include <winsock2.h>
#include <windows.h>
#include "SLibrary.h"
#include "SSystem.h"

TEST(SSystemWorkAreaTest, MatchesTheDesktopWorkArea)
{
    SSystem system;
    RECT expected, r;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &expected, 0));
    ASSERT_TRUE(system.GetWorkArea(&r));
    EXPECT_TRUE(EqualRect(&expected, &r));
    EXPECT_EQ(expected.left, system.GetWorkAreaLeft());
    EXPECT_EQ(expected.right, system.GetWorkAreaRight());
    EXPECT_EQ(expected.bottom, system.GetWorkAreaBottom());
    EXPECT_EQ(expected.right - expected.left, system.GetWorkAreaWidth());
    EXPECT_GT(system.GetWorkAreaWidth(), 0);
    EXPECT_FALSE(system.GetWorkArea(nullptr));
}

TEST(SSystemVersionTest, LaterWindowsGiveZero)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExA(&info));
    SSystem system;
    if (info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 1))
        EXPECT_EQ(0, system.GetVersionCode());
    else
        EXPECT_GT(system.GetVersionCode(), 0);
}

TEST(SSystemInstancesTest, TheRunningProgramCountsOnce)
{
    ASSERT_GT(GetProgramFileName().GetLength(), 0);
    SSystem system;
    EXPECT_EQ(1, system.CountInstances());
    EXPECT_EQ(1, system.CountRunningCopies());
}

TEST(SSystemFontTest, MissingFilesAreNotRemoved)
{
    SSystem system;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    EXPECT_FALSE(system.RemovePrivateFont((std::string(temp) + "no-such-font.ttf").c_str()));
    EXPECT_FALSE(system.RemovePrivateFont(""));
    EXPECT_FALSE(system.RemovePrivateFont(nullptr));
}

TEST(SSystemFontTest, RemovesAFontAddedByTheProgram)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string font = std::string(temp) + "sonavel-font-" + std::to_string(GetCurrentProcessId()) + ".ttf";
    ASSERT_TRUE(CopyFileA((std::string(windows) + "\\Fonts\\tahoma.ttf").c_str(), font.c_str(), FALSE));
    {
        SSystem system;
        ASSERT_GT(AddFontResourceA(font.c_str()), 0);
        if (system.RemovePrivateFont(font.c_str()))
            EXPECT_FALSE(system.RemovePrivateFont(font.c_str()));
        else
            EXPECT_EQ(0, RemoveFontResourceA(font.c_str())) << "only a platform that keeps the font may refuse";
    }
    DeleteFileA(font.c_str());
}
