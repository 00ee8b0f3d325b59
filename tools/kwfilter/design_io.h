// Reading and writing whole designs by file name, for the commands.
#pragma once

#include "kwfilter.h"

#include <string>

struct LoadedDesign {
    StitchList list;
    int nHoopWidth = 0;
    int nHoopHeight = 0;
    const FormatInfo* format = nullptr;
};

// Reads a design through the filter of its extension. On failure prints why (the
// library has already shown its own message) and returns false.
bool LoadDesign(const char* path, LoadedDesign& out);
// Writes a design through the filter of the name's extension.
bool SaveDesign(const char* path, const StitchList& list, int hoopWidth, int hoopHeight);
