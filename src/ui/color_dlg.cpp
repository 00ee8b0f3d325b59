#include "ui/color_dlg.h"

#include "core/settings.h"
#include "core/thread_table.h"
#include "ui/button_frames.h"
#include "ui/palettes.h"
#include "ui/resources.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

int iLastColorButtonClicked = 0;
int CColorButton::idClicked = 0;

namespace {

// The palette-relative flag of a face colour.
constexpr COLORREF kPaletteRelative = 0x02000000u;
// The style bit that takes a colour button out of the palette's buttons.
constexpr UINT kInactiveBit = 0x4;

} // namespace

// ---------------------------------------------------------------- CColorButton

IMPLEMENT_DYNCREATE(CColorButton, CButton)

CColorButton::CColorButton() : m_szName{}, m_nState(0), m_nMasterIndex(0), m_crFace(kPaletteRelative) {}

void CColorButton::SetFaceColor(COLORREF crFace) { m_crFace = crFace | kPaletteRelative; }

void CColorButton::SetName(const char* pszName)
{
    std::memset(m_szName, 0, sizeof m_szName);
    if (pszName) std::strncpy(m_szName, pszName, sizeof m_szName - 1);
}

void CColorButton::PreSubclassWindow() { EnableToolTips(TRUE); }

void CColorButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    DrawingPaletteScope palette(pDC);
    if (IsDrawnPressed(lpDIS)) idClicked = iLastColorButtonClicked = (int)lpDIS->CtlID;
    DrawButtonFrames(pDC, lpDIS, GetState(), [&](const CRect& face) { pDC->FillSolidRect(&face, m_crFace); });
}

INT_PTR CColorButton::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    CRect rc;
    GetClientRect(&rc);
    if (!m_szName[0] || !rc.PtInRect(point)) return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)m_hWnd;
        pTI->uFlags |= TTF_IDISHWND;
        // The framework frees the text.
        size_t n = std::strlen(m_szName) + 1;
        pTI->lpszText = static_cast<char*>(std::malloc(n));
        if (pTI->lpszText) std::memcpy(pTI->lpszText, m_szName, n);
    }
    return GetDlgCtrlID();
}

// ---------------------------------------------------------------- CColorDlg

BEGIN_MESSAGE_MAP(CColorDlg, CDialog)
    ON_CBN_CLOSEUP(IDC_PALETTE_TYPE, OnPaletteCloseUp)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_COLOR_FIRST, IDC_COLOR_LAST, OnColorClicked)
    ON_CONTROL_RANGE(BN_DOUBLECLICKED, IDC_COLOR_FIRST, IDC_COLOR_LAST, OnColorDoubleClicked)
    ON_WM_TIMER()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CColorDlg::CColorDlg(CWnd* pParent)
    : CDialog(GetLibraryDialogTemplate(IDD), pParent), m_nPaletteType(-1), m_bOfferPalette(1),
      m_nActiveButtons(kButtons), m_nTimer(0)
{
}

void CColorDlg::SetPalette()
{
    const ThreadPalette& palette = PaletteForType(m_nPaletteType, GetSetup()->m_nSewColors);
    int count = std::min(palette.nCount, (int)kButtons);
    for (int i = 0; i < kButtons; ++i) {
        CColorButton& b = m_Buttons[i];
        UINT style = b.GetStyle() & 0xFF;
        if (i < count) {
            int master = palette.pIndexes[i];
            b.SetFaceColor(GetThreadColor(master));
            b.m_nMasterIndex = master;
            b.SetName(GetThreadName(master));
            b.SendMessage(BM_SETSTYLE, style & ~kInactiveBit, FALSE);
        } else {
            b.SendMessage(BM_SETSTYLE, style | kInactiveBit, FALSE);
            b.SetName(nullptr);
        }
    }
    m_nActiveButtons = count;
    Invalidate();
}

void CColorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NEW_COLOR, m_edNewColor);
    DDX_Control(pDX, IDC_CHANGE_TO, m_edChangeTo);
    DDX_CBIndex(pDX, IDC_PALETTE_TYPE, m_nPaletteType);
    int active = std::clamp(m_nActiveButtons, 0, (int)kButtons);
    for (int i = 0; i < active; ++i) DDX_Control(pDX, IDC_COLOR_FIRST + i, m_Buttons[i]);
    SetPalette();
}

BOOL CColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_bOfferPalette) {
        GetDlgItem(IDC_PALETTE_TYPE)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_PALETTE_LABEL)->ShowWindow(SW_HIDE);
    }
    m_nTimer = SetTimer(kTimerID, kTimerPeriod, nullptr);
    return TRUE;
}

void CColorDlg::OnPaletteCloseUp()
{
    UpdateData(TRUE);
    // The colour chosen belonged to the palette before.
    CWnd* ok = GetDlgItem(IDOK);
    if (ok && ok->IsWindowEnabled()) ok->EnableWindow(FALSE);
}

int CColorDlg::ChosenButton(UINT nID) const
{
    // A click chooses the button it drew pressed; a button the palette left empty was not
    // drawn and chooses nothing.
    int k = iLastColorButtonClicked - IDC_COLOR_FIRST;
    if ((int)nID != iLastColorButtonClicked || k < 0 || k >= std::min(m_nActiveButtons, (int)kButtons)) return -1;
    return k;
}

void CColorDlg::OnColorClicked(UINT nID)
{
    int k = ChosenButton(nID);
    if (k < 0) return;
    m_edNewColor.ShowWindow(SW_HIDE);
    m_edNewColor.SetSel(0, -1);
    m_edNewColor.ReplaceSel(m_Buttons[k].m_szName);
    m_edNewColor.ShowWindow(SW_SHOW);
    CWnd* ok = GetDlgItem(IDOK);
    if (ok && !ok->IsWindowEnabled()) ok->EnableWindow(TRUE);
}

void CColorDlg::OnColorDoubleClicked(UINT nID)
{
    if (ChosenButton(nID) >= 0) EndDialog(IDOK);
}

void CColorDlg::OnTimer(UINT_PTR)
{
    CPoint pt;
    GetCursorPos(&pt);
    int active = std::clamp(m_nActiveButtons, 0, (int)kButtons);
    for (int i = 0; i < active; ++i) {
        if (!m_Buttons[i].m_hWnd) continue;
        CRect rc;
        m_Buttons[i].GetWindowRect(&rc);
        if (pt.x >= rc.left && pt.x <= rc.right && pt.y >= rc.top && pt.y <= rc.bottom) {
            m_edChangeTo.SetWindowText(m_Buttons[i].m_szName);
            break;
        }
    }
}

void CColorDlg::OnClose()
{
    KillTimer(m_nTimer);
    CDialog::OnClose();
}
