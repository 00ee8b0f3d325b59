// Loading a condensed design from archive bytes: a short or corrupt archive fails the load
// and leaves nothing behind; a good one stores back to the same bytes, renders within the
// stitch limit, and every operation of the design is safe on what it loaded.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::QuietLibrary();
    std::unique_ptr<CEmbObject> obj = fuzzing::LoadObjectFromBytes(data, size);
    if (!obj || !obj->IsKindOf(RUNTIME_CLASS(CCndObject))) return 0;
    auto* d = static_cast<CCndObject*>(obj.get());

    // Unknown tags are dropped on loading, so what was loaded must survive a second round
    // unchanged.
    std::vector<uint8_t> first = fuzzing::StoreObject(*d);
    std::unique_ptr<CEmbObject> back = fuzzing::LoadObjectFromBytes(first.data(), first.size());
    if (!back || fuzzing::StoreObject(*back) != first) std::abort();

    std::unique_ptr<CEmbObject> copy(d->Copy());
    d->RendorStitches(1);
    if (d->GetNoStitches() < 0 || d->GetNoStitches() > CCndObject::kMaxRenderedStitches) std::abort();
    if (d->GetNoColors() < 1 || d->GetNoColors() > kMaxColorBlocks) std::abort();
    // A hostile design may render up to the stitch limit, which takes long; each further
    // operation would render it again, so they are tried on the smaller designs only.
    if (d->IsRenderFull() || d->GetNoStitches() > 100000) return 0;
    CRasterDC dc(32, 32, 254);
    d->Draw(&dc, 100);
    for (int k = -1; k < 3; ++k) std::unique_ptr<CEmbObject>(d->CopyColor(k));
    std::unique_ptr<CEmbObject> rest(d->ColorSplit((int)(d->GetNoStitches() / 2)));
    d->ColorMerge(rest.get());
    d->MirrorH();
    d->MirrorV(7);
    d->MoveTo(tagPOINT{-5, 5});
    d->RotateBy(tagPOINT{1, 1}, 33);
    d->ScaleBy(tagSIZE{1500, -700});
    d->CleanupJunkStitches();
    CRect b = d->m_rcBounds;
    b.NormalizeRect();
    if ((int64_t)b.right - b.left < 100000 && (int64_t)b.bottom - b.top < 100000 && d->GetNoStitches() < 20000) {
        CMemFile dst;
        d->WriteObject("fuzz.dst", &dst);
    }
    return 0;
}
