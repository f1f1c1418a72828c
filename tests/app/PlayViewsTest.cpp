// What the play window and the taskbar strip show of the playing file: names
// from its path, times, the seek bar's hover, paint and clicks, the strip's
// layout and queue label, and the labels that lead the library to the file.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "PTrackText.h"
#include "SGuards.h"
#include "SLibrary.h"

using namespace apptest;

TEST(PlayViewsText, NamesComeFromThePathAndTimesAreFormatted)
{
    const struct
    {
        const char *path, *upper, *folder, *title;
    } names[] = {{"C:\\Root\\Artist\\Album\\T.mp3", "Artist", "Album", "T"},
                 {"C:\\T.mp3", "", "", "T"},
                 {"\\\\server\\share\\Artist\\Album\\Song 1.wma", "Artist", "Album", "Song 1"}};
    for (const auto& n : names)
    {
        const PTrackText::_SNames got = PTrackText::GetNames(n.path);
        EXPECT_EQ(std::string(n.upper) + "|" + n.folder + "|" + n.title,
                  std::string(TextOf(got.upper)) + "|" + TextOf(got.folder) + "|" + TextOf(got.title));
    }
    const std::pair<int, const char*> times[] = {{0, "0:00:00"}, {59, "0:00:59"}, {61, "0:01:01"},
                                                 {3599, "0:59:59"}, {3725, "1:02:05"}};
    for (const auto& t : times)
        EXPECT_STREQ(t.second, TextOf(PTrackText::FormatSeconds(t.first))) << t.first;
}

TEST(PlayViewsLayout, StripSharesTheWidthAndNeverGoesNegative)
{
    const PWndTask::Child children[] = {PWndTask::CHILD_INFO, PWndTask::CHILD_UPPER, PWndTask::CHILD_FOLDER,
                                        PWndTask::CHILD_KIND, PWndTask::CHILD_TITLE, PWndTask::CHILD_POSITION};
    const struct
    {
        int width;
        int rights[6];  // of the children above
    } cases[] = {{1280, {252, 434, 616, 636, 818, 898}}, {734, {252, 252, 252, 272, 272, 352}},
                 {500, {18, 18, 18, 38, 38, 118}}, {300, {0, -182, -182, -162, -162, -82}}};
    for (const auto& c : cases)
    {
        RECT rects[PWndTask::CHILD_COUNT];
        PWndTask::ComputeLayout(c.width, 20, rects);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(c.rights[i], rects[children[i]].right) << c.width << " child " << children[i];
        for (const RECT& rect : rects)
            EXPECT_GE(rect.right - rect.left, 0) << c.width;
        EXPECT_EQ(c.width - 2, rects[PWndTask::CHILD_SHOW].right);
        EXPECT_EQ(6, rects[PWndTask::CHILD_SEEK].top);
        EXPECT_EQ(15, rects[PWndTask::CHILD_SEEK].bottom);
    }
}

namespace
{
class PlayViewsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* file : {"Artist\\Album\\T.mp3", "Artist\\Album\\U.mp3", "Other\\V.mp3"})
            ASSERT_TRUE(root.WriteFile(file, "x"));
        settings.SetText("Folder", root.Path());
        settings.SetNumber("Taskbar", 1);
        settings.SetNumber("TaskbarColor", 0x123456);
        player.Fake().duration = 100;
        player.Fake().position = 12;
        window.reset(new AppWindow);
    }
    void TearDown() override
    {
        // Closing undocks the strip.
        window->App().SendMessage(WM_CLOSE);
        window.reset();
    }

    PWndApp& App() { return window->App(); }
    void Play(std::initializer_list<const char*> names)
    {
        SArrayString paths;
        for (const char* name : names)
            paths.Add((root.Path() + name).c_str());
        App().ClearQueue();
        ASSERT_TRUE(App().AppendToQueue(paths, false));
    }
    static std::string Text(const SWnd& view) { return TextOf(view.GetWindowText()); }
    static void Click(const SWnd& parent, int id) { SendMessageA(GetDlgItem(parent.GetHandle(), id), SWM_LCLICK, 0, 0); }

    static void CALLBACK EndMenuNow(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        EndMenu();
    }
    static void CloseMenuSoon() { SetTimer(nullptr, 0, 300, EndMenuNow); }

    RegisteredPlayer player;
    SettingsKey settings;
    TempFolder root;
    std::unique_ptr<AppWindow> window;
};

