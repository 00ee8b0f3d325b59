// Pfaff PCS (Windows) and PCM (Macintosh): absolute 9-byte records in 1/1536 mm from the
// corner of the hoop's field, at most 16 colour blocks a file. PCM is the same design in
// big-endian order, with colour numbers in its colour change records instead of a colour
// table; CPcsMac holds only those differences.
#pragma once

#include "core/filter.h"

#include <vector>

class CPcs : public CFilter {
public:
    CPcs();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

    // How a design goes into the field of a hoop width: whether it fits, turned by 90° or
    // not, and the shift that brings it inside. Extents include the origin.
    struct FieldFit {
        bool bSmallField; // the 80 x 80 mm field, else 120 x 115 mm
        bool bFits;
        bool bTurned;
        long nXShift, nYShift;
        long nMinX, nMaxX, nMinY, nMaxY;
    };
    static FieldFit FitField(int nHoopWidth, long nStitches, const tagPOINT* pPoints);
    // The default colour table, red, green, blue.
    static const unsigned char kDefaultColors[16][3];

    int m_nHoopCode = -1; // the hoop code of the last file read, -1 before
    int m_bTurned = 0;    // the last export turned the design

    // Where the two forms differ in layout.
    struct Layout {
        const char* pszExt;
        bool bBigEndian;
        int nCountOffset; // of the stitch record count
        int nTrailerBytes;
    };

protected:
    explicit CPcs(const Layout& layout);

    // What a format reads as a colour: its header table, or colour change records.
    virtual int ReadColorTable(int* pTable);
    virtual int FirstBlockColor(const int* pTable, int nColorsOnEntry);
    virtual int ChangeColor(const int* pTable, int nBlockInFile, uint32_t x);
    virtual int WriteHeader(long lCount, long lStart, int nColors, const COLORCHG* pColors);
    // The two stitches that close each file of a set.
    virtual int WriteClosingStitches(const FieldFit& fit);

    int ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints);
    long GetNoStitches(const char* pszFileName);
    long FindBoundry(int nColors, const COLORCHG* pColors, long lStitches, long lStart);
    int SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long lStart, long lEnd, int bTurned,
                 long nXShift, long nYShift);
    int AddStitch(long x, long y, int bTurned);
    int WriteValues(long x, long y, unsigned char flag);
    int WriteTrailer();
    int WriteWord(uint32_t v);
    int FlushRecords();

    Layout m_Layout;
    std::vector<uint8_t> m_Out; // the file being written, gathered before it goes out

private:
    int WriteOneFile(int nColors, const COLORCHG* pColors, long lStart, long lEnd, const tagPOINT* pPoints,
                     const FieldFit& fit, bool bClose);
};

class CPcsMac : public CPcs {
public:
    CPcsMac();

protected:
    int ReadColorTable(int* pTable) override;
    int FirstBlockColor(const int* pTable, int nColorsOnEntry) override;
    int ChangeColor(const int* pTable, int nBlockInFile, uint32_t x) override;
    int WriteHeader(long lCount, long lStart, int nColors, const COLORCHG* pColors) override;
    int WriteClosingStitches(const FieldFit& fit) override;
    int WriteHeader(long lCount);
};

// What a round trip through a PCS or PCM file (large field) keeps of a design.
void PcsKeeps(StitchList& l);
void PcmKeeps(StitchList& l);
