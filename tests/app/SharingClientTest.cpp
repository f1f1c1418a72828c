// The connecting side against a stand-in server of scripted replies: blocks
// that are short, lie or unpack past the cap are refused whole, a list naming
// paths outside fails those rows and writes nothing outside the connection's
// folder, and the welcome page nests and escapes what the server names.
#include <gtest/gtest.h>
#include <initializer_list>
#include <map>
#include "SMemory.h"
#include "PTargetMaker.h"
#include "SharingTestSupport.h"

using namespace apptest;

namespace
{
int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

int ItemImage(SExListCtrl& list, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    list.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

class SharingClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartSockets();
        settings.SetText("Folder", root.Path());
        settings.SetNumber("ServerPort", sharingPort);
        server.Script("101", {"=1", Z("") + Z("A|B|") + Z("10") + std::string(2048, '\x7F')});
        server.Script("100", {"=1", Packed("A\\|A\\B\\|A\\B\\E\\|D\\|<b>&\\")});
        window.reset(new AppWindow);
        ASSERT_TRUE(App().Connect("Kitchen", "127.0.0.1", "", server.Port()));
    }

    PWndApp& App() { return window->App(); }

    // Every size asked is 3 and every file sends `sent`, each reply after the
    // delay; the paths are queued and the downloads begun.
    bool Download(const std::string& sent, std::initializer_list<const char*> paths, int delay = 0)
    {
        server.SetDelay(delay);
        server.Script("105", {"=3"});
        server.Script("106", {"=Ok", sent});
        for (const char* path : paths)
            App().GetDownloadQueue().Add(path);
        return App().ResumeDownloads();
    }

    // A server of distinct files "A\\NN.mp3": "105" gives a file's size (as
    // told in `sizes` when it is there), "106" its bytes from the offset, and
    // `browse` the other requests; the hold runs first on the server's
    // thread, as a busy server's would. Files under "B\\" are not queued.
    void Serve(int count, const std::function<void(const std::string& name, const std::string& text)>& hold = nullptr)
    {
        for (int i = 0; i < count; ++i)
            files[(i < 10 ? "A\\0" : "A\\") + std::to_string(i) + ".mp3"] = PatternText(1000 + 97 * i, i);
        server.SetResponder([this, hold](const std::string& name, const std::string& text) {
            if (hold)
                hold(name, text);
            if (name != "105" && name != "106")
                return browse ? browse(name, text) : std::vector<std::string>{"=0"};
            const size_t cut = text.rfind('|');
            const std::string path = name == "106" ? text.substr(0, cut) : text;
            const auto told = sizes.find(path);
            if (name == "105")
                return std::vector<std::string>{"=" + (told != sizes.end() ? told->second : std::to_string(files[path].size()))};
            const size_t offset = std::stoul(text.substr(cut + 1));
            return offset < files[path].size() ? std::vector<std::string>{"=Ok", files[path].substr(offset)}
                                               : std::vector<std::string>{"="};
        });
        for (const auto& file : files)
            if (file.first.rfind("B\\", 0) != 0)
                App().GetDownloadQueue().Add(file.first.c_str());
    }

    // Six files, one of 2 MiB sent slowly: the server's thread answers
    // nothing else meanwhile, as it waits for each transfer. A folder view
    // holds one song named after the folder; "103" lists B's files.
    void ServeWithALargeFile(bool withB)
    {
        files["A\\02 large.mp3"] = PatternText(2 * 1024 * 1024, 99);
        if (withB)
            files["B\\b1.mp3"] = PatternText(3000, 1), files["B\\b2.mp3"] = PatternText(5000, 2);
        browse = [](const std::string& name, const std::string& text) -> std::vector<std::string> {
            if (name == "102")
                return {"=1", Z(text) + Z(text + "\\" + text + "1.mp30") + U32(0) + U32(0) + U32(0) + std::string(1, '\0')};
            return {Z(name == "103" && text == "B" ? "B\\b1.mp3|B\\b2.mp3" : "")};
        };
        server.SetPace(8);
        Serve(5);
        ASSERT_EQ(6, App().GetDownloadQueue().GetCount());
        ASSERT_TRUE(App().ResumeDownloads());
        const std::string large = root.Path() + "{Kitchen}\\A\\02 large.mp3";
        ASSERT_TRUE(PumpUntil([&] { return FileSizeOf(large) > 0; }));
    }

