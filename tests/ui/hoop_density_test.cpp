// The hoop size, density, advanced density and rotate dialogs, played as a user plays them.
#include "test_util.h"

#include "core/settings.h"
#include "platform/profile.h"
#include "ui/density.h"
#include "ui/hoop_size.h"
#include "ui/resources.h"
#include "ui/rotate.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

class Profiled : public testing::Test {
protected:
    Profiled() { m_app.SetProfileFile(m_dir.File("profile.ini").c_str()); }
    std::string Profile(const char* key) { return m_app.GetProfileString("Options", key, "absent"); }

    TempDir m_dir;
    CWinApp m_app{"kwtest"};
};

bool Shown(CDialog& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowVisible() != FALSE; }
bool Enabled(CDialog& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE; }

} // namespace

TEST_F(Profiled, HoopPreselectionRules)
{
    struct Case {
        int start, width;
        const char* ext;
        int hoop;
    };
    const Case cases[] = {
        {5, 300, ".hus", 0},  {5, 100, ".HUS", 0},  {0, 100, ".pes", 1},  {0, 130, ".pec", 2},  {0, 180, ".PES", 3},
        {0, 160, ".pes", 4},  {0, 260, ".pes", 5},  {3, 200, ".pes", 3},  {0, 122, ".sew", 6},  {0, 80, ".sew", 7},
        {2, 100, ".sew", 2},  {0, 115, ".pcs", 8},  {0, 80, ".pcm", 9},   {0, 130, ".csd", 10}, {0, 130, ".xxx", 11},
        {0, 114, ".psw", 12}, {0, 55, ".xxx", 13},  {4, 55, ".dst", 4},   {4, 100, "", 4},      {4, 100, nullptr, 4},
        {14, 80, ".exp", 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " " << (c.ext ? c.ext : "null"));
        EXPECT_EQ(c.hoop, HoopForDesign(c.start, c.width, c.ext));
        CHoopSize dlg;
        dlg.m_nHoop = c.start;
        dlg.SetHoopSize(c.width, 999, c.ext);
        EXPECT_EQ(c.hoop, dlg.m_nHoop);
    }
}

TEST(HoopSize, SizesByIndex)
{
    const int sizes[kHoopCount][2] = {{100, 100}, {100, 100}, {130, 180}, {180, 130}, {160, 260},
                                      {260, 160}, {122, 88},  {80, 70},   {115, 120}, {80, 80},
                                      {88, 88},   {130, 240}, {114, 114}, {55, 55},   {321, 45}};
    for (int i = 0; i < kHoopCount; ++i) {
        EXPECT_EQ(CSize(sizes[i][0], sizes[i][1]), HoopSizeOf(i, 321, 45)) << i;
        EXPECT_EQ(2321 + i, GetHoopTable()[i].nControl);
    }
    EXPECT_EQ(CSize(100, 100), HoopSizeOf(-1, 321, 45));
    EXPECT_EQ(CSize(100, 100), HoopSizeOf(15, 321, 45));
}

