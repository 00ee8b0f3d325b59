#include "test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace testutil;

namespace {

std::string Parsed(const std::string& text, const char* section, const char* key)
{
    CIniProfile p;
    p.Parse(text.data(), text.size());
    const std::string* v = p.Find(section, key);
    return v ? "=" + *v : "absent";
}

} // namespace

TEST(IniProfile, ReadsWhatTheSystemWould)
{
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"[Options]\nSewColors=12\n", "Options", "SewColors", "=12"},
        {"[options]\r\n  sewcolors = 78  \r\n", "OPTIONS", "SewColors", "=78"},
        {"[Options]\nA=1\n[Other]\nB=2\n", "Options", "B", "absent"},
        {"A=1\n[Options]\n", "Options", "A", "absent"},
        {"[Options]\n;A=1\n", "Options", "A", "absent"},
        {"[Options]\nA=1\nA=2\n", "Options", "A", "=1"},
        {"[Options]\nA=1\n[Options]\nA=2\nB=3\n", "Options", "B", "absent"},
        {"[Options]\nA=x=y\n", "Options", "A", "=x=y"},
        {"[Options]\nA=\n", "Options", "A", "="},
        {"[Options\nA=1\n", "Options", "A", "absent"},
        {"[Options]\nno equals sign\nA=1", "Options", "A", "=1"},
        {"[ Options ] trailing\nA=1\n", "Options", "A", "=1"},
        {"[]\nA=1\n", "", "A", "absent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, Parsed(c.text, c.section, c.key));
    }
    std::string withNul("[Options]\nA=1\0C=3\nB=2\n", 22);
    EXPECT_EQ("=1", Parsed(withNul, "Options", "A")) << "a NUL byte ends the line";
    EXPECT_EQ("=3", Parsed(withNul, "Options", "C"));
    EXPECT_EQ("=2", Parsed(withNul, "Options", "B"));
}

TEST(IniProfile, WhatIsWrittenReadsBackTheSame)
{
    CIniProfile p;
    EXPECT_TRUE(p.Set("Options", "Threshold", "  1.25 "));
    EXPECT_TRUE(p.Set("Options", "SewColors", "35"));
    EXPECT_TRUE(p.Set("Other", "Key", "a=b;c"));
    EXPECT_TRUE(p.Set("options", "SEWCOLORS", "12")) << "one key, whatever its case";
    for (auto bad : {std::pair<const char*, const char*>{"Options", "a\nb"}, {"Options", "a=b"}, {"Options", "[x"},
                     {"Options", ";x"}, {"Options", ""}, {"Options", " lead"}})
        EXPECT_FALSE(p.Set(bad.first, bad.second, "1")) << bad.second;
    EXPECT_FALSE(p.Set("Opt]ions", "A", "1"));
    EXPECT_FALSE(p.Set("Options", "A", "line\nbreak"));
    std::string text = p.Serialize();
    CIniProfile q;
    q.Parse(text.data(), text.size());
    EXPECT_EQ(text, q.Serialize());
    EXPECT_EQ("1.25", *q.Find("Options", "Threshold"));
    EXPECT_EQ("12", *q.Find("Options", "SewColors"));
    EXPECT_EQ("a=b;c", *q.Find("Other", "Key"));
    q.RemoveKey("Options", "Threshold");
    q.RemoveSection("other");
    EXPECT_EQ("[Options]\nSewColors=12\n", q.Serialize());
}

TEST(WinApp, ProfileLivesInItsFile)
{
    TempDir dir;
    std::string file = dir.File("sub/dir/profile.ini");
    {
        CWinApp app("kwtest");
        app.SetProfileFile(file.c_str());
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(-1, (int)app.GetProfileInt("Options", "SaveFormat", -1)) << "no file yet: the default";
        EXPECT_EQ("0.5", app.GetProfileString("Options", "Threshold", "0.5"));
        EXPECT_TRUE(app.WriteProfileInt("Options", "SaveFormat", -1));
        EXPECT_TRUE(app.WriteProfileString("Options", "Threshold", "1.25"));
        EXPECT_TRUE(app.WriteProfileString("Options", "Gone", "x"));
        EXPECT_TRUE(app.WriteProfileString("Options", "Gone", nullptr));
        EXPECT_TRUE(app.WriteProfileString("Scratch", "A", "1"));
        EXPECT_TRUE(app.WriteProfileString("Scratch", nullptr, nullptr));
        EXPECT_FALSE(app.WriteProfileString("Options", "Bad", "two\nlines"));
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    auto bytes = ReadBytes(file);
    EXPECT_EQ("[Options]\nSaveFormat=-1\nThreshold=1.25\n", std::string(bytes.begin(), bytes.end()));
    std::set<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.File("sub/dir"))) left.insert(e.path().filename());
    EXPECT_EQ(std::set<std::string>{"profile.ini"}, left) << "no temporary file left behind";
}

TEST(WinApp, IntegersAreTheLeadingNumber)
{
    TempDir dir;
    CWinApp app("kwtest");
    app.SetProfileFile(dir.File("p.ini").c_str());
    WriteBytes(dir.File("p.ini"), {});
    const std::pair<const char*, int> cases[] = {{"12", 12}, {"-3", -3}, {"78 colours", 78}, {"abc", 0}, {"", 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(app.WriteProfileString("Options", "N", c.first));
        EXPECT_EQ(c.second, (int)app.GetProfileInt("Options", "N", 35)) << c.first;
    }
}

TEST(WinApp, DefaultFileFollowsTheConfigFolder)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg/", 1);
    EXPECT_EQ("/tmp/cfg/kwfilter/profile.ini", CWinApp::DefaultProfileFile("kwfilter"));
    unsetenv("XDG_CONFIG_HOME");
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : ".";
    EXPECT_EQ(home + "/.config/app/profile.ini", CWinApp::DefaultProfileFile("app"));
    if (saved) setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
}
