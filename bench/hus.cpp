// HUS import and export (a single file: the split is off) beside a plain read, write and
// copy of the same bytes.
#include "bench_common.h"

int main(int argc, char** argv)
{
    GetSetup()->m_bVikingSplit = 0;
    std::vector<long> sizes = {100000};
    benchutil::RegisterFormat<CHus>("hus", ".hus", sizes);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    benchutil::RemoveTemp(".hus", sizes);
    return 0;
}
