// Reading an archive of 1000 design files: listing its directory and extracting every member
// into memory, beside zlib's inflate of the same members alone (the floor for extraction, with
// and without the CRC-32 and the memory that extraction must produce), a plain read of the
// archive, and Info-ZIP's `unzip -p` of the same archive where installed.
#include "bench_common.h"

#include "../tests/archive/zip_builder.h"

#include <zlib.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kMembers = 1000;

struct Corpus {
    std::string path;
    ziptest::Bytes zip;
    std::vector<ziptest::Bytes> packed; // each member's deflate stream
    std::vector<size_t> sizes;          // and its size inflated
    size_t totalSize = 0;
};

// Designs of 1 000 to 9 000 stitches in seven formats, deflated as zip does.
const Corpus& TheCorpus()
{
    static const Corpus corpus = [] {
        benchutil::Quiet();
        Corpus c;
        ziptest::Archive archive;
        const char* exts[] = {".dst", ".exp", ".pes", ".pec", ".xxx", ".csd", ".hus"};
        for (int i = 0; i < kMembers; ++i) {
            std::string name = "design" + std::to_string(i) + exts[i % 7];
            StitchList l = benchutil::MakeDesign(1000 + (i * 7919) % 8000);
            auto filter = CreateFilterFor(name.c_str());
            CMemFile mem(1 << 16);
            filter->m_pFile = &mem;
            filter->m_nHoopWidth = filter->m_nHoopHeight = 200;
            if (!filter->ExportFile(name.c_str(), l.nColors, l.colors.data(), l.nStitches, l.points.data(),
                                    l.types.data())) {
                std::fprintf(stderr, "bench_zip: cannot write %s (error %d)\n", name.c_str(), GetSetup()->m_nLastError);
                std::abort();
            }
            ziptest::Bytes bytes(mem.Data(), mem.Data() + mem.GetLength());
            c.packed.push_back(ziptest::Deflate(bytes));
            c.sizes.push_back(bytes.size());
            c.totalSize += bytes.size();
            archive.members.emplace_back(name, std::move(bytes));
        }
        c.zip = ziptest::Build(archive);
        c.path = benchutil::TempPath("designs.zip");
        if (FILE* f = std::fopen(c.path.c_str(), "wb")) {
            std::fwrite(c.zip.data(), 1, c.zip.size(), f);
            std::fclose(f);
        }
        return c;
    }();
    return corpus;
}

void Counters(benchmark::State& s, size_t bytes)
{
    s.SetItemsProcessed((int64_t)s.iterations() * kMembers);
    s.SetBytesProcessed((int64_t)s.iterations() * (int64_t)bytes);
}

void BM_List(benchmark::State& s)
{
    const Corpus& c = TheCorpus();
    for (auto _ : s) {
        ALPkArchive archive(c.path.c_str());
        ALEntryList list;
        if (archive.ReadDirectory(list) != AL_SUCCESS || list.GetCount() != kMembers) s.SkipWithError("listing failed");
    }
    Counters(s, c.zip.size());
}

void BM_ExtractToMemory(benchmark::State& s)
{
    const Corpus& c = TheCorpus();
    for (auto _ : s) {
        ALPkArchive archive(c.path.c_str());
        ALEntryList list;
        archive.ReadDirectory(list);
        for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) e->SetStorage(new ALMemory(e->GetName()));
        if (archive.Extract(list) != AL_SUCCESS) s.SkipWithError(archive.mStatus.GetStatusDetail());
        benchmark::DoNotOptimize(list.GetFirstEntry()->GetStorage());
    }
    Counters(s, c.totalSize);
}

// The floor: zlib inflating the same members, already in memory, into one ready buffer; with
// withCrc also the CRC-32 that extraction checks; with newBuffers each member into a buffer
// of its own, kept to the end as extraction into memory keeps them.
void ZlibInflate(benchmark::State& s, bool withCrc, bool newBuffers)
{
    const Corpus& c = TheCorpus();
    std::vector<unsigned char> out(1 << 20);
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    for (auto _ : s) {
        std::vector<std::unique_ptr<unsigned char[]>> kept;
        for (size_t i = 0; i < c.packed.size(); ++i) {
            unsigned char* target = out.data();
            if (newBuffers) {
                kept.emplace_back(new unsigned char[c.sizes[i] + 1]);
                target = kept.back().get();
            }
            inflateReset(&z);
            z.next_in = const_cast<unsigned char*>(c.packed[i].data());
            z.avail_in = (uInt)c.packed[i].size();
            z.next_out = target;
            z.avail_out = (uInt)c.sizes[i] + 1;
            if (inflate(&z, Z_FINISH) != Z_STREAM_END || z.total_out != c.sizes[i]) s.SkipWithError("inflate failed");
            if (withCrc) benchmark::DoNotOptimize(crc32_z(0, target, c.sizes[i]));
        }
        benchmark::DoNotOptimize(out.data());
    }
    inflateEnd(&z);
    Counters(s, c.totalSize);
}

void BM_ZlibInflate(benchmark::State& s)
{
    ZlibInflate(s, false, false);
}

void BM_ZlibInflateCrc(benchmark::State& s)
{
    ZlibInflate(s, true, false);
}

void BM_ZlibInflateCrcNewBuffers(benchmark::State& s)
{
    ZlibInflate(s, true, true);
}

void BM_PlainRead(benchmark::State& s)
{
    const Corpus& c = TheCorpus();
    std::vector<unsigned char> buf(c.zip.size() + 1);
    for (auto _ : s) {
        int fd = open(c.path.c_str(), O_RDONLY);
        ssize_t got = read(fd, buf.data(), buf.size());
        close(fd);
        benchmark::DoNotOptimize(got);
    }
    Counters(s, c.zip.size());
}

// Info-ZIP's unzip writing every member to a pipe, as a process of its own.
void BM_UnzipP(benchmark::State& s)
{
    const Corpus& c = TheCorpus();
    if (std::system("command -v unzip >/dev/null 2>&1") != 0) {
        s.SkipWithError("unzip is not installed (scripts/install-deps installs it)");
        return;
    }
    std::string command = "unzip -p '" + c.path + "' > /dev/null";
    for (auto _ : s)
        if (std::system(command.c_str()) != 0) s.SkipWithError("unzip failed");
    Counters(s, c.totalSize);
}

BENCHMARK(BM_List)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflateCrc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflateCrcNewBuffers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnzipP)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (!std::getenv("KW_KEEP")) std::remove(TheCorpus().path.c_str());
    return 0;
}
