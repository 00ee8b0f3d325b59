// Playing the user: clicks, double clicks, typing, selecting, timers, closing, hovering.
#include "platform/window_state.h"

using namespace wndmodel;

namespace {

// A user action is possible on a control that exists and is shown and enabled, with every
// window around it, in a dialog that has not been ended.
WindowState* UsableControl(CWnd* pDlg, int nID)
{
    if (!pDlg || !pDlg->m_hWnd) return nullptr;
    WindowState* s = pDlg->m_hWnd->Child(nID);
    if (!s) return nullptr;
    for (WindowState* w = s; w; w = w->pParent)
        if (!w->bVisible || !w->bEnabled) return nullptr;
    if (auto* dlg = dynamic_cast<CDialog*>(TopOf(pDlg->m_hWnd)->pWnd); dlg && dlg->IsEnded()) return nullptr;
    return s;
}

void Notify(WindowState* s, UINT code)
{
    if (IsAlive(s) && s->pParent)
        CWnd::FromHandle(s->pParent)->SendMessage(WM_COMMAND, MAKEWPARAM((unsigned)s->nID, code), (LPARAM)s);
}

// Presses and releases a button; an owner-drawn one is drawn each time.
void PressAndRelease(WindowState* s, UINT codeWhilePressed = 0xFFFF)
{
    ChangeFocus(s);
    if (!IsAlive(s)) return;
    s->bPushed = true;
    if (s->IsOwnerDrawn()) DrawOwnerButton(s, ODA_SELECT);
    if (codeWhilePressed != 0xFFFF) Notify(s, codeWhilePressed);
    if (!IsAlive(s)) return;
    s->bPushed = false;
    if (s->IsOwnerDrawn()) DrawOwnerButton(s, ODA_SELECT);
    else s->bNeedsPaint = true;
}

bool Click(CWnd* pDlg, int nID)
{
    WindowState* s = UsableControl(pDlg, nID);
    if (!s || !s->IsButton()) return false;
    PressAndRelease(s);
    if (!IsAlive(s)) return true;
    DWORD type = s->dwStyle & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE) {
        s->nCheck = s->nCheck == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
    } else if (type == BS_AUTORADIOBUTTON) {
        auto [first, last] = GroupRange(s->pParent, IndexInParent(s));
        for (size_t i = first; i < last; ++i)
            if (s->pParent->children[i]->kind == ControlKind::RadioButton) s->pParent->children[i]->nCheck = BST_UNCHECKED;
        s->nCheck = BST_CHECKED;
    }
    // A release over a button whose dialog was ended while it was held sends nothing.
    if (UsableControl(pDlg, nID) == s) Notify(s, BN_CLICKED);
    return true;
}

} // namespace

bool UserClick(CWnd* pDlg, int nID)
{
    Idle();
    bool done = Click(pDlg, nID);
    if (done) Idle();
    return done;
}

bool UserDoubleClick(CWnd* pDlg, int nID)
{
    // The user acts on what the screen shows: whatever waited is painted first.
    Idle();
    WindowState* s = UsableControl(pDlg, nID);
    if (!s) return false;
    if (s->IsButton()) {
        Click(pDlg, nID);
        s = UsableControl(pDlg, nID);
        if (s) {
            DWORD type = s->dwStyle & BS_TYPEMASK;
            bool notifies = type == BS_OWNERDRAW || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
                            type == BS_USERBUTTON || (s->dwStyle & BS_NOTIFY);
            if (notifies) {
                PressAndRelease(s, BN_DOUBLECLICKED);
                if (UsableControl(pDlg, nID) == s) Notify(s, BN_CLICKED);
            } else {
                Click(pDlg, nID);
            }
        }
    } else if (s->kind == ControlKind::ListBox) {
        Notify(s, LBN_DBLCLK);
    } else if (s->IsCombo()) {
        Notify(s, CBN_DBLCLK);
    } else {
        return false;
    }
    Idle();
    return true;
}

