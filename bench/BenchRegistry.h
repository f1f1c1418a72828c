// Benchmarks register themselves here; each prints its figure beside the
// figure of the standard or system routine it is measured against.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

class BenchRegistry
{
public:
    typedef void (*Function)();

    static bool Add(const char* name, Function function)
    {
        Cases().push_back(Case{name, function});
        return true;
    }

    // Runs every case whose name contains filter (all when filter is null).
    static int RunAll(const char* filter)
    {
        for (const Case& c : Cases())
        {
            if (filter && !std::strstr(c.name, filter))
                continue;
            std::printf("== %s\n", c.name);
            std::fflush(stdout);
            c.function();
        }
        return 0;
    }

    // "what: ours X unit, anchor Y unit, ratio Z" where ratio > 1 means ours is faster
    // for rates and slower for times; the unit says which.
    static void Report(const char* what, double ours, double anchor, const char* unit)
    {
        const double ratio = anchor != 0 ? ours / anchor : 0;
        std::printf("%-48s ours %12.2f %-6s anchor %12.2f %-6s ratio %.3f\n",
                    what, ours, unit, anchor, unit, ratio);
        std::fflush(stdout);
    }

private:
    struct Case
    {
        const char* name;
        Function function;
    };
    static std::vector<Case>& Cases()
    {
        static std::vector<Case> cases;
        return cases;
    }
};

// Wall-clock seconds since construction.
class BenchClock
{
public:
    BenchClock() : start(std::chrono::steady_clock::now()) {}
    double Seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    std::chrono::steady_clock::time_point start;
};

#define BENCH_CASE(name)                                                         \
    static void name();                                                          \
    static const bool name##Registered = BenchRegistry::Add(#name, name);        \
    static void name()
