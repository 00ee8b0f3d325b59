// The formats the library knows, by file name extension. This table is the one place that
// ties an extension to its design source and its filter.
#pragma once

#include "core/filter.h"
#include "core/stitch.h"

#include <memory>
#include <vector>

struct FormatInfo {
    const char* pszExt;   // lower case, with the dot
    int nSource;          // design source number
    const char* pszName;  // for people
    CFilter* (*create)(); // nullptr where no filter reads the extension
    bool bWrites;         // the filter also writes it
    // Reduces a design to what a round trip through the format keeps of it; applied to a
    // design and to its copy read back, the two must then be the same.
    void (*keep)(StitchList& list);
};

const std::vector<FormatInfo>& GetFormatTable();
// The entry for a file name's extension (case does not matter), or nullptr.
const FormatInfo* FindFormat(const char* pszFileName);
// The design source of a file name: its last four characters, in any case, looked up in the
// table; 0 for a name shorter than four characters or an extension the table does not have.
int GetEmbSourceOfName(const char* pszFileName);
// A new filter for the file's format, or nullptr when none reads it.
std::unique_ptr<CFilter> CreateFilterFor(const char* pszFileName);
