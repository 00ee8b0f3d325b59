// The stitch list: points in 0.01 mm, a type byte per point and colour-change records.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct COLORCHG {
    int32_t nStitch; // index of the first point sewn in this colour
    uint16_t nColor; // master thread table index (block number for formats without colours)
    uint16_t nPad;
    int32_t nExtra;  // importers set 0; carried unchanged with the block
};
static_assert(sizeof(COLORCHG) == 12, "COLORCHG crosses the interface with a fixed layout");

// Room for 254 colour blocks plus the closing record.
constexpr int kMaxColorRecords = 255;
constexpr int kMaxColorBlocks = kMaxColorRecords - 1;
// The closing record lies this far past the last point.
constexpr int kClosingRecordOffset = 4;
// A type byte of this or more marks a point that follows a trim.
constexpr unsigned char kTrimType = 3;

// Error codes kept in the settings object's last error.
enum : int {
    KW_ERR_NO_STITCHES = -17001,
    KW_ERR_BAD_FILE = -17002,
    KW_ERR_NO_MEMORY = -17003,
    KW_ERR_TOO_LARGE = -17004,
    KW_ERR_PCS_EXPORT = -17005,
    KW_ERR_SEW_EXPORT = -17006,
    KW_ERR_PES_EXPORT = -17007,
    KW_ERR_CREATE = -17008,
    KW_ERR_WRITE = -17009,
    KW_ERR_UNKNOWN_TYPE = -17010,
    KW_ERR_READ = -17011,
    // A part set's progress: 17001 + k while part k is written.
    KW_PART_PROGRESS = 17001,
};

// Opens a colour block at index *pnColors for point nStitch; false when that would make
// more than 254 blocks. The record is written either way (there is room for it).
inline bool OpenColorBlock(int* pnColors, COLORCHG* pColors, long nStitch, int nColor)
{
    COLORCHG& c = pColors[*pnColors];
    c.nStitch = (int32_t)nStitch;
    c.nColor = (uint16_t)nColor;
    c.nExtra = 0;
    if (*pnColors >= kMaxColorBlocks) return false;
    ++*pnColors;
    return true;
}

// A position in file units scaled to stitch units, held within 32 bits however far a
// corrupt file moves.
inline int32_t ScaleToStitchUnits(int64_t fileUnits, int scale)
{
    int64_t v = fileUnits * scale;
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
}

// Cuts a move that is longer than a format's record can hold into steps of at most
// maxStep toward zero in each axis, calling jump(sx, sy) for each; dx and dy are left
// with the remainder, which fits one record. False as soon as jump fails.
template <class Jump> bool SplitLongMove(int& dx, int& dy, int maxStep, Jump jump)
{
    while (dx > maxStep || dx < -maxStep || dy > maxStep || dy < -maxStep) {
        int sx = dx > maxStep ? maxStep : dx < -maxStep ? -maxStep : 0;
        int sy = dy > maxStep ? maxStep : dy < -maxStep ? -maxStep : 0;
        dx -= sx;
        dy -= sy;
        if (!jump(sx, sy)) return false;
    }
    return true;
}

inline void WriteClosingRecord(COLORCHG* pColors, int nColors, long nStitches)
{
    pColors[nColors].nStitch = (int32_t)(nStitches + kClosingRecordOffset);
}

// Walks the colour blocks of a stitch list in point order. Only the records below the
// colour count are consulted, so a missing closing record does no harm.
class ColorBlockWalk {
public:
    ColorBlockWalk(int nColors, const COLORCHG* pColors) : m_nColors(nColors), m_pColors(pColors) {}
    // True, and moves on one block, when the next block starts at or before point i.
    bool NextBlockAt(long i)
    {
        if (m_nBlock + 1 < m_nColors && m_pColors[m_nBlock + 1].nStitch <= i) {
            ++m_nBlock;
            return true;
        }
        return false;
    }
    int Block() const { return m_nBlock; }
    int Color() const { return m_nColors > 0 ? m_pColors[m_nBlock].nColor : 0; }

private:
    int m_nColors;
    const COLORCHG* m_pColors;
    int m_nBlock = 0;
};

// Bounds of a block [first, end) clamped to the points in use.
inline long BlockStart(const COLORCHG* c, int nColors, int k, long nStitches)
{
    long s = k < nColors ? c[k].nStitch : nStitches;
    return s < 0 ? 0 : s > nStitches ? nStitches : s;
}
inline long BlockEnd(const COLORCHG* c, int nColors, int k, long nStitches)
{
    return k + 1 < nColors ? BlockStart(c, nColors, k + 1, nStitches) : nStitches;
}

// A stitch list that owns its arrays, for programs and tests that hold a design by itself.
struct StitchList {
    std::vector<COLORCHG> colors = std::vector<COLORCHG>(kMaxColorRecords, COLORCHG{0, 0, 0, 0});
    std::vector<tagPOINT> points;
    std::vector<unsigned char> types;
    int nColors = 0;
    long nStitches = 0;

    void Reserve(long n)
    {
        points.assign((size_t)n, tagPOINT{0, 0});
        types.assign((size_t)n, 0);
    }
    void Clear()
    {
        nColors = 0;
        nStitches = 0;
        points.clear();
        types.clear();
        colors.assign(kMaxColorRecords, COLORCHG{0, 0, 0, 0});
    }
};
