// The command-line program on condensed designs: info, convert, render, dump, and the
// preferences that change how satins are sewn.
#include "test_util.h"

#include "design/cnd_object.h"
#include "design/cnd_records.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testutil;

namespace {

typedef CommandResult Result;

// Runs the program with its profile under a folder of the test's own; stdout only when
// quiet, so that JSON can be read back whole.
Result Cli(const TempDir& config, const std::string& args, bool withErrors = true)
{
    return RunShell("XDG_CONFIG_HOME='" + config.Path() + "' " + KW_CLI + " " + args +
                    (withErrors ? " 2>&1" : " 2>/dev/null"));
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    WriteBytes(path, std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

// The stitch list of a design as dump prints it.
std::string ExpectedDump(CEmbObject& d)
{
    std::ostringstream s;
    s << "{\"stitches\": [";
    for (long i = 0; i < d.GetNoStitches(); ++i)
        s << (i ? ",\n  [" : "\n  [") << d.GetStitchData()[i].x << ", " << d.GetStitchData()[i].y << ", "
          << (int)d.GetStitchType()[i] << "]";
    s << (d.GetNoStitches() ? "\n],\n\"colors\": [" : "],\n\"colors\": [");
    for (int k = 0; k < d.GetNoColors(); ++k) {
        const COLORCHG& c = d.GetColorData()[k];
        s << (k ? ",\n  " : "\n  ") << "{\"start\": " << c.nStitch << ", \"color\": " << c.nColor
          << ", \"extra\": " << c.nExtra << "}";
    }
    s << (d.GetNoColors() ? "\n]" : "]");
    return s.str();
}

// Reads a condensed design in this process as a fresh program would: the stagger
// counters are process-wide and never reset, so they start from 0 here too.
void ReadFresh(CCndObject& design, const std::string& path, int corastitch)
{
    CCndObject::s_nSatinLineStagger = CCndObject::s_nSatinReturnStagger = CCndObject::s_nFillRowStagger = 0;
    GetSetup()->m_bCorastitch = corastitch;
    ASSERT_EQ(1, design.ReadObject(path.c_str(), 0, nullptr));
}

// A small design: a run, a colour change, a satin column of two segments.
cndrec::CndWriter SmallDesign()
{
    using namespace cndrec;
    CndWriter w;
    w.Point(kRunPoint, 0, 0).Point(kRunPoint, 2000, 0).ColorChange();
    w.Point(kRunPoint, 0, 500).Point(kRailPoint, 0, 1100);
    w.Point(kRailPoint, 1500, 500).Point(kRailPoint, 1500, 1100).Point(kRailPoint, 3000, 500).Point(kRailPoint, 3000, 1100);
    return w;
}

} // namespace

TEST(CliCondensed, DumpPrintsTheRenderedStitchListAndTheElements)
{
    TempDir dir;
    std::string cnd = dir.File("small.cnd");
    WriteFile(cnd, SmallDesign().Cnd());
    CCndObject design;
    ReadFresh(design, cnd, 1);  // satin smoothing on: the profile's default
    ASSERT_GT(design.GetNoStitches(), 10);
    Result r = Cli(dir, "dump " + cnd, false);
    ASSERT_EQ(0, r.status);
    EXPECT_EQ(ExpectedDump(design) + "}\n", r.out);

    Result e = Cli(dir, "dump --elements " + cnd, false);
    ASSERT_EQ(0, e.status);
    EXPECT_EQ(0u, e.out.find(ExpectedDump(design) + ",\n\"elements\": [\n  {\"class\": \"CRunStitch\", \"scale\": [1000, 1000], "
                                                    "\"runLength\": 380, \"runValue\": 1000, \"points\": [[0, 0, 0, 380], [2000, 0, 0, 380]]},\n"
                                                    "  {\"class\": \"CColorChange\", \"color\": 1, \"extra\": 0},"))
        << e.out.substr(0, 400);
    EXPECT_NE(std::string::npos, e.out.find("{\"class\": \"CSatinStitch\", \"scale\": [1000, 1000], \"scaleLength\": 1000, "
                                            "\"segments\": [{\"density\": 42, \"startA\": [0, 500], \"startB\": [0, 1100]"))
        << e.out;
    EXPECT_EQ("}\n", e.out.substr(e.out.size() - 2));

    // Every format the library reads dumps the same way; an expanded design has no elements.
    std::string dst = dir.File("small.dst");
    ASSERT_EQ(0, Cli(dir, "convert " + cnd + " " + dst).status);
    CExpObject back;
    ASSERT_EQ(1, back.ReadObject(dst.c_str(), 0, nullptr));
    EXPECT_EQ(ExpectedDump(back) + "}\n", Cli(dir, "dump " + dst, false).out);
    Result noElements = Cli(dir, "dump --elements " + dst);
    EXPECT_EQ(0, noElements.status);
    EXPECT_NE(std::string::npos, noElements.out.find("is not a condensed design")) << noElements.out;
    EXPECT_EQ(2, Cli(dir, "dump").status);
    EXPECT_EQ(2, Cli(dir, "dump a.cnd b.cnd").status);
}

TEST(CliCondensed, InfoConvertAndRenderEveryVariant)
{
    TempDir dir;
    cndrec::CndWriter w = SmallDesign();
    WriteFile(dir.File("s.cnd"), w.Cnd());
    WriteFile(dir.File("s.kwc"), w.Kwc({3, 7, 9}));
    WriteFile(dir.File("s.DEM"), w.Dem({3, 7, 9}));
    Result info = Cli(dir, "info " + dir.File("s.cnd"));
    ASSERT_EQ(0, info.status) << info.out;
    EXPECT_NE(std::string::npos, info.out.find("format:   Melco condensed CND (design source 13)")) << info.out;
    EXPECT_NE(std::string::npos, info.out.find("elements: 4")) << info.out;
    EXPECT_NE(std::string::npos, info.out.find("CRunStitch           2")) << info.out;
    EXPECT_NE(std::string::npos, info.out.find("CSatinStitch         1")) << info.out;
    EXPECT_NE(std::string::npos, info.out.find("colour blocks: 2")) << info.out;
    // The colour table names the threads of .kwc and .dem designs: 7 first, then 9.
    Result kwc = Cli(dir, "info " + dir.File("s.kwc"));
    ASSERT_EQ(0, kwc.status) << kwc.out;
    EXPECT_NE(std::string::npos, kwc.out.find("thread   7")) << kwc.out;
    EXPECT_NE(std::string::npos, kwc.out.find("thread   9")) << kwc.out;
    for (const char* name : {"s.cnd", "s.kwc", "s.DEM"}) {
        std::string out = dir.File(std::string(name) + ".exp");
        Result c = Cli(dir, "convert " + dir.File(name) + " " + out);
        EXPECT_EQ(0, c.status) << name << c.out;
        Result i = Cli(dir, "info " + out);
        EXPECT_NE(std::string::npos, i.out.find("colour blocks: 2")) << name << i.out;
        Result r = Cli(dir, "render " + dir.File(name) + " " + dir.File(std::string(name) + ".png") + " --size 64");
        EXPECT_EQ(0, r.status) << name << r.out;
        EXPECT_EQ(0x89, ReadBytes(dir.File(std::string(name) + ".png")).at(0)) << name;
    }
}

TEST(CliCondensed, FailuresAreReported)
{
    TempDir dir;
    Result missing = Cli(dir, "info " + dir.File("missing.cnd"));
    EXPECT_EQ(1, missing.status);
    EXPECT_NE(std::string::npos, missing.out.find("cannot open")) << missing.out;
    auto bytes = SmallDesign().Kwc({});
    bytes[0] = 0;
    WriteFile(dir.File("bad.kwc"), bytes);
    Result bad = Cli(dir, "convert " + dir.File("bad.kwc") + " " + dir.File("out.dst"));
    EXPECT_EQ(1, bad.status);
    EXPECT_NE(std::string::npos, bad.out.find("bad.kwc is not a vaild KW Scaleable file.")) << bad.out;
    EXPECT_FALSE(dir.List().count("out.dst"));
    // A condensed design is read, never written.
    WriteFile(dir.File("s.cnd"), SmallDesign().Cnd());
    EXPECT_EQ(1, Cli(dir, "convert " + dir.File("s.cnd") + " " + dir.File("copy.cnd")).status);
}

TEST(CliCondensed, PreferencesChangeHowSatinsAreSewn)
{
    TempDir dir;
    std::string cnd = dir.File("s.cnd");
    // A narrow column: smoothing sews the middle of each stitch narrower than 0.6 mm.
    cndrec::CndWriter w;
    w.Point(cndrec::kRunPoint, 0, 500).Point(cndrec::kRailPoint, 0, 550);
    w.Point(cndrec::kRailPoint, 3000, 500).Point(cndrec::kRailPoint, 3000, 550);
    WriteFile(cnd, w.Cnd());
    // No profile value: satin smoothing is on, as a host's start-up reads it.
    std::string smoothed = Cli(dir, "dump " + cnd, false).out;
    ASSERT_EQ(0, Cli(dir, "prefs set Corastitch 0").status);
    std::string plain = Cli(dir, "dump " + cnd, false).out;
    EXPECT_NE(smoothed, plain);
    ASSERT_EQ(0, Cli(dir, "prefs set Corastitch 1").status);
    EXPECT_EQ(smoothed, Cli(dir, "dump " + cnd, false).out);
    CCndObject design;
    ReadFresh(design, cnd, 0);
    EXPECT_EQ(ExpectedDump(design) + "}\n", plain);
}
