// The run, satin and fill generators, point for point. Expected points of arcs and of the
// irregular fill were worked out independently of this code from the same formulas.
#include "cnd_render_util.h"

#include <chrono>
#include <cmath>
#include <set>

using namespace cndtest;

namespace {

Pts Concat(Pts a, const Pts& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct RunPoint {
    tagPOINT pt;
    int kind = 0;
    int length = 380;
};

std::unique_ptr<CRunStitch> MakeRun(const std::vector<RunPoint>& pts)
{
    auto r = std::make_unique<CRunStitch>();
    for (const RunPoint& p : pts) r->AddPoint(p.pt, p.kind, (int16_t)p.length);
    return r;
}

struct Segment {
    tagPOINT a, b, ea, eb;
    int density = 400;
    bool arc = false;
    tagPOINT ma{}, mb{};
};

std::unique_ptr<CSatinStitch> Satin(const std::vector<Segment>& segs)
{
    auto s = std::make_unique<CSatinStitch>();
    s->SetCapacity((int32_t)segs.size());
    s->m_nSegments = (int32_t)segs.size();
    for (size_t i = 0; i < segs.size(); ++i) {
        s->m_StartA[i] = segs[i].a;
        s->m_StartB[i] = segs[i].b;
        s->m_EndA[i] = segs[i].ea;
        s->m_EndB[i] = segs[i].eb;
        s->m_MiddleA[i] = segs[i].ma;
        s->m_MiddleB[i] = segs[i].mb;
        s->m_Densities[i] = (int16_t)segs[i].density;
        s->m_ArcFlags[i] = segs[i].arc;
    }
    return s;
}

std::unique_ptr<CFillStitch> Fill(std::vector<tagPOINT> frame, int spacing, int angle, int length, int type,
                                  const Pts& outlineA = {}, const Pts& outlineB = {})
{
    auto f = std::make_unique<CFillStitch>();
    for (size_t i = 0; i < 5; ++i) f->m_Frame[i] = frame[i];
    f->m_nSpacing = (int16_t)spacing;
    f->m_nAngle = (int16_t)angle;
    f->m_nStitchLength = (int16_t)length;
    f->m_nFillType = (int16_t)type;
    for (const auto& p : outlineA) f->AddMod23Pt(p);
    for (const auto& p : outlineB) f->AddMod41Pt(p);
    return f;
}

const std::vector<tagPOINT> kSquare = {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}, {0, 0}};

class CndRender : public RenderFixture {
protected:
    Pts Render(CEmbData& e)
    {
        CCndObject d;
        EXPECT_EQ(1, e.RendorStitches(&d));
        return Points(d);
    }
};

// A run's points and the stitches it must make.
struct RunCase {
    const char* what;
    std::vector<RunPoint> pts;
    Pts expected;
};

} // namespace

// ---- runs

TEST_F(CndRender, RunStraightStretches)
{
    RunCase cases[] = {
        {"one point", {{{70, 80}}}, {{70, 80}}},
        {"1000 at 380: n = 2, stitches of 500", {{{0, 0}}, {{1000, 0}}}, {{0, 0}, {500, 0}, {1000, 0}}},
        {"1140 at 380: n = 3", {{{0, 0}}, {{0, 1140}}}, {{0, 0}, {0, 380}, {0, 760}, {0, 1140}}},
        {"equal integer steps from the start of the stretch",
         {{{10, 10}}, {{-990, 10 + 7}, 0, 200}},
         {{10, 10}, {-190, 11}, {-390, 12}, {-590, 14}, {-790, 15}, {-990, 17}}},
        {"a point on the needle adds nothing", {{{5, 5}}, {{5, 5}}, {{5, 105}}}, {{5, 5}, {5, 105}}},
        {"a short stretch that hardly turns is dropped",
         {{{0, 0}}, {{30, 0}}, {{100, -10}}},
         {{0, 0}, {100, -10}}},
        {"a short stretch that turns is sewn", {{{0, 0}}, {{0, 30}}, {{100, 30}}}, {{0, 0}, {0, 30}, {100, 30}}},
        {"a short last stretch is sewn", {{{0, 0}}, {{30, 0}}}, {{0, 0}, {30, 0}}},
        {"directions across the -x axis are not wrapped", // pi and -pi + 0.01 differ by 2pi
         {{{0, 0}}, {{30, 0}}, {{100, 1}}},
         {{0, 0}, {30, 0}, {100, 1}}},
        {"a stitch length of 0 counts as 380", {{{0, 0}}, {{1140, 0}, 0, 0}}, {{0, 0}, {380, 0}, {760, 0}, {1140, 0}}},
    };
    for (const RunCase& c : cases) {
        auto run = MakeRun(c.pts);
        EXPECT_EQ(Show(c.expected), Show(Render(*run))) << c.what;
    }
}