    // The request failed, and nothing else: the session, its queue and its run go on.
    void ExpectTheSessionGoesOn(int rows)
    {
        EXPECT_FALSE(App().IsLocal());
        EXPECT_EQ(rows, App().GetDownloadQueue().GetCount());
        EXPECT_TRUE(App().GetDownloadThread().IsRunning());
    }

    // The run ends with every row of the files done, its target holding its file exactly.
    void ExpectAllDone()
    {
        PWndNet& queue = App().GetDownloadQueue();
        ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }, 60000));
        PumpUntil([] { return false; }, 300);
        for (int row = 0; row < queue.GetCount(); ++row)
            if (files.count(queue.GetPath(row).GetText()) > 0)
            {
                EXPECT_EQ(PWndNet::STATE_DONE, queue.GetState(row)) << queue.GetPath(row).GetText();
                EXPECT_EQ(PWndNet::STATE_DONE, ItemImage(queue.GetList(), row)) << queue.GetPath(row).GetText();
            }
        for (const auto& file : files)
            EXPECT_TRUE(ReadFileText(root.Path() + "{Kitchen}\\" + file.first) == file.second) << file.first;
    }

    SettingsKey settings;
    const int sharingPort = FreePort();
    TempFolder root;
    ScriptedServer server;
    std::map<std::string, std::string> files, sizes;
    std::function<std::vector<std::string>(const std::string& name, const std::string& text)> browse;
    Questions questions;
    std::unique_ptr<AppWindow> window;
};
}

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

TEST_F(SharingClientTest, WelcomePageNestsFoldersAndEscapesNames)
{
    SMemory page;
    ASSERT_TRUE(App().BuildRemoteWelcomePage(&page, "C:\\p.jpg"));
    const std::string html = page.ReadText(-1).GetText();
    const size_t b = html.find("<li>B<br>"), e = html.find("<li>E<br>"), d = html.find("> D</font>");
    ASSERT_TRUE(b != std::string::npos && e != std::string::npos && d != std::string::npos) << html;
    const std::string beforeB = html.substr(0, b), toE = html.substr(b, e - b), toD = html.substr(e, d - e);
    // One list opens right before B and one before E; both close before D.
    EXPECT_EQ("<ul>\r\n", beforeB.substr(beforeB.size() - 6));
    EXPECT_EQ("<ul>\r\n", toE.substr(toE.size() - 6));
    EXPECT_EQ(1, Count(beforeB, "<ul>"));
    EXPECT_EQ(1, Count(toE, "<ul>"));
    EXPECT_EQ(0, Count(toD, "<ul>"));
    EXPECT_NE(std::string::npos, toD.find("</ul>\r\n</ul>\r\n</p>\r\n"));
    EXPECT_NE(std::string::npos, html.find("> &lt;b&gt;&amp;</font>"));
    EXPECT_NE(std::string::npos, html.find("<font class=t2>Kitchen</font><br>\r\nIP: 127.0.0.1 - Port: " +
                                           std::to_string(server.Port()) + "</center>"));
    EXPECT_EQ("</p>\r\n</font></body></html>\r\n", html.substr(html.size() - 29));
}

TEST_F(SharingClientTest, WelcomePageClosesOnlyTheListsItOpened)
{
    // A tree entry without a separator is a heading, as a top folder is.
    server.Script("100", {"=1", Packed("A\\|A\\B\\|A\\B\\E\\|Loose|D\\|")});
    SMemory page;
    ASSERT_TRUE(App().BuildRemoteWelcomePage(&page, "C:\\p.jpg"));
    const std::string html = page.ReadText(-1).GetText();
    EXPECT_EQ(2, Count(html, "<ul>"));
    EXPECT_EQ(2, Count(html, "</ul>")) << html;
    EXPECT_NE(std::string::npos, html.find("> Loose</font>"));
}

TEST(PTargetMakerTest, ANewTargetNeverEmptiesAFileThatAppearedSinceTheListing)
{
    TempFolder folder;
    ASSERT_TRUE(folder.WriteFile("empty.mp3", ""));
    ASSERT_TRUE(folder.WriteFile("come.mp3", "abc"));
    const struct
    {
        const char* name;
        bool made;
        const char* kept;
    } cases[] = {{"missing.mp3", true, ""}, {"empty.mp3", true, ""}, {"come.mp3", false, "abc"}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.made, PTargetMaker::MakeEmpty((folder.Path() + c.name).c_str())) << c.name;
        EXPECT_EQ(c.kept, ReadFileText(folder.Path() + c.name)) << c.name;
    }
}

