// The condensed design's accumulation operations (one satin stitch, one travel, one fill
// row) and the geometry its generators share: line intersections, circle centres, Bezier
// points and the between-lines test.
#include "design/cnd_object.h"

#include "core/settings.h"
#include "design/cnd_math.h"

#include <cmath>

using namespace cndmath;

namespace {

// Width (0.1 mm) to satin spacing; every width of 4 mm or more uses the last entry.
constexpr int32_t kSlidingDensity[41] = {53, 53, 53, 53, 53, 53, 52, 52, 51, 51, 50, 49, 48, 47,
                                         46, 45, 44, 43, 42, 41, 40, 40, 39, 39, 38, 38, 37, 37,
                                         36, 36, 35, 35, 34, 34, 34, 33, 33, 33, 33, 33, 32};

int32_t SlidingEntry(int64_t i)
{
    return kSlidingDensity[i < 0 ? 0 : i > 40 ? 40 : i];
}

// Long satin stitches and travels are cut into pieces of at most 3.8 mm.
constexpr int kMaxPiece = 380;

// The stagger cycle of satin pieces: 0 to 3, so the first piece is 380, 190, 126 or 95 long.
void AdvanceStagger(int32_t& nCounter, int nCycle)
{
    nCounter = nCounter + 1;
    if (nCounter < 0 || nCounter >= nCycle) nCounter = 0;
}

bool CorastitchOn()
{
    return GetSetup()->m_bCorastitch != 0;
}

// Adds the points that cut s -> t into pieces of at most 380, the first one shortened by the
// stagger counter; t itself is left to the caller.
void SplitTravel(CCndObject* pDesign, tagPOINT s, tagPOINT t, int32_t nCounter)
{
    tagPOINT d = Sub(t, s);
    int32_t total = Trunc32(Dist(t, s));
    int32_t step = kMaxPiece / (nCounter + 1);
    int64_t walked = 0, remaining = total;
    while (remaining > kMaxPiece && pDesign->RenderStep()) {
        walked += step;
        tagPOINT p = Along(s, d, walked, total);
        pDesign->AddStitches(p.x, p.y, SpecStNormal);
        remaining -= step;
        step = kMaxPiece;
    }
}

} // namespace

void CCndObject::AddSatinLine(tagPOINT p1, tagPOINT p2, int nFlag)
{
    if (!CorastitchOn()) {
        AddStitches(p1.x, p1.y, SpecStNormal);
        AddStitches(p2.x, p2.y, SpecStNormal);
        return;
    }
    double len = Dist(p2, p1);
    if (len < 60) {
        // A stitch this short is sewn as one penetration in its middle, and only when that
        // moves the needle far enough to matter.
        tagPOINT d = Sub(p2, p1);
        tagPOINT m = Add(p1, tagPOINT{d.x >> 1, d.y >> 1});
        if (Dist(m, m_ptLastStitch) > 150) AddStitches(m.x, m.y, SpecStNormal);
        return;
    }
    if (nFlag == 0 || len <= kMaxPiece) {
        AddStitches(p1.x, p1.y, SpecStNormal);
        AddStitches(p2.x, p2.y, SpecStNormal);
        return;
    }
    AdvanceStagger(s_nSatinLineStagger, 4);
    SplitTravel(this, m_ptLastStitch, p1, s_nSatinLineStagger);
    AddStitches(p1.x, p1.y, SpecStNormal);
    AdvanceStagger(s_nSatinLineStagger, 4);
    SplitTravel(this, p1, p2, s_nSatinLineStagger);
    AddStitches(p2.x, p2.y, SpecStNormal);
}

void CCndObject::AddSatinReturn(tagPOINT p, int nFlag)
{
    if (CorastitchOn()) return;
    double len = Dist(p, m_ptLastStitch);
    if (len < 60 || nFlag == 0) return;
    if (len <= kMaxPiece) {
        AddStitches(p.x, p.y, SpecStNormal);
        return;
    }
    AdvanceStagger(s_nSatinReturnStagger, 4);
    SplitTravel(this, m_ptLastStitch, p, s_nSatinReturnStagger);
}

