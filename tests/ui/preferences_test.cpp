#include "test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testutil;

namespace {


// The settings' preference fields, kept and put back around each test.
struct SettingsSnapshot {
    explicit SettingsSnapshot(const CKwFilter& s)
        : ints{s.m_nSewColors, s.m_nSaveFormat, s.m_bMaximizeChild, s.m_bPfaffSplit, s.m_bVikingSplit, s.m_bNoScalivo,
               s.m_bPfaffCompatible, s.m_bJunkStitch, s.m_bCorastitch, s.m_bStitchPoints},
          threshold(s.m_dThreshold), companion(s.m_strCompanionPath), saved(s.m_strSavedCompanionPath)
    {
    }
    void Restore(CKwFilter& s) const
    {
        s.m_nSewColors = ints[0];
        s.m_nSaveFormat = ints[1];
        s.m_bMaximizeChild = ints[2];
        s.m_bPfaffSplit = ints[3];
        s.m_bVikingSplit = ints[4];
        s.m_bNoScalivo = ints[5];
        s.m_bPfaffCompatible = ints[6];
        s.m_bJunkStitch = ints[7];
        s.m_bCorastitch = ints[8];
        s.m_bStitchPoints = ints[9];
        s.m_dThreshold = threshold;
        s.m_strCompanionPath = companion;
        s.m_strSavedCompanionPath = saved;
    }
    bool operator==(const SettingsSnapshot&) const = default;
    std::vector<int> ints;
    double threshold;
    std::string companion, saved;
};

class Preferences : public testing::Test {
protected:
    Preferences() : m_saved(*GetSetup())
    {
        m_app.SetProfileFile(m_dir.File("profile.ini").c_str());
        GetSetup()->m_strSavedCompanionPath = "/opt/companion/KwSto.dll";
    }
    ~Preferences() override { m_saved.Restore(*GetSetup()); }

    std::string Profile(const char* key) { return m_app.GetProfileString("Options", key, "absent"); }
    void Put(const char* key, const char* value) { ASSERT_TRUE(m_app.WriteProfileString("Options", key, value)); }

    TempDir m_dir;
    CWinApp m_app{"kwtest"};
    SettingsSnapshot m_saved;
};

bool Shown(CDialog& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowVisible(); }
bool Enabled(CDialog& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowEnabled(); }

} // namespace

TEST_F(Preferences, ConstructionReadsTheProfile)
{
    {
        CPreferences dlg;
        EXPECT_EQ((std::vector<int>{-1, 0, 1, 1, 1, 1, 1, 0, 35, 0, 0, 0, 0}),
                  (std::vector<int>{dlg.m_nSaveFormat, dlg.m_bMaximizeChild, dlg.m_bCorastitch, dlg.m_bJunkStitch,
                                    dlg.m_bPfaffSplit, dlg.m_bVikingSplit, dlg.m_bPfaffCompatible, dlg.m_bNoScalivo,
                                    dlg.m_nSewColors, dlg.m_bSewColors12, dlg.m_bSewColors78, dlg.m_bOfferSaveFormat,
                                    dlg.m_bOfferSystemOptions}));
    }
    for (auto [text, twelve, seventyEight] : {std::tuple{"12", 1, 0}, {"78", 0, 1}, {"35", 0, 0}, {"40", 0, 0}}) {
        Put("SewColors", text);
        CPreferences dlg;
        EXPECT_EQ(twelve, dlg.m_bSewColors12) << text;
        EXPECT_EQ(seventyEight, dlg.m_bSewColors78) << text;
    }
}

