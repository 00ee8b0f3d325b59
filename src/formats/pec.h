// Brother/Babylock PEC: an 8-byte magic and a PEC block (colour list, stitch data in the
// Brother codec, a 48 x 38 thumbnail). A design beyond 64 colour blocks or the estimated
// size of one file is written as a part set.
#pragma once

#include "core/filter.h"
#include "formats/emb_icon.h"

#include <string>
#include <vector>

class CPec : public CFilter {
public:
    CPec();
    long GetMaxNoStitches(const char* pszFileName) override;
    int ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;
    int ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches,
                   tagPOINT* pPoints, unsigned char* pTypes) override;

    // The thumbnails the file carries, the design's first. False when it is no PEC file.
    bool ReadThumbnails(const char* pszFileName, std::vector<CIconImage>& out);

private:
    int ReadFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints);
    long GetNoStitches(const char* pszFileName);
    long FindBoundry(long start, int nColors, const COLORCHG* pColors, long nStitches, const tagPOINT* pPoints);
    int SaveData(const char* pszFileName, int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long start,
                 long end);
};
