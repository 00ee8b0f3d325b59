// A member or file name with its case setting, and the wildcard match that marks entries.
#pragma once

#include "compress/storage.h"

#include <string>

class ALName {
public:
    explicit ALName(const char* name = "", ALCase nameCase = AL_MIXED);

    const char* GetName() const { return mName.c_str(); }
    ALCase GetCase() const { return mCase; }

    // Whether the name matches the pattern. "*" matches any run of characters, "?" any one,
    // "[set]" one of a set ("[!set]" or "[^set]" one outside it, "a-z" a range), and a
    // backslash before one of ! * - ? [ ] ^ takes that character as it is. The case setting
    // decides how case counts: AL_UPPER and AL_LOWER bring the pattern to the name's case,
    // AL_MIXED ignores case, AL_KEEP_CASE compares as is. A pattern ending in ".*" ends in
    // "*" instead, so "*.*" matches every name, and a backslash used as a path separator
    // matches "/".
    bool WildCardMatch(const char* pattern) const;

    // Whether another name is the same one: without regard to case unless this name keeps
    // its case.
    bool SameName(const char* other) const;

private:
    std::string mName;
    ALCase mCase;
};
