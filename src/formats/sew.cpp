#include "formats/sew.h"

#include "core/endian.h"
#include "core/part_plan.h"
#include "core/part_set.h"
#include "core/settings.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kMsgOutsideField[] =
    "Cannot save design %s. It does not fit within the embroidery field. Please resize the design.";

// SEW[k]: the code of master entry 111 + k.
constexpr uint8_t kSewCodes[CSew::kCodeCount] = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26,
    30, 34, 35, 39, 41, 45, 48, 50, 78, 74, 75, 76, 77,
    27, 28, 29, 31, 32, 33, 36, 37, 38, 40, 42, 43, 44, 46, 47, 49, 51,
    52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73,
};

constexpr int kStartX = -159, kStartY = 97; // file units, where the stitch records begin
constexpr int kFieldX = 610, kFieldY = 440;
constexpr long kMaxBlockStitches = 16000;
constexpr int kMaxStep = 127;

// Offsets of the fixed area.
constexpr int kColorTableAt = 2, kLengthsAt = 50;
constexpr int kSmallIconAt = 76, kBlockSmallAt = 268, kBlockSmallStride = 68;
constexpr int kMediumIconAt = 1086, kBlockMediumAt = 1470, kBlockMediumStride = 386;
constexpr int kDesignIconSizeAt = 6102, kDesignIconAt = 6104;

int ColorEndFor(int nSewColors)
{
    return nSewColors == 12 ? 123 : nSewColors == 78 ? 189 : 146;
}

} // namespace

CSew::CSew() : m_nColorEnd(ColorEndFor(GetSetup()->m_nSewColors))
{
    m_nHoopWidth = 122;
    m_nHoopHeight = 90;
}

int CSew::SewCode(int k)
{
    return k >= 0 && k < kCodeCount ? kSewCodes[k] : 0;
}

int CSew::MasterIndexOfCode(int nCode)
{
    if (nCode <= 26) return 110 + nCode;
    for (int k = 26; k < kCodeCount; ++k)
        if (kSewCodes[k] == nCode) return kJanomeFirst + k;
    return nCode;
}

long CSew::GetNoStitches(const char* pszFileName)
{
    long length = MeasureFile(pszFileName);
    if (length < 0) return -1;
    // Rounded down: a file shorter than the fixed area is no SEW file, and its count is
    // negative (a host tells it from an empty design by that).
    long words = length - kHeaderSize;
    return words >= 0 ? words / 2 : -((1 - words) / 2);
}

long CSew::GetMaxNoStitches(const char* pszFileName)
{
    return partset::MaxOfOneOrSet(*this, pszFileName, [this](const char* name) { return GetNoStitches(name); });
}

int CSew::ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    unsigned char head[74];
    // A file without the whole fixed area is no SEW file (its count is negative), and a
    // part set ends there, as its count does.
    if ((long)m_pFile->GetLength() < kHeaderSize || !Read(head, 2) || GetLE16(head) > kMaxBlocks ||
        !Read(head + 2, 72)) {
        CloseHandle();
        return 0;
    }
    int count = GetLE16(head);
    int64_t x = kStartX, y = kStartY;
    long position = kHeaderSize;
    bool ended = false;
    for (int k = 0; k < count && !ended; ++k) {
        int code = GetLE16(head + kColorTableAt + 2 * k);
        long words = GetLE16(head + kLengthsAt + 2 * k);
        if (!OpenColorBlock(pnColors, pColors, *pnStitches, MasterIndexOfCode(code))) {
            CloseHandle();
            return 0;
        }
        if ((long)SetFilePointer(position, 0) != position) {
            CloseHandle();
            return 0;
        }
        position += 2 * words;
        for (long w = 0; w < words; ++w) {
            unsigned char r[2];
            if (!Read(r, 2)) {
                ended = true; // reported; what was read stands
                break;
            }
            if (r[0] != 0x80) {
                x += (int8_t)r[0];
                y += (int8_t)r[1];
                pPoints[*pnStitches] = tagPOINT{(int32_t)(x * 10), (int32_t)(y * 10)};
                ++*pnStitches;
                continue;
            }
            if (r[1] == 0x01 || r[1] == 0x02 || r[1] == 0x04 || r[1] == 0x06) {
                if (!Read(r, 2)) {
                    CloseHandle();
                    return 0;
                }
                ++w;
                x += (int8_t)r[0];
                y += (int8_t)r[1];
            } else if (r[1] == 0x10) {
                break;
            }
        }
    }
    CloseHandle();
    WriteClosingRecord(pColors, *pnColors, *pnStitches);
    return 1;
}

