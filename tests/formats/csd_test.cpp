#include "test_util.h"

#include "core/endian.h"
#include "core/colors.h"
#include "core/stitch_compare.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

typedef std::vector<unsigned char> Bytes;

struct Rec {
    uint8_t code, a, b;
    bool operator==(const Rec& o) const { return code == o.code && a == o.a && b == o.b; }
};

std::ostream& operator<<(std::ostream& os, const Rec& r)
{
    return os << "{" << std::hex << (int)r.code << ", " << std::dec << (int)r.a << ", " << (int)r.b << "}";
}

// An unscrambled file: header, colour table, sequence and records.
Bytes PlainCsd(const std::vector<COLORREF>& colors, const Bytes& sequence, const std::vector<Rec>& records)
{
    Bytes b = {'|', 1, 0x48, 0, 3, 0, 0, 0};
    for (int k = 0; k < 16; ++k) {
        COLORREF c = k < (int)colors.size() ? colors[(size_t)k] : 0;
        b.insert(b.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
    b.insert(b.end(), {0x7F, 0x7F});
    for (int k = 0; k < 14; ++k) b.push_back(k < (int)sequence.size() ? sequence[(size_t)k] : (uint8_t)k);
    for (const Rec& r : records) b.insert(b.end(), {r.code, r.a, r.b});
    return b;
}

// Scrambles every byte after the first: with the fixed seed at its own position, or with
// the seed in the first byte at the permuted position.
Bytes Scramble(Bytes b, int seed = -1)
{
    CCsd f;
    if (seed >= 0) {
        f.m_nSeed = (uint32_t)seed;
        b[0] = (uint8_t)seed;
    }
    f.BuildTables();
    for (size_t p = 1; p < b.size(); ++p)
        b[p] = f.EncodeByte(b[p], seed >= 0 ? CCsd::PermutedPosition((long)p) : (long)p);
    return b;
}

Bytes Unscramble(Bytes b)
{
    CCsd f;
    f.BuildTables();
    for (size_t p = 1; p < b.size(); ++p) b[p] = f.DecodeByte(b[p], (long)p, 0);
    return b;
}

std::vector<Rec> Records(const Bytes& file)
{
    Bytes b = Unscramble(file);
    std::vector<Rec> r;
    for (size_t i = 72; i + 3 <= b.size(); i += 3) r.push_back({b[i], b[i + 1], b[i + 2]});
    return r;
}

Bytes ExportMem(StitchList l, int expected = 1)
{
    CMemFile mem;
    CCsd f;
    f.m_pFile = &mem;
    EXPECT_EQ(expected, Export(f, "mem.csd", l));
    return Bytes(mem.Data(), mem.Data() + mem.GetLength());
}

int ImportMem(const Bytes& b, StitchList& l)
{
    CMemFile mem;
    mem.Write(b.data(), (UINT)b.size());
    CCsd f;
    f.m_pFile = &mem;
    return Import(f, "mem.csd", l);
}

std::vector<int> Colors(const StitchList& l)
{
    std::vector<int> c;
    for (int k = 0; k < l.nColors; ++k) c.push_back(l.colors[(size_t)k].nColor);
    return c;
}

// A walk of 1 mm stitches in blocks of the given sizes.
StitchList Blocks(const std::vector<int>& sizes)
{
    std::vector<tagPOINT> pts;
    std::vector<int> starts;
    for (int s : sizes) {
        starts.push_back((int)pts.size());
        for (int i = 0; i < s; ++i) {
            int n = (int)pts.size();
            pts.push_back(tagPOINT{(n % 37) * 100 - 1800, (n % 23) * 130 - 1500});
        }
    }
    StitchList l = MakeList(pts, starts);
    for (int k = 0; k < l.nColors; ++k) l.colors[(size_t)k].nColor = (uint16_t)(k * 3 % 93);
    return l;
}

} // namespace

TEST(Csd, PermutedPositionsStepBackAtThePageEdges)
{
    const uint8_t* key = CCsd::kKeyTable;
    struct Case {
        long p, q;
    } cases[] = {
        {0, key[0]},          {255, key[255]},       {256, key[0]},        {257, key[1]},
        {258, 256 + key[2]},  {511, 256 + key[255]}, {512, 256 + key[0]}, {513, 512 + key[1]},
        {767, 512 + key[255]}, {768, 768 + key[0]},  {769, 768 + key[1]}, {1024, 768 + key[0]},
        {1025, 768 + key[1]}, {1026, 1024 + key[2]}, {1280, 1024 + key[0]}, {1281, 1280 + key[1]},
    };
    for (const auto& c : cases) EXPECT_EQ(c.q, CCsd::PermutedPosition(c.p)) << c.p;
    EXPECT_EQ(0x43, key[0]);
    EXPECT_EQ(0x90, key[255]);
}

TEST(Csd, ScramblingInBothSeedVariants)
{
    // A file of the fixed seed begins with these three bytes.
    Bytes b = ExportMem(MakeList({{100, 100}}));
    EXPECT_EQ(Bytes({'|', 'K', 0xC3}), Bytes(b.begin(), b.begin() + 3));
    Bytes u = Unscramble(b);
    EXPECT_EQ(Bytes({'|', 1, 0x48, 0, 3, 0, 0, 0}), Bytes(u.begin(), u.begin() + 8));

    for (int seed : {-1, 0, 0x2B, 0xFF}) {
        CCsd f;
        if (seed >= 0) f.m_nSeed = (uint32_t)seed;
        f.BuildTables();
        for (long p : {1L, 255L, 256L, 257L, 478L, 479L, 500L, 501L, 512L, 768L, 1024L, 239999L})
            for (int v = 0; v < 256; ++v) {
                long q = seed >= 0 ? CCsd::PermutedPosition(p) : p;
                ASSERT_EQ(v, f.DecodeByte(f.EncodeByte((uint8_t)v, q), p, seed >= 0)) << seed << " at " << p;
            }
    }

    // The same design in either variant reads the same, past the positions where the
    // permutation steps back.
    std::vector<Rec> records = {{0x8A, 0, 0}};
    for (int i = 0; i < 400; ++i) records.push_back({(uint8_t)(i % 3 ? 0x80 : 0xE0), (uint8_t)(i % 50), (uint8_t)(i % 7)});
    records.push_back({0x85, 2, 0});
    records.push_back({0x80, 5, 5});
    std::vector<COLORREF> colors = {GetThreadColor(3), GetThreadColor(40)};
    Bytes plain = PlainCsd(colors, {}, records);
    ASSERT_GT(plain.size(), 1100u);
    StitchList fixed, seeded;
    ASSERT_EQ(1, ImportMem(Scramble(plain), fixed));
    ASSERT_EQ(1, ImportMem(Scramble(plain, 0x2B), seeded));
    EXPECT_EQ(401, fixed.nStitches);
    EXPECT_EQ((std::vector<int>{3, 40}), Colors(fixed));
    std::string why;
    EXPECT_TRUE(SameStitchList(fixed, seeded, &why)) << why;
    EXPECT_EQ(fixed.points[400].x, seeded.points[400].x);
    // Read as the fixed variant, a seeded file is something else.
    Bytes other = Scramble(plain, 0x2B);
    other[0] = '|';
    other[1] = 'K';
    other[2] = 0xC3;
    StitchList wrong;
    ImportMem(other, wrong);
    EXPECT_FALSE(SameStitchList(fixed, wrong));
}

TEST(Csd, MovesBeyondTheRecordLimitBecomeJumps)
{
    struct Case {
        const char* what;
        tagPOINT to;
        std::vector<Rec> records;
    } cases[] = {
        {"-30 mm in y", {0, -3000}, {{0xD0, 127, 0}, {0xD0, 127, 0}, {0xC0, 46, 0}}},
        {"+30 mm in x", {3000, 0}, {{0x90, 0, 127}, {0x90, 0, 127}, {0x80, 0, 46}}},
        {"12.7 mm is one stitch", {-1279, 1270}, {{0xA0, 127, 127}}},
        {"diagonal: both axes step while both are long", {-2000, 1300}, {{0xB0, 127, 127}, {0xA0, 3, 73}}},
        {"one long axis steps alone", {500, -1400}, {{0xD0, 127, 0}, {0xC0, 13, 50}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Rec> expected = {{0x8A, 0, 0}};
        expected.insert(expected.end(), c.records.begin(), c.records.end());
        expected.push_back({0x87, 0, 0});
        Bytes b = ExportMem(MakeList({c.to}));
        EXPECT_EQ(expected, Records(b));
        StitchList back;
        ASSERT_EQ(1, ImportMem(b, back));
        ASSERT_EQ(1, back.nStitches);
        EXPECT_EQ(c.to.x / 10 * 10, back.points[0].x);
        EXPECT_EQ(c.to.y / 10 * 10, back.points[0].y);
    }
}

TEST(Csd, HeaderColoursAndSequence)
{
    StitchList l = MakeList({{0, 0}, {100, 0}, {200, 0}}, {0, 1, 2});
    l.colors[0].nColor = 40;
    l.colors[1].nColor = 150; // beyond the generic and Brother ranges: its own colour
    l.colors[2].nColor = 3;
    Bytes b = Unscramble(ExportMem(l));
    auto entry = [&](int k) { return Bytes(b.begin() + 8 + 3 * k, b.begin() + 11 + 3 * k); };
    auto rgb = [](COLORREF c) { return Bytes({GetRValue(c), GetGValue(c), GetBValue(c)}); };
    EXPECT_EQ(rgb(GetThreadColor(40)), entry(0));
    EXPECT_EQ(rgb(GetThreadColor(150)), entry(1));
    EXPECT_EQ(rgb(GetThreadColor(3)), entry(2));
    EXPECT_EQ(rgb(GetThreadColor(3)), entry(3));
    EXPECT_EQ(rgb(GetThreadColor(13)), entry(13));
    EXPECT_EQ(Bytes({0, 0, 0}), entry(14));
    EXPECT_EQ(Bytes({255, 255, 255}), entry(15));
    Bytes seq = {0x7F, 0x7F};
    for (int k = 0; k < 14; ++k) seq.push_back((uint8_t)k);
    EXPECT_EQ(seq, Bytes(b.begin() + 56, b.begin() + 72));
    EXPECT_EQ((std::vector<Rec>{{0x8A, 0, 0}, {0x80, 0, 0}, {0x85, 2, 0}, {0x80, 0, 10}, {0x85, 3, 0}, {0x80, 0, 10}, {0x87, 0, 0}}),
              Records(ExportMem(l)));
}

TEST(Csd, ReadingEdges)
{
    std::vector<COLORREF> colors;
    for (int k = 0; k < 16; ++k) colors.push_back(GetThreadColor(k));
    std::vector<int> nearest;
    for (int k = 0; k < 16; ++k) nearest.push_back(NearestThread(colors[(size_t)k], 0, 93));
    Bytes seq = {3, 5, 7, 9, 11, 13, 1, 2, 4, 6, 8, 10, 12, 20};
    const Rec st = {0x80, 1, 1};
    struct Case {
        const char* what;
        std::vector<Rec> records;
        long stitches;
        std::vector<int> colors;
    } cases[] = {
        {"a = 0 takes the next sequence entry, once", {st, {0x85, 0, 0}, st, {0x85, 0, 0}, st}, 3,
         {nearest[3], nearest[5], nearest[7]}},
        {"after a numbered change, a = 0 takes the one after it", {st, {0x85, 4, 0}, st, {0x85, 0, 0}, st}, 3,
         {nearest[3], nearest[9], nearest[11]}},
        {"a beyond the sequence takes its last entry, an entry beyond the table the last colour",
         {st, {0x85, 30, 0}, st}, 2, {nearest[3], nearest[15]}},
        {"0x89 is master colour 91", {st, {0x89, 0, 0}, st}, 2, {nearest[3], 91}},
        {"changes open blocks whatever the stitch count", {{0x85, 2, 0}, st}, 1, {nearest[3], nearest[5]}},
        {"jumps and other codes store no point", {{0x8A, 0, 0}, {0x90, 5, 5}, {0x81, 1, 1}, {0x00, 0, 0}, st}, 1,
         {nearest[3]}},
        {"the end record ends the design", {st, {0x87, 0, 0}, st, st}, 1, {nearest[3]}},
        {"without an end record every point is kept", {st, st, st}, 3, {nearest[3]}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StitchList l;
        ASSERT_EQ(1, ImportMem(Scramble(PlainCsd(colors, seq, c.records)), l));
        EXPECT_EQ(c.stitches, l.nStitches);
        EXPECT_EQ(c.colors, Colors(l));
        EXPECT_EQ(l.nStitches + 4, l.colors[(size_t)l.nColors].nStitch);
    }
    // A record cut short at the end is the end of the file.
    Bytes cut = Scramble(PlainCsd(colors, seq, {st, st}));
    cut.pop_back();
    StitchList l;
    ASSERT_EQ(1, ImportMem(cut, l));
    EXPECT_EQ(1, l.nStitches);
    // A header cut short is a read failure.
    MessageCapture boxes;
    EXPECT_EQ(0, ImportMem(Bytes(cut.begin(), cut.begin() + 40), l));
    EXPECT_EQ(KW_ERR_READ, GetSetup()->m_nLastError);
    // More than 254 blocks fail.
    std::vector<Rec> many;
    for (int k = 0; k < 254; ++k) many.push_back({0x85, 1, 0});
    EXPECT_EQ(0, ImportMem(Scramble(PlainCsd(colors, seq, many)), l));
    many.pop_back();
    EXPECT_EQ(1, ImportMem(Scramble(PlainCsd(colors, seq, many)), l));
    EXPECT_EQ(254, l.nColors);
}

TEST(Csd, ThirtyBlocksSplitIntoFourteenFourteenAndTwo)
{
    TempDir dir;
    MessageCapture boxes;
    StitchList l = Blocks(std::vector<int>(30, 4));
    CCsd out;
    ASSERT_EQ(1, Export(out, dir.File("rose.csd"), l));
    EXPECT_EQ(std::vector<std::string>{"Design " + dir.File("rose.csd") + " will be split into multiple files."},
              boxes.Texts());
    EXPECT_EQ(17003, GetSetup()->m_nLastError);
    EXPECT_EQ((std::set<std::string>{"rose_A.Csd", "rose_B.Csd", "rose_C.Csd"}), dir.List());
    std::vector<int> changes;
    for (const char* n : {"rose_A.Csd", "rose_B.Csd", "rose_C.Csd"}) {
        int k = 0;
        for (const Rec& r : Records(ReadBytes(dir.File(n)))) k += r.code == 0x85;
        changes.push_back(k);
    }
    EXPECT_EQ((std::vector<int>{13, 13, 1}), changes);
    // Part B's colour table starts with block 14's colour.
    Bytes b = Unscramble(ReadBytes(dir.File("rose_B.Csd")));
    COLORREF c14 = GetThreadColor(l.colors[14].nColor);
    EXPECT_EQ(Bytes({GetRValue(c14), GetGValue(c14), GetBValue(c14)}), Bytes(b.begin() + 8, b.begin() + 11));

    StitchList back;
    CCsd in;
    ASSERT_EQ(1, Import(in, dir.File("rose_a.Csd"), back));
    EXPECT_LE(back.nStitches, CCsd().GetMaxNoStitches(dir.File("rose_a.Csd").c_str()));
    StitchList expected = l;
    CsdKeeps(expected);
    std::string why;
    EXPECT_TRUE(SameStitchList(expected, back, &why)) << why;

    // Fourteen blocks are one file; a set name is written as its base.
    TempDir one;
    StitchList fourteen = Blocks(std::vector<int>(14, 4));
    ASSERT_EQ(1, Export(out, one.File("rose_a.csd"), fourteen));
    EXPECT_EQ(std::set<std::string>{"rose.Csd"}, one.List());
}

TEST(Csd, MemoryFilesAreNeverSplit)
{
    MessageCapture boxes;
    EXPECT_EQ(Bytes(), ExportMem(Blocks(std::vector<int>(15, 2)), 0));
    EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
    EXPECT_EQ(std::vector<std::string>{"Cannot save design mem.csd. It has more colours or stitches than one file of "
                                       "this format can hold."},
              boxes.Texts());
    StitchList back;
    ASSERT_EQ(1, ImportMem(ExportMem(Blocks(std::vector<int>(14, 2))), back));
    EXPECT_EQ(14, back.nColors);
}
