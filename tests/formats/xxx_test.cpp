#include "test_util.h"

#include "core/endian.h"
#include "core/colors.h"
#include "core/stitch_compare.h"

#include <gtest/gtest.h>

using namespace testutil;

// Found by argument lookup for points compared in vectors.
static bool operator==(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes ExportMem(CXxx& f, StitchList l)
{
    CMemFile mem;
    f.m_pFile = &mem;
    EXPECT_EQ(1, Export(f, "mem.xxx", l));
    f.m_pFile = &f.m_File;
    return Bytes(mem.Data(), mem.Data() + mem.GetLength());
}

int ImportMem(const Bytes& b, StitchList& l)
{
    CMemFile mem;
    mem.Write(b.data(), (UINT)b.size());
    CXxx f;
    f.m_pFile = &mem;
    return Import(f, "mem.xxx", l);
}

// The records between the opening jump and the trailer.
Bytes RecordBytes(const Bytes& b)
{
    uint32_t t = GetLE32(b.data() + 252);
    EXPECT_EQ(Bytes({0x7F, 0x01, 0x00, 0x00}), Bytes(b.begin() + 256, b.begin() + 260));
    return Bytes(b.begin() + 260, b.begin() + t);
}

// A file with the header fields a reader uses, the records, and a trailer of colours.
Bytes XxxFile(int count, int nColors, const Bytes& records, const std::vector<COLORREF>& colors = {},
              bool trailer = true)
{
    Bytes b(256 + records.size(), 0);
    std::copy(records.begin(), records.end(), b.begin() + 256);
    PutLE16(b.data() + 23, (uint32_t)count);
    PutLE16(b.data() + 39, (uint32_t)nColors);
    // Without a trailer the colour entries are read from the header's zeros.
    size_t t = b.size();
    PutLE32(b.data() + 252, trailer ? (uint32_t)t : 120u);
    if (!trailer) return b;
    b.resize(t + 1873, 0);
    const uint8_t head[6] = {0x7F, 0x7F, 0x03, 0x14, 0, 0};
    std::copy(head, head + 6, b.begin() + (long)t);
    for (size_t k = 0; k < 15 && k < colors.size(); ++k) {
        b[t + 6 + 4 * k + 1] = GetRValue(colors[k]);
        b[t + 6 + 4 * k + 2] = GetGValue(colors[k]);
        b[t + 6 + 4 * k + 3] = GetBValue(colors[k]);
    }
    return b;
}

std::vector<tagPOINT> Points(const StitchList& l)
{
    return std::vector<tagPOINT>(l.points.begin(), l.points.begin() + l.nStitches);
}

// n points in blocks of the given sizes, stepping 1 mm along x and back.
StitchList Blocks(const std::vector<int>& sizes, int step = 100)
{
    std::vector<tagPOINT> pts;
    std::vector<int> starts;
    for (int s : sizes) {
        starts.push_back((int)pts.size());
        for (int i = 0; i < s; ++i) pts.push_back(tagPOINT{(int32_t)((pts.size() % 2) * step), 0});
    }
    StitchList l = MakeList(pts, starts);
    for (int k = 0; k < l.nColors; ++k) l.colors[(size_t)k].nColor = (uint16_t)(k % 90);
    return l;
}

} // namespace

