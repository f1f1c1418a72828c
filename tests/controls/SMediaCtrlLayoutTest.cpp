#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "FixedMeasurer.h"

namespace
{
struct Layout
{
    SMediaCtrl::_SOwnedArray<SMediaCtrl::_STag> tags;
    SMediaCtrl::_SOwnedArray<SMediaCtrl::_SLine> lines;
    FixedMeasurer measurer;
    SIZE content = {};

    Layout(const char* source, int innerWidth, int viewAlignment = 0, bool wrapping = false)
    {
        SMediaCtrl::_SStyle style = {};
        SMediaCtrl::ScanTags(source, static_cast<int>(strlen(source)), tags);
        SMediaCtrl::BuildLines(source, tags, style, nullptr, lines);
        content = SMediaCtrl::PlaceLines(lines, source, measurer, style.font, innerWidth, wrapping, viewAlignment);
    }

    // Per line: its alignment, then the x of each run.
    std::vector<std::vector<float>> Places() const
    {
        std::vector<std::vector<float>> out;
        for (int i = 0; i < lines.GetCount(); i++)
        {
            const SMediaCtrl::_SLine* line = lines.GetAt(i);
            std::vector<float> row{static_cast<float>(line->alignment)};
            for (int r = 0; r < line->runs.GetCount(); r++)
                row.push_back(line->runs.GetAt(r)->x);
            out.push_back(row);
        }
        return out;
    }
};
} // namespace

TEST(SMediaCtrlLayoutTest, LinesArePlacedByTheirOwnAlignmentOrTheViews)
{
    using Rows = std::vector<std::vector<float>>;
    const struct
    {
        const char* source;
        int innerWidth;
        int viewAlignment;
        Rows places;
    } cases[] = {
        // A centre tag left open carries to the next line; a closed one does not.
        {"<C>ab\r\ncd", 100, 0, {{1, 40}, {1, 40}}},
        {"<C>ab</C>\r\ncd", 100, 0, {{1, 40}, {-1, 0}}},
        // The line takes the greatest alignment met in any of its runs.
        {"a<C>b<R>c</R></C>\r\nd", 100, 0, {{2, 70, 80, 90}, {-1, 0}}},
        {"<L>a</L>b", 100, 2, {{0, 0, 10}}},
        // Centred: truncated; odd widths and lines wider than the view.
        {"<C>abc", 101, 0, {{1, 35}}},
        {"<C>abcdefghijk", 11, 0, {{1, -49}}},
        // Right: from the last run back, each run at its own width.
        {"<R>ab<B>cd", 100, 0, {{2, 56, 76}}},
        // The view's own alignment for lines without a tag; 4 is drawn as left.
        {"ab", 100, 2, {{-1, 80}}},
        {"ab", 101, 1, {{-1, 40}}},
        {"ab", 100, 4, {{-1, 0}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.places, Layout(c.source, c.innerWidth, c.viewAlignment).Places()) << c.source;
}

TEST(SMediaCtrlLayoutTest, ContentSizeIsTheWidestLineAndTheSumOfLineHeights)
{
    const struct
    {
        const char* source;
        int width, height;
    } cases[] = {
        {"\r\n\r\n", 0, 32},          // two empty lines of the default height
        {"", 0, 16},
        {"abc\r\n<B>abcd", 48, 40},   // runs are 20 high, lines at least 16
        {"a<B>b\r\n\r\nc", 22, 56},
    };
    for (const auto& c : cases)
    {
        const Layout layout(c.source, 100);
        EXPECT_EQ(c.width, layout.content.cx) << c.source;
        EXPECT_EQ(c.height, layout.content.cy) << c.source;
    }
}

TEST(SMediaCtrlLayoutTest, WrappingMeasuresRunsInTheInnerWidth)
{
    Layout wrapped("abcdefgh", 50, 0, true);
    EXPECT_EQ(50.0f, wrapped.measurer.lastBox);
    EXPECT_EQ(50, wrapped.content.cx);
    EXPECT_EQ(41, wrapped.content.cy);
    Layout unwrapped("abcdefgh", 50, 0, false);
    EXPECT_EQ(2147483648.0f, unwrapped.measurer.lastBox);
    EXPECT_EQ(80, unwrapped.content.cx);
    EXPECT_EQ(20, unwrapped.content.cy);
}
