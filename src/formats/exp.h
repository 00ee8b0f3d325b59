// Expanded EXP: headerless 2-byte relative records, with escape codes for colour changes
// and jumps.
#pragma once

#include "core/filter.h"

class CExp : public CFilter {
public:
    CExp();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

private:
    int SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long nStitches,
                 const unsigned char* pTypes);
    int AddStitch(int dx, int dy, bool bTrim, bool bJump);
};
