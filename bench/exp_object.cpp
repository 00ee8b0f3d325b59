// The expanded design object: reading and writing through it beside the filter alone,
// and drawing a large design onto a raster.
#include "bench_common.h"

namespace {

constexpr long kStitches = 1000000;

struct Fixture {
    std::string path = benchutil::TempPath("object.dst");
    std::string out = benchutil::TempPath("object-out.dst");
    Fixture()
    {
        benchutil::Quiet();
        StitchList l = benchutil::MakeDesign(kStitches);
        CDst f;
        f.ExportFile(path.c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(), l.types.data());
    }
    ~Fixture()
    {
        std::remove(path.c_str());
        std::remove(out.c_str());
    }
};

Fixture& Data()
{
    static Fixture f;
    return f;
}

void BM_FilterRead(benchmark::State& s)
{
    StitchList l;
    for (auto _ : s) {
        CDst f;
        long max = f.GetMaxNoStitches(Data().path.c_str());
        l.Clear();
        l.Reserve(max + 16);
        CDst g;
        g.ImportFile(Data().path.c_str(), &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data());
    }
    s.SetItemsProcessed((int64_t)s.iterations() * kStitches);
}

void BM_ObjectRead(benchmark::State& s)
{
    for (auto _ : s) {
        CExpObject d;
        if (!d.ReadObject(Data().path.c_str(), 0, nullptr)) s.SkipWithError("read failed");
    }
    s.SetItemsProcessed((int64_t)s.iterations() * kStitches);
}

void BM_FilterWrite(benchmark::State& s)
{
    CExpObject d;
    d.ReadObject(Data().path.c_str(), 0, nullptr);
    for (auto _ : s) {
        CDst f;
        f.ExportFile(Data().out.c_str(), d.m_nColors, d.m_Colors, d.m_nStitches, d.m_pPoints, d.m_pTypes);
    }
    s.SetItemsProcessed((int64_t)s.iterations() * kStitches);
}

void BM_ObjectWrite(benchmark::State& s)
{
    CExpObject d;
    d.ReadObject(Data().path.c_str(), 0, nullptr);
    for (auto _ : s)
        if (!d.WriteObject(Data().out.c_str(), nullptr)) s.SkipWithError("write failed");
    s.SetItemsProcessed((int64_t)s.iterations() * kStitches);
}

void BM_Draw(benchmark::State& s)
{
    CExpObject d;
    d.ReadObject(Data().path.c_str(), 0, nullptr);
    GetSetup()->m_bStitchPoints = (int)s.range(0);
    CRasterDC dc(1000, 1000);
    for (auto _ : s) {
        RenderDesign(d, dc);
        benchmark::DoNotOptimize(dc.Bits());
    }
    GetSetup()->m_bStitchPoints = 0;
    s.SetItemsProcessed((int64_t)s.iterations() * kStitches);
}

} // namespace

BENCHMARK(BM_FilterRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ObjectRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ObjectWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Draw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
