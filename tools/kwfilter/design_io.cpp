#include "design_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

StitchList LoadedDesign::List()
{
    CEmbObject& o = Object();
    StitchList l;
    l.nColors = std::max(o.GetNoColors(), 0);
    l.nStitches = std::max(o.GetNoStitches(), 0L);
    if (COLORCHG* c = o.GetColorData()) std::copy(c, c + kMaxColorRecords, l.colors.begin());
    if (l.nStitches > 0) {
        l.points.assign(o.GetStitchData(), o.GetStitchData() + l.nStitches);
        l.types.assign(o.GetStitchType(), o.GetStitchType() + l.nStitches);
    }
    return l;
}

namespace {

bool ReadFailed(const char* path)
{
    std::fprintf(stderr, "kwfilter: %s: the design could not be read (error %d)\n", path, GetSetup()->m_nLastError);
    return false;
}

// A condensed design reads its file and renders it; the reader says nothing of a file it
// cannot open, so that is checked here first.
bool LoadCondensed(const char* path, LoadedDesign& out, CMemFile* pMemFile)
{
    if (!pMemFile) {
        std::FILE* f = std::fopen(path, "rb");
        if (!f) {
            std::fprintf(stderr, "kwfilter: %s: cannot open: %s\n", path, std::strerror(errno));
            return false;
        }
        std::fclose(f);
    }
    out.condensed = std::make_unique<CCndObject>();
    out.condensed->ReadObject(path, 0, pMemFile);
    if (GetSetup()->m_nLastError < 0 || !out.condensed->GetRenderedDesign()) return ReadFailed(path);
    return true;
}

} // namespace

bool LoadDesign(const char* path, LoadedDesign& out)
{
    out.format = FindFormat(path);
    if (out.format && IsCondensedSource(out.format->nSource)) return LoadCondensed(path, out, nullptr);
    if (!out.design.ReadObject(path, 0, nullptr)) return ReadFailed(path);
    return true;
}

bool SaveDesign(const char* path, CEmbObject& design)
{
    if (!design.WriteObject(path, nullptr)) {
        std::fprintf(stderr, "kwfilter: %s: the design could not be written (error %d)\n", path,
                     GetSetup()->m_nLastError);
        return false;
    }
    return true;
}

bool SaveDesign(const char* path, const StitchList& list, int hoopWidth, int hoopHeight)
{
    CExpObject design;
    if (!design.SetStitchList(list.nColors, list.colors.data(), list.nStitches, list.points.data(), list.types.data()))
        return false;
    design.m_nHoopWidth = hoopWidth;
    design.m_nHoopHeight = hoopHeight;
    return SaveDesign(path, design);
}
