// What the benchmarks that build main windows in their own process share
// (their entry is ProgramBenchMain.cpp).
#pragma once
#include "SPlatform.h"

// Runs what the windows posted, until nothing is left; a quit is passed over.
void PumpUntilIdle();
