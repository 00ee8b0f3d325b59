// The condensed design's accumulation operations and shared geometry, on worked values.
#include "cnd_render_util.h"

using namespace cndtest;

namespace {

class CndGeometry : public RenderFixture {
protected:
    // Places the needle without leaving a stitch behind.
    void MoveNeedle(tagPOINT p) { m_Design.m_ptLastStitch = p; }

    CCndObject m_Design;
};

} // namespace

TEST_F(CndGeometry, SlidingDensityFollowsWidthTableAndDensityValue)
{
    struct Case {
        int width, density, scale, value, expected;
    } cases[] = {
        {30, 400, 1000, 1000, 53},   // the table wins over 40
        {500, 600, 1000, 1000, 60},  // wider than 4 mm: the density wins over 32
        {300, 400, 1000, 1000, 40},
        {300, 400, 500, 1000, 43},   // scale length halved: T(30) * 40 / T(60) = 35 * 40 / 32
        {250, 420, 2000, 1000, 38},  // T(25) * 42 / T(12) = 38 * 42 / 48 = 33: the table's 38 wins
        {500, 600, 1000, 500, 120},  // a density value of 500 sews half as dense
        {500, 600, 0, 1000, 60},     // a scale length of 0 counts as 1000
        {500, 600, 1000, 0, 60},     // so does a density value of 0
        {500, 600, 1000, -7, 60},
    };
    for (const Case& c : cases) {
        m_Design.m_nDensity = (int16_t)c.value;
        EXPECT_EQ(c.expected, m_Design.GetSlidingDensity(c.width, c.density, c.scale))
            << c.width << " " << c.density << " " << c.scale << " " << c.value;
    }
}

TEST_F(CndGeometry, InterceptPoint)
{
    tagPOINT out{};
    // Two upright directions: parallel, out = q.
    EXPECT_EQ(1, m_Design.GetInterceptPoint({0, 0}, {0, 100}, {50, 7}, {0, -30}, out));
    EXPECT_EQ(Show({{50, 7}}), Show({out}));
    // Parallel once truncated to whole 0.1 mm: (19, 9) and (15, 3) both read as (10, 0).
    EXPECT_EQ(1, m_Design.GetInterceptPoint({0, 0}, {19, 9}, {0, 100}, {15, 3}, out));
    EXPECT_EQ(Show({{0, 100}}), Show({out}));
    // A direction that truncates to upright is never parallel; the crossing itself uses the
    // directions as given: lines x = 5y/100 and x = 20 + 7y/100 meet at y = -1000.
    EXPECT_EQ(0, m_Design.GetInterceptPoint({0, 0}, {5, 100}, {20, 0}, {7, 100}, out));
    EXPECT_EQ(Show({{-50, -1000}}), Show({out}));
    // A zero direction: no crossing, out = p.
    EXPECT_EQ(1, m_Design.GetInterceptPoint({3, 4}, {5, 5}, {9, 9}, {0, 0}, out));
    EXPECT_EQ(Show({{3, 4}}), Show({out}));
    // Worked value: the foot of (50, -100) on the x axis.
    EXPECT_EQ(0, m_Design.GetInterceptPoint({0, 0}, {100, 0}, {50, -100}, {0, 10}, out));
    EXPECT_EQ(Show({{50, 0}}), Show({out}));
    // Each offset from q is truncated before it is added: the crossing (7.5, 5) is q plus
    // (-2.5, -5), which becomes (8, 5), not (7, 5).
    EXPECT_EQ(0, m_Design.GetInterceptPoint({0, 5}, {2, 0}, {10, 10}, {2, 4}, out));
    EXPECT_EQ(Show({{8, 5}}), Show({out}));
}

TEST_F(CndGeometry, CenterOfCircle)
{
    tagPOINT out{};
    EXPECT_EQ(0, m_Design.GetCenter({0, 0}, {200, 0}, {100, 100}, out));
    EXPECT_EQ(Show({{100, 0}}), Show({out}));
    EXPECT_EQ(0, m_Design.GetCenter({1000, 0}, {-1000, 0}, {0, 1000}, out));
    EXPECT_EQ(Show({{0, 0}}), Show({out}));
    // A centre off the grid is truncated.
    EXPECT_EQ(0, m_Design.GetCenter({1200, -300}, {-700, -100}, {200, 900}, out));
    EXPECT_EQ(Show({{264, -62}}), Show({out}));
    // Degenerate cases give (a.y, a.x) x 20000 with a = p1 - p0.
    EXPECT_EQ(1, m_Design.GetCenter({0, 0}, {1000, 2}, {500, 1}, out)); // collinear
    EXPECT_EQ(Show({{40000, 20000000}}), Show({out}));
    EXPECT_EQ(1, m_Design.GetCenter({5, 0}, {5, 100}, {5, 40}, out)); // both upright
    EXPECT_EQ(Show({{2000000, 0}}), Show({out}));
    // Integer halves can make the bisectors meet nowhere: (0,0), (-3,0), (0,1).
    EXPECT_EQ(1, m_Design.GetCenter({0, 0}, {-3, 0}, {0, 1}, out));
    EXPECT_EQ(Show({{0, -60000}}), Show({out}));
}

