// Rules every format shares: the names and messages of part sets (parts are named by the
// format's own extension, and every message names what the caller gave), and how a colour
// beyond the master thread table is written.
#include "test_util.h"

#include "core/part_set.h"
#include "core/settings.h"
#include "core/stitch_compare.h"
#include "formats/format_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace testutil;

namespace {

// Turns the Pfaff and Viking split preferences on, and Pfaff colours (rather than block
// numbers) on, for the life of a test.
class FormatSettings {
public:
    FormatSettings() : m_saved(*GetSetup())
    {
        GetSetup()->m_bPfaffSplit = GetSetup()->m_bVikingSplit = 1;
        GetSetup()->m_bPfaffCompatible = 0;
    }
    ~FormatSettings()
    {
        GetSetup()->m_bPfaffSplit = m_saved.m_bPfaffSplit;
        GetSetup()->m_bVikingSplit = m_saved.m_bVikingSplit;
        GetSetup()->m_bPfaffCompatible = m_saved.m_bPfaffCompatible;
    }

private:
    struct Saved {
        explicit Saved(const CKwFilter& s)
            : m_bPfaffSplit(s.m_bPfaffSplit), m_bVikingSplit(s.m_bVikingSplit), m_bPfaffCompatible(s.m_bPfaffCompatible)
        {
        }
        int m_bPfaffSplit, m_bVikingSplit, m_bPfaffCompatible;
    } m_saved;
};

// 65 colour blocks of two points: beyond one file of every splitting format.
StitchList ManyBlocks()
{
    std::vector<tagPOINT> pts;
    std::vector<int> starts;
    for (int k = 0; k < 65; ++k) {
        starts.push_back((int)pts.size());
        pts.push_back({(k % 10) * 300 - 1500, (k / 10) * 300 - 1000});
        pts.push_back({(k % 10) * 300 - 1400, (k / 10) * 300 - 900});
    }
    return MakeList(pts, starts);
}

std::string Upper(std::string s)
{
    for (char& c : s) c = (char)std::toupper((unsigned char)c);
    return s;
}

// The extension each splitting format writes, in its own spelling.
const char* const kSplittingFormats[] = {".pec", ".pes", ".sew", ".pcs", ".pcm", ".xxx", ".Csd", ".hus"};

int ExportTo(const std::string& name, StitchList& l)
{
    auto f = CreateFilterFor(name.c_str());
    return f ? Export(*f, name, l) : -1;
}

} // namespace

TEST(SharedRules, SplitPartsTakeTheFormatsExtensionAndMessagesTheCallersName)
{
    FormatSettings settings;
    StitchList design = ManyBlocks();
    for (const char* ext : kSplittingFormats) {
        // A caller's extension in another spelling, and a set name given for the export.
        for (std::string base : {"Big", "tulip_a"}) {
            std::string given = base + (base == "Big" ? Upper(ext) : std::string(ext));
            SCOPED_TRACE(given);
            std::string setBase = base == "Big" ? "Big" : "tulip";
            TempDir dir;
            MessageCapture boxes;
            ASSERT_EQ(1, ExportTo(dir.File(given), design));
            EXPECT_EQ(std::vector<std::string>{"Design " + dir.File(given) + " will be split into multiple files."},
                      boxes.Texts());
            std::set<std::string> files = dir.List();
            ASSERT_GE(files.size(), 2u);
            std::set<std::string> expected;
            for (size_t k = 0; k < files.size(); ++k) expected.insert(setBase + "_" + (char)('A' + k) + ext);
            EXPECT_EQ(expected, files);
            EXPECT_EQ(17000 + (int)files.size(), GetSetup()->m_nLastError);

            // On a case-sensitive file system the set reads back by base_a and the format's
            // extension, and holds the whole design.
            std::string setName = dir.File(setBase + "_a" + ext);
            StitchList back;
            auto in = CreateFilterFor(setName.c_str());
            ASSERT_EQ(1, Import(*in, setName, back));
            StitchList want = design;
            FindFormat(setName.c_str())->keep(want);
            FindFormat(setName.c_str())->keep(back);
            std::string why;
            EXPECT_TRUE(SameStitchList(want, back, &why)) << why;
        }
    }
}

