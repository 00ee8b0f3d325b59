// The dictionary engine's speed in MB/s of uncompressed data, at levels 0 and 4, on 10 MB of
// stitch-like bytes and of text, beside zlib's deflate and inflate of the same bytes.
#include "kwfilter.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
constexpr size_t kSize = 10u << 20;

Bytes StitchLike()
{
    std::mt19937 rng(1);
    Bytes bytes;
    bytes.reserve(kSize);
    int dx = 10, dy = 0;
    while (bytes.size() + 3 <= kSize) {
        uint32_t r = rng();
        if (r % 7 == 0) {
            dx = (int)(rng() % 41) - 20;
            dy = (int)(rng() % 41) - 20;
        }
        bytes.push_back((unsigned char)(dx & 0xFF));
        bytes.push_back((unsigned char)(dy & 0xFF));
        bytes.push_back((unsigned char)(0x03 | ((r >> 8) & 0x40)));
    }
    bytes.resize(kSize, 0);
    return bytes;
}

Bytes Text()
{
    static const char* words[] = {"the", "needle", "thread", "hoop", "stitch", "satin", "fill", "run",
                                  "colour", "design", "jump", "trim", "machine", "embroidery", "and",
                                  "of", "a", "with", "density", "pattern", "border", "letter"};
    std::mt19937 rng(2);
    std::string text;
    text.reserve(kSize + 64);
    while (text.size() < kSize) {
        text += words[rng() % (sizeof words / sizeof words[0])];
        text += (rng() % 12 == 0) ? ".\n" : " ";
    }
    text.resize(kSize);
    return Bytes(text.begin(), text.end());
}

const Bytes& Data(int kind)
{
    static const Bytes stitch = StitchLike();
    static const Bytes text = Text();
    return kind == 0 ? stitch : text;
}

Bytes Packed(int kind, int level)
{
    Bytes input = Data(kind);
    ALMemory in("in", input.data(), (long)input.size());
    ALMemory out("out");
    ALGlCompressor(level).Compress(in, out);
    return Bytes(out.GetBuffer(), out.GetBuffer() + out.GetSize());
}

void SetLabels(benchmark::State& state, int kind, size_t packedSize)
{
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)kSize);
    state.SetLabel(kind == 0 ? "stitch-like" : "text");
    state.counters["ratio"] = (double)packedSize / (double)kSize;
}

void BM_GlCompress(benchmark::State& state)
{
    int kind = (int)state.range(0), level = (int)state.range(1);
    Bytes input = Data(kind);
    Bytes output(kSize + kSize / 8 + 1024);
    long written = 0;
    for (auto _ : state) {
        ALMemory in("in", input.data(), (long)input.size());
        ALMemory out("out", output.data(), (long)output.size());
        out.Create(); // left open by Compress, so Tell() gives the stream's length
        ALGlCompressor engine((short)level);
        if (engine.Compress(in, out) != 0) state.SkipWithError(engine.mStatus.GetStatusDetail());
        written = out.Tell();
        benchmark::DoNotOptimize(output.data());
    }
    SetLabels(state, kind, (size_t)written);
}

void BM_GlDecompress(benchmark::State& state)
{
    int kind = (int)state.range(0), level = (int)state.range(1);
    Bytes packed = Packed(kind, level);
    Bytes output(kSize);
    for (auto _ : state) {
        ALMemory in("in", packed.data(), (long)packed.size());
        ALMemory out("out", output.data(), (long)output.size());
        ALGlDecompressor engine((short)level);
        if (engine.Decompress(in, out) != 0) state.SkipWithError(engine.mStatus.GetStatusDetail());
        benchmark::DoNotOptimize(output.data());
    }
    if (output != Data(kind)) state.SkipWithError("round trip differs");
    SetLabels(state, kind, packed.size());
}

void BM_ZlibDeflate(benchmark::State& state)
{
    int kind = (int)state.range(0);
    const Bytes& input = Data(kind);
    Bytes output(compressBound(kSize));
    uLongf size = 0;
    for (auto _ : state) {
        size = (uLongf)output.size();
        if (compress2(output.data(), &size, input.data(), (uLong)input.size(), Z_DEFAULT_COMPRESSION) != Z_OK)
            state.SkipWithError("deflate failed");
        benchmark::DoNotOptimize(output.data());
    }
    SetLabels(state, kind, size);
}

void BM_ZlibInflate(benchmark::State& state)
{
    int kind = (int)state.range(0);
    const Bytes& input = Data(kind);
    Bytes packed(compressBound(kSize));
    uLongf packedSize = (uLongf)packed.size();
    compress2(packed.data(), &packedSize, input.data(), (uLong)input.size(), Z_DEFAULT_COMPRESSION);
    Bytes output(kSize);
    for (auto _ : state) {
        uLongf size = (uLongf)output.size();
        if (uncompress(output.data(), &size, packed.data(), packedSize) != Z_OK)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(output.data());
    }
    SetLabels(state, kind, packedSize);
}

// The floor: a plain copy of the same bytes.
void BM_Copy(benchmark::State& state)
{
    int kind = (int)state.range(0);
    const Bytes& input = Data(kind);
    Bytes output(kSize);
    for (auto _ : state) {
        std::copy(input.begin(), input.end(), output.begin());
        benchmark::DoNotOptimize(output.data());
    }
    SetLabels(state, kind, kSize);
}

BENCHMARK(BM_GlCompress)->ArgsProduct({{0, 1}, {0, 4}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlDecompress)->ArgsProduct({{0, 1}, {0, 4}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
