// The coder and decoder of the dictionary engine's stream; used by glcompressor.cpp only.
#pragma once

#include "compress/storage.h"

namespace glstream {

constexpr int kMinLevel = 0;
constexpr int kMaxLevel = 4;

struct EncodeResult {
    int status = AL_SUCCESS; // the coder's own status: 0 or an allocation failure
    bool stopped = false;    // the stream reached the input's size (fail-uncompressible only)
};

// Codes the input from its position to its end. inputSize is the number of bytes it holds,
// against which a stream is measured when failUncompressible is set.
EncodeResult Encode(ALStorage& input, ALStorage& output, int level, bool failUncompressible,
                    long inputSize, ALStatus& status);

// Decodes a stream of at most compressedLength bytes (-1: to the end of the input); returns
// 0 or the decoder's own status (a corrupt stream, an allocation failure).
int Decode(ALStorage& input, ALStorage& output, int level, long compressedLength, ALStatus& status);

} // namespace glstream
