// The engines of ZIP members: a copy for stored members and raw deflate (zlib, window 2^15,
// no zlib header) for deflated ones. A member's engine type comes from its method and flags.
#pragma once

#include "compress/engine.h"

// Stored members are type 100; deflated ones 108 to 111 by the speed the writer chose (all
// inflate alike); any other method m is type m + 100, for which no engine exists here.
enum ALPkEngineType {
    AL_PK_STORED = 100,
    AL_PK_DEFLATE_NORMAL = 108,
    AL_PK_DEFLATE_MAXIMUM = 109,
    AL_PK_DEFLATE_FAST = 110,
    AL_PK_DEFLATE_SUPER_FAST = 111,
};

int ALPkEngineTypeOf(int method, int flags);
// Whether the type is one that the ZIP engines serve (stored or deflate).
bool ALPkIsKnownType(int engineType);

class ALPkCopyCompressor : public ALCompressor {
public:
    int Compress(ALStorage& input, ALStorage& output) override;
    ALPkCopyCompressor* Clone(int engineType) const override;
    int WriteEngineData(ALStorage*) override { return AL_SUCCESS; }
    int ReadEngineData(ALStorage*) override { return AL_SUCCESS; }
};

class ALPkCopyDecompressor : public ALDecompressor {
public:
    int Decompress(ALStorage& input, ALStorage& output, long compressedLength = -1) override;
    ALPkCopyDecompressor* Clone(int engineType) const override;
    int WriteEngineData(ALStorage*) override { return AL_SUCCESS; }
    int ReadEngineData(ALStorage*) override { return AL_SUCCESS; }
};

// Deflates at the speed of its type: normal (zlib level 6), maximum (9), fast (2), super
// fast (1).
class ALPkCompressor : public ALCompressor {
public:
    explicit ALPkCompressor(int engineType = AL_PK_DEFLATE_NORMAL);
    int Compress(ALStorage& input, ALStorage& output) override;
    ALPkCompressor* Clone(int engineType) const override;
    int WriteEngineData(ALStorage*) override { return AL_SUCCESS; }
    int ReadEngineData(ALStorage*) override { return AL_SUCCESS; }
    int GetEngineType() const { return miEngineType; }

private:
    int miEngineType;
};

class ALPkDecompressor : public ALDecompressor {
public:
    int Decompress(ALStorage& input, ALStorage& output, long compressedLength = -1) override;
    ALPkDecompressor* Clone(int engineType) const override;
    int WriteEngineData(ALStorage*) override { return AL_SUCCESS; }
    int ReadEngineData(ALStorage*) override { return AL_SUCCESS; }
};
