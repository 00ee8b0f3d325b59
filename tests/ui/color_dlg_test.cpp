// The colour dialog played as a user plays it: palettes, hovering, choosing, drawing.
#include "test_util.h"

#include "core/settings.h"
#include "core/thread_table.h"
#include "ui/color_dlg.h"
#include "ui/palettes.h"
#include "ui/resources.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testutil;

namespace {

class ColorDialog : public testing::Test {
protected:
    ColorDialog() : m_sewColors(GetSetup()->m_nSewColors) { iLastColorButtonClicked = 0; }
    ~ColorDialog() override { GetSetup()->m_nSewColors = m_sewColors; }
    int m_sewColors;
};

CRect ButtonRect(CDialog& dlg, int index)
{
    CRect r;
    dlg.GetDlgItem(IDC_COLOR_FIRST + index)->GetWindowRect(&r);
    return r;
}

bool Enabled(CDialog& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE; }

} // namespace

TEST_F(ColorDialog, PaletteTypeAndSewColorsChooseTheList)
{
    struct Case {
        int type, sewColors, count, first, last;
    };
    const Case cases[] = {
        {-1, 35, 64, 49, 93}, {0, 35, 64, 49, 93},  {1, 35, 64, 49, 93},   {2, 35, 29, 0, 12},
        {3, 12, 12, 111, 112}, {3, 35, 35, 111, 112}, {3, 78, 78, 111, 112}, {3, 40, 35, 111, 112},
        {4, 35, 16, 95, 110},  {5, 35, 64, 49, 93},   {99, 78, 64, 49, 93},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", SewColors " << c.sewColors);
        GetSetup()->m_nSewColors = c.sewColors;
        CColorDlg dlg;
        dlg.m_nPaletteType = c.type;
        Driver d([&](CDialog& base) {
            auto& dlg = static_cast<CColorDlg&>(base);
            EXPECT_EQ(c.count, dlg.m_nActiveButtons);
            EXPECT_EQ(c.first, dlg.m_Buttons[0].m_nMasterIndex);
            EXPECT_EQ(c.last, dlg.m_Buttons[c.count - 1].m_nMasterIndex);
            EXPECT_STREQ(GetThreadName(c.first), dlg.m_Buttons[0].m_szName);
            EXPECT_EQ(GetThreadColor(c.first) | 0x02000000u, dlg.m_Buttons[0].GetFaceColor())
                << "palette-relative";
            EXPECT_EQ(BS_OWNERDRAW, dlg.m_Buttons[c.count - 1].GetButtonStyle() & BS_TYPEMASK);
            if (c.count < CColorDlg::kButtons) {
                const CColorButton& past = dlg.m_Buttons[c.count];
                EXPECT_STREQ("", past.m_szName);
                EXPECT_EQ(4u, past.GetButtonStyle() & 4u) << "taken out of the palette";
                EXPECT_EQ("", UserToolTip(&dlg, ControlCenter(&dlg, IDC_COLOR_FIRST + c.count)));
            }
            EXPECT_EQ(GetThreadName(c.last), UserToolTip(&dlg, ControlCenter(&dlg, IDC_COLOR_FIRST + c.count - 1)));
            dlg.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
    }
}

TEST_F(ColorDialog, HoverNamesTheColourUnderTheCursorEveryTimerTick)
{
    CColorDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CColorDlg&>(base);
        ASSERT_EQ(CColorDlg::kTimerPeriod, dlg.GetTimerElapse(CColorDlg::kTimerID));
        CRect b9 = ButtonRect(dlg, 9), b10 = ButtonRect(dlg, 10);
        SetCursorPos(b9.CenterPoint());
        UserFireTimer(&dlg, CColorDlg::kTimerID);
        EXPECT_STREQ(dlg.m_Buttons[9].m_szName, dlg.GetDlgItemText(IDC_CHANGE_TO).c_str());
        // Between two buttons nothing changes.
        ASSERT_LT(b9.right + 1, b10.left);
        SetCursorPos(CPoint(b9.right + 1, b9.top + 2));
        UserFireTimer(&dlg, CColorDlg::kTimerID);
        EXPECT_STREQ(dlg.m_Buttons[9].m_szName, dlg.GetDlgItemText(IDC_CHANGE_TO).c_str());
        // Edges count, the right and bottom ones too.
        SetCursorPos(CPoint(b10.left, b10.bottom));
        UserFireTimer(&dlg, CColorDlg::kTimerID);
        EXPECT_STREQ(dlg.m_Buttons[10].m_szName, dlg.GetDlgItemText(IDC_CHANGE_TO).c_str());
        // Only the palette's buttons are looked at.
        std::string before = dlg.GetDlgItemText(IDC_CHANGE_TO);
        UserSelect(&dlg, IDC_PALETTE_TYPE, 4);
        SetCursorPos(ButtonRect(dlg, 40).CenterPoint());
        UserFireTimer(&dlg, CColorDlg::kTimerID);
        EXPECT_EQ(before, dlg.GetDlgItemText(IDC_CHANGE_TO)) << "button 41 is past the Pfaff list";
        EXPECT_TRUE(UserClose(&dlg));
        EXPECT_EQ(0u, dlg.GetTimerElapse(CColorDlg::kTimerID)) << "closing stops the timer";
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST_F(ColorDialog, ChooseChangePaletteChooseAgain)
{
    CColorDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CColorDlg&>(base);
        EXPECT_FALSE(Enabled(dlg, IDOK)) << "no colour chosen yet";
        EXPECT_FALSE(UserClick(&dlg, IDOK));
        ASSERT_TRUE(UserClick(&dlg, IDC_COLOR_FIRST + 3));
        EXPECT_EQ(IDC_COLOR_FIRST + 3, iLastColorButtonClicked);
        EXPECT_EQ(IDC_COLOR_FIRST + 3, CColorButton::idClicked);
        EXPECT_EQ("Pink", dlg.GetDlgItemText(IDC_NEW_COLOR));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_NEW_COLOR)->IsWindowVisible());
        EXPECT_TRUE(Enabled(dlg, IDOK));

        ASSERT_TRUE(UserSelect(&dlg, IDC_PALETTE_TYPE, 2));
        EXPECT_EQ(2, dlg.m_nPaletteType);
        EXPECT_EQ(29, dlg.m_nActiveButtons);
        EXPECT_FALSE(Enabled(dlg, IDOK)) << "the colour chosen belonged to the other palette";
        EXPECT_EQ(0xFu, dlg.m_Buttons[50].GetButtonStyle() & 0xF);

        // A button the palette left empty chooses nothing, even the one chosen before.
        UserClick(&dlg, IDC_COLOR_FIRST + 50);
        EXPECT_FALSE(Enabled(dlg, IDOK));
        UserClick(&dlg, IDC_COLOR_FIRST + 3);
        EXPECT_EQ("Dark Green", dlg.GetDlgItemText(IDC_NEW_COLOR));
        EXPECT_TRUE(Enabled(dlg, IDOK));
        UserClick(&dlg, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    int k = iLastColorButtonClicked - IDC_COLOR_FIRST;
    EXPECT_EQ(3, k);
    EXPECT_EQ(14, dlg.m_Buttons[k].m_nMasterIndex) << "the host reads the chosen button";
}

TEST_F(ColorDialog, DoubleClickChoosesAndEnds)
{
    CColorDlg dlg;
    dlg.m_bOfferPalette = 0;
    dlg.m_nPaletteType = 4;
    Driver d([](CDialog& dlg) {
        EXPECT_FALSE(dlg.GetDlgItem(IDC_PALETTE_TYPE)->IsWindowVisible());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_PALETTE_LABEL)->IsWindowVisible());
        EXPECT_FALSE(UserDoubleClick(&dlg, IDC_PALETTE_TYPE));
        EXPECT_TRUE(UserDoubleClick(&dlg, IDC_COLOR_FIRST + 15));
        EXPECT_TRUE(static_cast<CColorDlg&>(dlg).IsEnded());
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(IDC_COLOR_FIRST + 15, iLastColorButtonClicked);
    EXPECT_EQ(110, dlg.m_Buttons[15].m_nMasterIndex);
}

TEST_F(ColorDialog, ButtonsDrawTheirFacePressedAndRaised)
{
    CColorDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CColorDlg&>(base);
        CColorButton& b = dlg.m_Buttons[0];
        CRect rc;
        b.GetClientRect(&rc);
        ASSERT_GT(rc.Width(), 10);
        CDC* dc = b.GetDC();
        COLORREF face = GetThreadColor(b.m_nMasterIndex);
        auto check = [&](bool pressed, bool focused) {
            SCOPED_TRACE(testing::Message() << "pressed " << pressed << ", focused " << focused);
            EXPECT_EQ(face, dc->GetPixel(rc.Width() / 2, rc.Height() / 2)) << "the face";
            EXPECT_EQ(face, dc->GetPixel(4, 4)) << "the face starts four pixels in";
            EXPECT_EQ(GetSysColor(pressed ? COLOR_BTNSHADOW : COLOR_3DLIGHT), dc->GetPixel(3, 3)) << "inner frame";
            EXPECT_EQ(GetSysColor(pressed ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW), dc->GetPixel(rc.Width() - 4, rc.Height() - 4));
            EXPECT_EQ(GetSysColor(focused ? COLOR_BTNSHADOW : COLOR_3DLIGHT), dc->GetPixel(0, 0)) << "outer frame";
        };
        check(false, false);
        b.SendMessage(BM_SETSTATE, TRUE); // held down: drawn pressed, and chosen
        check(true, false);
        EXPECT_EQ(IDC_COLOR_FIRST, iLastColorButtonClicked);
        b.SendMessage(BM_SETSTATE, FALSE);
        check(false, false);
        UserClick(&dlg, IDC_COLOR_FIRST);
        check(false, true);
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}

TEST_F(ColorDialog, ButtonNamesAreBounded)
{
    CColorButton b;
    b.SetName("A name far longer than nineteen characters");
    EXPECT_EQ(19u, std::strlen(b.m_szName));
    b.SetFaceColor(RGB(1, 2, 3));
    EXPECT_EQ(0x02030201u, b.GetFaceColor());
    b.SetState(7);
    EXPECT_EQ(7, b.m_nState);
    CObject* made = RUNTIME_CLASS(CColorButton)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CButton)));
    delete made;
}

TEST_F(ColorDialog, HostSetActiveButtonsStayInBounds)
{
    CColorDlg dlg;
    dlg.m_nActiveButtons = 500;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CColorDlg&>(base);
        EXPECT_EQ(64, dlg.m_nActiveButtons);
        dlg.m_nActiveButtons = -3;
        SetCursorPos(ButtonRect(dlg, 0).CenterPoint());
        UserFireTimer(&dlg, CColorDlg::kTimerID);
        EXPECT_EQ("", dlg.GetDlgItemText(IDC_CHANGE_TO));
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}
