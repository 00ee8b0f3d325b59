#include "formats/format_table.h"

#include "core/colors.h"
#include "core/stitch_compare.h"
#include "formats/csd.h"
#include "formats/dst.h"
#include "formats/exp.h"
#include "formats/hus.h"
#include "formats/pcs.h"
#include "formats/xxx.h"
#include "formats/pec.h"
#include "formats/pes.h"
#include "formats/sew.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

template <class T> CFilter* Make() { return new T; }

// DST keeps 0.1 mm, no thread colours, and trims as trim sequences; any other jump comes
// back only where a move needs one.
void DstKeeps(StitchList& l)
{
    KeepUnit(l, 10);
    DropEmptyBlocks(l);
    KeepBlockNumbers(l);
    KeepTrimsOnly(l);
}

// EXP keeps 0.1 mm and no thread colours; trims and jumps come back only where a move
// needs jumps; a stitch that does not move the needle is not read back.
void ExpKeeps(StitchList& l)
{
    KeepUnit(l, 10);
    DropStandingStitches(l);
    DropEmptyBlocks(l);
    KeepBlockNumbers(l);
    for (auto& t : l.types) t = 0;
}

// HUS keeps 0.1 mm and the 29 colours of its palette; every point comes back as a stitch.
void HusKeeps(StitchList& l)
{
    KeepUnit(l, 10);
    DropEmptyBlocks(l);
    for (int k = 0; k < l.nColors; ++k) {
        uint16_t& c = l.colors[(size_t)k].nColor;
        if (c >= 29) c = (uint16_t)NearestThread(GetThreadColor(c), 0, 29);
    }
    for (auto& t : l.types) t = 0;
}

// PEC keeps 0.1 mm and the nearest Brother thread; no jumps or trims are stored.
void PecKeeps(StitchList& l)
{
    KeepUnit(l, 10);
    KeepNoTypes(l);
    DropEmptyBlocks(l);
    KeepThreadRange(l, kBrotherFirst, kBrotherEnd);
}

// PES as PEC, and the design comes back with its extents centred on the origin (as read
// from a file written for a hoop that is not turned).
void PesKeeps(StitchList& l)
{
    PecKeeps(l);
    if (l.nStitches < 1) return;
    int minX = l.points[0].x / 10, maxX = minX, minY = l.points[0].y / 10, maxY = minY;
    for (long i = 0; i < l.nStitches; ++i) {
        int x = l.points[(size_t)i].x / 10, y = l.points[(size_t)i].y / 10;
        minX = x < minX ? x : minX;
        maxX = x > maxX ? x : maxX;
        minY = y < minY ? y : minY;
        maxY = y > maxY ? y : maxY;
    }
    int dx = -minX - (maxX - minX) / 2, dy = -maxY + (maxY - minY) / 2;
    for (long i = 0; i < l.nStitches; ++i) {
        l.points[(size_t)i].x += 10 * dx;
        l.points[(size_t)i].y += 10 * dy;
    }
}

// SEW keeps 0.1 mm and the nearest thread of its range; it stores no jumps or trims, and
// a block followed by another ends with a stitch of length 0, which repeats its last point.
void SewKeeps(StitchList& l)
{
    KeepUnit(l, 10);
    KeepNoTypes(l);
    DropEmptyBlocks(l);
    KeepThreadRange(l, kJanomeFirst, CSew().m_nColorEnd);
    StitchList out = l;
    long n = 0;
    for (int k = 0; k < l.nColors; ++k) {
        long first = BlockStart(l.colors.data(), l.nColors, k, l.nStitches);
        long end = BlockEnd(l.colors.data(), l.nColors, k, l.nStitches);
        if (k + 1 < l.nColors)
            while (end - first >= 2 && l.points[(size_t)end - 1].x == l.points[(size_t)end - 2].x &&
                   l.points[(size_t)end - 1].y == l.points[(size_t)end - 2].y)
                --end;
        out.colors[(size_t)k].nStitch = (int32_t)n;
        for (long i = first; i < end; ++i, ++n) {
            out.points[(size_t)n] = l.points[(size_t)i];
            out.types[(size_t)n] = l.types[(size_t)i];
        }
    }
    out.nStitches = n;
    out.points.resize((size_t)n);
    out.types.resize((size_t)n);
    WriteClosingRecord(out.colors.data(), out.nColors, out.nStitches);
    l = out;
}

} // namespace

const std::vector<FormatInfo>& GetFormatTable()
{
    // Every extension the library knows. A row without a filter is recognised but read by
    // no filter (the condensed designs have their own reader; .pmd is refused).
    static const std::vector<FormatInfo> table = {
        {".exp", 1, "Melco expanded EXP", &Make<CExp>, true, &ExpKeeps},
        {".dst", 2, "Tajima DST", &Make<CDst>, true, &DstKeeps},
        {".10o", 3, "Tajima DST (10o)", &Make<CDst>, true, &DstKeeps},
        {".pcs", 4, "Pfaff PCS", &Make<CPcs>, true, &PcsKeeps},
        {".pcm", 5, "Pfaff PCM", &Make<CPcsMac>, true, &PcmKeeps},
        {".hus", 6, "Husqvarna/Viking HUS", &Make<CHus>, true, &HusKeeps},
        {".xxx", 7, "Singer XXX", &Make<CXxx>, true, &XxxKeeps},
        {".pec", 8, "Brother PEC", &Make<CPec>, true, &PecKeeps},
        {".pes", 9, "Brother PES", &Make<CPes>, true, &PesKeeps},
        {".csd", 10, "Poem/Singer EU CSD", &Make<CCsd>, true, &CsdKeeps},
        {".pmd", 11, "PMD (not supported)", nullptr, false, nullptr},
        {".sew", 12, "Janome SEW", &Make<CSew>, true, &SewKeeps},
        {".cnd", 13, "Melco condensed CND", nullptr, false, nullptr},
        {".kwc", 14, "condensed design", nullptr, false, nullptr},
        {".dem", 14, "condensed design", nullptr, false, nullptr},
    };
    return table;
}

const FormatInfo* FindFormat(const char* pszFileName)
{
    if (!pszFileName) return nullptr;
    size_t n = std::strlen(pszFileName);
    if (n < 4) return nullptr;
    std::string ext(pszFileName + n - 4);
    for (char& c : ext) c = (char)std::tolower((unsigned char)c);
    for (const auto& f : GetFormatTable())
        if (ext == f.pszExt) return &f;
    return nullptr;
}

int GetEmbSourceOfName(const char* pszFileName)
{
    const FormatInfo* f = FindFormat(pszFileName);
    return f ? f->nSource : 0;
}

std::unique_ptr<CFilter> CreateFilterFor(const char* pszFileName)
{
    const FormatInfo* f = FindFormat(pszFileName);
    if (!f || !f->create) return nullptr;
    return std::unique_ptr<CFilter>(f->create());
}
