#include "formats/xxx.h"

#include "core/colors.h"
#include "core/endian.h"
#include "core/part_plan.h"
#include "core/part_set.h"
#include "core/stitch_compare.h"
#include "core/thread_table.h"

#include <cstdlib>

namespace {

constexpr int kHeaderSize = 256;
constexpr int kMaxColors = 15;
constexpr long kPartRecords = 32000;
constexpr int kStep = 120;          // largest move of a stitch or short jump
constexpr int kLongMoveLimit = 240; // beyond this a move is one long jump
constexpr long kMaxRecordCount = 65535;
constexpr int kImportColorEnd = 93;
constexpr uint8_t kEscape = 0x7F, kShortJump = 0x01, kColorChange = 0x08;
constexpr uint8_t kLongStitch = 0x7D, kLongJump = 0x7E;
constexpr int kOffR = 23, kOffColors = 39, kOffSize = 45, kOffLast = 49, kOffKinds = 58, kOffTrailer = 252;
constexpr int kKindsSize = 60;

const uint8_t kTrailerHead[6] = {0x7F, 0x7F, 0x03, 0x14, 0x00, 0x00};
const uint8_t kFillerColors[kMaxColors][4] = {
    {0x00, 0x58, 0xa4, 0xe0}, {0x00, 0x00, 0x80, 0x00}, {0x00, 0x00, 0x80, 0x80}, {0x00, 0x80, 0x00, 0x00},
    {0x00, 0xc8, 0x00, 0xc8}, {0x00, 0xe8, 0xe4, 0x00}, {0x00, 0x40, 0xc4, 0x50}, {0x00, 0xff, 0xff, 0x00},
    {0x00, 0x00, 0x00, 0xff}, {0x00, 0x00, 0xff, 0x00}, {0x00, 0xff, 0x00, 0x80}, {0x00, 0x00, 0xff, 0xff},
    {0x00, 0x40, 0x6c, 0xd8}, {0x00, 0x38, 0xbc, 0x40}, {0x00, 0x40, 0xa4, 0xb0},
};
const uint8_t kTrailerFixed1[32] = {0x00, 0xe8, 0x74, 0x50, 0x00, 0xb8, 0x28, 0xb8, 0x00, 0xd0, 0xbc,
                                    0x70, 0x00, 0xb8, 0xd8, 0x28, 0x00, 0x70, 0x44, 0xd0, 0x00, 0xc0,
                                    0xdc, 0xc0, 0x00, 0xff, 0xff, 0xff, 0x00, 0x01, 0x00, 0x00};
constexpr int kTrailerZeros = 1730;
const uint8_t kTrailerFixed2[45] = {0x00, 0x0a, 0x00, 0x00, 0x00, 0x28, 0x24, 0x98, 0x00, 0x18, 0xa8, 0x28,
                                    0x00, 0x18, 0x60, 0x68, 0x00, 0xa0, 0x20, 0x30, 0x00, 0x78, 0x00, 0x70,
                                    0x00, 0xb0, 0xac, 0x10, 0x00, 0xa0, 0x28, 0xd8, 0x00, 0xd0, 0x80, 0x30,
                                    0x00, 0xb8, 0x44, 0xa0, 0x00, 0x38, 0xc4, 0x98, 0x00};

int Clamp(int v, int limit) { return v > limit ? limit : v < -limit ? -limit : v; }

long StepsOf(int d)
{
    long a = std::labs((long)d);
    return (a + kStep - 1) / kStep;
}

} // namespace

CXxx::CXxx()
{
    m_nHoopWidth = 130;
    m_nHoopHeight = 240;
}

// ---- writing

void CXxx::AddKind(uint8_t kind)
{
    if (m_nRecordKinds < kKindsSize) m_RecordKinds[m_nRecordKinds++] = kind;
}

