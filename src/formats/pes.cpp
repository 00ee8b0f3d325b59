#include "formats/pes.h"

#include "core/endian.h"
#include "core/part_plan.h"
#include "core/part_set.h"
#include "formats/pe_codec.h"

#include <cstdlib>
#include <cstring>

namespace {

const char kMsgOutsideField[] =
    "Cannot save design %s. It does not fit within the embroidery field. Please resize the design.";

const char* const kMagics[5] = {"", "#PES0001", "#PES0020", "#PES0030", "#PES0040"};

// The Brother hoops by width: the file version, the field the design must lie in (file
// units, limits included) and whether the design is written turned.
struct Hoop {
    int nWidth;    // 0: any other width
    int nVersion;
    int16_t nLimitX, nLimitY;
    int16_t nRotation;
};
constexpr Hoop kHoops[] = {
    {130, 1, 650, 900, 0}, {160, 4, 800, 1300, 0}, {180, 2, 900, 650, 1}, {260, 4, 1300, 800, 1},
    {0, 1, 500, 500, 0},
};

const Hoop& HoopFor(int nWidth)
{
    for (const Hoop& h : kHoops)
        if (h.nWidth == nWidth) return h;
    return kHoops[sizeof kHoops / sizeof kHoops[0] - 1];
}

void Put16(std::vector<unsigned char>& out, int v)
{
    out.push_back((unsigned char)v);
    out.push_back((unsigned char)(v >> 8));
}

void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    Put16(out, (int)(v & 0xFFFF));
    Put16(out, (int)(v >> 16));
}

void PutFloat(std::vector<unsigned char>& out, float f)
{
    uint32_t v;
    std::memcpy(&v, &f, 4);
    Put32(out, v);
}

void PutText(std::vector<unsigned char>& out, const char* s)
{
    out.insert(out.end(), s, s + std::strlen(s));
}

constexpr long kMaxSegmentPoints = 16000;

int Clamp127(int d)
{
    return d > 127 ? 127 : d < -127 ? -127 : d;
}

} // namespace

CPes::CPes()
{
    m_nHoopWidth = 100;
    m_nHoopHeight = 100;
}

const char* CPes::VersionMagic(int nVersion)
{
    return nVersion >= 1 && nVersion <= 4 ? kMagics[nVersion] : "";
}

CPes::Extents CPes::MeasureExtents(long nStitches, const tagPOINT* pPoints)
{
    Extents e;
    for (long i = 0; i < nStitches; ++i) {
        int16_t x = (int16_t)(pPoints[i].x / 10), y = (int16_t)(-(pPoints[i].y / 10));
        if (i == 0 || x < e.minX) e.minX = x;
        if (i == 0 || x > e.maxX) e.maxX = x;
        if (i == 0 || y < e.minY) e.minY = y;
        if (i == 0 || y > e.maxY) e.maxY = y;
    }
    return e;
}

int CPes::OpenPes(const char* pszFileName, bool bReport)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    char magic[8];
    if (!(bReport ? Read(magic, 8) : ReadNoEMsg(magic, 8))) {
        CloseHandle();
        return 0;
    }
    m_nVersion = 0;
    for (int v = 1; v <= 4; ++v)
        if (!std::memcmp(magic, kMagics[v], 8)) m_nVersion = v;
    if (!m_nVersion) {
        CloseHandle();
        return 0;
    }
    return 1;
}

int CPes::ReadHoopFields(uint32_t* pPecOffset, bool bReport)
{
    auto read = [&](void* p, int n) { return bReport ? Read(p, n) : ReadNoEMsg(p, n); };
    unsigned char b[11];
    if (!read(b, 4)) return 0;
    *pPecOffset = GetLE32(b);
    m_nRotation = 0;
    if (m_nVersion == 1) {
        if (!read(b, 2)) return 0;
        bool large = GetLE16(b) != 0;
        m_nHoopWidth = large ? 130 : 100;
        m_nHoopHeight = large ? 180 : 100;
        return 1;
    }
    int skip = m_nVersion == 3 ? 4 : m_nVersion == 4 ? 11 : 0;
    if (skip && !read(b, skip)) return 0;
    if (!read(b, 6)) return 0;
    m_nHoopWidth = (int16_t)GetLE16(b);
    m_nHoopHeight = (int16_t)GetLE16(b + 2);
    m_nRotation = (int16_t)GetLE16(b + 4);
    return 1;
}

