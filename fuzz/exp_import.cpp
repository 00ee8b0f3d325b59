// EXP import from a memory file.
#include "fuzz_common.h"

#include "formats/exp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::QuietLibrary();
    fuzzing::ImportBytes<CExp>(data, size);
    return 0;
}