int CXxx::AddStitch(int dx, int dy)
{
    int n = 0;
    if (std::abs(dx) > m_nLongMoveLimit || std::abs(dy) > m_nLongMoveLimit) {
        uint8_t r[5] = {kLongJump, 0, 0, 0, 0};
        PutLE16(r + 1, (uint32_t)dx);
        PutLE16(r + 3, (uint32_t)dy);
        m_Out.insert(m_Out.end(), r, r + 5);
        dx = dy = 0;
        ++n;
    }
    m_nLongMoveLimit = kLongMoveLimit;
    if (std::abs(dx) > kStep || std::abs(dy) > kStep) {
        int sx = Clamp(dx, kStep), sy = Clamp(dy, kStep);
        const uint8_t r[4] = {kEscape, kShortJump, (uint8_t)(int8_t)sx, (uint8_t)(int8_t)sy};
        m_Out.insert(m_Out.end(), r, r + 4);
        AddKind(1);
        dx -= sx;
        dy -= sy;
        ++n;
    }
    m_Out.push_back((uint8_t)(int8_t)dx);
    m_Out.push_back((uint8_t)(int8_t)dy);
    return n + 1;
}

int CXxx::SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long lStart, long lEnd, int bPart)
{
    m_Out.assign(kHeaderSize, 0);
    ColorBlockWalk blocks(nColors, pColors);
    while (blocks.NextBlockAt(lStart)) {}
    std::vector<int> colors = {blocks.Color()};
    uint8_t* h = m_Out.data();
    PutLE16(h + kOffColors, (uint32_t)nColors);
    PutLE16(h + kOffSize, (uint32_t)(m_nMaxX - m_nMinX));
    PutLE16(h + kOffSize + 2, (uint32_t)(m_nMaxY - m_nMinY));
    int32_t lastX = bPart ? m_nMaxX : pPoints[lEnd - 1].x / 10;
    int32_t lastY = bPart ? m_nMinY : pPoints[lEnd - 1].y / 10;
    PutLE16(h + kOffLast, (uint32_t)lastX);
    PutLE16(h + kOffLast + 2, (uint32_t)lastY);

    m_nRecordKinds = 0;
    AddKind(1);
    m_nRecords = 1;
    const uint8_t opening[4] = {kEscape, kShortJump, 0, 0};
    m_Out.insert(m_Out.end(), opening, opening + 4);
    int32_t px = 0, py = 0;
    for (long i = lStart; i < lEnd; ++i) {
        if (blocks.NextBlockAt(i)) {
            AddKind(8);
            const uint8_t change[4] = {kEscape, kColorChange, 0, 0};
            m_Out.insert(m_Out.end(), change, change + 4);
            ++m_nRecords;
            colors.push_back(blocks.Color());
        }
        int32_t x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        m_nRecords += AddStitch(x - px, y - py);
        px = x;
        py = y;
    }
    if (bPart) {
        m_nRecords += AddStitch(m_nMinX - px, m_nMaxY - py);
        m_nRecords += AddStitch(m_nMaxX - m_nMinX, m_nMinY - m_nMaxY);
    }

    uint32_t trailerAt = (uint32_t)m_Out.size();
    m_Out.insert(m_Out.end(), kTrailerHead, kTrailerHead + 6);
    for (int k = 0; k < kMaxColors; ++k) {
        if (k < (int)colors.size()) {
            // Every master colour has its own red, green and blue.
            COLORREF c = GetThreadColor(colors[(size_t)k]);
            const uint8_t entry[4] = {0, GetRValue(c), GetGValue(c), GetBValue(c)};
            m_Out.insert(m_Out.end(), entry, entry + 4);
        } else {
            m_Out.insert(m_Out.end(), kFillerColors[k], kFillerColors[k] + 4);
        }
    }
    m_Out.insert(m_Out.end(), kTrailerFixed1, kTrailerFixed1 + sizeof kTrailerFixed1);
    m_Out.insert(m_Out.end(), (size_t)kTrailerZeros, 0);
    m_Out.insert(m_Out.end(), kTrailerFixed2, kTrailerFixed2 + sizeof kTrailerFixed2);

    h = m_Out.data();
    PutLE16(h + kOffR, (uint32_t)m_nRecords);
    PutLE16(h + kOffColors, (uint32_t)colors.size());
    for (int k = 0; k < m_nRecordKinds; ++k) h[kOffKinds + k] = m_RecordKinds[k];
    PutLE32(h + kOffTrailer, trailerAt);
    return 1;
}

