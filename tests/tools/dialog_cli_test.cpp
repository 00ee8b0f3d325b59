#include "test_util.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

CommandResult RunWithConfig(const std::string& config, const std::string& args)
{
    return RunShell("XDG_CONFIG_HOME='" + config + "' " + KW_CLI + " " + args + " 2>&1");
}

} // namespace

TEST(CliPalette, PrintsOnePaletteOrAll)
{
    TempDir dir;
    CommandResult r = RunWithConfig(dir.Path(), "palette Pfaff");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ(0u, r.out.find("pfaff: Pfaff, 16 colours\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("\n     1     95  Black                #000000\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("\n    16    110  White                #FFFFFF\n")) << r.out;

    r = RunWithConfig(dir.Path(), "palette");
    ASSERT_EQ(0, r.status);
    for (const char* head : {"brother: Babylock/Bernina/Brother, 64 colours", "viking: Husqvarna/Viking, 29 colours",
                             "janome12:", "janome35:", "janome78: Elna/Janome/New Home, 78 colours"})
        EXPECT_NE(std::string::npos, r.out.find(head)) << head;
    EXPECT_NE(std::string::npos, r.out.find("    78    112  White")) << "the 78-colour list ends in White";

    r = RunWithConfig(dir.Path(), "palette sulky");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.out.find("palettes: brother viking pfaff janome12 janome35 janome78")) << r.out;
    EXPECT_EQ(2, RunWithConfig(dir.Path(), "palette a b").status);
}

TEST(CliHoop, PrintsThePreselectedHoop)
{
    TempDir dir;
    CommandResult r = RunWithConfig(dir.Path(), "hoop .PES 160");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_EQ("hoop 4 (control 2325) Babylock/Brother: 160x260 160 x 260 mm\n", r.out);
    r = RunWithConfig(dir.Path(), "hoop csd 1");
    EXPECT_EQ("hoop 10 (control 2331) Singer EU/Poem Husygram: 88x88 88 x 88 mm\n", r.out);
    // Without a rule the remembered hoop stays, the custom one with its remembered size.
    {
        CWinApp app("kwtest");
        app.SetProfileFile(dir.File("kwfilter/profile.ini").c_str());
        app.WriteProfileInt("Options", "HoopSize", 14);
        app.WriteProfileInt("Options", "CustomX", 222);
        app.WriteProfileInt("Options", "CustomY", 111);
    }
    r = RunWithConfig(dir.Path(), "hoop .pes 200");
    EXPECT_EQ("no hoop is preselected for 200 mm .pes; the stored one stays\n"
              "hoop 14 (control 2335) Custom: custom 222 x 111 mm\n",
              r.out);
    for (const char* bad : {"hoop .pes", "hoop .pes wide", "hoop .pes 12x", "hoop a b c"})
        EXPECT_EQ(2, RunWithConfig(dir.Path(), bad).status) << bad;
}