int CSew::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                     tagPOINT* pPoints, unsigned char*)
{
    return partset::ImportOneOrSet(*this, pszFileName, pnColors, pColors, pnStitches, [&](const char* name) {
        return ReadFile(name, pnColors, pColors, pnStitches, pPoints);
    });
}

long CSew::FindBoundry(long start, int nColors, const COLORCHG* pColors, long nStitches)
{
    auto rec = [&](int k) -> long { return k < nColors ? pColors[k].nStitch : nStitches + kClosingRecordOffset; };
    int i = 0;
    while (i < nColors && rec(i) < start) ++i;
    const int b = i < nColors && rec(i) == start ? i : i - 1;
    long p = 0;
    while (i < nColors && i < b + kMaxBlocks) {
        p = i > 0 ? rec(i - 1) : 0;
        if (rec(i) >= p + kMaxBlockStitches) break;
        ++i;
    }
    long end;
    if (i < nColors) {
        p = i > 0 ? rec(i - 1) : 0;
        if (rec(i) < p + kMaxBlockStitches) end = rec(i);
        else if (i > 0 && rec(i - 1) > start) end = rec(i - 1);
        else end = start + kMaxBlockStitches;
    } else {
        end = nStitches;
    }
    // The walk measures the block before a part that begins exactly at a colour change and
    // cuts a long block at a fixed length, so its end may lie past the design or past a
    // thirteenth block: a part never does.
    if (end > nStitches) end = nStitches;
    int first = b < 0 ? 0 : b;
    if (first + kMaxBlocks < nColors && rec(first + kMaxBlocks) > start && rec(first + kMaxBlocks) < end)
        end = rec(first + kMaxBlocks);
    return end > start ? end : nStitches;
}

int CSew::AddStitch(int dx, int dy)
{
    int words = 0;
    auto word = [&](int lo, int hi) {
        m_Out.push_back((unsigned char)lo);
        m_Out.push_back((unsigned char)hi);
        ++words;
    };
    while (std::abs(dx) > kMaxStep || std::abs(dy) > kMaxStep) {
        int jx = dx > kMaxStep ? kMaxStep : dx < -kMaxStep ? -kMaxStep : 0;
        int jy = dy > kMaxStep ? kMaxStep : dy < -kMaxStep ? -kMaxStep : 0;
        dx -= jx;
        dy -= jy;
        word(0x80, 0x02);
        word(jx, jy);
    }
    word(dx, dy);
    return words;
}

int CSew::SaveIcon(CEmbIcon& icon)
{
    CSize size = icon.GetSize();
    int bytes = size.cx / 8;
    for (int r = size.cy - 1; r >= 0; --r) {
        const unsigned char* line = icon.GetIconLine(r);
        m_Out.insert(m_Out.end(), line, line + bytes);
    }
    return 1;
}

