// The real updater, run on a program in a temporary folder, with the HTTP test
// server standing in for the update host through the proxy.
#include <gtest/gtest.h>
#include "UpdaterTestSupport.h"

using namespace httptest;
using namespace updatertest;

namespace
{
typedef std::vector<std::string> Lines;

class UpdaterProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HTTPTEST_TAKE_PORT(port);
        oldBytes = MarkerBytes('a');
        newBytes = MarkerBytes('b');
        ASSERT_FALSE(oldBytes.empty());
        ASSERT_NE(oldBytes, newBytes);
        ClearRequests();
    }
    void TearDown() override { StopPublishing(); }

    void StopPublishing()
    {
        for (const char* name : {"klvsn.ver", "klvsn.bin", "klvsn_fr.ver", "klvsn_fr.bin"})
            StopServing(name);
        ClearRequests();
    }

    // A version file naming the checksum, and build 'b' as the new program.
    void Publish(const std::string& suffix, const std::string& checksum, const std::string& binMode = "")
    {
        ASSERT_TRUE(Serve("klvsn" + suffix + ".ver", "1.2.0\r\n" + checksum + "\r\n"));
        ASSERT_TRUE(Serve("klvsn" + suffix + ".bin", newBytes, binMode));
    }

    // The updater's exit code (-1 after the time-out), with the proxy on the port.
    int RunUpdater(const std::string& arguments, int proxyPort = 0)
    {
        ProxyGuard proxy(proxyPort ? proxyPort : port);
        UpdaterProcess updater;
        if (!updater.Start(arguments))
            return -1;
        const int code = updater.WaitExit();
        showedWindow = updater.ShowedWindow();
        return code;
    }

    int port = 0;
    std::string oldBytes, newBytes;
    bool showedWindow = false;
};
}

TEST_F(UpdaterProgramTest, MatchingChecksumReplacesTheProgramAndStartsTheNewOne)
{
    const struct
    {
        const char* word;
        const char* suffix;
        const char* binMode;
    } cases[] = {{"us", "", ""}, {"fr", "_fr", ""}, {"us", "", "nolength"}};
    for (const auto& c : cases)
    {
        const std::string label = std::string(c.word) + " " + c.binMode;
        ProgramFolder folder;
        ClearRequests();
        Publish(c.suffix, Checksum(newBytes), c.binMode);
        ASSERT_EQ(0, RunUpdater(Quoted(folder.Program()) + " " + c.word)) << label;
        EXPECT_TRUE(showedWindow) << label;
        EXPECT_TRUE(ReadWholeFile(folder.Program()) == newBytes) << label;
        EXPECT_FALSE(folder.HasNewFile()) << label;
        EXPECT_EQ(Lines{"B|"}, folder.WaitStarts(1)) << label;
        const std::string base = std::string("/klvsn") + c.suffix;
        EXPECT_EQ((Lines{base + ".ver", base + ".bin"}), Requests()) << label;
        StopPublishing();
    }
}

TEST_F(UpdaterProgramTest, FailuresKeepTheOldProgramAndStartItAgain)
{
    const std::string checksum = Checksum(newBytes);
    const struct
    {
        const char* name;
        std::string checksum;
        const char* binMode;
        bool serverDown;
        Lines requests;
    } cases[] = {
        {"checksum 0", "0", "", false, {"/klvsn.ver"}},
        {"checksum mismatch", std::to_string(std::stoull(checksum) ^ 1), "", false, {"/klvsn.ver", "/klvsn.bin"}},
        {"download cut short", checksum, "cut", false, {"/klvsn.ver", "/klvsn.bin"}},
        {"empty program file", checksum, "zerolength", false, {"/klvsn.ver", "/klvsn.bin"}},
        {"server down", checksum, "", true, {}},
    };
    for (const auto& c : cases)
    {
        ProgramFolder folder;
        ClearRequests();
        Publish("", c.checksum, c.binMode);
        ASSERT_EQ(0, RunUpdater(Quoted(folder.Program()) + " us", c.serverDown ? ClosedPort() : 0)) << c.name;
        EXPECT_TRUE(ReadWholeFile(folder.Program()) == oldBytes) << c.name;
        EXPECT_FALSE(folder.HasNewFile()) << c.name;
        EXPECT_EQ(Lines{"A|"}, folder.WaitStarts(1)) << c.name;
        EXPECT_EQ(c.requests, Requests()) << c.name;
    }
}

