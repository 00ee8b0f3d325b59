// The CND reader: value decoders, every command of the record stream, satin columns, fills,
// complex fills and the ".kwc" and ".dem" variants, from record streams built in code.
#include "test_util.h"

#include "design/cnd.h"
#include "design/cnd_object.h"
#include "design/cnd_records.h"
#include "design/emb_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

using namespace testutil;
using namespace cndrec;

void PrintTo(const tagPOINT& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

// Reads bytes as the named file (the extension picks the variant) into a fresh design.
struct ReadResult {
    std::unique_ptr<CCndObject> design = std::make_unique<CCndObject>();
    int ok = 0;
    int firstColor = 0;
};

ReadResult ReadCnd(const std::vector<uint8_t>& bytes, const char* name = "t.cnd")
{
    ReadResult r;
    CMemFile mem;
    if (!bytes.empty()) mem.Write(bytes.data(), (UINT)bytes.size());
    CCnd reader;
    reader.m_pFile = &mem;
    r.ok = reader.ImportFile(name, r.design.get());
    r.firstColor = reader.m_nFirstColor;
    return r;
}

// The element list in short: R<points> run, S<segments> satin, F fill, X complex fill,
// C<colour> colour change, N J T 3 mode switches, c2 and c8:<parameter> machine codes.
std::string Describe(CCndObject& d)
{
    std::ostringstream s;
    for (int i = 0; i < d.GetElementCount(); ++i) {
        CEmbData* e = d.GetElement(i);
        if (i) s << ' ';
        if (auto* r = dynamic_cast<CRunStitch*>(e)) s << 'R' << r->m_nPoints;
        else if (auto* sa = dynamic_cast<CSatinStitch*>(e)) s << 'S' << sa->m_nSegments;
        else if (dynamic_cast<CFillStitch*>(e)) s << 'F';
        else if (dynamic_cast<CComplexFillStitch*>(e)) s << 'X';
        else if (auto* c = dynamic_cast<CColorChange*>(e)) s << 'C' << c->m_nColor;
        else if (auto* sp = dynamic_cast<CSpecialStitch*>(e)) {
            switch (sp->m_nType) {
            case SpecStNormal: s << 'N'; break;
            case SpecStJump: s << 'J'; break;
            case SpecStTrim: s << 'T'; break;
            case SpecStTriple: s << '3'; break;
            case SpecStCode2: s << "c2"; break;
            case SpecStCode8: s << "c8:" << sp->m_nParam; break;
            default: s << '?'; break;
            }
        } else s << '?';
    }
    return s.str();
}

template <class T> T* Element(CCndObject& d, int i) { return dynamic_cast<T*>(d.GetElement(i)); }

int ReferenceTranslateNumber(int v)
{
    if (v > 128) {
        int c = 128, old;
        do {
            old = v;
            c += 128;
            v = old - 128;
        } while (c < old - 128);
    }
    return v;
}

} // namespace

TEST(CndDecoders, WorkedValues)
{
    struct Case {
        int flags, x, y;
        tagPOINT want;
    } cases[] = {
        {0x00, 0x0183, 300, {220, 290}},       // 387 -> 131 -> 22; 300 -> 172 -> 29
        {0x00, 640, 129, {640, 0}},            // 640 -> 384 -> 64; 129 -> 1 -> 0
        {0x60, 0x0183, 0x0183, {-220, -220}},  // both negated
        {0x20, 0x0183, 0x0183, {220, -220}},
        {0x40, 0x0183, 0x0183, {-220, 220}},
        {0x10, 0, 0, {27310, 0}},              // (0x4000 + 3) / 6 = 2731
        {0x08, 0, 6, {0, 27320}},
    };
    for (const Case& c : cases) {
        tagPOINT p = CCnd::TranslateCords(c.flags, c.x, c.y);
        EXPECT_EQ(c.want.x, p.x) << c.flags << " " << c.x;
        EXPECT_EQ(c.want.y, p.y) << c.flags << " " << c.y;
    }
    EXPECT_EQ(131, CCnd::TranslateNumber(387));
    EXPECT_EQ(172, CCnd::TranslateNumber(300));
    EXPECT_EQ(384, CCnd::TranslateNumber(640));
    EXPECT_EQ(1, CCnd::TranslateNumber(129));
    EXPECT_EQ(128, CCnd::TranslateNumber(128));
    EXPECT_EQ(258, CCnd::TranslateAngle(258));
    EXPECT_EQ(131, CCnd::TranslateAngle(259));
    EXPECT_EQ(688, CCnd::TranslateAngle(1200));
    EXPECT_EQ(1464, CCnd::TranslateAngle(3000));
}