long CXxx::FindBoundry(long lStart, int nColors, const COLORCHG* pColors, long lStitches, const tagPOINT* pPoints)
{
    if (lStart >= lStitches) return lStitches;
    int next = partset::BlockOfPoint(nColors, pColors, lStart) + 1;
    int colors = 1;
    long records = 0;
    int32_t px = 0, py = 0;
    long i = lStart;
    for (;;) {
        if (next < nColors && pColors[next].nStitch <= i) {
            ++next;
            ++colors;
            ++records;
            if (colors > kMaxColors) break;
            continue;
        }
        int32_t x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        int dx = (int16_t)(x - px), dy = (int16_t)(y - py);
        // Every point takes at least its stitch record.
        long n = StepsOf(dx) > StepsOf(dy) ? StepsOf(dx) : StepsOf(dy);
        records += n > 0 ? n : 1;
        px = x;
        py = y;
        ++i;
        if (records >= kPartRecords || i >= lStitches) break;
    }
    if (i >= lStitches) return lStitches;
    if (next < nColors && pColors[next].nStitch == i) return i;
    // A block that began with this part and alone fills it is cut inside, like the first.
    if (pColors[next - 1].nStitch <= lStart) return i;
    return pColors[next - 1].nStitch;
}

int CXxx::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    if (nStitches < 1) return RunExport(pszFileName, nStitches, [] { return 0; });
    int32_t minX = pPoints[0].x / 10, maxX = minX, minY = pPoints[0].y / 10, maxY = minY;
    for (long i = 1; i < nStitches; ++i) {
        int32_t x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        if (x < minX) minX = x;
        if (x > maxX) maxX = x;
        if (y < minY) minY = y;
        if (y > maxY) maxY = y;
    }
    m_nMinX = (int16_t)minX;
    m_nMaxX = (int16_t)maxX;
    m_nMinY = (int16_t)minY;
    m_nMaxY = (int16_t)maxY;

    long end = FindBoundry(0, nColors, pColors, nStitches, pPoints);
    if (!UsesCallerFile() && (end != nStitches || nColors > kMaxColors)) {
        std::vector<long> ends = partset::PlanParts(
            nStitches, [&](long start) { return FindBoundry(start, nColors, pColors, nStitches, pPoints); });
        return partset::ExportParts(*this, pszFileName, ".xxx", (int)ends.size(), [&](int k, const char*) {
            long start = k ? ends[(size_t)k - 1] : 0;
            return SaveData(nColors, pColors, pPoints, start, ends[(size_t)k], 1) &&
                   Write(m_Out.data(), (int)m_Out.size());
        });
    }
    // One file holds 15 colours, and counts its records in 16 bits.
    if (nColors > kMaxColors) return partset::RefuseOneFile(*this, pszFileName);
    SaveData(nColors, pColors, pPoints, 0, nStitches, 0);
    if (m_nRecords > kMaxRecordCount) return partset::RefuseOneFile(*this, pszFileName);
    return partset::ExportSingle(*this, pszFileName, ".xxx", nStitches,
                                 [&](const char*) { return Write(m_Out.data(), (int)m_Out.size()); });
}

// ---- reading

