// kwfilter demo [DIR]: writes the sample design in every format the library writes, reads
// each back and compares it with what that format keeps; then reads the built-in condensed
// design, renders it and does the same with its stitches.
#include "cli.h"
#include "design/cnd_records.h"
#include "design_io.h"
#include "core/sample_design.h"
#include "core/stitch_compare.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace {

int Run(int argc, char** argv);
const cli::Command kDemo{"demo", "demo [DIR]",
                         "write the sample and the built-in condensed design in every format into DIR "
                         "(default demo-out), read back, compare",
                         &Run};
cli::Register reg(kDemo);

// Writes the design in every format, reads each file back, compares it with the expected
// stitch list as that format keeps it and draws it beside the file. Returns the failures.
int WriteEveryFormat(const std::string& dir, const char* base, CEmbObject& design, const StitchList& expectedList)
{
    int failures = 0;
    for (const FormatInfo& f : GetFormatTable()) {
        if (!f.create || !f.bWrites) continue;
        std::string path = dir + "/" + base + f.pszExt;
        std::string result;
        bool ok = false;
        LoadedDesign back;
        if (!SaveDesign(path.c_str(), design)) {
            result = "write failed";
        } else if (!LoadDesign(path.c_str(), back)) {
            result = "read failed";
        } else {
            StitchList expected = expectedList;
            StitchList got = back.List();
            f.keep(expected);
            f.keep(got);
            std::string why;
            ok = SameStitchList(expected, got, &why);
            std::string png = path + ".png";
            if (ok && !RenderDesignToPng(back.Object(), 256, png.c_str())) {
                ok = false;
                why = "could not render " + png;
            }
            result = ok ? FormatText("ok    %ld stitches, %d blocks", got.nStitches, got.nColors)
                        : "DIFFERS: " + why;
        }
        if (!ok) ++failures;
        std::printf("  %-5s %-24s %-32s %s\n", f.pszExt, f.pszName, path.c_str(), result.c_str());
    }
    return failures;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// The condensed design in its three file variants: each is read and rendered; the .kwc and
// .dem files carry a colour table, so only their stitches are compared with the .cnd file's.
int CondensedDemo(const std::string& dir)
{
    cndrec::CndWriter records = cndrec::DemoDesign();
    const std::vector<uint8_t> colorTable = {5, 12, 40, 60, 75};
    std::string cnd = dir + "/condensed.cnd";
    if (!WriteFile(cnd, records.Cnd()) || !WriteFile(dir + "/condensed.kwc", records.Kwc(colorTable)) ||
        !WriteFile(dir + "/condensed.dem", records.Dem(colorTable))) {
        std::perror(dir.c_str());
        return 1;
    }
    LoadedDesign d;
    if (!LoadDesign(cnd.c_str(), d)) return 1;
    StitchList rendered = d.List();
    std::printf("\ncondensed design %s: %d elements rendered to %ld stitches in %d colour blocks\n", cnd.c_str(),
                d.condensed->GetElementCount(), rendered.nStitches, rendered.nColors);
    int failures = 0;
    std::string png = cnd + ".png";
    if (!RenderDesignToPng(d.Object(), 256, png.c_str())) {
        std::printf("  could not render %s\n", png.c_str());
        ++failures;
    }
    for (const char* ext : {".kwc", ".dem"}) {
        std::string path = dir + "/condensed" + ext;
        LoadedDesign v;
        bool ok = LoadDesign(path.c_str(), v);
        std::string why = "read failed";
        if (ok) {
            StitchList got = v.List();
            // The colour table names other threads; everything else is the same.
            for (size_t k = 0; k < got.colors.size(); ++k) got.colors[k].nColor = rendered.colors[k].nColor;
            ok = SameStitchList(rendered, got, &why);
        }
        if (!ok) ++failures;
        std::printf("  %-5s %-24s %-32s %s\n", ext, "condensed design", path.c_str(),
                    ok ? "ok    the same stitches as the .cnd file" : ("DIFFERS: " + why).c_str());
    }
    return failures + WriteEveryFormat(dir, "condensed", d.Object(), rendered);
}

int Run(int argc, char** argv)
{
    if (argc > 2) return cli::UsageError(kDemo, "too many arguments");
    std::string dir = argc == 2 ? argv[1] : "demo-out";
    if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
        std::perror(dir.c_str());
        return 1;
    }
    StitchList sample;
    MakeSampleDesign(sample);
    std::printf("sample design: %ld stitches in %d colour blocks\n", sample.nStitches, sample.nColors);
    CExpObject design;
    if (!design.SetStitchList(sample.nColors, sample.colors.data(), sample.nStitches, sample.points.data(),
                              sample.types.data()))
        return 1;
    design.m_nHoopWidth = 100;
    design.m_nHoopHeight = 100;
    int failures = WriteEveryFormat(dir, "sample", design, sample);
    failures += CondensedDemo(dir);
    return failures ? 1 : 0;
}

} // namespace
