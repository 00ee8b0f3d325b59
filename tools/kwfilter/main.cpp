// kwfilter: converts, describes and draws embroidery designs from the command line.
#include "cli.h"
#include "kwfilter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace cli {

std::vector<Command>& Commands()
{
    static std::vector<Command> commands;
    return commands;
}

int UsageError(const Command& c, const char* why)
{
    if (why) std::fprintf(stderr, "kwfilter %s: %s\n", c.name, why);
    std::fprintf(stderr, "usage: kwfilter %s\n", c.usage);
    return 2;
}

bool WantsHelp(const Command& c, int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf("usage: kwfilter %s\n  %s\n", c.usage, c.summary);
            return true;
        }
    return false;
}

} // namespace cli

static void PrintHelp(std::FILE* out)
{
    auto cmds = cli::Commands();
    std::sort(cmds.begin(), cmds.end(),
              [](const cli::Command& a, const cli::Command& b) { return std::strcmp(a.name, b.name) < 0; });
    std::fprintf(out, "usage: kwfilter COMMAND [ARGS]\n\ncommands:\n");
    for (const auto& c : cmds) std::fprintf(out, "  %-40s %s\n", c.usage, c.summary);
    std::fprintf(out, "\nkwfilter COMMAND --help shows one command.\n");
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help")) {
        PrintHelp(stdout);
        return 0;
    }
    // The library's messages go straight to the terminal, without the worker thread's pause.
    GetSetup()->m_bShowMessages = 1;
    GetSetup()->m_bMessageThread = 0;
    SetMessageBoxesSynchronous(true);
    {
        // As a host does at start-up: the saved preferences (satin smoothing, splits,
        // junk stitches) apply to every command.
        CWinApp app("kwfilter");
        GetSetup()->GetRegValues(&app);
    }
    for (const auto& c : cli::Commands()) {
        if (std::strcmp(c.name, argv[1])) continue;
        if (cli::WantsHelp(c, argc - 1, argv + 1)) return 0;
        return c.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "kwfilter: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
