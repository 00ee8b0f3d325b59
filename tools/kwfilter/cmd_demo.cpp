// kwfilter demo [DIR]: writes the sample design in every format the library writes, reads
// each back and compares it with what that format keeps.
#include "cli.h"
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
                         "write the sample design in every format into DIR (default demo-out), read back, compare",
                         &Run};
cli::Register reg(kDemo);

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
    int failures = 0;
    for (const FormatInfo& f : GetFormatTable()) {
        if (!f.create || !f.bWrites) continue;
        std::string path = dir + "/sample" + f.pszExt;
        std::string result;
        bool ok = false;
        LoadedDesign back;
        if (!SaveDesign(path.c_str(), sample, 100, 100)) {
            result = "write failed";
        } else if (!LoadDesign(path.c_str(), back)) {
            result = "read failed";
        } else {
            StitchList expected = sample;
            StitchList got = back.List();
            f.keep(expected);
            f.keep(got);
            std::string why;
            ok = SameStitchList(expected, got, &why);
            std::string png = path + ".png";
            if (ok && !RenderDesignToPng(back.design, 256, png.c_str())) {
                ok = false;
                why = "could not render " + png;
            }
            result = ok ? FormatText("ok    %ld stitches, %d blocks", got.nStitches, got.nColors)
                        : "DIFFERS: " + why;
        }
        if (!ok) ++failures;
        std::printf("  %-5s %-24s %-28s %s\n", f.pszExt, f.pszName, path.c_str(), result.c_str());
    }
    return failures ? 1 : 0;
}

} // namespace
