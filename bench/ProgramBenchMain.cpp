#include "SPlatform.h"
#include "BenchRegistry.h"
#include "ProgramBench.h"
#include "SLibrary.h"

void PumpUntilIdle()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

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
