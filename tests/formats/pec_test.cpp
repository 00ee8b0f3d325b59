#include "test_util.h"
#include "core/sample_design.h"
#include "core/stitch_compare.h"
#include "formats/pe_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using namespace testutil;

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes Encode(int dx, int dy, int jump)
{
    unsigned char b[8];
    int n = PEEncodeValue(b, (short)dx, (short)dy, jump);
    return Bytes(b, b + n);
}

// A PEC file around the given stitch data: the colour entries, width and height.
Bytes PecFile(const Bytes& data, const Bytes& colors = {1}, int width = 0, int height = 0, long length = -1,
              bool thumbnail = true)
{
    Bytes b;
    std::string head = "#PEC0001LA:test            \r";
    b.insert(b.end(), head.begin(), head.end());
    b.resize(40, ' ');
    for (unsigned char c : {0xFF, 0x00, 0x06, 0x26}) b.push_back(c);
    b.resize(56, ' ');
    b.push_back((unsigned char)(colors.size() - 1));
    b.insert(b.end(), colors.begin(), colors.end());
    b.resize(520, ' ');
    long l = length >= 0 ? length : 16 + (long)data.size();
    for (unsigned char c : {0, 0, (int)(l & 0xFF), (int)((l >> 8) & 0xFF), (int)((l >> 16) & 0xFF), 0x31, 0xFF, 0xF0})
        b.push_back(c);
    for (int v : {width, height, 0x01E0, 0x01B0}) {
        b.push_back((unsigned char)v);
        b.push_back((unsigned char)(v >> 8));
    }
    b.insert(b.end(), data.begin(), data.end());
    if (thumbnail) b.resize(b.size() + 228, 0);
    return b;
}

int ImportBytes(const Bytes& bytes, StitchList& l, int nColorsBefore = 0)
{
    CMemFile mem;
    mem.Write(bytes.data(), (UINT)bytes.size());
    CPec pec;
    pec.m_pFile = &mem;
    long max = pec.GetMaxNoStitches("mem.pec");
    if (max < 0) return -1;
    l.Clear();
    l.Reserve(max + 16);
    l.nColors = nColorsBefore;
    CPec in;
    in.m_pFile = &mem;
    return in.ImportFile("mem.pec", &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data());
}

Bytes ExportBytes(StitchList l, const char* name = "mem.pec")
{
    CMemFile mem;
    CPec pec;
    pec.m_pFile = &mem;
    EXPECT_EQ(1, Export(pec, name, l));
    return Bytes(mem.Data(), mem.Data() + mem.GetLength());
}

typedef std::vector<std::pair<int, int>> PointList;

PointList Points(const StitchList& l)
{
    PointList p;
    for (long i = 0; i < l.nStitches; ++i) p.push_back({l.points[(size_t)i].x, l.points[(size_t)i].y});
    return p;
}

// Points that step by (dx, dy) in 0.01 mm, n of them, from (x0, y0).
std::vector<tagPOINT> Walk(long n, int dx, int dy, int x0 = 0, int y0 = 0)
{
    std::vector<tagPOINT> p((size_t)n);
    for (long i = 0; i < n; ++i) p[(size_t)i] = tagPOINT{x0 + (int)(i % 2) * dx, y0 + (int)(i % 2) * dy};
    return p;
}

} // namespace

