#include "cnd_test_util.h"

#include "design/cnd.h"
#include "design/cnd_records.h"
#include "design/open_design.h"

#include <cstring>

using namespace cndtest;
using namespace testutil;

namespace {

PointsElement* Pts(std::vector<tagPOINT> p) { return new PointsElement(std::move(p)); }

int Modes(CCndObject& d, bool start)
{
    auto get = [&](CCndObject::Mode m) { return start ? d.StartMode(m) : d.CurrentMode(m); };
    return get(CCndObject::kJumpMode) * 100 + get(CCndObject::kTrimMode) * 10 + get(CCndObject::kTripleMode);
}

// Elements: [triple] pts(a) [colour 5] [jump] pts(b) [colour 7] pts(c)
std::unique_ptr<CCndObject> ThreeBlocks()
{
    auto d = std::make_unique<CCndObject>();
    d->AppendElement(new CSpecialStitch(SpecStTriple, 1));
    d->AppendElement(Pts({{10, 10}, {20, 10}}));
    d->AppendElement(new CColorChange(5, 50));
    d->AppendElement(new CSpecialStitch(SpecStJump, 1));
    d->AppendElement(Pts({{30, 30}, {40, 40}, {50, 50}}));
    d->AppendElement(new CColorChange(7, 70));
    d->AppendElement(Pts({{-60, -5}}));
    EXPECT_EQ(1, d->RendorStitches(3));
    return d;
}

} // namespace

TEST(CndObject, AddStitchesByType)
{
    CCndObject d;
    d.AddStitches(10, 20, SpecStTriple); // the first stitch goes back to the origin
    d.AddStitches(30, 40, SpecStJump);   // no point; the next one follows a trim
    EXPECT_EQ(tagPOINT({30, 40}), d.m_ptLastStitch);
    d.AddStitches(50, 60, SpecStNormal);
    d.AddStitches(70, 80, SpecStCode2); // nothing but the needle position
    d.AddStitches(90, 90, SpecStTrim);
    EXPECT_EQ((std::vector<tagPOINT>{{10, 20}, {0, 0}, {10, 20}, {50, 60}}), Points(d));
    EXPECT_EQ(0, d.GetStitchType()[2]);
    EXPECT_EQ(kTrimType, d.GetStitchType()[3]);
    EXPECT_EQ(kTrimType, d.GetStitchType()[4]); // waits for the next point
    EXPECT_EQ(tagPOINT({90, 90}), d.m_ptLastStitch);
    d.AddStitches(1, 2, SpecStTriple);
    EXPECT_EQ((std::vector<tagPOINT>{{10, 20}, {0, 0}, {10, 20}, {50, 60}, {1, 2}, {50, 60}, {1, 2}}), Points(d));
}

TEST(CndObject, RenderedDesignGrowsInStepsAndStopsAtTheLimit)
{
    CCndObject d;
    CExpObject* r = d.GetRenderedDesign();
    ASSERT_TRUE(r);
    EXPECT_EQ(CCndObject::kGrowStitches, r->m_nCapacity);
    EXPECT_EQ(1, d.GetNoColors());
    for (int i = 0; i < 9999; ++i) d.AddStitches(i, -i, SpecStNormal);
    d.AddStitches(0, 0, SpecStJump);                 // marks index 9999, at the capacity's edge
    d.AddStitches(7, 7, SpecStTriple);               // needs 3 more: one step of growth
    EXPECT_EQ(2 * CCndObject::kGrowStitches, r->m_nCapacity);
    EXPECT_EQ(kTrimType, r->m_pTypes[9999]);
    for (long i = 10000; i < 20004; ++i) EXPECT_EQ(0, r->m_pTypes[i]) << i;
    EXPECT_EQ(tagPOINT({9998, -9998}), r->m_pPoints[9998]);
    EXPECT_EQ(tagPOINT({9998, -9998}), r->m_pPoints[10000]);

    // A hostile element that would sew without end stops at the limit, and the design
    // reports that memory ran out.
    struct Endless : CEmbData {
        int RendorStitches(CCndObject* p) override
        {
            for (long i = 0; i < 2 * CCndObject::kMaxRenderedStitches && !p->IsRenderFull(); ++i)
                p->AddStitches((int)(i % 1000), 0, i % 2 ? SpecStTriple : SpecStNormal);
            return 1;
        }
    };
    d.AppendElement(new Endless);
    d.AppendElement(Pts({{5, 5}}));
    MessageCapture boxes;
    SetMessageBoxesSynchronous(true);
    EXPECT_EQ(0, d.RendorStitches(0));
    SetMessageBoxesSynchronous(false);
    EXPECT_TRUE(d.IsRenderFull());
    EXPECT_LE(d.GetNoStitches(), CCndObject::kMaxRenderedStitches);
    EXPECT_GT(d.GetNoStitches(), CCndObject::kMaxRenderedStitches - 3);
    EXPECT_EQ(KW_ERR_NO_MEMORY, GetSetup()->m_nLastError);
    EXPECT_EQ((std::vector<std::string>{"Cannot allocate enough memory to process file."}), boxes.Texts());
    // Rendering again without the hostile element works normally.
    CCndObject e;
    e.AppendElement(Pts({{5, 5}}));
    EXPECT_EQ(1, e.RendorStitches(0));
    EXPECT_FALSE(e.IsRenderFull());
}

