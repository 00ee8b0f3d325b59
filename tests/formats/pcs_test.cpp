#include "test_util.h"

#include "core/endian.h"
#include "core/colors.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

typedef std::vector<unsigned char> Bytes;

// Sets the two Pfaff preferences for the life of a test.
class PfaffSettings {
public:
    PfaffSettings(int compatible, int split)
        : m_compatible(GetSetup()->m_bPfaffCompatible), m_split(GetSetup()->m_bPfaffSplit)
    {
        GetSetup()->m_bPfaffCompatible = compatible;
        GetSetup()->m_bPfaffSplit = split;
    }
    ~PfaffSettings()
    {
        GetSetup()->m_bPfaffCompatible = m_compatible;
        GetSetup()->m_bPfaffSplit = m_split;
    }

private:
    int m_compatible, m_split;
};

struct Record {
    int32_t x, y;
    int flag;
    bool operator==(const Record& o) const { return x == o.x && y == o.y && flag == o.flag; }
};

std::ostream& operator<<(std::ostream& os, const Record& r)
{
    return os << "{" << r.x << ", " << r.y << ", " << r.flag << "}";
}

template <class T> int ExportMem(StitchList l, Bytes* out, int hoopWidth = 120)
{
    CMemFile mem;
    T f;
    f.m_nHoopWidth = hoopWidth;
    f.m_pFile = &mem;
    int ok = Export(f, "mem.pcs", l);
    out->assign(mem.Data(), mem.Data() + mem.GetLength());
    return ok;
}

template <class T> int ImportMem(const Bytes& b, StitchList& l, int* hoopWidth = nullptr)
{
    CMemFile mem;
    mem.Write(b.data(), (UINT)b.size());
    T f;
    f.m_pFile = &mem;
    int ok = Import(f, "mem.pcs", l);
    if (hoopWidth) *hoopWidth = f.m_nHoopWidth;
    return ok;
}

// The records of a file between its header and its trailer.
std::vector<Record> Records(const Bytes& b, bool pcm)
{
    size_t first = pcm ? 38 : 70, trailer = pcm ? 33 : 13;
    std::vector<Record> r;
    for (size_t i = first; i + 9 + trailer <= b.size(); i += 9) {
        const uint8_t* p = b.data() + i;
        int32_t x = (int32_t)(pcm ? GetBE32(p) : GetLE32(p));
        int32_t y = (int32_t)(pcm ? GetBE32(p + 4) : GetLE32(p + 4));
        r.push_back({x, y, p[8]});
    }
    return r;
}

// Stitch and colour-change records of a file, in file units.
Record St(long x, long y) { return {(int32_t)(x * 1536 / 100), (int32_t)(y * 1536 / 100), 0}; }
Record Change(int32_t x) { return {x, 0, 3}; }

// A PCS or PCM file from a hoop code, a count and records.
Bytes PfaffFile(bool pcm, int hoopCode, int count, const std::vector<Record>& records, const Bytes& table = {})
{
    Bytes b(pcm ? 36 : 68, 0);
    b[0] = '2';
    b[1] = (uint8_t)hoopCode;
    for (size_t i = 0; i < table.size(); ++i) b[4 + i] = table[i];
    b.push_back(pcm ? (uint8_t)(count >> 8) : (uint8_t)count);
    b.push_back(pcm ? (uint8_t)count : (uint8_t)(count >> 8));
    for (const Record& r : records) {
        uint8_t v[9];
        if (pcm) {
            PutBE32(v, (uint32_t)r.x);
            PutBE32(v + 4, (uint32_t)r.y);
        } else {
            PutLE32(v, (uint32_t)r.x);
            PutLE32(v + 4, (uint32_t)r.y);
        }
        v[8] = (uint8_t)r.flag;
        b.insert(b.end(), v, v + 9);
    }
    b.resize(b.size() + (pcm ? 33 : 13), 0);
    return b;
}

// n points in blocks of the given sizes, stepping 1 mm along x and back.
StitchList Blocks(const std::vector<int>& sizes)
{
    std::vector<tagPOINT> pts;
    std::vector<int> starts;
    for (int s : sizes) {
        starts.push_back((int)pts.size());
        for (int i = 0; i < s; ++i) {
            long n = (long)pts.size();
            pts.push_back(tagPOINT{(int32_t)((n % 50) * 100 - 2500), (int32_t)((n / 50 % 40) * 100 - 2000)});
        }
    }
    return MakeList(pts, starts);
}

