// The system's controls: what buttons, edits, combo and list boxes and toolbar windows do
// with the messages they know, and the classes over them.
#include "platform/control_bar.h"
#include "platform/window_state.h"

#include <algorithm>
#include <cstring>

using namespace wndmodel;

namespace {

// The line starts of an edit's text.
std::vector<std::pair<size_t, size_t>> SplitLines(const std::string& t)
{
    std::vector<std::pair<size_t, size_t>> lines;
    size_t start = 0;
    for (size_t i = 0; i <= t.size(); ++i) {
        if (i == t.size() || t[i] == '\n') {
            size_t end = i;
            if (end > start && t[end - 1] == '\r') --end;
            lines.push_back({start, end});
            start = i + 1;
        }
    }
    return lines;
}

} // namespace

LRESULT wndmodel::ControlProc(WindowState* s, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BM_GETCHECK: return s->IsButton() ? s->nCheck : 0;
    case BM_SETCHECK:
        if (s->IsButton()) s->nCheck = (int)wParam;
        return 0;
    case BM_GETSTATE:
        if (!s->IsButton()) return 0;
        return s->nCheck | (s->bPushed ? BST_PUSHED : 0) | (Focus() == s ? BST_FOCUS : 0);
    case BM_SETSTATE:
        if (s->IsButton() && (wParam != 0) != s->bPushed) {
            s->bPushed = wParam != 0;
            if (s->IsOwnerDrawn()) DrawOwnerButton(s, ODA_SELECT);
            else s->bNeedsPaint = true;
        }
        return 0;
    case BM_SETSTYLE:
        // The low word holds the button's type, which says how it is drawn and behaves.
        if (s->IsButton()) {
            s->dwStyle = (s->dwStyle & 0xFFFF0000u) | LOWORD(wParam);
            s->kind = KindOfButtonStyle(s->dwStyle);
            if (LOWORD(lParam)) {
                ++s->nInvalidated;
                s->bNeedsPaint = true;
            }
        }
        return 0;
    case TB_SETPARENT: {
        if (s->kind != ControlKind::ToolBar) return 0;
        HWND old = s->pOwner;
        s->pOwner = reinterpret_cast<HWND>(wParam);
        return (LRESULT)old;
    }
    case TB_BUTTONSTRUCTSIZE:
        if (s->kind == ControlKind::ToolBar) s->nButtonStructSize = (int)wParam;
        return 0;
    default: return 0;
    }
}

// ---------------------------------------------------------------- controls

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CButton::Create(const char* lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

int CButton::GetCheck() const { return m_hWnd ? m_hWnd->nCheck : 0; }

void CButton::SetCheck(int nCheck)
{
    if (m_hWnd) m_hWnd->nCheck = nCheck;
}

UINT CButton::GetState() const { return (UINT)const_cast<CButton*>(this)->SendMessage(BM_GETSTATE); }

void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, bHighlight); }

UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFF; }

void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

int CEdit::GetLine(int nIndex, char* lpszBuffer, int nMaxLength) const
{
    if (!m_hWnd || !lpszBuffer || nMaxLength <= 0) return 0;
    auto lines = SplitLines(m_hWnd->text);
    if (nIndex < 0 || (size_t)nIndex >= lines.size()) return 0;
    size_t n = std::min(lines[(size_t)nIndex].second - lines[(size_t)nIndex].first, (size_t)nMaxLength);
    std::memcpy(lpszBuffer, m_hWnd->text.data() + lines[(size_t)nIndex].first, n);
    return (int)n;
}

int CEdit::GetLineCount() const { return m_hWnd ? (int)SplitLines(m_hWnd->text).size() : 0; }

int CEdit::LineLength(int nLine) const
{
    if (!m_hWnd) return 0;
    size_t at = nLine < 0 ? (size_t)m_hWnd->nSelStart : (size_t)nLine;
    for (const auto& l : SplitLines(m_hWnd->text))
        if (at <= l.second) return (int)(l.second - l.first);
    return 0;
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL)
{
    if (!m_hWnd) return;
    int len = (int)m_hWnd->text.size();
    if (nStartChar < 0) {
        m_hWnd->nSelStart = m_hWnd->nSelEnd = len;
        return;
    }
    if (nEndChar < 0 || nEndChar > len) nEndChar = len;
    if (nStartChar > len) nStartChar = len;
    m_hWnd->nSelStart = std::min(nStartChar, nEndChar);
    m_hWnd->nSelEnd = std::max(nStartChar, nEndChar);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    nStartChar = m_hWnd ? m_hWnd->nSelStart : 0;
    nEndChar = m_hWnd ? m_hWnd->nSelEnd : 0;
}

void CEdit::ReplaceSel(const char* lpszNewText, BOOL)
{
    if (!m_hWnd) return;
    std::string& t = m_hWnd->text;
    size_t a = std::min((size_t)m_hWnd->nSelStart, t.size()), b = std::min((size_t)m_hWnd->nSelEnd, t.size());
    std::string add = lpszNewText ? lpszNewText : "";
    t.replace(a, b - a, add);
    m_hWnd->nSelStart = m_hWnd->nSelEnd = (int)(a + add.size());
}

void CEdit::LimitText(int nChars)
{
    if (m_hWnd) m_hWnd->nLimitText = nChars > 0 ? nChars : 0;
}

int CEdit::GetLimitText() const { return m_hWnd ? m_hWnd->nLimitText : 0; }