TEST(CndObject, RenderingDrivesTheElements)
{
    auto d = ThreeBlocks();
    // The start modes are (0, 0, 0); nothing but the special elements change modes, and the
    // test elements sew plain points.
    EXPECT_EQ(6, d->GetNoStitches());
    EXPECT_EQ(3, d->GetNoColors());
    COLORCHG* c = d->GetColorData();
    EXPECT_EQ(3, c[0].nColor); // the first colour given
    EXPECT_EQ(0, c[0].nStitch);
    EXPECT_EQ(5, c[1].nColor);
    EXPECT_EQ(2, c[1].nStitch);
    EXPECT_EQ(50, c[1].nExtra);
    EXPECT_EQ(7, c[2].nColor);
    EXPECT_EQ(5, c[2].nStitch);
    EXPECT_EQ(6, c[3].nStitch); // the closing record holds the count itself
    EXPECT_EQ(CRect(-60, 50, 50, -5), d->m_rcBounds);
    EXPECT_EQ(d->m_rcBounds, d->GetRenderedDesign()->m_rcBounds);
    EXPECT_EQ(3, d->GetRenderedDesign()->m_nDrawColors);
    EXPECT_EQ(101, Modes(*d, false)); // triple cleared jump and trim, then jump came on
    EXPECT_EQ(tagPOINT({-60, -5}), d->m_ptLastStitch);

    // Rendering again starts from the start modes and the origin, with no stitches left
    // over; without applied colours the records keep what the host put there.
    d->StartMode(CCndObject::kTrimMode) = 1;
    d->m_bApplyColors = 0;
    c[1].nColor = 99;
    d->GetStitchType()[3] = 5;
    EXPECT_EQ(1, d->RendorStitches(4));
    EXPECT_EQ(6, d->GetNoStitches());
    EXPECT_EQ(99, c[1].nColor);
    EXPECT_EQ(4, c[0].nColor);
    EXPECT_EQ(0, d->GetStitchType()[3]);
    EXPECT_EQ(101, Modes(*d, false)); // the start trim mode was cleared by triple

    // No elements: no stitches, one colour, bounds at the origin.
    CCndObject e;
    EXPECT_EQ(1, e.RendorStitches(2));
    EXPECT_EQ(0, e.GetNoStitches());
    EXPECT_EQ(1, e.GetNoColors());
    EXPECT_EQ(0, e.GetColorData()[1].nStitch);
    EXPECT_EQ(CRect(0, 0, 0, 0), e.m_rcBounds);
}

