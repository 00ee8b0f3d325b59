// Loading an expanded design from archive bytes: a short or corrupt archive leaves the
// object as it was; a good one stores back to the same bytes.
#include "fuzz_common.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::QuietLibrary();
    std::unique_ptr<CEmbObject> obj = fuzzing::LoadObjectFromBytes(data, size);
    if (!obj) return 0;
    if (obj->GetNoStitches() < 0 || obj->GetNoColors() < 0 || obj->GetNoColors() > kMaxColorBlocks) std::abort();
    // Everything the object offers must be safe on what it loaded.
    CRasterDC dc(64, 64, 254);
    obj->Draw(&dc, 100);
    std::unique_ptr<CEmbObject> copy(obj->Copy());
    for (int k = 0; k < obj->GetNoColors() && k < 4; ++k) std::unique_ptr<CEmbObject>(obj->CopyColor(k));
    obj->CleanupJunkStitches();
    fuzzing::StoreObject(*copy);
    // A far-flung design makes a long file of jumps; writing is measured elsewhere.
    // The stored bounds are the file's word; measure the points themselves.
    static_cast<CExpObject*>(copy.get())->FindBounds();
    CRect b = copy->m_rcBounds;
    b.NormalizeRect();
    if ((int64_t)b.right - b.left < 100000 && (int64_t)b.bottom - b.top < 100000) {
        CMemFile dst;
        copy->WriteObject("fuzz.dst", &dst);
    }
    return 0;
}