uint16_t HeaderCount(const Bytes& b, bool pcm) { return pcm ? GetBE16(b.data() + 36) : GetLE16(b.data() + 68); }

} // namespace

TEST(Pcs, FieldCheckAndTurn)
{
    struct Case {
        int hoop;
        int32_t width, height;
        bool fits, turned;
    } cases[] = {
        {80, 8000, 8000, true, false},     {80, 8001, 100, false, false},   {80, 100, 8001, false, false},
        {120, 12000, 11500, true, false},  {120, 12001, 100, false, false}, {120, 11000, 11600, true, true},
        {120, 11600, 11600, false, true},  {120, 11500, 12000, true, true}, {120, 100, 12001, false, true},
        {100, 11000, 11600, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hoop << ": " << c.width << " x " << c.height);
        // Extents run from the origin, so one point gives the size.
        StitchList l = MakeList({{c.width, c.height}});
        CPcs::FieldFit fit = CPcs::FitField(c.hoop, l.nStitches, l.points.data());
        EXPECT_EQ(c.fits, fit.bFits);
        EXPECT_EQ(c.turned, fit.bTurned);

        MessageCapture boxes;
        Bytes b;
        CMemFile mem;
        CPcs f;
        f.m_nHoopWidth = c.hoop;
        f.m_pFile = &mem;
        EXPECT_EQ(c.fits ? 1 : 0, Export(f, "rose.pcs", l));
        if (!c.fits) {
            EXPECT_EQ(KW_ERR_PCS_EXPORT, GetSetup()->m_nLastError);
            EXPECT_EQ(std::vector<std::string>{"Cannot save design rose.pcs. It does not fit within the embroidery "
                                               "field. Please resize the design."},
                      boxes.Texts());
            EXPECT_EQ(0u, mem.GetLength());
        } else {
            EXPECT_EQ(c.turned ? 1 : 0, f.m_bTurned);
            EXPECT_EQ(c.hoop == 80 ? 2 : 3, mem.Data()[1]);
        }
    }
}

