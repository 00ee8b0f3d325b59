#include "formats/csd.h"

#include "core/colors.h"
#include "core/part_plan.h"
#include "core/part_set.h"
#include "core/stitch_compare.h"
#include "core/thread_table.h"

#include <cstdlib>

namespace {

constexpr int kTableA = 479, kTableB = 501;
constexpr int kEntries = 16;
constexpr int kSequence = 14; // colour blocks a file can name
constexpr int kHeaderSize = 72;
constexpr int kColorsAt = 8, kSequenceAt = 58;
constexpr int kMaxMove = 127;
constexpr int kImportColorEnd = 93;
constexpr uint8_t kMagic = '|';
constexpr uint8_t kMove = 0x80, kJumpBit = 0x10, kNegXBit = 0x20, kNegYBit = 0x40;
constexpr uint8_t kColorChange = 0x85, kEnd = 0x87, kColor91 = 0x89, kFirst = 0x8A;
constexpr int kColor91Index = 91;
const uint8_t kHeaderValues[7] = {1, 0x48, 0, 3, 0, 0, 0};
const uint8_t kFixedSeedMark[3] = {'|', 'K', 0xC3};

} // namespace

const uint8_t CCsd::kKeyTable[256] = {
    0x43, 0x6E, 0x72, 0x7A, 0x76, 0x6C, 0x61, 0x6F, 0x7C, 0x29, 0x5D, 0x62, 0x60, 0x6E, 0x61, 0x62,
    0x20, 0x41, 0x66, 0x6A, 0x3A, 0x35, 0x5A, 0x63, 0x7C, 0x37, 0x3A, 0x2A, 0x25, 0x24, 0x2A, 0x33,
    0x00, 0x10, 0x14, 0x03, 0x72, 0x4C, 0x48, 0x42, 0x08, 0x7A, 0x5E, 0x0B, 0x6F, 0x45, 0x47, 0x5F,
    0x40, 0x54, 0x5C, 0x57, 0x55, 0x59, 0x53, 0x3A, 0x32, 0x6F, 0x53, 0x54, 0x50, 0x5C, 0x4A, 0x56,
    0x2F, 0x2F, 0x62, 0x2C, 0x22, 0x65, 0x25, 0x28, 0x38, 0x30, 0x38, 0x22, 0x2B, 0x25, 0x3A, 0x6F,
    0x27, 0x38, 0x3E, 0x3F, 0x74, 0x37, 0x33, 0x77, 0x2E, 0x30, 0x3D, 0x34, 0x2E, 0x32, 0x2B, 0x2C,
    0x0C, 0x18, 0x42, 0x13, 0x16, 0x0A, 0x15, 0x02, 0x0B, 0x1C, 0x1E, 0x0E, 0x08, 0x60, 0x64, 0x0D,
    0x09, 0x51, 0x25, 0x1A, 0x18, 0x16, 0x19, 0x1A, 0x58, 0x10, 0x14, 0x5B, 0x08, 0x15, 0x1B, 0x5F,
    0xD5, 0xD2, 0xAE, 0xA3, 0xC1, 0xF0, 0xF4, 0xE8, 0xF8, 0xEC, 0xA6, 0xAB, 0xCD, 0xF8, 0xFD, 0xFB,
    0xE2, 0xF0, 0xFE, 0xFA, 0xF5, 0xB5, 0xF7, 0xF9, 0xFC, 0xB9, 0xF5, 0xEF, 0xF4, 0xF8, 0xEC, 0xBF,
    0xC3, 0xCE, 0xD7, 0xCD, 0xD0, 0xD7, 0xCF, 0xC2, 0xDB, 0xA4, 0xA0, 0xB0, 0xAF, 0xBE, 0x98, 0xE2,
    0xC2, 0x91, 0xE5, 0xDC, 0xDA, 0xD2, 0x96, 0xC4, 0x98, 0xF8, 0xC9, 0xD2, 0xDD, 0xD3, 0x9E, 0xDE,
    0xAE, 0xA5, 0xE2, 0x8C, 0xB6, 0xAC, 0xA3, 0xA9, 0xBC, 0xA8, 0xA6, 0xEB, 0x8B, 0xBF, 0xA1, 0xAC,
    0xB5, 0xA3, 0xBB, 0xB6, 0xA7, 0xD8, 0xDC, 0x9A, 0xAA, 0xF9, 0x82, 0xFB, 0x9D, 0xB9, 0xAB, 0xB3,
    0x94, 0xC1, 0xA0, 0x8C, 0x8B, 0x8E, 0x95, 0x8F, 0x87, 0x99, 0xE7, 0xE1, 0xA3, 0x83, 0x8B, 0xCF,
    0xA3, 0x85, 0x9D, 0x83, 0xD4, 0xB7, 0x83, 0x84, 0x91, 0x97, 0x9F, 0x88, 0x8F, 0xDD, 0xAD, 0x90,
};

