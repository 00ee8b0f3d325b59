// EXP import and export beside a plain read, write and copy of the same bytes.
#include "bench_common.h"

int main(int argc, char** argv)
{
    std::vector<long> sizes = {10000, 1000000};
    benchutil::RegisterFormat<CExp>("exp", ".exp", sizes);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    benchutil::RemoveTemp(".exp", sizes);
    return 0;
}
