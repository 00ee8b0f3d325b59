// Reads any bytes as a ZIP archive and extracts every member into memory. The first byte
// chooses the key: none, or the first 1 to 7 bytes of a fixed one. No member may take more
// than the directory's size for it or the memory ceiling (lowered here to keep runs quick).
#include "kwfilter.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const int keyLength = data[0] & 7;
    std::vector<uint8_t> bytes(data + 1, data + size);
    static const unsigned char key[] = "k3y.gzp";
    ALMemory storage("fuzz.zip", bytes.empty() ? nullptr : bytes.data(), (long)bytes.size());
    ALPkArchive archive(storage);
    constexpr long kCeiling = 1L << 20;
    archive.SetMemoryLimit(kCeiling);
    ALEntryList list(nullptr, keyLength ? PkDecompressTools(ALXorCrypto(key, keyLength)) : PkDecompressTools());
    if (archive.ReadDirectory(list) < 0) return 0;
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) e->SetStorage(new ALMemory(e->GetName()));
    int status = archive.Extract(list);
    if (status > 0) std::abort();
    // These end the extraction: the members after the one that failed were not extracted.
    const bool ended = status == AL_MISSING_CRYPTO_ENGINE || status == AL_INVALID_KEY || status == AL_CANT_CREATE_ENGINE;
    for (ALEntry* e = list.GetFirstEntry(); e; e = e->GetNextEntry()) {
        long written = e->GetStorage()->GetSize();
        if (written > e->GetUncompressedSize() || written > kCeiling) std::abort();
        if (!ended && e->GetStorage()->mStatus == AL_SUCCESS && e->GetMark() &&
            (uint32_t)crc32_z(0, static_cast<ALMemory*>(e->GetStorage())->GetBuffer(), (size_t)written) != e->GetCrc32())
            std::abort(); // a member reported whole must be what the directory says
    }
    return 0;
}
