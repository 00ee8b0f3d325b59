// The window model under the dialogs: owner drawing, geometry on the screen, cursor and
// tooltips, posted messages, bitmaps and 3D edges, control bars and their layout.
#include "test_util.h"

#include "platform/control_bar.h"
#include "platform/dc.h"
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/string_resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testutil;

namespace {

enum {
    IDT_MODEL = 9101,
    IDC_SWATCH = 300,
    IDC_OTHER = 301,
    IDC_PLAIN = 302,
    IDC_EDIT = 303,
    IDC_RADIO_A = 310,
    IDC_RADIO_B = 312,
    IDC_AFTER = 313,
    WM_PING = WM_USER + 9,
};

const DialogTemplate kModelTemplate = {
    .nID = IDT_MODEL,
    .pszCaption = "Model",
    .x = 20,
    .y = 10,
    .cx = 160,
    .cy = 100,
    .items = {
        {.nID = IDOK, .kind = ControlKind::DefPushButton, .pszText = "OK", .x = 100, .y = 80, .cx = 50, .cy = 14},
        {.nID = IDCANCEL, .kind = ControlKind::PushButton, .pszText = "Cancel", .x = 40, .y = 80, .cx = 50, .cy = 14},
        {.nID = IDC_SWATCH, .kind = ControlKind::OwnerDrawButton, .x = 4, .y = 8, .cx = 20, .cy = 16},
        {.nID = IDC_OTHER, .kind = ControlKind::OwnerDrawButton, .x = 28, .y = 8, .cx = 20, .cy = 16},
        {.nID = IDC_PLAIN, .kind = ControlKind::PushButton, .pszText = "Plain", .x = 52, .y = 8, .cx = 40, .cy = 14},
        {.nID = IDC_EDIT, .kind = ControlKind::Edit, .x = 4, .y = 40, .cx = 60, .cy = 12, .bGroup = true},
        // A radio group with a label between its buttons: only the radio buttons count.
        {.nID = IDC_RADIO_A, .kind = ControlKind::RadioButton, .pszText = "A", .x = 70, .y = 40, .cx = 30, .cy = 10,
         .bGroup = true},
        {.kind = ControlKind::Label, .pszText = "between", .x = 70, .y = 50, .cx = 30, .cy = 8},
        {.nID = IDC_RADIO_B, .kind = ControlKind::RadioButton, .pszText = "B", .x = 70, .y = 60, .cx = 30, .cy = 10},
        {.nID = IDC_AFTER, .kind = ControlKind::CheckBox, .pszText = "After", .x = 110, .y = 40, .cx = 40, .cy = 10,
         .bGroup = true},
    },
};

// A button that records how it is asked to draw, and draws its state as a colour.
class CRecordingButton : public CButton {
public:
    struct Draw {
        UINT action, state;
        UINT buttonState; // BM_GETSTATE while drawing
    };
    std::vector<Draw> draws;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        draws.push_back({dis->itemAction, dis->itemState, GetState()});
        CDC::FromHandle(dis->hDC)->FillSolidRect(&dis->rcItem, (dis->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 0, 255));
    }
};

class CModelDlg : public CDialog {
public:
    explicit CModelDlg(CWnd* parent = nullptr) : CDialog(&kModelTemplate, parent) {}
    CRecordingButton m_swatch;
    int m_nRadio = 1;
    std::vector<std::string> events;

    void OnSwatch() { events.push_back("clicked"); }
    void OnSwatchDouble() { events.push_back("double"); }
    void OnPlain() { events.push_back("plain"); }
    void OnShowWindow(BOOL bShow, UINT) { events.push_back(bShow ? "shown" : "hidden"); }
    LRESULT OnPing(WPARAM, LPARAM)
    {
        events.push_back("ping");
        return 0;
    }

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_SWATCH, m_swatch);
        DDX_Radio(pDX, IDC_RADIO_A, m_nRadio);
    }
};