TEST(PeCodec, EncodedBytes)
{
    struct Case {
        int dx, dy, jump;
        Bytes bytes;
    } cases[] = {
        {0, 0, 0, {0x00, 0x00}},
        {63, -1, 0, {0x3F, 0x7F}},
        {-64, 0, 0, {0x40, 0x00}},
        {64, 0, 0, {0x80, 0x40, 0x00}},
        {-65, 0, 0, {0x8F, 0xBF, 0x00}},
        {126, 0, 0, {0x80, 0x7E, 0x00}},
        {127, 0, 0, {0xA0, 0x7F, 0xA0, 0x00, 0x00, 0x00}},
        {0, -127, 0, {0xA0, 0x00, 0xAF, 0x81, 0x00, 0x00}},
        {10, -3, 1, {0x90, 0x0A, 0x9F, 0xFD}},
        {2047, -2047, 1, {0x97, 0xFF, 0x98, 0x01}},
        {2048, 0, 1, {0xA7, 0x00, 0xA0, 0x00, 0x91, 0x00, 0x90, 0x00}},
        {3000, 0, 1, {0xA7, 0xB8, 0xA0, 0x00, 0x94, 0x00, 0x90, 0x00}},
        // beyond what one value carries twice: clamped, not exact
        {-3000, 5000, 1, {0xA8, 0x48, 0xA7, 0x88, 0x9C, 0x00, 0x97, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dy << (c.jump ? " jump" : " stitch"));
        EXPECT_EQ(c.bytes, Encode(c.dx, c.dy, c.jump));
    }
}

TEST(PeCodec, EveryDisplacementWithinReachComesBack)
{
    // A point per displacement, each encoded from the one before: a stitch for short ones,
    // and the long ones both as stitches and as jumps after a colour change.
    StitchList l;
    int x = 0, y = 0;
    std::vector<int> starts = {0};
    for (int d = -4096; d <= 3839; d += 7) {
        if (d % 50 == 0) starts.push_back((int)l.points.size());
        x += d;
        y -= d / 3;
        l.points.push_back({x * 10, y * 10});
    }
    l = MakeList(l.points, starts);
    StitchList back;
    ASSERT_EQ(1, ImportBytes(ExportBytes(l), back));
    EXPECT_EQ(Points(l), Points(back));
    EXPECT_EQ(l.nColors, back.nColors);
}

TEST(PeCodec, DecodingEdges)
{
    struct Case {
        const char* what;
        Bytes data;
        int width, height;
        PointList points;
        int colors;
    } cases[] = {
        {"starts at minus half the width and half the height", {0x01, 0x01, 0xFF}, 41, 31, {{-190, 140}}, 1},
        {"a move pair stores nothing", {0xA0, 0x05, 0xA0, 0x05, 0x00, 0x00, 0xFF}, 0, 0, {{50, -50}}, 1},
        {"the x value's kind does not matter", {0xA0, 0x05, 0x90, 0x05, 0xFF}, 0, 0, {{50, -50}}, 1},
        {"a colour change keeps the x turn", {0x02, 0xFE, 0xB0, 0x02, 0x03, 0x01, 0x01, 0xFF}, 0, 0,
         {{20, -30}, {30, -40}}, 2},
        {"ending with a colour change loses the last point", {0x02, 0x03, 0x01, 0x01, 0xFE, 0xB0, 0x01, 0xFF}, 0, 0,
         {{20, -30}}, 2},
        {"a bad colour change stops without that loss", {0x02, 0x03, 0xFE, 0xB0, 0x02, 0xFE, 0xB0, 0x03, 0x01, 0x01},
         0, 0, {{20, -30}}, 2},
        {"a byte of no meaning stops", {0x02, 0x03, 0xB5, 0x01, 0x01}, 0, 0, {{20, -30}}, 1},
        {"a byte of no meaning after a colour change loses a point", {0x02, 0x03, 0xFE, 0xB0, 0x02, 0xC0}, 0, 0, {},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StitchList l;
        ASSERT_EQ(1, ImportBytes(PecFile(c.data, {1, 2, 3}, c.width, c.height), l));
        EXPECT_EQ(c.points, Points(l));
        EXPECT_EQ(c.colors, l.nColors);
        EXPECT_EQ(l.nStitches + 4, l.colors[(size_t)l.nColors].nStitch);
        EXPECT_EQ(30, l.colors[0].nColor);
    }
    // The count L ends the data too; a file cut short keeps what was read (and says so).
    StitchList l;
    ASSERT_EQ(1, ImportBytes(PecFile({0x01, 0x01, 0x02, 0x02, 0x03, 0x03, 0xFF}, {1}, 0, 0, 4), l));
    EXPECT_EQ(2, l.nStitches);
    MessageCapture boxes;
    ASSERT_EQ(1, ImportBytes(PecFile({0x01, 0x01, 0x02, 0x02, 0x03}, {1}, 0, 0, -1, false), l));
    EXPECT_EQ(2, l.nStitches);
    EXPECT_EQ(std::vector<std::string>{"Error reading from file."}, boxes.Texts());
}

TEST(PeCodec, AFileWithoutCoordinatesTakesNoPointFromTheOnesBefore)
{
    CMemFile mem;
    Bytes b = PecFile({0xFF});
    mem.Write(b.data(), (UINT)b.size());
    StitchList l;
    l.Reserve(10);
    l.nStitches = 5;
    l.nColors = 1;
    CPec pec;
    pec.m_pFile = &mem;
    ASSERT_EQ(1, pec.ImportFile("m.pec", &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data()));
    EXPECT_EQ(5, l.nStitches);
    EXPECT_EQ(2, l.nColors);
}

TEST(PeCodec, ThumbnailRowsAndFrame)
{
    CEmbIcon icon;
    ASSERT_EQ(1, icon.Create(40, 34));
    ASSERT_EQ(1, icon.SetScale(40, 34)); // one pixel per unit, origin at (20, 17)
    std::vector<std::pair<int, int>> drawn = {{0, 0}, {39, 0}, {7, 5}, {8, 33}, {20, 17}};
    // x + 0.5 is cut toward zero: a pixel left of or above the centre needs one unit more.
    auto unit = [](int p, int centre) { return p >= centre ? p - centre : p - centre - 1; };
    for (auto [px, py] : drawn) icon.MoveTo(unit(px, 20), unit(py, 17));
    Bytes rows;
    pec::AppendThumbnail(rows, icon);
    ASSERT_EQ(228u, rows.size());
    CIconImage img = UnpackIcon(rows.data(), 48, 38, 6, false, "t");
    std::set<std::pair<int, int>> expected;
    for (int c = 4; c <= 43; ++c) expected.insert({c, 1}), expected.insert({c, 36});
    for (int r = 0; r < 34; ++r) {
        int inset = r == 0 || r == 33 ? 3 : r == 1 || r == 32 ? 2 : 1;
        expected.insert({inset, r + 2});
        expected.insert({47 - inset, r + 2});
    }
    // Icon pixel p lands in column 43 - p, row r in row r + 2.
    for (auto [px, py] : drawn) expected.insert({43 - px, py + 2});
    std::set<std::pair<int, int>> got;
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 48; ++x)
            if (img.Pixel(x, y)) got.insert({x, y});
    std::vector<std::pair<int, int>> missing, extra;
    std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(), std::back_inserter(missing));
    std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    EXPECT_TRUE(missing.empty() && extra.empty()) << testing::PrintToString(missing) << " / " << testing::PrintToString(extra);
}

