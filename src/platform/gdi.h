// Palettes: the logical palette description and the palette object that drawing selects.
#pragma once

#include "platform/object.h"

#include <vector>

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1]; // followed by the rest of the entries
};

// A palette description with room for N entries, laid out as LOGPALETTE.
template <int N> struct LogPaletteOf {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[N];

    const LOGPALETTE* Get() const { return reinterpret_cast<const LOGPALETTE*>(this); }
};

class CGdiObject : public CObject {
public:
    ~CGdiObject() override = default;
    virtual BOOL DeleteObject() = 0;
    bool IsCreated() const { return m_bCreated; }
    // Non-null while the object holds a created GDI object.
    const void* GetSafeHandle() const { return m_bCreated ? this : nullptr; }

protected:
    bool m_bCreated = false;
};

class CPalette : public CGdiObject {
public:
    CPalette() = default;
    ~CPalette() override = default;
    CPalette(const CPalette&) = delete;
    CPalette& operator=(const CPalette&) = delete;

    // Fails on a palette that already exists, a null description or one without entries.
    BOOL CreatePalette(const LOGPALETTE* lpLogPalette);
    BOOL DeleteObject() override;

    int GetEntryCount() const { return (int)m_entries.size(); }
    UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const;
    UINT SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, const PALETTEENTRY* lpPaletteColors);
    // The entry nearest to the colour (squared RGB distance, the lower index on a tie).
    UINT GetNearestPaletteIndex(COLORREF crColor) const;
    // The colour of an entry; black past the last one.
    COLORREF GetEntryColor(UINT index) const;
    WORD GetVersion() const { return m_nVersion; }

    DECLARE_DYNAMIC(CPalette)

private:
    std::vector<PALETTEENTRY> m_entries;
    WORD m_nVersion = 0;
};
