#include <gtest/gtest.h>
#include <vector>
#include "SGuards.h"
#include "SImageList.h"
#include "SItemRecords.h"
#include "SLibrary.h"
#include "SMenu.h"
#include "TraceWnd.h"

namespace
{
class CountingMenu : public SMenu
{
public:
    std::vector<int> commands;
    void OnCommand(int id) override { commands.push_back(id); }
};

class SMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(0, 0, 200, 100);
        ASSERT_TRUE(owner.Create("Menu owner", WS_POPUP, 0, &r, nullptr));
        ASSERT_TRUE(menu.Create(owner.GetHandle()));
    }
    void TearDown() override { SetWindowsVersion(version); }

    void Fill(const std::vector<int>& ids)
    {
        for (int id : ids)
            ASSERT_TRUE(menu.InsertItem(id, "item"));
    }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (int i = 0; i < menu.GetItemCount(); i++)
            ids.push_back(menu.GetItemId(i));
        return ids;
    }
    MENUITEMINFOA ItemInfo(int position, UINT mask) const
    {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = mask;
        GetMenuItemInfoA(menu.GetHandle(), position, TRUE, &info);
        return info;
    }

    // The owner's answer to a measure request for the item at that position.
    LRESULT Measure(int position, MEASUREITEMSTRUCT& measure)
    {
        measure = MEASUREITEMSTRUCT();
        measure.CtlType = ODT_MENU;
        measure.itemData = reinterpret_cast<ULONG_PTR>(menu.GetItemData(position));
        return owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    }

    const int version = GetWindowsVersion();
    TraceWnd owner;
    CountingMenu menu;
};
} // namespace

TEST_F(SMenuTest, PositionsOutsideTheItemsAppend)
{
    Fill({1, 2, 3});
    const struct
    {
        int id, position;
        std::vector<int> ids;
    } cases[] = {
        {4, 99, {1, 2, 3, 4}},
        {5, 0, {5, 1, 2, 3, 4}},
        {6, -1, {5, 1, 2, 3, 4, 6}},
        {7, 2, {5, 1, 7, 2, 3, 4, 6}},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(menu.InsertItem(c.id, "x", -1, c.position));
        EXPECT_EQ(c.ids, Ids()) << c.position;
    }
    ASSERT_TRUE(menu.InsertSeparator(0, 1));
    EXPECT_EQ(static_cast<UINT>(MFT_SEPARATOR), ItemInfo(1, MIIM_FTYPE).fType & MFT_SEPARATOR);
    EXPECT_TRUE(menu.GetItemData(1)->separator);
    EXPECT_EQ(nullptr, menu.GetItemData(99));
    EXPECT_EQ(0, menu.GetItemId(99));
    EXPECT_FALSE(menu.Create(owner.GetHandle()));
}

TEST_F(SMenuTest, FindPositionGivesTheFirstOfADoubledId)
{
    Fill({10, 20, 30, 20});
    EXPECT_EQ(1, menu.FindPosition(20));
    EXPECT_EQ(2, menu.FindPosition(30));
    EXPECT_EQ(-1, menu.FindPosition(40));
}

TEST_F(SMenuTest, TextsByCommandId)
{
    ASSERT_TRUE(menu.InsertItem(1007, "Repeat"));
    ASSERT_TRUE(menu.InsertItem(1008, nullptr));
    EXPECT_STREQ("Repeat", menu.GetItemText(1007).GetText());
    EXPECT_STREQ("", menu.GetItemText(1008).GetText());
    EXPECT_STREQ("", menu.GetItemText(5).GetText());
    EXPECT_TRUE(menu.SetItemText(1008, "Random order"));
    EXPECT_STREQ("Random order", menu.GetItemText(1008).GetText());
    EXPECT_FALSE(menu.SetItemText(5, "none"));
}

// Ids that are also positions of other items tell id from position apart.
TEST_F(SMenuTest, EnableAndCheckActOnTheCommandId)
{
    Fill({2, 1007, 1, 0});
    EXPECT_TRUE(menu.CheckItem(1007, true));
    EXPECT_TRUE(menu.CheckItem(1, true));
    EXPECT_TRUE(menu.EnableItem(2, false));
    EXPECT_TRUE(menu.EnableItem(0, false));
    EXPECT_TRUE(menu.EnableItem(0, true));
    const struct
    {
        int id;
        bool checked, grey;
    } cases[] = {{2, false, true}, {1007, true, false}, {1, true, false}, {0, false, false}};
    for (const auto& c : cases)
    {
        const UINT state = GetMenuState(menu.GetHandle(), c.id, MF_BYCOMMAND);
        EXPECT_EQ(c.checked, menu.IsItemChecked(c.id)) << c.id;
        EXPECT_EQ(c.checked, (state & MF_CHECKED) != 0) << c.id;
        EXPECT_EQ(c.grey, (state & MF_GRAYED) != 0) << c.id;
    }
    EXPECT_TRUE(menu.CheckItem(1007, false));
    EXPECT_FALSE(menu.IsItemChecked(1007));
    EXPECT_FALSE(menu.CheckItem(555, true));
}

