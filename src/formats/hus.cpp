#include "formats/hus.h"

#include "compress/glcompressor.h"
#include "compress/limited_memory.h"
#include "core/endian.h"
#include "core/part_plan.h"
#include "core/part_set.h"
#include "core/settings.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kBlocksPerPart = 12;
constexpr long kStitchesPerPart = 24000;
constexpr int kMaxStep = 127;
constexpr int kTrimDistance = 381;
constexpr int kMaxColorList = 255;
constexpr int kHusColorEnd = 29; // master entries 0 to 28
// No honest section expands beyond this many bytes per byte of its file; a header count
// beyond it is not believed.
constexpr long kMaxExpansion = 4096;

struct Header {
    int32_t nRecords = 0;
    int32_t nColors = 0;
    uint32_t offsets[3] = {0, 0, 0};
};

long RecordLimit(int32_t nRecords, long fileLength)
{
    long cap = fileLength > 0 && fileLength < (1L << 40) / kMaxExpansion ? fileLength * kMaxExpansion : 0;
    return nRecords <= 0 ? 0 : std::min<long>(nRecords, cap);
}

// Decompresses one section into out; a section longer than out can hold keeps its first
// bytes. False when the stream is corrupt.
bool ExpandSection(const unsigned char* data, long length, ALLimitedMemory& out)
{
    ALMemory source("SOURCE", const_cast<unsigned char*>(data), length);
    ALGlDecompressor engine(0);
    int status = engine.Decompress(source, out, length);
    return status >= 0 || out.LimitReached();
}

// The block active at point start: the first record that begins at or after it, if it
// begins exactly there, else the one before.
int ActiveBlock(long start, int nColors, const COLORCHG* pColors, int* pFirstAtOrAfter)
{
    int i = 0;
    while (i < nColors && pColors[i].nStitch < start) ++i;
    if (pFirstAtOrAfter) *pFirstAtOrAfter = i;
    return i < nColors && pColors[i].nStitch == start ? i : i - 1;
}

} // namespace

CHus::CHus()
{
    m_nHoopWidth = 0;
    m_nHoopHeight = 0;
}

long CHus::GetNoStitches(const char* pszFileName)
{
    if (!OpenFile(pszFileName, 0)) return -1;
    uint8_t h[kHeaderSize];
    if (!ReadNoEMsg(h, 4) || !Read(h + 4, 4)) {
        CloseHandle();
        return -1;
    }
    int32_t n = (int32_t)GetLE32(h + 4);
    long length = (long)m_pFile->GetLength();
    // The count is believed only as far as the command section really holds records.
    long held = 0;
    if (n > 0 && ReadNoEMsg(h + 8, kHeaderSize - 8)) {
        long cmd = (long)GetLE32(h + 20), x = (long)GetLE32(h + 24);
        if (cmd >= kHeaderSize && x >= cmd && x <= length && SetFilePointer(cmd, 0) == (unsigned long)cmd) {
            std::vector<unsigned char> section((size_t)(x - cmd));
            if (section.empty() || ReadNoEMsg(section.data(), (int)section.size())) {
                ALLimitedMemory count("CODES", RecordLimit(n, length), false);
                if (ExpandSection(section.data(), (long)section.size(), count)) held = count.Used();
            }
        }
    }
    CloseHandle();
    return n <= 0 ? n : std::min<long>(n, held);
}

long CHus::GetMaxNoStitches(const char* pszFileName)
{
    if (partset::IsSetName(pszFileName) && !UsesCallerFile()) {
        long total = partset::MaxStitchesOfSet(pszFileName, [&](const char* member) { return GetNoStitches(member); });
        return total < 0 ? 15 : total + 16;
    }
    long n = GetNoStitches(pszFileName);
    return (n < 0 ? -1 : n) + 16;
}

