#include "platform/dialog.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The state of one window: what the system would keep behind a window handle.
struct WindowState {
    struct Timer {
        UINT_PTR nID;
        UINT nElapse;
        TIMERPROC pfn;
    };

    int nID = 0;
    ControlKind kind = ControlKind::Label;
    std::string text;
    bool bVisible = true;
    bool bEnabled = true;
    bool bGroup = false;
    int nCheck = BST_UNCHECKED;
    std::vector<std::string> items;
    std::vector<DWORD_PTR> itemData;
    int nCurSel = -1;
    int nTopIndex = 0;
    int nSelStart = 0, nSelEnd = 0;
    int nLimitText = 0;
    int nInvalidated = 0;
    bool bDestroying = false;
    CRect rc;
    std::vector<Timer> timers;

    WindowState* pParent = nullptr;
    std::vector<std::unique_ptr<WindowState>> children;
    CWnd* pWnd = nullptr;            // the object attached to the window
    std::unique_ptr<CWnd> pOwnWnd;   // one the window made for itself, see FromHandle

    bool IsList() const
    {
        return kind == ControlKind::ComboBox || kind == ControlKind::DropDownList || kind == ControlKind::ListBox;
    }
    bool IsCombo() const { return kind == ControlKind::ComboBox || kind == ControlKind::DropDownList; }
    bool IsButton() const
    {
        return kind == ControlKind::PushButton || kind == ControlKind::DefPushButton ||
               kind == ControlKind::OwnerDrawButton || kind == ControlKind::CheckBox ||
               kind == ControlKind::RadioButton;
    }
    WindowState* Child(int id) const
    {
        for (const auto& c : children)
            if (c->nID == id) return c.get();
        return nullptr;
    }
    int TextLimit() const { return nLimitText > 0 ? nLimitText : INT_MAX; }
};

