#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>
#include "HttpTestSupport.h"
#include "SFile.h"

namespace
{
// Follows the short form of the hook only.
class ShortFormNetwork : public SNetwork
{
public:
    int OnProgress(int total, int done) override
    {
        lastTotal = total;
        lastDone = done;
        calls++;
        return 0;
    }
    int lastTotal = 0, lastDone = 0, calls = 0;
};

// Exposes the "mailto:" text without opening it.
class MailNetwork : public SNetwork
{
public:
    using SNetwork::MakeMailToAddress;
};

// A stream that takes only the first bytes it is given, like a full disk.
class ShortWriteMemory : public SMemory
{
public:
    int Write(const void* data, int n) override
    {
        const int room = limit - GetSize();
        return SMemory::Write(data, n < room ? n : (room > 0 ? room : 0));
    }
    int limit = 1500;
};
}

TEST_F(SNetworkDownloadTest, FileIntoMemory)
{
    SNetwork net;
    SMemory m;
    ASSERT_TRUE(net.Download(&m, Url("/file").c_str(), 1024, 0));
    EXPECT_EQ(ExpectedFile(), Content(m));
}

TEST_F(SNetworkDownloadTest, AppendsAtThePosition)
{
    SNetwork net;
    SMemory m;
    m.WriteText("head:");
    ASSERT_TRUE(net.Download(&m, Url("/file").c_str(), 1024, 0));
    EXPECT_EQ("head:" + ExpectedFile(), Content(m));
}

TEST_F(SNetworkDownloadTest, FileIntoAFile)
{
    TempFolder temp;
    const std::string path = temp.Path("file.bin");
    {
        SFile f;
        ASSERT_TRUE(f.Open(path.c_str(), true, true, false, false));
        SNetwork net;
        ASSERT_TRUE(net.Download(&f, Url("/file").c_str(), 1024, 0));
    }
    SMemory m;
    ASSERT_TRUE(m.LoadFromFile(path.c_str()));
    EXPECT_EQ(ExpectedFile(), Content(m));
}

TEST_F(SNetworkDownloadTest, ProgressSeesEveryBlockInOrder)
{
    RecordingNetwork net;
    SMemory m;
    ASSERT_TRUE(net.Download(&m, Url("/file").c_str(), 1024, 77));
    ASSERT_FALSE(net.blocks.empty());
    int offset = 0;
    for (size_t i = 0; i < net.blocks.size(); i++)
    {
        EXPECT_EQ(3000, net.blocks[i].total);
        EXPECT_EQ(offset, net.blocks[i].offset);
        EXPECT_GT(net.blocks[i].count, 0);
        EXPECT_LE(net.blocks[i].count, 1024);
        EXPECT_EQ(77, net.users[i]);
        offset += net.blocks[i].count;
    }
    EXPECT_EQ(3000, offset);
}

TEST_F(SNetworkDownloadTest, ShortFormOfTheHookSeesTheBytesReceived)
{
    ShortFormNetwork net;
    SMemory m;
    ASSERT_TRUE(net.Download(&m, Url("/file").c_str(), 1024, 0));
    EXPECT_GE(net.calls, 3);
    EXPECT_EQ(3000, net.lastTotal);
    EXPECT_EQ(3000, net.lastDone);
}

TEST_F(SNetworkDownloadTest, ShortReplyFailsAfterWritingWhatCame)
{
    SNetwork net;
    SMemory m;
    EXPECT_FALSE(net.Download(&m, Url("/short").c_str(), 1024, 0));
    EXPECT_EQ(ExpectedFile(), Content(m));
}

TEST_F(SNetworkDownloadTest, ErrorPageIsNeverTheContent)
{
    RecordingNetwork net;
    SMemory m;
    EXPECT_FALSE(net.Download(&m, Url("/missing").c_str(), 1024, 0));
    EXPECT_EQ(0, m.GetSize());
    EXPECT_TRUE(net.blocks.empty());
}

TEST_F(SNetworkDownloadTest, ReplyWithoutLengthIsAccepted)
{
    RecordingNetwork net;
    SMemory m;
    ASSERT_TRUE(net.Download(&m, Url("/nolength").c_str(), 1024, 0));
    EXPECT_EQ(ExpectedFile(), Content(m));
    ASSERT_FALSE(net.blocks.empty());
    EXPECT_EQ(-1, net.blocks[0].total);
}

TEST_F(SNetworkDownloadTest, EmptyReplySucceedsWithNothingWritten)
{
    RecordingNetwork net;
    SMemory m;
    EXPECT_TRUE(net.Download(&m, Url("/empty").c_str(), 1024, 0));
    EXPECT_EQ(0, m.GetSize());
    EXPECT_TRUE(net.blocks.empty());
}

TEST_F(SNetworkDownloadTest, EndlessReplyStopsAtTheMemoryCap)
{
    SNetwork net;
    SMemory m;
    EXPECT_FALSE(net.Download(&m, Url("/endless").c_str(), 65536, 0));
    EXPECT_LE(m.GetSize(), SNetwork::MaxMemoryDownload);
    EXPECT_GT(m.GetSize(), SNetwork::MaxMemoryDownload - 65536);
}

TEST_F(SNetworkDownloadTest, SkippedBlocksStillCount)
{
    RecordingNetwork net;
    net.answer = SNetwork::ProgressSkipBlock;
    SMemory m;
    EXPECT_TRUE(net.Download(&m, Url("/file").c_str(), 1024, 0));
    EXPECT_EQ(0, m.GetSize());
    EXPECT_FALSE(m.IsOpen());
}

