#include "platform/gdi.h"

#include "platform/resource_registry.h"

#include <cstddef>
#include <cstring>
#include <limits>

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

// ---------------------------------------------------------------- bitmaps

namespace {

// A size a bitmap may have: positive and small enough that its bytes are countable.
bool UsableSize(int w, int h)
{
    return w > 0 && h > 0 && (size_t)w * (size_t)h <= std::numeric_limits<int32_t>::max() / 3;
}

} // namespace

void AfxRegisterBitmapTemplate(const BitmapTemplate* pTemplate) { ResourceRegistry<BitmapTemplate>::Register(pTemplate); }

const BitmapTemplate* AfxFindBitmapTemplate(UINT nID) { return ResourceRegistry<BitmapTemplate>::Find(nID); }

IMPLEMENT_DYNAMIC(CBitmap, CObject)

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(AfxFindBitmapTemplate(nIDResource)); }

BOOL CBitmap::LoadBitmap(const BitmapTemplate* pTemplate)
{
    if (!pTemplate || m_bCreated || !CreateBitmap(pTemplate->cx, pTemplate->cy)) return FALSE;
    for (int y = 0; y < m_nHeight && (size_t)y < pTemplate->rows.size(); ++y) {
        const char* row = pTemplate->rows[(size_t)y];
        for (int x = 0; x < m_nWidth && row && row[x]; ++x)
            for (const auto& k : pTemplate->key)
                if (k.first == row[x]) PutPixel(x, y, k.second);
    }
    return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int nWidth, int nHeight) { return CreateBitmap(nWidth, nHeight, 0); }

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, COLORREF crFill)
{
    if (m_bCreated || !UsableSize(nWidth, nHeight)) return FALSE;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_bits.assign((size_t)nWidth * (size_t)nHeight * 3, 0);
    Fill(crFill);
    m_bCreated = true;
    return TRUE;
}

BOOL CBitmap::DeleteObject()
{
    if (!m_bCreated) return FALSE;
    m_bits.clear();
    m_nWidth = m_nHeight = 0;
    m_bCreated = false;
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const
{
    if (!pBitMap || !m_bCreated) return 0;
    *pBitMap = BITMAP{0, m_nWidth, m_nHeight, m_nWidth * 3, 1, 24, const_cast<uint8_t*>(m_bits.data())};
    return (int)sizeof(BITMAP);
}

COLORREF CBitmap::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0xFFFFFFFFu; // CLR_INVALID
    const uint8_t* p = &m_bits[((size_t)y * (size_t)m_nWidth + (size_t)x) * 3];
    return RGB(p[0], p[1], p[2]);
}

void CBitmap::PutPixel(int x, int y, COLORREF rgb)
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
    uint8_t* p = &m_bits[((size_t)y * (size_t)m_nWidth + (size_t)x) * 3];
    p[0] = GetRValue(rgb);
    p[1] = GetGValue(rgb);
    p[2] = GetBValue(rgb);
}

void CBitmap::Fill(COLORREF rgb)
{
    for (size_t i = 0; i + 2 < m_bits.size(); i += 3) {
        m_bits[i] = GetRValue(rgb);
        m_bits[i + 1] = GetGValue(rgb);
        m_bits[i + 2] = GetBValue(rgb);
    }
}
