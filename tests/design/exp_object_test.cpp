#include "test_util.h"
#include "core/sample_design.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testutil;

namespace {

// A design object holding the given points, one block per start.
std::unique_ptr<CExpObject> Design(const std::vector<tagPOINT>& pts, const std::vector<int>& starts = {0},
                                   const std::vector<unsigned char>& types = {})
{
    StitchList l = MakeList(pts, starts, types);
    auto d = std::make_unique<CExpObject>();
    EXPECT_TRUE(d->SetStitchList(l.nColors, l.colors.data(), l.nStitches, l.points.data(), l.types.data()));
    return d;
}

std::vector<tagPOINT> Points(CEmbObject& d)
{
    return std::vector<tagPOINT>(d.GetStitchData(), d.GetStitchData() + d.GetNoStitches());
}

// The bounds must be the extent of the points: left, top (largest y), right, bottom.
void ExpectBoundsAreExtent(CEmbObject& d)
{
    auto p = Points(d);
    ASSERT_FALSE(p.empty());
    CRect e(p[0].x, p[0].y, p[0].x, p[0].y);
    for (auto& q : p) {
        e.left = std::min(e.left, q.x);
        e.right = std::max(e.right, q.x);
        e.top = std::max(e.top, q.y);
        e.bottom = std::min(e.bottom, q.y);
    }
    EXPECT_EQ(e, d.m_rcBounds);
}

bool operator==(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

} // namespace

TEST(ExpObject, ReadObjectFailures)
{
    TempDir dir;
    MessageCapture boxes(true, true); // design objects always report from the worker thread
    SetMessageBoxesSynchronous(true);
    for (const char* ext : {".pmd", ".cnd", ".kwc", ".zzz"}) {
        CExpObject d;
        std::string name = dir.File(std::string("a") + ext);
        EXPECT_EQ(0, d.ReadObject(name.c_str(), 0, nullptr));
        EXPECT_EQ(KW_ERR_UNKNOWN_TYPE, GetSetup()->m_nLastError);
        EXPECT_EQ("Cannot save design " + name + ". Unknown or unsupport file type.", boxes.Texts().back());
    }
    CExpObject d;
    std::string missing = dir.File("missing.dst");
    EXPECT_EQ(0, d.ReadObject(missing.c_str(), 0, nullptr));
    EXPECT_EQ(KW_ERR_BAD_FILE, GetSetup()->m_nLastError);
    EXPECT_EQ("Cannot read design " + missing + ". Invalid file data or file not found.", boxes.Texts().back());
    WriteBytes(dir.File("cut.exp"), {1, 0, 0x80, 0x04, 1});
    EXPECT_EQ(0, d.ReadObject(dir.File("cut.exp").c_str(), 0, nullptr));
    EXPECT_EQ(KW_ERR_READ, GetSetup()->m_nLastError); // the importer's code stands
    EXPECT_EQ("Cannot read design " + dir.File("cut.exp") + ". File appears to have incomplete or invalid data.",
              boxes.Texts().back());
    EXPECT_EQ(0, d.GetNoStitches());
    SetMessageBoxesSynchronous(false);
}

TEST(ExpObject, ReadWriteAndHoop)
{
    TempDir dir;
    StitchList sample;
    MakeSampleDesign(sample);
    CExpObject d;
    ASSERT_TRUE(d.SetStitchList(sample.nColors, sample.colors.data(), sample.nStitches, sample.points.data(),
                                sample.types.data()));
    ASSERT_EQ(1, d.WriteObject(dir.File("s.exp").c_str(), nullptr));
    CMemFile mem;
    ASSERT_EQ(1, d.WriteObject("m.dst", &mem));
    EXPECT_GT(mem.GetLength(), 512u);

    CExpObject back;
    back.m_nHoopWidth = 130;
    back.m_nHoopHeight = 180;
    ASSERT_EQ(1, back.ReadObject(dir.File("s.exp").c_str(), 1, nullptr));
    EXPECT_EQ(130, back.m_nHoopWidth); // kept
    EXPECT_EQ(1, back.m_nEmbSource);
    EXPECT_EQ(sample.nStitches, back.GetNoStitches());
    EXPECT_EQ(4, back.GetNoColors());
    EXPECT_EQ(4, back.m_nDrawColors);
    ExpectBoundsAreExtent(back);
    ASSERT_EQ(1, back.ReadObject("m.dst", 0, &mem));
    EXPECT_EQ(0, back.m_nHoopWidth); // taken from the filter
    EXPECT_EQ(2, back.m_nEmbSource);
    EXPECT_GE(back.m_nCapacity, back.GetNoStitches());
}

TEST(ExpObject, CopyColorAndSplit)
{
    auto d = Design({{0, 0}, {10, 5}, {20, 0}, {30, 0}, {40, 9}}, {0, 3, 4, 5}, {1, 0, 0, 4, 0});
    d->GetColorData()[1].nColor = 42;
    d->GetColorData()[1].nExtra = 7;

    std::unique_ptr<CEmbObject> last(d->CopyColor(3)); // an empty last block: one placeholder point
    ASSERT_TRUE(last);
    EXPECT_EQ(1, last->GetNoStitches());
    EXPECT_TRUE(Points(*last)[0] == (tagPOINT{0, 0}));

    std::unique_ptr<CEmbObject> one(d->CopyColor(2)); // a single real point keeps itself and its type
    EXPECT_TRUE(Points(*one)[0] == (tagPOINT{40, 9}));
    EXPECT_EQ(0, one->GetStitchType()[0]);

    std::unique_ptr<CEmbObject> block(d->CopyColor(1));
    ASSERT_EQ(1, block->GetNoStitches());
    EXPECT_EQ(4, block->GetStitchType()[0]);
    EXPECT_EQ(42, block->GetColorData()[0].nColor);
    EXPECT_EQ(7, block->GetColorData()[0].nExtra);
    EXPECT_EQ(1, block->GetColorData()[1].nStitch);

    std::unique_ptr<CEmbObject> first(d->CopyColor(0));
    EXPECT_EQ(3, first->GetNoStitches());
    ExpectBoundsAreExtent(*first);
    EXPECT_EQ(nullptr, d->CopyColor(4));

    std::vector<tagPOINT> ten;
    for (int i = 0; i < 10; ++i) ten.push_back({i * 10, i});
    auto s = Design(ten);
    std::unique_ptr<CEmbObject> tail(s->ColorSplit(3));
    ASSERT_TRUE(tail);
    EXPECT_EQ(4, s->GetNoStitches());
    EXPECT_EQ((std::vector<int>{0, 10, 10, 10}), (std::vector<int>{Points(*s)[0].x, Points(*s)[1].x, Points(*s)[2].x, Points(*s)[3].x}));
    ASSERT_EQ(10, tail->GetNoStitches());
    EXPECT_EQ(20, Points(*tail)[0].x);
    EXPECT_EQ(20, Points(*tail)[1].x);
    EXPECT_EQ(20, Points(*tail)[2].x);
    EXPECT_EQ(90, Points(*tail)[9].x);
    EXPECT_EQ(10, tail->GetColorData()[1].nStitch);
    ExpectBoundsAreExtent(*s);
    ExpectBoundsAreExtent(*tail);

    // An argument of 1 or less splits after the first point; too few points: nothing.
    auto two = Design({{0, 0}, {5, 5}, {9, 9}});
    std::unique_ptr<CEmbObject> after(two->ColorSplit(0));
    ASSERT_TRUE(after);
    EXPECT_EQ(3, two->GetNoStitches());
    EXPECT_EQ(4, after->GetNoStitches());
    auto single = Design({{1, 1}});
    EXPECT_EQ(nullptr, single->ColorSplit(1));
    EXPECT_EQ(1, single->GetNoStitches());
    EXPECT_EQ(nullptr, Design(ten)->ColorSplit(11));
}

TEST(ExpObject, CopyAndMerge)
{
    auto a = Design({{0, 0}, {100, 50}}, {0});
    auto b = Design({{-30, 200}, {10, 10}, {5, 5}}, {0});
    std::unique_ptr<CEmbObject> c(a->Copy());
    ASSERT_TRUE(c);
    EXPECT_EQ(a->m_rcBounds, c->m_rcBounds);
    a->ColorMerge(b.get());
    ASSERT_EQ(5, a->GetNoStitches());
    EXPECT_EQ(5, a->GetColorData()[1].nStitch);
    EXPECT_EQ(-30, a->GetStitchData()[2].x);
    EXPECT_EQ(3, b->GetNoStitches());
    ExpectBoundsAreExtent(*a);
    EXPECT_EQ(2, c->GetNoStitches()); // the copy is its own
}

TEST(ExpObject, TransformationsKeepTheBoundsTheExtent)
{
    auto make = [] { return Design({{100, 0}, {-3, 40}, {20, -7}, {7, 7}}, {0}); };
    {
        auto d = make();
        d->RotateBy({0, 0}, 90);
        EXPECT_EQ(0, Points(*d)[0].x);
        EXPECT_EQ(100, Points(*d)[0].y);
        ExpectBoundsAreExtent(*d);
        auto e = Design({{20, 0}, {30, 0}});
        e->RotateBy({10, 0}, 90);
        EXPECT_TRUE(Points(*e)[0] == (tagPOINT{0, 10}));
        ExpectBoundsAreExtent(*e);
    }
    {
        auto d = make();
        d->ScaleBy({500, 2000});
        EXPECT_TRUE(Points(*d)[0] == (tagPOINT{50, 0}));
        EXPECT_TRUE(Points(*d)[1] == (tagPOINT{-1, 80}));
        ExpectBoundsAreExtent(*d);
        d->ScaleBy({-1000, 1000});
        ExpectBoundsAreExtent(*d);
    }
    {
        auto d = make();
        d->MoveTo({5, -5});
        EXPECT_TRUE(Points(*d)[0] == (tagPOINT{105, -5}));
        ExpectBoundsAreExtent(*d);
    }
    {
        auto d = make();
        CRect before = d->m_rcBounds;
        d->MirrorH();
        EXPECT_EQ(-3, Points(*d)[0].x); // right maps to left
        EXPECT_EQ(100, Points(*d)[1].x);
        EXPECT_EQ(before, d->m_rcBounds);
        d->MirrorV();
        EXPECT_EQ(before, d->m_rcBounds);
        ExpectBoundsAreExtent(*d);
        d->MirrorH(1000);
        EXPECT_EQ(1003, Points(*d)[0].x);
        ExpectBoundsAreExtent(*d);
        d->MirrorV(-10);
        ExpectBoundsAreExtent(*d);
    }
    CEmbObject base;
    base.m_rcBounds = CRect(0, 10, 20, 0);
    base.MoveTo({1, 1});
    EXPECT_EQ(CRect(1, 11, 21, 1), base.m_rcBounds);
    EXPECT_TRUE(base.Intersects(CRect(20, 0, 30, 5)));
    EXPECT_FALSE(base.Intersects(CRect(21, 0, 30, 5)));
}

TEST(ExpObject, CleanupJunkStitches)
{
    GetSetup()->m_dThreshold = 50;
    auto fwd = Design({{0, 0}, {10, 0}, {200, 0}});
    fwd->CleanupJunkStitches();
    EXPECT_EQ(2, fwd->GetNoStitches());
    EXPECT_EQ(200, Points(*fwd)[1].x);
    auto back = Design({{0, 0}, {10, 0}, {-200, 0}});
    back->CleanupJunkStitches();
    EXPECT_EQ(3, back->GetNoStitches());

    // Runs of short stitches go one after the other; the records after them move down.
    auto run = Design({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {300, 0}, {310, 0}, {600, 0}}, {0, 3, 5});
    run->CleanupJunkStitches();
    EXPECT_EQ((std::vector<int>{0, 300, 600}), (std::vector<int>{Points(*run)[0].x, Points(*run)[1].x, Points(*run)[2].x}));
    EXPECT_EQ(3, run->GetNoStitches());
    EXPECT_EQ(0, run->GetColorData()[1].nStitch); // it pointed at a removed point
    EXPECT_EQ(1, run->GetColorData()[2].nStitch);
    EXPECT_EQ(7, run->GetColorData()[3].nStitch); // the closing record: 7 + 4 - 4 removed
    GetSetup()->m_dThreshold = 0;
}

TEST(ExpObject, ArchiveRoundTripGivesTheSameBytes)
{
    StitchList sample;
    MakeSampleDesign(sample);
    CExpObject d;
    ASSERT_TRUE(d.SetStitchList(sample.nColors, sample.colors.data(), sample.nStitches, sample.points.data(),
                                sample.types.data()));
    d.m_nHoopWidth = 100;
    d.m_nHoopHeight = 120;
    d.m_nTag = 5;
    CMemFile first;
    {
        CArchive ar(&first, CArchive::store);
        d.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(4u + 16 + 36 + 28 + 255 * 10 + 9u * (size_t)sample.nStitches, first.GetLength());
    first.SeekToBegin();
    CArchive in(&first, CArchive::load);
    std::unique_ptr<CEmbObject> loaded(CEmbObject::LoadObject(in));
    ASSERT_TRUE(loaded);
    auto* e = static_cast<CExpObject*>(loaded.get());
    EXPECT_EQ(sample.nStitches, e->m_nCapacity);
    EXPECT_EQ(120, e->m_nHoopHeight);
    CMemFile second;
    {
        CArchive ar(&second, CArchive::store);
        e->Serialize(ar);
        ar.Close();
    }
    ASSERT_EQ(first.GetLength(), second.GetLength());
    EXPECT_EQ(0, std::memcmp(first.Data(), second.Data(), (size_t)first.GetLength()));

    // A cut archive leaves the object as it was.
    CMemFile cut;
    cut.Write(first.Data(), (UINT)first.GetLength() - 5);
    cut.SeekToBegin();
    CArchive ar(&cut, CArchive::load);
    int32_t kind;
    ar >> kind;
    MessageCapture boxes;
    SetMessageBoxesSynchronous(true);
    e->Serialize(ar);
    SetMessageBoxesSynchronous(false);
    EXPECT_EQ(KW_ERR_READ, GetSetup()->m_nLastError);
    EXPECT_EQ(sample.nStitches, e->GetNoStitches());
}

TEST(ExpObject, DrawsBlocksInTheirColoursAndMarksPoints)
{
    // 2540 dpi: one stitch unit is one pixel; y grows downward on the device.
    auto d = Design({{10, -10}, {30, -10}, {30, -30}, {10, -30}}, {0, 2});
    d->GetColorData()[0].nColor = 3; // Red
    d->GetColorData()[1].nColor = 1; // Blue
    CRasterDC dc(40, 40, 2540);
    d->Draw(&dc, 100);
    EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(20, 10));
    EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(20, 30));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(30, 20)); // blocks are not joined
    CRasterDC half(40, 40, 2540);
    d->Draw(&half, 50);
    EXPECT_EQ(RGB(255, 0, 0), half.GetPixel(10, 5));

    GetSetup()->m_bStitchPoints = 1;
    CRasterDC marked(40, 40, 2540);
    d->Draw(&marked, 100);
    EXPECT_EQ(RGB(255, 0, 0), marked.GetPixel(12, 12)); // a corner of the square round (10, 10)
    EXPECT_EQ(RGB(255, 0, 0), marked.GetPixel(8, 11));
    GetSetup()->m_bStitchPoints = 0;

    // On a 256-colour device the pen takes the nearest palette entry.
    CPalette& pal = GetSetup()->m_Palette;
    bool created = pal.IsCreated();
    if (!created) {
        struct {
            WORD v, n;
            PALETTEENTRY e[2];
        } lp{0x300, 2, {{200, 10, 10, 0}, {10, 10, 200, 0}}};
        ASSERT_TRUE(pal.CreatePalette(reinterpret_cast<const LOGPALETTE*>(&lp)));
    }
    CRasterDC indexed(40, 40, 2540);
    indexed.SetPaletteMode(true);
    d->Draw(&indexed, 100);
    COLORREF red = indexed.GetPixel(20, 10);
    EXPECT_EQ(pal.GetNearestPaletteIndex(RGB(255, 0, 0)),
              pal.GetNearestPaletteIndex(red)); // a palette colour
    PALETTEENTRY e;
    pal.GetPaletteEntries(pal.GetNearestPaletteIndex(RGB(255, 0, 0)), 1, &e);
    EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), red);
    EXPECT_EQ(nullptr, indexed.GetCurrentPalette()); // restored
    if (!created) pal.DeleteObject();
}

TEST(ExpObject, DrawSplitsLongBlocksWithoutGaps)
{
    std::vector<tagPOINT> pts;
    // The stitch from the 4096th to the 4097th point, where the first polyline ends, is
    // the only one that passes (10, 20).
    for (int i = 0; i < 4096; ++i) pts.push_back({i % 2 ? 10 : 30, -10});
    for (int i = 0; i < 4905; ++i) pts.push_back({i % 2 ? 30 : 10, -30});
    auto d = Design(pts);
    CRasterDC dc(40, 40, 2540);
    d->Draw(&dc, 100);
    EXPECT_EQ(3, dc.m_nPolylines);
    EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(10, 20));
}
