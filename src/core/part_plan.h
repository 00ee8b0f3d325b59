// Planning and reading back part sets whose members a format cuts by its own limits: where
// its parts end, and the closing stitches some formats add to every member. Shared by the
// formats that split.
#pragma once

#include "core/filter.h"
#include "core/stitch.h"

#include <functional>
#include <string>
#include <vector>

namespace partset {

// The end of each part when [0, nStitches) is cut by findEnd(start). An end that would
// not move on, or lies past the design, is clamped into (start, nStitches], so the plan
// always ends; planning stops after one part more than a set may hold.
std::vector<long> PlanParts(long nStitches, const std::function<long(long start)>& findEnd);

// After a member that carries nClosing closing stitches has been read from memberStart on:
// drops them (never below memberStart) and a last colour block that now starts beyond the
// points.
void DropClosingStitches(int* pnColors, const COLORCHG* pColors, long* pnStitches, long memberStart, int nClosing);

// ImportFile of a format that reads sets: a set name (where the active file is the
// filter's own) reads every member with readMember, dropping nMemberClosing closing
// stitches after each; any other name reads one file, which leaves the counts as they were
// when it fails. The closing record is written on success.
int ImportOneOrSet(CFilter& filter, const char* name, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   const std::function<int(const char* memberName)>& readMember, int nMemberClosing = 0);

// GetMaxNoStitches of a format that reads sets: the sum over the members for a set name
// (where the active file is the filter's own), else countOf(name).
long MaxOfOneOrSet(CFilter& filter, const char* name, const std::function<long(const char* fileName)>& countOf);

// GetMaxNoStitches of such a set: each member's count less its closing stitches, plus room
// for the closing stitches of the member being read (-1 when no member exists).
long MaxStitchesOfSetWithClosing(const char* setName, int nClosing,
                                 const std::function<long(const char* memberName)>& countOfMember);

// The block that holds point i: the last of the first nColors records whose nStitch is at
// most i (0 when none is).
int BlockOfPoint(int nColors, const COLORCHG* pColors, long i);

} // namespace partset
