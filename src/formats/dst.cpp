#include "formats/dst.h"

#include "core/settings.h"
#include "platform/message.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kHeaderSize = 512;
constexpr int kMaxMove = 121;
constexpr uint32_t kRecordBits = 0x030000;
constexpr uint32_t kJumpBit = 0x800000;
constexpr uint32_t kColorBits = 0xC30000;
constexpr uint32_t kEndRecord = 0xF30000;

// Bit of each balanced-ternary weight, for x and for y, in the 24-bit record.
struct TernaryBit {
    int weight;
    uint32_t x, y;
};
constexpr TernaryBit kBits[10] = {
    {+1, 0x000001, 0x000080},  {-1, 0x000002, 0x000040},  {+9, 0x000004, 0x000020},
    {-9, 0x000008, 0x000010},  {+3, 0x000100, 0x008000},  {-3, 0x000200, 0x004000},
    {+27, 0x000400, 0x002000}, {-27, 0x000800, 0x001000}, {+81, 0x040000, 0x200000},
    {-81, 0x080000, 0x100000},
};

struct EncodeTables {
    std::array<uint32_t, 2 * kMaxMove + 1> x{}, y{};
    EncodeTables()
    {
        static const int weights[5] = {1, 3, 9, 27, 81};
        for (int d = -kMaxMove; d <= kMaxMove; ++d) {
            uint32_t bx = kRecordBits, by = kRecordBits;
            int v = d;
            for (int w : weights) {
                int digit = ((v % 3) + 3) % 3; // 0, 1 or 2 (2 stands for -1)
                if (digit == 2) digit = -1;
                v = (v - digit) / 3;
                if (digit == 0) continue;
                for (const auto& b : kBits)
                    if (b.weight == digit * w) {
                        bx |= b.x;
                        by |= b.y;
                    }
            }
            x[(size_t)(d + kMaxMove)] = bx;
            y[(size_t)(d + kMaxMove)] = by;
        }
    }
};

// Displacement of each byte value in each of the three record bytes, so that a record
// decodes with six lookups.
struct DecodeTables {
    int8_t x[3][256]{}, y[3][256]{};
    DecodeTables()
    {
        for (int byte = 0; byte < 3; ++byte)
            for (uint32_t v = 0; v < 256; ++v) {
                uint32_t r = v << (8 * byte);
                int dx = 0, dy = 0;
                for (const auto& b : kBits) {
                    if (r & b.x) dx += b.weight;
                    if (r & b.y) dy += b.weight;
                }
                x[byte][v] = (int8_t)dx;
                y[byte][v] = (int8_t)dy;
            }
    }
};

const DecodeTables& Decoding()
{
    static const DecodeTables tables;
    return tables;
}

const EncodeTables& Tables()
{
    static const EncodeTables tables;
    return tables;
}

} // namespace

CDst::CDst()
{
    m_nHoopWidth = 0;
    m_nHoopHeight = 0;
}

uint32_t CDst::EncodeRecord(int dx, int dy, bool jump)
{
    const EncodeTables& t = Tables();
    uint32_t r = t.x[(size_t)(dx + kMaxMove)] | t.y[(size_t)(dy + kMaxMove)];
    return jump ? r | kJumpBit : r;
}

void CDst::DecodeRecord(uint32_t r, int* dx, int* dy)
{
    const DecodeTables& t = Decoding();
    uint32_t b0 = r & 0xFF, b1 = (r >> 8) & 0xFF, b2 = (r >> 16) & 0xFF;
    *dx = t.x[0][b0] + t.x[1][b1] + t.x[2][b2];
    *dy = t.y[0][b0] + t.y[1][b1] + t.y[2][b2];
}

long CDst::GetMaxNoStitches(const char* pszFileName)
{
    long length = MeasureFile(pszFileName);
    if (length < 0) return -1;
    if (length <= 0) return length;
    long n = (length - kHeaderSize) / 3 + 1;
    // A file shorter than its header holds no records.
    return n < 0 ? 0 : n;
}

int CDst::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                     tagPOINT* pPoints, unsigned char* pTypes)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    unsigned char header[kHeaderSize];
    if (!Read(header, kHeaderSize)) {
        CloseHandle();
        return 0;
    }
    if (!OpenColorBlock(pnColors, pColors, *pnStitches, *pnColors)) {
        CloseHandle();
        return 0;
    }
    int64_t x = 0, y = 0; // file units; a corrupt file may run far
    bool afterColorChange = true;
    bool ended = false;
    unsigned char b[3];
    while (ReadNoEMsg(b, 3)) {
        uint32_t r = (uint32_t)b[0] | ((uint32_t)b[1] << 8) | ((uint32_t)b[2] << 16);
        if (r == kEndRecord) {
            ended = true;
            break;
        }
        if ((r & kRecordBits) != kRecordBits) {
            if (r == 0) {
                // Padding: skip zero bytes; the first other byte goes too.
                unsigned char c = 0;
                while (ReadNoEMsg(&c, 1) && c == 0) {}
                if (c == 0) break;
            }
            continue;
        }
        if ((r & kColorBits) == kColorBits) {
            COLORCHG& rec = pColors[*pnColors];
            rec.nStitch = (int32_t)*pnStitches;
            rec.nColor = (uint16_t)*pnColors;
            rec.nExtra = 0;
            if (*pnStitches != 0) {
                if (*pnColors >= kMaxColorBlocks) {
                    CloseHandle();
                    return 0;
                }
                ++*pnColors;
            }
            afterColorChange = true;
            if (r == kColorBits) continue;
        }
        afterColorChange = false;
        int dx, dy;
        DecodeRecord(r, &dx, &dy);
        x += dx;
        y += dy;
        if (r & kJumpBit) {
            unsigned char& t = pTypes[*pnStitches];
            if (t < 255) ++t;
        } else {
            pPoints[*pnStitches] = tagPOINT{ScaleToStitchUnits(x, 10), ScaleToStitchUnits(y, 10)};
            ++*pnStitches;
            pTypes[*pnStitches] = 0;
        }
    }
    if (ended && afterColorChange) --*pnColors;
    WriteClosingRecord(pColors, *pnColors, *pnStitches);
    CloseHandle();
    return 1;
}