// A job its thread cannot take (its window is gone) ends at once: the caller
// makes the file, and no job stays held behind it.
TEST(PTargetMakerTest, AJobTheThreadCannotTakeIsLetGoAtOnce)
{
    TempFolder folder;
    PTargetMaker maker;
    ASSERT_TRUE(maker.End(maker.Begin((folder.Path() + "first.mp3").c_str())));
    SendMessageA(maker.GetWorkerWindow(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(maker.GetWorkerWindow()));
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(nullptr, maker.Begin((folder.Path() + std::to_string(i) + ".mp3").c_str())) << i;
    EXPECT_LE(maker.GetHeldCount(), 1u);
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

TEST_F(SharingClientTest, ABrowsingReplyPastTheTimeOutIsNeverTakenForTheNextOne)
{
    std::atomic<int> asked{0};
    server.SetResponder([&](const std::string& name, const std::string&) {
        if (asked++ == 0)
            Sleep(2500);
        return std::vector<std::string>{Z(asked == 1 ? "A\\late.mp3" : "A\\fresh.mp3")};
    });
    App().GetFolderList().SetSelection(0);
    App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    PumpUntil([] { return false; }, 1000);
    App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); });
    // The late reply was read past: the session stays, with the fresh one queued.
    PWndNet& queue = App().GetDownloadQueue();
    EXPECT_FALSE(App().IsLocal());
    ASSERT_EQ(1, queue.GetCount());
    EXPECT_STREQ("A\\fresh.mp3", queue.GetPath(0).GetText());
}

// Neither a second connection refused nor a close refused at the sharing
// question takes the session: its rows, and the access code its downloads use.
TEST_F(SharingClientTest, RefusedConnectionsAndClosesKeepTheSession)
{
    PWndNet& queue = App().GetDownloadQueue();
    ASSERT_TRUE(queue.Add("A\\1.mp3"));
    EXPECT_FALSE(App().Connect("Other", "127.0.0.1", "secret", FreePort()));
    EXPECT_FALSE(App().IsLocal());
    ASSERT_TRUE(StartSharingOn(App(), sharingPort));
    App().GetServerThread().SetPeerCount(1);
    {
        QuestionRecorder no(IDNO);
        EXPECT_EQ(-1, App().SendMessage(WM_CLOSE));
    }
    EXPECT_FALSE(App().IsLocal());
    EXPECT_EQ(1, queue.GetCount());
    files["A\\1.mp3"] = "abc";
    Serve(0);
    ASSERT_TRUE(App().ResumeDownloads());
    ExpectAllDone();
}

TEST_F(SharingClientTest, AFolderSelectedWhileAFileIsSentKeepsTheSessionAndItsDownloads)
{
    ServeWithALargeFile(false);
    Select(App(), App().GetFolderList(), "B");
    EXPECT_EQ("", Items(App().GetFileList()));
    ExpectTheSessionGoesOn(6);
    ExpectAllDone();
    EXPECT_EQ(6, App().GetDownloadQueue().GetCount());
    EXPECT_EQ(2, server.Connections());
    // The late view was read past as it came.
    EXPECT_TRUE(PumpUntil([&] { return !App().GetClient().IsOwing(); }, 5000));
    // Once the server answers again, a folder shows its own files, not the late view's.
    Select(App(), App().GetFolderList(), "A");
    EXPECT_EQ("A1;", Items(App().GetFileList()));
    EXPECT_FALSE(App().IsLocal());
}

TEST_F(SharingClientTest, DownloadFolderPressedWhileAFileIsSentLosesNothing)
{
    ServeWithALargeFile(true);
    App().GetFolderList().SetSelection(App().GetFolderList().FindItem("B"));
    App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    ExpectTheSessionGoesOn(6);
    ASSERT_TRUE(PumpUntil([&] { return !App().GetDownloadThread().IsRunning(); }, 60000));
    EXPECT_EQ(6, App().GetDownloadQueue().GetCount());
    App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 26);
    EXPECT_EQ(8, App().GetDownloadQueue().GetCount());
    ExpectAllDone();
}

