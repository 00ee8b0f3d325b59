#include "ui/clr_toolbar.h"

#include "core/thread_table.h"
#include "ui/button_frames.h"
#include "ui/palettes.h"
#include "ui/resources.h"

#include <algorithm>
#include <cstring>

int CClrToolBar::s_nPaletteType = -1;

// ---------------------------------------------------------------- CClrBtn

IMPLEMENT_DYNCREATE(CClrBtn, CColorButton)

void CClrBtn::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CColorButton::DrawItem(lpDIS);
    if (IsDrawnPressed(lpDIS) && m_pToolBar) m_pToolBar->ChooseColor(this);
}

INT_PTR CClrBtn::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    CRect rc;
    GetClientRect(&rc);
    if (!rc.PtInRect(point) || m_nMasterIndex < 0 || m_nMasterIndex >= kThreadCount) return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = kThreadStringBase + (UINT)m_nMasterIndex;
        pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return GetDlgCtrlID();
}

// ---------------------------------------------------------------- CClrToolBar

IMPLEMENT_DYNAMIC(CClrToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CClrToolBar, CControlBar)
    ON_WM_NCCREATE()
END_MESSAGE_MAP()

CClrToolBar::CClrToolBar()
{
    std::memset(m_fsWrap, 0, sizeof m_fsWrap);
    for (int i = 0; i < kMaxButtons; ++i) {
        m_Buttons[i].m_nPosition = i;
        m_Buttons[i].m_pToolBar = this;
    }
}

CClrToolBar::~CClrToolBar()
{
    // The swatches go first, while the bar they report to still exists.
    for (CClrBtn& b : m_Buttons) b.DestroyWindow();
}

BOOL CClrToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!CreateToolBarWindow(pParentWnd, dwStyle, nID)) return FALSE;
    EnableToolTips(TRUE);
    for (int i = 0; i < kMaxButtons; ++i) {
        CRect rc(kButtonWidth * i, 0, kButtonWidth * (i + 1), kButtonHeight);
        if (!m_Buttons[i].Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rc, this, kFirstID + i)) return FALSE;
    }
    // Docked along the frame's edge until the framework says otherwise.
    CalcLayout(LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    return TRUE;
}

BOOL CClrToolBar::OnNcCreate(LPCREATESTRUCT)
{
    if (CWnd* owner = GetOwner()) SendMessage(TB_SETPARENT, (WPARAM)owner->m_hWnd);
    SendMessage(TB_BUTTONSTRUCTSIZE, kToolBarButtonStructSize);
    return TRUE;
}

void CClrToolBar::SetButtons(const UINT* pMasterIndexes, int nCount, int nSource, CDocument* pDoc,
                             ColorChangedProc pfn)
{
    m_nSource = nSource;
    m_pDocument = pDoc;
    m_pfnColorChanged = pfn;
    nCount = std::clamp(nCount, 0, (int)kMaxButtons);
    if (!pDoc) return;
    m_nButtons = nCount;
    for (int i = 0; i < nCount; ++i) {
        CClrBtn& b = m_Buttons[i];
        b.EnableWindow(TRUE);
        b.ShowWindow(SW_SHOW);
        if (pMasterIndexes) {
            // An index past the table shows black, without a name or tooltip.
            int master = pMasterIndexes[i] < (UINT)kThreadCount ? (int)pMasterIndexes[i] : -1;
            b.SetFaceColor(GetThreadColor(master));
            b.SetName(GetThreadName(master));
            b.m_nPosition = i;
            b.m_nMasterIndex = master;
            b.Invalidate();
        }
    }
    for (int i = nCount; i < kMaxButtons; ++i) {
        CClrBtn& b = m_Buttons[i];
        b.ShowWindow(SW_HIDE);
        b.EnableWindow(FALSE);
        b.m_nPosition = i;
        b.m_pToolBar = this;
    }
}

CClrBtn* CClrToolBar::GetButton(int i) { return i >= 0 && i < kMaxButtons ? &m_Buttons[i] : nullptr; }