TEST(Pec, FileLayout)
{
    StitchList l = MakeList({{0, 0}, {100, -50}, {200, 0}, {5000, 0}}, {0, 2});
    l.colors[0].nColor = 30; // the first Brother thread
    l.colors[1].nColor = 94; // the last
    Bytes b = ExportBytes(l, "/some/dir/my.rose.design.pec");
    ASSERT_GT(b.size(), 536u + 228u);
    EXPECT_EQ("#PEC0001LA:my.rose.design  \r", std::string(b.begin(), b.begin() + 28));
    EXPECT_EQ(std::string(12, ' '), std::string(b.begin() + 28, b.begin() + 40));
    EXPECT_EQ((Bytes{0xFF, 0x00, 0x06, 0x26}), Bytes(b.begin() + 40, b.begin() + 44));
    EXPECT_EQ((Bytes{1, 1, 65, ' '}), Bytes(b.begin() + 56, b.begin() + 60));
    EXPECT_EQ(' ', b[519]);
    Bytes data = {0x00, 0x00,                         // the first point, from the origin
                  0x0A, 0x05,                         // (10, -5): y counts downward
                  0xFE, 0xB0, 0x02,                   // a colour change, then a jump
                  0x90, 0x0A, 0x9F, 0xFB,             //
                  0xA1, 0xE0, 0xA0, 0x00, 0x00, 0x00, // 48 mm: a move and a stitch of 0
                  0xFF};
    long length = 16 + (long)data.size();
    EXPECT_EQ((Bytes{0, 0, (unsigned char)length, 0, 0, 0x31, 0xFF, 0xF0, 0, 0, 0, 0, 0xE0, 0x01, 0xB0, 0x01}),
              Bytes(b.begin() + 520, b.begin() + 536));
    EXPECT_EQ(data, Bytes(b.begin() + 536, b.begin() + 536 + (long)data.size()));
    EXPECT_EQ(536u + data.size() + 228u, b.size());

    // Colours outside the range map to the nearest Brother thread; the label has no
    // directory and is cut to 16 characters before its extension is cut.
    l.colors[0].nColor = 0; // black
    b = ExportBytes(l, "C:\\designs\\a_long_name_of_a_rose.pec");
    EXPECT_EQ("#PEC0001LA:a_long_name_of_a\r", std::string(b.begin(), b.begin() + 28));
    EXPECT_EQ(GetThreadColor(0), GetThreadColor(b[57] + 29));
}

