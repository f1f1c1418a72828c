#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "SPlatform.h"
#include "SGuards.h"
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

namespace
{
// Set in the environment of the copy that reports its version code.
const char* const VersionVariable = "SONAVEL_REPORT_VERSION";

// Runs a copy of the test program that ends with 100 + its version code; -1 when it fails.
int VersionCodeOfCopy()
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = "\"" + std::string(program) + "\" --gtest_filter=SSystemVersionTest.ReportsTheCode";
    SetEnvironmentVariableA(VersionVariable, "1");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL started =
        CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(VersionVariable, nullptr);
    if (!started)
        return -1;
    SHandleGuard processHandle(process.hProcess);
    SHandleGuard threadHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        return -1;
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    return exitCode >= 100 && exitCode < 200 ? static_cast<int>(exitCode) - 100 : -1;
}
}

// Runs only in the copy started below: its exit code carries the version code.
TEST(SSystemVersionTest, ReportsTheCode)
{
    if (GetEnvironmentVariableA(VersionVariable, nullptr, 0) == 0)
        GTEST_SKIP() << "runs only in a copy";
    ExitProcess(100 + SSystem().GetVersionCode());
}

// Wine reports the Windows version set for a program name when that program starts, so
// copies started under each setting meet every row of the table.
TEST(SSystemVersionTest, EachWindowsVersionHasItsCode)
{
    if (GetEnvironmentVariableA(VersionVariable, nullptr, 0) > 0)
        GTEST_SKIP() << "the copy starts no other";
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "needs Wine's per-program version setting";
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const char* slash = strrchr(program, '\\');
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + (slash ? slash + 1 : program);
    {
        SRegKeyGuard existing;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, existing.Out()) == ERROR_SUCCESS)
            GTEST_SKIP() << "the program already has Wine settings";
    }
    struct KeyRemover
    {
        const std::string& key;
        ~KeyRemover() { RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str()); }
    } remover{key};
    const struct
    {
        const char* version;
        int code;
    } rows[] = {{"win95", 1}, {"nt40", 2}, {"win98", 3}, {"winme", 4}, {"win2k", 5}, {"winxp", 6},
                {"win2003", 6}, {"vista", 7}, {"win7", 0}, {"win10", 0}};
    for (const auto& row : rows)
    {
        SRegKeyGuard settings;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                                 settings.Out(), nullptr));
        RegSetValueExA(settings.Get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(row.version),
                       static_cast<DWORD>(strlen(row.version) + 1));
        settings.Reset();
        EXPECT_EQ(row.code, VersionCodeOfCopy()) << row.version;
    }
}

namespace
{
// Set in the environment of the second copy that the instance test starts.
const char* const HoldVariable = "SONAVEL_HOLD_EVENT";
}

TEST(SSystemInstancesTest, TheRunningProgramCountsOnce)
{
    ASSERT_GT(GetProgramFileName().GetLength(), 0);
    SSystem system;
    EXPECT_EQ(1, system.CountInstances());
    EXPECT_EQ(1, system.CountRunningCopies());
}

// Runs only in the second copy: stays alive until the first copy has counted.
TEST(SSystemInstancesTest, HoldsTheProgramOpen)
{
    char name[64] = "";
    if (GetEnvironmentVariableA(HoldVariable, name, sizeof(name)) == 0)
        GTEST_SKIP() << "runs only in the second copy";
    SHandleGuard done(OpenEventA(SYNCHRONIZE, FALSE, name));
    ASSERT_TRUE(done.IsValid());
    WaitForSingleObject(done.Get(), 30000);
}

TEST(SSystemInstancesTest, ASecondCopyIsCounted)
{
    if (GetEnvironmentVariableA(HoldVariable, nullptr, 0) > 0)
        GTEST_SKIP() << "the second copy starts no other";
    const std::string eventName = "SonavelHold" + std::to_string(GetCurrentProcessId());
    SHandleGuard done(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = "\"" + std::string(program) + "\" --gtest_filter=SSystemInstancesTest.HoldsTheProgramOpen";
    SetEnvironmentVariableA(HoldVariable, eventName.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL started =
        CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(HoldVariable, nullptr);
    ASSERT_TRUE(started);
    SHandleGuard processHandle(process.hProcess);
    SHandleGuard threadHandle(process.hThread);

    // The copy counts once its program file is mapped; wait for that, not for a time.
    SSystem system;
    int count = 0;
    for (int attempt = 0; attempt < 200 && count < 2; attempt++)
    {
        count = system.CountInstances();
        if (count < 2)
            Sleep(25);
    }
    EXPECT_EQ(2, count);
    SetEvent(done.Get());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(1, system.CountInstances());
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