TEST(Pcs, ShiftAndTurnPlaceTheRecords)
{
    struct Case {
        const char* what;
        int hoop;
        std::vector<tagPOINT> pts;
        std::vector<Record> records; // after the colour change
    } cases[] = {
        {"inside the large field: as it is", 120, {{-6000, 5750}}, {St(0, 11500)}},
        {"0 to 7000 in the 80 field: shifted by -3000", 80, {{7000, 100}}, {St(8000, 4100)}},
        {"below the 80 field: shifted up", 80, {{0, -5000}, {100, 2000}}, {St(4000, 0), St(4100, 7000)}},
        {"left of the large field", 120, {{-7000, 0}}, {St(0, 5750)}},
        {"turned: x goes along the file's y, y against its x", 120, {{1000, 11600}, {0, 0}}, {St(0, 6750), St(11600, 5750)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes b;
        ASSERT_EQ(1, ExportMem<CPcs>(MakeList(c.pts), &b, c.hoop));
        std::vector<Record> r = Records(b, false);
        ASSERT_FALSE(r.empty());
        EXPECT_EQ(3, r[0].flag);
        EXPECT_EQ(c.records, std::vector<Record>(r.begin() + 1, r.end()));
    }
}

TEST(Pcs, ColourTablesFollowPfaffCompatible)
{
    // Red, Deep Gold and a colour of the Janome range.
    StitchList l = MakeList({{0, 0}, {100, 0}, {200, 0}, {300, 0}}, {0, 1, 3});
    l.colors[0].nColor = 3;
    l.colors[1].nColor = 40;
    l.colors[2].nColor = 150;
    {
        PfaffSettings s(1, 1);
        Bytes b;
        ASSERT_EQ(1, ExportMem<CPcs>(l, &b));
        EXPECT_EQ(Bytes({'2', 3, 16, 0}), Bytes(b.begin(), b.begin() + 4));
        for (int k = 0; k < 16; ++k) {
            EXPECT_EQ(Bytes({CPcs::kDefaultColors[k][0], CPcs::kDefaultColors[k][1], CPcs::kDefaultColors[k][2], 0}),
                      Bytes(b.begin() + 4 + 4 * k, b.begin() + 8 + 4 * k));
        }
        std::vector<Record> r = Records(b, false);
        EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), (std::vector<int32_t>{r[0].x, r[2].x, r[5].x}));
        StitchList back;
        ASSERT_EQ(1, ImportMem<CPcs>(b, back));
        ASSERT_EQ(3, back.nColors);
        for (int k = 0; k < 3; ++k) {
            const unsigned char* d = CPcs::kDefaultColors[k];
            EXPECT_EQ(NearestThread(RGB(d[0], d[1], d[2]), 0, 93), back.colors[(size_t)k].nColor);
        }
    }
    {
        PfaffSettings s(0, 1);
        Bytes b;
        ASSERT_EQ(1, ExportMem<CPcs>(l, &b));
        COLORREF gold = GetThreadColor(40);
        EXPECT_EQ(Bytes({GetRValue(gold), GetGValue(gold), GetBValue(gold), 0}), Bytes(b.begin() + 8, b.begin() + 12));
        // The tail of the table is the default one.
        EXPECT_EQ(Bytes({0x00, 0x80, 0x80, 0}), Bytes(b.begin() + 16, b.begin() + 20));
        std::vector<Record> r = Records(b, false);
        CFilter map;
        map.MapClrIndexes(95, 110);
        EXPECT_EQ((std::vector<int32_t>{map.m_nColorMap[3], map.m_nColorMap[40], map.m_nColorMap[150]}),
                  (std::vector<int32_t>{r[0].x, r[2].x, r[5].x}));
        StitchList back;
        ASSERT_EQ(1, ImportMem<CPcs>(b, back));
        EXPECT_EQ(3, back.colors[0].nColor);
        EXPECT_EQ(40, back.colors[1].nColor);
        EXPECT_EQ(NearestThread(GetThreadColor(150), 0, 93), back.colors[2].nColor);
        EXPECT_EQ((std::vector<int>{0, 1, 3}),
                  (std::vector<int>{back.colors[0].nStitch, back.colors[1].nStitch, back.colors[2].nStitch}));
    }
}

