#include "test_util.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

typedef std::vector<unsigned char> Bytes;

int Le16(const Bytes& b, size_t at) { return (int16_t)(b[at] | (b[at + 1] << 8)); }
long Le32(const Bytes& b, size_t at) { return (long)(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | ((uint32_t)b[at + 3] << 24)); }

Bytes ExportBytes(StitchList l, int hoopWidth, int hoopHeight = 0, int* ok = nullptr)
{
    CMemFile mem;
    CPes pes;
    pes.m_pFile = &mem;
    pes.m_nHoopWidth = hoopWidth;
    pes.m_nHoopHeight = hoopHeight;
    int r = Export(pes, "mem.pes", l);
    if (ok) *ok = r;
    else EXPECT_EQ(1, r);
    return Bytes(mem.Data(), mem.Data() + mem.GetLength());
}

int ImportBytes(const Bytes& bytes, StitchList& l, CPes* filter = nullptr)
{
    CMemFile mem;
    mem.Write(bytes.data(), (UINT)bytes.size());
    CPes local;
    CPes& pes = filter ? *filter : local;
    pes.m_pFile = &mem;
    long max = pes.GetMaxNoStitches("mem.pes");
    if (max < 0) return -1;
    l.Clear();
    l.Reserve(max + 16);
    return pes.ImportFile("mem.pes", &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data());
}

struct Segment {
    int type, thread;
    std::vector<std::pair<int, int>> points;
};

size_t SegmentCountAt(const Bytes& b)
{
    std::string magic(b.begin(), b.begin() + 8);
    return magic == "#PES0001" ? 89 : magic == "#PES0020" ? 107 : 122;
}

std::vector<Segment> Segments(const Bytes& b, size_t* end = nullptr)
{
    size_t at = SegmentCountAt(b);
    int n = Le16(b, at);
    at += 8;
    EXPECT_EQ("CSewSeg", std::string(b.begin() + (long)at, b.begin() + (long)at + 7));
    at += 7;
    std::vector<Segment> segs;
    for (int k = 0; k < n; ++k) {
        Segment s{Le16(b, at), Le16(b, at + 2), {}};
        int count = Le16(b, at + 4);
        at += 6;
        for (int j = 0; j < count; ++j, at += 4) s.points.push_back({Le16(b, at), Le16(b, at + 2)});
        if (k + 1 < n) {
            EXPECT_EQ(0x8003, Le16(b, at) & 0xFFFF);
            at += 2;
        }
        segs.push_back(s);
    }
    if (end) *end = at;
    return segs;
}

} // namespace

TEST(Pes, HoopsVersionsAndRotation)
{
    struct Case {
        int hoopWidth, hoopHeight;
        const char* magic;
        std::vector<int> hoopFields; // after the PEC offset
        int rotation;
        int readWidth, readHeight;
    } cases[] = {
        {100, 100, "#PES0001", {0, 1}, 0, 100, 100},
        {130, 180, "#PES0001", {1, 1}, 0, 130, 180},
        {200, 200, "#PES0001", {0, 1}, 0, 100, 100}, // no such Brother hoop: the short form
        {180, 130, "#PES0020", {180, 130, 1, 7, 19, 0, 0, 0, 25, 1, 0}, 1, 180, 130},
        {160, 260, "#PES0040", {0x0001, 0x3130, 0, 0, 0}, 0, 160, 260},
        {260, 160, "#PES0040", {0x0001, 0x3130, 0, 0, 0}, 1, 260, 160},
    };
    StitchList l = MakeList({{-1000, 500}, {2500, -300}, {400, 1200}}, {0, 2});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hoopWidth);
        Bytes b = ExportBytes(l, c.hoopWidth, c.hoopHeight);
        EXPECT_EQ(c.magic, std::string(b.begin(), b.begin() + 8));
        for (size_t k = 0; k < c.hoopFields.size(); ++k) EXPECT_EQ(c.hoopFields[k], Le16(b, 12 + 2 * k)) << k;
        if (std::string(c.magic) == "#PES0040") {
            EXPECT_EQ(0, b[22]); // the last of the 11 leading bytes
            for (int k = 0; k < 11; ++k)
                EXPECT_EQ((std::vector<int>{c.hoopWidth, c.hoopHeight, c.rotation, 7, 19, 0, 0, 0, 25, 1, 0})[(size_t)k],
                          Le16(b, 23 + 2 * (size_t)k));
        }
        EXPECT_EQ(5u, Segments(b).size()) << "stitch, jump, stitch (a colour change), jump, stitch";
        long pec = Le32(b, 8);
        // The PEC width and height trade places when the design is turned.
        EXPECT_EQ(c.rotation ? 150 : 350, Le16(b, (size_t)pec + 520));
        EXPECT_EQ(c.rotation ? 350 : 150, Le16(b, (size_t)pec + 522));

        CPes in;
        StitchList back;
        ASSERT_EQ(1, ImportBytes(b, back, &in));
        EXPECT_EQ(c.readWidth, in.m_nHoopWidth);
        EXPECT_EQ(c.readHeight, in.m_nHoopHeight);
        EXPECT_EQ(c.rotation, in.m_nRotation);
        // Read back in the former orientation, the extents centred on the origin.
        StitchList expected = l;
        FindFormat("x.pes")->keep(expected);
        std::vector<std::pair<int, int>> want, got;
        for (long i = 0; i < l.nStitches; ++i) {
            want.push_back({expected.points[(size_t)i].x, expected.points[(size_t)i].y});
            got.push_back({back.points[(size_t)i].x, back.points[(size_t)i].y});
        }
        EXPECT_EQ(want, got);
    }
}

