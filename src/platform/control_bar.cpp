// Control bars and the framework's toolbar layout.
#include "platform/control_bar.h"

#include "platform/document.h"
#include "platform/window_state.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CControlBar, CWnd)

namespace {

bool Hidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }
bool Separator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }

} // namespace

CSize ToolBarCalcSize(const TBBUTTON* pData, int nCount, CSize sizeButton)
{
    CPoint cur(0, 0);
    CSize result(0, 0);
    for (int i = 0; pData && i < nCount; ++i) {
        const TBBUTTON& b = pData[i];
        if (Hidden(b)) continue;
        if (Separator(b)) {
            // A separator that ends a row adds to the height, any other to the width.
            if (b.fsState & TBSTATE_WRAP) result.cy = std::max(cur.y + sizeButton.cy + b.iBitmap * 2 / 3, result.cy);
            else result.cx = std::max(cur.x + b.iBitmap, result.cx);
            cur.x += b.iBitmap;
        } else {
            result.cx = std::max(cur.x + sizeButton.cx, result.cx);
            result.cy = std::max(cur.y + sizeButton.cy, result.cy);
            cur.x += sizeButton.cx;
        }
        if (b.fsState & TBSTATE_WRAP) {
            cur.x = 0;
            cur.y += sizeButton.cy;
            if (Separator(b)) cur.y += b.iBitmap * 2 / 3;
        }
    }
    return result;
}

int ToolBarWrap(TBBUTTON* pData, int nCount, int nWidth, CSize sizeButton)
{
    int rows = 0;
    int x = 0;
    for (int i = 0; pData && i < nCount; ++i) {
        pData[i].fsState &= (BYTE)~TBSTATE_WRAP;
        if (Hidden(pData[i])) continue;
        int dx = Separator(pData[i]) ? pData[i].iBitmap : sizeButton.cx;
        if (x + dx <= nWidth) {
            x += dx;
            continue;
        }
        // The row is full: wrap at the last shown separator of the row, else at the button
        // before this one (never at a hidden one or a control in the bar).
        int at = -1;
        for (int j = i; at < 0 && j >= 0 && !(pData[j].fsState & TBSTATE_WRAP); --j)
            if (Separator(pData[j]) && pData[j].idCommand == 0 && !Hidden(pData[j])) at = j;
        for (int j = i - 1; at < 0 && j >= 0 && !(pData[j].fsState & TBSTATE_WRAP); --j)
            if (!Hidden(pData[j]) && !(Separator(pData[j]) && pData[j].idCommand != 0)) at = j;
        if (at < 0) {
            x += dx;
            continue;
        }
        i = at;
        x = 0;
        pData[at].fsState |= TBSTATE_WRAP;
        ++rows;
    }
    return rows + 1;
}

