#include <gtest/gtest.h>
#include <vector>
#include "SImageWater.h"

TEST(SImageWater, DisturbanceAtTheEdgeTouchesOnlyInteriorColumns)
{
    SImageWater water;
    EXPECT_TRUE(water.IsCalm());
    ASSERT_TRUE(water.Create(20, 20));
    EXPECT_TRUE(water.IsCalm());
    water.Disturb(0, 10, 3, 100);
    EXPECT_FALSE(water.IsCalm());
    for (int x = 0; x < 20; x++)
    {
        int touched = 0;
        for (int y = 0; y < 20; y++)
            touched += water.GetHeightAt(x, y) != 0 ? 1 : 0;
        EXPECT_EQ(x == 1 || x == 2, touched > 0) << x;
    }
}

TEST(SImageWater, RandomPlaceOnANarrowSurfaceDoesNothing)
{
    // Width 7 leaves no room for a circle of radius 3 inside the border.
    const struct { int width, height, x, y; } cases[] = {{7, 30, -1, 10}, {30, 5, 10, -1}, {3, 3, -1, -1}};
    for (const auto& c : cases)
    {
        SImageWater water;
        ASSERT_TRUE(water.Create(c.width, c.height));
        water.Disturb(c.x, c.y, 3, 50);
        EXPECT_TRUE(water.IsCalm()) << c.width << "x" << c.height;
    }
    SImageWater wide;
    ASSERT_TRUE(wide.Create(30, 30));
    wide.Disturb(-1, -1, 3, 50);
    EXPECT_FALSE(wide.IsCalm());
}

TEST(SImageWater, WavesCalmDownAndRefractThePicture)
{
    const int w = 32, h = 24;
    SImageWater water;
    ASSERT_TRUE(water.Create(w, h));
    std::vector<DWORD> source(w * h), out(w * h, 0xDEADBEEF);
    for (int i = 0; i < w * h; i++)
        source[i] = 0x00808080;
    water.Animate(source.data(), out.data());
    EXPECT_EQ(source, out); // calm water shows the picture unchanged
    water.Disturb(16, 12, 4, 200, true);
    bool changed = false;
    int steps = 0;
    while (!water.IsCalm() && steps < 5000)
    {
        water.Step(source.data(), out.data());
        changed = changed || out != source;
        steps++;
    }
    EXPECT_TRUE(changed);
    EXPECT_TRUE(water.IsCalm());
}
