#include "cnd_test_util.h"

#include "design/emb_object.h"
#include "design/exp_object.h"

#include <climits>
#include <cstring>

using namespace cndtest;

namespace {

CRunStitch* MakeRun()
{
    auto* r = new CRunStitch;
    r->m_szScale = tagSIZE{900, 1100};
    r->m_nRunLength = 250;
    r->m_nRunValue = -7;
    r->AddPoint(tagPOINT{-3, 4}, 0, 380, 40);
    r->AddPoint(tagPOINT{100, -200}, 1, 120);
    r->AddPoint(tagPOINT{INT32_MIN, INT32_MAX}, 0, -5);
    return r;
}

CSatinStitch* MakeSatin()
{
    auto* s = new CSatinStitch;
    s->SetCapacity(5);
    s->m_nScaleLength = 1414;
    for (int i = 0; i < 2; ++i) {
        s->m_Densities[(size_t)i] = (int16_t)(40 + i);
        s->m_StartA[(size_t)i] = tagPOINT{i, 1};
        s->m_StartB[(size_t)i] = tagPOINT{i, 2};
        s->m_MiddleA[(size_t)i] = tagPOINT{i, 3};
        s->m_EndA[(size_t)i] = tagPOINT{i, 4};
        s->m_EndB[(size_t)i] = tagPOINT{i, 5};
        s->m_MiddleB[(size_t)i] = tagPOINT{i, 6};
        s->m_ArcFlags[(size_t)i] = i;
    }
    s->m_nSegments = 2;
    return s;
}

CFillStitch* MakeFill()
{
    auto* f = new CFillStitch;
    f->m_nFillType = 3;
    f->m_nAngle = -4500;
    f->m_nSpacing = 47;
    f->m_nStitchLength = 400;
    f->m_nFillValue = 900;
    f->m_strName = "leaf";
    for (int i = 0; i < 5; ++i) f->m_Frame[i] = tagPOINT{i * 10, -i};
    for (int i = 0; i < 3; ++i) f->AddMod23Pt(i, 100 + i);
    f->AddMod41Pt(7, 8);
    return f;
}

// A design holding one element of every archived kind.
std::unique_ptr<CCndObject> DesignOfEveryKind()
{
    auto d = std::make_unique<CCndObject>();
    d->AppendElement(new CColorChange(-2, -9)); // colour 0xFFFE
    d->AppendElement(MakeFill());
    d->AppendElement(MakeRun());
    d->AppendElement(MakeSatin());
    d->AppendElement(new CSpecialStitch(SpecStCode8, 0));
    auto* fp = new CGFillStitchParms;
    fp->m_nValues[1] = 12;
    d->AppendElement(fp);
    auto* rp = new CGRunStitchParms;
    rp->m_nRunValue = 33;
    d->AppendElement(rp);
    auto* sp = new CGSatinStitchParms;
    sp->m_nSatinValue = 44;
    d->AppendElement(sp);
    return d;
}

std::vector<uint8_t> ElementBytes(CEmbData& e)
{
    return Store(e);
}

} // namespace

TEST(EmbData, ArchiveLayoutOfEachKind)
{
    // Tag, then the fields; the stored capacity is the count.
    std::unique_ptr<CRunStitch> run(MakeRun());
    ASSERT_EQ(40, run->GetCapacity());
    auto b = ElementBytes(*run);
    ASSERT_EQ(4u + 8 + 4 + 8 + 3 * 14, b.size());
    const uint8_t head[] = {3, 0, 0, 0, 0x84, 3, 0, 0, 0x4C, 4, 0, 0, 250, 0, 0xF9, 0xFF, 3, 0, 0, 0, 3, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(head, b.data(), sizeof head));
    const uint8_t first[] = {0xFD, 0xFF, 0xFF, 0xFF, 4, 0, 0, 0, 0, 0, 0, 0, 0x7C, 1};
    EXPECT_EQ(0, std::memcmp(first, b.data() + 24, sizeof first));

    std::unique_ptr<CSatinStitch> satin(MakeSatin());
    EXPECT_EQ(4u + 8 + 12 + 2 * 54, ElementBytes(*satin).size());
    std::unique_ptr<CFillStitch> fill(MakeFill());
    EXPECT_EQ(4u + 8 + 10 + 5 + 40 + 16 + 4 * 8, ElementBytes(*fill).size());
    CColorChange cc(5, -1);
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 0, 0, 5, 0, 0xFF, 0xFF, 0xFF, 0xFF}), ElementBytes(cc));
    CSpecialStitch sp(SpecStJump, 1);
    EXPECT_EQ((std::vector<uint8_t>{5, 0, 0, 0, 6, 0, 0, 0, 1, 0, 0, 0}), ElementBytes(sp));
    CGFillStitchParms fp;
    EXPECT_EQ((std::vector<uint8_t>{7, 0, 0, 0, 0xE8, 3, 0xE8, 3, 0xE8, 3}), ElementBytes(fp));
    CGRunStitchParms rp;
    EXPECT_EQ((std::vector<uint8_t>{8, 0, 0, 0, 0x7C, 1, 0xE8, 3}), ElementBytes(rp));
    CGSatinStitchParms ssp;
    EXPECT_EQ((std::vector<uint8_t>{9, 0, 0, 0, 0xE8, 3}), ElementBytes(ssp));
    // Complex fills are not archived at all.
    CComplexFillStitch cf;
    cf.AddBoundryPoint(0, 1, 2, 0);
    EXPECT_TRUE(ElementBytes(cf).empty());
}

