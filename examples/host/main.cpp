// A host program: reads a design by its extension, says what it holds and writes it in the
// format of another extension.
#include "kwfilter.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: kwfilter-host IN OUT\n");
        return 2;
    }
    GetSetup()->m_bMessageThread = 0;  // report failures on this thread

    CExpObject design;
    if (!design.ReadObject(argv[1], 0, nullptr)) {
        std::fprintf(stderr, "%s: not read (error %d)\n", argv[1], GetSetup()->m_nLastError);
        return 1;
    }
    const CRect& b = design.m_rcBounds;
    std::printf("%s: %ld stitches, %d colours, %.1f x %.1f mm\n", argv[1], design.GetNoStitches(),
                design.GetNoColors(), (b.right - b.left) / 100.0, (b.top - b.bottom) / 100.0);
    for (int i = 0; i < design.GetNoColors(); ++i) {
        const COLORCHG& c = design.GetColorData()[i];
        std::printf("  block %d from stitch %d: %s\n", i + 1, c.nStitch, GetThreadName(c.nColor));
    }
    if (!design.WriteObject(argv[2], nullptr)) {
        std::fprintf(stderr, "%s: not written (error %d)\n", argv[2], GetSetup()->m_nLastError);
        return 1;
    }
    std::printf("wrote %s\n", argv[2]);
    return 0;
}
