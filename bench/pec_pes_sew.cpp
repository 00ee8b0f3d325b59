// PEC, PES and SEW import and export of 100 000 stitches, from disk (PEC and PES as the
// part set they split into) and from memory, beside a plain read and copy of the same
// bytes; and the thumbnails' share of the export time, measured by drawing the icons each
// exporter draws for the design.
#include "bench_common.h"
#include "core/part_set.h"
#include "formats/pe_codec.h"

#include <chrono>
#include <functional>
#include <memory>

namespace {

constexpr long kStitches = 100000;

StitchList Design()
{
    StitchList l = benchutil::MakeDesign(kStitches);
    // Within the SEW field (61 x 44 mm each way) as well as the 100 mm hoop.
    for (auto& p : l.points) p.y = p.y * 85 / 100;
    return l;
}

// The icons an exporter draws for the design, without writing a file.
void PecThumbnails(const StitchList& l)
{
    CEmbIcon icon;
    icon.Create(40, 34);
    icon.SetScale(1000, 1000);
    icon.MoveTo(-(l.points[0].x / 10), -(l.points[0].y / 10));
    for (long i = 0; i < l.nStitches; ++i) icon.LineTo(-(l.points[(size_t)i].x / 10), -(l.points[(size_t)i].y / 10));
    std::vector<unsigned char> rows;
    pec::AppendThumbnail(rows, icon);
    benchmark::DoNotOptimize(rows.data());
}

void PesThumbnails(const StitchList& l)
{
    CPes::Extents e = CPes::MeasureExtents(l.nStitches, l.points.data());
    CEmbIcon icon;
    std::vector<unsigned char> rows;
    auto draw = [&](long first, long end) {
        icon.Create(40, 34);
        icon.SetScale(e.Width(), e.Height());
        icon.MoveTo(-(l.points[(size_t)first].x / 10), -(l.points[(size_t)first].y / 10));
        for (long i = first + 1; i < end; ++i) icon.LineTo(-(l.points[(size_t)i].x / 10), -(l.points[(size_t)i].y / 10));
        pec::AppendThumbnail(rows, icon);
    };
    draw(0, l.nStitches);
    for (int k = 0; k < l.nColors; ++k)
        draw(BlockStart(l.colors.data(), l.nColors, k, l.nStitches), BlockEnd(l.colors.data(), l.nColors, k, l.nStitches));
    benchmark::DoNotOptimize(rows.data());
}

void SewThumbnails(const StitchList& l)
{
    CEmbIcon design, small, medium, blockSmall[12], blockMedium[12];
    design.Create(120, 88);
    design.SetScale(1200, 880);
    small.Create(48, 32);
    medium.Create(64, 48);
    small.SetScale(1220, 880);
    medium.SetScale(1220, 880);
    for (int k = 0; k < 12; ++k) {
        blockSmall[k].Create(24, 22);
        blockMedium[k].Create(64, 48);
        blockSmall[k].SetScale(1220, 880);
        blockMedium[k].SetScale(1220, 880);
    }
    ColorBlockWalk walk(l.nColors, l.colors.data());
    for (long i = 0; i < l.nStitches; ++i) {
        walk.NextBlockAt(i);
        int k = walk.Block() % 12, x = l.points[(size_t)i].x / 10, y = l.points[(size_t)i].y / 10;
        for (CEmbIcon* icon : {&design, &small, &medium, &blockSmall[k], &blockMedium[k]}) icon->LineTo(x, y);
    }
    benchmark::DoNotOptimize(design.GetIconLine(0));
}

template <class T> double SecondsPer(int reps, const std::function<void()>& f)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int r = 0; r < reps; ++r) f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / reps;
}

