// Reading and writing whole designs by file name through the design objects.
#pragma once

#include "kwfilter.h"

#include <memory>
#include <string>

struct LoadedDesign {
    CExpObject design;                      // an expanded design as read
    std::unique_ptr<CCndObject> condensed;  // a condensed design, whose rendered stitches stand for it
    const FormatInfo* format = nullptr;
    // The design object that was read: the condensed design when there is one.
    CEmbObject& Object() { return condensed ? static_cast<CEmbObject&>(*condensed) : design; }
    // The design as a stitch list, for comparing (a condensed design's rendered stitches).
    StitchList List();
};

// Reads a design; on failure prints why (after the library's own message) and returns false.
bool LoadDesign(const char* path, LoadedDesign& out);
// Writes a stitch list through a design object in the format of the name's extension.
bool SaveDesign(const char* path, const StitchList& list, int hoopWidth, int hoopHeight);
// Writes a design object (a condensed design writes its rendered stitches).
bool SaveDesign(const char* path, CEmbObject& design);
