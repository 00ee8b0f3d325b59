#include "formats/pec.h"

#include "core/endian.h"
#include "core/part_plan.h"
#include "core/part_set.h"
#include "formats/pe_codec.h"

#include <cstring>

namespace {

const char kMagic[] = "#PEC0001";
const char kMagicAndLabel[] = "#PEC0001LA:";
constexpr int kMagicSize = 8;

} // namespace

CPec::CPec()
{
    m_nHoopWidth = 100;
    m_nHoopHeight = 100;
}

long CPec::GetNoStitches(const char* pszFileName)
{
    if (!OpenFile(pszFileName, 0)) return -1;
    unsigned char head[56];
    if (!ReadNoEMsg(head, 56)) return -1;
    if (std::memcmp(head, kMagicAndLabel, 11) != 0) {
        CloseHandle();
        return -1;
    }
    long n = pec::ReadStitchCount(this, 256, (long)m_pFile->GetLength());
    if (n < 0) return -1; // closed already
    CloseHandle();
    return n;
}

long CPec::GetMaxNoStitches(const char* pszFileName)
{
    return partset::MaxOfOneOrSet(*this, pszFileName, [this](const char* m) { return GetNoStitches(m); });
}

int CPec::ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    unsigned char head[56];
    if (!Read(head, 56) || std::memcmp(head, kMagicAndLabel, 11) != 0) {
        CloseHandle();
        return 0;
    }
    int ok = pec::ReadColorsAndStitches(this, 256, pnColors, pColors, pnStitches, pPoints);
    CloseHandle();
    return ok;
}

int CPec::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                     tagPOINT* pPoints, unsigned char*)
{
    return partset::ImportOneOrSet(*this, pszFileName, pnColors, pColors, pnStitches, [&](const char* name) {
        return ReadFile(name, pnColors, pColors, pnStitches, pPoints);
    });
}

long CPec::FindBoundry(long start, int nColors, const COLORCHG* pColors, long nStitches, const tagPOINT* pPoints)
{
    return pec::FindBoundry(start, nColors, pColors, nStitches, pPoints, pec::Costing::Pec);
}

int CPec::SaveData(const char* pszFileName, int nColors, const COLORCHG* pColors, const tagPOINT* pPoints,
                   long start, long end)
{
    int c = pec::BlockOf(start, nColors, pColors);
    auto thread = [&](int k) { return (unsigned char)(MappedColor(pColors[k < 0 ? 0 : k].nColor) + 1); };
    std::vector<unsigned char> threads = {thread(c)};
    ++c; // the next colour change

    std::vector<unsigned char> out(kMagic, kMagic + kMagicSize);
    out.reserve((size_t)(end - start) * 3 + 1024);
    pec::AppendBlockHeader(out, pec::Label(pszFileName), 0, 0);

    CEmbIcon icon;
    icon.Create(pec::kIconWidth, pec::kIconHeight);
    // The pen moves in file units (0.1 mm): the 100 x 100 mm hoop of the format fills the
    // icon (an extent of 100 units would show only the middle 10 mm).
    icon.SetScale(pec::kIconField, pec::kIconField);
    // The pen starts at the design's first point, also in the later files of a set.
    icon.MoveTo(-(pPoints[0].x / 10), -(pPoints[0].y / 10));

    long length = 16;
    unsigned char colorCode = 0x02;
    int32_t px = 0, py = 0;
    unsigned char code[8];
    for (long i = start; i < end; ++i) {
        bool jump = false;
        if (c < nColors && pColors[c].nStitch <= i) {
            threads.push_back(thread(c));
            const unsigned char change[3] = {0xFE, 0xB0, colorCode};
            out.insert(out.end(), change, change + 3);
            colorCode = colorCode == 0x02 ? 0x01 : 0x02;
            length += 3;
            jump = true;
            ++c;
        }
        int32_t x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        int n = PEEncodeValue(code, (short)(x - px), (short)(py - y), jump);
        out.insert(out.end(), code, code + n);
        length += n;
        px = x;
        py = y;
        icon.LineTo(-(int16_t)x, -(int16_t)y);
    }
    out.push_back(0xFF);
    ++length;
    pec::AppendThumbnail(out, icon);
    pec::FinishBlockHeader(out, kMagicSize, threads, length);
    return Write(out.data(), (int)out.size());
}

int CPec::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char*)
{
    // RunExport refuses an empty design before anything is created.
    if (nStitches < 1) return RunExport(pszFileName, nStitches, [] { return 0; });
    MapClrIndexes(pec::kThreadFirst, pec::kThreadEnd);
    COLORCHG one[2] = {{0, 0, 0, 0}, {(int32_t)(nStitches + kClosingRecordOffset), 0, 0, 0}};
    if (nColors < 1) {
        nColors = 1;
        pColors = one;
    }
    bool split = !UsesCallerFile() &&
                 (FindBoundry(0, nColors, pColors, nStitches, pPoints) < nStitches || nColors > pec::kMaxBlocks);
    if (!split)
        return partset::ExportSingle(*this, pszFileName, ".pec", nStitches, [&](const char* file) {
            return SaveData(file, nColors, pColors, pPoints, 0, nStitches);
        });

    std::vector<long> starts = partset::PartStarts(
        nStitches, [&](long start) { return FindBoundry(start, nColors, pColors, nStitches, pPoints); });
    return partset::ExportParts(*this, pszFileName, ".pec", (int)starts.size() - 1, [&](int k, const char* part) {
        return SaveData(part, nColors, pColors, pPoints, starts[(size_t)k], starts[(size_t)k + 1]);
    });
}

bool CPec::ReadThumbnails(const char* pszFileName, std::vector<CIconImage>& out)
{
    if (!OpenFile(pszFileName, 0)) return false;
    unsigned char head[11];
    bool ok = ReadNoEMsg(head, 11) && std::memcmp(head, kMagicAndLabel, 11) == 0 &&
              pec::ReadThumbnails(this, kMagicSize, out);
    CloseHandle();
    return ok;
}
