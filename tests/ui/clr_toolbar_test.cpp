// The colour toolbar and the bitmap buttons, played as a user plays them.
#include "test_util.h"

#include "core/thread_table.h"
#include "platform/control_bar.h"
#include "platform/document.h"
#include "ui/bm_button.h"
#include "ui/clr_toolbar.h"
#include "ui/resources.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

struct ColorChange {
    CDocument* doc;
    int position, master;
};
std::vector<ColorChange> g_changes;
void RecordChange(CDocument* doc, int position, int master) { g_changes.push_back({doc, position, master}); }

class ToolBar : public testing::Test {
protected:
    ToolBar()
    {
        g_changes.clear();
        CClrToolBar::s_nPaletteType = -1;
        m_frame.Create(nullptr, "Host", WS_VISIBLE | WS_CAPTION, CRect(0, 0, 800, 600), nullptr, 0);
    }
    ~ToolBar() override { CClrToolBar::s_nPaletteType = -1; }

    // Docks the bar along the frame's top, as the framework lays it out.
    void Dock() { m_bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT); }

    int Shown() const
    {
        int n = 0;
        for (const CClrBtn& b : m_bar.m_Buttons) n += b.IsWindowVisible() && b.IsWindowEnabled();
        return n;
    }

    CWnd m_frame;
    CClrToolBar m_bar;
    CDocument m_doc;
};

const UINT kDesign[] = {49, 3, 188};

} // namespace

TEST_F(ToolBar, CreatedAsABarOf256SwatchesSideBySide)
{
    ASSERT_TRUE(m_bar.Create(&m_frame));
    EXPECT_EQ(ControlKind::ToolBar, m_bar.GetControlKind());
    EXPECT_EQ(&m_frame, m_bar.GetOwner()) << "TB_SETPARENT with the owner";
    EXPECT_EQ(20, m_bar.GetButtonStructSize());
    EXPECT_EQ(CBRS_TOP | CBRS_HIDE_INPLACE, m_bar.m_dwStyle);
    EXPECT_EQ(1, m_bar.GetButtonCount());
    EXPECT_EQ(12, m_bar.m_nColumns);
    EXPECT_EQ(0, m_bar.m_nMRUWidth);
    CRect bar, first;
    m_bar.GetWindowRect(&bar);
    EXPECT_EQ(CSize(22 + 8, 14 + 6), bar.Size()) << "docked, sized for the one swatch in use";
    m_bar.GetButton(0)->GetWindowRect(&first);
    EXPECT_EQ(CRect(bar.left + 6, bar.top + 2, bar.left + 6 + 22, bar.top + 2 + 14), first) << "inside the margins";
    for (int i : {0, 1, 255}) {
        CClrBtn* b = m_bar.GetButton(i);
        ASSERT_NE(nullptr, b);
        EXPECT_EQ(33000 + i, b->GetDlgCtrlID());
        EXPECT_EQ(&m_bar, b->GetParent());
        EXPECT_EQ(i, b->m_nPosition);
        EXPECT_EQ(&m_bar, b->m_pToolBar);
        CRect r;
        b->GetWindowRect(&r);
        if (i > 0) {
            EXPECT_EQ(CRect(bar.left + 22 * i, bar.top, bar.left + 22 * i + 22, bar.top + 14), r) << "side by side";
        }
    }
    EXPECT_EQ(nullptr, m_bar.GetButton(256));
    EXPECT_EQ(nullptr, m_bar.GetButton(-1));
}

