// kwfilter render IN OUT.png [--size PIXELS] [--points]: draws a design onto white.
#include "cli.h"
#include "design_io.h"

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Run(int argc, char** argv);
const cli::Command kRender{"render", "render IN OUT.png [--size PIXELS] [--points] [--key KEY]",
                           "draw a design (or ARCHIVE.zip:MEMBER) onto white, fitted to PIXELS (default 512), with "
                           "stitch points if asked",
                           &Run};
cli::Register reg(kRender);

int Run(int argc, char** argv)
{
    DesignReadOptions options;
    std::string why;
    if (!TakeDesignOptions(argc, argv, options, why)) return cli::UsageError(kRender, why.c_str());
    const char* in = nullptr;
    const char* out = nullptr;
    int size = 512;
    bool points = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--points")) {
            points = true;
        } else if (!std::strcmp(argv[i], "--size")) {
            if (++i >= argc) return cli::UsageError(kRender, "--size needs a number");
            char* end = nullptr;
            long v = std::strtol(argv[i], &end, 10);
            if (!end || *end || v < 16 || v > 16384) return cli::UsageError(kRender, "--size takes 16 to 16384");
            size = (int)v;
        } else if (!in) {
            in = argv[i];
        } else if (!out) {
            out = argv[i];
        } else {
            return cli::UsageError(kRender, "too many arguments");
        }
    }
    if (!in || !out) return cli::UsageError(kRender, "needs an input design and an output PNG");
    LoadedDesign d;
    if (!LoadDesign(in, d, options)) return 1;
    GetSetup()->m_bStitchPoints = points ? 1 : 0;
    if (!RenderDesignToPng(d.Object(), size, out)) {
        std::fprintf(stderr, "kwfilter: %s: cannot write the picture\n", out);
        return 1;
    }
    return 0;
}

} // namespace