TEST(CndDecoders, NumberMatchesTheStepwiseReductionAndTheWriterInvertsBoth)
{
    for (int v = 0; v <= 65535; ++v) ASSERT_EQ(ReferenceTranslateNumber(v), CCnd::TranslateNumber(v)) << v;
    for (int n = 0; n <= 32767; ++n) ASSERT_EQ(n, CCnd::TranslateNumber(EncodeNumber(n))) << n;
    for (int a = 0; a <= 3400; ++a) ASSERT_EQ(a, CCnd::TranslateAngle(EncodeAngle(a))) << a;
    // Points round to the file's 0.1 mm and keep their sign, up to the largest coordinate.
    for (int32_t v : {0, 10, -10, 1234, -99990 / 2, 27310, 54600, kMaxCoordinate, -kMaxCoordinate}) {
        CndWriter w;
        w.Point(kRunPoint, v, -v);
        ReadResult r = ReadCnd(w.Cnd());
        auto* run = Element<CRunStitch>(*r.design, 0);
        ASSERT_NE(nullptr, run);
        int32_t rounded = (v >= 0 ? (v + 5) / 10 : -((-v + 5) / 10)) * 10;
        EXPECT_EQ(rounded, run->m_Points[0].x) << v;
        EXPECT_EQ(-rounded, run->m_Points[0].y) << v;
    }
}

TEST(CndReader, CommandTable)
{
    auto P = [](CndWriter& w) -> CndWriter& { return w.Point(kRunPoint, 100, 100); };
    struct Case {
        const char* what;
        std::function<void(CndWriter&)> build;
        const char* want;
    } cases[] = {
        {"run points gather into one run", [&](CndWriter& w) { P(w); P(w); P(w); }, "R3"},
        {"arc points join the run", [&](CndWriter& w) { P(w).Point(kArcPoint, 5, 5); P(w); }, "R3"},
        {"kind 4 and kinds 5 to 7 are ignored",
         [&](CndWriter& w) { P(w).Raw(4, 0, 1, 0, 1).Raw(5, 0, 0, 0, 0).Raw(0x0E, 1, 1, 1, 1); P(w); }, "R2"},
        {"a reset ends the run, once in a row", [&](CndWriter& w) { P(w).Reset().Reset().Command(0x0B); P(w); },
         "R1 N R1"},
        {"colour change 0x2D, doubled", [&](CndWriter& w) { P(w).ColorChange().ColorChange(); P(w); }, "R1 C1 R1"},
        {"colour change 0x0D 4/0x0E and 0x0D 8",
         [&](CndWriter& w) { w.Command(0x0D, 4, 0x0E00); P(w).Command(0x0D, 8); }, "C1 R1 C2"},
        {"0x0D 4 without 0x0E, 0x0D 7 and other sub-codes only end the run",
         [&](CndWriter& w) { P(w).Command(0x0D, 4, 0x0F00); P(w).Command(0x0D, 7); P(w).Command(0x0D, 3); },
         "R1 R1 R1"},
        {"0x0D 7 lets a colour change follow a colour change",
         [&](CndWriter& w) { w.ColorChange().Command(0x0D, 7).ColorChange(); }, "C1 C2"},
        {"run length and run value keep the run going",
         [&](CndWriter& w) { P(w).RunLength(200).Command(kRunValue, 0, 5); P(w); }, "R2"},
        {"satin density ends the run", [&](CndWriter& w) { P(w).SatinDensity(50); P(w); }, "R1 R1"},
        {"trims repeat", [&](CndWriter& w) { w.Trim().Trim(); }, "T T"},
        {"jumps do not", [&](CndWriter& w) { w.Jump().Jump(); P(w).Jump(); }, "J R1 J"},
        {"triple with sub-code 0 only", [&](CndWriter& w) { w.Triple().Command(kTriple, 1); }, "3"},
        {"machine code 8 carries 0 or 1",
         [&](CndWriter& w) {
             w.Command(kMachineCode, 0, 0x1700).Command(kMachineCode, 0, 0x1701).Command(kMachineCode, 0, 0x1702);
             w.Command(kMachineCode, 1, 0x1700);
         },
         "c8:0 c8:1 N N"},
        {"machine code 2", [&](CndWriter& w) { w.Command(kCode2); }, "c2"},
        {"an unknown command ends the run", [&](CndWriter& w) { P(w).Command(0x55); P(w); }, "R1 R1"},
        {"a colour change repeats the jump, trim and triple modes",
         [&](CndWriter& w) { w.Jump().Trim().Triple().ColorChange(); }, "J T 3 C1 J T 3"},
        {"a reset clears the modes a colour change repeats",
         [&](CndWriter& w) { w.Jump().Trim().Reset().ColorChange(); }, "J T N C1"},
        {"an end record ends the data", [&](CndWriter& w) { P(w).Raw(0, 7, 7, 7, 7); P(w); }, "R1"},
        {"a complex fill trigger needs sub-code 0", [&](CndWriter& w) { P(w).Command(kComplexFill, 1); P(w); },
         "R1 R1"},
    };
    for (const Case& c : cases) {
        CndWriter w;
        c.build(w);
        ReadResult r = ReadCnd(w.Cnd());
        EXPECT_EQ(1, r.ok) << c.what;
        EXPECT_EQ(c.want, Describe(*r.design)) << c.what;
    }
}

