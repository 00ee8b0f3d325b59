// HUS import from a memory file: the sections are decoded from untrusted streams.
#include "fuzz_common.h"

#include "formats/hus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::QuietLibrary();
    fuzzing::ImportBytes<CHus>(data, size, false, 4096);
    return 0;
}
