// The update's steps in this process: the checksum line, and an update stopped
// right after the new program file was written.
#include <gtest/gtest.h>
#include "PUpdate.h"
#include "UpdaterTestSupport.h"

using namespace httptest;
using namespace updatertest;

namespace
{
class PUpdateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HTTPTEST_TAKE_PORT(port);
    }
    void TearDown() override
    {
        StopServing("klvsn.ver");
        StopServing("klvsn.bin");
    }

    int port = 0;
    SNetwork network;
};
}

TEST_F(PUpdateTest, ChecksumLineIsA64BitDecimalCutToItsLow32Bits)
{
    const struct
    {
        const char* line;
        uint32_t checksum;
    } cases[] = {{"4294967295", 0xFFFFFFFFu}, {"8589934593", 1}, {"305419896", 0x12345678u}, {"0", 0}, {"letters", 0}};
    ProxyGuard proxy(port);
    PUpdate update(network, "C:\\nowhere.exe", false);
    for (const auto& c : cases)
    {
        ASSERT_TRUE(Serve("klvsn.ver", std::string("1.2.0\r\n") + c.line + "\r\n"));
        EXPECT_EQ(c.checksum, update.DownloadChecksum()) << c.line;
    }
    StopServing("klvsn.ver");
    EXPECT_EQ(0u, update.DownloadChecksum());
}

TEST_F(PUpdateTest, StoppedAfterTheNewFileLeavesTheOldProgramAndTheNextRunOverwritesIt)
{
    ProgramFolder folder;
    const std::string oldBytes = MarkerBytes('a'), newBytes = MarkerBytes('b');
    ASSERT_TRUE(Serve("klvsn.ver", "1.2.0\r\n" + Checksum(newBytes) + "\r\n"));
    ASSERT_TRUE(Serve("klvsn.bin", newBytes));
    ProxyGuard proxy(port);
    {
        PUpdate stopped(network, folder.Program().c_str(), false);
        ASSERT_TRUE(stopped.DownloadProgram(stopped.DownloadChecksum()));
    }
    EXPECT_TRUE(ReadWholeFile(folder.Program()) == oldBytes);
    EXPECT_TRUE(ReadWholeFile(folder.NewFile()) == newBytes);

    // A longer stale file must not leave its tail in the next one.
    ASSERT_TRUE(WriteWholeFile(folder.NewFile(), newBytes + "stale tail"));
    EXPECT_TRUE(PUpdate(network, folder.Program().c_str(), false).Run());
    EXPECT_TRUE(ReadWholeFile(folder.Program()) == newBytes);
    EXPECT_FALSE(folder.HasNewFile());
    EXPECT_EQ(std::vector<std::string>{"B|"}, folder.WaitStarts(1));
}
