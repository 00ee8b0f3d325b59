#include "test_util.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testutil;

namespace {

enum {
    IDT_TEST = 9001,
    IDC_FLAG = 100,
    IDC_RADIO_A = 101,
    IDC_RADIO_B = 102,
    IDC_RADIO_C = 103,
    IDC_COUNT = 104,
    IDC_SIZE = 105,
    IDC_NAME = 106,
    IDC_KIND = 107,
    IDC_FILES = 108,
    IDC_APPLY = 109,
    IDC_HIDDEN = 110,
    IDC_OFF = 111,
    IDC_SWATCH_FIRST = 120,
    IDC_SWATCH_LAST = 123,
    IDC_POSITIVE = 124,
    WM_PING = WM_USER + 7,
};

const DialogTemplate kTestTemplate = {
    .nID = IDT_TEST,
    .pszCaption = "Test",
    .cx = 200,
    .cy = 120,
    .items = {
        {.nID = IDOK, .kind = ControlKind::DefPushButton, .pszText = "OK"},
        {.nID = IDCANCEL, .kind = ControlKind::PushButton, .pszText = "Cancel"},
        {.nID = IDC_FLAG, .kind = ControlKind::CheckBox, .pszText = "Flag", .x = 5, .y = 6, .cx = 40, .cy = 10},
        {.nID = IDC_RADIO_A, .kind = ControlKind::RadioButton, .pszText = "A", .bGroup = true},
        {.nID = IDC_RADIO_B, .kind = ControlKind::RadioButton, .pszText = "B"},
        {.nID = IDC_RADIO_C, .kind = ControlKind::RadioButton, .pszText = "C"},
        {.nID = IDC_COUNT, .kind = ControlKind::Edit, .bGroup = true},
        {.nID = IDC_SIZE, .kind = ControlKind::Edit},
        {.nID = IDC_NAME, .kind = ControlKind::Edit},
        {.nID = IDC_KIND, .kind = ControlKind::DropDownList, .items = {"small", "medium", "large"}},
        {.nID = IDC_FILES, .kind = ControlKind::ListBox, .items = {"a.dst", "b.pes"}},
        {.nID = IDC_APPLY, .kind = ControlKind::PushButton, .pszText = "Apply"},
        {.nID = IDC_HIDDEN, .kind = ControlKind::PushButton, .pszText = "Hidden", .bVisible = false},
        {.nID = IDC_OFF, .kind = ControlKind::CheckBox, .pszText = "Off", .bEnabled = false},
        {.nID = IDC_SWATCH_FIRST, .kind = ControlKind::OwnerDrawButton},
        {.nID = IDC_SWATCH_FIRST + 1, .kind = ControlKind::OwnerDrawButton},
        {.nID = IDC_SWATCH_FIRST + 2, .kind = ControlKind::OwnerDrawButton},
        {.nID = IDC_SWATCH_LAST, .kind = ControlKind::OwnerDrawButton},
        {.nID = IDC_POSITIVE, .kind = ControlKind::Edit},
    },
};

class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(&kTestTemplate) {}

    int m_bFlag = 1;
    int m_nRadio = 2;
    int m_nCount = 7;
    double m_dSize = 2.5;
    std::string m_strName = "hoop";
    int m_nKind = 1;
    int m_nFile = -1;
    UINT m_nPositive = 3;
    CEdit m_edName;

    std::vector<std::string> events;
    int initCount = 0;
    bool endInInit = false;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ++initCount;
        if (endInInit) EndDialog(77);
        return TRUE;
    }
    void OnApply() { events.push_back("apply"); }
    void OnSwatch(UINT nID) { events.push_back("swatch " + std::to_string(nID)); }
    void OnKindChange() { events.push_back("kind " + std::to_string(((CComboBox*)GetDlgItem(IDC_KIND))->GetCurSel())); }
    void OnNameChange() { events.push_back("name " + GetDlgItemText(IDC_NAME)); }
    void OnFileDblClk() { events.push_back("open"); }
    void OnTimer(UINT_PTR id) { events.push_back("timer " + std::to_string(id)); }
    void OnDestroy()
    {
        events.push_back(KillTimer(1) ? "destroy, timer stopped" : "destroy");
        EXPECT_FALSE(DestroyWindow()) << "already on its way";
    }
    LRESULT OnPing(WPARAM w, LPARAM l)
    {
        events.push_back("ping");
        return (LRESULT)(w + (WPARAM)l);
    }

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_NAME, m_edName);
        DDX_Check(pDX, IDC_FLAG, m_bFlag);
        DDX_Radio(pDX, IDC_RADIO_A, m_nRadio);
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, 10);
        DDX_Text(pDX, IDC_SIZE, m_dSize);
        DDV_MinMaxDouble(pDX, m_dSize, 0.5, 4.0);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 8);
        DDX_CBIndex(pDX, IDC_KIND, m_nKind);
        DDX_LBIndex(pDX, IDC_FILES, m_nFile);
        DDX_Text(pDX, IDC_POSITIVE, m_nPositive);
    }
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_BN_CLICKED(IDC_APPLY, OnApply)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_SWATCH_FIRST, IDC_SWATCH_LAST, OnSwatch)
    ON_CBN_SELCHANGE(IDC_KIND, OnKindChange)
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
    ON_LBN_DBLCLK(IDC_FILES, OnFileDblClk)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_PING, OnPing)
