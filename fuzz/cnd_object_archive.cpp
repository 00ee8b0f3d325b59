// Loading a condensed design from archive bytes: a short or corrupt archive fails the load
// and leaves nothing behind; a good one stores back to the same bytes, renders within the
// stitch limit, and every operation of the design is safe on what it loaded.
#include "fuzz_common.h"

#include <cstring>

namespace {

std::vector<uint8_t> Store(CEmbObject& d)
{
    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        d.Serialize(ar);
        ar.Close();
    }
    return std::vector<uint8_t>(out.Data(), out.Data() + out.GetLength());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::QuietLibrary();
    CMemFile mem;
    if (size) mem.Write(data, (UINT)size);
    mem.SeekToBegin();
    CArchive in(&mem, CArchive::load);
    std::unique_ptr<CEmbObject> obj(CEmbObject::LoadObject(in));
    if (!obj || !obj->IsKindOf(RUNTIME_CLASS(CCndObject))) return 0;
    auto* d = static_cast<CCndObject*>(obj.get());

    // What was loaded stores back to the bytes it came from (up to the end tag; unknown tags
    // are dropped, so compare a second round instead).
    std::vector<uint8_t> first = Store(*d);
    {
        CMemFile again;
        again.Write(first.data(), (UINT)first.size());
        again.SeekToBegin();
        CArchive ar(&again, CArchive::load);
        std::unique_ptr<CEmbObject> back(CEmbObject::LoadObject(ar));
        if (!back || Store(*back) != first) std::abort();
    }

    std::unique_ptr<CEmbObject> copy(d->Copy());
    d->RendorStitches(1);
    if (d->GetNoStitches() < 0 || d->GetNoStitches() > CCndObject::kMaxRenderedStitches) std::abort();
    if (d->GetNoColors() < 1 || d->GetNoColors() > kMaxColorBlocks) std::abort();
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
    if ((int64_t)b.right - b.left < 100000 && (int64_t)b.top - b.bottom < 100000 && d->GetNoStitches() < 20000) {
        CMemFile dst;
        d->WriteObject("fuzz.dst", &dst);
    }
    return 0;
}
