#include <gtest/gtest.h>
#include <climits>
#include "SDialogValues.h"

TEST(SDialogValues, IntegersFollowAtoiAndSaturate)
{
    const struct
    {
        const char* text;
        int value;
    } cases[] = {{"", 0},           {"x", 0},          {"  +12px", 12},        {"\t-5", -5},
                 {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN},
                 {"-99999999999999999999999", INT_MIN}, {"99999999999999999999999", INT_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(c.value, SDialogValues::ToInt(c.text)) << c.text;
    EXPECT_TRUE(SDialogValues::ToFlag("4294967296"));
    EXPECT_FALSE(SDialogValues::ToFlag("0x1"));
    EXPECT_DOUBLE_EQ(0.5, SDialogValues::ToReal("0.5"));
}

TEST(SDialogValues, ColoursReadAs64BitDecimalsKeepingTheLow32Bits)
{
    const struct
    {
        const char* text;
        DWORD color;
        DWORD raw;
    } cases[] = {{"4278190080", 0xFF000000, 0xFF000000}, {"-16777216", 0xFF000000, 0xFF000000},
                 {"", 0xFF000000, 0},                     {"8404992", 0x804000, 0x804000},
                 {"4278190081", 0xFF000000, 0xFF000001}, {"-1", 0xFF000000, 0xFFFFFFFF},
                 {"4261412879", GetSysColor(15), 0xFE00000F}, {"-33554417", GetSysColor(15), 0xFE00000F}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.color, SDialogValues::ToColor(c.text)) << c.text;
        EXPECT_EQ(c.raw, SDialogValues::ToRawColor(c.text)) << c.text;
    }
    EXPECT_EQ(0xFF004080u, SDialogValues::ToArgb(0x00804000));
    DWORD color = 0;
    EXPECT_FALSE(SDialogValues::ResolveCommonColor(0xFF000000, true, &color));
    EXPECT_FALSE(SDialogValues::ResolveCommonColor(0xFF000001, false, &color));
    EXPECT_FALSE(SDialogValues::ResolveCommonColor(0xFF000002, true, &color));
    ASSERT_TRUE(SDialogValues::ResolveCommonColor(0xFF000001, true, &color));
    EXPECT_EQ(0xFF000001u, color);
    ASSERT_TRUE(SDialogValues::ResolveCommonColor(0xFE00000F, false, &color));
    EXPECT_EQ(GetSysColor(15), color);
}

TEST(SDialogValues, ToolBarListGivesButtonsAndOneSeparatorPerGap)
{
    const struct
    {
        const char* list;
        const char* plan;
    } cases[] = {{"A |  | B", "0A,|,1B"}, {" | A", "|,0A"}, {"A | | | B | ", "0A,|,1B"}, {"", ""}};
    for (const auto& c : cases)
    {
        SArrayString tokens;
        SDialogValues::SplitList(c.list, &tokens);
        std::string plan;
        for (const SDialogValues::_SToolEntry& entry : SDialogValues::PlanToolBar(tokens))
        {
            plan += plan.empty() ? "" : ",";
            plan += entry.separator ? "|" : std::to_string(entry.button) + entry.text.GetText();
        }
        EXPECT_EQ(c.plan, plan) << c.list;
    }
}

TEST(SDialogValues, TabControlsAreMadeInReverseOrderAmongThemselves)
{
    const int TAB = SDialogValues::TYPE_TAB;
    EXPECT_EQ((std::vector<int>{0, 1, 5, 3, 4, 2, 6}), SDialogValues::PlanCreationOrder({2, 2, TAB, 3, 3, TAB, 2}));
    EXPECT_EQ((std::vector<int>{4, 1, 2, 3, 0}), SDialogValues::PlanCreationOrder({TAB, 2, TAB, 2, TAB}));
    EXPECT_EQ((std::vector<int>{0, 1}), SDialogValues::PlanCreationOrder({2, TAB}));
}

TEST(SDialogValues, TabPagesOutsideTheTabsAreDropped)
{
    const auto pages = SDialogValues::ParsePages("0 12 1 13 5 14 ", 2);
    ASSERT_EQ(2u, pages.size());
    EXPECT_EQ(0, pages[0].tab);
    EXPECT_EQ(12, pages[0].id);
    EXPECT_EQ(1, pages[1].tab);
    EXPECT_EQ(13, pages[1].id);
    const auto odd = SDialogValues::ParsePages("1   -5 1", 2);
    ASSERT_EQ(2u, odd.size());
    EXPECT_EQ(-5, odd[0].id);
    EXPECT_EQ(0, odd[1].id);
    EXPECT_TRUE(SDialogValues::ParsePages("-1 3", 2).empty());
    EXPECT_TRUE(SDialogValues::ParsePages("", 2).empty());
}
