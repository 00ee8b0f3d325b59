// kwfilter formats: the format table, with the type numbers of the host's file dialogs.
#include "cli.h"
#include "kwfilter.h"

#include <cstdio>
#include <iterator>

namespace {

// Who reads and writes each design source; "reads" and "writes" then say whether this build
// has that filter in the table yet.
const char* const kHandlers[] = {
    "none", "CExp", "CDst", "CDst", "CPcs", "CPcsMac", "CHus", "CXxx", "CPec", "CPes", "CCsd",
    "none (refused)", "CSew", "condensed design", "condensed design",
};

const char* HandlerOf(int source)
{
    return source >= 0 && source < (int)std::size(kHandlers) ? kHandlers[source] : "?";
}

int Run(int argc, char** argv);
const cli::Command kFormats{"formats", "formats",
                            "list the known extensions: design source, open and save type numbers, filters", &Run};
cli::Register reg(kFormats);

int Run(int argc, char**)
{
    if (argc > 1) return cli::UsageError(kFormats, "no arguments expected");
    std::printf("%-5s %6s %4s %4s %-6s %-6s %-17s %s\n", "ext", "source", "open", "save", "reads", "writes", "by",
                "format");
    for (const FormatInfo& f : GetFormatTable()) {
        bool reads = f.create != nullptr;
        int source = GetEmbSourceOfName(f.pszExt);
        std::printf("%-5s %6d %4d %4d %-6s %-6s %-17s %s\n", f.pszExt, source, MatchOpenExtensions(f.pszExt),
                    MatchSaveExtensions(f.pszExt), reads ? "yes" : "no", reads && f.bWrites ? "yes" : "no",
                    HandlerOf(source), f.pszName);
    }
    return 0;
}

} // namespace