int CHus::ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    auto fail = [&] {
        CloseHandle();
        return 0;
    };
    uint8_t h[kHeaderSize];
    if (!Read(h, 12)) return fail();
    Header head;
    head.nRecords = (int32_t)GetLE32(h + 4);
    head.nColors = (int32_t)GetLE32(h + 8);
    if (head.nColors < 0 || head.nColors > kMaxColorList) return fail();
    if (!Read(h + 12, kHeaderSize - 12)) return fail();
    for (int s = 0; s < 3; ++s) head.offsets[s] = GetLE32(h + 20 + 4 * s);
    std::vector<uint16_t> colors((size_t)head.nColors);
    for (auto& c : colors)
        if (!ReadLE16(&c)) return fail();

    long length = (long)m_pFile->GetLength();
    long ends[3] = {(long)head.offsets[1], (long)head.offsets[2], length};
    long longest = 0;
    for (int s = 0; s < 3; ++s) {
        if ((long)head.offsets[s] > ends[s] || ends[s] > length) return fail();
        longest = std::max(longest, ends[s] - (long)head.offsets[s]);
    }
    std::vector<unsigned char> source((size_t)longest);
    long limit = RecordLimit(head.nRecords, length);
    static const char* const names[3] = {"CODES", "XCORDS", "YCORDS"};
    ALLimitedMemory codes(names[0], limit), xs(names[1], limit), ys(names[2], limit);
    ALLimitedMemory* outs[3] = {&codes, &xs, &ys};
    for (int s = 0; s < 3; ++s) {
        long off = (long)head.offsets[s], len = ends[s] - off;
        if (SetFilePointer(off, 0) != (unsigned long)off) return fail();
        if (len > 0 && !Read(source.data(), (int)len)) return fail();
        if (!ExpandSection(source.data(), len, *outs[s])) return fail();
    }
    CloseHandle();

    // A colour change beyond the list takes its last entry (black when it is empty).
    auto colorOf = [&](size_t j) -> int {
        if (colors.empty()) return 0;
        return colors[std::min(j, colors.size() - 1)];
    };
    if (!OpenColorBlock(pnColors, pColors, *pnStitches, colorOf(0))) return 0;
    // Only as far as all three sections reach.
    long records = std::min({limit, codes.Used(), xs.Used(), ys.Used()});
    const unsigned char *c = codes.Data(), *dx = xs.Data(), *dy = ys.Data();
    int64_t x = 0, y = 0;
    bool noStitch = true;
    size_t nextColor = 1;
    for (long i = 0; i < records; ++i) {
        switch (c[i]) {
        case kStitch:
            x += (int8_t)dx[i];
            y += (int8_t)dy[i];
            pPoints[*pnStitches] = tagPOINT{ScaleToStitchUnits(x, 10), ScaleToStitchUnits(y, 10)};
            ++*pnStitches;
            noStitch = false;
            break;
        case kJump:
            x += (int8_t)dx[i];
            y += (int8_t)dy[i];
            break;
        case kColorChange:
            if (!OpenColorBlock(pnColors, pColors, *pnStitches, colorOf(nextColor++))) return 0;
            noStitch = true;
            break;
        default:
            break;
        }
    }
    // A last block without stitches (or a file without any) is dropped; the stitches stay.
    if (noStitch) --*pnColors;
    return 1;
}

int CHus::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                     tagPOINT* pPoints, unsigned char*)
{
    return partset::ImportOneOrSet(*this, pszFileName, pnColors, pColors, pnStitches, [&](const char* name) {
        return ReadFile(name, pnColors, pColors, pnStitches, pPoints);
    });
}

long CHus::FindBoundry(long lStart, int nColors, const COLORCHG* pColors, long nStitches) const
{
    int i;
    int b = ActiveBlock(lStart, nColors, pColors, &i);
    long limit = lStart + kStitchesPerPart;
    bool split = GetSetup()->m_bVikingSplit != 0;
    while (i < nColors && (i < b + kBlocksPerPart || !split)) {
        if (pColors[i].nStitch >= limit) break;
        ++i;
    }
    long end;
    if (i < nColors) {
        if (pColors[i].nStitch < limit)
            end = pColors[i].nStitch;
        else
            end = i > 0 && pColors[i - 1].nStitch > lStart ? pColors[i - 1].nStitch : limit;
    } else if (nStitches <= limit) {
        // A part holds up to 24 000 stitches, so a design of exactly that many fits one.
        end = nStitches;
    } else {
        end = b + 1 == nColors || nColors == 0 ? limit : pColors[nColors - 1].nStitch;
    }
    // Empty blocks at the start of a part would not move it on: cut by the stitch limit.
    if (end <= lStart) end = std::min(limit, nStitches);
    return end;
}

