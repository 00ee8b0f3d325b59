// Fills: rows of running stitches back and forth between the two sides of a region, stacked
// from its near edge towards its far edge, their penetrations staggered in a cycle.
#include "design/cnd_object.h"

#include "design/cnd_math.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace cndmath;

namespace {

struct SidePoint {
    tagPOINT pt;
    int64_t height; // distance from the near edge
};

// One side of the region from the near edge to the far corner, with the height of every
// point; rows take their ends on it in order of height.
class Side {
public:
    Side(tagPOINT nearCorner, tagPOINT farCorner, int32_t nFull) : m_Far{farCorner, nFull}
    {
        m_Path.push_back(SidePoint{nearCorner, 0});
    }

    // Outline points in order from the near edge; those not above the near edge before the
    // first that is are passed over, the last of them starting the side.
    void Append(tagPOINT pt, int64_t nHeight)
    {
        if (m_Path.size() == 1 && nHeight <= 0) m_Path[0] = SidePoint{pt, nHeight};
        else m_Path.push_back(SidePoint{pt, nHeight});
    }

    void Close() { m_Path.push_back(m_Far); }

    // The point at height t; targets come in rising order.
    tagPOINT At(int64_t t)
    {
        while (m_nSegment + 2 < m_Path.size() && m_Path[m_nSegment + 1].height < t) ++m_nSegment;
        const SidePoint& lo = m_Path[m_nSegment];
        const SidePoint& up = m_Path[m_nSegment + 1];
        tagPOINT d = Sub(up.pt, lo.pt);
        if (up.height != lo.height) return Along(lo.pt, d, t - lo.height, up.height - lo.height);
        if (up.height == 0) return lo.pt;
        return Along(lo.pt, d, t, up.height);
    }

private:
    SidePoint m_Far;
    std::vector<SidePoint> m_Path;
    size_t m_nSegment = 0;
};

} // namespace

int CFillStitch::RendorStitches(CCndObject* pDesign)
{
    // Values read from a file must not divide by zero or stop the rows from advancing.
    int64_t density = pDesign->m_nDensity > 0 ? pDesign->m_nDensity : 1000;
    int64_t fillType = m_nFillType > 0 ? m_nFillType : 1;
    int stitchLength = m_nStitchLength > 0 ? m_nStitchLength : 380;
    int64_t g = (int64_t)m_nSpacing * 56 / density;
    if (g < 1) g = 1;

    const tagPOINT p0 = m_Frame[0], p1 = m_Frame[1], p2 = m_Frame[2], p3 = m_Frame[3];
    tagPOINT n{Clamp32((int64_t)p1.y - p0.y), Clamp32((int64_t)p0.x - p1.x)};
    if (Same(p0, p1)) n = tagPOINT{Clamp32((int64_t)p2.y - p3.y), Clamp32((int64_t)p3.x - p2.x)};
    tagPOINT e = Sub(p2, p3);
    tagPOINT x0{}, x1{};
    if (pDesign->GetInterceptPoint(p3, e, p0, n, x0) || pDesign->GetInterceptPoint(p3, e, p1, n, x1)) return 0;
    int32_t hA = Trunc32(Dist(x0, p0)), hB = Trunc32(Dist(x1, p1));

    int64_t rows = std::max(hA, hB) / g;
    bool even = Same(m_Frame[4], p3);
    if ((rows % 2 == 1) == even) ++rows;
    if (rows == 0) return 1;

    // Heights of the outline points, measured along the near edge's normal. A point that
    // would turn its side back towards where it came from is moved just past the previous
    // one, so heights only grow along a side.
    auto heights = [&](std::vector<tagPOINT>& outline, int32_t nCount, tagPOINT corner, tagPOINT foot, int32_t nFull,
                       bool bGrowing) {
        std::vector<int64_t> h((size_t)nCount);
        double prev = bGrowing ? 0 : nFull;
        for (int32_t j = 0; j < nCount; ++j) {
            tagPOINT& q = outline[(size_t)j];
            tagPOINT y{};
            pDesign->GetInterceptPoint(corner, Sub(foot, corner), q, e, y);
            double d = Dist(y, foot);
            if (bGrowing ? d > prev : d < prev) {
                h[(size_t)j] = nFull - (int64_t)Trunc32(d);
                prev = d;
                continue;
            }
            double t = bGrowing ? prev + 1 : prev - 1;
            tagPOINT w{};
            pDesign->GetInterceptPoint(p3, e, q, n, w);
            double phi = std::atan2((double)q.y - w.y, (double)q.x - w.x);
            q = tagPOINT{Clamp32((int64_t)w.x + Trunc32(std::cos(phi) * t)),
                         Clamp32((int64_t)w.y + Trunc32(std::sin(phi) * t))};
            h[(size_t)j] = nFull - (int64_t)Trunc32(t);
            prev = t;
        }
        return h;
    };
    int32_t nA = std::min<int32_t>(m_nOutlineA, (int32_t)m_OutlineA.size());
    int32_t nB = std::min<int32_t>(m_nOutlineB, (int32_t)m_OutlineB.size());
    std::vector<int64_t> hOutB = heights(m_OutlineB, nB, p0, x0, hA, true);
    std::vector<int64_t> hOutA = heights(m_OutlineA, nA, p1, x1, hB, false);

    // Side 1 climbs from P0 through outline B (stored from the P3 end) to P3, side 2 from
    // P1 through outline A to P2.
    Side side1(p0, p3, hA), side2(p1, p2, hB);
    for (int32_t j = nB - 1; j >= 0; --j) side1.Append(m_OutlineB[(size_t)j], hOutB[(size_t)j]);
    for (int32_t j = 0; j < nA; ++j) side2.Append(m_OutlineA[(size_t)j], hOutA[(size_t)j]);
    side1.Close();
    side2.Close();

    // Successive rows shift their penetrations along the fill angle, one step per row of
    // the stagger cycle.
    double a = m_nAngle * kPi / 18000;
    if (a < -kPi) a += kTwoPi;
    if (a > kPi) a -= kTwoPi;
    int32_t offset = Trunc32(std::cos(a) * fillType * g);
    tagPOINT refDir = Sub(x0, p0);

    for (int64_t k = 0; k < rows && pDesign->RenderStep(); ++k) {
        tagPOINT end1 = side1.At(k * hA / rows), end2 = side2.At(k * hB / rows);
        if (k % 2 == 0) pDesign->AddFilledLine(offset, stitchLength, end1, end2, (int)fillType, p0, refDir);
        else pDesign->AddFilledLine(offset, stitchLength, end2, end1, (int)fillType, p0, refDir);
    }
    return 1;
}
