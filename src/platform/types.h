// Basic types of the host interface: geometry, colours, counts.
#pragma once

#include <cstdint>

typedef unsigned int UINT;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int BOOL;
typedef uint32_t COLORREF;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b)
{
    return (COLORREF)((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return (BYTE)(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return (BYTE)((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return (BYTE)((c >> 16) & 0xFF); }

struct tagPOINT {
    int32_t x, y;
};
typedef tagPOINT POINT;

struct tagSIZE {
    int32_t cx, cy;
};
typedef tagSIZE SIZE;

struct tagRECT {
    int32_t left, top, right, bottom;
};
typedef tagRECT RECT;

struct PALETTEENTRY {
    uint8_t peRed, peGreen, peBlue, peFlags;
};

class CPoint : public tagPOINT {
public:
    CPoint() : tagPOINT{0, 0} {}
    CPoint(int32_t ix, int32_t iy) : tagPOINT{ix, iy} {}
    CPoint(const tagPOINT& p) : tagPOINT(p) {}
    void Offset(int32_t dx, int32_t dy) { x += dx; y += dy; }
    bool operator==(const tagPOINT& o) const { return x == o.x && y == o.y; }
    bool operator!=(const tagPOINT& o) const { return !(*this == o); }
    // Same-type comparisons of their own, so that C++20's reversed candidates never compete.
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
    CPoint operator+(const tagSIZE& s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(const tagSIZE& s) const { return CPoint(x - s.cx, y - s.cy); }
};

class CSize : public tagSIZE {
public:
    CSize() : tagSIZE{0, 0} {}
    CSize(int32_t w, int32_t h) : tagSIZE{w, h} {}
    CSize(const tagSIZE& s) : tagSIZE(s) {}
    bool operator==(const tagSIZE& o) const { return cx == o.cx && cy == o.cy; }
    bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const CSize& o) const { return !(*this == o); }
};

class CRect : public tagRECT {
public:
    CRect() : tagRECT{0, 0, 0, 0} {}
    CRect(int32_t l, int32_t t, int32_t r, int32_t b) : tagRECT{l, t, r, b} {}
    CRect(const tagRECT& r) : tagRECT(r) {}
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    void SetRect(int32_t l, int32_t t, int32_t r, int32_t b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int32_t dx, int32_t dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void NormalizeRect()
    {
        if (left > right) { int32_t t = left; left = right; right = t; }
        if (top > bottom) { int32_t t = top; top = bottom; bottom = t; }
    }
    bool PtInRect(const tagPOINT& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const tagRECT& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator==(const CRect& o) const { return *this == static_cast<const tagRECT&>(o); }
    bool operator!=(const CRect& o) const { return !(*this == o); }
};