namespace {

std::vector<const DialogTemplate*>& Templates()
{
    static std::vector<const DialogTemplate*> templates;
    return templates;
}

ModalDriver& CurrentDriver()
{
    static ModalDriver driver;
    return driver;
}

HWND& Focus()
{
    static HWND focus = nullptr;
    return focus;
}

// Destroys a window and everything in it; attached objects are left without a window.
void DestroyState(WindowState* s)
{
    if (Focus() == s) Focus() = nullptr;
    for (auto& c : s->children) DestroyState(c.get());
    s->children.clear();
    if (s->pWnd) s->pWnd->m_hWnd = nullptr;
    s->pWnd = nullptr;
    if (s->pOwnWnd) s->pOwnWnd->m_hWnd = nullptr;
}

// The top-level windows that exist; they own their state.
std::vector<std::unique_ptr<WindowState>>& TopWindows()
{
    static std::vector<std::unique_ptr<WindowState>> windows;
    return windows;
}

WindowState* TopOf(WindowState* s)
{
    while (s && s->pParent) s = s->pParent;
    return s;
}

bool SameText(const std::string& a, const char* b)
{
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
    return true;
}

bool StartsWithText(const std::string& a, const char* b)
{
    size_t n = std::strlen(b);
    if (a.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
    return true;
}

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

// The radio buttons of the group that holds index at of the parent's children.
std::pair<size_t, size_t> RadioGroup(const WindowState* parent, size_t at)
{
    const auto& ch = parent->children;
    size_t first = at;
    while (first > 0 && !ch[first]->bGroup && ch[first - 1]->kind == ControlKind::RadioButton) --first;
    size_t last = at + 1;
    while (last < ch.size() && ch[last]->kind == ControlKind::RadioButton && !ch[last]->bGroup) ++last;
    return {first, last};
}

size_t IndexInParent(const WindowState* s)
{
    const auto& ch = s->pParent->children;
    for (size_t i = 0; i < ch.size(); ++i)
        if (ch[i].get() == s) return i;
    return 0;
}

void SelectItem(WindowState* s, int n)
{
    s->nCurSel = n >= 0 && n < (int)s->items.size() ? n : -1;
    if (s->IsCombo()) s->text = s->nCurSel >= 0 ? s->items[(size_t)s->nCurSel] : std::string();
}

// A user action is possible on a control that exists, is shown and enabled, in a dialog
// that has not been ended.
WindowState* UsableControl(CWnd* pDlg, int nID)
{
    if (!pDlg || !pDlg->m_hWnd) return nullptr;
    WindowState* s = pDlg->m_hWnd->Child(nID);
    if (!s || !s->bVisible || !s->bEnabled || !pDlg->m_hWnd->bEnabled) return nullptr;
    if (auto* dlg = dynamic_cast<CDialog*>(TopOf(pDlg->m_hWnd)->pWnd); dlg && dlg->IsEnded()) return nullptr;
    return s;
}

void Notify(CWnd* pDlg, WindowState* s, UINT code)
{
    pDlg->SendMessage(WM_COMMAND, MAKEWPARAM((unsigned)s->nID, code), (LPARAM)s);
}

} // namespace

const DialogItemTemplate* DialogTemplate::FindItem(int nItemID) const
{
    for (const auto& i : items)
        if (i.nID == nItemID) return &i;
    return nullptr;
}

void AfxRegisterDialogTemplate(const DialogTemplate* pTemplate)
{
    if (pTemplate) Templates().push_back(pTemplate);
}

const DialogTemplate* AfxFindDialogTemplate(UINT nID)
{
    const auto& t = Templates();
    for (auto it = t.rbegin(); it != t.rend(); ++it)
        if ((*it)->nID == nID) return *it;
    return nullptr;
}

// ---------------------------------------------------------------- CCmdTarget

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e)
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID) return e;
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode)
{
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_COMMAND, nCode, nID);
    if (!e) return FALSE;
    if (e->nSig == AfxSig_vv) {
        (this->*(e->pfn))();
    } else if (e->nSig == AfxSig_vw) {
        (this->*(e->pfnID))(nID);
    } else {
        return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------- CWnd

IMPLEMENT_DYNAMIC(CWnd, CObject)

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (!m_hWnd) return;
    if (!m_hWnd->pParent) {
        DestroyWindow();
    } else if (m_hWnd->pWnd == this) {
        m_hWnd->pWnd = nullptr;
    }
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd) return nullptr;
    if (hWnd->pWnd) return hWnd->pWnd;
    if (!hWnd->pOwnWnd) {
        CWnd* w;
        switch (hWnd->kind) {
        case ControlKind::Edit: w = new CEdit; break;
        case ControlKind::ComboBox:
        case ControlKind::DropDownList: w = new CComboBox; break;
        case ControlKind::ListBox: w = new CListBox; break;
        case ControlKind::Label: w = new CStatic; break;
        case ControlKind::Dialog:
        case ControlKind::ScrollBar:
        case ControlKind::Custom: w = new CWnd; break;
        default: w = new CButton; break;
        }
        hWnd->pOwnWnd.reset(w);
        w->m_hWnd = hWnd;
    }
    return hWnd->pOwnWnd.get();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (m_hWnd || !hWnd || hWnd->pWnd) return FALSE;
    m_hWnd = hWnd;
    hWnd->pWnd = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h && h->pWnd == this) h->pWnd = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (!pParent || !pParent->m_hWnd) return FALSE;
    WindowState* s = pParent->m_hWnd->Child((int)nID);
    return s ? Attach(s) : FALSE;
}

int CWnd::GetDlgCtrlID() const { return m_hWnd ? m_hWnd->nID : 0; }
ControlKind CWnd::GetControlKind() const { return m_hWnd ? m_hWnd->kind : ControlKind::Custom; }
CWnd* CWnd::GetParent() const { return m_hWnd ? FromHandle(m_hWnd->pParent) : nullptr; }

