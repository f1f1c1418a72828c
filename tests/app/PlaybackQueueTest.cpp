// The play queue of a main window in the test's process, driven by the commands
// a user gives, with the player's stand-in opening the files: moving through
// the queue, the end of a file, filling and adding, the shuffle, the peers'
// requests, and the player's own window and events.
#include <gtest/gtest.h>
#include <cstdlib>
#include <set>
#include <vector>
#include "AppTestSupport.h"
#include "SharingTestSupport.h"

using namespace apptest;

namespace
{
int s_shutdowns = 0;
bool CountShutdown()
{
    return ++s_shutdowns > 0;
}

class PlaybackQueueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* file : {"A\\0 Radio.wax", "A\\1 One.mp3", "A\\2 Two.wma", "A\\3 Three.avi",
                                 "A\\Sub\\4 Four.mp3", "B\\5 Five.mp3", "B\\6 Six.mpg", "C\\1.mp3", "C\\2.mp3",
                                 "C\\3.mp3", "C\\4.mp3", "C\\5.mp3"})
            ASSERT_TRUE(root.WriteFile(file, "x"));
        settings.SetText("Folder", root.Path());
        PWndApp::SetShutdownFunction(CountShutdown);
        window.reset(new AppWindow);
    }
    void TearDown() override { PWndApp::SetShutdownFunction(nullptr); }

    PWndApp& App() { return window->App(); }
    std::string BelowRoot(const SString& path) const { return std::string(TextOf(path)).substr(root.Path().size()); }
    // The queue's paths below the root, joined by ";".
    std::string Queue(const SArrayString& queue) const
    {
        std::string text;
        for (int i = 0; i < queue.GetCount(); ++i)
            text += BelowRoot(queue.GetAt(i)) + ";";
        return text;
    }
    std::string Queue() { return Queue(App().GetQueue()); }
    // The file the player was last given, below the root.
    std::string Playing() { return BelowRoot(SString(std::string(player.Fake().url.begin(), player.Fake().url.end()).c_str())); }
    bool Append(std::initializer_list<const char*> names, bool paused = false)
    {
        SArrayString paths;
        for (const char* name : names)
            paths.Add((root.Path() + name).c_str());
        return App().AppendToQueue(paths, paused);
    }
    void Command(int id) { App().SendMessage(SWM_TOOLBAR_COMMAND, 0, id); }
    void Check(int id, bool on)
    {
        App().GetToolBar().CheckButton(id, on);
        Command(id);
    }
    void Select(SListCtrl& list, const char* name)
    {
        if (*name)
            list.SelectItemByText(name, true);
        else
            list.SetSelection(-1);
        App().SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&list), 0);
    }
    bool PlaybackButtonsIdle()
    {
        bool idle = true;
        for (int id = 8; id <= 11; ++id)
            idle = idle && !App().GetToolBar().IsButtonEnabled(id);
        return idle;
    }

    RegisteredPlayer player;
    SettingsKey settings;
    TempFolder root;
    std::unique_ptr<AppWindow> window;
};
}

TEST_F(PlaybackQueueTest, PreviousAndNextMoveThroughTheQueueOrEmptyIt)
{
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
        App().ClearQueue();
        Check(12, c.repeat);
        ASSERT_TRUE(Append({names[0], names[1], names[2]}));
        ASSERT_TRUE(App().PlayFrom(c.start, false));
        Command(c.command);
        EXPECT_EQ(c.current, App().GetQueueIndex()) << c.start << " " << c.command;
        EXPECT_EQ(c.current < 0 ? 0 : 3, App().GetQueue().GetCount());
        EXPECT_EQ(c.current < 0 ? names[c.start] : names[c.current], Playing());
        EXPECT_EQ(c.current < 0, PlaybackButtonsIdle());
    }
    // Files that all fail to open leave nothing queued and nothing to press.
    App().ClearQueue();
    player.Fake().putUrlFails = true;
    EXPECT_FALSE(Append({"C\\1.mp3", "C\\2.mp3", "C\\3.mp3"}));
    EXPECT_EQ("", Queue());
    EXPECT_EQ(-1, App().GetQueueIndex());
    EXPECT_TRUE(PlaybackButtonsIdle());
}

