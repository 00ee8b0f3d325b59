#include "design_io.h"

#include <algorithm>
#include <cstdio>

StitchList LoadedDesign::List()
{
    StitchList l;
    l.nColors = design.GetNoColors();
    l.nStitches = design.GetNoStitches();
    std::copy(design.GetColorData(), design.GetColorData() + kMaxColorRecords, l.colors.begin());
    l.points.assign(design.GetStitchData(), design.GetStitchData() + l.nStitches);
    l.types.assign(design.GetStitchType(), design.GetStitchType() + l.nStitches);
    return l;
}

bool LoadDesign(const char* path, LoadedDesign& out)
{
    out.format = FindFormat(path);
    if (!out.design.ReadObject(path, 0, nullptr)) {
        std::fprintf(stderr, "kwfilter: %s: the design could not be read (error %d)\n", path,
                     GetSetup()->m_nLastError);
        return false;
    }
    return true;
}

bool SaveDesign(const char* path, CExpObject& design)
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
