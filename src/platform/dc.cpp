#include "platform/dc.h"

#include "platform/png.h"

#include <cmath>
#include <cstdlib>

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    m_nStyle = nPenStyle;
    m_nWidth = nWidth < 1 ? 1 : nWidth;
    m_crColor = crColor;
    m_bCreated = true;
    return TRUE;
}

BOOL CPen::DeleteObject()
{
    if (!m_bCreated) return FALSE;
    m_bCreated = false;
    return TRUE;
}

CDC::CDC() : m_defaultPen(PS_SOLID, 1, RGB(0, 0, 0)), m_pPen(&m_defaultPen) {}

CPen* CDC::SelectObject(CPen* pPen)
{
    CPen* old = m_pPen;
    m_pPen = pPen ? pPen : &m_defaultPen;
    return old;
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground)
{
    CPalette* old = m_pPalette;
    m_pPalette = pPalette;
    m_bForceBackground = bForceBackground;
    m_bRealized = false;
    return old;
}

UINT CDC::RealizePalette()
{
    m_bRealized = m_pPalette != nullptr;
    return m_pPalette ? (UINT)m_pPalette->GetEntryCount() : 0;
}

COLORREF CDC::Resolve(COLORREF c) const
{
    if (IsPaletteIndex(c)) {
        if (!m_pPalette || m_pPalette->GetEntryCount() == 0) return RGB(0, 0, 0);
        UINT i = c & 0xFFFF;
        if (i >= (UINT)m_pPalette->GetEntryCount()) i = 0;
        PALETTEENTRY e;
        m_pPalette->GetPaletteEntries(i, 1, &e);
        return RGB(e.peRed, e.peGreen, e.peBlue);
    }
    return c & 0xFFFFFF;
}