TEST_F(CndGeometry, PointOnCurveAndBetweenLines)
{
    const tagPOINT curve[4] = {{0, 0}, {0, 100}, {100, 100}, {100, 0}};
    tagPOINT out{};
    struct {
        double t;
        tagPOINT expected;
    } cases[] = {{0, {0, 0}}, {0.5, {50, 75}}, {1, {100, 0}}, {0.1, {2, 27}}};
    for (auto& c : cases) {
        m_Design.GetPointOnCurve(curve, c.t, out);
        EXPECT_EQ(Show({c.expected}), Show({out})) << c.t;
    }

    // Between the lines y = 0 (a, b) and y = 100 (c, d).
    tagPOINT a{0, 0}, b{100, 0}, c{0, 100}, d{100, 100};
    EXPECT_EQ(1, m_Design.ValidPoint(a, b, c, d, 50, 50));
    EXPECT_EQ(1, m_Design.ValidPoint(a, b, c, d, 500, 99));
    EXPECT_EQ(0, m_Design.ValidPoint(a, b, c, d, 50, 150));
    EXPECT_EQ(0, m_Design.ValidPoint(a, b, c, d, 50, -10));
    // A line of one point bounds nothing.
    EXPECT_EQ(0, m_Design.ValidPoint(a, a, c, d, 50, 50));
    // A line cd along ab's normal meets it nowhere.
    EXPECT_EQ(0, m_Design.ValidPoint(a, b, {50, 0}, {50, 100}, 50, 50));
}

TEST_F(CndGeometry, SatinLineWithoutCorastitchSewsBothEnds)
{
    for (int flag : {0, 1}) {
        CCndObject d;
        d.AddSatinLine({0, 0}, {5000, 0}, flag);
        d.AddSatinLine({0, 10}, {20, 10}, flag);
        EXPECT_EQ(Show({{0, 0}, {5000, 0}, {0, 10}, {20, 10}}), Show(Points(d)));
    }
}

TEST_F(CndGeometry, SatinLineWithCorastitch)
{
    Corastitch(1);
    // Length 50: one penetration in the middle, only when it is more than 150 away.
    MoveNeedle({125, 100});
    m_Design.AddSatinLine({0, 0}, {50, 0}, 1);
    EXPECT_EQ(0, m_Design.GetNoStitches());
    MoveNeedle({25, 200});
    m_Design.AddSatinLine({0, 0}, {-51, 1}, 1); // the middle (-26, 0) is 206 away: halves round down
    EXPECT_EQ(Show({{-26, 0}}), Show(Points(m_Design)));

    // From 60 on both ends; long ones only with the flag are cut.
    CCndObject d;
    d.m_ptLastStitch = {0, 0};
    d.AddSatinLine({0, 0}, {60, 0}, 1);
    d.AddSatinLine({0, 0}, {1000, 0}, 0);
    d.AddSatinLine({0, 0}, {380, 0}, 1);
    EXPECT_EQ(Show({{0, 0}, {60, 0}, {0, 0}, {1000, 0}, {0, 0}, {380, 0}}), Show(Points(d)));
}

TEST_F(CndGeometry, LongSatinLinesAreCutWithAStaggeredFirstPiece)
{
    Corastitch(1);
    // The travel from the needle to p1 and the stitch p1 -> p2 are each cut; the counter
    // advances before each, so their first pieces run 190, 126, 95, 380, 190, ...
    MoveNeedle({0, -1000});
    m_Design.AddSatinLine({0, 0}, {1000, 0}, 1);
    EXPECT_EQ(Show({{0, -810}, {0, -430}, {0, -50}, {0, 0}, {126, 0}, {506, 0}, {886, 0}, {1000, 0}}),
              Show(Points(m_Design)));
    EXPECT_EQ(2, CCndObject::s_nSatinLineStagger);

    CCndObject d;
    d.AddSatinLine({0, 0}, {0, 1000}, 1); // no travel; the counter passes 3 and wraps to 0
    d.AddSatinLine({0, 1000}, {0, 0}, 1); // no travel; counter 2
    EXPECT_EQ(Show({{0, 0}, {0, 380}, {0, 760}, {0, 1000}, {0, 1000}, {0, 874}, {0, 494}, {0, 114}, {0, 0}}),
              Show(Points(d)));
    EXPECT_EQ(2, CCndObject::s_nSatinLineStagger);

    // A counter found outside its cycle starts again at 0.
    CCndObject::s_nSatinLineStagger = -5;
    CCndObject e;
    e.AddSatinLine({0, 0}, {0, 500}, 1);
    EXPECT_EQ(Show({{0, 0}, {0, 190}, {0, 500}}), Show(Points(e)));
}

