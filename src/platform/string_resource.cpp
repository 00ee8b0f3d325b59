#include "platform/string_resource.h"

#include <vector>

namespace {

struct StringRange {
    UINT first, last;
    std::string (*load)(UINT);
};

std::vector<StringRange>& StringRanges()
{
    static std::vector<StringRange> ranges;
    return ranges;
}

} // namespace

void AfxRegisterStringResources(UINT nFirstID, UINT nLastID, std::string (*pfnLoad)(UINT nID))
{
    if (pfnLoad && nFirstID <= nLastID) StringRanges().push_back({nFirstID, nLastID, pfnLoad});
}

bool AfxLoadString(UINT nID, std::string& rString)
{
    for (const StringRange& r : StringRanges())
        if (nID >= r.first && nID <= r.last) {
            rString = r.load(nID);
            return true;
        }
    rString.clear();
    return false;
}
