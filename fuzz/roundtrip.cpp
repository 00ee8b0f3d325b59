// Compresses the bytes at a level and checks that they come back. The first byte picks the
// level (-1 to 4) and the fail-uncompressible flag.
#include "kwfilter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    short level = (short)(data[0] % 6) - 1;
    short flag = (data[0] & 0x80) ? 1 : 0;
    std::vector<uint8_t> input(data + 1, data + size);

    ALMemory source("source", input.data(), (long)input.size());
    ALMemory packed("packed");
    ALGlCompressor compressor(level, flag);
    if (compressor.Compress(source, packed) != AL_SUCCESS) std::abort();
    if (flag && level >= 0 && compressor.CompressionLevel() != -1 && packed.GetSize() >= (long)input.size())
        std::abort();

    ALMemory unpacked("unpacked");
    ALGlDecompressor decompressor(compressor.CompressionLevel());
    if (decompressor.Decompress(packed, unpacked) != AL_SUCCESS) std::abort();
    if (unpacked.GetSize() != (long)input.size()) std::abort();
    if (!input.empty() && std::memcmp(unpacked.GetBuffer(), input.data(), input.size()) != 0) std::abort();
    return 0;
}