CWnd* CWnd::GetDlgItem(int nID) const
{
    return m_hWnd ? FromHandle(m_hWnd->Child(nID)) : nullptr;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (!m_hWnd) return FALSE;
    BOOL was = m_hWnd->bVisible;
    m_hWnd->bVisible = nCmdShow != SW_HIDE;
    return was;
}

BOOL CWnd::IsWindowVisible() const
{
    for (WindowState* s = m_hWnd; s; s = s->pParent)
        if (!s->bVisible) return FALSE;
    return m_hWnd ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    if (!m_hWnd) return FALSE;
    BOOL wasDisabled = !m_hWnd->bEnabled;
    m_hWnd->bEnabled = bEnable != FALSE;
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_hWnd && m_hWnd->bEnabled; }

void CWnd::SetWindowText(const char* lpszString)
{
    if (!m_hWnd) return;
    m_hWnd->text = lpszString ? lpszString : "";
    m_hWnd->nSelStart = m_hWnd->nSelEnd = 0;
}

int CWnd::GetWindowText(char* lpszStringBuf, int nMaxCount) const
{
    if (!lpszStringBuf || nMaxCount <= 0) return 0;
    std::string t = GetWindowText();
    size_t n = std::min(t.size(), (size_t)nMaxCount - 1);
    std::memcpy(lpszStringBuf, t.data(), n);
    lpszStringBuf[n] = 0;
    return (int)n;
}

void CWnd::GetWindowText(std::string& rString) const { rString = GetWindowText(); }
std::string CWnd::GetWindowText() const { return m_hWnd ? m_hWnd->text : std::string(); }
int CWnd::GetWindowTextLength() const { return m_hWnd ? (int)m_hWnd->text.size() : 0; }

CWnd* CWnd::SetFocus()
{
    CWnd* previous = FromHandle(Focus());
    if (m_hWnd) Focus() = m_hWnd;
    return previous;
}

CWnd* CWnd::GetFocus() { return FromHandle(Focus()); }

void CWnd::Invalidate(BOOL)
{
    if (m_hWnd) ++m_hWnd->nInvalidated;
}

int CWnd::GetInvalidateCount() const { return m_hWnd ? m_hWnd->nInvalidated : 0; }

void CWnd::GetWindowRect(RECT* lpRect) const
{
    if (lpRect) *lpRect = m_hWnd ? m_hWnd->rc : CRect();
}

void CWnd::GetClientRect(RECT* lpRect) const
{
    if (lpRect) *lpRect = m_hWnd ? CRect(0, 0, m_hWnd->rc.Width(), m_hWnd->rc.Height()) : CRect();
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    if (!m_hWnd) return;
    m_hWnd->rc = CRect(x, y, x + nWidth, y + nHeight);
    if (bRepaint) Invalidate();
}

void CWnd::SetDlgItemText(int nID, const char* lpszString)
{
    if (CWnd* w = GetDlgItem(nID)) w->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, char* lpStr, int nMaxCount) const
{
    CWnd* w = GetDlgItem(nID);
    if (!w) {
        if (lpStr && nMaxCount > 0) *lpStr = 0;
        return 0;
    }
    return w->GetWindowText(lpStr, nMaxCount);
}

