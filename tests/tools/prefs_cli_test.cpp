#include "test_util.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using namespace testutil;

namespace {

typedef CommandResult Result;

// Runs the program with its profile under a folder of the test's own.
Result RunWithConfig(const std::string& config, const std::string& args)
{
    return RunShell("XDG_CONFIG_HOME=\'" + config + "\' " + KW_CLI + " " + args + " 2>&1");
}

bool HasLine(const std::string& out, const std::string& start)
{
    return out.find("\n" + start) != std::string::npos || out.rfind(start, 0) == 0;
}

} // namespace

TEST(CliFormats, ListsEveryExtensionWithItsNumbers)
{
    TempDir dir;
    Result r = RunWithConfig(dir.Path(), "formats");
    ASSERT_EQ(0, r.status) << r.out;
    EXPECT_TRUE(HasLine(r.out, ".dst       2    4    2 yes    yes    CDst")) << r.out;
    EXPECT_TRUE(HasLine(r.out, ".pec       8    5    0")) << r.out;
    EXPECT_TRUE(HasLine(r.out, ".pcm       5    7    5")) << r.out;
    EXPECT_TRUE(HasLine(r.out, ".cnd      13    0    0 no     no     condensed design")) << r.out;
    for (const FormatInfo& f : GetFormatTable()) EXPECT_NE(std::string::npos, r.out.find(f.pszExt)) << f.pszExt;
    EXPECT_EQ(2, RunWithConfig(dir.Path(), "formats extra").status);
}

TEST(CliPrefs, SetWritesTheProfileAndShowReadsIt)
{
    TempDir dir;
    Result shown = RunWithConfig(dir.Path(), "prefs");
    ASSERT_EQ(0, shown.status) << shown.out;
    EXPECT_TRUE(HasLine(shown.out, "SaveFormat       -1")) << shown.out;
    EXPECT_TRUE(HasLine(shown.out, "Corastitch       1")) << shown.out;
    EXPECT_TRUE(HasLine(shown.out, "Threshold        0.5      limit 50")) << shown.out;

    EXPECT_EQ(0, RunWithConfig(dir.Path(), "prefs set Threshold 1.25").status);
    EXPECT_EQ(0, RunWithConfig(dir.Path(), "prefs set sewcolors 78").status);
    EXPECT_EQ(0, RunWithConfig(dir.Path(), "prefs set SaveFormat 2").status);
    auto bytes = ReadBytes(dir.File("kwfilter/profile.ini"));
    EXPECT_EQ("[Options]\nThreshold=1.25\nSewColors=78\nSaveFormat=2\n", std::string(bytes.begin(), bytes.end()));
    shown = RunWithConfig(dir.Path(), "prefs");
    EXPECT_TRUE(HasLine(shown.out, "Threshold        1.25     limit 125")) << shown.out;
    EXPECT_TRUE(HasLine(shown.out, "SewColors        78")) << shown.out;
    EXPECT_TRUE(HasLine(shown.out, "SaveFormat       2")) << shown.out;

    const char* refused[] = {"prefs set SewColors 40", "prefs set SaveFormat 9", "prefs set JunkStitch 2",
                             "prefs set Threshold abc", "prefs set Nothing 1", "prefs set Threshold", "prefs get x y"};
    for (const char* args : refused) EXPECT_EQ(2, RunWithConfig(dir.Path(), args).status) << args;
    bytes = ReadBytes(dir.File("kwfilter/profile.ini"));
    EXPECT_EQ("[Options]\nThreshold=1.25\nSewColors=78\nSaveFormat=2\n", std::string(bytes.begin(), bytes.end()));
}
