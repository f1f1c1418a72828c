// What the benchmarks that build main windows in their own process share
// (their entry is ProgramBenchMain.cpp).
#pragma once
#include "SPlatform.h"
#include "MessagePump.h"

using testsupport::PumpUntilIdle;