std::string CWnd::GetDlgItemText(int nID) const
{
    CWnd* w = GetDlgItem(nID);
    return w ? w->GetWindowText() : std::string();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    char t[16];
    std::snprintf(t, sizeof t, bSigned ? "%d" : "%u", bSigned ? (int)nValue : nValue);
    SetDlgItemText(nID, t);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    std::string t = GetDlgItemText(nID);
    const char* s = t.c_str();
    while (std::isspace((unsigned char)*s)) ++s;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(s, &end, 10);
    bool ok = end != s && errno == 0 && (bSigned ? v >= INT_MIN && v <= INT_MAX : v >= 0 && v <= (long long)UINT_MAX);
    while (ok && *end) ok = std::isspace((unsigned char)*end++) != 0;
    if (lpTrans) *lpTrans = ok;
    return ok ? (UINT)v : 0;
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (m_hWnd)
        if (WindowState* s = m_hWnd->Child(nIDButton)) s->nCheck = (int)nCheck;
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    WindowState* s = m_hWnd ? m_hWnd->Child(nIDButton) : nullptr;
    return s ? (UINT)s->nCheck : 0;
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    if (!m_hWnd) return;
    for (auto& c : m_hWnd->children)
        if (c->nID >= nIDFirstButton && c->nID <= nIDLastButton) c->nCheck = c->nID == nIDCheckButton;
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const
{
    if (!m_hWnd) return 0;
    for (auto& c : m_hWnd->children)
        if (c->nID >= nIDFirstButton && c->nID <= nIDLastButton && c->nCheck) return c->nID;
    return 0;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    if (!m_hWnd) return 0;
    for (auto& t : m_hWnd->timers)
        if (t.nID == nIDEvent) {
            t.nElapse = nElapse;
            t.pfn = lpfnTimer;
            return nIDEvent;
        }
    m_hWnd->timers.push_back({nIDEvent, nElapse, lpfnTimer});
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    if (!m_hWnd) return FALSE;
    auto& ts = m_hWnd->timers;
    for (auto it = ts.begin(); it != ts.end(); ++it)
        if (it->nID == nIDEvent) {
            ts.erase(it);
            return TRUE;
        }
    return FALSE;
}

UINT CWnd::GetTimerElapse(UINT_PTR nIDEvent) const
{
    if (m_hWnd)
        for (const auto& t : m_hWnd->timers)
            if (t.nID == nIDEvent) return t.nElapse;
    return 0;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* target = FromHandle(m_hWnd);
    if (!target) return 0;
    return target->WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        OnNotify(wParam, lParam, &result);
        return result;
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message, 0, 0);
    if (!e) return 0;
    if (e->nSig == AfxSig_vv) {
        (this->*(e->pfn))();
        return 0;
    }
    if (e->nSig == AfxSig_vt) {
        (this->*(e->pfnTimer))((UINT_PTR)wParam);
        return 0;
    }
    if (e->nSig == AfxSig_lwl) {
        return (this->*(e->pfnMessage))(wParam, lParam);
    }
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (!hdr) return FALSE;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_NOTIFY, hdr->code, (UINT)hdr->idFrom);
    if (!e || e->nSig != AfxSig_vNMHDRpl) return FALSE;
    (this->*(e->pfnNotify))(const_cast<NMHDR*>(hdr), pResult);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    if (!m_hWnd) return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType)
{
    return KwMessageBox(lpszText, lpszCaption ? lpszCaption : "kwfilter", nType);
}

namespace {

void MarkDestroying(WindowState* s)
{
    s->bDestroying = true;
    for (auto& c : s->children) MarkDestroying(c.get());
}

void SendDestroy(WindowState* s)
{
    if (CWnd* w = CWnd::FromHandle(s)) w->SendMessage(WM_DESTROY);
    for (size_t i = 0; i < s->children.size(); ++i) SendDestroy(s->children[i].get());
}

} // namespace

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd || m_hWnd->bDestroying) return FALSE;
    WindowState* s = m_hWnd;
    // Handlers of WM_DESTROY may still use the windows, but not destroy them a second time.
    MarkDestroying(s);
    SendDestroy(s);
    if (s->pParent) {
        auto& ch = s->pParent->children;
        for (auto it = ch.begin(); it != ch.end(); ++it)
            if (it->get() == s) {
                DestroyState(s);
                ch.erase(it);
                break;
            }
        return TRUE;
    }
    auto& tops = TopWindows();
    for (auto it = tops.begin(); it != tops.end(); ++it)
        if (it->get() == s) {
            DestroyState(s);
            tops.erase(it);
            break;
        }
    return TRUE;
}

// ---------------------------------------------------------------- controls

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)

int CButton::GetCheck() const { return m_hWnd ? m_hWnd->nCheck : 0; }

void CButton::SetCheck(int nCheck)
{
    if (m_hWnd) m_hWnd->nCheck = nCheck;
}

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

