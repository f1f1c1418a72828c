// Browsing a generated library in a main window of the test's process: the
// texts and pictures of both lists, the counts, going up and down, and folder
// links from pages.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "SGuards.h"
#include "SMemory.h"
#include "SampleLibrary.h"

using namespace apptest;

namespace
{
class PWndAppBrowseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SampleLibrary::Options options;  // 2 genres, 2 artists, 2 albums, 4 tracks
        ASSERT_TRUE(SampleLibrary::Write(root.Path().c_str(), options));
        settings.SetText("Folder", root.Path());
    }

    // "text:first image:second image" of every item.
    static std::string Items(SListCtrl& list)
    {
        std::string text;
        for (int i = 0; i < list.GetCount(); ++i)
        {
            const SListCtrl::_SItem* item = list.GetItemRecord(i);
            text += std::string(TextOf(item->text)) + ":" + std::to_string(item->image) + ":" +
                    std::to_string(item->secondImage) + ";";
        }
        return text;
    }

    static std::string StatusText(PWndApp& app, int part)
    {
        char text[256] = {};
        app.GetStatusBar().SendMessage(SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
        return text;
    }

    void Select(PWndApp& app, SListCtrl& list, const char* name)
    {
        list.SelectItemByText(name, true);
        app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&list), 0);
    }

    SettingsKey settings;
    TempFolder root;
};

// The folder a test runs in, put back at its end.
class WorkingFolder
{
public:
    explicit WorkingFolder(const std::string& folder)
    {
        GetCurrentDirectoryA(MAX_PATH, m_previous);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~WorkingFolder() { SetCurrentDirectoryA(m_previous); }

private:
    char m_previous[MAX_PATH] = {};
};
}

TEST_F(PWndAppBrowseTest, ListsShowFoldersAndMediaWithTheirPictures)
{
    AppWindow window;
    PWndApp& app = window.App();
    EXPECT_EQ("8 songs, 16 videos, 8 radios", StatusText(app, 1));
    EXPECT_EQ(root.Path(), StatusText(app, 0));
    EXPECT_EQ("Jazz:1:0;Rock:2:0;", Items(app.GetFolderList()));
    EXPECT_FALSE(app.GetToolBar().IsButtonEnabled(3));
    EXPECT_TRUE(app.GetToolBar().IsButtonEnabled(4));

    const struct
    {
        const char* open;     // folder opened first, "" for none
        const char* select;   // folder selected then
        const char* folders;  // the folder list afterwards
        const char* files;    // the file list afterwards
    } steps[] = {
        {"Rock", "Artist", "Artist:1:0;Band:2:0;", ""},
        {"Artist", "Album 1", "Album 1:1:-1;Album 2:2:-1;", "01 Track A:2:4;02 Track B:2:-1;03 Track C:3:-1;04 Track D:1:-1;"},
        {"", "Album 2", "Album 1:1:-1;Album 2:2:-1;", "01 Track B:1:4;02 Track C:1:-1;03 Track D:1:-1;04 Track E:3:-1;"},
    };
    for (const auto& s : steps)
    {
        if (*s.open)
        {
            EXPECT_TRUE(app.OpenFolder(s.open, "", false)) << s.open;
        }
        Select(app, app.GetFolderList(), s.select);
        EXPECT_EQ(s.folders, Items(app.GetFolderList())) << s.select;
        EXPECT_EQ(s.files, Items(app.GetFileList())) << s.select;
    }
    EXPECT_EQ(root.Path() + "Rock\\Artist\\Album 2\\04 Track E.wvx", TextOf(app.GetFilePaths().GetAt(3)));
    EXPECT_TRUE(app.GetToolBar().IsButtonEnabled(3));
    // Albums hold no folders: they are shown, never entered.
    EXPECT_FALSE(app.OpenFolder("Album 2", "", false));
    EXPECT_EQ(root.Path() + "Rock\\Artist\\", TextOf(app.GetCurrentFolder().GetPath()));
}

