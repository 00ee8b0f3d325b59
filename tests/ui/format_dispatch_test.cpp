#include "test_util.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testutil;

namespace {

const char* const kOpenFilter =
    "All Designs|*.kwc;*.exp;*.dst;*.pes;*.pec;*.pcs;*.pcm;*.hus;*.sew;*.csd;*.xxx|Condensed (*.kwc)|*.kwc|"
    "Melco (*.exp)|*.exp|Tajima (*.dst)|*.dst|Brother (*.pes;*.pec)|*.pes;*.pec|Pfaff (*.pcs)|*.pcs|"
    "Pfaff Mac (*.pcm)|*.pcm|Viking (*.hus)|*.hus|Janome (*.sew)|*.sew|Poem (*.csd)|*.csd|Singer (*.xxx)|*.xxx|"
    "All Files (*.*)|*.*||";
const char* const kSaveFilter = "Melco (*.exp)|*.exp|Tajima (*.dst)|*.dst|Brother (*.pes)|*.pes|Pfaff (*.pcs)|*.pcs|"
                                "Pfaff Mac (*.pcm)|*.pcm|Viking (*.hus)|*.hus|Janome (*.sew)|*.sew|Poem (*.csd)|*.csd|"
                                "Singer (*.xxx)|*.xxx|All Files (*.*)|*.*||";

} // namespace

TEST(FormatDispatch, DesignSourceOfAName)
{
    const std::pair<const char*, int> cases[] = {
        {"rose.exp", 1}, {"rose.dst", 2}, {"ROSE.DST", 2}, {"rose.Dst", 2}, {"rose.10o", 3}, {"rose.10O", 3},
        {"rose.pcs", 4}, {"rose.pcm", 5}, {"rose.hus", 6}, {"rose.xxx", 7}, {"rose.pec", 8}, {"rose.pes", 9},
        {"rose.csd", 10}, {"rose.pmd", 11}, {"rose.sew", 12}, {"rose.cnd", 13}, {"rose.kwc", 14}, {"rose.dem", 14},
        {".dst", 2}, {"dst", 0}, {"", 0}, {"rose.dstx", 0}, {"rose.ds", 0}, {"rose.art", 0}, {"rose", 0},
        {"/designs.dst/rose", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, GetEmbSourceOfName(c.first)) << c.first;
    EXPECT_EQ(0, GetEmbSourceOfName(nullptr));
}

TEST(FormatDispatch, OpenAndSaveTypeNumbers)
{
    struct Case {
        const char* ext;
        int open, save;
    };
    const Case cases[] = {
        {".kwc", 2, 0}, {".exp", 3, 1}, {".dst", 4, 2}, {".DST", 4, 2}, {".pes", 5, 3}, {".PEC", 5, 0},
        {".pec", 5, 0}, {".pcs", 6, 4}, {".pcm", 7, 5}, {".hus", 8, 6}, {".sew", 9, 7}, {".csd", 10, 8},
        {".xxx", 11, 9}, {".cnd", 0, 0}, {".dem", 0, 0}, {".10o", 0, 0}, {".pmd", 0, 0}, {".*", 0, 0},
        {".dstx", 0, 0}, {".ds", 0, 0}, {"dst", 0, 0}, {".", 0, 0}, {"", 0, 0}, {".kwc.exp.dst.pes", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.open, MatchOpenExtensions(c.ext)) << c.ext;
        EXPECT_EQ(c.save, MatchSaveExtensions(c.ext)) << c.ext;
    }
    EXPECT_EQ(0, MatchOpenExtensions(nullptr));
    EXPECT_EQ(0, MatchSaveExtensions(nullptr));
}

TEST(FormatDispatch, EveryDialogExtensionIsADesignSource)
{
    for (const ExtensionNumber* table : {GetOpenExtensionTable(), GetSaveExtensionTable()}) {
        const ExtensionNumber* e = table;
        for (; e->nNumber; ++e) EXPECT_NE(0, GetEmbSourceOfName(e->pszExt)) << e->pszExt;
        EXPECT_STREQ(".*", e->pszExt) << "the table ends with the all-files pair";
    }
}

TEST(MyFile, ChangeExtensionFollowsTheType)
{
    struct Case {
        bool open;
        const char* name;
        int type;
        const char* expected;
    };
    const Case cases[] = {
        {false, "rose.exp", 1, "rose.dst"},
        {false, "rose.exp", 0, "rose.exp"},
        {false, "rose.DST", 8, "rose.xxx"},
        {false, "rose.exp", 9, "rose.*"},
        {false, "a.b.exp", 2, "a.b.pes"},
        {false, "rose.x", 6, "rose.sew"},
        {false, "rose.exp", 10, "rose.exp"},
        {false, "rose.exp", -1, "rose.exp"},
        {true, "rose.pec", 4, "rose.pec"},
        {true, "rose.PEC", 4, "rose.PEC"},
        {true, "rose.dst", 4, "rose.pes"},
        {true, "rose.pec", 3, "rose.dst"},
        {true, "rose.dst", 0, "rose.dst"},
        {true, "rose.dst", 1, "rose.kwc"},
        {true, "rose.dst", 10, "rose.xxx"},
        {true, "rose.dst", 11, "rose.*"},
        {true, "rose.dst", 12, "rose.dst"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.open ? "open " : "save ") << c.name << " type " << c.type);
        CMyFile dlg(c.open);
        char buf[32] = {};
        std::strcpy(buf, c.name);
        EXPECT_EQ(c.type, dlg.ChangeExtension(c.type, std::strrchr(buf, '.')));
        EXPECT_STREQ(c.expected, buf);
    }
}

