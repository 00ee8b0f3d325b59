// Drawing: a device context over an RGB raster, with pens, polylines, palettes and bit
// blocks, so that drawing code runs and is checked without a display.
#pragma once

#include "platform/palette.h"
#include "platform/types.h"

#include <vector>

enum { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };
enum { HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14, NUMCOLORS = 24, RASTERCAPS = 38,
       LOGPIXELSX = 88, LOGPIXELSY = 90, SIZEPALETTE = 104 };
enum { RC_PALETTE = 0x0100 };
enum : DWORD { SRCCOPY = 0x00CC0020 };

// A colour that names an entry of the selected palette.
constexpr COLORREF PALETTEINDEX(WORD i) { return 0x01000000u | i; }
constexpr bool IsPaletteIndex(COLORREF c) { return (c & 0xFF000000u) == 0x01000000u; }

class CPen {
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL DeleteObject();
    bool IsCreated() const { return m_bCreated; }
    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_crColor = 0;

private:
    bool m_bCreated = false;
};

class CDC {
public:
    CDC();
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    virtual int GetDeviceCaps(int nIndex) const = 0;
    // Returns the pen or palette selected before.
    CPen* SelectObject(CPen* pPen);
    CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
    // Maps the selected palette; returns the number of its entries.
    UINT RealizePalette();
    CPalette* GetCurrentPalette() const { return m_pPalette; }
    CPen* GetCurrentPen() const { return m_pPen; }
    BOOL GetForceBackground() const { return m_bForceBackground; }

    // Lines from point to point with the current pen; each line leaves out its last pixel.
    BOOL Polyline(const tagPOINT* lpPoints, int nCount);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    virtual COLORREF GetPixel(int x, int y) const = 0;
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    CPoint SetViewportOrg(int x, int y);
    CPoint GetViewportOrg() const { return m_viewportOrg; }

    // Counts of what was drawn, for callers that measure.
    long m_nPolylines = 0;

protected:
    // Device coordinates, colour already resolved to RGB.
    virtual void PutPixel(int x, int y, COLORREF rgb) = 0;
    COLORREF Resolve(COLORREF c) const;
    void Line(int x0, int y0, int x1, int y1, COLORREF rgb);

    CPen m_defaultPen;
    CPen* m_pPen;
    CPalette* m_pPalette = nullptr;
    BOOL m_bForceBackground = FALSE;
    bool m_bRealized = false;
    CPoint m_current;
    CPoint m_viewportOrg;
};

// A device context over a width x height RGB raster, white when made. By default a true
// colour device; SetPaletteMode(true) makes it a 256-colour palette device on which every
// colour becomes the nearest entry of the realized palette.
class CRasterDC : public CDC {
public:
    CRasterDC(int nWidth, int nHeight, int nDpi = 96);
    int GetDeviceCaps(int nIndex) const override;
    COLORREF GetPixel(int x, int y) const override;
    void SetPaletteMode(bool bPalette) { m_bPaletteMode = bPalette; }
    void SetResolution(int nDpi) { m_nDpi = nDpi < 1 ? 1 : nDpi; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    const uint8_t* Bits() const { return m_bits.data(); }
    void Clear(COLORREF crColor);
    bool SavePng(const char* path) const;

protected:
    void PutPixel(int x, int y, COLORREF rgb) override;

private:
    int m_nWidth, m_nHeight, m_nDpi;
    bool m_bPaletteMode = false;
    std::vector<uint8_t> m_bits;
};
