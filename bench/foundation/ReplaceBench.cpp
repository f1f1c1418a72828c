// SString::Replace against itself at ten times the size: a ratio near 10 is linear, one
// near 100 is a shift of the rest of the text per match.
#include <string>
#include "BenchRegistry.h"
#include "SString.h"

namespace
{
// Milliseconds for replacing every "b" of "ab" repeated count times, growing and then
// shrinking the text again; false when the result is wrong.
bool TimeReplace(int count, double* milliseconds)
{
    std::string text;
    text.reserve(count * 2);
    for (int i = 0; i < count; i++)
        text += "ab";
    SString s(text.c_str());
    BenchClock clock;
    const int grown = s.Replace("b", "cd");
    const int shrunk = s.Replace("cd", "b");
    *milliseconds = clock.Seconds() * 1000;
    return grown == count && shrunk == count && text == s.GetText();
}
} // namespace

BENCH_CASE(StringReplaceMatches)
{
    // The best of three runs of each: the first touch of fresh memory is not Replace's cost.
    double small = 1e30, large = 1e30;
    bool right = true;
    for (int run = 0; run < 3; run++)
    {
        double s = 0, l = 0;
        right = TimeReplace(100000, &s) && TimeReplace(1000000, &l) && right;
        small = s < small ? s : small;
        large = l < large ? l : large;
    }
    std::printf("results right: %s\n", right ? "yes" : "NO");
    BenchRegistry::Report("Replace 1,000,000 / 100,000 matches (linear 10)", large, small, "ms");
}
