#include "formats/extensions.h"

#include <cctype>
#include <string>

namespace {

// Number 1 of the open dialog is the host's "all designs" entry, which no single extension
// matches.
const ExtensionNumber kOpenExtensions[] = {
    {".kwc", 2}, {".exp", 3}, {".dst", 4}, {".pes", 5}, {".pec", 5}, {".pcs", 6},
    {".pcm", 7}, {".hus", 8}, {".sew", 9}, {".csd", 10}, {".xxx", 11}, {".*", 0},
};

const ExtensionNumber kSaveExtensions[] = {
    {".exp", 1}, {".dst", 2}, {".pes", 3}, {".pcs", 4}, {".pcm", 5},
    {".hus", 6}, {".sew", 7}, {".csd", 8}, {".xxx", 9}, {".*", 0},
};

int Match(const ExtensionNumber* table, const char* pszExt)
{
    if (!pszExt || !*pszExt) return 0;
    std::string ext(pszExt);
    for (char& c : ext) c = (char)std::tolower((unsigned char)c);
    for (const ExtensionNumber* e = table; e->nNumber != 0; ++e)
        if (ext == e->pszExt) return e->nNumber;
    return 0;
}

} // namespace

const ExtensionNumber* GetOpenExtensionTable() { return kOpenExtensions; }
const ExtensionNumber* GetSaveExtensionTable() { return kSaveExtensions; }

int MatchOpenExtensions(const char* pszExt) { return Match(kOpenExtensions, pszExt); }
int MatchSaveExtensions(const char* pszExt) { return Match(kSaveExtensions, pszExt); }
