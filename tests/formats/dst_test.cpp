#include "test_util.h"
#include "core/sample_design.h"
#include "core/stitch_compare.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

typedef std::vector<unsigned char> Bytes;

// A DST file from a header of spaces and the given records.
Bytes DstFile(const std::vector<uint32_t>& records)
{
    Bytes b(512, ' ');
    for (uint32_t r : records) {
        b.push_back((unsigned char)r);
        b.push_back((unsigned char)(r >> 8));
        b.push_back((unsigned char)(r >> 16));
    }
    return b;
}

uint32_t St(int dx, int dy) { return CDst::EncodeRecord(dx, dy, false); }
uint32_t Jump(int dx, int dy) { return CDst::EncodeRecord(dx, dy, true); }
constexpr uint32_t kColor = 0xC30000, kEnd = 0xF30000;

int ImportBytes(const Bytes& bytes, StitchList& l)
{
    CMemFile mem;
    mem.Write(bytes.data(), (UINT)bytes.size());
    CDst dst;
    dst.m_pFile = &mem;
    return Import(dst, "mem.dst", l);
}

// The records an export writes after the header, without the trailer.
std::vector<uint32_t> ExportRecords(StitchList l)
{
    CMemFile mem;
    CDst dst;
    dst.m_pFile = &mem;
    EXPECT_EQ(1, Export(dst, "mem.dst", l));
    std::vector<uint32_t> r;
    const BYTE* d = mem.Data();
    size_t n = (size_t)mem.GetLength();
    EXPECT_EQ(0x1A, d[n - 1]);
    for (size_t i = 512; i + 3 < n; i += 3) r.push_back(d[i] | (d[i + 1] << 8) | ((uint32_t)d[i + 2] << 16));
    EXPECT_EQ(kEnd, r.back());
    r.pop_back();
    return r;
}

} // namespace

TEST(Dst, EveryMoveEncodesAndDecodesBack)
{
    for (int dx = -121; dx <= 121; ++dx)
        for (int dy = -121; dy <= 121; ++dy) {
            uint32_t r = CDst::EncodeRecord(dx, dy, false);
            int x, y;
            CDst::DecodeRecord(r, &x, &y);
            ASSERT_EQ(dx, x);
            ASSERT_EQ(dy, y);
            ASSERT_EQ(0x030000u, r & 0xC30000u);
        }
    EXPECT_EQ(0x030001u, St(1, 0));
    EXPECT_EQ(0x030080u, St(0, 1));
    EXPECT_EQ(0x830081u, Jump(1, 1));
    EXPECT_EQ(0x830042u, Jump(-1, -1));
    EXPECT_EQ(0x230000u, St(0, 121) & 0xFF0000u); // +81 in y, with the record bits
}

TEST(Dst, ExportRecords)
{
    // 50 mm in x: four jumps of +121 and a stitch of +16.
    EXPECT_EQ((std::vector<uint32_t>{Jump(121, 0), Jump(121, 0), Jump(121, 0), Jump(121, 0), St(16, 0)}),
              ExportRecords(MakeList({{5000, 0}})));
    // Type 3 gets the six trim jumps first; type 2 does not.
    std::vector<uint32_t> trim = {Jump(1, 1), Jump(-1, -1), Jump(1, 1), Jump(-1, -1), Jump(1, 1), Jump(-1, -1)};
    std::vector<uint32_t> expected = {St(1, 1)};
    expected.insert(expected.end(), trim.begin(), trim.end());
    expected.push_back(St(1, 0));
    expected.push_back(St(1, 0));
    EXPECT_EQ(expected, ExportRecords(MakeList({{10, 10}, {20, 10}, {30, 10}}, {0}, {0, 3, 2})));
    // Two colour changes at one point: the second comes before the next point.
    EXPECT_EQ((std::vector<uint32_t>{St(1, 0), kColor, St(1, 0), kColor, St(1, 0)}),
              ExportRecords(MakeList({{10, 0}, {20, 0}, {30, 0}}, {0, 1, 1})));
    // Negative coordinates truncate toward zero.
    EXPECT_EQ((std::vector<uint32_t>{St(-1, 0), St(-1, -1)}), ExportRecords(MakeList({{-19, 9}, {-25, -15}})));
}

TEST(Dst, Header)
{
    StitchList l = MakeList({{100, 200}, {300, 400}, {10000, 400}}, {0, 2}, {0, 3, 0});
    std::string h = CDst::MakeHeader(l.nColors, l.nStitches, l.points.data(), "/some/dir/rose.design.dst",
                                     l.types.data());
    ASSERT_EQ(512u, h.size());
    // 1 + three points + six trim jumps + 8 jumps for the 97 mm move
    EXPECT_EQ("LA: rose           \rST:     18\rCO:  1\r+X: 1000\r-X:    0\r+Y:   40\r-Y:    0\r"
              "AX:+    0\rAY:+    0\rMX:+    0\rMY:+    0\rPD:******\r\x1a ",
              h.substr(0, 126));
    EXPECT_EQ(std::string(512 - 125, ' '), h.substr(125));

    std::string longName(700, 'n');
    h = CDst::MakeHeader(l.nColors, l.nStitches, l.points.data(), longName.c_str(), l.types.data());
    ASSERT_EQ(512u, h.size());
    EXPECT_EQ('\x1a', h[511]);
    EXPECT_EQ(0u, h.find("LA: nnnn"));
}

