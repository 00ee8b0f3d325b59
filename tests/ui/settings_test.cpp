#include "test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testutil;

namespace {

uint32_t Rgb(const PALETTEENTRY& e) { return (uint32_t)e.peRed << 16 | (uint32_t)e.peGreen << 8 | e.peBlue; }

// Sets an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : m_name(name)
    {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (old) m_old = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~EnvVar()
    {
        if (m_had) setenv(m_name.c_str(), m_old.c_str(), 1);
        else unsetenv(m_name.c_str());
    }

private:
    std::string m_name, m_old;
    bool m_had;
};

struct SystemDirectory {
    explicit SystemDirectory(const std::string& dir) { SetSystemDirectory(dir.c_str()); }
    ~SystemDirectory() { SetSystemDirectory(nullptr); }
};

} // namespace

TEST(Settings, ConstructorValues)
{
    CKwFilter s;
    EXPECT_EQ((std::vector<int>{1, 1, 0, 35, -1, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0}),
              (std::vector<int>{s.m_bShowMessages, s.m_bMessageThread, s.m_nLastError, s.m_nSewColors,
                                s.m_nSaveFormat, s.m_bMaximizeChild, s.m_bPfaffSplit, s.m_bVikingSplit,
                                s.m_bNoScalivo, s.m_bPfaffCompatible, s.m_bPaletteBackground, s.m_nCompanionKind,
                                s.m_bJunkStitch, s.m_bCorastitch, s.m_bStitchPoints}));
    EXPECT_EQ(0, s.m_dThreshold);
    EXPECT_EQ(GetTempDirectory() + "/error.log", s.m_strErrorLog);
    EXPECT_FALSE(s.m_Palette.IsCreated());
    EXPECT_TRUE(s.IsKindOf(RUNTIME_CLASS(CKwFilter)));
    EXPECT_TRUE(s.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ("CKwFilter", s.GetRuntimeClass()->m_lpszClassName);
}

TEST(Settings, GetSetupIsSetUpOnFirstUse)
{
    CKwFilter* s = GetSetup();
    EXPECT_EQ(s, GetSetup());
    EXPECT_TRUE(s->m_Palette.IsCreated());
    EXPECT_FALSE(s->m_strTempDir.empty());
}

TEST(Settings, DrawingPaletteEntries)
{
    for (const PALETTEENTRY& e : myEntries) EXPECT_EQ(0, e.peFlags);
    EXPECT_EQ(0x000000u, Rgb(myEntries[0]));
    EXPECT_EQ(0xA6CAF0u, Rgb(myEntries[9]));
    EXPECT_EQ(0x000084u, Rgb(myEntries[10]));
    EXPECT_EQ(0xFFFFF2u, Rgb(myEntries[174]));
    EXPECT_EQ(0xFFFBF0u, Rgb(myEntries[175]));
    EXPECT_EQ(0xFFFFFFu, Rgb(myEntries[184]));
    for (int i = 11; i < 175; ++i) EXPECT_LT(Rgb(myEntries[i - 1]), Rgb(myEntries[i])) << i;
    CKwFilter s;
    s.Setup();
    EXPECT_EQ(0x300, s.m_LogPalette.palVersion);
    EXPECT_EQ(185, s.m_LogPalette.palNumEntries);
    ASSERT_EQ(185, s.m_Palette.GetEntryCount());
    for (UINT i = 0; i < 185; ++i)
        EXPECT_EQ(RGB(myEntries[i].peRed, myEntries[i].peGreen, myEntries[i].peBlue), s.m_Palette.GetEntryColor(i));
    s.Setup();
    EXPECT_EQ(185, s.m_Palette.GetEntryCount()) << "a second set-up makes the palette afresh";
}

TEST(Settings, SetupFindsTemporaryDirectoryAndCompanion)
{
    TempDir dir;
    {
        EnvVar tmp("TMPDIR", "/var/tmp/kw/");
        CKwFilter s;
        s.Setup();
        EXPECT_EQ("/var/tmp/kw", s.m_strTempDir);
    }
    {
        EnvVar tmp("TMPDIR", nullptr);
        CKwFilter s;
        s.Setup();
        EXPECT_EQ("/tmp", s.m_strTempDir);
    }
    struct Case {
        std::vector<std::string> files;
        std::string dir;
        std::string path;
        int kind;
    };
    const Case cases[] = {
        {{"KwSto.dll", "OEMXR.EXE"}, dir.Path(), dir.File("KwSto.dll"), 2},
        {{"KwSto.dll"}, dir.Path() + "/", dir.File("KwSto.dll"), 2},
        {{"OEMXR.EXE"}, dir.Path(), dir.File("OEMXR.EXE"), 1},
        {{"OEMXR.EXE"}, dir.Path() + "/", dir.File("OEMXR.EXE"), 1},
        {{}, dir.Path(), "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::remove(dir.File("KwSto.dll").c_str());
        std::remove(dir.File("OEMXR.EXE").c_str());
        for (const auto& f : c.files) WriteBytes(dir.File(f), {1});
        SystemDirectory sys(c.dir);
        CKwFilter s;
        s.Setup();
        EXPECT_EQ(c.path, s.m_strCompanionPath);
        EXPECT_EQ(c.path, s.m_strSavedCompanionPath);
        EXPECT_EQ(c.kind, s.m_nCompanionKind);
    }
    EXPECT_EQ("/usr/lib/kwfilter", GetSystemDirectory());
}

TEST(Settings, GetRegValuesReadsOptions)
{
    TempDir dir;
    CWinApp app("kwtest");
    app.SetProfileFile(dir.File("profile.ini").c_str());
    CKwFilter s;
    s.m_strSavedCompanionPath = "/opt/KwSto.dll";
    s.GetRegValues(&app);
    EXPECT_EQ((std::vector<int>{-1, 0, 0, 1, 0, 1, 1, 1, 35, 0}),
              (std::vector<int>{s.m_nSaveFormat, s.m_bMaximizeChild, s.m_bStitchPoints, s.m_bCorastitch,
                                s.m_bJunkStitch, s.m_bPfaffSplit, s.m_bVikingSplit, s.m_bPfaffCompatible,
                                s.m_nSewColors, s.m_bNoScalivo}));
    EXPECT_DOUBLE_EQ(50, s.m_dThreshold);
    EXPECT_EQ("/opt/KwSto.dll", s.m_strCompanionPath);

    WriteBytes(dir.File("profile.ini"),
               {'[', 'O', 'p', 't', 'i', 'o', 'n', 's', ']', '\n'});
    const std::pair<const char*, int> values[] = {
        {"SaveFormat", 8}, {"MaximizeChild", 1}, {"StitchPoints", 1}, {"Corastitch", 0}, {"JunkStitch", 1},
        {"PfaffSplit", 0}, {"VikingSplit", 0},   {"PfaffCompatible", 0}, {"SewColors", 78}, {"NoScalivo", 1}};
    for (auto [key, v] : values) app.WriteProfileInt("Options", key, v);
    s.GetRegValues(&app);
    EXPECT_EQ((std::vector<int>{8, 1, 1, 0, 1, 0, 0, 0, 78, 1}),
              (std::vector<int>{s.m_nSaveFormat, s.m_bMaximizeChild, s.m_bStitchPoints, s.m_bCorastitch,
                                s.m_bJunkStitch, s.m_bPfaffSplit, s.m_bVikingSplit, s.m_bPfaffCompatible,
                                s.m_nSewColors, s.m_bNoScalivo}));
    EXPECT_EQ("", s.m_strCompanionPath) << "NoScalivo empties it";
    EXPECT_EQ("/opt/KwSto.dll", s.m_strSavedCompanionPath);
    s.GetRegValues(nullptr);
    EXPECT_EQ(8, s.m_nSaveFormat) << "no application, nothing read";
}

TEST(Settings, ThresholdText)
{
    const std::pair<const char*, double> cases[] = {
        {"1.25", 125},  {"0.5", 50}, {"abc", 0},  {"", 0},       {" 2", 200},    {"+3", 300},  {"-1", -100},
        {"1,5", 100},   {"2mm", 200}, {".5", 50}, {"1e1", 1000}, {"inf", 0},     {"nan", 0},   {"1e999", 0},
        {"000000000000000000000000000000012", 0},
        {"0000000000000000000000000000012", 1200},
    };
    for (auto [text, limit] : cases) EXPECT_DOUBLE_EQ(limit, ThresholdFromText(text)) << text;
    EXPECT_DOUBLE_EQ(0, ThresholdFromText(nullptr));

    TempDir dir;
    CWinApp app("kwtest");
    app.SetProfileFile(dir.File("profile.ini").c_str());
    app.WriteProfileString("Options", "Threshold", "1.25");
    CKwFilter s;
    s.GetRegValues(&app);
    EXPECT_DOUBLE_EQ(125, s.m_dThreshold);
}