TEST(CndReader, RunsKeepTheirLengthsAndTheDesignKeepsItsModes)
{
    CndWriter w;
    w.Command(kRunValue, 0, EncodeNumber(700));
    w.Point(kRunPoint, 0, 0).RunLength(200).Point(kArcPoint, 100, 100).RunLength(950).Point(kRunPoint, 200, 0);
    w.RunLength(0).Point(kRunPoint, 300, 0);  // 0 leaves the length as it was
    w.RunLength(300).Jump().Trim();
    // A file cut in the middle of a record ends the reading normally.
    std::vector<uint8_t> bytes = w.Records();
    bytes.insert(bytes.end(), {1, 0, 0});
    ReadResult r = ReadCnd(bytes);
    ASSERT_EQ(1, r.ok);
    ASSERT_EQ("R4 J T", Describe(*r.design));
    auto* run = Element<CRunStitch>(*r.design, 0);
    EXPECT_EQ(300, run->m_nRunLength);  // the length in force when the run was ended
    EXPECT_EQ(700, run->m_nRunValue);
    EXPECT_EQ((std::vector<int32_t>{0, 1, 0, 0}), std::vector<int32_t>(run->m_Kinds.begin(), run->m_Kinds.begin() + 4));
    EXPECT_EQ((std::vector<int16_t>{380, 200, 380, 380}),
              std::vector<int16_t>(run->m_Lengths.begin(), run->m_Lengths.begin() + 4));
    EXPECT_EQ(CPoint(100, 100), run->m_Points[1]);
    EXPECT_EQ(1, r.design->CurrentMode(CCndObject::kJumpMode));
    EXPECT_EQ(1, r.design->CurrentMode(CCndObject::kTrimMode));
    EXPECT_EQ(0, r.design->CurrentMode(CCndObject::kTripleMode));
    EXPECT_EQ(1, r.design->m_nColorCounter);
}

