// Singer XXX: a 256-byte header, 2-byte relative records with escapes for jumps, colour
// changes and long moves, and a trailer with up to 15 thread colours.
#pragma once

#include "core/filter.h"

#include <vector>

class CXxx : public CFilter {
public:
    CXxx();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

    // Design extents in 0.1 mm, each kept as a 16-bit value.
    int32_t m_nMinX = 0, m_nMaxY = 0, m_nMaxX = 0, m_nMinY = 0;
    uint8_t m_RecordKinds[60] = {};
    int m_nRecordKinds = 0;
    int m_nLongMoveLimit = 120; // only the first move an object writes has the short limit

private:
    int ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints);
    long GetNoStitches(const char* pszFileName);
    long FindBoundry(long lStart, int nColors, const COLORCHG* pColors, long lStitches, const tagPOINT* pPoints);
    // Builds the file of points start to end - 1 in m_Out; bPart adds a set's corner stitches.
    int SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long lStart, long lEnd, int bPart);
    int AddStitch(int dx, int dy);
    void AddKind(uint8_t kind);

    std::vector<uint8_t> m_Out;
    long m_nRecords = 0; // R of the file being built
};

// What a round trip through an XXX file keeps of a design.
void XxxKeeps(StitchList& l);
