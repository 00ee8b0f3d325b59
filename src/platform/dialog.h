// Dialogs and controls without a display: windows and controls keep their state (text,
// visible, enabled, check, list items, selection), dialogs are built from templates held as
// data, and DoModal hands the dialog to a modal driver that a test or front end installs.
// The driver plays the user: it clicks, types, selects, fires timers and ends the dialog.
#pragma once

#include "platform/message.h"
#include "platform/object.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t DWORD_PTR;

constexpr WORD LOWORD(uintptr_t v) { return (WORD)(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return (WORD)((v >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(unsigned lo, unsigned hi) { return (WPARAM)((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)); }

enum : UINT {
    WM_DESTROY = 0x0002,
    WM_NOTIFY = 0x004E,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_TIMER = 0x0113,
    WM_USER = 0x0400,
};

enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5 };
enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };
enum : int { CB_ERR = -1, LB_ERR = -1 };
enum : int { IDC_STATIC = -1 };

// Notification codes of WM_COMMAND.
enum : UINT {
    BN_CLICKED = 0,
    BN_DOUBLECLICKED = 5,
    EN_SETFOCUS = 0x0100,
    EN_KILLFOCUS = 0x0200,
    EN_CHANGE = 0x0300,
    EN_UPDATE = 0x0400,
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_EDITCHANGE = 5,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
};

struct NMHDR {
    void* hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

// What a control is. Check boxes and radio buttons check themselves when clicked.
enum class ControlKind {
    Dialog,
    PushButton,
    DefPushButton,
    OwnerDrawButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Label,
    Edit,
    ComboBox,     // a combo box with an edit field
    DropDownList, // a combo box that only selects
    ListBox,
    ScrollBar,
    Custom,
};

// One control of a dialog template. Positions are in dialog units.
struct DialogItemTemplate {
    int nID = IDC_STATIC;
    ControlKind kind = ControlKind::Label;
    const char* pszText = "";
    int x = 0, y = 0, cx = 0, cy = 0;
    bool bVisible = true;
    bool bEnabled = true;
    bool bGroup = false;                // starts a group (radio buttons run to the next one)
    std::vector<const char*> items = {}; // list entries a combo or list box starts with
};

struct DialogTemplate {
    UINT nID = 0;
    const char* pszCaption = "";
    const char* pszFont = "MS Sans Serif";
    int nPointSize = 8;
    int x = 0, y = 0, cx = 0, cy = 0;
    bool bChild = false; // a child strip for another dialog, without a caption
    std::vector<DialogItemTemplate> items = {};

    const DialogItemTemplate* FindItem(int nItemID) const;
};

// The dialog templates a program carries, found by ID as resources are.
void AfxRegisterDialogTemplate(const DialogTemplate* pTemplate);
const DialogTemplate* AfxFindDialogTemplate(UINT nID);

// ---------------------------------------------------------------- command targets

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_vv,      // void ()
    AfxSig_vw,      // void (UINT nID), for ranges
    AfxSig_vt,      // void (UINT_PTR nIDEvent), WM_TIMER
    AfxSig_vNMHDRpl, // void (NMHDR*, LRESULT*), WM_NOTIFY
    AfxSig_lwl,     // LRESULT (WPARAM, LPARAM), any message
};

typedef void (CCmdTarget::*AFX_PMSG_ID)(UINT);
typedef void (CCmdTarget::*AFX_PMSG_TIMER)(UINT_PTR);
typedef void (CCmdTarget::*AFX_PMSG_NOTIFY)(NMHDR*, LRESULT*);
typedef LRESULT (CCmdTarget::*AFX_PMSG_MESSAGE)(WPARAM, LPARAM);

// One handler of a message map; the signature says which of the pointers it holds.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT nSig;
    AFX_PMSG pfn = nullptr;
    AFX_PMSG_ID pfnID = nullptr;
    AFX_PMSG_TIMER pfnTimer = nullptr;
    AFX_PMSG_NOTIFY pfnNotify = nullptr;
    AFX_PMSG_MESSAGE pfnMessage = nullptr;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget : public CObject {
public:
    ~CCmdTarget() override = default;
    // Calls the handler the message maps give for a command or control notification.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    // The first entry of the class's maps, the derived ones first, for the message.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
};

#define DECLARE_MESSAGE_MAP() \
public: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
    {0, 0, 0, 0, AfxSig_end} \
    }; \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap; \
    }

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(id), AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(idLast), AfxSig_vw, nullptr, static_cast<AFX_PMSG_ID>(&ThisClass::memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), AfxSig_vw, nullptr, \
     static_cast<AFX_PMSG_ID>(&ThisClass::memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), AfxSig_vNMHDRpl, nullptr, nullptr, nullptr, \
     static_cast<AFX_PMSG_NOTIFY>(&ThisClass::memberFxn)},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, AfxSig_vt, nullptr, nullptr, static_cast<AFX_PMSG_TIMER>(&ThisClass::OnTimer)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::OnDestroy)},
#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, 0, AfxSig_lwl, nullptr, nullptr, nullptr, nullptr, \
     static_cast<AFX_PMSG_MESSAGE>(&ThisClass::memberFxn)},

// ---------------------------------------------------------------- windows

