// The master thread table: every thread colour in a stitch list is an index into it.
#pragma once

#include "platform/types.h"

#include <string>

constexpr int kThreadCount = 189;
// The makers' ranges, each addressed by its first and end index.
constexpr int kGenericFirst = 0, kGenericEnd = 30;
constexpr int kBrotherFirst = 30, kBrotherEnd = 95;
constexpr int kPfaffFirst = 95, kPfaffEnd = 111;
constexpr int kJanomeFirst = 111, kJanomeEnd = 189;
// String resources 33500 + index hold "Name\nName" (status text, tooltip).
constexpr UINT kThreadStringBase = 33500;

struct ThreadEntry {
    const char* name;
    COLORREF color;
};

// The table itself, kThreadCount entries.
const ThreadEntry* GetThreadTable();

// Index 0 to 188; anything else gives "" and black.
const char* GetThreadName(int index);
COLORREF GetThreadColor(int index);

// The thread name string resource 33500 + index, "" for any other id.
std::string GetThreadString(UINT id);