TEST(CndObject, ArchiveRoundTripAndUnknownTags)
{
    auto d = ThreeBlocks();
    // Test elements do not archive themselves; use archived kinds.
    CCndObject a;
    a.AppendElement(new CSpecialStitch(SpecStTriple, 1));
    a.AppendElement(new CColorChange(5, 50));
    auto* run = new CRunStitch;
    run->AddPoint(tagPOINT{1, 2}, 0, 380);
    a.AppendElement(run);
    a.m_nDensity = 777;
    a.m_nColorCounter = 9;
    a.m_bApplyColors = 0;
    a.StartMode(CCndObject::kTrimMode) = 1;
    a.m_nEmbSource = 14;
    a.AddStitches(3, 3, SpecStNormal);
    a.m_ptLastStitch = tagPOINT{-4, 4};
    a.m_rcBounds = CRect(1, 2, 3, 4);
    auto bytes = Store(a);
    // kind 2, bounds, eleven integers, density, last stitch, then the rendered design (kind 1)
    ASSERT_GT(bytes.size(), 4u + 16 + 44 + 2 + 8 + 4);
    EXPECT_EQ(2, bytes[0]);
    EXPECT_EQ(1, bytes[4]);   // left
    EXPECT_EQ(14, bytes[28]); // the design source
    EXPECT_EQ(1, bytes[48]);  // start trim mode
    EXPECT_EQ(9, bytes[56]);  // colour counter
    EXPECT_EQ(0x09, bytes[64]);
    EXPECT_EQ(0x03, bytes[65]); // density 777
    EXPECT_EQ(1, bytes[74]);    // the rendered design's kind
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0}), std::vector<uint8_t>(bytes.end() - 4, bytes.end()));

    auto loaded = Load(bytes);
    CCndObject* c = AsCnd(loaded);
    ASSERT_TRUE(c);
    EXPECT_EQ(777, c->m_nDensity);
    EXPECT_EQ(9, c->m_nColorCounter);
    EXPECT_EQ(0, c->m_bApplyColors);
    EXPECT_EQ(tagPOINT({-4, 4}), c->m_ptLastStitch);
    EXPECT_EQ(10, Modes(*c, true));
    EXPECT_EQ(CRect(1, 2, 3, 4), c->m_rcBounds);
    EXPECT_EQ(3, c->GetElementCount());
    EXPECT_EQ((std::vector<tagPOINT>{{3, 3}}), Points(*c)); // the rendered design as stored
    EXPECT_EQ(bytes, Store(*c));

    // Tags that name no class (6, and any other) are skipped one integer at a time.
    auto odd = bytes;
    odd.erase(odd.end() - 4, odd.end());
    for (uint8_t t : {6, 6, 200, 10}) odd.insert(odd.end(), {t, 0, 0, 0});
    odd.insert(odd.end(), {0, 0, 0, 0});
    loaded = Load(odd);
    ASSERT_TRUE(AsCnd(loaded));
    EXPECT_EQ(3, AsCnd(loaded)->GetElementCount());
    EXPECT_EQ(bytes, Store(*AsCnd(loaded)));
}

TEST(CndObject, BadArchivesLeaveTheDesignAsItWas)
{
    CCndObject a;
    auto* run = new CRunStitch;
    for (int i = 0; i < 5; ++i) run->AddPoint(tagPOINT{i, i}, 0, 380);
    a.AppendElement(run);
    a.AppendElement(new CColorChange(2, 0));
    a.RendorStitches(1);
    auto good = Store(a);
    // The run's count sits after tag, scale, run length and value.
    size_t runAt = good.size() - 4 - 10 - (4 + 8 + 4 + 8 + 5 * 14);
    ASSERT_EQ(3, good[runAt]);
    size_t countAt = runAt + 4 + 8 + 4;

    std::vector<std::pair<const char*, std::vector<uint8_t>>> bad;
    for (size_t cut : {good.size() - 1, good.size() - 4, runAt + 20, (size_t)70})
        bad.push_back({"cut", std::vector<uint8_t>(good.begin(), good.begin() + (long)cut)});
    auto over = good;
    over[countAt] = 6; // a count above its capacity (5)
    bad.push_back({"count above capacity", over});
    auto huge = good;
    for (int k = 0; k < 4; ++k) huge[countAt + (size_t)k] = huge[countAt + 4 + (size_t)k] = 0xFF;
    bad.push_back({"count beyond the archive", huge});

    for (auto& [what, bytes] : bad) {
        CCndObject target;
        target.AppendElement(Pts({{1, 1}}));
        target.m_nDensity = 5;
        target.RendorStitches(0);
        MessageCapture boxes;
        SetMessageBoxesSynchronous(true);
        CMemFile mem;
        mem.Write(bytes.data(), (UINT)bytes.size());
        mem.SeekToBegin();
        CArchive ar(&mem, CArchive::load);
        int32_t kind;
        ar >> kind;
        GetSetup()->m_nLastError = 0;
        target.Serialize(ar);
        SetMessageBoxesSynchronous(false);
        EXPECT_EQ(KW_ERR_READ, GetSetup()->m_nLastError) << what;
        EXPECT_EQ((std::vector<std::string>{"Error reading from file."}), boxes.Texts()) << what;
        EXPECT_EQ(1, target.GetElementCount()) << what;
        EXPECT_EQ(5, target.m_nDensity) << what;
        EXPECT_EQ((std::vector<tagPOINT>{{1, 1}}), Points(target)) << what;
        EXPECT_FALSE(Load(bytes)) << what;
    }
    // A stored capacity far beyond the archive is not trusted to size memory.
    auto wide = good;
    for (int k = 0; k < 4; ++k) wide[countAt + 4 + (size_t)k] = k == 3 ? 0x7F : 0xFF;
    auto loaded = Load(wide);
    ASSERT_TRUE(AsCnd(loaded));
    EXPECT_EQ(5, static_cast<CRunStitch*>(AsCnd(loaded)->GetElement(0))->GetCapacity());
    // An archive of unknown tags and no end is refused, not read forever.
    std::vector<uint8_t> tags(good.begin(), good.begin() + (long)(runAt));
    for (int i = 0; i < 1000; ++i) tags.insert(tags.end(), {6, 0, 0, 0});
    MessageCapture quiet;
    EXPECT_FALSE(Load(tags));
}

