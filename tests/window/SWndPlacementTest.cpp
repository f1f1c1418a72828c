#include <gtest/gtest.h>
#include <string>
#include "SRegistry.h"
#include "TraceWnd.h"

namespace
{
const char* const COMPANY = "SonavelTests";

class SWndPlacementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        product = "Placement" + std::to_string(GetCurrentProcessId());
        key = std::string("Software\\") + COMPANY + "\\" + product;
        RECT r = MakeRect(10, 10, 210, 110);
        ASSERT_TRUE(wnd.Create("Placement", WS_POPUP, 0, &r, nullptr));
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, (std::string("Software\\") + COMPANY).c_str());
    }

    void Write(const char* text)
    {
        ASSERT_TRUE(registry.SetString(HKEY_CURRENT_USER, key.c_str(), "Window", text));
    }
    std::string Read() const
    {
        const SString text = registry.GetString(HKEY_CURRENT_USER, key.c_str(), "Window");
        return text.GetText() ? text.GetText() : "";
    }
    bool Restore(bool keepVisibility = false)
    {
        return wnd.RestorePlacement(COMPANY, product.c_str(), "Window", keepVisibility);
    }
    RECT WindowRect() const
    {
        RECT r = {};
        wnd.GetWindowRect(&r);
        return r;
    }

    SRegistry registry;
    std::string product, key;
    SWnd wnd;
    RECT work = {};
};

void ExpectRect(int left, int top, int right, int bottom, const RECT& r)
{
    EXPECT_EQ(left, r.left);
    EXPECT_EQ(top, r.top);
    EXPECT_EQ(right, r.right);
    EXPECT_EQ(bottom, r.bottom);
}
} // namespace

TEST_F(SWndPlacementTest, SavedTextIsTheRectangleAndThreeFlags)
{
    wnd.MoveWindow(100, 120, 800, 600, false);
    wnd.ShowWindow(SW_SHOW);
    ASSERT_TRUE(wnd.SavePlacement(COMPANY, product.c_str(), "Window"));
    EXPECT_EQ("7:100,120,900,720,1,0,0", Read());
    wnd.ShowWindow(SW_HIDE);
    ASSERT_TRUE(wnd.SavePlacement(COMPANY, product.c_str(), "Window"));
    EXPECT_EQ("7:100,120,900,720,0,0,0", Read());
}

TEST_F(SWndPlacementTest, TextRestoresRectangleAndVisibility)
{
    Write("7:100,120,900,720,1,0,0");
    ASSERT_TRUE(Restore());
    ExpectRect(100, 120, 900, 720, WindowRect());
    EXPECT_TRUE(wnd.IsVisible());
    // Saving again gives the same text back.
    ASSERT_TRUE(wnd.SavePlacement(COMPANY, product.c_str(), "Window"));
    EXPECT_EQ("7:100,120,900,720,1,0,0", Read());
}

TEST_F(SWndPlacementTest, MalformedOrOldTextsChangeNothing)
{
    const char* texts[] = {"6:10,10,20,20,1,0,0", "7:10,10,20,20,1,0", "10,10,20,20,1,0,0",
                           "x:10,10,20,20,1,0,0", "7:10,a,20,20,1,0,0", "7:10,10,20,20,1,0,",
                           "7:10,10,20,20,1,0,yes", "7:10,10,20,99999999999,1,0,0",
                           ":10,10,20,20,1,0,0"};
    for (const char* text : texts)
    {
        Write(text);
        EXPECT_FALSE(Restore()) << text;
        ExpectRect(10, 10, 210, 110, WindowRect());
        EXPECT_FALSE(wnd.IsVisible()) << text;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    EXPECT_FALSE(Restore());
}

TEST_F(SWndPlacementTest, LaterVersionsAndExtraFieldsAreAccepted)
{
    Write("12:30,40,130,140,1,0,0,5");
    ASSERT_TRUE(Restore());
    ExpectRect(30, 40, 130, 140, WindowRect());
}

TEST_F(SWndPlacementTest, RightLeftOfLeftGivesZeroWidth)
{
    Write("7:300,10,100,20,1,0,0");
    ASSERT_TRUE(Restore());
    ExpectRect(300, 10, 300, 20, WindowRect());
}

TEST_F(SWndPlacementTest, RectangleLargerThanTheWorkAreaTakesTheWorkArea)
{
    Write("7:-100,-50,5000,4000,1,0,0");
    ASSERT_TRUE(Restore());
    ExpectRect(work.left, work.top, work.right, work.bottom, WindowRect());
}

TEST_F(SWndPlacementTest, RectangleHangingOffAnEdgeIsShiftedWhole)
{
    Write(("7:" + std::to_string(work.right - 100) + ",-30,"
           + std::to_string(work.right + 100) + ",70,1,0,0").c_str());
    ASSERT_TRUE(Restore());
    ExpectRect(work.right - 200, work.top, work.right, work.top + 100, WindowRect());
}

TEST_F(SWndPlacementTest, KeepVisibilityLeavesAHiddenWindowHidden)
{
    Write("7:20,20,120,120,1,0,0");
    ASSERT_TRUE(Restore(true));
    EXPECT_FALSE(wnd.IsVisible());
    ExpectRect(20, 20, 120, 120, WindowRect());
    Write("7:20,20,120,120,0,0,0");
    wnd.ShowWindow(SW_SHOW);
    ASSERT_TRUE(Restore());
    EXPECT_FALSE(wnd.IsVisible());
}

TEST_F(SWndPlacementTest, MaximisedWindowSavesItsNormalRectangleAndMaximisesAgain)
{
    SWnd framed;
    RECT r = MakeRect(100, 120, 500, 420);
    ASSERT_TRUE(framed.CreatePopup("Framed", &r, nullptr, 0, true));
    framed.ShowWindow(SW_SHOW);
    framed.Maximize();
    ASSERT_TRUE(framed.IsZoomed());
    ASSERT_TRUE(framed.SavePlacement(COMPANY, product.c_str(), "Window"));
    EXPECT_EQ("7:100,120,500,420,1,0,1", Read());

    SWnd other;
    ASSERT_TRUE(other.CreatePopup("Other", nullptr, nullptr, 0, true));
    ASSERT_TRUE(other.RestorePlacement(COMPANY, product.c_str(), "Window", false));
    EXPECT_TRUE(other.IsZoomed());
    EXPECT_TRUE(other.IsVisible());
    other.ShowWindow(SW_RESTORE);
    RECT restored = {};
    other.GetWindowRect(&restored);
    ExpectRect(100, 120, 500, 420, restored);
}

TEST_F(SWndPlacementTest, HiddenWindowStaysHiddenWhenMinimisedOrMaximised)
{
    wnd.Minimize();
    EXPECT_TRUE(wnd.IsIconic());
    EXPECT_FALSE(wnd.IsVisible());
    wnd.Maximize();
    EXPECT_TRUE(wnd.IsZoomed());
    EXPECT_FALSE(wnd.IsVisible());
}