// Refused, or failed once its socket opened: the attempt says so and leaves
// the queue playing and the local views where they were; a reply that comes
// late is the attempt's one wait.
TEST_F(PlaybackQueueTest, AConnectionThatFailsLeavesTheQueuePlayingAndTheViewsAsTheyWere)
{
    const std::string listing = Z("") + Z("A|") + Z("0") + std::string(1024, '\x7F');
    const struct
    {
        const char* what;
        std::vector<std::string> list, tree;
        int delay;
    } cases[] = {{"no server", {}, {}, 0},
                 {"listing refused", {"=0"}, {"=1", Packed("A\\")}, 0},
                 {"tree refused", {"=1", listing}, {"=0"}, 0},
                 {"listing late", {"=1", listing}, {"=1", Packed("A\\")}, 2500}};
    ASSERT_TRUE(Append({"C\\1.mp3", "C\\2.mp3"}));
    ASSERT_TRUE(App().OpenFolder("A", "Sub", false));
    for (const auto& c : cases)
    {
        Questions questions;
        ScriptedServer server;
        server.Script("101", c.list);
        server.Script("100", c.tree);
        server.SetDelay(c.delay);
        EXPECT_FALSE(App().Connect("Kitchen", "127.0.0.1", "", c.list.empty() ? FreePort() : server.Port())) << c.what;
        EXPECT_EQ(std::vector<std::string>{"Server: Connection failed."}, Questions::asked) << c.what;
        EXPECT_EQ("C\\1.mp3;C\\2.mp3;", Queue()) << c.what;
        EXPECT_EQ(0, App().GetQueueIndex());
        EXPECT_TRUE(App().IsLocal());
        EXPECT_EQ("A\\", BelowRoot(App().GetCurrentFolder().GetPath())) << c.what;
        EXPECT_EQ("Sub;", Items(App().GetFolderList())) << c.what;
        EXPECT_EQ(0, App().GetFolderList().GetSelection()) << c.what;
        // After a late listing the tree is not asked for: it would be a second wait.
        for (const std::string& request : server.Requests())
            EXPECT_TRUE(c.delay == 0 || request.substr(0, 3) != "100") << request;
    }
}

TEST_F(PlaybackQueueTest, EndOfFileRepeatsPlaysOnOrShutsDown)
{
    const struct
    {
        int entries;
        bool repeat, shutdown;
        int ends, left, shutdowns;
    } cases[] = {{1, true, true, 3, 1, 0}, {1, false, true, 1, 0, 1}, {1, false, false, 1, 0, 0},
                 {2, false, true, 1, 2, 0}, {2, false, true, 2, 0, 1}, {2, false, false, 2, 0, 0},
                 {2, true, true, 3, 2, 0}, {0, false, true, 1, 0, 0}};
    for (const auto& c : cases)
    {
        App().ClearQueue();
        Check(12, c.repeat);
        Check(13, c.shutdown);
        player.Fake().putUrlFails = false;
        // No entry: the end of a file stopped as it ended.
        ASSERT_TRUE(c.entries == 0 || (c.entries == 1 ? Append({"C\\1.mp3"}) : Append({"C\\1.mp3", "C\\2.mp3"})));
        // A single entry plays again from the start without being opened again.
        player.Fake().putUrlFails = c.entries == 1;
        player.Fake().position = 30;
        const int plays = player.Fake().playCalls;
        s_shutdowns = 0;
        for (int i = 0; i < c.ends; ++i)
            player.EndMedia();
        EXPECT_EQ(c.left, App().GetQueue().GetCount()) << c.entries << " " << c.ends;
        EXPECT_EQ(c.shutdowns, s_shutdowns) << c.entries << " " << c.ends;
        if (c.entries == 1 && c.repeat)
        {
            EXPECT_EQ(plays + c.ends, player.Fake().playCalls);
            EXPECT_EQ(0, player.Fake().position);
            EXPECT_TRUE(App().GetPlayer().IsPlaying());
        }
    }
}

