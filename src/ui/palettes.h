// The thread palettes of the machine makers: lists of master thread table indexes in the
// order their colours appear on the colour dialog's buttons.
#pragma once

struct ThreadPalette {
    const char* pszKey;  // short name, for the command line
    const char* pszName; // for people
    const unsigned char* pIndexes;
    int nCount;
};

// The six palettes: Brother (64), Husqvarna/Viking (29), Pfaff (16), Janome 12, 35 and 78.
const ThreadPalette* GetThreadPalettes(int* pCount);
// The palette with that key (case ignored), or nullptr.
const ThreadPalette* FindThreadPalette(const char* pszKey);
// The palette the colour dialog shows for a palette type: 2 Husqvarna/Viking, 3 Janome by
// "SewColors" (12, 78, else 35), 4 Pfaff, anything else Brother.
const ThreadPalette& PaletteForType(int nPaletteType, int nSewColors);
// The palette type the colour toolbar opens the colour dialog on for a design source.
int PaletteTypeForSource(int nSource);
