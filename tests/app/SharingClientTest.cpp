// The connecting side's downloads against a stand-in server of scripted
// replies: blocks that are short, lie or unpack past the cap are refused
// whole, a list naming paths outside fails those rows and writes nothing
// outside the connection's folder, and every row ends done and exact.
#include "SMemory.h"
#include "SharingClientFixture.h"

using namespace apptest;

TEST_F(SharingClientTest, ShortLyingAndOversizedBlocksAreRefusedWhole)
{
    const std::string pictures(2048, '\x7F');
    // The checks are the rules test's; here refusals leave the views as they were.
    const std::string listings[] = {Z("") + Z("A|B|") + Z("10") + pictures.substr(10),
                                    Z("..\\..") + Z("A|B|") + Z("10") + pictures};
    for (const std::string& block : listings)
    {
        server.Script("101", {"=1", block});
        EXPECT_FALSE(App().OpenRemoteFolder("")) << block.size();
        EXPECT_EQ("A;B;", Items(App().GetFolderList()));
    }
    // One block claiming more than the cap unpacked.
    server.Script("100", {"=1", U32(1) + U32(64 * 1024 * 1024 + 1) + U32(4) + "zzzz"});
    SMemory tree;
    EXPECT_FALSE(App().ReceiveRemoteTree(&tree));
    const std::string page = Packed("<html><base href=\"KLV Sonavel\">page</html>");
    const std::string head = Z("A") + Z("A\\a.mp31|A\\v.avi0");
    const std::string views[] = {head + U32(9) + "jpg" + U32(0) + U32(0) + std::string(1, '\0'),
                                 head + U32(0) + U32(0) + U32(12) + "\1" + U32(1) + U32(64 * 1024 * 1024 + 1) + U32(0)};
    for (const std::string& block : views)
    {
        server.Script("102", {"=1", block});
        App().GetFolderList().SetSelection(0);
        EXPECT_FALSE(App().ShowRemoteFolder()) << block.size();
        EXPECT_EQ("", Items(App().GetFileList()));
        // No folder's view was shown: the highlight goes back to none.
        EXPECT_EQ(-1, App().GetFolderList().GetSelection());
    }
    // A whole view: a song with its note mark, a video; with its page the browser shows instead.
    server.Script("102", {"=1", head + U32(0) + U32(0) + U32(0) + std::string(1, '\0')});
    App().GetFolderList().SetSelection(0);
    EXPECT_TRUE(App().ShowRemoteFolder());
    EXPECT_EQ("a;v;", Items(App().GetFileList()));
    EXPECT_EQ(4, App().GetFileList().GetItemSecondImage(0));
    EXPECT_EQ(-1, App().GetFileList().GetItemSecondImage(1));
    EXPECT_TRUE(App().GetFileList().GetStyle() & WS_VISIBLE);
    server.Script("102", {"=1", head + U32(0) + U32(0) + U32(static_cast<uint32_t>(page.size())) + "\1" + page});
    EXPECT_TRUE(App().ShowRemoteFolder());
    EXPECT_TRUE(App().GetPageBrowser().GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(App().GetFileList().GetStyle() & WS_VISIBLE);
    const std::string shown = ReadFileText(App().GetPageBrowser().GetTempFile().GetText());
    EXPECT_NE(std::string::npos, shown.find("<base href=\"" + root.Path() + "\">")) << shown;
    // Folder links of a remote page lead nowhere.
    EXPECT_EQ(-1, App().SendMessage(SWM_BROWSER_BEFORENAVIGATE, 0, reinterpret_cast<LPARAM>("C:\\x\\B.link")));
    EXPECT_FALSE(App().IsLocal());
    EXPECT_EQ("A;B;", Items(App().GetFolderList()));
}

TEST_F(SharingClientTest, ListedPathsOutsideFailTheirRowsAndWriteNothingOutside)
{
    server.Script("103", {Z("..\\x.mp3|C:\\y.mp3|\\\\host\\s\\z.mp3|A\\ok.mp3|A\\ok.mp3")});
    server.Script("105", {"=3"});
    server.Script("106", {"=Ok", "abc"});
    App().GetFolderList().SetSelection(0);
    App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    PWndNet& queue = App().GetDownloadQueue();
    ASSERT_EQ(4, queue.GetCount());
    ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }));
    const int states[] = {PWndNet::STATE_FAILED, PWndNet::STATE_FAILED, PWndNet::STATE_FAILED, PWndNet::STATE_DONE};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(states[row], queue.GetState(row)) << queue.GetPath(row).GetText();
    EXPECT_EQ("abc", ReadFileText(root.Path() + "{Kitchen}\\A\\ok.mp3"));
    EXPECT_EQ(-1, FileSizeOf(root.Path() + "x.mp3"));
    EXPECT_EQ(-1, FileSizeOf("C:\\y.mp3"));
    // Only the good path was asked for.
    int asked = 0;
    for (const std::string& request : server.Requests())
        asked += request.rfind("105 ", 0) == 0;
    EXPECT_EQ(1, asked);
    // The rows show their percent and the failed ones their icon.
    SExListCtrl& list = queue.GetList();
    EXPECT_TRUE(PumpUntil([&] { return list.GetItemText(3, 1) == "100 %"; }));
    EXPECT_EQ(PWndNet::STATE_FAILED, ItemImage(list, 0));
    EXPECT_EQ(PWndNet::STATE_DONE, ItemImage(list, 3));
    // Clearing removes the finished row.
    App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 32);
    EXPECT_EQ(3, queue.GetCount());
}