TEST_F(CndRender, RunArcs)
{
    RunCase cases[] = {
        {"counter-clockwise, off-centre",
         {{{1200, -300}}, {{200, 900}, 1, 250}, {{-700, -100}}},
         {{1200, -300}, {1229, -65}, {1201, 168}, {1117, 389}, {983, 582}, {805, 737}, {594, 845}, {365, 898},
          {130, 894}, {-98, 833}, {-305, 718}, {-477, 556}, {-605, 358}, {-681, 135}, {-700, -100}}},
        {"clockwise half circle",
         {{{1000, 0}}, {{0, -1000}, 1}, {{-1000, 0}}},
         {{1000, 0}, {939, -342}, {766, -642}, {500, -866}, {173, -984}, {-173, -984}, {-499, -866}, {-766, -642},
          {-939, -342}, {-1000, 0}}},
        // Clockwise through more than half a circle: the length is the rest of the circle, but
        // the sweep is brought into -pi..pi, so the stitches go the short way round, on the far
        // side from the middle point (as these designs have always been sewn).
        {"clockwise, more than half a circle",
         {{{-700, -100}}, {{200, 900}, 1, 250}, {{1200, -300}}},
         {{-700, -100}, {-672, -294}, {-605, -479}, {-503, -646}, {-369, -789}, {-208, -902}, {-29, -981},
          {164, -1021}, {359, -1022}, {551, -982}, {732, -905}, {893, -793}, {1028, -650}, {1131, -484},
          {1200, -300}}},
        {"collinear: middle point, then end point, as straight stretches",
         {{{0, 0}}, {{500, 0}, 1}, {{1000, 0}}},
         {{0, 0}, {500, 0}, {1000, 0}}},
        {"an arc point with no point after it is skipped", {{{0, 0}}, {{0, 1000}}, {{500, 500}, 1}}, {{0, 0}, {0, 500}, {0, 1000}}},
        {"the run goes on from the arc's end",
         {{{1000, 0}}, {{0, -1000}, 1, 3000}, {{-1000, 0}}, {{-1000, 300}}},
         {{1000, 0}, {0, -1000}, {-1000, 0}, {-1000, 300}}},
    };
    for (const RunCase& c : cases) {
        auto run = MakeRun(c.pts);
        EXPECT_EQ(Show(c.expected), Show(Render(*run))) << c.what;
    }
}

TEST_F(CndRender, RunModes)
{
    // Triple mode sews every stitch forward, back and forward, from the first one on.
    CCndObject d;
    d.CurrentMode(CCndObject::kTripleMode) = 1;
    auto run = MakeRun({{{0, 0}}, {{0, 1000}}});
    run->RendorStitches(&d);
    EXPECT_EQ(Show({{0, 0}, {0, 0}, {0, 0}, {0, 500}, {0, 0}, {0, 500}, {0, 1000}, {0, 500}, {0, 1000}}),
              Show(Points(d)));

    // Jump mode (which wins over triple) sews nothing, moves the needle, and the next stitch
    // stored follows a trim.
    d.CurrentMode(CCndObject::kJumpMode) = 1;
    auto jump = MakeRun({{{5000, 5000}}, {{7000, 7000}}, {{0, 0}, 1}, {{9000, 100}}});
    jump->RendorStitches(&d);
    EXPECT_EQ(9, d.GetNoStitches());
    EXPECT_EQ(9000, d.m_ptLastStitch.x);
    d.CurrentMode(CCndObject::kJumpMode) = d.CurrentMode(CCndObject::kTripleMode) = 0;
    auto after = MakeRun({{{9000, 100}}, {{9000, 200}}});
    after->RendorStitches(&d);
    ASSERT_EQ(11, d.GetNoStitches());
    EXPECT_EQ(3, d.GetStitchType()[9]);
    EXPECT_EQ(0, d.GetStitchType()[10]);
}

