// Arithmetic shared by the condensed design's geometry and its stitch generators. Stitches
// must come out point for point as every other reader of these designs makes them, so pi is
// the rounded value they all use and every double becomes an integer by truncation.
#pragma once

#include "core/stitch.h"
#include "design/point_ops.h"

#include <cmath>
#include <cstdint>

namespace cndmath {

constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;
constexpr double kHalfPi = 1.57079632675;
constexpr double kQuarterPi = 0.785398163375;

using pointops::Clamp32;

// Truncation toward zero; values outside the 32-bit range (and NaN, as 0) never reach the
// undefined conversion.
inline int32_t Trunc32(double v)
{
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return (int32_t)v;
}

inline tagPOINT Add(tagPOINT a, tagPOINT b)
{
    return tagPOINT{Clamp32((int64_t)a.x + b.x), Clamp32((int64_t)a.y + b.y)};
}

// a - b
inline tagPOINT Sub(tagPOINT a, tagPOINT b)
{
    return tagPOINT{Clamp32((int64_t)a.x - b.x), Clamp32((int64_t)a.y - b.y)};
}

// |a - b|
inline double Dist(tagPOINT a, tagPOINT b)
{
    double dx = (double)a.x - b.x, dy = (double)a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

inline bool Same(tagPOINT a, tagPOINT b) { return a.x == b.x && a.y == b.y; }

// from + d * num / den per coordinate, in integer arithmetic truncating toward zero; the
// product is taken wide enough for any 32-bit direction and 33-bit distance.
inline tagPOINT Along(tagPOINT from, tagPOINT d, int64_t num, int64_t den)
{
    auto at = [&](int32_t base, int32_t v) {
        __int128 r = base + (__int128)v * num / den;
        return r > INT32_MAX ? INT32_MAX : r < INT32_MIN ? INT32_MIN : (int32_t)r;
    };
    return tagPOINT{at(from.x, d.x), at(from.y, d.y)};
}

} // namespace cndmath