TEST_F(SharingClientTest, LocalFilesLargerOrUnreadableFailUntouched)
{
    // The one file asked for starts at 1: the rest of "abc".
    const std::string folder = root.Path() + "{Kitchen}\\A\\";
    ASSERT_TRUE(root.WriteFile("{Kitchen}\\A\\larger.mp3", "12345"));
    ASSERT_TRUE(root.WriteFile("{Kitchen}\\A\\locked.mp3", "xy"));
    ASSERT_TRUE(root.WriteFile("{Kitchen}\\A\\done.mp3", "abc"));
    ASSERT_TRUE(root.WriteFile("{Kitchen}\\A\\part.mp3", "a"));
    HANDLE locked = CreateFileA((folder + "locked.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    PWndNet& queue = App().GetDownloadQueue();
    ASSERT_TRUE(Download("bc", {"A\\larger.mp3", "A\\locked.mp3", "A\\done.mp3", "A\\part.mp3"}));
    ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }));
    CloseHandle(locked);
    const int states[] = {PWndNet::STATE_FAILED, PWndNet::STATE_FAILED, PWndNet::STATE_DONE, PWndNet::STATE_DONE};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(states[row], queue.GetState(row)) << queue.GetPath(row).GetText();
    EXPECT_EQ("12345", ReadFileText(folder + "larger.mp3"));
    EXPECT_EQ("xy", ReadFileText(folder + "locked.mp3"));
    EXPECT_EQ("abc", ReadFileText(folder + "done.mp3"));
    // The part was resumed from its size.
    EXPECT_EQ("abc", ReadFileText(folder + "part.mp3"));
    const std::vector<std::string> requests = server.Requests();
    EXPECT_EQ("106 A\\part.mp3|1", requests.back());
}

TEST_F(SharingClientTest, TransferNotOfWhatRemainsFailsAndAppendsNothing)
{
    // "a" of "abc" is here: the server announces 10 bytes more, then 1 less.
    server.Script("105", {"=3"});
    ASSERT_TRUE(root.WriteFile("{Kitchen}\\A\\part.mp3", "a"));
    PWndNet& queue = App().GetDownloadQueue();
    queue.Add("A\\part.mp3");
    for (const std::string& sent : {"bc" + std::string(10, 'x'), std::string("b")})
    {
        server.Script("106", {"=Ok", sent});
        ASSERT_TRUE(App().ResumeDownloads());
        ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }));
        EXPECT_EQ(PWndNet::STATE_FAILED, queue.GetState(0)) << sent;
        EXPECT_EQ("a", ReadFileText(root.Path() + "{Kitchen}\\A\\part.mp3")) << sent;
    }
}

TEST_F(SharingClientTest, RowsAskedAheadOfASlowServerFillInOrder)
{
    // The second row names the first one's target: it waits until that is
    // made, then is done without a transfer.
    PWndNet& queue = App().GetDownloadQueue();
    ASSERT_TRUE(Download("abc", {"A\\1.mp3", "A/1.mp3", "A\\2.mp3", "A\\3.mp3"}, 50));
    ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }));
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(PWndNet::STATE_DONE, queue.GetState(row)) << queue.GetPath(row).GetText();
    for (const char* name : {"1", "2", "3"})
        EXPECT_EQ("abc", ReadFileText(root.Path() + "{Kitchen}\\A\\" + name + ".mp3")) << name;
    // Each row's size is asked before the file of the row before it.
    std::string asked;
    for (const std::string& request : server.Requests())
        if (request.rfind("105 ", 0) == 0 || request.rfind("106 ", 0) == 0)
            asked += request + ";";
    EXPECT_EQ("105 A\\1.mp3;105 A/1.mp3;106 A\\1.mp3|0;105 A\\2.mp3;105 A\\3.mp3;106 A\\2.mp3|0;106 A\\3.mp3|0;",
              asked);
}

