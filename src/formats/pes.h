// Brother/Babylock PES: a header naming the hoop, the design as one object of stitch
// segments, and a PEC block from which machines sew. The writer chooses the file version
// and a 90 degree turn from the hoop, refuses designs that do not fit it, and splits large
// designs into part sets as the PEC filter does.
#pragma once

#include "core/filter.h"
#include "formats/emb_icon.h"

#include <cstdint>
#include <string>
#include <vector>

class CPes : public CFilter {
public:
    CPes();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

    int16_t m_nRotation = 0; // 1: the design is written turned by 90 degrees
    int m_nVersion = 0;      // 1, 2, 3 or 4 for "#PES0001", "#PES0020", "#PES0030", "#PES0040"; 0 before a file

    // Reads only the header of a file (the first of a set): version, hoop and rotation.
    int ReadHeader(const char* pszFileName);
    // The thumbnails of the file's PEC block, the design's first. False when it is no PES file.
    bool ReadThumbnails(const char* pszFileName, std::vector<CIconImage>& out);
    // The magic of a version (1 to 4), "" for any other.
    static const char* VersionMagic(int nVersion);

    // The design's extents in the file frame (0.1 mm, y downward).
    struct Extents {
        int16_t minX = 0, maxX = 0, minY = 0, maxY = 0;
        int Width() const { return maxX - minX; }
        int Height() const { return maxY - minY; }
    };
    static Extents MeasureExtents(long nStitches, const tagPOINT* pPoints);

private:
    int ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints);
    long GetNoStitches(const char* pszFileName);
    long FindBoundry(long start, int nColors, const COLORCHG* pColors, long nStitches, const tagPOINT* pPoints);
    int SaveData(const char* pszFileName, int nColors, long nStitches, const COLORCHG* pColors,
                 const tagPOINT* pPoints, long start, long end);
    // After the magic: the PEC offset and the hoop fields of the version. 0 on a short file.
    int ReadHoopFields(uint32_t* pPecOffset, bool bReport);
    // Opens the file and checks its magic; 0 (file closed) for any other.
    int OpenPes(const char* pszFileName, bool bReport);

    Extents m_Extents;
};