TEST(EmbData, EveryKindSurvivesTheDesignArchive)
{
    auto d = DesignOfEveryKind();
    auto bytes = Store(*d);
    auto loaded = Load(bytes);
    CCndObject* c = AsCnd(loaded);
    ASSERT_TRUE(c);
    ASSERT_EQ(8, c->GetElementCount());
    EXPECT_EQ(bytes, Store(*c));

    auto* cc = dynamic_cast<CColorChange*>(c->GetElement(0));
    ASSERT_TRUE(cc);
    EXPECT_EQ(0xFFFE, cc->m_nColor);
    EXPECT_EQ(-9, cc->m_nExtra);
    auto* fill = dynamic_cast<CFillStitch*>(c->GetElement(1));
    ASSERT_TRUE(fill);
    EXPECT_EQ("leaf", fill->m_strName);
    EXPECT_EQ(-4500, fill->m_nAngle);
    EXPECT_EQ(3, fill->m_nOutlineA);
    EXPECT_EQ(tagPOINT({2, 102}), fill->m_OutlineA[2]);
    EXPECT_EQ(tagPOINT({40, -4}), fill->m_Frame[4]);
    auto* run = dynamic_cast<CRunStitch*>(c->GetElement(2));
    ASSERT_TRUE(run);
    EXPECT_EQ(3, run->GetCapacity()); // archived with the count as its capacity
    EXPECT_EQ(3, run->m_nPoints);
    EXPECT_EQ(tagPOINT({INT32_MIN, INT32_MAX}), run->m_Points[2]);
    EXPECT_EQ(1, run->m_Kinds[1]);
    EXPECT_EQ(-5, run->m_Lengths[2]);
    EXPECT_EQ(-7, run->m_nRunValue);
    EXPECT_EQ(900, run->m_szScale.cx);
    auto* satin = dynamic_cast<CSatinStitch*>(c->GetElement(3));
    ASSERT_TRUE(satin);
    EXPECT_EQ(2, satin->m_nSegments);
    EXPECT_EQ(2, satin->GetCapacity());
    EXPECT_EQ(tagPOINT({1, 6}), satin->m_MiddleB[1]);
    EXPECT_EQ(41, satin->m_Densities[1]);
    EXPECT_EQ(1414, satin->m_nScaleLength);
    auto* sp = dynamic_cast<CSpecialStitch*>(c->GetElement(4));
    ASSERT_TRUE(sp);
    EXPECT_EQ(SpecStCode8, sp->m_nType);
    EXPECT_EQ(0, sp->m_nParam);
    EXPECT_EQ(12, dynamic_cast<CGFillStitchParms*>(c->GetElement(5))->m_nValues[1]);
    EXPECT_EQ(33, dynamic_cast<CGRunStitchParms*>(c->GetElement(6))->m_nRunValue);
    EXPECT_EQ(44, dynamic_cast<CGSatinStitchParms*>(c->GetElement(7))->m_nSatinValue);
}