CCsd::CCsd()
{
    m_nHoopWidth = 0;
    m_nHoopHeight = 0;
    m_nSeed = kFixedSeed;
}

void CCsd::BuildTables()
{
    uint32_t state = m_nSeed;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (uint8_t)(state >> 16);
    };
    for (uint8_t& a : m_TableA) a = next();
    for (uint8_t& b : m_TableB) b = next();
    m_nSeed = state;
}

uint8_t CCsd::EncodeByte(uint8_t b, long lPosition) const
{
    return (uint8_t)((uint8_t)(b + m_TableA[lPosition % kTableA]) ^ m_TableB[lPosition % kTableB]);
}

long CCsd::PermutedPosition(long lPosition)
{
    long lo = lPosition % 256, hi = lPosition - lo;
    long r = hi % 768;
    if ((r == 256 && lo <= 1) || (r == 512 && lo == 0)) hi -= 256;
    return hi + kKeyTable[lo];
}

uint8_t CCsd::DecodeByte(uint8_t b, long lPosition, int bPermute) const
{
    long q = bPermute ? PermutedPosition(lPosition) : lPosition;
    return (uint8_t)((uint8_t)(b ^ m_TableB[q % kTableB]) - m_TableA[q % kTableA]);
}

// ---- writing

int CCsd::SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long lStart, long lEnd)
{
    m_nSeed = kFixedSeed;
    BuildTables();
    ColorBlockWalk blocks(nColors, pColors);
    while (blocks.NextBlockAt(lStart)) {}
    int first = blocks.Block();
    int c = nColors - first;
    if (c > kSequence) c = kSequence;

    m_Out.clear();
    m_Out.push_back(kMagic);
    m_Out.insert(m_Out.end(), kHeaderValues, kHeaderValues + 7);
    for (int k = 0; k < kEntries; ++k) {
        // Every master colour has its own red, green and blue.
        COLORREF rgb = k < c ? GetThreadColor(pColors[first + k].nColor)
                       : k < kSequence ? GetThreadColor(k)
                       : k == kSequence ? RGB(0, 0, 0)
                                        : RGB(255, 255, 255);
        m_Out.push_back(GetRValue(rgb));
        m_Out.push_back(GetGValue(rgb));
        m_Out.push_back(GetBValue(rgb));
    }
    m_Out.push_back(0x7F);
    m_Out.push_back(0x7F);
    for (int k = 0; k < kSequence; ++k) m_Out.push_back((uint8_t)k);

    auto record = [this](uint8_t code, long a, long b) {
        m_Out.push_back(code);
        m_Out.push_back((uint8_t)a);
        m_Out.push_back((uint8_t)b);
    };
    record(kFirst, 0, 0);
    int running = 1;
    int px = 0, py = 0;
    for (long i = lStart; i < lEnd; ++i) {
        if (blocks.NextBlockAt(i)) record(kColorChange, ++running, 0);
        int x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        int dx = x - px, dy = y - py;
        SplitLongMove(dx, dy, kMaxMove, [&](int sx, int sy) {
            record((uint8_t)(kMove | kJumpBit | (sx < 0 ? kNegXBit : 0) | (sy < 0 ? kNegYBit : 0)), std::abs(sy),
                   std::abs(sx));
            return true;
        });
        record((uint8_t)(kMove | (dx < 0 ? kNegXBit : 0) | (dy < 0 ? kNegYBit : 0)), std::abs(dy), std::abs(dx));
        px = x;
        py = y;
    }
    record(kEnd, 0, 0);

    long ia = 1 % kTableA, ib = 1 % kTableB;
    for (size_t p = 1; p < m_Out.size(); ++p) {
        m_Out[p] = (uint8_t)((uint8_t)(m_Out[p] + m_TableA[ia]) ^ m_TableB[ib]);
        if (++ia == kTableA) ia = 0;
        if (++ib == kTableB) ib = 0;
    }
    return 1;
}

long CCsd::FindBoundry(long lStart, int nColors, const COLORCHG* pColors, long lStitches)
{
    int b = partset::BlockOfPoint(nColors, pColors, lStart);
    return b + kSequence < nColors ? pColors[b + kSequence].nStitch : lStitches;
}