const DWORD RED_ARGB = 0xFFFF0000;
}

TEST_F(PlayViewsTest, BothViewsShowTheTrackAndItsPlaceInTheQueue)
{
    PWndTask& strip = App().GetTaskStrip();
    PWndPlay& play = App().GetPlayWindow();
    ASSERT_TRUE(strip.IsDocked());
    Play({"Artist\\Album\\T.mp3", "Artist\\Album\\U.mp3"});
    const struct
    {
        const SWnd& view;
        const char* text;
    } shown[] = {{play.GetView(PWndPlay::VIEW_ARTIST), "Artist"}, {play.GetView(PWndPlay::VIEW_ALBUM), "Album"},
                 {play.GetView(PWndPlay::VIEW_TITLE), "T"},       {play.GetView(PWndPlay::VIEW_NUMBER), "1"},
                 {play.GetView(PWndPlay::VIEW_SIZE), "2"},        {strip.GetLabel(PWndTask::CHILD_UPPER), "Artist"},
                 {strip.GetLabel(PWndTask::CHILD_FOLDER), "Album"}, {strip.GetLabel(PWndTask::CHILD_TITLE), "T"},
                 {strip.GetLabel(PWndTask::CHILD_QUEUE), "1/2"}};
    for (const auto& s : shown)
    {
        EXPECT_EQ(s.text, Text(s.view));
        EXPECT_TRUE(s.view.IsEnabled()) << s.text;
    }
    strip.SetQueueCount(1234);
    EXPECT_EQ(std::string("1/") + TextOf(IntToGroupedString(1234)), Text(strip.GetLabel(PWndTask::CHILD_QUEUE)));
    EXPECT_TRUE(strip.GetLabel(PWndTask::CHILD_NEXT).IsEnabled());
    EXPECT_EQ(GetLibraryCursor(3), play.GetView(PWndPlay::VIEW_COVER).GetCursor());
    App().ClearQueue();
    EXPECT_EQ(nullptr, play.GetView(PWndPlay::VIEW_COVER).GetCursor());
    EXPECT_EQ("", Text(play.GetView(PWndPlay::VIEW_TITLE)));
    EXPECT_FALSE(play.GetView(PWndPlay::VIEW_TITLE).IsEnabled());
    EXPECT_EQ("", Text(strip.GetLabel(PWndTask::CHILD_QUEUE)));
    EXPECT_FALSE(strip.GetLabel(PWndTask::CHILD_NEXT).IsEnabled());
}

TEST_F(PlayViewsTest, SeekBarsShowTheHoverTimeInRedPaintThreePartsAndSeek)
{
    Play({"Artist\\Album\\T.mp3"});
    App().UpdatePlayerViews();
    PProgressCtrl* bars[] = {&App().GetPlayWindow().GetSeekBar(), &App().GetTaskStrip().GetSeekBar()};
    const SMediaCtrl* elapsed[] = {&App().GetPlayWindow().GetView(PWndPlay::VIEW_ELAPSED),
                                   &App().GetTaskStrip().GetLabel(PWndTask::CHILD_POSITION)};
    EXPECT_EQ("0:01:40", Text(App().GetPlayWindow().GetView(PWndPlay::VIEW_DURATION)));
    for (int i = 0; i < 2; ++i)
    {
        // The bar runs over 100 seconds: x pixels of a bar w wide are x * 100 / w seconds.
        const int width = bars[i]->GetClientWidth();
        bars[i]->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(width / 2, 2));
        EXPECT_EQ(TextOf(PTrackText::FormatSeconds(width / 2 * 100 / width)), Text(*elapsed[i])) << i;
        EXPECT_EQ(RED_ARGB, elapsed[i]->GetTextColor()) << i;
        bars[i]->SendMessage(SWM_MOUSELEAVE);
        EXPECT_EQ("0:00:12", Text(*elapsed[i])) << i;
        EXPECT_NE(RED_ARGB, elapsed[i]->GetTextColor()) << i;
        bars[i]->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(width / 4, 2));
        EXPECT_EQ(width / 4 * 100 / width, static_cast<int>(player.Fake().position)) << i;
        player.Fake().position = 12;
    }
    // Half played; colours at 20, 40, 70 and 90 percent of the bar.
    PProgressCtrl& bar = *bars[0];
    player.Fake().position = 50;
    App().UpdatePlayerViews();
    const int width = bar.GetClientWidth(), height = bar.GetClientHeight();
    const COLORREF rest = RGB(0xb8, 0xc0, 0xc8), played = RGB(0x3a, 0x7b, 0xd5), hovered = RGB(0xf0, 0xa0, 0x30);
    const struct
    {
        int hover;  // seconds under the mouse, -1 for none
        COLORREF colors[4];
    } cases[] = {{-1, {played, played, rest, rest}}, {80, {played, played, hovered, rest}},
                 {30, {hovered, played, rest, rest}}};
    for (const auto& c : cases)
    {
        if (c.hover >= 0)
            bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.hover * width / 100 + 1, 2));
        SWindowDCGuard screen(nullptr);
        SMemoryDCGuard memory(screen.Get());
        SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
        SSelectGuard select(memory.Get(), bitmap.Get());
        bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
        const int percents[4] = {20, 40, 70, 90};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.colors[i], GetPixel(memory.Get(), width * percents[i] / 100, 4)) << c.hover << " " << i;
        bar.SendMessage(SWM_MOUSELEAVE);
    }
}