TEST(EmbData, CopyIsDeepAndSizedToTheCount)
{
    auto d = DesignOfEveryKind();
    for (int i = 0; i < d->GetElementCount(); ++i) {
        std::unique_ptr<CEmbData> c(d->GetElement(i)->Copy());
        ASSERT_TRUE(c);
        EXPECT_EQ(d->GetElement(i)->GetRuntimeClass(), c->GetRuntimeClass());
        EXPECT_EQ(ElementBytes(*d->GetElement(i)), ElementBytes(*c)) << i;
    }
    auto* run = static_cast<CRunStitch*>(d->GetElement(2));
    std::unique_ptr<CRunStitch> rc(static_cast<CRunStitch*>(run->Copy()));
    EXPECT_EQ(3, rc->GetCapacity());
    rc->MoveTo(tagPOINT{1, 1});
    EXPECT_EQ(tagPOINT({-3, 4}), run->m_Points[0]);

    CComplexFillStitch cf;
    cf.m_RefPoints[3] = tagPOINT{5, 6};
    for (int i = 0; i < 4; ++i) cf.AddBoundryPoint(1, i, i, i & 1);
    std::unique_ptr<CComplexFillStitch> cc(static_cast<CComplexFillStitch*>(cf.Copy()));
    ASSERT_EQ(1u, cc->m_Boundaries.size());
    EXPECT_EQ(4, cc->m_Boundaries[0].count);
    EXPECT_EQ(4u, cc->m_Boundaries[0].points.size());
    EXPECT_EQ(1, cc->m_Boundaries[0].flags[3]);
    EXPECT_EQ(tagPOINT({5, 6}), cc->m_RefPoints[3]);
}

TEST(EmbData, ArraysGrowInTheirSteps)
{
    CRunStitch r;
    r.AddPoint(tagPOINT{1, 1}, 0, 380);
    EXPECT_EQ(100, r.GetCapacity());
    r.AddPoint(tagPOINT{1, 1}, 0, 380, 0); // a step below 1 still makes room
    EXPECT_EQ(2, r.m_nPoints);

    // Outlines start at 20 and grow by 20 when count + 1 reaches the capacity.
    CFillStitch f;
    EXPECT_EQ(20u, f.m_OutlineA.size());
    for (int i = 0; i < 19; ++i) f.AddMod23Pt(i, i);
    EXPECT_EQ(20u, f.m_OutlineA.size());
    f.AddMod23Pt(19, 19); // count + 1 reaches 20
    EXPECT_EQ(40u, f.m_OutlineA.size());
    EXPECT_EQ(20u, f.m_OutlineB.size());

    CSatinStitch s;
    s.SetCapacity(3);
    s.m_nSegments = 3;
    s.m_EndB[2] = tagPOINT{9, 9};
    s.SetCapacity(10);
    EXPECT_EQ(10, s.GetCapacity());
    EXPECT_EQ(tagPOINT({9, 9}), s.m_EndB[2]);
    s.SetCapacity(2);
    EXPECT_EQ(2, s.m_nSegments);
}

TEST(EmbData, ComplexFillBoundaries)
{
    CComplexFillStitch cf;
    cf.AddBoundryPoint(0, 1, 1, 0);
    EXPECT_EQ(10u, cf.m_Boundaries[0].points.size());
    for (int i = 0; i < 8; ++i) cf.AddBoundryPoint(0, i, i, 0);
    EXPECT_EQ(10u, cf.m_Boundaries[0].points.size());
    cf.AddBoundryPoint(0, 2, 2, 0); // count + 1 reaches 10
    EXPECT_EQ(30u, cf.m_Boundaries[0].points.size());
    // A far index makes one boundary, not a run of empty ones; going back to an earlier
    // index adds to that boundary.
    cf.AddBoundryPoint(65535, 5, 5, 1);
    cf.AddBoundryPoint(0, 3, 3, 0);
    cf.AddBoundryPoint(65535, 6, 6, 1);
    ASSERT_EQ(2u, cf.m_Boundaries.size());
    EXPECT_EQ(11, cf.m_Boundaries[0].count);
    EXPECT_EQ(2, cf.m_Boundaries[1].count);
    EXPECT_EQ(tagPOINT({6, 6}), cf.m_Boundaries[1].points[1]);
    CCndObject d;
    EXPECT_EQ(1, cf.RendorStitches(&d));
    EXPECT_EQ(0, d.GetNoStitches());
}

