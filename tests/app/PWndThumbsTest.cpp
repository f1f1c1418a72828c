// The thumbnail strip: its grid arithmetic as pure functions, and a real strip
// of a main window painted, hovered and clicked.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "SGuards.h"
#include "SLibrary.h"
#include "SampleLibrary.h"

using namespace apptest;

TEST(PWndThumbsGridTest, ColumnsHitsAndScrollRange)
{
    const struct
    {
        int width, columns;
    } widths[] = {{542, 3}, {541, 2}, {372, 2}, {202, 1}, {201, 1}, {60, 1}, {0, 1}};
    for (const auto& w : widths)
        EXPECT_EQ(w.columns, PWndThumbs::GetColumns(w.width)) << w.width;

    // Seven thumbnails in three columns: covers at x = 36 + 170 c, y = 12 + 200 r - scroll, 150 square.
    const struct
    {
        int x, y, scroll, hit;
    } points[] = {{36, 12, 0, 0},    {185, 161, 0, 0},  {186, 50, 0, -1}, {50, 170, 0, -2}, {120, 170, 0, -1},
                  {380, 20, 0, 2},   {550, 20, 0, -1},  {206, 412, 0, -1}, {40, 12, 200, 3}, {99, 390, 0, -2}};
    for (const auto& p : points)
        EXPECT_EQ(p.hit, PWndThumbs::HitTestGrid(p.x, p.y, 7, 3, p.scroll)) << p.x << "," << p.y << "," << p.scroll;

    const struct
    {
        int count, columns, maximum;
    } ranges[] = {{7, 3, 608}, {6, 3, 408}, {0, 3, 8}, {1, 1, 208}};
    for (const auto& r : ranges)
        EXPECT_EQ(r.maximum, PWndThumbs::GetScrollMaximum(r.count, r.columns)) << r.count;
}

namespace
{
class PWndThumbsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SampleLibrary::Write(root.Path().c_str(), SampleLibrary::Options()));
        settings.SetText("Folder", root.Path());
        PWndApp::SetSplashTime(0);
        window.reset(new AppWindow());
        PWndApp::SetSplashTime(2000);
    }

    // The strip printed into a bitmap; the colour at (x, y).
    COLORREF PixelAfterPaint(int x, int y)
    {
        PWndThumbs& thumbs = window->App().GetThumbs();
        SWindowDCGuard screen(nullptr);
        SMemoryDCGuard memory(screen.Get());
        SGdiObjectGuard<HBITMAP> bitmap(
            CreateCompatibleBitmap(screen.Get(), thumbs.GetClientWidth(), thumbs.GetClientHeight()));
        SSelectGuard select(memory.Get(), bitmap.Get());
        thumbs.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
        return GetPixel(memory.Get(), x, y);
    }

    SettingsKey settings;
    TempFolder root;
    std::unique_ptr<AppWindow> window;
};

COLORREF CoverPixel(PWndApp& app, const std::string& folder, int x, int y)
{
    SImage cover;
    app.LoadFolderCover(&cover, folder.c_str(), false);
    Gdiplus::ARGB pixel = 0;
    cover.GetPixel(x, y, &pixel);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
}

TEST_F(PWndThumbsTest, EachFolderShowsItsOwnCoverAndTheParentBarLightsUp)
{
    PWndApp& app = window->App();
    PWndThumbs& thumbs = app.GetThumbs();
    ASSERT_EQ(2, thumbs.GetCount());
    EXPECT_EQ("Jazz", std::string(TextOf(thumbs.GetName(0))));
    EXPECT_FALSE(thumbs.IsLeaf(0));
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(CoverPixel(app, root.Path() + TextOf(thumbs.GetName(i)) + "\\", 10, 10),
                  PixelAfterPaint(36 + 170 * i + 10, 12 + 10)) << i;
    EXPECT_EQ(RGB(66, 119, 156), PixelAfterPaint(50, 300));
    thumbs.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 300));
    EXPECT_EQ(PWndThumbs::HIT_PARENT, thumbs.GetHot());
    EXPECT_EQ(GetLibraryCursor(3), thumbs.GetCursor());
    EXPECT_EQ(RGB(156, 66, 66), PixelAfterPaint(50, 300));
    thumbs.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(120, 170));
    EXPECT_EQ(PWndThumbs::HIT_NONE, thumbs.GetHot());
    EXPECT_EQ(nullptr, thumbs.GetCursor());

    // However narrow, one column: two folders take two rows of scroll range.
    thumbs.MoveWindow(0, 0, 150, 150, false);
    EXPECT_EQ(2 * 200 + 8, thumbs.GetScrollMax(true));
    // The wheel turned back goes a page forward, turned forward a page back.
    for (const auto& turn : {std::make_pair(-WHEEL_DELTA, 200), std::make_pair(WHEEL_DELTA, 0)})
    {
        thumbs.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, turn.first), 0);
        EXPECT_EQ(turn.second, thumbs.GetScrollPos(true)) << turn.first;
    }
}