int CPes::ReadHeader(const char* pszFileName)
{
    std::string name = pszFileName ? pszFileName : "";
    if (partset::IsSetName(pszFileName) && !UsesCallerFile()) name = partset::MemberName(pszFileName, 0);
    if (!OpenPes(name.c_str(), false)) return 0;
    uint32_t offset;
    int ok = ReadHoopFields(&offset, false);
    if (ok) CloseHandle();
    return ok;
}

long CPes::GetNoStitches(const char* pszFileName)
{
    if (!OpenPes(pszFileName, false)) return -1;
    uint32_t offset;
    if (!ReadHoopFields(&offset, false)) return -1;
    long fileLength = (long)m_pFile->GetLength();
    unsigned char skip[48];
    if ((long)SetFilePointer((long)offset, 0) != (long)offset) {
        CloseHandle();
        return -1;
    }
    if (!ReadNoEMsg(skip, 48)) return -1;
    long n = pec::ReadStitchCount(this, 0, fileLength - (long)offset);
    if (n < 0) return -1; // closed already
    CloseHandle();
    return n;
}

long CPes::GetMaxNoStitches(const char* pszFileName)
{
    return partset::MaxOfOneOrSet(*this, pszFileName, [this](const char* m) { return GetNoStitches(m); });
}

int CPes::ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints)
{
    if (!OpenPes(pszFileName, true)) return 0;
    uint32_t offset;
    if (!ReadHoopFields(&offset, true)) {
        CloseHandle();
        return 0;
    }
    if ((long)SetFilePointer((long)offset, 0) != (long)offset) {
        CloseHandle();
        return 0;
    }
    unsigned char skip[48];
    const long first = *pnStitches;
    if (!Read(skip, 48) || !pec::ReadColorsAndStitches(this, 0, pnColors, pColors, pnStitches, pPoints)) {
        CloseHandle();
        return 0;
    }
    if (m_nRotation)
        for (long i = first; i < *pnStitches; ++i) pPoints[i] = tagPOINT{-pPoints[i].y, pPoints[i].x};
    CloseHandle();
    return 1;
}

int CPes::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                     tagPOINT* pPoints, unsigned char*)
{
    return partset::ImportOneOrSet(*this, pszFileName, pnColors, pColors, pnStitches, [&](const char* name) {
        return ReadFile(name, pnColors, pColors, pnStitches, pPoints);
    });
}

long CPes::FindBoundry(long start, int nColors, const COLORCHG* pColors, long nStitches, const tagPOINT* pPoints)
{
    return pec::FindBoundry(start, nColors, pColors, nStitches, pPoints, pec::Costing::Pes);
}