BEGIN_MESSAGE_MAP(CModelDlg, CDialog)
    ON_BN_CLICKED(IDC_SWATCH, OnSwatch)
    ON_BN_DOUBLECLICKED(IDC_SWATCH, OnSwatchDouble)
    ON_BN_CLICKED(IDC_PLAIN, OnPlain)
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_PING, OnPing)
END_MESSAGE_MAP()

CRect WindowRect(CWnd* w)
{
    CRect r;
    w->GetWindowRect(&r);
    return r;
}

} // namespace

TEST(OwnerDraw, ClickDrawsPressedThenReleasedThenNotifies)
{
    CModelDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CModelDlg&>(base);
        ASSERT_EQ((std::vector<std::string>{"shown"}), dlg.events) << "shown once initialised";
        ASSERT_EQ(1u, dlg.m_swatch.draws.size()) << "painted when shown";
        EXPECT_EQ(ODA_DRAWENTIRE, dlg.m_swatch.draws[0].action);
        dlg.m_swatch.draws.clear();

        ASSERT_TRUE(UserClick(&dlg, IDC_SWATCH));
        const auto& draws = dlg.m_swatch.draws;
        // Focus arrives, pressed, released (and nothing more: nothing was invalidated).
        ASSERT_EQ(3u, draws.size());
        EXPECT_EQ(ODA_FOCUS, draws[0].action);
        EXPECT_EQ((UINT)ODS_FOCUS, draws[0].state);
        EXPECT_EQ(ODA_SELECT, draws[1].action);
        EXPECT_EQ((UINT)(ODS_SELECTED | ODS_FOCUS), draws[1].state);
        EXPECT_EQ((UINT)(BST_PUSHED | BST_FOCUS), draws[1].buttonState);
        EXPECT_EQ(ODA_SELECT, draws[2].action);
        EXPECT_EQ((UINT)ODS_FOCUS, draws[2].state);
        EXPECT_EQ((std::vector<std::string>{"shown", "clicked"}), dlg.events);
        EXPECT_EQ(RGB(0, 0, 255), dlg.m_swatch.GetDC()->GetPixel(5, 5)) << "the raster shows the last drawing";

        // Another button taking the focus redraws this one without it.
        dlg.m_swatch.draws.clear();
        UserClick(&dlg, IDC_OTHER);
        ASSERT_EQ(1u, dlg.m_swatch.draws.size());
        EXPECT_EQ(ODA_FOCUS, dlg.m_swatch.draws[0].action);
        EXPECT_EQ(0u, dlg.m_swatch.draws[0].state);

        dlg.m_swatch.draws.clear();
        dlg.events.clear();
        ASSERT_TRUE(UserDoubleClick(&dlg, IDC_SWATCH));
        EXPECT_EQ((std::vector<std::string>{"clicked", "double", "clicked"}), dlg.events);
        int pressed = 0;
        for (const auto& dr : dlg.m_swatch.draws) pressed += (dr.state & ODS_SELECTED) != 0;
        EXPECT_EQ(2, pressed) << "each press is drawn";

        // A button that is no longer owner-drawn is drawn by the system, and a double click
        // on it is two clicks.
        dlg.m_swatch.SetButtonStyle(BS_PUSHBUTTON, FALSE);
        EXPECT_EQ(ControlKind::PushButton, dlg.m_swatch.GetControlKind());
        dlg.m_swatch.draws.clear();
        dlg.events.clear();
        UserDoubleClick(&dlg, IDC_SWATCH);
        EXPECT_TRUE(dlg.m_swatch.draws.empty());
        EXPECT_EQ((std::vector<std::string>{"clicked", "clicked"}), dlg.events);
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), dlg.m_swatch.GetDC()->GetPixel(8, 8)) << "a plain face";
        dlg.m_swatch.SetButtonStyle(BS_OWNERDRAW);

        // BM_SETSTATE holds it down as the user does.
        dlg.m_swatch.draws.clear();
        dlg.m_swatch.SetState(TRUE);
        EXPECT_EQ((UINT)BST_PUSHED, dlg.m_swatch.GetState() & BST_PUSHED);
        ASSERT_EQ(1u, dlg.m_swatch.draws.size());
        EXPECT_EQ(RGB(255, 0, 0), dlg.m_swatch.GetDC()->GetPixel(5, 5));
        dlg.m_swatch.SetState(FALSE);
        dlg.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
}

