// Windows without a display: messages, message maps and CWnd. A window keeps its state
// behind a handle (text, styles, visibility, position, timers, children); positions are
// pixels, a child's relative to its parent's client area and a top-level window's on the
// screen. Each window has a raster of its own, the pixels it shows, into which owner-drawn
// controls draw (GetDC), so that a test can look at what the user would see.
#pragma once

#include "platform/message.h"
#include "platform/object.h"
#include "platform/string_resource.h"
#include "platform/types.h"

#include <string>

typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t DWORD_PTR;
typedef uintptr_t ULONG_PTR;

constexpr WORD LOWORD(uintptr_t v) { return (WORD)(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return (WORD)((v >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(unsigned lo, unsigned hi) { return (WPARAM)((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)); }

enum : UINT {
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_CLOSE = 0x0010,
    WM_SHOWWINDOW = 0x0018,
    WM_NEXTDLGCTL = 0x0028,
    WM_DRAWITEM = 0x002B,
    WM_NOTIFY = 0x004E,
    WM_NCCREATE = 0x0081,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_TIMER = 0x0113,
    BM_GETCHECK = 0x00F0,
    BM_SETCHECK = 0x00F1,
    BM_GETSTATE = 0x00F2,
    BM_SETSTATE = 0x00F3,
    BM_SETSTYLE = 0x00F4,
    WM_USER = 0x0400,
};

enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOW = 5 };
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int BST_INDETERMINATE = 2;
constexpr int BST_PUSHED = 4;
constexpr int BST_FOCUS = 8;
enum : int { CB_ERR = -1, LB_ERR = -1 };
enum : int { IDC_STATIC = -1 };

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;

// Button styles: the low four bits are the button's type.
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_RADIOBUTTON = 0x4;
constexpr DWORD BS_3STATE = 0x5;
constexpr DWORD BS_AUTO3STATE = 0x6;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_USERBUTTON = 0x8;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD BS_OWNERDRAW = 0xB;
constexpr DWORD BS_TYPEMASK = 0xF;
constexpr DWORD BS_NOTIFY = 0x4000;

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
    CBN_CLOSEUP = 8,
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
    ToolBar,      // the system's toolbar window ("ToolbarWindow32"), a bar of child controls
    Frame,        // a top-level window a host makes to hold bars and views
    Custom,
};

struct WindowState;
typedef WindowState* HWND;
class CDC;
typedef CDC* HDC; // a device context is its own handle here

// Owner drawing: what a control asks its parent to draw.
enum : UINT { ODT_BUTTON = 4 };
enum : UINT { ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4 };
enum : UINT { ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8, ODS_FOCUS = 0x10 };

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;       // the control's own raster
    RECT rcItem;   // the control's client area
    ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

struct CREATESTRUCT {
    void* lpCreateParams;
    HWND hwndParent;
    int nID;
    int cy, cx, y, x;
    DWORD style;
    const char* lpszName;
    const char* lpszClass;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

// Tooltips: what OnToolHitTest fills in for the tool under the cursor.
enum : UINT { TTF_IDISHWND = 0x1, TTF_CENTERTIP = 0x2 };
#define LPSTR_TEXTCALLBACK ((char*)(intptr_t)-1)

struct TOOLINFO {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    void* hinst;
    // Text allocated with malloc, which the framework frees; or LPSTR_TEXTCALLBACK, for the
    // tooltip part (after "\n") of the string resource uId.
    char* lpszText;
    LPARAM lParam;
};

// ---------------------------------------------------------------- command targets

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_vv,       // void ()
    AfxSig_vw,       // void (UINT nID), for ranges
    AfxSig_vt,       // void (UINT_PTR nIDEvent), WM_TIMER
    AfxSig_vNMHDRpl, // void (NMHDR*, LRESULT*), WM_NOTIFY
    AfxSig_lwl,      // LRESULT (WPARAM, LPARAM), any message
    AfxSig_vbw,      // void (BOOL, UINT), WM_SHOWWINDOW
    AfxSig_is,       // BOOL (LPCREATESTRUCT), WM_NCCREATE
};

typedef void (CCmdTarget::*AFX_PMSG_ID)(UINT);
typedef void (CCmdTarget::*AFX_PMSG_TIMER)(UINT_PTR);
typedef void (CCmdTarget::*AFX_PMSG_NOTIFY)(NMHDR*, LRESULT*);
typedef LRESULT (CCmdTarget::*AFX_PMSG_MESSAGE)(WPARAM, LPARAM);
typedef void (CCmdTarget::*AFX_PMSG_SHOW)(BOOL, UINT);
typedef BOOL (CCmdTarget::*AFX_PMSG_CREATE)(LPCREATESTRUCT);

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
    AFX_PMSG_SHOW pfnShow = nullptr;
    AFX_PMSG_CREATE pfnCreate = nullptr;
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

    DECLARE_DYNAMIC(CCmdTarget)

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
    {.nMessage = WM_COMMAND, .nCode = 0, .nID = (UINT)(id), .nLastID = (UINT)(id), .nSig = AfxSig_vv, \
     .pfn = static_cast<AFX_PMSG>(&ThisClass::memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {.nMessage = WM_COMMAND, .nCode = (UINT)(wNotifyCode), .nID = (UINT)(id), .nLastID = (UINT)(id), \
     .nSig = AfxSig_vv, .pfn = static_cast<AFX_PMSG>(&ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {.nMessage = WM_COMMAND, .nCode = 0, .nID = (UINT)(id), .nLastID = (UINT)(idLast), .nSig = AfxSig_vw, \
     .pfnID = static_cast<AFX_PMSG_ID>(&ThisClass::memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {.nMessage = WM_COMMAND, .nCode = (UINT)(wNotifyCode), .nID = (UINT)(id), .nLastID = (UINT)(idLast), \
     .nSig = AfxSig_vw, .pfnID = static_cast<AFX_PMSG_ID>(&ThisClass::memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {.nMessage = WM_NOTIFY, .nCode = (UINT)(wNotifyCode), .nID = (UINT)(id), .nLastID = (UINT)(id), \
     .nSig = AfxSig_vNMHDRpl, .pfnNotify = static_cast<AFX_PMSG_NOTIFY>(&ThisClass::memberFxn)},
#define ON_WM_TIMER() \
    {.nMessage = WM_TIMER, .nCode = 0, .nID = 0, .nLastID = 0, .nSig = AfxSig_vt, \
     .pfnTimer = static_cast<AFX_PMSG_TIMER>(&ThisClass::OnTimer)},
#define ON_WM_DESTROY() \
    {.nMessage = WM_DESTROY, .nCode = 0, .nID = 0, .nLastID = 0, .nSig = AfxSig_vv, \
     .pfn = static_cast<AFX_PMSG>(&ThisClass::OnDestroy)},
#define ON_WM_CLOSE() \
    {.nMessage = WM_CLOSE, .nCode = 0, .nID = 0, .nLastID = 0, .nSig = AfxSig_vv, \
     .pfn = static_cast<AFX_PMSG>(&ThisClass::OnClose)},
#define ON_WM_SHOWWINDOW() \
    {.nMessage = WM_SHOWWINDOW, .nCode = 0, .nID = 0, .nLastID = 0, .nSig = AfxSig_vbw, \
     .pfnShow = static_cast<AFX_PMSG_SHOW>(&ThisClass::OnShowWindow)},
#define ON_WM_NCCREATE() \
    {.nMessage = WM_NCCREATE, .nCode = 0, .nID = 0, .nLastID = 0, .nSig = AfxSig_is, \
     .pfnCreate = static_cast<AFX_PMSG_CREATE>(&ThisClass::OnNcCreate)},
#define ON_MESSAGE(message, memberFxn) \
    {.nMessage = (UINT)(message), .nCode = 0, .nID = 0, .nLastID = 0, .nSig = AfxSig_lwl, \
     .pfnMessage = static_cast<AFX_PMSG_MESSAGE>(&ThisClass::memberFxn)},

// ---------------------------------------------------------------- windows

class CDataExchange;

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

class CWnd : public CCmdTarget {
public:
    CWnd();
    // Destroys the window this object is attached to, if it still exists.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Makes a window: a top-level one (on the screen) without a parent, else a child at rect
    // in the parent's client area. The class name says what it is: "BUTTON" (its type from
    // the BS_ style), "EDIT", "STATIC", "COMBOBOX", "LISTBOX", "ToolbarWindow32"; anything
    // else is a plain window. The new window gets WM_NCCREATE and WM_CREATE.
    virtual BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID);
    BOOL CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The object attached to a window; one is made (and owned by the window) if none is.
    static CWnd* FromHandle(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attaches this object to the dialog's control with that ID.
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Called when this object takes over a window (Create, SubclassDlgItem, DDX_Control):
    // the place for a control class to set up what it needs of its window.
    virtual void PreSubclassWindow();

    int GetDlgCtrlID() const;
    ControlKind GetControlKind() const;
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    // The owner: the window that gets what a bar does not handle itself; the parent if none.
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);

    // Style bits, WS_VISIBLE and WS_DISABLED included.
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    BOOL ShowWindow(int nCmdShow);  // nonzero if it was visible before; sends WM_SHOWWINDOW on a change
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE); // nonzero if it was disabled before
    BOOL IsWindowEnabled() const;
    void SetWindowText(const char* lpszString);
    int GetWindowText(char* lpszStringBuf, int nMaxCount) const;
    void GetWindowText(std::string& rString) const;
    std::string GetWindowText() const;
    int GetWindowTextLength() const;
    // Keyboard focus: one window at a time. SetFocus returns the window that had it; an
    // owner-drawn button that gains or loses it is drawn for the change.
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // Asks for a repaint; it happens when the user's action is over (or at UpdateWindow).
    // A window repainted repaints its children too. The model counts the requests.
    void Invalidate(BOOL bErase = TRUE);
    int GetInvalidateCount() const;
    // Paints what waits to be painted, now: owner-drawn buttons get WM_DRAWITEM.
    void UpdateWindow();
    // The window's raster (its client area), made on first use; ReleaseDC gives it back.
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);

    // Geometry, in pixels. A window rectangle is on the screen; a client rectangle starts at 0.
    void GetWindowRect(RECT* lpRect) const;
    void GetClientRect(RECT* lpRect) const;
    void ClientToScreen(POINT* lpPoint) const;
    void ClientToScreen(RECT* lpRect) const;
    void ScreenToClient(POINT* lpPoint) const;
    void ScreenToClient(RECT* lpRect) const;
    // x and y in the parent's client area (on the screen for a top-level window).
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(const RECT* lpRect, BOOL bRepaint = TRUE);
    // The deepest shown window under a screen point, nullptr for none.
    static CWnd* WindowFromPoint(POINT point);
    // The shown child under a point of the client area; this window when no child is there,
    // nullptr when the point lies outside.
    CWnd* ChildWindowFromPoint(POINT point) const;

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

    // Tooltips over this window and its children (see UserToolTip).
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    BOOL AreToolTipsEnabled() const;
    // The tool under a client point: its ID, or -1 for none. By default the child control
    // under the point, with the tooltip of its ID's string resource.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues a message; it is delivered when the user's current action is over.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // A message box owned by this window; on this platform the installed handler shows it.
    int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Sends WM_DESTROY to the window and then to its controls, and destroys them.
    BOOL DestroyWindow();

    // What the system does with a message nobody handled: the controls' own behaviour
    // (BM_GETSTATE, BM_SETSTYLE, ...), a dialog's WM_CLOSE, WM_NEXTDLGCTL.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void DoDataExchange(CDataExchange* pDX);
    // WM_DRAWITEM: handed back to the control that asked, which draws itself (DrawItem).
    virtual void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // WM_CLOSE as the system handles it (DefWindowProc); a handler of its own calls this last.
    void OnClose();

    DECLARE_DYNAMIC(CWnd)
};

// The cursor, in screen pixels. The modal driver moves it for hover tests.
BOOL SetCursorPos(int x, int y);
BOOL SetCursorPos(CPoint point);
BOOL GetCursorPos(POINT* lpPoint);
