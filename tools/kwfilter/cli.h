// The command-line program's command table: each command lives in its own file and
// registers itself, so a new command needs no edit elsewhere.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct Command {
    const char* name;
    const char* usage;   // e.g. "convert IN OUT"
    const char* summary; // one line for --help
    // argv[0] is the command name; returns the exit status (0 ok, 1 failed, 2 usage).
    int (*run)(int argc, char** argv);
};

std::vector<Command>& Commands();

struct Register {
    explicit Register(const Command& c) { Commands().push_back(c); }
};

// Prints "usage: kwfilter <usage>" to stderr and returns 2.
int UsageError(const Command& c, const char* why = nullptr);
// True when argv holds --help or -h; prints the usage to stdout.
bool WantsHelp(const Command& c, int argc, char** argv);

} // namespace cli
