#include "SPlatform.h"
#include "BenchRegistry.h"
#include "SLibrary.h"

// bench_sharing [name-filter]: the library started as the program starts it,
// since both main windows are built in this process.
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