namespace {

// Cuts a segment to the box [lo, hi] in both axes (Liang-Barsky); false when nothing of it
// lies inside. Keeps far-off points from costing a step per unit.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double lox, double loy, double hix, double hiy)
{
    double t0 = 0, t1 = 1, dx = x1 - x0, dy = y1 - y0;
    double p[4] = {-dx, dx, -dy, dy}, q[4] = {x0 - lox, hix - x0, y0 - loy, hiy - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy, nx1 = x0 + t1 * dx, ny1 = y0 + t1 * dy;
    x0 = nx0;
    y0 = ny0;
    x1 = nx1;
    y1 = ny1;
    return true;
}

} // namespace

void CDC::Line(int x0, int y0, int x1, int y1, COLORREF rgb)
{
    // Lines are cut to the device first, so that far-off points cost nothing. A line that
    // lies on the device keeps its end points exactly.
    int w = GetDeviceCaps(HORZRES), h = GetDeviceCaps(VERTRES);
    int ox = m_viewportOrg.x, oy = m_viewportOrg.y;
    auto outside = [&](int x, int y) {
        return (long)x + ox < -1 || (long)x + ox > (long)w || (long)y + oy < -1 || (long)y + oy > (long)h;
    };
    if (outside(x0, y0) || outside(x1, y1)) {
        double fx0 = x0, fy0 = y0, fx1 = x1, fy1 = y1;
        if (!ClipSegment(fx0, fy0, fx1, fy1, -ox - 2.0, -oy - 2.0, (double)w - ox + 2, (double)h - oy + 2)) return;
        x0 = (int)std::lround(fx0);
        y0 = (int)std::lround(fy0);
        x1 = (int)std::lround(fx1);
        y1 = (int)std::lround(fy1);
    }
    // Bresenham, without the end point, as the framework draws lines.
    long dx = std::labs((long)x1 - x0), dy = -std::labs((long)y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    long err = dx + dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        PutPixel(x + m_viewportOrg.x, y + m_viewportOrg.y, rgb);
        long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

BOOL CDC::Polyline(const tagPOINT* lpPoints, int nCount)
{
    if (!lpPoints || nCount < 2) return FALSE;
    ++m_nPolylines;
    if (m_pPen->m_nStyle == PS_NULL) return TRUE;
    COLORREF rgb = Resolve(m_pPen->m_crColor);
    for (int i = 1; i < nCount; ++i) Line(lpPoints[i - 1].x, lpPoints[i - 1].y, lpPoints[i].x, lpPoints[i].y, rgb);
    return TRUE;
}

CPoint CDC::MoveTo(int x, int y)
{
    CPoint old = m_current;
    m_current = CPoint(x, y);
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    if (m_pPen->m_nStyle != PS_NULL) Line(m_current.x, m_current.y, x, y, Resolve(m_pPen->m_crColor));
    m_current = CPoint(x, y);
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor)
{
    COLORREF rgb = Resolve(crColor);
    PutPixel(x + m_viewportOrg.x, y + m_viewportOrg.y, rgb);
    return GetPixel(x, y);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor)
{
    COLORREF rgb = Resolve(crColor);
    for (int j = 0; j < cy; ++j)
        for (int i = 0; i < cx; ++i) PutPixel(x + i + m_viewportOrg.x, y + j + m_viewportOrg.y, rgb);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD)
{
    if (!pSrcDC) return FALSE;
    for (int j = 0; j < nHeight; ++j)
        for (int i = 0; i < nWidth; ++i) {
            COLORREF c = pSrcDC->GetPixel(xSrc + i, ySrc + j);
            if (c != 0xFFFFFFFFu) PutPixel(x + i + m_viewportOrg.x, y + j + m_viewportOrg.y, c);
        }
    return TRUE;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    CPoint old = m_viewportOrg;
    m_viewportOrg = CPoint(x, y);
    return old;
}

CRasterDC::CRasterDC(int nWidth, int nHeight, int nDpi)
    : m_nWidth(nWidth < 0 ? 0 : nWidth), m_nHeight(nHeight < 0 ? 0 : nHeight), m_nDpi(nDpi < 1 ? 96 : nDpi),
      m_bits((size_t)m_nWidth * (size_t)m_nHeight * 3, 0xFF)
{
}

int CRasterDC::GetDeviceCaps(int nIndex) const
{
    switch (nIndex) {
    case HORZRES: return m_nWidth;
    case VERTRES: return m_nHeight;
    case LOGPIXELSX:
    case LOGPIXELSY: return m_nDpi;
    case BITSPIXEL: return m_bPaletteMode ? 8 : 24;
    case PLANES: return 1;
    case NUMCOLORS: return m_bPaletteMode ? 256 : -1;
    case RASTERCAPS: return m_bPaletteMode ? RC_PALETTE : 0;
    case SIZEPALETTE: return m_bPaletteMode ? 256 : 0;
    default: return 0;
    }
}

void CRasterDC::PutPixel(int x, int y, COLORREF rgb)
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
    if (m_bPaletteMode && m_pPalette && m_pPalette->GetEntryCount() > 0) {
        // A palette device shows only what its palette holds.
        PALETTEENTRY e;
        m_pPalette->GetPaletteEntries(m_pPalette->GetNearestPaletteIndex(rgb), 1, &e);
        rgb = RGB(e.peRed, e.peGreen, e.peBlue);
    }
    uint8_t* p = &m_bits[((size_t)y * (size_t)m_nWidth + (size_t)x) * 3];
    p[0] = GetRValue(rgb);
    p[1] = GetGValue(rgb);
    p[2] = GetBValue(rgb);
}

COLORREF CRasterDC::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0xFFFFFFFFu; // CLR_INVALID
    const uint8_t* p = &m_bits[((size_t)y * (size_t)m_nWidth + (size_t)x) * 3];
    return RGB(p[0], p[1], p[2]);
}

void CRasterDC::Clear(COLORREF crColor)
{
    for (size_t i = 0; i + 2 < m_bits.size(); i += 3) {
        m_bits[i] = GetRValue(crColor);
        m_bits[i + 1] = GetGValue(crColor);
        m_bits[i + 2] = GetBValue(crColor);
    }
}

bool CRasterDC::SavePng(const char* path) const
{
    return WritePngRgb(path, m_nWidth, m_nHeight, m_bits.data());
}
