// PCS, PCM, XXX and CSD import and export of 100 000 stitches beside a plain read, write
// and copy of the same bytes. PCS, PCM and XXX files hold fewer records than that, so
// their designs are written and read as part sets; memory files, which never split, are
// measured with a design that fits one file.
#include "bench_sets.h"

int main(int argc, char** argv)
{
    const long n = 100000, oneFile = 10000;
    benchutil::RegisterSetFormat<CPcs>("pcs", ".pcs", n);
    benchutil::RegisterFormat<CPcs>("pcs", ".pcs", {oneFile});
    benchutil::RegisterSetFormat<CPcsMac>("pcm", ".pcm", n);
    benchutil::RegisterFormat<CPcsMac>("pcm", ".pcm", {oneFile});
    benchutil::RegisterSetFormat<CXxx>("xxx", ".xxx", n);
    benchutil::RegisterFormat<CXxx>("xxx", ".xxx", {oneFile});
    benchutil::RegisterFormat<CCsd>("csd", ".csd", {n});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const char* ext : {".pcs", ".pcm", ".xxx"}) {
        benchutil::RemoveSet(ext, n);
        benchutil::RemoveTemp(ext, {oneFile});
    }
    benchutil::RemoveTemp(".csd", {n});
    return 0;
}