TEST(EmbData, PointOperationsMatchTheDesignObjects)
{
    struct Case {
        tagPOINT pt;
        tagSIZE scale;
        tagPOINT center;
        double angle;
    } cases[] = {
        {{100, 0}, {500, 500}, {0, 0}, 1.57079632675},
        {{-3, 7}, {500, 1500}, {10, -10}, -2.0},
        {{INT32_MAX, INT32_MIN}, {2000, 2000}, {INT32_MIN, INT32_MAX}, 3.0},
        {{123456, -654321}, {-1000, 333}, {5, 5}, 0.0},
    };
    for (const Case& c : cases) {
        tagPOINT a = c.pt, b = c.pt;
        CEmbData::ScalePoint(c.scale, a);
        CEmbObject::ScalePoint(c.scale, b);
        EXPECT_EQ(b, a);
        a = b = c.pt;
        CEmbData::RotatePoint(c.center, c.angle, a);
        CEmbObject::RotatePoint(c.center, c.angle, b);
        EXPECT_EQ(b, a);
        a = b = c.pt;
        CEmbData::MovePoint(c.center, a);
        CEmbObject::MovePoint(c.center, b);
        EXPECT_EQ(b, a);
        EXPECT_EQ(CEmbObject::PointSqrt(c.pt), CEmbData::PointSqrt(c.pt));
    }
    tagPOINT p{100, 0};
    CEmbData::RotatePoint(tagPOINT{0, 0}, 1.57079632675, p);
    EXPECT_EQ(tagPOINT({0, 100}), p); // cos(pi/2) x 100 truncates to 0
    p = tagPOINT{150, 0};
    CEmbData::RotatePoint(tagPOINT{50, 0}, 1.57079632675, p);
    EXPECT_EQ(tagPOINT({0, 100}), p); // relative to the centre
    tagSIZE sz{-3, 2000};
    CEmbData::ScalePoint(tagSIZE{500, 500}, sz);
    EXPECT_EQ(-1, sz.cx);
    EXPECT_EQ(1000, sz.cy);
    p = tagPOINT{INT32_MAX, INT32_MIN};
    CEmbData::ScalePoint(tagSIZE{2000, 2000}, p); // held at the edge, never wrapped
    EXPECT_EQ(tagPOINT({INT32_MAX, INT32_MIN}), p);
}

TEST(EmbData, GeometricOperations)
{
    std::unique_ptr<CRunStitch> run(MakeRun());
    run->m_Points[2] = tagPOINT{-3, 5};
    run->ScaleBy(tagSIZE{500, 500});
    EXPECT_EQ(450, run->m_szScale.cx);
    EXPECT_EQ(550, run->m_szScale.cy);
    EXPECT_EQ(tagPOINT({-1, 2}), run->m_Points[0]);
    EXPECT_EQ(tagPOINT({50, -100}), run->m_Points[1]);
    run->MirrorH(10);
    run->MirrorV(-2);
    EXPECT_EQ(tagPOINT({11, -4}), run->m_Points[0]);
    run->RotateBy(tagPOINT{11, 0}, 90);
    EXPECT_EQ(tagPOINT({4, 0}), run->m_Points[0]); // relative to the centre

    // Satin: the middle pair moves only on arc segments; the scale length follows the scale.
    std::unique_ptr<CSatinStitch> s(MakeSatin());
    s->MoveTo(tagPOINT{100, 0});
    EXPECT_EQ(tagPOINT({0, 3}), s->m_MiddleA[0]);
    EXPECT_EQ(tagPOINT({101, 3}), s->m_MiddleA[1]);
    EXPECT_EQ(tagPOINT({100, 1}), s->m_StartA[0]);
    EXPECT_EQ(tagPOINT({100, 5}), s->m_EndB[0]);
    s->ScaleBy(tagSIZE{500, 500});
    EXPECT_EQ(707, s->m_nScaleLength);
    EXPECT_EQ(tagPOINT({50, 0}), s->m_StartA[0]);
    EXPECT_EQ(tagPOINT({0, 3}), s->m_MiddleA[0]);

    // Fill: P4 stays as read under every operation.
    std::unique_ptr<CFillStitch> f(MakeFill());
    f->MoveTo(tagPOINT{5, 5});
    f->ScaleBy(tagSIZE{2000, 2000});
    f->MirrorH(0);
    f->MirrorV(0);
    f->RotateBy(tagPOINT{0, 0}, 180);
    EXPECT_EQ(tagPOINT({40, -4}), f->m_Frame[4]);
    // Every other point went through each operation in turn.
    for (tagPOINT* got : {&f->m_Frame[3], &f->m_OutlineA[2], &f->m_OutlineB[0]}) {
        std::unique_ptr<CFillStitch> orig(MakeFill());
        tagPOINT p = got == &f->m_Frame[3] ? orig->m_Frame[3] : got == &f->m_OutlineB[0] ? orig->m_OutlineB[0] : orig->m_OutlineA[2];
        CEmbData::MovePoint(tagPOINT{5, 5}, p);
        CEmbData::ScalePoint(tagSIZE{2000, 2000}, p);
        p = tagPOINT{-p.x, -p.y};
        CEmbData::RotatePoint(tagPOINT{0, 0}, 180 * 3.1415926535 / 180, p);
        EXPECT_EQ(p, *got);
    }

    CComplexFillStitch cf;
    cf.AddBoundryPoint(0, 10, 20, 0);
    cf.m_RefPoints[0] = tagPOINT{1, 2};
    cf.MoveTo(tagPOINT{1, 1});
    cf.MirrorH(0);
    EXPECT_EQ(tagPOINT({-11, 21}), cf.m_Boundaries[0].points[0]);
    EXPECT_EQ(tagPOINT({-2, 3}), cf.m_RefPoints[0]);
}