int CListControl::AddString(const char* lpszString) { return InsertString(-1, lpszString); }

int CListControl::InsertString(int nIndex, const char* lpszString)
{
    if (!m_hWnd) return CB_ERR;
    auto& items = m_hWnd->items;
    if (nIndex < 0 || (size_t)nIndex > items.size()) nIndex = (int)items.size();
    items.insert(items.begin() + nIndex, lpszString ? lpszString : "");
    m_hWnd->itemData.insert(m_hWnd->itemData.begin() + nIndex, 0);
    if (m_hWnd->nCurSel >= nIndex) ++m_hWnd->nCurSel;
    return nIndex;
}

int CListControl::DeleteString(UINT nIndex)
{
    if (!m_hWnd || nIndex >= m_hWnd->items.size()) return CB_ERR;
    m_hWnd->items.erase(m_hWnd->items.begin() + nIndex);
    m_hWnd->itemData.erase(m_hWnd->itemData.begin() + nIndex);
    if (m_hWnd->nCurSel == (int)nIndex) SelectItem(m_hWnd, -1);
    else if (m_hWnd->nCurSel > (int)nIndex) --m_hWnd->nCurSel;
    return (int)m_hWnd->items.size();
}

void CListControl::ResetContent()
{
    if (!m_hWnd) return;
    m_hWnd->items.clear();
    m_hWnd->itemData.clear();
    SelectItem(m_hWnd, -1);
    m_hWnd->nTopIndex = 0;
}

int CListControl::GetCount() const { return m_hWnd ? (int)m_hWnd->items.size() : CB_ERR; }
int CListControl::GetCurSel() const { return m_hWnd ? m_hWnd->nCurSel : CB_ERR; }

int CListControl::SetCurSel(int nSelect)
{
    if (!m_hWnd) return CB_ERR;
    SelectItem(m_hWnd, nSelect);
    return m_hWnd->nCurSel >= 0 ? m_hWnd->nCurSel : CB_ERR;
}

int CListControl::GetItemText(int nIndex, std::string& rString) const
{
    if (!m_hWnd || nIndex < 0 || (size_t)nIndex >= m_hWnd->items.size()) {
        rString.clear();
        return CB_ERR;
    }
    rString = m_hWnd->items[(size_t)nIndex];
    return (int)rString.size();
}

DWORD_PTR CListControl::GetItemData(int nIndex) const
{
    if (!m_hWnd || nIndex < 0 || (size_t)nIndex >= m_hWnd->itemData.size()) return (DWORD_PTR)CB_ERR;
    return m_hWnd->itemData[(size_t)nIndex];
}

int CListControl::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    if (!m_hWnd || nIndex < 0 || (size_t)nIndex >= m_hWnd->itemData.size()) return CB_ERR;
    m_hWnd->itemData[(size_t)nIndex] = dwItemData;
    return 0;
}

int CListControl::FindStringExact(int nIndexStart, const char* lpszFind) const
{
    if (!m_hWnd || !lpszFind) return CB_ERR;
    const auto& items = m_hWnd->items;
    size_t n = items.size();
    size_t start = nIndexStart < 0 || (size_t)nIndexStart >= n ? 0 : (size_t)nIndexStart + 1;
    for (size_t k = 0; k < n; ++k) {
        size_t i = (start + k) % n;
        if (SameText(items[i], lpszFind)) return (int)i;
    }
    return CB_ERR;
}

int CListControl::SelectString(int nStartAfter, const char* lpszString)
{
    if (!m_hWnd || !lpszString) return CB_ERR;
    const auto& items = m_hWnd->items;
    size_t n = items.size();
    size_t start = nStartAfter < 0 || (size_t)nStartAfter >= n ? 0 : (size_t)nStartAfter + 1;
    for (size_t k = 0; k < n; ++k) {
        size_t i = (start + k) % n;
        if (StartsWithText(items[i], lpszString)) {
            SelectItem(m_hWnd, (int)i);
            return (int)i;
        }
    }
    return CB_ERR;
}

int CComboBox::GetLBText(int nIndex, char* lpszText) const
{
    std::string t;
    if (GetItemText(nIndex, t) == CB_ERR || !lpszText) return CB_ERR;
    std::memcpy(lpszText, t.c_str(), t.size() + 1);
    return (int)t.size();
}

void CComboBox::GetLBText(int nIndex, std::string& rString) const { GetItemText(nIndex, rString); }

int CComboBox::GetLBTextLen(int nIndex) const
{
    std::string t;
    return GetItemText(nIndex, t);
}

int CListBox::GetText(int nIndex, char* lpszBuffer) const
{
    std::string t;
    if (GetItemText(nIndex, t) == LB_ERR || !lpszBuffer) return LB_ERR;
    std::memcpy(lpszBuffer, t.c_str(), t.size() + 1);
    return (int)t.size();
}

void CListBox::GetText(int nIndex, std::string& rString) const { GetItemText(nIndex, rString); }

int CListBox::GetTextLen(int nIndex) const
{
    std::string t;
    return GetItemText(nIndex, t);
}

int CListBox::GetTopIndex() const { return m_hWnd ? m_hWnd->nTopIndex : LB_ERR; }

int CListBox::SetTopIndex(int nIndex)
{
    if (!m_hWnd || nIndex < 0 || (size_t)nIndex >= m_hWnd->items.size()) return LB_ERR;
    m_hWnd->nTopIndex = nIndex;
    return 0;
}