TEST_F(PlayViewsTest, StripTakesItsColourAndShowsNoLengthForAStream)
{
    PWndTask& strip = App().GetTaskStrip();
    PWndPlay& play = App().GetPlayWindow();
    EXPECT_EQ(TextOf(App().GetCountsText()), Text(strip.GetLabel(PWndTask::CHILD_INFO)));
    for (PWndTask::Child child : {PWndTask::CHILD_INFO, PWndTask::CHILD_UPPER, PWndTask::CHILD_FOLDER,
                                  PWndTask::CHILD_TITLE, PWndTask::CHILD_POSITION, PWndTask::CHILD_DURATION,
                                  PWndTask::CHILD_QUEUE})
        EXPECT_EQ(0xFF563412u, strip.GetLabel(child).GetTextColor()) << child;
    // A stream has no length: the play window shows 0:00:00 over a bar of range 0,
    // the strip no length, and once stopped no position either.
    player.Fake().duration = 0;
    Play({"Other\\V.mp3"});
    const struct
    {
        bool stopped;
        const char *position, *length;  // on the strip
    } cases[] = {{false, "0:00:12", ""}, {true, "", ""}};
    for (const auto& c : cases)
    {
        if (c.stopped)
            App().GetPlayer().Stop();
        App().UpdatePlayerViews();
        EXPECT_EQ(0, play.GetSeekBar().GetMax());
        EXPECT_EQ("0:00:12", Text(play.GetView(PWndPlay::VIEW_ELAPSED))) << c.stopped;
        EXPECT_EQ("0:00:00", Text(play.GetView(PWndPlay::VIEW_DURATION))) << c.stopped;
        EXPECT_EQ(c.position, Text(strip.GetLabel(PWndTask::CHILD_POSITION))) << c.stopped;
        EXPECT_EQ(c.length, Text(strip.GetLabel(PWndTask::CHILD_DURATION))) << c.stopped;
    }
    // A bar without a range does not seek.
    play.GetSeekBar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
    EXPECT_EQ(12, static_cast<int>(player.Fake().position));
}

TEST_F(PlayViewsTest, QueueMenusListTheQueueOnlyWhenThereIsOne)
{
    PWndTask& strip = App().GetTaskStrip();
    const SWnd& label = strip.GetLabel(PWndTask::CHILD_QUEUE);
    strip.SendMessage(SWM_MEDIA_CLICK, reinterpret_cast<WPARAM>(&label));
    EXPECT_EQ(0, strip.GetQueueMenu().GetItemCount());

    Play({"Artist\\Album\\T.mp3", "Artist\\Album\\U.mp3"});
    CloseMenuSoon();
    Click(strip, PWndTask::ID_QUEUE);
    SMenu& menu = strip.GetQueueMenu();
    ASSERT_EQ(2, menu.GetItemCount());
    EXPECT_EQ("U", std::string(TextOf(menu.GetItemText(1001))));
    EXPECT_TRUE(menu.IsItemChecked(1000));
    strip.SendMessage(SWM_MENUCOMMAND, 0, 1001);
    EXPECT_EQ(1, App().GetQueueIndex());

    PWndPlay& play = App().GetPlayWindow();
    CloseMenuSoon();
    Click(play, PWndPlay::ID_QUEUE);
    ASSERT_EQ(2, play.GetQueueMenu().GetItemCount());
    EXPECT_TRUE(play.GetQueueMenu().IsItemChecked(1001));
    play.SendMessage(SWM_MENUCOMMAND, 0, 1000);
    EXPECT_EQ(0, App().GetQueueIndex());
}