TEST(Xxx, MovesAndTheLongMoveLimitOfANewObject)
{
    struct Case {
        const char* what;
        std::vector<tagPOINT> pts;
        std::vector<int> starts;
        Bytes records;
        int count; // R: the opening jump included
    } cases[] = {
        {"a first move beyond 12 mm is one long jump", {{1500, -100}}, {0}, {0x7E, 0x96, 0x00, 0xF6, 0xFF, 0x00, 0x00}, 3},
        {"a first move of 12 mm is a stitch", {{1200, 1200}}, {0}, {0x78, 0x78}, 2},
        {"20 mm after the first: a short jump and a stitch", {{100, 0}, {2100, 0}}, {0},
         {0x0A, 0x00, 0x7F, 0x01, 0x78, 0x00, 0x50, 0x00}, 4},
        {"beyond 24 mm after the first: a long jump", {{100, 0}, {2600, -2500}}, {0},
         {0x0A, 0x00, 0x7E, 0xFA, 0x00, 0x06, 0xFF, 0x00, 0x00}, 4},
        {"negative steps truncate toward zero", {{-19, -1199}}, {0}, {0xFF, 0x89}, 2},
        {"a colour change comes before the block's first stitch", {{100, 0}, {200, 0}}, {0, 1},
         {0x0A, 0x00, 0x7F, 0x08, 0x00, 0x00, 0x0A, 0x00}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CXxx f;
        Bytes b = ExportMem(f, MakeList(c.pts, c.starts));
        EXPECT_EQ(c.records, RecordBytes(b));
        EXPECT_EQ(c.count, GetLE16(b.data() + 23));
    }
    // Only the first move an object writes has the short limit.
    CXxx f;
    StitchList l = MakeList({{1500, 0}});
    EXPECT_EQ(Bytes({0x7E, 0x96, 0x00, 0x00, 0x00, 0x00, 0x00}), RecordBytes(ExportMem(f, l)));
    EXPECT_EQ(Bytes({0x7F, 0x01, 0x78, 0x00, 0x1E, 0x00}), RecordBytes(ExportMem(f, l)));
}

TEST(Xxx, HeaderAndTrailer)
{
    StitchList l = MakeList({{-500, 300}, {1000, -200}, {1500, 2000}}, {0, 2});
    l.colors[0].nColor = 3;
    l.colors[1].nColor = 150; // beyond the generic and Brother ranges: its own colour
    CXxx f;
    Bytes b = ExportMem(f, l);
    EXPECT_EQ(2, GetLE16(b.data() + 39));
    EXPECT_EQ(200, GetLE16(b.data() + 45)); // -50 to 150
    EXPECT_EQ(220, GetLE16(b.data() + 47)); // -20 to 200
    EXPECT_EQ(150, GetLE16(b.data() + 49));
    EXPECT_EQ(200, GetLE16(b.data() + 51));
    // The opening jump, a short jump for the 15 mm move, the colour change and the short
    // jump after it.
    EXPECT_EQ(Bytes({1, 1, 8, 1, 0}), Bytes(b.begin() + 58, b.begin() + 63));
    uint32_t t = GetLE32(b.data() + 252);
    ASSERT_EQ(t + 1873, b.size());
    EXPECT_EQ(Bytes({0x7F, 0x7F, 0x03, 0x14, 0x00, 0x00}), Bytes(b.begin() + t, b.begin() + t + 6));
    COLORREF red = GetThreadColor(3), other = GetThreadColor(150);
    EXPECT_EQ(Bytes({0, GetRValue(red), GetGValue(red), GetBValue(red), 0, GetRValue(other), GetGValue(other),
                     GetBValue(other), 0x00, 0x00, 0x80, 0x80}),
              Bytes(b.begin() + t + 6, b.begin() + t + 18));
    EXPECT_EQ(Bytes({0x00, 0xe8, 0x74, 0x50}), Bytes(b.begin() + t + 66, b.begin() + t + 70));
    EXPECT_EQ(Bytes({0x00, 0x0a, 0x00, 0x00}), Bytes(b.end() - 45, b.end() - 41));

    StitchList back;
    ASSERT_EQ(1, ImportMem(b, back));
    EXPECT_EQ(3, back.colors[0].nColor);
    EXPECT_EQ(NearestThread(other, 0, 93), back.colors[1].nColor);
    // The change reads back with a stitch in place.
    EXPECT_EQ((std::vector<tagPOINT>{{-500, 300}, {1000, -200}, {1000, -200}, {1500, 2000}}), Points(back));
    EXPECT_EQ(2, back.colors[1].nStitch);
}

TEST(Xxx, ReadingEdges)
{
    struct Case {
        const char* what;
        Bytes file;
        int result;
        std::vector<tagPOINT> points;
        std::vector<int> blockStarts;
        int error;
    } cases[] = {
        {"a colour change adds a stitch in place",
         XxxFile(3, 2, {0x05, 0x00, 0x7F, 0x08, 0x00, 0x00, 0x05, 0x00}), 1, {{50, 0}, {50, 0}, {100, 0}}, {0, 1}, 0},
        {"a count that takes in the jumps: the trailer ends the records",
         XxxFile(10, 1, {0x7F, 0x01, 0x05, 0x00, 0x01, 0x00}), 1, {{60, 0}}, {0}, 0},
        {"the count ends the records", XxxFile(1, 1, {0x01, 0x00, 0x02, 0x00}), 1, {{10, 0}}, {0}, 0},
        {"long stitch and long jump",
         XxxFile(3, 1, {0x7D, 0x10, 0x00, 0xF0, 0xFF, 0x7E, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00}), 1,
         {{160, -160}, {2720, -160}}, {0}, 0},
        {"other escapes are ignored", XxxFile(1, 1, {0x7F, 0x03, 0x01, 0x01}), 1, {{10, 10}}, {0}, 0},
        {"16 colours are refused", XxxFile(1, 16, {0x01, 0x00}), 0, {}, {}, 0},
        {"the end of the file at a record boundary: reported, the points stand",
         XxxFile(5, 1, {0x01, 0x00}, {}, false), 1, {{10, 0}}, {0}, KW_ERR_READ},
        {"a record cut within its extra bytes fails", XxxFile(5, 1, {0x01, 0x00, 0x7E, 0x01}, {}, false), 0, {}, {},
         KW_ERR_READ},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MessageCapture boxes;
        StitchList l;
        ASSERT_EQ(c.result, ImportMem(c.file, l));
        EXPECT_EQ(c.error, GetSetup()->m_nLastError);
        if (!c.result) continue;
        EXPECT_EQ(c.points, Points(l));
        std::vector<int> starts;
        for (int k = 0; k < l.nColors; ++k) starts.push_back(l.colors[(size_t)k].nStitch);
        EXPECT_EQ(c.blockStarts, starts);
        EXPECT_EQ(l.nStitches + 4, l.colors[(size_t)l.nColors].nStitch);
    }
}

TEST(Xxx, ColourChangesBeyondTheTableTakeItsLastEntry)
{
    std::vector<COLORREF> colors;
    for (int k = 0; k < 15; ++k) colors.push_back(GetThreadColor(k));
    Bytes records;
    for (int k = 0; k < 17; ++k) {
        Bytes r = {0x7F, 0x08, 0x01, 0x00};
        if (k == 0) r.erase(r.begin(), r.begin() + 2);
        records.insert(records.end(), r.begin(), r.end());
    }
    StitchList l;
    ASSERT_EQ(1, ImportMem(XxxFile(17, 15, records, colors), l));
    ASSERT_EQ(17, l.nColors);
    std::vector<int> got;
    for (int k = 0; k < 17; ++k) got.push_back(l.colors[(size_t)k].nColor);
    std::vector<int> expected;
    for (int k = 0; k < 17; ++k) expected.push_back(NearestThread(colors[(size_t)(k < 15 ? k : 14)], 0, 93));
    EXPECT_EQ(expected, got);
}

TEST(Xxx, FortyColoursSplitIntoFifteenFifteenAndTen)
{
    TempDir dir;
    MessageCapture boxes;
    StitchList l = Blocks(std::vector<int>(40, 5));
    CXxx out;
    ASSERT_EQ(1, Export(out, dir.File("rose.xxx"), l));
    EXPECT_EQ(std::vector<std::string>{"Design " + dir.File("rose.xxx") + " will be split into multiple files."},
              boxes.Texts());
    EXPECT_EQ(17003, GetSetup()->m_nLastError);
    EXPECT_EQ((std::set<std::string>{"rose_A.xxx", "rose_B.xxx", "rose_C.xxx"}), dir.List());
    std::vector<int> colors;
    for (const char* n : {"rose_A.xxx", "rose_B.xxx", "rose_C.xxx"}) {
        Bytes b = ReadBytes(dir.File(n));
        colors.push_back(GetLE16(b.data() + 39));
        // A part ends on the corners of the design's extents, the last point in its header.
        Bytes r = RecordBytes(b);
        EXPECT_EQ(Bytes({0x0A, 0x00}), Bytes(r.end() - 2, r.end())) << n;
        EXPECT_EQ(10, GetLE16(b.data() + 49));
    }
    EXPECT_EQ((std::vector<int>{15, 15, 10}), colors);

    StitchList back;
    CXxx in;
    ASSERT_EQ(1, Import(in, dir.File("rose_a.xxx"), back));
    EXPECT_LE(back.nStitches, CXxx().GetMaxNoStitches(dir.File("rose_a.xxx").c_str()));
    ASSERT_EQ(40, back.nColors);
    // Without the corner stitches; each colour change inside a part adds its stitch in place.
    EXPECT_EQ(200 + 14 + 14 + 9, back.nStitches);
    StitchList expected = l;
    XxxKeeps(expected);
    XxxKeeps(back);
    std::string why;
    EXPECT_TRUE(SameStitchList(expected, back, &why)) << why;
}

TEST(Xxx, ABlockThatAloneFillsAPartIsCutInside)
{
    TempDir dir;
    MessageCapture boxes;
    StitchList l = Blocks({10, 40000}, 10);
    CXxx out;
    ASSERT_EQ(1, Export(out, dir.File("rose.xxx"), l));
    EXPECT_EQ((std::set<std::string>{"rose_A.xxx", "rose_B.xxx", "rose_C.xxx"}), dir.List());
    // The second block starts a part, fills it and goes on in the next.
    EXPECT_EQ(10 + 1 + 2, GetLE16(ReadBytes(dir.File("rose_A.xxx")).data() + 23));
    EXPECT_EQ(32000 + 1 + 2, GetLE16(ReadBytes(dir.File("rose_B.xxx")).data() + 23));
    StitchList back;
    CXxx in;
    ASSERT_EQ(1, Import(in, dir.File("rose_a.xxx"), back));
    EXPECT_EQ(l.nStitches, back.nStitches);
}

TEST(Xxx, StitchesInPlaceCountTowardAPart)
{
    // Each takes a record, so 40000 of them do not fit one file's estimate.
    TempDir dir;
    MessageCapture boxes;
    StitchList l = Blocks({40000}, 0);
    CXxx out;
    ASSERT_EQ(1, Export(out, dir.File("rose.xxx"), l));
    EXPECT_EQ((std::set<std::string>{"rose_A.xxx", "rose_B.xxx"}), dir.List());
    EXPECT_EQ(32000 + 1 + 2, GetLE16(ReadBytes(dir.File("rose_A.xxx")).data() + 23));
}

TEST(Xxx, MemoryFilesAreNeverSplit)
{
    MessageCapture boxes;
    StitchList fifteen = Blocks(std::vector<int>(15, 2));
    CXxx f;
    Bytes b = ExportMem(f, fifteen);
    EXPECT_EQ(15, GetLE16(b.data() + 39));

    StitchList sixteen = Blocks(std::vector<int>(16, 2));
    CMemFile mem;
    CXxx g;
    g.m_pFile = &mem;
    EXPECT_EQ(0, Export(g, "rose.xxx", sixteen));
    EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
    EXPECT_EQ(std::vector<std::string>{"Cannot save design rose.xxx. It has more colours or stitches than one file of "
                                       "this format can hold."},
              boxes.Texts());
    EXPECT_EQ(0u, mem.GetLength());

    // More records than the 16-bit count can tell.
    StitchList many = Blocks({70000}, 10);
    CXxx h;
    h.m_pFile = &mem;
    EXPECT_EQ(0, Export(h, "rose.xxx", many));
    EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
}