TEST_F(CndGeometry, SatinReturn)
{
    // Nothing for short travels or narrow columns, the point itself up to 380, pieces
    // beyond (without the point).
    m_Design.AddSatinReturn({59, 0}, 1);
    m_Design.AddSatinReturn({1000, 0}, 0);
    EXPECT_EQ(0, m_Design.GetNoStitches());
    m_Design.AddSatinReturn({0, 380}, 1);
    EXPECT_EQ(Show({{0, 380}}), Show(Points(m_Design)));
    m_Design.AddSatinReturn({1000, 380}, 1); // counter 1: first piece 190
    EXPECT_EQ(Show({{0, 380}, {190, 380}, {570, 380}, {950, 380}}), Show(Points(m_Design)));
    EXPECT_EQ(1, CCndObject::s_nSatinReturnStagger);
    EXPECT_EQ(0, CCndObject::s_nSatinLineStagger);

    // With Corastitch on it does nothing at all.
    Corastitch(1);
    CCndObject d;
    d.AddSatinReturn({0, 380}, 1);
    d.AddSatinReturn({1000, 380}, 1);
    EXPECT_EQ(0, d.GetNoStitches());
    EXPECT_EQ(1, CCndObject::s_nSatinReturnStagger);
}

TEST_F(CndGeometry, FilledLineMeasuresFromTheReferenceLine)
{
    // Cycle 1: first = dist mod S in 1..S, then every S after a gap of 20, then the end.
    m_Design.AddFilledLine(0, 100, {0, 0}, {1000, 0}, 1, {0, 0}, {0, 100});
    EXPECT_EQ(Show({{100, 0}, {220, 0}, {320, 0}, {420, 0}, {520, 0}, {620, 0}, {720, 0}, {820, 0}, {920, 0},
                    {1000, 0}}),
              Show(Points(m_Design)));

    // Cycle 2, offset step 50: row counter 1 shifts by 50/2 + 100/2; 30 - 75 = -45 becomes 55.
    CCndObject d;
    d.AddFilledLine(50, 100, {30, 0}, {400, 0}, 2, {0, 0}, {0, 100});
    EXPECT_EQ(1, CCndObject::s_nFillRowStagger);
    // Counter 2 reaches the cycle: back to 0, first = 30 mod 100.
    d.AddFilledLine(50, 100, {30, 10}, {400, 10}, 2, {0, 0}, {0, 100});
    EXPECT_EQ(0, CCndObject::s_nFillRowStagger);
    EXPECT_EQ(Show({{85, 0}, {205, 0}, {305, 0}, {400, 0}, {60, 10}, {180, 10}, {280, 10}, {380, 10}, {400, 10}}),
              Show(Points(d)));

    // Rows shorter than a stitch sew their end only; empty rows nothing; the counter
    // moves only for rows that are measured.
    CCndObject e;
    e.AddFilledLine(50, 100, {0, 0}, {99, 0}, 2, {0, 0}, {0, 100});
    e.AddFilledLine(50, 100, {7, 7}, {7, 7}, 2, {0, 0}, {0, 100});
    EXPECT_EQ(Show({{99, 0}}), Show(Points(e)));
    EXPECT_EQ(0, CCndObject::s_nFillRowStagger);

    // A first penetration at or beyond the end leaves the end alone; a stitch length and
    // cycle of 0 count as 380 and 1.
    CCndObject f;
    f.AddFilledLine(0, 0, {300, 0}, {700, 0}, 0, {0, 0}, {0, 100}); // first 300 mod 380
    EXPECT_EQ(Show({{600, 0}, {700, 0}}), Show(Points(f)));
    CCndObject g;
    g.AddFilledLine(0, 300, {0, 5}, {300, 5}, 1, {0, 0}, {0, 100}); // first 300 = L
    EXPECT_EQ(Show({{300, 5}}), Show(Points(g)));
}
