// kwfilter palette [NAME]: a machine maker's thread palette as the colour dialog shows it.
#include "cli.h"
#include "kwfilter.h"

#include <cstdio>

namespace {

int Run(int argc, char** argv);
const cli::Command kPalette{"palette", "palette [NAME]",
                            "print a maker's thread palette (button, master index, name, colour), or all of them",
                            &Run};
cli::Register reg(kPalette);

void Print(const ThreadPalette& p)
{
    std::printf("%s: %s, %d colours\n", p.pszKey, p.pszName, p.nCount);
    std::printf("%6s %6s  %-20s %s\n", "button", "master", "name", "colour");
    for (int i = 0; i < p.nCount; ++i) {
        int master = p.pIndexes[i];
        COLORREF c = GetThreadColor(master);
        std::printf("%6d %6d  %-20s #%02X%02X%02X\n", i + 1, master, GetThreadName(master), GetRValue(c), GetGValue(c),
                    GetBValue(c));
    }
}

int Run(int argc, char** argv)
{
    if (argc > 2) return cli::UsageError(kPalette, "one palette at most");
    int count = 0;
    const ThreadPalette* all = GetThreadPalettes(&count);
    if (argc == 2) {
        const ThreadPalette* p = FindThreadPalette(argv[1]);
        if (!p) {
            std::fprintf(stderr, "kwfilter palette: unknown palette '%s'; palettes:", argv[1]);
            for (int i = 0; i < count; ++i) std::fprintf(stderr, " %s", all[i].pszKey);
            std::fprintf(stderr, "\n");
            return 2;
        }
        Print(*p);
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        if (i) std::printf("\n");
        Print(all[i]);
    }
    return 0;
}

} // namespace
