// kwfilter formats: the format table, with the type numbers of the host's file dialogs.
#include "cli.h"
#include "kwfilter.h"

#include <cstdio>

namespace {

int Run(int argc, char** argv);
const cli::Command kFormats{"formats", "formats",
                            "list the known extensions: design source, open and save type numbers, filters", &Run};
cli::Register reg(kFormats);

int Run(int argc, char**)
{
    if (argc > 1) return cli::UsageError(kFormats, "no arguments expected");
    std::printf("%-5s %6s %4s %4s %-6s %-6s %s\n", "ext", "source", "open", "save", "reads", "writes", "format");
    for (const FormatInfo& f : GetFormatTable()) {
        bool reads = f.create != nullptr;
        std::printf("%-5s %6d %4d %4d %-6s %-6s %s\n", f.pszExt, GetEmbSourceOfName(f.pszExt),
                    MatchOpenExtensions(f.pszExt), MatchSaveExtensions(f.pszExt), reads ? "yes" : "no",
                    reads && f.bWrites ? "yes" : "no", f.pszName);
    }
    return 0;
}

} // namespace
