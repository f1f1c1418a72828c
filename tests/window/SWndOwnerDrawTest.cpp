#include <gtest/gtest.h>
#include "SItemRecords.h"
#include "TraceWnd.h"

namespace
{
// What the handlers of a menu or list class were asked.
struct Calls
{
    int measured = 0, drawn = 0, commands = 0;
    void* record = nullptr;
    SWnd* window = nullptr;
};
Calls g_calls;
int g_fakeMenu = 0;

bool Measure(void* record, MEASUREITEMSTRUCT* measure)
{
    g_calls.measured++;
    g_calls.record = record;
    measure->itemHeight = 17;
    return true;
}

bool Draw(void* record, SWnd* window, DRAWITEMSTRUCT*)
{
    g_calls.drawn++;
    g_calls.record = record;
    g_calls.window = window;
    return true;
}

void* Command(void* record, int position, int* id)
{
    g_calls.commands++;
    g_calls.record = record;
    *id = 1000 + position;
    return &g_fakeMenu;
}

class SWndOwnerDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls = Calls();
        SItemRecords::SetHandlers(ODT_MENU, Measure, Draw);
        SItemRecords::SetHandlers(ODT_LISTBOX, Measure, Draw);
        SItemRecords::SetMenuCommandHandler(Command);
        SItemRecords::Add(ODT_MENU, &menuRecord);
        SItemRecords::Add(ODT_LISTBOX, &listRecord);
        RECT r = MakeRect(0, 0, 300, 200);
        ASSERT_TRUE(wnd.Create("Owner draw", WS_POPUP, 0, &r, nullptr));
    }
    void TearDown() override
    {
        SItemRecords::Remove(ODT_MENU, &menuRecord);
        SItemRecords::Remove(ODT_LISTBOX, &listRecord);
        SItemRecords::SetHandlers(ODT_MENU, nullptr, nullptr);
        SItemRecords::SetHandlers(ODT_LISTBOX, nullptr, nullptr);
        SItemRecords::SetMenuCommandHandler(nullptr);
    }

    LRESULT SendMeasure(UINT type, const void* data, MEASUREITEMSTRUCT& measure)
    {
        measure.CtlType = type;
        measure.itemData = reinterpret_cast<ULONG_PTR>(data);
        return wnd.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    }

    LRESULT SendDraw(UINT type, HWND item, UINT id, const void* data)
    {
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = type;
        draw.hwndItem = item;
        draw.itemID = id;
        draw.itemData = reinterpret_cast<ULONG_PTR>(data);
        return wnd.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    }

    int menuRecord = 0, listRecord = 0;
    TraceWnd wnd;
};
} // namespace

TEST_F(SWndOwnerDrawTest, RegisteredRecordIsMeasuredByItsOwner)
{
    MEASUREITEMSTRUCT measure = {};
    EXPECT_EQ(1, SendMeasure(ODT_MENU, &menuRecord, measure));
    EXPECT_EQ(17u, measure.itemHeight);
    EXPECT_EQ(&menuRecord, g_calls.record);
    EXPECT_EQ(0, wnd.Count(WM_MEASUREITEM));
    EXPECT_EQ(1, SendMeasure(ODT_LISTBOX, &listRecord, measure));
    EXPECT_EQ(2, g_calls.measured);
}

TEST_F(SWndOwnerDrawTest, ItemDataThatIsNoRegisteredRecordIsNeverUsed)
{
    int stranger = 0;
    MEASUREITEMSTRUCT measure = {};
    SendMeasure(ODT_MENU, &stranger, measure);
    SendMeasure(ODT_MENU, reinterpret_cast<void*>(0x10), measure);
    // A record of the other kind is not one of this kind.
    SendMeasure(ODT_MENU, &listRecord, measure);
    SendDraw(ODT_MENU, nullptr, 0, &stranger);
    EXPECT_EQ(0, g_calls.measured);
    EXPECT_EQ(0, g_calls.drawn);
    EXPECT_EQ(3, wnd.Count(WM_MEASUREITEM));
    EXPECT_EQ(1, wnd.Count(WM_DRAWITEM));
    // A record that was removed is a stranger too.
    SItemRecords::Remove(ODT_MENU, &menuRecord);
    SendMeasure(ODT_MENU, &menuRecord, measure);
    EXPECT_EQ(0, g_calls.measured);
    EXPECT_FALSE(SItemRecords::Contains(ODT_MENU, &menuRecord));
}

TEST_F(SWndOwnerDrawTest, ListItemIsDrawnByTheListObjectOfItsWindow)
{
    SWnd list, notAList;
    list.SetTypeId(STYPE_LIST);
    RECT r = MakeRect(0, 0, 100, 100);
    ASSERT_TRUE(list.CreateChild("", 0, 0, &r, wnd.GetHandle()));
    ASSERT_TRUE(notAList.CreateChild("", 0, 0, &r, wnd.GetHandle()));
    int stranger = 0;
    EXPECT_EQ(1, SendDraw(ODT_LISTBOX, list.GetHandle(), 0, &stranger));
    EXPECT_EQ(&list, g_calls.window);
    EXPECT_EQ(nullptr, g_calls.record);
    EXPECT_EQ(1, SendDraw(ODT_LISTBOX, list.GetHandle(), 1, &listRecord));
    EXPECT_EQ(&listRecord, g_calls.record);
    // No item, or a window that is not a library list: passed on.
    SendDraw(ODT_LISTBOX, list.GetHandle(), static_cast<UINT>(-1), &listRecord);
    SendDraw(ODT_LISTBOX, notAList.GetHandle(), 0, &listRecord);
    EXPECT_EQ(2, g_calls.drawn);
    EXPECT_EQ(2, wnd.Count(WM_DRAWITEM));
}

TEST_F(SWndOwnerDrawTest, MenuCommandOfARegisteredItemBecomesMenuCommand)
{
    HMENU menu = CreatePopupMenu();
    int stranger = 0;
    for (int i = 0; i < 3; i++)
    {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_DATA | MIIM_STRING;
        item.wID = 10 + i;
        item.dwTypeData = const_cast<char*>("item");
        item.dwItemData = reinterpret_cast<ULONG_PTR>(i == 2 ? &stranger : &menuRecord);
        InsertMenuItemA(menu, i, TRUE, &item);
    }
    wnd.SendMessage(WM_MENUCOMMAND, 1, reinterpret_cast<LPARAM>(menu));
    ASSERT_EQ(1, wnd.Count(SWM_MENUCOMMAND));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&g_fakeMenu), wnd.Last(SWM_MENUCOMMAND).wParam);
    EXPECT_EQ(1001, wnd.Last(SWM_MENUCOMMAND).lParam);
    // The position may come in the high half.
    wnd.SendMessage(WM_MENUCOMMAND, MAKEWPARAM(0, 1), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(2, wnd.Count(SWM_MENUCOMMAND));
    wnd.SendMessage(WM_MENUCOMMAND, 2, reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(2, wnd.Count(SWM_MENUCOMMAND));
    EXPECT_EQ(2, g_calls.commands);
    DestroyMenu(menu);
}