// ---------------------------------------------------------------- CDialog

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

ModalDriver SetModalDriver(ModalDriver driver)
{
    ModalDriver previous = std::move(CurrentDriver());
    CurrentDriver() = std::move(driver);
    return previous;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_nIDTemplate(nIDTemplate), m_pTemplate(nullptr)
{
}

CDialog::CDialog(const DialogTemplate* pTemplate, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_nIDTemplate(pTemplate ? pTemplate->nID : 0), m_pTemplate(pTemplate)
{
}

CDialog::~CDialog()
{
    if (m_hWnd) DestroyWindow();
}

void CDialog::UseTemplate(const DialogTemplate* pTemplate)
{
    m_pTemplate = pTemplate;
    m_nIDTemplate = pTemplate ? pTemplate->nID : 0;
}

BOOL CDialog::CreateFromTemplate()
{
    if (m_hWnd) return FALSE;
    if (!m_pTemplate) m_pTemplate = AfxFindDialogTemplate(m_nIDTemplate);
    if (!m_pTemplate) return FALSE;
    auto root = std::make_unique<WindowState>();
    root->nID = (int)m_pTemplate->nID;
    root->kind = ControlKind::Dialog;
    root->text = m_pTemplate->pszCaption ? m_pTemplate->pszCaption : "";
    root->rc = CRect(m_pTemplate->x, m_pTemplate->y, m_pTemplate->x + m_pTemplate->cx,
                     m_pTemplate->y + m_pTemplate->cy);
    for (const DialogItemTemplate& it : m_pTemplate->items) {
        auto c = std::make_unique<WindowState>();
        c->nID = it.nID;
        c->kind = it.kind;
        c->text = it.pszText ? it.pszText : "";
        c->rc = CRect(it.x, it.y, it.x + it.cx, it.y + it.cy);
        c->bVisible = it.bVisible;
        c->bEnabled = it.bEnabled;
        c->bGroup = it.bGroup;
        for (const char* s : it.items) c->items.push_back(s ? s : "");
        c->itemData.assign(c->items.size(), 0);
        c->pParent = root.get();
        root->children.push_back(std::move(c));
    }
    WindowState* s = root.get();
    TopWindows().push_back(std::move(root));
    Attach(s);
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    ModalDriver driver = CurrentDriver();
    if (!driver || !CreateFromTemplate()) return -1;
    m_bEnded = false;
    m_nResult = IDCANCEL;
    OnInitDialog();
    if (!m_bEnded) driver(*this);
    if (!m_bEnded) OnCancel();
    if (!m_bEnded) EndDialog(IDCANCEL);
    DestroyWindow();
    return m_nResult;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (!pWndCtrl) return;
    pWndCtrl->SetFocus();
    if (pWndCtrl->GetControlKind() == ControlKind::Edit) static_cast<CEdit*>(pWndCtrl)->SetSel(0, -1);
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    m_bEnded = true;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

// ---------------------------------------------------------------- data exchange

namespace {

std::string Trimmed(const std::string& t)
{
    size_t a = 0, b = t.size();
    while (a < b && std::isspace((unsigned char)t[a])) ++a;
    while (b > a && std::isspace((unsigned char)t[b - 1])) --b;
    return t.substr(a, b - a);
}

bool ParseWhole(const std::string& text, long long& v, bool allowSign)
{
    std::string t = Trimmed(text);
    if (t.empty() || (!allowSign && t[0] == '-')) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtoll(t.c_str(), &end, 10);
    return errno == 0 && end && *end == 0;
}

bool ParseReal(const std::string& text, double& v)
{
    std::string t = Trimmed(text);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtod(t.c_str(), &end);
    return end && *end == 0 && std::isfinite(v) && errno != ERANGE;
}

std::string RealText(double v, int digits)
{
    char t[64];
    std::snprintf(t, sizeof t, "%.*g", digits, v);
    return t;
}

WindowState* Control(CDataExchange* pDX, int nIDC) { return pDX->PrepareCtrl(nIDC); }

} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    if (m_bFailed || !m_pDlgWnd || !m_pDlgWnd->m_hWnd) return nullptr;
    WindowState* s = m_pDlgWnd->m_hWnd->Child(nIDC);
    // A control the dialog does not have fails the exchange: the value could not be taken.
    if (!s) m_bFailed = true;
    else m_idLastControl = nIDC;
    return s;
}

void CDataExchange::Fail(const char* pszWhy)
{
    if (pszWhy && *pszWhy) AfxMessageBox(pszWhy, MB_OK | MB_ICONWARNING);
    m_bFailed = true;
    HWND last = m_pDlgWnd && m_pDlgWnd->m_hWnd ? m_pDlgWnd->m_hWnd->Child(m_idLastControl) : nullptr;
    if (last) {
        Focus() = last;
        if (last->kind == ControlKind::Edit) {
            last->nSelStart = 0;
            last->nSelEnd = (int)last->text.size();
        }
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd) return;
    WindowState* s = Control(pDX, nIDC);
    if (s && !rControl.Attach(s)) pDX->m_bFailed = true;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        value = s->nCheck;
    } else {
        // Out of range the framework shows the box unchecked and takes 0.
        if (value < 0 || value > 2) value = 0;
        s->nCheck = value;
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (s->kind != ControlKind::RadioButton) {
        pDX->m_bFailed = true;
        return;
    }
    // The group runs from the given button, as the framework counts it.
    size_t first = IndexInParent(s);
    size_t last = RadioGroup(s->pParent, first).second;
    const auto& ch = s->pParent->children;
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (size_t i = first; i < last; ++i)
            if (ch[i]->nCheck) {
                value = (int)(i - first);
                break;
            }
    } else {
        for (size_t i = first; i < last; ++i) ch[i]->nCheck = (int)(i - first) == value;
    }
}

namespace {

template <class T>
void TextInteger(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi, bool allowSign,
                 const char* pszWhy, const char* pszFormat)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        long long v;
        if (!ParseWhole(s->text, v, allowSign) || v < lo || v > hi) {
            pDX->Fail(pszWhy);
            return;
        }
        value = (T)v;
    } else {
        char t[32];
        std::snprintf(t, sizeof t, pszFormat, (long long)value);
        s->text = t;
    }
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextInteger(pDX, nIDC, value, INT_MIN, INT_MAX, true, "Please enter an integer.", "%lld");
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    TextInteger(pDX, nIDC, value, 0, UINT_MAX, false, "Please enter a positive integer.", "%lld");
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextInteger(pDX, nIDC, value, LONG_MIN, LONG_MAX, true, "Please enter an integer.", "%lld");
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        double v;
        if (!ParseReal(s->text, v)) return pDX->Fail("Please enter a number.");
        value = v;
    } else {
        s->text = RealText(value, 15);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        double v;
        if (!ParseReal(s->text, v) || std::fabs(v) > 3.402823466e38) return pDX->Fail("Please enter a number.");
        value = (float)v;
    } else {
        s->text = RealText(value, 6);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) value = s->text;
    else s->text = value;
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) index = s->nCurSel;
    else SelectItem(s, index);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) { DDX_CBIndex(pDX, nIDC, index); }