int CSew::SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long start, long end)
{
    auto code = [&](int k) { return SewCode(MappedColor(pColors[k < 0 ? 0 : k].nColor)); };
    int b = 0;
    while (b < nColors && pColors[b].nStitch < start) ++b;
    if (!(b < nColors && pColors[b].nStitch == start)) --b;
    if (b < 0) b = 0;

    // Thumbnails: the design's sized by its extents, and the fixed ones.
    int rx = (m_nMaxX - m_nMinX + 70) / 80 * 80, ry = (m_nMaxY - m_nMinY + 70) / 80 * 80;
    if (rx > 1200) rx = 1200;
    if (ry > 880) ry = 880;
    CEmbIcon design, small, medium, blockSmall[kMaxBlocks], blockMedium[kMaxBlocks];
    design.Create(rx / 10, ry / 10);
    design.SetScale(rx, ry);
    small.Create(48, 32);
    medium.Create(64, 48);
    CEmbIcon* fixed[] = {&small, &medium};
    for (CEmbIcon* icon : fixed) icon->SetScale(1220, 880);
    for (int k = 0; k < kMaxBlocks; ++k) {
        blockSmall[k].Create(24, 22);
        blockMedium[k].Create(64, 48);
        blockSmall[k].SetScale(1220, 880);
        blockMedium[k].SetScale(1220, 880);
    }
    int sx = pPoints[start].x / 10, sy = pPoints[start].y / 10;
    for (CEmbIcon* icon : {&design, &small, &medium, &blockSmall[0], &blockMedium[0]}) icon->MoveTo(sx, sy);

    int colorCount = nColors - b < kMaxBlocks ? nColors - b : kMaxBlocks;
    uint16_t table[kMaxBlocks] = {}, lengths[kMaxBlocks] = {};
    table[0] = (uint16_t)code(b);

    m_Out.assign(kHeaderSize, 0);
    m_Out.reserve((size_t)kHeaderSize + (size_t)(end - start) * 2 + 1024);
    PutLE16(&m_Out[0], (uint32_t)colorCount);
    auto put = [&](std::initializer_list<int> bytes) { m_Out.insert(m_Out.end(), bytes.begin(), bytes.end()); };
    put({0x80, 0x02, 0x00, 0x00});
    long words = 2;
    int px = kStartX, py = kStartY;
    int k = 0;
    int next = b + 1;
    for (long i = start; i < end; ++i) {
        int x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        if (next < nColors && pColors[next].nStitch <= i) {
            // A part holds at most 12 blocks (FindBoundry, and the one-file refusal).
            if (k + 1 >= kMaxBlocks) return 0;
            put({0x00, 0x00, 0x80, 0x01, 0x00, 0x00});
            lengths[k] = (uint16_t)(words + 3);
            ++k;
            table[k] = (uint16_t)code(next);
            ++next;
            put({0x80, 0x02, 0x00, 0x00});
            words = 2;
            blockSmall[k].MoveTo(x, y);
            blockMedium[k].MoveTo(x, y);
        }
        for (CEmbIcon* icon : {&design, &small, &medium, &blockSmall[k], &blockMedium[k]}) icon->LineTo(x, y);
        words += AddStitch(x - px, y - py);
        px = x;
        py = y;
    }
    put({0x80, 0x10});
    lengths[k] = (uint16_t)(words + 1);
    m_Out.insert(m_Out.end(), (size_t)8 * (size_t)colorCount, 0);

    // The fixed area, now that the block lengths and thumbnails are known.
    std::vector<unsigned char> records(m_Out.begin() + kHeaderSize, m_Out.end());
    m_Out.resize(2);
    for (int j = 0; j < kMaxBlocks; ++j) m_Out.insert(m_Out.end(), {(unsigned char)table[j], (unsigned char)(table[j] >> 8)});
    for (int j = 0; j < kMaxBlocks; ++j) m_Out.insert(m_Out.end(), {1, 0});
    for (int j = 0; j < kMaxBlocks; ++j)
        m_Out.insert(m_Out.end(), {(unsigned char)lengths[j], (unsigned char)(lengths[j] >> 8)});
    m_Out.insert(m_Out.end(), {0x06, 0x20});
    SaveIcon(small);
    for (int j = 0; j < kMaxBlocks; ++j) {
        m_Out.insert(m_Out.end(), {0x03, 0x18});
        SaveIcon(blockSmall[j]);
    }
    m_Out.insert(m_Out.end(), {0x08, 0x30});
    SaveIcon(medium);
    for (int j = 0; j < kMaxBlocks; ++j) {
        m_Out.insert(m_Out.end(), {0x08, 0x30});
        SaveIcon(blockMedium[j]);
    }
    CSize size = design.GetSize();
    m_Out.insert(m_Out.end(), {(unsigned char)(size.cx / 8), (unsigned char)size.cy});
    SaveIcon(design);
    m_Out.resize(kHeaderSize, 0);
    m_Out.insert(m_Out.end(), records.begin(), records.end());
    int ok = Write(m_Out.data(), (int)m_Out.size());
    m_Out.clear();
    m_Out.shrink_to_fit();
    return ok;
}

