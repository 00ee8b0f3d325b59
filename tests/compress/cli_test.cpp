// kwfilter compress and expand.
#include "helpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliResult {
    int exitCode;
    std::string err;
};

CliResult RunCli(const std::string& args)
{
    std::string errPath = ::testing::TempDir() + "kw_cli_err" + std::to_string(::getpid());
    std::string command = std::string(KW_CLI) + " " + args + " 2>" + errPath;
    int raw = std::system(command.c_str());
    std::ifstream in(errPath);
    std::string err((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(errPath.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, err};
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(Cli, CompressAndExpandRoundTrip)
{
    std::string dir = ::testing::TempDir();
    std::string plain = dir + "kw_cli_plain", packed = dir + "kw_cli_packed", back = dir + "kw_cli_back";
    Bytes data = StitchLikeBytes(100000, 31);
    std::ofstream(plain, std::ios::binary).write((const char*)data.data(), (std::streamsize)data.size());

    EXPECT_EQ(RunCli("compress " + plain + " " + packed).exitCode, 0);
    EXPECT_EQ(ReadFile(packed), RunCompress(data, 4).output);
    EXPECT_EQ(RunCli("expand " + packed + " " + back).exitCode, 0);
    EXPECT_TRUE(ReadFile(back) == data);

    EXPECT_EQ(RunCli("compress --level 0 " + plain + " " + packed).exitCode, 0);
    EXPECT_EQ(ReadFile(packed), RunCompress(data, 0).output);
    EXPECT_EQ(RunCli("expand --level=0 " + packed + " " + back).exitCode, 0);
    EXPECT_TRUE(ReadFile(back) == data);

    // A failure prints the engine's message and leaves the existing output alone.
    CliResult bad = RunCli("compress --level 5 " + plain + " " + back);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("Compression level = 5"), std::string::npos) << bad.err;
    EXPECT_TRUE(ReadFile(back) == data);
    CliResult missing = RunCli("expand " + dir + "kw_cli_missing " + back);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("kw_cli_missing"), std::string::npos) << missing.err;

    for (const char* args : {"compress", "compress onlyone", "expand --level", "expand --level x a b",
                             "compress --fast a b", "compress a b c"})
        EXPECT_EQ(RunCli(args).exitCode, 2) << args;

    for (const auto& p : {plain, packed, back}) std::remove(p.c_str());
}

} // namespace