int CXxx::ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    auto fail = [this] {
        CloseHandle();
        return 0;
    };
    auto seek = [this](uint32_t at) { return SetFilePointer((long)at, 0) == (unsigned long)at; };
    uint16_t count = 0, nFileColors = 0;
    uint32_t trailerAt = 0;
    if (!seek(kOffR) || !ReadLE16(&count)) return fail();
    if (!seek(kOffColors) || !ReadLE16(&nFileColors) || nFileColors > kMaxColors) return fail();
    if (!seek(kOffTrailer) || !ReadLE32(&trailerAt)) return fail();
    uint8_t entries[kMaxColors * 4];
    if (!seek(trailerAt + 6) || !Read(entries, (int)sizeof entries)) return fail();
    int table[kMaxColors];
    for (int k = 0; k < kMaxColors; ++k)
        table[k] = NearestThread(RGB(entries[4 * k + 1], entries[4 * k + 2], entries[4 * k + 3]), 0, kImportColorEnd);
    if (!seek(kHeaderSize)) return fail();

    if (!OpenColorBlock(pnColors, pColors, *pnStitches, table[0])) return fail();
    int entry = 0;
    int64_t x = 0, y = 0;
    auto store = [&] {
        pPoints[*pnStitches] = tagPOINT{ScaleToStitchUnits(x, 10), ScaleToStitchUnits(y, 10)};
        ++*pnStitches;
    };
    long counted = 0;
    uint8_t r[2], e[3];
    // The count tells the stitch records; the trailer's mark ends them too, for files whose
    // count also takes in their jumps.
    while (counted < count) {
        if (!Read(r, 2)) break; // reported; the points read so far stand
        if (r[0] == kEscape) {
            if (r[1] == kShortJump) {
                if (!Read(e, 2)) return fail();
                x += (int8_t)e[0];
                y += (int8_t)e[1];
            } else if (r[1] == kColorChange) {
                // Changes beyond the table keep its last colour.
                if (entry < kMaxColors - 1) ++entry;
                if (!OpenColorBlock(pnColors, pColors, *pnStitches, table[entry])) return fail();
            } else if (r[1] == kEscape) {
                break;
            }
            continue;
        }
        if (r[0] == kLongStitch || r[0] == kLongJump) {
            if (!Read(e, 3)) return fail();
            x += (int16_t)(r[1] | (e[0] << 8));
            y += (int16_t)(e[1] | (e[2] << 8));
            if (r[0] == kLongStitch) store();
        } else {
            x += (int8_t)r[0];
            y += (int8_t)r[1];
            store();
        }
        ++counted;
    }
    CloseHandle();
    return 1;
}

long CXxx::GetNoStitches(const char* pszFileName)
{
    if (!OpenFile(pszFileName, 0)) return -1;
    long length = (long)m_pFile->GetLength();
    // A file that opens but is too short for its count holds no points.
    uint8_t b[2];
    if (length < kHeaderSize || SetFilePointer(kOffR, 0) != (unsigned long)kOffR) {
        CloseHandle();
        return 0;
    }
    if (!ReadNoEMsg(b, 2)) return 0;
    CloseHandle();
    long records = (length - kHeaderSize) / 2; // every point takes at least one 2-byte record
    long r = GetLE16(b);
    return r < records ? r : records;
}

long CXxx::GetMaxNoStitches(const char* pszFileName)
{
    if (partset::IsSetName(pszFileName) && !UsesCallerFile())
        return partset::MaxStitchesOfSetWithClosing(pszFileName, 2,
                                                    [&](const char* member) { return GetNoStitches(member); });
    return GetNoStitches(pszFileName);
}

int CXxx::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    return partset::ImportOneOrSet(*this, pszFileName, pnColors, pColors, pnStitches, [&](const char* name) {
        return ReadFile(name, pnColors, pColors, pnStitches, pPoints);
    }, 2);
}

// ---- what a round trip keeps

void XxxKeeps(StitchList& l)
{
    DropEmptyBlocks(l);
    KeepUnit(l, 10);
    // A colour change reads back with a stitch in place before the block's first point: a
    // block keeps its points from the first that moves away from where the last block ended.
    StitchList out = l;
    out.points.clear();
    int k = 0;
    bool leading = false;
    for (long i = 0; i < l.nStitches; ++i) {
        while (k + 1 < l.nColors && l.colors[(size_t)k + 1].nStitch <= i) {
            ++k;
            out.colors[(size_t)k].nStitch = (int32_t)out.points.size();
            leading = !out.points.empty();
        }
        const tagPOINT& p = l.points[(size_t)i];
        if (leading && p.x == out.points.back().x && p.y == out.points.back().y) continue;
        leading = false;
        out.points.push_back(p);
    }
    out.nStitches = (long)out.points.size();
    out.types.assign(out.points.size(), 0);
    for (int c = 0; c < out.nColors; ++c)
        out.colors[(size_t)c].nColor = (uint16_t)NearestThread(GetThreadColor(out.colors[(size_t)c].nColor), 0, kImportColorEnd);
    DropEmptyBlocks(out);
    l = out;
}
