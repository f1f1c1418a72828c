// The play queue of a main window in the test's process, driven by the commands
// a user gives, with the player's stand-in opening the files: moving through
// the queue, the end of a file, filling and adding, the shuffle, the peers'
// requests, and the player's own window and events.
#include <gtest/gtest.h>
#include <cstdlib>
#include "AppTestSupport.h"

using namespace apptest;

namespace
{
int s_shutdowns = 0;
bool CountShutdown()
{
    ++s_shutdowns;
    return true;
}

class PlaybackQueueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* const files[] = {"A\\0 Radio.wax", "A\\1 One.mp3", "A\\2 Two.wma", "A\\3 Three.avi",
                                     "A\\Sub\\4 Four.mp3", "B\\5 Five.mp3", "B\\6 Six.mpg", "C\\1.mp3",
                                     "C\\2.mp3", "C\\3.mp3", "C\\4.mp3", "C\\5.mp3"};
        for (const char* file : files)
            ASSERT_TRUE(root.WriteFile(file, "x"));
        settings.SetText("Folder", root.Path());
        PWndApp::SetShutdownFunction(CountShutdown);
        s_shutdowns = 0;
    }
    void TearDown() override { PWndApp::SetShutdownFunction(nullptr); }

    // The queue's paths below the root, joined by ";".
    std::string Queue(PWndApp& app) const
    {
        std::string text;
        for (int i = 0; i < app.GetQueue().GetCount(); ++i)
            text += std::string(TextOf(app.GetQueue().GetAt(i))).substr(root.Path().size()) + ";";
        return text;
    }
    // The file the player was last given, below the root.
    std::string Playing()
    {
        const std::wstring url = player.Fake().url;
        const std::string path(url.begin(), url.end());
        return path.size() > root.Path().size() ? path.substr(root.Path().size()) : path;
    }
    SArrayString Paths(std::initializer_list<const char*> names) const
    {
        SArrayString paths;
        for (const char* name : names)
            paths.Add((root.Path() + name).c_str());
        return paths;
    }
    static void Command(PWndApp& app, int id) { app.SendMessage(SWM_TOOLBAR_COMMAND, 0, id); }
    static void SetRepeat(PWndApp& app, bool on)
    {
        app.GetToolBar().CheckButton(12, on);
        Command(app, 12);
    }
    static void Select(PWndApp& app, SListCtrl& list, const char* name)
    {
        if (*name)
            list.SelectItemByText(name, true);
        else
            list.SetSelection(-1);
        app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&list), 0);
    }
    static bool PlaybackButtonsIdle(PWndApp& app)
    {
        for (int id = 8; id <= 11; ++id)
            if (app.GetToolBar().IsButtonEnabled(id))
                return false;
        return true;
    }

    RegisteredPlayer player;
    SettingsKey settings;
    TempFolder root;
};
}

TEST_F(PlaybackQueueTest, PreviousAndNextMoveThroughTheQueueOrEmptyIt)
{
    AppWindow window;
    PWndApp& app = window.App();
    const struct
    {
        int start;
        bool repeat;
        int command;
        int current;  // -1: the queue was emptied
    } cases[] = {{0, false, 8, -1}, {2, false, 9, -1}, {2, true, 9, 0}, {1, false, 8, 0}, {1, true, 9, 2}};
    const char* const names[] = {"B\\5 Five.mp3", "C\\1.mp3", "C\\2.mp3"};
    for (const auto& c : cases)
    {
        app.ClearQueue();
        SetRepeat(app, c.repeat);
        ASSERT_TRUE(app.AppendToQueue(Paths({names[0], names[1], names[2]}), false));
        ASSERT_TRUE(app.PlayFrom(c.start, false));
        Command(app, c.command);
        EXPECT_EQ(c.current, app.GetQueueIndex()) << c.start << " " << c.command;
        EXPECT_EQ(c.current < 0 ? 0 : 3, app.GetQueue().GetCount());
        if (c.current >= 0)
            EXPECT_EQ(names[c.current], Playing());
        else
            EXPECT_TRUE(PlaybackButtonsIdle(app));
    }
}

