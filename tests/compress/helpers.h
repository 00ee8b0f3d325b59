// Shared helpers of the compression tests: running the engines over byte vectors, and
// writing expected streams field by field, most significant bit first.
#pragma once

#include "kwfilter.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct EngineRun {
    int status = 0;
    Bytes output;
    std::string detail;
};

inline EngineRun RunCompress(const Bytes& input, short level, short failUncompressible = 0)
{
    Bytes copy = input;
    ALMemory in("input", copy.data(), (long)copy.size());
    ALMemory out("output");
    ALGlCompressor engine(level, failUncompressible);
    EngineRun run;
    run.status = engine.Compress(in, out);
    run.detail = engine.mStatus.GetStatusDetail();
    run.output.assign(out.GetBuffer(), out.GetBuffer() + out.GetSize());
    return run;
}

inline EngineRun RunDecompress(const Bytes& input, short level, long compressedLength = -1)
{
    Bytes copy = input;
    ALMemory in("input", copy.data(), (long)copy.size());
    ALMemory out("output");
    ALGlDecompressor engine(level);
    EngineRun run;
    run.status = engine.Decompress(in, out, compressedLength);
    run.detail = engine.mStatus.GetStatusDetail();
    run.output.assign(out.GetBuffer(), out.GetBuffer() + out.GetSize());
    return run;
}

// A stream written as it is defined: fields of n bits, or runs of '0' and '1' (spaces are
// ignored). Finish() adds the seven zero bits that close a stream and keeps whole bytes.
class BitWriter {
public:
    BitWriter& Put(int n, unsigned value)
    {
        for (int i = n - 1; i >= 0; --i) Bit((value >> i) & 1);
        return *this;
    }
    BitWriter& Str(const char* bits)
    {
        for (; *bits; ++bits)
            if (*bits == '0' || *bits == '1') Bit(*bits == '1');
        return *this;
    }
    BitWriter& Repeat(const char* bits, int times)
    {
        for (int i = 0; i < times; ++i) Str(bits);
        return *this;
    }
    Bytes Finish()
    {
        Put(7, 0);
        return mBytes;
    }
    Bytes Raw() const
    {
        Bytes bytes = mBytes;
        if (mCount) bytes.push_back((uint8_t)(mHold << (8 - mCount)));
        return bytes;
    }

private:
    void Bit(unsigned b)
    {
        mHold = (mHold << 1) | b;
        if (++mCount == 8) {
            mBytes.push_back((uint8_t)mHold);
            mHold = 0;
            mCount = 0;
        }
    }
    Bytes mBytes;
    unsigned mHold = 0;
    int mCount = 0;
};

inline Bytes RandomBytes(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes bytes(n);
    for (auto& b : bytes) b = (uint8_t)rng();
    return bytes;
}

// Bytes shaped like a stitch file: three-byte records of small moves along a wandering
// path, with runs of equal stitches, colour-change records and a header of text.
inline Bytes StitchLikeBytes(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes bytes;
    bytes.reserve(n);
    const char header[] = "LA:DESIGN   \rST:  12345\rCO:  7\r+X:  512\r-X:  488\r";
    for (const char* c = header; *c; ++c) bytes.push_back((uint8_t)*c);
    int dx = 10, dy = 0;
    while (bytes.size() + 3 <= n) {
        uint32_t r = rng();
        if (r % 997 == 0) {
            for (uint8_t b : {0x00, 0x00, 0xC3}) bytes.push_back(b);
            continue;
        }
        if (r % 7 == 0) {
            dx = (int)((rng() % 41)) - 20;
            dy = (int)((rng() % 41)) - 20;
        }
        bytes.push_back((uint8_t)(dx & 0xFF));
        bytes.push_back((uint8_t)(dy & 0xFF));
        bytes.push_back((uint8_t)(0x03 | ((r >> 8) & 0x40)));
    }
    while (bytes.size() < n) bytes.push_back(0);
    return bytes;
}
