// Benchmarks of designs that a format writes as a part set (base_A.ext, base_B.ext, ...):
// export of the set, import through its base_a.ext name, beside a plain read, write and
// copy of the same files' bytes.
#pragma once

#include "bench_common.h"
#include "core/part_set.h"

#include <memory>

namespace benchutil {

inline std::vector<std::string> SetMembers(const std::string& exportName)
{
    std::vector<std::string> members;
    for (int k = 0; k < partset::kMaxParts; ++k) {
        std::string m = partset::PartName(exportName.c_str(), k);
        if (FILE* f = std::fopen(m.c_str(), "rb")) {
            std::fclose(f);
            members.push_back(m);
        } else {
            break;
        }
    }
    return members;
}

template <class T> void RegisterSetFormat(const std::string& name, const std::string& ext, long n)
{
    std::string tag = name + "/" + std::to_string(n) + "/set";
    auto design = std::make_shared<StitchList>(MakeDesign(n));
    std::string path = TempPath(std::to_string(n) + "-set" + ext);
    std::string setName = TempPath(std::to_string(n) + "-set_a" + ext);
    {
        Quiet();
        T f;
        StitchList& l = *design;
        f.ExportFile(path.c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(), l.types.data());
    }
    auto files = std::make_shared<std::vector<std::vector<unsigned char>>>();
    size_t total = 0;
    for (const std::string& m : SetMembers(path)) {
        files->push_back(Slurp(m));
        total += files->back().size();
    }
    double parts = (double)files->size();
    auto counters = [n, total, parts](benchmark::State& s) {
        s.SetItemsProcessed((int64_t)s.iterations() * n);
        s.SetBytesProcessed((int64_t)s.iterations() * (int64_t)total);
        s.counters["parts"] = parts;
    };
    benchmark::RegisterBenchmark((tag + "/import/disk").c_str(), [=](benchmark::State& s) {
        Quiet();
        StitchList l;
        for (auto _ : s) {
            T f;
            long max = f.GetMaxNoStitches(setName.c_str());
            l.Clear();
            l.Reserve(max + 16);
            T g;
            if (!g.ImportFile(setName.c_str(), &l.nColors, l.colors.data(), &l.nStitches, l.points.data(),
                              l.types.data()) ||
                l.nStitches < n)
                s.SkipWithError("import failed");
            benchmark::DoNotOptimize(l.points.data());
        }
        counters(s);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/plain-read/disk").c_str(), [=](benchmark::State& s) {
        std::vector<unsigned char> buf(total + 1);
        std::vector<std::string> members = SetMembers(path);
        for (auto _ : s) {
            for (const std::string& m : members) {
                int fd = open(m.c_str(), O_RDONLY);
                ssize_t got = read(fd, buf.data(), buf.size());
                close(fd);
                benchmark::DoNotOptimize(got);
            }
        }
        counters(s);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/export/disk").c_str(), [=](benchmark::State& s) {
        Quiet();
        StitchList l = *design;
        std::string out = path + ".out" + ext;
        for (auto _ : s) {
            T f;
            if (!f.ExportFile(out.c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(), l.types.data()))
                s.SkipWithError("export failed");
        }
        counters(s);
        for (const std::string& m : SetMembers(out)) std::remove(m.c_str());
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/plain-write/disk").c_str(), [=](benchmark::State& s) {
        for (auto _ : s) {
            for (size_t k = 0; k < files->size(); ++k) {
                std::string out = path + ".plain" + std::to_string(k);
                int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                ssize_t put = write(fd, (*files)[k].data(), (*files)[k].size());
                close(fd);
                benchmark::DoNotOptimize(put);
            }
        }
        counters(s);
        for (size_t k = 0; k < files->size(); ++k) std::remove((path + ".plain" + std::to_string(k)).c_str());
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((tag + "/plain-copy/memory").c_str(), [=](benchmark::State& s) {
        for (auto _ : s) {
            for (const auto& f : *files) {
                std::vector<unsigned char> copy(f);
                benchmark::DoNotOptimize(copy.data());
            }
        }
        counters(s);
    })->Unit(benchmark::kMillisecond);
}

// Removes a set written by RegisterSetFormat.
inline void RemoveSet(const std::string& ext, long n)
{
    for (const std::string& m : SetMembers(TempPath(std::to_string(n) + "-set" + ext))) std::remove(m.c_str());
}

} // namespace benchutil