int CPes::SaveData(const char* pszFileName, int nColors, long nStitches, const COLORCHG* pColors,
                   const tagPOINT* pPoints, long start, long end)
{
    const Extents& e = m_Extents;
    const bool turned = m_nRotation != 0;
    const int c0 = pec::BlockOf(start, nColors, pColors);
    auto rec = [&](int k) { return pec::RecordStart(k, nColors, pColors, nStitches); };
    auto thread = [&](int k) { return MappedColor(pColors[k < 0 ? 0 : k].nColor) + 1; };
    auto xf = [&](long i) { return (int16_t)(pPoints[i].x / 10); };
    auto yf = [&](long i) { return (int16_t)(-(pPoints[i].y / 10)); };

    // ---- header, up to and including "CSewSeg"
    std::vector<unsigned char> out;
    out.reserve((size_t)(end - start) * 7 + 4096);
    PutText(out, kMagics[m_nVersion]);
    Put32(out, 0); // the PEC offset, filled in below
    if (m_nVersion == 1) {
        Put16(out, m_nHoopWidth == 130 ? 1 : 0);
        Put16(out, 1);
    } else {
        if (m_nVersion == 4) {
            static const unsigned char lead[11] = {0x01, 0x00, 0x30, 0x31, 0, 0, 0, 0, 0, 0, 0};
            out.insert(out.end(), lead, lead + 11);
        }
        for (int v : {m_nHoopWidth, m_nHoopHeight, (int)m_nRotation, 7, 19, 0, 0, 0, 25, 1, 0}) Put16(out, v);
        if (m_nVersion == 4) Put32(out, 0);
    }
    for (int v : {1, 0xFFFF, 0, 7}) Put16(out, v);
    PutText(out, "CEmbOne");
    for (int k = 0; k < 2; ++k)
        for (int v : {1000 + e.minX, 1000 - e.maxY, 1000 + e.maxX, 1000 - e.minY}) Put16(out, v);
    for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 1000.0f, 1000.0f}) PutFloat(out, f);
    for (int v : {1, (int)e.minX, (int)e.maxY, e.Width(), e.Height()}) Put16(out, v);
    Put32(out, 0);
    Put32(out, 0);
    const size_t segmentCountAt = out.size();
    for (int v : {0, 0xFFFF, 0, 7}) Put16(out, v);
    PutText(out, "CSewSeg");

    // ---- stitch segments, in the unturned file frame
    struct Entry {
        int thread, segment;
    };
    std::vector<Entry> entries = {{thread(c0), 0}};
    int current = thread(c0);
    int segments = 0;
    auto stitchSegment = [&](long from, long to, bool separator) {
        for (int v : {0, current, (int)(to - from)}) Put16(out, v);
        for (long j = from; j < to; ++j) {
            Put16(out, xf(j));
            Put16(out, yf(j));
        }
        if (separator) Put16(out, 0x8003);
        ++segments;
    };
    long s = start;
    int c = c0 + 1;
    int16_t prevX = 0, prevY = 0;
    for (long i = start; i < end; ++i) {
        if (rec(c) <= i) {
            if (s != i) {
                stitchSegment(s, i, true);
                s = i;
            }
            entries.back().segment = segments;
            current = thread(c);
            entries.push_back({current, 0});
            ++c;
        }
        int16_t x = xf(i), y = yf(i);
        int dx = (int16_t)(x - prevX), dy = (int16_t)(y - prevY);
        if (std::abs(dx) > 127 || std::abs(dy) > 127) {
            if (s != i) {
                stitchSegment(s, i, true);
                s = i;
            }
            int n = std::abs(dx) / 127 > std::abs(dy) / 127 ? std::abs(dx) / 127 : std::abs(dy) / 127;
            for (int v : {1, current, n + 1}) Put16(out, v);
            int jx = prevX, jy = prevY;
            Put16(out, jx);
            Put16(out, jy);
            for (int k = 0; k < n; ++k) {
                jx += Clamp127(x - jx);
                jy += Clamp127(y - jy);
                Put16(out, jx);
                Put16(out, jy);
            }
            Put16(out, 0x8003);
            ++segments;
        }
        if (i - s > kMaxSegmentPoints) {
            stitchSegment(s, i, true);
            s = i;
        }
        prevX = x;
        prevY = y;
    }
    stitchSegment(s, end, false);
    Put32(out, (uint32_t)entries.size());
    entries.back().segment = 0;
    for (const Entry& en : entries) {
        Put16(out, en.thread);
        Put16(out, en.segment);
    }
    Put16(out, 0);
    if (m_nVersion == 4) Put32(out, 0);

    const size_t pecOffset = out.size();
    PutLE32(&out[8], (uint32_t)pecOffset);
    PutLE16(&out[segmentCountAt], (uint32_t)segments);

    // ---- the PEC block, turned when the rotation flag is set
    int w = e.Width(), h = e.Height();
    pec::AppendBlockHeader(out, pec::Label(pszFileName), turned ? h : w, turned ? w : h);
    // The icon's frame: (-X, -Y) unturned, (-Y, X) turned, in the stitch list's direction.
    auto iconPoint = [&](long i) {
        int X = pPoints[i].x / 10, Y = pPoints[i].y / 10;
        return turned ? tagPOINT{-Y, X} : tagPOINT{-X, -Y};
    };
    CEmbIcon icon;
    auto startIcon = [&](long first) {
        icon.Create(pec::kIconWidth, pec::kIconHeight);
        if (turned) icon.SetScale(h, w);
        else icon.SetScale(w, h);
        icon.MoveTo(iconPoint(first));
    };
    startIcon(start);

    std::vector<unsigned char> threads = {(unsigned char)thread(c0)};
    unsigned char code[8];
    long length = 16;
    {
        int X = pPoints[start].x / 10, Y = pPoints[start].y / 10;
        int n = turned ? PEEncodeValue(code, (short)(Y + e.maxY), (short)(xf(start) - e.minX), 1)
                       : PEEncodeValue(code, (short)(xf(start) - e.minX), (short)(yf(start) - e.minY), 1);
        out.insert(out.end(), code, code + n);
        length += n;
        prevX = (int16_t)X;
        prevY = (int16_t)Y;
    }
    unsigned char colorCode = 0x02;
    c = c0 + 1;
    for (long i = start + 1; i < end; ++i) {
        bool jump = false;
        if (rec(c) <= i) {
            threads.push_back((unsigned char)thread(c));
            const unsigned char change[3] = {0xFE, 0xB0, colorCode};
            out.insert(out.end(), change, change + 3);
            colorCode = colorCode == 0x02 ? 0x01 : 0x02;
            length += 3;
            jump = true;
            ++c;
        }
        icon.LineTo(iconPoint(i));
        int X = pPoints[i].x / 10, Y = pPoints[i].y / 10;
        int dX = X - prevX, dY = Y - prevY;
        int n = turned ? PEEncodeValue(code, (short)dY, (short)dX, jump)
                       : PEEncodeValue(code, (short)dX, (short)(-dY), jump);
        out.insert(out.end(), code, code + n);
        length += n;
        prevX = (int16_t)X;
        prevY = (int16_t)Y;
    }
    out.push_back(0xFF);
    ++length;
    pec::AppendThumbnail(out, icon);

    // One thumbnail per colour block of the file, each of the whole block.
    for (int k = c0 < 0 ? 0 : c0; k < nColors && rec(k) < end; ++k) {
        long first = rec(k) < 0 ? 0 : rec(k);
        long last = rec(k + 1) < nStitches ? rec(k + 1) : nStitches;
        if (first < nStitches) {
            startIcon(first);
            for (long i = first + 1; i < last; ++i) icon.LineTo(iconPoint(i));
        } else {
            icon.Create(pec::kIconWidth, pec::kIconHeight);
        }
        pec::AppendThumbnail(out, icon);
    }

    // Trailer: the colour list again, in 128 bytes.
    size_t trailer = out.size();
    if (threads.size() == 1) {
        out.push_back(0x00);
        out.push_back(0x01);
    } else {
        size_t n = threads.size() < 127 ? threads.size() : 127;
        out.push_back((unsigned char)n);
        out.insert(out.end(), threads.begin(), threads.begin() + (long)n);
    }
    out.resize(trailer + 128, ' ');
    pec::FinishBlockHeader(out, pecOffset, threads, length);
    return Write(out.data(), (int)out.size());
}

