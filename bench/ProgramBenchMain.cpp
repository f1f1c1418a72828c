#include "SPlatform.h"
#include "BenchRegistry.h"
#include "SLibrary.h"

// The entry of the benchmarks that build main windows in their own process
// (bench_<name> [name-filter]): the library started as the program starts it.
int main(int argc, char** argv)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    InitLibrary(instance, false);
    StartupGdiplus();
    StartupWinsock();
    const int result = BenchRegistry::RunAll(argc > 1 ? argv[1] : nullptr);
    ShutdownWinsock();
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return result;
}