TEST(Pec, ReadRefusals)
{
    StitchList l;
    Bytes good = PecFile({0x01, 0x01, 0xFF});
    ASSERT_EQ(1, ImportBytes(good, l));
    Bytes wrongMagic = good;
    wrongMagic[4] = '2';
    EXPECT_EQ(-1, ImportBytes(wrongMagic, l));
    {
        CMemFile mem;
        mem.Write(wrongMagic.data(), (UINT)wrongMagic.size());
        CPec pec;
        pec.m_pFile = &mem;
        l.Reserve(10);
        EXPECT_EQ(0, pec.ImportFile("m.pec", &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data()));
    }
    Bytes noZero = good;
    noZero[520] = 'x';
    EXPECT_EQ(-1, ImportBytes(noZero, l)); // no count: the file is refused before it is read
    {
        CMemFile mem;
        mem.Write(noZero.data(), (UINT)noZero.size());
        CPec pec;
        pec.m_pFile = &mem;
        l.Reserve(10);
        EXPECT_EQ(0, pec.ImportFile("m.pec", &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data()));
    }

    // A colour list longer than the 256 bytes the reader skips after it is read right.
    std::vector<int> starts;
    for (int k = 0; k < 230; ++k) starts.push_back(k);
    StitchList many = MakeList(Walk(230, 100, 0), starts);
    StitchList back;
    ASSERT_EQ(1, ImportBytes(ExportBytes(many), back));
    EXPECT_EQ(230, back.nColors);
    EXPECT_EQ(Points(many), Points(back));

    // Colour capacity: the list, and the colour changes, must fit 254 blocks.
    EXPECT_EQ(1, ImportBytes(PecFile({0x01, 0x01, 0xFF}, Bytes(4, 1)), l, 250));
    EXPECT_EQ(0, ImportBytes(PecFile({0x01, 0x01, 0xFF}, Bytes(5, 1)), l, 250));
    Bytes changes = {0x01, 0x01};
    for (int k = 0; k < 3; ++k) changes.insert(changes.end(), {0xFE, 0xB0, 0x02, 0x01, 0x01});
    EXPECT_EQ(1, ImportBytes(PecFile(changes), l, 250));
    EXPECT_EQ(254, l.nColors);
    changes.insert(changes.end(), {0xFE, 0xB0, 0x01, 0x01, 0x01});
    EXPECT_EQ(0, ImportBytes(PecFile(changes), l, 250));
}

TEST(Pec, GetMaxNoStitchesNeverBeyondTheFile)
{
    TempDir dir;
    EXPECT_EQ(-1, CPec().GetMaxNoStitches(dir.File("missing.pec").c_str()));
    Bytes b = PecFile({0x01, 0x01, 0xFF});
    WriteBytes(dir.File("a.pec"), b);
    EXPECT_EQ(16 + 3, CPec().GetMaxNoStitches(dir.File("a.pec").c_str()));
    Bytes lying = PecFile({0x01, 0x01, 0xFF}, {1}, 0, 0, 0xFFFFFF);
    WriteBytes(dir.File("b.pec"), lying);
    long max = CPec().GetMaxNoStitches(dir.File("b.pec").c_str());
    EXPECT_LE(max, (long)lying.size() / 2);
    StitchList l;
    CPec in;
    ASSERT_EQ(1, Import(in, dir.File("b.pec"), l));
    EXPECT_EQ(1, l.nStitches);
    WriteBytes(dir.File("c.pec"), Bytes(b.begin(), b.begin() + 300));
    EXPECT_EQ(-1, CPec().GetMaxNoStitches(dir.File("c.pec").c_str()));
}