TEST_F(PlaybackQueueTest, AddingOpensAnEmptyQueuePausedAndNeverInterruptsAPlayingOne)
{
    Select(App().GetFolderList(), "A");
    Select(App().GetFileList(), "1 One");
    App().SendMessage(SWM_MENUCOMMAND, 0, 40);
    EXPECT_EQ("A\\1 One.mp3;", Queue());
    EXPECT_TRUE(App().GetPlayer().IsPaused());
    EXPECT_EQ(FakeMediaPlayer::PAUSED, player.Fake().playState);

    Command(10);
    Select(App().GetFileList(), "2 Two");
    App().SendMessage(SWM_MENUCOMMAND, 0, 40);
    Select(App().GetFolderList(), "B");
    App().SendMessage(SWM_MENUCOMMAND, 0, 34);
    EXPECT_EQ("A\\1 One.mp3;A\\2 Two.wma;B\\5 Five.mp3;B\\6 Six.mpg;", Queue());
    EXPECT_EQ("A\\1 One.mp3", Playing());
    EXPECT_TRUE(App().GetPlayer().IsPlaying());
    EXPECT_EQ(0, App().GetQueueIndex());
    EXPECT_STREQ("4", TextOf(App().GetPlayWindow().GetView(PWndPlay::VIEW_SIZE).GetWindowText()));
    // The strip is not docked without "Taskbar": it shows nothing of the media.
    EXPECT_FALSE(App().GetTaskStrip().IsDocked());
    EXPECT_STREQ("", TextOf(App().GetTaskStrip().GetLabel(PWndTask::CHILD_QUEUE).GetWindowText()));
    EXPECT_TRUE(App().GetToolBar().IsButtonEnabled(8) && App().GetToolBar().IsButtonEnabled(9));
}

TEST_F(PlaybackQueueTest, PlayCommandsCollectTheSelectedFolder)
{
    const struct
    {
        const char* folder;
        int command;
        unsigned seed;      // for the shuffle of 5 and 6
        const char* queue;  // in queue order
    } cases[] = {
        {"A", 4, 0, "A\\1 One.mp3;A\\2 Two.wma;A\\Sub\\4 Four.mp3;"},
        {"A", 5, 1, "A\\1 One.mp3;A\\3 Three.avi;A\\2 Two.wma;"},
        {"A", 6, 1, "A\\1 One.mp3;A\\Sub\\4 Four.mp3;A\\2 Two.wma;"},
        {"C", 5, 1, "C\\1.mp3;C\\4.mp3;C\\2.mp3;C\\5.mp3;C\\3.mp3;"},
        {"C", 5, 7, "C\\1.mp3;C\\4.mp3;C\\3.mp3;C\\2.mp3;C\\5.mp3;"},
        {"", 5, 0, ""},
        {"", 4, 0, "A\\1 One.mp3;A\\2 Two.wma;A\\3 Three.avi;A\\Sub\\4 Four.mp3;B\\5 Five.mp3;B\\6 Six.mpg;"
                   "C\\1.mp3;C\\2.mp3;C\\3.mp3;C\\4.mp3;C\\5.mp3;"},
    };
    for (const auto& c : cases)
    {
        Select(App().GetFolderList(), c.folder);
        srand(c.seed);
        Command(c.command);
        EXPECT_EQ(c.queue, Queue()) << c.folder << " " << c.command;
        EXPECT_EQ(*c.queue ? 0 : -1, App().GetQueueIndex()) << c.folder << " " << c.command;
    }
    // The file list shows playlists too: playing starts at the selected file's place among the queued.
    Select(App().GetFolderList(), "A");
    for (const auto& c : {std::make_pair("1 One", 0), std::make_pair("3 Three", 2), std::make_pair("0 Radio", 0)})
    {
        Select(App().GetFileList(), c.first);
        Command(3);
        EXPECT_EQ("A\\1 One.mp3;A\\2 Two.wma;A\\3 Three.avi;", Queue()) << c.first;
        EXPECT_EQ(c.second, App().GetQueueIndex()) << c.first;
    }
}

