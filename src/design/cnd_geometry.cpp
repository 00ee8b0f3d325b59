// Placeholder so that the condensed design links before the geometry lands (cndgen).
#include "design/cnd_object.h"

void CCndObject::AddSatinLine(tagPOINT, tagPOINT, int) {}
void CCndObject::AddSatinReturn(tagPOINT, int) {}
void CCndObject::AddFilledLine(int, int, tagPOINT, tagPOINT, int, tagPOINT, tagPOINT) {}
int CCndObject::GetSlidingDensity(int, int, int) { return 0; }
int CCndObject::GetInterceptPoint(tagPOINT, tagPOINT, tagPOINT, tagPOINT, tagPOINT&) { return 1; }
int CCndObject::GetCenter(tagPOINT, tagPOINT, tagPOINT, tagPOINT&) { return 1; }
void CCndObject::GetPointOnCurve(const tagPOINT[4], double, tagPOINT&) {}
int CCndObject::ValidPoint(tagPOINT, tagPOINT, tagPOINT, tagPOINT, int, int) { return 0; }