TEST_F(ToolBar, SetButtonsShowsTheDesignsColoursUpTo256)
{
    ASSERT_TRUE(m_bar.Create(&m_frame));
    std::vector<UINT> many(300);
    for (size_t i = 0; i < many.size(); ++i) many[i] = (UINT)(i % kThreadCount);
    struct Case {
        const UINT* colors;
        int count, shown;
    };
    const Case cases[] = {{kDesign, 3, 3}, {many.data(), 256, 256}, {many.data(), 300, 256}, {kDesign, -4, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        m_bar.SetButtons(c.colors, c.count, 9, &m_doc, &RecordChange);
        EXPECT_EQ(c.shown, Shown());
        EXPECT_EQ(c.shown, m_bar.GetButtonCount());
        if (c.shown < 256) {
            EXPECT_FALSE(m_bar.GetButton(c.shown)->IsWindowVisible());
            EXPECT_FALSE(m_bar.GetButton(c.shown)->IsWindowEnabled());
        }
    }
    m_bar.SetButtons(kDesign, 3, 9, &m_doc, &RecordChange);
    Dock();
    EXPECT_STREQ("Black", m_bar.GetButton(0)->m_szName);
    EXPECT_EQ(GetThreadColor(3) | 0x02000000u, m_bar.GetButton(1)->GetFaceColor());
    EXPECT_EQ(188, m_bar.GetButton(2)->m_nMasterIndex);
    EXPECT_EQ("Canary Yellow", UserToolTip(&m_bar, ControlCenter(&m_bar, 33002))) << "from the thread name strings";

    // Without a document only the source, document and callback change.
    const UINT other[] = {12, 12, 12, 12, 12};
    m_bar.SetButtons(other, 5, 6, nullptr, nullptr);
    EXPECT_EQ(6, m_bar.m_nSource);
    EXPECT_EQ(nullptr, m_bar.m_pDocument);
    EXPECT_EQ(3, Shown());
    EXPECT_STREQ("Black", m_bar.GetButton(0)->m_szName);

    // A colour past the table shows black without a name.
    const UINT past[] = {500};
    m_bar.SetButtons(past, 1, 9, &m_doc, &RecordChange);
    EXPECT_EQ(GetThreadColor(-1) | 0x02000000u, m_bar.GetButton(0)->GetFaceColor());
    EXPECT_STREQ("", m_bar.GetButton(0)->m_szName);
    EXPECT_EQ("", UserToolTip(&m_bar, ControlCenter(&m_bar, 33000)));
}

TEST_F(ToolBar, SwatchClickOpensThePaletteOfTheDesignSource)
{
    ASSERT_TRUE(m_bar.Create(&m_frame));
    struct Case {
        int source, type, active;
    };
    const Case cases[] = {{4, 4, 16}, {5, 4, 16}, {6, 2, 29}, {8, 1, 64}, {9, 1, 64},
                          {10, 5, 64}, {12, 3, 35}, {2, 0, 64}, {0, 0, 64}};
    int sewColors = GetSetup()->m_nSewColors;
    GetSetup()->m_nSewColors = 35;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        m_bar.SetButtons(kDesign, 3, c.source, &m_doc, &RecordChange);
        int opened = -2, active = 0;
        Driver d([&](CDialog& base) {
            auto& dlg = static_cast<CColorDlg&>(base);
            opened = dlg.m_nPaletteType;
            active = dlg.m_nActiveButtons;
            dlg.EndDialog(IDCANCEL);
        });
        ASSERT_TRUE(UserClick(&m_bar, 33001));
        EXPECT_EQ(c.type, opened);
        EXPECT_EQ(c.active, active);
    }
    GetSetup()->m_nSewColors = sewColors;
    EXPECT_TRUE(g_changes.empty()) << "nothing chosen";
    EXPECT_EQ(-1, CClrToolBar::s_nPaletteType);
}

TEST_F(ToolBar, ChosenColourRepaintsTheSwatchAndReachesTheHost)
{
    ASSERT_TRUE(m_bar.Create(&m_frame));
    m_bar.SetButtons(kDesign, 3, 9, &m_doc, &RecordChange);
    std::vector<int> opened;
    Driver d([&](CDialog& base) {
        auto& dlg = static_cast<CColorDlg&>(base);
        opened.push_back(dlg.m_nPaletteType);
        if (opened.size() == 1) {
            UserSelect(&dlg, IDC_PALETTE_TYPE, 4); // Pfaff
            UserClick(&dlg, IDC_COLOR_FIRST + 4);  // Cyan
            UserClick(&dlg, IDOK);
        } else {
            UserDoubleClick(&dlg, IDC_COLOR_FIRST + 7); // Dark Red
        }
    });
    ASSERT_TRUE(UserClick(&m_bar, 33002));
    ASSERT_EQ(1u, g_changes.size());
    EXPECT_EQ(&m_doc, g_changes[0].doc);
    EXPECT_EQ(2, g_changes[0].position);
    EXPECT_EQ(99, g_changes[0].master);
    CClrBtn* swatch = m_bar.GetButton(2);
    EXPECT_STREQ("Cyan", swatch->m_szName);
    EXPECT_EQ(99, swatch->m_nMasterIndex);
    CRect rc;
    swatch->GetClientRect(&rc);
    EXPECT_EQ(GetThreadColor(99), swatch->GetDC()->GetPixel(rc.Width() / 2, rc.Height() / 2)) << "repainted";
    EXPECT_EQ(4, CClrToolBar::s_nPaletteType);

    // The next swatch opens on the Pfaff palette, whatever the design's source.
    CClrToolBar second;
    ASSERT_TRUE(second.Create(&m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE805));
    second.SetButtons(kDesign, 3, 12, &m_doc, &RecordChange);
    ASSERT_TRUE(UserClick(&second, 33000));
    EXPECT_EQ((std::vector<int>{1, 4}), opened);
    ASSERT_EQ(2u, g_changes.size());
    EXPECT_EQ(0, g_changes[1].position);
    EXPECT_EQ(102, g_changes[1].master);

    // Without a callback the swatch still changes.
    m_bar.SetButtons(kDesign, 3, 9, &m_doc, nullptr);
    UserClick(&m_bar, 33000);
    EXPECT_STREQ("Dark Red", m_bar.GetButton(0)->m_szName);
    EXPECT_EQ(2u, g_changes.size());
}

