#include "test_util.h"

#include "core/endian.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using namespace testutil;

namespace {

std::string RunCli(const std::string& args, int* status)
{
    CommandResult r = RunShell(std::string(KW_CLI) + " " + args + " 2>&1");
    *status = r.status;
    return r.out;
}

} // namespace

typedef std::vector<unsigned char> Bytes;

TEST(Cli, InfoShowsThePfaffFieldAndTurn)
{
    TempDir dir;
    StitchList small = MakeList({{-3000, -3000}, {3000, 3000}});
    CPcs eighty;
    eighty.m_nHoopWidth = 80;
    ASSERT_EQ(1, Export(eighty, dir.File("small.pcs"), small));
    // Other writers' files may hold designs that only fit the field turned, or not at all.
    auto tall = [&](const char* name, uint32_t height) {
        Bytes b(38 + 2 * 9 + 33, 0);
        b[0] = '2';
        b[1] = 3;
        b[37] = 2;
        PutBE32(b.data() + 38 + 9 + 4, height * 1536 / 100);
        WriteBytes(dir.File(name), b);
    };
    tall("tall.pcm", 11800);
    tall("taller.pcm", 13000);

    struct Case {
        const char* file;
        const char* field;
        const char* turned;
    } cases[] = {
        {"small.pcs", "field:    80 x 80 mm (hoop code 2)", "turned:   no"},
        {"tall.pcm", "field:    120 x 115 mm (hoop code 3)", "turned:   yes, by 90 degrees to fit the field"},
        {"taller.pcm", "field:    120 x 115 mm (hoop code 3)", "turned:   does not fit the field"},
    };
    for (const auto& c : cases) {
        int status = -1;
        std::string out = RunCli("info " + dir.File(c.file), &status);
        EXPECT_EQ(0, status) << out;
        EXPECT_NE(std::string::npos, out.find(c.field)) << out;
        EXPECT_NE(std::string::npos, out.find(c.turned)) << out;
    }
    int status = -1;
    std::string out = RunCli("convert " + dir.File("small.pcs") + " " + dir.File("copy.xxx"), &status);
    EXPECT_EQ(0, status) << out;
    out = RunCli("info " + dir.File("copy.xxx"), &status);
    EXPECT_EQ(std::string::npos, out.find("field:")) << out;
}