TEST(CndObject, CopyCarriesElementsAndTheRenderedDesign)
{
    auto d = ThreeBlocks();
    d->StartMode(CCndObject::kJumpMode) = 1;
    d->m_nDensity = 1234;
    d->m_nColorCounter = 3;
    d->m_nEmbSource = 13;
    d->m_nTag = 8;
    std::unique_ptr<CEmbObject> copy(d->Copy());
    CCndObject* c = AsCnd(copy);
    ASSERT_TRUE(c);
    EXPECT_EQ(d->GetElementCount(), c->GetElementCount());
    EXPECT_NE(d->GetElement(1), c->GetElement(1));
    EXPECT_EQ(Points(*d), Points(*c));
    EXPECT_NE(d->GetStitchData(), c->GetStitchData());
    EXPECT_EQ(100, Modes(*c, true));
    EXPECT_EQ(1234, c->m_nDensity);
    EXPECT_EQ(3, c->m_nColorCounter);
    EXPECT_EQ(13, c->m_nEmbSource);
    EXPECT_EQ(8, c->m_nTag);
    EXPECT_EQ(tagPOINT({0, 0}), c->m_ptLastStitch);
    EXPECT_EQ(d->m_rcBounds, c->m_rcBounds);
    EXPECT_EQ(1, c->m_bApplyColors);
    EXPECT_EQ(7, c->GetColorData()[2].nColor);
    // The copy renders on its own.
    c->RendorStitches(3);
    EXPECT_EQ(Points(*d), Points(*c));
}

TEST(CndObject, CopyColorTakesOneBlockWithItsModes)
{
    auto d = ThreeBlocks();
    d->m_nDensity = 800;
    d->m_nEmbSource = 14;
    std::unique_ptr<CEmbObject> one(d->CopyColor(1));
    CCndObject* c = AsCnd(one);
    ASSERT_TRUE(c);
    EXPECT_EQ(2, c->GetElementCount()); // [jump] pts(b)
    EXPECT_EQ(1, Modes(*c, true));      // triple was on where block 1 began
    EXPECT_EQ((std::vector<tagPOINT>{{30, 30}, {40, 40}, {50, 50}}), Points(*c));
    EXPECT_EQ(5, c->GetColorData()[0].nColor);
    EXPECT_EQ(1, c->GetNoColors());
    EXPECT_EQ(0, c->m_bApplyColors);
    EXPECT_EQ(1, c->m_nColorCounter);
    EXPECT_EQ(800, c->m_nDensity);
    EXPECT_EQ(14, c->m_nEmbSource);
    EXPECT_EQ(101, Modes(*d, false)); // the source's modes as its rendering left them

    std::unique_ptr<CEmbObject> first(d->CopyColor(0));
    EXPECT_EQ(2, AsCnd(first)->GetElementCount()); // [triple] pts(a)
    EXPECT_EQ(3, AsCnd(first)->GetColorData()[0].nColor);
    std::unique_ptr<CEmbObject> last(d->CopyColor(2));
    EXPECT_EQ((std::vector<tagPOINT>{{-60, -5}}), Points(*last));
    EXPECT_EQ(101, Modes(*AsCnd(last), true));
    std::unique_ptr<CEmbObject> past(d->CopyColor(300));
    EXPECT_EQ(0, AsCnd(past)->GetElementCount());
    EXPECT_EQ(0, past->GetNoStitches());
    std::unique_ptr<CEmbObject> negative(d->CopyColor(-1));
    EXPECT_EQ(0, AsCnd(negative)->GetElementCount());
    EXPECT_EQ(0, negative->GetNoStitches());
}