// The server holds each reply past the time-out, as it does while it sends a
// file: every action fails with the views as they were, and says why.
TEST_F(SharingClientTest, ABrowsingRequestThatComesLateLeavesTheViewsAndSaysWhy)
{
    SListCtrl& folders = App().GetFolderList();
    server.Script("102", {"=1", Z("A") + Z("A\\a.mp30") + U32(0) + U32(0) + U32(0) + std::string(1, '\0')});
    server.Script("103", {Z("A\\a.mp3")});
    Select(App(), folders, "A");
    ASSERT_EQ("a;", Items(App().GetFileList()));
    server.SetDelay(2500);
    const struct
    {
        const char* told;
        std::function<void()> act;
    } actions[] = {{"B\\ could not be shown", [&] { Select(App(), folders, "B"); }},
                   {" could not be opened", [&] { App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 1); }},
                   {"A\\ could not be downloaded", [&] { App().SendMessage(SWM_TOOLBAR_COMMAND, 0, 26); }}};
    for (const auto& action : actions)
    {
        const size_t asked = server.Requests().size();
        action.act();
        EXPECT_EQ(folders.FindItem("A"), folders.GetSelection()) << action.told;
        EXPECT_EQ("A;B;", Items(folders));
        EXPECT_EQ("a;", Items(App().GetFileList()));
        EXPECT_EQ(0, App().GetDownloadQueue().GetCount());
        EXPECT_FALSE(App().IsLocal());
        const std::string status = StatusText(App());
        EXPECT_NE(std::string::npos, status.find(action.told)) << status;
        EXPECT_NE(std::string::npos, status.find("busy sending a file")) << status;
        // One request, one wait: nothing else of the action was asked.
        EXPECT_EQ(asked + 1, server.Requests().size()) << action.told;
        ASSERT_TRUE(PumpUntil([&] { return !App().GetClient().IsOwing(); }, 5000));
    }
    server.SetDelay(0);
    server.Script("102", {"=1", Z("B") + Z("B\\b.mp30") + U32(0) + U32(0) + U32(0) + std::string(1, '\0')});
    Select(App(), folders, "B");
    EXPECT_EQ("b;", Items(App().GetFileList()));
    EXPECT_EQ("<Kitchen>\\\\", StatusText(App()));
}

// Thousands of sub-folders are shown whole: each name with its flag and its
// own picture from the block, drawn opaque whatever its fourth byte.
TEST_F(SharingClientTest, AListingOfThousandsIsShownWholeWithEachPicture)
{
    const int count = 4000;
    std::string names, flags, pictures;
    for (int i = 0; i < count; ++i)
    {
        names += "F" + std::to_string(i) + "|";
        flags += i % 3 ? "1" : "0";
        const char pixel[4] = {static_cast<char>(i), static_cast<char>(i >> 8), static_cast<char>(i % 7 * 30), 0};
        for (int p = 0; p < 256; ++p)
            pictures.append(pixel, 4);
    }
    server.Script("101", {"=1", Z("Many") + Z(names) + Z(flags) + pictures});
    // Shown, as the user sees it: a list filled item by item redraws at each.
    App().ShowWindow(SW_SHOW);
    ASSERT_TRUE(App().OpenRemoteFolder("Many"));
    SListCtrl& list = App().GetFolderList();
    ASSERT_EQ(count, list.GetCount());
    const HIMAGELIST covers = App().GetFolderCovers().GetHandle();
    ASSERT_EQ(count + 1, ImageList_GetImageCount(covers));
    IMAGEINFO info = {};
    ASSERT_TRUE(ImageList_GetImageInfo(covers, 1, &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmImage, sizeof(bitmap), &bitmap);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    const HDC screen = GetDC(nullptr);
    ASSERT_EQ(bitmap.bmHeight, GetDIBits(screen, info.hbmImage, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS));
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < count; ++i)
    {
        ASSERT_EQ("F" + std::to_string(i), list.GetItemText(i).GetText());
        ASSERT_EQ(i + 1, list.GetItemRecord(i)->image);
        ASSERT_EQ(i % 3 ? 0 : -1, list.GetItemSecondImage(i)) << i;
        ASSERT_TRUE(ImageList_GetImageInfo(covers, i + 1, &info));
        const DWORD pixel = pixels[static_cast<size_t>(info.rcImage.top + 8) * bitmap.bmWidth + info.rcImage.left + 8];
        ASSERT_EQ(0xFF000000u | (i % 7 * 30) << 16 | (i & 0xFFFF), pixel) << i;
    }
}
