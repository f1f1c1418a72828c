// The book window over a library in the test's process: the links its page
// sends before navigating (folders, songs with and without Ctrl, albums, other
// addresses) and what it keeps when closed. The browser cannot render here.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "PWndBook.h"

using namespace apptest;

namespace
{
class PWndBookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* file : {"Rock\\Artist\\a.mp3", "Rock\\1 One.mp3", "Rock\\2 Two.wma", "Rock\\3 Three.avi"})
            ASSERT_TRUE(root.WriteFile(file, "x"));
        CreateDirectoryA((root.Path() + "Empty").c_str(), nullptr);
        settings.SetText("Folder", root.Path());
        window.reset(new AppWindow);
        book.SetOwner(&window->App());
        book.Create("", WS_POPUP | WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
    }

    LRESULT Click(const std::string& address, bool ctrl = false)
    {
        if (ctrl)
            Key(VK_CONTROL, 0);
        const LRESULT answer = book.SendMessage(SWM_BROWSER_BEFORENAVIGATE, 0, reinterpret_cast<LPARAM>(address.c_str()));
        if (ctrl)
            Key(VK_CONTROL, KEYEVENTF_KEYUP);
        return answer;
    }
    static void Key(WORD key, DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
        Pump(50);
    }
    std::string Queue()
    {
        std::string text;
        const SArrayString& queue = window->App().GetQueue();
        for (int i = 0; i < queue.GetCount(); ++i)
        {
            const std::string path = TextOf(queue.GetAt(i));
            text += (path.rfind(root.Path(), 0) == 0 ? path.substr(root.Path().size()) : path) + ";";
        }
        return text;
    }

    RegisteredPlayer player;
    SettingsKey settings;
    TempFolder root;
    std::unique_ptr<AppWindow> window;
    PWndBook book;
};
}

TEST_F(PWndBookTest, FolderLinksOpenTheFolderAndStayOnThePage)
{
    EXPECT_STREQ("Book - KLV Sonavel", book.GetWindowText().GetText());
    std::string encoded = root.Path();
    for (size_t at = encoded.find(' '); at != std::string::npos; at = encoded.find(' '))
        encoded.replace(at, 1, "%20");
    for (const std::string& address : {root.Path() + "Rock\\Artist.link", encoded + "Rock\\Artist.LINK",
                                       FileUrl(root.Path() + "Rock\\Artist.link"),
                                       "file://" + root.Path() + "Rock\\Artist.link"})
    {
        window->App().OpenFolderPath(root.Path().c_str(), "", false);
        EXPECT_EQ(-1, Click(address)) << address;
        EXPECT_EQ(root.Path() + "Rock\\", TextOf(window->App().GetCurrentFolder().GetPath())) << address;
        SListCtrl& folders = window->App().GetFolderList();
        EXPECT_STREQ("Artist", folders.GetItemText(folders.GetSelection()).GetText()) << address;
    }
}

TEST_F(PWndBookTest, SongsPlayOrJoinTheQueueWithCtrlAndAlbumsPlayTheirFolder)
{
    const struct
    {
        std::string address;
        bool ctrl;
        std::string queue;
        int index;
        std::string playing;
    } steps[] = {
        {root.Path() + "Rock\\1 One.mp3", true, "Rock\\1 One.mp3;", 0, "Rock\\1 One.mp3"},
        {root.Path() + "Rock\\2 Two.wma", true, "Rock\\1 One.mp3;Rock\\2 Two.wma;", 0, "Rock\\1 One.mp3"},
        {root.Path() + "Rock\\3 Three.avi", true, "Rock\\1 One.mp3;Rock\\2 Two.wma;Rock\\3 Three.avi;", 0,
         "Rock\\1 One.mp3"},
        {root.Path() + "Rock\\2 Two.wma", false, "Rock\\2 Two.wma;", 0, "Rock\\2 Two.wma"},
        {root.Path() + "Rock.album", false, "Rock\\1 One.mp3;Rock\\2 Two.wma;Rock\\3 Three.avi;", 0,
         "Rock\\1 One.mp3"},
        {root.Path() + "Empty.album", false, "", -1, "Rock\\1 One.mp3"},
        // The same actions from the "file:" addresses a browser reports.
        {FileUrl(root.Path() + "Rock\\2 Two.wma"), false, "Rock\\2 Two.wma;", 0, "Rock\\2 Two.wma"},
        {"file://" + root.Path() + "Rock.album", false, "Rock\\1 One.mp3;Rock\\2 Two.wma;Rock\\3 Three.avi;", 0,
         "Rock\\1 One.mp3"},
        {FileUrl(root.Path() + "Rock\\3 Three.avi"), true,
         "Rock\\1 One.mp3;Rock\\2 Two.wma;Rock\\3 Three.avi;Rock\\3 Three.avi;", 0, "Rock\\1 One.mp3"},
    };
    for (const auto& s : steps)
    {
        EXPECT_EQ(-1, Click(s.address, s.ctrl)) << s.address;
        EXPECT_EQ(s.queue, Queue()) << s.address;
        EXPECT_EQ(s.index, window->App().GetQueueIndex()) << s.address;
        EXPECT_EQ(root.Path() + s.playing, std::string(player.Fake().url.begin(), player.Fake().url.end()))
            << s.address;
    }
}