TEST_F(Preferences, EverythingOfferedEditsAndSaves)
{
    Put("Threshold", "1.25");
    Put("NoScalivo", "1");
    CPreferences dlg;
    dlg.m_bOfferSaveFormat = 1;
    dlg.m_bOfferSystemOptions = 1;
    Driver d([this](CDialog& shown) {
        EXPECT_EQ("System Preferences", shown.GetWindowText());
        for (int id : {IDC_SAVE_FORMAT_GROUP, IDC_SAVE_FORMAT, IDC_SYSTEM_GROUP, IDC_MAXIMIZE_CHILD, IDC_CORASTITCH,
                       IDC_JUNK_STITCH, IDC_THRESHOLD_LABEL, IDC_THRESHOLD, IDC_NO_SCALIVO, IDC_VIKING_SPLIT})
            EXPECT_TRUE(Shown(shown, id)) << id;
        EXPECT_FALSE(Shown(shown, IDC_NO_MERGE));
        EXPECT_FALSE(Enabled(shown, IDC_NO_MERGE));
        EXPECT_EQ("1.25", shown.GetDlgItemText(IDC_THRESHOLD));
        EXPECT_DOUBLE_EQ(125, GetSetup()->m_dThreshold) << "read when the dialog opens";
        EXPECT_TRUE(Enabled(shown, IDC_THRESHOLD)) << "JunkStitch is on by default here";
        EXPECT_EQ(1u, shown.IsDlgButtonChecked(IDC_NO_SCALIVO));
        EXPECT_EQ(9, static_cast<CComboBox*>(shown.GetDlgItem(IDC_SAVE_FORMAT))->GetCount());

        EXPECT_TRUE(UserClick(&shown, IDC_JUNK_STITCH));
        EXPECT_FALSE(Enabled(shown, IDC_THRESHOLD)) << "disabled at once";
        EXPECT_EQ("1.25", shown.GetDlgItemText(IDC_THRESHOLD)) << "the text stays";
        EXPECT_FALSE(UserType(&shown, IDC_THRESHOLD, "9"));
        EXPECT_TRUE(UserClick(&shown, IDC_JUNK_STITCH));
        EXPECT_TRUE(Enabled(shown, IDC_THRESHOLD));
        EXPECT_TRUE(UserType(&shown, IDC_THRESHOLD, "0.8"));
        EXPECT_TRUE(UserSelect(&shown, IDC_SAVE_FORMAT, 3));
        for (int id : {IDC_PFAFF_SPLIT, IDC_MAXIMIZE_CHILD, IDC_CORASTITCH, IDC_NO_SCALIVO, IDC_SEW_COLORS_12})
            EXPECT_TRUE(UserClick(&shown, id)) << id;
        EXPECT_EQ("absent", Profile("SaveFormat")) << "nothing is written before OK";
        EXPECT_TRUE(UserClick(&shown, IDOK));
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    const std::pair<const char*, const char*> written[] = {
        {"SaveFormat", "3"}, {"MaximizeChild", "1"}, {"Corastitch", "0"},      {"JunkStitch", "1"},
        {"Threshold", "0.8"}, {"PfaffSplit", "0"},   {"VikingSplit", "1"},     {"PfaffCompatible", "1"},
        {"SewColors", "12"}, {"NoScalivo", "0"},     {"StitchPoints", "absent"},
    };
    for (auto [key, value] : written) EXPECT_EQ(value, Profile(key)) << key;
    CKwFilter* s = GetSetup();
    EXPECT_EQ((std::vector<int>{3, 1, 0, 1, 0, 1, 1, 12, 0}),
              (std::vector<int>{s->m_nSaveFormat, s->m_bMaximizeChild, s->m_bCorastitch, s->m_bJunkStitch,
                                s->m_bPfaffSplit, s->m_bVikingSplit, s->m_bPfaffCompatible, s->m_nSewColors,
                                s->m_bNoScalivo}));
    EXPECT_DOUBLE_EQ(80, s->m_dThreshold);
    EXPECT_EQ("/opt/companion/KwSto.dll", s->m_strCompanionPath) << "restored with NoScalivo off";
}

TEST_F(Preferences, WithoutSystemOptionsTheyAreLeftAlone)
{
    const std::pair<const char*, const char*> before[] = {
        {"MaximizeChild", "1"}, {"Corastitch", "0"}, {"JunkStitch", "0"}, {"Threshold", "2"}, {"NoScalivo", "1"}};
    for (auto [key, value] : before) Put(key, value);
    CKwFilter* s = GetSetup();
    s->m_bMaximizeChild = 5;
    s->m_bCorastitch = 6;
    s->m_bJunkStitch = 7;
    s->m_dThreshold = 8;
    s->m_bNoScalivo = 1;
    s->m_strCompanionPath = "/opt/companion/KwSto.dll";
    CPreferences dlg;
    Driver d([](CDialog& shown) {
        for (int id : {IDC_SAVE_FORMAT_GROUP, IDC_SAVE_FORMAT, IDC_SYSTEM_GROUP, IDC_MAXIMIZE_CHILD, IDC_CORASTITCH,
                       IDC_JUNK_STITCH, IDC_THRESHOLD_LABEL, IDC_THRESHOLD, IDC_NO_SCALIVO, IDC_NO_MERGE})
            EXPECT_FALSE(Shown(shown, id)) << id;
        EXPECT_FALSE(UserClick(&shown, IDC_JUNK_STITCH));
        EXPECT_TRUE(UserClick(&shown, IDC_VIKING_SPLIT));
        EXPECT_TRUE(UserClick(&shown, IDOK));
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    for (auto [key, value] : before) EXPECT_EQ(value, Profile(key)) << key;
    EXPECT_EQ("absent", Profile("SaveFormat"));
    EXPECT_EQ("0", Profile("VikingSplit"));
    EXPECT_EQ("35", Profile("SewColors"));
    EXPECT_EQ((std::vector<int>{5, 6, 7, m_saved.ints[1], 0}),
              (std::vector<int>{s->m_bMaximizeChild, s->m_bCorastitch, s->m_bJunkStitch, s->m_nSaveFormat,
                                s->m_bVikingSplit}));
    EXPECT_DOUBLE_EQ(8, s->m_dThreshold);
    EXPECT_EQ("", s->m_strCompanionPath) << "NoScalivo still set in the settings";
}

TEST_F(Preferences, JanomeChoicesGiveTheSewColors)
{
    struct Case {
        bool twelve, seventyEight;
        const char* saved;
    };
    for (Case c : {Case{false, false, "35"}, Case{true, false, "12"}, Case{false, true, "78"}, Case{true, true, "78"}}) {
        m_app.WriteProfileString("Options", "SewColors", nullptr);
        CPreferences dlg;
        Driver d([&](CDialog& shown) {
            if (c.twelve) UserClick(&shown, IDC_SEW_COLORS_12);
            if (c.seventyEight) UserClick(&shown, IDC_SEW_COLORS_78);
            UserClick(&shown, IDOK);
        });
        EXPECT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(c.saved, Profile("SewColors")) << c.twelve << c.seventyEight;
        EXPECT_EQ(std::atoi(c.saved), GetSetup()->m_nSewColors);
    }
}

TEST_F(Preferences, CancelWritesNothing)
{
    SettingsSnapshot before(*GetSetup());
    CPreferences dlg;
    dlg.m_bOfferSaveFormat = 1;
    Driver d([](CDialog& shown) {
        UserClick(&shown, IDC_PFAFF_SPLIT);
        UserSelect(&shown, IDC_SAVE_FORMAT, 1);
        UserClick(&shown, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(m_dir.List().empty()) << "no profile written";
    EXPECT_TRUE(before == SettingsSnapshot(*GetSetup()));
}

TEST_F(Preferences, NoCompanionHidesItsCheckBox)
{
    GetSetup()->m_strSavedCompanionPath.clear();
    Put("Threshold", "not a number");
    CPreferences dlg;
    dlg.m_bOfferSystemOptions = 1;
    Driver d([](CDialog& shown) {
        EXPECT_FALSE(Shown(shown, IDC_NO_SCALIVO));
        EXPECT_FALSE(UserClick(&shown, IDC_NO_SCALIVO));
        EXPECT_EQ("not a number", shown.GetDlgItemText(IDC_THRESHOLD));
        UserClick(&shown, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_DOUBLE_EQ(0, GetSetup()->m_dThreshold);
    EXPECT_EQ("not a number", Profile("Threshold"));
    EXPECT_EQ("0", Profile("NoScalivo")) << "the dialog's value, unchanged";
}

TEST_F(Preferences, SmallLayoutTemplate)
{
    const DialogTemplate* t = AfxFindDialogTemplate(IDD_PREFERENCES_SMALL);
    ASSERT_NE(nullptr, t);
    const DialogItemTemplate* list = t->FindItem(IDC_SAVE_FORMAT);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ((std::vector<std::string>{"Melco Dos Expanded", "Tajima"}),
              std::vector<std::string>(list->items.begin(), list->items.end()));
    EXPECT_NE(nullptr, t->FindItem(IDC_SYSTEM_GROUP));
    EXPECT_EQ(nullptr, t->FindItem(IDC_PFAFF_SPLIT));
    const DialogTemplate* full = AfxFindDialogTemplate(IDD_PREFERENCES);
    ASSERT_NE(nullptr, full);
    EXPECT_STREQ("Cleanup \"Junk\" Stitches", full->FindItem(IDC_JUNK_STITCH)->pszText);
    EXPECT_STREQ("DreamVision/Customizer 2000 ", full->FindItem(IDC_SEW_COLORS_78)->pszText);
    EXPECT_EQ(9u, full->FindItem(IDC_SAVE_FORMAT)->items.size());
}
