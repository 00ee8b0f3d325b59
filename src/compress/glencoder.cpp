#include "compress/glstream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace glstream {
namespace {

constexpr int kNumM = 511;         // literals 0-255, lengths 3-256 as 256-509, end 510
constexpr int kNumP = 15;          // distance classes: bit lengths 0-14
constexpr int kNumT = 19;          // code-length code
constexpr int kEndSymbol = 510;
constexpr int kLengthBias = 253;   // symbol = length + kLengthBias
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kChainLimit = 128;
constexpr int kHashSize = 4096;
constexpr uint16_t kNone = 0xFFFF;
constexpr int kMirror = 255;       // window bytes repeated behind its end
constexpr int kWindowSlack = 258;
constexpr int kCodeBufferSize = 8192;
constexpr int kBlockThreshold = 8162; // a new group of eight never overruns the code buffer
constexpr int kOutputSize = 512;
constexpr int kLookaheadPhaseOne = 260;

int BitLength(unsigned value)
{
    int bits = 0;
    while (value) {
        value >>= 1;
        ++bits;
    }
    return bits;
}

class GlEncoder {
public:
    GlEncoder(ALStorage& input, ALStorage& output, int level, bool failUncompressible, long inputSize)
        : mInput(input), mOutput(output), miWindow(1u << (level + 10)), miMask(miWindow - 1),
          mbFail(failUncompressible), mlInputSize(inputSize), mWindow(miWindow + kWindowSlack, 0),
          mLinks(miWindow + kHashSize, kNone), mBack(miWindow, kNone), mCodeBuffer(kCodeBufferSize)
    {
    }

    void Run();
    bool Stopped() const { return mbStop; }

private:
    struct Match {
        int length = 0;
        unsigned distance = 0;
    };

    // The chain heads sit behind the positions in mLinks, so that the link that points at a
    // position, a head or a next link alike, is one index.
    uint16_t& Head(unsigned hash) { return mLinks[miWindow + hash]; }
    unsigned Hash(unsigned p) const
    {
        return ((mWindow[p] & 0x0F) << 8) ^ (mWindow[p + 1] << 4) ^ mWindow[p + 2];
    }
    void Insert(unsigned p, unsigned hash);
    void Advance(unsigned& p, unsigned& hash) const
    {
        hash = ((hash & 0xFF) << 4) ^ mWindow[p + 3];
        p = (p + 1) & miMask;
    }
    void Store(unsigned& w, int c);
    Match LongestMatch(unsigned p, unsigned hash) const;

    void SendSymbol(unsigned symbol, unsigned distance);
    void SendBlock();
    int BuildCode(int n, uint32_t* freq, uint8_t* length, uint16_t* code);
    void SiftDown(int i, int heapSize, const uint32_t* freq);
    void CountLengths(int node, int n, int depth, uint16_t* count) const;
    void CountTFrequencies();
    void WriteShortLengths(int n, const uint8_t* length, int special);
    void WriteMLengths();
    void EncodeM(unsigned symbol) { PutBits(mLenM[symbol], mCodeM[symbol]); }
    void EncodeP(unsigned distance);

    void PutBits(int n, unsigned bits);
    void PutByte(unsigned byte)
    {
        mOutputBuffer[miOutputFill++] = (unsigned char)byte;
        if (miOutputFill == kOutputSize) FlushOutput();
    }
    void FlushOutput();

    ALStorage& mInput;
    ALStorage& mOutput;
    const unsigned miWindow;
    const unsigned miMask;
    const bool mbFail;
    const long mlInputSize;
    bool mbStop = false;

    std::vector<uint8_t> mWindow;
    std::vector<uint16_t> mLinks; // next link per position, then the heads
    std::vector<uint16_t> mBack;  // the link that points at each position
    std::vector<uint8_t> mCodeBuffer;
    int miCodeFill = 0;
    int miFlagPosition = 0;
    unsigned miFlagMask = 1;

    uint32_t mFreqM[2 * kNumM - 1] = {};
    uint32_t mFreqP[2 * kNumP - 1] = {};
    uint32_t mFreqT[2 * kNumT - 1] = {};
    uint8_t mLenM[kNumM] = {};
    uint8_t mLenP[kNumP] = {};
    uint8_t mLenT[kNumT] = {};
    uint16_t mCodeM[kNumM] = {};
    uint16_t mCodeP[kNumP] = {};
    uint16_t mCodeT[kNumT] = {};
    int mHeap[kNumM + 1] = {};
    int mLeaves[kNumM] = {};
    int mLeft[2 * kNumM - 1] = {};
    int mRight[2 * kNumM - 1] = {};

