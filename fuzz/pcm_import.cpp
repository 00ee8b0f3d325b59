// PCM import from a memory file: any bytes end in success or a reported failure, and no
// more points are stored than GetMaxNoStitches allowed.
#include "fuzz_common.h"

#include "formats/pcs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::QuietLibrary();
    fuzzing::ImportBytes<CPcsMac>(data, size, true);
    return 0;
}
