#include "design/point_ops.h"

#include <cmath>

namespace pointops {

namespace {
constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;
} // namespace

void MovePoint(tagPOINT ptOffset, tagPOINT& pt)
{
    pt.x = Clamp32((int64_t)pt.x + ptOffset.x);
    pt.y = Clamp32((int64_t)pt.y + ptOffset.y);
}

int32_t ScaleValue(int32_t v, int32_t nFactor)
{
    return Clamp32((int64_t)v * nFactor / 1000);
}

void RotatePoint(tagPOINT ptCenter, double dAngle, tagPOINT& pt)
{
    double dx = (double)pt.x - ptCenter.x, dy = (double)pt.y - ptCenter.y;
    double r = std::sqrt(dx * dx + dy * dy);
    double theta = std::atan2(dy, dx) + dAngle;
    if (theta < -kPi) theta += kTwoPi;
    if (theta > kPi) theta -= kTwoPi;
    pt.x = Clamp32((int64_t)std::trunc(std::cos(theta) * r));
    pt.y = Clamp32((int64_t)std::trunc(std::sin(theta) * r));
}

double PointSqrt(tagPOINT pt)
{
    return std::sqrt((double)pt.x * pt.x + (double)pt.y * pt.y);
}

double DegreesToRadians(int nDegrees)
{
    return nDegrees * kPi / 180.0;
}

} // namespace pointops
