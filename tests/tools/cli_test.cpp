#include "test_util.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using namespace testutil;

namespace {

typedef CommandResult Result;

Result RunCli(const std::string& args)
{
    return RunShell(std::string(KW_CLI) + " " + args + " 2>&1");
}

} // namespace

TEST(Cli, DemoWritesEveryFormatAndReadsItBack)
{
    TempDir dir;
    Result r = RunCli("demo " + dir.Path());
    EXPECT_EQ(0, r.status) << r.out;
    EXPECT_NE(std::string::npos, r.out.find(".dst"));
    EXPECT_EQ(std::string::npos, r.out.find("DIFFERS")) << r.out;
    EXPECT_TRUE(dir.List().count("sample.dst"));
}

TEST(Cli, InfoAndConvert)
{
    TempDir dir;
    ASSERT_EQ(0, RunCli("demo " + dir.Path()).status);
    Result info = RunCli("info " + dir.File("sample.dst"));
    EXPECT_EQ(0, info.status);
    EXPECT_NE(std::string::npos, info.out.find("stitches: 2001")) << info.out;
    EXPECT_NE(std::string::npos, info.out.find("colour blocks: 4"));
    EXPECT_NE(std::string::npos, info.out.find("trims:    3"));
    Result conv = RunCli("convert " + dir.File("sample.dst") + " " + dir.File("copy.exp"));
    EXPECT_EQ(0, conv.status) << conv.out;
    Result again = RunCli("convert " + dir.File("copy.exp") + " " + dir.File("again.dst"));
    EXPECT_EQ(0, again.status) << again.out;
    EXPECT_NE(std::string::npos, RunCli("info " + dir.File("again.dst")).out.find("stitches: 2001"));
    Result render = RunCli("render " + dir.File("sample.dst") + " " + dir.File("s.png") + " --size 64 --points");
    EXPECT_EQ(0, render.status) << render.out;
    auto png = ReadBytes(dir.File("s.png"));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(0x89, png[0]);
    EXPECT_EQ('P', png[1]);
}

TEST(Cli, FailuresAndUsage)
{
    TempDir dir;
    EXPECT_EQ(2, RunCli("").status);
    EXPECT_EQ(2, RunCli("convert onlyone.dst").status);
    EXPECT_EQ(2, RunCli("nosuchcommand").status);
    EXPECT_EQ(0, RunCli("--help").status);
    EXPECT_EQ(0, RunCli("convert --help").status);
    Result missing = RunCli("info " + dir.File("missing.dst"));
    EXPECT_EQ(1, missing.status);
    WriteBytes(dir.File("short.dst"), {1, 2, 3});
    Result bad = RunCli("convert " + dir.File("short.dst") + " " + dir.File("out.dst"));
    EXPECT_EQ(1, bad.status);
    EXPECT_NE(std::string::npos, bad.out.find(". Invalid file data or file not found.")) << bad.out;
    WriteBytes(dir.File("cut.exp"), {1, 0, 0x80, 0x04, 1});
    Result incomplete = RunCli("info " + dir.File("cut.exp"));
    EXPECT_EQ(1, incomplete.status);
    EXPECT_NE(std::string::npos, incomplete.out.find("Error: Error reading from file.")) << incomplete.out;
    EXPECT_NE(std::string::npos, incomplete.out.find("File appears to have incomplete or invalid data."));
    Result render = RunCli("render " + dir.File("sample.dst") + " " + dir.File("x.png") + " --size 5");
    EXPECT_EQ(2, render.status);
    Result unknown = RunCli("convert " + dir.File("short.dst") + " " + dir.File("out.zzz"));
    EXPECT_EQ(1, unknown.status);
}
