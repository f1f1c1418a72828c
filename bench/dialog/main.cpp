#include "BenchRegistry.h"

// bench_dialog [name-filter]
int main(int argc, char** argv)
{
    return BenchRegistry::RunAll(argc > 1 ? argv[1] : nullptr);
}
