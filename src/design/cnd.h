// CCnd: the reader of condensed CND designs and their ".kwc" and ".dem" variants. It builds
// the elements of a condensed design from the file's 5-byte records; it writes nothing and
// reads no stitch list.
#pragma once

#include "core/filter.h"
#include "design/cnd_object.h"

class CCnd : public CFilter {
public:
    CCnd();

    long GetMaxNoStitches(const char* pszFileName) override;  // -1: not a stitch file
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints,
                   unsigned char* pTypes) override;            // 0
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                   unsigned char* pTypes) override;            // 0

    // Reads the file and appends its elements to the design; 1 when read to its end.
    int ImportFile(const char* pszFileName, CCndObject* pDesign);

    int GetNextMark1(tagPOINT& pt);
    int LoadSatinStitch(CCndObject* pDesign, short& nDensity);
    int LoadFillStitch(CCndObject* pDesign);
    int LoadCFillStitch(CCndObject* pDesign);

    static int TranslateNumber(int v);
    static tagPOINT TranslateCords(int nFlags, int x, int y);
    static int TranslateAngle(int v);

    int32_t m_nFirstColor = 0;
    int32_t m_nFilePos = 0;
    int32_t m_bScrambled = 0;
    tagPOINT m_ptLastRun{0, 0};
};
