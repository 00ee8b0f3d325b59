#include "test_util.h"
#include "core/colors.h"
#include "core/stitch_compare.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

typedef std::vector<unsigned char> Bytes;

int Le16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }

Bytes ExportBytes(StitchList l, int* ok = nullptr)
{
    CMemFile mem;
    CSew sew;
    sew.m_pFile = &mem;
    int r = Export(sew, "mem.sew", l);
    if (ok) *ok = r;
    else EXPECT_EQ(1, r);
    return Bytes(mem.Data(), mem.Data() + mem.GetLength());
}

int ImportBytes(const Bytes& bytes, StitchList& l)
{
    CMemFile mem;
    mem.Write(bytes.data(), (UINT)bytes.size());
    CSew sew;
    sew.m_pFile = &mem;
    return Import(sew, "mem.sew", l);
}

Bytes Records(const Bytes& file) { return Bytes(file.begin() + CSew::kHeaderSize, file.end()); }

// A SEW file from its colour codes and the records of each block.
Bytes SewFile(const std::vector<int>& codes, const std::vector<Bytes>& blocks, int count = -1)
{
    Bytes b(CSew::kHeaderSize, 0);
    int n = count >= 0 ? count : (int)codes.size();
    b[0] = (unsigned char)n;
    for (size_t k = 0; k < codes.size(); ++k) {
        b[2 + 2 * k] = (unsigned char)codes[k];
        b[50 + 2 * k] = (unsigned char)(blocks[k].size() / 2);
    }
    for (const Bytes& r : blocks) b.insert(b.end(), r.begin(), r.end());
    return b;
}

Bytes Cut(Bytes b, size_t n)
{
    b.erase(b.end() - (long)(n < b.size() ? n : b.size()), b.end());
    return b;
}

} // namespace

TEST(Sew, ColourCodes)
{
    struct Case {
        int k, code;
    } cases[] = {{0, 1}, {25, 26}, {26, 30}, {33, 50}, {34, 78}, {35, 74}, {38, 77}, {39, 27}, {55, 51}, {56, 52}, {77, 73}};
    for (const auto& c : cases) EXPECT_EQ(c.code, CSew::SewCode(c.k)) << c.k;
    std::set<int> codes;
    for (int k = 0; k < CSew::kCodeCount; ++k) {
        codes.insert(CSew::SewCode(k));
        EXPECT_EQ(kJanomeFirst + k, CSew::MasterIndexOfCode(CSew::SewCode(k))) << k;
    }
    EXPECT_EQ(78u, codes.size());
    EXPECT_EQ(1, *codes.begin());
    EXPECT_EQ(78, *codes.rbegin());
    EXPECT_EQ(110, CSew::MasterIndexOfCode(0));
    EXPECT_EQ(300, CSew::MasterIndexOfCode(300)); // found nowhere: kept

    // The range follows "SewColors" at construction.
    struct Range {
        int setting, end;
    } ranges[] = {{12, 123}, {78, 189}, {35, 146}, {0, 146}};
    int saved = GetSetup()->m_nSewColors;
    for (const auto& r : ranges) {
        GetSetup()->m_nSewColors = r.setting;
        EXPECT_EQ(r.end, CSew().m_nColorEnd);
    }
    // With 12 colours, Canary Yellow (188) is written as the nearest of entries 111 to 122.
    GetSetup()->m_nSewColors = 12;
    StitchList l = MakeList({{0, 0}, {100, 0}});
    l.colors[0].nColor = 188;
    Bytes b = ExportBytes(l);
    int nearest = NearestThread(GetThreadColor(188), 111, 123);
    EXPECT_EQ(CSew::SewCode(nearest - 111), Le16(b, 2));
    GetSetup()->m_nSewColors = saved;
}

