// Playing the user. Each action acts as the user would on a shown, enabled control and
// returns false (doing nothing) when the control is missing, hidden or disabled, or its
// dialog has ended. Before an action and when it is over, the model delivers what was
// posted and paints what was invalidated, as a message loop does when it goes idle: the
// user acts on what the screen shows.
#pragma once

#include "platform/window.h"

#include <string>

// A click. An owner-drawn button is drawn pressed (DrawItem with ODS_SELECTED), then
// released; check boxes toggle; radio buttons check themselves and clear their group; then
// the parent gets BN_CLICKED. A button takes the focus when clicked.
bool UserClick(CWnd* pDlg, int nID);
// A double click: the first click, then the second press, which sends BN_DOUBLECLICKED for
// owner-drawn and radio buttons (a second click for other buttons), LBN_DBLCLK for a list
// box and CBN_DBLCLK for a combo box.
bool UserDoubleClick(CWnd* pDlg, int nID);
// Replaces an edit's text (or a combo box's edit field) and sends EN_CHANGE (CBN_EDITCHANGE).
bool UserType(CWnd* pDlg, int nID, const char* lpszText);
// Selects a combo or list box entry and sends CBN_SELCHANGE (and then CBN_CLOSEUP, as the
// drop-down list closes) or LBN_SELCHANGE.
bool UserSelect(CWnd* pDlg, int nID, int nIndex);
// Delivers WM_TIMER for a running timer of the window (or calls its timer function).
bool UserFireTimer(CWnd* pWnd, UINT_PTR nIDEvent);
// The close box of a window's caption: WM_CLOSE.
bool UserClose(CWnd* pWnd);
// Rests the cursor on a screen point over a window (or one of its children) and returns
// the tooltip that shows: the nearest window from the one under the point upwards that has
// tooltips enabled answers OnToolHitTest; "" when none gives a tool.
std::string UserToolTip(CWnd* pWnd, CPoint ptScreen);
// The centre of a control on the screen, where a user points at it.
CPoint ControlCenter(CWnd* pDlg, int nID);