TEST(CndObject, ColorSplitAtAStitch)
{
    // Split at stitch 4: after pts(b) the count (5) first reaches 3.
    auto d = ThreeBlocks();
    std::unique_ptr<CEmbObject> rest(d->ColorSplit(4));
    CCndObject* c = AsCnd(rest);
    ASSERT_TRUE(c);
    ASSERT_EQ(7 - 5 + 1, c->GetElementCount()); // the joining run, [colour 7], pts(c)
    auto* join = dynamic_cast<CRunStitch*>(c->GetElement(0));
    ASSERT_TRUE(join);
    EXPECT_EQ(2, join->m_nPoints);
    EXPECT_EQ(tagPOINT({50, 50}), join->m_Points[1]);
    EXPECT_EQ(0, join->m_Lengths[0]);
    EXPECT_EQ(380, join->m_nRunLength);
    EXPECT_EQ(101, Modes(*c, true)); // the modes in force at the split
    EXPECT_EQ(0, c->m_bApplyColors);
    ASSERT_EQ(6, d->GetElementCount()); // up to pts(b), then the joining run
    EXPECT_TRUE(dynamic_cast<CRunStitch*>(d->GetElement(5)));
    EXPECT_TRUE(dynamic_cast<PointsElement*>(d->GetElement(4)));
    EXPECT_EQ(3, d->GetColorData()[0].nColor);
    EXPECT_EQ(3, c->GetColorData()[0].nColor);
    EXPECT_EQ(2, d->GetNoColors());

    // n below 1 counts as 1: the split comes after the first element.
    auto e = ThreeBlocks();
    std::unique_ptr<CEmbObject> all(e->ColorSplit(0));
    EXPECT_EQ(1 + 6, AsCnd(all)->GetElementCount());
    EXPECT_EQ(2, e->GetElementCount());
    EXPECT_EQ(tagPOINT({0, 0}), static_cast<CRunStitch*>(AsCnd(all)->GetElement(0))->m_Points[0]);

    // Past the end: nothing moves, the new design holds only the joining run.
    auto f = ThreeBlocks();
    std::unique_ptr<CEmbObject> none(f->ColorSplit(1000));
    EXPECT_EQ(1, AsCnd(none)->GetElementCount());
    EXPECT_EQ(8, f->GetElementCount());
    EXPECT_EQ(tagPOINT({-60, -5}), static_cast<CRunStitch*>(AsCnd(none)->GetElement(0))->m_Points[0]);
}

TEST(CndObject, ColorMergeMakesOneBlock)
{
    auto d = ThreeBlocks();
    CCndObject other;
    other.AppendElement(new CColorChange(9, 0));
    other.AppendElement(Pts({{100, -100}}));
    d->m_ptLastStitch = tagPOINT{8, 8};
    d->ColorMerge(&other);
    EXPECT_EQ(9, d->GetElementCount());
    EXPECT_EQ(1, d->GetNoColors());
    EXPECT_EQ(7, d->GetNoStitches());
    EXPECT_EQ(7, d->GetColorData()[1].nStitch);
    EXPECT_EQ(tagPOINT({100, -100}), Points(*d).back());
    EXPECT_EQ(CRect(-60, 50, 100, -100), d->m_rcBounds);
    EXPECT_EQ(d->m_rcBounds, d->GetRenderedDesign()->m_rcBounds);
    // Merging with itself doubles the list once; an expanded design is not merged.
    d->ColorMerge(d.get());
    EXPECT_EQ(18, d->GetElementCount());
    CExpObject exp;
    d->ColorMerge(&exp);
    d->ColorMerge(nullptr);
    EXPECT_EQ(18, d->GetElementCount());
}