TEST(Sew, Records)
{
    // The first stitch of a file starts from (-159, 97).
    Bytes r = Records(ExportBytes(MakeList({{0, 0}, {3000, 0}})));
    EXPECT_EQ((Bytes{0x80, 0x02, 0x00, 0x00,              // the block's opening jump
                     0x80, 0x02, 0x7F, 0x00, 0x20, 0x9F,  // (159, -97): a jump of 127 and (32, -97)
                     0x80, 0x02, 0x7F, 0x00, 0x80, 0x02, 0x7F, 0x00, 0x2E, 0x00, // 30 mm to the right
                     0x80, 0x10, 0, 0, 0, 0, 0, 0, 0, 0}),
              r);

    // Two blocks of 10 and 5 stitches: 2 + 10 + 3 and 2 + 5 + 1 words.
    std::vector<tagPOINT> pts;
    for (int i = 0; i < 15; ++i) pts.push_back({-1590 + 10 * i, 970 - 10 * i});
    StitchList l = MakeList(pts, {0, 10});
    Bytes b = ExportBytes(l);
    EXPECT_EQ(2, Le16(b, 0));
    EXPECT_EQ((std::vector<int>{15, 8, 0}), (std::vector<int>{Le16(b, 50), Le16(b, 52), Le16(b, 54)}));
    EXPECT_EQ(CSew::kHeaderSize + 2 * (15 + 8) + 2 * 8, (int)b.size());
    StitchList back;
    ASSERT_EQ(1, ImportBytes(b, back));
    ASSERT_EQ(2, back.nColors);
    EXPECT_EQ(11, back.colors[1].nStitch); // the stitch of length 0 before the colour change
    EXPECT_EQ(16, back.nStitches);
    EXPECT_EQ(back.points[9].x, back.points[10].x);
    EXPECT_EQ(20, back.colors[2].nStitch);
}

TEST(Sew, ImportEdges)
{
    struct Case {
        const char* what;
        Bytes file;
        int result;
        std::vector<std::pair<int, int>> points;
        std::vector<int> colors;
    } cases[] = {
        {"codes to master entries, steps from (-159, 97)",
         SewFile({1, 78}, {{0x01, 0x02}, {0x80, 0x02, 0x05, 0x05, 0x01, 0x01}}), 1, {{-1580, 990}, {-1520, 1050}}, {111, 145}},
        {"the end command skips the rest of a block",
         SewFile({26, 27}, {{0x01, 0x00, 0x80, 0x10, 0x05, 0x05}, {0x01, 0x00}}), 1, {{-1580, 970}, {-1570, 970}},
         {136, 150}},
        {"other commands are ignored", SewFile({5}, {{0x80, 0x33, 0x01, 0x01}}), 1, {{-1580, 980}}, {115}},
        {"a cut file keeps what was read", Cut(SewFile({1, 2}, {{0x01, 0x00, 0x01, 0x00}, {}}), 2), 1, {{-1580, 970}},
         {111}},
        {"a command cut before its step fails", SewFile({1}, {{0x01, 0x00, 0x80, 0x02}}), 0, {}, {}},
        {"13 colours are refused", SewFile({1}, {{0x01, 0x00}}, 13), 0, {}, {}},
        {"12 colours are not", SewFile({1}, {{0x01, 0x00}}, 12), 1, {{-1580, 970}}, {111, 110, 110, 110, 110, 110, 110, 110, 110, 110, 110, 110}},
    };
    MessageCapture boxes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StitchList l;
        ASSERT_EQ(c.result, ImportBytes(c.file, l));
        if (!c.result) continue;
        std::vector<std::pair<int, int>> pts;
        for (long i = 0; i < l.nStitches; ++i) pts.push_back({l.points[(size_t)i].x, l.points[(size_t)i].y});
        EXPECT_EQ(c.points, pts);
        std::vector<int> colors;
        for (int k = 0; k < l.nColors; ++k) colors.push_back(l.colors[(size_t)k].nColor);
        EXPECT_EQ(c.colors, colors);
        EXPECT_EQ(l.nStitches + 4, l.colors[(size_t)l.nColors].nStitch);
    }
    // A set long enough to pass 254 colour blocks fails at the block that would.
    StitchList l;
    l.Reserve(100);
    l.nColors = 250;
    CMemFile mem;
    Bytes five = SewFile({1, 2, 3, 4, 5}, {{1, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0}});
    mem.Write(five.data(), (UINT)five.size());
    CSew sew;
    sew.m_pFile = &mem;
    EXPECT_EQ(0, sew.ImportFile("m.sew", &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data()));
}

TEST(Sew, FieldAndExportFailures)
{
    TempDir dir;
    MessageCapture boxes;
    struct Case {
        tagPOINT p;
        bool fits;
    } cases[] = {{{6109, 0}, true}, {{6110, 0}, false}, {{-6110, 0}, false}, {{0, 4409}, true}, {{0, 4410}, false}, {{0, -4410}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << ", " << c.p.y);
        StitchList l = MakeList({{0, 0}, c.p});
        CSew sew;
        std::string name = dir.File("f.sew");
        EXPECT_EQ(c.fits ? 1 : 0, Export(sew, name, l));
        EXPECT_EQ(c.fits, dir.List().count("f.sew") == 1);
        if (!c.fits) {
            EXPECT_EQ(KW_ERR_SEW_EXPORT, GetSetup()->m_nLastError);
            EXPECT_EQ("Cannot save design " + name + ". It does not fit within the embroidery field. Please resize the design.",
                      boxes.Texts().back());
        }
        std::remove(name.c_str());
    }
    StitchList empty = MakeList({});
    CSew e;
    EXPECT_EQ(0, Export(e, dir.File("e.sew"), empty));
    EXPECT_EQ(KW_ERR_NO_STITCHES, GetSetup()->m_nLastError);

    // 13 blocks cannot go into one memory file.
    std::vector<int> starts;
    for (int k = 0; k < 13; ++k) starts.push_back(k);
    int ok = 1;
    ExportBytes(MakeList(std::vector<tagPOINT>(13, tagPOINT{0, 0}), starts), &ok);
    EXPECT_EQ(0, ok);
    EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
    EXPECT_TRUE(dir.List().empty());
}