template <class T>
void Register(const std::string& name, const std::string& ext, void (*thumbnails)(const StitchList&))
{
    auto design = std::make_shared<StitchList>(Design());
    std::string base = benchutil::TempPath(name + ext);
    benchutil::Quiet();
    // The files on disk, a set where the format splits, and the one-file copy in memory.
    StitchList& d = *design;
    {
        T f;
        f.ExportFile(base.c_str(), d.nColors, d.colors.data(), d.nStitches, d.points.data(), d.types.data());
    }
    auto files = std::make_shared<std::vector<std::string>>();
    if (std::FILE* f = std::fopen(base.c_str(), "rb")) {
        std::fclose(f);
        files->push_back(base);
    }
    for (int k = 0; files->empty() || k < 26; ++k) {
        std::string part = partset::PartName(base.c_str(), k);
        std::FILE* f = std::fopen(part.c_str(), "rb");
        if (!f) break;
        std::fclose(f);
        files->push_back(part);
    }
    std::string readName = files->size() == 1 ? base : partset::PartName(base.c_str(), 0);
    if (files->size() > 1) readName[readName.size() - 5] = 'a';
    auto bytes = std::make_shared<std::vector<unsigned char>>();
    for (const auto& f : *files) {
        std::vector<unsigned char> b = benchutil::Slurp(f);
        bytes->insert(bytes->end(), b.begin(), b.end());
    }
    auto memory = std::make_shared<CMemFile>(1 << 20);
    {
        T f;
        f.m_pFile = memory.get();
        f.ExportFile(("mem" + ext).c_str(), d.nColors, d.colors.data(), d.nStitches,
                     d.points.data(), d.types.data());
    }
    auto counters = [bytes](benchmark::State& s) {
        s.SetItemsProcessed((int64_t)s.iterations() * kStitches);
        s.SetBytesProcessed((int64_t)s.iterations() * (int64_t)bytes->size());
    };
    std::string tag = name + "/" + std::to_string(kStitches) + (files->size() > 1 ? "/set-of-" + std::to_string(files->size()) : "");
    auto import = [=](benchmark::State& s, bool fromMemory) {
        benchutil::Quiet();
        StitchList l;
        for (auto _ : s) {
            T f;
            if (fromMemory) f.m_pFile = memory.get();
            long max = f.GetMaxNoStitches(readName.c_str());
            l.Clear();
            l.Reserve(max + 16);
            T g;
            if (fromMemory) g.m_pFile = memory.get();
            if (!g.ImportFile(readName.c_str(), &l.nColors, l.colors.data(), &l.nStitches, l.points.data(),
                              l.types.data()))
                s.SkipWithError("import failed");
        }
        counters(s);
    };
    auto exportTo = [=](benchmark::State& s, bool toMemory) {
        benchutil::Quiet();
        StitchList l = *design;
        std::string out = base + ".out" + ext;
        for (auto _ : s) {
            CMemFile mem(1 << 20);
            T f;
            if (toMemory) f.m_pFile = &mem;
            if (!f.ExportFile(out.c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(), l.types.data()))
                s.SkipWithError("export failed");
        }
        counters(s);
        for (int k = 0; k < 26; ++k) std::remove(partset::PartName(out.c_str(), k).c_str());
        std::remove(out.c_str());
    };
    benchmark::RegisterBenchmark((tag + "/import/disk").c_str(), [=](benchmark::State& s) { import(s, false); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/import/memory").c_str(), [=](benchmark::State& s) { import(s, true); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/plain-read/disk").c_str(), [=](benchmark::State& s) {
        for (auto _ : s)
            for (const auto& f : *files) benchmark::DoNotOptimize(benchutil::Slurp(f).size());
        counters(s);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/export/disk").c_str(), [=](benchmark::State& s) { exportTo(s, false); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/export/memory").c_str(), [=](benchmark::State& s) { exportTo(s, true); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/plain-copy/memory").c_str(), [=](benchmark::State& s) {
        for (auto _ : s) {
            std::vector<unsigned char> copy(*bytes);
            benchmark::DoNotOptimize(copy.data());
        }
        counters(s);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/thumbnails-only").c_str(), [=](benchmark::State& s) {
        for (auto _ : s) thumbnails(*design);
        s.SetItemsProcessed((int64_t)s.iterations() * kStitches);
        // The share of an export to memory that drawing the thumbnails takes.
        double draw = SecondsPer<T>(5, [&] { thumbnails(*design); });
        double whole = SecondsPer<T>(5, [&] {
            CMemFile mem(1 << 20);
            T f;
            f.m_pFile = &mem;
            StitchList& l = *design;
            f.ExportFile(("m" + ext).c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(), l.types.data());
        });
        s.counters["share_of_export_%"] = 100.0 * draw / whole;
    })->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv)
{
    Register<CPec>("pec", ".pec", &PecThumbnails);
    Register<CPes>("pes", ".pes", &PesThumbnails);
    Register<CSew>("sew", ".sew", &SewThumbnails);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const char* ext : {".pec", ".pes", ".sew"}) {
        std::string base = benchutil::TempPath(std::string(ext + 1) + ext);
        std::remove(base.c_str());
        for (int k = 0; k < 26; ++k) std::remove(partset::PartName(base.c_str(), k).c_str());
    }
    return 0;
}
