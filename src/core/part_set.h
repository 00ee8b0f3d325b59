// Part sets: a design beyond a format's limits is written as base_A.ext ... base_Z.ext,
// and a name base_a.ext is read back as the whole set. One mechanism for every format.
#pragma once

#include "core/filter.h"

#include <functional>
#include <string>
#include <vector>

namespace partset {

constexpr int kMaxParts = 26;

// base_a.ext or base_A.ext: the sixth character from the end is '_', the fifth 'a' or 'A'.
bool IsSetName(const char* name);
// The name of part k of an export to name: its extension gets "_A" (for k = 0) in front.
std::string PartName(const char* name, int k);
// The file a single export writes: a set name (base_a.ext) stands for base plus ext, the
// format's own spelling of its extension; any other name is kept as given.
std::string ExportName(const char* name, const char* ext);
// The name whose parts a split export writes (PartName of it gives base_A.ext): the name
// the single export would write, with its extension replaced by the format's own spelling,
// so Big.PEC is written as Big_A.pec, Big_B.pec, ... and reads back by Big_a.pec.
std::string SplitBase(const char* name, const char* ext);
// The name of member k of the set that setName (base_a.ext) stands for.
std::string MemberName(const char* setName, int k, bool lowerCase = false);

// Refuses, before anything is written, a design that needs more than 26 parts:
// -17004 and its message. Returns true when the set fits.
bool CheckPartCount(CFilter& filter, const char* name, int nParts);
// Refuses a design that does not fit one file where no set can be made (a caller's
// memory file): -17004 and its message. Returns 0.
int RefuseOneFile(CFilter& filter, const char* name);
// "Design %s will be split into multiple files." with caption "Warning".
void AnnounceSplit(CFilter& filter, const char* name);

// Where the parts of a design begin, from findEnd (the end of the part that begins at a
// point), followed by the design's end: all of them, or 27 parts when more are needed
// (enough for ExportParts to refuse the design before anything is written). A findEnd that
// does not move on ends the part at the design's end.
std::vector<long> PartStarts(long nStitches, const std::function<long(long start)>& findEnd);

// Every message of an export names the name the caller gave to ExportFile, never the
// file actually written (a part, or the single file a set name stands for).

// A design that fits one file: ExportName(name, ext) through the export frame (an empty
// design refused first). body(fileName) writes it into the filter's open file.
int ExportSingle(CFilter& filter, const char* name, const char* ext, long nStitches,
                 const std::function<int(const char* fileName)>& body);

// Writes nParts files SplitBase(name, ext) with _A, _B, ... through the export frame:
// checks the count, announces the split, and sets the progress code 17001 + k before part
// k. writePart(k, partName) writes the body of part k into the filter's open file. Stops at
// the first failure (returning 0).
int ExportParts(CFilter& filter, const char* name, const char* ext, int nParts,
                const std::function<int(int k, const char* partName)>& writePart);

// Reads the members of a set in order into one stitch list until a member is missing or
// fails; a failing member leaves the counts as they were before it. Succeeds if at least
// one member was read; the closing record is then rewritten for the whole set.
int ImportParts(const char* setName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                const std::function<int(const char* memberName)>& readMember);

// The sum of maxOfMember over the members that exist; -1 when none does.
long MaxStitchesOfSet(const char* setName, const std::function<long(const char* memberName)>& maxOfMember);

} // namespace partset
