// Compression engines as the archive library holds them: a compressor turns one storage
// into another and a decompressor turns it back; each keeps the status of its last call.
#pragma once

#include "compress/storage.h"

// Engine type arguments of Clone: the default engine and the dictionary engine.
enum ALEngineType { AL_ENGINE_DEFAULT = -1, AL_ENGINE_GL = 1 };

class ALCompressor {
public:
    virtual ~ALCompressor() = default;
    // Codes the input from its current position to its end into the output at its current
    // position; returns 0 or a negative status.
    virtual int Compress(ALStorage& input, ALStorage& output) = 0;
    // A new engine with the same settings, for the engine types it serves; else null.
    virtual ALCompressor* Clone(int engineType) const = 0;
    // The settings a caller stores beside a stream.
    virtual int WriteEngineData(ALStorage* storage) = 0;
    virtual int ReadEngineData(ALStorage* storage) = 0;

    ALStatus mStatus;
};

class ALDecompressor {
public:
    virtual ~ALDecompressor() = default;
    // A compressed length of -1 reads up to the end of the input.
    virtual int Decompress(ALStorage& input, ALStorage& output, long compressedLength = -1) = 0;
    virtual ALDecompressor* Clone(int engineType) const = 0;
    virtual int WriteEngineData(ALStorage* storage) = 0;
    virtual int ReadEngineData(ALStorage* storage) = 0;

    ALStatus mStatus;
};

inline void deleteALCompressor(ALCompressor* engine) { delete engine; }
inline void deleteALDecompressor(ALDecompressor* engine) { delete engine; }
