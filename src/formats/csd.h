// CSD: a short header with 16 colours and a colour sequence, then 3-byte records, every
// byte after the first scrambled by its position in the file.
#pragma once

#include "core/filter.h"

#include <vector>

class CCsd : public CFilter {
public:
    CCsd();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

    static constexpr uint32_t kFixedSeed = 12;
    static const uint8_t kKeyTable[256];

    // Fills tables A and B from the seed, which then holds the generator's final state.
    void BuildTables();
    uint8_t EncodeByte(uint8_t b, long lPosition) const;
    uint8_t DecodeByte(uint8_t b, long lPosition, int bPermute) const;
    // Where the byte at a position of a file of the seeded variant is scrambled from.
    static long PermutedPosition(long lPosition);

    uint32_t m_nSeed = kFixedSeed;
    uint8_t m_TableA[479] = {};
    uint8_t m_TableB[501] = {};

private:
    int ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints);
    long GetNoStitches(const char* pszFileName);
    long FindBoundry(long lStart, int nColors, const COLORCHG* pColors, long lStitches);
    // Builds the scrambled file of points start to end - 1 in m_Out.
    int SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long lStart, long lEnd);

    std::vector<uint8_t> m_Out;
};

// What a round trip through a CSD file keeps of a design.
void CsdKeeps(StitchList& l);