void CCndObject::AddFilledLine(int nOffsetStep, int nStitchLength, tagPOINT ptFrom, tagPOINT ptTo, int nCycle,
                               tagPOINT ptRef, tagPOINT ptRefDir)
{
    // Lengths and cycles come from files: never divide by a value that cannot make a row.
    int64_t S = nStitchLength > 0 ? nStitchLength : 380;
    int64_t cycle = nCycle > 0 ? nCycle : 1;
    tagPOINT d = Sub(ptTo, ptFrom);
    int32_t len = Trunc32(Dist(ptTo, ptFrom));
    if (len == 0) return;
    if (len < S) {
        AddStitches(ptTo.x, ptTo.y, SpecStNormal);
        return;
    }
    // Penetrations are placed by their distance from the reference line, so that rows of
    // the same phase line up and the stagger cycle shifts the others.
    tagPOINT x{};
    GetInterceptPoint(ptFrom, d, ptRef, ptRefDir, x);
    int64_t dist = Trunc32(Dist(ptFrom, x));
    int32_t counter = s_nFillRowStagger + 1;
    if (counter < 0 || counter >= cycle) counter = 0;
    s_nFillRowStagger = counter;
    int64_t first = (dist - counter * (int64_t)nOffsetStep / cycle - counter * S / cycle) % S;
    if (first == 0) first = S;
    else if (first < 0) first += S;
    if (first < len) {
        tagPOINT p = Along(ptFrom, d, first, len);
        AddStitches(p.x, p.y, SpecStNormal);
        for (int64_t at = first + 20 + S; at < len && RenderStep(); at += S) {
            p = Along(ptFrom, d, at, len);
            AddStitches(p.x, p.y, SpecStNormal);
        }
    }
    AddStitches(ptTo.x, ptTo.y, SpecStNormal);
}

int CCndObject::GetSlidingDensity(int nWidth, int nDensity, int nScaleLength)
{
    int64_t scale = nScaleLength > 0 ? nScaleLength : 1000;
    int64_t density = m_nDensity > 0 ? m_nDensity : 1000;
    int64_t r = (int64_t)nWidth * 100 / scale;
    int64_t w10 = nWidth / 10;
    int64_t v = (int64_t)SlidingEntry(w10) * (nDensity / 10) / SlidingEntry(r);
    if (v < SlidingEntry(w10)) v = SlidingEntry(w10);
    return Clamp32(v * 1000 / density);
}

int CCndObject::GetInterceptPoint(tagPOINT p, tagPOINT d, tagPOINT q, tagPOINT e, tagPOINT& ptOut)
{
    ptOut = q;
    if (e.x == 0 && d.x == 0) return 1;
    if (e.x != 0 && d.x != 0) {
        // The parallel test looks at directions in whole 0.1 mm, so nearly parallel lines
        // count as parallel; a direction that truncates to upright is never parallel here.
        int32_t dx = d.x / 10 * 10, dy = d.y / 10 * 10, ex = e.x / 10 * 10, ey = e.y / 10 * 10;
        if (dx != 0 && ex != 0 && std::fabs((double)dy / dx - (double)ey / ex) < 0.001) return 1;
    }
    double den = (double)e.y * d.x - (double)e.x * d.y;
    double num = ((double)p.y - q.y) * d.x - ((double)p.x - q.x) * d.y;
    if (std::fabs(den) < 0.001) {
        ptOut = p;
        return 1;
    }
    ptOut.x = Clamp32((int64_t)q.x + Trunc32(e.x * num / den));
    ptOut.y = Clamp32((int64_t)q.y + Trunc32(e.y * num / den));
    return 0;
}

