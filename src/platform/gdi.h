// Palettes: the logical palette description and the palette object that drawing selects.
#pragma once

#include "platform/object.h"

#include <utility>
#include <vector>

class CDC;

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

struct BITMAP {
    int32_t bmType;
    int32_t bmWidth;
    int32_t bmHeight;
    int32_t bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

// A bitmap resource held as data: cy rows of cx characters, each character standing for the
// colour the key gives it.
struct BitmapTemplate {
    UINT nID = 0;
    int cx = 0, cy = 0;
    std::vector<const char*> rows = {};
    std::vector<std::pair<char, COLORREF>> key = {};
};

// The bitmap resources a program carries, found by ID as dialog templates are.
void AfxRegisterBitmapTemplate(const BitmapTemplate* pTemplate);
const BitmapTemplate* AfxFindBitmapTemplate(UINT nID);

// An RGB bitmap: what a memory device context draws on (CDC::SelectObject) and what
// BitBlt copies from.
class CBitmap : public CGdiObject {
public:
    CBitmap() = default;
    ~CBitmap() override = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // From a registered bitmap resource; fails for an ID none has, or a bitmap that exists.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(const BitmapTemplate* pTemplate);
    // A black bitmap of that size for drawing on the device context's kind of device.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL CreateBitmap(int nWidth, int nHeight, COLORREF crFill = 0);
    BOOL DeleteObject() override;
    int GetBitmap(BITMAP* pBitMap) const;

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // Outside the bitmap GetPixel gives 0xFFFFFFFF and PutPixel does nothing.
    COLORREF GetPixel(int x, int y) const;
    void PutPixel(int x, int y, COLORREF rgb);
    void Fill(COLORREF rgb);
    const uint8_t* Bits() const { return m_bits.data(); }

    DECLARE_DYNAMIC(CBitmap)

private:
    int m_nWidth = 0, m_nHeight = 0;
    std::vector<uint8_t> m_bits; // RGB, row after row
};
