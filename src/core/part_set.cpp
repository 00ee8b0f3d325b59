#include "core/part_set.h"

#include "core/part_plan.h"

#include "core/settings.h"
#include "platform/message.h"

#include <cstring>
#include <sys/stat.h>

namespace partset {

namespace {

// Where the extension starts (the last dot of the last path component), or npos.
size_t ExtensionAt(const std::string& s)
{
    size_t dot = s.rfind('.');
    size_t slash = s.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string::npos;
    return dot;
}

bool Exists(const std::string& name)
{
    struct stat st;
    return stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The member name that exists, upper-case letter first (as this library writes them).
std::string ExistingMember(const char* setName, int k)
{
    std::string upper = MemberName(setName, k, false);
    if (Exists(upper)) return upper;
    std::string lower = MemberName(setName, k, true);
    if (Exists(lower)) return lower;
    return upper;
}

} // namespace

bool IsSetName(const char* name)
{
    if (!name) return false;
    size_t n = std::strlen(name);
    return n >= 6 && name[n - 6] == '_' && (name[n - 5] == 'a' || name[n - 5] == 'A');
}

std::string PartName(const char* name, int k)
{
    std::string s = name ? name : "";
    size_t dot = ExtensionAt(s);
    if (dot == std::string::npos) dot = s.size();
    s.insert(dot, "_A");
    s[dot + 1] = (char)('A' + k);
    return s;
}

std::string ExportName(const char* name, const char* ext)
{
    std::string s = name ? name : "";
    if (!IsSetName(name)) return s;
    s.erase(s.size() - 6);
    return s + ext;
}

std::string SplitBase(const char* name, const char* ext)
{
    std::string s = ExportName(name, ext);
    size_t dot = ExtensionAt(s);
    if (dot != std::string::npos) s.erase(dot);
    return s + ext;
}

std::string MemberName(const char* setName, int k, bool lowerCase)
{
    std::string s = setName ? setName : "";
    if (s.size() >= 5) s[s.size() - 5] = (char)((lowerCase ? 'a' : 'A') + k);
    return s;
}

bool CheckPartCount(CFilter& filter, const char* name, int nParts)
{
    if (nParts <= kMaxParts) return true;
    filter.Fail(KW_ERR_TOO_LARGE, "Cannot save design %s. It is too large for this format, even when split into 26 files.",
                name);
    return false;
}

int RefuseOneFile(CFilter& filter, const char* name)
{
    return filter.Fail(KW_ERR_TOO_LARGE,
                       "Cannot save design %s. It has more colours or stitches than one file of this format can hold.",
                       name);
}

void AnnounceSplit(CFilter& filter, const char* name)
{
    std::string text = FormatText("Design %s will be split into multiple files.", name ? name : "");
    filter.HandleError(text.c_str(), "Warning");
}

std::vector<long> PartStarts(long nStitches, const std::function<long(long start)>& findEnd)
{
    std::vector<long> ends = PlanParts(nStitches, findEnd);
    std::vector<long> starts{0};
    starts.insert(starts.end(), ends.begin(), ends.end());
    return starts;
}

int ExportSingle(CFilter& filter, const char* name, const char* ext, long nStitches,
                 const std::function<int(const char* fileName)>& body)
{
    std::string file = ExportName(name, ext);
    return filter.RunExport(file.c_str(), nStitches, [&] { return body(file.c_str()); }, name ? name : "");
}

int ExportParts(CFilter& filter, const char* name, const char* ext, int nParts,
                const std::function<int(int k, const char* partName)>& writePart)
{
    if (!CheckPartCount(filter, name, nParts)) return 0;
    AnnounceSplit(filter, name);
    std::string base = SplitBase(name, ext);
    for (int k = 0; k < nParts; ++k) {
        GetSetup()->m_nLastError = KW_PART_PROGRESS + k;
        std::string part = PartName(base.c_str(), k);
        if (!filter.RunExportFile(part.c_str(), [&] { return writePart(k, part.c_str()); }, name ? name : ""))
            return 0;
    }
    return 1;
}

int ImportParts(const char* setName, int* pnColors, COLORCHG* pColors, long* pnStitches,
                const std::function<int(const char* memberName)>& readMember)
{
    int read = 0;
    for (int k = 0; k < kMaxParts; ++k) {
        std::string member = ExistingMember(setName, k);
        if (!Exists(member)) break;
        int colors = *pnColors;
        long stitches = *pnStitches;
        if (!readMember(member.c_str())) {
            *pnColors = colors;
            *pnStitches = stitches;
            break;
        }
        ++read;
    }
    if (read == 0) return 0;
    WriteClosingRecord(pColors, *pnColors, *pnStitches);
    return 1;
}

long MaxStitchesOfSet(const char* setName, const std::function<long(const char* memberName)>& maxOfMember)
{
    long total = -1;
    for (int k = 0; k < kMaxParts; ++k) {
        std::string member = ExistingMember(setName, k);
        if (!Exists(member)) break;
        long n = maxOfMember(member.c_str());
        if (n < 0) break;
        total = (total < 0 ? 0 : total) + n;
    }
    return total;
}

} // namespace partset