TEST_F(ToolBar, LayoutWrapsSwatchesAndPlacesThem)
{
    ASSERT_TRUE(m_bar.Create(&m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC));
    std::vector<UINT> colors(5, 12);
    m_bar.SetButtons(colors.data(), 5, 9, &m_doc, &RecordChange);
    // Margins: 6 left, 2 right, 2 top and bottom, and the border line under a top bar.
    EXPECT_EQ(CSize(5 * 22 + 8, 14 + 6), m_bar.CalcFixedLayout(FALSE, TRUE));
    EXPECT_EQ(CSize(32767, 14 + 6), m_bar.CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(CSize(22 + 4, 5 * 14 + 10), m_bar.CalcFixedLayout(FALSE, FALSE));
    EXPECT_EQ(CSize(2 * 22 + 8, 3 * 14 + 6), m_bar.CalcDynamicLayout(55, LM_HORZ | LM_COMMIT));
    EXPECT_TRUE(m_bar.IsWrapped(1));
    EXPECT_FALSE(m_bar.IsWrapped(2));
    CRect bar, fifth;
    m_bar.GetWindowRect(&bar);
    m_bar.GetButton(4)->GetWindowRect(&fifth);
    EXPECT_EQ(CPoint(bar.left + 6, bar.top + 2 + 2 * 14), fifth.TopLeft()) << "third row, first place";
    // Floating, the bar starts twelve swatches wide.
    m_bar.m_dwStyle |= CBRS_FLOATING;
    std::vector<UINT> more(20, 12);
    m_bar.SetButtons(more.data(), 20, 9, &m_doc, &RecordChange);
    EXPECT_EQ(CSize(10 * 22 + 8, 2 * 14 + 6), m_bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT));
    EXPECT_EQ(10 * 22, m_bar.m_nMRUWidth) << "the narrowest width with two rows";
}

TEST_F(ToolBar, SwatchClicksReachTheOwner)
{
    class CCountingFrame : public CWnd {
    public:
        int clicks = 0;
        BOOL OnCmdMsg(UINT nID, UINT nCode) override
        {
            clicks += nID == 33001 && nCode == BN_CLICKED;
            return TRUE;
        }
    } frame;
    frame.Create(nullptr, "Counting", WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0);
    CClrToolBar bar;
    ASSERT_TRUE(bar.Create(&frame));
    bar.SetButtons(kDesign, 3, 9, &m_doc, &RecordChange);
    Driver d([](CDialog& dlg) { dlg.EndDialog(IDCANCEL); });
    UserClick(&bar, 33001);
    EXPECT_EQ(1, frame.clicks);
    EXPECT_FALSE(UserClick(&bar, 33005)) << "hidden";
}

TEST(BitmapButton, ShowsTheNavigationPictures)
{
    CWnd frame;
    frame.Create(nullptr, "Host", WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0);
    const UINT ids[] = {IDB_FIRST_PAGE, IDB_PREVIOUS_PAGE, IDB_PREVIOUS_ITEM, IDB_NEXT_ITEM, IDB_NEXT_PAGE, IDB_LAST_PAGE};
    std::vector<std::vector<COLORREF>> pictures;
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        CBmButton button;
        ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 24, 20), &frame, 2303));
        ASSERT_TRUE(button.LoadBitmap((int)id));
        button.UpdateWindow();
        CDC* dc = button.GetDC();
        // The arrow's black is in the middle of the face; the frames are around it.
        std::vector<COLORREF> face;
        int black = 0;
        for (int y = 4; y < 16; ++y)
            for (int x = 4; x < 20; ++x) {
                face.push_back(dc->GetPixel(x, y));
                black += dc->GetPixel(x, y) == RGB(0, 0, 0);
            }
        EXPECT_GT(black, 10);
        EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), dc->GetPixel(3, 3));
        pictures.push_back(face);
        // Held down, the picture moves by a pixel.
        button.SendMessage(BM_SETSTATE, TRUE);
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dc->GetPixel(3, 3));
        std::vector<COLORREF> pressed;
        for (int y = 4; y < 16; ++y)
            for (int x = 4; x < 20; ++x) pressed.push_back(dc->GetPixel(x, y));
        EXPECT_NE(face, pressed);
    }
    for (size_t i = 1; i < pictures.size(); ++i) EXPECT_NE(pictures[0], pictures[i]) << "six different pictures";
    CBmButton none;
    EXPECT_FALSE(none.LoadBitmap(4242));
}
