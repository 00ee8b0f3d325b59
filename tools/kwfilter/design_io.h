// Reading and writing whole designs by file name through the expanded design object.
#pragma once

#include "kwfilter.h"

#include <string>

struct LoadedDesign {
    CExpObject design;
    const FormatInfo* format = nullptr;
    // The design as a stitch list, for comparing.
    StitchList List();
};

// Reads a design; on failure prints why (after the library's own message) and returns false.
bool LoadDesign(const char* path, LoadedDesign& out);
// Writes a stitch list through a design object in the format of the name's extension.
bool SaveDesign(const char* path, const StitchList& list, int hoopWidth, int hoopHeight);
bool SaveDesign(const char* path, CExpObject& design);
