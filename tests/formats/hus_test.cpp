#include "test_util.h"

#include "core/endian.h"
#include "core/sample_design.h"
#include "core/stitch_compare.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes Pack(const Bytes& data)
{
    Bytes copy = data;
    ALMemory in("in", copy.data(), (long)copy.size());
    ALMemory out("out");
    ALGlCompressor engine(0, 0);
    EXPECT_EQ(0, engine.Compress(in, out));
    return Bytes(out.GetBuffer(), out.GetBuffer() + out.GetSize());
}

Bytes Unpack(const unsigned char* data, size_t n)
{
    ALMemory in("in", const_cast<unsigned char*>(data), (long)n);
    ALMemory out("out");
    ALGlDecompressor engine(0);
    engine.Decompress(in, out, (long)n);
    return Bytes(out.GetBuffer(), out.GetBuffer() + out.GetSize());
}

struct Rec {
    unsigned char c;
    int x, y;
};

// A HUS file from records and a colour list; n overrides the record count in the header.
Bytes HusFile(const std::vector<Rec>& recs, const std::vector<uint16_t>& colors, long n = -1)
{
    Bytes c, x, y;
    for (auto& r : recs) {
        c.push_back(r.c);
        x.push_back((unsigned char)(int8_t)r.x);
        y.push_back((unsigned char)(int8_t)r.y);
    }
    Bytes pc = Pack(c), px = Pack(x), py = Pack(y);
    Bytes f(42, 0);
    uint32_t k = (uint32_t)colors.size(), off = 42 + 2 * k;
    PutLE32(&f[0], CHus::kMagic);
    PutLE32(&f[4], (uint32_t)(n < 0 ? (long)recs.size() : n));
    PutLE32(&f[8], k);
    PutLE32(&f[20], off);
    PutLE32(&f[24], off + (uint32_t)pc.size());
    PutLE32(&f[28], off + (uint32_t)(pc.size() + px.size()));
    for (uint16_t col : colors) {
        f.push_back((unsigned char)col);
        f.push_back((unsigned char)(col >> 8));
    }
    for (const Bytes* s : {&pc, &px, &py}) f.insert(f.end(), s->begin(), s->end());
    return f;
}

int ImportBytes(const Bytes& bytes, StitchList& l)
{
    CMemFile mem;
    mem.Write(bytes.data(), (UINT)bytes.size());
    CHus hus;
    hus.m_pFile = &mem;
    return Import(hus, "mem.hus", l);
}

// The records of an exported file: commands, x and y steps.
std::vector<Rec> Records(const Bytes& file, std::vector<uint16_t>* colors = nullptr)
{
    uint32_t k = GetLE32(&file[8]), c = GetLE32(&file[20]), x = GetLE32(&file[24]), y = GetLE32(&file[28]);
    if (colors)
        for (uint32_t j = 0; j < k; ++j) colors->push_back(GetLE16(&file[42 + 2 * j]));
    Bytes cs = Unpack(&file[c], x - c), xs = Unpack(&file[x], y - x), ys = Unpack(&file[y], file.size() - y);
    std::vector<Rec> r;
    for (size_t i = 0; i < cs.size(); ++i) r.push_back({cs[i], (int8_t)xs[i], (int8_t)ys[i]});
    return r;
}

Bytes ExportBytes(StitchList l)
{
    CMemFile mem;
    CHus hus;
    hus.m_pFile = &mem;
    EXPECT_EQ(1, Export(hus, "mem.hus", l));
    return Bytes(mem.Data(), mem.Data() + mem.GetLength());
}

bool operator==(const Rec& a, const Rec& b) { return a.c == b.c && a.x == b.x && a.y == b.y; }

constexpr unsigned char S = CHus::kStitch, J = CHus::kJump, C = CHus::kColorChange, T = CHus::kTrim, E = CHus::kEnd;

// A design of n stitches in blocks starting at the given points.
StitchList Long(long n, std::vector<int> starts)
{
    std::vector<tagPOINT> pts((size_t)n);
    for (long i = 0; i < n; ++i) pts[(size_t)i] = {(int32_t)(i % 100) * 10, (int32_t)(i % 7) * 10};
    return MakeList(pts, starts);
}

} // namespace

