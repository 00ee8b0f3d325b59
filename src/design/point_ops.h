// The point operations of the design objects and the condensed elements, written once.
// Coordinates are 32-bit; results that would leave that range stay at its edge instead
// of wrapping, so far or hostile values never overflow.
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace pointops {

inline int32_t Clamp32(int64_t v)
{
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
}

void MovePoint(tagPOINT ptOffset, tagPOINT& pt);
// v × factor / 1000, truncating toward zero (factors in thousandths).
int32_t ScaleValue(int32_t v, int32_t nFactor);
// Rotates about ptCenter by dAngle radians; the result is relative to the centre.
void RotatePoint(tagPOINT ptCenter, double dAngle, tagPOINT& pt);
double PointSqrt(tagPOINT pt);
// The coordinate reflected in an axis given as the sum of the two bounds (s − v).
inline int32_t Mirror(int64_t nAxisSum, int32_t v) { return Clamp32(nAxisSum - v); }
// Degrees (as elements and designs take them) to radians.
double DegreesToRadians(int nDegrees);

} // namespace pointops
