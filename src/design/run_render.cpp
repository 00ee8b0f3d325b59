// Running stitches along a run element: straight stretches cut into equal stitches, three-
// point arcs sewn along their circle, and the jump and triple modes of the design.
#include "design/cnd_object.h"

#include "design/cnd_math.h"

#include <algorithm>
#include <cmath>

using namespace cndmath;

namespace {

struct RunSewer {
    CCndObject* design;
    const CRunStitch& run;
    int32_t count; // the points in use that every array holds
    SpecStTypes type;

    int Length(int i) const
    {
        int n = run.m_Lengths[(size_t)i];
        return n > 0 ? n : 380; // a length read from a file must not stop the cutting
    }

    void Add(tagPOINT p) const { design->AddStitches(p.x, p.y, type); }

    // Sews from the last stitch position to point i in equal stitches no longer than its
    // stitch length.
    void Straight(int i) const
    {
        tagPOINT q = run.m_Points[(size_t)i];
        tagPOINT last = design->m_ptLastStitch;
        tagPOINT d = Sub(q, last);
        if (d.x == 0 && d.y == 0) return;
        int32_t len = Trunc32(Dist(q, last));
        int32_t n = len / Length(i);
        if (len < 60 && i + 1 < count) {
            // A tiny stretch that barely turns the line is noise in the outline.
            tagPOINT q2 = run.m_Points[(size_t)i + 1];
            double a1 = std::atan2((double)last.y - q.y, (double)last.x - q.x);
            double a2 = std::atan2((double)last.y - q2.y, (double)last.x - q2.x);
            if (std::fabs(a2 - a1) < kQuarterPi) return;
        }
        for (int32_t k = 1; k < n && design->RenderStep(); ++k) Add(Along(last, d, k, n));
        Add(q);
    }

    // Sews the arc from point i - 1 through point i to point i + 1.
    void Arc(int i) const
    {
        tagPOINT a = run.m_Points[(size_t)i - 1], m = run.m_Points[(size_t)i], b = run.m_Points[(size_t)i + 1];
        int32_t S = Length(i);
        tagPOINT o{};
        if (design->GetCenter(a, b, m, o)) {
            // Three points on a line: sew them as two straight stretches.
            Straight(i);
            Straight(i + 1);
            return;
        }
        double r = Dist(a, o);
        double a0 = std::atan2((double)a.y - o.y, (double)a.x - o.x);
        double a2 = std::atan2((double)b.y - o.y, (double)b.x - o.x);
        double a1 = std::atan2((double)m.y - o.y, (double)m.x - o.x);
        double sweep = a2 - a0;
        if (sweep < 0) sweep += kTwoPi;
        int32_t arc = Trunc32(sweep * r);
        int32_t steps = arc / S;
        double dA = sweep / ((int64_t)steps + 1);
        if ((a2 < a1 || a1 < a0) && ((a1 <= a0 && a2 <= a1) || a0 < a2)) {
            // The middle point lies the other way round: the length is the rest of the circle,
            // the sweep the difference brought into -pi..pi. A clockwise arc of more than half
            // a circle is thus sewn the short way round, on the far side from its middle point;
            // designs were digitized and sewn that way, so it is kept.
            arc = Clamp32(-(int64_t)arc - Trunc32(r * -kTwoPi));
            sweep = a2 - a0;
            if (sweep > kPi) sweep -= kTwoPi;
            if (sweep < -kPi) sweep += kTwoPi;
            steps = arc / S;
            dA = sweep / ((int64_t)steps + 1);
        }
        double angle = a0;
        for (int64_t walked = 0; walked + S < arc && design->RenderStep();) {
            angle += dA;
            walked += S;
            Add(tagPOINT{Clamp32((int64_t)o.x + Trunc32(std::cos(angle) * r)),
                         Clamp32((int64_t)o.y + Trunc32(std::sin(angle) * r))});
        }
        Add(b);
    }
};

} // namespace

int CRunStitch::RendorStitches(CCndObject* pDesign)
{
    int32_t count = (int32_t)std::min<int64_t>(m_nPoints, (int64_t)std::min({m_Points.size(), m_Kinds.size(), m_Lengths.size()}));
    if (count <= 0) return 1;
    bool jump = pDesign->CurrentMode(CCndObject::kJumpMode) != 0;
    SpecStTypes type = jump ? SpecStJump : pDesign->CurrentMode(CCndObject::kTripleMode) ? SpecStTriple : SpecStNormal;
    RunSewer sewer{pDesign, *this, count, type};
    sewer.Add(m_Points[0]);
    for (int i = 1; i < count && pDesign->RenderStep(); ++i) {
        if (jump) {
            // Nothing is sewn; the needle is only moved, so the next stitch follows a trim.
            sewer.Add(m_Points[(size_t)i]);
        } else if (m_Kinds[(size_t)i] == 0) {
            sewer.Straight(i);
        } else if (m_Kinds[(size_t)i] == 1 && i + 1 < count) {
            sewer.Arc(i);
            ++i;
        }
    }
    return 1;
}