TEST(WindowModel, ScreenGeometryFollowsTheTemplateAndTheParent)
{
    CWnd frame;
    ASSERT_TRUE(frame.Create(nullptr, "Host", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, CRect(100, 50, 700, 550), nullptr,
                             0));
    EXPECT_EQ(ControlKind::Frame, frame.GetControlKind());
    CModelDlg dlg(&frame);
    Driver d([&](CDialog& base) {
        auto& dlg = static_cast<CModelDlg&>(base);
        // The frame's client area starts inside its border and caption; the dialog lies at
        // its template position (20, 10 dialog units = 30, 16 pixels) in it.
        CPoint origin(100 + 3 + 30, 50 + 22 + 16);
        EXPECT_EQ(origin, WindowRect(&dlg).TopLeft());
        CRect swatch = WindowRect(dlg.GetDlgItem(IDC_SWATCH));
        EXPECT_EQ(CRect(origin.x + 3 + 6, origin.y + 22 + 13, origin.x + 3 + 6 + 30, origin.y + 22 + 13 + 26), swatch);
        CRect client;
        dlg.GetClientRect(&client);
        EXPECT_EQ(CRect(0, 0, 240, 163), client);

        CPoint p(5, 5);
        dlg.GetDlgItem(IDC_SWATCH)->ClientToScreen(&p);
        EXPECT_EQ(CPoint(swatch.left + 5, swatch.top + 5), p);
        dlg.ScreenToClient(&p);
        EXPECT_EQ(CPoint(6 + 5, 13 + 5), p);

        EXPECT_EQ(dlg.GetDlgItem(IDC_SWATCH), CWnd::WindowFromPoint(swatch.TopLeft()));
        EXPECT_EQ(&dlg, CWnd::WindowFromPoint(CPoint(swatch.right, swatch.top))) << "right edge is outside";
        EXPECT_EQ(&frame, CWnd::WindowFromPoint(CPoint(110, 500)));
        EXPECT_EQ(nullptr, CWnd::WindowFromPoint(CPoint(5000, 5000)));
        EXPECT_EQ(dlg.GetDlgItem(IDC_OTHER), dlg.ChildWindowFromPoint(CPoint(6 * 7 + 1, 13 + 1)));
        EXPECT_EQ(nullptr, dlg.ChildWindowFromPoint(CPoint(-1, 0)));
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}

TEST(WindowModel, ToolTipsComeFromTheWindowThatEnablesThem)
{
    static const char* const names[] = {"Swatch\nA swatch", "Other"};
    AfxRegisterStringResources(IDC_SWATCH, IDC_OTHER, [](UINT id) { return std::string(names[id - IDC_SWATCH]); });
    CModelDlg dlg;
    Driver d([](CDialog& dlg) {
        CPoint swatch = ControlCenter(&dlg, IDC_SWATCH);
        EXPECT_EQ("", UserToolTip(&dlg, swatch)) << "tooltips are off";
        CPoint at;
        GetCursorPos(&at);
        EXPECT_EQ(swatch, at) << "the cursor rests there";
        dlg.EnableToolTips(TRUE);
        EXPECT_EQ("A swatch", UserToolTip(&dlg, swatch)) << "the part after the line break";
        EXPECT_EQ("Other", UserToolTip(&dlg, ControlCenter(&dlg, IDC_OTHER)));
        EXPECT_EQ("", UserToolTip(&dlg, ControlCenter(&dlg, IDC_PLAIN))) << "no string resource";
        EXPECT_EQ("", UserToolTip(&dlg, CPoint(-50, -50)));
        std::string text;
        EXPECT_FALSE(AfxLoadString(IDC_PLAIN, text));
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}

TEST(WindowModel, PostedMessagesCloseAndFocusMoves)
{
    CModelDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CModelDlg&>(base);
        dlg.PostMessage(WM_PING);
        EXPECT_EQ((std::vector<std::string>{"shown"}), dlg.events) << "not yet";
        UserClick(&dlg, IDC_PLAIN);
        EXPECT_EQ((std::vector<std::string>{"shown", "ping", "plain"}), dlg.events) << "delivered before the user acts";

        // A control handle puts the focus on it with its text selected; 0 moves to the next.
        dlg.SetDlgItemText(IDC_EDIT, "abc");
        dlg.SendMessage(WM_NEXTDLGCTL, (WPARAM)dlg.GetDlgItem(IDC_EDIT)->m_hWnd, TRUE);
        ASSERT_EQ(IDC_EDIT, CWnd::GetFocus()->GetDlgCtrlID());
        int a, b;
        static_cast<CEdit*>(CWnd::GetFocus())->GetSel(a, b);
        EXPECT_EQ(3, b - a);
        dlg.SendMessage(WM_NEXTDLGCTL, 0, FALSE);
        EXPECT_EQ(IDC_AFTER, CWnd::GetFocus()->GetDlgCtrlID()) << "radio buttons and labels take no tab stop";
        EXPECT_TRUE(UserClose(&dlg));
        EXPECT_TRUE(dlg.IsEnded());
        EXPECT_FALSE(UserClose(&dlg));
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal()) << "the close box cancels";
}

TEST(WindowModel, RadioGroupsCountOnlyTheirRadioButtons)
{
    CModelDlg dlg;
    Driver d([](CDialog& base) {
        auto& dlg = static_cast<CModelDlg&>(base);
        EXPECT_EQ((UINT)BST_CHECKED, dlg.IsDlgButtonChecked(IDC_RADIO_B)) << "index 1 is the second radio button";
        UserClick(&dlg, IDC_RADIO_A);
        EXPECT_EQ(0u, dlg.IsDlgButtonChecked(IDC_RADIO_B)) << "the label does not end the group";
        EXPECT_EQ(0u, dlg.IsDlgButtonChecked(IDC_AFTER));
        UserClick(&dlg, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(0, dlg.m_nRadio);
}

TEST(Drawing, EdgesFramesAndMemoryDeviceContexts)
{
    CRasterDC dc(20, 12);
    CRect r(2, 2, 12, 10);
    dc.DrawEdge(&r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(CRect(4, 4, 10, 8), r) << "two lines taken off each side";
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), dc.GetPixel(2, 2));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), dc.GetPixel(3, 3));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), dc.GetPixel(11, 9));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dc.GetPixel(10, 8));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(5, 5));
    CRect s(0, 0, 20, 12);
    dc.DrawEdge(&s, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dc.GetPixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), dc.GetPixel(1, 1));

    // A picture drawn into a bitmap through a memory device context, then copied.
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&dc, 4, 3));
    EXPECT_FALSE(bmp.CreateBitmap(2, 2)) << "already made";
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    EXPECT_EQ(0, memory.GetDeviceCaps(HORZRES)) << "nothing selected, nothing to draw on";
    memory.SelectObject(&bmp);
    memory.FillSolidRect(1, 1, 10, 10, RGB(0, 200, 0));
    EXPECT_EQ(RGB(0, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(RGB(0, 200, 0), bmp.GetPixel(3, 2)) << "cut at the bitmap's edge";
    dc.BitBlt(15, 0, 4, 3, &memory, 0, 0, SRCCOPY);
    EXPECT_EQ(RGB(0, 200, 0), dc.GetPixel(18, 2));
    BITMAP info{};
    EXPECT_EQ((int)sizeof(BITMAP), bmp.GetBitmap(&info));
    EXPECT_EQ(4, info.bmWidth);
    EXPECT_EQ(12, info.bmWidthBytes);

    // Palette-relative colours show as themselves on a true colour device and as the
    // nearest palette entry on a palette device.
    LogPaletteOf<2> lp{0x300, 2, {{10, 20, 30, 0}, {250, 250, 250, 0}}};
    CPalette pal;
    pal.CreatePalette(lp.Get());
    CRasterDC device(2, 1);
    device.SelectPalette(&pal, FALSE);
    device.SetPixel(0, 0, PALETTERGB(12, 19, 33));
    EXPECT_EQ(RGB(12, 19, 33), device.GetPixel(0, 0));
    device.SetPaletteMode(true);
    device.SetPixel(1, 0, PALETTERGB(12, 19, 33));
    EXPECT_EQ(RGB(10, 20, 30), device.GetPixel(1, 0));
}

TEST(Drawing, BitmapsLoadFromTheirTemplates)
{
    static const BitmapTemplate arrow = {
        .nID = 31500, .cx = 3, .cy = 2, .rows = {"#.#", ".#"}, .key = {{'#', RGB(1, 2, 3)}, {'.', RGB(9, 9, 9)}}};
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(31500u));
    AfxRegisterBitmapTemplate(&arrow);
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadBitmap(31500u));
    EXPECT_EQ(RGB(1, 2, 3), bmp.GetPixel(0, 0));
    EXPECT_EQ(RGB(9, 9, 9), bmp.GetPixel(1, 0));
    EXPECT_EQ(RGB(1, 2, 3), bmp.GetPixel(1, 1));
    EXPECT_EQ(RGB(0, 0, 0), bmp.GetPixel(2, 1)) << "a short row leaves black";
    EXPECT_EQ(0xFFFFFFFFu, bmp.GetPixel(3, 0));
    EXPECT_FALSE(bmp.LoadBitmap(31500u)) << "already made";
    static const BitmapTemplate empty = {.nID = 31501};
    EXPECT_FALSE(CBitmap().LoadBitmap(&empty));
}