TEST_F(PWndThumbsTest, HoveringAnAlbumShowsThePlayBadge)
{
    if (!FindResourceA(nullptr, MAKEINTRESOURCEA(207), "BINARY"))
        GTEST_SKIP() << "no play badge picture in this build";
    PWndApp& app = window->App();
    ASSERT_TRUE(app.OpenFolder("Rock", "", true));
    ASSERT_TRUE(app.OpenFolder("Artist", "", true));
    PWndThumbs& thumbs = app.GetThumbs();
    ASSERT_TRUE(thumbs.IsLeaf(0));
    const COLORREF plain = PixelAfterPaint(36 + 82 + 32, 12 + 82 + 32);
    thumbs.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(40, 20));
    EXPECT_EQ(0, thumbs.GetHot());
    EXPECT_NE(plain, PixelAfterPaint(36 + 82 + 32, 12 + 82 + 32));
}

TEST_F(PWndThumbsTest, ClicksOpenFoldersTheParentAndTheRoot)
{
    PWndApp& app = window->App();
    PWndThumbs& thumbs = app.GetThumbs();
    const struct
    {
        UINT message;
        int x, y;
        const char* folder;    // current folder afterwards, below the root
        const char* selected;  // folder-list selection afterwards
    } steps[] = {
        {WM_LBUTTONDOWN, 210, 20, "Rock\\", ""},            // a folder opens
        {WM_LBUTTONDOWN, 40, 20, "Rock\\Artist\\", ""},
        {WM_LBUTTONDOWN, 40, 20, "Rock\\Artist\\", ""},     // an album plays, nothing opens
        {WM_LBUTTONDOWN, 50, 300, "Rock\\", ""},            // the bar goes up
        {WM_RBUTTONDOWN, 210, 20, "Rock\\", "Band"},        // right: selected in the list
        {WM_RBUTTONDOWN, 50, 300, "", ""},                  // right on the bar: the root
        {WM_LBUTTONDOWN, 600, 500, "", ""},                 // nothing there
    };
    for (const auto& s : steps)
    {
        thumbs.SendMessage(s.message, 0, MAKELPARAM(s.x, s.y));
        EXPECT_EQ(root.Path() + s.folder, TextOf(app.GetCurrentFolder().GetPath())) << s.x << "," << s.y;
        const int selection = app.GetFolderList().GetSelection();
        EXPECT_EQ(std::string(s.selected), selection < 0 ? "" : TextOf(app.GetFolderList().GetItemText(selection)));
    }
}

// An album clicked plays; the main window then hides when "AutoHideAfterPlay"
// is on, and Shift held turns the setting round.
TEST(PWndThumbsPlayTest, ShiftInvertsHidingAfterPlay)
{
    RegisteredPlayer player;
    SettingsKey settings;
    TempFolder root;
    ASSERT_TRUE(root.WriteFile("Album\\1.mp3", "x"));
    settings.SetText("Folder", root.Path());
    PWndApp::SetSplashTime(0);
    AppWindow window;
    PWndApp::SetSplashTime(2000);
    PWndApp& app = window.App();
    const struct
    {
        bool autoHide, shift, hidden;
    } cases[] = {{false, false, false}, {true, false, true}, {true, true, false}, {false, true, true}};
    for (const auto& c : cases)
    {
        settings.SetNumber("AutoHideAfterPlay", c.autoHide ? 1 : 0);
        app.LoadSettings(false);
        app.ShowWindow(SW_SHOW);
        Pump(50);
        // The X server may report its own key state as the focus moves: press until Shift reads down.
        for (int tries = 0; tries < 50 && c.shift && !(GetAsyncKeyState(VK_SHIFT) & 0x8000); ++tries)
        {
            keybd_event(VK_SHIFT, 0, 0, 0);
            Pump(10);
        }
        ASSERT_TRUE(app.GetThumbs().IsLeaf(0));
        app.GetThumbs().SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(40, 20));
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        Pump(50);
        EXPECT_EQ(root.Path() + "Album\\1.mp3", std::string(TextOf(app.GetQueue().GetAt(0))));
        EXPECT_EQ(c.hidden, !app.IsVisible()) << c.autoHide << " " << c.shift;
    }
}
