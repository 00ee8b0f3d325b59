// HUS: a header, a colour list and three record sections (commands, x steps, y steps),
// each compressed with the dictionary coder at level 0.
#pragma once

#include "core/filter.h"

class CHus : public CFilter {
public:
    CHus();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

    // The end of the part that begins at point lStart: at most 12 colour blocks (while
    // "VikingSplit" is on) and 24 000 stitches.
    long FindBoundry(long lStart, int nColors, const COLORCHG* pColors, long nStitches) const;

    enum : unsigned char { kStitch = 0x80, kJump = 0x81, kColorChange = 0x84, kTrim = 0x88, kEnd = 0x90 };
    static constexpr uint32_t kMagic = 0x00C8AF5B;
    static constexpr int kHeaderSize = 42;

private:
    long GetNoStitches(const char* pszFileName);
    int ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints);
    int SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long lStart, long lEnd);
};
