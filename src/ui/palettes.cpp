#include "ui/palettes.h"

#include <strings.h>

namespace {

const unsigned char kBrother[] = {49, 58, 34, 72, 54, 86, 80, 57, 77, 51, 36, 56, 78, 89, 42, 87,
                                  41, 62, 81, 47, 63, 64, 40, 44, 71, 53, 35, 65, 76, 69, 46, 55,
                                  60, 39, 66, 79, 70, 32, 83, 73, 90, 43, 85, 31, 50, 82, 61, 88,
                                  67, 30, 33, 37, 38, 59, 84, 74, 75, 48, 52, 45, 68, 91, 92, 93};
const unsigned char kViking[] = {0, 13, 1, 14, 7, 2, 8, 21, 17, 27, 6, 15, 11, 19, 22,
                                 23, 28, 3, 4, 25, 16, 9, 18, 10, 24, 26, 5, 20, 12};
const unsigned char kPfaff[] = {95, 96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110};
const unsigned char kJanome12[] = {111, 122, 116, 115, 117, 118, 121, 119, 120, 114, 113, 112};
const unsigned char kJanome35[] = {111, 137, 122, 116, 115, 124, 143, 141, 144, 142, 117, 132,
                                   134, 130, 135, 131, 118, 125, 121, 136, 139, 140, 129, 138,
                                   145, 123, 133, 119, 127, 128, 126, 120, 114, 113, 112};
const unsigned char kJanome78[] = {111, 163, 165, 137, 122, 175, 147, 176, 116, 115, 173, 150, 152,
                                   148, 124, 172, 181, 182, 143, 171, 151, 174, 141, 144, 142, 164,
                                   117, 132, 159, 134, 162, 130, 180, 170, 169, 135, 131, 118, 125,
                                   160, 167, 121, 177, 136, 139, 140, 129, 161, 168, 184, 185, 179,
                                   158, 157, 138, 155, 145, 149, 123, 156, 183, 133, 146, 178, 119,
                                   154, 153, 127, 128, 187, 126, 120, 114, 186, 188, 113, 166, 112};

#define PALETTE(key, name, list) {key, name, list, (int)(sizeof list / sizeof list[0])}

const ThreadPalette kPalettes[] = {
    PALETTE("brother", "Babylock/Bernina/Brother", kBrother),
    PALETTE("viking", "Husqvarna/Viking", kViking),
    PALETTE("pfaff", "Pfaff", kPfaff),
    PALETTE("janome12", "Elna/Janome/New Home, 12 colours", kJanome12),
    PALETTE("janome35", "Elna/Janome/New Home, 35 colours", kJanome35),
    PALETTE("janome78", "Elna/Janome/New Home, 78 colours", kJanome78),
};

#undef PALETTE

enum { kBrotherPalette, kVikingPalette, kPfaffPalette, kJanome12Palette, kJanome35Palette, kJanome78Palette };

// Design sources and the palette type each opens on; any other source gives 0.
struct SourcePalette {
    int nSource;
    int nPaletteType;
};
const SourcePalette kSourcePalettes[] = {
    {4, 4},  // PCS: Pfaff
    {5, 4},  // PCM: Pfaff
    {6, 2},  // HUS: Husqvarna/Viking
    {8, 1},  // PEC: Brother
    {9, 1},  // PES: Brother
    {10, 5}, // CSD: a type of its own, shown as the Brother list
    {12, 3}, // SEW: Janome
};

} // namespace

const ThreadPalette* GetThreadPalettes(int* pCount)
{
    if (pCount) *pCount = (int)(sizeof kPalettes / sizeof kPalettes[0]);
    return kPalettes;
}

const ThreadPalette* FindThreadPalette(const char* pszKey)
{
    if (!pszKey) return nullptr;
    for (const ThreadPalette& p : kPalettes)
        if (!strcasecmp(p.pszKey, pszKey)) return &p;
    return nullptr;
}

const ThreadPalette& PaletteForType(int nPaletteType, int nSewColors)
{
    switch (nPaletteType) {
    case 2: return kPalettes[kVikingPalette];
    case 3:
        if (nSewColors == 12) return kPalettes[kJanome12Palette];
        if (nSewColors == 78) return kPalettes[kJanome78Palette];
        return kPalettes[kJanome35Palette];
    case 4: return kPalettes[kPfaffPalette];
    default: return kPalettes[kBrotherPalette];
    }
}

int PaletteTypeForSource(int nSource)
{
    for (const SourcePalette& s : kSourcePalettes)
        if (s.nSource == nSource) return s.nPaletteType;
    return 0;
}