TEST_F(Profiled, HoopChoiceIsReadAtConstructionAndWrittenAtDestruction)
{
    {
        CHoopSize dlg;
        EXPECT_EQ(2, dlg.m_nHoop) << "defaults";
        EXPECT_EQ(100, dlg.m_nCustomX);
        dlg.m_nHoop = 7;
    }
    EXPECT_EQ("7", Profile("HoopSize"));
    EXPECT_EQ("absent", Profile("CustomX")) << "custom sizes are not allowed";

    // A stored custom hoop without the flag still gives the stored custom size.
    m_app.WriteProfileInt("Options", "HoopSize", 14);
    m_app.WriteProfileInt("Options", "CustomX", 150);
    m_app.WriteProfileInt("Options", "CustomY", 90);
    CHoopSize dlg;
    CSize size;
    dlg.GetHoopSize(size);
    EXPECT_EQ(CSize(150, 90), size);
    Driver d([](CDialog& dlg) {
        EXPECT_FALSE(Shown(dlg, IDC_HOOP_CUSTOM));
        EXPECT_FALSE(Shown(dlg, IDC_CUSTOM_X));
        EXPECT_FALSE(Shown(dlg, IDC_CUSTOM_TIMES));
        EXPECT_EQ((UINT)BST_CHECKED, dlg.IsDlgButtonChecked(IDC_HOOP_CUSTOM)) << "checked though hidden";
        EXPECT_TRUE(UserClick(&dlg, 2334));
        EXPECT_FALSE(Shown(dlg, IDC_CUSTOM_X)) << "nothing to enable without the flag";
        UserClick(&dlg, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(13, dlg.m_nHoop);
}

TEST_F(Profiled, CustomHoopShowsEnablesValidatesAndIsWritten)
{
    {
        CHoopSize dlg;
        dlg.m_bAllowCustom = 1;
        Driver d([](CDialog& dlg) {
            for (int id : {IDC_HOOP_CUSTOM, IDC_CUSTOM_X, IDC_CUSTOM_Y, IDC_CUSTOM_TIMES}) EXPECT_TRUE(Shown(dlg, id)) << id;
            EXPECT_FALSE(Enabled(dlg, IDC_CUSTOM_X)) << "hoop 2 is not the custom one";
            EXPECT_FALSE(UserType(&dlg, IDC_CUSTOM_X, "120"));
            EXPECT_TRUE(UserClick(&dlg, IDC_HOOP_CUSTOM));
            EXPECT_TRUE(Enabled(dlg, IDC_CUSTOM_X));
            EXPECT_TRUE(Enabled(dlg, IDC_CUSTOM_Y));
            UserClick(&dlg, 2330);
            EXPECT_FALSE(Enabled(dlg, IDC_CUSTOM_Y));
            UserClick(&dlg, IDC_HOOP_CUSTOM);

            struct Try {
                const char* x;
                const char* message; // nullptr: accepted
            };
            const Try tries[] = {{"5", "Please enter a positive integer between 10 and 1000."},
                                 {"1001", "Please enter a positive integer between 10 and 1000."},
                                 {"-20", "Please enter a positive integer."},
                                 {"10", nullptr}};
            for (const Try& t : tries) {
                SCOPED_TRACE(t.x);
                MessageCapture boxes;
                UserType(&dlg, IDC_CUSTOM_X, t.x);
                UserType(&dlg, IDC_CUSTOM_Y, "1000");
                UserClick(&dlg, IDOK);
                EXPECT_EQ(t.message == nullptr, static_cast<CHoopSize&>(dlg).IsEnded());
                if (t.message) {
                    EXPECT_EQ(IDC_CUSTOM_X, CWnd::GetFocus()->GetDlgCtrlID());
                    EXPECT_EQ(std::vector<std::string>{t.message}, boxes.Texts());
                    EXPECT_EQ(100, static_cast<CHoopSize&>(dlg).m_nCustomX) << "a refused size is not taken";
                }
            }
        });
        EXPECT_EQ(IDOK, dlg.DoModal());
        CSize size;
        dlg.GetHoopSize(size);
        EXPECT_EQ(CSize(10, 1000), size);
    }
    EXPECT_EQ("14", Profile("HoopSize"));
    EXPECT_EQ("10", Profile("CustomX"));
    EXPECT_EQ("1000", Profile("CustomY"));
}

TEST(Density, WeightAndPercentageGiveTheDensity)
{
    struct Case {
        int weight;
        const char* percent;
        int density;
    };
    const Case cases[] = {
        {2, "100", 1000}, {0, "110", 1716}, {4, "33", 135}, {1, "100", 1250}, {3, "50", 380},
        {2, "0", 777},    // 0 % keeps the value the host gave
        {0, "1", 15},     {4, "243902", 999998},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.weight << " " << c.percent);
        CDensityParams dlg;
        Driver d([&](CDialog& dlg) {
            static_cast<CDensityParams&>(dlg).m_nDensity = 777;
            UserClick(&dlg, IDC_WEIGHT_FIRST + c.weight);
            UserType(&dlg, IDC_PERCENT, c.percent);
            UserClick(&dlg, IDOK);
        });
        EXPECT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(c.weight, dlg.m_nWeight);
        EXPECT_EQ(c.density, dlg.m_nDensity);
    }
    int density = 5;
    EXPECT_TRUE(DensityFor(5, 100, density));
    EXPECT_EQ(850, density) << "the weight without a radio button";
    EXPECT_FALSE(DensityFor(6, 100, density));
    EXPECT_FALSE(DensityFor(-1, 100, density));
    EXPECT_EQ(850, density);
}

TEST(Density, PercentagesBeyondAnyDensityAreRefused)
{
    // 60 wt: 1560 x p / 100 must stay within 1 to 1 000 000; 2 000 000 000 % would overflow.
    const char* refused[] = {"64103", "2000000000", "-5"};
    for (const char* percent : refused) {
        SCOPED_TRACE(percent);
        MessageCapture boxes;
        CDensityParams dlg;
        bool stayedOpen = false;
        Driver d([&](CDialog& base) {
            auto& dlg = static_cast<CDensityParams&>(base);
            UserClick(&dlg, IDC_WEIGHT_FIRST);
            UserType(&dlg, IDC_PERCENT, percent);
            UserClick(&dlg, IDOK);
            stayedOpen = !dlg.IsEnded();
            EXPECT_EQ(IDC_PERCENT, CWnd::GetFocus()->GetDlgCtrlID());
            EXPECT_EQ(1000, dlg.m_nDensity) << "the value stays as it was";
            UserClick(&dlg, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_TRUE(stayedOpen);
        ASSERT_EQ(1u, boxes.Texts().size());
        EXPECT_EQ("Please enter an integer between 1 and 64102.", boxes.Texts()[0]);
    }
    int lo, hi;
    ASSERT_TRUE(PercentRangeFor(4, lo, hi));
    int density = 0;
    EXPECT_TRUE(DensityFor(4, hi, density));
    EXPECT_FALSE(DensityFor(4, hi + 1, density));
    EXPECT_TRUE(DensityFor(4, lo, density));
    EXPECT_EQ(4, density);
}

TEST(Density, AdvancedIsOfferedAndNeedsTheCompanion)
{
    CKwFilter* setup = GetSetup();
    std::string saved = setup->m_strCompanionPath;
    struct Case {
        int offer;
        const char* companion;
        bool shown, enabled;
    };
    const Case cases[] = {{0, "/opt/KwSto.dll", false, false}, {1, "", true, false}, {1, "/opt/KwSto.dll", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offer << " '" << c.companion << "'");
        setup->m_strCompanionPath = c.companion;
        CDensityParams dlg;
        dlg.m_bOfferAdvanced = c.offer;
        std::vector<UINT> shown;
        Driver d([&](CDialog& dlg) {
            shown.push_back(dlg.GetTemplateID());
            if (dlg.GetTemplateID() == IDD_ADVANCED) {
                UserType(&dlg, IDC_FILL_DENSITY, "150");
                UserClick(&dlg, IDOK);
                return;
            }
            EXPECT_EQ(IDC_PERCENT, CWnd::GetFocus()->GetDlgCtrlID()) << "focus on the percentage";
            EXPECT_EQ(c.shown, Shown(dlg, IDC_ADVANCED));
            EXPECT_EQ(c.enabled, Enabled(dlg, IDC_ADVANCED));
            EXPECT_EQ(c.enabled, UserClick(&dlg, IDC_ADVANCED));
            UserClick(&dlg, IDOK);
        });
        EXPECT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(c.enabled ? 2u : 1u, shown.size());
        EXPECT_EQ(c.enabled ? 150 : 100, dlg.m_Advanced.m_nFillDensity);
    }
    setup->m_strCompanionPath = saved;
}

TEST(Density, AdvancedRangesAndFieldOrder)
{
    struct Case {
        int id;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {IDC_MAX_LENGTH, "12", false}, {IDC_MAX_LENGTH, "0.3", true},   {IDC_MAX_LENGTH, "0.29", false},
        {IDC_MAX_LENGTH, "10", true},  {IDC_COLUMN_DENSITY, "9", false}, {IDC_COLUMN_DENSITY, "200", true},
        {IDC_FILL_DENSITY, "201", false}, {IDC_FILL_LENGTH, "10", true}, {IDC_RUN_LENGTH, "abc", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.text);
        MessageCapture boxes;
        CAdvanced dlg;
        Driver d([&](CDialog& dlg) {
            UserType(&dlg, c.id, c.text);
            UserClick(&dlg, IDOK);
            if (!static_cast<CAdvanced&>(dlg).IsEnded()) UserClick(&dlg, IDCANCEL);
        });
        EXPECT_EQ(c.accepted ? IDOK : IDCANCEL, dlg.DoModal());
        EXPECT_EQ(c.accepted ? 0u : 1u, boxes.Texts().size());
    }
    CAdvanced dlg;
    EXPECT_DOUBLE_EQ(10.0, dlg.m_dMaxLength);
    EXPECT_LT((const char*)&dlg.m_nFillDensity, (const char*)&dlg.m_nColumnDensity);
    EXPECT_LT((const char*)&dlg.m_nColumnDensity, (const char*)&dlg.m_nFillLength);
    EXPECT_LT((const char*)&dlg.m_nRunLength, (const char*)&dlg.m_dMaxLength);
}

TEST(Rotate, AnyAngleWithTheFocusOnIt)
{
    CRotate dlg;
    EXPECT_EQ(0, dlg.m_nDegrees);
    Driver d([](CDialog& dlg) {
        EXPECT_EQ("Rotate Design", dlg.GetWindowText());
        ASSERT_NE(nullptr, CWnd::GetFocus());
        EXPECT_EQ(IDC_DEGREES, CWnd::GetFocus()->GetDlgCtrlID());
        EXPECT_EQ("0", dlg.GetDlgItemText(IDC_DEGREES));
        UserType(&dlg, IDC_DEGREES, "-725");
        UserClick(&dlg, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(-725, dlg.m_nDegrees) << "no range check";
}