TEST_F(PlaybackQueueTest, EndOfFileRepeatsPlaysOnOrShutsDown)
{
    AppWindow window;
    PWndApp& app = window.App();
    const struct
    {
        int entries;
        bool repeat, shutdown;
        int ends;
        int left;        // entries still queued
        int shutdowns;
    } cases[] = {{1, true, true, 3, 1, 0}, {1, false, true, 1, 0, 1}, {1, false, false, 1, 0, 0},
                 {2, false, true, 1, 2, 0}, {2, false, true, 2, 0, 1}, {2, false, false, 2, 0, 0},
                 {2, true, true, 3, 2, 0}};
    for (const auto& c : cases)
    {
        app.ClearQueue();
        SetRepeat(app, c.repeat);
        app.GetToolBar().CheckButton(13, c.shutdown);
        Command(app, 13);
        player.Fake().putUrlFails = false;
        app.AppendToQueue(c.entries == 1 ? Paths({"C\\1.mp3"}) : Paths({"C\\1.mp3", "C\\2.mp3"}), false);
        // A single entry plays again from the start without being opened again.
        player.Fake().putUrlFails = c.entries == 1;
        player.Fake().position = 30;
        const int plays = player.Fake().playCalls;
        s_shutdowns = 0;
        for (int i = 0; i < c.ends; ++i)
            player.EndMedia();
        EXPECT_EQ(c.left, app.GetQueue().GetCount()) << c.entries << " " << c.ends;
        EXPECT_EQ(c.shutdowns, s_shutdowns) << c.entries << " " << c.ends;
        if (c.entries == 1 && c.repeat)
        {
            EXPECT_EQ(plays + c.ends, player.Fake().playCalls);
            EXPECT_EQ(0, player.Fake().position);
            EXPECT_TRUE(app.GetPlayer().IsPlaying());
        }
    }
    player.Fake().putUrlFails = false;
}

TEST_F(PlaybackQueueTest, AQueueOfFilesThatAllFailEndsEmptyAndIdle)
{
    AppWindow window;
    PWndApp& app = window.App();
    player.Fake().putUrlFails = true;
    EXPECT_FALSE(app.AppendToQueue(Paths({"C\\1.mp3", "C\\2.mp3", "C\\3.mp3"}), false));
    EXPECT_EQ(0, app.GetQueue().GetCount());
    EXPECT_EQ(-1, app.GetQueueIndex());
    EXPECT_TRUE(PlaybackButtonsIdle(app));
    EXPECT_EQ(-1, app.GetQueueIndex());
}

TEST_F(PlaybackQueueTest, AddingOpensAnEmptyQueuePausedAndNeverInterruptsAPlayingOne)
{
    AppWindow window;
    PWndApp& app = window.App();
    Select(app, app.GetFolderList(), "A");
    Select(app, app.GetFileList(), "1 One");
    app.SendMessage(SWM_MENUCOMMAND, 0, 40);
    EXPECT_EQ("A\\1 One.mp3;", Queue(app));
    EXPECT_EQ("A\\1 One.mp3", Playing());
    EXPECT_TRUE(app.GetPlayer().IsPaused());
    EXPECT_EQ(FakeMediaPlayer::PAUSED, player.Fake().playState);

    app.SendMessage(SWM_TOOLBAR_COMMAND, 0, 10);
    Select(app, app.GetFileList(), "2 Two");
    app.SendMessage(SWM_MENUCOMMAND, 0, 40);
    Select(app, app.GetFolderList(), "B");
    app.SendMessage(SWM_MENUCOMMAND, 0, 34);
    EXPECT_EQ("A\\1 One.mp3;A\\2 Two.wma;B\\5 Five.mp3;B\\6 Six.mpg;", Queue(app));
    EXPECT_EQ("A\\1 One.mp3", Playing());
    EXPECT_TRUE(app.GetPlayer().IsPlaying());
    EXPECT_EQ(0, app.GetQueueIndex());
    EXPECT_STREQ("4", TextOf(app.GetPlayWindow().GetView(PWndPlay::VIEW_SIZE).GetWindowText()));
    EXPECT_TRUE(app.GetToolBar().IsButtonEnabled(8) && app.GetToolBar().IsButtonEnabled(9));
}

TEST_F(PlaybackQueueTest, PlayCommandsCollectTheSelectedFolder)
{
    AppWindow window;
    PWndApp& app = window.App();
    const struct
    {
        const char* folder;
        int command;
        bool played;
        const char* queue;  // sorted by text; a shuffled queue is compared sorted
    } cases[] = {
        {"A", 4, true, "A\\1 One.mp3;A\\2 Two.wma;A\\Sub\\4 Four.mp3;"},
        {"A", 5, true, "A\\1 One.mp3;A\\2 Two.wma;A\\3 Three.avi;"},
        {"A", 6, true, "A\\1 One.mp3;A\\2 Two.wma;A\\Sub\\4 Four.mp3;"},
        {"", 5, false, ""},
        {"", 4, true, "A\\1 One.mp3;A\\2 Two.wma;A\\3 Three.avi;A\\Sub\\4 Four.mp3;B\\5 Five.mp3;B\\6 Six.mpg;"
                      "C\\1.mp3;C\\2.mp3;C\\3.mp3;C\\4.mp3;C\\5.mp3;"},
    };
    for (const auto& c : cases)
    {
        Select(app, app.GetFolderList(), c.folder);
        Command(app, c.command);
        SArrayString sorted(app.GetQueue());
        sorted.Sort();
        std::string text;
        for (int i = 0; i < sorted.GetCount(); ++i)
            text += std::string(TextOf(sorted.GetAt(i))).substr(root.Path().size()) + ";";
        EXPECT_EQ(c.queue, text) << c.folder << " " << c.command;
        EXPECT_EQ(c.played ? 0 : -1, app.GetQueueIndex()) << c.folder << " " << c.command;
    }
    // Not random: the queue is sorted by its text, case counting.
    Select(app, app.GetFolderList(), "A");
    Command(app, 4);
    EXPECT_EQ("A\\1 One.mp3;A\\2 Two.wma;A\\Sub\\4 Four.mp3;", Queue(app));
}

