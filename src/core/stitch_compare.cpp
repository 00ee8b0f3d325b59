#include "core/stitch_compare.h"

#include "core/colors.h"
#include "core/thread_table.h"
#include "platform/message.h"

void KeepUnit(StitchList& l, int unit)
{
    if (unit <= 1) return;
    for (long i = 0; i < l.nStitches; ++i) {
        l.points[(size_t)i].x = l.points[(size_t)i].x / unit * unit;
        l.points[(size_t)i].y = l.points[(size_t)i].y / unit * unit;
    }
}

void KeepBlockNumbers(StitchList& l)
{
    for (int k = 0; k < l.nColors; ++k) l.colors[(size_t)k].nColor = (uint16_t)k;
}

void KeepTrimsOnly(StitchList& l)
{
    for (long i = 0; i < l.nStitches; ++i) l.types[(size_t)i] = l.types[(size_t)i] >= kTrimType ? kTrimType : 0;
}

void KeepNoTypes(StitchList& l)
{
    for (long i = 0; i < l.nStitches; ++i) l.types[(size_t)i] = 0;
}

void KeepThreadRange(StitchList& l, int first, int end)
{
    for (int k = 0; k < l.nColors; ++k) {
        int c = l.colors[(size_t)k].nColor;
        if (c >= first && c < end) continue;
        l.colors[(size_t)k].nColor = (uint16_t)NearestThread(GetThreadColor(c), first, end);
    }
}

void DropEmptyBlocks(StitchList& l)
{
    int out = 0;
    for (int k = 0; k < l.nColors; ++k) {
        if (BlockEnd(l.colors.data(), l.nColors, k, l.nStitches) <= BlockStart(l.colors.data(), l.nColors, k, l.nStitches))
            continue;
        l.colors[(size_t)out++] = l.colors[(size_t)k];
    }
    l.nColors = out;
    WriteClosingRecord(l.colors.data(), l.nColors, l.nStitches);
}

void DropStandingStitches(StitchList& l)
{
    std::vector<long> kept((size_t)l.nStitches + 1, 0); // points kept before each index
    tagPOINT prev{0, 0};
    long n = 0;
    for (long i = 0; i < l.nStitches; ++i) {
        kept[(size_t)i] = n;
        const tagPOINT p = l.points[(size_t)i];
        if (p.x == prev.x && p.y == prev.y) continue;
        prev = p;
        l.points[(size_t)n] = p;
        l.types[(size_t)n] = l.types[(size_t)i];
        ++n;
    }
    kept[(size_t)l.nStitches] = n;
    for (int k = 0; k < l.nColors; ++k) {
        int32_t& start = l.colors[(size_t)k].nStitch;
        if (start >= 0 && start <= l.nStitches) start = (int32_t)kept[(size_t)start];
    }
    l.nStitches = n;
    l.points.resize((size_t)n);
    l.types.resize((size_t)n);
    WriteClosingRecord(l.colors.data(), l.nColors, l.nStitches);
}

bool SameStitchList(const StitchList& a, const StitchList& b, std::string* why)
{
    auto differ = [&](std::string text) {
        if (why) *why = std::move(text);
        return false;
    };
    if (a.nStitches != b.nStitches) return differ(FormatText("%ld stitches, not %ld", b.nStitches, a.nStitches));
    if (a.nColors != b.nColors) return differ(FormatText("%d colour blocks, not %d", b.nColors, a.nColors));
    for (long i = 0; i < a.nStitches; ++i) {
        const tagPOINT &p = a.points[(size_t)i], &q = b.points[(size_t)i];
        if (p.x != q.x || p.y != q.y)
            return differ(FormatText("point %ld is (%d, %d), not (%d, %d)", i, q.x, q.y, p.x, p.y));
        if (a.types[(size_t)i] != b.types[(size_t)i])
            return differ(FormatText("point %ld has type %d, not %d", i, b.types[(size_t)i], a.types[(size_t)i]));
    }
    for (int k = 0; k < a.nColors; ++k) {
        const COLORCHG &c = a.colors[(size_t)k], &d = b.colors[(size_t)k];
        if (c.nStitch != d.nStitch)
            return differ(FormatText("block %d starts at %d, not %d", k, d.nStitch, c.nStitch));
        if (c.nColor != d.nColor) return differ(FormatText("block %d has colour %d, not %d", k, d.nColor, c.nColor));
    }
    return true;
}