TEST(CndObject, GeometryChangesElementsAndRenderedDesign)
{
    auto d = ThreeBlocks();
    d->MoveTo(tagPOINT{10, 1});
    EXPECT_EQ(CRect(-50, 51, 60, -4), d->m_rcBounds);
    EXPECT_EQ(tagPOINT({20, 11}), Points(*d)[0]);
    EXPECT_EQ(tagPOINT({20, 11}), static_cast<PointsElement*>(d->GetElement(1))->m_Pts[0]);

    d->ScaleBy(tagSIZE{2000, 1000}); // re-rendered from the scaled elements
    EXPECT_EQ(tagPOINT({40, 11}), Points(*d)[0]);
    EXPECT_EQ(3, d->GetColorData()[0].nColor);
    EXPECT_EQ(CRect(-100, 51, 120, -4), d->m_rcBounds);

    d->MirrorH(); // about left + right = 20
    EXPECT_EQ(tagPOINT({-20, 11}), Points(*d)[0]);
    EXPECT_EQ(tagPOINT({-20, 11}), static_cast<PointsElement*>(d->GetElement(1))->m_Pts[0]);
    d->MirrorH(0);
    EXPECT_EQ(tagPOINT({20, 11}), Points(*d)[0]);

    d->RotateBy(tagPOINT{0, 0}, 90);
    EXPECT_EQ(d->GetRenderedDesign()->m_rcBounds, d->m_rcBounds);
}

TEST(CndObject, WritesItsRenderedStitches)
{
    auto d = ThreeBlocks();
    CMemFile mem;
    ASSERT_EQ(1, d->WriteObject("x.exp", &mem));
    CExpObject back;
    ASSERT_EQ(1, back.ReadObject("x.exp", 0, &mem));
    auto expected = Points(*d);
    for (auto& p : expected) p = tagPOINT{p.x / 10 * 10, p.y / 10 * 10}; // EXP counts in 0.1 mm
    EXPECT_EQ(expected, Points(back));
    EXPECT_EQ(3, back.GetNoColors());
}

TEST(CndObject, DesignClassFollowsTheExtension)
{
    for (const char* name : {"a.cnd", "b.KWC", "c.dem"}) {
        std::unique_ptr<CEmbObject> d(NewDesignObjectFor(name));
        EXPECT_TRUE(d->IsKindOf(RUNTIME_CLASS(CCndObject))) << name;
    }
    for (const char* name : {"a.dst", "b.exp", "noext"}) {
        std::unique_ptr<CEmbObject> d(NewDesignObjectFor(name));
        EXPECT_FALSE(d->IsKindOf(RUNTIME_CLASS(CCndObject))) << name;
        EXPECT_TRUE(d->IsKindOf(RUNTIME_CLASS(CExpObject))) << name;
    }
}

TEST(CndObject, ReadObjectRendersWithTheReadersColoursOnce)
{
    cndrec::CndWriter w;
    w.Point(cndrec::kRunPoint, 0, 0).Point(cndrec::kRunPoint, 1000, 0).ColorChange();
    w.Point(cndrec::kRunPoint, 1000, 1000);
    std::vector<uint8_t> file = w.Cnd();
    auto memOf = [&](const std::vector<uint8_t>& bytes) {
        auto m = std::make_unique<CMemFile>();
        if (!bytes.empty()) m->Write(bytes.data(), (UINT)bytes.size());
        m->SeekToBegin();
        return m;
    };

    // The same steps by hand: import, render with the first colour found.
    CCndObject expected;
    auto m1 = memOf(file);
    CCnd reader;
    reader.m_pFile = m1.get();
    reader.ImportFile("m.cnd", &expected);
    expected.RendorStitches(reader.m_nFirstColor);

    auto m2 = memOf(file);
    std::unique_ptr<CEmbObject> read(ReadDesignObject("m.cnd", 0, m2.get()));
    CCndObject* d = AsCnd(read);
    ASSERT_TRUE(d);
    EXPECT_EQ(0, d->m_bApplyColors);
    EXPECT_EQ(expected.GetElementCount(), d->GetElementCount());
    EXPECT_EQ(Points(expected), Points(*d));
    ASSERT_EQ(2, d->GetNoColors());
    EXPECT_EQ(0, std::memcmp(expected.GetColorData(), d->GetColorData(), 3 * sizeof(COLORCHG)));
    EXPECT_GT(d->GetNoStitches(), 2);

    // Later renderings keep the colours the host chose.
    d->GetColorData()[1].nColor = 77;
    d->ScaleBy(tagSIZE{1000, 1000});
    EXPECT_EQ(77, d->GetColorData()[1].nColor);
    EXPECT_EQ(Points(expected), Points(*d));

    // Whatever the reader made of the bytes, ReadObject reports success.
    for (std::vector<uint8_t> bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{1, 2, 3}}) {
        auto m = memOf(bytes);
        CCndObject e;
        MessageCapture quiet;
        EXPECT_EQ(1, e.ReadObject("bad.cnd", 0, m.get()));
        EXPECT_EQ(0, e.m_bApplyColors);
        EXPECT_EQ(0, e.GetNoStitches());
    }
}
