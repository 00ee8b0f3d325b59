// CCnd: the reader of condensed CND designs and their ".kwc" and ".dem" variants. It builds
// the elements of a condensed design from the file's 5-byte records; it writes nothing and
// reads no stitch list.
#pragma once

#include "core/filter.h"
#include "design/cnd_object.h"

#include <cstdint>
#include <memory>
#include <vector>

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

private:
    // The file is read whole and walked record by record, so that stepping back is free.
    int ReadRecord(uint8_t rec[5]);
    void StepBack();
    void ColorChange(CCndObject* pDesign, int& nMode);
    void FlushRun(CCndObject* pDesign);

    std::vector<uint8_t> m_Data;
    size_t m_nPos = 0;
    bool m_bClosed = false;  // an end record closes the file: every later read meets its end
    int m_ColorMap[256] = {};
    bool m_bMapInUse = false;
    int16_t m_nRunLength = 380;
    int16_t m_nRunValue = 1000;
    std::unique_ptr<CRunStitch> m_pRun;  // the run being collected
};