int CSew::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    // RunExport refuses an empty design before anything is created.
    if (nStitches < 1) return RunExport(pszFileName, nStitches, [] { return 0; });
    MapClrIndexes(kJanomeFirst, m_nColorEnd);
    for (long i = 0; i < nStitches; ++i) {
        int x = (int16_t)(pPoints[i].x / 10), y = (int16_t)(pPoints[i].y / 10);
        if (i == 0 || x < m_nMinX) m_nMinX = x;
        if (i == 0 || x > m_nMaxX) m_nMaxX = x;
        if (i == 0 || y < m_nMinY) m_nMinY = y;
        if (i == 0 || y > m_nMaxY) m_nMaxY = y;
    }
    if (m_nMinX < -kFieldX || m_nMaxX > kFieldX || m_nMinY < -kFieldY || m_nMaxY > kFieldY)
        return Fail(KW_ERR_SEW_EXPORT, kMsgOutsideField, pszFileName);

    COLORCHG one[2] = {{0, 0, 0, 0}, {(int32_t)(nStitches + kClosingRecordOffset), 0, 0, 0}};
    if (nColors < 1) {
        nColors = 1;
        pColors = one;
    }
    bool needsParts = FindBoundry(0, nColors, pColors, nStitches) != nStitches || nColors > kMaxBlocks;
    if (!needsParts || UsesCallerFile()) {
        // A caller's memory file is one file: it cannot hold more than 12 blocks.
        if (nColors > kMaxBlocks) return partset::RefuseOneFile(*this, pszFileName);
        return partset::ExportSingle(*this, pszFileName, ".sew", nStitches,
                                     [&](const char*) { return SaveData(nColors, pColors, pPoints, 0, nStitches); });
    }
    std::vector<long> starts =
        partset::PartStarts(nStitches, [&](long start) { return FindBoundry(start, nColors, pColors, nStitches); });
    return partset::ExportParts(*this, pszFileName, ".sew", (int)starts.size() - 1, [&](int k, const char*) {
        return SaveData(nColors, pColors, pPoints, starts[(size_t)k], starts[(size_t)k + 1]);
    });
}

bool CSew::ReadThumbnails(const char* pszFileName, std::vector<CIconImage>& out)
{
    if (!OpenFile(pszFileName, 0)) return false;
    std::vector<unsigned char> head(kHeaderSize);
    if (!ReadNoEMsg(head.data(), kHeaderSize)) return false;
    CloseHandle();
    int count = GetLE16(&head[0]);
    if (count > kMaxBlocks) return false;
    const unsigned char* h = head.data();
    int w8 = h[kDesignIconSizeAt], height = h[kDesignIconSizeAt + 1];
    // Rows are stored from the largest y, so the first stored row is the top as a person
    // looks at the design.
    if (w8 > 0 && height > 0 && kDesignIconAt + w8 * height <= kHeaderSize)
        out.push_back(UnpackIcon(h + kDesignIconAt, w8 * 8, height, w8, true, "design"));
    out.push_back(UnpackIcon(h + kSmallIconAt, 48, 32, 6, true, "design 48x32"));
    out.push_back(UnpackIcon(h + kMediumIconAt, 64, 48, 8, true, "design 64x48"));
    for (int k = 0; k < count; ++k) {
        std::string block = "colour block " + std::to_string(k + 1);
        out.push_back(UnpackIcon(h + kBlockSmallAt + 2 + kBlockSmallStride * k, 24, 22, 3, true, block + " 24x22"));
        out.push_back(
            UnpackIcon(h + kBlockMediumAt + 2 + kBlockMediumStride * k, 64, 48, 8, true, block + " 64x48"));
    }
    return true;
}