TEST_F(SMenuTest, MenuCommandsReachTheOwnerAfterTheHook)
{
    CountingMenu sub;
    ASSERT_TRUE(sub.Create(owner.GetHandle()));
    ASSERT_TRUE(sub.InsertItem(2001, "Inner"));
    Fill({1001, 1002});
    ASSERT_TRUE(menu.InsertSubMenu(1003, &sub, "More"));
    EXPECT_EQ(sub.GetHandle(), GetSubMenu(menu.GetHandle(), 2));

    const struct
    {
        CountingMenu* menu;
        int position, id;
    } cases[] = {{&menu, 1, 1002}, {&menu, 0, 1001}, {&sub, 0, 2001}};
    for (const auto& c : cases)
    {
        owner.Forget();
        const LPARAM handle = reinterpret_cast<LPARAM>(c.menu->GetHandle());
        owner.SendMessage(WM_MENUCOMMAND, c.position, handle);
        ASSERT_EQ(1, owner.Count(SWM_MENUCOMMAND)) << c.id;
        EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<SMenu*>(c.menu)),
                  owner.Last(SWM_MENUCOMMAND).wParam);
        EXPECT_EQ(c.id, owner.Last(SWM_MENUCOMMAND).lParam);
        EXPECT_EQ(c.id, c.menu->commands.back());
    }
    menu.RemoveAll();
}

TEST_F(SMenuTest, RemovingItemsForgetsTheirRecords)
{
    Fill({1, 2, 3});
    SMenu::_SItem* record = menu.GetItemData(1);
    ASSERT_TRUE(SItemRecords::Contains(ODT_MENU, record));
    EXPECT_TRUE(menu.RemoveAll());
    EXPECT_EQ(0, menu.GetItemCount());
    EXPECT_FALSE(SItemRecords::Contains(ODT_MENU, record));
    menu.Destroy();
    EXPECT_EQ(nullptr, menu.GetHandle());
    EXPECT_FALSE(menu.InsertItem(4, "late"));
}

// Older systems: the picture is measured and drawn by the menu, right-aligned
// before a 4-pixel gap.
TEST_F(SMenuTest, ImageItemsAreOwnerDrawnBelowVersionSeven)
{
    SetWindowsVersion(5);
    SImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32));
    SImage red(16, 16);
    red.Clear(RGB(255, 0, 0));
    ASSERT_TRUE(list.AddImage(&red));
    menu.SetImageList(&list);
    ASSERT_TRUE(menu.InsertItem(1, "Red", 0));
    ASSERT_TRUE(menu.InsertItem(2, "Plain"));
    EXPECT_EQ(HBMMENU_CALLBACK, ItemInfo(0, MIIM_BITMAP).hbmpItem);

    MEASUREITEMSTRUCT measure;
    EXPECT_EQ(1, Measure(0, measure));
    EXPECT_EQ(20u, measure.itemWidth);
    EXPECT_EQ(16u, measure.itemHeight);
    Measure(1, measure);
    EXPECT_EQ(0u, measure.itemWidth);

    SWindowDCGuard screen(nullptr);
    SMemoryDCGuard dc(screen.Get());
    SGdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 40, 20));
    SSelectGuard select(dc.Get(), bitmap.Get());
    RECT all = {0, 0, 40, 20};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.hDC = dc.Get();
    draw.rcItem = all;
    draw.itemData = reinterpret_cast<ULONG_PTR>(menu.GetItemData(0));
    EXPECT_EQ(1, owner.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
    // Right-aligned in 0..36, centred in 0..20: x 20..35, y 2..17.
    const struct
    {
        int x, y;
        COLORREF color;
    } probes[] = {{28, 10, RGB(255, 0, 0)},     {20, 2, RGB(255, 0, 0)},
                  {35, 17, RGB(255, 0, 0)},     {19, 10, RGB(255, 255, 255)},
                  {37, 10, RGB(255, 255, 255)}, {28, 0, RGB(255, 255, 255)}};
    for (const auto& p : probes)
        EXPECT_EQ(p.color, GetPixel(dc.Get(), p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(SMenuTest, ImageItemsCarryTheirBitmapFromVersionSeven)
{
    SetWindowsVersion(7);
    SImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32));
    SImage blue(16, 16);
    blue.Clear(RGB(0, 0, 255));
    ASSERT_TRUE(list.AddImage(&blue));
    menu.SetImageList(&list);
    ASSERT_TRUE(menu.InsertItem(1, "Blue", 0));
    ASSERT_TRUE(menu.InsertItem(2, "Missing", 5));
    const SMenu::_SItem* item = menu.GetItemData(0);
    ASSERT_NE(nullptr, item->bitmap);
    EXPECT_EQ(item->bitmap, ItemInfo(0, MIIM_BITMAP).hbmpItem);
    EXPECT_EQ(nullptr, ItemInfo(1, MIIM_BITMAP).hbmpItem);
    MEASUREITEMSTRUCT measure;
    Measure(1, measure);
    EXPECT_EQ(0u, measure.itemWidth);
    Measure(0, measure);
    EXPECT_EQ(20u, measure.itemWidth);
}
