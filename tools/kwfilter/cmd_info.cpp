// kwfilter info FILE...: what a design file holds.
#include "cli.h"
#include "design_io.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

// Pfaff files: the field the hoop code names, and whether the design needs the 90° turn to
// be written into that field (the files themselves do not record a turn).
void DescribePfaffField(const char* path, LoadedDesign& d)
{
    const char* name = d.FileName(path);
    auto filter = CreateFilterFor(name);
    auto* pcs = dynamic_cast<CPcs*>(filter.get());
    if (pcs && d.memory) pcs->m_pFile = d.memory.get();
    if (!pcs || pcs->GetMaxNoStitches(name) < 0) return;
    std::printf("  field:    %d x %d mm (hoop code %d)\n", d.design.m_nHoopWidth, d.design.m_nHoopHeight,
                pcs->m_nHoopCode);
    StitchList l = d.List();
    CPcs::FieldFit fit = CPcs::FitField(d.design.m_nHoopWidth, l.nStitches, l.points.data());
    std::printf("  turned:   %s\n", !fit.bFits   ? "does not fit the field"
                                    : fit.bTurned ? "yes, by 90 degrees to fit the field"
                                                  : "no");
}

// A condensed design: how many elements of each class, in the order they first appear.
void DescribeElements(LoadedDesign& d)
{
    if (!d.condensed) return;
    std::vector<std::pair<std::string, int>> counts;
    for (int i = 0; i < d.condensed->GetElementCount(); ++i) {
        std::string name = d.condensed->GetElement(i)->GetRuntimeClass()->m_lpszClassName;
        auto it = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == name; });
        if (it == counts.end()) counts.emplace_back(name, 1);
        else ++it->second;
    }
    std::printf("  elements: %d\n", d.condensed->GetElementCount());
    for (const auto& c : counts) std::printf("    %-20s %d\n", c.first.c_str(), c.second);
}

void Describe(const char* path, LoadedDesign& d)
{
    const StitchList l = d.List();
    long jumps = 0, trims = 0;
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    for (long i = 0; i < l.nStitches; ++i) {
        unsigned char t = l.types[(size_t)i];
        if (t >= kTrimType) ++trims;
        else if (t > 0) ++jumps;
        const tagPOINT& p = l.points[(size_t)i];
        if (p.x < minX) minX = p.x;
        if (p.x > maxX) maxX = p.x;
        if (p.y < minY) minY = p.y;
        if (p.y > maxY) maxY = p.y;
    }
    std::printf("%s\n", path);
    std::printf("  format:   %s (design source %d)\n", d.format ? d.format->pszName : "?",
                d.format ? d.format->nSource : 0);
    std::printf("  stitches: %ld\n", l.nStitches);
    std::printf("  jumps:    %ld points reached by jumps\n", jumps);
    std::printf("  trims:    %ld points after a trim\n", trims);
    if (l.nStitches > 0)
        std::printf("  extents:  x %.2f to %.2f mm, y %.2f to %.2f mm (%.2f x %.2f mm)\n", minX / 100.0, maxX / 100.0,
                    minY / 100.0, maxY / 100.0, (maxX - (double)minX) / 100.0, (maxY - (double)minY) / 100.0);
    const CRect& b = d.Object().m_rcBounds;
    std::printf("  bounds:   left %d, top %d, right %d, bottom %d (0.01 mm)\n", b.left, b.top, b.right, b.bottom);
    if (d.design.m_nHoopWidth || d.design.m_nHoopHeight)
        std::printf("  hoop:     %d x %d mm\n", d.design.m_nHoopWidth, d.design.m_nHoopHeight);
    else
        std::printf("  hoop:     none recorded\n");
    DescribePfaffField(path, d);
    DescribeElements(d);
    if (d.format && d.format->nSource == FindFormat("x.pes")->nSource) {
        CPes pes; // the header of the file (the first of a set): version and turn
        if (d.memory) pes.m_pFile = d.memory.get();
        if (pes.ReadHeader(d.FileName(path)))
            std::printf("  pes:      %s, hoop %d x %d mm, rotation %d%s\n", CPes::VersionMagic(pes.m_nVersion),
                        pes.m_nHoopWidth, pes.m_nHoopHeight, pes.m_nRotation,
                        pes.m_nRotation ? " (the machine's copy is turned by 90 degrees)" : "");
    }
    std::printf("  colour blocks: %d\n", l.nColors);
    for (int k = 0; k < l.nColors; ++k) {
        long first = BlockStart(l.colors.data(), l.nColors, k, l.nStitches);
        long end = BlockEnd(l.colors.data(), l.nColors, k, l.nStitches);
        int c = l.colors[(size_t)k].nColor;
        COLORREF rgb = GetThreadColor(c);
        std::printf("    %3d: %6ld stitches  thread %3d %-20s #%02X%02X%02X\n", k, end - first, c, GetThreadName(c),
                    GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    }
}

int Run(int argc, char** argv);
const cli::Command kInfo{"info", "info FILE... [--key KEY]",
                         "describe design files (or ARCHIVE.zip:MEMBER): format, stitches, colours, extents, hoop, "
                         "condensed elements",
                         &Run};
cli::Register reg(kInfo);

int Run(int argc, char** argv)
{
    DesignReadOptions options;
    std::string why;
    if (!TakeDesignOptions(argc, argv, options, why)) return cli::UsageError(kInfo, why.c_str());
    if (argc < 2) return cli::UsageError(kInfo, "no file given");
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        LoadedDesign d;
        if (!LoadDesign(argv[i], d, options)) {
            status = 1;
            continue;
        }
        Describe(argv[i], d);
    }
    return status;
}

} // namespace
