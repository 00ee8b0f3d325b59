#include "formats/pe_codec.h"

#include "core/endian.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

enum : unsigned char { kKindStitch = 0x8, kKindJump = 0x9, kKindMove = 0xA };
constexpr int kStitchThreshold = 127, kJumpThreshold = 2048;
// Bytes from the colour count to the 00 00 pair: the entries and their space fill.
constexpr int kColorAreaSize = 512 - 49;

// The long form of v with kind K; returns the value it carries.
int LongForm(unsigned char* p, int v, unsigned char kind)
{
    int h = v >> 8; // floor(v / 256)
    if (h < -8) h = -8;
    if (h > 7) h = 7;
    p[0] = (unsigned char)((kind << 4) | (h & 0x0F));
    p[1] = (unsigned char)(v & 0xFF);
    return 256 * h + (v & 0xFF);
}

// Short form for 0 to 63 and -64 to -1, else the long form of a stitch.
int StitchValue(unsigned char* p, int v)
{
    if (v >= 0 && v <= 63) {
        p[0] = (unsigned char)v;
        return 1;
    }
    if (v >= -64 && v < 0) {
        p[0] = (unsigned char)(v + 128);
        return 1;
    }
    LongForm(p, v, kKindStitch);
    return 2;
}

} // namespace

int PEEncodeValue(unsigned char* pBuffer, short dx, short dy, int jump)
{
    int x = dx, y = dy, n = 0;
    int threshold = jump ? kJumpThreshold : kStitchThreshold;
    if (x >= threshold || x <= -threshold || y >= threshold || y <= -threshold) {
        int px = LongForm(pBuffer, x, kKindMove);
        int py = LongForm(pBuffer + 2, y, kKindMove);
        n = 4;
        x = (short)(x - px);
        y = (short)(y - py);
    }
    if (jump) {
        LongForm(pBuffer + n, x, kKindJump);
        LongForm(pBuffer + n + 2, y, kKindJump);
        return n + 4;
    }
    n += StitchValue(pBuffer + n, x);
    n += StitchValue(pBuffer + n, y);
    return n;
}

int PEReadStitches(CFilter* f, int* pnColors, COLORCHG* pColors, long* pnStitches, tagPOINT* pPoints)
{
    unsigned char head[14];
    // A block cut before its length has no stitch data at all: refused, as its count is.
    if (!f->Read(head, 4)) return -1;
    if (!f->Read(head + 4, 10)) return 0;
    long length = (long)GetLE24(head);
    int16_t width = (int16_t)GetLE16(head + 6), height = (int16_t)GetLE16(head + 8);
    // Positions in file units; 64 bits, so that no file can overflow them.
    int64_t x = -(width / 2), y = height / 2;
    const long first = *pnStitches;
    if (*pnColors >= kMaxColorBlocks) return -1;
    pColors[*pnColors].nStitch = (int32_t)*pnStitches;
    ++*pnColors;
    bool xTurn = true, pending = true;
    int result = 1;
    auto store = [&]() {
        pPoints[*pnStitches] = tagPOINT{(int32_t)(10 * x), (int32_t)(10 * y)};
        ++*pnStitches;
    };
    for (long n = 0; n < length; ++n) {
        unsigned char b;
        if (!f->Read(&b, 1)) return 0;
        if (b <= 0x7F) {
            int v = b <= 0x3F ? b : b - 128;
            if (xTurn) {
                x += v;
            } else {
                y -= v;
                store();
            }
            pending = false;
            xTurn = !xTurn;
            continue;
        }
        unsigned char kind = b >> 4;
        if (kind == kKindStitch || kind == kKindJump || kind == kKindMove) {
            unsigned char c;
            if (!f->Read(&c, 1)) return 0;
            int nibble = b & 0x0F;
            int v = (nibble >= 8 ? nibble - 16 : nibble) * 256 + c;
            if (xTurn) {
                x += v;
            } else {
                y -= v;
                if (kind != kKindMove) store();
            }
            pending = false;
            xTurn = !xTurn;
            continue;
        }
        if (b == 0xFE) {
            unsigned char cc[2];
            if (!f->Read(cc, 2)) return 0;
            if (cc[0] != 0xB0 || (cc[1] != 0x01 && cc[1] != 0x02)) return 0;
            if (*pnColors >= kMaxColorBlocks) return -1;
            pColors[*pnColors].nStitch = (int32_t)*pnStitches;
            ++*pnColors;
            pending = true;
            continue;
        }
        result = b == 0xFF ? 1 : 0;
        break;
    }
    // A block that ended without a coordinate value gives back one point, but never one
    // that an earlier file of a set gave.
    if (pending && *pnStitches > first) --*pnStitches;
    return result;
}