TEST_F(CndRender, ModesComeFromTheElementListWhenTheDesignRenders)
{
    CCndObject d;
    d.AppendElement(MakeRun({{{0, 0}}, {{100, 0}}}).release());
    d.AppendElement(new CSpecialStitch(SpecStJump, 1));
    d.AppendElement(MakeRun({{{3000, 0}}}).release());
    d.AppendElement(new CColorChange(5, 0));
    d.AppendElement(new CSpecialStitch(SpecStNormal, 1));
    d.AppendElement(MakeRun({{{3000, 100}}, {{3000, 200}}}).release());
    d.AppendElement(new CSpecialStitch(SpecStTriple, 1));
    d.AppendElement(MakeRun({{{3000, 300}}}).release());
    EXPECT_EQ(1, d.RendorStitches(0));
    EXPECT_EQ(Show({{0, 0}, {100, 0}, {3000, 100}, {3000, 200}, {3000, 300}, {3000, 200}, {3000, 300}}),
              Show(Points(d)));
    EXPECT_EQ(3, d.GetStitchType()[2]);
    EXPECT_EQ(2, d.GetNoColors());
    EXPECT_EQ(2, d.GetColorData()[1].nStitch);
}

TEST_F(CndRender, RenderingStopsAtTheStitchLimit)
{
    // A stretch of 20 km at 0.01 mm and an arc of the same size: each would make two billion
    // stitches; rendering stops at the limit, quickly.
    for (auto pts : {std::vector<RunPoint>{{{0, 0}}, {{2000000000, 0}, 0, 1}},
                     std::vector<RunPoint>{{{1000000000, 0}}, {{0, 1000000000}, 1, 1}, {{-1000000000, 0}}}}) {
        testutil::MessageCapture boxes;
        SetMessageBoxesSynchronous(true);
        auto start = std::chrono::steady_clock::now();
        CCndObject d;
        d.AppendElement(MakeRun(pts).release());
        d.AppendElement(MakeRun({{{0, 0}}, {{5, 5}}}).release());
        EXPECT_EQ(0, d.RendorStitches(0));
        EXPECT_TRUE(d.IsRenderFull());
        EXPECT_LE(d.GetNoStitches(), CCndObject::kMaxRenderedStitches);
        EXPECT_GE(d.GetNoStitches(), CCndObject::kMaxRenderedStitches - 3);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        EXPECT_EQ(KW_ERR_NO_MEMORY, GetSetup()->m_nLastError);
        ASSERT_EQ(1u, boxes.Texts().size());
        EXPECT_EQ("Cannot allocate enough memory to process file.", boxes.Texts()[0]);
        SetMessageBoxesSynchronous(false);
    }
}

TEST_F(CndRender, StepsThatSewNothingCountTowardsTheLimit)
{
    // Both sides of this fill run through the same outline point, so two billion rows (at a
    // spacing of 0, which counts as 1) lie on one line and sew nothing. Rendering stops.
    testutil::MessageCapture boxes;
    SetMessageBoxesSynchronous(true);
    const int far = 2000000000;
    CCndObject d;
    d.AppendElement(Fill({{0, 0}, {0, 0}, {100, far}, {0, far}, {0, 0}}, 0, 300, 380, 2, {{50, far - 10}},
                         {{50, far - 10}})
                        .release());
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, d.RendorStitches(0));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_TRUE(d.IsRenderFull());
    EXPECT_EQ(KW_ERR_NO_MEMORY, GetSetup()->m_nLastError);
    EXPECT_EQ(1u, boxes.Texts().size());
    SetMessageBoxesSynchronous(false);
}

