#include "test_util.h"
#include "core/part_set.h"

#include "core/part_set.h"

#include <gtest/gtest.h>

using namespace testutil;

TEST(PartSet, Names)
{
    struct Case {
        const char* name;
        bool isSet;
        const char* part0;
        const char* part2;
    } cases[] = {
        {"rose_a.pes", true, "rose_a_A.pes", "rose_a_C.pes"},
        {"rose_A.pes", true, "rose_A_A.pes", "rose_A_C.pes"},
        {"dir/rose.pes", false, "dir/rose_A.pes", "dir/rose_C.pes"},
        {"rose_b.pes", false, "rose_b_A.pes", "rose_b_C.pes"},
        {"my.dir/rose", false, "my.dir/rose_A", "my.dir/rose_C"},
        {"_a.pes", true, "_a_A.pes", "_a_C.pes"},
        {"a.pes", false, "a_A.pes", "a_C.pes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.isSet, partset::IsSetName(c.name));
        EXPECT_EQ(c.part0, partset::PartName(c.name, 0));
        EXPECT_EQ(c.part2, partset::PartName(c.name, 2));
    }
    EXPECT_EQ("rose_C.pes", partset::MemberName("rose_a.pes", 2));
    EXPECT_EQ("rose_c.pes", partset::MemberName("rose_A.pes", 2, true));
    EXPECT_EQ("rose_Z.pes", partset::PartName("rose.pes", 25));
}

// What a single export writes and what a split export names its parts after: the
// format's own extension wherever the name is changed.
TEST(PartSet, ExportAndSplitNames)
{
    struct Case {
        const char* name;
        const char* single;
        const char* base;
    } cases[] = {
        {"rose.pec", "rose.pec", "rose.pec"},
        {"Big.PEC", "Big.PEC", "Big.pec"},
        {"rose_a.PEC", "rose.pec", "rose.pec"},
        {"rose_A.pes", "rose.pec", "rose.pec"},
        {"dir/rose.x", "dir/rose.x", "dir/rose.pec"},
        {"my.dir/rose", "my.dir/rose", "my.dir/rose.pec"},
        {"rose_b.pec", "rose_b.pec", "rose_b.pec"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.single, partset::ExportName(c.name, ".pec"));
        EXPECT_EQ(c.base, partset::SplitBase(c.name, ".pec"));
    }
}

TEST(PartSet, MoreThan26PartsIsRefusedBeforeAnythingIsWritten)
{
    TempDir dir;
    MessageCapture boxes;
    CFilter f;
    std::string name = dir.File("big.pes");
    int called = 0;
    EXPECT_EQ(0, partset::ExportParts(f, name.c_str(), ".pes", 27, [&](int, const char*) { return ++called, 1; }));
    EXPECT_EQ(0, called);
    EXPECT_EQ(KW_ERR_TOO_LARGE, GetSetup()->m_nLastError);
    EXPECT_EQ(std::vector<std::string>{"Cannot save design " + name +
                                       ". It is too large for this format, even when split into 26 files."},
              boxes.Texts());
    EXPECT_TRUE(dir.List().empty());
    EXPECT_EQ(0, partset::RefuseOneFile(f, "x.pes"));
    EXPECT_EQ("Cannot save design x.pes. It has more colours or stitches than one file of this format can hold.",
              boxes.Texts().back());
}

TEST(PartSet, ExportAnnouncesAndCountsProgress)
{
    TempDir dir;
    MessageCapture boxes;
    CFilter f;
    std::string name = dir.File("set.DST");
    std::vector<int> progress;
    std::vector<std::string> parts;
    ASSERT_EQ(1, partset::ExportParts(f, name.c_str(), ".dst", 3, [&](int k, const char* part) {
        progress.push_back(GetSetup()->m_nLastError);
        parts.push_back(part);
        unsigned char b = (unsigned char)k;
        return f.Write(&b, 1);
    }));
    EXPECT_EQ((std::vector<int>{17001, 17002, 17003}), progress);
    EXPECT_EQ(17003, GetSetup()->m_nLastError);
    EXPECT_EQ(std::vector<std::string>{"Design " + name + " will be split into multiple files."}, boxes.Texts());
    EXPECT_EQ("Warning", boxes.Boxes()[0].caption);
    EXPECT_EQ((std::set<std::string>{"set_A.dst", "set_B.dst", "set_C.dst"}), dir.List());
    EXPECT_EQ((std::vector<std::string>{dir.File("set_A.dst"), dir.File("set_B.dst"), dir.File("set_C.dst")}), parts);
    EXPECT_EQ(std::vector<unsigned char>{2}, ReadBytes(dir.File("set_C.dst")));
}

// A part or a set name's single file that fails to be written is reported by the name the
// caller gave; the parts before it stay.
TEST(PartSet, WriteFailuresNameTheCallersName)
{
    TempDir dir;
    MessageCapture boxes;
    CFilter f;
    std::string name = dir.File("set_a.dst");
    std::string written;
    EXPECT_EQ(0, partset::ExportSingle(f, name.c_str(), ".dst", 5, [&](const char* file) {
        written = file;
        return 0;
    }));
    EXPECT_EQ(dir.File("set.dst"), written);
    EXPECT_EQ(KW_ERR_WRITE, GetSetup()->m_nLastError);
    EXPECT_EQ(std::vector<std::string>{"Unknown error writing design " + name + ". Deleting file."}, boxes.Texts());

    EXPECT_EQ(0, partset::ExportParts(f, name.c_str(), ".dst", 3, [&](int k, const char*) {
        unsigned char b = 1;
        return k < 1 && f.Write(&b, 1);
    }));
    EXPECT_EQ(KW_ERR_WRITE, GetSetup()->m_nLastError);
    EXPECT_EQ("Unknown error writing design " + name + ". Deleting file.", boxes.Texts().back());
    EXPECT_EQ((std::set<std::string>{"set_A.dst"}), dir.List());
}

TEST(PartSet, ReadingASetStopsAtAMissingOrFailingMember)
{
    TempDir dir;
    MessageCapture boxes;
    auto part = [](int x) { return MakeList({{x, 0}, {x + 100, 100}}); };
    for (int k = 0; k < 3; ++k) {
        StitchList l = part(k * 1000);
        CDst dst;
        ASSERT_EQ(1, Export(dst, partset::PartName(dir.File("s.dst").c_str(), k), l));
    }
    WriteBytes(dir.File("s_E.dst"), {1, 2, 3}); // after a gap: never reached

    auto readAll = [&](const std::string& setName, StitchList& l) {
        long max = partset::MaxStitchesOfSet(setName.c_str(), [](const char* m) { return CDst().GetMaxNoStitches(m); });
        l.Clear();
        l.Reserve(max < 0 ? 0 : max + 16);
        return partset::ImportParts(setName.c_str(), &l.nColors, l.colors.data(), &l.nStitches, [&](const char* m) {
            CDst dst;
            return dst.ImportFile(m, &l.nColors, l.colors.data(), &l.nStitches, l.points.data(), l.types.data());
        });
    };
    StitchList l;
    ASSERT_EQ(1, readAll(dir.File("s_a.dst"), l));
    EXPECT_EQ(6, l.nStitches);
    EXPECT_EQ(3, l.nColors);
    EXPECT_EQ(2000, l.points[4].x);
    EXPECT_EQ(4, l.colors[2].nStitch);
    EXPECT_EQ(10, l.colors[3].nStitch);

    // A broken third member: the first two stay, the third adds nothing.
    WriteBytes(dir.File("s_C.dst"), {1, 2, 3});
    ASSERT_EQ(1, readAll(dir.File("s_a.dst"), l));
    EXPECT_EQ(4, l.nStitches);
    EXPECT_EQ(2, l.nColors);
    EXPECT_EQ(8, l.colors[2].nStitch);

    EXPECT_EQ(0, readAll(dir.File("t_a.dst"), l));
}