TEST_F(PWndBookTest, OtherAddressesNavigateAndClosingKeepsThePlacement)
{
    for (const std::string& address : {std::string("http://www.example.com/"), root.Path() + "Book\\book0.png",
                                       root.Path() + "Book.htm", std::string("not a path")})
        EXPECT_EQ(0, Click(address)) << address;
    EXPECT_EQ("", Queue());
    EXPECT_TRUE(book.Close());
    EXPECT_EQ(0u, settings.GetText("WindowBook").rfind("7:", 0)) << settings.GetText("WindowBook");
}

// Escapes never change an address's shape, and only the library's own files
// are acted on: the rest is refused (-1, nothing done) or left to the browser.
TEST_F(PWndBookTest, LinksActOnlyInsideTheLibraryInBothWindows)
{
    TempFolder outside;
    ASSERT_TRUE(outside.WriteFile("Out\\x.mp3", "x"));
    // The root's own drive is the current one.
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(root.Path().c_str());
    const std::string url = FileUrl(root.Path());      // "file:///C:/.../"
    const std::string noDrive = "file://" + url.substr(10);  // "file:///.../", the current drive
    const struct
    {
        std::string address;
        LRESULT book, main;
        const char* queue;   // after the book's click
        const char* folder;  // the main window's, after its click
    } cases[] = {
        {"file:%2F%2Fhost%2Fshare%2Fx.mp3", -1, -1, "", ""},
        {"file:%2F%2Fhost%2Fshare%2FRock%2FArtist.link", -1, -1, "", ""},
        {"file:///%43" + url.substr(9) + "Rock/1%20One.mp3", -1, -1, "", ""},
        {url + "Rock/%2E%2E/Rock/1%20One.mp3", -1, -1, "", ""},
        {url + "%2E%2E/x.album", -1, -1, "", ""},
        {url + "Rock/1%20One.mp3%00.htm", -1, -1, "", ""},
        {url + "Rock%2F1%20One.mp3", -1, -1, "", ""},
        {"file:///server/share/x.mp3", -1, 0, "", ""},
        {"file://server/share/x.mp3", -1, 0, "", ""},
        // A folder link is put under our root: no host is asked.
        {"file://server/share/Rock/Artist.link", -1, -1, "", ""},
        {noDrive + "Rock/1%20One.mp3", -1, 0, "Rock\\1 One.mp3;", ""},
        {noDrive + "Rock/Artist.link", -1, -1, "", "Rock\\"},
        {"file://localhost\\" + root.Path() + "Rock\\2 Two.wma", -1, 0, "Rock\\2 Two.wma;", ""},
        {"file://localhost/" + url.substr(8) + "Rock.album", -1, 0, "Rock\\1 One.mp3;Rock\\2 Two.wma;Rock\\3 Three.avi;", ""},
        {outside.Path() + "Out\\x.mp3", -1, 0, "", ""},
        {FileUrl(outside.Path() + "Out\\x.mp3"), -1, 0, "", ""},
        {FileUrl(outside.Path() + "Out.album"), -1, 0, "", ""},
    };
    for (const auto& c : cases)
    {
        window->App().ClearQueue();
        EXPECT_EQ(c.book, Click(c.address)) << c.address;
        EXPECT_EQ(c.queue, Queue()) << c.address;
        window->App().ClearQueue();
        window->App().OpenFolderPath(root.Path().c_str(), "", false);
        EXPECT_EQ(c.main, window->App().SendMessage(SWM_BROWSER_BEFORENAVIGATE, 0,
                                                    reinterpret_cast<LPARAM>(c.address.c_str())))
            << c.address;
        EXPECT_EQ(root.Path() + c.folder, TextOf(window->App().GetCurrentFolder().GetPath())) << c.address;
        EXPECT_EQ("", Queue()) << c.address;
    }
    SetCurrentDirectoryA(previous);
}
