#include <gtest/gtest.h>
#include "SLibrary.h"

// Every suite's tests run with the library started, as a program would run them.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    InitLibrary(instance, false);
    StartupGdiplus();
    const int result = RUN_ALL_TESTS();
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return result;
}
