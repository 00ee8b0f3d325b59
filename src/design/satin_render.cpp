// Placeholder so that the condensed design links before the satin generator lands (cndgen).
#include "design/cnd_object.h"

int CSatinStitch::RendorStitches(CCndObject*) { return 0; }
int CSatinStitch::RendorArcSatinStitches(CCndObject*, int, int) { return 0; }
int CSatinStitch::RendorSatinStitches(CCndObject*, int, int) { return 0; }
int CSatinStitch::AddLineSegment(CCndObject*, int, int, int, double, double, double, tagPOINT, tagPOINT, tagPOINT&,
                                 tagPOINT&)
{
    return 0;
}
int CSatinStitch::FixupAngle(tagPOINT, tagPOINT, tagPOINT, tagPOINT, double&, double&, double&) { return 0; }
double CSatinStitch::GetLength(tagPOINT, tagPOINT, tagPOINT&) { return 0; }