// ---- satins

TEST_F(CndRender, SatinStraightSegment)
{
    // Width 300, density 400: spacing 40; crossings at 40 and 80 (the loop stops when 20 or
    // less remains), then the end pair.
    auto satin = Satin({{{0, 0}, {0, 300}, {100, 0}, {100, 300}}});
    Pts start{{0, 0}, {0, 300}}, crossings{{40, 0}, {40, 300}, {80, 0}, {80, 300}};
    EXPECT_EQ(Show(Concat(Concat(start, crossings), {{100, 0}, {100, 300}})), Show(Render(*satin)));

    // Lettering: until nothing remains (the last crossing overshoots by the spacing), and no
    // closing crossing.
    bLettering = 1;
    EXPECT_EQ(Show(Concat(Concat(start, crossings), {{120, 0}, {120, 300}})), Show(Render(*satin)));
    bLettering = 0;

    // Rails of different lengths reach their ends together; the end pair is left out when the
    // last crossing ends within 20 of it.
    auto slanted = Satin({{{0, 0}, {0, 300}, {200, 0}, {100, 300}, 400}});
    EXPECT_EQ(Show({{0, 0}, {0, 300}, {40, 0}, {20, 300}, {80, 0}, {40, 300}, {120, 0}, {60, 300}, {160, 0},
                    {80, 300}, {200, 0}, {100, 300}}),
              Show(Render(*slanted)));
}

TEST_F(CndRender, SatinLaterSegmentEntry)
{
    Segment first{{0, 0}, {0, 300}, {100, 0}, {100, 300}};
    Pts firstStitches{{0, 0}, {0, 300}, {40, 0}, {40, 300}, {80, 0}, {80, 300}, {100, 0}, {100, 300}};
    // The needle ends at (100, 300). A start A 50 away: travel to B (only in wide columns),
    // no crossing.
    Segment away{{100, 250}, {100, 600}, {200, 250}, {200, 600}};
    Pts awayCrossings{{140, 250}, {140, 600}, {180, 250}, {180, 600}, {200, 250}, {200, 600}};
    auto narrow = Satin({first, away});
    EXPECT_EQ(Show(Concat(firstStitches, awayCrossings)), Show(Render(*narrow)));
    bForceFill = 1;
    EXPECT_EQ(Show(Concat(Concat(firstStitches, {{100, 600}}), awayCrossings)), Show(Render(*narrow)));
    bForceFill = 0;

    // A start A at the needle with B away: the start pair is crossed.
    Segment fromNeedle{{100, 300}, {100, 650}, {200, 300}, {200, 650}};
    auto crossed = Satin({first, fromNeedle});
    EXPECT_EQ(Show(Concat(firstStitches, {{100, 300}, {100, 650}, {140, 300}, {140, 650}, {180, 300}, {180, 650},
                                          {200, 300}, {200, 650}})),
              Show(Render(*crossed)));
    // A segment that shares the end pair: the travel to its B, where the needle is, adds
    // nothing.
    Segment shared{{100, 0}, {100, 300}, {200, 0}, {200, 300}};
    auto joined = Satin({first, shared});
    EXPECT_EQ(Show(Concat(firstStitches, {{140, 0}, {140, 300}, {180, 0}, {180, 300}, {200, 0}, {200, 300}})),
              Show(Render(*joined)));
}

namespace {

double LongestStep(const Pts& p)
{
    double m = 0;
    for (size_t i = 1; i < p.size(); ++i) m = std::max(m, std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y));
    return m;
}

} // namespace

