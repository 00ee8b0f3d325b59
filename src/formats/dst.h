// Tajima DST: a 512-byte text header and 3-byte relative records in balanced ternary.
#pragma once

#include "core/filter.h"

#include <string>

class CDst : public CFilter {
public:
    CDst();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

    // The 24-bit record (0x030000 included) for a move of dx, dy, each -121 to 121.
    static uint32_t EncodeRecord(int dx, int dy, bool jump);
    // The displacement of a record.
    static void DecodeRecord(uint32_t r, int* dx, int* dy);
    // The header text as written, exactly 512 bytes.
    static std::string MakeHeader(int nColors, long nStitches, const tagPOINT* pPoints,
                                  const char* pszFileName, const unsigned char* pTypes);

private:
    int WriteHeader(int nColors, long nStitches, const tagPOINT* pPoints, const char* pszFileName,
                    const unsigned char* pTypes);
    int SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long nStitches,
                 const unsigned char* pTypes);
    int AddStitch(int dx, int dy, bool bTrim, bool bJump);
    int WriteTrailer();
    int WriteRecord(uint32_t r);
};