TEST(Pcs, SplitsReadBackAsASet)
{
    PfaffSettings s(1, 1);
    struct Case {
        const char* what;
        std::vector<int> blocks;
        std::vector<std::string> files;
        std::vector<int> counts;  // header counts
        std::vector<int> changes; // colour changes a file holds
    } cases[] = {
        {"17 colours", std::vector<int>(17, 10), {"rose_A.pcs", "rose_B.pcs"}, {162, 12}, {16, 1}},
        {"one block of 30000", {30000}, {"rose_A.pcs", "rose_B.pcs", "rose_C.pcs"}, {14002, 14002, 2002}, {1, 1, 1}},
        {"a block crossing the limit ends the file where it starts", {10000, 10000},
         {"rose_A.pcs", "rose_B.pcs"}, {10002, 10002}, {1, 1}},
        {"empty blocks at the start do not hold the split up",
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 10}, {"rose_A.pcs"}, {22}, {2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        MessageCapture boxes;
        StitchList l = Blocks(c.blocks);
        CPcs out;
        ASSERT_EQ(1, Export(out, dir.File("rose.pcs"), l));
        EXPECT_EQ(std::vector<std::string>{"Design " + dir.File("rose.pcs") + " will be split into multiple files."},
                  boxes.Texts());
        EXPECT_EQ(17000 + (int)c.files.size(), GetSetup()->m_nLastError);
        EXPECT_EQ(std::set<std::string>(c.files.begin(), c.files.end()), dir.List());
        CPcs::FieldFit fit = CPcs::FitField(120, l.nStitches, l.points.data());
        for (size_t k = 0; k < c.files.size(); ++k) {
            Bytes b = ReadBytes(dir.File(c.files[k]));
            EXPECT_EQ(c.counts[k], HeaderCount(b, false));
            std::vector<Record> r = Records(b, false);
            int changes = 0;
            for (const Record& rec : r) changes += rec.flag == 3;
            EXPECT_EQ(c.changes[k], changes);
            ASSERT_GE(r.size(), 2u);
            // Each file closes on the corners of the extents.
            EXPECT_EQ(St(fit.nMinX + 6000, fit.nMinY + 5750), r[r.size() - 2]);
            EXPECT_EQ(St(fit.nMaxX + 6000, fit.nMaxY + 5750), r.back());
        }
        StitchList back;
        CPcs in;
        ASSERT_EQ(1, Import(in, dir.File("rose_a.pcs"), back));
        EXPECT_EQ(l.nStitches, back.nStitches);
        EXPECT_LE(back.nStitches, CPcs().GetMaxNoStitches(dir.File("rose_a.pcs").c_str()));
        EXPECT_EQ(back.nStitches + 4, back.colors[(size_t)back.nColors].nStitch);
        for (long i : {0L, 1L, l.nStitches - 1}) {
            EXPECT_LE(std::abs(l.points[(size_t)i].x - back.points[(size_t)i].x), 1);
            EXPECT_LE(std::abs(l.points[(size_t)i].y - back.points[(size_t)i].y), 1);
        }
    }
}

TEST(Pcs, WithoutASplitTooManyColoursOrRecordsAreRefused)
{
    struct Case {
        const char* what;
        bool memory;
        int split;
        std::vector<int> blocks;
        int result;
    } cases[] = {
        {"a memory file never splits: 16 colours fit", true, 1, std::vector<int>(16, 5), 1},
        {"a memory file never splits: 20000 stitches fit", true, 1, {20000}, 1},
        {"17 colours into a memory file", true, 1, std::vector<int>(17, 5), 0},
        {"65536 stitches into a memory file", true, 1, {65536}, 0},
        {"17 colours with the split off", false, 0, std::vector<int>(17, 5), 0},
        {"65535 stitches with the split off", false, 0, {65535}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PfaffSettings s(1, c.split);
        TempDir dir;
        MessageCapture boxes;
        StitchList l = Blocks(c.blocks);
        CMemFile mem;
        CPcs f;
        if (c.memory) f.m_pFile = &mem;
        EXPECT_EQ(c.result, Export(f, dir.File("rose.pcs"), l));
        if (c.result) {
            EXPECT_EQ(c.memory ? std::set<std::string>{} : std::set<std::string>{"rose.pcs"}, dir.List());
            Bytes b = c.memory ? Bytes(mem.Data(), mem.Data() + mem.GetLength()) : ReadBytes(dir.File("rose.pcs"));
            EXPECT_EQ(l.nStitches, HeaderCount(b, false));
        } else {
            EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
            EXPECT_EQ(std::vector<std::string>{"Cannot save design " + dir.File("rose.pcs") +
                                               ". It has more colours or stitches than one file of this format can "
                                               "hold."},
                      boxes.Texts());
            EXPECT_TRUE(dir.List().empty());
            EXPECT_EQ(0u, mem.GetLength());
        }
    }
}

TEST(Pcs, ReadingFieldsAndEdges)
{
    struct Case {
        const char* what;
        int hoopCode;
        int count;
        std::vector<Record> records;
        int result;
        int hoopWidth;
        std::vector<tagPOINT> points;
        int colors;
    } cases[] = {
        {"code 2 reads with the 80 field's centre", 2, 1, {Change(0), St(4000, 4000)}, 1, 80, {{0, 0}}, 1},
        {"code 0 too", 0, 1, {St(4100, 3900)}, 1, 120, {{100, -100}}, 1},
        {"code 3 with the large field's", 3, 1, {St(6000, 5750)}, 1, 120, {{0, 0}}, 1},
        {"changes before the first point are ignored", 3, 2, {Change(0), Change(1), St(6000, 5750), Change(2), St(6100, 5750)},
         1, 120, {{0, 0}, {100, 0}}, 2},
        {"the count ends the records", 3, 1, {St(6000, 5750), St(6100, 5750)}, 1, 120, {{0, 0}}, 1},
        {"a count past the records is a read error", 3, 3, {St(6000, 5750)}, 0, 120, {}, 0},
        {"count 0", 3, 0, {}, 1, 120, {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MessageCapture boxes;
        StitchList l;
        int hoop = 0;
        ASSERT_EQ(c.result, ImportMem<CPcs>(PfaffFile(false, c.hoopCode, c.count, c.records), l, &hoop));
        if (!c.result) {
            EXPECT_EQ(KW_ERR_READ, GetSetup()->m_nLastError);
            continue;
        }
        EXPECT_EQ(c.hoopWidth, hoop);
        ASSERT_EQ((long)c.points.size(), l.nStitches);
        for (size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_EQ(c.points[i].x, l.points[i].x);
            EXPECT_EQ(c.points[i].y, l.points[i].y);
        }
        EXPECT_EQ(c.colors, l.nColors);
    }
    // The reader never stores more points than the file's length has records for.
    CMemFile mem;
    Bytes b = PfaffFile(false, 3, 60000, {St(0, 0), St(0, 0)});
    mem.Write(b.data(), (UINT)b.size());
    CPcs f;
    f.m_pFile = &mem;
    EXPECT_EQ(3, f.GetMaxNoStitches("mem.pcs")); // two records and the trailer's 13 bytes
}

// A file that is not of the format counts -1, as one that cannot be opened, so that a host
// tells it from an empty design (0); the import refuses it too. A part set ends there.
TEST(Pcs, CountOfAForeignFile)
{
    for (bool pcm : {false, true}) {
        const char* ext = pcm ? ".pcm" : ".pcs";
        SCOPED_TRACE(ext);
        auto make = [&]() -> std::unique_ptr<CPcs> { return pcm ? std::make_unique<CPcsMac>() : std::make_unique<CPcs>(); };
        Bytes empty = PfaffFile(pcm, 3, 0, {});
        Bytes foreign = empty;
        foreign[0] = '3';
        struct Case {
            const char* what;
            Bytes bytes;
            long count;
        } cases[] = {
            {"no bytes", {}, -1},
            {"first byte not '2'", foreign, -1},
            {"header cut before the count", Bytes(empty.begin(), empty.begin() + (pcm ? 37 : 69)), -1},
            {"only the '2'", {'2'}, -1},
            {"an empty design", empty, 0},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            TempDir dir;
            MessageCapture boxes;
            std::string name = dir.File(std::string("f") + ext);
            WriteBytes(name, c.bytes);
            EXPECT_EQ(c.count, make()->GetMaxNoStitches(name.c_str()));
            EXPECT_TRUE(boxes.Texts().empty());
            StitchList l;
            l.Reserve(16);
            int ok = make()->ImportFile(name.c_str(), &l.nColors, l.colors.data(), &l.nStitches, l.points.data(),
                                        l.types.data());
            EXPECT_EQ(c.count < 0 ? 0 : 1, ok);
            EXPECT_EQ(0, l.nStitches);
        }
        EXPECT_EQ(-1, make()->GetMaxNoStitches("/nonexistent/f.pcs"));

        // A set of a good part and a foreign one counts and reads the good part only.
        TempDir dir;
        std::string a = dir.File(std::string("s_A") + ext);
        WriteBytes(a, PfaffFile(pcm, 3, 3, {St(6000, 5750), St(6100, 5750), St(6200, 5750)}));
        WriteBytes(dir.File(std::string("s_B") + ext), foreign);
        std::string set = dir.File(std::string("s_a") + ext);
        EXPECT_EQ(1 + 2, make()->GetMaxNoStitches(set.c_str())); // less the 2 closing stitches, room for them
        StitchList l;
        ASSERT_EQ(1, Import(*make(), set, l));
        EXPECT_EQ(1, l.nStitches);
    }
}

TEST(Pcs, EightyFieldRoundTrip)
{
    // The 80 field's files read back where they were written.
    StitchList l = MakeList({{-4000, -4000}, {3975, 3950}, {25, -25}}, {0, 2});
    Bytes b;
    ASSERT_EQ(1, ExportMem<CPcs>(l, &b, 80));
    StitchList back;
    int hoop = 0;
    ASSERT_EQ(1, ImportMem<CPcs>(b, back, &hoop));
    EXPECT_EQ(80, hoop);
    ASSERT_EQ(3, back.nStitches);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(l.points[(size_t)i].x, back.points[(size_t)i].x);
        EXPECT_EQ(l.points[(size_t)i].y, back.points[(size_t)i].y);
    }
    EXPECT_EQ(2, back.colors[1].nStitch);
}

TEST(Pcm, BigEndianLayoutAndFixedClosingStitches)
{
    PfaffSettings s(1, 1);
    Bytes b;
    ASSERT_EQ(1, ExportMem<CPcsMac>(MakeList({{100, -200}, {300, 400}}, {0, 1}), &b));
    Bytes head = {'2', 3, 0x00, 0x10};
    for (int k = 0; k < 16; ++k) {
        head.push_back(0);
        head.push_back((uint8_t)k);
    }
    head.push_back(0);
    head.push_back(2);
    EXPECT_EQ(head, Bytes(b.begin(), b.begin() + 38));
    // The first colour change, then the stitch (6100, 5550) as 0x16E00 and 0x14D00.
    EXPECT_EQ(Bytes({0, 0, 0, 0, 0, 0, 0, 0, 3, 0x00, 0x01, 0x6E, 0x00, 0x00, 0x01, 0x4D, 0x00, 0}),
              Bytes(b.begin() + 38, b.begin() + 56));
    EXPECT_EQ(38u + 4 * 9 + 33, b.size());
    EXPECT_EQ(Bytes(33, 0), Bytes(b.end() - 33, b.end()));

    TempDir dir;
    MessageCapture boxes;
    StitchList l = Blocks(std::vector<int>(17, 3));
    CPcsMac out;
    ASSERT_EQ(1, Export(out, dir.File("rose_a.pcm"), l));
    EXPECT_EQ((std::set<std::string>{"rose_A.pcm", "rose_B.pcm"}), dir.List());
    for (const char* name : {"rose_A.pcm", "rose_B.pcm"}) {
        Bytes part = ReadBytes(dir.File(name));
        std::vector<Record> r = Records(part, true);
        ASSERT_GE(r.size(), 2u);
        EXPECT_EQ((Record{0, 0, 0}), r[r.size() - 2]);
        EXPECT_EQ((Record{0x2D000, 0x2B1FF, 0}), r.back());
    }
    EXPECT_EQ(50, HeaderCount(ReadBytes(dir.File("rose_A.pcm")), true));
    StitchList back;
    CPcsMac in;
    ASSERT_EQ(1, Import(in, dir.File("rose_a.pcm"), back));
    EXPECT_EQ(l.nStitches, back.nStitches);
    EXPECT_EQ(17, back.nColors);
}

TEST(Pcm, Colours)
{
    StitchList l = MakeList({{0, 0}, {100, 0}}, {0, 1});
    l.colors[0].nColor = 3;   // red
    l.colors[1].nColor = 100; // inside the Pfaff range
    {
        PfaffSettings s(1, 1);
        Bytes b;
        ASSERT_EQ(1, ExportMem<CPcsMac>(l, &b));
        StitchList back;
        ASSERT_EQ(1, ImportMem<CPcsMac>(b, back));
        EXPECT_EQ((std::vector<int>{95, 96}), (std::vector<int>{back.colors[0].nColor, back.colors[1].nColor}));
    }
    {
        PfaffSettings s(0, 1);
        Bytes b;
        ASSERT_EQ(1, ExportMem<CPcsMac>(l, &b));
        StitchList back;
        ASSERT_EQ(1, ImportMem<CPcsMac>(b, back));
        EXPECT_EQ((std::vector<int>{NearestThread(GetThreadColor(3), 95, 110), 100}),
                  (std::vector<int>{back.colors[0].nColor, back.colors[1].nColor}));
    }
    struct Case {
        const char* what;
        int count;
        std::vector<Record> records;
        std::vector<int> colors;
    } cases[] = {
        {"a change at the start names the first block's colour", 2, {Change(4), St(0, 0), Change(7), St(0, 0)}, {99, 102}},
        {"without one the first block takes 95 and the blocks before", 2, {St(0, 0), Change(0x105), St(0, 0)}, {95, 100}},
        {"a number beyond the master table", 1, {Change(0xFF), St(0, 0)}, {95}},
        {"count 0: one empty block", 0, {}, {95}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StitchList back;
        ASSERT_EQ(1, ImportMem<CPcsMac>(PfaffFile(true, 3, c.count, c.records), back));
        std::vector<int> colors;
        for (int k = 0; k < back.nColors; ++k) colors.push_back(back.colors[(size_t)k].nColor);
        EXPECT_EQ(c.colors, colors);
    }
}