namespace {

// A host frame that collects the commands a bar passes on.
class CHostFrame : public CWnd {
public:
    std::vector<UINT> commands;
    void OnCommandRange(UINT nID) { commands.push_back(nID); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostFrame, CWnd)
    ON_CONTROL_RANGE(BN_CLICKED, 1, 0xFFFF, OnCommandRange)
END_MESSAGE_MAP()

class CTestBar : public CControlBar {
public:
    BOOL Make(CWnd* parent, DWORD style, UINT id) { return CreateToolBarWindow(parent, style, id); }
    CSize Layout(std::vector<TBBUTTON>& buttons, DWORD mode, int length, int& mru)
    {
        return CalcToolBarLayout(buttons.data(), (int)buttons.size(), CSize(22, 14), mode, length, mru);
    }
};

std::vector<TBBUTTON> Buttons(int n)
{
    std::vector<TBBUTTON> b((size_t)n);
    for (int i = 0; i < n; ++i) b[(size_t)i] = TBBUTTON{0, 100 + i, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0};
    return b;
}

std::vector<int> Wraps(const std::vector<TBBUTTON>& b)
{
    std::vector<int> w;
    for (size_t i = 0; i < b.size(); ++i)
        if (b[i].fsState & TBSTATE_WRAP) w.push_back((int)i);
    return w;
}

} // namespace

TEST(ControlBar, ToolBarWindowKeepsBarStylesAndPassesCommandsOn)
{
    CHostFrame frame;
    ASSERT_TRUE(frame.Create(nullptr, "Host", WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    CTestBar bar;
    ASSERT_TRUE(bar.Make(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | 0x00800000, AFX_IDW_TOOLBAR));
    EXPECT_EQ(ControlKind::ToolBar, bar.GetControlKind());
    EXPECT_EQ(CBRS_TOP | CBRS_TOOLTIPS | CBRS_HIDE_INPLACE, bar.m_dwStyle) << "a frame's own toolbar hides in place";
    EXPECT_EQ(0u, bar.GetStyle() & (CBRS_TOP | CBRS_TOOLTIPS)) << "the window keeps none of the bar's bits";
    EXPECT_TRUE(bar.GetStyle() & CCS_NORESIZE);
    EXPECT_TRUE(bar.AreToolTipsEnabled());
    CTestBar other;
    ASSERT_TRUE(other.Make(&frame, WS_CHILD | CBRS_TOP, 0xE801));
    EXPECT_EQ(CBRS_TOP, other.m_dwStyle);

    CButton b;
    ASSERT_TRUE(b.Create("Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 20, 10), &bar, 4321));
    EXPECT_EQ(&bar, b.GetParent());
    EXPECT_EQ(&frame, bar.GetOwner());
    ASSERT_TRUE(UserClick(&bar, 4321));
    EXPECT_EQ(std::vector<UINT>{4321}, frame.commands) << "the bar does not handle it, its owner does";
}

TEST(ControlBar, ToolBarLayoutWrapsRowsToTheLength)
{
    CHostFrame frame;
    frame.Create(nullptr, "Host", WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0);
    CTestBar bar;
    bar.Make(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 0xE801);
    // Margins: 6 left, 2 right, 2 top, 2 bottom, and the bottom border line of a top bar.
    auto b = Buttons(5);
    int mru = 0;
    EXPECT_EQ(CSize(5 * 22 + 8, 14 + 6), bar.Layout(b, LM_HORZ, -1, mru)) << "one row docked along the top";
    EXPECT_TRUE(Wraps(b).empty());
    EXPECT_EQ(CSize(22 + 4, 5 * 14 + 10), bar.Layout(b, 0, -1, mru)) << "one column docked along a side";
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), Wraps(b));
    // Room for two and a half buttons: rows of two.
    EXPECT_EQ(CSize(2 * 22 + 8, 3 * 14 + 6), bar.Layout(b, LM_HORZ, 55, mru));
    EXPECT_EQ((std::vector<int>{1, 3}), Wraps(b));
    // A hidden button takes no room; a height asked for chooses the columns.
    b[0].fsState |= TBSTATE_HIDDEN;
    EXPECT_EQ(CSize(2 * 22 + 8, 2 * 14 + 6), bar.Layout(b, LM_HORZ | LM_LENGTHY, 40, mru));
    EXPECT_EQ(CSize(4 * 22 + 8, 14 + 6), bar.Layout(b, LM_HORZ | LM_LENGTHY, 28, mru)) << "one row fits";
    // A floating bar keeps the narrowest width that gives the rows of its last width.
    bar.m_dwStyle |= CBRS_FLOATING;
    mru = 3 * 22;
    EXPECT_EQ(CSize(2 * 22 + 8, 2 * 14 + 6), bar.Layout(b, LM_HORZ | LM_MRUWIDTH | LM_COMMIT, -1, mru));
    EXPECT_EQ(2 * 22, mru);
    bar.m_dwStyle &= ~CBRS_FLOATING;
    EXPECT_EQ(CSize(32767, 14 + 6), bar.Layout(b, LM_HORZ | LM_STRETCH, -1, mru)) << "stretched across the frame";
}

TEST(ControlBar, WrapPrefersSeparators)
{
    std::vector<TBBUTTON> b = Buttons(4);
    b.insert(b.begin() + 1, TBBUTTON{8, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0, 0}, 0, 0});
    EXPECT_EQ(2, ToolBarWrap(b.data(), (int)b.size(), 3 * 22, CSize(22, 14)));
    EXPECT_EQ(std::vector<int>{1}, Wraps(b)) << "the row breaks at the separator";
    EXPECT_EQ(CSize(3 * 22, 2 * 14 + 8 * 2 / 3), ToolBarCalcSize(b.data(), (int)b.size(), CSize(22, 14)));
    EXPECT_EQ(CSize(), ToolBarCalcSize(nullptr, 3, CSize(22, 14)));
}

TEST(RuntimeClass, DynamicallyCreatableClassesMakeObjects)
{
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CWnd)->CreateObject()) << "not creatable";
    EXPECT_TRUE(RUNTIME_CLASS(CWnd)->IsDerivedFrom(RUNTIME_CLASS(CCmdTarget)));
}
