// CEmbIcon: the small monochrome raster on which the design thumbnails of SEW, PEC and
// PES files are drawn with moves and lines, and read back row by row as packed bits.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <string>
#include <vector>

class CEmbIcon {
public:
    CEmbIcon();
    ~CEmbIcon();
    CEmbIcon(const CEmbIcon&) = delete;
    CEmbIcon& operator=(const CEmbIcon&) = delete;

    // Each returns 1, or 0 when nothing can be done (a zero size or scale, no buffer).
    int Create(int nWidth, int nHeight);
    int Create(const tagSIZE& size) { return Create(size.cx, size.cy); }
    int SetScale(int nExtentX, int nExtentY);
    int SetScale(const tagSIZE& extent) { return SetScale(extent.cx, extent.cy); }
    int MoveTo(int x, int y);
    int MoveTo(const tagPOINT& p) { return MoveTo(p.x, p.y); }
    int LineTo(int x, int y);
    int LineTo(const tagPOINT& p) { return LineTo(p.x, p.y); }
    // The row's pixels packed 8 to a byte, the leftmost in the most significant bit; valid
    // until the next call. Rows are at most 128 pixels wide here.
    unsigned char* GetIconLine(int nRow);
    CSize GetSize() const { return CSize(m_nWidth, m_nHeight); }

    // 1 where a pixel is drawn, 0 elsewhere and outside.
    int GetPixel(int x, int y) const;

    static constexpr int kRowBytes = 16;

private:
    void Map(int x, int y, int* px, int* py) const;
    void Plot(int px, int py);

    unsigned char* m_pPixels = nullptr;
    unsigned char m_Row[kRowBytes];
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nX = 0, m_nY = 0;             // current pixel
    int m_nCenterX = 0, m_nCenterY = 0;
    size_t m_nAllocated = 0;
    double m_dScale = 1.0;              // pixels per design unit
};

// A thumbnail read back from a design file: one byte per pixel (0 or 1), row 0 at the top
// as a person looks at it.
struct CIconImage {
    std::string strTitle;
    int nWidth = 0;
    int nHeight = 0;
    std::vector<unsigned char> pixels;

    int Pixel(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < nWidth && y < nHeight ? pixels[(size_t)y * (size_t)nWidth + (size_t)x] : 0;
    }
};

// Unpacks nHeight rows of nRowBytes bytes each, nWidth pixels a row, the first stored row
// at the top. bMsbLeft: the leftmost pixel of a byte is its most significant bit (else its
// least significant).
CIconImage UnpackIcon(const unsigned char* pRows, int nWidth, int nHeight, int nRowBytes, bool bMsbLeft,
                      const std::string& strTitle);