int CHus::SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long lStart, long lEnd)
{
    auto mapped = [&](int k) { return MappedColor(pColors[k].nColor); };
    std::vector<uint16_t> colorList;
    int next;
    int b = ActiveBlock(lStart, nColors, pColors, &next);
    colorList.push_back((uint16_t)(b >= 0 ? mapped(b) : 0));
    next = b + 1;
    std::vector<unsigned char> cmd, xs, ys;
    size_t reserve = (size_t)(lEnd - lStart) + 16;
    cmd.reserve(reserve);
    xs.reserve(reserve);
    ys.reserve(reserve);
    auto record = [&](unsigned char c, int sx, int sy) {
        cmd.push_back(c);
        xs.push_back((unsigned char)(int8_t)sx);
        ys.push_back((unsigned char)(int8_t)sy);
        return true;
    };
    int16_t maxX = (int16_t)pPoints[lStart].x, maxY = (int16_t)pPoints[lStart].y;
    int16_t minX = maxX, minY = maxY;
    int32_t px = 0, py = 0;
    for (long i = lStart; i < lEnd; ++i) {
        const tagPOINT& p = pPoints[i];
        int16_t lx = (int16_t)p.x, ly = (int16_t)p.y;
        maxX = std::max(maxX, lx);
        maxY = std::max(maxY, ly);
        minX = std::min(minX, lx);
        minY = std::min(minY, ly);
        if (next >= 0 && next < nColors && pColors[next].nStitch <= i) {
            colorList.push_back((uint16_t)mapped(next));
            record(kColorChange, 0, 0);
            ++next;
        }
        int32_t x = p.x / 10, y = p.y / 10;
        int dx = x - px, dy = y - py;
        if (dx >= kTrimDistance || dx <= -kTrimDistance || dy >= kTrimDistance || dy <= -kTrimDistance)
            record(kTrim, 0, 0);
        SplitLongMove(dx, dy, kMaxStep, [&](int sx, int sy) { return record(kJump, sx, sy); });
        record(kStitch, dx, dy);
        px = x;
        py = y;
    }
    record(kEnd, 0, 0);
    if ((long)colorList.size() > kMaxColorList) colorList.resize(kMaxColorList);

    ALGlCompressor engine(0, 0);
    std::vector<unsigned char>* arrays[3] = {&cmd, &xs, &ys};
    static const char* const inNames[3] = {"CODES", "XCORDS", "YCORDS"};
    static const char* const outNames[3] = {"CDESTIN", "XDESTIN", "YDESTIN"};
    std::vector<std::vector<unsigned char>> packed(3);
    for (int s = 0; s < 3; ++s) {
        ALMemory in(inNames[s], arrays[s]->data(), (long)arrays[s]->size());
        ALMemory out(outNames[s]);
        engine.Compress(in, out);
        packed[(size_t)s].assign(out.GetBuffer(), out.GetBuffer() + out.GetSize());
    }
    int32_t n = (int32_t)cmd.size(), k = (int32_t)colorList.size();
    uint32_t cmdOff = (uint32_t)(kHeaderSize + 2 * k);
    uint32_t xOff = cmdOff + (uint32_t)packed[0].size(), yOff = xOff + (uint32_t)packed[1].size();
    std::vector<uint8_t> head((size_t)cmdOff, 0);
    PutLE32(&head[0], kMagic);
    PutLE32(&head[4], (uint32_t)n);
    PutLE32(&head[8], (uint32_t)k);
    PutLE16(&head[12], (uint16_t)(maxX / 10));
    PutLE16(&head[14], (uint16_t)(maxY / 10));
    PutLE16(&head[16], (uint16_t)(minX / 10));
    PutLE16(&head[18], (uint16_t)(minY / 10));
    PutLE32(&head[20], cmdOff);
    PutLE32(&head[24], xOff);
    PutLE32(&head[28], yOff);
    for (int j = 0; j < k; ++j) PutLE16(&head[(size_t)(kHeaderSize + 2 * j)], colorList[(size_t)j]);
    if (!Write(head.data(), (int)head.size())) return 0;
    for (const auto& p : packed)
        if (!p.empty() && !Write(p.data(), (int)p.size())) return 0;
    return 1;
}

int CHus::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    if (nStitches < 1) return Fail(KW_ERR_NO_STITCHES, "Cannot save %s. Design does not have any stitch data.", pszFileName);
    MapClrIndexes(0, kHusColorEnd);
    bool split = !UsesCallerFile() && GetSetup()->m_bVikingSplit &&
                 (FindBoundry(0, nColors, pColors, nStitches) != nStitches || nColors > kBlocksPerPart);
    if (split) {
        std::vector<long> ends = partset::PlanParts(
            nStitches, [&](long start) { return FindBoundry(start, nColors, pColors, nStitches); });
        return partset::ExportParts(*this, pszFileName, ".hus", (int)ends.size(), [&](int k, const char*) {
            return SaveData(nColors, pColors, pPoints, k ? ends[(size_t)k - 1] : 0, ends[(size_t)k]);
        });
    }
    return partset::ExportSingle(*this, pszFileName, ".hus", nStitches,
                                 [&](const char*) { return SaveData(nColors, pColors, pPoints, 0, nStitches); });
}
