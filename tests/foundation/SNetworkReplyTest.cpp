// Downloads against broken and hostile replies of the test server: each either fails with
// nothing stored, or delivers exactly the file.
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>
#include "HttpTestSupport.h"
#include "SFile.h"

namespace
{
class SNetworkReplyTest : public SNetworkDownloadTest
{
};

struct Outcome
{
    bool result;
    std::string content;
    size_t hookCalls;
};

Outcome DownloadInto(SMemory& target, const std::string& url, int blockSize, int answer = 0)
{
    RecordingNetwork net;
    net.answer = answer;
    const bool result = net.Download(&target, url.c_str(), blockSize, 0);
    return Outcome{result, Content(target), net.blocks.size()};
}

// Replies that are not the content, whatever the block size.
const char* const NotTheContent[] = {
    "/raw",          "/cutstatus",    "/closed",      "/lowercase",       "/len/garbage",
    "/len/negative", "/len/empty",    "/len/2g",      "/len/4g",          "/len/4g+3000",
    "/len/20digits", "/len/two",      "/len/list",    "/te/gzip-chunked", "/te/two-headers",
    "/te/gzip",      "/ce/gzip",      "/ce/deflate",  "/redirect?loop",   "/redirect?11",
};

// Replies that are the content, in another form that the platform undoes.
const char* const TheContent[] = {
    "/file", "/te/chunked", "/len/same", "/ce/identity", "/redirect?1", "/redirect?10",
};
} // namespace

TEST_F(SNetworkReplyTest, RepliesThatAreNotTheContentFailWithNothingStored)
{
    for (const char* path : NotTheContent)
    {
        for (int blockSize : {1024, 7})
        {
            SMemory m;
            const Outcome o = DownloadInto(m, Url(path), blockSize);
            EXPECT_FALSE(o.result) << path << " " << blockSize;
            EXPECT_EQ(0u, o.content.size()) << path << " " << blockSize;
            EXPECT_EQ(0u, o.hookCalls) << path << " " << blockSize;
        }
    }
}

TEST_F(SNetworkReplyTest, RepliesThatAreTheContentDeliverTheFile)
{
    for (const char* path : TheContent)
    {
        for (int blockSize : {1024, 7})
        {
            SMemory m;
            const Outcome o = DownloadInto(m, Url(path), blockSize);
            EXPECT_TRUE(o.result) << path << " " << blockSize;
            EXPECT_EQ(ExpectedFile(), o.content) << path << " " << blockSize;
        }
    }
}

TEST_F(SNetworkReplyTest, LengthsFrom2GiBFailBeforeWritingToAFile)
{
    TempFolder temp;
    for (const char* path : {"/len/2g", "/len/4g", "/len/4g+3000", "/len/20digits"})
    {
        const std::string file = temp.Path("big.bin");
        {
            SFile f;
            ASSERT_TRUE(f.Open(file.c_str(), true, true, false, false));
            RecordingNetwork net;
            EXPECT_FALSE(net.Download(&f, Url(path).c_str(), 1024, 0)) << path;
            EXPECT_TRUE(net.blocks.empty()) << path;
        }
        SFile f;
        ASSERT_TRUE(f.Open(file.c_str(), false, false, true, false));
        EXPECT_EQ(0, f.GetSize()) << path;
    }
}

TEST_F(SNetworkReplyTest, RedirectOutOfTheWebIsNotFollowed)
{
    TempFolder temp;
    const std::string local = temp.File("secret.txt", "local secret");
    std::string slashed = local;
    for (char& c : slashed)
        c = c == '\\' ? '/' : c;
    for (const std::string& target : {local, "file:///" + slashed})
    {
        SMemory m;
        const Outcome o = DownloadInto(m, Url("/redirect-away?") + target, 1024);
        EXPECT_FALSE(o.result) << target;
        EXPECT_EQ("", o.content) << target;
    }
}

TEST_F(SNetworkReplyTest, MemoryCapCountsStoredBytesOnly)
{
    // Announced above the cap: fails before the first block.
    SMemory announced;
    const Outcome above = DownloadInto(announced, Url("/len/abovecap"), 1024);
    EXPECT_FALSE(above.result);
    EXPECT_EQ(0u, above.hookCalls);

    // 100 MB without a length, every block skipped: nothing stored, nothing over the cap.
    SMemory skipped;
    const Outcome all = DownloadInto(skipped, Url("/endless"), 65536, SNetwork::ProgressSkipBlock);
    EXPECT_TRUE(all.result);
    EXPECT_EQ(0u, all.content.size());
    EXPECT_EQ(1600u, all.hookCalls);
}

// The slow servers take up to their full bound; they run side by side.
TEST_F(SNetworkReplyTest, SlowServersFailWithinTheBoundAndSteadyOnesSucceed)
{
    struct Case
    {
        const char* path;
        bool succeeds;
        size_t stored;
    };
    const Case cases[] = {
        {"/noanswer", false, 0}, {"/stall", false, 1024}, {"/trickle", false, 0}, {"/slowhead", false, 0},
        {"/steady", true, 1500}, {"/pause", true, 3000},
    };
    const int n = sizeof(cases) / sizeof(cases[0]);
    bool results[n] = {};
    size_t stored[n] = {};
    unsigned long long seconds[n] = {};
    std::vector<std::thread> threads;
    for (int i = 0; i < n; i++)
    {
        threads.emplace_back([&, i]() {
            const unsigned long long start = GetTickCount64();
            SNetwork net;
            SMemory m;
            results[i] = net.Download(&m, Url(cases[i].path).c_str(), 1024, 0);
            stored[i] = m.GetSize();
            seconds[i] = (GetTickCount64() - start) / 1000;
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (int i = 0; i < n; i++)
    {
        EXPECT_EQ(cases[i].succeeds, results[i]) << cases[i].path;
        EXPECT_EQ(cases[i].stored, stored[i]) << cases[i].path;
        if (!cases[i].succeeds)
        {
            // Within the answer bound (with room for a loaded machine), whatever the phase.
            EXPECT_GE(seconds[i], SNetwork::AnswerTimeoutMs / 1000 - 1) << cases[i].path;
            EXPECT_LT(seconds[i], SNetwork::AnswerTimeoutMs / 1000 + 15u) << cases[i].path;
        }
        else
            EXPECT_LT(seconds[i], 70u) << cases[i].path;
    }
}
