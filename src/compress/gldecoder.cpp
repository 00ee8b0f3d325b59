#include "compress/glstream.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace glstream {
namespace {

constexpr int kNumM = 511;
constexpr int kNumP = 15;
constexpr int kNumT = 19;
constexpr int kEndSymbol = 510;
constexpr int kLengthBias = 253;
constexpr int kMaxMatch = 256;
constexpr int kMBits = 12;         // M codes up to 12 bits resolve in one lookup
constexpr int kPTBits = 8;         // P and T codes up to 8 bits
constexpr int kTreeNodes = 2 * kNumM - 1;
constexpr int kInputSize = 512;
constexpr int kEmptyReadLimit = 5;

const char kIncomplete[] = "Internal 1 error in Decompression routine";
const char kOverrun[] = "Internal 2 error in Decompression routine";
const char kBadLengths[] = "Corrupt code lengths in Decompression routine";

class GlDecoder {
public:
    GlDecoder(ALStorage& input, ALStorage& output, int level, long compressedLength, ALStatus& status)
        : mInput(input), mOutput(output), mStatus(status), miWindow(1u << (level + 10)),
          miMask(miWindow - 1), mlAllowed(compressedLength), mWindow(miWindow + 2, 0)
    {
    }

    void Run();

private:
    bool Fail(const char* detail)
    {
        mStatus.SetError(AL_INTERNAL_ERROR, "%s", detail);
        return false;
    }

    int NextByte();
    void DropBits(int n);
    unsigned GetBits(int n)
    {
        if (n == 0) return 0;
        unsigned bits = miBitBuffer >> (16 - n);
        DropBits(n);
        return bits;
    }

    bool ReadBlockHead();
    bool ReadShortLengths(int count, int special);
    bool ReadMLengths();
    bool MakeTable(int n, const uint8_t* length, int tableBits, uint16_t* table);
    // Walks the tree below a table entry with the bits after the table's, from `mask` down.
    unsigned WalkTree(unsigned node, unsigned limit, unsigned mask) const
    {
        while (node >= limit) {
            node = (miBitBuffer & mask) ? mRight[node] : mLeft[node];
            mask >>= 1;
        }
        return node;
    }
    // Returns the M symbol, or -1 after a corrupt block head.
    int DecodeM();
    unsigned DecodeP();
    bool WriteWindow(unsigned count)
    {
        return mOutput.WriteBuffer(mWindow.data(), count) == count;
    }

    ALStorage& mInput;
    ALStorage& mOutput;
    ALStatus& mStatus;
    const unsigned miWindow;
    const unsigned miMask;
    long mlAllowed; // bytes the input may still give; negative for no limit

    std::vector<uint8_t> mWindow;
    uint16_t mTableM[1 << kMBits] = {};
    uint16_t mTablePT[1 << kPTBits] = {};
    uint16_t mLeft[kTreeNodes] = {};
    uint16_t mRight[kTreeNodes] = {};
    uint8_t mLenM[kNumM] = {};
    uint8_t mLenPT[kNumT] = {};

    unsigned char mInputBuffer[kInputSize];
    size_t miInputPosition = 0;
    size_t miInputFill = 0;
    int miEmptyReads = 0;

