// Reading and writing whole designs by file name through the expanded design object. A
// design inside a ZIP archive is named ARCHIVE.zip:MEMBER (or ARCHIVE.gzp:MEMBER, whose
// members are enciphered with the key given by --key).
// Reading and writing whole designs by file name through the design objects.
#pragma once

#include "kwfilter.h"

#include <memory>
#include <string>

// The options every command that reads designs accepts.
struct DesignReadOptions {
    bool bHasKey = false;
    std::string key; // the archive key, its bytes as given
};

// Takes the shared options (--key KEY, --key=KEY) out of argv, leaving the rest in order
// for the command; false with the reason on a bad option.
bool TakeDesignOptions(int& argc, char** argv, DesignReadOptions& options, std::string& why);

// Splits ARCHIVE.zip:MEMBER (.zip or .gzp, any case) into its parts; false for a plain path,
// including one that names an existing file.
bool SplitArchivePath(const char* path, std::string& archive, std::string& member);

// The tool kit for reading an archive with these options: the key, when given, deciphers.
ALToolKit ArchiveTools(const DesignReadOptions& options);

struct LoadedDesign {
    CExpObject design;                      // an expanded design as read
    std::unique_ptr<CCndObject> condensed;  // a condensed design, whose rendered stitches stand for it
    const FormatInfo* format = nullptr;
    // For a design read from an archive: the member's name and bytes.
    std::string member;
    std::unique_ptr<CMemFile> memory;
    // The design as a stitch list, for comparing.
    // The design object that was read: the condensed design when there is one.
    CEmbObject& Object() { return condensed ? static_cast<CEmbObject&>(*condensed) : design; }
    // The design as a stitch list, for comparing (a condensed design's rendered stitches).
    StitchList List();
    // The name that chooses the format, and the memory file to give a filter (or null).
    const char* FileName(const char* path) const { return memory ? member.c_str() : path; }
};

// Reads a design; on failure prints why (after the library's own message) and returns false.
bool LoadDesign(const char* path, LoadedDesign& out, const DesignReadOptions& options = DesignReadOptions());
// Writes a stitch list through a design object in the format of the name's extension.
bool SaveDesign(const char* path, const StitchList& list, int hoopWidth, int hoopHeight);
// Writes a design object (a condensed design writes its rendered stitches).
bool SaveDesign(const char* path, CEmbObject& design);
