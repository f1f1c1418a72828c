#include "BenchRegistry.h"
#include "SLibrary.h"

// bench_transport [name-filter]: the library started as a program starts it,
// since the server and the client own hidden windows.
int main(int argc, char** argv)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    InitLibrary(instance, false);
    StartupWinsock();
    const int result = BenchRegistry::RunAll(argc > 1 ? argv[1] : nullptr);
    ShutdownWinsock();
    ShutdownLibrary(instance, false);
    return result;
}