TEST(Sew, Thumbnails)
{
    // A design thinner than 1 mm has a design thumbnail of size 0.
    Bytes thin = ExportBytes(MakeList({{0, 0}, {50, 2000}}));
    EXPECT_EQ(0, Le16(thin, 6102));
    // Its size follows the extents in 8 mm steps: 30 x 10 mm gives 32 x 16 pixels.
    Bytes b = ExportBytes(MakeList({{-1500, 0}, {1500, 1000}, {1500, 0}}));
    EXPECT_EQ(4 | (16 << 8), Le16(b, 6102));
    for (size_t at : {74, 1084}) EXPECT_EQ(at == 74 ? 0x2006 : 0x3008, Le16(b, at));
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(0x1803, Le16(b, 268 + 68 * (size_t)k));
        EXPECT_EQ(0x3008, Le16(b, 1470 + 386 * (size_t)k));
    }

    // Read back as a person looks at them: the top right of the design lies top right.
    CMemFile mem;
    StitchList corner = MakeList({{0, 0}, {5000, 3500}}, {0, 1});
    Bytes c = ExportBytes(corner);
    mem.Write(c.data(), (UINT)c.size());
    CSew sew;
    sew.m_pFile = &mem;
    std::vector<CIconImage> thumbs;
    ASSERT_TRUE(sew.ReadThumbnails("m.sew", thumbs));
    ASSERT_EQ(7u, thumbs.size()); // design, 48 x 32, 64 x 48, two for each block
    const CIconImage& medium = thumbs[2];
    ASSERT_EQ(64, medium.nWidth);
    auto lit = [](const CIconImage& img, int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += img.Pixel(x, y);
        return n;
    };
    EXPECT_GT(lit(medium, 32, 64, 0, 24), 0);  // the far point, up and to the right
    EXPECT_EQ(0, lit(medium, 0, 32, 24, 48));  // nothing down and to the left
    EXPECT_GT(lit(medium, 30, 34, 22, 26), 0); // the origin in the middle
    EXPECT_EQ(0, lit(thumbs[3], 0, 24, 0, 22) > 0 ? 0 : 1); // block 1 has its first point
    EXPECT_GT(lit(thumbs[6], 32, 64, 0, 24), 0);            // block 2 starts at the far point
}