TEST(CndReader, SatinColumnEndedByARunPoint)
{
    CndWriter w;
    w.SatinDensity(20);  // below 28: 280
    w.Point(kRunPoint, 0, 0);
    w.Point(kRailPoint, 0, 100);
    w.Point(kRailPoint, 1000, 0).Point(kRailPoint, 1000, 100);
    w.SatinDensity(50);
    w.Point(kRailPoint, 2000, 0).Point(kRailPoint, 2000, 100);
    w.Point(kRunPoint, 2500, 500).Point(kRunPoint, 3000, 500);
    ReadResult r = ReadCnd(w.Cnd());
    ASSERT_EQ("R1 S2 R2", Describe(*r.design));
    auto* s = Element<CSatinStitch>(*r.design, 1);
    EXPECT_EQ(CPoint(0, 0), s->m_StartA[0]);  // the last run point
    EXPECT_EQ(CPoint(0, 100), s->m_StartB[0]);
    EXPECT_EQ(CPoint(1000, 0), s->m_EndA[0]);
    EXPECT_EQ(CPoint(1000, 100), s->m_EndB[0]);
    EXPECT_EQ(CPoint(s->m_EndA[0]), s->m_StartA[1]);
    EXPECT_EQ(CPoint(s->m_EndB[0]), s->m_StartB[1]);
    EXPECT_EQ(CPoint(2000, 100), s->m_EndB[1]);
    EXPECT_EQ(280, s->m_Densities[0]);
    EXPECT_EQ(500, s->m_Densities[1]);
    EXPECT_EQ(0, s->m_ArcFlags[0]);
    // The run after the column starts with the point that ended it.
    EXPECT_EQ(CPoint(2500, 500), Element<CRunStitch>(*r.design, 2)->m_Points[0]);
}

TEST(CndReader, SatinColumnStartsAtOriginWithoutARunAndGrowsPastTenSegments)
{
    CndWriter w;
    w.Point(kRailPoint, 0, 100);
    for (int i = 1; i <= 25; ++i) w.Point(kRailPoint, i * 100, 0).Point(kRailPoint, i * 100, 100);
    w.Point(kRailPoint, 9000, 0);  // an end rail without its partner is no segment
    ReadResult r = ReadCnd(w.Cnd());
    ASSERT_EQ("S25", Describe(*r.design));
    auto* s = Element<CSatinStitch>(*r.design, 0);
    EXPECT_EQ(CPoint(0, 0), s->m_StartA[0]);
    EXPECT_EQ(42, s->m_Densities[0]);  // the reader's initial satin density
    EXPECT_EQ(CPoint(2500, 100), s->m_EndB[24]);
    EXPECT_EQ(CPoint(2400, 0), s->m_StartA[24]);
}

