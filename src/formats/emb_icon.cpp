#include "formats/emb_icon.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Far beyond any thumbnail, and small enough that pixel arithmetic stays within int.
constexpr double kPixelLimit = 1e9;
constexpr long long kMaxPixels = 1LL << 26;

int RoundHalfUpToward0(double v)
{
    v = std::trunc(v + 0.5);
    if (v > kPixelLimit) v = kPixelLimit;
    if (v < -kPixelLimit) v = -kPixelLimit;
    return (int)v;
}

} // namespace

CEmbIcon::CEmbIcon()
{
    std::memset(m_Row, 0, sizeof m_Row);
}

CEmbIcon::~CEmbIcon()
{
    delete[] m_pPixels;
}

int CEmbIcon::Create(int nWidth, int nHeight)
{
    if (nWidth == 0 || nHeight == 0) return 0;
    long long w = std::llabs((long long)nWidth), h = std::llabs((long long)nHeight);
    if (w * h > kMaxPixels) return 0;
    size_t need = (size_t)(w * h);
    if (need > m_nAllocated) {
        unsigned char* p = new (std::nothrow) unsigned char[need];
        if (!p) return 0;
        delete[] m_pPixels;
        m_pPixels = p;
        m_nAllocated = need;
    }
    std::memset(m_pPixels, 0, m_nAllocated);
    m_nWidth = (int)w;
    m_nHeight = (int)h;
    m_nCenterX = m_nWidth / 2;
    m_nCenterY = m_nHeight / 2;
    return 1;
}

int CEmbIcon::SetScale(int nExtentX, int nExtentY)
{
    if (nExtentX == 0 || nExtentY == 0) return 0;
    long long ax = std::llabs((long long)nExtentX), ay = std::llabs((long long)nExtentY);
    m_dScale = ax <= ay ? (double)m_nHeight / (double)ay : (double)m_nWidth / (double)ax;
    return 1;
}

void CEmbIcon::Map(int x, int y, int* px, int* py) const
{
    *px = RoundHalfUpToward0((double)x * m_dScale) + m_nCenterX;
    *py = RoundHalfUpToward0((double)y * m_dScale) + m_nCenterY;
}

void CEmbIcon::Plot(int px, int py)
{
    if (px >= 0 && py >= 0 && px < m_nWidth && py < m_nHeight) m_pPixels[(size_t)py * (size_t)m_nWidth + (size_t)px] = 1;
}

int CEmbIcon::MoveTo(int x, int y)
{
    if (!m_pPixels) return 0;
    Map(x, y, &m_nX, &m_nY);
    Plot(m_nX, m_nY);
    return 1;
}

int CEmbIcon::LineTo(int x, int y)
{
    if (!m_pPixels) return 0;
    int ex, ey;
    Map(x, y, &ex, &ey);
    Plot(ex, ey);
    int dx = ex - m_nX, dy = ey - m_nY;
    if (std::abs(dx) >= 3 && std::abs(dy) >= 3) {
        // The t strictly between 0 and the end, narrowed to those whose pixel can lie inside,
        // so that a line far outside costs nothing.
        bool alongX = std::abs(dx) > std::abs(dy);
        int d = alongX ? dx : dy;
        int lo = alongX ? -m_nX : -m_nY;
        int hi = alongX ? m_nWidth - 1 - m_nX : m_nHeight - 1 - m_nY;
        int tMin = d > 0 ? 1 : d + 1, tMax = d > 0 ? d - 1 : -1;
        if (tMin < lo) tMin = lo;
        if (tMax > hi) tMax = hi;
        for (int t = tMin; t <= tMax; ++t) {
            if (alongX)
                Plot(m_nX + t, m_nY + RoundHalfUpToward0((double)t * dy / dx));
            else
                Plot(m_nX + RoundHalfUpToward0((double)t * dx / dy), m_nY + t);
        }
    }
    m_nX = ex;
    m_nY = ey;
    return 1;
}

unsigned char* CEmbIcon::GetIconLine(int nRow)
{
    std::memset(m_Row, 0, sizeof m_Row);
    if (!m_pPixels || nRow < 0 || nRow >= m_nHeight) return m_Row;
    int w = m_nWidth < kRowBytes * 8 ? m_nWidth : kRowBytes * 8;
    const unsigned char* row = m_pPixels + (size_t)nRow * (size_t)m_nWidth;
    for (int x = 0; x < w; ++x)
        if (row[x]) m_Row[x / 8] |= (unsigned char)(0x80 >> (x % 8));
    return m_Row;
}

int CEmbIcon::GetPixel(int x, int y) const
{
    if (!m_pPixels || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0;
    return m_pPixels[(size_t)y * (size_t)m_nWidth + (size_t)x];
}

CIconImage UnpackIcon(const unsigned char* pRows, int nWidth, int nHeight, int nRowBytes, bool bMsbLeft,
                      const std::string& strTitle)
{
    CIconImage img;
    img.strTitle = strTitle;
    if (nWidth <= 0 || nHeight <= 0 || nRowBytes * 8 < nWidth) return img;
    img.nWidth = nWidth;
    img.nHeight = nHeight;
    img.pixels.assign((size_t)nWidth * (size_t)nHeight, 0);
    for (int r = 0; r < nHeight; ++r) {
        const unsigned char* src = pRows + (size_t)r * (size_t)nRowBytes;
        for (int x = 0; x < nWidth; ++x) {
            int bit = bMsbLeft ? 7 - x % 8 : x % 8;
            img.pixels[(size_t)r * (size_t)nWidth + (size_t)x] = (unsigned char)((src[x / 8] >> bit) & 1);
        }
    }
    return img;
}
