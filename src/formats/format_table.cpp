#include "formats/format_table.h"

#include "core/stitch_compare.h"
#include "formats/csd.h"
#include "formats/dst.h"
#include "formats/exp.h"
#include "formats/pcs.h"
#include "formats/xxx.h"

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
// needs jumps.
void ExpKeeps(StitchList& l)
{
    KeepUnit(l, 10);
    DropEmptyBlocks(l);
    KeepBlockNumbers(l);
    for (auto& t : l.types) t = 0;
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
        {".hus", 6, "Husqvarna/Viking HUS", nullptr, false, nullptr},
        {".xxx", 7, "Singer XXX", &Make<CXxx>, true, &XxxKeeps},
        {".pec", 8, "Brother PEC", nullptr, false, nullptr},
        {".pes", 9, "Brother PES", nullptr, false, nullptr},
        {".csd", 10, "Poem/Singer EU CSD", &Make<CCsd>, true, &CsdKeeps},
        {".pmd", 11, "PMD (not supported)", nullptr, false, nullptr},
        {".sew", 12, "Janome SEW", nullptr, false, nullptr},
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

std::unique_ptr<CFilter> CreateFilterFor(const char* pszFileName)
{
    const FormatInfo* f = FindFormat(pszFileName);
    if (!f || !f->create) return nullptr;
    return std::unique_ptr<CFilter>(f->create());
}
