#include "formats/pcs.h"

#include "core/colors.h"
#include "core/endian.h"
#include "core/part_plan.h"
#include "core/part_set.h"
#include "core/settings.h"
#include "core/stitch_compare.h"
#include "core/thread_table.h"

#include <cstring>

namespace {

constexpr int kBlocksPerFile = 16;
constexpr long kPointsPerPart = 14000;
constexpr long kMaxRecordCount = 65535;
constexpr int kRecordSize = 9;
constexpr uint8_t kMagic = '2';
constexpr uint8_t kChangeFlag = 3;
constexpr int kSmallFieldCode = 2, kLargeFieldCode = 3;
// Colours read from a file are matched against the generic and Brother ranges.
constexpr int kImportColorEnd = 93;
// The Pfaff range the exporters map onto; PCM colour numbers count from its start.
constexpr int kPfaffMapFirst = 95, kPfaffMapEnd = 110;
// Units of 1/1536 mm per 0.01 mm.
constexpr long kUnitsNum = 1536, kUnitsDen = 100;
// PCM sets end on the far corner of the large field, less one unit on y.
constexpr long kPcmFarX = 0x2D000, kPcmFarY = 0x2B1FF;
constexpr size_t kFlushBytes = 64 * 1024;

const char kMsgNoFit[] = "Cannot save design %s. It does not fit within the embroidery field. Please resize the design.";

struct FieldHalves {
    long hx, hy;
};

// Half of the field along the design's x and y.
FieldHalves Halves(bool small, bool turned)
{
    if (small) return {4000, 4000};
    return turned ? FieldHalves{5750, 6000} : FieldHalves{6000, 5750};
}

long ToFileUnits(long v) { return v * kUnitsNum / kUnitsDen; }
long FromFileUnits(long v) { return v * kUnitsDen / kUnitsNum; }

int PcmColor(uint32_t number)
{
    // A number beyond the master table is not a Pfaff colour; it reads as the range's first.
    uint32_t c = kPfaffMapFirst + number;
    return c < (uint32_t)kThreadCount ? (int)c : kPfaffMapFirst;
}

const CPcs::Layout kPcsLayout = {".pcs", false, 68, 13};
const CPcs::Layout kPcmLayout = {".pcm", true, 36, 33};

} // namespace

const unsigned char CPcs::kDefaultColors[16][3] = {
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0x80}, {0x00, 0x00, 0xFF}, {0x00, 0x80, 0x80},
    {0x00, 0xFF, 0xFF}, {0x80, 0x00, 0x80}, {0xFF, 0x00, 0xFF}, {0x80, 0x00, 0x00},
    {0xFF, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x00, 0xFF, 0x00}, {0x80, 0x80, 0x00},
    {0xFF, 0xFF, 0x00}, {0x80, 0x80, 0x80}, {0xC0, 0xC0, 0xC0}, {0xFF, 0xFF, 0xFF},
};

CPcs::CPcs() : CPcs(kPcsLayout) {}

CPcs::CPcs(const Layout& layout) : m_Layout(layout)
{
    m_nHoopWidth = 120;
    m_nHoopHeight = 115;
}

CPcsMac::CPcsMac() : CPcs(kPcmLayout) {}

CPcs::FieldFit CPcs::FitField(int nHoopWidth, long nStitches, const tagPOINT* pPoints)
{
    FieldFit f{};
    f.bSmallField = nHoopWidth == 80;
    for (long i = 0; i < nStitches; ++i) {
        long x = pPoints[i].x, y = pPoints[i].y;
        if (x < f.nMinX) f.nMinX = x;
        if (x > f.nMaxX) f.nMaxX = x;
        if (y < f.nMinY) f.nMinY = y;
        if (y > f.nMaxY) f.nMaxY = y;
    }
    long w = f.nMaxX - f.nMinX, h = f.nMaxY - f.nMinY;
    if (f.bSmallField) {
        f.bFits = w <= 8000 && h <= 8000;
    } else if (h <= 11500) {
        f.bFits = w <= 12000;
    } else {
        f.bTurned = true;
        f.bFits = h <= 12000 && w <= 11500;
    }
    FieldHalves half = Halves(f.bSmallField, f.bTurned);
    if (f.nMinY < -half.hy) f.nYShift = -half.hy - f.nMinY;
    if (f.nMinX < -half.hx) f.nXShift = -half.hx - f.nMinX;
    if (f.nMaxX > half.hx) f.nXShift = half.hx - f.nMaxX;
    if (f.nMaxY > half.hy) f.nYShift = half.hy - f.nMaxY;
    return f;
}

// ---- writing

int CPcs::FlushRecords()
{
    if (m_Out.empty()) return 1;
    int ok = Write(m_Out.data(), (int)m_Out.size());
    m_Out.clear();
    return ok;
}