TEST_F(PlaybackQueueTest, ShuffleDrawsWithTheRuntimeGenerator)
{
    AppWindow window;
    PWndApp& app = window.App();
    Select(app, app.GetFolderList(), "C");
    const struct
    {
        unsigned seed;
        const char* queue;
    } cases[] = {{1, "C\\1.mp3;C\\4.mp3;C\\2.mp3;C\\5.mp3;C\\3.mp3;"},
                 {7, "C\\1.mp3;C\\4.mp3;C\\3.mp3;C\\2.mp3;C\\5.mp3;"}};
    for (const auto& c : cases)
    {
        srand(c.seed);
        Command(app, 5);
        EXPECT_EQ(c.queue, Queue(app)) << c.seed;
        EXPECT_EQ("C\\1.mp3", Playing());
    }
}

TEST_F(PlaybackQueueTest, PlayTracksAtStartsAtTheSelectedFilePastPlaylists)
{
    AppWindow window;
    PWndApp& app = window.App();
    Select(app, app.GetFolderList(), "A");
    const struct
    {
        const char* file;
        int current;
    } cases[] = {{"1 One", 0}, {"3 Three", 2}, {"0 Radio", 0}};
    for (const auto& c : cases)
    {
        Select(app, app.GetFileList(), c.file);
        Command(app, 3);
        EXPECT_EQ("A\\1 One.mp3;A\\2 Two.wma;A\\3 Three.avi;", Queue(app)) << c.file;
        EXPECT_EQ(c.current, app.GetQueueIndex()) << c.file;
    }
}

TEST_F(PlaybackQueueTest, PeersPlayOnlyMediaInsideTheRoot)
{
    AppWindow window;
    PWndApp& app = window.App();
    const struct
    {
        bool allowed;
        const char* request;
        const char* queue;
    } cases[] = {
        {false, "A\\1 One.mp3", ""},
        {true, "A\\1 One.mp3|..\\x.mp3|a.txt|A\\..\\B\\5 Five.mp3|A\\..\\..\\C\\1.mp3", "A\\1 One.mp3;B\\5 Five.mp3;"},
        // Nothing playable: what played goes on.
        {true, "..\\x.mp3|a.txt|", "A\\1 One.mp3;B\\5 Five.mp3;"},
    };
    bool loaded = false;
    for (const auto& c : cases)
    {
        if (c.allowed != loaded)
        {
            settings.SetNumber("ServerAllowPlay", c.allowed ? 1 : 0);
            app.LoadSettings(false);
            loaded = c.allowed;
        }
        if (c.allowed)
            app.SendMessage(PWM_COMMAND104, reinterpret_cast<WPARAM>(c.request), 0);
        else
            EXPECT_FALSE(app.PlayFromPeer(c.request));
        EXPECT_EQ(c.queue, Queue(app)) << c.request;
    }
    EXPECT_EQ("A\\1 One.mp3", Playing());
}

TEST_F(PlaybackQueueTest, PlayerWindowShowsPicturesAndBufferingAndCannotBeClosed)
{
    AppWindow window;
    PWndApp& app = window.App();
    PMedia& media = app.GetPlayer();
    player.Fake().videoWidth = 320;
    player.Fake().videoHeight = 240;
    app.AppendToQueue(Paths({"B\\6 Six.mpg"}), false);
    EXPECT_TRUE(media.IsVisible());
    EXPECT_EQ(320, media.GetClientWidth());
    EXPECT_EQ(1, media.SendMessage(WM_CLOSE));
    EXPECT_TRUE(media.IsVisible());

    char status[64] = {};
    player.Fake().FireBuffering(true);
    Pump(50);
    app.GetStatusBar().SendMessage(SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ("buffering...", status);
    player.Fake().FireBuffering(false);
    Pump(50);
    app.GetStatusBar().SendMessage(SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ("", status);

    Command(app, 11);
    EXPECT_FALSE(media.IsVisible());
    EXPECT_TRUE(settings.Has("WindowVideo"));
    player.Fake().videoWidth = player.Fake().videoHeight = 0;
}