bool UserType(CWnd* pDlg, int nID, const char* lpszText)
{
    Idle();
    WindowState* s = UsableControl(pDlg, nID);
    if (!s || (s->kind != ControlKind::Edit && s->kind != ControlKind::ComboBox)) return false;
    std::string t = lpszText ? lpszText : "";
    if ((int)t.size() > s->TextLimit()) t.resize((size_t)s->TextLimit());
    s->text = t;
    s->nSelStart = s->nSelEnd = (int)t.size();
    Notify(s, s->kind == ControlKind::Edit ? EN_CHANGE : CBN_EDITCHANGE);
    Idle();
    return true;
}

bool UserSelect(CWnd* pDlg, int nID, int nIndex)
{
    Idle();
    WindowState* s = UsableControl(pDlg, nID);
    if (!s || !s->IsList() || nIndex < 0 || (size_t)nIndex >= s->items.size()) return false;
    SelectItem(s, nIndex);
    if (s->kind == ControlKind::ListBox) {
        Notify(s, LBN_SELCHANGE);
    } else {
        Notify(s, CBN_SELCHANGE);
        Notify(s, CBN_CLOSEUP);
    }
    Idle();
    return true;
}

bool UserFireTimer(CWnd* pWnd, UINT_PTR nIDEvent)
{
    Idle();
    if (!pWnd || !pWnd->m_hWnd) return false;
    for (const auto& t : pWnd->m_hWnd->timers) {
        if (t.nID != nIDEvent) continue;
        if (t.pfn) t.pfn(pWnd->m_hWnd, WM_TIMER, nIDEvent, 0);
        else pWnd->SendMessage(WM_TIMER, nIDEvent, 0);
        Idle();
        return true;
    }
    return false;
}

bool UserClose(CWnd* pWnd)
{
    Idle();
    if (!pWnd || !pWnd->m_hWnd || !pWnd->m_hWnd->bVisible) return false;
    if (auto* dlg = dynamic_cast<CDialog*>(pWnd); dlg && dlg->IsEnded()) return false;
    pWnd->SendMessage(WM_CLOSE);
    Idle();
    return true;
}

std::string UserToolTip(CWnd* pWnd, CPoint ptScreen)
{
    Idle();
    SetCursorPos(ptScreen);
    if (!pWnd || !pWnd->m_hWnd) return "";
    WindowState* top = TopOf(pWnd->m_hWnd);
    CWnd* hit = CWnd::WindowFromPoint(ptScreen);
    if (!hit || TopOf(hit->m_hWnd) != top) return "";
    for (WindowState* w = hit->m_hWnd; w; w = w->pParent) {
        if (!w->bToolTips) continue;
        CWnd* owner = CWnd::FromHandle(w);
        CPoint pt = ptScreen;
        owner->ScreenToClient(&pt);
        TOOLINFO ti{};
        ti.cbSize = sizeof ti;
        if (owner->OnToolHitTest(pt, &ti) < 0) return "";
        std::string text;
        if (ti.lpszText == LPSTR_TEXTCALLBACK) {
            // The tooltip part, after the line break, of the tool's string resource.
            UINT id = (ti.uFlags & TTF_IDISHWND) && IsAlive(reinterpret_cast<HWND>(ti.uId))
                          ? (UINT)reinterpret_cast<HWND>(ti.uId)->nID
                          : (UINT)ti.uId;
            AfxLoadString(id, text);
            size_t nl = text.find('\n');
            if (nl != std::string::npos) text.erase(0, nl + 1);
        } else if (ti.lpszText) {
            text = ti.lpszText;
            std::free(ti.lpszText);
        }
        return text;
    }
    return "";
}

CPoint ControlCenter(CWnd* pDlg, int nID)
{
    CWnd* w = pDlg ? pDlg->GetDlgItem(nID) : nullptr;
    if (!w) return CPoint();
    CRect r;
    w->GetWindowRect(&r);
    return r.CenterPoint();
}