TEST_F(CndRender, WideColumnsCutLongStitchesWithCorastitch)
{
    Corastitch(1);
    // A column 1200 wide at its start is wide in every segment, even where it narrows to
    // 500: its crossings are cut into pieces of 380 (give or take the truncation of the
    // points to whole units).
    auto wideStart = Satin({{{0, 0}, {0, 1200}, {200, 0}, {200, 500}}, {{200, 0}, {200, 500}, {600, 0}, {600, 500}}});
    EXPECT_LT(LongestStep(Render(*wideStart)), 383);
    auto narrow = Satin({{{0, 0}, {0, 900}, {200, 0}, {200, 500}}, {{200, 0}, {200, 500}, {600, 0}, {600, 500}}});
    bLongSatins = 0;
    EXPECT_GE(LongestStep(Render(*narrow)), 500);
    bForceFill = 1;
    EXPECT_LT(LongestStep(Render(*narrow)), 383);
    EXPECT_EQ(0, bLongSatins);

    // A crossing longer than 10 mm marks the design as having long satins, with or without
    // Corastitch.
    for (int cora : {1, 0}) {
        Corastitch(cora);
        bLongSatins = 0;
        auto longOne = Satin({{{0, 0}, {0, 1001}, {100, 0}, {100, 1001}}});
        Render(*longOne);
        EXPECT_EQ(1, bLongSatins);
    }
}

TEST_F(CndRender, SatinArcSegments)
{
    // Rail A is straight (no circle through its points), rail B an arc; the last crossing
    // overshoots on the straight rail, as the walked length passes the arc length.
    Segment s{{0, 0}, {0, 300}, {1000, 0}, {1000, 300}, 420, true, {500, 0}, {500, 500}};
    auto satin = Satin({s});
    Pts expected{{0, 0}, {0, 300}, {38, 0}, {31, 327}, {76, 0}, {63, 352}, {114, 0}, {96, 376}, {152, 0},
                 {131, 398}, {190, 0}, {166, 418}, {228, 0}, {203, 436}, {266, 0}, {241, 451}, {304, 0},
                 {279, 465}, {342, 0}, {319, 476}, {380, 0}, {358, 485}, {418, 0}, {399, 492}, {456, 0},
                 {439, 497}, {495, 0}, {480, 499}, {533, 0}, {520, 499}, {571, 0}, {561, 497}, {609, 0},
                 {601, 492}, {647, 0}, {642, 485}, {685, 0}, {681, 476}, {723, 0}, {721, 465}, {761, 0},
                 {759, 451}, {799, 0}, {797, 436}, {837, 0}, {834, 418}, {875, 0}, {869, 398}, {913, 0},
                 {904, 376}, {951, 0}, {937, 352}, {990, 0}, {969, 327}, {1028, 0}, {1000, 299}};
    EXPECT_EQ(Show(expected), Show(Render(*satin)));

    // Two concentric half circles: 98 crossings, both rails on their circles, ending on the
    // end pair (so no closing crossing).
    auto ring = Satin({{{1000, 0}, {1300, 0}, {-1000, 0}, {-1300, 0}, 420, true, {0, 1000}, {0, 1300}}});
    Pts p = Render(*ring);
    ASSERT_EQ(2u + 98 * 2, p.size());
    EXPECT_EQ(Show({{999, 32}, {1299, 41}}), Show({p[2], p[3]}));
    EXPECT_EQ(Show({{0, 1000}, {0, 1300}}), Show({p[2 + 48 * 2], p[3 + 48 * 2]}));
    EXPECT_EQ(Show({{-1000, 0}, {-1300, 0}}), Show({p[p.size() - 2], p.back()}));

    // An arc of length 0 makes no crossing.
    auto point = Satin({{{0, 0}, {0, 0}, {0, 0}, {0, 0}, 420, true, {0, 0}, {0, 0}}});
    EXPECT_EQ(Show({{0, 0}, {0, 0}}), Show(Render(*point)));
}