TEST_F(SharingClientTest, StopAmongRowsAskedAheadKeepsTheUntriedQueued)
{
    PWndNet& queue = App().GetDownloadQueue();
    ASSERT_TRUE(Download("abc", {"A\\1.mp3", "A\\2.mp3", "A\\3.mp3", "A\\4.mp3"}, 150));
    ASSERT_TRUE(PumpUntil([&] { return queue.GetState(0) == PWndNet::STATE_DONE; }));
    App().StopDownloads();
    ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }));
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(PWndNet::STATE_QUEUED, queue.GetState(row)) << queue.GetPath(row).GetText();
    EXPECT_EQ(-1, FileSizeOf(root.Path() + "{Kitchen}\\A\\3.mp3"));
}

TEST_F(SharingClientTest, QueueFindsRequeuedRowsAndRefusesDuplicatesAfterRemovals)
{
    PWndNet& queue = App().GetDownloadQueue();
    SArrayString paths;
    for (const char* path : {"A\\1.mp3", "A\\2.mp3", "A\\3.mp3", "A\\4.mp3", "A\\5.mp3", "a\\1.MP3"})
        paths.Add(path);
    EXPECT_EQ(5, queue.Add(paths));
    // The thread's walk: row 1 fails, and once queued again it is the next.
    for (int row : {0, 1, 2})
    {
        EXPECT_EQ(row, queue.GetNextQueued());
        queue.SetPercent(row, row == 1 ? 50 : 100);
        queue.SetState(row, row == 1 ? PWndNet::STATE_FAILED : PWndNet::STATE_DONE);
    }
    EXPECT_EQ(3, queue.GetNextQueued());
    queue.ResetFailed();
    EXPECT_EQ(1, queue.GetNextQueued());
    queue.SetPercent(1, 100);
    queue.SetState(1, PWndNet::STATE_DONE);
    // Row 3 removed by the user, then the finished ones: row 4 is left, first and next.
    queue.GetList().SetSelection(3);
    queue.RemoveSelected();
    EXPECT_EQ(3, queue.GetNextQueued());
    queue.RemoveFinished();
    ASSERT_EQ(1, queue.GetCount());
    EXPECT_STREQ("A\\5.mp3", queue.GetList().GetItemText(0).GetText());
    EXPECT_EQ(0, queue.GetNextQueued());
    queue.SetStateOf("A\\5.mp3", PWndNet::STATE_FAILED, 4);
    EXPECT_EQ(PWndNet::STATE_FAILED, queue.GetState(0));
    // Only what is still listed is refused.
    EXPECT_FALSE(queue.Add("a\\5.MP3"));
    EXPECT_TRUE(queue.Add("A\\4.mp3"));
    EXPECT_TRUE(queue.Add("A\\1.mp3"));
    EXPECT_EQ("A\\5.mp3;A\\4.mp3;A\\1.mp3;", std::string(queue.GetPath(0).GetText()) + ";" +
                                                   queue.GetPath(1).GetText() + ";" + queue.GetPath(2).GetText() + ";");
    EXPECT_EQ(3, queue.GetList().GetItemCount());
}

TEST_F(SharingClientTest, ClearingDoneRowsDuringARunLeavesEveryOtherRowFetched)
{
    server.SetPace(40);
    Serve(12);
    ASSERT_TRUE(App().ResumeDownloads());
    PWndNet& queue = App().GetDownloadQueue();
    ASSERT_TRUE(PumpUntil([&] { return queue.GetState(3) == PWndNet::STATE_DONE; }));
    ASSERT_TRUE(App().GetDownloadThread().IsRunning());
    App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 32);
    EXPECT_LT(queue.GetCount(), 9);
    ExpectAllDone();
}

// The sizes and files come only once the server answers: the rows wait for
// it, no answer is taken for another row's, and every row ends done.
TEST_F(SharingClientTest, OneSizeHeldPastTheTimeOutIsNeverTakenForTheNextRows)
{
    std::atomic<bool> held{false};
    Serve(20, [&](const std::string&, const std::string& text) {
        if (text == "A\\10.mp3" && !held.exchange(true))
            Sleep(2500);
    });
    ASSERT_TRUE(App().ResumeDownloads());
    ExpectAllDone();
}