TEST(Pec, AColourAreaThatEndsEarlyIsCountedWhereItIsRead)
{
    // The space fill ends at offset 314 instead of 520: the decoder reads its length, and
    // the stitch data, from there, and the count of points follows it.
    Bytes b = PecFile({});
    b.resize(314);
    b.insert(b.end(), {0x00, 0x00, 0x00, 0x01, 0x00, 0x31, 0xFF, 0xF0, 0, 0, 0, 0, 0xE0, 0x01, 0xB0, 0x01});
    for (int k = 0; k < 150; ++k) b.insert(b.end(), {0x01, 0x01});
    b.push_back(0xFF);
    CMemFile mem;
    mem.Write(b.data(), (UINT)b.size());
    CPec count;
    count.m_pFile = &mem;
    long max = count.GetMaxNoStitches("m.pec");
    ASSERT_GE(max, 150);
    StitchList l;
    l.Reserve(max);
    CPec in;
    in.m_pFile = &mem;
    ASSERT_EQ(1, in.ImportFile("m.pec", &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data()));
    EXPECT_EQ(128, l.nStitches); // L = 256 bytes: 128 points
}

TEST(Pec, WhereAFileOfASetEnds)
{
    // Stitches of (100, 100) file units take 4 bytes each: 28416 of them fill the budget.
    const long full = (0x1C000 - 1024) / 4;
    struct Case {
        const char* what;
        long stitches;
        std::vector<int> starts;
        std::vector<long> files; // points in each file
    } cases[] = {
        {"one block within the budget: one file", full, {0}, {full}},
        {"one block cut where the budget runs out", full + 10, {0}, {full, 10}},
        {"a file with a colour change ends at it", full + 110, {0, 100}, {100, full, 10}},
        {"a long block after the first is cut too", 2 * full, {0, 10}, {10, full, full - 10}},
    };
    MessageCapture boxes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        StitchList l = MakeList(Walk(c.stitches, 1000, 1000, 1000, 1000), c.starts);
        CPec out;
        ASSERT_EQ(1, Export(out, dir.File("w.pec"), l));
        std::vector<std::string> names;
        if (c.files.size() == 1) names.push_back("w.pec");
        for (size_t k = 0; k < c.files.size() && c.files.size() > 1; ++k) names.push_back(std::string("w_") + (char)('A' + k) + ".pec");
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), dir.List());
        std::vector<long> sizes;
        for (const auto& n : names) {
            StitchList one;
            EXPECT_EQ(1, ImportBytes(ReadBytes(dir.File(n)), one)); // w_A.pec alone; by name it is the set
            sizes.push_back(one.nStitches);
        }
        EXPECT_EQ(c.files, sizes);
    }
}

TEST(Pec, ColourBlocksOfASetFile)
{
    // 64 blocks fit one file; a 65th starts the next.
    TempDir dir;
    MessageCapture boxes;
    std::vector<int> starts;
    for (int k = 0; k < 64; ++k) starts.push_back(2 * k);
    StitchList l = MakeList(Walk(128, 1000, 0), starts);
    CPec a;
    ASSERT_EQ(1, Export(a, dir.File("c64.pec"), l));
    EXPECT_EQ(std::set<std::string>{"c64.pec"}, dir.List());
    starts.push_back(128);
    l = MakeList(Walk(130, 1000, 0), starts);
    CPec b;
    ASSERT_EQ(1, Export(b, dir.File("c65.pec"), l));
    EXPECT_EQ(17002, GetSetup()->m_nLastError);
    StitchList first, second;
    ASSERT_EQ(1, ImportBytes(ReadBytes(dir.File("c65_A.pec")), first));
    ASSERT_EQ(1, ImportBytes(ReadBytes(dir.File("c65_B.pec")), second));
    EXPECT_EQ(128, first.nStitches);
    EXPECT_EQ(64, first.nColors);
    EXPECT_EQ(2, second.nStitches);
    EXPECT_EQ(1, second.nColors);
    EXPECT_EQ(std::vector<std::string>{"Design " + dir.File("c65.pec") + " will be split into multiple files."},
              boxes.Texts());
}