TEST_F(CndRender, ArcSweepAndLength)
{
    CSatinStitch s;
    struct Case {
        tagPOINT p1, p2, p3, c;
        double sweep, start;
    } cases[] = {
        {{1000, 0}, {0, 1000}, {-1000, 0}, {0, 0}, 3.14159265358979, 0},                    // through the top
        {{1000, 0}, {0, -1000}, {-1000, 0}, {0, 0}, -3.14159265358979, 0},                  // through the bottom
        {{-707, 707}, {-1000, 0}, {-707, -707}, {0, 0}, 6.283185307 - 3 * 3.14159265358979 / 2, 2.35619449},
        {{-707, -707}, {-1000, 0}, {-707, 707}, {0, 0}, -6.283185307 + 3 * 3.14159265358979 / 2, -2.35619449},
    };
    for (const Case& c : cases) {
        double sweep = 0, radius = 0, start = 0;
        EXPECT_EQ(1, s.FixupAngle(c.p1, c.p2, c.p3, c.c, sweep, radius, start));
        EXPECT_NEAR(c.sweep, sweep, 1e-6);
        EXPECT_NEAR(c.start, start, 1e-6);
        EXPECT_NEAR(std::hypot(c.p1.x, c.p1.y), radius, 1e-9);
    }
    tagPOINT diff{};
    EXPECT_DOUBLE_EQ(5.0, s.GetLength({1, 1}, {4, -3}, diff));
    EXPECT_EQ(Show({{3, -4}}), Show({diff}));
}

TEST_F(CndRender, SatinSpacingNeverStalls)
{
    // A density value this large makes the spacing 0; it counts as 1 and the column ends.
    CCndObject d;
    d.m_nDensity = 32767;
    auto satin = Satin({{{0, 0}, {0, 500}, {100, 0}, {100, 500}, 300}});
    EXPECT_EQ(1, satin->RendorStitches(&d));
    EXPECT_EQ(2 + 80 * 2 + 2, d.GetNoStitches());
}

// ---- fills

TEST_F(CndRender, FillRowsOfASquare)
{
    // Spacing 420 at density value 1000: rows 23 apart, 1000 / 23 = 43 rows (odd already).
    auto fill = Fill(kSquare, 420, 300, 380, 2);
    Pts p = Render(*fill);
    // Row 0 lies on the near edge, from the P0 side to the P1 side; row 1 runs back.
    // Type 2 at 3 degrees: offset step trunc(cos 3deg x 2 x 23) = 45.
    EXPECT_EQ(Show({{168, 0}, {568, 0}, {948, 0}, {1000, 0}, {760, 23}, {360, 23}, {0, 23}}),
              Show(Pts(p.begin(), p.begin() + 7)));
    std::set<int> rows;
    for (const auto& q : p) rows.insert(q.y);
    EXPECT_EQ(43u, rows.size());
    EXPECT_EQ(0, *rows.begin());
    EXPECT_EQ(42 * 1000 / 43, *rows.rbegin()); // one row short of the far edge
    EXPECT_EQ(151u, p.size());

    // Density value 500: rows 47 apart, 21 rows.
    CCndObject d;
    d.m_nDensity = 500;
    fill->RendorStitches(&d);
    rows.clear();
    for (const auto& q : Points(d)) rows.insert(q.y);
    EXPECT_EQ(21u, rows.size());

    // A frame closed on P3 makes the count even: 44 rows.
    std::vector<tagPOINT> closed = kSquare;
    closed[4] = closed[3];
    auto even = Fill(closed, 420, 300, 380, 2);
    rows.clear();
    for (const auto& q : Render(*even)) rows.insert(q.y);
    EXPECT_EQ(44u, rows.size());
}

TEST_F(CndRender, FillTypeOneKeepsEveryRowInPhase)
{
    auto fill = Fill(kSquare, 420, 300, 380, 1);
    Pts p = Render(*fill);
    EXPECT_EQ(Show({{380, 0}, {780, 0}, {1000, 0}, {760, 23}, {360, 23}, {0, 23}, {380, 46}}),
              Show(Pts(p.begin(), p.begin() + 7)));
    EXPECT_EQ(129u, p.size());
    // Fill type, stitch length and density value of 0 count as 1, 380 and 1000.
    auto zeros = Fill(kSquare, 420, 300, 0, 0);
    CCndObject d;
    d.m_nDensity = 0;
    zeros->RendorStitches(&d);
    EXPECT_EQ(Show(p), Show(Points(d)));
}

