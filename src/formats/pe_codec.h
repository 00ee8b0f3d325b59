// The Brother stitch codec and the PEC block, shared by the PEC and PES filters: the
// decoder PEReadStitches, the encoder PEEncodeValue, where a file of a part set ends, and
// the block's header, colour list and 48 x 38 thumbnails.
#pragma once

#include "core/filter.h"
#include "formats/emb_icon.h"

#include <string>
#include <vector>

// Reads the stitch data of a PEC block from the filter's open file, positioned at block
// offset 514 (just after the 00 00 pair that ends the colour list's space fill), into the
// stitch list. Returns 1 when the data ends as it should, 0 when it stops early (a read
// failure, a bad colour change, a byte of no meaning), and -1 when the block ends before
// its length (a file GetMaxNoStitches counts -1, so that a part set ends there for the
// count and the read alike) or a colour change would open more colour blocks than the
// stitch list holds; the callers fail the read only then.
int PEReadStitches(CFilter* pFilter, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints);

// Encodes one displacement in file units, dy already in the file's direction, into
// pBuffer (room for 8 bytes); a stitch for jump 0, else a jump. Returns the byte count, 2 to 8.
int PEEncodeValue(unsigned char* pBuffer, short dx, short dy, int jump);

namespace pec {

constexpr int kMaxBlocks = 64;         // colour blocks in one file of a set
constexpr long kBudget = 0x1C000;      // estimated bytes of one file of a set
constexpr long kBudgetStart = 1024;
constexpr long kBudgetColorChange = 235;
constexpr int kBlockHeaderSize = 528;  // "LA:" to the stitch data
constexpr int kThumbnailBytes = 228;   // 38 rows of 6 bytes
constexpr int kIconWidth = 40, kIconHeight = 34;
constexpr int kIconField = 1000;       // the extent a PEC file's icon shows, in file units
constexpr int kThreadFirst = kBrotherFirst, kThreadEnd = kBrotherEnd;

// How a file's size is estimated: PEC costs each point's truncated position against the
// previous one, PES the truncated difference of the untruncated points.
enum class Costing { Pec, Pes };

// The end of the file of a part set that begins at point start: within the budget and
// 64 colour blocks, and at a colour change when one lies inside the file.
long FindBoundry(long start, int nColors, const COLORCHG* pColors, long nStitches, const tagPOINT* pPoints,
                 Costing costing);
// The colour block that holds point start (-1 before the first record).
int BlockOf(long start, int nColors, const COLORCHG* pColors);
// The nStitch of record k, or past every point for the records beyond the colour count.
long RecordStart(int k, int nColors, const COLORCHG* pColors, long nStitches);

// The label of a file: its name without directory, at most 16 characters, cut at the last
// '.' among them.
std::string Label(const char* pszFileName);
// Appends block offsets 0 to 527: "LA:" and the label, the space-filled colour area, the
// stitch block length placeholder, width and height.
void AppendBlockHeader(std::vector<unsigned char>& out, const std::string& label, int nWidth, int nHeight);
// Fills in the colour list (block offset 48) and the stitch block length L (offset 514)
// of the block that starts at out[nBlock].
void FinishBlockHeader(std::vector<unsigned char>& out, size_t nBlock, const std::vector<unsigned char>& threads,
                       long nLength);
// Appends the 38 thumbnail rows drawn from a 40 x 34 icon, with their rounded frame.
void AppendThumbnail(std::vector<unsigned char>& out, CEmbIcon& icon);
// One thumbnail row from an icon row's five packed bytes; r is the icon row (0 to 33).
void PackThumbnailRow(const unsigned char* pIconLine, int r, unsigned char* pRow);

// Reads the colour list (the count byte and its entries, from record *pnColors on), skips
// nSkip bytes and the space fill up to the 00 00 pair, and decodes the stitch data. Fails
// (0) on a colour list beyond the stitch list's capacity, a missing 00, or a colour change
// past the capacity; an early end of the stitch data keeps what was read.
int ReadColorsAndStitches(CFilter* pFilter, int nSkip, int* pnColors, COLORCHG* pColors, long* pnStitches,
                          tagPOINT* pPoints);

// The colour list (the count byte and its entries into pList, room for 256) and the space
// fill after it, through the 00 00 pair: the reader's way, which the stitch count follows.
// bReport: a short file is reported as a read failure (else the file is closed quietly).
int ReadColorArea(CFilter* pFilter, int nSkip, unsigned char* pList, int* pnEntries, bool bReport);
// The points the block's stitch data can give, with the file positioned at its colour
// count: its L, read where the decoder reads it, but never more than the file's bytes
// can hold. -1 when the colour area cannot be read.
long ReadStitchCount(CFilter* pFilter, int nSkip, long nFileLength);

// The thumbnails of the PEC block at nBlock in the filter's open file: the design's, then
// one per colour entry as far as the file holds them. False when the block cannot be read.
bool ReadThumbnails(CFilter* pFilter, long nBlock, std::vector<CIconImage>& out);

} // namespace pec