TEST(Dst, ImportEdges)
{
    struct Case {
        const char* what;
        std::vector<uint32_t> records;
        long stitches;
        int colors;
    } cases[] = {
        {"colour change before any stitch", {kColor, St(1, 0), St(1, 0), kEnd}, 2, 1},
        {"colour change at the end", {St(1, 0), St(1, 0), kColor, kEnd}, 2, 1},
        {"only the end record", {kEnd}, 0, 0},
        {"no end record", {St(1, 0), kColor, St(1, 1)}, 2, 2},
        {"end of file right after a colour change", {St(1, 0), kColor}, 1, 2},
        {"two blocks", {St(1, 0), kColor, St(1, 1), kEnd}, 2, 2},
        {"records without the record bits are ignored", {St(1, 0), 0x000001, St(1, 0), kEnd}, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StitchList l;
        ASSERT_EQ(1, ImportBytes(DstFile(c.records), l));
        EXPECT_EQ(c.stitches, l.nStitches);
        EXPECT_EQ(c.colors, l.nColors);
        EXPECT_EQ(c.stitches + 4, l.colors[(size_t)l.nColors].nStitch);
    }
}

TEST(Dst, ImportJumpsPaddingAndColours)
{
    Bytes b = DstFile({St(10, -5), Jump(121, 0), Jump(121, 0), St(1, 1), kColor, St(0, 2)});
    // zero padding: three zero bytes start it, further zeros are skipped, and the first
    // other byte goes with them
    Bytes pad = {0, 0, 0, 0, 0, 0x77};
    b.insert(b.end(), pad.begin(), pad.end());
    Bytes tail = DstFile({0xC3 << 16 | St(3, 0), St(1, 0), kEnd});
    b.insert(b.end(), tail.begin() + 512, tail.end());
    StitchList l;
    ASSERT_EQ(1, ImportBytes(b, l));
    ASSERT_EQ(4, l.nStitches);
    EXPECT_EQ((std::vector<int>{100, 2530, 2530, 2570}),
              (std::vector<int>{l.points[0].x, l.points[1].x, l.points[2].x, l.points[3].x}));
    EXPECT_EQ(-40, l.points[1].y);
    EXPECT_EQ(-20, l.points[2].y);
    EXPECT_EQ((std::vector<unsigned char>{0, 2, 0, 1}), std::vector<unsigned char>(l.types.begin(), l.types.begin() + 4));
    ASSERT_EQ(3, l.nColors);
    EXPECT_EQ((std::vector<int>{0, 2, 3}), (std::vector<int>{l.colors[0].nStitch, l.colors[1].nStitch, l.colors[2].nStitch}));
    EXPECT_EQ(2, l.colors[2].nColor);
    EXPECT_EQ(0, l.colors[2].nExtra);
}

TEST(Dst, ImportRefusesA255thBlockAndShortFiles)
{
    std::vector<uint32_t> r;
    for (int k = 0; k < 254; ++k) {
        if (k) r.push_back(kColor);
        r.push_back(St(1, 0));
    }
    StitchList l;
    ASSERT_EQ(1, ImportBytes(DstFile(r), l));
    EXPECT_EQ(254, l.nColors);
    EXPECT_EQ(258, l.colors[254].nStitch);
    r.push_back(kColor); // would open a 255th block
    EXPECT_EQ(0, ImportBytes(DstFile(r), l));

    MessageCapture boxes;
    EXPECT_EQ(0, ImportBytes(Bytes(100, ' '), l));
    EXPECT_EQ(KW_ERR_READ, GetSetup()->m_nLastError);
    EXPECT_EQ(std::vector<std::string>{"Error reading from file."}, boxes.Texts());
}

TEST(Dst, GetMaxNoStitches)
{
    TempDir dir;
    CDst dst;
    EXPECT_EQ(-1, dst.GetMaxNoStitches(dir.File("missing.dst").c_str()));
    struct Case {
        size_t length;
        long max;
    } cases[] = {{0, 0}, {100, 0}, {509, 0}, {511, 1}, {512, 1}, {542, 11}, {544, 11}};
    for (const auto& c : cases) {
        WriteBytes(dir.File("f.dst"), Bytes(c.length, ' '));
        EXPECT_EQ(c.max, CDst().GetMaxNoStitches(dir.File("f.dst").c_str())) << c.length;
    }
}

TEST(Dst, SampleDesignRoundTripsOnDiskAndInMemory)
{
    StitchList sample;
    MakeSampleDesign(sample);
    StitchList expected = sample;
    FindFormat("x.dst")->keep(expected);

    TempDir dir;
    CDst out;
    ASSERT_EQ(1, Export(out, dir.File("s.dst"), sample));
    StitchList back;
    CDst in;
    ASSERT_EQ(1, Import(in, dir.File("s.dst"), back));
    EXPECT_LE(back.nStitches, CDst().GetMaxNoStitches(dir.File("s.dst").c_str()));
    FindFormat("x.dst")->keep(back);
    std::string why;
    EXPECT_TRUE(SameStitchList(expected, back, &why)) << why;

    CMemFile mem;
    CDst memOut;
    memOut.m_pFile = &mem;
    ASSERT_EQ(1, Export(memOut, "s.dst", sample));
    EXPECT_EQ(ReadBytes(dir.File("s.dst")), Bytes(mem.Data(), mem.Data() + mem.GetLength()));
}
