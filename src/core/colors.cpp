#include "core/colors.h"

#include "core/thread_table.h"

int NearestColor(COLORREF c, const COLORREF* table, int n)
{
    int best = 0;
    long bestDist = -1;
    for (int j = 0; j < n; ++j) {
        long d = ColorDistance(c, table[j]);
        if (bestDist < 0 || d < bestDist) {
            best = j;
            bestDist = d;
        }
    }
    return best;
}

int NearestThread(COLORREF c, int first, int end)
{
    int best = first;
    long bestDist = -1;
    for (int j = first; j < end; ++j) {
        long d = ColorDistance(c, GetThreadColor(j));
        if (bestDist < 0 || d < bestDist) {
            best = j;
            bestDist = d;
        }
    }
    return best;
}