TEST_F(PWndAppBrowseTest, NotesFollowTheSelectionAndKeepTheMark)
{
    AppWindow window;
    PWndApp& app = window.App();
    ASSERT_TRUE(app.OpenFolder("Rock", "", false));
    ASSERT_TRUE(app.OpenFolder("Artist", "", false));
    app.ShowWindow(SW_SHOW);  // folder notes load only into a visible editor
    Select(app, app.GetFolderList(), "Album 2");
    SCodeEditCtrl& notes = app.GetNotesEditor();
    EXPECT_EQ("Notes on this album.", std::string(TextOf(notes.GetAllText())));
    SListCtrl& files = app.GetFileList();
    const std::string album = root.Path() + "Rock\\Artist\\Album 2\\";
    const struct
    {
        int file;
        const char* typed;    // nullptr: only selected
        const char* shown;
        int mark;
        bool exists;
    } steps[] = {{0, nullptr, "Notes on the first track.", 4, true},
                 {1, nullptr, "", -1, false},
                 {1, "first line\r\nsecond", "first line\r\nsecond", 4, true},
                 {1, "", "", -1, false},
                 {0, "", "", -1, false}};
    for (const auto& s : steps)
    {
        files.SetSelection(-1);
        files.SetItemSelected(s.file, true);
        app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&files), 0);
        if (s.typed)
        {
            SMemory text;
            text.Write(s.typed, static_cast<int>(strlen(s.typed)));
            text.SeekToStart();
            notes.LoadFromStream(&text, "typed");
            app.SaveNotes();
        }
        EXPECT_EQ(s.shown, std::string(TextOf(notes.GetAllText()))) << s.file;
        EXPECT_EQ(s.mark, files.GetItemSecondImage(s.file)) << s.file;
        const std::string path = album + TextOf(files.GetItemText(s.file)) + ".txt";
        EXPECT_EQ(s.exists, GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) << path;
    }
}

TEST_F(PWndAppBrowseTest, UpperCaseExtensionsAreListedByKind)
{
    AppWindow window;
    PWndApp& app = window.App();
    // The second artist's files carry upper-case extensions.
    ASSERT_TRUE(app.OpenFolder("Rock", "", false));
    ASSERT_TRUE(app.OpenFolder("Band", "", false));
    Select(app, app.GetFolderList(), "Album 1");
    EXPECT_EQ("01 Track A:2:4;02 Track B:2:-1;03 Track C:3:-1;04 Track D:1:-1;", Items(app.GetFileList()));
    EXPECT_EQ(".MP3", std::string(TextOf(app.GetFilePaths().GetAt(0))).substr(app.GetFilePaths().GetAt(0).GetLength() - 4));
}

TEST_F(PWndAppBrowseTest, NotesNamedInAnotherCaseKeepTheirMark)
{
    for (const char* file : {"Notes\\Song.mp3", "Notes\\SONG.TXT", "Notes\\Tune.wma", "Notes\\tune.Txt",
                             "Notes\\Other.avi", "Notes\\Other.txt.bak"})
        ASSERT_TRUE(root.WriteFile(file, "x"));
    AppWindow window;
    PWndApp& app = window.App();
    Select(app, app.GetFolderList(), "Notes");
    EXPECT_EQ("Other:1:-1;Song:2:4;Tune:2:4;", Items(app.GetFileList()));
}

TEST_F(PWndAppBrowseTest, ParentCommandAndBackspaceKeepTheFolderLeftSelected)
{
    AppWindow window;
    PWndApp& app = window.App();
    ASSERT_TRUE(app.OpenFolder("Rock", "", false));
    ASSERT_TRUE(app.OpenFolder("Band", "", false));
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 2);
    EXPECT_EQ(root.Path() + "Rock\\", TextOf(app.GetCurrentFolder().GetPath()));
    EXPECT_EQ("Band", std::string(TextOf(app.GetFolderList().GetItemText(app.GetFolderList().GetSelection()))));
    app.SendMessage(WM_KEYDOWN, VK_BACK, 0);
    EXPECT_EQ(root.Path(), TextOf(app.GetCurrentFolder().GetPath()));
    EXPECT_EQ("Rock", std::string(TextOf(app.GetFolderList().GetItemText(app.GetFolderList().GetSelection()))));
    // Above the root is never reached.
    EXPECT_FALSE(app.OpenFolder("..", "", false));
    EXPECT_EQ(root.Path(), TextOf(app.GetCurrentFolder().GetPath()));
    EXPECT_EQ(root.Path(), StatusText(app, 0));
}

