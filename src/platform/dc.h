// Drawing: device contexts over RGB rasters, with pens, polylines, palettes, 3D edges, bit
// blocks and memory device contexts over bitmaps, so that drawing code runs and is checked
// without a display.
#pragma once

#include "platform/gdi.h"
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
// A colour that a palette device shows as its palette's nearest entry.
constexpr COLORREF PALETTERGB(unsigned r, unsigned g, unsigned b) { return 0x02000000u | RGB(r, g, b); }

// The system colours of buttons and windows (the standard scheme).
enum { COLOR_WINDOW = 5, COLOR_WINDOWTEXT = 8, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_BTNTEXT = 18,
       COLOR_BTNHIGHLIGHT = 20, COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22 };
COLORREF GetSysColor(int nIndex);

// 3D edges: an outer and an inner line, each raised or sunken.
constexpr UINT BDR_RAISEDOUTER = 0x1;
constexpr UINT BDR_SUNKENOUTER = 0x2;
constexpr UINT BDR_RAISEDINNER = 0x4;
constexpr UINT BDR_SUNKENINNER = 0x8;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x1;
constexpr UINT BF_TOP = 0x2;
constexpr UINT BF_RIGHT = 0x4;
constexpr UINT BF_BOTTOM = 0x8;
constexpr UINT BF_RECT = 0xF;
constexpr UINT BF_MIDDLE = 0x800;
constexpr UINT BF_ADJUST = 0x2000;

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

// A device context draws on the bitmap selected into it; a new one has none and draws
// nothing. CreateCompatibleDC makes one like another (resolution, palette device or not).
// A true colour device by default; SetPaletteMode(true) makes it a 256-colour palette
// device on which every colour becomes the nearest entry of the selected palette.
class CDC {
public:
    CDC();
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A device context is its own handle here.
    static CDC* FromHandle(CDC* hDC) { return hDC; }
    CDC* GetSafeHdc() { return this; }

    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    virtual int GetDeviceCaps(int nIndex) const;
    void SetPaletteMode(bool bPalette) { m_bPaletteMode = bPalette; }
    void SetResolution(int nDpi) { m_nDpi = nDpi < 1 ? 1 : nDpi; }
    // Returns the pen, bitmap or palette selected before.
    CPen* SelectObject(CPen* pPen);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
    // Maps the selected palette; returns the number of its entries.
    UINT RealizePalette();
    CPalette* GetCurrentPalette() const { return m_pPalette; }
    CPen* GetCurrentPen() const { return m_pPen; }
    CBitmap* GetCurrentBitmap() const { return m_pBitmap; }
    BOOL GetForceBackground() const { return m_bForceBackground; }

    // Lines from point to point with the current pen; each line leaves out its last pixel.
    BOOL Polyline(const tagPOINT* lpPoints, int nCount);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    // 0xFFFFFFFF outside the device.
    virtual COLORREF GetPixel(int x, int y) const;
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
    void FillSolidRect(const RECT* lpRect, COLORREF crColor);
    // A one-pixel frame: top and left in one colour, bottom and right in the other.
    void Draw3dRect(const RECT* lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    // A two-line 3D edge in the system colours; BF_ADJUST leaves the rectangle inside it.
    BOOL DrawEdge(RECT* lpRect, UINT nEdge, UINT nFlags);
    // A dotted frame, drawn by inverting every other pixel.
    void DrawFocusRect(const RECT* lpRect);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    CPoint SetViewportOrg(int x, int y);
    CPoint GetViewportOrg() const { return m_viewportOrg; }

    // Counts of what was drawn, for callers that measure.
    long m_nPolylines = 0;

protected:
    // Device coordinates, colour already resolved to RGB.
    virtual void PutPixel(int x, int y, COLORREF rgb);
    COLORREF Resolve(COLORREF c) const;
    void Line(int x0, int y0, int x1, int y1, COLORREF rgb);

    CPen m_defaultPen;
    CPen* m_pPen;
    CBitmap* m_pBitmap = nullptr;
    CPalette* m_pPalette = nullptr;
    BOOL m_bForceBackground = FALSE;
    bool m_bRealized = false;
    bool m_bPaletteMode = false;
    int m_nDpi = 96;
    CPoint m_current;
    CPoint m_viewportOrg;
};

// A device context over a width x height RGB raster of its own, white when made.
class CRasterDC : public CDC {
public:
    CRasterDC(int nWidth, int nHeight, int nDpi = 96);
    int Width() const { return m_bitmap.Width(); }
    int Height() const { return m_bitmap.Height(); }
    const uint8_t* Bits() const { return m_bitmap.Bits(); }
    void Clear(COLORREF crColor);
    bool SavePng(const char* path) const;

private:
    CBitmap m_bitmap;
};