// Picks a file type in a shown dialog and reports the name box.
std::string AfterTypeChange(bool open, const char* name, int filterIndex, std::string* buffer = nullptr)
{
    CMyFile dlg(open, nullptr, name, OFN_HIDEREADONLY, open ? kOpenFilter : kSaveFilter);
    std::string box;
    Driver d([&](CDialog& shown) {
        std::string path = name;
        EXPECT_EQ(path.substr(path.rfind('/') + 1), shown.GetDlgItemText(IDC_FILE_NAME_BOX))
            << "the box starts with the name";
        EXPECT_TRUE(UserSelect(&shown, cmb1, filterIndex - 1));
        box = shown.GetDlgItemText(IDC_FILE_NAME_BOX);
        shown.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ((DWORD)filterIndex, dlg.m_ofn.nFilterIndex);
    if (buffer) *buffer = dlg.m_ofn.lpstrFile;
    return box;
}

TEST(MyFile, TypeChangeRewritesTheNameBox)
{
    struct Case {
        bool open;
        const char* name;
        int filterIndex;
        const char* box;
    };
    const Case cases[] = {
        {false, "rose.exp", 2, "rose.dst"},
        {false, "rose", 2, "rose.dst"},
        {false, "", 2, "*.dst"},
        {false, "/home/me/designs/rose.pes", 4, "rose.pcs"},
        {false, "rose.exp", 10, "rose.*"},
        {true, "rose.pec", 5, "rose.pec"},
        {true, "rose.dst", 5, "rose.pes"},
        {true, "rose.dst", 1, "rose.dst"},
        {true, "rose", 1, "rose.   "},
        {true, "rose.exp", 12, "rose.*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.open ? "open " : "save ") << c.name << " index " << c.filterIndex);
        EXPECT_EQ(c.box, AfterTypeChange(c.open, c.name, c.filterIndex));
    }
    std::string buffer;
    AfterTypeChange(false, "/home/me/rose.pes", 2, &buffer);
    EXPECT_EQ("/home/me/rose.dst", buffer) << "the name buffer changes in place";
    EXPECT_EQ("rose.dst", AfterTypeChange(false, "/home/me.old/rose", 2, &buffer));
    EXPECT_EQ("/home/me.old/rose.dst", buffer) << "a dot in a folder is not an extension";
}

TEST(MyFile, ANameThatFillsTheBufferIsLeftAlone)
{
    std::string name(kMaxPath - 3, 'n');
    std::string buffer;
    EXPECT_EQ(name, AfterTypeChange(false, name.c_str(), 2, &buffer)) << "no room for an extension";
    EXPECT_EQ(name, buffer);
    std::string dotted = std::string(kMaxPath - 4, 'n') + ".e";
    EXPECT_EQ(dotted, AfterTypeChange(false, dotted.c_str(), 2));
}

TEST(MyFile, TypedNameIsTakenOnOk)
{
    CMyFile dlg(FALSE, "dst", "rose.dst", OFN_HIDEREADONLY, kSaveFilter);
    Driver d([](CDialog& shown) {
        UserType(&shown, IDC_FILE_NAME_BOX, "/tmp/tulip");
        UserSelect(&shown, cmb1, 2);
        EXPECT_EQ("tulip.pes", shown.GetDlgItemText(IDC_FILE_NAME_BOX));
        UserClick(&shown, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("/tmp/tulip.pes", dlg.GetPathName());
    EXPECT_EQ("tulip.pes", dlg.GetFileName());
    EXPECT_EQ("pes", dlg.GetFileExt());
    EXPECT_EQ("tulip", dlg.GetFileTitle());
    EXPECT_EQ(3u, dlg.m_ofn.nFilterIndex);
}

TEST(MyFile, BrowseStripTemplate)
{
    const DialogTemplate* t = AfxFindDialogTemplate(IDD_FILE_BROWSE);
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(279, t->cx);
    EXPECT_EQ(19, t->cy);
    ASSERT_EQ(1u, t->items.size());
    const DialogItemTemplate& b = t->items[0];
    EXPECT_EQ(32999, b.nID);
    EXPECT_EQ(ControlKind::PushButton, b.kind);
    EXPECT_STREQ("Browse", b.pszText);
    EXPECT_EQ(222, b.x);
    EXPECT_EQ(50, b.cx);
    EXPECT_EQ(14, b.cy);
}