TEST(Pes, TheDesignMustFitTheHoop)
{
    TempDir dir;
    MessageCapture boxes;
    struct Case {
        int hoop;
        tagPOINT p;
        bool fits;
    } cases[] = {
        {130, {6509, 0}, true},   {130, {6510, 0}, false},  {130, {0, -9009}, true}, {130, {0, 9010}, false},
        {100, {-5009, 5009}, true}, {100, {5010, 0}, false}, {180, {9000, 6500}, true}, {180, {0, 6510}, false},
        {260, {-13000, 8000}, true}, {160, {0, -13010}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hoop << ": " << c.p.x << ", " << c.p.y);
        StitchList l = MakeList({{0, 0}, c.p});
        CPes pes;
        pes.m_nHoopWidth = c.hoop;
        std::string name = dir.File("fit.pes");
        EXPECT_EQ(c.fits ? 1 : 0, Export(pes, name, l));
        EXPECT_EQ(c.fits, dir.List().count("fit.pes") == 1);
        if (!c.fits) {
            EXPECT_EQ(KW_ERR_PES_EXPORT, GetSetup()->m_nLastError);
            EXPECT_EQ("Cannot save design " + name +
                          ". It does not fit within the embroidery field. Please resize the design.",
                      boxes.Texts().back());
        }
        std::remove(name.c_str());
    }
}

TEST(Pes, Segments)
{
    // A 30 mm move: a jump segment from the previous point in two steps of 12.7 mm, whose
    // first point is in the file frame like the others (y downward).
    StitchList l = MakeList({{100, 200}, {200, 300}, {3200, 300}, {3300, 400}}, {0});
    Bytes b = ExportBytes(l, 100);
    std::vector<Segment> s = Segments(b);
    ASSERT_EQ(3u, s.size());
    EXPECT_EQ(0, s[0].type);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{10, -20}, {20, -30}}), s[0].points);
    EXPECT_EQ(1, s[1].type);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{20, -30}, {147, -30}, {274, -30}}), s[1].points);
    EXPECT_EQ(0, s[2].type);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{320, -30}, {330, -40}}), s[2].points);

    // A long run is cut into segments of at most 16001 points.
    std::vector<tagPOINT> run(40000);
    for (size_t i = 0; i < run.size(); ++i) run[i] = tagPOINT{(int)(i % 2) * 100, 0};
    s = Segments(ExportBytes(MakeList(run), 100));
    ASSERT_EQ(3u, s.size());
    EXPECT_EQ(16001u, s[0].points.size());
    EXPECT_EQ(16001u, s[1].points.size());
    EXPECT_EQ(40000u - 32002u, s[2].points.size());
}

TEST(Pes, ColourListsAndTrailer)
{
    StitchList l = MakeList({{0, 0}, {100, 0}, {200, 0}, {3000, 0}, {3100, 0}}, {0, 2, 4});
    l.colors[0].nColor = 30;
    l.colors[1].nColor = 40;
    l.colors[2].nColor = 94;
    Bytes b = ExportBytes(l, 100);
    size_t at;
    std::vector<Segment> s = Segments(b, &at);
    // stitch(0,1) | stitch(2) jump(2->3) stitch(3) | stitch(4)
    ASSERT_EQ(5u, s.size());
    EXPECT_EQ((std::vector<int>{1, 11, 11, 11, 65}), (std::vector<int>{s[0].thread, s[1].thread, s[2].thread,
                                                                       s[3].thread, s[4].thread}));
    EXPECT_EQ(3, Le32(b, at));
    EXPECT_EQ((std::vector<int>{1, 1, 11, 4, 65, 0}),
              (std::vector<int>{Le16(b, at + 4), Le16(b, at + 6), Le16(b, at + 8), Le16(b, at + 10), Le16(b, at + 12),
                                Le16(b, at + 14)}));
    long pec = Le32(b, 8);
    EXPECT_EQ((size_t)pec, at + 16 + 2);
    EXPECT_EQ("LA:mem             \r", std::string(b.begin() + pec, b.begin() + pec + 20));
    EXPECT_EQ((Bytes{2, 1, 11, 65}), Bytes(b.begin() + pec + 48, b.begin() + pec + 52));
    // After the design's thumbnail, one per block, then the trailer.
    Bytes trailer(b.end() - 128, b.end());
    EXPECT_EQ((Bytes{3, 1, 11, 65, ' '}), Bytes(trailer.begin(), trailer.begin() + 5));
    long length = (long)(b[(size_t)pec + 514] | (b[(size_t)pec + 515] << 8) | (b[(size_t)pec + 516] << 16));
    EXPECT_EQ(0x31, b[(size_t)pec + 517]);
    EXPECT_EQ((size_t)pec + 512 + (size_t)length + 4 * 228 + 128, b.size());

    StitchList one = MakeList({{0, 0}, {100, 0}});
    b = ExportBytes(one, 100);
    Bytes expected(128, ' ');
    expected[0] = 0;
    expected[1] = 1;
    EXPECT_EQ(expected, Bytes(b.end() - 128, b.end()));

    std::vector<CIconImage> thumbs;
    CMemFile mem;
    mem.Write(b.data(), (UINT)b.size());
    CPes reader;
    reader.m_pFile = &mem;
    ASSERT_TRUE(reader.ReadThumbnails("mem.pes", thumbs));
    EXPECT_EQ(2u, thumbs.size());
}