void ToolBarSizeTo(TBBUTTON* pData, int nCount, int nLength, BOOL bVert, CSize sizeButton)
{
    if (!pData || nCount <= 0) return;
    if (!bVert) {
        // The narrowest width that still gives the rows nLength gives.
        int nMax = nLength;
        int nTarget = ToolBarWrap(pData, nCount, nMax, sizeButton);
        int nMin = 0;
        int nCurrent = ToolBarWrap(pData, nCount, nMin, sizeButton);
        if (nCurrent != nTarget) {
            while (nMin < nMax) {
                int nMid = (nMin + nMax) / 2;
                nCurrent = ToolBarWrap(pData, nCount, nMid, sizeButton);
                if (nCurrent == nTarget) {
                    nMax = nMid;
                } else {
                    if (nMin == nMid) {
                        ToolBarWrap(pData, nCount, nMax, sizeButton);
                        break;
                    }
                    nMin = nMid;
                }
            }
        }
        CSize size = ToolBarCalcSize(pData, nCount, sizeButton);
        ToolBarWrap(pData, nCount, size.cx, sizeButton);
        return;
    }
    // Vertically: the width whose height is nLength, between one column and one row.
    ToolBarWrap(pData, nCount, 0, sizeButton);
    CSize sizeMin = ToolBarCalcSize(pData, nCount, sizeButton);
    ToolBarWrap(pData, nCount, 32767, sizeButton);
    CSize sizeMax = ToolBarCalcSize(pData, nCount, sizeButton);
    for (int guard = 0; guard < 64 && sizeMin.cx < sizeMax.cx; ++guard) {
        CSize sizeMid;
        sizeMid.cx = (sizeMin.cx + sizeMax.cx) / 2;
        ToolBarWrap(pData, nCount, sizeMid.cx, sizeButton);
        sizeMid = ToolBarCalcSize(pData, nCount, sizeButton);
        if (nLength < sizeMid.cy) {
            if (sizeMin == sizeMid) {
                ToolBarWrap(pData, nCount, sizeMax.cx, sizeButton);
                return;
            }
            sizeMin = sizeMid;
        } else if (nLength > sizeMid.cy) {
            if (sizeMax == sizeMid) return;
            sizeMax = sizeMid;
        } else {
            return;
        }
    }
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += 2;
    if (m_dwStyle & CBRS_BORDER_TOP) rect.top += 2;
    if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= 2;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= 2;
    // Docked along the side, the margins turn with the bar.
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

int CControlBar::GetButtonStructSize() const { return m_hWnd ? m_hWnd->nButtonStructSize : 0; }

BOOL CControlBar::CreateToolBarWindow(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == AFX_IDW_TOOLBAR) m_dwStyle |= CBRS_HIDE_INPLACE;
    DWORD windowStyle = (dwStyle & ~(DWORD)CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    if (!Create(TOOLBARCLASSNAME, nullptr, windowStyle, CRect(), pParentWnd, nID)) return FALSE;
    if (m_dwStyle & CBRS_TOOLTIPS) EnableToolTips(TRUE);
    return TRUE;
}

CSize CControlBar::CalcToolBarLayout(TBBUTTON* pData, int nCount, CSize sizeButton, DWORD dwMode, int nLength,
                                     int& nMRUWidth)
{
    CSize result(0, 0);
    if (nCount > 0) {
        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
            if (dynamic && (dwMode & LM_MRUWIDTH)) {
                ToolBarSizeTo(pData, nCount, nMRUWidth, FALSE, sizeButton);
            } else if (dynamic && (dwMode & LM_HORZDOCK)) {
                ToolBarSizeTo(pData, nCount, 32767, FALSE, sizeButton);
            } else if (dynamic && (dwMode & LM_VERTDOCK)) {
                ToolBarSizeTo(pData, nCount, 0, FALSE, sizeButton);
            } else if (dynamic && nLength != -1) {
                CRect inside;
                CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
                BOOL bVert = (dwMode & LM_LENGTHY) != 0;
                int len = nLength + (bVert ? inside.Height() : inside.Width());
                ToolBarSizeTo(pData, nCount, len, bVert, sizeButton);
            } else if (dynamic && (m_dwStyle & CBRS_FLOATING)) {
                ToolBarSizeTo(pData, nCount, nMRUWidth, FALSE, sizeButton);
            } else {
                ToolBarSizeTo(pData, nCount, (dwMode & LM_HORZ) ? 32767 : 0, FALSE, sizeButton);
            }
        }
        result = ToolBarCalcSize(pData, nCount, sizeButton);
        if ((dwMode & LM_COMMIT) && (m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
            nMRUWidth = result.cx;
    }
    // The margins and borders around the buttons, and at least what a fixed bar takes.
    CRect inside;
    CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
    result.cy -= inside.Height();
    result.cx -= inside.Width();
    CSize fixed = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    result.cx = std::max(result.cx, fixed.cx);
    result.cy = std::max(result.cy, fixed.cy);
    return result;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) return 0;
        CWnd* owner = GetOwner();
        return owner && owner != this ? owner->SendMessage(message, wParam, lParam) : 0;
    }
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result)) return result;
        CWnd* owner = GetOwner();
        return owner && owner != this ? owner->SendMessage(message, wParam, lParam) : 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
