// kwfilter hoop EXT WIDTH: the hoop the hoop size dialog preselects for a design.
#include "cli.h"
#include "kwfilter.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Run(int argc, char** argv);
const cli::Command kHoop{"hoop", "hoop EXT WIDTH",
                         "the hoop the hoop dialog preselects for a design WIDTH mm wide saved as EXT, and its size",
                         &Run};
cli::Register reg(kHoop);

void PrintHoop(int hoop, CWinApp& app)
{
    CSize size = HoopSizeOf(hoop, (int)app.GetProfileInt("Options", "CustomX", 100),
                            (int)app.GetProfileInt("Options", "CustomY", 100));
    if (hoop >= 0 && hoop < kHoopCount) {
        const HoopInfo& h = GetHoopTable()[hoop];
        std::printf("hoop %d (control %d) %s %s %d x %d mm\n", hoop, h.nControl, h.pszGroup,
                    *h.pszLabel ? h.pszLabel : "custom", size.cx, size.cy);
    } else {
        std::printf("hoop %d (none of the dialog's) %d x %d mm\n", hoop, size.cx, size.cy);
    }
}

int Run(int argc, char** argv)
{
    if (argc != 3) return cli::UsageError(kHoop);
    std::string ext = argv[1];
    if (ext.empty() || ext[0] != '.') ext.insert(ext.begin(), '.');
    char* end = nullptr;
    errno = 0;
    long width = std::strtol(argv[2], &end, 10);
    if (!*argv[2] || *end || errno || width < INT_MIN || width > INT_MAX)
        return cli::UsageError(kHoop, "WIDTH is a whole number of millimetres");
    // The dialog starts from the hoop the profile remembers; it is only read here.
    CWinApp app("kwfilter");
    int stored = (int)app.GetProfileInt("Options", "HoopSize", 2);
    int hoop = HoopForDesign(stored, (int)width, ext.c_str());
    if (hoop == stored && HoopForDesign(-1, (int)width, ext.c_str()) == -1)
        std::printf("no hoop is preselected for %ld mm %s; the stored one stays\n", width, ext.c_str());
    PrintHoop(hoop, app);
    return 0;
}

} // namespace
