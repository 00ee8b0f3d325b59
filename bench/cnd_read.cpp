// Reading condensed CND files: 100 000 elements read into a condensed design beside a plain
// read of the same bytes; and the whole program converting a condensed design of about a
// million stitches to DST beside converting the same stitches from EXP.
#include "bench_common.h"

#include "design/cnd.h"
#include "design/cnd_object.h"
#include "design/cnd_records.h"

#include <cstdlib>
#include <sys/wait.h>

namespace {

using namespace cndrec;

// A mix of short runs, two-segment satin columns, small fills and trims, spread over
// +-50 mm: four elements per group.
CndWriter MixedElements(int groups)
{
    CndWriter w;
    uint32_t seed = 4321;
    auto rnd = [&](int n) { return seed = seed * 1103515245u + 12345u, (int)((seed >> 16) % (uint32_t)n); };
    for (int g = 0; g < groups; ++g) {
        int x = rnd(8000) - 4000, y = rnd(8000) - 4000;
        w.Point(kRunPoint, x, y).Point(kRunPoint, x + 300, y + 200).Point(kRunPoint, x + 600, y);
        w.Point(kRailPoint, x + 600, y + 400);
        w.Point(kRailPoint, x + 900, y).Point(kRailPoint, x + 900, y + 400);
        w.Point(kRailPoint, x + 1200, y).Point(kRailPoint, x + 1200, y + 400);
        w.FillType(1 + g % 8, 42);
        w.Point(kRunPoint, x, y - 900).Point(kRunPoint, x + 800, y - 900);
        w.Point(kRunPoint, x + 800, y - 300).Point(kRunPoint, x, y - 300);
        w.Point(kRailPoint, 0, 0).Point(kRunPoint, x + 900, y - 600);
        w.Point(kRailPoint, 0, 0).Point(kRailPoint, 0, 0).Point(kRunPoint, x - 100, y - 600);
        w.Point(kArcPoint, 0, 0);
        w.Trim();
    }
    return w;
}

// Large fills and long satin columns in a few colours: a design that renders to about a
// million stitches.
CndWriter BigDesign()
{
    CndWriter w;
    for (int block = 0; block < 10; ++block) {
        if (block) w.ColorChange();
        for (int k = 0; k < 25; ++k) {
            int y = -4000 + k * 300;
            w.FillType(1 + k % 8, 30);
            w.Point(kRunPoint, -4000, y).Point(kRunPoint, 4000, y);
            w.Point(kRunPoint, 4000, y + 2500).Point(kRunPoint, -4000, y + 2500);
            w.Point(kArcPoint, 0, 0);
            w.SatinDensity(30);
            w.Point(kRunPoint, -4000, y).Point(kRailPoint, -4000, y + 300);
            for (int x = -3000; x <= 4000; x += 1000) w.Point(kRailPoint, x, y).Point(kRailPoint, x, y + 300);
            w.RunLength(120);
            w.Point(kRunPoint, -4000, y).Point(kRunPoint, 4000, y + 2000).Point(kRunPoint, -4000, y + 2500);
        }
    }
    return w;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

struct Fixture {
    static constexpr int kGroups = 25000;
    std::string path = benchutil::TempPath("elements.cnd");
    std::string big = benchutil::TempPath("big.cnd");
    std::string bigExp = benchutil::TempPath("big.exp");
    std::string out = benchutil::TempPath("big-out.dst");
    std::vector<uint8_t> bytes;
    int elements = 0;
    long bigStitches = 0;
    Fixture()
    {
        benchutil::Quiet();
        bytes = MixedElements(kGroups).Cnd();
        WriteFile(path, bytes);
        CCndObject d;
        CCnd reader;
        reader.ImportFile(path.c_str(), &d);
        elements = d.GetElementCount();
        WriteFile(big, BigDesign().Cnd());
        CCndObject b;
        b.ReadObject(big.c_str(), 0, nullptr);
        bigStitches = b.GetNoStitches();
        b.WriteObject(bigExp.c_str(), nullptr);
    }
    ~Fixture()
    {
        for (const std::string* p : {&path, &big, &bigExp, &out}) std::remove(p->c_str());
    }
};

Fixture& Data()
{
    static Fixture f;
    return f;
}

void Counters(benchmark::State& s, int64_t items, size_t bytes)
{
    s.SetItemsProcessed((int64_t)s.iterations() * items);
    s.SetBytesProcessed((int64_t)s.iterations() * (int64_t)bytes);
}

void BM_CndRead(benchmark::State& s)
{
    bool fromMemory = s.range(0) != 0;
    CMemFile mem;
    mem.Write(Data().bytes.data(), (UINT)Data().bytes.size());
    for (auto _ : s) {
        CCndObject d;
        CCnd reader;
        if (fromMemory) reader.m_pFile = &mem;
        if (!reader.ImportFile(Data().path.c_str(), &d)) s.SkipWithError("read failed");
        benchmark::DoNotOptimize(d.GetElementCount());
    }
    s.counters["elements"] = Data().elements;
    Counters(s, Data().elements, Data().bytes.size());
}

void BM_PlainRead(benchmark::State& s)
{
    std::vector<unsigned char> buf(Data().bytes.size() + 1);
    for (auto _ : s) {
        int fd = open(Data().path.c_str(), O_RDONLY);
        ssize_t got = read(fd, buf.data(), buf.size());
        close(fd);
        benchmark::DoNotOptimize(got);
    }
    Counters(s, Data().elements, Data().bytes.size());
}

// The whole program, as a user runs it: the command-line program beside this benchmark.
std::string Cli()
{
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "";
    std::string dir(self, (size_t)n);
    return dir.substr(0, dir.rfind('/')) + "/kwfilter";
}

void BM_ProcessConvert(benchmark::State& s, bool condensed)
{
    std::string cli = Cli();
    if (access(cli.c_str(), X_OK) != 0) {
        s.SkipWithError("the command-line program is not beside the benchmark");
        return;
    }
    std::string in = condensed ? Data().big : Data().bigExp;
    std::string command = "'" + cli + "' convert '" + in + "' '" + Data().out + "' >/dev/null 2>&1";
    for (auto _ : s)
        if (std::system(command.c_str()) != 0) s.SkipWithError("convert failed");
    s.counters["stitches"] = (double)Data().bigStitches;
    s.SetItemsProcessed((int64_t)s.iterations() * Data().bigStitches);
}

void BM_ConvertCndToDst(benchmark::State& s) { BM_ProcessConvert(s, true); }
void BM_ConvertExpToDst(benchmark::State& s) { BM_ProcessConvert(s, false); }

} // namespace

BENCHMARK(BM_CndRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertCndToDst)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertExpToDst)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
