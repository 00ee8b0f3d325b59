// The formats the library knows, by file name extension. This table is the one place that
// ties an extension to its design source and its filter.
#pragma once

#include "core/filter.h"

#include <memory>
#include <vector>

struct FormatInfo {
    const char* pszExt;   // lower case, with the dot
    int nSource;          // design source number
    const char* pszName;  // for people
    CFilter* (*create)(); // nullptr where no filter reads the extension
    bool bWrites;         // the filter also writes it
    // What a round trip through the format keeps, for comparing a design with its copy.
    int nUnit;            // coordinates kept in multiples of this many 0.01 mm (truncated)
    bool bKeepsColors;    // thread colours kept (else blocks come back numbered 0, 1, ...)
};

const std::vector<FormatInfo>& GetFormatTable();
// The entry for a file name's extension (case does not matter), or nullptr.
const FormatInfo* FindFormat(const char* pszFileName);
// A new filter for the file's format, or nullptr when none reads it.
std::unique_ptr<CFilter> CreateFilterFor(const char* pszFileName);
