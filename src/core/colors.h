// Colour lookups shared by the formats.
#pragma once

#include "platform/types.h"

// The entry of table[0..n) nearest to c by squared RGB distance; ties go to the lowest index.
int NearestColor(COLORREF c, const COLORREF* table, int n);
// The same over master thread table entries [first, end); returns the master index.
int NearestThread(COLORREF c, int first, int end);
inline long ColorDistance(COLORREF a, COLORREF b)
{
    long dr = (long)GetRValue(a) - GetRValue(b);
    long dg = (long)GetGValue(a) - GetGValue(b);
    long db = (long)GetBValue(a) - GetBValue(b);
    return dr * dr + dg * dg + db * db;
}