TEST(CndReader, SatinColumnEndsOnCommands)
{
    struct Case {
        std::vector<uint8_t> command;
        bool ends;
    } cases[] = {
        {{7, 0x06, 0, 0, 0}, true},    {{7, 0x18, 0, 0, 0}, true},   {{7, 0x2D, 0, 0, 0}, true},
        {{7, 0x1A, 1, 2, 0}, false},   {{7, 0x1A, 2, 0, 0}, true},   {{7, 0x1A, 0, 3, 0}, true},
        {{7, 0x33, 0, 0, 0}, false},   {{7, 0x14, 0, 0, 5}, true},   {{7, 0x80, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        CndWriter w;
        w.Point(kRailPoint, 0, 100).Point(kRailPoint, 100, 0).Point(kRailPoint, 100, 100);
        w.Raw(c.command[0], c.command[1], c.command[2], c.command[3], c.command[4]);
        w.Point(kRailPoint, 200, 0).Point(kRailPoint, 200, 100);
        ReadResult r = ReadCnd(w.Cnd());
        auto* s = Element<CSatinStitch>(*r.design, 0);
        ASSERT_NE(nullptr, s) << int(c.command[1]);
        // A command that ends the column leaves the later rails to a column of their own.
        EXPECT_EQ(c.ends ? 1 : 2, s->m_nSegments) << int(c.command[1]);
    }
    // A column ended before its first segment is complete is dropped, and the command is read.
    CndWriter w;
    w.Point(kRailPoint, 0, 100).Point(kRailPoint, 100, 0).Trim();
    EXPECT_EQ("T", Describe(*ReadCnd(w.Cnd()).design));
}

TEST(CndReader, SatinArcSegments)
{
    // One middle point: the middle pair is made across it.
    {
        CndWriter w;
        w.Point(kRunPoint, 0, 0).Point(kRailPoint, 0, 100);
        w.Point(kArcPoint, 500, 50);
        w.Point(kRailPoint, 1000, 0).Point(kRailPoint, 1000, 100);
        w.Point(kRailPoint, 0, 0);  // an end rail, and then a middle point
        w.Point(kArcPoint, 1500, 0);
        w.Point(kRailPoint, 1000, 100).Point(kRailPoint, 1100, 0);
        ReadResult r = ReadCnd(w.Cnd());
        ASSERT_EQ("R1 S2", Describe(*r.design));
        auto* s = Element<CSatinStitch>(*r.design, 1);
        EXPECT_EQ(1, s->m_ArcFlags[0]);
        EXPECT_EQ(CPoint(500, 0), s->m_MiddleA[0]);
        EXPECT_EQ(CPoint(500, 100), s->m_MiddleB[0]);
        // The second arc sees an end rail already read: its start pair shifts along.
        EXPECT_EQ(CPoint(1000, 100), s->m_StartA[1]);
        EXPECT_EQ(CPoint(0, 0), s->m_StartB[1]);
    }
    // Directions far apart: the middle direction turns by pi (widths 100 and 141); two
    // middle points are the middle pair as read.
    struct Case {
        std::vector<tagPOINT> middles;
        tagPOINT endA, endB;
        CPoint wantA, wantB;
    } cases[] = {
        {{{500, 500}}, {1000, 100}, {1100, 0}, CPoint(445, 477), CPoint(555, 523)},
        {{{500, 30}, {500, 130}}, {1000, 0}, {1000, 100}, CPoint(500, 30), CPoint(500, 130)},
    };
    for (const Case& c : cases) {
        CndWriter w;
        w.Point(kRunPoint, 0, 0).Point(kRailPoint, 0, 100);
        for (tagPOINT m : c.middles) w.Point(kArcPoint, m);
        w.Point(kRailPoint, c.endA).Point(kRailPoint, c.endB);
        ReadResult read = ReadCnd(w.Cnd());
        auto* s = Element<CSatinStitch>(*read.design, 1);
        ASSERT_NE(nullptr, s);
        EXPECT_EQ(c.wantA, s->m_MiddleA[0]);
        EXPECT_EQ(c.wantB, s->m_MiddleB[0]);
    }
}

TEST(CndReader, FillFrameOutlinesAndParameters)
{
    CndWriter w;
    w.FillType(5, 20);                                // type 5: length 600, angle 900, spacing 280
    w.FillAngle(450).Command(kRunValue, 0, EncodeNumber(333));
    w.Point(kRunPoint, 0, 0).Point(kRunPoint, 1000, 0);
    w.Point(kRunPoint, 0, 800).Point(kRunPoint, 1000, 800);  // P2 and P3 come in swapped
    w.Point(kRailPoint, 0, 0).Point(kRunPoint, 1100, 300).Point(kRunPoint, 1100, 600);
    w.Point(kRailPoint, 0, 0).Point(kRunPoint, 5, 5);         // section 2: dropped
    w.Point(kRailPoint, 0, 0).Point(kRunPoint, -100, 500);
    w.Point(kRailPoint, 0, 0).Point(kRunPoint, 7, 7);         // section 4: dropped
    w.Point(kArcPoint, 0, 0);
    w.Point(kRunPoint, 50, 50);
    ReadResult r = ReadCnd(w.Cnd());
    ASSERT_EQ("F R1", Describe(*r.design));
    auto* f = Element<CFillStitch>(*r.design, 0);
    EXPECT_EQ(5, f->m_nFillType);
    EXPECT_EQ(600, f->m_nStitchLength);
    EXPECT_EQ(4500, f->m_nAngle);
    EXPECT_EQ(280, f->m_nSpacing);
    EXPECT_EQ(333, f->m_nFillValue);
    EXPECT_EQ(CPoint(0, 0), f->m_Frame[0]);
    EXPECT_EQ(CPoint(1000, 0), f->m_Frame[1]);
    EXPECT_EQ(CPoint(1000, 800), f->m_Frame[2]);
    EXPECT_EQ(CPoint(0, 800), f->m_Frame[3]);
    EXPECT_EQ(CPoint(0, 0), f->m_Frame[4]);
    ASSERT_EQ(2, f->m_nOutlineA);
    EXPECT_EQ(CPoint(1100, 600), f->m_OutlineA[1]);
    ASSERT_EQ(1, f->m_nOutlineB);
    EXPECT_EQ(CPoint(-100, 500), f->m_OutlineB[0]);
}

TEST(CndReader, FillTypesAndOrderOfTheFarEdge)
{
    struct Case {
        int type;
        int length, angle;
    } types[] = {{1, 380, 900}, {2, 380, 300}, {3, 380, 300}, {4, 600, 900}, {8, 600, 900}};
    for (const Case& c : types) {
        CndWriter w;
        w.FillType(c.type, 42);
        // A near edge along y: P2 and P3 stay in the order read when they run the same way.
        w.Point(kRunPoint, 0, 0).Point(kRunPoint, 0, 1000).Point(kRunPoint, 800, 1000).Point(kRunPoint, 800, 0);
        w.Point(kArcPoint, 0, 0);
        ReadResult read = ReadCnd(w.Cnd());
        auto* f = Element<CFillStitch>(*read.design, 0);
        ASSERT_NE(nullptr, f) << c.type;
        EXPECT_EQ(c.type, f->m_nFillType);
        EXPECT_EQ(c.length, f->m_nStitchLength);
        EXPECT_EQ(c.angle, f->m_nAngle);
        EXPECT_EQ(420, f->m_nSpacing);
        EXPECT_EQ(CPoint(800, 1000), f->m_Frame[2]) << c.type;
        EXPECT_EQ(CPoint(800, 0), f->m_Frame[3]) << c.type;
    }
    CndWriter w;
    w.FillType(1, 42).FillLength(250).Command(kFill, kFillSpacing, EncodeNumber(30));
    w.Point(kRunPoint, 0, 1000).Point(kRunPoint, 0, 0).Point(kRunPoint, 800, 1000).Point(kRunPoint, 800, 0);
    w.Point(kArcPoint, 0, 0);
    ReadResult read = ReadCnd(w.Cnd());
    auto* f = Element<CFillStitch>(*read.design, 0);
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(250, f->m_nStitchLength);
    EXPECT_EQ(300, f->m_nSpacing);
    // Swapped so that P3 to P2 runs the way P0 to P1 does.
    EXPECT_EQ(CPoint(800, 0), f->m_Frame[2]);
    EXPECT_EQ(CPoint(800, 1000), f->m_Frame[3]);
}

TEST(CndReader, FillsDroppedByCommandsOrShortFrames)
{
    // A command before the fill's end drops it; the main loop then reads the command.
    CndWriter w;
    w.FillType(1, 42);
    w.Point(kRunPoint, 0, 0).Point(kRunPoint, 1000, 0).Point(kRunPoint, 1000, 800).Point(kRunPoint, 0, 800);
    w.Trim();
    w.Point(kArcPoint, 0, 0);
    EXPECT_EQ("T R1", Describe(*ReadCnd(w.Cnd()).design));
    // A frame cut short by a record of another kind; that record is read again.
    CndWriter s;
    s.FillType(1, 42).Point(kRunPoint, 0, 0).Point(kRunPoint, 1000, 0).ColorChange().Point(kRunPoint, 5, 5);
    EXPECT_EQ("C1 R1", Describe(*ReadCnd(s.Cnd()).design));
    // A fill that reaches the end of the data is dropped.
    CndWriter e;
    e.FillType(1, 42).Point(kRunPoint, 0, 0).Point(kRunPoint, 1000, 0).Point(kRunPoint, 1000, 800);
    EXPECT_EQ("", Describe(*ReadCnd(e.Cnd()).design));
}

TEST(CndReader, ComplexFill)
{
    CndWriter w;
    w.Command(kComplexFill, 0);
    w.Raw(0x86, 0x07, 0x02, 0, 50);       // set 0: type 3, spacing 500
    w.Raw(0x87, 0x81, 0, 0, 0);           // set 1 from here
    w.Raw(0x86, 0x07, kFillLength, 0, 99);
    w.Raw(0x86, 0x08, 0x02, 0, 50);       // not a fill command: ignored
    w.Raw(0x87, 0x83, 0x79, 0, 0).Point(kRunPoint, 10, 20);
    w.Raw(0x87, 0x83, 0x7B, 0, 0).Point(kRunPoint, 30, 40).Point(kRailPoint, 50, 60);
    w.Point(kRunPoint, 100, 100).Point(kArcPoint, 200, 100);
    w.Raw(0x87, 0x80, 1, 0xFF, 0xFF);     // boundary 65535: only the next one is made
    w.Point(kRailPoint, 300, 300).Point((Kind)4, 400, 300);
    w.Raw(0x87, 0x80, 1, 0, 0);           // back to boundary 0
    w.Point(kRunPoint, 500, 500);
    w.Raw(0x87, 0x84, 0, 0, 0);
    w.Point(kRunPoint, 1, 1);
    ReadResult r = ReadCnd(w.Cnd());
    ASSERT_EQ("X R1", Describe(*r.design));
    auto* c = Element<CComplexFillStitch>(*r.design, 0);
    EXPECT_EQ(3, c->m_nFillTypes[0]);
    EXPECT_EQ(500, c->m_nSpacings[0]);
    EXPECT_EQ(99, c->m_nStitchLengths[1]);
    EXPECT_EQ(2, c->m_nFillTypes[1]);
    EXPECT_EQ(CPoint(10, 20), c->m_RefPoints[0]);
    EXPECT_EQ(CPoint(30, 40), c->m_RefPoints[2]);
    EXPECT_EQ(CPoint(50, 60), c->m_RefPoints[3]);
    ASSERT_EQ(2u, c->m_Boundaries.size());
    EXPECT_EQ(3, c->m_Boundaries[0].count);
    EXPECT_EQ(CPoint(500, 500), c->m_Boundaries[0].points[2]);
    EXPECT_EQ(2, c->m_Boundaries[1].count);

    // Trim, jump and reset end a complex fill without it; the end of the data stops reading.
    struct Case {
        uint8_t code;
        const char* want;
    } ends[] = {{0x06, "T R1"}, {0x09, "J R1"}, {0x0A, "N R1"}};
    for (const Case& e : ends) {
        CndWriter x;
        x.Command(kComplexFill, 0).Point(kRunPoint, 100, 100).Raw(0x87, e.code, 0, 0, 0).Point(kRunPoint, 1, 1);
        EXPECT_EQ(e.want, Describe(*ReadCnd(x.Cnd()).design)) << int(e.code);
    }
    CndWriter cut;
    cut.Point(kRunPoint, 1, 1).Command(kComplexFill, 0).Point(kRunPoint, 100, 100);
    ReadResult rc = ReadCnd(cut.Cnd());
    EXPECT_EQ(1, rc.ok);
    EXPECT_EQ("R1", Describe(*rc.design));
}

TEST(CndReader, KwcColourTableAndDemScrambling)
{
    CndWriter w;
    w.Point(kRunPoint, 100, 100).ColorChange().Point(kRunPoint, 200, 100).ColorChange().Point(kRunPoint, 300, 0);
    struct Case {
        std::vector<uint8_t> table;
        int first;
        const char* want;
    } cases[] = {
        {{}, 0, "R1 C1 R1 C2 R1"},                    // no table: colours as in a .cnd file
        {{9, 17, 23, 31}, 17, "R1 C23 R1 C31 R1"},    // map[1] is the first colour, map[counter + 1] the rest
        {{0, 17, 23, 31}, 0, "R1 C1 R1 C2 R1"},       // a leading 0 numbers them 0, 1, 2, ...
    };
    for (const Case& c : cases) {
        for (const char* name : {"a.kwc", "B.KWC", "a.dem"}) {
            bool dem = std::string(name) == "a.dem";
            ReadResult r = ReadCnd(dem ? w.Dem(c.table) : w.Kwc(c.table), name);
            EXPECT_EQ(1, r.ok) << name;
            EXPECT_EQ(c.first, r.firstColor) << name;
            EXPECT_EQ(c.want, Describe(*r.design)) << name << " table " << c.table.size();
        }
    }
    // The same records as a .cnd file number colours by the counter.
    EXPECT_EQ("R1 C1 R1 C2 R1", Describe(*ReadCnd(w.Cnd()).design));
    // A .dem file read as .kwc is scrambled nonsense, but safe.
    ReadCnd(w.Dem({1, 2}), "a.kwc");
}

TEST(CndReader, ColourCounterBeyondTheTable)
{
    CndWriter w;
    for (int i = 0; i < 300; ++i) w.Point(kRunPoint, 10, 10).ColorChange();
    std::vector<uint8_t> table(100, 7);
    ReadResult r = ReadCnd(w.Kwc(table), "x.kwc");
    ASSERT_EQ(600, r.design->GetElementCount());
    EXPECT_EQ(7, Element<CColorChange>(*r.design, 1)->m_nColor);
    EXPECT_EQ(254, Element<CColorChange>(*r.design, 2 * 253 + 1)->m_nColor);  // counter 254: map[255] = 254
    EXPECT_EQ(255, Element<CColorChange>(*r.design, 2 * 254 + 1)->m_nColor);  // counter 255: past the map
    EXPECT_EQ(300, Element<CColorChange>(*r.design, 599)->m_nColor);
    EXPECT_EQ(301, r.design->m_nColorCounter);
}

TEST(CndReader, BadVariantsAreRefused)
{
    MessageCapture capture;
    CndWriter w;
    w.Point(kRunPoint, 100, 100);
    std::vector<uint8_t> bad = w.Kwc({});
    bad[0] = 2;
    ReadResult r = ReadCnd(bad, "bad.kwc");
    EXPECT_EQ(0, r.ok);
    EXPECT_EQ(KW_ERR_BAD_FILE, GetSetup()->m_nLastError);
    EXPECT_EQ(0, r.design->GetElementCount());
    ReadResult one = ReadCnd({1}, "one.dem");
    EXPECT_EQ(0, one.ok);
    ReadResult empty = ReadCnd({}, "empty.kwc");
    EXPECT_EQ(0, empty.ok);
    auto texts = capture.Texts();
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ("bad.kwc is not a vaild KW Scaleable file.", texts[0]);
    EXPECT_EQ("Error reading from file.", texts[1]);
    EXPECT_EQ("Error reading from file.", texts[2]);
    EXPECT_EQ("Error", capture.Boxes()[0].caption);
    // A .cnd file may be empty: nothing to read, and no failure.
    ReadResult cnd = ReadCnd({}, "empty.cnd");
    EXPECT_EQ(1, cnd.ok);
    // A file that cannot be opened: 0 with no message.
    CCndObject design;
    CCnd reader;
    EXPECT_EQ(0, reader.ImportFile("/nonexistent/x.cnd", &design));
    EXPECT_EQ(3u, capture.Texts().size());
    EXPECT_EQ(-1, reader.GetMaxNoStitches("x.cnd"));
}

TEST(CndReader, DemoDesignHoldsEveryKindOfElement)
{
    ReadResult r = ReadCnd(DemoDesign().Cnd());
    EXPECT_EQ("R6 C1 J R1 N S4 C2 J R1 N F C3 J R1 N 3 R2", Describe(*r.design));
    EXPECT_EQ(1, Element<CRunStitch>(*r.design, 0)->m_Kinds[4]);      // the arc's middle point
    EXPECT_EQ(1, Element<CSatinStitch>(*r.design, 5)->m_ArcFlags[3]);  // the bent last segment
    auto* fill = Element<CFillStitch>(*r.design, 10);
    ASSERT_NE(nullptr, fill);
    EXPECT_EQ(1, fill->m_nOutlineA);
    EXPECT_EQ(1, fill->m_nOutlineB);
}
