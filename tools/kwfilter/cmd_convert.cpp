// kwfilter convert IN OUT: reads a design and writes it in the format of OUT's extension;
// with --to, many designs at once.
#include "batch_convert.h"
#include "cli.h"
#include "design_io.h"

namespace {

int Run(int argc, char** argv);
const cli::Command kConvert{"convert", "convert IN OUT [--key KEY] | IN... --to EXT [--out DIR] [--jobs N]",
                            "convert a design (or ARCHIVE.zip:MEMBER), or many designs and folders in parallel",
                            &Run};
cli::Register reg(kConvert);

int Run(int argc, char** argv)
{
    if (IsBatchConvert(argc, argv)) return RunBatchConvert(argc, argv);
    DesignReadOptions options;
    std::string why;
    if (!TakeDesignOptions(argc, argv, options, why)) return cli::UsageError(kConvert, why.c_str());
    if (argc != 3) return cli::UsageError(kConvert, "needs an input and an output file");
    LoadedDesign d;
    if (!LoadDesign(argv[1], d, options)) return 1;
    return SaveDesign(argv[2], d.Object()) ? 0 : 1;
}

} // namespace