TEST_F(SharingClientTest, AServerBusyForSecondsIsWaitedFor)
{
    std::atomic<DWORD> start{0};
    Serve(20, [&](const std::string&, const std::string&) {
        if (start == 0)
            start = GetTickCount();
        const DWORD passed = GetTickCount() - start;
        if (passed < 6000)
            Sleep(6000 - passed);
    });
    ASSERT_TRUE(App().ResumeDownloads());
    ExpectAllDone();
}

TEST_F(SharingClientTest, RefusedTransfersAppendNothingAndTheConnectionGoesOn)
{
    // Both announce more than "105" told: a small one, and one read past for
    // about 5 s, far longer than a read may wait.
    server.SetPace(100);
    files["A\\-big.mp3"] = PatternText(200 * 1024, 7);
    files["A\\-small.mp3"] = PatternText(10 * 1024, 8);
    sizes = {{"A\\-big.mp3", "3"}, {"A\\-small.mp3", "3"}};
    Serve(2);
    PWndNet& queue = App().GetDownloadQueue();
    ASSERT_TRUE(App().ResumeDownloads());
    ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }, 60000));
    EXPECT_EQ(2, server.Connections());
    SExListCtrl& list = queue.GetList();
    PumpUntil([] { return false; }, 300);
    for (int row = 0; row < 4; ++row)
    {
        const bool refused = row < 2;
        EXPECT_EQ(refused ? PWndNet::STATE_FAILED : PWndNet::STATE_DONE, queue.GetState(row)) << row;
        EXPECT_EQ(refused ? PWndNet::STATE_FAILED : PWndNet::STATE_DONE, ItemImage(list, row)) << row;
    }
    EXPECT_EQ("", ReadFileText(root.Path() + "{Kitchen}\\A\\-big.mp3"));
    EXPECT_EQ("", ReadFileText(root.Path() + "{Kitchen}\\A\\-small.mp3"));
    App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 32);
    ASSERT_EQ(2, queue.GetCount());
    EXPECT_STREQ("A\\-big.mp3", queue.GetPath(0).GetText());
    files.erase("A\\-big.mp3");
    files.erase("A\\-small.mp3");
    ExpectAllDone();
}

TEST_F(SharingClientTest, UnusableTargetsFailBeforeTheirFileIsAskedFor)
{
    const std::string folder = root.Path() + "{Kitchen}\\A\\";
    ASSERT_TRUE(root.WriteFile("{Kitchen}\\A\\-ro.mp3", ""));
    ASSERT_TRUE(CreateDirectoryA((folder + "-dir.mp3").c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesA((folder + "-ro.mp3").c_str(), FILE_ATTRIBUTE_READONLY));
    files["A\\-dir.mp3"] = files["A\\-ro.mp3"] = "abc";
    Serve(2);
    ASSERT_TRUE(App().ResumeDownloads());
    ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }));
    SetFileAttributesA((folder + "-ro.mp3").c_str(), FILE_ATTRIBUTE_NORMAL);
    PWndNet& queue = App().GetDownloadQueue();
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(row < 2 ? PWndNet::STATE_FAILED : PWndNet::STATE_DONE, queue.GetState(row)) << row;
    for (const std::string& request : server.Requests())
        EXPECT_TRUE(request.find("dir.mp3|") == std::string::npos && request.find("ro.mp3|") == std::string::npos)
            << request;
    EXPECT_EQ(2, server.Connections());
    EXPECT_EQ("", ReadFileText(folder + "-ro.mp3"));
    files.erase("A\\-dir.mp3");
    files.erase("A\\-ro.mp3");
    ExpectAllDone();
}

TEST_F(SharingClientTest, NamesTheFileSystemTakesAsOneAreNeverWrittenAtOnce)
{
    // A with umlaut in both cases, in the code page's bytes; the first row is the upper one.
    char upper[16] = {}, lower[16] = {};
    WideCharToMultiByte(CP_ACP, 0, L"A/\u00C4.mp3", -1, upper, sizeof(upper), nullptr, nullptr);
    WideCharToMultiByte(CP_ACP, 0, L"A\\\u00E4.mp3", -1, lower, sizeof(lower), nullptr, nullptr);
    files[upper] = "first";
    files[lower] = "the second";
    Serve(0);
    PWndNet& queue = App().GetDownloadQueue();
    std::string same = lower;
    same[1] = '/';
    EXPECT_FALSE(queue.Add(same.c_str()));
    ASSERT_TRUE(App().ResumeDownloads());
    ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }));
    EXPECT_EQ("first", ReadFileText(root.Path() + "{Kitchen}\\" + lower));
    EXPECT_EQ(PWndNet::STATE_DONE, queue.GetState(0));
    EXPECT_EQ(PWndNet::STATE_FAILED, queue.GetState(1));
}
