// Windows and messages: handles and their state, message maps and dispatch, geometry, focus,
// timers, posting, painting, tooltips and the cursor.
#include "platform/window_state.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <unordered_set>

namespace {

std::unordered_set<const WindowState*>& LiveWindows()
{
    static std::unordered_set<const WindowState*> live;
    return live;
}

struct PostedMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::deque<PostedMessage>& Posted()
{
    static std::deque<PostedMessage> posted;
    return posted;
}

CPoint& Cursor()
{
    static CPoint cursor;
    return cursor;
}

// The window kind a class name makes.
ControlKind KindOfClass(const char* cls, DWORD style, bool topLevel)
{
    std::string c = cls ? cls : "";
    if (wndmodel::SameText(c, "BUTTON")) return wndmodel::KindOfButtonStyle(style);
    if (wndmodel::SameText(c, "EDIT")) return ControlKind::Edit;
    if (wndmodel::SameText(c, "STATIC")) return ControlKind::Label;
    if (wndmodel::SameText(c, "COMBOBOX")) return (style & 3) == 3 ? ControlKind::DropDownList : ControlKind::ComboBox;
    if (wndmodel::SameText(c, "LISTBOX")) return ControlKind::ListBox;
    if (wndmodel::SameText(c, "SCROLLBAR")) return ControlKind::ScrollBar;
    if (wndmodel::SameText(c, "ToolbarWindow32")) return ControlKind::ToolBar;
    return topLevel ? ControlKind::Frame : ControlKind::Custom;
}

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

// The deepest shown window under a point given in the coordinates s's rectangle is in.
WindowState* DeepestAt(WindowState* s, CPoint pt)
{
    if (!s->bVisible || !CRect(s->rc).PtInRect(pt)) return nullptr;
    CPoint inner(pt.x - s->rc.left - s->rcNonClient.left, pt.y - s->rc.top - s->rcNonClient.top);
    for (auto& c : s->children)
        if (WindowState* hit = DeepestAt(c.get(), inner)) return hit;
    return s;
}

} // namespace

// ---------------------------------------------------------------- state

CPoint WindowState::ClientOrigin() const
{
    CPoint o(rc.left + rcNonClient.left, rc.top + rcNonClient.top);
    if (pParent) {
        CPoint p = pParent->ClientOrigin();
        o.Offset(p.x, p.y);
    }
    return o;
}

CRasterDC* WindowState::Surface()
{
    CSize size = ClientSize();
    size.cx = std::max(0, size.cx);
    size.cy = std::max(0, size.cy);
    if (!surface || surface->Width() != size.cx || surface->Height() != size.cy)
        surface = std::make_unique<CRasterDC>(size.cx, size.cy);
    return surface.get();
}

