// Shared by the fuzz targets: a quiet library and an import checked against its limits.
#pragma once

#include "kwfilter.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace fuzzing {

inline void QuietLibrary()
{
    CKwFilter* s = GetSetup();
    s->m_bShowMessages = 0;
    s->m_strErrorLog.clear();
}

// Imports the bytes with filter T from a memory file into arrays of exactly the size
// GetMaxNoStitches asks for (plus the slot past the last point that importers may mark);
// the sanitizers catch any write beyond them. A format whose GetMaxNoStitches refuses a
// file that is not of its kind (-1) passes mayRefuse; such a file is not imported.
// expansion is how many points a byte of the format may honestly stand for (compressed
// formats hold more than one).
template <class T> void ImportBytes(const uint8_t* data, size_t size, bool mayRefuse = false, long expansion = 1)
{
    CMemFile mem;
    if (size) mem.Write(data, (UINT)size);
    T filter;
    filter.m_pFile = &mem;
    long max = filter.GetMaxNoStitches("fuzz.in");
    if (max < 0 && mayRefuse) return;
    if (max < 0) std::abort();
    if (max > (long)size * expansion + 16) std::abort(); // never out of proportion to the file
    std::vector<tagPOINT> points((size_t)max);
    std::vector<unsigned char> types((size_t)max + 1, 0);
    std::vector<COLORCHG> colors(kMaxColorRecords);
    int nColors = 0;
    long nStitches = 0;
    T importer;
    importer.m_pFile = &mem;
    int ok = importer.ImportFile("fuzz.in", &nColors, colors.data(), &nStitches, points.data(), types.data());
    if (nStitches < 0 || nStitches > max || nColors < 0 || nColors > kMaxColorBlocks) std::abort();
    if (ok && colors[(size_t)nColors].nStitch != nStitches + kClosingRecordOffset) std::abort();
}

// Loads a design object from archive bytes as a host would (null when the load failed).
inline std::unique_ptr<CEmbObject> LoadObjectFromBytes(const uint8_t* data, size_t size)
{
    CMemFile mem;
    if (size) mem.Write(data, (UINT)size);
    mem.SeekToBegin();
    CArchive in(&mem, CArchive::load);
    return std::unique_ptr<CEmbObject>(CEmbObject::LoadObject(in));
}

// The archive bytes a design object stores.
inline std::vector<uint8_t> StoreObject(CEmbObject& object)
{
    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    return std::vector<uint8_t>(out.Data(), out.Data() + out.GetLength());
}

} // namespace fuzzing