int CCsd::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    if (nStitches < 1) return RunExport(pszFileName, nStitches, [] { return 0; });
    if (nColors <= kSequence || UsesCallerFile()) {
        // The sequence names 14 blocks; a caller's memory file is never split.
        if (nColors > kSequence) return partset::RefuseOneFile(*this, pszFileName);
        return partset::ExportSingle(*this, pszFileName, ".Csd", nStitches, [&](const char*) {
            return SaveData(nColors, pColors, pPoints, 0, nStitches) && Write(m_Out.data(), (int)m_Out.size());
        });
    }
    std::vector<long> ends =
        partset::PlanParts(nStitches, [&](long start) { return FindBoundry(start, nColors, pColors, nStitches); });
    return partset::ExportParts(*this, pszFileName, ".Csd", (int)ends.size(), [&](int k, const char*) {
        long start = k ? ends[(size_t)k - 1] : 0;
        return SaveData(nColors, pColors, pPoints, start, ends[(size_t)k]) && Write(m_Out.data(), (int)m_Out.size());
    });
}

// ---- reading

int CCsd::ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    auto fail = [this] {
        CloseHandle();
        return 0;
    };
    uint8_t head[kHeaderSize];
    if (!Read(head, 3)) return fail();
    bool fixed = head[0] == kFixedSeedMark[0] && head[1] == kFixedSeedMark[1] && head[2] == kFixedSeedMark[2];
    m_nSeed = fixed ? kFixedSeed : head[0];
    BuildTables();
    int permute = fixed ? 0 : 1;
    if (SetFilePointer(kColorsAt, 0) != (unsigned long)kColorsAt) return fail();
    if (!Read(head + kColorsAt, kHeaderSize - kColorsAt)) return fail();
    for (int p = kColorsAt; p < kHeaderSize; ++p) head[p] = DecodeByte(head[p], p, permute);
    int table[kEntries];
    for (int k = 0; k < kEntries; ++k) {
        const uint8_t* e = head + kColorsAt + 3 * k;
        table[k] = NearestThread(RGB(e[0], e[1], e[2]), 0, kImportColorEnd);
    }
    // A sequence entry or number beyond the tables takes the last valid one.
    auto colorOf = [&](int number) {
        int n = number < 1 ? 1 : number > kSequence ? kSequence : number;
        int entry = head[kSequenceAt + n - 1];
        return table[entry < kEntries ? entry : kEntries - 1];
    };
    if (!OpenColorBlock(pnColors, pColors, *pnStitches, colorOf(1))) return fail();
    int running = 1;
    int64_t x = 0, y = 0;
    long p = kHeaderSize;
    uint8_t r[3];
    while (ReadNoEMsg(r, 3)) {
        uint8_t code = DecodeByte(r[0], p, permute);
        uint8_t a = DecodeByte(r[1], p + 1, permute);
        uint8_t b = DecodeByte(r[2], p + 2, permute);
        p += 3;
        if ((code & 0x8F) == kMove) {
            x += code & kNegXBit ? -(int)b : b;
            y += code & kNegYBit ? -(int)a : a;
            if (!(code & kJumpBit)) {
                pPoints[*pnStitches] = tagPOINT{ScaleToStitchUnits(x, 10), ScaleToStitchUnits(y, 10)};
                ++*pnStitches;
            }
        } else if (code == kColorChange) {
            // Number 0 takes the entry after the one in use.
            running = a ? a : (running < kSequence ? running + 1 : kSequence);
            if (!OpenColorBlock(pnColors, pColors, *pnStitches, colorOf(running))) return fail();
        } else if (code == kColor91) {
            if (!OpenColorBlock(pnColors, pColors, *pnStitches, kColor91Index)) return fail();
        } else if (code == kEnd) {
            CloseHandle();
            return 1;
        }
    }
    return 1; // the end of the file ends the design too
}

long CCsd::GetNoStitches(const char* pszFileName)
{
    long length = MeasureFile(pszFileName);
    if (length < 0) return -1;
    return length > 0 ? length / 3 : length;
}

long CCsd::GetMaxNoStitches(const char* pszFileName)
{
    return partset::MaxOfOneOrSet(*this, pszFileName, [&](const char* member) { return GetNoStitches(member); });
}

int CCsd::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    return partset::ImportOneOrSet(*this, pszFileName, pnColors, pColors, pnStitches, [&](const char* name) {
        return ReadFile(name, pnColors, pColors, pnStitches, pPoints);
    });
}

// ---- what a round trip keeps

void CsdKeeps(StitchList& l)
{
    DropEmptyBlocks(l);
    KeepUnit(l, 10);
    for (long i = 0; i < l.nStitches; ++i) l.types[(size_t)i] = 0;
    for (int k = 0; k < l.nColors; ++k) {
        uint16_t& c = l.colors[(size_t)k].nColor;
        c = (uint16_t)NearestThread(GetThreadColor(c), 0, kImportColorEnd);
    }
}
