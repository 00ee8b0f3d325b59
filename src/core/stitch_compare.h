// Comparing stitch lists, and reducing one to what a format keeps of it, so that a design
// can be checked against its copy after a round trip through a file.
#pragma once

#include "core/stitch.h"

#include <string>

// Coordinates truncated toward zero to multiples of unit (0.01 mm each).
void KeepUnit(StitchList& l, int unit);
// Colour blocks numbered 0, 1, 2, ... (formats that store no colours).
void KeepBlockNumbers(StitchList& l);
// Type bytes reduced to "follows a trim" (3) or not (0).
void KeepTrimsOnly(StitchList& l);
// Type bytes all 0 (formats that store no jumps or trims).
void KeepNoTypes(StitchList& l);
// Thread colours replaced by the nearest of master entries [first, end), as an exporter
// that maps them into a maker's range does (MapClrIndexes); entries inside stay.
void KeepThreadRange(StitchList& l, int first, int end);
// Blocks that hold no point dropped (formats that cannot express an empty block).
void DropEmptyBlocks(StitchList& l);

// Stitches that leave the needle where it was (a point equal to the one before it, or the
// first point at the origin) dropped: formats whose records are moves and read a move of
// nothing as no stitch.
void DropStandingStitches(StitchList& l);

// Same counts, points, types and blocks (nStitch, nColor); why says where they differ.
bool SameStitchList(const StitchList& a, const StitchList& b, std::string* why = nullptr);