TEST(Hus, ImportRecordsColoursAndEdges)
{
    StitchList l;
    ASSERT_EQ(1, ImportBytes(HusFile({{S, 5, -5}, {J, 100, 0}, {S, 1, 1}, {T, 0, 0}, {C, 0, 0}, {S, -3, 2}, {E, 0, 0}},
                                     {7, 20}),
                             l));
    ASSERT_EQ(3, l.nStitches);
    EXPECT_EQ(50, l.points[0].x);
    EXPECT_EQ(1060, l.points[1].x);
    EXPECT_EQ(-40, l.points[1].y);
    EXPECT_EQ(1030, l.points[2].x);
    ASSERT_EQ(2, l.nColors);
    EXPECT_EQ(7, l.colors[0].nColor);
    EXPECT_EQ(20, l.colors[1].nColor);
    EXPECT_EQ(2, l.colors[1].nStitch);
    EXPECT_EQ(7, l.colors[2].nStitch);
    EXPECT_EQ(0, l.types[1]); // jumps only move

    struct Case {
        const char* what;
        std::vector<Rec> recs;
        std::vector<uint16_t> colors;
        long stitches;
        std::vector<int> blockColors;
    } cases[] = {
        // The empty last block goes; every stitch stays.
        {"ending on a colour change", {{S, 1, 0}, {S, 1, 0}, {C, 0, 0}, {E, 0, 0}}, {3, 4}, 2, {3}},
        {"no stitch at all", {{E, 0, 0}}, {3}, 0, {}},
        {"colour changes beyond the list", {{S, 1, 0}, {C, 0, 0}, {S, 1, 0}, {C, 0, 0}, {S, 1, 0}}, {5, 6}, 3, {5, 6, 6}},
        {"an empty colour list", {{S, 1, 0}, {C, 0, 0}, {S, 1, 0}}, {}, 2, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(1, ImportBytes(HusFile(c.recs, c.colors), l));
        EXPECT_EQ(c.stitches, l.nStitches);
        ASSERT_EQ((int)c.blockColors.size(), l.nColors);
        for (size_t k = 0; k < c.blockColors.size(); ++k) EXPECT_EQ(c.blockColors[k], l.colors[k].nColor);
        EXPECT_EQ(c.stitches + 4, l.colors[(size_t)l.nColors].nStitch);
    }
}

TEST(Hus, ImportRefusals)
{
    StitchList l;
    EXPECT_EQ(0, ImportBytes(HusFile({{S, 1, 0}}, std::vector<uint16_t>(256, 1)), l));
    EXPECT_EQ(1, ImportBytes(HusFile({{S, 1, 0}}, std::vector<uint16_t>(255, 1)), l));
    std::vector<Rec> many;
    for (int k = 0; k < 254; ++k) {
        if (k) many.push_back({C, 0, 0});
        many.push_back({S, 1, 0});
    }
    EXPECT_EQ(1, ImportBytes(HusFile(many, {1}), l));
    EXPECT_EQ(254, l.nColors);
    many.push_back({C, 0, 0}); // would open a 255th block
    EXPECT_EQ(0, ImportBytes(HusFile(many, {1}), l));

    // A header that claims more records than the sections hold: walked as far as they reach.
    Bytes f = HusFile({{S, 1, 0}, {S, 1, 0}}, {1}, 1000000);
    ASSERT_EQ(1, ImportBytes(f, l));
    EXPECT_EQ(2, l.nStitches);
    Bytes cut = f;
    PutLE32(&cut[28], (uint32_t)cut.size() + 10); // y section beyond the end
    MessageCapture boxes;
    EXPECT_EQ(0, ImportBytes(cut, l));
}

TEST(Hus, GetMaxNoStitchesTrustsOnlyTheRecordsHeld)
{
    TempDir dir;
    EXPECT_EQ(15, CHus().GetMaxNoStitches(dir.File("missing.hus").c_str()));
    EXPECT_EQ(15, CHus().GetMaxNoStitches(dir.File("missing_a.hus").c_str()));
    std::vector<Rec> recs(999, {S, 1, 0});
    recs.push_back({E, 0, 0});
    WriteBytes(dir.File("a.hus"), HusFile(recs, {1}));
    EXPECT_EQ(1016, CHus().GetMaxNoStitches(dir.File("a.hus").c_str()));
    WriteBytes(dir.File("b.hus"), HusFile({{S, 1, 0}, {E, 0, 0}}, {1}, 2000000000));
    EXPECT_EQ(18, CHus().GetMaxNoStitches(dir.File("b.hus").c_str()));
    WriteBytes(dir.File("set_A.hus"), HusFile(recs, {1}));
    WriteBytes(dir.File("set_B.hus"), HusFile({{S, 1, 0}, {E, 0, 0}}, {1}));
    EXPECT_EQ(1000 + 2 + 16, CHus().GetMaxNoStitches(dir.File("set_a.hus").c_str()));
}

TEST(Hus, ExportRecords)
{
    std::vector<uint16_t> colors;
    auto r = Records(ExportBytes(MakeList({{3000, 0}, {3000 + 3810, 0}}, {0, 1})), &colors);
    EXPECT_EQ((std::vector<Rec>{{J, 127, 0}, {J, 127, 0}, {S, 46, 0},                            // 30 mm: no trim
                                {C, 0, 0}, {T, 0, 0}, {J, 127, 0}, {J, 127, 0}, {S, 127, 0}, // 38.1 mm: a trim first
                                {E, 0, 0}}),
              r);
    EXPECT_EQ((std::vector<uint16_t>{0, 1}), colors);
    // Truncation toward zero, for negative values too.
    EXPECT_EQ((std::vector<Rec>{{S, -1, 1}, {E, 0, 0}}), Records(ExportBytes(MakeList({{-19, 19}}))));
    // Colours outside the palette take the nearest of its 29.
    StitchList l = MakeList({{0, 0}, {10, 0}}, {0, 1});
    l.colors[0].nColor = 49;  // Brother black
    l.colors[1].nColor = 109; // Lt Gray
    colors.clear();
    Records(ExportBytes(l), &colors);
    EXPECT_EQ((std::vector<uint16_t>{0, 22}), colors);
}

TEST(Hus, SplitsIntoPartsAndReadsThemBack)
{
    TempDir dir;
    MessageCapture boxes;
    struct Case {
        const char* what;
        StitchList design;
        int split;
        std::vector<long> partStitches;
        int blocksReadBack; // each part begins a colour block of its own
    };
    std::vector<int> twelve, thirteen;
    for (int k = 0; k < 13; ++k) {
        if (k < 12) twelve.push_back(k * 100);
        thirteen.push_back(k * 100);
    }
    Case cases[] = {
        {"12 blocks, 24000 stitches", Long(24000, twelve), 1, {24000}, 12},
        {"13 blocks", Long(2000, thirteen), 1, {1200, 800}, 13},
        {"one block of 50000", Long(50000, {0}), 1, {24000, 24000, 2000}, 3},
        {"split off", Long(50000, {0}), 0, {50000}, 1},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir d;
        GetSetup()->m_bVikingSplit = c.split;
        CHus hus;
        ASSERT_EQ(1, Export(hus, d.File("rose_a.hus"), c.design));
        auto names = d.List();
        if (c.partStitches.size() == 1) {
            EXPECT_EQ(std::set<std::string>{"rose.hus"}, names);
            continue;
        }
        ASSERT_EQ(c.partStitches.size(), names.size());
        EXPECT_EQ(17000 + (int)names.size(), GetSetup()->m_nLastError);
        for (size_t k = 0; k < c.partStitches.size(); ++k) {
            // Through a memory file: a name ending in _A.hus stands for the whole set.
            StitchList part;
            ASSERT_EQ(1, ImportBytes(ReadBytes(d.File(std::string("rose_") + (char)('A' + k) + ".hus")), part));
            EXPECT_EQ(c.partStitches[k], part.nStitches);
        }
        StitchList whole;
        CHus in;
        ASSERT_EQ(1, Import(in, d.File("rose_a.hus"), whole));
        EXPECT_EQ(c.design.nStitches, whole.nStitches);
        EXPECT_EQ(c.blocksReadBack, whole.nColors);
        EXPECT_EQ(c.design.points.back().x, whole.points[(size_t)whole.nStitches - 1].x);
    }
    GetSetup()->m_bVikingSplit = 1;

    // A caller's memory file takes the whole design.
    CMemFile mem;
    CHus hus;
    hus.m_pFile = &mem;
    StitchList big = Long(50000, {0});
    ASSERT_EQ(1, Export(hus, "m.hus", big));
    StitchList back;
    ASSERT_EQ(1, ImportBytes(Bytes(mem.Data(), mem.Data() + mem.GetLength()), back));
    EXPECT_EQ(50000, back.nStitches);

    // More than 26 parts: refused before anything is written.
    StitchList huge = Long(26 * 24000 + 1, {0});
    CHus h2;
    EXPECT_EQ(0, Export(h2, dir.File("huge.hus"), huge));
    EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
    EXPECT_TRUE(dir.List().empty());

    // A set whose first part is missing.
    StitchList none;
    CHus h3;
    EXPECT_EQ(0, Import(h3, dir.File("gone_a.hus"), none));
}

TEST(Hus, SampleRoundTripAndEmptyDesign)
{
    StitchList sample;
    MakeSampleDesign(sample);
    StitchList back;
    ASSERT_EQ(1, ImportBytes(ExportBytes(sample), back));
    const FormatInfo* f = FindFormat("x.hus");
    f->keep(sample);
    f->keep(back);
    std::string why;
    EXPECT_TRUE(SameStitchList(sample, back, &why)) << why;

    MessageCapture boxes;
    StitchList empty;
    CHus hus;
    EXPECT_EQ(0, Export(hus, "/nonexistent/x.hus", empty));
    EXPECT_EQ(KW_ERR_NO_STITCHES, GetSetup()->m_nLastError);
}
