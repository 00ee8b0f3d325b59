#include "formats/format_table.h"

#include "core/stitch_compare.h"
#include "formats/dst.h"

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

} // namespace

const std::vector<FormatInfo>& GetFormatTable()
{
    static const std::vector<FormatInfo> table = {
        {".dst", 2, "Tajima DST", &Make<CDst>, true, &DstKeeps},
        {".10o", 3, "Tajima DST (10o)", &Make<CDst>, true, &DstKeeps},
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
