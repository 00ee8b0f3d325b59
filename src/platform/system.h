// The system directory: where the companion components of the library are looked for. A
// host may choose it before the library is first used.
#pragma once

#include <string>

// nullptr or "" restores the default, /usr/lib/kwfilter.
void SetSystemDirectory(const char* path);
std::string GetSystemDirectory();
