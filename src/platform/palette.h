// Logical palettes: the colours drawing code selects on palette devices.
#pragma once

#include "platform/types.h"

#include <vector>

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1]; // palNumEntries entries follow in the caller's block
};

class CPalette {
public:
    CPalette() = default;
    BOOL CreatePalette(const LOGPALETTE* pLogPalette);
    BOOL DeleteObject();
    bool IsCreated() const { return m_bCreated; }
    int GetEntryCount() const { return (int)m_entries.size(); }
    UINT GetPaletteEntries(UINT nStart, UINT nCount, PALETTEENTRY* pEntries) const;
    // The entry nearest to c by squared RGB distance, the lowest index on a tie;
    // 0 for an empty palette.
    UINT GetNearestPaletteIndex(COLORREF c) const;
    COLORREF GetEntryColor(UINT index) const;

private:
    std::vector<PALETTEENTRY> m_entries;
    bool m_bCreated = false;
};