namespace pec {

long RecordStart(int k, int nColors, const COLORCHG* pColors, long nStitches)
{
    if (k >= 0 && k < nColors) return pColors[k].nStitch;
    return nStitches + kClosingRecordOffset;
}

namespace {

// The first record whose nStitch is start or later, then, unless it starts exactly there,
// the one before it.
int FirstRecord(long start, int nColors, const COLORCHG* pColors, long nStitches)
{
    int c = 0;
    while (c < nColors && RecordStart(c, nColors, pColors, nStitches) < start) ++c;
    if (RecordStart(c, nColors, pColors, nStitches) != start) --c;
    return c;
}

} // namespace

int BlockOf(long start, int nColors, const COLORCHG* pColors)
{
    return FirstRecord(start, nColors, pColors, LONG_MAX - kClosingRecordOffset);
}

long FindBoundry(long start, int nColors, const COLORCHG* pColors, long nStitches, const tagPOINT* pPoints,
                 Costing costing)
{
    auto rec = [&](int k) { return RecordStart(k, nColors, pColors, nStitches); };
    int c = FirstRecord(start, nColors, pColors, nStitches) + 1;
    if (start >= nStitches) return nStitches;
    long budget = kBudgetStart;
    int blocks = 1;
    int32_t px = 0, py = 0;
    unsigned char scratch[8];
    long i = start;
    while (i < nStitches && budget < kBudget) {
        if (rec(c) <= i) {
            ++blocks;
            ++c;
            budget += kBudgetColorChange;
            if (blocks > kMaxBlocks) break;
        } else if (costing == Costing::Pec) {
            int32_t x = pPoints[i].x / 10, y = pPoints[i].y / 10;
            budget += PEEncodeValue(scratch, (short)(x - px), (short)(py - y), 0);
            px = x;
            py = y;
        } else {
            int32_t x = pPoints[i].x, y = pPoints[i].y;
            budget += PEEncodeValue(scratch, (short)((x - px) / 10), (short)(-((y - py) / 10)), 0);
            px = x;
            py = y;
        }
        ++i;
    }
    if (i >= nStitches) return nStitches;
    if (i == rec(c)) return i;
    long under = rec(c - 1);
    if (c - 1 < 0 || under <= start) return i;
    // A file that holds a colour change ends at the start of the block under way; the
    // records of a well-formed list lie in order, so that lies within (start, i].
    return under > start && under <= i ? under : i;
}

std::string Label(const char* pszFileName)
{
    std::string name = pszFileName ? pszFileName : "";
    size_t cut = name.rfind('\\');
    if (cut == std::string::npos) cut = name.rfind('/');
    if (cut != std::string::npos) name.erase(0, cut + 1);
    if (name.size() > 16) name.resize(16);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

void AppendBlockHeader(std::vector<unsigned char>& out, const std::string& label, int nWidth, int nHeight)
{
    std::string text = "LA:" + label;
    text.resize(19, ' ');
    text += '\r';
    out.insert(out.end(), text.begin(), text.end());
    out.insert(out.end(), 12, ' ');
    static const unsigned char mark[4] = {0xFF, 0x00, 0x06, 0x26};
    out.insert(out.end(), mark, mark + 4);
    out.insert(out.end(), 476, ' ');
    static const unsigned char lengthField[8] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x31, 0xFF, 0xF0};
    out.insert(out.end(), lengthField, lengthField + 8);
    unsigned char size[8] = {0, 0, 0, 0, 0xE0, 0x01, 0xB0, 0x01};
    PutLE16(size, (uint32_t)nWidth);
    PutLE16(size + 2, (uint32_t)nHeight);
    out.insert(out.end(), size, size + 8);
}

void FinishBlockHeader(std::vector<unsigned char>& out, size_t nBlock, const std::vector<unsigned char>& threads,
                       long nLength)
{
    // The count byte holds at most 256 entries; a single file never has more blocks.
    size_t n = threads.size() < 256 ? threads.size() : 256;
    if (n == 0) return;
    out[nBlock + 48] = (unsigned char)(n - 1);
    std::memcpy(&out[nBlock + 49], threads.data(), n);
    unsigned char* l = &out[nBlock + 514];
    l[0] = (unsigned char)nLength;
    l[1] = (unsigned char)(nLength >> 8);
    l[2] = (unsigned char)(nLength >> 16);
    l[3] = 0x31;
}

void PackThumbnailRow(const unsigned char* b, int r, unsigned char* row)
{
    unsigned char f = 0x02, g = 0x40;
    if (r == 0 || r == kIconHeight - 1) f = 0x08, g = 0x10;
    else if (r == 1 || r == kIconHeight - 2) f = 0x04, g = 0x20;
    row[0] = (unsigned char)((b[4] << 4) | f);
    row[1] = (unsigned char)((b[3] << 4) | (b[4] >> 4));
    row[2] = (unsigned char)((b[2] << 4) | (b[3] >> 4));
    row[3] = (unsigned char)((b[1] << 4) | (b[2] >> 4));
    row[4] = (unsigned char)((b[0] << 4) | (b[1] >> 4));
    row[5] = (unsigned char)((b[0] >> 4) | g);
}

void AppendThumbnail(std::vector<unsigned char>& out, CEmbIcon& icon)
{
    static const unsigned char border[6] = {0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
    out.insert(out.end(), 6, 0);
    out.insert(out.end(), border, border + 6);
    unsigned char row[6];
    for (int r = 0; r < kIconHeight; ++r) {
        PackThumbnailRow(icon.GetIconLine(r), r, row);
        out.insert(out.end(), row, row + 6);
    }
    out.insert(out.end(), border, border + 6);
    out.insert(out.end(), 6, 0);
}

int ReadColorArea(CFilter* f, int nSkip, unsigned char* pList, int* pnEntries, bool bReport)
{
    auto read = [&](void* p, int n) { return bReport ? f->Read(p, n) : f->ReadNoEMsg(p, n); };
    unsigned char count;
    if (!read(&count, 1)) return 0;
    int entries = count + 1;
    if (!read(pList, entries)) return 0;
    // The skip never passes the end of the colour area, so that a list too long for it
    // (more than 207 entries) does not push the reader into the stitch data.
    unsigned char skip[256];
    if (nSkip > kColorAreaSize - entries) nSkip = kColorAreaSize - entries;
    if (nSkip > 0 && !read(skip, nSkip)) return 0;
    unsigned char b = ' ';
    while (b == ' ')
        if (!read(&b, 1)) return 0;
    if (b != 0x00 || !read(&b, 1)) return 0;
    *pnEntries = entries;
    return 1;
}

int ReadColorsAndStitches(CFilter* f, int nSkip, int* pnColors, COLORCHG* pColors, long* pnStitches,
                          tagPOINT* pPoints)
{
    unsigned char list[256];
    int entries = 0;
    if (!ReadColorArea(f, nSkip, list, &entries, true)) return 0;
    // The colour list opens a block per entry: it must fit the stitch list.
    if (*pnColors + entries > kMaxColorBlocks) return 0;
    const int first = *pnColors;
    for (int k = 0; k < entries; ++k) {
        pColors[first + k].nColor = (uint16_t)(list[k] + 29);
        pColors[first + k].nExtra = 0;
    }
    if (PEReadStitches(f, pnColors, pColors, pnStitches, pPoints) < 0) return 0;
    // Colour changes beyond the list keep the last listed thread.
    for (int k = first + entries; k < *pnColors; ++k) {
        pColors[k].nColor = pColors[first + entries - 1].nColor;
        pColors[k].nExtra = 0;
    }
    return 1;
}

long ReadStitchCount(CFilter* f, int nSkip, long nFileLength)
{
    unsigned char list[256], length[4];
    int entries;
    if (!ReadColorArea(f, nSkip, list, &entries, false) || !f->ReadNoEMsg(length, 4)) return -1;
    // Two values make a point: the file's bytes bound L, which a damaged file may overstate.
    long room = nFileLength / 2;
    long l = (long)GetLE24(length);
    return l < room ? l : room;
}

bool ReadThumbnails(CFilter* f, long nBlock, std::vector<CIconImage>& out)
{
    unsigned char count;
    unsigned char length[3];
    if ((long)f->SetFilePointer(nBlock + 48, 0) != nBlock + 48 || !f->ReadNoEMsg(&count, 1)) return false;
    if ((long)f->SetFilePointer(nBlock + 514, 0) != nBlock + 514 || !f->ReadNoEMsg(length, 3)) return false;
    long at = nBlock + 512 + (long)GetLE24(length);
    if ((long)f->SetFilePointer(at, 0) != at) return false;
    unsigned char rows[kThumbnailBytes];
    for (int k = 0; k <= count + 1; ++k) {
        if (!f->ReadNoEMsg(rows, kThumbnailBytes)) break;
        std::string title = k == 0 ? "design" : "colour block " + std::to_string(k);
        out.push_back(UnpackIcon(rows, 48, 38, 6, false, title));
    }
    return !out.empty();
}

} // namespace pec
