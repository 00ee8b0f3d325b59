// The command-line program on archives: kwfilter zip, and designs named ARCHIVE.zip:MEMBER.
#include "archive_helpers.h"

#include "test_util.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <set>
#include <unistd.h>

using namespace ziptest;
using testutil::RunShell;
using testutil::TempDir;

namespace {

testutil::CommandResult Cli(const std::string& args)
{
    return RunShell(std::string(KW_CLI) + " " + args + " 2>&1");
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::set<std::string> Listing(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

// The sample design as a DST file, as kwfilter demo writes it.
Bytes SampleDst(const TempDir& dir)
{
    Cli("demo " + dir.File("demo") + " >/dev/null");
    return testutil::ReadBytes(dir.File("demo/sample.dst"));
}

TEST(ZipCli, ListsMembersMatchingThePatterns)
{
    TempDir dir;
    Archive a;
    Member rose{"rose.pes", Pattern(14000)};
    Member lily{"flowers/lily.dst", Pattern(300), 0};
    lily.key = ToBytes("k");
    Member bz{"notes.txt", Pattern(50), 12};
    a.members = {rose, lily, bz};
    testutil::WriteBytes(dir.File("a.zip"), Build(a));

    auto all = Cli("zip " + dir.File("a.zip"));
    EXPECT_EQ(0, all.status) << all.out;
    EXPECT_TRUE(Contains(all.out, "     14000")) << all.out;
    EXPECT_TRUE(Contains(all.out, "deflate            2024-03-17 14:30:10  no   rose.pes")) << all.out;
    EXPECT_TRUE(Contains(all.out, "stored             2024-03-17 14:30:10  yes  flowers/lily.dst")) << all.out;
    EXPECT_TRUE(Contains(all.out, "method 12")) << all.out;
    EXPECT_TRUE(Contains(all.out, "3 members")) << all.out;

    auto some = Cli("zip " + dir.File("a.zip") + " '*.DST' '*.pes'");
    EXPECT_EQ(0, some.status);
    EXPECT_TRUE(Contains(some.out, "2 members")) << some.out;
    EXPECT_FALSE(Contains(some.out, "notes.txt"));

    auto none = Cli("zip " + dir.File("a.zip") + " '*.hus'");
    EXPECT_EQ(1, none.status);
    EXPECT_TRUE(Contains(none.out, "no member matches '*.hus'")) << none.out;

    testutil::WriteBytes(dir.File("bad.zip"), ToBytes("not an archive at all"));
    auto bad = Cli("zip " + dir.File("bad.zip"));
    EXPECT_EQ(1, bad.status);
    EXPECT_TRUE(Contains(bad.out, "Can't locate end of central directory in ZIP file")) << bad.out;
    EXPECT_TRUE(Contains(bad.out, "(Invalid archive)")) << bad.out;

    EXPECT_EQ(2, Cli("zip").status);
    EXPECT_EQ(2, Cli("zip " + dir.File("a.zip") + " --key").status);
    EXPECT_EQ(2, Cli("zip " + dir.File("a.zip") + " --bogus").status);
    EXPECT_EQ(0, Cli("zip --help").status);
}

TEST(ZipCli, ExtractsWhatItCanAndNamesWhatFails)
{
    TempDir dir;
    Archive a;
    Member good{"designs/rose.dst", Pattern(20000, 1)};
    Member crc{"broken.dst", Pattern(1000, 2)};
    crc.crc = 1;
    Member secret{"secret.pes", Pattern(800, 3), 0};
    secret.key = ToBytes("abc");
    Member bz{"bzip.exp", Pattern(50, 4), 12};
    Member evil{"../evil.dst", Pattern(10, 5)};
    Member last{"last.sew", Pattern(3000, 6)};
    a.members = {good, crc, secret, bz, evil, last};
    testutil::WriteBytes(dir.File("a.zip"), Build(a));

    auto r = Cli("zip " + dir.File("a.zip") + " --extract " + dir.File("out"));
    EXPECT_EQ(1, r.status) << r.out;
    EXPECT_TRUE(Contains(r.out, "broken.dst: CRC32 was supposed to be 00000001, was")) << r.out;
    EXPECT_TRUE(Contains(r.out, "(CRC Error)")) << r.out;
    EXPECT_TRUE(Contains(r.out, "secret.pes: Attempt to extract an object without decryption engine (Missing Crypto engine)"))
        << r.out;
    EXPECT_TRUE(Contains(r.out, "bzip.exp: Unknown compression method 12 of bzip.exp")) << r.out;
    EXPECT_TRUE(Contains(r.out, "../evil.dst: not extracted")) << r.out;
    EXPECT_EQ(good.data, testutil::ReadBytes(dir.File("out/designs/rose.dst")));
    EXPECT_EQ(last.data, testutil::ReadBytes(dir.File("out/last.sew"))); // after the failures
    EXPECT_EQ((std::set<std::string>{"designs", "last.sew"}), Listing(dir.File("out")));
    EXPECT_NE(0, access(dir.File("evil.dst").c_str(), F_OK));

    auto keyed = Cli("zip " + dir.File("a.zip") + " 'secret.*' --key abc --extract=" + dir.File("keyed"));
    EXPECT_EQ(0, keyed.status) << keyed.out;
    EXPECT_EQ(secret.data, testutil::ReadBytes(dir.File("keyed/secret.pes")));
}

TEST(ZipCli, DesignsInsideArchives)
{
    TempDir dir;
    Bytes dst = SampleDst(dir);
    ASSERT_FALSE(dst.empty());
    Archive plain;
    plain.members = {Member{"Designs/Sample.DST", dst}};
    testutil::WriteBytes(dir.File("a.zip"), Build(plain));
    Archive keyed;
    Member secret{"sample.dst", dst, 0};
    secret.key = ToBytes("host key");
    keyed.members = {secret};
    testutil::WriteBytes(dir.File("a.gzp"), Build(keyed));

    auto info = Cli("info " + dir.File("a.zip") + ":designs/sample.dst");
    EXPECT_EQ(0, info.status) << info.out;
    EXPECT_TRUE(Contains(info.out, "stitches: 2001")) << info.out;
    EXPECT_TRUE(Contains(info.out, "Tajima DST")) << info.out;

    auto convert = Cli("convert " + dir.File("a.zip") + ":Designs/Sample.DST " + dir.File("copy.exp"));
    EXPECT_EQ(0, convert.status) << convert.out;
    EXPECT_TRUE(Contains(Cli("info " + dir.File("copy.exp")).out, "stitches: 2001"));
    auto render = Cli("render " + dir.File("a.zip") + ":*.dst " + dir.File("s.png") + " --size 64");
    EXPECT_EQ(0, render.status) << render.out;
    EXPECT_FALSE(testutil::ReadBytes(dir.File("s.png")).empty());

    auto withKey = Cli("info --key 'host key' " + dir.File("a.gzp") + ":sample.dst");
    EXPECT_EQ(0, withKey.status) << withKey.out;
    EXPECT_TRUE(Contains(withKey.out, "stitches: 2001")) << withKey.out;
    auto noKey = Cli("info " + dir.File("a.gzp") + ":sample.dst");
    EXPECT_EQ(1, noKey.status);
    EXPECT_TRUE(Contains(noKey.out, "(Missing Crypto engine)")) << noKey.out;
    auto wrongKey = Cli("info " + dir.File("a.gzp") + ":sample.dst --key=wrong");
    EXPECT_EQ(1, wrongKey.status);
    EXPECT_TRUE(Contains(wrongKey.out, "(CRC Error)")) << wrongKey.out;
    auto missing = Cli("info " + dir.File("a.zip") + ":rose.pes");
    EXPECT_EQ(1, missing.status);
    EXPECT_TRUE(Contains(missing.out, "no member 'rose.pes'")) << missing.out;
}

} // namespace