int CPes::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    m_nRotation = 0;
    MapClrIndexes(pec::kThreadFirst, pec::kThreadEnd);
    // RunExport refuses an empty design before anything is created.
    if (nStitches < 1) return RunExport(pszFileName, nStitches, [] { return 0; });
    m_Extents = MeasureExtents(nStitches, pPoints);
    const Hoop& hoop = HoopFor(m_nHoopWidth);
    if (m_Extents.minX < -hoop.nLimitX || m_Extents.maxX > hoop.nLimitX || m_Extents.minY < -hoop.nLimitY ||
        m_Extents.maxY > hoop.nLimitY)
        return Fail(KW_ERR_PES_EXPORT, kMsgOutsideField, pszFileName);
    m_nRotation = hoop.nRotation;
    m_nVersion = hoop.nVersion;

    COLORCHG one[2] = {{0, 0, 0, 0}, {(int32_t)(nStitches + kClosingRecordOffset), 0, 0, 0}};
    if (nColors < 1) {
        nColors = 1;
        pColors = one;
    }
    bool split = !UsesCallerFile() &&
                 (FindBoundry(0, nColors, pColors, nStitches, pPoints) < nStitches || nColors > pec::kMaxBlocks);
    if (!split)
        return partset::ExportSingle(*this, pszFileName, ".pes", nStitches, [&](const char* file) {
            return SaveData(file, nColors, nStitches, pColors, pPoints, 0, nStitches);
        });

    std::vector<long> starts = partset::PartStarts(
        nStitches, [&](long start) { return FindBoundry(start, nColors, pColors, nStitches, pPoints); });
    return partset::ExportParts(*this, pszFileName, ".pes", (int)starts.size() - 1, [&](int k, const char* part) {
        return SaveData(part, nColors, nStitches, pColors, pPoints, starts[(size_t)k], starts[(size_t)k + 1]);
    });
}

bool CPes::ReadThumbnails(const char* pszFileName, std::vector<CIconImage>& out)
{
    if (!OpenPes(pszFileName, false)) return false;
    uint32_t offset;
    bool ok = ReadHoopFields(&offset, false) && pec::ReadThumbnails(this, (long)offset, out);
    CloseHandle();
    return ok;
}
