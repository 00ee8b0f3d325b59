#include "design/open_design.h"

#include "design/cnd_object.h"
#include "design/exp_object.h"
#include "formats/format_table.h"

#include <memory>

namespace {
constexpr int kSourceCnd = 13;
constexpr int kSourceCondensed = 14;
} // namespace

bool IsCondensedSource(int nSource)
{
    return nSource == kSourceCnd || nSource == kSourceCondensed;
}

CEmbObject* NewDesignObjectFor(const char* pszFileName)
{
    if (IsCondensedSource(GetEmbSourceOfName(pszFileName))) return new CCndObject;
    return new CExpObject;
}

CEmbObject* ReadDesignObject(const char* pszFileName, int bKeepHoop, CMemFile* pMemFile)
{
    std::unique_ptr<CEmbObject> design(NewDesignObjectFor(pszFileName));
    if (!design->ReadObject(pszFileName, bKeepHoop, pMemFile)) return nullptr;
    return design.release();
}