TEST_F(PlaybackQueueTest, PeersPlayOnlyMediaInsideTheRoot)
{
    // A link below the root leads outside it.
    TempFolder outside;
    ASSERT_TRUE(outside.WriteFile("secret.mp3", "x"));
    const FolderLink link(root.Path() + "Out", outside.Path().substr(0, outside.Path().size() - 1));
    ASSERT_TRUE(link.IsMade());
    const struct
    {
        bool allowed;
        const char *request, *queue;
    } cases[] = {
        {false, "A\\1 One.mp3", ""},
        {true, "A\\1 One.mp3|..\\x.mp3|a.txt|A\\..\\B\\5 Five.mp3|A\\..\\..\\C\\1.mp3", "A\\1 One.mp3;B\\5 Five.mp3;"},
        // Nothing playable: what played goes on.
        {true, "..\\x.mp3|a.txt|Out\\secret.mp3|", "A\\1 One.mp3;B\\5 Five.mp3;"},
    };
    for (const auto& c : cases)
    {
        if (c.allowed != App().GetServerSettings().allowPlay)
        {
            settings.SetNumber("ServerAllowPlay", c.allowed ? 1 : 0);
            App().LoadSettings(false);
        }
        // The handler owns the text, as the sharing server hands it over.
        char* text = new char[strlen(c.request) + 1];
        strcpy(text, c.request);
        App().SendMessage(PWM_COMMAND104, reinterpret_cast<WPARAM>(text), 0);
        EXPECT_EQ(c.queue, Queue()) << c.request;
    }
    EXPECT_EQ("A\\1 One.mp3", Playing());
}

TEST_F(PlaybackQueueTest, PlayerWindowShowsPicturesAndBufferingAndCannotBeClosed)
{
    PMedia& media = App().GetPlayer();
    player.Fake().videoWidth = 320;
    player.Fake().videoHeight = 240;
    Append({"B\\6 Six.mpg"});
    EXPECT_TRUE(media.IsVisible());
    EXPECT_EQ(320, media.GetClientWidth());
    EXPECT_EQ(1, media.SendMessage(WM_CLOSE));
    EXPECT_TRUE(media.IsVisible());
    for (bool starting : {true, false})
    {
        player.Fake().FireBuffering(starting);
        Pump(50);
        char status[64] = {};
        App().GetStatusBar().SendMessage(SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(status));
        EXPECT_STREQ(starting ? "buffering..." : "", status);
    }
    Command(11);
    EXPECT_FALSE(media.IsVisible());
    EXPECT_TRUE(settings.Has("WindowVideo"));
}

// rand() has 32,768 values: a queue longer than that is drawn from two, so
// that every entry can come first; a shorter one keeps its order.
TEST(PlaybackShuffleTest, EveryPositionCanBeDrawnAndShortQueuesKeepTheirOrder)
{
    // Seeds whose first number is small put the first of 50,000 among the first hundred.
    std::set<int> drawn;
    for (unsigned seed = 0, tried = 0; tried < 3000 && seed < 10000000; ++seed)
    {
        srand(seed);
        if (rand() >= 66)
            continue;
        ++tried;
        srand(seed);
        const int k = PWndApp::DrawPosition(50000);
        if (k < 100)
            drawn.insert(k);
    }
    EXPECT_EQ(100u, drawn.size());
    EXPECT_EQ(1u, drawn.count(2));
    for (const unsigned seed : {1u, 7u, 12345u})
    {
        srand(seed);
        std::vector<int> draws;
        for (int left = 1000; left > 0; --left)
            draws.push_back(PWndApp::DrawPosition(left));
        srand(seed);
        for (int left = 1000; left > 0; --left)
            ASSERT_EQ(static_cast<int>(rand() / 32768.0 * left), draws[1000 - left]) << seed << " " << left;
    }
}
