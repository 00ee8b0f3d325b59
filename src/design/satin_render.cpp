// Satin columns: a zigzag across two rails, the rails advancing so that both reach the end
// of a segment together, at a spacing that follows the width of the column.
#include "design/cnd_object.h"

#include "design/cnd_math.h"
#include "platform/message.h"

#include <algorithm>
#include <cmath>

using namespace cndmath;

namespace {

// Columns wider than 10 mm sew their long stitches and travels in pieces.
constexpr double kWideColumn = 1000;

int SatinSpacing(CCndObject* pDesign, int nWidth, int nDensity, int nScaleLength)
{
    int s = pDesign->GetSlidingDensity(nWidth, nDensity, nScaleLength);
    return s < 1 ? 1 : s; // a spacing of 0 would never advance the rails
}

bool Apart(tagPOINT p, tagPOINT q, int64_t nLimit)
{
    return std::llabs((int64_t)p.x - q.x) >= nLimit || std::llabs((int64_t)p.y - q.y) >= nLimit;
}

} // namespace

int CSatinStitch::RendorStitches(CCndObject* pDesign)
{
    int32_t count = std::min<int32_t>(m_nSegments, GetCapacity());
    if (count <= 0) return 1;
    int wide = bForceFill;
    if (!wide) {
        wide = Dist(m_StartB[0], m_StartA[0]) > kWideColumn;
        for (int32_t i = 0; i < count && !wide; ++i) {
            wide = Dist(m_EndB[(size_t)i], m_EndA[(size_t)i]) > kWideColumn ||
                   (m_ArcFlags[(size_t)i] && Dist(m_MiddleB[(size_t)i], m_MiddleA[(size_t)i]) > kWideColumn);
        }
    }
    for (int32_t i = 0; i < count && pDesign->RenderStep(); ++i) {
        if (m_ArcFlags[(size_t)i]) RendorArcSatinStitches(pDesign, i, wide);
        else RendorSatinStitches(pDesign, i, wide);
    }
    return 1;
}

namespace {

// The start of a segment: the first one crosses its start pair; a later one that does not
// begin where the needle is travels to its start B instead of crossing.
void EnterSegment(CCndObject* pDesign, const CSatinStitch& satin, int i, int bWide)
{
    tagPOINT a = satin.m_StartA[(size_t)i], b = satin.m_StartB[(size_t)i];
    tagPOINT last = pDesign->m_ptLastStitch;
    if (i == 0) pDesign->AddSatinLine(a, b, bWide);
    else if (Apart(last, a, 40)) pDesign->AddSatinReturn(b, bWide);
    else if (Apart(last, b, 40)) pDesign->AddSatinLine(a, b, bWide);
}

} // namespace

int CSatinStitch::RendorSatinStitches(CCndObject* pDesign, int nSegment, int bWide)
{
    size_t i = (size_t)nSegment;
    EnterSegment(pDesign, *this, nSegment, bWide);
    tagPOINT startA = m_StartA[i], startB = m_StartB[i], endA = m_EndA[i], endB = m_EndB[i];
    int64_t lenA = Trunc32(Dist(endA, startA)), lenB = Trunc32(Dist(endB, startB));
    if (lenA == 0) lenA = 1;
    if (lenB == 0) lenB = 1;
    int64_t remA = lenA, remB = lenB, rem = std::max(lenA, lenB);
    tagPOINT a = startA, b = startB;
    tagPOINT vA = Sub(endA, a), vB = Sub(endB, b);
    int64_t gap = bLettering ? 0 : 20;
    tagPOINT prev1{}, prev2{};
    int nCrossing = 0;
    while (rem > gap && pDesign->RenderStep()) {
        int32_t w = Trunc32(Dist(b, a));
        int64_t s = SatinSpacing(pDesign, w, m_Densities[i], m_nScaleLength);
        int64_t stepA = s * remA / rem, stepB = s * remB / rem;
        // Each rail moves by its share of the spacing, so both reach the end pair together.
        if (remA != 0) a = Along(a, vA, stepA, remA);
        if (remB != 0) b = Along(b, vB, stepB, remB);
        AddLineSegment(pDesign, bWide, ++nCrossing, 0, 1.0, 0, 0, a, b, prev1, prev2);
        remA -= stepA;
        remB -= stepB;
        rem -= s;
        vA = Sub(endA, a);
        vB = Sub(endB, b);
    }
    if (!bLettering && Apart(pDesign->m_ptLastStitch, endB, 20)) pDesign->AddSatinLine(endA, endB, bWide);
    return 1;
}

namespace {

// One rail of an arc segment: along its circle, or along a line when the three points
// give no circle.
struct ArcRail {
    tagPOINT start{}, end{}, centre{};
    bool straight = false;
    double sweep = 0, radius = 0, angle = 0;

    void Set(CCndObject* pDesign, CSatinStitch& satin, tagPOINT a, tagPOINT m, tagPOINT e)
    {
        start = a;
        end = e;
        if (pDesign->GetCenter(a, e, m, centre)) {
            straight = true;
            sweep = 1.0;
            radius = Dist(e, a);
        } else {
            satin.FixupAngle(a, m, e, centre, sweep, radius, angle);
        }
    }

    int32_t Length() const { return Trunc32(radius * sweep); }

    tagPOINT At(int64_t walked, int64_t len) const
    {
        if (straight) return Along(start, Sub(end, start), walked, len);
        return tagPOINT{Clamp32((int64_t)centre.x + Trunc32(std::cos(angle) * radius)),
                        Clamp32((int64_t)centre.y + Trunc32(std::sin(angle) * radius))};
    }
};

} // namespace

