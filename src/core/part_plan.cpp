#include "core/part_plan.h"

#include "core/part_set.h"

#include <cstring>

namespace partset {

std::vector<long> PlanParts(long nStitches, const std::function<long(long start)>& findEnd)
{
    std::vector<long> ends;
    long start = 0;
    while (start < nStitches && (int)ends.size() <= kMaxParts) {
        long end = findEnd(start);
        if (end <= start || end > nStitches) end = nStitches;
        ends.push_back(end);
        start = end;
    }
    return ends;
}

void DropClosingStitches(int* pnColors, const COLORCHG* pColors, long* pnStitches, long memberStart, int nClosing)
{
    long n = *pnStitches - nClosing;
    *pnStitches = n < memberStart ? memberStart : n;
    if (*pnColors > 0 && pColors[*pnColors - 1].nStitch > *pnStitches) --*pnColors;
}

long MaxStitchesOfSetWithClosing(const char* setName, int nClosing,
                                 const std::function<long(const char* memberName)>& countOfMember)
{
    long total = MaxStitchesOfSet(setName, [&](const char* member) {
        long n = countOfMember(member);
        if (n < 0) return -1L;
        return n > nClosing ? n - nClosing : 0L;
    });
    return total < 0 ? -1 : total + nClosing;
}

int ImportOneOrSet(CFilter& filter, const char* name, int* pnColors, COLORCHG* pColors, long* pnStitches,
                   const std::function<int(const char* memberName)>& readMember, int nMemberClosing)
{
    if (IsSetName(name) && !filter.UsesCallerFile())
        return ImportParts(name, pnColors, pColors, pnStitches, [&](const char* member) {
            long start = *pnStitches;
            if (!readMember(member)) return 0;
            if (nMemberClosing) DropClosingStitches(pnColors, pColors, pnStitches, start, nMemberClosing);
            return 1;
        });
    int colors = *pnColors;
    long stitches = *pnStitches;
    if (!readMember(name)) {
        *pnColors = colors;
        *pnStitches = stitches;
        return 0;
    }
    WriteClosingRecord(pColors, *pnColors, *pnStitches);
    return 1;
}

long MaxOfOneOrSet(CFilter& filter, const char* name, const std::function<long(const char* fileName)>& countOf)
{
    if (IsSetName(name) && !filter.UsesCallerFile()) return MaxStitchesOfSet(name, countOf);
    return countOf(name);
}

int BlockOfPoint(int nColors, const COLORCHG* pColors, long i)
{
    int b = 0;
    for (int k = 1; k < nColors; ++k)
        if (pColors[k].nStitch <= i) b = k;
    return b;
}

} // namespace partset