TEST_F(PWndAppBrowseTest, LinkAddressOpensTheFolderUnderOurRoot)
{
    AppWindow window;
    PWndApp& app = window.App();
    const struct
    {
        std::string address;
        LRESULT answer;
        std::string folder, selected;
    } cases[] = {
        {root.Path() + "Rock\\Artist.link", -1, "Rock\\", "Artist"},
        {root.Path() + "Jazz\\Band11.LINK", -1, "Jazz\\", "Band11"},
        {root.Path() + "Jazz\\BAND11.link", -1, "Jazz\\", "Band11"},
        {root.Path() + "Rock\\Artist\\Album%201.link", -1, "Rock\\Artist\\", "Album 1"},
        // Written under another root of the same depth, or of another depth.
        {"D:" + root.Path().substr(2) + "Rock\\Band.link", -1, "Rock\\", "Band"},
        {"D:\\Rock\\Band.link", -1, "", ""},
        {root.Path() + "Rock\\Artist.htm", 0, "", ""},
        {"http://www.example.com/", 0, "", ""},
        // As the browser reports them: "file:" addresses, escaped or not.
        {FileUrl(root.Path() + "Rock\\Artist.link"), -1, "Rock\\", "Artist"},
        {"file://" + root.Path() + "Jazz\\Band11.link", -1, "Jazz\\", "Band11"},
        {FileUrl(root.Path() + "Rock\\Artist\\Album 1.link"), -1, "Rock\\Artist\\", "Album 1"},
        {"http://www.example.com/Rock/Band.link", 0, "Rock\\Artist\\", "Album 1"},
    };
    for (const auto& c : cases)
    {
        const LRESULT answer =
            app.SendMessage(SWM_BROWSER_BEFORENAVIGATE, 0, reinterpret_cast<LPARAM>(c.address.c_str()));
        EXPECT_EQ(c.answer, answer) << c.address;
        EXPECT_EQ(root.Path() + c.folder, TextOf(app.GetCurrentFolder().GetPath())) << c.address;
        const int selection = app.GetFolderList().GetSelection();
        EXPECT_EQ(c.selected, selection < 0 ? "" : TextOf(app.GetFolderList().GetItemText(selection))) << c.address;
    }
}

TEST_F(PWndAppBrowseTest, FlatLibraryShowsItsCountsAndPlaysOnlyItsOwnFiles)
{
    TempFolder flat, work;
    for (const char* file : {"b.wma", "a.mp3", "c.avi"})
        ASSERT_TRUE(flat.WriteFile(file, "x"));
    ASSERT_TRUE(work.WriteFile("decoy.mp3", "x"));
    settings.SetText("Folder", flat.Path());
    const WorkingFolder working(work.Path());
    RegisteredPlayer player;
    AppWindow window;
    PWndApp& app = window.App();
    for (const char* step : {"start-up", "Home"})
    {
        EXPECT_EQ(flat.Path(), StatusText(app, 0)) << step;
        EXPECT_EQ(flat.Path(), TextOf(app.GetCurrentFolder().GetPath())) << step;
        EXPECT_STREQ("\x95 <b>2</b> songs, <b>1</b> video and <b>0</b> radio", TextOf(app.GetInfoPane().GetWindowText()))
            << step;
        app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 1);
    }
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 4);
    const SArrayString& queue = app.GetQueue();
    EXPECT_EQ(flat.Path() + "a.mp3|" + flat.Path() + "b.wma|" + flat.Path() + "c.avi", TextOf(queue.Join("|")));
}

