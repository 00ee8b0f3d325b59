#include "compress/engine_support.h"

namespace alengine {

bool CopyBytes(ALStorage& input, ALStorage& output, long count)
{
    // Runs of at least a storage buffer pass straight between the media.
    constexpr size_t kChunk = 16384;
    unsigned char chunk[kChunk];
    while (count != 0) {
        size_t want = count < 0 || count > (long)kChunk ? kChunk : (size_t)count;
        size_t got = input.ReadBuffer(chunk, want);
        if (got == 0) break;
        if (output.WriteBuffer(chunk, got) != got) return false;
        if (count > 0) count -= (long)got;
    }
    return true;
}

} // namespace alengine