TEST(SharedRules, FailuresNameTheCallersName)
{
    FormatSettings settings;
    StitchList big = ManyBlocks();
    StitchList small = MakeList({{0, 0}, {100, 100}});
    for (const char* ext : kSplittingFormats) {
        SCOPED_TRACE(ext);
        TempDir dir;
        MessageCapture boxes;
        auto texts = [&](size_t from) {
            std::vector<std::string> t = boxes.Texts();
            return std::vector<std::string>(t.begin() + (long)std::min(from, t.size()), t.end());
        };
        auto cannotOpen = [](const std::string& n) { return "Cannot open design " + n + ". Please check it for errors."; };

        // A part set that cannot be created: announced, then refused, by the caller's name.
        std::string many = dir.File("nodir/many") + ext;
        EXPECT_EQ(0, ExportTo(many, big));
        EXPECT_EQ(KW_ERR_CREATE, GetSetup()->m_nLastError);
        EXPECT_EQ((std::vector<std::string>{"Design " + many + " will be split into multiple files.", cannotOpen(many)}),
                  texts(0));

        // One file for a set name (written as base plus the extension): the same.
        std::string one = dir.File("nodir/one_a") + ext;
        size_t seen = boxes.Texts().size();
        EXPECT_EQ(0, ExportTo(one, small));
        EXPECT_EQ(std::vector<std::string>{cannotOpen(one)}, texts(seen));
        seen = boxes.Texts().size();
        ASSERT_EQ(1, ExportTo(dir.File("one_a") + ext, small));
        EXPECT_EQ(std::set<std::string>{std::string("one") + ext}, dir.List());
        EXPECT_EQ(seen, boxes.Texts().size());

        // A part that cannot be completed (a folder stands where part B goes): part A stays,
        // and the write failure names the caller's name too.
        std::string set = dir.File("set") + ext;
        ASSERT_EQ(0, mkdir(dir.File(std::string("set_B") + ext).c_str(), 0700));
        seen = boxes.Texts().size();
        EXPECT_EQ(0, ExportTo(set, big));
        EXPECT_EQ(KW_ERR_WRITE, GetSetup()->m_nLastError);
        std::vector<std::string> t = texts(seen);
        ASSERT_FALSE(t.empty());
        EXPECT_EQ("Unknown error writing design " + set + ". Deleting file.", t.back());
        EXPECT_TRUE(dir.List().count(std::string("set_A") + ext));
    }
}

TEST(SharedRules, EmptyDesignNamesTheCallersName)
{
    StitchList empty;
    for (const char* ext : kSplittingFormats) {
        SCOPED_TRACE(ext);
        TempDir dir;
        MessageCapture boxes;
        std::string name = dir.File("none_a") + ext;
        EXPECT_EQ(0, ExportTo(name, empty));
        EXPECT_EQ(std::vector<std::string>{"Cannot save " + name + ". Design does not have any stitch data."},
                  boxes.Texts());
        EXPECT_TRUE(dir.List().empty());
    }
}

// A block colour beyond the master table is written as entry 0 would be, by every format
// that maps colours.
TEST(SharedRules, ColourBeyondTheMasterTableIsWrittenAsEntryZero)
{
    FormatSettings settings;
    auto bytesWith = [](const char* name, uint16_t color) {
        StitchList l = MakeList({{0, 0}, {100, 100}, {200, 0}, {300, 100}}, {0, 2});
        l.colors[1].nColor = color;
        CMemFile mem;
        auto f = CreateFilterFor(name);
        f->m_pFile = &mem;
        EXPECT_EQ(1, Export(*f, name, l));
        return std::vector<unsigned char>(mem.Data(), mem.Data() + mem.GetLength());
    };
    for (const char* ext : kSplittingFormats) {
        SCOPED_TRACE(ext);
        std::string name = std::string("any") + ext;
        std::vector<unsigned char> entry0 = bytesWith(name.c_str(), 0);
        EXPECT_EQ(entry0, bytesWith(name.c_str(), kThreadCount));
        EXPECT_EQ(entry0, bytesWith(name.c_str(), 0xFFFF));
        EXPECT_NE(entry0, bytesWith(name.c_str(), kThreadCount - 1)); // the last entry is its own colour
    }
}

// Reading a part set never stores more points than its count made room for: the count and
// the import end the set at the same member, whatever is wrong with it (here a member cut
// anywhere), so a good member after it is never read into room that was not counted.
TEST(SharedRules, ASetEndsAtTheSameMemberForTheCountAndTheImport)
{
    FormatSettings settings;
    MessageCapture boxes;
    StitchList few = MakeList({{0, 0}, {100, 100}, {200, 0}});
    std::vector<tagPOINT> pts;
    for (int i = 0; i < 300; ++i) pts.push_back({(i % 20) * 100, (i / 20) * 100});
    StitchList many = MakeList(pts);
    for (const char* ext : kSplittingFormats) {
        SCOPED_TRACE(ext);
        TempDir dir;
        auto member = [&](char letter) { return dir.File(std::string("s_") + letter + ext); };
        // Written under other names: an export to s_A.ext would write s.ext.
        ASSERT_EQ(1, ExportTo(dir.File(std::string("few") + ext), few));
        ASSERT_EQ(1, ExportTo(dir.File(std::string("many") + ext), many));
        std::vector<unsigned char> whole = ReadBytes(dir.File(std::string("few") + ext));
        WriteBytes(member('A'), whole);
        WriteBytes(member('C'), ReadBytes(dir.File(std::string("many") + ext)));
        std::string set = dir.File(std::string("s_a") + ext);
        // Every third byte through the headers (no field that decides is narrower), then sparser.
        for (size_t cut = 0; cut < whole.size(); cut += cut < 1600 ? 3 : 61) {
            WriteBytes(member('B'), std::vector<unsigned char>(whole.begin(), whole.begin() + (long)cut));
            auto f = CreateFilterFor(set.c_str());
            long max = f->GetMaxNoStitches(set.c_str());
            ASSERT_GE(max, 0) << cut;
            StitchList l;
            l.Reserve(max + 1);
            auto in = CreateFilterFor(set.c_str());
            ASSERT_EQ(1, in->ImportFile(set.c_str(), &l.nColors, l.colors.data(), &l.nStitches, l.points.data(),
                                        l.types.data()));
            ASSERT_LE(l.nStitches, max) << "member B cut at " << cut;
        }
    }
}
