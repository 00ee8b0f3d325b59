#include "platform/gdi.h"

#include <cstddef>
#include <cstring>

static_assert(offsetof(LOGPALETTE, palPalEntry) == offsetof(LogPaletteOf<185>, palPalEntry),
              "LogPaletteOf is laid out as LOGPALETTE");

IMPLEMENT_DYNAMIC(CPalette, CObject)

BOOL CPalette::CreatePalette(const LOGPALETTE* lpLogPalette)
{
    if (m_bCreated || !lpLogPalette || lpLogPalette->palNumEntries == 0) return FALSE;
    // The entries run on past the declared one, so they are reached from the block's bytes.
    const BYTE* base = reinterpret_cast<const BYTE*>(lpLogPalette) + offsetof(LOGPALETTE, palPalEntry);
    m_entries.resize(lpLogPalette->palNumEntries);
    std::memcpy(m_entries.data(), base, m_entries.size() * sizeof(PALETTEENTRY));
    m_nVersion = lpLogPalette->palVersion;
    m_bCreated = true;
    return TRUE;
}

BOOL CPalette::DeleteObject()
{
    if (!m_bCreated) return FALSE;
    m_entries.clear();
    m_nVersion = 0;
    m_bCreated = false;
    return TRUE;
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const
{
    if (nStartIndex >= m_entries.size() || !lpPaletteColors) return 0;
    UINT n = nNumEntries;
    if (n > m_entries.size() - nStartIndex) n = (UINT)(m_entries.size() - nStartIndex);
    std::memcpy(lpPaletteColors, m_entries.data() + nStartIndex, n * sizeof(PALETTEENTRY));
    return n;
}

UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, const PALETTEENTRY* lpPaletteColors)
{
    if (nStartIndex >= m_entries.size() || !lpPaletteColors) return 0;
    UINT n = nNumEntries;
    if (n > m_entries.size() - nStartIndex) n = (UINT)(m_entries.size() - nStartIndex);
    std::memcpy(m_entries.data() + nStartIndex, lpPaletteColors, n * sizeof(PALETTEENTRY));
    return n;
}

UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const
{
    UINT best = 0;
    long bestDist = -1;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        long dr = (long)m_entries[i].peRed - GetRValue(crColor);
        long dg = (long)m_entries[i].peGreen - GetGValue(crColor);
        long db = (long)m_entries[i].peBlue - GetBValue(crColor);
        long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = (UINT)i;
        }
    }
    return best;
}

COLORREF CPalette::GetEntryColor(UINT index) const
{
    if (index >= m_entries.size()) return 0;
    const PALETTEENTRY& e = m_entries[index];
    return RGB(e.peRed, e.peGreen, e.peBlue);
}