    uint32_t miBitHold = 0;
    int miBitCount = 0;
    unsigned char mOutputBuffer[kOutputSize];
    int miOutputFill = 0;
    long mlWritten = 0;
};

void GlEncoder::Insert(unsigned p, unsigned hash)
{
    uint16_t old = Head(hash);
    if (old != kNone) mBack[old] = (uint16_t)p;
    mBack[p] = (uint16_t)(miWindow + hash);
    mLinks[p] = old;
    Head(hash) = (uint16_t)p;
}

void GlEncoder::Store(unsigned& w, int c)
{
    mWindow[w] = (uint8_t)c;
    if (w < kMirror) mWindow[miWindow + w] = (uint8_t)c;
    // The position's old bytes are gone: nothing may reach it through a chain any more.
    if (mBack[w] != kNone) {
        mLinks[mBack[w]] = kNone;
        mBack[w] = kNone;
    }
    w = (w + 1) & miMask;
}

GlEncoder::Match GlEncoder::LongestMatch(unsigned p, unsigned hash) const
{
    Match best;
    const uint8_t* here = &mWindow[p];
    unsigned s = mLinks[miWindow + hash];
    for (int examined = 0; s != kNone && examined < kChainLimit; ++examined, s = mLinks[s]) {
        const uint8_t* there = &mWindow[s];
        if (here[best.length] != there[best.length] || here[0] != there[0] || here[1] != there[1] ||
            here[2] != there[2])
            continue;
        int count = kMinMatch;
        while (count < kMaxMatch && here[count] == there[count]) ++count;
        if (count > best.length) {
            long distance = (long)p - (long)s - 1;
            if (distance < 0) distance += miWindow;
            if (distance >= (long)miWindow) break;
            best.length = count;
            best.distance = (unsigned)distance;
            if (count >= kMaxMatch) break;
        }
    }
    return best;
}

void GlEncoder::Run()
{
    size_t n = mInput.ReadBuffer(mWindow.data(), miWindow);
    long remaining = (long)n;
    unsigned w = (unsigned)n & miMask;
    unsigned p = 0;
    unsigned hash = Hash(0);

    while (remaining > kLookaheadPhaseOne && !mbStop) {
        Match match = LongestMatch(p, hash);
        if (match.length < kMinMatch) {
            SendSymbol(mWindow[p], 0);
            Insert(p, hash);
            Advance(p, hash);
            --remaining;
        } else {
            SendSymbol(match.length + kLengthBias, match.distance);
            remaining -= match.length;
            for (int k = 0; k < match.length; ++k) {
                Insert(p, hash);
                Advance(p, hash);
            }
        }
        if (mOutput.mStatus < 0) return;
    }

    bool inputEnded = false;
    while (remaining < kMaxMatch) {
        int c = mInput.ReadChar();
        if (c < 0) {
            inputEnded = true;
            break;
        }
        Store(w, c);
        ++remaining;
    }

    while (remaining > 0) {
        if (mbStop) return;
        Match match = LongestMatch(p, hash);
        int length = (int)std::min<long>(match.length, remaining);
        if (length < kMinMatch) {
            SendSymbol(mWindow[p], 0);
            length = 1;
        } else {
            SendSymbol(length + kLengthBias, match.distance);
        }
        for (int k = 0; k < length; ++k) {
            if (!inputEnded) {
                int c = mInput.ReadChar();
                if (c >= 0) {
                    Store(w, c);
                    Insert(p, hash);
                    Advance(p, hash);
                    continue;
                }
                inputEnded = true;
            }
            Insert(p, hash);
            Advance(p, hash);
            --remaining;
        }
        if (mOutput.mStatus < 0) return;
    }

    if (mbStop) return;
    SendSymbol(kEndSymbol, 0);
    if (mbStop) return;
    SendBlock();
    if (mbStop) return;
    PutBits(7, 0);
    FlushOutput();
}

void GlEncoder::SendSymbol(unsigned symbol, unsigned distance)
{
    miFlagMask >>= 1;
    if (miFlagMask == 0) {
        miFlagMask = 0x80;
        if (miCodeFill >= kBlockThreshold) {
            SendBlock();
            if (mbStop) return;
            miCodeFill = 0;
        }
        miFlagPosition = miCodeFill;
        mCodeBuffer[miCodeFill++] = 0;
    }
    mCodeBuffer[miCodeFill++] = (uint8_t)symbol;
    ++mFreqM[symbol];
    if (symbol >= 256) {
        mCodeBuffer[miFlagPosition] |= (uint8_t)miFlagMask;
        mCodeBuffer[miCodeFill++] = (uint8_t)distance;
        mCodeBuffer[miCodeFill++] = (uint8_t)(distance >> 8);
        ++mFreqP[BitLength(distance)];
    }
}

void GlEncoder::SendBlock()
{
    int root = BuildCode(kNumM, mFreqM, mLenM, mCodeM);
    unsigned size = mFreqM[root];
    PutBits(16, size);
    if (root >= kNumM) {
        CountTFrequencies();
        int rootT = BuildCode(kNumT, mFreqT, mLenT, mCodeT);
        if (rootT >= kNumT) {
            WriteShortLengths(kNumT, mLenT, 3);
        } else {
            PutBits(5, 0);
            PutBits(5, (unsigned)rootT);
        }
        WriteMLengths();
    } else {
        PutBits(5, 0);
        PutBits(5, 0);
        PutBits(9, 0);
        PutBits(9, (unsigned)root);
    }
    int rootP = BuildCode(kNumP, mFreqP, mLenP, mCodeP);
    if (rootP >= kNumP) {
        WriteShortLengths(kNumP, mLenP, -1);
    } else {
        PutBits(5, 0);
        PutBits(5, (unsigned)rootP);
    }

    int position = 0;
    unsigned flags = 0;
    for (unsigned i = 0; i < size; ++i) {
        if (i % 8 == 0)
            flags = mCodeBuffer[position++];
        else
            flags <<= 1;
        if (flags & 0x80) {
            EncodeM(mCodeBuffer[position++] + 256u);
            unsigned distance = mCodeBuffer[position] | (mCodeBuffer[position + 1] << 8);
            position += 2;
            EncodeP(distance);
        } else {
            EncodeM(mCodeBuffer[position++]);
        }
        if (mbStop) return;
    }
    std::fill(mFreqM, mFreqM + kNumM, 0);
    std::fill(mFreqP, mFreqP + kNumP, 0);
}

void GlEncoder::SiftDown(int i, int heapSize, const uint32_t* freq)
{
    int k = mHeap[i];
    int j;
    while ((j = 2 * i) <= heapSize) {
        if (j < heapSize && freq[mHeap[j]] > freq[mHeap[j + 1]]) ++j;
        if (freq[k] <= freq[mHeap[j]]) break;
        mHeap[i] = mHeap[j];
        i = j;
    }
    mHeap[i] = k;
}

void GlEncoder::CountLengths(int node, int n, int depth, uint16_t* count) const
{
    if (node < n) {
        ++count[std::min(depth, 16)];
        return;
    }
    CountLengths(mLeft[node], n, depth + 1, count);
    CountLengths(mRight[node], n, depth + 1, count);
}

int GlEncoder::BuildCode(int n, uint32_t* freq, uint8_t* length, uint16_t* code)
{
    std::fill(length, length + n, 0);
    int heapSize = 0;
    mHeap[1] = 0;
    for (int i = 0; i < n; ++i)
        if (freq[i]) mHeap[++heapSize] = i;
    if (heapSize < 2) {
        code[mHeap[1]] = 0;
        return mHeap[1];
    }
    for (int i = heapSize / 2; i >= 1; --i) SiftDown(i, heapSize, freq);

    int leaves = 0;
    int next = n;
    int k = n;
    do {
        int i = mHeap[1];
        if (i < n) mLeaves[leaves++] = i;
        mHeap[1] = mHeap[heapSize--];
        SiftDown(1, heapSize, freq);
        int j = mHeap[1];
        if (j < n) mLeaves[leaves++] = j;
        k = next++;
        freq[k] = freq[i] + freq[j];
        mHeap[1] = k;
        SiftDown(1, heapSize, freq);
        mLeft[k] = i;
        mRight[k] = j;
    } while (heapSize > 1);
    int root = k;

    uint16_t count[17] = {};
    CountLengths(root, n, 0, count);
    // Leaves deeper than 16 were counted at 16; shorten the code back to a complete one by
    // moving codes down from the deepest shorter length.
    uint32_t total = 0;
    for (int len = 16; len >= 1; --len) total += (uint32_t)count[len] << (16 - len);
    for (; total > (1u << 16); --total) {
        --count[16];
        for (int len = 15; len > 0; --len)
            if (count[len]) {
                --count[len];
                count[len + 1] += 2;
                break;
            }
    }
    // The least frequent symbols came out of the heap first and get the longest codes.
    int leaf = 0;
    for (int len = 16; len >= 1; --len)
        for (int c = 0; c < count[len]; ++c) length[mLeaves[leaf++]] = (uint8_t)len;

    uint16_t start[18] = {};
    for (int len = 1; len <= 16; ++len) start[len + 1] = (uint16_t)((start[len] + count[len]) << 1);
    for (int i = 0; i < n; ++i)
        if (length[i]) code[i] = start[length[i]]++;
    return root;
}

void GlEncoder::CountTFrequencies()
{
    std::fill(mFreqT, mFreqT + kNumT, 0);
    int n = kNumM;
    while (n > 0 && mLenM[n - 1] == 0) --n;
    int i = 0;
    while (i < n) {
        int len = mLenM[i++];
        if (len) {
            ++mFreqT[len + 2];
            continue;
        }
        int run = 1;
        while (i < n && mLenM[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            mFreqT[0] += run;
        } else if (run <= 18) {
            ++mFreqT[1];
        } else if (run == 19) {
            ++mFreqT[0];
            ++mFreqT[1];
        } else {
            ++mFreqT[2];
        }
    }
}

void GlEncoder::WriteShortLengths(int n, const uint8_t* length, int special)
{
    while (n > 0 && length[n - 1] == 0) --n;
    PutBits(5, (unsigned)n);
    int i = 0;
    while (i < n) {
        int len = length[i++];
        if (len <= 6)
            PutBits(3, (unsigned)len);
        else
            PutBits(len - 3, 0xFFFEu); // 111, then len - 7 ones and a zero
        if (i == special) {
            while (i < 6 && length[i] == 0) ++i;
            PutBits(2, (unsigned)(i - 3) & 3);
        }
    }
}

void GlEncoder::WriteMLengths()
{
    int n = kNumM;
    while (n > 0 && mLenM[n - 1] == 0) --n;
    PutBits(9, (unsigned)n);
    int i = 0;
    while (i < n) {
        int len = mLenM[i++];
        if (len) {
            PutBits(mLenT[len + 2], mCodeT[len + 2]);
            continue;
        }
        int run = 1;
        while (i < n && mLenM[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            for (int k = 0; k < run; ++k) PutBits(mLenT[0], mCodeT[0]);
        } else if (run <= 18) {
            PutBits(mLenT[1], mCodeT[1]);
            PutBits(4, (unsigned)(run - 3));
        } else if (run == 19) {
            PutBits(mLenT[0], mCodeT[0]);
            PutBits(mLenT[1], mCodeT[1]);
            PutBits(4, 15);
        } else {
            PutBits(mLenT[2], mCodeT[2]);
            PutBits(9, (unsigned)(run - 20));
        }
    }
}

void GlEncoder::EncodeP(unsigned distance)
{
    int bits = BitLength(distance);
    PutBits(mLenP[bits], mCodeP[bits]);
    if (bits > 1) PutBits(bits - 1, distance);
}

void GlEncoder::PutBits(int n, unsigned bits)
{
    if (n == 0) return;
    miBitHold = (miBitHold << n) | (bits & ((1u << n) - 1));
    miBitCount += n;
    while (miBitCount >= 8) {
        miBitCount -= 8;
        PutByte((miBitHold >> miBitCount) & 0xFF);
    }
    miBitHold &= (1u << miBitCount) - 1;
}

void GlEncoder::FlushOutput()
{
    if (mbStop || miOutputFill == 0) {
        miOutputFill = 0;
        return;
    }
    if (mbFail) {
        mlWritten += miOutputFill;
        if (mlWritten >= mlInputSize) {
            mbStop = true;
            miOutputFill = 0;
            return;
        }
    }
    mOutput.WriteBuffer(mOutputBuffer, (size_t)miOutputFill);
    miOutputFill = 0;
}

} // namespace

EncodeResult Encode(ALStorage& input, ALStorage& output, int level, bool failUncompressible,
                    long inputSize, ALStatus& status)
{
    EncodeResult result;
    std::unique_ptr<GlEncoder> encoder;
    try {
        encoder = std::make_unique<GlEncoder>(input, output, level, failUncompressible, inputSize);
    } catch (const std::bad_alloc&) {
        result.status =
            status.SetError(AL_MEMORY_ALLOCATION_FAILURE, "Memory allocation failure in compression startup");
        return result;
    }
    encoder->Run();
    result.stopped = encoder->Stopped();
    return result;
}

} // namespace glstream
