#include "platform/dc.h"

#include "platform/png.h"

#include <algorithm>
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

COLORREF GetSysColor(int nIndex)
{
    switch (nIndex) {
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(192, 192, 192);
    case COLOR_BTNSHADOW: return RGB(128, 128, 128);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DLIGHT: return RGB(223, 223, 223);
    default: return RGB(0, 0, 0);
    }
}

CDC::CDC() : m_defaultPen(PS_SOLID, 1, RGB(0, 0, 0)), m_pPen(&m_defaultPen) {}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (pDC) {
        m_bPaletteMode = pDC->m_bPaletteMode;
        m_nDpi = pDC->m_nDpi;
    }
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    m_pBitmap = nullptr;
    m_pPalette = nullptr;
    return TRUE;
}

int CDC::GetDeviceCaps(int nIndex) const
{
    switch (nIndex) {
    case HORZRES: return m_pBitmap ? m_pBitmap->Width() : 0;
    case VERTRES: return m_pBitmap ? m_pBitmap->Height() : 0;
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

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    CBitmap* old = m_pBitmap;
    m_pBitmap = pBitmap;
    return old;
}

void CDC::PutPixel(int x, int y, COLORREF rgb)
{
    if (!m_pBitmap) return;
    if (m_bPaletteMode && m_pPalette && m_pPalette->GetEntryCount() > 0) {
        // A palette device shows only what its palette holds.
        PALETTEENTRY e;
        m_pPalette->GetPaletteEntries(m_pPalette->GetNearestPaletteIndex(rgb), 1, &e);
        rgb = RGB(e.peRed, e.peGreen, e.peBlue);
    }
    m_pBitmap->PutPixel(x, y, rgb);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    return m_pBitmap ? m_pBitmap->GetPixel(x, y) : 0xFFFFFFFFu;
}

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
    if (cx < 0) {
        x += cx;
        cx = -cx;
    }
    if (cy < 0) {
        y += cy;
        cy = -cy;
    }
    // Only what lies on the device costs anything.
    int x0 = std::max(x + m_viewportOrg.x, 0), y0 = std::max(y + m_viewportOrg.y, 0);
    int x1 = (int)std::min<long>((long)x + cx + m_viewportOrg.x, GetDeviceCaps(HORZRES));
    int y1 = (int)std::min<long>((long)y + cy + m_viewportOrg.y, GetDeviceCaps(VERTRES));
    COLORREF rgb = Resolve(crColor);
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) PutPixel(i, j, rgb);
}

void CDC::FillSolidRect(const RECT* lpRect, COLORREF crColor)
{
    if (lpRect)
        FillSolidRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, crColor);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

void CDC::Draw3dRect(const RECT* lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (lpRect)
        Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
                   clrBottomRight);
}

BOOL CDC::DrawEdge(RECT* lpRect, UINT nEdge, UINT nFlags)
{
    if (!lpRect) return FALSE;
    CRect r = *lpRect;
    // Outer line, then inner line, each with its top-left and bottom-right colours.
    struct Line {
        UINT raised, sunken;
        int raisedTL, raisedBR, sunkenTL, sunkenBR;
    };
    const Line lines[] = {
        {BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
        {BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
    };
    for (const Line& l : lines) {
        if (!(nEdge & (l.raised | l.sunken)) || r.IsRectEmpty()) continue;
        bool raised = (nEdge & l.raised) != 0;
        COLORREF tl = GetSysColor(raised ? l.raisedTL : l.sunkenTL);
        COLORREF br = GetSysColor(raised ? l.raisedBR : l.sunkenBR);
        if (nFlags & BF_TOP) FillSolidRect(r.left, r.top, r.Width() - 1, 1, tl);
        if (nFlags & BF_LEFT) FillSolidRect(r.left, r.top, 1, r.Height() - 1, tl);
        if (nFlags & BF_RIGHT) FillSolidRect(r.right - 1, r.top, 1, r.Height(), br);
        if (nFlags & BF_BOTTOM) FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, br);
        if (nFlags & BF_LEFT) ++r.left;
        if (nFlags & BF_TOP) ++r.top;
        if (nFlags & BF_RIGHT) --r.right;
        if (nFlags & BF_BOTTOM) --r.bottom;
    }
    if (nFlags & BF_MIDDLE) FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
    if (nFlags & BF_ADJUST) *lpRect = r;
    return TRUE;
}

void CDC::DrawFocusRect(const RECT* lpRect)
{
    if (!lpRect) return;
    CRect r = *lpRect;
    auto invert = [&](int x, int y) {
        COLORREF c = GetPixel(x + m_viewportOrg.x, y + m_viewportOrg.y);
        if (c != 0xFFFFFFFFu) PutPixel(x + m_viewportOrg.x, y + m_viewportOrg.y, c ^ 0xFFFFFFu);
    };
    for (int x = r.left; x < r.right; x += 2) {
        invert(x, r.top);
        if (r.bottom - 1 > r.top) invert(x, r.bottom - 1);
    }
    for (int y = r.top + 2; y < r.bottom - 1; y += 2) {
        invert(r.left, y);
        if (r.right - 1 > r.left) invert(r.right - 1, y);
    }
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
{
    SetResolution(nDpi < 1 ? 96 : nDpi);
    if (nWidth > 0 && nHeight > 0) m_bitmap.CreateBitmap(nWidth, nHeight, RGB(255, 255, 255));
    SelectObject(&m_bitmap);
}

void CRasterDC::Clear(COLORREF crColor) { m_bitmap.Fill(crColor & 0xFFFFFF); }

bool CRasterDC::SavePng(const char* path) const
{
    return WritePngRgb(path, Width(), Height(), Bits());
}