int CPcs::WriteWord(uint32_t v)
{
    uint8_t b[2];
    if (m_Layout.bBigEndian)
        PutBE16(b, v);
    else
        PutLE16(b, v);
    m_Out.insert(m_Out.end(), b, b + 2);
    return 1;
}

int CPcs::WriteValues(long x, long y, unsigned char flag)
{
    uint8_t r[kRecordSize];
    if (m_Layout.bBigEndian) {
        PutBE32(r, (uint32_t)x);
        PutBE32(r + 4, (uint32_t)y);
    } else {
        PutLE32(r, (uint32_t)x);
        PutLE32(r + 4, (uint32_t)y);
    }
    r[8] = flag;
    m_Out.insert(m_Out.end(), r, r + kRecordSize);
    return m_Out.size() < kFlushBytes ? 1 : FlushRecords();
}

int CPcs::AddStitch(long x, long y, int bTurned)
{
    long X, Y;
    if (m_nHoopWidth == 80) {
        X = x + 4000;
        Y = y + 4000;
    } else if (bTurned) {
        X = 6000 - y;
        Y = x + 5750;
    } else {
        X = x + 6000;
        Y = y + 5750;
    }
    return WriteValues(ToFileUnits(X), ToFileUnits(Y), 0);
}

int CPcs::WriteTrailer()
{
    m_Out.insert(m_Out.end(), (size_t)m_Layout.nTrailerBytes, 0);
    return 1;
}

int CPcs::WriteHeader(long lCount, long lStart, int nColors, const COLORCHG* pColors)
{
    m_Out.push_back(kMagic);
    m_Out.push_back(m_nHoopWidth == 80 ? kSmallFieldCode : kLargeFieldCode);
    WriteWord(kBlocksPerFile);
    int k = 0;
    if (!GetSetup()->m_bPfaffCompatible) {
        for (int b = partset::BlockOfPoint(nColors, pColors, lStart); b < nColors && k < kBlocksPerFile; ++b, ++k) {
            COLORREF c = GetThreadColor(pColors[b].nColor);
            const uint8_t entry[4] = {GetRValue(c), GetGValue(c), GetBValue(c), 0};
            m_Out.insert(m_Out.end(), entry, entry + 4);
        }
    }
    for (; k < kBlocksPerFile; ++k) {
        const uint8_t entry[4] = {kDefaultColors[k][0], kDefaultColors[k][1], kDefaultColors[k][2], 0};
        m_Out.insert(m_Out.end(), entry, entry + 4);
    }
    return WriteWord((uint32_t)lCount);
}

int CPcsMac::WriteHeader(long lCount, long, int, const COLORCHG*)
{
    return WriteHeader(lCount);
}

int CPcsMac::WriteHeader(long lCount)
{
    m_Out.push_back(kMagic);
    m_Out.push_back(m_nHoopWidth == 80 ? kSmallFieldCode : kLargeFieldCode);
    WriteWord(kBlocksPerFile);
    for (uint32_t slot = 0; slot < (uint32_t)kBlocksPerFile; ++slot) WriteWord(slot);
    return WriteWord((uint32_t)lCount);
}

int CPcs::SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long lStart, long lEnd,
                   int bTurned, long nXShift, long nYShift)
{
    if (lStart >= lEnd) return 1;
    bool compatible = GetSetup()->m_bPfaffCompatible != 0;
    ColorBlockWalk blocks(nColors, pColors);
    while (blocks.NextBlockAt(lStart)) {}
    long b = 0;
    for (long i = lStart; i < lEnd; ++i) {
        if (i == lStart || blocks.NextBlockAt(i)) {
            if (!WriteValues(compatible ? b : MappedColor(blocks.Color()), 0, kChangeFlag)) return 0;
            ++b;
        }
        if (!AddStitch(pPoints[i].x + nXShift, pPoints[i].y + nYShift, bTurned)) return 0;
    }
    return 1;
}

int CPcs::WriteClosingStitches(const FieldFit& fit)
{
    return AddStitch(fit.nMinX + fit.nXShift, fit.nMinY + fit.nYShift, fit.bTurned) &&
           AddStitch(fit.nMaxX + fit.nXShift, fit.nMaxY + fit.nYShift, fit.bTurned);
}

int CPcsMac::WriteClosingStitches(const FieldFit&)
{
    return WriteValues(0, 0, 0) && WriteValues(kPcmFarX, kPcmFarY, 0);
}

long CPcs::FindBoundry(int nColors, const COLORCHG* pColors, long lStitches, long lStart)
{
    int c0 = partset::BlockOfPoint(nColors, pColors, lStart);
    int v = c0 + 1;
    long limit = lStart + kPointsPerPart;
    while (v < nColors && v < c0 + kBlocksPerFile && pColors[v].nStitch < limit) ++v;
    if (v < nColors) {
        if (pColors[v].nStitch < limit) return pColors[v].nStitch;
        if (pColors[v - 1].nStitch > lStart) return pColors[v - 1].nStitch;
        return limit;
    }
    if (lStitches < limit) return lStitches;
    if (c0 >= nColors - 1) return limit;
    return pColors[nColors - 1].nStitch;
}