TEST_F(SNetworkDownloadTest, AbortAtTheFirstBlockWritesNothing)
{
    RecordingNetwork net;
    net.answer = SNetwork::ProgressAbort;
    SMemory m;
    EXPECT_FALSE(net.Download(&m, Url("/file").c_str(), 1024, 0));
    EXPECT_EQ(0, m.GetSize());
    EXPECT_EQ(1u, net.blocks.size());
}

TEST_F(SNetworkDownloadTest, AbortCancelsASlowReply)
{
    RecordingNetwork net;
    net.answer = SNetwork::ProgressAbort;
    SMemory m;
    EXPECT_FALSE(net.Download(&m, Url("/slow").c_str(), 1024, 0));
    ASSERT_EQ(1u, net.blocks.size());
    EXPECT_EQ(1000000, net.blocks[0].total);
    EXPECT_EQ(0, m.GetSize());
}

TEST_F(SNetworkDownloadTest, ShortWriteToTheTargetFails)
{
    SNetwork net;
    ShortWriteMemory m;
    EXPECT_FALSE(net.Download(&m, Url("/file").c_str(), 1024, 0));
    EXPECT_EQ(1500, m.GetSize());
}

TEST_F(SNetworkDownloadTest, RefusedConnectionFails)
{
    SNetwork net;
    SMemory m;
    EXPECT_FALSE(net.Download(&m, "http://127.0.0.1:1/file", 1024, 0));
    EXPECT_EQ(0, m.GetSize());
}

TEST(SNetworkLocalFileTest, ExistingFileIsCopied)
{
    TempFolder temp;
    const std::string path = temp.File("local.txt", "local content");
    SNetwork net;
    SMemory m;
    ASSERT_TRUE(net.Download(&m, path.c_str(), 1024, 0));
    EXPECT_EQ("local content", Content(m));
}

TEST(SNetworkLocalFileTest, MissingOrEmptyFileFails)
{
    TempFolder temp;
    SNetwork net;
    SMemory m;
    EXPECT_FALSE(net.Download(&m, (temp.folder + "missing.txt").c_str(), 1024, 0));
    EXPECT_FALSE(net.Download(&m, temp.File("empty.txt", "").c_str(), 1024, 0));
    EXPECT_EQ(0, m.GetSize());
    EXPECT_FALSE(net.Download(nullptr, temp.File("full.txt", "x").c_str(), 1024, 0));
}

TEST(SNetworkLocalFileTest, ShortWriteOfALocalFileFails)
{
    TempFolder temp;
    const std::string path = temp.File("big.bin", std::string(4000, 'b'));
    SNetwork net;
    ShortWriteMemory m;
    EXPECT_FALSE(net.Download(&m, path.c_str(), 1024, 0));
}

TEST(SNetworkHostTest, NumericAddressesResolveToThemselves)
{
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    SNetwork net;
    EXPECT_STREQ("127.0.0.1", net.GetHostAddress("127.0.0.1").GetText());
    SArrayString out;
    out.Add("kept");
    EXPECT_EQ(1, net.GetHostAddresses("127.0.0.2", &out, AF_INET, 0, 0));
    ASSERT_EQ(2, out.GetCount());
    EXPECT_STREQ("kept", out.GetAt(0).GetText());
    EXPECT_STREQ("127.0.0.2", out.GetAt(1).GetText());
    WSACleanup();
}

TEST(SNetworkHostTest, AddressesOtherThanIPv4AreSkipped)
{
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    SNetwork net;
    SArrayString out;
    EXPECT_EQ(0, net.GetHostAddresses("::1", &out, AF_UNSPEC, 0, 0));
    EXPECT_EQ(0, out.GetCount());
    EXPECT_STREQ("", net.GetHostAddress("::1").GetText());
    EXPECT_STREQ("", net.GetHostAddress("").GetText());
    WSACleanup();
}

TEST(SNetworkHostTest, LocalhostGivesOnlyDottedAddresses)
{
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    SNetwork net;
    SArrayString out;
    const int n = net.GetHostAddresses("localhost", &out, AF_UNSPEC, SOCK_STREAM, 0);
    EXPECT_GE(n, 1);
    EXPECT_EQ(n, out.GetCount());
    bool loopback = false;
    for (int i = 0; i < out.GetCount(); i++)
    {
        EXPECT_TRUE(out.GetAt(i).IsIpAddress()) << out.GetAt(i).GetText();
        loopback = loopback || out.GetAt(i) == "127.0.0.1";
    }
    EXPECT_TRUE(loopback);
    WSACleanup();
}

TEST(SNetworkShellTest, MissingFileIsNotOpened)
{
    TempFolder temp;
    SNetwork net;
    EXPECT_FALSE(net.OpenInShell((temp.folder + "no-such-file.xyz").c_str()));
}

TEST(SNetworkMailTest, MailToAddressEscapesSubjectAndBody)
{
    EXPECT_STREQ("mailto:a@b.c?SUBJECT=Hi%20there",
                 MailNetwork::MakeMailToAddress("a@b.c", "Hi there", nullptr).GetText());
    EXPECT_STREQ("mailto:a@b.c?SUBJECT=Hi&BODY=x%26y%3Dz",
                 MailNetwork::MakeMailToAddress("a@b.c", "Hi", "x&y=z").GetText());
    EXPECT_STREQ("mailto:a@b.c?BODY=two%0D%0Alines",
                 MailNetwork::MakeMailToAddress("a@b.c", nullptr, "two\r\nlines").GetText());
    EXPECT_STREQ("mailto:a@b.c", MailNetwork::MakeMailToAddress("a@b.c", "", "").GetText());
}
