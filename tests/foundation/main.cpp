#include <gtest/gtest.h>
#include "SLibrary.h"

// Every test runs with the library started, as a program would run it.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    InitLibrary(instance, false);
    const int result = RUN_ALL_TESTS();
    ShutdownLibrary(instance, false);
    return result;
}