TEST_F(UpdaterProgramTest, ProgramFileHeldByAnotherProcessIsKeptAndStartedAgain)
{
    ProgramFolder folder;
    Publish("", Checksum(newBytes));
    HANDLE held = CreateFileA(folder.Program().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, RunUpdater(Quoted(folder.Program()) + " us"));
    CloseHandle(held);
    EXPECT_TRUE(ReadWholeFile(folder.Program()) == oldBytes);
    EXPECT_FALSE(folder.HasNewFile());
    EXPECT_EQ(Lines{"A|"}, folder.WaitStarts(1));
}

TEST_F(UpdaterProgramTest, ProgramIsStartedAgainOnlyAfterTheOldOneHasEnded)
{
    // With an update the rename waits for the old program; without one the restart does.
    const struct
    {
        bool update;
        const char* restarted;
    } cases[] = {{true, "B|"}, {false, "A|"}};
    for (const auto& c : cases)
    {
        ProgramFolder folder;
        Publish("", c.update ? Checksum(newBytes) : "0");
        PROCESS_INFORMATION old = {};
        ASSERT_TRUE(testsupport::StartProcess(folder.Program(), "/linger", &old));
        EXPECT_EQ(0, RunUpdater(Quoted(folder.Program()) + " us")) << c.restarted;
        WaitForSingleObject(old.hProcess, 20000);
        CloseHandle(old.hProcess);
        CloseHandle(old.hThread);
        EXPECT_EQ((Lines{"A|/linger", "A end", c.restarted}), folder.WaitStarts(3)) << c.restarted;
        EXPECT_TRUE(ReadWholeFile(folder.Program()) == (c.update ? newBytes : oldBytes)) << c.restarted;
    }
}

TEST_F(UpdaterProgramTest, SecondCopyEndsAtOnce)
{
    ProgramFolder folder;
    ASSERT_TRUE(Serve("klvsn.ver", "1.2.0\r\n0\r\n", "hold"));
    ProxyGuard proxy(port);
    UpdaterProcess first, second;
    ASSERT_TRUE(first.Start(Quoted(folder.Program()) + " us"));
    for (int i = 0; i < 600 && Requests().empty(); ++i)
        Sleep(50);
    ASSERT_EQ(Lines{"/klvsn.ver"}, Requests());
    ASSERT_TRUE(second.Start(Quoted(folder.Program()) + " us"));
    EXPECT_EQ(0, second.WaitExit());
    EXPECT_FALSE(second.ShowedWindow());
    EXPECT_TRUE(first.IsRunning());
    ReleaseHold("klvsn.ver");
    EXPECT_EQ(0, first.WaitExit());
    EXPECT_EQ(Lines{"A|"}, folder.WaitStarts(1));
    EXPECT_EQ(Lines{"/klvsn.ver"}, Requests());
}

TEST_F(UpdaterProgramTest, TooFewArgumentsOrAMissingProgramEndAtOnceWithoutWindow)
{
    ProgramFolder folder;
    Publish("", Checksum(newBytes));
    const std::string cases[] = {"", Quoted(folder.Program()), Quoted(folder.Path() + "missing.exe") + " us"};
    for (const std::string& arguments : cases)
    {
        EXPECT_EQ(0, RunUpdater(arguments)) << arguments;
        EXPECT_FALSE(showedWindow) << arguments;
    }
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(folder.WaitStarts(0).empty());
    EXPECT_TRUE(ReadWholeFile(folder.Program()) == oldBytes);
}