TEST(EmbData, ColourChangesAndModeSwitchesRender)
{
    CCndObject d;
    CExpObject* r = d.GetRenderedDesign();
    d.AddStitches(1, 1, SpecStNormal);
    CColorChange cc(12, 34);
    EXPECT_EQ(1, cc.RendorStitches(&d));
    EXPECT_EQ(2, r->m_nColors);
    EXPECT_EQ(12, r->m_Colors[1].nColor);
    EXPECT_EQ(1, r->m_Colors[1].nStitch);
    EXPECT_EQ(34, r->m_Colors[1].nExtra);
    d.m_bApplyColors = 0;
    CColorChange(99, 0).RendorStitches(&d);
    EXPECT_EQ(0, r->m_Colors[2].nColor); // the colour the record had is kept
    // Never more than 254 blocks: later changes are not applied.
    for (int i = 0; i < 300; ++i) CColorChange(1, 0).RendorStitches(&d);
    EXPECT_EQ(kMaxColorBlocks, r->m_nColors);

    struct {
        SpecStTypes type;
        int jump, trim, triple; // from all three set
    } table[] = {
        {SpecStNormal, 0, 0, 0}, {SpecStTriple, 0, 0, 1}, {SpecStJump, 1, 1, 1},
        {SpecStTrim, 1, 1, 1},   {SpecStCode2, 1, 1, 1},  {(SpecStTypes)42, 1, 1, 1},
    };
    for (auto& t : table) {
        d.CurrentMode(CCndObject::kJumpMode) = d.CurrentMode(CCndObject::kTrimMode) =
            d.CurrentMode(CCndObject::kTripleMode) = 1;
        EXPECT_EQ(1, CSpecialStitch(t.type, 1).RendorStitches(&d));
        EXPECT_EQ(t.jump, d.CurrentMode(CCndObject::kJumpMode)) << t.type;
        EXPECT_EQ(t.trim, d.CurrentMode(CCndObject::kTrimMode)) << t.type;
        EXPECT_EQ(t.triple, d.CurrentMode(CCndObject::kTripleMode)) << t.type;
    }
    d.CurrentMode(CCndObject::kJumpMode) = d.CurrentMode(CCndObject::kTrimMode) = 0;
    CSpecialStitch(SpecStJump, 1).RendorStitches(&d);
    EXPECT_EQ(1, d.CurrentMode(CCndObject::kJumpMode));
    EXPECT_EQ(0, d.CurrentMode(CCndObject::kTrimMode));
    CSpecialStitch(SpecStTrim, 1).RendorStitches(&d);
    EXPECT_EQ(1, d.CurrentMode(CCndObject::kTrimMode));
    // The parameter records sew nothing and report 0, as the base does.
    EXPECT_EQ(0, CGRunStitchParms().RendorStitches(&d));
    EXPECT_EQ(1, d.GetNoStitches());
}
