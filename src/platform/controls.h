// The system's controls: buttons (owner-drawn ones draw themselves through DrawItem), static
// texts, edits, combo boxes and list boxes.
#pragma once

#include "platform/window.h"

class CButton : public CWnd {
public:
    // A button window; its type is the BS_ value in the low bits of dwStyle.
    BOOL Create(const char* lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::Create;

    int GetCheck() const;
    void SetCheck(int nCheck);
    // BST_PUSHED while the button is held down, BST_FOCUS while it has the focus, and the check.
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    // Changes the type and style bits of the low word (BM_SETSTYLE).
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

    // An owner-drawn button draws itself here; the action and state say what and how.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

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
