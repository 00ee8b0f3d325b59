// Control bars: a window of the system's toolbar class ("ToolbarWindow32") that holds child
// controls in rows, with the framework's toolbar layout: where rows wrap and how large the
// bar is, docked along an edge or floating.
#pragma once

#include "platform/controls.h"

constexpr const char* TOOLBARCLASSNAME = "ToolbarWindow32";

// Messages of the toolbar window.
enum : UINT {
    TB_BUTTONCOUNT = WM_USER + 24,
    TB_BUTTONSTRUCTSIZE = WM_USER + 30,
    TB_SETPARENT = WM_USER + 37,
};

// Bar styles (the CBRS_ bits a bar keeps of its creation style).
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ALL = 0x0040FFFF;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;

// Common control styles the framework gives a toolbar window.
constexpr DWORD CCS_NOMOVEY = 0x2;
constexpr DWORD CCS_NORESIZE = 0x4;
constexpr DWORD CCS_NOPARENTALIGN = 0x8;
constexpr DWORD CCS_NODIVIDER = 0x40;

// The control ID of a frame's own toolbar.
enum : UINT { AFX_IDW_TOOLBAR = 0xE800 };

// What a layout is asked for.
constexpr DWORD LM_STRETCH = 0x01;
constexpr DWORD LM_HORZ = 0x02;
constexpr DWORD LM_MRUWIDTH = 0x04;
constexpr DWORD LM_HORZDOCK = 0x08;
constexpr DWORD LM_VERTDOCK = 0x10;
constexpr DWORD LM_LENGTHY = 0x20;
constexpr DWORD LM_COMMIT = 0x40;

constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10;
constexpr BYTE TBSTATE_WRAP = 0x20;
constexpr BYTE TBSTYLE_BUTTON = 0x00;
constexpr BYTE TBSTYLE_SEP = 0x01;

// One button of a toolbar's layout; a separator is iBitmap pixels wide.
struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    BYTE bReserved[2];
    DWORD_PTR dwData;
    INT_PTR iString;
};

// The size of a TBBUTTON record in the interface the toolbar window speaks.
constexpr int kToolBarButtonStructSize = 20;

// The framework's toolbar layout over buttons of one size.
// The size of the buttons as they wrap: the widest row by the sum of the row heights.
CSize ToolBarCalcSize(const TBBUTTON* pData, int nCount, CSize sizeButton);
// Sets the wrap states so that each row fits in nWidth (preferring to wrap at a separator);
// returns the number of rows.
int ToolBarWrap(TBBUTTON* pData, int nCount, int nWidth, CSize sizeButton);
// Wraps to a length: horizontally the narrowest width that keeps the rows nLength gives;
// vertically (bVert) a width whose height comes nearest nLength.
void ToolBarSizeTo(TBBUTTON* pData, int nCount, int nLength, BOOL bVert, CSize sizeButton);

class CControlBar : public CWnd {
public:
    CControlBar() = default;

    DWORD m_dwStyle = 0; // bar style, CBRS_ bits
    // Margins inside the bar; the CBRS_BORDER_ bits add a line of 2 pixels each.
    int m_cxLeftBorder = 6, m_cxRightBorder = 2, m_cyTopBorder = 2, m_cyBottomBorder = 2;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // A fixed bar takes no room of its own; stretched it takes the whole length.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // Takes the borders and margins off a rectangle (docked horizontally or not).
    void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    // What the toolbar window was told of its button records (TB_BUTTONSTRUCTSIZE).
    int GetButtonStructSize() const;

protected:
    // Makes the bar's window, of the system's toolbar class: the bar keeps the CBRS_ bits of
    // dwStyle (with CBRS_HIDE_INPLACE for a frame's own toolbar), the window gets the rest.
    BOOL CreateToolBarWindow(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // The framework's layout of a toolbar's buttons for a mode and length; nMRUWidth is the
    // width a floating bar had, and becomes the new one when a floating layout is committed.
    CSize CalcToolBarLayout(TBBUTTON* pData, int nCount, CSize sizeButton, DWORD dwMode, int nLength, int& nMRUWidth);
    // Commands and notifications the bar does not handle go on to its owner.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_DYNAMIC(CControlBar)
};