int CPcs::WriteOneFile(int nColors, const COLORCHG* pColors, long lStart, long lEnd,
                       const tagPOINT* pPoints, const FieldFit& fit, bool bClose)
{
    m_Out.clear();
    long count = lEnd - lStart + (bClose ? 2 : 0);
    return WriteHeader(count, lStart, nColors, pColors) &&
           SaveData(nColors, pColors, pPoints, lStart, lEnd, fit.bTurned, fit.nXShift, fit.nYShift) &&
           (!bClose || WriteClosingStitches(fit)) && WriteTrailer() && FlushRecords();
}

int CPcs::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    m_bTurned = 0;
    if (nStitches < 1) return RunExport(pszFileName, nStitches, [] { return 0; });
    MapClrIndexes(kPfaffMapFirst, kPfaffMapEnd);
    FieldFit fit = FitField(m_nHoopWidth, nStitches, pPoints);
    if (!fit.bFits) return Fail(KW_ERR_PCS_EXPORT, kMsgNoFit, pszFileName);
    m_bTurned = fit.bTurned;

    bool split = !UsesCallerFile() && GetSetup()->m_bPfaffSplit &&
                 (nStitches > kPointsPerPart || nColors > kBlocksPerFile);
    if (!split) {
        // The header counts records in 16 bits and holds 16 colours.
        if (nColors > kBlocksPerFile || nStitches > kMaxRecordCount) return partset::RefuseOneFile(*this, pszFileName);
        return partset::ExportSingle(*this, pszFileName, m_Layout.pszExt, nStitches, [&](const char*) {
            return WriteOneFile(nColors, pColors, 0, nStitches, pPoints, fit, false);
        });
    }
    std::vector<long> ends =
        partset::PlanParts(nStitches, [&](long start) { return FindBoundry(nColors, pColors, nStitches, start); });
    return partset::ExportParts(*this, pszFileName, m_Layout.pszExt, (int)ends.size(), [&](int k, const char*) {
        long start = k ? ends[(size_t)k - 1] : 0;
        return WriteOneFile(nColors, pColors, start, ends[(size_t)k], pPoints, fit, true);
    });
}

// ---- reading

int CPcs::ReadColorTable(int* pTable)
{
    uint8_t t[kBlocksPerFile * 4];
    if (!Read(t, (int)sizeof t)) return 0;
    for (int k = 0; k < kBlocksPerFile; ++k)
        pTable[k] = NearestThread(RGB(t[4 * k], t[4 * k + 1], t[4 * k + 2]), 0, kImportColorEnd);
    return 1;
}

int CPcsMac::ReadColorTable(int*)
{
    uint8_t slots[kBlocksPerFile * 2];
    return Read(slots, (int)sizeof slots);
}

int CPcs::FirstBlockColor(const int* pTable, int) { return pTable[0]; }

int CPcsMac::FirstBlockColor(const int*, int nColorsOnEntry) { return PcmColor((uint32_t)nColorsOnEntry); }

int CPcs::ChangeColor(const int* pTable, int nBlockInFile, uint32_t)
{
    // Blocks beyond the table keep its last colour.
    return pTable[nBlockInFile < kBlocksPerFile ? nBlockInFile : kBlocksPerFile - 1];
}

int CPcsMac::ChangeColor(const int*, int, uint32_t x) { return PcmColor(x & 0xFF); }

int CPcs::ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    auto fail = [this] {
        CloseHandle();
        return 0;
    };
    uint8_t head[4];
    if (!Read(head, 1) || head[0] != kMagic) return fail();
    if (!Read(head + 1, 3)) return fail();
    m_nHoopCode = head[1];
    m_nHoopWidth = m_nHoopCode == kSmallFieldCode ? 80 : 120;
    m_nHoopHeight = m_nHoopCode == kSmallFieldCode ? 80 : 115;
    int table[kBlocksPerFile] = {};
    if (!ReadColorTable(table)) return fail();
    uint8_t countBytes[2];
    if (!Read(countBytes, 2)) return fail();
    long count = m_Layout.bBigEndian ? GetBE16(countBytes) : GetLE16(countBytes);
    // Codes 0 and 2 are the 80 field, which the writer centres at (4000, 4000).
    bool small = m_nHoopCode == 0 || m_nHoopCode == kSmallFieldCode;
    long ox = small ? 4000 : 6000, oy = small ? 4000 : 5750;

    if (!OpenColorBlock(pnColors, pColors, *pnStitches, FirstBlockColor(table, *pnColors))) return fail();
    int blockInFile = 0;
    long stored = 0;
    uint8_t r[kRecordSize];
    while (stored < count) {
        if (!Read(r, kRecordSize)) return fail();
        uint32_t x = m_Layout.bBigEndian ? GetBE32(r) : GetLE32(r);
        uint32_t y = m_Layout.bBigEndian ? GetBE32(r + 4) : GetLE32(r + 4);
        if (r[8] == kChangeFlag) {
            if (stored == 0) {
                // A change before the file's first point names the colour of the open block.
                pColors[*pnColors - 1].nColor = (uint16_t)ChangeColor(table, 0, x);
                continue;
            }
            ++blockInFile;
            if (!OpenColorBlock(pnColors, pColors, *pnStitches, ChangeColor(table, blockInFile, x))) return fail();
            continue;
        }
        pPoints[*pnStitches] = tagPOINT{(int32_t)(FromFileUnits((int32_t)x) - ox), (int32_t)(FromFileUnits((int32_t)y) - oy)};
        ++*pnStitches;
        ++stored;
    }
    CloseHandle();
    return 1;
}