int CSatinStitch::RendorArcSatinStitches(CCndObject* pDesign, int nSegment, int bWide)
{
    size_t i = (size_t)nSegment;
    EnterSegment(pDesign, *this, nSegment, bWide);
    ArcRail railA, railB;
    railA.Set(pDesign, *this, m_StartA[i], m_MiddleA[i], m_EndA[i]);
    railB.Set(pDesign, *this, m_StartB[i], m_MiddleB[i], m_EndB[i]);
    int64_t arcA = std::llabs(railA.Length()), arcB = std::llabs(railB.Length());
    int64_t len = std::max(arcA, arcB);
    int64_t s = SatinSpacing(pDesign, Clamp32(len), m_Densities[i], m_nScaleLength);
    int64_t n = len / s;
    double dA = railA.sweep / (n + 1), dB = railB.sweep / (n + 1);
    tagPOINT prev1{}, prev2{};
    int nCrossing = 0;
    for (int64_t walked = 0; walked < len && pDesign->RenderStep();) {
        walked += s;
        railA.angle += dA;
        railB.angle += dB;
        AddLineSegment(pDesign, bWide, ++nCrossing, 0, 1.0, 0, 0, railA.At(walked, len), railB.At(walked, len), prev1,
                       prev2);
    }
    if (Apart(pDesign->m_ptLastStitch, m_EndB[i], 20)) pDesign->AddSatinLine(m_EndA[i], m_EndB[i], bWide);
    return 1;
}

int CSatinStitch::AddLineSegment(CCndObject* pDesign, int nFlag, int nCount, int nMode, double dRatio, double dA,
                                 double dB, tagPOINT p1, tagPOINT p2, tagPOINT& ptPrev1, tagPOINT& ptPrev2)
{
    if (Dist(p1, p2) > kWideColumn) bLongSatins = 1;
    if (nCount > 1) {
        if (nMode != 0) {
            if (nMode == 3) nMode = 1;
            // The inner end of a crossing on a tight curve is pulled in so the stitches do
            // not pile up there.
            double floor = dRatio < 1.5 ? 0.95 : dRatio < 2 ? 0.9 : (nMode != 2 && nCount >= 3) ? 0.83 : 0.95;
            double f = dRatio != 0 ? 1 / dRatio : floor;
            if (f < floor) f = floor;
            auto pull = [f](tagPOINT from, tagPOINT to) {
                double phi = std::atan2((double)to.y - from.y, (double)to.x - from.x);
                double len = Dist(to, from);
                return tagPOINT{Clamp32((int64_t)from.x + Trunc32(std::cos(phi) * len * f)),
                                Clamp32((int64_t)from.y + Trunc32(std::sin(phi) * len * f))};
            };
            if (std::fabs(dB) < std::fabs(dA)) p2 = pull(p1, p2);
            else p1 = pull(ptPrev2, p1);
        }
        ptPrev1 = p1;
        ptPrev2 = p2;
    }
    pDesign->AddSatinLine(p1, p2, nFlag);
    return 1;
}

namespace {

// The angle codes of FixupAngle and the whole turn each adds to a3 - a1; any other code
// cannot come from three points on one circle.
struct SweepTurn {
    int codes[8];
    double turn;
};
constexpr SweepTurn kSweepTurns[] = {
    {{0x00, 0x07, 0x10, 0x18, 0x27, 0x2F, 0x38, 0x3F}, 0},
    {{0x02, 0x04, 0x0A, 0x14, 0x1A, 0x34, 0x3A, 0x3C}, -kTwoPi},
    {{0x03, 0x05, 0x0B, 0x25, 0x2B, 0x35, 0x3B, 0x3D}, kTwoPi},
};

} // namespace

int CSatinStitch::FixupAngle(tagPOINT p1, tagPOINT p2, tagPOINT p3, tagPOINT ptCenter, double& dSweep, double& dRadius,
                             double& dStart)
{
    dRadius = Dist(p1, ptCenter);
    double a1 = std::atan2((double)p1.y - ptCenter.y, (double)p1.x - ptCenter.x);
    double a2 = std::atan2((double)p2.y - ptCenter.y, (double)p2.x - ptCenter.x);
    double a3 = std::atan2((double)p3.y - ptCenter.y, (double)p3.x - ptCenter.x);
    dStart = a1;
    // Which half-planes the three angles lie in and how they are ordered tells which way
    // round the arc passes through its middle point.
    int code = (a1 >= 0 ? 0x20 : 0) | (a3 >= 0 ? 0x10 : 0) | (a2 >= 0 ? 0x08 : 0) | (a2 <= a1 ? 0x04 : 0) |
               (a3 <= a2 ? 0x02 : 0) | (a3 <= a1 ? 0x01 : 0);
    for (const SweepTurn& t : kSweepTurns) {
        if (std::find(std::begin(t.codes), std::end(t.codes), code) != std::end(t.codes)) {
            dSweep = a3 + t.turn - a1;
            return 1;
        }
    }
    AfxMessageBox("ERROR: Impossible degree combination.", MB_OK);
    return 0;
}

double CSatinStitch::GetLength(tagPOINT p1, tagPOINT p2, tagPOINT& ptDiff)
{
    ptDiff = Sub(p2, p1);
    return PointSqrt(ptDiff);
}