void CClrToolBar::ChooseColor(CClrBtn* pSwatch)
{
    // A swatch repainted pressed while its dialog is open does not open another.
    if (!pSwatch || m_bChoosing) return;
    struct Choosing {
        bool& flag;
        explicit Choosing(bool& f) : flag(f) { flag = true; }
        ~Choosing() { flag = false; }
    } choosing(m_bChoosing);
    CColorDlg dlg(this);
    dlg.m_nPaletteType = s_nPaletteType != -1 ? s_nPaletteType : PaletteTypeForSource(m_nSource);
    if (dlg.DoModal() != IDOK) return;
    // The dialog's chosen button; nothing happens for an ID that names none of its buttons.
    int k = iLastColorButtonClicked - IDC_COLOR_FIRST;
    if (k < 0 || k >= CColorDlg::kButtons) return;
    const CColorButton& chosen = dlg.m_Buttons[k];
    int master = chosen.m_nMasterIndex;
    pSwatch->SetFaceColor(chosen.GetFaceColor());
    pSwatch->SetName(chosen.m_szName);
    pSwatch->m_nMasterIndex = master;
    if (m_pfnColorChanged) m_pfnColorChanged(m_pDocument, pSwatch->m_nPosition, master);
    pSwatch->Invalidate();
    s_nPaletteType = dlg.m_nPaletteType;
}

int CClrToolBar::GetButtonData(TBBUTTON* pData)
{
    int n = std::clamp(m_nButtons, 0, (int)kMaxButtons);
    for (int i = 0; i < n; ++i) {
        bool shown = (m_Buttons[i].GetStyle() & WS_VISIBLE) != 0;
        pData[i] = TBBUTTON{0, kFirstID + i, (BYTE)((shown ? TBSTATE_ENABLED : TBSTATE_HIDDEN) | m_fsWrap[i]),
                            TBSTYLE_BUTTON, {0, 0}, 0, 0};
    }
    return n;
}

CSize CClrToolBar::CalcSize(TBBUTTON* pData, int nCount)
{
    return ToolBarCalcSize(pData, nCount, CSize(kButtonWidth, kButtonHeight));
}

int CClrToolBar::WrapToolBar(TBBUTTON* pData, int nCount, int nWidth)
{
    return ToolBarWrap(pData, nCount, nWidth, CSize(kButtonWidth, kButtonHeight));
}

void CClrToolBar::SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert)
{
    ToolBarSizeTo(pData, nCount, nLength, bVert, CSize(kButtonWidth, kButtonHeight));
}

bool CClrToolBar::IsWrapped(int i) const { return i >= 0 && i < kMaxButtons && (m_fsWrap[i] & TBSTATE_WRAP); }

CSize CClrToolBar::CalcLayout(DWORD dwMode, int nLength)
{
    TBBUTTON data[kMaxButtons];
    int n = GetButtonData(data);
    int mru = m_nMRUWidth > 0 ? m_nMRUWidth : m_nColumns * kButtonWidth;
    CSize size = CalcToolBarLayout(data, n, CSize(kButtonWidth, kButtonHeight), dwMode, nLength, mru);
    if (dwMode & LM_COMMIT) {
        if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC)) m_nMRUWidth = mru;
        // The bar takes the size (across its parent at most, when stretched) and the swatches
        // their places row by row inside the margins.
        CRect bar;
        GetWindowRect(&bar);
        if (CWnd* parent = GetParent()) {
            parent->ScreenToClient(&bar);
            CRect client;
            parent->GetClientRect(&client);
            MoveWindow(bar.left, bar.top, std::min(size.cx, client.Width()), std::min(size.cy, client.Height()));
        } else {
            MoveWindow(bar.left, bar.top, size.cx, size.cy);
        }
        CRect inside;
        CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
        int x = inside.left, y = inside.top;
        for (int i = 0; i < n; ++i) {
            m_fsWrap[i] = data[i].fsState & TBSTATE_WRAP;
            if (data[i].fsState & TBSTATE_HIDDEN) continue;
            m_Buttons[i].MoveWindow(x, y, kButtonWidth, kButtonHeight);
            x += kButtonWidth;
            if (m_fsWrap[i]) {
                x = inside.left;
                y += kButtonHeight;
            }
        }
    }
    return size;
}

CSize CClrToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0));
}

CSize CClrToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && !(dwMode & LM_MRUWIDTH) && !(dwMode & LM_COMMIT) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    return CalcLayout(dwMode, nLength);
}
