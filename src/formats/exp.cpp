#include "formats/exp.h"

#include <cstdlib>

namespace {

constexpr int kMaxMove = 127;
constexpr unsigned char kEscape = 0x80;

} // namespace

CExp::CExp()
{
    m_nHoopWidth = 0;
    m_nHoopHeight = 0;
}

long CExp::GetMaxNoStitches(const char* pszFileName)
{
    long length = MeasureFile(pszFileName);
    if (length < 0) return -1;
    return length > 0 ? length / 2 : length;
}

int CExp::ImportFile(const char* pszFileName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                     tagPOINT* pPoints, unsigned char* pTypes)
{
    if (!OpenFile(pszFileName, 0)) return 0;
    if (!OpenColorBlock(pnColors, pColors, *pnStitches, *pnColors)) {
        CloseHandle();
        return 0;
    }
    int64_t x = 0, y = 0; // file units; a corrupt file may run far
    bool afterColorChange = true;
    unsigned char b[2];
    while (ReadNoEMsg(b, 2)) {
        if (b[0] != kEscape) {
            afterColorChange = false;
            if (b[0] || b[1]) {
                x += (int8_t)b[0];
                y += (int8_t)b[1];
                pPoints[*pnStitches] = tagPOINT{ScaleToStitchUnits(x, 10), ScaleToStitchUnits(y, 10)};
                ++*pnStitches;
            }
            continue;
        }
        unsigned char c = b[1];
        if (c == 0x80 || (c & 1 && c <= 0x0F)) {
            unsigned char unused[2];
            if (c == 0x80 && !Read(unused, 2)) {
                CloseHandle();
                return 0;
            }
            COLORCHG& rec = pColors[*pnColors];
            rec.nStitch = (int32_t)*pnStitches;
            rec.nColor = (uint16_t)*pnColors;
            rec.nExtra = 0;
            afterColorChange = true;
            if (*pnStitches != 0) {
                if (*pnColors >= kMaxColorBlocks) {
                    CloseHandle();
                    return 0;
                }
                ++*pnColors;
            }
        } else if (c == 0x02 || c == 0x04 || c == 0x06) {
            unsigned char move[2];
            if (!Read(move, 2)) {
                CloseHandle();
                return 0;
            }
            x += (int8_t)move[0];
            y += (int8_t)move[1];
            if (move[0] || move[1]) {
                unsigned char& t = pTypes[*pnStitches];
                if (t < 255) ++t;
            }
        }
    }
    if (afterColorChange) --*pnColors;
    WriteClosingRecord(pColors, *pnColors, *pnStitches);
    return 1;
}

int CExp::AddStitch(int dx, int dy, bool, bool bJump)
{
    auto jump = [&](int sx, int sy) {
        unsigned char rec[4] = {kEscape, 0x04, (unsigned char)(int8_t)sx, (unsigned char)(int8_t)sy};
        return Write(rec, 4) != 0;
    };
    if (!SplitLongMove(dx, dy, kMaxMove, jump)) return 0;
    if (bJump) {
        unsigned char esc[2] = {kEscape, 0x04};
        if (!Write(esc, 2)) return 0;
    }
    unsigned char rec[2] = {(unsigned char)(int8_t)dx, (unsigned char)(int8_t)dy};
    return Write(rec, 2);
}

int CExp::SaveData(int nColors, const COLORCHG* pColors, const tagPOINT* pPoints, long nStitches,
                   const unsigned char* pTypes)
{
    static const unsigned char colorChange[4] = {kEscape, 0x01, 0x00, 0x00};
    int32_t px = 0, py = 0;
    ColorBlockWalk blocks(nColors, pColors);
    for (long i = 0; i < nStitches; ++i) {
        if (blocks.NextBlockAt(i) && !Write(colorChange, 4)) return 0;
        int32_t x = pPoints[i].x / 10, y = pPoints[i].y / 10;
        if (!AddStitch(x - px, y - py, pTypes[i] >= kTrimType, false)) return 0;
        px = x;
        py = y;
    }
    return 1;
}

int CExp::ExportFile(const char* pszFileName, int nColors, COLORCHG* pColors, long nStitches, tagPOINT* pPoints,
                     unsigned char* pTypes)
{
    return RunExport(pszFileName, nStitches, [&] { return SaveData(nColors, pColors, pPoints, nStitches, pTypes); });
}