int CCndObject::GetCenter(tagPOINT p0, tagPOINT p1, tagPOINT p2, tagPOINT& ptOut)
{
    tagPOINT a = Sub(p1, p0), b = Sub(p2, p0);
    auto degenerate = [&] {
        ptOut.x = Clamp32((int64_t)a.y * 20000);
        ptOut.y = Clamp32((int64_t)a.x * 20000);
        return 1;
    };
    if (a.x == 0 && b.x == 0) return degenerate();
    if (a.x != 0 && b.x != 0 && std::fabs((double)a.y / a.x - (double)b.y / b.x) < 0.001) return degenerate();
    tagPOINT m1 = Add(p0, tagPOINT{a.x / 2, a.y / 2});
    // The centre lies on the bisector of the longer of the two other chords, which is the
    // better conditioned one.
    tagPOINT c21 = Sub(p1, p2);
    tagPOINT base = p0, c = b;
    if (Dist(p2, p0) < Dist(p1, p2)) {
        base = p2;
        c = c21;
    }
    tagPOINT m2 = Add(base, tagPOINT{c.x / 2, c.y / 2});
    double num = ((double)m1.y - m2.y) * a.y + ((double)m1.x - m2.x) * a.x;
    double den = -(double)c.x * a.y + (double)c.y * a.x;
    if (std::fabs(den) < 0.001 || std::fabs(num) < 0.001) return degenerate();
    ptOut.x = Trunc32(m2.x + c.y * num / den);
    ptOut.y = Trunc32(m2.y - c.x * num / den);
    return 0;
}

void CCndObject::GetPointOnCurve(const tagPOINT pts[4], double t, tagPOINT& ptOut)
{
    double u = 1 - t;
    auto mix = [&](double p, double q) { return p * u + q * t; };
    double ax = mix(pts[0].x, pts[1].x), ay = mix(pts[0].y, pts[1].y);
    double bx = mix(pts[1].x, pts[2].x), by = mix(pts[1].y, pts[2].y);
    double cx = mix(pts[2].x, pts[3].x), cy = mix(pts[2].y, pts[3].y);
    double abx = mix(ax, bx), aby = mix(ay, by);
    double bcx = mix(bx, cx), bcy = mix(by, cy);
    ptOut.x = Trunc32(mix(abx, bcx));
    ptOut.y = Trunc32(mix(aby, bcy));
}

namespace {

// P lies on the same side of the line (through X2) as the reference point does of the same
// line (through X1): coordinate by coordinate, the offsets may not point opposite ways.
bool SameSide(tagPOINT ref, tagPOINT x1, tagPOINT p, tagPOINT x2)
{
    auto agree = [](int64_t r, int64_t q) { return r >= 0 ? q >= 0 : q <= 0; };
    return agree((int64_t)ref.x - x1.x, (int64_t)p.x - x2.x) && agree((int64_t)ref.y - x1.y, (int64_t)p.y - x2.y);
}

} // namespace

int CCndObject::ValidPoint(tagPOINT a, tagPOINT b, tagPOINT c, tagPOINT d, int x, int y)
{
    tagPOINT p{x, y};
    tagPOINT normalAB{Clamp32((int64_t)b.y - a.y), Clamp32((int64_t)a.x - b.x)};
    tagPOINT normalCD{Clamp32((int64_t)c.y - d.y), Clamp32((int64_t)d.x - c.x)};
    tagPOINT x1{}, x2{};
    // Seen from ab: P must lie on a's side of cd.
    tagPOINT n = Same(a, b) ? normalCD : normalAB;
    if (GetInterceptPoint(d, Sub(c, d), a, n, x1) || GetInterceptPoint(d, Sub(c, d), p, n, x2)) return 0;
    if (!SameSide(a, x1, p, x2)) return 0;
    // Seen from cd: P must lie on d's side of ab.
    n = Same(c, d) ? normalAB : normalCD;
    if (GetInterceptPoint(a, Sub(b, a), d, n, x1) || GetInterceptPoint(a, Sub(b, a), p, n, x2)) return 0;
    if (!SameSide(d, x1, p, x2)) return 0;
    return 1;
}