// Every folder of the root removed while browsing: Home and F5 end on the
// root, shown even without sub-folders, with lists of what it holds now.
TEST_F(PWndAppBrowseTest, HomeAndRefreshShowTheRootOnceItsFoldersAreGone)
{
    const struct
    {
        const char* open;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {{"Rock", SWM_TOOLBAR_COMMAND, 0, 1},
                 {"Rock", WM_KEYDOWN, VK_F5, 0},
                 {"", WM_KEYDOWN, VK_F5, 0},
                 {"", SWM_TOOLBAR_COMMAND, 0, 1}};
    for (const auto& c : cases)
    {
        ASSERT_TRUE(SampleLibrary::Write(root.Path().c_str(), SampleLibrary::Options()));
        AppWindow window;
        PWndApp& app = window.App();
        if (*c.open)
        {
            ASSERT_TRUE(app.OpenFolder(c.open, "", false));
        }
        for (const char* folder : {"Jazz", "Rock"})
            TempFolder::RemoveTree(root.Path() + folder);
        app.SendMessage(c.message, c.wParam, c.lParam);
        const std::string step = std::string(c.open) + " " + std::to_string(c.message);
        EXPECT_EQ(root.Path(), StatusText(app, 0)) << step;
        EXPECT_EQ(root.Path(), TextOf(app.GetCurrentFolder().GetPath())) << step;
        EXPECT_EQ("", Items(app.GetFolderList())) << step;
        EXPECT_EQ("", Items(app.GetFileList())) << step;
    }
}

// A library at a drive's root lists that drive. S: is the test prefix's own
// drive (scripts/common.sh); without it, or when it holds anything, the test
// cannot run.
TEST_F(PWndAppBrowseTest, LibraryAtADriveRootListsTheDrive)
{
    const std::string drive = "S:\\";
    WIN32_FIND_DATAA data;
    SFindGuard find(FindFirstFileA((drive + "*").c_str(), &data));
    bool empty = GetFileAttributesA(drive.c_str()) != INVALID_FILE_ATTRIBUTES;
    for (bool more = find.IsValid(); empty && more; more = FindNextFileA(find.Get(), &data))
        empty = strcmp(data.cFileName, ".") == 0 || strcmp(data.cFileName, "..") == 0;
    if (!empty)
        GTEST_SKIP() << "no empty drive S:";
    struct Cleanup
    {
        ~Cleanup() { TempFolder::RemoveTree("S:\\Rock"); DeleteFileA("S:\\x.mp3"); }
    } cleanup;
    for (const char* folder : {"S:\\Rock", "S:\\Rock\\Album"})
        ASSERT_TRUE(CreateDirectoryA(folder, nullptr)) << folder;
    for (const char* file : {"S:\\x.mp3", "S:\\Rock\\Album\\a.mp3", "S:\\Rock\\Album.txt"})
        ASSERT_TRUE(CloseHandle(CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr))) << file;
    TempFolder work;
    ASSERT_TRUE(work.WriteFile("decoy.mp3", "x"));
    const WorkingFolder working(work.Path());
    settings.SetText("Folder", drive);
    RegisteredPlayer player;
    AppWindow window;
    PWndApp& app = window.App();
    EXPECT_EQ(drive, StatusText(app, 0));
    EXPECT_EQ("Rock:1:0;", Items(app.GetFolderList()));
    SArrayString files;
    app.ListMediaFiles(&files, drive.c_str(), true, true, true, true, false);
    EXPECT_STREQ("S:\\Rock\\Album.txt|S:\\Rock\\Album\\a.mp3|S:\\x.mp3", TextOf(files.Join("|")));
    // No folder at all is not the folder the program runs in.
    files.DeleteAndRemoveAll();
    app.ListMediaFiles(&files, "", true, true, true, true, false);
    EXPECT_EQ(0, files.GetCount());
    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 4);
    EXPECT_STREQ("S:\\Rock\\Album\\a.mp3|S:\\x.mp3", TextOf(app.GetQueue().Join("|")));
}