    unsigned miBitBuffer = 0;  // the 16-bit window on the stream
    unsigned miSubBits = 0;    // the current byte
    int miSubCount = 0;        // its bits not yet in the window
    uint16_t miBlockSize = 0;
};

int GlDecoder::NextByte()
{
    if (miInputPosition < miInputFill) return mInputBuffer[miInputPosition++];
    size_t want = kInputSize;
    if (mlAllowed >= 0) want = (size_t)std::min<long>(mlAllowed, kInputSize);
    size_t got = want ? mInput.ReadBuffer(mInputBuffer, want) : 0;
    if (mlAllowed >= 0) mlAllowed -= (long)got;
    miInputPosition = 0;
    miInputFill = got;
    if (got == 0) {
        ++miEmptyReads;
        return 0;
    }
    return mInputBuffer[miInputPosition++];
}

void GlDecoder::DropBits(int n)
{
    while (n > 0) {
        if (miSubCount == 0) {
            miSubBits = (unsigned)NextByte();
            miSubCount = 8;
        }
        int take = std::min(n, miSubCount);
        miSubCount -= take;
        miBitBuffer = ((miBitBuffer << take) | ((miSubBits >> miSubCount) & ((1u << take) - 1))) & 0xFFFF;
        n -= take;
    }
}

bool GlDecoder::MakeTable(int n, const uint8_t* length, int tableBits, uint16_t* table)
{
    uint32_t count[17] = {};
    uint32_t start[18] = {};
    uint32_t weight[17] = {};
    for (int i = 0; i < n; ++i) ++count[length[i]];
    for (int len = 1; len <= 16; ++len) start[len + 1] = start[len] + (count[len] << (16 - len));
    // Only a complete code maps every table entry once; no lengths at all leave the table
    // empty, which decodes symbol 0 in no bits.
    if (start[17] != (1u << 16) && start[17] != 0) return Fail(kIncomplete);

    const int shift = 16 - tableBits;
    const uint32_t tableSize = 1u << tableBits;
    for (int len = 1; len <= tableBits; ++len) {
        start[len] >>= shift;
        weight[len] = 1u << (tableBits - len);
    }
    for (int len = tableBits + 1; len <= 16; ++len) weight[len] = 1u << (16 - len);
    for (uint32_t i = start[tableBits + 1] >> shift; i < tableSize; ++i) table[i] = 0;

    // A complete code of n symbols has n - 1 inner nodes; more can only come from a corrupt
    // code, and would reach the nodes of another table.
    const unsigned nodeLimit = 2u * (unsigned)n - 1;
    unsigned next = (unsigned)n;
    const uint32_t mask = 1u << (15 - tableBits);
    for (int symbol = 0; symbol < n; ++symbol) {
        int len = length[symbol];
        if (len == 0) continue;
        uint32_t end = start[len] + weight[len];
        if (len <= tableBits) {
            if (end > tableSize) return Fail(kOverrun);
            for (uint32_t i = start[len]; i < end; ++i) table[i] = (uint16_t)symbol;
        } else {
            uint32_t code = start[len];
            if ((code >> shift) >= tableSize) return Fail(kOverrun);
            uint16_t* slot = &table[code >> shift];
            for (int level = len - tableBits; level > 0; --level) {
                if (*slot == 0) {
                    if (next >= nodeLimit) return Fail(kOverrun);
                    mLeft[next] = mRight[next] = 0;
                    *slot = (uint16_t)next++;
                } else if (*slot < n) {
                    return Fail(kOverrun);
                }
                slot = (code & mask) ? &mRight[*slot] : &mLeft[*slot];
                code <<= 1;
            }
            if (*slot != 0) return Fail(kOverrun);
            *slot = (uint16_t)symbol;
        }
        start[len] = end;
    }
    return true;
}

bool GlDecoder::ReadShortLengths(int count, int special)
{
    unsigned n = GetBits(5);
    if (n == 0) {
        unsigned only = GetBits(5);
        if (only >= (unsigned)count) return Fail(kBadLengths);
        std::fill(mLenPT, mLenPT + count, 0);
        std::fill(mTablePT, mTablePT + (1 << kPTBits), (uint16_t)only);
        return true;
    }
    if (n > (unsigned)count) return Fail(kBadLengths);
    unsigned i = 0;
    while (i < n) {
        unsigned len = miBitBuffer >> 13;
        if (len == 7)
            for (unsigned mask = 1u << 12; miBitBuffer & mask; mask >>= 1) ++len;
        if (len > 16) return Fail(kBadLengths);
        DropBits(len < 7 ? 3 : (int)len - 3);
        mLenPT[i++] = (uint8_t)len;
        if ((int)i == special)
            for (unsigned zeros = GetBits(2); zeros > 0; --zeros) mLenPT[i++] = 0;
    }
    while (i < (unsigned)count) mLenPT[i++] = 0;
    return MakeTable(count, mLenPT, kPTBits, mTablePT);
}

bool GlDecoder::ReadMLengths()
{
    unsigned n = GetBits(9);
    if (n == 0) {
        unsigned only = GetBits(9);
        if (only >= (unsigned)kNumM) return Fail(kBadLengths);
        std::fill(mLenM, mLenM + kNumM, 0);
        std::fill(mTableM, mTableM + (1 << kMBits), (uint16_t)only);
        return true;
    }
    unsigned i = 0;
    while (i < n) {
        unsigned t = WalkTree(mTablePT[miBitBuffer >> (16 - kPTBits)], kNumT, 1u << (15 - kPTBits));
        DropBits(mLenPT[t]);
        if (t > 2) {
            mLenM[i++] = (uint8_t)(t - 2);
            continue;
        }
        unsigned run = t == 0 ? 1 : t == 1 ? GetBits(4) + 3 : GetBits(9) + 20;
        if (run > kNumM - i) return Fail(kBadLengths);
        while (run-- > 0) mLenM[i++] = 0;
    }
    while (i < (unsigned)kNumM) mLenM[i++] = 0;
    return MakeTable(kNumM, mLenM, kMBits, mTableM);
}

bool GlDecoder::ReadBlockHead()
{
    miBlockSize = (uint16_t)GetBits(16);
    return ReadShortLengths(kNumT, 3) && ReadMLengths() && ReadShortLengths(kNumP, -1);
}

int GlDecoder::DecodeM()
{
    if (miBlockSize == 0 && !ReadBlockHead()) return -1;
    --miBlockSize; // a head announcing 0 symbols serves 65536, as the 16-bit count runs
    unsigned symbol = WalkTree(mTableM[miBitBuffer >> (16 - kMBits)], kNumM, 1u << (15 - kMBits));
    DropBits(mLenM[symbol]);
    return (int)symbol;
}

unsigned GlDecoder::DecodeP()
{
    unsigned bits = WalkTree(mTablePT[miBitBuffer >> (16 - kPTBits)], kNumP, 1u << (15 - kPTBits));
    DropBits(mLenPT[bits]);
    if (bits == 0) return 0;
    return (1u << (bits - 1)) + GetBits((int)bits - 1);
}

void GlDecoder::Run()
{
    DropBits(16);
    unsigned r = 0;
    bool writeFailed = false;
    const unsigned directLimit = miWindow - (kMaxMatch + 1);
    while (miEmptyReads < kEmptyReadLimit && !writeFailed) {
        int c = DecodeM();
        if (c < 0 || c == kEndSymbol) break;
        if (c < 256) {
            mWindow[r++] = (uint8_t)c;
            if (r == miWindow) {
                writeFailed = !WriteWindow(miWindow);
                r = 0;
            }
            continue;
        }
        unsigned length = (unsigned)c - kLengthBias;
        unsigned i = (r - DecodeP() - 1) & miMask;
        if (i < directLimit && r < directLimit) {
            // Byte by byte on purpose: a match may overlap the bytes it produces.
            for (unsigned k = 0; k < length; ++k) mWindow[r + k] = mWindow[i + k];
            r += length;
            continue;
        }
        for (unsigned k = 0; k < length; ++k) {
            mWindow[r++] = mWindow[i];
            i = (i + 1) & miMask;
            if (r == miWindow) {
                r = 0;
                if (!WriteWindow(miWindow)) {
                    writeFailed = true;
                    break;
                }
            }
        }
    }
    if (r > 0 && !writeFailed) WriteWindow(r);
}

} // namespace

int Decode(ALStorage& input, ALStorage& output, int level, long compressedLength, ALStatus& status)
{
    std::unique_ptr<GlDecoder> decoder;
    try {
        decoder = std::make_unique<GlDecoder>(input, output, level, compressedLength, status);
    } catch (const std::bad_alloc&) {
        return status.SetError(AL_MEMORY_ALLOCATION_FAILURE, "Memory allocation failure in expansion startup");
    }
    decoder->Run();
    return status;
}

} // namespace glstream