std::string CDst::MakeHeader(int nColors, long nStitches, const tagPOINT* pPoints, const char* pszFileName,
                             const unsigned char* pTypes)
{
    long records = 1;
    int32_t maxX = 0, minX = 0, maxY = 0, minY = 0;
    int32_t px = 0, py = 0;
    for (long i = 0; i < nStitches; ++i) {
        int32_t x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        if (x > maxX) maxX = x;
        if (x < minX) minX = x;
        if (y > maxY) maxY = y;
        if (y < minY) minY = y;
        if (pTypes[i] >= kTrimType) records += 6;
        // Jumps of 121 toward zero until both axes fit one record.
        long ax = std::labs((long)x - px), ay = std::labs((long)y - py);
        long jumpsX = ax > kMaxMove ? (ax - 1) / kMaxMove : 0;
        long jumpsY = ay > kMaxMove ? (ay - 1) / kMaxMove : 0;
        records += jumpsX > jumpsY ? jumpsX : jumpsY;
        ++records;
        px = x;
        py = y;
    }
    std::string label = pszFileName ? pszFileName : "";
    size_t slash = label.rfind('/');
    if (slash != std::string::npos) label.erase(0, slash + 1);
    size_t dot = label.find('.');
    if (dot != std::string::npos) label.erase(dot);
    const char* tail = "AX:+    0\rAY:+    0\rMX:+    0\rMY:+    0\rPD:******\r\x1a";
    auto format = [&](const std::string& l) {
        return FormatText("LA: %-15s\rST:%7ld\rCO:%3d\r+X:%5d\r-X:%5d\r+Y:%5d\r-Y:%5d\r%s", l.c_str(), records,
                          nColors - 1, maxX, -minX, maxY, -minY, tail);
    };
    std::string text = format(label);
    if (text.size() > (size_t)kHeaderSize) {
        // A long label is cut so that the header keeps its size.
        size_t over = text.size() - kHeaderSize;
        label.erase(label.size() > over ? label.size() - over : 0);
        text = format(label);
    }
    text.resize(kHeaderSize, ' ');
    return text;
}

int CDst::WriteHeader(int nColors, long nStitches, const tagPOINT* pPoints, const char* pszFileName,
                      const unsigned char* pTypes)
{
    std::string header = MakeHeader(nColors, nStitches, pPoints, pszFileName, pTypes);
    return Write(header.data(), kHeaderSize);
}

int CDst::WriteRecord(uint32_t r)
{
    unsigned char b[3] = {(unsigned char)r, (unsigned char)(r >> 8), (unsigned char)(r >> 16)};
    return Write(b, 3);
}

int CDst::AddStitch(int dx, int dy, bool bTrim, bool bJump)
{
    if (bTrim) {
        for (int k = 0; k < 6; ++k)
            if (!WriteRecord(k % 2 == 0 ? EncodeRecord(1, 1, true) : EncodeRecord(-1, -1, true))) return 0;
    }
    if (!SplitLongMove(dx, dy, kMaxMove, [&](int sx, int sy) { return WriteRecord(EncodeRecord(sx, sy, true)); }))
        return 0;
    return WriteRecord(EncodeRecord(dx, dy, bJump));
}

int CDst::SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long nStitches,
                   const unsigned char* pTypes)
{
    int32_t px = 0, py = 0;
    ColorBlockWalk blocks(nColors, pColors);
    for (long i = 0; i < nStitches; ++i) {
        if (blocks.NextBlockAt(i) && !WriteRecord(kColorBits)) return 0;
        int32_t x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        // Differences of points far apart stay within int; a move is cut into 121-unit jumps.
        if (!AddStitch(x - px, y - py, pTypes[i] >= kTrimType, false)) return 0;
        px = x;
        py = y;
    }
    return 1;
}

int CDst::WriteTrailer()
{
    static const unsigned char trailer[4] = {0x00, 0x00, 0xF3, 0x1A};
    return Write(trailer, 4);
}

int CDst::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char* pTypes)
{
    return RunExport(pszFileName, nStitches, [&] {
        return WriteHeader(nColors, nStitches, pPoints, pszFileName, pTypes) &&
               SaveData(nColors, pColors, pPoints, nStitches, pTypes) && WriteTrailer();
    });
}
