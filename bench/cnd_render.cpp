// Stitch generation of condensed designs: runs (with arcs), satin columns (with arc
// segments) and fills of about a million stitches each, and a mixed design, in stitches per
// second, beside writing the same stitches to an EXP memory file.
#include "bench_common.h"

#include "design/cnd_object.h"
#include "design/emb_data.h"

#include <functional>
#include <memory>

namespace {

constexpr long kTarget = 1000000;

struct Walk {
    uint32_t seed = 4711;
    int Next(int range) { return seed = seed * 1103515245u + 12345u, (int)((seed >> 16) % (uint32_t)range); }
    // Keeps a coordinate inside +-50 mm.
    static int Fold(int v) { return v > 5000 ? 10000 - v : v < -5000 ? -10000 - v : v; }
};

// Appends elements made by add() until the design renders at least kTarget stitches.
using Adder = std::function<void(CCndObject&, Walk&)>;

std::unique_ptr<CCndObject> Build(const Adder& add)
{
    auto d = std::make_unique<CCndObject>();
    Walk w;
    for (;;) {
        for (int i = 0; i < 100; ++i) add(*d, w);
        d->RendorStitches(0);
        if (d->GetNoStitches() >= kTarget) return d;
    }
}

void AddRun(CCndObject& d, Walk& w)
{
    auto* run = new CRunStitch();
    int x = w.Next(8000) - 4000, y = w.Next(8000) - 4000;
    for (int i = 0; i < 50; ++i) {
        x = Walk::Fold(x + w.Next(2001) - 1000);
        y = Walk::Fold(y + w.Next(2001) - 1000);
        // Every fourth point is the middle of an arc through its neighbours.
        run->AddPoint(tagPOINT{x, y}, i % 4 == 2 ? 1 : 0, 250);
    }
    d.AppendElement(run);
}

void AddSatin(CCndObject& d, Walk& w)
{
    auto* satin = new CSatinStitch();
    const int n = 40;
    satin->SetCapacity(n);
    satin->m_nSegments = n;
    int x = w.Next(8000) - 4000, y = w.Next(6000) - 4000;
    tagPOINT a{x, y}, b{x, y + 300 + w.Next(400)};
    for (int i = 0; i < n; ++i) {
        size_t k = (size_t)i;
        tagPOINT ea{a.x + 200, a.y + w.Next(41) - 20}, eb{b.x + 200, ea.y + 300 + w.Next(400)};
        satin->m_StartA[k] = a;
        satin->m_StartB[k] = b;
        satin->m_EndA[k] = ea;
        satin->m_EndB[k] = eb;
        satin->m_Densities[k] = 420;
        // Every third segment bends through its middle pair.
        satin->m_ArcFlags[k] = i % 3 == 1;
        satin->m_MiddleA[k] = tagPOINT{a.x + 100, a.y + 40};
        satin->m_MiddleB[k] = tagPOINT{b.x + 100, b.y + 40};
        a = ea;
        b = eb;
    }
    d.AppendElement(satin);
}

void AddFill(CCndObject& d, Walk& w)
{
    auto* fill = new CFillStitch();
    int x = w.Next(6000) - 4000, y = w.Next(6000) - 4000, s = 1000 + w.Next(1000);
    fill->m_Frame[0] = fill->m_Frame[4] = tagPOINT{x, y};
    fill->m_Frame[1] = tagPOINT{x + s, y + w.Next(200)};
    fill->m_Frame[2] = tagPOINT{x + s, y + s};
    fill->m_Frame[3] = tagPOINT{x + w.Next(200), y + s};
    fill->AddMod23Pt(x + s + 150, y + s / 2);
    fill->AddMod41Pt(x - 150, y + s / 2);
    fill->m_nFillType = (int16_t)(1 + w.Next(8));
    d.AppendElement(fill);
}

void AddMixed(CCndObject& d, Walk& w)
{
    switch (w.Next(4)) {
    case 0: AddRun(d, w); break;
    case 1: AddSatin(d, w); break;
    case 2: AddFill(d, w); break;
    default: d.AppendElement(new CColorChange((short)w.Next(189), 0)); break;
    }
}

void Register(const std::string& name, const Adder& add)
{
    std::shared_ptr<CCndObject> design = Build(add);
    long n = design->GetNoStitches();
    std::string tag = "cnd-render/" + name + "/" + std::to_string(n);
    benchmark::RegisterBenchmark((tag + "/render").c_str(), [design, n](benchmark::State& s) {
        for (auto _ : s) {
            // A fresh design each time, so the rendered design grows from its first 10 000.
            s.PauseTiming();
            auto fresh = std::make_unique<CCndObject>();
            for (int i = 0; i < design->GetElementCount(); ++i) fresh->AppendElement(design->GetElement(i)->Copy());
            s.ResumeTiming();
            if (!fresh->RendorStitches(0)) s.SkipWithError("render failed");
            s.PauseTiming(); // freeing the elements is not rendering
            fresh.reset();
            s.ResumeTiming();
        }
        s.SetItemsProcessed((int64_t)s.iterations() * n);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/rerender").c_str(), [design, n](benchmark::State& s) {
        for (auto _ : s) design->RendorStitches(0);
        s.SetItemsProcessed((int64_t)s.iterations() * n);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/exp-export/memory").c_str(), [design, n](benchmark::State& s) {
        CExpObject* r = design->GetRenderedDesign();
        for (auto _ : s) {
            CMemFile mem(1 << 20);
            CExp f;
            f.m_pFile = &mem;
            if (!f.ExportFile("render.exp", r->m_nColors, r->m_Colors, r->m_nStitches, r->m_pPoints, r->m_pTypes))
                s.SkipWithError("export failed");
        }
        s.SetItemsProcessed((int64_t)s.iterations() * n);
    })->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv)
{
    benchutil::Quiet();
    GetSetup()->m_bCorastitch = 0;
    Register("runs", AddRun);
    Register("satins", AddSatin);
    Register("fills", AddFill);
    Register("mixed", AddMixed);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