void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        value = s->kind == ControlKind::ComboBox || s->nCurSel < 0 ? s->text : s->items[(size_t)s->nCurSel];
        return;
    }
    int found = -1;
    for (size_t i = 0; i < s->items.size() && found < 0; ++i)
        if (StartsWithText(s->items[i], value.c_str())) found = (int)i;
    SelectItem(s, found);
    if (s->kind == ControlKind::ComboBox) s->text = value;
}

void DDX_LBString(CDataExchange* pDX, int nIDC, std::string& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        value = s->nCurSel >= 0 ? s->items[(size_t)s->nCurSel] : std::string();
        return;
    }
    int found = -1;
    for (size_t i = 0; i < s->items.size() && found < 0; ++i)
        if (StartsWithText(s->items[i], value.c_str())) found = (int)i;
    SelectItem(s, found);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(FormatText("Please enter an integer between %d and %d.", minVal, maxVal).c_str());
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(FormatText("Please enter a positive integer between %u and %u.", minVal, maxVal).c_str());
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(FormatText("Please enter an integer between %ld and %ld.", minVal, maxVal).c_str());
}

void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(("Please enter a number between " + RealText(minVal, 15) + " and " + RealText(maxVal, 15) + ".").c_str());
}

void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(("Please enter a number between " + RealText(minVal, 6) + " and " + RealText(maxVal, 6) + ".").c_str());
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars)
{
    if (pDX->m_bFailed) return;
    if (!pDX->m_bSaveAndValidate) {
        if (WindowState* s = pDX->m_pDlgWnd->m_hWnd ? pDX->m_pDlgWnd->m_hWnd->Child(pDX->m_idLastControl) : nullptr)
            s->nLimitText = nChars > 0 ? nChars : 0;
        return;
    }
    if ((int)value.size() > nChars) pDX->Fail(FormatText("Enter no more than %d characters.", nChars).c_str());
}