namespace wndmodel {

HWND& Focus()
{
    static HWND focus = nullptr;
    return focus;
}

void ChangeFocus(WindowState* s)
{
    WindowState* old = Focus();
    if (old == s) return;
    Focus() = s;
    if (old && IsAlive(old) && old->IsOwnerDrawn()) DrawOwnerButton(old, ODA_FOCUS);
    if (s && s->IsOwnerDrawn()) DrawOwnerButton(s, ODA_FOCUS);
}

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

bool IsAlive(const WindowState* s) { return s && LiveWindows().count(s) != 0; }

void RegisterWindowTree(WindowState* s)
{
    LiveWindows().insert(s);
    for (auto& c : s->children) RegisterWindowTree(c.get());
}

void DestroyState(WindowState* s)
{
    if (Focus() == s) Focus() = nullptr;
    for (auto& c : s->children) DestroyState(c.get());
    s->children.clear();
    LiveWindows().erase(s);
    if (s->pWnd) s->pWnd->m_hWnd = nullptr;
    s->pWnd = nullptr;
    if (s->pOwnWnd) s->pOwnWnd->m_hWnd = nullptr;
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

std::pair<size_t, size_t> GroupRange(const WindowState* parent, size_t at)
{
    const auto& ch = parent->children;
    size_t first = at;
    while (first > 0 && !ch[first]->bGroup) --first;
    size_t last = first + 1;
    while (last < ch.size() && !ch[last]->bGroup) ++last;
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

ControlKind KindOfButtonStyle(DWORD dwStyle)
{
    switch (dwStyle & BS_TYPEMASK) {
    case BS_DEFPUSHBUTTON: return ControlKind::DefPushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return ControlKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
    case BS_GROUPBOX: return ControlKind::GroupBox;
    case BS_OWNERDRAW: return ControlKind::OwnerDrawButton;
    default: return ControlKind::PushButton;
    }
}

DWORD StyleOfKind(ControlKind kind)
{
    switch (kind) {
    case ControlKind::PushButton: return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::DefPushButton: return BS_DEFPUSHBUTTON | WS_TABSTOP;
    case ControlKind::OwnerDrawButton: return BS_OWNERDRAW | WS_TABSTOP;
    case ControlKind::CheckBox: return BS_AUTOCHECKBOX | WS_TABSTOP;
    case ControlKind::RadioButton: return BS_AUTORADIOBUTTON;
    case ControlKind::GroupBox: return BS_GROUPBOX;
    case ControlKind::Edit:
    case ControlKind::ComboBox:
    case ControlKind::DropDownList:
    case ControlKind::ListBox: return WS_TABSTOP;
    default: return 0;
    }
}

void DrawOwnerButton(WindowState* s, UINT nAction)
{
    if (!s->IsOwnerDrawn() || !s->pParent) return;
    UINT state = 0;
    if (s->bPushed) state |= ODS_SELECTED;
    if (Focus() == s) state |= ODS_FOCUS;
    if (!s->bEnabled) state |= ODS_DISABLED;
    CSize size = s->ClientSize();
    DRAWITEMSTRUCT dis{ODT_BUTTON, (UINT)s->nID, 0, nAction, state, s, s->Surface(), CRect(0, 0, size.cx, size.cy),
                       0};
    CWnd::FromHandle(s->pParent)->SendMessage(WM_DRAWITEM, (WPARAM)s->nID, (LPARAM)&dis);
}

namespace {

void Paint(WindowState* s, bool force)
{
    if (!s->bVisible) return;
    bool paint = force || s->bNeedsPaint;
    if (paint) {
        s->bNeedsPaint = false;
        if (s->IsOwnerDrawn()) {
            DrawOwnerButton(s, ODA_DRAWENTIRE);
        } else if (s->kind == ControlKind::PushButton || s->kind == ControlKind::DefPushButton ||
                   s->kind == ControlKind::OwnerDrawButton) {
            // A button the system draws: its face, raised or pushed in.
            CRasterDC* dc = s->Surface();
            CRect r(0, 0, dc->Width(), dc->Height());
            dc->FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
            dc->DrawEdge(&r, s->bPushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        }
    }
    for (size_t i = 0; IsAlive(s) && i < s->children.size(); ++i) Paint(s->children[i].get(), paint);
}

} // namespace

void PaintPending(WindowState* s)
{
    if (IsAlive(s)) Paint(s, false);
}

void Idle()
{
    // Posted messages first, each to a window that still exists; they may post more.
    for (size_t guard = 0; !Posted().empty() && guard < 10000; ++guard) {
        PostedMessage m = Posted().front();
        Posted().pop_front();
        if (IsAlive(m.hWnd)) CWnd::FromHandle(m.hWnd)->SendMessage(m.message, m.wParam, m.lParam);
    }
    auto& tops = TopWindows();
    for (size_t i = 0; i < tops.size(); ++i) PaintPending(tops[i].get());
}

} // namespace wndmodel

using namespace wndmodel;

// ---------------------------------------------------------------- CCmdTarget

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

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

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (!m_hWnd) return;
    // A window outlives its object only while it is on its way out already.
    if (m_hWnd->pWnd == this && !m_hWnd->bDestroying) {
        DestroyWindow();
        return;
    }
    if (m_hWnd->pWnd == this) m_hWnd->pWnd = nullptr;
    m_hWnd = nullptr;
}

BOOL CWnd::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID)
{
    if (m_hWnd) return FALSE;
    WindowState* parent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    if (pParentWnd && !parent) return FALSE;
    auto st = std::make_unique<WindowState>();
    st->nID = (int)nID;
    st->kind = KindOfClass(lpszClassName, dwStyle, parent == nullptr);
    st->text = lpszWindowName ? lpszWindowName : "";
    st->dwStyle = dwStyle & ~(DWORD)(WS_VISIBLE | WS_DISABLED | WS_GROUP);
    st->bVisible = (dwStyle & WS_VISIBLE) != 0;
    st->bEnabled = (dwStyle & WS_DISABLED) == 0;
    st->bGroup = (dwStyle & WS_GROUP) != 0;
    st->rc = rect;
    if (!parent && (dwStyle & WS_CAPTION) == WS_CAPTION)
        st->rcNonClient = CRect(kDialogBorder, kDialogBorder + kDialogCaption, kDialogBorder, kDialogBorder);
    st->bNeedsPaint = true;
    WindowState* s = st.get();
    LiveWindows().insert(s);
    if (parent) {
        st->pParent = parent;
        parent->children.push_back(std::move(st));
    } else {
        TopWindows().push_back(std::move(st));
    }
    Attach(s);
    PreSubclassWindow();
    CREATESTRUCT cs{nullptr, parent, (int)nID, rect.bottom - rect.top, rect.right - rect.left, rect.top, rect.left,
                    dwStyle, lpszWindowName, lpszClassName};
    if (!SendMessage(WM_NCCREATE, 0, (LPARAM)&cs) || (m_hWnd && SendMessage(WM_CREATE, 0, (LPARAM)&cs) == -1)) {
        DestroyWindow();
        return FALSE;
    }
    return m_hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD, const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID);
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
        case ControlKind::ToolBar:
        case ControlKind::Frame:
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
    if (!s || !Attach(s)) return FALSE;
    PreSubclassWindow();
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

int CWnd::GetDlgCtrlID() const { return m_hWnd ? m_hWnd->nID : 0; }
ControlKind CWnd::GetControlKind() const { return m_hWnd ? m_hWnd->kind : ControlKind::Custom; }
CWnd* CWnd::GetParent() const { return m_hWnd ? FromHandle(m_hWnd->pParent) : nullptr; }

CWnd* CWnd::GetDlgItem(int nID) const
{
    return m_hWnd ? FromHandle(m_hWnd->Child(nID)) : nullptr;
}

CWnd* CWnd::GetOwner() const
{
    if (!m_hWnd) return nullptr;
    return FromHandle(m_hWnd->pOwner && IsAlive(m_hWnd->pOwner) ? m_hWnd->pOwner : m_hWnd->pParent);
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    if (m_hWnd) m_hWnd->pOwner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr;
}

DWORD CWnd::GetStyle() const
{
    if (!m_hWnd) return 0;
    return m_hWnd->dwStyle | (m_hWnd->bVisible ? WS_VISIBLE : 0) | (m_hWnd->bEnabled ? 0 : WS_DISABLED) |
           (m_hWnd->bGroup ? WS_GROUP : 0);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT)
{
    if (!m_hWnd) return FALSE;
    DWORD before = GetStyle();
    DWORD after = (before & ~dwRemove) | dwAdd;
    if (after == before) return FALSE;
    m_hWnd->dwStyle = after & ~(DWORD)(WS_VISIBLE | WS_DISABLED | WS_GROUP);
    m_hWnd->bVisible = (after & WS_VISIBLE) != 0;
    m_hWnd->bEnabled = (after & WS_DISABLED) == 0;
    m_hWnd->bGroup = (after & WS_GROUP) != 0;
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (!m_hWnd) return FALSE;
    BOOL was = m_hWnd->bVisible;
    bool show = nCmdShow != SW_HIDE;
    if (show != (was != FALSE)) {
        SendMessage(WM_SHOWWINDOW, show, 0);
        if (!m_hWnd) return was;
        m_hWnd->bVisible = show;
        if (show) Invalidate();
    }
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
    if (wasDisabled != !m_hWnd->bEnabled) Invalidate();
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
    if (m_hWnd) ChangeFocus(m_hWnd);
    return previous;
}

CWnd* CWnd::GetFocus() { return FromHandle(Focus()); }

void CWnd::Invalidate(BOOL)
{
    if (!m_hWnd) return;
    ++m_hWnd->nInvalidated;
    m_hWnd->bNeedsPaint = true;
}

int CWnd::GetInvalidateCount() const { return m_hWnd ? m_hWnd->nInvalidated : 0; }

void CWnd::UpdateWindow() { PaintPending(m_hWnd); }

CDC* CWnd::GetDC() { return m_hWnd ? m_hWnd->Surface() : nullptr; }

int CWnd::ReleaseDC(CDC* pDC) { return pDC ? 1 : 0; }

void CWnd::GetWindowRect(RECT* lpRect) const
{
    if (!lpRect) return;
    if (!m_hWnd) {
        *lpRect = CRect();
        return;
    }
    CRect r = m_hWnd->rc;
    if (m_hWnd->pParent) {
        CPoint o = m_hWnd->pParent->ClientOrigin();
        r.OffsetRect(o.x, o.y);
    }
    *lpRect = r;
}

void CWnd::GetClientRect(RECT* lpRect) const
{
    if (!lpRect) return;
    CSize size = m_hWnd ? m_hWnd->ClientSize() : CSize();
    *lpRect = CRect(0, 0, size.cx, size.cy);
}

void CWnd::ClientToScreen(POINT* lpPoint) const
{
    if (!lpPoint || !m_hWnd) return;
    CPoint o = m_hWnd->ClientOrigin();
    lpPoint->x += o.x;
    lpPoint->y += o.y;
}

void CWnd::ClientToScreen(RECT* lpRect) const
{
    if (!lpRect || !m_hWnd) return;
    CPoint o = m_hWnd->ClientOrigin();
    static_cast<CRect*>(lpRect)->OffsetRect(o.x, o.y);
}

void CWnd::ScreenToClient(POINT* lpPoint) const
{
    if (!lpPoint || !m_hWnd) return;
    CPoint o = m_hWnd->ClientOrigin();
    lpPoint->x -= o.x;
    lpPoint->y -= o.y;
}

void CWnd::ScreenToClient(RECT* lpRect) const
{
    if (!lpRect || !m_hWnd) return;
    CPoint o = m_hWnd->ClientOrigin();
    static_cast<CRect*>(lpRect)->OffsetRect(-o.x, -o.y);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    if (!m_hWnd) return;
    m_hWnd->rc = CRect(x, y, x + nWidth, y + nHeight);
    if (bRepaint) Invalidate();
}

void CWnd::MoveWindow(const RECT* lpRect, BOOL bRepaint)
{
    if (lpRect) MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

CWnd* CWnd::WindowFromPoint(POINT point)
{
    auto& tops = TopWindows();
    // The window made last lies on top.
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (WindowState* hit = DeepestAt(it->get(), point)) return FromHandle(hit);
    return nullptr;
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const
{
    if (!m_hWnd) return nullptr;
    CSize size = m_hWnd->ClientSize();
    if (!CRect(0, 0, size.cx, size.cy).PtInRect(point)) return nullptr;
    for (auto& c : m_hWnd->children)
        if (c->bVisible && CRect(c->rc).PtInRect(point)) return FromHandle(c.get());
    return FromHandle(m_hWnd);
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

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    if (!m_hWnd) return FALSE;
    m_hWnd->bToolTips = bEnable != FALSE;
    return TRUE;
}

BOOL CWnd::AreToolTipsEnabled() const { return m_hWnd && m_hWnd->bToolTips; }

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    CWnd* child = ChildWindowFromPoint(point);
    if (!child || child->m_hWnd == m_hWnd || child->GetDlgCtrlID() <= 0) return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)child->m_hWnd;
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return child->GetDlgCtrlID();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* target = FromHandle(m_hWnd);
    if (!target) return 0;
    return target->WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd) return FALSE;
    Posted().push_back({m_hWnd, message, wParam, lParam});
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        OnNotify(wParam, lParam, &result);
        return result;
    }
    if (message == WM_DRAWITEM) {
        OnDrawItem((int)wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message, 0, 0);
    if (!e) return DefWindowProc(message, wParam, lParam);
    switch (e->nSig) {
    case AfxSig_vv: (this->*(e->pfn))(); return 0;
    case AfxSig_vt: (this->*(e->pfnTimer))((UINT_PTR)wParam); return 0;
    case AfxSig_lwl: return (this->*(e->pfnMessage))(wParam, lParam);
    case AfxSig_vbw: (this->*(e->pfnShow))((BOOL)wParam, (UINT)lParam); return 0;
    case AfxSig_is: return (this->*(e->pfnCreate))(reinterpret_cast<LPCREATESTRUCT>(lParam));
    default: return DefWindowProc(message, wParam, lParam);
    }
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

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct || !IsAlive(lpDrawItemStruct->hwndItem)) return;
    if (auto* button = dynamic_cast<CButton*>(FromHandle(lpDrawItemStruct->hwndItem))) button->DrawItem(lpDrawItemStruct);
}

void CWnd::OnClose() { DefWindowProc(WM_CLOSE, 0, 0); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd) return 0;
    switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE:
        // A window the host made goes away; a control ignores it.
        if (!m_hWnd->pParent) DestroyWindow();
        return 0;
    default: return wndmodel::ControlProc(m_hWnd, message, wParam, lParam);
    }
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

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd || m_hWnd->bDestroying) return FALSE;
    WindowState* s = m_hWnd;
    // Handlers of WM_DESTROY may still use the windows, but not destroy them a second time.
    MarkDestroying(s);
    SendDestroy(s);
    auto& list = s->pParent ? s->pParent->children : TopWindows();
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->get() == s) {
            DestroyState(s);
            list.erase(it);
            break;
        }
    return TRUE;
}

// ---------------------------------------------------------------- cursor

BOOL SetCursorPos(int x, int y)
{
    Cursor() = CPoint(x, y);
    return TRUE;
}

BOOL SetCursorPos(CPoint point) { return SetCursorPos(point.x, point.y); }

BOOL GetCursorPos(POINT* lpPoint)
{
    if (!lpPoint) return FALSE;
    *lpPoint = Cursor();
    return TRUE;
}
