// The connecting side's browsing against a stand-in server of scripted
// replies: the welcome page nests and escapes what the server names, a
// reply past the time-out is never taken for another, a request that fails
// leaves the views and says why, and a listing of thousands is shown whole.
#include "SMemory.h"
#include "SharingClientFixture.h"

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