TEST_F(CndRender, FillWithOutlines)
{
    // An irregular frame with both outlines; the third point of outline B would turn its side
    // back and is moved in the element itself.
    auto fill = Fill({{0, 0}, {1200, 100}, {1000, 900}, {100, 1000}, {0, 0}}, 840, 900, 380, 4,
                     {{1250, 300}, {1240, 500}, {1150, 700}}, {{50, 800}, {-60, 500}, {-40, 700}, {-30, 200}});
    Pts expected{{238, 19}, {636, 53}, {1015, 84}, {1200, 100}, {1036, 123}, {637, 95}, {258, 67}, {-7, 48},
                 {328, 117}, {727, 141}, {1107, 164}, {1217, 171}, {1128, 203}, {728, 183}, {348, 165},
                 {-21, 146}, {223, 203}, {623, 219}, {1003, 234}, {1235, 243}, {1022, 273}, {622, 261},
                 {242, 250}, {-30, 242}, {313, 296}, {713, 304}, {1093, 311}, {1250, 315}, {1112, 352},
                 {712, 348}, {332, 343}, {-28, 339}, {217, 386}, {617, 388}, {997, 389}, {1246, 390},
                 {1006, 429}, {606, 431}, {226, 432}, {-26, 434}, {327, 478}, {727, 473}, {1107, 467},
                 {1242, 465}, {1096, 506}, {696, 515}, {316, 524}, {-48, 533}, {225, 572}, {625, 560},
                 {1005, 548}, {1222, 541}, {990, 588}, {590, 603}, {210, 617}, {-14, 626}, {18, 672},
                 {418, 654}, {798, 637}, {1178, 620}, {1187, 619}, {1080, 662}, {680, 683}, {300, 703},
                 {20, 718}, {376, 744}, {775, 719}, {1152, 696}, {973, 747}, {574, 774}, {194, 801},
                 {52, 811}, {156, 850}, {555, 819}, {934, 790}, {1092, 777}, {1061, 818}, {662, 853},
                 {283, 886}, {76, 905}, {114, 950}, {513, 910}, {891, 872}, {1031, 858}};
    EXPECT_EQ(Show(expected), Show(Render(*fill)));
    EXPECT_EQ(Show({{50, 800}, {-60, 500}, {-24, 495}, {-30, 200}}), Show(Pts(fill->m_OutlineB.begin(), fill->m_OutlineB.begin() + 4)));
    EXPECT_EQ(Show({{1250, 300}, {1240, 500}, {1150, 700}}), Show(Pts(fill->m_OutlineA.begin(), fill->m_OutlineA.begin() + 3)));

    CCndObject::s_nFillRowStagger = 0;
    // A leading point below the near edge starts its side and keeps its own height (-50):
    // row 1 ends at (-87, 23), on the line from it to the next outline point.
    auto below = Fill(kSquare, 420, 450, 380, 2, {}, {{0, 500}, {-100, -50}});
    Pts p = Render(*below);
    EXPECT_EQ(Show({{168, 0}, {568, 0}, {948, 0}, {1000, 0}, {760, 23}, {360, 23}, {-20, 23}, {-87, 23}}),
              Show(Pts(p.begin(), p.begin() + 8)));
}

TEST_F(CndRender, DegenerateFills)
{
    // A far edge along the near edge's normal never meets it: 0, no stitches.
    auto parallel = Fill({{0, 0}, {1000, 0}, {0, 2000}, {0, 1000}, {0, 0}}, 420, 300, 380, 2);
    CCndObject d;
    EXPECT_EQ(0, parallel->RendorStitches(&d));
    EXPECT_EQ(0, d.GetNoStitches());
    // Closed on P3 and lower than one row: no rows, 1.
    auto flat = Fill({{0, 0}, {1000, 0}, {1000, 10}, {0, 10}, {0, 10}}, 420, 300, 380, 2);
    EXPECT_EQ(1, flat->RendorStitches(&d));
    EXPECT_EQ(0, d.GetNoStitches());
    // A spacing of 0 counts as 1: 1001 rows, and the fill ends.
    auto dense = Fill(kSquare, 0, 300, 380, 2);
    EXPECT_EQ(1, dense->RendorStitches(&d));
    EXPECT_GT(d.GetNoStitches(), 3000);
}