TEST(Sew, PartSets)
{
    TempDir dir;
    MessageCapture boxes;
    // 13 blocks: 12 and 1.
    std::vector<tagPOINT> pts;
    std::vector<int> starts;
    for (int k = 0; k < 13; ++k) {
        starts.push_back((int)pts.size());
        for (int i = 0; i < 5; ++i) pts.push_back({k * 300 - 2000, i * 100});
    }
    StitchList l = MakeList(pts, starts);
    CSew out;
    ASSERT_EQ(1, Export(out, dir.File("rose_a.sew"), l));
    EXPECT_EQ((std::set<std::string>{"rose_A.sew", "rose_B.sew"}), dir.List());
    EXPECT_EQ(17002, GetSetup()->m_nLastError);
    EXPECT_EQ(12, Le16(ReadBytes(dir.File("rose_A.sew")), 0));
    EXPECT_EQ(1, Le16(ReadBytes(dir.File("rose_B.sew")), 0));
    StitchList back;
    CSew in;
    ASSERT_EQ(1, Import(in, dir.File("rose_a.sew"), back));
    StitchList expected = l;
    FindFormat("x.sew")->keep(expected);
    FindFormat("x.sew")->keep(back);
    std::string why;
    EXPECT_TRUE(SameStitchList(expected, back, &why)) << why;

    // A block of 16000 stitches or more ends a part; the parts after it keep to 12 blocks
    // and to the design, and the set comes back in place.
    TempDir dir2;
    pts.clear();
    starts = {0};
    for (int i = 0; i < 17000; ++i) pts.push_back({(i % 2) * 100, (i % 3) * 100});
    for (int k = 0; k < 20; ++k) {
        starts.push_back((int)pts.size());
        for (int i = 0; i < 5; ++i) pts.push_back({k * 100, i * 100 + 1000});
    }
    l = MakeList(pts, starts);
    CSew out2;
    ASSERT_EQ(1, Export(out2, dir2.File("long.sew"), l));
    std::set<std::string> files = dir2.List();
    ASSERT_GE(files.size(), 3u);
    for (const auto& f : files) {
        Bytes part = ReadBytes(dir2.File(f));
        int blocks = 0;
        for (int k = 0; k < 12; ++k) blocks += Le16(part, 50 + 2 * (size_t)k) > 0;
        EXPECT_LE(blocks, 12) << f;
        EXPECT_LE(Le16(part, 0), 12) << f;
    }
    StitchList back2;
    CSew in2;
    ASSERT_EQ(1, Import(in2, dir2.File("long_a.sew"), back2));
    // Each file's blocks end with a stitch of length 0: compare the points without them.
    std::vector<std::pair<int, int>> want, got;
    for (long i = 0; i < l.nStitches; ++i) want.push_back({l.points[(size_t)i].x, l.points[(size_t)i].y});
    for (long i = 0; i < back2.nStitches; ++i) {
        std::pair<int, int> p{back2.points[(size_t)i].x, back2.points[(size_t)i].y};
        if (!got.empty() && got.back() == p && (want.size() <= got.size() || want[got.size()] != p)) continue;
        got.push_back(p);
    }
    EXPECT_EQ(want, got);
}

TEST(Sew, MoreThan26PartsIsRefusedBeforeAnythingIsWritten)
{
    // Blocks of 16000 stitches go one to a part.
    TempDir dir;
    MessageCapture boxes;
    for (int blocks : {27, 26}) {
        std::vector<int> starts;
        for (int k = 0; k < blocks; ++k) starts.push_back(16000 * k);
        StitchList l = MakeList(std::vector<tagPOINT>((size_t)16000 * (size_t)blocks, tagPOINT{0, 0}), starts);
        CSew out;
        EXPECT_EQ(blocks <= 26 ? 1 : 0, Export(out, dir.File("many.sew"), l));
        EXPECT_EQ(blocks <= 26 ? (size_t)blocks : 0u, dir.List().size());
        if (blocks > 26) {
            EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
        }
    }
}

TEST(Sew, GetMaxNoStitches)
{
    TempDir dir;
    EXPECT_EQ(-1, CSew().GetMaxNoStitches(dir.File("missing.sew").c_str()));
    EXPECT_EQ(-1, CSew().GetMaxNoStitches(dir.File("missing_a.sew").c_str()));
    struct Case {
        size_t length;
        long max;
    } cases[] = {{0, -3772}, {7542, -1}, {7543, -1}, {7544, 0}, {7545, 0}, {7546, 1}, {7544 + 2000, 1000}};
    for (const auto& c : cases) {
        WriteBytes(dir.File("f.sew"), Bytes(c.length, 0));
        EXPECT_EQ(c.max, CSew().GetMaxNoStitches(dir.File("f.sew").c_str())) << c.length;
        // A file without the whole fixed area is no SEW file: the import refuses it too.
        StitchList l;
        l.Reserve(16);
        CSew in;
        EXPECT_EQ(c.max < 0 ? 0 : 1, in.ImportFile(dir.File("f.sew").c_str(), &l.nColors, l.colors.data(),
                                                   &l.nStitches, l.points.data(), l.types.data()))
            << c.length;
    }
    WriteBytes(dir.File("s_A.sew"), Bytes(7544 + 20, 0));
    WriteBytes(dir.File("s_B.sew"), Bytes(7544 + 10, 0));
    EXPECT_EQ(15, CSew().GetMaxNoStitches(dir.File("s_a.sew").c_str()));
    // A short member ends the set for the count and for the import alike, so a member after
    // it never lands beyond the room the count gave.
    WriteBytes(dir.File("s_B.sew"), Bytes(100, 0));
    StitchList big = MakeList({{0, 0}, {100, 0}, {200, 0}, {300, 0}});
    CSew out;
    ASSERT_EQ(1, Export(out, dir.File("s_C.sew"), big));
    EXPECT_EQ(10, CSew().GetMaxNoStitches(dir.File("s_a.sew").c_str()));
    StitchList l;
    CSew in;
    ASSERT_EQ(1, Import(in, dir.File("s_a.sew"), l));
    EXPECT_EQ(0, l.nStitches);
}
