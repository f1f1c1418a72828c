// Strings and arrays against the standard library: integer formatting, integer sort,
// string sort.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>
#include "BenchRegistry.h"
#include "SArray.h"
#include "SArrayString.h"
#include "SString.h"

BENCH_CASE(StringFormatIntegers)
{
    const int count = 1000000;
    unsigned long long check = 0, anchorCheck = 0;

    BenchClock ours;
    SString s;
    for (int i = 0; i < count; i++)
    {
        s.Format("%d", i - count / 2);
        check += (unsigned)s.GetLength();
    }
    const double oursMs = ours.Seconds() * 1000;

    BenchClock anchor;
    std::string t;
    for (int i = 0; i < count; i++)
    {
        t.resize(32);
        const int n = std::snprintf(&t[0], 32, "%d", i - count / 2);
        t.resize(n);
        anchorCheck += t.size();
    }
    const double anchorMs = anchor.Seconds() * 1000;

    // The runtime routine Format calls, alone: the part of the cost that is not ours.
    BenchClock runtime;
    char buffer[32];
    unsigned long long runtimeCheck = 0;
    for (int i = 0; i < count; i++)
    {
        _snprintf(buffer, sizeof buffer, "%d", i - count / 2);
        runtimeCheck += std::strlen(buffer);
    }
    const double runtimeMs = runtime.Seconds() * 1000;

    std::printf("checksums %llu %llu %llu\n", check, anchorCheck, runtimeCheck);
    BenchRegistry::Report("1,000,000 integers formatted (Format / snprintf)", oursMs, anchorMs, "ms");
    BenchRegistry::Report("  the same with the runtime's _snprintf alone", runtimeMs, anchorMs, "ms");
}

BENCH_CASE(ArraySortIntegers)
{
    const int count = 1000000;
    std::mt19937 random(20240601);
    std::vector<int> data(count);
    for (int& v : data)
        v = (int)random();

    SArray<int> array;
    array.SetCount(count);
    for (int i = 0; i < count; i++)
        array.SetAt(i, data[i]);

    BenchClock ours;
    array.Sort();
    const double oursMs = ours.Seconds() * 1000;

    BenchClock anchor;
    std::sort(data.begin(), data.end());
    const double anchorMs = anchor.Seconds() * 1000;

    bool same = true;
    for (int i = 0; i < count && same; i++)
        same = array.GetAt(i) == data[i];
    std::printf("same order: %s\n", same ? "yes" : "NO");
    BenchRegistry::Report("1,000,000 ints sorted (SArray::Sort / std::sort)", oursMs, anchorMs, "ms");
}

BENCH_CASE(ArrayStringSort)
{
    const int count = 100000;
    std::mt19937 random(7);
    std::vector<std::string> data;
    SArrayString array;
    char text[24];
    for (int i = 0; i < count; i++)
    {
        std::snprintf(text, sizeof text, "item-%08x-%u", (unsigned)random(), (unsigned)(i % 97));
        data.push_back(text);
        array.Add(text);
    }

    BenchClock ours;
    array.Sort();
    const double oursMs = ours.Seconds() * 1000;

    BenchClock anchor;
    std::sort(data.begin(), data.end());
    const double anchorMs = anchor.Seconds() * 1000;

    bool same = true;
    for (int i = 0; i < count && same; i++)
        same = data[i] == array.GetAt(i).GetText();
    std::printf("same order: %s\n", same ? "yes" : "NO");
    BenchRegistry::Report("100,000 strings sorted (SArrayString / std::sort)", oursMs, anchorMs, "ms");
}
