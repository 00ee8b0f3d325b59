// Dialogs: templates held as data, CDialog built from one, and DoModal with its driver.
#include "platform/resource_registry.h"
#include "platform/window_state.h"

#include <algorithm>

using namespace wndmodel;

namespace {

ModalDriver& CurrentDriver()
{
    static ModalDriver driver;
    return driver;
}

// a * b / c rounded to the nearest, as the system scales dialog units.
int MulDiv(int a, int b, int c)
{
    long long p = (long long)a * b;
    return (int)(p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c));
}

// The height of a closed combo box, in dialog units.
constexpr int kComboClosedHeight = 12;

CRect DialogUnitsToPixels(int x, int y, int cx, int cy, CSize base)
{
    int l = MulDiv(x, base.cx, 4), t = MulDiv(y, base.cy, 8);
    return CRect(l, t, l + MulDiv(cx, base.cx, 4), t + MulDiv(cy, base.cy, 8));
}

} // namespace

const DialogItemTemplate* DialogTemplate::FindItem(int nItemID) const
{
    for (const auto& i : items)
        if (i.nID == nItemID) return &i;
    return nullptr;
}

CSize DialogTemplate::GetBaseUnits() const
{
    int pt = nPointSize > 0 ? nPointSize : 8;
    return CSize((6 * pt + 4) / 8, (13 * pt + 4) / 8);
}

void AfxRegisterDialogTemplate(const DialogTemplate* pTemplate) { ResourceRegistry<DialogTemplate>::Register(pTemplate); }

const DialogTemplate* AfxFindDialogTemplate(UINT nID) { return ResourceRegistry<DialogTemplate>::Find(nID); }

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

void CDialog::MapDialogRect(RECT* lpRect) const
{
    if (!lpRect) return;
    CSize base = m_pTemplate ? m_pTemplate->GetBaseUnits() : CSize(6, 13);
    CRect r = DialogUnitsToPixels(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                  lpRect->bottom - lpRect->top, base);
    *lpRect = r;
}

BOOL CDialog::CreateFromTemplate()
{
    if (m_hWnd) return FALSE;
    if (!m_pTemplate) m_pTemplate = AfxFindDialogTemplate(m_nIDTemplate);
    if (!m_pTemplate) return FALSE;
    const DialogTemplate& t = *m_pTemplate;
    CSize base = t.GetBaseUnits();
    auto root = std::make_unique<WindowState>();
    root->nID = (int)t.nID;
    root->kind = ControlKind::Dialog;
    root->text = t.pszCaption ? t.pszCaption : "";
    root->baseUnits = base;
    root->bVisible = false; // shown by DoModal once it is initialised
    if (!t.bChild) root->rcNonClient = CRect(kDialogBorder, kDialogBorder + kDialogCaption, kDialogBorder, kDialogBorder);
    // A dialog lies where its template says, in its parent's client area when it has one.
    CRect client = DialogUnitsToPixels(t.x, t.y, t.cx, t.cy, base);
    CPoint origin;
    if (m_pParentWnd && m_pParentWnd->m_hWnd) origin = m_pParentWnd->m_hWnd->ClientOrigin();
    root->rc = CRect(origin.x + client.left, origin.y + client.top,
                     origin.x + client.right + root->rcNonClient.left + root->rcNonClient.right,
                     origin.y + client.bottom + root->rcNonClient.top + root->rcNonClient.bottom);
    for (const DialogItemTemplate& it : t.items) {
        auto c = std::make_unique<WindowState>();
        c->nID = it.nID;
        c->kind = it.kind;
        c->dwStyle = WS_CHILD | StyleOfKind(it.kind);
        c->text = it.pszText ? it.pszText : "";
        // A combo box's height in the template is that of its dropped-down list; closed, it
        // is one line of the font high.
        int cy = c->IsCombo() ? std::min(it.cy, kComboClosedHeight) : it.cy;
        c->rc = DialogUnitsToPixels(it.x, it.y, it.cx, cy, base);
        c->bVisible = it.bVisible;
        c->bEnabled = it.bEnabled;
        c->bGroup = it.bGroup;
        for (const char* s : it.items) c->items.push_back(s ? s : "");
        c->itemData.assign(c->items.size(), 0);
        c->pParent = root.get();
        c->bNeedsPaint = true;
        root->children.push_back(std::move(c));
    }
    WindowState* s = root.get();
    RegisterWindowTree(s);
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
    if (!m_bEnded && m_hWnd) {
        ShowWindow(SW_SHOW);
        Idle();
    }
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

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd) return 0;
    if (message == WM_CLOSE) {
        // The close box does what Cancel does.
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    if (message == WM_NEXTDLGCTL) {
        if (LOWORD(lParam)) {
            HWND target = reinterpret_cast<HWND>(wParam);
            if (IsAlive(target)) GotoDlgCtrl(FromHandle(target));
            return 0;
        }
        // The next (wParam 0) or previous control that takes the focus.
        auto& ch = m_hWnd->children;
        if (ch.empty()) return 0;
        size_t n = ch.size(), at = n - 1;
        for (size_t i = 0; i < n; ++i)
            if (ch[i].get() == Focus()) at = i;
        for (size_t k = 1; k <= n; ++k) {
            size_t i = wParam ? (at + n - k % n) % n : (at + k) % n;
            WindowState* c = ch[i].get();
            if (c->bVisible && c->bEnabled && (c->dwStyle & WS_TABSTOP)) {
                GotoDlgCtrl(FromHandle(c));
                break;
            }
        }
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
