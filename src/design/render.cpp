#include "design/render.h"

#include <algorithm>

bool RenderDesign(CEmbObject& design, CRasterDC& dc)
{
    dc.Clear(RGB(255, 255, 255));
    if (design.GetNoStitches() <= 0) return false;
    CRect b = design.m_rcBounds;
    b.NormalizeRect();
    int size = std::min(dc.Width(), dc.Height());
    int margin = std::max(2, size / 32);
    long room = std::max(1, size - 2 * margin);
    long extent = std::max<long>(1, std::max<long>((long)b.Width(), (long)b.Height()));
    // Stitch units per pixel, rounded up so the design fits.
    long units = (extent + room - 1) / room;
    int zoom = 100;
    int dpi;
    if (units <= 2540) {
        dpi = (int)(2540 / units);
    } else {
        dpi = 1;
        zoom = (int)std::max<long>(1, room * 100 * 2540 / extent);
    }
    int gx = 2540 / dpi, gy = -gx;
    auto mx = [&](long x) { return (long)(x / gx) * zoom / 100; };
    auto my = [&](long y) { return (long)(y / gy) * zoom / 100; };
    long left = mx(b.left), right = mx(b.right), top = my(b.bottom), bottom = my(b.top);
    if (top > bottom) std::swap(top, bottom);
    long ox = (dc.Width() - (right - left)) / 2 - left;
    long oy = (dc.Height() - (bottom - top)) / 2 - top;
    dc.SetViewportOrg((int)ox, (int)oy);
    dc.SetResolution(dpi);
    design.Draw(&dc, zoom);
    dc.SetViewportOrg(0, 0);
    return true;
}

bool RenderDesignToPng(CEmbObject& design, int nSize, const char* pszPath)
{
    CRasterDC dc(nSize, nSize);
    RenderDesign(design, dc);
    return dc.SavePng(pszPath);
}
