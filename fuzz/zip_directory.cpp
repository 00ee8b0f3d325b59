// Reads any bytes as a ZIP archive's directory, then marks, unmarks duplicates and deletes
// as the design browser does. Every end must be a status; entries never outnumber the
// records the bytes can hold.
#include "kwfilter.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    ALMemory storage("fuzz.zip", bytes.empty() ? nullptr : bytes.data(), (long)bytes.size());
    ALPkArchive archive(storage);
    ALEntryList list(nullptr, FullTools());
    int status = archive.ReadDirectory(list);
    if (status != AL_SUCCESS && status != AL_INVALID_ARCHIVE && status != AL_UNKNOWN_COMPRESSION_TYPE) std::abort();
    if ((size_t)list.GetCount() * 46 > size) std::abort();
    list.SetMarkState("*.*", 1);
    list.SetMarkState("*.[dp]?s", 0);
    list.UnmarkDuplicates(list, "Duplicate entry");
    int before = list.GetCount();
    int deleted = list.DeleteUnmarked();
    if (deleted < 0 || list.GetCount() != before - deleted) std::abort();
    return 0;
}
