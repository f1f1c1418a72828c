// The maker of download targets: it never empties a file that appeared since
// the listing, and a job its thread cannot take is let go at once.
#include <gtest/gtest.h>
#include "PTargetMaker.h"
#include "SharingTestSupport.h"

using namespace apptest;

TEST(PTargetMakerTest, ANewTargetNeverEmptiesAFileThatAppearedSinceTheListing)
{
    TempFolder folder;
    ASSERT_TRUE(folder.WriteFile("empty.mp3", ""));
    ASSERT_TRUE(folder.WriteFile("come.mp3", "abc"));
    const struct
    {
        const char* name;
        bool made;
        const char* kept;
    } cases[] = {{"missing.mp3", true, ""}, {"empty.mp3", true, ""}, {"come.mp3", false, "abc"}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.made, PTargetMaker::MakeEmpty((folder.Path() + c.name).c_str())) << c.name;
        EXPECT_EQ(c.kept, ReadFileText(folder.Path() + c.name)) << c.name;
    }
}

// A job its thread cannot take (its window is gone) ends at once: the caller
// makes the file, and no job stays held behind it.
TEST(PTargetMakerTest, AJobTheThreadCannotTakeIsLetGoAtOnce)
{
    TempFolder folder;
    PTargetMaker maker;
    ASSERT_TRUE(maker.End(maker.Begin((folder.Path() + "first.mp3").c_str())));
    SendMessageA(maker.GetWorkerWindow(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(maker.GetWorkerWindow()));
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(nullptr, maker.Begin((folder.Path() + std::to_string(i) + ".mp3").c_str())) << i;
    EXPECT_LE(maker.GetHeldCount(), 1u);
}
