// Condensed import of ".kwc" bytes followed by rendering.
#include "cnd_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::ImportCondensed(data, size, "fuzz.kwc");
    return 0;
}
