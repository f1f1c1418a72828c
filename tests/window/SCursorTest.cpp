#include <gtest/gtest.h>
#include "SCursor.h"
#include "SIdentifiants.h"
#include "SLibrary.h"

TEST(SCursorLoad, NumbersOutsideTheTableGiveTheSharedArrow)
{
    SCursor cursor(20);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), cursor.GetHandle());
    EXPECT_TRUE(cursor.IsShared());
    EXPECT_TRUE(cursor.Load(-3));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), cursor.GetHandle());
}

TEST(SCursorLoad, SystemNumbersGiveTheirSystemCursor)
{
    SCursor cursor(5);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_IBEAM), cursor.GetHandle());
    EXPECT_TRUE(cursor.Load(13));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), cursor.GetHandle());
}

TEST(SCursorLoad, BuiltInCursorsAreOwnAndHaveTheirHotSpot)
{
    const POINT hotSpots[6] = {{7, 0}, {9, 22}, {9, 22}, {15, 15}, {11, 22}, {13, 14}};
    for (int number = 14; number <= 19; number++)
    {
        SCursor cursor(number);
        ASSERT_NE(nullptr, cursor.GetHandle()) << number;
        EXPECT_FALSE(cursor.IsShared());
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor.GetHandle(), &info));
        EXPECT_EQ(static_cast<DWORD>(hotSpots[number - 14].x), info.xHotspot) << number;
        EXPECT_EQ(static_cast<DWORD>(hotSpots[number - 14].y), info.yHotspot) << number;
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
    }
}

TEST(SCursorRelease, SystemCursorSurvivesRelease)
{
    SCursor cursor(0);
    HCURSOR arrow = cursor.GetHandle();
    cursor.Release();
    EXPECT_EQ(nullptr, cursor.GetHandle());
    EXPECT_FALSE(cursor.IsShared());
    ICONINFO info = {};
    EXPECT_TRUE(GetIconInfo(arrow, &info));
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

TEST(SCursorTable, StartUpFillsTwentyCursors)
{
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), GetLibraryCursor(0));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), GetLibraryCursor(3));
    for (int i = 14; i < 20; i++)
        EXPECT_NE(nullptr, GetLibraryCursor(i)) << i;
    EXPECT_EQ(nullptr, GetLibraryCursor(20));
}

TEST(SIdentifiantsTables, HoldEighteenCursorAndThirtyColourNames)
{
    const SIdentifiants* names = GetIdentifiants();
    ASSERT_NE(nullptr, names);
    EXPECT_EQ(18, names->GetCursorNames().GetCount());
    EXPECT_EQ(18, names->GetCursorNumbers().GetCount());
    EXPECT_EQ(30, names->GetColorNames().GetCount());
    EXPECT_EQ(30, names->GetColorIndexes().GetCount());
    EXPECT_STREQ("3DDkShadow", names->GetColorNames().GetAt(0).GetText());
    EXPECT_EQ(21, names->GetColorIndexes().GetAt(0));
    EXPECT_STREQ("WindowText", names->GetColorNames().GetAt(29).GetText());
}

TEST(SIdentifiantsTables, LookUpByNumber)
{
    const SIdentifiants* names = GetIdentifiants();
    EXPECT_STREQ("3DFace", names->GetColorName(COLOR_BTNFACE).GetText());
    EXPECT_STREQ("MenuBar", names->GetColorName(30).GetText());
    EXPECT_EQ(0, names->GetColorName(31).GetLength());
    EXPECT_STREQ("Zoom", names->GetCursorName(19).GetText());
    EXPECT_STREQ("Arrow", names->GetCursorName(0).GetText());
    EXPECT_EQ(0, names->GetCursorName(3).GetLength());
    EXPECT_EQ(0, names->GetCursorName(14).GetLength());
}

TEST(SCursorRelease, BuiltInCursorIsDestroyed)
{
    SCursor cursor(17);
    HCURSOR own = cursor.GetHandle();
    ASSERT_NE(nullptr, own);
    cursor.Release();
    EXPECT_EQ(nullptr, cursor.GetHandle());
    ICONINFO info = {};
    EXPECT_FALSE(GetIconInfo(own, &info));
}
