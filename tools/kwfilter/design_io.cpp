#include "design_io.h"

#include <cstdio>
#include <new>

bool LoadDesign(const char* path, LoadedDesign& out)
{
    out.format = FindFormat(path);
    auto filter = CreateFilterFor(path);
    if (!filter) {
        std::fprintf(stderr, "kwfilter: %s: not a design format that can be read\n", path);
        return false;
    }
    long max = filter->GetMaxNoStitches(path);
    if (max < 0) {
        std::fprintf(stderr, "kwfilter: %s: cannot open the file\n", path);
        return false;
    }
    try {
        out.list.Clear();
        out.list.Reserve(max + 16);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "kwfilter: %s: not enough memory for %ld stitches\n", path, max);
        return false;
    }
    StitchList& l = out.list;
    if (!filter->ImportFile(path, &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data())) {
        std::fprintf(stderr, "kwfilter: %s: the design could not be read (error %d)\n", path,
                     GetSetup()->m_nLastError);
        return false;
    }
    out.nHoopWidth = filter->m_nHoopWidth;
    out.nHoopHeight = filter->m_nHoopHeight;
    return true;
}

bool SaveDesign(const char* path, const StitchList& list, int hoopWidth, int hoopHeight)
{
    const FormatInfo* f = FindFormat(path);
    auto filter = CreateFilterFor(path);
    if (!filter || !f->bWrites) {
        std::fprintf(stderr, "kwfilter: %s: not a design format that can be written\n", path);
        return false;
    }
    filter->m_nHoopWidth = hoopWidth;
    filter->m_nHoopHeight = hoopHeight;
    // The filters take non-const arrays; they do not change them.
    StitchList copy = list;
    if (!filter->ExportFile(path, copy.nColors, copy.colors.data(), copy.nStitches, copy.points.data(),
                            copy.types.data())) {
        std::fprintf(stderr, "kwfilter: %s: the design could not be written (error %d)\n", path,
                     GetSetup()->m_nLastError);
        return false;
    }
    return true;
}