TEST(Pes, PartSetsCarryTheWholeDesignsExtents)
{
    TempDir dir;
    MessageCapture boxes;
    const long full = (0x1C000 - 1024) / 4;
    std::vector<tagPOINT> pts((size_t)(full + 100));
    for (size_t i = 0; i < pts.size(); ++i) pts[i] = tagPOINT{1000 + (int)(i % 2) * 1000, 1000 + (int)(i % 2) * 1000};
    pts.back() = tagPOINT{-3000, -4000};
    StitchList l = MakeList(pts, {0, 10});
    CPes out;
    ASSERT_EQ(1, Export(out, dir.File("set.pes"), l));
    ASSERT_EQ((std::set<std::string>{"set_A.pes", "set_B.pes", "set_C.pes"}), dir.List());
    for (const char* part : {"set_A.pes", "set_B.pes", "set_C.pes"}) {
        Bytes b = ReadBytes(dir.File(part));
        EXPECT_EQ((std::vector<int>{1000 - 300, 1000 - 400, 1000 + 200, 1000 + 200}),
                  (std::vector<int>{Le16(b, 31), Le16(b, 33), Le16(b, 35), Le16(b, 37)}))
            << part;
        long pec = Le32(b, 8);
        EXPECT_EQ(500, Le16(b, (size_t)pec + 520));
        EXPECT_EQ(600, Le16(b, (size_t)pec + 522));
    }
    StitchList back;
    CPes in;
    ASSERT_EQ(1, Import(in, dir.File("set_a.pes"), back));
    StitchList expected = l;
    FindFormat("x.pes")->keep(expected);
    // In place, each point in its colour; the block cut between two files comes back as
    // two blocks of one colour.
    ASSERT_EQ(expected.nStitches, back.nStitches);
    auto colourAt = [](const StitchList& s, long i) {
        int k = 0;
        while (k + 1 < s.nColors && s.colors[(size_t)k + 1].nStitch <= i) ++k;
        return s.colors[(size_t)k].nColor;
    };
    for (long i = 0; i < back.nStitches; ++i) {
        ASSERT_EQ(expected.points[(size_t)i].x, back.points[(size_t)i].x) << i;
        ASSERT_EQ(expected.points[(size_t)i].y, back.points[(size_t)i].y) << i;
        ASSERT_EQ(colourAt(expected, i), colourAt(back, i)) << i;
    }
    EXPECT_EQ(3, back.nColors);
}

TEST(Pes, ReadRefusalsAndCounts)
{
    StitchList l = MakeList({{0, 0}, {100, 0}});
    Bytes b = ExportBytes(l, 100);
    StitchList back;
    ASSERT_EQ(1, ImportBytes(b, back));
    Bytes other = b;
    other[6] = '9';
    EXPECT_EQ(-1, ImportBytes(other, back));
    Bytes v3 = b; // "#PES0030" reads with 4 more bytes before the hoop fields
    v3[5] = '0', v3[6] = '3';
    EXPECT_EQ(-1, ImportBytes(Bytes(b.begin(), b.begin() + 10), back));
    Bytes far = b;
    far[11] = 0x7F; // a PEC offset beyond the file
    EXPECT_EQ(-1, ImportBytes(far, back));
    TempDir dir;
    EXPECT_EQ(-1, CPes().GetMaxNoStitches(dir.File("missing.pes").c_str()));
    EXPECT_EQ(-1, CPes().GetMaxNoStitches(dir.File("missing_a.pes").c_str()));
    // An empty design writes nothing.
    MessageCapture boxes;
    StitchList empty = MakeList({});
    CPes e;
    EXPECT_EQ(0, Export(e, dir.File("e.pes"), empty));
    EXPECT_EQ(KW_ERR_NO_STITCHES, GetSetup()->m_nLastError);
    EXPECT_TRUE(dir.List().empty());
}