TEST_F(PlayViewsTest, LabelsLeadTheLibraryToThePlayingFileAndButtonsControlIt)
{
    Play({"Artist\\Album\\T.mp3", "Artist\\Album\\U.mp3"});
    const struct
    {
        bool strip;
        int id;
        const char *current, *folder, *file;
    } cases[] = {{false, PWndPlay::ID_TITLE, "Artist\\", "Album", "T"},
                 {false, PWndPlay::ID_ARTIST, "", "Artist", ""},
                 {false, PWndPlay::ID_COVER, "Artist\\", "Album", ""},
                 {true, PWndTask::ID_FOLDER, "Artist\\", "Album", ""},
                 {true, PWndTask::ID_UPPER, "", "Artist", ""}};
    for (const auto& c : cases)
    {
        App().OpenFolderPath(root.Path().c_str(), "Other", false);
        const SWnd& parent = c.strip ? static_cast<const SWnd&>(App().GetTaskStrip()) : App().GetPlayWindow();
        Click(parent, c.id);
        EXPECT_EQ(root.Path() + c.current, TextOf(App().GetCurrentFolder().GetPath())) << c.id;
        SListCtrl& folders = App().GetFolderList();
        EXPECT_EQ(c.folder, std::string(TextOf(folders.GetItemText(folders.GetSelection())))) << c.id;
        SListCtrl& files = App().GetFileList();
        if (*c.file)
        {
            EXPECT_EQ(c.file, std::string(TextOf(files.GetItemText(files.GetSelection()))));
        }
        EXPECT_TRUE(App().IsVisible());
    }
    Click(App().GetTaskStrip(), PWndTask::ID_NEXT);
    EXPECT_EQ(1, App().GetQueueIndex());
    Click(App().GetTaskStrip(), PWndTask::ID_PAUSE);
    EXPECT_TRUE(App().GetPlayer().IsPaused());
    Click(App().GetTaskStrip(), PWndTask::ID_STOP);
    EXPECT_EQ(0, App().GetQueue().GetCount());
}

TEST_F(PlayViewsTest, LabelsThatPointAboveTheRootOpenTheRootWithItsLists)
{
    for (const char* file : {"T.mp3", "Album\\T.mp3"})
        ASSERT_TRUE(root.WriteFile(file, "x"));
    const std::string rootFolders = "Album;Artist;Other;";
    const int playIds[] = {PWndPlay::ID_ARTIST, PWndPlay::ID_ALBUM, PWndPlay::ID_TITLE};
    const int stripIds[] = {PWndTask::ID_UPPER, PWndTask::ID_FOLDER, PWndTask::ID_TITLE};
    for (const char* file : {"T.mp3", "Album\\T.mp3"})
    {
        Play({file});
        for (int i = 0; i < 6; ++i)
        {
            ASSERT_TRUE(App().OpenFolderPath((root.Path() + "Artist\\").c_str(), "", false));
            const bool strip = i >= 3;
            Click(strip ? static_cast<const SWnd&>(App().GetTaskStrip()) : App().GetPlayWindow(),
                  strip ? stripIds[i - 3] : playIds[i]);
            EXPECT_EQ(root.Path(), TextOf(App().GetCurrentFolder().GetPath())) << file << " " << i;
            std::string folders, thumbs;
            for (int k = 0; k < App().GetFolderList().GetCount(); ++k)
                folders += std::string(TextOf(App().GetFolderList().GetItemText(k))) + ";";
            for (int k = 0; k < App().GetThumbs().GetCount(); ++k)
                thumbs += std::string(TextOf(App().GetThumbs().GetName(k))) + ";";
            EXPECT_EQ(rootFolders, folders) << file << " " << i;
            EXPECT_EQ(rootFolders, thumbs) << file << " " << i;
        }
    }
}