long CPcs::GetNoStitches(const char* pszFileName)
{
    if (!OpenFile(pszFileName, 0)) return -1;
    long length = (long)m_pFile->GetLength();
    std::vector<uint8_t> head((size_t)m_Layout.nCountOffset + 2);
    // A file that is not of this format (its first byte is not '2', or it is too short to
    // hold the count) gives -1, as one that cannot be opened: the host tells a foreign file
    // from an empty design by it.
    if (!ReadNoEMsg(head.data(), 1)) return -1; // a short read has closed the file
    if (head[0] != kMagic) {
        CloseHandle();
        return -1;
    }
    if (!ReadNoEMsg(head.data() + 1, (int)head.size() - 1)) return -1;
    CloseHandle();
    m_nHoopCode = head[1];
    const uint8_t* c = head.data() + m_Layout.nCountOffset;
    long count = m_Layout.bBigEndian ? GetBE16(c) : GetLE16(c);
    // Never more points than the file has records for.
    long records = (length - (long)head.size()) / kRecordSize;
    return count < records ? count : records;
}

long CPcs::GetMaxNoStitches(const char* pszFileName)
{
    if (partset::IsSetName(pszFileName) && !UsesCallerFile())
        return partset::MaxStitchesOfSetWithClosing(pszFileName, 2,
                                                    [&](const char* member) { return GetNoStitches(member); });
    return GetNoStitches(pszFileName);
}

int CPcs::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    return partset::ImportOneOrSet(*this, pszFileName, pnColors, pColors, pnStitches, [&](const char* name) {
        return ReadFile(name, pnColors, pColors, pnStitches, pPoints);
    }, 2);
}

// ---- what a round trip keeps

namespace {

// A position read back from 1/1536 mm lies at most 0.01 mm below where it was, and only
// multiples of 0.25 mm come back exactly; so a round trip keeps the 0.25 mm grid below a
// position (the field's centre offsets lie on it).
long FileGrid(long v)
{
    long q = v / 25;
    if (v % 25 < 0) --q;
    return q * 25;
}

void KeepField(StitchList& l, bool pcm)
{
    DropEmptyBlocks(l);
    CPcs::FieldFit fit = CPcs::FitField(120, l.nStitches, l.points.data());
    if (!fit.bFits) return;
    for (long i = 0; i < l.nStitches; ++i) {
        tagPOINT& p = l.points[(size_t)i];
        long x = p.x + fit.nXShift, y = p.y + fit.nYShift;
        p.x = (int32_t)FileGrid(fit.bTurned ? -y : x);
        p.y = (int32_t)FileGrid(fit.bTurned ? x : y);
        l.types[(size_t)i] = 0;
    }
    bool compatible = GetSetup()->m_bPfaffCompatible != 0;
    for (int k = 0; k < l.nColors; ++k) {
        uint16_t& c = l.colors[(size_t)k].nColor;
        int slot = k < kBlocksPerFile ? k : kBlocksPerFile - 1;
        if (pcm) {
            if (compatible)
                c = (uint16_t)PcmColor((uint32_t)k);
            else if (c < kPfaffMapFirst || c >= kPfaffMapEnd)
                c = (uint16_t)NearestThread(GetThreadColor(c), kPfaffMapFirst, kPfaffMapEnd);
        } else {
            const unsigned char* d = CPcs::kDefaultColors[slot];
            COLORREF rgb = compatible ? RGB(d[0], d[1], d[2]) : GetThreadColor(c);
            c = (uint16_t)NearestThread(rgb, 0, kImportColorEnd);
        }
    }
}

} // namespace

void PcsKeeps(StitchList& l) { KeepField(l, false); }
void PcmKeeps(StitchList& l) { KeepField(l, true); }
