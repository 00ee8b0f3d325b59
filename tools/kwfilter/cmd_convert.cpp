// kwfilter convert IN OUT: reads a design and writes it in the format of OUT's extension.
#include "cli.h"
#include "design_io.h"

namespace {

int Run(int argc, char** argv);
const cli::Command kConvert{"convert", "convert IN OUT", "convert a design to the format of OUT's extension", &Run};
cli::Register reg(kConvert);

int Run(int argc, char** argv)
{
    if (argc != 3) return cli::UsageError(kConvert, "needs an input and an output file");
    LoadedDesign d;
    if (!LoadDesign(argv[1], d)) return 1;
    return SaveDesign(argv[2], d.Object()) ? 0 : 1;
}

} // namespace
