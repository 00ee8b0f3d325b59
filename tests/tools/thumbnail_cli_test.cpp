#include "test_util.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using namespace testutil;

namespace {

struct Output {
    int status;
    std::string text;
};

Output RunKw(const std::string& args)
{
    CommandResult r = RunShell(std::string(KW_CLI) + " " + args + " 2>&1");
    return Output{r.status, r.out};
}

uint32_t Be32(const std::vector<unsigned char>& b, size_t at)
{
    return ((uint32_t)b[at] << 24) | ((uint32_t)b[at + 1] << 16) | ((uint32_t)b[at + 2] << 8) | b[at + 3];
}

} // namespace

TEST(ThumbnailCommand, WritesTheThumbnailsAFileCarries)
{
    TempDir dir;
    ASSERT_EQ(0, RunKw("demo " + dir.Path()).status);
    struct Case {
        const char* file;
        const char* count;
    } cases[] = {{"sample.pec", "1 thumbnails"}, {"sample.pes", "5 thumbnails"}, {"sample.sew", "11 thumbnails"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string png = dir.File(std::string(c.file) + ".png");
        Output r = RunKw("thumbnail " + dir.File(c.file) + " " + png);
        EXPECT_EQ(0, r.status) << r.text;
        EXPECT_NE(std::string::npos, r.text.find(c.count)) << r.text;
        std::vector<unsigned char> b = ReadBytes(png);
        ASSERT_GT(b.size(), 33u);
        EXPECT_EQ((std::vector<unsigned char>{0x89, 'P', 'N', 'G'}), std::vector<unsigned char>(b.begin(), b.begin() + 4));
        EXPECT_GE(Be32(b, 16), 48u * 5); // enlarged
    }
    Output dst = RunKw("thumbnail " + dir.File("sample.dst") + " " + dir.File("x.png"));
    EXPECT_EQ(1, dst.status);
    EXPECT_FALSE(dir.List().count("x.png"));
    EXPECT_EQ(1, RunKw("thumbnail " + dir.File("missing.pes") + " " + dir.File("x.png")).status);
    EXPECT_EQ(2, RunKw("thumbnail " + dir.File("sample.pes")).status);
}

TEST(ThumbnailCommand, InfoShowsThePesVersionAndRotation)
{
    TempDir dir;
    StitchList l = MakeList({{0, 0}, {3000, 2000}, {-1000, 500}});
    CPes pes;
    pes.m_nHoopWidth = 180;
    pes.m_nHoopHeight = 130;
    ASSERT_EQ(1, Export(pes, dir.File("turned.pes"), l));
    Output r = RunKw("info " + dir.File("turned.pes"));
    EXPECT_EQ(0, r.status) << r.text;
    EXPECT_NE(std::string::npos, r.text.find("hoop:     180 x 130 mm")) << r.text;
    EXPECT_NE(std::string::npos, r.text.find("pes:      #PES0020, hoop 180 x 130 mm, rotation 1")) << r.text;
    CPes plain;
    ASSERT_EQ(1, Export(plain, dir.File("plain.pes"), l));
    r = RunKw("info " + dir.File("plain.pes"));
    EXPECT_NE(std::string::npos, r.text.find("pes:      #PES0001, hoop 100 x 100 mm, rotation 0")) << r.text;
}
