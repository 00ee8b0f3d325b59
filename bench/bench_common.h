// Shared by the benchmarks: a stitch-like design of any size, and the import and export
// measurements of a filter beside a plain read, write or copy of the same bytes.
#pragma once

#include "kwfilter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace benchutil {

// A random walk of short stitches in a few colour blocks, with an occasional long move
// and trim, inside +-50 mm.
inline StitchList MakeDesign(long n, int blocks = 8)
{
    StitchList l;
    l.Reserve(n);
    l.nStitches = n;
    uint32_t seed = 12345;
    auto rnd = [&] { return seed = seed * 1103515245u + 12345u, (int)((seed >> 16) & 0x7FFF); };
    int32_t x = 0, y = 0;
    for (long i = 0; i < n; ++i) {
        bool longMove = rnd() % 500 == 0;
        int step = longMove ? 2000 : 300;
        x += rnd() % (2 * step + 1) - step;
        y += rnd() % (2 * step + 1) - step;
        if (x > 5000) x = 5000 - (x - 5000);
        if (x < -5000) x = -5000 - (x + 5000);
        if (y > 5000) y = 5000 - (y - 5000);
        if (y < -5000) y = -5000 - (y + 5000);
        l.points[(size_t)i] = tagPOINT{x, y};
        l.types[(size_t)i] = longMove ? 3 : 0;
    }
    for (int k = 0; k < blocks; ++k) {
        l.colors[(size_t)k] = COLORCHG{(int32_t)(n * k / blocks), (uint16_t)(k * 7 % 189), 0, 0};
        ++l.nColors;
    }
    WriteClosingRecord(l.colors.data(), l.nColors, l.nStitches);
    return l;
}

inline std::string TempPath(const std::string& name)
{
    return GetTempDirectory() + "/kwbench-" + std::to_string(getpid()) + "-" + name;
}

inline std::vector<unsigned char> Slurp(const std::string& path)
{
    std::vector<unsigned char> v;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        unsigned char buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) v.insert(v.end(), buf, buf + n);
        std::fclose(f);
    }
    return v;
}

inline void Quiet()
{
    GetSetup()->m_bShowMessages = 0;
    GetSetup()->m_strErrorLog.clear();
}

// Registers import and export from disk and from memory for filter T, and the plain
// read, write and copy of the same bytes, for each design size.
template <class T> void RegisterFormat(const std::string& name, const std::string& ext, std::vector<long> sizes)
{
    for (long n : sizes) {
        std::string tag = name + "/" + std::to_string(n);
        auto design = std::make_shared<StitchList>(MakeDesign(n));
        std::string path = TempPath(std::to_string(n) + ext);
        {
            Quiet();
            T f;
            StitchList& l = *design;
            f.m_nHoopWidth = f.m_nHoopHeight = 100;
            f.ExportFile(path.c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(), l.types.data());
        }
        auto bytes = std::make_shared<std::vector<unsigned char>>(Slurp(path));
        auto setCounters = [n, bytes](benchmark::State& s) {
            s.SetItemsProcessed((int64_t)s.iterations() * n);
            s.SetBytesProcessed((int64_t)s.iterations() * (int64_t)bytes->size());
        };
        auto import = [=](benchmark::State& s, bool fromMemory) {
            Quiet();
            StitchList l;
            CMemFile mem;
            mem.Write(bytes->data(), (UINT)bytes->size());
            for (auto _ : s) {
                T f;
                if (fromMemory) f.m_pFile = &mem;
                long max = f.GetMaxNoStitches(path.c_str());
                l.Clear();
                l.Reserve(max + 16);
                T g;
                if (fromMemory) g.m_pFile = &mem;
                if (!g.ImportFile(path.c_str(), &l.nColors, l.colors.data(), &l.nStitches, l.points.data(),
                                  l.types.data()))
                    s.SkipWithError("import failed");
                benchmark::DoNotOptimize(l.points.data());
            }
            setCounters(s);
        };
        auto exportTo = [=](benchmark::State& s, bool toMemory) {
            Quiet();
            StitchList l = *design;
            std::string out = path + ".out" + ext;
            for (auto _ : s) {
                CMemFile mem(1 << 20);
                T f;
                f.m_nHoopWidth = f.m_nHoopHeight = 100;
                if (toMemory) f.m_pFile = &mem;
                if (!f.ExportFile(out.c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(),
                                  l.types.data()))
                    s.SkipWithError("export failed");
            }
            setCounters(s);
            std::remove(out.c_str());
        };
        benchmark::RegisterBenchmark((tag + "/import/disk").c_str(), [=](benchmark::State& s) { import(s, false); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((tag + "/import/memory").c_str(), [=](benchmark::State& s) { import(s, true); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((tag + "/plain-read/disk").c_str(), [=](benchmark::State& s) {
            std::vector<unsigned char> buf(bytes->size() + 1);
            for (auto _ : s) {
                int fd = open(path.c_str(), O_RDONLY);
                ssize_t got = read(fd, buf.data(), buf.size());
                close(fd);
                benchmark::DoNotOptimize(got);
            }
            setCounters(s);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((tag + "/export/disk").c_str(), [=](benchmark::State& s) { exportTo(s, false); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((tag + "/export/memory").c_str(), [=](benchmark::State& s) { exportTo(s, true); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((tag + "/plain-write/disk").c_str(), [=](benchmark::State& s) {
            std::string out = path + ".plain";
            for (auto _ : s) {
                int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                ssize_t put = write(fd, bytes->data(), bytes->size());
                close(fd);
                benchmark::DoNotOptimize(put);
            }
            setCounters(s);
            std::remove(out.c_str());
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((tag + "/plain-copy/memory").c_str(), [=](benchmark::State& s) {
            for (auto _ : s) {
                std::vector<unsigned char> copy(*bytes);
                benchmark::DoNotOptimize(copy.data());
            }
            setCounters(s);
        })->Unit(benchmark::kMillisecond);
    }
}

// Removes the temporary files at exit.
inline void RemoveTemp(const std::string& ext, std::vector<long> sizes)
{
    for (long n : sizes) std::remove(TempPath(std::to_string(n) + ext).c_str());
}

} // namespace benchutil