TEST(Pec, PartSetsWriteAndReadBackInPlace)
{
    TempDir dir;
    MessageCapture boxes;
    StitchList sample;
    MakeSampleDesign(sample);
    // Enough points for three files, with the sample's blocks and moves repeated.
    StitchList big = sample;
    big.points.clear();
    std::vector<int> starts;
    for (int rep = 0; rep < 40; ++rep)
        for (int k = 0; k < sample.nColors; ++k) {
            starts.push_back((int)big.points.size());
            for (long i = BlockStart(sample.colors.data(), sample.nColors, k, sample.nStitches);
                 i < BlockEnd(sample.colors.data(), sample.nColors, k, sample.nStitches); ++i)
                big.points.push_back(sample.points[(size_t)i]);
        }
    big = MakeList(big.points, starts);
    for (int k = 0; k < big.nColors; ++k) big.colors[(size_t)k].nColor = (uint16_t)(30 + k % 65);
    CPec out;
    ASSERT_EQ(1, Export(out, dir.File("rose_a.pec"), big)); // a set name writes the base name's set
    std::set<std::string> files = dir.List();
    ASSERT_GE(files.size(), 3u);
    EXPECT_TRUE(files.count("rose_A.pec") && files.count("rose_B.pec") && files.count("rose_C.pec"));
    EXPECT_EQ(KW_PART_PROGRESS + (int)files.size() - 1, GetSetup()->m_nLastError);

    StitchList back;
    CPec in;
    ASSERT_EQ(1, Import(in, dir.File("rose_a.pec"), back));
    EXPECT_LE(back.nStitches, CPec().GetMaxNoStitches(dir.File("rose_a.pec").c_str()));
    StitchList expected = big;
    FindFormat("x.pec")->keep(expected);
    FindFormat("x.pec")->keep(back);
    std::string why;
    EXPECT_TRUE(SameStitchList(expected, back, &why)) << why;

    // Without a split, a set name writes the plain name.
    StitchList small = MakeList({{0, 0}, {100, 100}});
    CPec one;
    ASSERT_EQ(1, Export(one, dir.File("tulip_a.pes"), small));
    EXPECT_TRUE(dir.List().count("tulip.pec"));
}

TEST(Pec, MoreThan26FilesIsRefusedBeforeAnythingIsWritten)
{
    TempDir dir;
    MessageCapture boxes;
    const long full = (0x1C000 - 1024) / 4;
    StitchList l = MakeList(Walk(26 * full + 1, 1000, 1000, 1000, 1000));
    CPec out;
    EXPECT_EQ(0, Export(out, dir.File("huge.pec"), l));
    EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
    EXPECT_TRUE(dir.List().empty());
    l = MakeList(Walk(26 * full, 1000, 1000, 1000, 1000));
    CPec fits;
    EXPECT_EQ(1, Export(fits, dir.File("huge.pec"), l));
    EXPECT_EQ(26u, dir.List().size());
}

TEST(Pec, ExportFailures)
{
    TempDir dir;
    MessageCapture boxes;
    StitchList empty = MakeList({});
    CPec a;
    EXPECT_EQ(0, Export(a, dir.File("e.pec"), empty));
    EXPECT_EQ(KW_ERR_NO_STITCHES, GetSetup()->m_nLastError);
    StitchList l = MakeList({{0, 0}});
    CPec b;
    EXPECT_EQ(0, Export(b, dir.File("no/such/dir/x.pec"), l));
    EXPECT_EQ(KW_ERR_CREATE, GetSetup()->m_nLastError);
    EXPECT_TRUE(dir.List().empty());
    // A long name works, for the set's files too.
    std::string base(200, 'n');
    const long full = (0x1C000 - 1024) / 4;
    StitchList two = MakeList(Walk(full + 1, 1000, 1000, 1000, 1000));
    CPec c;
    ASSERT_EQ(1, Export(c, dir.File(base + ".pec"), two));
    EXPECT_EQ((std::set<std::string>{base + "_A.pec", base + "_B.pec"}), dir.List());
}

TEST(Pec, PesCostsTheDifferenceBeforeTruncating)
{
    // Steps of 12.69 mm: PES costs each as 126 units (3 bytes); PEC costs the truncated
    // positions, whose differences are mostly 127 (a move and a stitch, 6 bytes).
    std::vector<tagPOINT> pts(60000);
    for (size_t i = 0; i < pts.size(); ++i) pts[i] = tagPOINT{1269 * (int)(i + 1), 0};
    StitchList l = MakeList(pts);
    EXPECT_EQ((0x1C000 - 1024) / 3,
              pec::FindBoundry(0, l.nColors, l.colors.data(), l.nStitches, l.points.data(), pec::Costing::Pes));
    long pecEnd = pec::FindBoundry(0, l.nColors, l.colors.data(), l.nStitches, l.points.data(), pec::Costing::Pec);
    EXPECT_GT(pecEnd, (0x1C000 - 1024) / 6);
    EXPECT_LT(pecEnd, (0x1C000 - 1024) / 6 + 2500);
}
