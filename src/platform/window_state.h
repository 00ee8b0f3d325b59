// The state behind a window handle, shared by the files of the window model (windows and
// messages, controls, dialogs, data exchange, user actions). Internal: hosts never see it.
#pragma once

#include "platform/dc.h"
#include "platform/dialog.h"

#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct WindowState {
    struct Timer {
        UINT_PTR nID;
        UINT nElapse;
        TIMERPROC pfn;
    };

    int nID = 0;
    ControlKind kind = ControlKind::Label;
    std::string text;
    DWORD dwStyle = 0; // style bits other than WS_VISIBLE, WS_DISABLED and WS_GROUP
    bool bVisible = true;
    bool bEnabled = true;
    bool bGroup = false;
    int nCheck = BST_UNCHECKED;
    bool bPushed = false; // a button held down
    std::vector<std::string> items;
    std::vector<DWORD_PTR> itemData;
    int nCurSel = -1;
    int nTopIndex = 0;
    int nSelStart = 0, nSelEnd = 0;
    int nLimitText = 0;
    int nInvalidated = 0;
    bool bNeedsPaint = false;
    bool bDestroying = false;
    bool bToolTips = false;
    CRect rc;          // pixels: in the parent's client area, on the screen for a top-level window
    CRect rcNonClient; // widths of the frame around the client area (left, top, right, bottom)
    CSize baseUnits{6, 13}; // a dialog's font: pixels per 4 x 8 dialog units
    std::vector<Timer> timers;
    WindowState* pOwner = nullptr;
    int nButtonStructSize = 0; // what a toolbar was told of its button records
    std::unique_ptr<CRasterDC> surface;

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
    // A button that draws itself: its type is BS_OWNERDRAW (BM_SETSTYLE may change that).
    bool IsOwnerDrawn() const { return IsButton() && (dwStyle & BS_TYPEMASK) == BS_OWNERDRAW; }
    WindowState* Child(int id) const
    {
        for (const auto& c : children)
            if (c->nID == id) return c.get();
        return nullptr;
    }
    int TextLimit() const { return nLimitText > 0 ? nLimitText : INT_MAX; }
    CSize ClientSize() const
    {
        return CSize(rc.Width() - rcNonClient.left - rcNonClient.right,
                     rc.Height() - rcNonClient.top - rcNonClient.bottom);
    }
    // Where the client area's origin lies on the screen.
    CPoint ClientOrigin() const;
    // The window's raster, the size of its client area.
    CRasterDC* Surface();
};

namespace wndmodel {

HWND& Focus();
// Moves the focus; owner-drawn buttons that gain or lose it are drawn for the change.
void ChangeFocus(WindowState* s);
// The top-level windows that exist; they own their state.
std::vector<std::unique_ptr<WindowState>>& TopWindows();
WindowState* TopOf(WindowState* s);
bool IsAlive(const WindowState* s);
// Records a window made outside CWnd::Create, with everything in it, as existing.
void RegisterWindowTree(WindowState* s);
// Destroys a window and everything in it; attached objects are left without a window.
void DestroyState(WindowState* s);

bool SameText(const std::string& a, const char* b);
bool StartsWithText(const std::string& a, const char* b);
// The radio buttons' range of the group that holds child index at: from the control that
// starts the group to the next one that does (or the end), as indexes into the children.
std::pair<size_t, size_t> GroupRange(const WindowState* parent, size_t at);
size_t IndexInParent(const WindowState* s);
void SelectItem(WindowState* s, int n);

// The ControlKind and BS_ type of a button style, and the style bits of a kind.
ControlKind KindOfButtonStyle(DWORD dwStyle);
DWORD StyleOfKind(ControlKind kind);

// Sends WM_DRAWITEM for an owner-drawn button to its parent, which hands it back to the
// button's DrawItem.
void DrawOwnerButton(WindowState* s, UINT nAction);
// The controls' own handling of a message (BM_GETSTATE, BM_SETSTYLE, a toolbar's TB_
// messages); 0 for a message the control does not know.
LRESULT ControlProc(WindowState* s, UINT message, WPARAM wParam, LPARAM lParam);
// Paints what waits in the window and below it.
void PaintPending(WindowState* s);
// What a message loop does when it goes idle: posted messages, then painting.
void Idle();

} // namespace wndmodel
