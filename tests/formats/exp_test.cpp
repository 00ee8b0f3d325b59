#include "test_util.h"
#include "core/sample_design.h"
#include "core/stitch_compare.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes ExportBytes(StitchList l)
{
    CMemFile mem;
    CExp exp;
    exp.m_pFile = &mem;
    EXPECT_EQ(1, Export(exp, "mem.exp", l));
    return Bytes(mem.Data(), mem.Data() + mem.GetLength());
}

int ImportBytes(const Bytes& bytes, StitchList& l)
{
    CMemFile mem;
    if (!bytes.empty()) mem.Write(bytes.data(), (UINT)bytes.size());
    CExp exp;
    exp.m_pFile = &mem;
    return Import(exp, "mem.exp", l);
}

} // namespace

TEST(Exp, ExportRecords)
{
    // 30 mm in y: two jumps of 127 and a stitch of 46.
    EXPECT_EQ((Bytes{0x80, 0x04, 0x00, 0x7F, 0x80, 0x04, 0x00, 0x7F, 0x00, 0x2E}), ExportBytes(MakeList({{0, 3000}})));
    // -13 mm in x.
    EXPECT_EQ((Bytes{0x80, 0x04, 0x81, 0x00, 0xFD, 0x00}), ExportBytes(MakeList({{-1300, 0}})));
    // Type bytes are not written; a new block is announced before its first point.
    EXPECT_EQ((Bytes{0x01, 0x00, 0x80, 0x01, 0x00, 0x00, 0x01, 0x02}),
              ExportBytes(MakeList({{10, 0}, {20, 20}}, {0, 1}, {0, 5})));
}

TEST(Exp, ImportEdges)
{
    struct Case {
        const char* what;
        Bytes bytes;
        long stitches;
        int colors;
    } cases[] = {
        {"empty file", {}, 0, 0},
        {"colour change between stitches", {1, 0, 0x80, 0x01, 0, 0, 1, 0}, 2, 2},
        {"colour change before the first stitch", {0x80, 0x01, 0, 0, 1, 0, 1, 1}, 2, 1},
        {"0x80 0x80 with its two bytes", {1, 0, 0x80, 0x80, 9, 9, 2, 0}, 2, 2},
        {"ending on a colour change", {1, 0, 0x80, 0x03}, 1, 1},
        {"null stitches store nothing", {0, 0, 1, 1, 0, 0}, 1, 1},
        {"other escapes are ignored", {1, 0, 0x80, 0x10, 1, 0}, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StitchList l;
        ASSERT_EQ(1, ImportBytes(c.bytes, l));
        EXPECT_EQ(c.stitches, l.nStitches);
        EXPECT_EQ(c.colors, l.nColors);
        EXPECT_EQ(c.stitches + 4, l.colors[(size_t)l.nColors].nStitch);
    }
}

TEST(Exp, ImportJumpsAndTruncatedRecords)
{
    StitchList l;
    ASSERT_EQ(1, ImportBytes({0x05, 0xFB, 0x80, 0x02, 0x7F, 0x00, 0x80, 0x04, 0x00, 0x00, 0x01, 0x01}, l));
    ASSERT_EQ(2, l.nStitches);
    EXPECT_EQ(50, l.points[0].x);
    EXPECT_EQ(-50, l.points[0].y);
    EXPECT_EQ(1330, l.points[1].x);
    EXPECT_EQ(-40, l.points[1].y);
    EXPECT_EQ(1, l.types[1]); // the zero jump does not count

    MessageCapture boxes;
    for (Bytes cut : {Bytes{1, 0, 0x80, 0x04, 0x01}, Bytes{1, 0, 0x80, 0x80}}) {
        EXPECT_EQ(0, ImportBytes(cut, l));
        EXPECT_EQ(KW_ERR_READ, GetSetup()->m_nLastError);
    }
    EXPECT_EQ(2u, boxes.Texts().size());
}

TEST(Exp, RefusesA255thBlock)
{
    Bytes b;
    for (int k = 0; k < 255; ++k) {
        b.insert(b.end(), {1, 0});
        if (k < 254) b.insert(b.end(), {0x80, 0x01});
    }
    StitchList l;
    EXPECT_EQ(0, ImportBytes(b, l));
    b.resize(b.size() - 4);
    EXPECT_EQ(1, ImportBytes(b, l));
    EXPECT_EQ(254, l.nColors);
}

TEST(Exp, SampleDesignRoundTrips)
{
    StitchList sample;
    MakeSampleDesign(sample);
    StitchList back;
    ASSERT_EQ(1, ImportBytes(ExportBytes(sample), back));
    const FormatInfo* f = FindFormat("x.exp");
    f->keep(sample);
    f->keep(back);
    std::string why;
    EXPECT_TRUE(SameStitchList(sample, back, &why)) << why;
}
