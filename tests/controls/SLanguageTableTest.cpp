#include <gtest/gtest.h>
#include "SLanguageTable.h"

// A line is split at its first '=', so a key holding one could never be found.
TEST(SLanguageTableTest, KeysHoldingEqualsAreRefused)
{
    const struct
    {
        const char* key;
        bool taken;
    } cases[] = {{"@CUT", true}, {"", true}, {"A=B", false}, {"=", false}, {"A=", false}};
    for (const auto& c : cases)
    {
        SLanguageTable table;
        EXPECT_EQ(c.taken, table.AddEntry(c.key, "x=y")) << c.key;
        EXPECT_EQ(c.taken ? 1 : 0, table.GetCount()) << c.key;
        EXPECT_STREQ(c.taken ? "x=y" : "", table.GetText(c.key).GetText()) << c.key;
    }
}
