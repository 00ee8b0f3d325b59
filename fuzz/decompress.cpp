// Decodes any bytes as a stream. The first byte picks the level (-1 to 4) and whether a
// compressed length is given; the rest is the stream.
#include "kwfilter.h"
#include "sink.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    short level = (short)(data[0] % 6) - 1;
    std::vector<uint8_t> stream(data + 1, data + size);
    long length = -1;
    if (data[0] & 0x80) length = (long)(stream.size() * ((data[0] >> 3) & 0x0F) / 15);

    ALMemory in("stream", stream.data(), (long)stream.size());
    CountingSink out(4L << 20);
    ALGlDecompressor engine(level);
    int status = engine.Decompress(in, out, length);
    if (status != AL_SUCCESS && status != AL_INTERNAL_ERROR && status != AL_WRITE_ERROR) std::abort();
    if (status == AL_WRITE_ERROR && out.Written() < (4L << 20) - 16384) std::abort();
    return 0;
}