END_MESSAGE_MAP()


} // namespace

TEST(DialogModel, InitialExchangeFillsControlsFromTheValues)
{
    CTestDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CTestDlg&>(base);
        EXPECT_EQ("Test", dlg.GetWindowText());
        EXPECT_EQ(BST_CHECKED, (int)dlg.IsDlgButtonChecked(IDC_FLAG));
        EXPECT_EQ(IDC_RADIO_C, dlg.GetCheckedRadioButton(IDC_RADIO_A, IDC_RADIO_C));
        EXPECT_EQ("7", dlg.GetDlgItemText(IDC_COUNT));
        EXPECT_EQ("2.5", dlg.GetDlgItemText(IDC_SIZE));
        EXPECT_EQ("hoop", dlg.m_edName.GetWindowText());
        EXPECT_EQ(dlg.GetDlgItem(IDC_NAME), &dlg.m_edName) << "the bound member is the control";
        EXPECT_EQ(8, dlg.m_edName.GetLimitText()) << "a length check also limits typing";
        auto* kind = static_cast<CComboBox*>(dlg.GetDlgItem(IDC_KIND));
        EXPECT_EQ(1, kind->GetCurSel());
        EXPECT_EQ("medium", kind->GetWindowText());
        EXPECT_EQ(-1, static_cast<CListBox*>(dlg.GetDlgItem(IDC_FILES))->GetCurSel());
        CRect rc;
        dlg.GetDlgItem(IDC_FLAG)->GetWindowRect(&rc);
        // Dialog units (6 x 13 pixels per 4 x 8) on the screen, inside the dialog's frame.
        EXPECT_EQ(CRect(3 + 8, 22 + 10, 3 + 8 + 60, 22 + 10 + 16), rc);
        EXPECT_TRUE(dlg.GetDlgItem(IDC_FLAG)->IsKindOf(RUNTIME_CLASS(CButton)));
        EXPECT_EQ(nullptr, dlg.GetDlgItem(4242));
        UserClick(&dlg, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(1, dlg.initCount);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_edName.m_hWnd) << "controls go with the dialog";
}

TEST(DialogModel, UserActionsChangeControlsAndOkTakesTheValues)
{
    CTestDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CTestDlg&>(base);
        EXPECT_TRUE(UserClick(&dlg, IDC_FLAG));
        EXPECT_TRUE(UserClick(&dlg, IDC_RADIO_A));
        EXPECT_EQ(BST_UNCHECKED, (int)dlg.IsDlgButtonChecked(IDC_RADIO_C)) << "a radio click clears its group";
        EXPECT_TRUE(UserType(&dlg, IDC_COUNT, " 10 "));
        EXPECT_TRUE(UserType(&dlg, IDC_SIZE, "0.75"));
        EXPECT_TRUE(UserType(&dlg, IDC_NAME, "frame"));
        EXPECT_TRUE(UserSelect(&dlg, IDC_KIND, 2));
        EXPECT_TRUE(UserSelect(&dlg, IDC_FILES, 1));
        EXPECT_FALSE(UserSelect(&dlg, IDC_FILES, 2));
        EXPECT_TRUE(UserDoubleClick(&dlg, IDC_FILES));
        EXPECT_TRUE(UserClick(&dlg, IDC_APPLY));
        EXPECT_TRUE(UserClick(&dlg, IDC_SWATCH_FIRST + 2));
        EXPECT_TRUE(UserClick(&dlg, IDOK));
        EXPECT_FALSE(UserClick(&dlg, IDC_APPLY)) << "an ended dialog takes no more clicks";
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(0, dlg.m_bFlag);
    EXPECT_EQ(0, dlg.m_nRadio);
    EXPECT_EQ(10, dlg.m_nCount);
    EXPECT_DOUBLE_EQ(0.75, dlg.m_dSize);
    EXPECT_EQ("frame", dlg.m_strName);
    EXPECT_EQ(2, dlg.m_nKind);
    EXPECT_EQ(1, dlg.m_nFile);
    EXPECT_EQ((std::vector<std::string>{"name frame", "kind 2", "open", "apply", "swatch 122", "destroy"}),
              dlg.events);
}

