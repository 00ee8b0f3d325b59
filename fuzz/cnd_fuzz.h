// Shared by the condensed import targets: the bytes read as a ".cnd", ".kwc" or ".dem" file
// into a condensed design, which renders them; every result must stay within its limits.
#pragma once

#include "fuzz_common.h"

#include "design/cnd_object.h"

namespace fuzzing {

inline void ImportCondensed(const uint8_t* data, size_t size, const char* name)
{
    QuietLibrary();
    CMemFile mem;
    if (size) mem.Write(data, (UINT)size);
    CCndObject design;
    design.ReadObject(name, 0, &mem);
    // One record makes at most four elements (a colour change repeats three modes).
    if ((size_t)design.GetElementCount() > 4 * (size / 5 + 1)) std::abort();
    long n = design.GetNoStitches();
    int colors = design.GetNoColors();
    if (n < 0 || n > CCndObject::kMaxRenderedStitches || colors < 1 || colors > kMaxColorBlocks) std::abort();
    if (design.GetColorData()[colors].nStitch != n) std::abort();
    for (int k = 0; k < colors; ++k) {
        int32_t s = design.GetColorData()[k].nStitch;
        if (s < 0 || s > n) std::abort();
    }
    // What a host does next with a design it has read must be safe too.
    CRasterDC dc(32, 32, 254);
    design.Draw(&dc, 100);
    if (n < 200000) {
        CMemFile out;
        CArchive ar(&out, CArchive::store);
        design.Serialize(ar);
        ar.Close();
    }
}

} // namespace fuzzing
