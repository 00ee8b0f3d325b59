// The dictionary compressor: a sliding window of 1 to 16 KB (level 0 to 4) whose literals,
// match lengths and match distances are Huffman coded, with codes built for each block.
// Level -1 stores the data as it is.
#pragma once

#include "compress/engine.h"

class ALGlCompressor : public ALCompressor {
public:
    // With failUncompressible set, a stream that would not be shorter than its input is
    // replaced by a stored copy, and the compressor stays at level -1 from then on.
    explicit ALGlCompressor(short level = 4, short failUncompressible = 0);

    int Compress(ALStorage& input, ALStorage& output) override;
    short CompressionLevel() const { return miCompressionLevel; }
    ALGlCompressor* Clone(int engineType) const override;
    int WriteEngineData(ALStorage* storage) override;
    int ReadEngineData(ALStorage* storage) override;

private:
    int StoredCopy(ALStorage& input, ALStorage& output, long inputStart, long outputStart);

    short miCompressionLevel;
    short miFailUncompressible;
};

class ALGlDecompressor : public ALDecompressor {
public:
    explicit ALGlDecompressor(short level = 4);

    int Decompress(ALStorage& input, ALStorage& output, long compressedLength = -1) override;
    short CompressionLevel() const { return miCompressionLevel; }
    ALGlDecompressor* Clone(int engineType) const override;
    int WriteEngineData(ALStorage* storage) override;
    int ReadEngineData(ALStorage* storage) override;

private:
    short miCompressionLevel;
};

// Creators of the plain-function interface; level -2 stands for the default, 4.
ALGlCompressor* newALGlCompressor(short level = -2, short failUncompressible = 0);
ALGlDecompressor* newALGlDecompressor(short level = -2);
