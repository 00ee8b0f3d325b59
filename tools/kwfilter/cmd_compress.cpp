// kwfilter compress / expand: runs the dictionary engine over any file.
#include "cli.h"
#include "kwfilter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

struct EngineArgs {
    short level = 4;
    const char* in = nullptr;
    const char* out = nullptr;
};

bool ParseLevel(const char* text, short& level)
{
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (errno || end == text || *end || value < -32768 || value > 32767) return false;
    level = (short)value;
    return true;
}

// Returns an empty string on success, else why the arguments are wrong.
std::string ParseArgs(int argc, char** argv, EngineArgs& args)
{
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--level")) {
            if (++i >= argc) return "--level needs a value";
            if (!ParseLevel(argv[i], args.level)) return std::string("bad level '") + argv[i] + "'";
        } else if (!std::strncmp(a, "--level=", 8)) {
            if (!ParseLevel(a + 8, args.level)) return std::string("bad level '") + (a + 8) + "'";
        } else if (a[0] == '-' && a[1] != 0) {
            return std::string("unknown option '") + a + "'";
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) return "expected IN and OUT";
    args.in = files[0];
    args.out = files[1];
    return "";
}

// The result goes to a temporary file beside OUT, renamed over it only once it is complete,
// so a failure never harms a file that was there.
int RunEngine(const cli::Command& command, int argc, char** argv, bool compress)
{
    EngineArgs args;
    std::string why = ParseArgs(argc, argv, args);
    if (!why.empty()) return cli::UsageError(command, why.c_str());

    std::string temp = std::string(args.out) + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        std::fprintf(stderr, "kwfilter %s: cannot create a file beside %s: %s\n", command.name, args.out,
                     std::strerror(errno));
        return 1;
    }
    ::close(fd);

    int status;
    std::string detail;
    {
        ALFile input(args.in);
        ALFile output(temp.c_str());
        if (compress) {
            ALGlCompressor engine(args.level);
            status = engine.Compress(input, output);
            detail = engine.mStatus.GetStatusDetail();
        } else {
            ALGlDecompressor engine(args.level);
            status = engine.Decompress(input, output);
            detail = engine.mStatus.GetStatusDetail();
        }
    }
    if (status == AL_SUCCESS && std::rename(temp.c_str(), args.out) != 0) {
        std::fprintf(stderr, "kwfilter %s: cannot rename %s to %s: %s\n", command.name, temp.c_str(),
                     args.out, std::strerror(errno));
        status = AL_RENAME_ERROR;
        detail.clear();
    } else if (status != AL_SUCCESS) {
        std::fprintf(stderr, "kwfilter %s: %s (%s)\n", command.name, detail.c_str(), ALStatusName(status));
    }
    if (status != AL_SUCCESS) {
        std::remove(temp.c_str());
        return 1;
    }
    return 0;
}

int RunCompress(int argc, char** argv);
int RunExpand(int argc, char** argv);

const cli::Command kCompress{"compress", "compress [--level N] IN OUT",
                             "compress a file with the dictionary engine (level -1 to 4, default 4)",
                             RunCompress};
const cli::Command kExpand{"expand", "expand [--level N] IN OUT",
                           "expand a file made by compress at the same level (default 4)", RunExpand};

int RunCompress(int argc, char** argv)
{
    return RunEngine(kCompress, argc, argv, true);
}

int RunExpand(int argc, char** argv)
{
    return RunEngine(kExpand, argc, argv, false);
}

const cli::Register registerCompress(kCompress);
const cli::Register registerExpand(kExpand);

} // namespace