TEST(DialogModel, FailedValidationKeepsTheDialogOpen)
{
    struct Case {
        int nID;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {IDC_COUNT, "11", "Please enter an integer between 1 and 10."},
        {IDC_COUNT, "3x", "Please enter an integer."},
        {IDC_COUNT, "", "Please enter an integer."},
        {IDC_COUNT, "99999999999", "Please enter an integer."},
        {IDC_SIZE, "4.01", "Please enter a number between 0.5 and 4."},
        {IDC_SIZE, "one", "Please enter a number."},
        {IDC_SIZE, "nan", "Please enter a number."},
        {IDC_NAME, "ninechars", "Enter no more than 8 characters."}, // set by the program past the limit
        {IDC_POSITIVE, "-1", "Please enter a positive integer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MessageCapture boxes;
        CTestDlg dlg;
        bool closedEarly = true;
        Driver d([&](CDialog& base) {
            auto& dlg = static_cast<CTestDlg&>(base);
            dlg.SetDlgItemText(c.nID, c.text);
            UserClick(&dlg, IDOK);
            closedEarly = dlg.IsEnded();
            EXPECT_EQ(c.text, dlg.GetDlgItemText(c.nID)) << "the text stays for the user to mend";
            ASSERT_NE(nullptr, CWnd::GetFocus());
            EXPECT_EQ(c.nID, CWnd::GetFocus()->GetDlgCtrlID()) << "the focus goes to it";
            int a, b;
            static_cast<CEdit*>(CWnd::GetFocus())->GetSel(a, b);
            EXPECT_EQ((int)std::strlen(c.text), b - a) << "with its text selected";
            UserClick(&dlg, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_FALSE(closedEarly);
        EXPECT_EQ(std::vector<std::string>{c.message}, boxes.Texts());
    }
}

TEST(DialogModel, HiddenAndDisabledControlsIgnoreTheUser)
{
    CTestDlg dlg;
    Driver d([](CDialog& dlg) {
        EXPECT_FALSE(UserClick(&dlg, IDC_HIDDEN));
        EXPECT_FALSE(UserClick(&dlg, IDC_OFF));
        EXPECT_EQ(0u, dlg.IsDlgButtonChecked(IDC_OFF));
        EXPECT_FALSE(dlg.GetDlgItem(IDC_COUNT)->EnableWindow(FALSE)) << "was enabled";
        EXPECT_FALSE(UserType(&dlg, IDC_COUNT, "5"));
        EXPECT_EQ("7", dlg.GetDlgItemText(IDC_COUNT));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_COUNT)->EnableWindow(TRUE)) << "was disabled";
        EXPECT_FALSE(dlg.GetDlgItem(IDC_HIDDEN)->ShowWindow(SW_SHOW)) << "was hidden";
        EXPECT_TRUE(dlg.GetDlgItem(IDC_HIDDEN)->IsWindowVisible());
        EXPECT_TRUE(UserClick(&dlg, IDC_HIDDEN));
        EXPECT_FALSE(UserClick(&dlg, 4242));
        EXPECT_FALSE(UserType(&dlg, IDC_FLAG, "x")) << "a check box takes no text";
        dlg.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
}

TEST(DialogModel, DoModalOutcomes)
{
    {
        SetModalDriver(nullptr);
        CTestDlg dlg;
        EXPECT_EQ(-1, dlg.DoModal()) << "nobody to show it to";
        EXPECT_EQ(0, dlg.initCount);
    }
    Driver idle([](CDialog&) {});
    {
        CDialog missing(31999u);
        EXPECT_EQ(-1, missing.DoModal());
    }
    {
        CTestDlg dlg;
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << "a driver that walks away cancels";
        EXPECT_EQ(1, dlg.initCount);
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << "and the dialog can be shown again";
        EXPECT_EQ(2, dlg.initCount);
    }
    {
        CTestDlg dlg;
        dlg.endInInit = true;
        int driven = 0;
        Driver counting([&](CDialog&) { ++driven; });
        EXPECT_EQ(77, dlg.DoModal());
        EXPECT_EQ(0, driven);
    }
}

TEST(DialogModel, NestedModalDialogsReachTheSameDriver)
{
    std::vector<UINT> seen;
    CTestDlg outer;
    Driver d([&](CDialog& dlg) {
        seen.push_back(dlg.GetTemplateID());
        if (seen.size() == 1) {
            CTestDlg inner;
            EXPECT_EQ(-1, outer.DoModal()) << "already shown";
            EXPECT_EQ(IDOK, inner.DoModal());
            EXPECT_TRUE(outer.IsWindowVisible()) << "the outer dialog lives on";
            dlg.EndDialog(IDCANCEL);
        } else {
            UserClick(&dlg, IDOK);
        }
    });
    EXPECT_EQ(IDCANCEL, outer.DoModal());
    EXPECT_EQ((std::vector<UINT>{IDT_TEST, IDT_TEST}), seen);
}

TEST(DialogModel, TimersAndMessages)
{
    static std::vector<UINT_PTR> procCalls;
    procCalls.clear();
    CTestDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CTestDlg&>(base);
        EXPECT_FALSE(UserFireTimer(&dlg, 1)) << "not running";
        EXPECT_EQ(1u, dlg.SetTimer(1, 250));
        EXPECT_EQ(250u, dlg.GetTimerElapse(1));
        dlg.SetTimer(2, 100, [](HWND, UINT, UINT_PTR id, DWORD) { procCalls.push_back(id); });
        EXPECT_TRUE(UserFireTimer(&dlg, 1));
        EXPECT_TRUE(UserFireTimer(&dlg, 2));
        EXPECT_TRUE(dlg.KillTimer(1));
        EXPECT_FALSE(dlg.KillTimer(1));
        EXPECT_FALSE(UserFireTimer(&dlg, 1));
        EXPECT_EQ(0u, dlg.GetTimerElapse(1));
        dlg.SetTimer(1, 500);
        EXPECT_EQ(12, dlg.SendMessage(WM_PING, 5, 7));
        MessageCapture boxes;
        EXPECT_EQ(IDOK, dlg.MessageBox("Hoop too small.", "Warning"));
        EXPECT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ("Warning", boxes.Boxes()[0].caption);
        EXPECT_EQ(0, dlg.SendMessage(WM_USER + 99)) << "unhandled messages give 0";
        int before = dlg.GetDlgItem(IDC_FLAG)->GetInvalidateCount();
        dlg.GetDlgItem(IDC_FLAG)->Invalidate();
        EXPECT_EQ(before + 1, dlg.GetDlgItem(IDC_FLAG)->GetInvalidateCount());
        dlg.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ((std::vector<std::string>{"timer 1", "ping", "destroy, timer stopped"}), dlg.events);
    EXPECT_EQ(std::vector<UINT_PTR>{2}, procCalls);
}

TEST(DialogModel, EditAndListOperations)
{
    CTestDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CTestDlg&>(base);
        CEdit& ed = dlg.m_edName;
        ed.SetWindowText("first\r\nsecond line");
        char buf[8];
        EXPECT_EQ(2, ed.GetLineCount());
        EXPECT_EQ(5, ed.GetLine(0, buf, 8));
        EXPECT_EQ("first", std::string(buf, 5));
        EXPECT_EQ(6, ed.GetLine(1, buf, 6)) << "cut at the buffer's length";
        EXPECT_EQ(0, ed.GetLine(2, buf, 8));
        ed.SetSel(0, -1);
        ed.ReplaceSel("0.5");
        EXPECT_EQ("0.5", ed.GetWindowText());
        ed.SetSel(1, 2);
        ed.ReplaceSel(",");
        EXPECT_EQ("0,5", ed.GetWindowText());
        ed.LimitText(4);
        UserType(&dlg, IDC_NAME, "abcdefgh");
        EXPECT_EQ("abcd", ed.GetWindowText()) << "the user cannot type past the limit";
        EXPECT_EQ(4, ed.GetWindowText(buf, 8));
        EXPECT_STREQ("abcd", buf);
        EXPECT_EQ(2, ed.GetWindowText(buf, 3)) << "room for the terminator";
        EXPECT_STREQ("ab", buf);

        auto* list = static_cast<CListBox*>(dlg.GetDlgItem(IDC_FILES));
        EXPECT_EQ(2, list->AddString("c.hus"));
        EXPECT_EQ(0, list->InsertString(0, "z.exp"));
        list->SetCurSel(2);
        EXPECT_EQ(3, list->DeleteString(0));
        EXPECT_EQ(1, list->GetCurSel()) << "the selection follows its entry";
        std::string t;
        list->GetText(1, t);
        EXPECT_EQ("b.pes", t);
        EXPECT_EQ(2, list->FindStringExact(-1, "C.HUS"));
        EXPECT_EQ(LB_ERR, list->FindStringExact(-1, "c.hu"));
        list->SetItemData(2, 99);
        EXPECT_EQ(99u, list->GetItemData(2));
        EXPECT_EQ(LB_ERR, list->SetCurSel(5));
        EXPECT_EQ(-1, list->GetCurSel());
        auto* kind = static_cast<CComboBox*>(dlg.GetDlgItem(IDC_KIND));
        EXPECT_EQ(2, kind->SelectString(-1, "LA"));
        EXPECT_EQ("large", kind->GetWindowText());
        kind->ResetContent();
        EXPECT_EQ(0, kind->GetCount());
        EXPECT_EQ(CB_ERR, kind->GetCurSel());
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}

TEST(DialogModel, CheckValuesOutOfRangeShowUnchecked)
{
    CTestDlg dlg;
    dlg.m_bFlag = 5;
    dlg.m_nRadio = -1;
    Driver d([](CDialog& dlg) {
        EXPECT_EQ(0u, dlg.IsDlgButtonChecked(IDC_FLAG));
        EXPECT_EQ(0, dlg.GetCheckedRadioButton(IDC_RADIO_A, IDC_RADIO_C));
        UserClick(&dlg, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(0, dlg.m_bFlag);
    EXPECT_EQ(-1, dlg.m_nRadio) << "no button of the group checked";
}

TEST(DialogModel, TemplatesAreFoundById)
{
    static const DialogTemplate mine = {.nID = 31000, .pszCaption = "Mine"};
    EXPECT_EQ(nullptr, AfxFindDialogTemplate(31000));
    AfxRegisterDialogTemplate(&mine);
    EXPECT_EQ(&mine, AfxFindDialogTemplate(31000));
    CDialog dlg(31000u);
    Driver d([](CDialog& dlg) {
        EXPECT_EQ("Mine", dlg.GetWindowText());
        dlg.EndDialog(5);
    });
    EXPECT_EQ(5, dlg.DoModal());
}

TEST(Palette, CreatedFromADescriptionWithItsEntries)
{
    LogPaletteOf<3> lp{0x300, 3, {{255, 0, 0, 0}, {0, 255, 0, 0}, {250, 0, 0, 0}}};
    CPalette pal;
    EXPECT_EQ(nullptr, pal.GetSafeHandle());
    ASSERT_TRUE(pal.CreatePalette(lp.Get()));
    EXPECT_FALSE(pal.CreatePalette(lp.Get())) << "already made";
    EXPECT_EQ(3, pal.GetEntryCount());
    EXPECT_EQ(0x300, pal.GetVersion());
    EXPECT_EQ(RGB(250, 0, 0), pal.GetEntryColor(2));
    EXPECT_EQ(0u, pal.GetNearestPaletteIndex(RGB(253, 0, 0))) << "ties go to the lower index";
    EXPECT_EQ(2u, pal.GetNearestPaletteIndex(RGB(251, 0, 0)));
    PALETTEENTRY out[5] = {};
    EXPECT_EQ(2u, pal.GetPaletteEntries(1, 5, out));
    EXPECT_EQ(255, out[0].peGreen);
    EXPECT_TRUE(pal.DeleteObject());
    EXPECT_EQ(0, pal.GetEntryCount());
    LogPaletteOf<1> empty{0x300, 0, {}};
    EXPECT_FALSE(pal.CreatePalette(empty.Get()));
    EXPECT_FALSE(pal.CreatePalette(nullptr));
}
