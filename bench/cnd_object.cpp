// The condensed design's archive form: storing and loading a design of many elements
// (with its rendered design) in memory, beside a plain copy of the same bytes.
#include "bench_common.h"

#include <cstring>
#include <map>

namespace {

// Runs of 20 points, satin columns of 10 segments and small fills in turn, with a colour
// change every 100 elements, and a rendered design of nStitches stitches.
std::unique_ptr<CCndObject> MakeCondensed(int nElements, long nStitches)
{
    auto d = std::make_unique<CCndObject>();
    uint32_t seed = 777;
    auto rnd = [&] { return seed = seed * 1103515245u + 12345u, (int)((seed >> 16) & 0x7FFF) - 16384; };
    for (int i = 0; i < nElements; ++i) {
        if (i % 100 == 99) {
            d->AppendElement(new CColorChange((short)(i / 100 % 189), 0));
            continue;
        }
        switch (i % 3) {
        case 0: {
            auto* r = new CRunStitch;
            for (int k = 0; k < 20; ++k) r->AddPoint(tagPOINT{rnd(), rnd()}, k % 5 == 2, 380);
            d->AppendElement(r);
            break;
        }
        case 1: {
            auto* s = new CSatinStitch;
            s->SetCapacity(10);
            for (int k = 0; k < 10; ++k) {
                s->m_Densities[(size_t)k] = 40;
                s->m_StartA[(size_t)k] = tagPOINT{rnd(), rnd()};
                s->m_StartB[(size_t)k] = tagPOINT{rnd(), rnd()};
                s->m_EndA[(size_t)k] = tagPOINT{rnd(), rnd()};
                s->m_EndB[(size_t)k] = tagPOINT{rnd(), rnd()};
            }
            s->m_nSegments = 10;
            d->AppendElement(s);
            break;
        }
        default: {
            auto* f = new CFillStitch;
            for (auto& p : f->m_Frame) p = tagPOINT{rnd(), rnd()};
            for (int k = 0; k < 8; ++k) {
                f->AddMod23Pt(rnd(), rnd());
                f->AddMod41Pt(rnd(), rnd());
            }
            d->AppendElement(f);
            break;
        }
        }
    }
    for (long i = 0; i < nStitches; ++i) d->AddStitches(rnd(), rnd(), SpecStNormal);
    return d;
}

std::vector<uint8_t> StoreBytes(CCndObject& d)
{
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        d.Serialize(ar);
        ar.Close();
    }
    return std::vector<uint8_t>(mem.Data(), mem.Data() + mem.GetLength());
}

struct Fixture {
    std::unique_ptr<CCndObject> design;
    std::vector<uint8_t> bytes;
    explicit Fixture(int nElements)
    {
        benchutil::Quiet();
        design = MakeCondensed(nElements, nElements * 10L);
        bytes = StoreBytes(*design);
    }
};

Fixture& Data(int nElements)
{
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto& f = fixtures[nElements];
    if (!f) f = std::make_unique<Fixture>(nElements);
    return *f;
}

void BM_Store(benchmark::State& s)
{
    Fixture& f = Data((int)s.range(0));
    for (auto _ : s) {
        CMemFile mem;
        CArchive ar(&mem, CArchive::store);
        f.design->Serialize(ar);
        ar.Close();
        benchmark::DoNotOptimize(mem.GetLength());
    }
    s.SetBytesProcessed((int64_t)s.iterations() * (int64_t)f.bytes.size());
    s.SetItemsProcessed((int64_t)s.iterations() * s.range(0));
}

void BM_Load(benchmark::State& s)
{
    Fixture& f = Data((int)s.range(0));
    for (auto _ : s) {
        CMemFile mem;
        mem.Attach(f.bytes.data(), (UINT)f.bytes.size(), 0);
        CArchive ar(&mem, CArchive::load);
        std::unique_ptr<CEmbObject> d(CEmbObject::LoadObject(ar));
        if (!d) s.SkipWithError("load failed");
        mem.Detach();
    }
    s.SetBytesProcessed((int64_t)s.iterations() * (int64_t)f.bytes.size());
    s.SetItemsProcessed((int64_t)s.iterations() * s.range(0));
}

// The floor: copying the archive's bytes once.
void BM_PlainCopy(benchmark::State& s)
{
    Fixture& f = Data((int)s.range(0));
    std::vector<uint8_t> out(f.bytes.size());
    for (auto _ : s) {
        std::memcpy(out.data(), f.bytes.data(), f.bytes.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    s.SetBytesProcessed((int64_t)s.iterations() * (int64_t)f.bytes.size());
    s.SetItemsProcessed((int64_t)s.iterations() * s.range(0));
}

} // namespace

BENCHMARK(BM_Store)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
