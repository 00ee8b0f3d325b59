// Janome/Elna/New Home SEW: a fixed area of 7544 bytes (colour table, block lengths and
// monochrome thumbnails) and 2-byte stitch records grouped by colour block. A file holds
// at most 12 colour blocks; larger designs are written as part sets.
#pragma once

#include "core/filter.h"
#include "formats/emb_icon.h"

#include <cstdint>
#include <vector>

class CSew : public CFilter {
public:
    CSew();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

    int m_nColorEnd; // end of the master range the SEW colours come from: 123, 146 or 189

    static constexpr int kHeaderSize = 7544;
    static constexpr int kMaxBlocks = 12;
    static constexpr int kCodeCount = 78;
    // SEW[k], the code of master entry 111 + k.
    static int SewCode(int k);
    // The master entry of a code read from a file; a code found nowhere is kept as it is.
    static int MasterIndexOfCode(int nCode);

    // The thumbnails the file carries: the design's, the 48 x 32 and 64 x 48 ones, then the
    // two of each colour block. False when the file has no SEW header.
    bool ReadThumbnails(const char* pszFileName, std::vector<CIconImage>& out);

private:
    long GetNoStitches(const char* pszFileName);
    int ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints);
    long FindBoundry(long start, int nColors, const COLORCHG* pColors, long nStitches);
    int SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long start, long end);
    int AddStitch(int dx, int dy);
    int SaveIcon(CEmbIcon& icon);

    // The design's extents in file units, for the field check and the design thumbnail.
    int m_nMinX = 0, m_nMaxX = 0, m_nMinY = 0, m_nMaxY = 0;
    std::vector<unsigned char> m_Out; // the file being written
};