struct WindowState;
typedef WindowState* HWND;
class CDataExchange;

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to a window; one is made (and owned by the window) if none is.
    static CWnd* FromHandle(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attaches this object to the dialog's control with that ID.
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    int GetDlgCtrlID() const;
    ControlKind GetControlKind() const;
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;

    BOOL ShowWindow(int nCmdShow);  // nonzero if it was visible before
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE); // nonzero if it was disabled before
    BOOL IsWindowEnabled() const;
    void SetWindowText(const char* lpszString);
    int GetWindowText(char* lpszStringBuf, int nMaxCount) const;
    void GetWindowText(std::string& rString) const;
    std::string GetWindowText() const;
    int GetWindowTextLength() const;
    // Keyboard focus: one window at a time. SetFocus returns the window that had it.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    // Asks for a repaint; the model counts the requests.
    void Invalidate(BOOL bErase = TRUE);
    int GetInvalidateCount() const;

    void GetWindowRect(RECT* lpRect) const; // dialog units, relative to the dialog
    void GetClientRect(RECT* lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);

    void SetDlgItemText(int nID, const char* lpszString);
    int GetDlgItemText(int nID, char* lpStr, int nMaxCount) const;
    std::string GetDlgItemText(int nID) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    // Checks nIDCheckButton and clears the others from nIDFirstButton to nIDLastButton.
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;

    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    // The period of a running timer, 0 if it does not run.
    UINT GetTimerElapse(UINT_PTR nIDEvent) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // A message box owned by this window; on this platform the installed handler shows it.
    int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Sends WM_DESTROY to the window and then to its controls, and destroys them.
    BOOL DestroyWindow();

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void DoDataExchange(CDataExchange* pDX);

    DECLARE_DYNAMIC(CWnd)
};

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int nCheck);
    DECLARE_DYNAMIC(CButton)
};

class CStatic : public CWnd {
public:
    DECLARE_DYNAMIC(CStatic)
};

class CEdit : public CWnd {
public:
    // Copies at most nMaxLength characters of the line, without a terminator; returns the count.
    int GetLine(int nIndex, char* lpszBuffer, int nMaxLength) const;
    int GetLineCount() const;
    int LineLength(int nLine = -1) const;
    // nEndChar -1 selects to the end.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(const char* lpszNewText, BOOL bCanUndo = FALSE);
    void LimitText(int nChars = 0);
    int GetLimitText() const;
    DECLARE_DYNAMIC(CEdit)
};

// Shared by combo and list boxes.
class CListControl : public CWnd {
public:
    int AddString(const char* lpszString);
    int InsertString(int nIndex, const char* lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetItemText(int nIndex, std::string& rString) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int FindStringExact(int nIndexStart, const char* lpszFind) const;
    int SelectString(int nStartAfter, const char* lpszString);
};

class CComboBox : public CListControl {
public:
    int GetLBText(int nIndex, char* lpszText) const;
    void GetLBText(int nIndex, std::string& rString) const;
    int GetLBTextLen(int nIndex) const;
    DECLARE_DYNAMIC(CComboBox)
};

class CListBox : public CListControl {
public:
    int GetText(int nIndex, char* lpszBuffer) const;
    void GetText(int nIndex, std::string& rString) const;
    int GetTextLen(int nIndex) const;
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    DECLARE_DYNAMIC(CListBox)
};

// ---------------------------------------------------------------- dialogs

class CDialog;
// Plays the user of a modal dialog. It returns when it is done; a dialog it has not ended
// by then is cancelled.
typedef std::function<void(CDialog& dlg)> ModalDriver;
// Installs the driver that DoModal runs (nullptr for none) and returns the one before it.
ModalDriver SetModalDriver(ModalDriver driver);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    CDialog(const DialogTemplate* pTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the dialog, runs OnInitDialog and then the modal driver; returns what the
    // dialog ended with, or -1 if it could not be built or no driver is installed.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    bool IsEnded() const { return m_bEnded; }
    void GotoDlgCtrl(CWnd* pWndCtrl);
    UINT GetTemplateID() const { return m_pTemplate ? m_pTemplate->nID : m_nIDTemplate; }
    const DialogTemplate* GetTemplate() const { return m_pTemplate; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CDialog)

protected:
    // Builds the windows from the template; the dialog's own window is attached to this.
    BOOL CreateFromTemplate();
    // For dialogs that carry their own layout rather than a resource.
    void UseTemplate(const DialogTemplate* pTemplate);

private:
    UINT m_nIDTemplate;
    const DialogTemplate* m_pTemplate;
    bool m_bEnded = false;
    int m_nResult = IDCANCEL;
};

// ---------------------------------------------------------------- data exchange

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    // Set by the first exchange or validation that fails; later ones then do nothing.
    bool m_bFailed = false;
    int m_idLastControl = 0;

    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }
    // Tells the user why (with a message box), puts the focus on the control last prepared
    // (an edit's text selected, for retyping) and fails the exchange.
    void Fail(const char* pszWhy = nullptr);
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// value is the index of the checked button of the radio group starting at nIDC, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, std::string& value);

// Range checks, after the DDX_Text of the same value; they check only when saving.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal);
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);

// ---------------------------------------------------------------- playing the user

// Each acts as the user would on a shown, enabled control and returns false (doing nothing)
// when the control is missing, hidden or disabled.
// A click: check boxes toggle, radio buttons check themselves and clear their group, then
// the parent gets BN_CLICKED.
bool UserClick(CWnd* pDlg, int nID);
bool UserDoubleClick(CWnd* pDlg, int nID);
// Replaces an edit's text (or a combo box's edit field) and sends EN_CHANGE (CBN_EDITCHANGE).
bool UserType(CWnd* pDlg, int nID, const char* lpszText);
// Selects a combo or list box entry and sends CBN_SELCHANGE / LBN_SELCHANGE.
bool UserSelect(CWnd* pDlg, int nID, int nIndex);
// Delivers WM_TIMER for a running timer of the window (or calls its timer function).
bool UserFireTimer(CWnd* pWnd, UINT_PTR nIDEvent);
