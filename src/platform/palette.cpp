#include "platform/palette.h"

BOOL CPalette::CreatePalette(const LOGPALETTE* pLogPalette)
{
    if (!pLogPalette || m_bCreated) return FALSE;
    const PALETTEENTRY* e = pLogPalette->palPalEntry;
    m_entries.assign(e, e + pLogPalette->palNumEntries);
    m_bCreated = true;
    return TRUE;
}

BOOL CPalette::DeleteObject()
{
    if (!m_bCreated) return FALSE;
    m_entries.clear();
    m_bCreated = false;
    return TRUE;
}

UINT CPalette::GetPaletteEntries(UINT nStart, UINT nCount, PALETTEENTRY* pEntries) const
{
    UINT n = 0;
    for (; n < nCount && nStart + n < m_entries.size(); ++n) pEntries[n] = m_entries[nStart + n];
    return n;
}

UINT CPalette::GetNearestPaletteIndex(COLORREF c) const
{
    UINT best = 0;
    long bestDist = -1;
    for (UINT i = 0; i < m_entries.size(); ++i) {
        const PALETTEENTRY& e = m_entries[i];
        long dr = (long)e.peRed - GetRValue(c), dg = (long)e.peGreen - GetGValue(c), db = (long)e.peBlue - GetBValue(c);
        long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            best = i;
            bestDist = d;
        }
    }
    return best;
}

COLORREF CPalette::GetEntryColor(UINT index) const
{
    if (index >= m_entries.size()) return RGB(0, 0, 0);
    const PALETTEENTRY& e = m_entries[index];
    return RGB(e.peRed, e.peGreen, e.peBlue);
}