// ---------------------------------------------------------------- playing the user

bool UserClick(CWnd* pDlg, int nID)
{
    WindowState* s = UsableControl(pDlg, nID);
    if (!s || !s->IsButton()) return false;
    if (s->kind == ControlKind::CheckBox) {
        s->nCheck = s->nCheck == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
    } else if (s->kind == ControlKind::RadioButton) {
        auto [first, last] = RadioGroup(s->pParent, IndexInParent(s));
        for (size_t i = first; i < last; ++i) s->pParent->children[i]->nCheck = BST_UNCHECKED;
        s->nCheck = BST_CHECKED;
    }
    Notify(pDlg, s, BN_CLICKED);
    return true;
}

bool UserDoubleClick(CWnd* pDlg, int nID)
{
    WindowState* s = UsableControl(pDlg, nID);
    if (!s) return false;
    if (s->IsButton()) Notify(pDlg, s, BN_DOUBLECLICKED);
    else if (s->kind == ControlKind::ListBox) Notify(pDlg, s, LBN_DBLCLK);
    else if (s->IsCombo()) Notify(pDlg, s, CBN_DBLCLK);
    else return false;
    return true;
}

bool UserType(CWnd* pDlg, int nID, const char* lpszText)
{
    WindowState* s = UsableControl(pDlg, nID);
    if (!s || (s->kind != ControlKind::Edit && s->kind != ControlKind::ComboBox)) return false;
    std::string t = lpszText ? lpszText : "";
    if ((int)t.size() > s->TextLimit()) t.resize((size_t)s->TextLimit());
    s->text = t;
    s->nSelStart = s->nSelEnd = (int)t.size();
    Notify(pDlg, s, s->kind == ControlKind::Edit ? EN_CHANGE : CBN_EDITCHANGE);
    return true;
}

bool UserSelect(CWnd* pDlg, int nID, int nIndex)
{
    WindowState* s = UsableControl(pDlg, nID);
    if (!s || !s->IsList() || nIndex < 0 || (size_t)nIndex >= s->items.size()) return false;
    SelectItem(s, nIndex);
    Notify(pDlg, s, s->kind == ControlKind::ListBox ? LBN_SELCHANGE : CBN_SELCHANGE);
    return true;
}

bool UserFireTimer(CWnd* pWnd, UINT_PTR nIDEvent)
{
    if (!pWnd || !pWnd->m_hWnd) return false;
    for (const auto& t : pWnd->m_hWnd->timers) {
        if (t.nID != nIDEvent) continue;
        if (t.pfn) t.pfn(pWnd->m_hWnd, WM_TIMER, nIDEvent, 0);
        else pWnd->SendMessage(WM_TIMER, nIDEvent, 0);
        return true;
    }
    return false;
}
