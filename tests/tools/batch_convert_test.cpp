// kwfilter convert IN... --to EXT: many designs and folders at once.
#include "core/sample_design.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <map>

using namespace testutil;

namespace {

CommandResult RunCli(const TempDir& home, const std::string& args)
{
    return RunShell("XDG_CONFIG_HOME='" + home.Path() + "' " + KW_CLI + " " + args + " 2>&1");
}

std::map<std::string, std::vector<unsigned char>> Snapshot(const std::string& dir)
{
    std::map<std::string, std::vector<unsigned char>> files;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") files[n] = ReadBytes(dir + "/" + n);
        }
        closedir(d);
    }
    return files;
}

// A folder of designs in several formats, a damaged one, and one with more colour blocks
// than a SEW file holds.
void MakeInputs(const std::string& dir)
{
    StitchList sample;
    MakeSampleDesign(sample);
    for (const char* ext : {".dst", ".exp", ".hus", ".pcs"}) {
        auto f = CreateFilterFor(ext);
        ASSERT_TRUE(f);
        ASSERT_EQ(1, Export(*f, dir + "/sample" + ext, sample)) << ext;
    }
    std::vector<tagPOINT> pts;
    std::vector<int> starts;
    for (int b = 0; b < 20; ++b) {
        starts.push_back((int)pts.size());
        for (int i = 0; i < 10; ++i) pts.push_back({b * 300 + i * 20, (i % 2) * 200});
    }
    StitchList many = MakeList(pts, starts);
    CDst dst;
    ASSERT_EQ(1, Export(dst, dir + "/many.dst", many));
    std::vector<unsigned char> junk(700);
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = (unsigned char)(i * 37 + 11);
    WriteBytes(dir + "/damaged.pes", junk);
    WriteBytes(dir + "/notes.txt", {'h', 'i'});
}

} // namespace

TEST(BatchConvert, FolderWithDamagedFileAndPartSet)
{
    TempDir home, in, out1, out4;
    MessageCapture quiet;
    MakeInputs(in.Path());
    auto before = Snapshot(in.Path());

    CommandResult r1 = RunCli(home, "convert " + in.Path() + " --to sew --out " + out1.Path() + " --jobs 1");
    EXPECT_EQ(1, r1.status) << r1.out;
    EXPECT_NE(std::string::npos, r1.out.find("converted 4, split into part sets 1, failed 1 (of 6)")) << r1.out;
    EXPECT_NE(std::string::npos, r1.out.find("failed: " + in.File("damaged.pes") + ": ")) << r1.out;
    EXPECT_NE(std::string::npos, r1.out.find("Invalid file data")) << r1.out;
    EXPECT_EQ(std::string::npos, r1.out.find("notes.txt")) << r1.out;

    // Same stem from several formats: each keeps its old extension in the new name.
    std::set<std::string> expected = {"sample_dst.sew", "sample_exp.sew", "sample_hus.sew", "sample_pcs.sew",
                                      "many_A.sew", "many_B.sew"};
    EXPECT_EQ(expected, out1.List());
    EXPECT_EQ(before, Snapshot(in.Path())) << "an input was changed";

    CommandResult r4 = RunCli(home, "convert " + in.Path() + " --to=.SEW --out=" + out4.Path() + " --jobs 4");
    EXPECT_EQ(1, r4.status) << r4.out;
    EXPECT_EQ(Snapshot(out1.Path()), Snapshot(out4.Path())) << "1 job and 4 jobs differ";

    // The written set reads back as one design.
    CExpObject back;
    ASSERT_EQ(1, back.ReadObject(out1.File("many_a.sew").c_str(), 0, nullptr));
    EXPECT_EQ(20, back.GetNoColors());
    EXPECT_GE(back.GetNoStitches(), 200);
}

TEST(BatchConvert, NeverOverwritesAnInput)
{
    TempDir home, in;
    MessageCapture quiet;
    MakeInputs(in.Path());
    auto before = Snapshot(in.Path());
    // many.dst -> many.dst beside itself: refused. sample.exp -> sample.dst would replace
    // the input sample.dst, but the shared stem sends both to names of their own.
    CommandResult r = RunCli(home, "convert " + in.File("many.dst") + " " + in.File("sample.dst") + " " +
                                       in.File("sample.exp") + " --to dst");
    EXPECT_EQ(1, r.status) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("failed: " + in.File("many.dst") + ": the output " + in.File("many.dst") +
                                            " would overwrite an input"))
        << r.out;
    EXPECT_NE(std::string::npos, r.out.find("converted 2, split into part sets 0, failed 1 (of 3)")) << r.out;
    auto after = Snapshot(in.Path());
    for (const auto& [name, bytes] : before) EXPECT_EQ(bytes, after[name]) << name;
    EXPECT_TRUE(after.count("sample_dst.dst") && after.count("sample_exp.dst"));
}

TEST(BatchConvert, Usage)
{
    TempDir home;
    struct Case {
        const char* args;
        const char* says;
    } cases[] = {
        {"convert --to pes", "needs at least one input"},
        {"convert a.dst --to cnd", "no format writes .cnd"},
        {"convert a.dst --to pes --jobs 0", "--jobs needs a number"},
        {"convert a.dst --to pes --fast", "unknown option --fast"},
    };
    for (const auto& c : cases) {
        CommandResult r = RunCli(home, c.args);
        EXPECT_EQ(2, r.status) << c.args;
        EXPECT_NE(std::string::npos, r.out.find(c.says)) << c.args << ": " << r.out;
    }
}
